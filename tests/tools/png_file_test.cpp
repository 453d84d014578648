// Encodes pictures with the PNG writer and decodes them with the toolkit's own reader.

#include "tools/png_file.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

struct PictureCase {
  const char* name;
  int colours;
  int width;
  int height;
  int scale;
  bool palette;  // expected to be stored with a palette
  friend void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }
};

// `colours` different colours scattered over the picture, every one used; the top byte varies,
// as it must not count.
std::vector<std::uint32_t> Scattered(const PictureCase& c) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(c.width) * c.height);
  std::uint32_t state = 12345;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    state = state * 1103515245u + 12345u;
    const std::uint32_t n = i < static_cast<std::size_t>(c.colours) ? i : (state >> 8) % c.colours;
    pixels[i] = ((n * 2654435761u) & 0x00FFFFFFu) | ((state & 1) ? 0xFF000000u : 0u);
  }
  return pixels;
}

class PngFile : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PngFile, DecodesToTheSameColoursEnlarged) {
  const PictureCase& c = GetParam();
  const std::vector<std::uint32_t> pixels = Scattered(c);
  const std::string bytes = EncodePng({pixels, c.width, c.height}, c.scale);
  EXPECT_EQ(bytes.find("PLTE") != std::string::npos, c.palette);

  const QImage image = QImage::fromData(QByteArray(bytes.data(), static_cast<int>(bytes.size())));
  ASSERT_EQ(image.width(), c.width * c.scale);
  ASSERT_EQ(image.height(), c.height * c.scale);
  int differing = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const std::uint32_t want =
          pixels[static_cast<std::size_t>(y / c.scale) * c.width + x / c.scale] | 0xFF000000u;
      differing += image.pixel(x, y) != want;
    }
  }
  EXPECT_EQ(differing, 0);
}

// Widths that leave a partly used last byte in every packed row.
INSTANTIATE_TEST_SUITE_P(
    Pictures, PngFile,
    ::testing::Values(PictureCase{"one_colour", 1, 9, 4, 1, true},
                      PictureCase{"two_colours_one_bit", 2, 13, 5, 1, true},
                      PictureCase{"four_colours_two_bits", 4, 7, 6, 1, true},
                      PictureCase{"sixteen_colours_four_bits", 16, 11, 9, 1, true},
                      PictureCase{"seventeen_colours_a_byte", 17, 10, 10, 1, true},
                      PictureCase{"full_palette", 256, 40, 30, 1, true},
                      PictureCase{"too_many_for_a_palette", 257, 40, 30, 1, false},
                      PictureCase{"one_bit_tripled", 2, 5, 3, 3, true},
                      PictureCase{"four_bits_doubled", 9, 7, 4, 2, true},
                      PictureCase{"a_byte_doubled", 100, 15, 12, 2, true},
                      PictureCase{"rgb_doubled", 400, 25, 20, 2, false},
                      PictureCase{"one_pixel", 1, 1, 1, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PngEncoder, KeepsNothingOfThePreviousPicture) {
  // Larger, more colourful and enlarged pictures before smaller and plainer ones: a palette, row
  // or compression state left over would show in the later files.
  const PictureCase sequence[] = {
      {"rgb_doubled", 400, 25, 20, 2, false},   {"full_palette", 256, 40, 30, 1, true},
      {"a_byte_doubled", 100, 15, 12, 2, true}, {"two_colours_one_bit", 2, 13, 5, 1, true},
      {"four_bits", 9, 7, 4, 1, true},          {"one_pixel", 1, 1, 1, 1, true},
      {"rgb_again", 300, 9, 7, 3, false}};
  TPngEncoder encoder;
  for (const PictureCase& c : sequence) {
    const std::vector<std::uint32_t> pixels = Scattered(c);
    EXPECT_EQ(encoder.Encode({pixels, c.width, c.height}, c.scale),
              EncodePng({pixels, c.width, c.height}, c.scale))
        << c.name;
  }
}

TEST(PngFileWrite, ReportsAFileThatCannotBeMade) {
  testing::TempDir dir;
  const std::vector<std::uint32_t> pixels(4, 0xFFFFFFFFu);
  std::string error;
  EXPECT_FALSE(WritePngFile(dir.Path() / "missing" / "a.png", {pixels, 2, 2}, 1, error));
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_TRUE(WritePngFile(dir.Path() / "a.png", {pixels, 2, 2}, 1, error));
  EXPECT_EQ(QImage(QString::fromStdString((dir.Path() / "a.png").string())).pixel(1, 1),
            0xFFFFFFFFu);
}

}  // namespace
}  // namespace plotvik
