#include "app/step_cursor_view.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "analysis/step_cursor.h"
#include "analysis/sweep_records.h"
#include "app/chart_pages.h"
#include "app/form1.h"
#include "chart/chart_axis.h"
#include "chart/chart_zoom.h"
#include "chart/db_chart.h"
#include "marks/chart_hooks.h"
#include "marks/mark_drawing.h"
#include "platform/gui/page_control.h"
#include "platform/locale_settings.h"
#include "table/mem_table.h"

namespace plotvik {

namespace {

constexpr TColor kStepLineColor = 0x00604020;

TSweepField PageField(int pageIndex) {
  const std::string_view name = kChartPages[pageIndex].yField;
  for (int i = 0; i < kSweepFieldCount; ++i) {
    if (kSweepFieldNames[static_cast<size_t>(i)] == name) return static_cast<TSweepField>(i);
  }
  return sfSWR;
}

// The pixel of `value` on `axis`, or the end of the plot nearest to it when it lies outside
// the axis's range.
int PixelOrEdge(const TChartAxis& axis, double value, int lowEnd, int highEnd) {
  const double low = std::min(axis.RangeMin(), axis.RangeMax());
  const double high = std::max(axis.RangeMin(), axis.RangeMax());
  if (value < low) return lowEnd;
  if (value > high) return highEnd;
  return axis.PosOfValue(value);
}

}  // namespace

struct TStepCursorView::State {
  explicit State(TForm1& f) : form(f) {}

  TForm1& form;
  TStepCursor cursor;
  // The run the cursor was placed in: a new load since hides it. A followed file's last record
  // replaced in place is the same run, and the cursor stays on its record.
  std::uint64_t placedRun = 0;
  // The records' height order, and the rewrites it was taken at (a record replaced in place is
  // a rewrite, so the order is taken anew then); appends are merged in.
  THeightOrder order;
  bool orderTaken = false;
  std::uint64_t orderRewrites = 0;

  const TCustomMemTable& Table() const { return form.mtData; }

  void UpdateOrder(const TSweepRecords& records) {
    const std::uint64_t rewrites = Table().RewriteCount();
    if (!orderTaken || rewrites != orderRewrites || records.Count() < order.Taken()) {
      order.Take(records);
      orderTaken = true;
      orderRewrites = rewrites;
    } else if (records.Count() > order.Taken()) {
      order.Extend(records);
    }
  }

  // The cursor's record, unless a load has come since it was placed.
  std::optional<int> LiveRecord() {
    if (!cursor.Record()) return std::nullopt;
    if (form.Loader().RunCount() != placedRun) {
      cursor.Hide();
      ClearTips();
      return std::nullopt;
    }
    if (*cursor.Record() >= TStoredSweepRecords(Table()).Count()) return std::nullopt;
    return cursor.Record();
  }

  void ClearTips() {
    for (int page = 0; page < kChartPageCount; ++page) {
      PageChart(form, page).SetPinnedText(std::nullopt);
    }
  }

  void RepaintAll() {
    for (int page = 0; page < kChartPageCount; ++page) PageChart(form, page).Repaint();
  }

  template <class Move>
  void MoveCursor(Move move) {
    const std::optional<int> before = LiveRecord();
    if (!before) cursor.Hide();
    const TStoredSweepRecords records(Table());
    UpdateOrder(records);
    move(order.Points(records, PageField(form.PC.ActivePageIndex())), records);
    if (cursor.Record() == before) return;
    placedRun = form.Loader().RunCount();
    RepaintAll();
  }

  // Draws the line on one page's chart and sets its tip; runs once the frame's axes are set.
  void Draw(TCustomAxisPanel& chart, int page) {
    const std::optional<int> record = LiveRecord();
    if (!record) {
      chart.SetPinnedText(std::nullopt);
      return;
    }
    const TSweepRecord r = TStoredSweepRecords(Table()).Record(*record);
    const TRect& plot = chart.ChartRect();
    const int left = plot.Left + 1;
    const int right = plot.Right - 1;
    const int top = plot.Top + 1;
    const int bottom = plot.Bottom - 1;
    int x = left;
    if (r[sfHeight]) {
      if (const std::optional<int> column = MarkColumn(chart, *r[sfHeight])) {
        DrawMarkLine(chart, *column, kStepLineColor);
      }
      x = PixelOrEdge(chart.BottomAxis(), *r[sfHeight], left, right);
    }
    int y = top;
    if (const std::optional<double>& value = r[PageField(page)]) {
      y = PixelOrEdge(chart.LeftAxis(), *value, bottom, top);
    }
    x = std::clamp(x, left, std::max(left, right));
    y = std::clamp(y, top, std::max(top, bottom));
    chart.SetPinnedText(THoverText{StepText(r, LocaleDecimalChar), x, y});
  }
};

TStepCursorView::TStepCursorView(TForm1& form) : state_(std::make_shared<State>(form)) {
  const std::weak_ptr<State> weak = state_;
  for (int page = 0; page < kChartPageCount; ++page) {
    TDBChart& chart = PageChart(form, page);
    // Under the series and the marks' labels, so that no text is crossed by the line.
    AppendPaintHook(chart.OnBeforeDrawSeries, [weak, page](TCustomAxisPanel& c) {
      if (const std::shared_ptr<State> state = weak.lock()) state->Draw(c, page);
    });
    auto& mouseDown = chart.MouseHandler().OnMouseDown;
    mouseDown = [previous = std::move(mouseDown), weak](TCustomChart& c, TMouseButton button,
                                                        TShiftState shift, int x, int y) {
      if (const std::shared_ptr<State> state = weak.lock(); state && state->cursor.Record()) {
        state->cursor.Hide();
        state->ClearTips();
        state->RepaintAll();
      }
      if (previous) previous(c, button, shift, x, y);
    };
  }
  form.AddKey("Right", [this] { Step(1); });
  form.AddKey("Left", [this] { Step(-1); });
  form.AddKey("Shift+Right", [this] { Step(kLongStep); });
  form.AddKey("Shift+Left", [this] { Step(-kLongStep); });
  form.AddKey("Home", [this] { First(); });
  form.AddKey("End", [this] { Last(); });
  form.AddKey("Esc", [this] { Hide(); });
}

TStepCursorView::~TStepCursorView() = default;

void TStepCursorView::Step(int steps) {
  state_->MoveCursor([&](std::span<const int> points, const TSweepRecords& records) {
    state_->cursor.Step(points, records, steps);
  });
}

void TStepCursorView::First() {
  state_->MoveCursor(
      [&](std::span<const int> points, const TSweepRecords&) { state_->cursor.First(points); });
}

void TStepCursorView::Last() {
  state_->MoveCursor(
      [&](std::span<const int> points, const TSweepRecords&) { state_->cursor.Last(points); });
}

void TStepCursorView::Hide() {
  if (!state_->cursor.Record()) return;
  state_->cursor.Hide();
  state_->ClearTips();
  state_->RepaintAll();
}

std::optional<int> TStepCursorView::Record() const {
  return state_->LiveRecord();
}

}  // namespace plotvik
