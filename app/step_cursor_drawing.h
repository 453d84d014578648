#pragma once

#include "analysis/sweep_records.h"
#include "platform/gui/custom_panel.h"
#include "raster/color.h"

namespace plotvik {

class TCustomAxisPanel;

inline constexpr TColor kStepLineColor = 0x00604020;

// What the step cursor puts on one chart in a frame, once the frame's axes are set.

// A thin vertical line across the plot at the record's height, when that height is in view.
void DrawStepLine(TCustomAxisPanel& chart, const TSweepRecord& record);

// The tip: every field of the record, beside its point of `field` on the chart, or at the
// plot's edge nearest to that point when it lies outside the view (or lacks a value).
THoverText StepTip(const TCustomAxisPanel& chart, const TSweepRecord& record, TSweepField field);

}  // namespace plotvik
