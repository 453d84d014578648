#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "chart/chart_canvas3d.h"
#include "chart/series_pointer.h"
#include "platform/exceptions.h"
#include "raster/bitmap.h"
#include "tests/chart/line_series_picture.h"

namespace plotvik {
namespace {

using testing_pictures::Picture;

// '.' background, 'B' black, 'r' the point colour (red), 'y' yellow.
const std::map<TColor, char> kLegend{
    {clWhite, '.'}, {clBlack, 'B'}, {clRed, 'r'}, {clYellow, 'y'}, {clBlue, 'b'}};

struct PointerCase {
  const char* name;
  TSeriesPointerStyle style;
  int horizSize;
  int vertSize;
  // Adjusts the pointer's own pen and brush before drawing.
  std::function<void(TSeriesPointer&)> setUp;
  const char* picture;  // 9 x 9 pixels around a red point at (4, 4)
  friend void PrintTo(const PointerCase& c, std::ostream* os) { *os << c.name; }
};

class PointerPicture : public testing::TestWithParam<PointerCase> {};

TEST_P(PointerPicture, DrawsTheShapeAroundThePoint) {
  const PointerCase& c = GetParam();
  TBitmap bitmap(9, 9, clWhite);
  TChartCanvas3D canvas(bitmap.Canvas());
  TSeriesPointer pointer;
  pointer.SetHorizSize(c.horizSize);
  pointer.SetVertSize(c.vertSize);
  if (c.setUp) c.setUp(pointer);
  pointer.Draw(canvas, 4, 4, clRed, c.style);
  EXPECT_EQ(Picture(bitmap, bitmap.Bounds(), kLegend), c.picture) << c.name;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Styles, PointerPicture,
    testing::Values(
        // The configured three: a black-bordered square, a black-bordered diamond, and a star
        // in the point colour with no outline at all.
        PointerCase{"rectangle",                   psRectangle, 2, 2, {},
                    ".........\n"
                    ".........\n"
                    "..BBBBB..\n"
                    "..BrrrB..\n"
                    "..BrrrB..\n"
                    "..BrrrB..\n"
                    "..BBBBB..\n"
                    ".........\n"
                    ".........\n"},
        PointerCase{"diamond",                     psDiamond,   2, 2, {},
                    ".........\n"
                    ".........\n"
                    "....B....\n"
                    "...BrB...\n"
                    "..BrrrB..\n"
                    "...BrB...\n"
                    "....B....\n"
                    ".........\n"
                    ".........\n"},
        PointerCase{"star",                        psStar,      2, 2, {},
                    ".........\n"
                    ".........\n"
                    "..r.r.r..\n"
                    "...rrr...\n"
                    "..rrrrr..\n"
                    "...rrr...\n"
                    "..r.r.r..\n"
                    ".........\n"
                    ".........\n"},
        PointerCase{"cross",                       psCross,     2, 2, {},
                    ".........\n"
                    ".........\n"
                    "....r....\n"
                    "....r....\n"
                    "..rrrrr..\n"
                    "....r....\n"
                    "....r....\n"
                    ".........\n"
                    ".........\n"},
        PointerCase{"diagonal cross",              psDiagCross, 3, 3, {},
                    ".........\n"
                    ".r.....r.\n"
                    "..r...r..\n"
                    "...r.r...\n"
                    "....r....\n"
                    "...r.r...\n"
                    "..r...r..\n"
                    ".r.....r.\n"
                    ".........\n"},
        PointerCase{"small dot",                   psSmallDot,  2, 2, {},
                    ".........\n"
                    ".........\n"
                    ".........\n"
                    ".........\n"
                    "....r....\n"
                    ".........\n"
                    ".........\n"
                    ".........\n"
                    ".........\n"},
        PointerCase{"nothing",                     psNothing,   2, 2, {},
                    ".........\n"
                    ".........\n"
                    ".........\n"
                    ".........\n"
                    ".........\n"
                    ".........\n"
                    ".........\n"
                    ".........\n"
                    ".........\n"},
        // Sizes are per direction and reach from the centre to the edge.
        PointerCase{"wide rectangle",              psRectangle, 4, 1, {},
                    ".........\n"
                    ".........\n"
                    ".........\n"
                    "BBBBBBBBB\n"
                    "BrrrrrrrB\n"
                    "BBBBBBBBB\n"
                    ".........\n"
                    ".........\n"
                    ".........\n"},
        // Own colours win over the point colour; an outline of clDefault takes the point's.
        PointerCase{"own brush colour",            psRectangle, 2, 2, [](TSeriesPointer& p) { p.Brush().SetColor(clYellow); },
                    ".........\n"
                    ".........\n"
                    "..BBBBB..\n"
                    "..ByyyB..\n"
                    "..ByyyB..\n"
                    "..ByyyB..\n"
                    "..BBBBB..\n"
                    ".........\n"
                    ".........\n"},
        PointerCase{"outline in the point colour", psDiamond,   2, 2, [](TSeriesPointer& p) { p.Pen().SetColor(clDefault); },
                    ".........\n"
                    ".........\n"
                    "....r....\n"
                    "...rrr...\n"
                    "..rrrrr..\n"
                    "...rrr...\n"
                    "....r....\n"
                    ".........\n"
                    ".........\n"},
        PointerCase{"clear brush",                 psRectangle, 2, 2, [](TSeriesPointer& p) { p.Brush().SetStyle(bsClear); },
                    ".........\n"
                    ".........\n"
                    "..BBBBB..\n"
                    "..B...B..\n"
                    "..B...B..\n"
                    "..B...B..\n"
                    "..BBBBB..\n"
                    ".........\n"
                    ".........\n"},
        // A line style takes the point colour even from a coloured outline pen.
        PointerCase{"star with a blue pen",        psStar,      1, 1, [](TSeriesPointer& p) { p.Pen().SetColor(clBlue); },
                    ".........\n"
                    ".........\n"
                    ".........\n"
                    "...rrr...\n"
                    "...rrr...\n"
                    "...rrr...\n"
                    ".........\n"
                    ".........\n"
                    ".........\n"}),
    [](const testing::TestParamInfo<PointerCase>& info) {
      std::string name = info.param.name;
      for (char& ch : name)
        if (ch == ' ') ch = '_';
      return name;
    });
// clang-format on

TEST(PointerShapes, TrianglesSitOnTheirBaseAndTip) {
  // The slanted edges fall between pixel centres; the base rows and the tips are exact.
  for (const bool down : {false, true}) {
    TBitmap bitmap(9, 9, clWhite);
    TChartCanvas3D canvas(bitmap.Canvas());
    TSeriesPointer pointer;
    pointer.SetHorizSize(2);
    pointer.SetVertSize(2);
    pointer.Draw(canvas, 4, 4, clRed, down ? psDownTriangle : psTriangle);
    const int baseRow = down ? 2 : 6;
    const int tipRow = down ? 6 : 2;
    for (int x = 2; x <= 5; ++x) EXPECT_EQ(bitmap.Pixel(x, baseRow), clBlack) << down << " " << x;
    EXPECT_EQ(bitmap.Pixel(4, tipRow), clBlack) << down;
    EXPECT_EQ(bitmap.Pixel(4, 4), clRed) << down;
    for (int y = 0; y < 9; ++y) {
      EXPECT_EQ(bitmap.Pixel(0, y), clWhite);
      EXPECT_EQ(bitmap.Pixel(8, y), clWhite);
    }
  }
}

TEST(PointerShapes, CircleStaysInsideItsBoxAndIsFilled) {
  TBitmap bitmap(13, 13, clWhite);
  TChartCanvas3D canvas(bitmap.Canvas());
  TSeriesPointer pointer;  // 4 x 4
  pointer.Draw(canvas, 6, 6, clRed, psCircle);
  EXPECT_EQ(bitmap.Pixel(6, 6), clRed);
  EXPECT_EQ(bitmap.Pixel(2, 6), clBlack);
  EXPECT_EQ(bitmap.Pixel(6, 2), clBlack);
  for (int i = 0; i < 13; ++i) {
    // Box (2, 2, 10, 10), right and bottom exclusive; its corners stay empty.
    EXPECT_EQ(bitmap.Pixel(i, 1), clWhite);
    EXPECT_EQ(bitmap.Pixel(1, i), clWhite);
    EXPECT_EQ(bitmap.Pixel(i, 10), clWhite);
    EXPECT_EQ(bitmap.Pixel(10, i), clWhite);
  }
  EXPECT_EQ(bitmap.Pixel(2, 2), clWhite);
  EXPECT_EQ(bitmap.Pixel(9, 9), clWhite);
}

TEST(PointerSizes, BelowOneIsRefusedAndKeepsTheOldSize) {
  TSeriesPointer pointer;
  pointer.SetHorizSize(2);
  pointer.SetVertSize(3);
  int changes = 0;
  TSeriesPointer watched([&] { ++changes; });
  for (const int bad : {0, -1}) {
    try {
      pointer.SetHorizSize(bad);
      FAIL() << "HorizSize " << bad << " accepted";
    } catch (const ChartException& e) {
      EXPECT_EQ(e.Message(), "Pointer size must be greater than zero");
    }
    EXPECT_THROW(pointer.SetVertSize(bad), ChartException);
    EXPECT_THROW(watched.SetVertSize(bad), ChartException);
  }
  EXPECT_EQ(pointer.HorizSize(), 2);
  EXPECT_EQ(pointer.VertSize(), 3);
  EXPECT_EQ(changes, 0);
  watched.SetHorizSize(1);
  watched.Pen().SetColor(clRed);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace plotvik
