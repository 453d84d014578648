#include "raster/color.h"

#include <array>

namespace plotvik {

namespace {

// The platform's light desktop scheme, written as 0xRRGGBB for readability.
constexpr std::array<std::uint32_t, kSystemColorCount> kDefaultSchemeRGB = {
    0xC8C8C8,  // scroll bar
    0x000000,  // desktop background
    0x99B4D1,  // active caption
    0xBFCDDB,  // inactive caption
    0xF0F0F0,  // menu
    0xFFFFFF,  // window
    0x646464,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0x000000,  // caption text
    0xB4B4B4,  // active border
    0xF4F7FC,  // inactive border
    0xABABAB,  // application workspace
    0x0078D7,  // highlight
    0xFFFFFF,  // highlight text
    0xF0F0F0,  // button face
    0xA0A0A0,  // button shadow
    0x6D6D6D,  // grey text
    0x000000,  // button text
    0x000000,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x696969,  // 3D dark shadow
    0xE3E3E3,  // 3D light
    0x000000,  // info text
    0xFFFFE1,  // info background
    0x000000,  // (unused slot)
    0x0066CC,  // hot light
    0xB9D1EA,  // gradient active caption
    0xD7E4F2,  // gradient inactive caption
    0x3399FF,  // menu highlight
    0xF0F0F0,  // menu bar
};

std::array<TColor, kSystemColorCount> MakeDefaultTable() {
  std::array<TColor, kSystemColorCount> table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = PixelToColor(kDefaultSchemeRGB[i]);
  return table;
}

// Read and written only on the window thread.
std::array<TColor, kSystemColorCount>& Table() {
  static std::array<TColor, kSystemColorCount> table = MakeDefaultTable();
  return table;
}

}  // namespace

TColor ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return SystemColor(static_cast<int>(color & 0xFF));
  return color & 0xFFFFFF;
}

TColor SystemColor(int index) {
  if (index < 0 || index >= kSystemColorCount) return clBlack;
  return Table()[static_cast<std::size_t>(index)];
}

void SetSystemColor(int index, TColor plain) {
  if (index < 0 || index >= kSystemColorCount) return;
  Table()[static_cast<std::size_t>(index)] = plain & 0xFFFFFF;
}

void ResetSystemColors() {
  Table() = MakeDefaultTable();
}

}  // namespace plotvik
