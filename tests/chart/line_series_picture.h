#pragma once

#include <map>
#include <string>

#include "raster/bitmap.h"
#include "raster/color.h"
#include "raster/geometry.h"

namespace plotvik::testing_pictures {

// The pixels of `area` as text, one character per pixel and one line per row: each colour of
// `legend` by its character, any other colour as '?'.
inline std::string Picture(const TBitmap& bitmap, const TRect& area,
                           const std::map<TColor, char>& legend) {
  std::string text;
  for (int y = area.Top; y < area.Bottom; ++y) {
    for (int x = area.Left; x < area.Right; ++x) {
      const auto it = legend.find(bitmap.Pixel(x, y));
      text += it == legend.end() ? '?' : it->second;
    }
    text += '\n';
  }
  return text;
}

}  // namespace plotvik::testing_pictures
