#include "chart/custom_axis_panel.h"

#include <algorithm>

#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/chart_palette.h"
#include "chart/chart_series.h"
#include "platform/exceptions.h"
#include "platform/format.h"

namespace plotvik {

TCustomAxisPanel::TCustomAxisPanel(std::string name) : TCustomChartPanelExtended(std::move(name)) {
  const bool saved = AutoRepaint();
  SetAutoRepaint(false);
  // The list order is the order of room-taking and drawing: bottom, top, left, right, depth.
  axes_.push_back(std::make_unique<TChartAxis>(*this, true, false));
  axes_.push_back(std::make_unique<TChartAxis>(*this, true, true));
  axes_.push_back(std::make_unique<TChartAxis>(*this, false, false));
  axes_.push_back(std::make_unique<TChartAxis>(*this, false, true));
  axes_.push_back(std::make_unique<TChartDepthAxis>(*this));
  for (auto& axis : axes_) {
    axis->SetOnLabel([this](TChartAxis& sender, std::string& text) {
      if (OnGetAxisLabel) OnGetAxisLabel(sender, nullptr, -1, text);
    });
  }
  SetAutoRepaint(saved);
}

TCustomAxisPanel::~TCustomAxisPanel() {
  MarkDestroying();
  // Series outlive their chart when the form destroys the chart first; they must not keep
  // pointers to our axes.
  const std::vector<TChartSeries*> remaining = series_;
  for (TChartSeries* s : remaining) s->SetParentChart(nullptr);
}

TChartSeries& TCustomAxisPanel::Series(int index) const {
  if (index < 0 || index >= SeriesCount()) {
    throw EListError(Format("List index out of bounds (%d)", {index}));
  }
  return *series_[static_cast<size_t>(index)];
}

TChartAxis& TCustomAxisPanel::Axes(int index) const {
  if (index < 0 || index >= AxisCount()) {
    throw EListError(Format("List index out of bounds (%d)", {index}));
  }
  return *axes_[static_cast<size_t>(index)];
}

void TCustomAxisPanel::AddSeries(TChartSeries& series) {
  if (std::find(series_.begin(), series_.end(), &series) != series_.end()) return;
  if (series.SeriesColor() == clDefault) series.SetSeriesColor(FreeSeriesColor());
  series_.push_back(&series);
  series.SetChartAxes({&BottomAxis(), &TopAxis(), &LeftAxis(), &RightAxis()});
  Repaint();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries& series) {
  auto it = std::find(series_.begin(), series_.end(), &series);
  if (it == series_.end()) return;
  series_.erase(it);
  series.SetChartAxes({});
  Repaint();
}

TColor TCustomAxisPanel::FreeSeriesColor() const {
  for (TColor c : kChartPalette) {
    if (c == Color() || c == BackWallColor()) continue;
    const bool used = std::any_of(series_.begin(), series_.end(),
                                  [c](const TChartSeries* s) { return s->SeriesColor() == c; });
    if (!used) return c;
  }
  return clRed;
}

bool TCustomAxisPanel::ActiveSeriesUseAxis() const {
  if (series_.empty()) return true;
  return std::any_of(series_.begin(), series_.end(),
                     [](const TChartSeries* s) { return s->Active() && s->UseAxis(); });
}

void TCustomAxisPanel::SetAxisVisible(bool value) {
  if (axisVisible_ == value) return;
  axisVisible_ = value;
  for (auto& axis : axes_) axis->SetChartShowsAxes(value);
  Repaint();
}

void TCustomAxisPanel::SetAxisBehind(bool value) {
  if (axisBehind_ == value) return;
  axisBehind_ = value;
  Repaint();
}

void TCustomAxisPanel::SetClipPoints(bool value) {
  if (clipPoints_ == value) return;
  clipPoints_ = value;
  Repaint();
}

int TCustomAxisPanel::WallSize(const TChartAxis& /*axis*/) const {
  return 0;
}

void TCustomAxisPanel::DrawChartContent() {
  TChartCanvas3D& c = Canvas3D();
  for (TChartSeries* s : series_) {
    if (s->Active()) s->DoBeforeDrawChart();
  }
  if (OnBeforeDrawChart) OnBeforeDrawChart(*this);

  c.Enter2D();
  DrawTitlesAndLegend(true);
  c.Leave2D();

  // Walls take no room in 2D.
  NormalizeChartRect();
  FitAxes();
  WidenAxesForSeriesMargins();
  PlaceTicks();
  DrawWalls();

  if (axisVisible_ && axisBehind_) {
    if (OnBeforeDrawAxes) OnBeforeDrawAxes(*this);
    DrawAxes();
  }
  if (OnBeforeDrawSeries) OnBeforeDrawSeries(*this);
  DrawSeries();
  if (axisVisible_ && !axisBehind_) {
    if (OnBeforeDrawAxes) OnBeforeDrawAxes(*this);
    DrawAxes();
  }

  c.Enter2D();
  DrawTitlesAndLegend(false);
  c.Leave2D();

  DrawZoomRectangle();
}

void TCustomAxisPanel::DoAfterDraw() {
  if (OnAfterDraw) OnAfterDraw(*this);
}

TAxisLayoutFacts TCustomAxisPanel::FactsFor(const TChartAxis& axis) const {
  TAxisLayoutFacts facts;
  facts.wallSize = WallSize(axis);
  for (const TChartSeries* s : series_) {
    if (!s->Active()) continue;
    facts.anyActive = true;
    if (!s->AssociatedToAxis(axis)) continue;
    facts.activeAssociated = true;
    const bool showsXList = s->YMandatory() == axis.Horizontal();
    if (showsXList && s->HasLabels()) facts.labelledXList = true;
  }
  // Inactive series count only when no active one is shown on this axis at all.
  bool found = false;
  for (const TChartSeries* s : series_) {
    if (!s->AssociatedToAxis(axis) || s->PointCount() == 0) continue;
    if (facts.activeAssociated && !s->Active()) continue;
    const double low = axis.Horizontal() ? s->XMinimum() : s->YMinimum();
    const double high = axis.Horizontal() ? s->XMaximum() : s->YMaximum();
    if (!found || low < facts.minimum) facts.minimum = low;
    if (!found || high > facts.maximum) facts.maximum = high;
    found = true;
  }
  return facts;
}

void TCustomAxisPanel::GiveAxesTheirFacts() {
  for (auto& axis : axes_) axis->SetLayoutFacts(FactsFor(*axis));
}

void TCustomAxisPanel::FitAxes() {
  GiveAxesTheirFacts();
  for (auto& axis : axes_) {
    axis->ComputeRange();
    axis->ComputePixelExtent();
  }
  TRect current = ChartRect();
  for (auto& axis : axes_) {
    if (!axis->IsVisible()) continue;
    TRect reduced = current;
    axis->ReserveSpace(reduced);
    // An axis that would take more than there is leaves the rectangle as it was.
    const TRect common = current.Intersected(reduced);
    if (!common.IsEmpty()) current = common;
  }
  SetChartRect(current);
  NormalizeChartRect();
  for (auto& axis : axes_) axis->ComputePixelExtent();
}

void TCustomAxisPanel::WidenAxesForSeriesMargins() {
  for (int i = 0; i < 4; ++i) {
    TChartAxis& axis = *axes_[static_cast<size_t>(i)];
    int left = 0, top = 0, right = 0, bottom = 0;
    for (const TChartSeries* s : series_) {
      if (!s->Active() || !s->AssociatedToAxis(axis)) continue;
      int a = 0, b = 0;
      if (axis.Horizontal()) {
        s->CalcHorizMargins(a, b);
        if (axis.AutomaticMinimum()) left = std::max(left, a);
        if (axis.AutomaticMaximum()) right = std::max(right, b);
      } else {
        s->CalcVertMargins(a, b);
        if (axis.AutomaticMaximum()) top = std::max(top, a);
        if (axis.AutomaticMinimum()) bottom = std::max(bottom, b);
      }
    }
    axis.WidenForMargins(left, top, right, bottom);
  }
}

void TCustomAxisPanel::PlaceTicks() {
  for (auto& axis : axes_) {
    if (axis->IsVisible()) axis->PlaceTicks();
  }
}

void TCustomAxisPanel::DrawAxes() {
  for (auto& axis : axes_) {
    if (axis->IsVisible()) axis->DrawAxis();
  }
}

void TCustomAxisPanel::DrawSeries() {
  TChartCanvas3D& c = Canvas3D();
  const TRect& r = ChartRect();
  for (TChartSeries* s : series_) {
    if (!s->Active()) continue;
    s->ComputeVisibleRange();
    if (s->FirstVisible() == -1) continue;
    s->DoBeforeDrawValues();
    // The outline's own pixels stay out of the clip, so a series never overdraws the frame.
    if (clipPoints_) c.ClipToPlot({r.Left, r.Top, r.Right, r.Bottom + 1}, 0, 0);
    s->DrawAllValues();
    if (clipPoints_) c.Unclip();
    s->DoAfterDrawValues();
  }
}

}  // namespace plotvik
