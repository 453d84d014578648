#pragma once

#include <cstdint>

namespace plotvik {

// A colour as the chart engine stores it: 0x00BBGGRR for a plain colour (red in the low byte),
// 0x80000000 + n for system colour n (resolved when it is used), and two markers above the
// plain range that mean "no colour" and "the owner's colour".
using TColor = std::int32_t;

// One pixel of a raster as 0x00RRGGBB: the byte order the pixel buffers keep in memory.
using TRGB = std::uint32_t;

namespace color_detail {
constexpr TColor System(int index) {
  return static_cast<TColor>(0x80000000u + static_cast<unsigned>(index));
}
}  // namespace color_detail

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = color_detail::System(0);
constexpr TColor clBackground = color_detail::System(1);
constexpr TColor clActiveCaption = color_detail::System(2);
constexpr TColor clInactiveCaption = color_detail::System(3);
constexpr TColor clMenu = color_detail::System(4);
constexpr TColor clWindow = color_detail::System(5);
constexpr TColor clWindowFrame = color_detail::System(6);
constexpr TColor clMenuText = color_detail::System(7);
constexpr TColor clWindowText = color_detail::System(8);
constexpr TColor clCaptionText = color_detail::System(9);
constexpr TColor clActiveBorder = color_detail::System(10);
constexpr TColor clInactiveBorder = color_detail::System(11);
constexpr TColor clAppWorkSpace = color_detail::System(12);
constexpr TColor clHighlight = color_detail::System(13);
constexpr TColor clHighlightText = color_detail::System(14);
constexpr TColor clBtnFace = color_detail::System(15);
constexpr TColor clBtnShadow = color_detail::System(16);
constexpr TColor clGrayText = color_detail::System(17);
constexpr TColor clBtnText = color_detail::System(18);
constexpr TColor clInactiveCaptionText = color_detail::System(19);
constexpr TColor clBtnHighlight = color_detail::System(20);
constexpr TColor cl3DDkShadow = color_detail::System(21);
constexpr TColor cl3DLight = color_detail::System(22);
constexpr TColor clInfoText = color_detail::System(23);
constexpr TColor clInfoBk = color_detail::System(24);
constexpr TColor clHotLight = color_detail::System(26);
constexpr TColor clGradientActiveCaption = color_detail::System(27);
constexpr TColor clGradientInactiveCaption = color_detail::System(28);
constexpr TColor clMenuHighlight = color_detail::System(29);
constexpr TColor clMenuBar = color_detail::System(30);

constexpr int kSystemColorCount = 31;

constexpr bool IsSystemColor(TColor color) {
  return color < 0;
}

// The colour as a plain 0x00BBGGRR value: a system colour is looked up in the system colour
// table, any other value keeps its low 24 bits (so clNone reads as white, clDefault as black,
// as the platform's conversion has it).
TColor ColorToRGB(TColor color);

// Plain colour <-> pixel value.
constexpr TRGB ColorToPixel(TColor plain) {
  const auto v = static_cast<std::uint32_t>(plain);
  return ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}
constexpr TColor PixelToColor(TRGB pixel) {
  return static_cast<TColor>(((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu));
}

// The system colour table. It starts with fixed values (the light desktop scheme of the platform
// the program came from, so every run and every test sees the same colours); the window layer
// may replace entries from the desktop's palette when the application starts.
TColor SystemColor(int index);
void SetSystemColor(int index, TColor plain);
void ResetSystemColors();

}  // namespace plotvik
