#include "import/line_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/exceptions.h"
#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

using testing::TempDir;

// Reads a file the way the loader does, with a check after each step.
std::vector<std::string> ReadAllLines(const std::string& path) {
  TLineReader reader;
  reader.SetFileName(path);
  reader.OpenForReading();
  reader.CheckIO();
  std::vector<std::string> lines;
  std::string line;
  for (;;) {
    bool atEnd = reader.AtEnd();
    reader.CheckIO();
    if (atEnd) break;
    reader.ReadLineText(line);
    reader.SkipLineEnd();
    reader.CheckIO();
    lines.push_back(line);
  }
  reader.CloseReader();
  reader.CheckIO();
  return lines;
}

struct LineCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
  friend void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }
};

class LineRules : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineRules, YieldsTheExpectedLines) {
  TempDir dir;
  EXPECT_EQ(ReadAllLines(dir.Write("f.txt", GetParam().bytes)), GetParam().lines);
}

using namespace std::string_literals;

constexpr std::size_t kBlock = OsFile::kReadAheadSize;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Reader, LineRules,
    ::testing::Values(
        LineCase{"Empty",              "",                               {}},
        LineCase{"CtrlZFirst",         "\x1a" "1 2\n",                   {}},
        LineCase{"CrLf",               "12\r\n",                         {"12"}},
        LineCase{"NoFinalLineEnd",     "a\nb",                           {"a", "b"}},
        LineCase{"LfOnly",             "a\nb\n",                         {"a", "b"}},
        LineCase{"EmptyLastLine",      "a\n\n",                          {"a", ""}},
        LineCase{"SingleLineEnd",      "\n",                             {""}},
        LineCase{"EmptyCrLfLines",     "\r\n\r\n",                       {"", ""}},
        LineCase{"LoneCrDropped",      "a\rb\n",                         {"ab"}},
        LineCase{"LoneCrAtEndOfFile",  "a\r",                            {"a"}},
        LineCase{"LoneCrThenCrLf",     "a\r\r\nb",                       {"a", "b"}},
        LineCase{"CrBeforeCtrlZ",      "a\r\x1a",                        {"a"}},
        LineCase{"CtrlZInsideLine",    "a\x1a b\nc\n",                   {"a"}},
        LineCase{"CtrlZAfterLineEnd",  "a\n\x1a\nb",                     {"a"}},
        LineCase{"NulKept",            "a\0b\n"s,                        {"a\0b"s}},
        // 127 bytes put the CR last in the first 128-byte buffer and its LF first in the next.
        LineCase{"CrLfAcrossRefill",   std::string(127, 'x') + "\r\ny",  {std::string(127, 'x'), "y"}},
        LineCase{"LoneCrAcrossRefill", std::string(127, 'x') + "\rz\n",  {std::string(127, 'x') + "z"}},
        LineCase{"CtrlZAcrossRefill",  std::string(127, 'x') + "\r\x1a", {std::string(127, 'x')}},
        LineCase{"LongLineReadWhole",  std::string(1000, '7') + "\r\n1", {std::string(1000, '7'), "1"}},
        // The same at the seam of the large reads the pieces come from.
        LineCase{"CrLfAcrossBlocks",   std::string(kBlock - 1, 'x') + "\r\ny",  {std::string(kBlock - 1, 'x'), "y"}},
        LineCase{"LoneCrAcrossBlocks", std::string(kBlock - 1, 'x') + "\rz\n",  {std::string(kBlock - 1, 'x') + "z"}},
        LineCase{"LineOverTwoBlocks",  "a\n" + std::string(2 * kBlock, '5') + "\nb", {"a", std::string(2 * kBlock, '5'), "b"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Every way an open can fail ends in a pending code that CheckIO turns into the right message;
// the reader stays closed.
struct OpenFailure {
  const char* name;
  std::string (*makePath)(const TempDir&);
  int code;
  const char* message;
  friend void PrintTo(const OpenFailure& c, std::ostream* os) { *os << c.name; }
};

class OpenFailures : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(OpenFailures, RaiseTheMappedError) {
  TempDir dir;
  TLineReader reader;
  reader.SetFileName(GetParam().makePath(dir));
  reader.OpenForReading();
  EXPECT_FALSE(reader.IsOpen());
  try {
    reader.CheckIO();
    FAIL() << "no error pending";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode(), GetParam().code);
    EXPECT_EQ(e.Message(), GetParam().message);
  }
  EXPECT_EQ(reader.PendingIOCode(), 0);
}

// The first 259 characters name an existing file, which must not be opened in place of the one
// asked for.
std::string TooLongNameBeginningWithAFile(const TempDir& d) {
  std::string base = d.Path().string() + "/";
  std::string shortName(259 - base.size(), 'a');
  d.Write(shortName, "1 2 3\n");
  return base + shortName + "bbbbbbbbbb";
}

std::string NewFifo(const TempDir& d) {
  std::string path = (d.Path() / "fifo").string();
  ::mkfifo(path.c_str(), 0600);
  return path;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Reader, OpenFailures,
    ::testing::Values(
        OpenFailure{"MissingFile",   [](const TempDir& d) { return (d.Path() / "nope.txt").string(); },     2, "File not found"},
        OpenFailure{"MissingFolder", [](const TempDir& d) { return (d.Path() / "no" / "f.txt").string(); }, 3, "Invalid filename"},
        OpenFailure{"FileAsFolder",  [](const TempDir& d) { return d.Write("f", "1") + "/g.txt"; },         3, "Invalid filename"},
        OpenFailure{"EmptyName",     [](const TempDir&) { return std::string(); },                          3, "Invalid filename"},
        OpenFailure{"NameTooLong",   TooLongNameBeginningWithAFile,                                         3, "Invalid filename"},
        OpenFailure{"Directory",     [](const TempDir& d) { return d.Path().string(); },                    5, "File access denied"},
        OpenFailure{"Fifo",          NewFifo,                                                               5, "File access denied"},
        OpenFailure{"Device",        [](const TempDir&) { return std::string("/dev/zero"); },               5, "File access denied"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The name limit counts characters, not bytes: a Cyrillic letter takes two bytes of UTF-8.
struct NameLengthCase {
  const char* name;
  const char* letter;
  std::size_t characters;
  bool opens;
  friend void PrintTo(const NameLengthCase& c, std::ostream* os) { *os << c.name; }
};

class NameLengths : public ::testing::TestWithParam<NameLengthCase> {};

// An existing file whose full name has `characters` characters: the temp folder, then folders
// of `letter` (a folder name holds at most 255 bytes) down to the file.
std::string ExistingFileNamed(const TempDir& dir, const std::string& letter,
                              std::size_t characters) {
  std::string path = dir.Path().string();
  std::size_t left = characters - path.size();
  while (left > 0) {
    path += '/';
    --left;
    std::size_t part = std::min<std::size_t>(left, 100);
    if (left - part == 1) --part;  // a last part of one '/' alone would name nothing
    for (std::size_t i = 0; i < part; ++i) path += letter;
    left -= part;
    if (left > 0) ::mkdir(path.c_str(), 0700);
  }
  std::ofstream(path) << "1 2 3\n";
  return path;
}

TEST_P(NameLengths, CountCharacters) {
  const NameLengthCase& c = GetParam();
  TempDir dir;
  const std::string path = ExistingFileNamed(dir, c.letter, c.characters);
  ASSERT_EQ(::access(path.c_str(), R_OK), 0) << path;
  TLineReader reader;
  reader.SetFileName(path);
  reader.OpenForReading();
  EXPECT_EQ(reader.IsOpen(), c.opens);
  if (c.opens) {
    EXPECT_EQ(reader.PendingIOCode(), 0);
    reader.CloseReader();
  } else {
    EXPECT_EQ(reader.PendingIOCode(), 3);
    try {
      reader.CheckIO();
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.Message(), "Invalid filename");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Reader, NameLengths,
                         ::testing::Values(NameLengthCase{"Ascii259", "a", 259, true},
                                           NameLengthCase{"Ascii260", "a", 260, false},
                                           NameLengthCase{"Cyrillic259", "ж", 259, true},
                                           NameLengthCase{"Cyrillic260", "ж", 260, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Reader, UnreadableFileIsAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempDir dir;
  std::string path = dir.Write("secret.txt", "1\n");
  ::chmod(path.c_str(), 0);
  TLineReader reader;
  reader.SetFileName(path);
  reader.OpenForReading();
  EXPECT_EQ(reader.PendingIOCode(), 5);
}

TEST(Reader, NoDescriptorLeftIsTooManyOpenFiles) {
  TempDir dir;
  std::string path = dir.Write("f.txt", "1\n");
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  int lowestFree = ::dup(0);
  ASSERT_GE(lowestFree, 0);
  ::close(lowestFree);
  // With the limit at the lowest free descriptor, every descriptor a new open could get is over.
  rlimit tight = saved;
  tight.rlim_cur = static_cast<rlim_t>(lowestFree);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
  TLineReader reader;
  reader.SetFileName(path);
  reader.OpenForReading();
  ::setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_THROW(
      try { reader.CheckIO(); } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 4);
        EXPECT_EQ(e.Message(), "Too many open files");
        throw;
      },
      EInOutError);
}

TEST(Reader, ReadFailureEndsTheFileWithItsCodePending) {
  // Reading this file at offset 0 fails with EIO: the first page of the address space is never
  // mapped.
  TLineReader reader;
  reader.SetFileName("/proc/self/mem");
  reader.OpenForReading();
  ASSERT_TRUE(reader.IsOpen());
  EXPECT_EQ(reader.PendingIOCode(), 0);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.PendingIOCode(), 30);
  EXPECT_THROW(reader.CheckIO(), EInOutError);
  // Afterwards the file just stays at its end.
  std::string line = "old";
  reader.ReadLineText(line);
  EXPECT_EQ(line, "");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.PendingIOCode(), 0);
  reader.CloseReader();
  reader.CheckIO();
}

// The read system calls this process has made so far.
long ReadCalls() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long value = 0;
  while (io >> key >> value) {
    if (key == "syscr:") return value;
  }
  return -1;
}

// The 128-byte pieces come out of large reads: four megabytes of lines, a whole number of
// pieces each, must not cost a read call per piece.
TEST(Reader, ALargeFileTakesFewReadCalls) {
  if (ReadCalls() < 0) GTEST_SKIP() << "this system does not count read calls";
  TempDir dir;
  std::string text;
  const std::string line = std::string(TLineReader::kBufferSize - 1, '1') + "\n";
  while (text.size() < 4 * 1024 * 1024) text += line;
  const std::string path = dir.Write("big.txt", text);
  const long before = ReadCalls();
  const std::vector<std::string> lines = ReadAllLines(path);
  const long calls = ReadCalls() - before;
  EXPECT_EQ(lines.size(), text.size() / line.size());
  EXPECT_EQ(lines.back(), line.substr(0, line.size() - 1));
  EXPECT_LE(calls, static_cast<long>(text.size() / kBlock + 8));
}

TEST(Reader, OperationsOnAClosedReaderReport103) {
  TLineReader reader;
  reader.SetFileName("unused");
  reader.CloseReader();
  EXPECT_THROW(
      try { reader.CheckIO(); } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 103);
        EXPECT_EQ(e.Message(), "I/O error 103");
        throw;
      },
      EInOutError);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.PendingIOCode(), 103);
}

// A failure waits in the reader it happened in: another reader's check does not raise it.
TEST(Reader, EachReaderKeepsItsOwnFailure) {
  TempDir dir;
  TLineReader missing;
  missing.SetFileName((dir.Path() / "nope.txt").string());
  missing.OpenForReading();
  TLineReader present;
  present.SetFileName(dir.Write("f.txt", "1\n"));
  present.OpenForReading();
  EXPECT_NO_THROW(present.CheckIO());
  present.CloseReader();
  EXPECT_EQ(missing.PendingIOCode(), 2);
  EXPECT_THROW(missing.CheckIO(), EInOutError);
}

// Closing after another failure keeps that failure pending, for its check to report.
TEST(Reader, CloseAfterFailureKeepsWhatWasPending) {
  TLineReader reader;
  reader.SetFileName("/proc/self/mem");
  reader.OpenForReading();
  ASSERT_TRUE(reader.IsOpen());
  EXPECT_TRUE(reader.AtEnd());
  reader.CloseAfterFailure();
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_EQ(reader.PendingIOCode(), 30);
}

TEST(Reader, ReopeningStartsAgainFromTheTop) {
  TempDir dir;
  std::string path = dir.Write("f.txt", "first\nsecond\n");
  TLineReader reader;
  reader.SetFileName(path);
  reader.OpenForReading();
  std::string line;
  reader.ReadLineText(line);
  reader.SkipLineEnd();
  reader.OpenForReading();  // still open: closed first
  reader.ReadLineText(line);
  EXPECT_EQ(line, "first");
  reader.SetFileName(dir.Write("g.txt", "other"));
  reader.OpenForReading();
  reader.ReadLineText(line);
  EXPECT_EQ(line, "other");
  reader.CloseReader();
  reader.CheckIO();
}

TEST(Reader, MessagesOfTheCodeTable) {
  const std::pair<int, const char*> table[] = {{2, "File not found"},
                                               {3, "Invalid filename"},
                                               {4, "Too many open files"},
                                               {5, "File access denied"},
                                               {100, "Read beyond end of file"},
                                               {101, "Disk full"},
                                               {106, "Invalid numeric input"},
                                               {32, "I/O error 32"},
                                               {104, "I/O error 104"}};
  for (const auto& [code, message] : table) EXPECT_EQ(IOErrorMessage(code), message) << code;
}

}  // namespace
}  // namespace plotvik
