#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/font_files.h"
#include "platform/gui/font_glyphs.h"
#include "raster/bitmap.h"
#include "raster/canvas.h"
#include "tests/raster/raster_picture.h"

namespace plotvik {
namespace {

using testing::InkBounds;

struct FaceCase {
  std::string_view name;
  TFontStyles style;
  std::string_view file;
};

TEST(GlyphSource, NamesMapToTheLiberationFiles) {
  const FaceCase cases[] = {
      {"Arial", 0, "LiberationSans-Regular.ttf"},
      {"arial", fsBold, "LiberationSans-Bold.ttf"},
      {"MS Sans Serif", fsItalic, "LiberationSans-Italic.ttf"},
      {"Helvetica", fsBold | fsItalic, "LiberationSans-BoldItalic.ttf"},
      {"TAHOMA", fsUnderline | fsStrikeOut, "LiberationSans-Regular.ttf"},
      {"Times New Roman", 0, "LiberationSerif-Regular.ttf"},
      {"times new roman", fsBold | fsItalic, "LiberationSerif-BoldItalic.ttf"},
      {"Courier New", fsBold, "LiberationMono-Bold.ttf"},
      {"Courier New", fsItalic | fsUnderline, "LiberationMono-Italic.ttf"},
      {"Wingdings", 0, "LiberationSans-Regular.ttf"},
      {"", fsBold, "LiberationSans-Bold.ttf"},
  };
  for (const FaceCase& c : cases) {
    EXPECT_EQ(FontFileFor(c.name, c.style), c.file) << c.name << " " << int{c.style};
    EXPECT_TRUE(std::filesystem::exists(FontFolder() / c.file)) << c.file;
  }
}

// A missing or unreadable font costs the text, never the program.
TEST(GlyphSource, AFileThatIsNoFontMeasuresZeroAndDrawsNothing) {
  for (const std::filesystem::path& file :
       {std::filesystem::path("/nonexistent/LiberationSans-Regular.ttf"),
        std::filesystem::path(PLOTVIK_TEST_DATA) / "import_two_points.txt",
        std::filesystem::path(PLOTVIK_TEST_DATA)}) {
    const auto source = OpenGlyphSource(file, 11);
    EXPECT_EQ(source->Metrics().Ascent, 0) << file;
    EXPECT_EQ(source->Metrics().Descent, 0);
    EXPECT_EQ(source->Metrics().Underline.Rows, 0);
    EXPECT_EQ(source->Advance(U'W'), 0);
    EXPECT_TRUE(source->Mask(U'W').bits.empty());
    EXPECT_TRUE(source->Outline(U'W').empty());
  }
}

TEST(GlyphSource, ACharacterTheFaceLacksGetsItsMissingGlyphShape) {
  TGlyphSource& source = WindowGlyphs().Face("Arial", 11, 0);
  const TGlyphMask& lacked = source.Mask(U'\u2074');  // superscript four
  const TGlyphMask& privateUse = source.Mask(U'\uE000');
  EXPECT_FALSE(lacked.bits.empty());
  EXPECT_EQ(lacked.bits, privateUse.bits);
  EXPECT_EQ(source.Advance(U'\u2074'), source.Advance(U'\uE000'));
  EXPECT_GT(source.Advance(U'\u2074'), 0);
}

// The hinting is the one the pixels were made with, whatever the environment asks FreeType for
// (the variable counts only before the first glyph of the process, as when ctest runs this
// test on its own).
TEST(GlyphSource, HintingIgnoresTheEnvironment) {
  ::setenv("FREETYPE_PROPERTIES", "truetype:interpreter-version=35", 1);
  const auto source = OpenGlyphSource(FontFolder() / "LiberationSans-Regular.ttf", 11);
  ::unsetenv("FREETYPE_PROPERTIES");
  const TGlyphMask& g = source->Mask(U'й');
  EXPECT_EQ(g.left, 0);
  EXPECT_EQ(g.top, -9);
  ASSERT_EQ(g.width, 5);
  std::vector<std::string> rows;
  for (int y = 0; y < g.height; ++y) {
    std::string row;
    for (int x = 0; x < g.width; ++x)
      row += g.bits[static_cast<std::size_t>(y * g.width + x)] ? '#' : '.';
    rows.push_back(row);
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"#..#.", ".###.", ".....", "#...#", "#..##", "#.#.#",
                                            "#.#.#", "##..#", "#...#"}));
}

TEST(GlyphSource, OutlinesAreClosedContoursAroundTheMask) {
  TGlyphSource& source = WindowGlyphs().Face("Arial", 40, 0);
  const TGlyphMask& mask = source.Mask(U'O');
  const auto contours = source.Outline(U'O');
  ASSERT_EQ(contours.size(), 2u);  // the ring and its hole
  for (const TGlyphContour& c : contours) {
    ASSERT_GE(c.size(), 8u);
    for (const TGlyphPoint& p : c) {
      EXPECT_GE(p.X, mask.left - 1.0);
      EXPECT_LE(p.X, mask.left + mask.width + 1.0);
      EXPECT_GE(p.Y, mask.top - 1.0);
      EXPECT_LE(p.Y, mask.top + mask.height + 1.0);
    }
  }
}

// The canvas's text with the font files' glyphs, as the windows draw it.
class FontFileText : public ::testing::Test {
 protected:
  static void Arial8(TCanvas& c) {
    c.SetGlyphs(&WindowGlyphs());
    c.Font().SetName("Arial");
    c.Font().SetSize(8);
  }
};

TEST_F(FontFileText, ArialEightPointHasALineHeightOfThirteen) {
  TBitmap b(10, 10);
  TCanvas& c = b.Canvas();
  Arial8(c);
  EXPECT_EQ(c.Font().Height(), -11);
  EXPECT_EQ(c.TextHeight("W"), 13);
  EXPECT_EQ(c.TextMetrics().Ascent, 10);
  EXPECT_EQ(c.TextMetrics().Descent, 3);
  EXPECT_EQ(c.TextWidth(""), 0);
  const int w = c.TextWidth("10.5");
  EXPECT_GT(w, 10);
  c.SetTextCharacterExtra(2);
  EXPECT_EQ(c.TextWidth("10.5"), w + 8);
  c.Font().SetSize(0);
  EXPECT_EQ(c.TextExtent("W"), (TSize{0, 0}));
}

// Axis labels group digits with a no-break space where the locale groups with a space: it must
// draw as a plain gap of a space's width, not as a box or a glyph of its own.
TEST_F(FontFileText, ANoBreakSpaceDrawsAsASpace) {
  TBitmap spaced(60, 13), noBreak(60, 13);
  Arial8(spaced.Canvas());
  Arial8(noBreak.Canvas());
  EXPECT_EQ(noBreak.Canvas().TextWidth("1\u00A0001"), spaced.Canvas().TextWidth("1 001"));
  spaced.Canvas().TextOut(1, 0, "1 001");
  noBreak.Canvas().TextOut(1, 0, "1\u00A0001");
  EXPECT_TRUE(std::equal(spaced.Pixels().begin(), spaced.Pixels().end(), noBreak.Pixels().begin(),
                         noBreak.Pixels().end()));
}

// Text comes from the font files, not from the toolkit: drawing it makes no application object.
TEST_F(FontFileText, NeedsNoApplicationObject) {
  if (QCoreApplication::instance() != nullptr) GTEST_SKIP() << "another test made one";
  TBitmap b(40, 16);
  Arial8(b.Canvas());
  b.Canvas().TextOut(1, 1, "Ab");
  b.Canvas().TextOutOutlined(1, 1, "Ab");
  EXPECT_NE(InkBounds(b), TRect{});
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

}  // namespace
}  // namespace plotvik
