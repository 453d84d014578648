#include "import/line_splitter.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace plotvik {
namespace {

using namespace std::string_literals;

// Cuts `bytes` into lines, handed over `blockSize` bytes at a time, the way a reader does that
// keeps the line at hand between blocks: a line without its end counts at the end of the data,
// and before a byte 26 only when it has any bytes.
std::vector<std::string> Split(std::string_view bytes, std::size_t blockSize) {
  std::vector<std::string> lines;
  std::string text;
  std::size_t lineBytes = 0;
  for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
    const std::string_view block = bytes.substr(at, blockSize);
    for (std::size_t pos = 0; pos < block.size();) {
      const TLineSpan span = FindLineEnd(block.substr(pos));
      AppendLineText(text, block.substr(pos, span.textSize));
      lineBytes += span.textSize;
      pos += span.size;
      if (span.end == TLineEnd::leNone) continue;
      if (span.end == TLineEnd::leEndOfFile) {
        if (lineBytes > 0) lines.push_back(text);
        return lines;
      }
      lines.push_back(text);
      text.clear();
      lineBytes = 0;
    }
  }
  if (lineBytes > 0) lines.push_back(text);
  return lines;
}

struct SplitCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
  friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }
};

class LineSplitting : public ::testing::TestWithParam<SplitCase> {};

// Wherever the blocks are cut (between a CR and its LF, just before a byte 26, through a long
// line) the lines are the same.
TEST_P(LineSplitting, GivesTheSameLinesForEveryBlockSize) {
  const SplitCase& c = GetParam();
  for (std::size_t blockSize : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7},
                                std::size_t{128}, c.bytes.size() + 1}) {
    EXPECT_EQ(Split(c.bytes, blockSize), c.lines) << "blocks of " << blockSize;
  }
}

const std::string kLong(300, '7');

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Splitter, LineSplitting,
    ::testing::Values(
        SplitCase{"Empty",             "",                         {}},
        SplitCase{"LfEnds",            "1 2\n3 4\n",               {"1 2", "3 4"}},
        SplitCase{"CrLfEnds",          "1 2\r\n3 4\r\n",           {"1 2", "3 4"}},
        SplitCase{"NoFinalLineEnd",    "a\nb",                     {"a", "b"}},
        SplitCase{"EmptyLines",        "\n\r\n\n",                 {"", "", ""}},
        SplitCase{"LoneCrVanishes",    "a\rb\r\n",                 {"ab"}},
        SplitCase{"CrsBeforeLf",       "a\r\r\nb",                 {"a", "b"}},
        SplitCase{"OnlyACr",           "\r",                       {""}},
        SplitCase{"CtrlZFirst",        "\x1a" "1\n",               {}},
        SplitCase{"CtrlZInsideLine",   "a\x1a b\nc\n",             {"a"}},
        SplitCase{"CtrlZAfterLineEnd", "a\n\x1a\nb",               {"a"}},
        SplitCase{"CtrlZAfterCr",      "a\n\r\x1a",                {"a", ""}},
        SplitCase{"NulIsText",         "a\0b\n\0"s,                {"a\0b"s, "\0"s}},
        SplitCase{"LongLineWhole",     kLong + "\r\n" + kLong,     {kLong, kLong}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// What one look at a block finds: the text's bytes, the bytes taken, and the end.
struct SpanCase {
  const char* name;
  std::string block;
  std::size_t textSize;
  std::size_t size;
  TLineEnd end;
  friend void PrintTo(const SpanCase& c, std::ostream* os) { *os << c.name; }
};

class LineSpans : public ::testing::TestWithParam<SpanCase> {};

TEST_P(LineSpans, StopAtTheLineEnd) {
  const SpanCase& c = GetParam();
  const TLineSpan span = FindLineEnd(c.block);
  EXPECT_EQ(span.textSize, c.textSize);
  EXPECT_EQ(span.size, c.size);
  EXPECT_EQ(span.end, c.end);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Splitter, LineSpans,
    ::testing::Values(
        SpanCase{"EmptyBlock",         "",            0, 0, TLineEnd::leNone},
        SpanCase{"NoEndInBlock",       "1 2\r",       4, 4, TLineEnd::leNone},
        SpanCase{"LfTaken",            "1 2\r\n3",    4, 5, TLineEnd::leLf},
        SpanCase{"FirstLfOnly",        "\n\n",        0, 1, TLineEnd::leLf},
        // The byte 26 stays where it is, for every later look to stop at.
        SpanCase{"CtrlZLeft",          "12\x1a\n",    2, 2, TLineEnd::leEndOfFile},
        SpanCase{"CtrlZAfterLfIsLater", "1\n\x1a",    1, 2, TLineEnd::leLf}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace plotvik
