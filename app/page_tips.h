#pragma once

#include <optional>

#include "platform/gui/custom_panel.h"

namespace plotvik {

class TDBChart;

// How far from a drawn point, in the chart's pixels, the resting mouse still reads its values.
inline constexpr int kHoverReach = 4;

// The text a tip shows with the mouse resting at (x, y) on page `pageIndex`'s chart, and the
// point it belongs to: "height 12.34  КСВ 1.523", the page's caption naming the quantity. None
// away from the drawn points, during a zoom drag, or before the chart has drawn its last change.
// Where a reference point and one of the shown run coincide, the tip reads the run drawn in
// front.
std::optional<THoverText> PageHoverText(const TDBChart& chart, int pageIndex, int x, int y);

// Makes page `pageIndex`'s chart show PageHoverText where the mouse rests.
void ShowPageHoverTips(TDBChart& chart, int pageIndex);

}  // namespace plotvik
