#pragma once

#include <functional>
#include <utility>

#include "chart/custom_axis_panel.h"

namespace plotvik {

// Adds `extra` to a chart paint hook after whatever is assigned there already, so that several
// mark layers can share one chart without knowing of each other.
inline void AppendPaintHook(std::function<void(TCustomAxisPanel&)>& hook,
                            std::function<void(TCustomAxisPanel&)> extra) {
  hook = [previous = std::move(hook), extra = std::move(extra)](TCustomAxisPanel& chart) {
    if (previous) previous(chart);
    extra(chart);
  };
}

}  // namespace plotvik
