#pragma once

namespace plotvik {

class TForm1;
class TTabSheet;

// One tab page of the main window, in page order.
struct TChartPageDecl {
  const char* sheetName;
  const char* caption;
  int imageIndex;
};

inline constexpr TChartPageDecl kChartPages[] = {
    {"tsSWR", "КСВ", 0},          {"tsR", "R", 1},    {"tsjX", "jX", 2},
    {"tsGain", "Усиление Ga", 3}, {"tsFB", "F/B", 4}, {"tsElevation", "Зенитный угол", 5},
};

// Puts the content of page `pageIndex` on `sheet`. The one place where a page gets what it
// shows; the window calls it once per page, after the record table exists.
void CreateChartPage(TForm1& form, TTabSheet& sheet, int pageIndex);

}  // namespace plotvik
