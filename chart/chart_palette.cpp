#include "chart/chart_palette.h"

#include <cstddef>

namespace plotvik {

const std::array<TColor, 20> kChartPalette = {
    clRed,  clGreen, clYellow,     clBlue,    clWhite, clGray,   clFuchsia,
    clTeal, clNavy,  clMaroon,     clLime,    clOlive, clPurple, clSilver,
    clAqua, clBlack, clMoneyGreen, clSkyBlue, clCream, clMedGray};

TColor GetDefaultColor(int index) {
  const int n = static_cast<int>(kChartPalette.size());
  return kChartPalette[static_cast<std::size_t>(((index % n) + n) % n)];
}

}  // namespace plotvik
