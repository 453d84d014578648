#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/canvas.h"
#include "raster/color.h"
#include "tests/raster/fixed_glyphs.h"
#include "tests/raster/raster_picture.h"

namespace plotvik {
namespace {

using testing::FixedGlyphs;
using testing::InkBounds;
using testing::Picture;
using testing::PictureOf;
using testing::SamePicture;

TEST(RasterColor, ResolvesPlainSystemAndMarkerColours) {
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0);
  EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFF);
  EXPECT_EQ(ColorToRGB(clBtnShadow), 0xA0A0A0);
  EXPECT_EQ(ColorToRGB(clWindowText), 0x000000);
  EXPECT_EQ(ColorToRGB(clNone), 0xFFFFFF);
  EXPECT_EQ(ColorToRGB(clDefault), 0x000000);
  SetSystemColor(15, 0x123456);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x123456);
  ResetSystemColors();
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0);
  // Pixels keep red in the low byte of the colour, whatever the memory order.
  TBitmap b(1, 1);
  b.Canvas().SetPixel(0, 0, 0x123456);
  EXPECT_EQ(b.Pixel(0, 0), 0x123456);
  EXPECT_EQ(b.Pixels()[0] & 0xFFFFFF, 0x563412u);
}

// A figure drawn on a fresh white bitmap of the picture's size.
struct FigureCase {
  const char* name;
  std::function<void(TCanvas&)> draw;
  Picture expected;
  friend void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }
};

class RasterFigure : public ::testing::TestWithParam<FigureCase> {
 protected:
  static Picture Drawn(const FigureCase& fc, std::optional<TRect> clip) {
    TBitmap b(static_cast<int>(fc.expected[0].size()), static_cast<int>(fc.expected.size()));
    b.Canvas().SetClip(clip);
    fc.draw(b.Canvas());
    return PictureOf(b);
  }
};

TEST_P(RasterFigure, DrawsExactlyThesePixels) {
  EXPECT_TRUE(SamePicture(Drawn(GetParam(), std::nullopt), GetParam().expected));
}

// Whatever the clip (inside, across each edge, beyond the buffer, empty), the figure drawn with
// it is the figure drawn without it, cut to the clip.
TEST_P(RasterFigure, ClippedIsTheUnclippedCut) {
  const FigureCase& fc = GetParam();
  const int w = static_cast<int>(fc.expected[0].size());
  const int h = static_cast<int>(fc.expected.size());
  const Picture whole = Drawn(fc, std::nullopt);
  const TRect clips[] = {{1, 1, w - 1, h - 1},   {0, 0, w / 2, h},     {w / 2, 0, w, h},
                         {0, 0, w, h / 2},       {0, h / 2, w, h},     {2, 2, 4, 3},
                         {-5, -5, w + 5, h + 5}, {w + 1, 0, w + 3, h}, {3, 3, 3, 9}};
  for (const TRect& clip : clips) {
    Picture expected = whole;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (!clip.Contains(x, y)) expected[y][x] = '.';
    EXPECT_TRUE(SamePicture(Drawn(fc, clip), expected))
        << "clip " << clip.Left << "," << clip.Top << "," << clip.Right << "," << clip.Bottom;
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Figures, RasterFigure,
    ::testing::Values(
        FigureCase{"RectangleCoversItsInsideWithExclusiveRightAndBottom",
                   [](TCanvas& c) { c.Brush().SetColor(clRed); c.Rectangle(1, 1, 6, 6); },
                   {"........", ".#####..", ".#rrr#..", ".#rrr#..", ".#rrr#..", ".#####..", "........"}},
        FigureCase{"RectangleFromItsOtherCorners",
                   [](TCanvas& c) { c.Brush().SetColor(clRed); c.Rectangle(6, 6, 1, 1); },
                   {"........", ".#####..", ".#rrr#..", ".#rrr#..", ".#rrr#..", ".#####..", "........"}},
        FigureCase{"RectangleWithoutPenThenFillRect",
                   [](TCanvas& c) { c.Brush().SetColor(clRed); c.Pen().SetStyle(psClear); c.Rectangle(1, 1, 6, 6);
                                    c.Brush().SetColor(clBlue); c.FillRect({2, 2, 4, 3}); },
                   {"........", ".rrrrr..", ".rbbrr..", ".rrrrr..", ".rrrrr..", ".rrrrr..", "........"}},
        FigureCase{"RectangleOneRowHighIsAllOutlineAndOneWithoutWidthNothing",
                   [](TCanvas& c) { c.Brush().SetColor(clRed); c.Rectangle(1, 1, 5, 2); c.Rectangle(1, 3, 1, 9); },
                   {"......", ".####.", "......", "......"}},
        FigureCase{"DottedRectangleOpaqueGaps",
                   [](TCanvas& c) { c.Pen().SetStyle(psDot); c.SetBackColor(clBlue); c.Brush().SetColor(clRed); c.Rectangle(0, 0, 8, 5); },
                   {"###bbb##", "brrrrrr#", "#rrrrrrb", "#rrrrrrb", "#bbb###b"}},
        FigureCase{"AlternatePenSetsEveryOtherPixelUntilThePenChanges",
                   [](TCanvas& c) { c.SelectAlternatePen(clBlue); c.SetBackMode(TTextBackMode::Transparent);
                                    c.MoveTo(0, 0); c.LineTo(9, 0); c.Pen().SetColor(clBlack); c.MoveTo(0, 1); c.LineTo(9, 1); },
                   {"b.b.b.b.b", "#########"}},
        FigureCase{"WidePlainPensAreSquareCentredAndSolid",
                   [](TCanvas& c) { c.Pen().SetWidth(2); c.Pen().SetStyle(psDash); c.MoveTo(2, 3); c.LineTo(6, 3);
                                    c.Pen().SetColor(clRed); c.MoveTo(8, 1); c.LineTo(8, 5); },
                   {".......rr.", ".......rr.", ".######rr.", ".######rr.", ".......rr.", ".......rr.", "..........", ".........."}},
        FigureCase{"GeometricPenDashesInPenWidths",
                   [](TCanvas& c) { c.SelectGeometricPen(clBlack, 2, psDash, pmCopy); c.SetBackMode(TTextBackMode::Transparent);
                                    c.MoveTo(0, 1); c.LineTo(20, 1); },
                   {"######.#######.######.", "######.#######.######.", "......................"}},
        FigureCase{"InsideFrameKeepsAWideOutlineInsideTheRectangle",
                   [](TCanvas& c) { c.Pen().SetWidth(2); c.Pen().SetStyle(psInsideFrame); c.Brush().SetColor(clRed); c.Rectangle(1, 1, 7, 7); },
                   {"........", ".######.", ".######.", ".##rr##.", ".##rr##.", ".######.", ".######.", "........"}},
        FigureCase{"PolygonFilledAtPixelCentresAndOutlined",
                   [](TCanvas& c) { c.Brush().SetColor(clRed); const TPoint t[] = {{1, 5}, {7, 5}, {4, 1}}; c.Polygon(t); },
                   {".........", "....#....", "...#r#...", "..#rr#...", "..#rrr#..", ".#######.", "........."}},
        FigureCase{"PolygonWithoutOutline",
                   [](TCanvas& c) { c.Brush().SetColor(clRed); c.Pen().SetStyle(psClear); const TPoint t[] = {{1, 5}, {7, 5}, {4, 1}}; c.Polygon(t); },
                   {".........", ".........", "...rr....", "..rrrr...", ".rrrrrr..", ".........", "........."}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct LineCase {
  const char* name;
  int x0, y0, x1, y1;
  Picture expected;
  friend void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }
};

class RasterLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(RasterLine, SetsTheStartAndStopsBeforeTheEnd) {
  const LineCase& lc = GetParam();
  TBitmap b(static_cast<int>(lc.expected[0].size()), static_cast<int>(lc.expected.size()));
  b.Canvas().MoveTo(lc.x0, lc.y0);
  b.Canvas().LineTo(lc.x1, lc.y1);
  EXPECT_TRUE(SamePicture(PictureOf(b), lc.expected));
  EXPECT_EQ(b.Canvas().PenPos(), (TPoint{lc.x1, lc.y1}));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    EightDirections, RasterLine,
    ::testing::Values(
        LineCase{"East",            3,       3, 6,      3, {".......", ".......", ".......", "...###.", ".......", ".......", "......."}},
        LineCase{"West",            3,       3, 0,      3, {".......", ".......", ".......", ".###...", ".......", ".......", "......."}},
        LineCase{"South",           3,       3, 3,      6, {".......", ".......", ".......", "...#...", "...#...", "...#...", "......."}},
        LineCase{"North",           3,       3, 3,      0, {".......", "...#...", "...#...", "...#...", ".......", ".......", "......."}},
        LineCase{"SouthEast",       3,       3, 6,      6, {".......", ".......", ".......", "...#...", "....#..", ".....#.", "......."}},
        LineCase{"NorthWest",       3,       3, 0,      0, {".......", ".#.....", "..#....", "...#...", ".......", ".......", "......."}},
        LineCase{"NorthEast",       3,       3, 6,      0, {".......", ".....#.", "....#..", "...#...", ".......", ".......", "......."}},
        LineCase{"SouthWest",       3,       3, 0,      6, {".......", ".......", ".......", "...#...", "..#....", ".#.....", "......."}},
        LineCase{"RowZero",         0,       0, 5,      0, {"#####..", "......."}},
        // Halfway pixels go to the smaller coordinate whichever way the line runs.
        LineCase{"ShallowForward",  0,       1, 4,      2, {"......", "###...", "...#..", "......"}},
        LineCase{"ShallowBackward", 4,       2, 0,      1, {"......", ".##...", "...##.", "......"}},
        LineCase{"SteepBackward",   2,       4, 1,      0, {"...", ".#.", ".#.", "..#", "..#"}},
        LineCase{"FarOutside",      -100000, 2, 100000, 2, {"....", "....", "####"}},
        LineCase{"Point",           1,       1, 1,      1, {"...", "...", "..."}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A line from B to A covers the pixels of the line from A to B, its end points swapped.
TEST(RasterLineInvariant, ReversedLineCoversTheSamePixels) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-6, 26);
  for (int k = 0; k < 500; ++k) {
    const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
    TBitmap forward(20, 20), backward(20, 20);
    forward.Canvas().MoveTo(x0, y0);
    forward.Canvas().LineTo(x1, y1);
    forward.Canvas().SetPixel(x1, y1, clBlack);
    backward.Canvas().MoveTo(x1, y1);
    backward.Canvas().LineTo(x0, y0);
    backward.Canvas().SetPixel(x0, y0, clBlack);
    ASSERT_TRUE(SamePicture(PictureOf(backward), PictureOf(forward)))
        << x0 << "," << y0 << " -> " << x1 << "," << y1;
  }
}

struct DashCase {
  TPenStyle style;
  std::string transparent;
};

TEST(RasterDash, CosmeticPatternsRunFromTheLineStart) {
  const DashCase cases[] = {
      {psSolid, std::string(40, '#')},
      {psDot, "###...###...###...###...###...###...###."},
      {psDash, std::string(18, '#') + std::string(6, '.') + std::string(16, '#')},
      {psDashDot, "#########......###......#########......#"},
      {psDashDotDot, "#########...###...###...#########...###."},
      {psInsideFrame, std::string(40, '#')},
      {psClear, std::string(40, '.')},
  };
  for (const auto& dc : cases) {
    for (TTextBackMode mode : {TTextBackMode::Transparent, TTextBackMode::Opaque}) {
      TBitmap b(40, 1);
      TCanvas& c = b.Canvas();
      c.Pen().SetStyle(dc.style);
      c.SetBackColor(clRed);
      c.SetBackMode(mode);
      c.MoveTo(0, 0);
      c.LineTo(45, 0);
      std::string expected = dc.transparent;
      if (mode == TTextBackMode::Opaque && dc.style != psClear)
        for (char& ch : expected) ch = ch == '.' ? 'r' : ch;
      EXPECT_TRUE(SamePicture(PictureOf(b), {expected}))
          << "style " << dc.style << " mode " << static_cast<int>(mode);
    }
  }
}

TEST(RasterDash, PolylineCarriesThePatternAroundCorners) {
  TBitmap b(5, 4);
  TCanvas& c = b.Canvas();
  c.Pen().SetStyle(psDot);
  c.SetBackMode(TTextBackMode::Transparent);
  const TPoint pts[] = {{0, 0}, {4, 0}, {4, 4}};
  c.Polyline(pts);
  EXPECT_TRUE(SamePicture(PictureOf(b), {"###..", ".....", "....#", "....#"}));
}

TEST(RasterNotXor, DrawingTwiceRestoresEveryPixel) {
  TBitmap b(24, 20);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      b.Canvas().SetPixel(x, y, (x * 0x3A5F1 + y * 0x1C07D) & 0xFFFFFF);
  const Picture before = PictureOf(b, {});
  std::vector<TRGB> original(b.Pixels().begin(), b.Pixels().end());
  TCanvas& c = b.Canvas();
  c.Pen().SetMode(pmNotXor);
  c.Pen().SetColor(0x35A0C8);
  c.Brush().SetColor(0x00FF80);
  c.SetBackMode(TTextBackMode::Opaque);
  c.SetBackColor(0x808000);
  auto figure = [&] {
    c.Pen().SetStyle(psSolid);
    c.Pen().SetWidth(1);
    c.Rectangle(2, 2, 12, 9);
    c.Rectangle(20, 3, 21, 15);  // one pixel wide: every pixel once
    c.Pen().SetStyle(psDashDot);
    c.MoveTo(0, 19);
    c.LineTo(23, 0);
    c.Pen().SetStyle(psSolid);
    const TPoint poly[] = {{3, 18}, {10, 10}, {16, 18}, {10, 14}};
    c.Polygon(poly);
    c.SelectGeometricPen(0x35A0C8, 3, psDot, pmNotXor);
    const TPoint line[] = {{14, 2}, {18, 12}, {12, 12}};
    c.Polyline(line);
  };
  figure();
  EXPECT_NE(std::vector<TRGB>(b.Pixels().begin(), b.Pixels().end()), original);
  figure();
  EXPECT_EQ(std::vector<TRGB>(b.Pixels().begin(), b.Pixels().end()), original);
}

TEST(RasterNotXor, PenOfTheBackgroundColourShowsWhite) {
  TBitmap b(5, 4, 0xF0F0F0);
  TCanvas& c = b.Canvas();
  c.Pen().SetMode(pmNotXor);
  c.Pen().SetColor(0xF0F0F0);
  c.Brush().SetStyle(bsClear);
  c.Rectangle(0, 0, 4, 3);
  EXPECT_TRUE(SamePicture(PictureOf(b), {"....f", ".ff.f", "....f", "fffff"}));
}

TEST(RasterClip, DrawsOnlyInsideTheClipAndBlockCopiesWithinIt) {
  TBitmap b(8, 6);
  TCanvas& c = b.Canvas();
  c.SetClip(TRect{2, 1, 6, 4});
  c.Brush().SetColor(clRed);
  c.Rectangle(0, 0, 8, 6);
  c.MoveTo(0, 2);
  c.LineTo(8, 2);
  c.SetPixel(0, 0, clBlue);
  EXPECT_TRUE(SamePicture(PictureOf(b), {
                                            "........",
                                            "..rrrr..",
                                            "..####..",
                                            "..rrrr..",
                                            "........",
                                            "........",
                                        }));
  c.IntersectClip({4, 0, 10, 10});
  EXPECT_EQ(c.Clip(), (TRect{4, 1, 6, 4}));
  TBitmap source(3, 3, clBlue);
  c.SetClip(TRect{0, 3, 8, 6});
  c.Draw(-1, 2, source);
  c.SetClip(std::nullopt);
  c.Draw(6, 5, source);
  EXPECT_TRUE(SamePicture(PictureOf(b), {
                                            "........",
                                            "..rrrr..",
                                            "..####..",
                                            "bbrrrr..",
                                            "bb......",
                                            "......bb",
                                        }));
}

TEST(RasterGeometry, RectanglesThatDoNotMeetHaveTheEmptyRectangleInCommon) {
  const TRect r{0, 0, 4, 4};
  EXPECT_EQ(r.Intersected({2, 1, 9, 3}), (TRect{2, 1, 4, 3}));
  EXPECT_EQ(r.Intersected({6, 6, 9, 9}), TRect{});
  EXPECT_EQ(r.Intersected({4, 0, 9, 4}), TRect{}) << "edges that only touch";
  EXPECT_EQ(r.Intersected({1, 5, 3, 2}), TRect{}) << "an inverted one";

  TBitmap b(8, 6);
  TCanvas& c = b.Canvas();
  c.SetClip(TRect{0, 0, 2, 2});
  c.IntersectClip({5, 3, 8, 6});
  EXPECT_EQ(c.Clip(), TRect{});
}

struct BandCase {
  const char* edge;
  TRect (TRect::*take)(int);
  int size;
  TRect band;
  TRect rest;
};

TEST(RasterGeometry, TakingABandOffAnEdge) {
  // clang-format off
  const BandCase cases[] = {
      {"left",          &TRect::TakeFromLeft,    3, {10, 20, 13, 60}, {13, 20, 50, 60}},
      {"top",           &TRect::TakeFromTop,     5, {10, 20, 50, 25}, {10, 25, 50, 60}},
      {"right",         &TRect::TakeFromRight,   4, {46, 20, 50, 60}, {10, 20, 46, 60}},
      {"bottom",        &TRect::TakeFromBottom,  6, {10, 54, 50, 60}, {10, 20, 50, 54}},
      {"left_negative", &TRect::TakeFromLeft,   -2, {10, 20,  8, 60}, { 8, 20, 50, 60}},
  };
  // clang-format on
  for (const BandCase& c : cases) {
    TRect r{10, 20, 50, 60};
    EXPECT_EQ((r.*c.take)(c.size), c.band) << c.edge;
    EXPECT_EQ(r, c.rest) << c.edge;
  }
}

TEST(RasterFarAway, HugeCoordinatesAndPensDrawTheVisiblePartOnly) {
  constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
  TBitmap b(6, 5);
  TCanvas& c = b.Canvas();
  FixedGlyphs glyphs;
  c.SetGlyphs(&glyphs);
  c.MoveTo(kMin, 0);
  c.LineTo(kMax, 0);
  c.Brush().SetStyle(bsClear);
  c.Rectangle(kMin, 2, kMax, 4);
  c.Pen().SetColor(clRed);
  c.MoveTo(kMax, kMax);
  c.LineTo(kMin, kMin);
  EXPECT_TRUE(SamePicture(PictureOf(b), {"r#####", ".r....", "##r###", "###r##", "....r."}));

  c.Pen().SetStyle(psClear);
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(clBlue);
  const TPoint huge[] = {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}};
  c.Polygon(huge);
  EXPECT_EQ(InkBounds(b, clBlue), TRect{});
  c.Pen().SetStyle(psSolid);
  c.Pen().SetWidth(kMax);
  c.Polyline(huge);  // its edges run far outside
  EXPECT_EQ(InkBounds(b, clBlue), TRect{});
  const TPoint across[] = {{kMin, 2}, {kMax, 2}};
  c.Polyline(across);
  EXPECT_EQ(InkBounds(b, clRed), TRect{});  // a pen as wide as the buffer covers it
  c.Polygon(huge);
  c.Rectangle(kMin, kMin, kMax, kMax);
  for (int x : {kMin, kMax, 3})
    for (int o : {0, 900, 450}) {
      c.Font().SetOrientation(o);
      c.TextOut(x, x == 3 ? kMin : kMax, "far");
    }
}

// Text placed from the glyphs of a face made up for the tests (fixed_glyphs.h): ascent 10,
// descent 3, advances of 6 (3 for a space).
class RasterText : public ::testing::Test {
 protected:
  void Arial8(TCanvas& c) {
    c.SetGlyphs(&glyphs_);
    c.Font().SetName("Arial");
    c.Font().SetSize(8);
  }
  FixedGlyphs glyphs_;
};

TEST_F(RasterText, MeasuresWithTheFaceMetricsAdvancesAndCharacterExtra) {
  TBitmap b(10, 10);
  TCanvas& c = b.Canvas();
  EXPECT_EQ(c.TextExtent("W"), (TSize{0, 0}));  // no glyphs: no text
  Arial8(c);
  c.Font().SetStyle(fsBold | fsUnderline);
  EXPECT_EQ(c.TextHeight("W"), 13);
  // The face is asked for by name, pixel size and the styles of the glyphs alone.
  EXPECT_EQ(glyphs_.lastName, "Arial");
  EXPECT_EQ(glyphs_.lastPixels, 11);
  EXPECT_EQ(glyphs_.lastStyle, fsBold);
  EXPECT_EQ(c.TextMetrics().Ascent, 10);
  EXPECT_EQ(c.TextMetrics().Descent, 3);
  EXPECT_EQ(c.TextWidth(""), 0);
  EXPECT_EQ(c.TextWidth("10 5"), 6 + 6 + 3 + 6);
  c.SetTextCharacterExtra(2);
  EXPECT_EQ(c.TextWidth("10 5"), 21 + 8);
  c.SetTextCharacterExtra(-9);
  EXPECT_EQ(c.TextWidth("10"), 0);  // never negative
  c.Font().SetSize(0);
  EXPECT_EQ(c.TextExtent("W"), (TSize{0, 0}));
  c.Font().SetSize(8);
  c.SetGlyphs(nullptr);
  EXPECT_EQ(c.TextExtent("W"), (TSize{0, 0}));
  c.TextOut(0, 0, "W");
  EXPECT_EQ(InkBounds(b), TRect{});
}

// The glyph's pixels where the face puts them: one pixel right of the pen, on the baseline.
TEST_F(RasterText, GlyphsStandOnTheBaselineAtWholePixelAdvances) {
  TBitmap b(14, 13);
  Arial8(b.Canvas());
  b.Canvas().SetBackMode(TTextBackMode::Transparent);
  b.Canvas().TextOut(0, 0, "AB");
  EXPECT_TRUE(SamePicture(
      PictureOf(b),
      {"..............", "..............", "..............", ".####..####...", ".#.....#......",
       ".###...###....", ".#.....#......", ".#.....#......", ".#..#..#..#...", "..##....##....",
       "..............", "..............", ".............."}));
}

struct AnchorCase {
  unsigned flags;
  int orientation;  // tenths of a degree
  // Expected text box from the output point, in multiples of the text width w, the line
  // height h and the ascent a: left = x + dxW * w + dxH * h, etc.
  TRect (*box)(int x, int y, int w, int h, int a);
};

TEST_F(RasterText, AnchorsPlaceTheTextBoxAroundTheOutputPoint) {
  // clang-format off
  const AnchorCase cases[] = {
      {TA_LEFT | TA_TOP,      0,    [](int x, int y, int w, int h, int)   { return TRect{x, y, x + w, y + h}; }},
      {TA_RIGHT | TA_TOP,     0,    [](int x, int y, int w, int h, int)   { return TRect{x - w, y, x, y + h}; }},
      {TA_CENTER | TA_TOP,    0,    [](int x, int y, int w, int h, int)   { return TRect{x - w / 2, y, x - w / 2 + w, y + h}; }},
      {TA_LEFT | TA_BOTTOM,   0,    [](int x, int y, int w, int h, int)   { return TRect{x, y - h, x + w, y}; }},
      {TA_LEFT | TA_BASELINE, 0,    [](int x, int y, int w, int h, int a) { return TRect{x, y - a, x + w, y - a + h}; }},
      {TA_CENTER | TA_BOTTOM, 0,    [](int x, int y, int w, int h, int)   { return TRect{x - w / 2, y - h, x - w / 2 + w, y}; }},
      // Reading upwards: the box's top edge lies along x, its left end at y.
      {TA_LEFT | TA_TOP,      900,  [](int x, int y, int w, int h, int)   { return TRect{x, y - w, x + h, y}; }},
      {TA_CENTER | TA_TOP,    900,  [](int x, int y, int w, int h, int)   { return TRect{x, y - w + w / 2, x + h, y + w / 2}; }},
      {TA_LEFT | TA_BOTTOM,   900,  [](int x, int y, int w, int h, int)   { return TRect{x - h, y - w, x, y}; }},
      // Reading downwards.
      {TA_LEFT | TA_TOP,      2700, [](int x, int y, int w, int h, int)   { return TRect{x - h, y, x, y + w}; }},
      {TA_LEFT | TA_TOP,      1800, [](int x, int y, int w, int h, int)   { return TRect{x - w, y - h, x, y}; }},
  };
  // clang-format on
  for (const auto& ac : cases) {
    TBitmap b(80, 80);
    TCanvas& c = b.Canvas();
    Arial8(c);
    c.Font().SetOrientation(ac.orientation);
    c.SetTextAlign(ac.flags);
    c.SetBackMode(TTextBackMode::Opaque);
    c.SetBackColor(clRed);
    c.TextOut(40, 40, "Wg1");
    const int w = c.TextWidth("Wg1");
    EXPECT_EQ(InkBounds(b), ac.box(40, 40, w, 13, 10))
        << "flags " << ac.flags << " orientation " << ac.orientation;
  }
}

TEST_F(RasterText, QuarterTurnsAreTheSameGlyphPixelsTurned) {
  const std::string text = "Ag:5";
  TBitmap plain(40, 13);
  Arial8(plain.Canvas());
  plain.Canvas().SetBackMode(TTextBackMode::Transparent);
  plain.Canvas().TextOut(0, 0, text);
  const int w = plain.Canvas().TextWidth(text);
  ASSERT_LT(w, 40);
  TBitmap up(13, w), down(13, w);
  for (TBitmap* r : {&up, &down}) {
    Arial8(r->Canvas());
    r->Canvas().SetBackMode(TTextBackMode::Transparent);
  }
  up.Canvas().Font().SetOrientation(900);
  up.Canvas().TextOut(0, w, text);
  down.Canvas().Font().SetOrientation(2700);
  down.Canvas().TextOut(13, 0, text);
  int glyphPixels = 0;
  for (int v = 0; v < 13; ++v) {
    for (int u = 0; u < w; ++u) {
      const TColor p = plain.Pixel(u, v);
      glyphPixels += p == clBlack;
      ASSERT_EQ(up.Pixel(v, w - 1 - u), p) << u << "," << v;
      ASSERT_EQ(down.Pixel(12 - v, u), p) << u << "," << v;
    }
  }
  EXPECT_GT(glyphPixels, 20);
  // Crisp: only the text colour and the background.
  for (TRGB px : plain.Pixels()) ASSERT_TRUE((px & 0xFFFFFF) == 0 || (px & 0xFFFFFF) == 0xFFFFFF);
}

TEST_F(RasterText, ClippedTextIsTheUnclippedTextCut) {
  TBitmap whole(50, 20), cut(50, 20);
  for (TBitmap* b : {&whole, &cut}) {
    Arial8(b->Canvas());
    b->Canvas().Font().SetColor(clBlue);
    b->Canvas().SetBackColor(clRed);
  }
  cut.Canvas().SetClip(TRect{8, 5, 20, 12});
  whole.Canvas().TextOut(3, 2, "Hello");
  cut.Canvas().TextOut(3, 2, "Hello");
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 50; ++x)
      ASSERT_EQ(cut.Pixel(x, y), TRect({8, 5, 20, 12}).Contains(x, y) ? whole.Pixel(x, y) : clWhite)
          << x << "," << y;
}

TEST_F(RasterText, OutlinedTextStrokesWithThePenAndFillsWithTheBrush) {
  TBitmap b(60, 30);
  TCanvas& c = b.Canvas();
  Arial8(c);
  c.Font().SetSize(16);
  c.Pen().SetColor(clRed);
  c.Brush().SetColor(clBlue);
  c.SetBackMode(TTextBackMode::Transparent);
  c.TextOutOutlined(2, 2, "HO");
  int red = 0, blue = 0, other = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const TColor p = b.Pixel(x, y);
      red += p == clRed;
      blue += p == clBlue;
      other += p != clRed && p != clBlue && p != clWhite;
    }
  EXPECT_GT(red, 30);
  EXPECT_GT(blue, 10);
  EXPECT_EQ(other, 0);
}

// Bars are whole rows across the characters' advances, at the rows the face puts them.
TEST_F(RasterText, UnderlineAndStrikeOutAddWholeRowsAcrossTheText) {
  struct Bar {
    TFontStyles style;
    int row;  // from the baseline
  };
  for (const Bar bar : {Bar{fsUnderline, 1}, Bar{fsStrikeOut, -4}}) {
    TBitmap plain(40, 16), barred(40, 16);
    for (TBitmap* b : {&plain, &barred}) {
      Arial8(b->Canvas());
      b->Canvas().SetBackMode(TTextBackMode::Transparent);
    }
    barred.Canvas().Font().SetStyle(bar.style);
    plain.Canvas().TextOut(3, 1, "ab");
    barred.Canvas().TextOut(3, 1, "ab");
    const int w = plain.Canvas().TextWidth("ab");
    EXPECT_EQ(barred.Canvas().TextWidth("ab"), w);
    const int row = 1 + plain.Canvas().TextMetrics().Ascent + bar.row;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 40; ++x)
        ASSERT_EQ(barred.Pixel(x, y), y == row && x >= 3 && x < 3 + w ? clBlack : plain.Pixel(x, y))
            << int{bar.style} << ": " << x << "," << y;
  }
}

// The outlines of a glyph are filled together: the inside of an O stays as it was.
TEST_F(RasterText, OutlinedGlyphsKeepTheirHoles) {
  TBitmap b(40, 40);
  TCanvas& c = b.Canvas();
  Arial8(c);
  c.Font().SetSize(24);
  c.Pen().SetColor(clRed);
  c.Brush().SetColor(clBlue);
  c.SetBackMode(TTextBackMode::Transparent);
  c.TextOutOutlined(2, 2, "O");
  const TRect ink = InkBounds(b);
  ASSERT_GT(ink.Width(), 15);
  const int y = (ink.Top + ink.Bottom) / 2;
  std::string row;
  for (int x = ink.Left; x < ink.Right; ++x) {
    const char p = b.Pixel(x, y) == clRed ? 'r' : b.Pixel(x, y) == clBlue ? 'b' : '.';
    if (row.empty() || row.back() != p) row += p;
  }
  EXPECT_EQ(row, "rbr.rbr");
}

TEST(RasterBitmap, ResizeKeepsTheCommonPartAndDropsTheClip) {
  TBitmap b(3, 2, clRed);
  b.Canvas().SetClip(TRect{0, 0, 1, 1});
  b.SetSize(4, 3, clBlue);
  EXPECT_FALSE(b.Canvas().Clip().has_value());
  EXPECT_TRUE(SamePicture(PictureOf(b), {"rrrb", "rrrb", "bbbb"}));
  EXPECT_EQ(b.Pixel(-1, 0), clNone);
  EXPECT_EQ(b.Pixel(4, 0), clNone);
}

// Pixels are made at their first use and storage given up is reused: whatever a buffer held
// before must never show through.
TEST(RasterBitmap, ReusedAndNotYetMadePixelsShowOnlyTheirFill) {
  const auto colours = [](const TBitmap& b) {
    std::map<TColor, int> count;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) ++count[b.Pixel(x, y)];
    return count;
  };
  constexpr int kW = 200, kH = 100;  // large enough to be kept for reuse
  {
    TBitmap painted(kW, kH, clRed);
    painted.Canvas().Pen().SetColor(clBlue);
    painted.Canvas().MoveTo(0, 5);
    painted.Canvas().LineTo(kW, 5);
  }
  TBitmap fresh(kW, kH, clWhite);
  EXPECT_EQ(fresh.Row(kH - 1)[kW - 1], 0xFFFFFFFFu);
  EXPECT_EQ(colours(fresh), (std::map<TColor, int>{{clWhite, kW * kH}}));

  // Given up by a resize, taken by another bitmap of the old size.
  fresh.Canvas().Pen().SetColor(clBlue);
  fresh.Canvas().MoveTo(0, 7);
  fresh.Canvas().LineTo(kW, 7);
  fresh.SetSize(0, 0);
  TBitmap next(kW, kH, clYellow);
  EXPECT_EQ(colours(next), (std::map<TColor, int>{{clYellow, kW * kH}}));

  // A fill before the first use, then a resize with another fill: the common part keeps the
  // first.
  TBitmap later(2, 2, clRed);
  later.Fill(clLime);
  later.SetSize(3, 2, clBlue);
  EXPECT_TRUE(SamePicture(PictureOf(later), {"llb", "llb"}));
  later.SetSize(0, 0);
  later.SetSize(2, 1, clBlue);
  EXPECT_TRUE(SamePicture(PictureOf(later), {"bb"}));
}

}  // namespace
}  // namespace plotvik
