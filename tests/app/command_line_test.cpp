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
  friend void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.name; }
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, Parses) {
  const CommandLineCase& c = GetParam();
  const TCommandLine line = ParseCommandLine(c.arguments);
  EXPECT_EQ(line.help, c.help);
  EXPECT_EQ(line.fileName, c.fileName);
  EXPECT_EQ(line.error.has_value(), c.error) << line.error.value_or("");
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
};

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineHelp, StartsWithTheUsageLineAndNamesEveryArgument) {
  const std::string help = HelpText("plotvik");
  EXPECT_EQ(help.rfind(UsageLine("plotvik") + "\n", 0), 0u);
  for (const char* word : {"FILE", "--", "--help", "QT_SCALE_FACTOR"}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace plotvik
