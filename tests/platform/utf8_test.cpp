#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace plotvik {
namespace {

struct DecodeCase {
  const char* name;
  std::string_view bytes;
  std::u32string expected;
};

// Broken input decodes the way the toolkit decoded chart text, so that no text changes.
TEST(Utf8, DecodesAsTheToolkitDid) {
  const DecodeCase cases[] = {
      {"ascii", "A1 .", U"A1 ."},
      {"cyrillic and degree", "\xD0\x9A\xD0\xA1\xD0\x92 \xC2\xB0", U"КСВ °"},
      {"four bytes", "\xF0\x9F\x98\x80", U"\U0001F600"},
      {"nul kept", std::string_view("a\0b", 3), std::u32string(U"a\0b", 3)},
      {"stray continuation", "a\x80z", U"a\uFFFDz"},
      {"lead without continuation", "\xD0z", U"\uFFFDz"},
      {"cut short: a mark per byte", "\xE2\x82", U"\uFFFD\uFFFD"},
      {"overlong", "\xC0\xAF", U"\uFFFD\uFFFD"},
      {"overlong three bytes", "\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},
      {"surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
      {"beyond the last code point", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"no lead byte above F4", "\xF5\xFF", U"\uFFFD\uFFFD"},
      {"byte-order mark at the start dropped", "\xEF\xBB\xBFok", U"ok"},
      {"byte-order mark inside kept", "o\xEF\xBB\xBFk", U"o\uFEFFk"},
      {"only the first mark dropped", "\xEF\xBB\xBF\xEF\xBB\xBF", U"\uFEFF"},
  };
  for (const DecodeCase& c : cases) EXPECT_EQ(DecodeUtf8(c.bytes), c.expected) << c.name;
}

TEST(Utf8, EveryCodePointComesBack) {
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c == 0xFEFF) continue;
    ASSERT_EQ(DecodeUtf8(Utf8Of(c)), std::u32string(1, c)) << static_cast<unsigned>(c);
  }
}

}  // namespace
}  // namespace plotvik
