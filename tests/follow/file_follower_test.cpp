#include "follow/file_follower.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "follow/byte_hash.h"
#include "import/line_reader.h"

namespace plotvik {
namespace {

using namespace std::chrono_literals;
using TClock = TFileFollower::TClock;

// What happens to the followed file before a look, and what the look must report: the lines
// handed on, a provisional one marked "~" and one that replaces the provisional line "=".
struct Step {
  enum Op { kNothing, kAppend, kRewrite, kTruncate, kRenameOver, kDelete, kTouch };
  Op op;
  std::string bytes;
  // Time since the previous look.
  std::chrono::milliseconds later;
  TFollowChange change;
  std::vector<std::string> lines;
};

// Records what a look hands on, with the marks the cases use.
struct RecordingSink : TFollowSink {
  void NewRun() override { lines.push_back("(new run)"); }
  void TakeLine(std::string& line, bool provisional, bool replaces) override {
    lines.push_back(std::string(replaces ? "=" : "") + (provisional ? "~" : "") + line);
    // The line is the sink's to consume.
    line = "consumed";
  }
  std::vector<std::string> lines;
};

std::string Repeat(const std::string& bytes, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += bytes;
  return all;
}

std::vector<std::string> Lines(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// More than the start that every look compares, in lines of 7 bytes.
const std::string kLongStart = Repeat("1 0 10\n", 600);
const std::vector<std::string> kLongStartLines(600, "1 0 10");
// Lines that reach over a read block's end, more than once.
const std::string kBlocks = Repeat("12345 0 10.125 -3.5\r\n", 120000);
const std::vector<std::string> kBlocksLines(120000, "12345 0 10.125 -3.5");

struct FollowCase {
  const char* name;
  std::vector<Step> steps;
  friend void PrintTo(const FollowCase& c, std::ostream* os) { *os << c.name; }
};

constexpr auto kNone = TFollowChange::fcNone;
constexpr auto kGrown = TFollowChange::fcGrown;
constexpr auto kReplaced = TFollowChange::fcReplaced;
constexpr auto kGone = TFollowChange::fcGone;

class FileFollowerTest : public ::testing::TestWithParam<FollowCase> {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("plotvik_follow_" + std::to_string(::getpid()) + "_" + GetParam().name);
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    file_ = dir_ / "sweep.txt";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  void Write(const std::string& bytes, std::ios::openmode mode) {
    std::ofstream out(file_, std::ios::binary | mode);
    out << bytes;
  }

  void Apply(const Step& step, int index) {
    switch (step.op) {
      case Step::kNothing:
        break;
      case Step::kAppend:
        Write(step.bytes, std::ios::app);
        break;
      case Step::kRewrite: {
        // In place: the same file, its bytes overwritten from the start.
        std::fstream out(file_, std::ios::binary | std::ios::in | std::ios::out);
        out << step.bytes;
        break;
      }
      case Step::kTruncate:
        Write(step.bytes, std::ios::trunc);
        break;
      case Step::kRenameOver: {
        const auto other = dir_ / "sweep.tmp";
        std::ofstream(other, std::ios::binary) << step.bytes;
        std::filesystem::rename(other, file_);
        break;
      }
      case Step::kDelete:
        std::filesystem::remove(file_);
        return;
      case Step::kTouch:
        break;
    }
    // Each step's writes bear a time of their own, as a writer's do that are further apart
    // than the file system's clock ticks.
    if (step.op != Step::kNothing && std::filesystem::exists(file_)) {
      std::filesystem::last_write_time(file_, std::filesystem::file_time_type() +
                                                  std::chrono::hours(24 * 365 * 50) +
                                                  std::chrono::seconds(index));
    }
  }

  std::filesystem::path dir_;
  std::filesystem::path file_;
};

TEST_P(FileFollowerTest, TakesWhatChanged) {
  TFileFollower follower(file_.string());
  TClock::time_point now{};
  int index = 0;
  for (const Step& step : GetParam().steps) {
    Apply(step, index);
    now += step.later;
    RecordingSink sink;
    const TFollowUpdate update = follower.Look(now, sink);
    EXPECT_EQ(update.change, step.change) << "step " << index;
    std::vector<std::string> expected = step.lines;
    if (step.change == kReplaced) expected.insert(expected.begin(), "(new run)");
    EXPECT_EQ(sink.lines, expected) << "step " << index;
    ++index;
  }
}

// The first step writes the file (truncate) or leaves it absent; every look comes 200 ms after
// the last unless the step says otherwise.
const FollowCase kCases[] = {
    {"WholeLines",
     {{Step::kTruncate, "1 2\n3 4\n", 200ms, kReplaced, {"1 2", "3 4"}},
      {Step::kAppend, "5 6\n7 8\n", 200ms, kGrown, {"5 6", "7 8"}},
      {Step::kNothing, "", 200ms, kNone, {}}}},
    {"SplitLineWaitsForItsEnd",
     {{Step::kTruncate, "1 2\n3", 200ms, kReplaced, {"1 2"}},
      {Step::kAppend, " 4", 200ms, kNone, {}},
      {Step::kAppend, "\n5 6\n", 200ms, kGrown, {"3 4", "5 6"}}}},
    {"CrLfSplitBetweenTwoWrites",
     {{Step::kTruncate, "1 2\r", 200ms, kReplaced, {}},
      {Step::kAppend, "\n3 4\r\n", 200ms, kGrown, {"1 2", "3 4"}}}},
    {"LoneCrVanishesAsTheReaderDropsIt", {{Step::kTruncate, "1\r2\n", 200ms, kReplaced, {"12"}}}},
    {"QuietUnterminatedLastLine",
     {{Step::kTruncate, "1 2\n3 4", 200ms, kReplaced, {"1 2"}},
      {Step::kNothing, "", 1900ms, kNone, {}},
      {Step::kNothing, "", 100ms, kGrown, {"~3 4"}},
      {Step::kNothing, "", 2000ms, kNone, {}},
      // A CR, then its LF: nothing new, the line is not taken twice.
      {Step::kAppend, "\r", 2000ms, kNone, {}},
      {Step::kAppend, "\n5 6\n", 200ms, kGrown, {"5 6"}}}},
    {"QuietLineGoesOnAndReplacesWhatWasTaken",
     {{Step::kTruncate, "1 2\n3", 200ms, kReplaced, {"1 2"}},
      {Step::kNothing, "", 2000ms, kGrown, {"~3"}},
      // Not a line until its end comes or the file is quiet again.
      {Step::kAppend, " 4", 200ms, kNone, {}},
      {Step::kNothing, "", 2000ms, kGrown, {"=~3 4"}},
      {Step::kAppend, "5\n6", 200ms, kGrown, {"=3 45"}},
      {Step::kNothing, "", 2000ms, kGrown, {"~6"}},
      {Step::kAppend, "\x1a", 200ms, kNone, {}},
      {Step::kAppend, "7\n", 200ms, kNone, {}}}},
    {"ByteTwentySixEndsTheFile",
     {{Step::kTruncate,
       "1 2\n3 4\x1a"
       "5 6\n",
       200ms,
       kReplaced,
       {"1 2", "3 4"}},
      {Step::kAppend, "7 8\n", 200ms, kNone, {}}}},
    {"Truncation",
     {{Step::kTruncate, "1 2\n3 4\n", 200ms, kReplaced, {"1 2", "3 4"}},
      {Step::kTruncate, "9\n", 200ms, kReplaced, {"9"}}}},
    {"StartRewrittenAtTheSameSize",
     {{Step::kTruncate, "1 2\n3 4\n", 200ms, kReplaced, {"1 2", "3 4"}},
      {Step::kRewrite, "7 7", 200ms, kReplaced, {"7 7", "3 4"}}}},
    // Rewritten beyond the start that every look compares, a longer file where the last one
    // ended in the middle of a line.
    {"RewrittenKeepingItsStart",
     {{Step::kTruncate, kLongStart + "5 55 555\n", 200ms, kReplaced,
       Lines({kLongStartLines, {"5 55 555"}})},
      {Step::kTruncate, kLongStart + "5 5 5\n6 66\n", 200ms, kReplaced,
       Lines({kLongStartLines, {"5 5 5", "6 66"}})}}},
    // Rewritten in its middle, both ends and the size as they were; then only touched, and
    // that is no change.
    {"RewrittenInTheMiddleAtTheSameSize",
     {{Step::kTruncate, kLongStart + "5 55\n" + kLongStart, 200ms, kReplaced,
       Lines({kLongStartLines, {"5 55"}, kLongStartLines})},
      {Step::kTouch, "", 200ms, kNone, {}},
      {Step::kTruncate, kLongStart + "5 56\n" + kLongStart, 200ms, kReplaced,
       Lines({kLongStartLines, {"5 56"}, kLongStartLines})}}},
    // Lines cut across the ends of read blocks, and the whole checked when touched.
    {"LinesAcrossReadBlocks",
     {{Step::kTruncate, kBlocks + "1", 200ms, kReplaced, kBlocksLines},
      {Step::kAppend, " 2\n", 200ms, kGrown, {"1 2"}},
      {Step::kTouch, "", 200ms, kNone, {}}}},
    {"RenamedOver",
     {{Step::kTruncate, "1 2\n3 4\n", 200ms, kReplaced, {"1 2", "3 4"}},
      {Step::kRenameOver, "1 2\n3 4\n5 6\n", 200ms, kReplaced, {"1 2", "3 4", "5 6"}}}},
    {"DeletedAndMadeAgain",
     {{Step::kTruncate, "1 2\n", 200ms, kReplaced, {"1 2"}},
      {Step::kDelete, "", 200ms, kGone, {}},
      {Step::kNothing, "", 200ms, kGone, {}},
      {Step::kTruncate, "1 2\n3 4\n", 200ms, kReplaced, {"1 2", "3 4"}}}},
    {"AbsentAtFirst",
     {{Step::kNothing, "", 200ms, kGone, {}},
      {Step::kTruncate, "", 200ms, kReplaced, {}},
      {Step::kAppend, "\n", 200ms, kGrown, {""}}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, FileFollowerTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The follower and File > Open cut a file into the same lines, the last one without its end
// taken once the file is quiet.
struct SameLinesCase {
  const char* name;
  std::string bytes;
  friend void PrintTo(const SameLinesCase& c, std::ostream* os) { *os << c.name; }
};

class FollowerAndReader : public ::testing::TestWithParam<SameLinesCase> {};

std::vector<std::string> ReadLikeFileOpen(const std::string& path) {
  TLineReader reader;
  reader.SetFileName(path);
  reader.OpenForReading();
  std::vector<std::string> lines;
  std::string line;
  while (!reader.AtEnd()) {
    reader.ReadLineText(line);
    reader.SkipLineEnd();
    lines.push_back(line);
  }
  reader.CloseReader();
  reader.CheckIO();
  return lines;
}

TEST_P(FollowerAndReader, CutTheSameLines) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("plotvik_follow_" + std::to_string(::getpid()) + "_" + GetParam().name);
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "sweep.txt").string();
  std::ofstream(path, std::ios::binary) << GetParam().bytes;
  struct Lines : TFollowSink {
    void NewRun() override {}
    void TakeLine(std::string& line, bool, bool) override { taken.push_back(line); }
    std::vector<std::string> taken;
  } sink;
  TFileFollower follower(path);
  TClock::time_point now{};
  follower.Look(now, sink);
  follower.Look(now + TFileFollower::kQuietTime, sink);
  EXPECT_EQ(sink.taken, ReadLikeFileOpen(path));
  std::filesystem::remove_all(dir);
}

// clang-format off
const SameLinesCase kSameLinesCases[] = {
    {"Empty",             ""},
    {"CtrlZFirst",        "\x1a" "1\n"},
    {"CrLfAndLf",         "1 2\r\n3 4\n5"},
    {"LoneCrs",           "1\r2\r\r\n\r"},
    {"EmptyLastLine",     "1\n\n"},
    {"CrBeforeCtrlZ",     "1\n\r\x1a" "2\n"},
    {"CtrlZAfterLineEnd", "1\n\x1a"},
    {"CtrlZInLine",       "1 2\x1a" "3\n"},
    {"CrLfAcrossBlocks",  std::string(TFileFollower::kReadBlockSize - 1, '7') + "\r\n1\r\n"},
    {"CtrlZAcrossBlocks", std::string(TFileFollower::kReadBlockSize, '7') + "\x1a"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, FollowerAndReader, ::testing::ValuesIn(kSameLinesCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plotvik
