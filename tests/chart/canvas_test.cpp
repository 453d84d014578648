#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chart/chart_brush.h"
#include "chart/chart_canvas3d.h"
#include "chart/chart_font.h"
#include "chart/chart_pen.h"
#include "platform/gui/font_glyphs.h"
#include "tests/raster/raster_picture.h"

namespace plotvik {
namespace {

using testing::InkBounds;
using testing::Picture;
using testing::PictureOf;
using testing::SamePicture;

// A chart surface on a small window image.
class CanvasTest : public ::testing::Test {
 protected:
  CanvasTest() : window_(10, 8), surface_(window_.Canvas()) {
    window_.Canvas().SetGlyphs(&WindowGlyphs());
  }
  TCanvas& Window() { return window_.Canvas(); }

  TBitmap window_;
  TChartCanvas3D surface_;
};

TEST(ChartGraphicObjects, DefaultsOfEveryPenBrushAndFont) {
  struct PenCase {
    std::unique_ptr<TChartPen> pen;
    TColor color;
    int width;
    TPenStyle style;
    bool visible;
  };
  PenCase pens[] = {
      {std::make_unique<TChartPen>(), clBlack, 1, psSolid, true},
      {std::make_unique<TChartHiddenPen>(), clBlack, 1, psSolid, false},
      {std::make_unique<TDottedGrayPen>(), clGray, 1, psDot, true},
      {std::make_unique<TDarkGrayPen>(), clGray, 1, psSolid, true},
      {std::make_unique<TChartAxisPen>(), clBlack, 2, psSolid, true},
      {std::make_unique<TChartArrowPen>(), clWhite, 1, psSolid, true},
      {std::make_unique<TChartZoomPen>(), clWhite, 1, psSolid, true},
  };
  for (const auto& pc : pens) {
    EXPECT_EQ(pc.pen->Color(), pc.color);
    EXPECT_EQ(pc.pen->Width(), pc.width);
    EXPECT_EQ(pc.pen->Style(), pc.style);
    EXPECT_EQ(pc.pen->Mode(), pmCopy);
    EXPECT_EQ(pc.pen->Visible(), pc.visible);
    EXPECT_FALSE(pc.pen->SmallDots());
  }
  TChartBrush brush;
  EXPECT_EQ(brush.Color(), clDefault);
  EXPECT_EQ(brush.Style(), bsSolid);
  EXPECT_EQ(brush.Image(), nullptr);
  TChartZoomBrush zoom;
  EXPECT_EQ(zoom.Color(), clWhite);
  EXPECT_EQ(zoom.Style(), bsClear);
  TChartFont font;
  EXPECT_EQ(font.Name(), "Arial");
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Color(), clBlack);
  EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(font.Style(), 0);
  EXPECT_EQ(font.InterCharSize(), 0);
  EXPECT_FALSE(font.OutLine().Visible());
  EXPECT_EQ(font.Shadow().Color(), clSilver);
  EXPECT_EQ(font.Shadow().HorizSize(), 0);
  EXPECT_EQ(font.Shadow().VertSize(), 0);
}

TEST(ChartGraphicObjects, ChangesNotifyTheOwnerOncePerRealChange) {
  int calls = 0;
  TChartPen pen;
  pen.OnChange = [&] { ++calls; };
  pen.SetVisible(false);
  pen.SetVisible(false);
  pen.SetSmallDots(true);
  pen.SetColor(clRed);
  pen.SetColor(clRed);
  EXPECT_EQ(calls, 3);

  calls = 0;
  TChartFont font;
  font.OnChange = [&] { ++calls; };
  font.OutLine().SetVisible(true);  // the font's parts notify through the font
  font.Shadow().SetHorizSize(2);
  font.SetInterCharSize(1);
  font.SetSize(9);
  EXPECT_EQ(calls, 4);
  TChartFont copy;
  int copyCalls = 0;
  copy.OnChange = [&] { ++copyCalls; };
  copy.Assign(font);
  EXPECT_EQ(copyCalls, 1);
  EXPECT_TRUE(copy.OutLine().Visible());
  EXPECT_EQ(copy.Shadow().HorizSize(), 2);
  EXPECT_EQ(copy.Size(), 9);
  copy.Shadow().SetVertSize(1);  // the copy's parts still report to the copy
  EXPECT_EQ(copyCalls, 2);

  calls = 0;
  TChartBrush brush;
  brush.OnChange = [&] { ++calls; };
  brush.SetStyle(bsClear);
  brush.SetImage(std::make_shared<TBitmap>(2, 2));
  EXPECT_EQ(calls, 2);
}

TEST_F(CanvasTest, HiddenPenHidesOutlinesAndKeepsColourAndWidth) {
  TChartPen red;
  red.SetColor(clRed);
  surface_.ApplyPen(red);
  TChartHiddenPen hidden;
  surface_.ApplyPen(hidden);
  EXPECT_EQ(surface_.Pen().Style(), psClear);
  EXPECT_EQ(surface_.Pen().Color(), clRed);
  EXPECT_EQ(surface_.Pen().Width(), 1);
  surface_.Brush().SetColor(clBlue);
  surface_.DrawRectangle(1, 1, 4, 4);
  surface_.DrawLine(0, 6, 9, 6);
  const TPoint tri[] = {{6, 1}, {9, 1}, {9, 4}};
  surface_.DrawPolygon(tri, 2);
  EXPECT_TRUE(SamePicture(PictureOf(window_), {
                                                  "..........",
                                                  ".bbb..bbb.",
                                                  ".bbb...bb.",
                                                  ".bbb....b.",
                                                  "..........",
                                                  "..........",
                                                  "..........",
                                                  "..........",
                                              }));
  surface_.ApplyPen(red);
  surface_.DrawLine(0, 6, 9, 6);
  EXPECT_EQ(window_.Pixel(0, 6), clRed);
}

TEST_F(CanvasTest, MonochromeDrawsPensBlackAndFillsWhite) {
  TBitmap grey(10, 8, clGray);
  TChartCanvas3D surface(grey.Canvas());
  surface.SetMonochrome(true);
  TChartPen pen;
  pen.SetColor(clRed);
  TChartBrush brush;
  brush.SetColor(clRed);
  surface.ApplyPen(pen);
  surface.ApplyBrush(brush, clRed);
  surface.DrawRectangle(1, 1, 5, 5);
  surface.ApplyPenColor(pen, clBlue);
  surface.DrawLine(6, 0, 6, 5);
  TChartFont font;
  font.SetColor(clRed);
  surface.ApplyFont(font);
  EXPECT_EQ(surface.Font().Color(), clBlack);
  EXPECT_TRUE(SamePicture(PictureOf(grey), {
                                               "gggggg#ggg",
                                               "g####g#ggg",
                                               "g#..#g#ggg",
                                               "g#..#g#ggg",
                                               "g####g#ggg",
                                               "gggggggggg",
                                               "gggggggggg",
                                               "gggggggggg",
                                           }));
}

TEST_F(CanvasTest, PenKindFollowsSmallDotsAndWideBrokenStyles) {
  struct Case {
    int width;
    TPenStyle style;
    bool smallDots;
    TPenKind kind;
  };
  // clang-format off
  const Case cases[] = {
      {1, psSolid, false, pkNormal},
      {1, psDot,   false, pkNormal},
      {3, psSolid, false, pkNormal},
      {2, psDash,  false, pkGeometric},
      {2, psDot,   true,  pkAlternate},
      {1, psSolid, true,  pkAlternate},
  };
  // clang-format on
  for (const auto& c : cases) {
    TChartPen pen;
    pen.SetWidth(c.width);
    pen.SetStyle(c.style);
    pen.SetSmallDots(c.smallDots);
    pen.SetColor(clRed);
    surface_.ApplyPen(pen);
    EXPECT_EQ(surface_.Canvas().PenKind(), c.kind)
        << c.width << " " << c.style << " " << c.smallDots;
    EXPECT_EQ(surface_.Pen().Color(), clRed);
  }
  // Small dots: every other pixel of a grid line.
  TChartPen grid;
  grid.SetSmallDots(true);
  surface_.ApplyPen(grid);
  surface_.SetTextBackMode(TTextBackMode::Transparent);
  surface_.DrawHLine(0, 10, 0);
  EXPECT_TRUE(SamePicture({PictureOf(window_)[0]}, {"#.#.#.#.#."}));
}

TEST_F(CanvasTest, ApplyBrushMakesTheTextBackgroundOpaqueInTheBackColour) {
  surface_.SetTextBackMode(TTextBackMode::Transparent);
  TChartBrush brush;
  brush.SetColor(clRed);
  brush.SetStyle(bsClear);
  surface_.ApplyBrush(brush, clBtnFace);
  EXPECT_EQ(surface_.TextBackMode(), TTextBackMode::Opaque);
  EXPECT_EQ(surface_.TextBackColor(), 0xF0F0F0);  // stored resolved
  EXPECT_EQ(surface_.Brush().Style(), bsClear);
  EXPECT_EQ(surface_.Brush().Color(), clRed);
  brush.SetStyle(bsSolid);
  brush.SetImage(std::make_shared<TBitmap>(2, 2));
  surface_.ApplyBrushColor(brush, clBlue, clWhite);
  EXPECT_EQ(surface_.Brush().Style(), bsClear);
}

TEST_F(CanvasTest, EachUnclipRestoresTheClipItsClipToFound) {
  TCanvas& w = Window();
  // Unclip without ClipTo removes every clip.
  w.SetClip(TRect{1, 1, 5, 5});
  surface_.Unclip();
  EXPECT_FALSE(w.Clip().has_value());

  surface_.ClipTo(2, 2, 6, 6);
  EXPECT_EQ(w.Clip(), (TRect{2, 2, 6, 6}));
  surface_.Unclip();
  EXPECT_FALSE(w.Clip().has_value());

  // An existing clip is narrowed, then given back.
  w.SetClip(TRect{0, 0, 4, 8});
  surface_.ClipTo(TRect{2, 2, 6, 6});
  EXPECT_EQ(w.Clip(), (TRect{2, 2, 4, 6}));
  surface_.Unclip();
  EXPECT_EQ(w.Clip(), (TRect{0, 0, 4, 8}));

  // Nested clips narrow each other and unwind in turn, down to the clip found
  // first.
  w.SetClip(TRect{0, 0, 9, 7});
  surface_.ClipTo(1, 1, 8, 8);
  surface_.ClipTo(2, 2, 9, 9);
  EXPECT_EQ(w.Clip(), (TRect{2, 2, 8, 7}));
  surface_.Unclip();
  EXPECT_EQ(w.Clip(), (TRect{1, 1, 8, 7}));
  surface_.Unclip();
  EXPECT_EQ(w.Clip(), (TRect{0, 0, 9, 7}));
  surface_.Unclip();
  EXPECT_FALSE(w.Clip().has_value());
}

// Two charts painting in turn (pages drawn one after another, a paint nested in
// another's) each get back their own clip.
TEST_F(CanvasTest, ChartsClippingInTurnRestoreTheirOwnClips) {
  TCanvas& w = Window();
  TBitmap other(10, 8);
  TChartCanvas3D otherSurface(other.Canvas());
  TCanvas& o = other.Canvas();
  w.SetClip(TRect{1, 1, 9, 7});
  surface_.ClipTo(2, 2, 8, 6);
  otherSurface.ClipTo(0, 0, 5, 5);
  otherSurface.ClipTo(1, 1, 3, 3);
  surface_.Unclip();
  EXPECT_EQ(w.Clip(), (TRect{1, 1, 9, 7}));
  EXPECT_EQ(o.Clip(), (TRect{1, 1, 3, 3}));
  otherSurface.Unclip();
  EXPECT_EQ(o.Clip(), (TRect{0, 0, 5, 5}));
  otherSurface.Unclip();
  EXPECT_FALSE(o.Clip().has_value());
  EXPECT_EQ(w.Clip(), (TRect{1, 1, 9, 7}));
}

TEST_F(CanvasTest, ClipToPlotKeepsSeriesInsideTheOutline) {
  surface_.ClipToPlot(TRect{1, 1, 8, 7}, 0, 0);
  EXPECT_EQ(Window().Clip(), (TRect{2, 2, 8, 6}));
  surface_.Brush().SetColor(clRed);
  surface_.Pen().SetStyle(psClear);
  surface_.DrawRectangle(0, 0, 10, 8);
  surface_.Unclip();
  EXPECT_EQ(InkBounds(window_), (TRect{2, 2, 8, 6}));
}

TEST_F(CanvasTest, FrameCycleDrawsIntoTheBufferAndRepaintsFromIt) {
  EXPECT_TRUE(surface_.Dirty());
  EXPECT_TRUE(surface_.BufferedDisplay());
  EXPECT_EQ(surface_.Bitmap(), nullptr);
  EXPECT_FALSE(surface_.RepaintFromBuffer());

  auto drawFrame = [&](const TRect& bounds) {
    const TRect r = surface_.BeginFrame(Window(), nullptr, bounds, false);
    EXPECT_EQ(r, (TRect{0, 0, bounds.Width(), bounds.Height()}));
    EXPECT_EQ(surface_.ReferenceCanvas(), &const_cast<TBitmap*>(surface_.Bitmap())->Canvas());
    surface_.Brush().SetColor(clRed);
    surface_.FillArea(r);
    surface_.DrawLine(0, 0, r.Right, r.Bottom);
    surface_.PresentFrame(Window(), Window(), bounds);
    EXPECT_EQ(surface_.ReferenceCanvas(), &Window());
  };
  drawFrame({0, 0, 10, 8});
  EXPECT_FALSE(surface_.Dirty());
  const Picture frame = PictureOf(window_);
  EXPECT_EQ(frame[0], "#rrrrrrrrr");
  EXPECT_EQ(frame[7], "rrrrrrrrr#");

  // Nothing changed: one block copy brings the same pixels back.
  window_.Fill(clWhite);
  EXPECT_TRUE(surface_.RepaintFromBuffer());
  EXPECT_TRUE(SamePicture(PictureOf(window_), frame));
  surface_.MarkDirty();
  EXPECT_FALSE(surface_.RepaintFromBuffer());

  // Same size: the bitmap is kept; one pixel more: a new bitmap of the new
  // size.
  const TBitmap* first = surface_.Bitmap();
  drawFrame({0, 0, 10, 8});
  EXPECT_EQ(surface_.Bitmap(), first);
  drawFrame({0, 0, 9, 8});
  ASSERT_NE(surface_.Bitmap(), nullptr);
  EXPECT_EQ(surface_.Bitmap()->Width(), 9);
  EXPECT_EQ(surface_.Bitmap()->Height(), 8);

  // A frame placed inside the target lands at its bounds.
  window_.Fill(clWhite);
  drawFrame({2, 3, 5, 5});
  EXPECT_EQ(InkBounds(window_), (TRect{2, 3, 5, 5}));

  // Without buffering: no bitmap, drawing goes to the target, every paint
  // draws.
  surface_.SetBufferedDisplay(false);
  EXPECT_EQ(surface_.Bitmap(), nullptr);
  EXPECT_TRUE(surface_.Dirty());
  EXPECT_EQ(surface_.BeginFrame(Window(), nullptr, {1, 1, 4, 4}, false), (TRect{1, 1, 4, 4}));
  EXPECT_EQ(surface_.ReferenceCanvas(), &Window());
  surface_.PresentFrame(Window(), Window(), {1, 1, 4, 4});
  EXPECT_TRUE(surface_.Dirty());
  EXPECT_FALSE(surface_.RepaintFromBuffer());
}

TEST_F(CanvasTest, BevelFrameDrawsWidthFramesAndShrinksTheRectangle) {
  struct Case {
    int width;
    Picture expected;
    TRect after;
  };
  const Case cases[] = {
      {0, {"......", "......", "......", "......", "......"}, {0, 0, 6, 5}},
      {1, {"rrrrrb", "r....b", "r....b", "r....b", "bbbbbb"}, {1, 1, 5, 4}},
      {2, {"rrrrrb", "rrrrbb", "rr..bb", "rbbbbb", "bbbbbb"}, {2, 2, 4, 3}},
  };
  for (const auto& c : cases) {
    TBitmap b(6, 5);
    TChartCanvas3D s(b.Canvas());
    s.Pen().SetWidth(3);
    TRect r{0, 0, 6, 5};
    s.BevelFrame(r, clRed, clBlue, c.width);
    EXPECT_TRUE(SamePicture(PictureOf(b), c.expected)) << "width " << c.width;
    EXPECT_EQ(r, c.after) << "width " << c.width;
  }
}

TEST_F(CanvasTest, TextMeasuresWithTheAppliedFontAndItsShadow) {
  TChartFont font;
  surface_.ApplyFont(font);
  EXPECT_EQ(surface_.FontLineHeight(), 13);
  EXPECT_EQ(surface_.TextWidthOf(""), 0);
  const int w = surface_.TextWidthOf("0.25");
  font.Shadow().SetHorizSize(-3);
  font.Shadow().SetVertSize(2);
  EXPECT_EQ(surface_.TextWidthOf(""), 3);
  EXPECT_EQ(surface_.TextWidthOf("0.25"), w + 3);
  EXPECT_EQ(surface_.TextHeightOf("W"), 15);
  font.SetInterCharSize(2);
  surface_.ApplyFont(font);
  EXPECT_EQ(surface_.TextWidthOf("0.25"), w + 3 + 8);
  font.SetSize(0);  // a font that cannot be drawn measures 0
  surface_.ApplyFont(font);
  EXPECT_EQ(surface_.TextWidthOf("0.25"), 0);
  EXPECT_EQ(surface_.FontLineHeight(), 0);
}

TEST(ChartCanvasText, ShadowIsTheTextOffsetAndNegativeOffsetsMoveTheText) {
  struct Case {
    int h, v;
    int shadowX, shadowY, textX, textY;
  };
  // clang-format off
  const Case cases[] = {
      { 2,  1, 12, 11, 10, 10},
      {-2, -1, 10, 10, 12, 11},
      { 0,  3, 10, 13, 10, 10},
  };
  // clang-format on
  for (const auto& c : cases) {
    TBitmap actual(50, 30), expected(50, 30);
    for (TBitmap* b : {&actual, &expected}) b->Canvas().SetGlyphs(&WindowGlyphs());
    TChartCanvas3D surface(actual.Canvas());
    TChartFont font;
    font.Shadow().SetHorizSize(c.h);
    font.Shadow().SetVertSize(c.v);
    font.SetColor(clBlue);
    surface.ApplyFont(font);
    surface.SetTextBackMode(TTextBackMode::Transparent);
    surface.WriteText(10, 10, "Ab");
    EXPECT_EQ(surface.Font().Color(), clBlue);

    TCanvas& e = expected.Canvas();
    e.SetBackMode(TTextBackMode::Transparent);
    e.Font().SetColor(clSilver);
    e.TextOut(c.shadowX, c.shadowY, "Ab");
    e.Font().SetColor(clBlue);
    e.TextOut(c.textX, c.textY, "Ab");
    EXPECT_TRUE(SamePicture(PictureOf(actual), PictureOf(expected))) << c.h << "," << c.v;
  }
}

TEST(ChartCanvasText, VisibleOutlineStrokesTheTextWithThePen) {
  TBitmap b(60, 30);
  b.Canvas().SetGlyphs(&WindowGlyphs());
  TChartCanvas3D surface(b.Canvas());
  TChartFont font;
  font.SetSize(14);
  font.SetColor(clBlue);
  font.OutLine().SetVisible(true);
  font.OutLine().SetColor(clRed);
  surface.ApplyFont(font);
  surface.WriteText(2, 2, "HE");
  EXPECT_EQ(surface.Brush().Color(), clBlue);
  EXPECT_EQ(surface.Brush().Style(), bsSolid);
  EXPECT_EQ(surface.TextBackMode(), TTextBackMode::Transparent);
  EXPECT_EQ(surface.Pen().Color(), clRed);
  bool red = false, blue = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      red |= b.Pixel(x, y) == clRed;
      blue |= b.Pixel(x, y) == clBlue;
    }
  EXPECT_TRUE(red);
  EXPECT_TRUE(blue);
}

TEST(ChartCanvasText, RotatedTextReadsUpwardsAndLeavesTheFontAsItWas) {
  TBitmap b(40, 60);
  b.Canvas().SetGlyphs(&WindowGlyphs());
  TChartCanvas3D surface(b.Canvas());
  TChartFont font;
  surface.ApplyFont(font);
  surface.SetTextBackMode(TTextBackMode::Opaque);
  surface.SetTextBackColor(clRed);
  surface.SetTextAnchor(TA_CENTER | TA_TOP);
  const int w = surface.TextWidthOf("Height");
  // The left axis title: band from x to x + line height, centred on y.
  surface.WriteRotatedText(5, 30, "Height", 90);
  EXPECT_EQ(InkBounds(b), (TRect{5, 30 - w + w / 2, 5 + 13, 30 + w / 2}));
  EXPECT_EQ(surface.Brush().Style(), bsClear);
  EXPECT_EQ(surface.Font().Orientation(), 0);
  // 450 is taken as 90.
  TBitmap again(40, 60);
  again.Canvas().SetGlyphs(&WindowGlyphs());
  TChartCanvas3D s2(again.Canvas());
  s2.ApplyFont(font);
  s2.SetTextBackMode(TTextBackMode::Opaque);
  s2.SetTextBackColor(clRed);
  s2.SetTextAnchor(TA_CENTER | TA_TOP);
  s2.WriteRotatedTextZ(5, 30, 7, "Height", 450);
  EXPECT_TRUE(SamePicture(PictureOf(again), PictureOf(b)));
}

TEST_F(CanvasTest, DepthVariantsDrawLikeThePlainOperationsIn2D) {
  surface_.HLineZ(0, 5, 1, 99);
  surface_.VLineZ(8, 0, 3, 99);
  surface_.LineZ(0, 7, 3, 4, 99);
  surface_.MoveToZ(5, 5, 1);
  surface_.LineToZ(9, 5, 1);
  surface_.DepthLine(3, 3, 0, 50);  // nothing in 2D
  EXPECT_TRUE(SamePicture(PictureOf(window_), {
                                                  "........#.",
                                                  "#####...#.",
                                                  "........#.",
                                                  "..........",
                                                  "..........",
                                                  "..#..####.",
                                                  ".#........",
                                                  "#.........",
                                              }));
  EXPECT_FALSE(surface_.Is3D());
  surface_.BeginFrame(Window(), nullptr, {0, 0, 10, 8}, true);
  surface_.Enter2D();
  EXPECT_FALSE(surface_.Is3D());
  surface_.Leave2D();
  EXPECT_TRUE(surface_.Is3D());
  EXPECT_EQ(surface_.ZoomFactor(), 1.0);
  EXPECT_FALSE(surface_.SupportsFullRotation());
}

TEST_F(CanvasTest, ResetDrawingStateAndPixels) {
  TChartPen pen;
  pen.SetColor(clRed);
  pen.SetWidth(3);
  pen.SetStyle(psDash);
  surface_.ApplyPen(pen);
  surface_.SetTextAnchor(TA_RIGHT | TA_BASELINE);
  surface_.Font().SetSize(20);
  surface_.ResetDrawingState();
  EXPECT_EQ(surface_.Pen().Color(), clBlack);
  EXPECT_EQ(surface_.Pen().Width(), 1);
  EXPECT_EQ(surface_.Pen().Style(), psSolid);
  EXPECT_EQ(surface_.Canvas().PenKind(), pkNormal);
  EXPECT_EQ(surface_.Brush().Color(), clWhite);
  EXPECT_EQ(surface_.Brush().Style(), bsSolid);
  EXPECT_EQ(surface_.Font().Color(), clBlack);
  EXPECT_EQ(surface_.Font().Size(), 10);
  EXPECT_EQ(surface_.TextBackColor(), clWhite);
  EXPECT_EQ(surface_.TextBackMode(), TTextBackMode::Transparent);
  EXPECT_EQ(surface_.TextAnchor(), 0u);
  surface_.PutPixel(3, 2, clBtnShadow);
  EXPECT_EQ(window_.Pixel(3, 2), 0xA0A0A0);
}

}  // namespace
}  // namespace plotvik
