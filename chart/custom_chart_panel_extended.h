#pragma once

#include "chart/custom_chart_panel.h"

namespace plotvik {

// The panel's decoration beyond its colour (gradient, background picture) is never set in this
// program, so the extended panel is the plain one.
using TCustomChartPanelExtended = TCustomChartPanel;

}  // namespace plotvik
