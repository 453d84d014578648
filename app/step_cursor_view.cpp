#include "app/step_cursor_view.h"

#include <span>

#include "analysis/step_cursor.h"
#include "analysis/stored_height_order.h"
#include "analysis/sweep_records.h"
#include "app/chart_pages.h"
#include "app/step_cursor_drawing.h"
#include "chart/chart_zoom.h"
#include "chart/db_chart.h"
#include "platform/gui/page_control.h"
#include "platform/handler_list.h"
#include "session/sweep_session.h"
#include "table/mem_table.h"

namespace plotvik {

struct TStepCursorView::State {
  State(const TCustomMemTable& t, const TComponent& p, const TPageControl& c)
      : table(t), pages(p), pageControl(c) {}

  const TCustomMemTable& table;
  const TComponent& pages;
  const TPageControl& pageControl;
  TStepCursor cursor;
  TStoredHeightOrder order;

  // The cursor's record while the run still has it.
  std::optional<int> LiveRecord() const {
    const std::optional<int> record = cursor.Record();
    if (!record || *record >= TStoredSweepRecords(table).Count()) return std::nullopt;
    return record;
  }

  void ClearTips() const {
    for (int page = 0; page < kChartPageCount; ++page) {
      PageChart(pages, page).SetPinnedText(std::nullopt);
    }
  }

  void HideAndRepaint() {
    if (!cursor.Record()) return;
    cursor.Hide();
    ClearTips();
    for (int page = 0; page < kChartPageCount; ++page) PageChart(pages, page).Repaint();
  }

  template <class Move>
  void MoveCursor(Move move) {
    const std::optional<int> before = LiveRecord();
    if (!before) cursor.Hide();
    const TStoredSweepRecords records(table);
    const TSweepField field = PageDecl(pageControl.ActivePageIndex()).yField;
    move(order.Points(table, records, field), records);
    if (cursor.Record() == before) return;
    for (int page = 0; page < kChartPageCount; ++page) PageChart(pages, page).Repaint();
  }

  // Draws the line on one page's chart and sets its tip; runs once the frame's axes are set.
  void Draw(TCustomAxisPanel& chart, int page) const {
    const std::optional<int> record = LiveRecord();
    if (!record) {
      chart.SetPinnedText(std::nullopt);
      return;
    }
    const TSweepRecord r = TStoredSweepRecords(table).Record(*record);
    DrawStepLine(chart, r);
    chart.SetPinnedText(StepTip(chart, r, PageDecl(page).yField));
  }
};

TStepCursorView::TStepCursorView(TSweepSession& session, const TComponent& pages,
                                 const TPageControl& pageControl)
    : session_(session), state_(std::make_shared<State>(session.Run(), pages, pageControl)) {
  const std::weak_ptr<State> weak = state_;
  for (int page = 0; page < kChartPageCount; ++page) {
    TDBChart& chart = PageChart(pages, page);
    // Under the series and the marks' labels, so that no text is crossed by the line.
    AddHandler(chart.OnBeforeDrawSeries, [weak, page](TCustomAxisPanel& c) {
      if (const std::shared_ptr<State> state = weak.lock()) state->Draw(c, page);
    });
    AddHandler(chart.MouseHandler().OnMouseDown,
               [weak](TCustomChart&, TMouseButton, TShiftState, int, int) {
                 if (const std::shared_ptr<State> state = weak.lock()) state->HideAndRepaint();
               });
  }
  session_.AddListener(*this);
}

TStepCursorView::~TStepCursorView() {
  session_.RemoveListener(*this);
}

void TStepCursorView::SessionChanged(TSessionChange change) {
  // A new run's records are others than those the cursor stood on; its charts draw anew anyway.
  if (change != TSessionChange::scRunReplaced || !state_->cursor.Record()) return;
  state_->cursor.Hide();
  state_->ClearTips();
}

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
  state_->HideAndRepaint();
}

std::optional<int> TStepCursorView::Record() const {
  return state_->LiveRecord();
}

}  // namespace plotvik
