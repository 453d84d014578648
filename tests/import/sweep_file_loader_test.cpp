#include "import/sweep_file_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "import/convert_to_float.h"
#include "platform/component.h"
#include "platform/exceptions.h"
#include "platform/format.h"
#include "platform/locale_settings.h"
#include "table/field.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"
#include "tests/import/temp_dir.h"
#include "tests/support/locale_separators.h"

namespace plotvik {
namespace {

using testing::TempDir;

std::string Data(const char* name) {
  return std::string(PLOTVIK_TEST_DATA) + "/" + name;
}

// Plays the open dialog (one queued answer per load) and counts the warnings.
class ScriptedUi : public TSweepFileUi {
 public:
  std::optional<std::string> next;
  std::vector<std::string> warnings;
  std::optional<std::string> ChooseFile() override { return std::exchange(next, std::nullopt); }
  void ShowWarning(const std::string& text) override { warnings.push_back(text); }
};

// The current record as "Id Val height ..." with null for an empty field.
std::string CurrentRecordText(const TDataSet& table) {
  std::string text;
  for (int i = 0; i < table.FieldCount(); ++i) {
    if (i > 0) text += ' ';
    const TField& field = table.Fields(i);
    if (field.IsNull()) {
      text += "null";
      continue;
    }
    char buffer[32];
    text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, field.AsFloat()).ptr);
  }
  return text;
}

// Every stored record; only for a browsing table, since a walk would post a pending record.
std::vector<std::string> StoredRecords(TDataSet& table) {
  EXPECT_EQ(table.State(), DataSetState::StateBrowse);
  std::vector<std::string> records;
  for (table.First(); !table.Eof(); table.Next()) records.push_back(CurrentRecordText(table));
  return records;
}

class LoaderTest : public ::testing::Test {
 protected:
  void Load(const std::string& path) {
    ui.next = path;
    loader.actOpenFileExecute(ui);
  }
  // The stored records of a failed load, read after dropping its pending record.
  std::vector<std::string> RecordsBehindPending() {
    table.Cancel();
    return StoredRecords(table);
  }

  TComponent owner{"Form1"};
  TMemTable& table = CreateSweepTable(owner);
  TSweepFileLoader loader{table};
  ScriptedUi ui;
};

struct FileCase {
  const char* fixture;
  std::vector<std::string> stored;
  // For a load that ends in the warning: the failing line's record, left pending.
  std::optional<std::string> pending;
  friend void PrintTo(const FileCase& c, std::ostream* os) { *os << c.fixture; }
};

class LoaderFiles : public LoaderTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(LoaderFiles, StoreTheExpectedRecords) {
  const FileCase& c = GetParam();
  Load(Data(c.fixture));
  EXPECT_FALSE(loader.SweepFile().IsOpen());
  EXPECT_EQ(loader.SweepFile().PendingIOCode(), 0);
  if (c.pending) {
    EXPECT_EQ(ui.warnings, std::vector<std::string>{"Invalid file format"});
    ASSERT_EQ(table.State(), DataSetState::StateInsert);
    EXPECT_EQ(CurrentRecordText(table), *c.pending);
    EXPECT_EQ(RecordsBehindPending(), c.stored);
  } else {
    EXPECT_TRUE(ui.warnings.empty());
    EXPECT_EQ(StoredRecords(table), c.stored);
  }
}

const std::string kNull9 = "null null null null null null null null null";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Fixtures, LoaderFiles,
    ::testing::Values(
        FileCase{"import_empty.txt",           {}, {}},
        FileCase{"import_ctrl_z_first.txt",    {}, {}},
        FileCase{"import_nine_numbers.txt",    {"1 2 3 4 5 6 7 8 9"}, {}},
        FileCase{"import_spaced_tokens.txt",   {"0 1 14.1 null null null null null null"}, {}},
        FileCase{"import_empty_last_line.txt", {"1 2 null null null null null null null", kNull9}, {}},
        FileCase{"import_blanks_and_tabs.txt", {kNull9, "7 null null null null null null null null"}, {}},
        FileCase{"import_cut_after_255.txt",   {"7 12345 null null null null null null null"}, {}},
        FileCase{"import_ctrl_z_inside.txt",   {"1 2 null null null null null null null"}, {}},
        FileCase{"import_ten_numbers.txt",     {"1 2 3 4 5 6 7 8 9"}, "1 2 3 4 5 6 7 8 9"},
        FileCase{"import_tab_separated.txt",   {}, kNull9},
        FileCase{"import_two_points.txt",      {}, "1 null null null null null null null null"},
        FileCase{"import_beyond_double.txt",   {}, "5 null null null null null null null null"},
        FileCase{"import_binary.bin",          {}, kNull9},
        FileCase{"import_double_range.txt",    {"1e-320 0 -0 5e-324 0 1.7976931348623157e+308 null null null"}, "1 null null null null null null null null"},
        FileCase{"import_fails_on_line_5.txt", {"1 4 4 70.456 20.251 1.617 5.92 0 90", "2 4.72 4.72 77.449 18.035 1.685 5.89 0 81", "3 5.45 5.45 82.895 13.548 1.726 5.8 0 60.5", "4 6.17 6.17 85.999 7.795 1.741 5.79 0 51"}, "5 6.9 6.9 86.666 null null null null null"}),
    [](const auto& info) {
      std::string name = info.param.fixture;
      name = name.substr(7, name.find('.') - 7);
      return name;
    });
// clang-format on

TEST_F(LoaderTest, RealSweepFilesLoadWhole) {
  for (const char* sample : {"sample_dipole.txt", "sample_yagi.txt"}) {
    std::string path = std::string(PLOTVIK_TEST_DATA) + "/" + sample;
    std::ifstream in(path);
    int lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    Load(path);
    EXPECT_TRUE(ui.warnings.empty()) << sample;
    EXPECT_EQ(table.RecordCount(), lines) << sample;
  }
}

TEST_F(LoaderTest, CommaLocaleTakesBothSeparators) {
  TempDir dir;
  std::string path = dir.Write("comma.txt", "1,5 2.25 3\n");
  {
    testing::SeparatorsScope comma(',');
    Load(path);
  }
  EXPECT_EQ(StoredRecords(table),
            std::vector<std::string>{"1.5 2.25 3 null null null null null null"});
}

TEST_F(LoaderTest, TokensAreRewrittenInPlaceAndCut) {
  testing::SeparatorsScope comma(',');
  table.Open();
  table.Append();
  std::string line = "1.5 2.5" + std::string(300, ' ') + "9";
  loader.ParseLineIntoRecord(line);
  EXPECT_EQ(CurrentRecordText(table), "1.5 2.5 null null null null null null null");
  // What is left: the text after the second token, itself only the 255 characters that
  // followed the first token.
  EXPECT_EQ(line, std::string(251, ' '));
  table.Cancel();
}

// The tokeniser as its rules read: the text read so far is cut off after every token, and of
// what follows a token only 255 characters are kept. The loader walks the line by index
// instead; on lines built around those rules both must store the same bits, fail with the same
// message and leave the same text behind.
struct ParseOutcome {
  std::vector<std::optional<std::uint64_t>> fields;
  std::string error;
  std::string rest;
  bool operator==(const ParseOutcome&) const = default;
  friend void PrintTo(const ParseOutcome& o, std::ostream* os) {
    for (const auto& f : o.fields) *os << (f ? std::to_string(*f) : "null") << ' ';
    *os << "error '" << o.error << "' rest of " << o.rest.size() << " bytes";
  }
};

ParseOutcome CuttingTokeniser(std::string line) {
  ParseOutcome outcome{std::vector<std::optional<std::uint64_t>>(9), {}, {}};
  auto visible = [&] {
    return std::any_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) > ' '; });
  };
  try {
    for (int column = 0; visible(); ++column) {
      std::size_t p = 0;
      while (line[p] == ' ') ++p;
      const std::size_t start = p;
      for (; p < line.size() && line[p] != ' '; ++p) {
        if (line[p] == '.') line[p] = LocaleDecimalChar;
      }
      if (column >= 9) throw EListError(Format("List index out of bounds (%d)", {column}));
      const auto value = static_cast<double>(ConvertToFloat(line.substr(start, p - start)));
      if (std::isinf(value)) throw EOverflow("Floating point overflow");
      outcome.fields[static_cast<std::size_t>(column)] = std::bit_cast<std::uint64_t>(value);
      line.erase(std::min(line.size(), p + 255));
      line.erase(0, p);
    }
  } catch (const Exception& e) {
    outcome.error = e.Message();
  }
  outcome.rest = line;
  return outcome;
}

// Tokens and gaps chosen to land on the rules' edges: runs of blanks about 255 long, '.' and
// ',' in both locales, tabs and NULs inside tokens, numbers beyond the double range, ten tokens.
std::string EdgeLine(std::mt19937& random) {
  static const char* const kTokens[] = {"1.5",    "-0.25",  "7",
                                        "1,5",    "3e2",    "1e999",
                                        "-1e999", "1e-999", "12345678901234567890123",
                                        "0.1.2",  "x",      "\t9",
                                        ".",      "-.5",    "+3.",
                                        "9e",     "2.5e+1", "00000000000000000000001.5"};
  std::uniform_int_distribution<int> tokenCount(0, 11);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kTokens) - 1);
  std::uniform_int_distribution<int> gapKind(0, 9);
  std::uniform_int_distribution<int> edge(250, 260);
  std::string line;
  const int tokens = tokenCount(random);
  for (int t = 0; t < tokens; ++t) {
    const int kind = gapKind(random);
    line.append(kind < 6 ? 1 : kind < 8 ? static_cast<std::size_t>(edge(random)) : 3, ' ');
    line += kTokens[pick(random)];
    if (kind == 9) line += std::string(1, '\0') + "4";
  }
  if (gapKind(random) == 0) line += std::string(static_cast<std::size_t>(edge(random)), ' ') + "8";
  return line;
}

TEST_F(LoaderTest, WalkingTheLineAgreesWithCuttingItAfterEveryToken) {
  table.Open();
  std::mt19937 random(24);
  for (char separator : {'.', ','}) {
    testing::SeparatorsScope scope(separator);
    for (int i = 0; i < 2000; ++i) {
      const std::string line = EdgeLine(random);
      ParseOutcome walked{std::vector<std::optional<std::uint64_t>>(9), {}, line};
      table.Append();
      try {
        loader.ParseLineIntoRecord(walked.rest);
      } catch (const Exception& e) {
        walked.error = e.Message();
      }
      for (int f = 0; f < 9; ++f) {
        double value = 0;
        if (table.Fields(f).GetData(&value)) {
          walked.fields[static_cast<std::size_t>(f)] = std::bit_cast<std::uint64_t>(value);
        }
      }
      table.Cancel();
      ASSERT_EQ(walked, CuttingTokeniser(line)) << "separator '" << separator << "', line " << i;
    }
  }
}

TEST_F(LoaderTest, TenthTokenFailsBeforeItIsConverted) {
  table.Open();
  table.Append();
  std::string line = "1 2 3 4 5 6 7 8 9 garbage";
  try {
    loader.ParseLineIntoRecord(line);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (9)");
  }
  EXPECT_EQ(CurrentRecordText(table), "1 2 3 4 5 6 7 8 9");
  table.Cancel();
}

TEST_F(LoaderTest, FailedLoadThenGoodLoadKeepsOnlyTheGoodRecords) {
  Load(Data("import_fails_on_line_5.txt"));
  ASSERT_EQ(table.State(), DataSetState::StateInsert);
  Load(Data("import_nine_numbers.txt"));
  EXPECT_EQ(ui.warnings.size(), 1u);
  EXPECT_EQ(StoredRecords(table), std::vector<std::string>{"1 2 3 4 5 6 7 8 9"});
}

TEST_F(LoaderTest, CancelledDialogChangesNothing) {
  Load(Data("import_ten_numbers.txt"));
  ui.next.reset();
  loader.actOpenFileExecute(ui);
  EXPECT_EQ(table.State(), DataSetState::StateInsert);
  EXPECT_EQ(CurrentRecordText(table), "1 2 3 4 5 6 7 8 9");
  EXPECT_EQ(RecordsBehindPending(), std::vector<std::string>{"1 2 3 4 5 6 7 8 9"});
}

// A file that cannot be opened raises the error-box exception and touches nothing: neither the
// records of the earlier load nor its pending record.
TEST_F(LoaderTest, UnopenableFilesLeaveEverythingInPlace) {
  TempDir dir;
  std::string fifo = (dir.Path() / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::pair<std::string, const char*> failures[] = {
      {(dir.Path() / "missing.txt").string(), "File not found"},
      {(dir.Path() / "missing" / "f.txt").string(), "Invalid filename"},
      {dir.Path().string(), "File access denied"},
      {fifo, "File access denied"},
      {"/dev/zero", "File access denied"},
      {dir.Path().string() + "/" + std::string(300, 'n'), "Invalid filename"}};
  Load(Data("import_fails_on_line_5.txt"));
  for (const auto& [path, message] : failures) {
    try {
      Load(path);
      ADD_FAILURE() << path << " opened";
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.Message(), message) << path;
    }
    EXPECT_EQ(loader.SweepFile().PendingIOCode(), 0);
    ASSERT_EQ(table.State(), DataSetState::StateInsert) << path;
    EXPECT_EQ(CurrentRecordText(table), "5 6.9 6.9 86.666 null null null null null");
  }
  EXPECT_EQ(RecordsBehindPending().size(), 4u);
  EXPECT_EQ(ui.warnings.size(), 1u);
}

TEST_F(LoaderTest, ReadFailureIsTheWarningWithoutARecord) {
  Load(Data("import_nine_numbers.txt"));
  Load("/proc/self/mem");  // every read fails with EIO
  EXPECT_EQ(ui.warnings, std::vector<std::string>{"Invalid file format"});
  EXPECT_EQ(loader.SweepFile().PendingIOCode(), 0);
  EXPECT_TRUE(StoredRecords(table).empty());
}

TEST_F(LoaderTest, HundredMegabyteLineEndsInTheWarning) {
  TempDir dir;
  std::string line;
  line.reserve(100 * 1024 * 1024 + 2);
  while (line.size() < 100 * 1024 * 1024) line += "1 ";
  std::string path = dir.Write("long.txt", line + "\n");
  line.clear();
  line.shrink_to_fit();
  Load(path);
  EXPECT_EQ(ui.warnings.size(), 1u);
  EXPECT_EQ(CurrentRecordText(table), "1 1 1 1 1 1 1 1 1");
  EXPECT_TRUE(RecordsBehindPending().empty());
}

TEST_F(LoaderTest, MillionEmptyLinesAreMillionNullRecords) {
  TempDir dir;
  Load(dir.Write("empty-lines.txt", std::string(1000000, '\n')));
  EXPECT_TRUE(ui.warnings.empty());
  EXPECT_EQ(table.RecordCount(), 1000000);
  table.First();
  EXPECT_EQ(CurrentRecordText(table), kNull9);
}

}  // namespace
}  // namespace plotvik
