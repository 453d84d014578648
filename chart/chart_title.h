#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/chart_font.h"

namespace plotvik {

// A text block above (title, sub-title) or below (foot, sub-foot) the chart rectangle. It is
// drawn, and takes room, only when visible with at least one line of text.
class TChartTitle {
 public:
  TChartTitle();
  virtual ~TChartTitle();

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  const std::vector<std::string>& Text() const { return text_; }
  void SetText(std::vector<std::string> lines);
  TChartFont& Font() const { return *font_; }

  // Whether the title shows at all.
  bool Shows() const { return visible_ && !text_.empty(); }

  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  bool visible_ = true;
  std::vector<std::string> text_;
  std::unique_ptr<TChartFont> font_;
};

class TChartFootTitle : public TChartTitle {};

}  // namespace plotvik
