// The analysis rules, through the check tool: small sweeps written as files, the text it prints.
// Columns: Id Val height R jX SWR.

#include <gtest/gtest.h>

#include <string>

#include "tests/import/run_tool.h"
#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

using testing::RunResult;
using testing::RunTool;
using testing::TempDir;

struct AnalysisCase {
  const char* name;
  std::string file;
  int status;
  std::string out;
  std::string err;
  friend void PrintTo(const AnalysisCase& c, std::ostream* os) { *os << c.name; }
};

class CheckAnalysis : public ::testing::TestWithParam<AnalysisCase> {};

TEST_P(CheckAnalysis, PrintsTheAnalysisOfWhatWasLoaded) {
  const AnalysisCase& c = GetParam();
  TempDir dir;
  const RunResult r = RunTool("plotvik-check", {"--analysis", dir.Write("sweep.txt", c.file)});
  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.out, c.out);
  EXPECT_EQ(r.err, c.err);
}

// One sweep in three orders of the file: the analysis follows the heights, not the lines.
const std::string kAscending =
    "1 0 1 50 -4 3\n"
    "2 0 2 50 -2 1.75\n"
    "3 0 3 50 2 1.25\n"
    "4 0 4 50 6 1.75\n"
    "5 0 5 50 8 3\n";
const std::string kDescending =
    "5 0 5 50 8 3\n"
    "4 0 4 50 6 1.75\n"
    "3 0 3 50 2 1.25\n"
    "2 0 2 50 -2 1.75\n"
    "1 0 1 50 -4 3\n";
const std::string kShuffled =
    "3 0 3 50 2 1.25\n"
    "5 0 5 50 8 3\n"
    "1 0 1 50 -4 3\n"
    "4 0 4 50 6 1.75\n"
    "2 0 2 50 -2 1.75\n";
const std::string kSweepAnalysis =
    "points\t5\n"
    "min_swr\t3\t1.25\n"
    "resonance\t2.5\n"
    "band\t2\t1.8\t4.2\t-\n"
    "band\t1.5\t2.5\t3.5\t-\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Sweeps, CheckAnalysis,
    ::testing::Values(
        AnalysisCase{"Ascending",  kAscending,  0, kSweepAnalysis, ""},
        AnalysisCase{"Descending", kDescending, 0, kSweepAnalysis, ""},
        AnalysisCase{"Shuffled",   kShuffled,   0, kSweepAnalysis, ""},
        // Equal heights keep the file's order: +1 before -1 at height 2 makes three crossings.
        AnalysisCase{"EqualHeightsInFileOrder", "1 0 1 50 -1\n2 0 2 50 1\n3 0 2 50 -1\n4 0 3 50 1\n", 0,
                     "points\t0\nresonance\t1.5\nresonance\t2\nresonance\t2.5\n", ""},
        // Of equal lowest values the first by height wins, not the first in the file.
        AnalysisCase{"LowestTieFirstByHeight", "1 0 3 50 9 1\n2 0 1 50 9 2.5\n3 0 2 50 9 1\n", 0,
                     "points\t3\nmin_swr\t2\t1\nband\t2\t1.3333333333333333\t3\thigh\nband\t1.5\t1.6666666666666665\t3\thigh\n", ""},
        // A line without SWR still gives a jX point; a line without a height gives none.
        AnalysisCase{"ShortLineWithoutSwr", "1 0 1 50 -2 1.25\n2 0 2 50 2\n3 0 3 50 4 3\n4 0\n", 0,
                     "points\t2\nmin_swr\t1\t1.25\nresonance\t1.5\nband\t2\t1\t1.8571428571428572\tlow\nband\t1.5\t1\t1.2857142857142856\tlow\n", ""},
        // A run of zeros is one resonance at its start; its neighbours add no crossing.
        AnalysisCase{"ReactanceRunOfZeros", "1 0 1 50 3\n2 0 2 50 0\n3 0 3 50 0\n4 0 4 50 -2\n5 0 5 50 0\n", 0,
                     "points\t0\nresonance\t2\nresonance\t5\n", ""},
        AnalysisCase{"ReactanceTouchesZero", "1 0 1 50 3\n2 0 2 50 0\n3 0 3 50 5\n", 0,
                     "points\t0\nresonance\t2\n", ""},
        AnalysisCase{"SameSignsNoResonance", "1 0 1 50 3\n2 0 2 50 1\n3 0 3 50 5\n", 0,
                     "points\t0\n", ""},
        // A point exactly at T is outside the band, and the band's edge lands on it.
        AnalysisCase{"SwrExactlyAtThreshold", "1 0 1 50 9 2\n2 0 2 50 9 1.5\n3 0 3 50 9 1\n4 0 4 50 9 2\n", 0,
                     "points\t4\nmin_swr\t3\t1\nband\t2\t1\t4\t-\nband\t1.5\t2\t3.5\t-\n", ""},
        AnalysisCase{"OnePoint", "1 0 5 50 9 1.2\n", 0,
                     "points\t1\nmin_swr\t5\t1.2\nband\t2\t5\t5\tboth\nband\t1.5\t5\t5\tboth\n", ""},
        AnalysisCase{"NoPointBelowThreshold", "1 0 1 50 9 3\n2 0 2 50 9 2.5\n", 0,
                     "points\t2\nmin_swr\t2\t2.5\n", ""},
        AnalysisCase{"BandsOpenAtEachEnd", "1 0 1 50 9 1.25\n2 0 2 50 9 3\n3 0 3 50 9 1.25\n", 0,
                     "points\t3\nmin_swr\t1\t1.25\n"
                     "band\t2\t1\t1.4285714285714286\tlow\nband\t2\t2.571428571428571\t3\thigh\n"
                     "band\t1.5\t1\t1.1428571428571428\tlow\nband\t1.5\t2.857142857142857\t3\thigh\n", ""},
        // At the edges of the doubles: the differences would overflow, the products fade to 0.
        AnalysisCase{"ReactanceAcrossTheWholeRange", "1 0 1 50 -1.7e308\n2 0 2 50 1.7e308\n", 0,
                     "points\t0\nresonance\t1.5\n", ""},
        AnalysisCase{"HeightsAcrossTheWholeRange", "1 0 -1.7e308 50 -1\n2 0 1.7e308 50 1\n", 0,
                     "points\t0\nresonance\t0\n", ""},
        AnalysisCase{"TinyReactanceAndHeights", "1 0 1e-300 50 -1e-300\n2 0 2e-300 50 1e-300\n", 0,
                     "points\t0\nresonance\t1.5e-300\n", ""},
        AnalysisCase{"SwrAcrossTheWholeRange", "1 0 1 50 9 1.7e308\n2 0 2 50 9 -1.7e308\n", 0,
                     "points\t2\nmin_swr\t2\t-1.7e+308\nband\t2\t1.5\t2\thigh\nband\t1.5\t1.5\t2\thigh\n", ""},
        AnalysisCase{"EmptyFile", "", 0, "points\t0\n", ""},
        // The lines before a bad one are analysed; the status and warning are the load's.
        AnalysisCase{"BadLineAfterGoodOnes", "1 0 1 50 -2 1.25\n2 0 2 50 2 3\nx\n3 0 3 50 4 1\n", 1,
                     "points\t2\nmin_swr\t1\t1.25\nresonance\t1.5\nband\t2\t1\t1.4285714285714286\tlow\nband\t1.5\t1\t1.1428571428571428\tlow\n",
                     "Invalid file format\n"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The sample sweeps made with the NEC-2 engine, against a separate reckoning of the same rules.
TEST(CheckAnalysisSamples, DipoleAndYagi) {
  const RunResult dipole = RunTool(
      "plotvik-check", {"--analysis", std::string(PLOTVIK_TEST_DATA) + "/sample_dipole.txt"});
  EXPECT_EQ(dipole.status, 0);
  EXPECT_EQ(dipole.out,
            "points\t30\nmin_swr\t12.69\t1.26\n"
            "resonance\t7.117530230853793\nresonance\t12.516328852119958\n"
            "resonance\t18.00640120210368\nresonance\t23.319896907216496\n"
            "band\t2\t4\t25\tboth\n"
            "band\t1.5\t9.89528846153846\t15.623488372093023\t-\n"
            "band\t1.5\t19.994888888888887\t25\thigh\n");
  const RunResult yagi =
      RunTool("plotvik-check", {"--analysis", std::string(PLOTVIK_TEST_DATA) + "/sample_yagi.txt"});
  EXPECT_EQ(yagi.status, 0);
  EXPECT_EQ(yagi.out,
            "points\t60\nmin_swr\t5\t1.65\n"
            "resonance\t12.722391304347827\nresonance\t13.502380952380953\n"
            "band\t2\t5\t25\tboth\n");
}

TEST(CheckAnalysisFailures, MissingFilePrintsNoAnalysis) {
  const RunResult r = RunTool("plotvik-check", {"--analysis", "/nonexistent/sweep.txt"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err, "");
}

}  // namespace
}  // namespace plotvik
