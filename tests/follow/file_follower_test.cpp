#include "follow/file_follower.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace plotvik {
namespace {

using namespace std::chrono_literals;
using TClock = TFileFollower::TClock;

// What happens to the followed file before a look, and what the look must report.
struct Step {
  enum Op { kNothing, kAppend, kRewrite, kTruncate, kRenameOver, kDelete };
  Op op;
  std::string bytes;
  // Time since the previous look.
  std::chrono::milliseconds later;
  TFollowChange change;
  std::vector<std::string> lines;
};

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

  void Apply(const Step& step) {
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
        break;
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
    Apply(step);
    now += step.later;
    const TFollowUpdate update = follower.Look(now);
    EXPECT_EQ(update.change, step.change) << "step " << index;
    EXPECT_EQ(update.lines, step.lines) << "step " << index;
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
      {Step::kNothing, "", 100ms, kGrown, {"3 4"}},
      // Its line end arrives later: nothing new, the line is not taken twice.
      {Step::kAppend, "\n5 6\n", 200ms, kGrown, {"5 6"}}}},
    {"QuietLineGoesOnMeansANewRun",
     {{Step::kTruncate, "1 2\n3", 200ms, kReplaced, {"1 2"}},
      {Step::kNothing, "", 2000ms, kGrown, {"3"}},
      {Step::kAppend, " 4\n", 200ms, kReplaced, {"1 2", "3 4"}}}},
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

}  // namespace
}  // namespace plotvik
