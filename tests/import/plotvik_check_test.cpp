// Runs the built plotvik-check on fixture files and compares its output and exit status.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/import/run_tool.h"
#include "tests/import/temp_dir.h"
#include "tests/support/locale_separators.h"

namespace plotvik {
namespace {

using testing::RunResult;
using testing::RunTool;
using testing::TempDir;

RunResult RunCheck(const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment = {},
                   const std::string& workingDir = {}) {
  return RunTool("plotvik-check", arguments, environment, workingDir);
}

std::string Data(const char* name) {
  return std::string(PLOTVIK_TEST_DATA) + "/" + name;
}

const std::string kUsage =
    "Usage: plotvik-check [--analysis] [--] FILE (plotvik-check --help tells more)\n";

struct CheckCase {
  const char* name;
  std::vector<std::string> arguments;
  int status;
  std::string out;
  std::string err;
  friend void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }
};

class CheckTool : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckTool, PrintsRecordsAndExitStatus) {
  const CheckCase& c = GetParam();
  RunResult r = RunCheck(c.arguments);
  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.out, c.out);
  EXPECT_EQ(r.err, c.err);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Files, CheckTool,
    ::testing::Values(
        CheckCase{"Clean",                    {Data("import_spaced_tokens.txt")},      0, "0\t1\t14.1\tnull\tnull\tnull\tnull\tnull\tnull\n",                      ""},
        CheckCase{"DoubleRange",              {Data("import_double_range.txt")},       1, "1e-320\t0\t-0\t5e-324\t0\t1.7976931348623157e+308\tnull\tnull\tnull\n", "Invalid file format\n"},
        CheckCase{"PendingRecordNotPrinted",  {Data("import_ten_numbers.txt")},        1, "1\t2\t3\t4\t5\t6\t7\t8\t9\n",                                           "Invalid file format\n"},
        CheckCase{"Empty",                    {Data("import_empty.txt")},              0, "",                                                                      ""},
        CheckCase{"Missing",                  {Data("no_such_file.txt")},              2, "",                                                                      "File not found.\n"},
        CheckCase{"Directory",                {PLOTVIK_TEST_DATA},                     2, "",                                                                      "File access denied.\n"},
        CheckCase{"NoArgument",               {},                                      2, "",                                                                      kUsage},
        CheckCase{"TwoArguments",             {"a", "b"},                              2, "",                                                                      kUsage},
        CheckCase{"OnlyTheEndOfOptions",      {"--"},                                  2, "",                                                                      kUsage},
        CheckCase{"FileAfterTheEndOfOptions", {"--", Data("import_empty.txt")},        0, "",                                                                      ""},
        CheckCase{"DashedWordIsAnOption",     {"-x.txt"},                              2, "",                                                                      "Unknown option 'x.txt'.\n" + kUsage},
        CheckCase{"UnknownLongOption",        {"--verbose", Data("import_empty.txt")}, 2, "",                                                                      "Unknown option 'verbose'.\n" + kUsage},
        CheckCase{"OptionGivenTwice",         {"--analysis", Data("import_empty.txt"), "-analysis"}, 2, "",                                                        "Option '-analysis' is given more than once.\n" + kUsage},
        CheckCase{"HelpUnderBothNames",       {"-h", "--help"},                        2, "",                                                                      "Option '--help' is given more than once.\n" + kUsage}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(CheckToolHelp, ExplainsOutputAndExitStatus) {
  RunResult r = RunCheck({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Usage: plotvik-check [--analysis] [--] FILE\n"), std::string::npos);
  EXPECT_NE(r.out.find("Invalid file format"), std::string::npos);
  EXPECT_NE(r.out.find("File not found."), std::string::npos);
  EXPECT_NE(r.out.find("could not be closed"), std::string::npos);
  EXPECT_EQ(RunCheck({"-h"}).out, r.out);
}

// A name is one argument whatever it holds: a leading dash (after `--`), blanks, shell
// characters, bytes that are no UTF-8.
TEST(CheckToolCommandLine, TakesAnyFileNameAsItIs) {
  TempDir dir;
  for (const std::string name : {"-x.txt", "a b;$(true)'.txt", "\xE9t\xE9.txt"}) {
    SCOPED_TRACE(name);
    dir.Write(name, "1 2\n");
    RunResult r = RunCheck({"--", name}, {}, dir.Path().string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\t2\tnull\tnull\tnull\tnull\tnull\tnull\tnull\n");
  }
}

// A file whose close fails after every line was read: the records are shown all the same, then
// the reason, and the status tells that something went wrong.
struct CloseFailureCase {
  const char* name;
  std::string content;
  std::string out;
  std::string err;
  friend void PrintTo(const CloseFailureCase& c, std::ostream* os) { *os << c.name; }
};

class CheckToolCloseFailure : public ::testing::TestWithParam<CloseFailureCase> {};

TEST_P(CheckToolCloseFailure, PrintsTheRecordsThenTheError) {
  const CloseFailureCase& c = GetParam();
  TempDir dir;
  const std::string path = dir.Write("sweep.txt", c.content);
  // The preloaded library is not built with the sanitizers, which would otherwise refuse to
  // start behind it.
  const char* asan = std::getenv("ASAN_OPTIONS");
  const std::string asanOptions = std::string("ASAN_OPTIONS=") +
                                  (asan != nullptr ? std::string(asan) + ":" : "") +
                                  "verify_asan_link_order=0";
  const RunResult r = RunCheck({path}, {"LD_PRELOAD=" PLOTVIK_FAIL_CLOSE_LIBRARY,
                                        "PLOTVIK_FAIL_CLOSE_OF=" + path, asanOptions});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, c.out);
  EXPECT_EQ(r.err, c.err);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Files, CheckToolCloseFailure,
    ::testing::Values(
        CloseFailureCase{"EveryLineTaken", "1 2\n3\n",  "1\t2\tnull\tnull\tnull\tnull\tnull\tnull\tnull\n" "3\tnull\tnull\tnull\tnull\tnull\tnull\tnull\tnull\n", "I/O error 30.\n"},
        CloseFailureCase{"BadLineBefore",  "1\nx\n2\n", "1\tnull\tnull\tnull\tnull\tnull\tnull\tnull\tnull\n",                                                    "Invalid file format\nI/O error 30.\n"},
        CloseFailureCase{"EmptyFile",      "",          "",                                                                                                       "I/O error 30.\n"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The user's locale counts: with a comma locale, "1,5" is a number.
TEST(CheckToolLocale, FollowsTheUsersDecimalSeparator) {
  TempDir dir;
  const std::filesystem::path locales = dir.Path() / "locales";
  if (!testing::CompileLocale(locales, "de_DE.UTF-8")) {
    GTEST_SKIP() << "localedef or the de_DE locale source is not available";
  }
  std::string path = dir.Write("comma.txt", "1,5 2.5\n");
  RunResult r = RunCheck({path}, testing::LocaleEnvironment(locales, "de_DE.UTF-8"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1.5\t2.5\tnull\tnull\tnull\tnull\tnull\tnull\tnull\n");
  r = RunCheck({path});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace plotvik
