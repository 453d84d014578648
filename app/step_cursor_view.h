#pragma once

#include <memory>
#include <optional>

#include "session/session_listener.h"

namespace plotvik {

class TComponent;
class TPageControl;
class TSweepSession;

// The step cursor in the window. It steps through the shown page's points in height order and
// shows as a thin vertical line at the step's height on every page and, in the value tip's
// window beside the point, every field of the step's record. Esc (Hide), a mouse button on a
// chart or a new run hide it. It never scrolls or zooms: outside a zoomed view it draws no line
// and its tip stands at the chart's edge nearest to the point.
class TStepCursorView : private TSessionListener {
 public:
  // Hooks into the six page charts under `pages` and follows `session`'s run; the page
  // `pageControl` shows decides the points it steps through. Hidden at first.
  TStepCursorView(TSweepSession& session, const TComponent& pages, const TPageControl& pageControl);
  ~TStepCursorView() override;
  TStepCursorView(const TStepCursorView&) = delete;
  TStepCursorView& operator=(const TStepCursorView&) = delete;

  // The commands of the keys Left and Right (Shift: kLongStep), Home, End and Esc.
  void Step(int steps);
  void First();
  void Last();
  void Hide();

  // The record the cursor stands on (its position among the stored records), none when hidden.
  std::optional<int> Record() const;

  static constexpr int kLongStep = 10;

 private:
  void SessionChanged(TSessionChange change) override;

  struct State;
  TSweepSession& session_;
  // Shared with the charts' hooks, which check that it still exists.
  std::shared_ptr<State> state_;
};

}  // namespace plotvik
