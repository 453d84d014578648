// A picture shown below a device pixel ratio of 1: each screen pixel shows the picture's pixel
// under its top-left corner, never a blend.

#include <gtest/gtest.h>

#include <QImage>
#include <ostream>
#include <string>
#include <vector>

#include "platform/gui/shrunk_image.h"

namespace plotvik {
namespace {

struct ShrinkCase {
  const char* name;
  int width;
  int height;
  double ratio;
  std::vector<int> columns;  // the picture's column each screen column shows
  std::vector<int> rows;
  friend void PrintTo(const ShrinkCase& c, std::ostream* os) { *os << c.name; }
};

class ShrunkImageTest : public ::testing::TestWithParam<ShrinkCase> {};

TEST_P(ShrunkImageTest, EachScreenPixelShowsThePixelAtItsCorner) {
  const ShrinkCase& c = GetParam();
  QImage picture(c.width, c.height, QImage::Format_RGB32);
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) picture.setPixel(x, y, qRgb(x, y, 7));
  }
  const QImage shrunk = ShrunkImage(picture, c.ratio);
  ASSERT_EQ(shrunk.width(), int(c.columns.size()));
  ASSERT_EQ(shrunk.height(), int(c.rows.size()));
  for (int y = 0; y < shrunk.height(); ++y) {
    for (int x = 0; x < shrunk.width(); ++x) {
      EXPECT_EQ(shrunk.pixel(x, y), qRgb(c.columns[x], c.rows[y], 7)) << x << "," << y;
    }
  }
}

const ShrinkCase kShrinkCases[] = {
    {"HalfOfAnOddSize", 5, 3, 0.5, {0, 2, 4}, {0, 2}},
    {"HalfOfAnEvenSize", 4, 2, 0.5, {0, 2}, {0}},
    {"ThreeQuarters", 5, 4, 0.75, {0, 1, 2, 4}, {0, 1, 2}},
    // 0.3 has no exact binary form: 3 / 0.3 must still land on pixel 10, not 9.
    {"ARatioWithoutAnExactForm", 11, 1, 0.3, {0, 3, 6, 10}, {0}},
    {"OnePixel", 1, 1, 0.5, {0}, {0}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ShrunkImageTest, ::testing::ValuesIn(kShrinkCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plotvik
