#pragma once

#include <memory>
#include <optional>

namespace plotvik {

class TForm1;

// The step cursor in the window. Left and Right step it through the current page's points in
// height order (with Shift by 10), Home and End go to the first and last; it shows as a thin
// vertical line at the step's height on every page and, in the value tip's window beside the
// point, every field of the step's record. Esc, a mouse button on a chart or a new load hide
// it. It never scrolls or zooms: outside a zoomed view it draws no line and its tip stands at
// the chart's edge nearest to the point.
class TStepCursorView {
 public:
  // Adds the keys to `form`, hooks into its page charts; hidden at first.
  explicit TStepCursorView(TForm1& form);
  ~TStepCursorView();
  TStepCursorView(const TStepCursorView&) = delete;
  TStepCursorView& operator=(const TStepCursorView&) = delete;

  // The key commands.
  void Step(int steps);
  void First();
  void Last();
  void Hide();

  // The record the cursor stands on (its position among the stored records), none when hidden.
  std::optional<int> Record() const;

  static constexpr int kLongStep = 10;

 private:
  struct State;
  // Shared with the charts' hooks, which check that it still exists.
  std::shared_ptr<State> state_;
};

}  // namespace plotvik
