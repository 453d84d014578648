#pragma once

namespace plotvik {

// The screen cursor, which overrides every window's own cursor while it is not crDefault.
enum TCursor : int { crDefault = 0, crArrow = -2, crHourGlass = -11 };

TCursor ScreenCursor();
// Takes effect at once when a desktop application object exists; without one (as in tests of
// the chart engine) only the value is kept, so that reading it back still works.
void SetScreenCursor(TCursor cursor);

}  // namespace plotvik
