#pragma once

// Pixel pictures for raster tests: a bitmap written as text, one character per pixel, compared
// whole with the expected picture. A mismatch names the first differing pixel and shows both.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "raster/bitmap.h"

namespace plotvik::testing {

using Picture = std::vector<std::string>;

// '.' white, '#' black, 'r' red, 'b' blue, 'g' grey, 's' silver, 'w' clBtnFace's RGB...
inline const std::map<TColor, char>& DefaultLegend() {
  static const std::map<TColor, char> legend = {
      {clWhite, '.'},  {clBlack, '#'}, {clRed, 'r'},    {clBlue, 'b'},   {clGray, 'g'},
      {clSilver, 's'}, {clLime, 'l'},  {clYellow, 'y'}, {0xF0F0F0, 'f'}, {0xA0A0A0, 'd'},
  };
  return legend;
}

inline Picture PictureOf(const TBitmap& bitmap,
                         const std::map<TColor, char>& legend = DefaultLegend()) {
  Picture rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::string row;
    for (int x = 0; x < bitmap.Width(); ++x) {
      auto it = legend.find(bitmap.Pixel(x, y));
      row += it == legend.end() ? '?' : it->second;
    }
    rows.push_back(row);
  }
  return rows;
}

inline std::string Joined(const Picture& p) {
  std::string s;
  for (const auto& row : p) s += "  " + row + "\n";
  return s;
}

inline ::testing::AssertionResult SamePicture(const Picture& actual, const Picture& expected) {
  for (std::size_t y = 0; y < std::max(actual.size(), expected.size()); ++y) {
    const std::string a = y < actual.size() ? actual[y] : std::string();
    const std::string e = y < expected.size() ? expected[y] : std::string();
    for (std::size_t x = 0; x < std::max(a.size(), e.size()); ++x) {
      const char ac = x < a.size() ? a[x] : ' ';
      const char ec = x < e.size() ? e[x] : ' ';
      if (ac != ec) {
        return ::testing::AssertionFailure()
               << "first difference at x=" << x << " y=" << y << ": expected '" << ec << "', got '"
               << ac << "'\nexpected:\n"
               << Joined(expected) << "actual:\n"
               << Joined(actual);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// The smallest rectangle holding every pixel that differs from `background`; empty if none.
inline TRect InkBounds(const TBitmap& bitmap, TColor background = clWhite) {
  TRect r{bitmap.Width(), bitmap.Height(), 0, 0};
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.Pixel(x, y) != background) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r.IsEmpty() ? TRect{} : r;
}

}  // namespace plotvik::testing
