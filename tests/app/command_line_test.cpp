#include "app/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace plotvik {
namespace {

struct CommandLineCase {
  const char* name;
  std::vector<std::string> arguments;
  bool help;
  std::optional<std::string> fileName;
  bool error;
  std::vector<std::string> toolkit = {};
  friend void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.name; }
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, Parses) {
  const CommandLineCase& c = GetParam();
  const TCommandLine line = ParseCommandLine(c.arguments);
  EXPECT_EQ(line.help, c.help);
  EXPECT_EQ(line.fileName, c.fileName);
  EXPECT_EQ(line.error.has_value(), c.error) << line.error.value_or("");
  EXPECT_EQ(line.toolkitArguments, c.toolkit);
}

const CommandLineCase kCases[] = {
    {"Nothing", {}, false, std::nullopt, false},
    {"OneFile", {"sweep.txt"}, false, "sweep.txt", false},
    {"NameWithBlanksAndCyrillic", {"/tmp/мой свип.txt"}, false, "/tmp/мой свип.txt", false},
    {"TwoFiles", {"a.txt", "b.txt"}, false, std::nullopt, true},
    {"UnknownLongOption", {"--scale", "2"}, false, std::nullopt, true},
    {"UnknownShortOption", {"-x", "a.txt"}, false, std::nullopt, true},
    {"DashNameNeedsTheEnd", {"-sweep.txt"}, false, std::nullopt, true},
    {"EndOfOptionsThenDashName", {"--", "-sweep.txt"}, false, "-sweep.txt", false},
    {"EndOfOptionsThenHelpIsAName", {"--", "--help"}, false, "--help", false},
    {"EndOfOptionsStillOneFile", {"--", "a.txt", "b.txt"}, false, std::nullopt, true},
    {"EndOfOptionsAlone", {"--"}, false, std::nullopt, false},
    {"EmptyName", {""}, false, std::nullopt, true},
    {"Help", {"--help"}, true, std::nullopt, false},
    {"ShortHelp", {"-h"}, true, std::nullopt, false},
    {"HelpBeatsAnError", {"a.txt", "--bogus", "--help"}, true, std::nullopt, false},
    {"HelpTakesNoValue", {"--help=yes"}, true, std::nullopt, false},
    {"NotUtf8KeepsItsBytes", {"bad\xff\xfe.txt"}, false, "bad\xff\xfe.txt", false},
    {"LoneDashIsAName", {"-"}, false, "-", false},
    // The toolkit's options pass to it with their values and never count as the file.
    {"ToolkitOptionWithValue",
     {"-platform", "offscreen", "a.txt"},
     false,
     "a.txt",
     false,
     {"-platform", "offscreen"}},
    {"ToolkitOptionWithTwoDashes",
     {"a.txt", "--display", ":1"},
     false,
     "a.txt",
     false,
     {"--display", ":1"}},
    {"ToolkitValueLooksLikeAnOption",
     {"-qwindowtitle", "--help"},
     false,
     std::nullopt,
     false,
     {"-qwindowtitle", "--help"}},
    {"ToolkitAttachedValueAndFlag",
     {"-style=fusion", "-reverse"},
     false,
     std::nullopt,
     false,
     {"-style=fusion", "-reverse"}},
    {"ToolkitValueMissing", {"a.txt", "-platform"}, false, std::nullopt, true, {"-platform"}},
    {"ToolkitFormItDoesNotRead", {"-platform=xcb"}, false, std::nullopt, true},
    {"ToolkitOptionAfterTheEndIsAName", {"--", "-platform"}, false, "-platform", false},
    // An option of ours counts once; help still wins, as over any other error.
    {"AnalysisTwice", {"--analysis", "a.txt", "--analysis"}, false, std::nullopt, true},
    {"HelpUnderBothNames", {"-h", "--help"}, true, std::nullopt, false},
    {"VersionTwiceThenHelp", {"--version", "--version", "--help"}, true, std::nullopt, false},
    // The toolkit's options are the toolkit's to judge.
    {"ToolkitOptionTwice",
     {"-reverse", "-reverse", "a.txt"},
     false,
     "a.txt",
     false,
     {"-reverse", "-reverse"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --version is answered like --help, before anything else on the line is judged; after "--" it is
// a file name.
TEST(CommandLineVersion, AnsweredBeforeTheRestUnlessAfterTheEndOfOptions) {
  EXPECT_TRUE(ParseCommandLine({"--version"}).version);
  EXPECT_TRUE(ParseCommandLine({"a.txt", "b.txt", "--version"}).version);
  EXPECT_FALSE(ParseCommandLine({"--version", "--bogus"}).error.has_value());
  const TCommandLine both = ParseCommandLine({"--version", "--help"});
  EXPECT_TRUE(both.help);
  EXPECT_FALSE(both.version);
  const TCommandLine named = ParseCommandLine({"--", "--version"});
  EXPECT_FALSE(named.version);
  EXPECT_EQ(named.fileName, "--version");
}

TEST(CommandLineHelp, StartsWithTheUsageLineAndNamesEveryArgument) {
  const std::string help = HelpText("plotvik");
  EXPECT_EQ(help.rfind(UsageLine("plotvik") + "\n", 0), 0u);
  for (const char* word : {"FILE", "--", "--help", "--version", "QT_SCALE_FACTOR"}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
}

TEST(CommandLineAnalysis, ShowsTheMarksFromTheStartOnlyWhenAsked) {
  EXPECT_FALSE(ParseCommandLine({"a.txt"}).analysis);
  const TCommandLine withFile = ParseCommandLine({"--analysis", "a.txt"});
  EXPECT_TRUE(withFile.analysis);
  EXPECT_EQ(withFile.fileName, "a.txt");
  EXPECT_FALSE(withFile.error);
  EXPECT_TRUE(ParseCommandLine({"--analysis"}).analysis);
  const TCommandLine afterEnd = ParseCommandLine({"--", "--analysis"});
  EXPECT_FALSE(afterEnd.analysis);
  EXPECT_EQ(afterEnd.fileName, "--analysis");
}

}  // namespace
}  // namespace plotvik

namespace plotvik {
namespace {

struct OptionCase {
  const char* name;
  std::vector<std::string> arguments;
  std::optional<std::string> referenceFile;
  bool follow;
  std::optional<std::string> fileName;
  bool error;
  friend void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.name; }
};

class ReferenceAndFollowOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(ReferenceAndFollowOptions, Parse) {
  const OptionCase& c = GetParam();
  const TCommandLine line = ParseCommandLine(c.arguments);
  EXPECT_EQ(line.referenceFile, c.referenceFile);
  EXPECT_EQ(line.follow, c.follow);
  EXPECT_EQ(line.fileName, c.fileName);
  EXPECT_EQ(line.error.has_value(), c.error) << line.error.value_or("");
}

const OptionCase kOptionCases[] = {
    {"ReferenceAndFile", {"--ref", "old.txt", "new.txt"}, "old.txt", false, "new.txt", false},
    {"ReferenceWithEquals", {"--ref=old.txt", "new.txt"}, "old.txt", false, "new.txt", false},
    {"ReferenceAlone", {"--ref", "old.txt"}, "old.txt", false, std::nullopt, false},
    {"ReferenceWithoutName", {"new.txt", "--ref"}, std::nullopt, false, std::nullopt, true},
    {"ReferenceEmptyName", {"--ref=", "new.txt"}, std::nullopt, false, std::nullopt, true},
    {"FollowFile", {"--follow", "new.txt"}, std::nullopt, true, "new.txt", false},
    {"FollowNeedsAFile", {"--follow"}, std::nullopt, true, std::nullopt, true},
    {"ReferenceTwice",
     {"--ref", "a.txt", "--ref", "b.txt", "new.txt"},
     std::nullopt,
     false,
     std::nullopt,
     true},
    {"ReferenceTwiceOnceWithEquals",
     {"--ref=a.txt", "new.txt", "--ref", "b.txt"},
     std::nullopt,
     false,
     std::nullopt,
     true},
    {"ReferenceTwiceSameName",
     {"--ref", "a.txt", "--ref=a.txt"},
     std::nullopt,
     false,
     std::nullopt,
     true},
    {"FollowTwice", {"--follow", "new.txt", "--follow"}, std::nullopt, true, std::nullopt, true},
    {"FollowWithReference",
     {"--ref", "a.txt", "--follow", "--", "-b.txt"},
     "a.txt",
     true,
     "-b.txt",
     false},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReferenceAndFollowOptions, ::testing::ValuesIn(kOptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The usage line printed under every refusal shows every option that shapes a run.
TEST(CommandLineHelp, UsageLineShowsEveryOption) {
  EXPECT_EQ(UsageLine("plotvik"), "Usage: plotvik [--ref REF] [--follow] [--analysis] [--] [FILE]");
}

TEST(CommandLineRepeat, SaysWhichOptionIsRepeated) {
  EXPECT_EQ(ParseCommandLine({"--ref", "a.txt", "--ref", "b.txt", "c.txt"}).error,
            "the option --ref is given more than once");
  // The second value is taken as the option's, not as the file: the refusal is about --ref.
  EXPECT_EQ(ParseCommandLine({"--ref", "a.txt", "--ref", "b.txt"}).error,
            "the option --ref is given more than once");
}

TEST(CommandLineHelp, NamesTheNewOptionsAndKeys) {
  const std::string help = HelpText("plotvik");
  for (const char* word : {"--ref REF", "--follow", "F5", " L ", " S ", " R "}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace plotvik
