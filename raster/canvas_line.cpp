#include "raster/canvas_line.h"

namespace plotvik::raster {

DashPattern DashPattern::Of(TPenStyle style, bool geometric, int unit) {
  std::vector<int> runs;
  if (geometric) {
    switch (style) {
      case psDash:
        runs = {3, 1};
        break;
      case psDot:
        runs = {1, 1};
        break;
      case psDashDot:
        runs = {3, 1, 1, 1};
        break;
      case psDashDotDot:
        runs = {3, 1, 1, 1, 1, 1};
        break;
      default:
        break;
    }
  } else {
    switch (style) {
      case psDash:
        runs = {18, 6};
        break;
      case psDot:
        runs = {3, 3};
        break;
      case psDashDot:
        runs = {9, 6, 3, 6};
        break;
      case psDashDotDot:
        runs = {9, 3, 3, 3, 3, 3};
        break;
      default:
        break;
    }
  }
  std::vector<std::uint8_t> on;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    on.insert(on.end(), static_cast<std::size_t>(runs[r] * unit), r % 2 == 0 ? 1 : 0);
  }
  return DashPattern(std::move(on));
}

}  // namespace plotvik::raster
