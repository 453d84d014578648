#pragma once

namespace plotvik {

// The screen cursor, which overrides every window's own cursor while it is not crDefault.
enum TCursor : int { crDefault = 0, crArrow = -2, crHourGlass = -11 };

TCursor ScreenCursor();
// With a desktop application object, a cursor other than crDefault shows at once and the return
// to crDefault when the application next handles its queued events; without one (as in tests of
// the chart engine) only the value is kept, so that reading it back still works.
void SetScreenCursor(TCursor cursor);

}  // namespace plotvik
