// A sweep file that another program is still writing must never load as if it were complete.
// Where the system grants a read lease the file is refused at the open; elsewhere it is watched
// while it is read. Both ways are tested here whatever the machine offers: the lease can be
// switched off, and a test of the lease itself says plainly when the system grants none.

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "import/line_reader.h"
#include "import/sweep_file_loader.h"
#include "platform/component.h"
#include "platform/exceptions.h"
#include "platform/os_file.h"
#include "table/data_set.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"
#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

using testing::TempDir;

// Fifty lines "k k.5": far more than one 128-byte read.
std::string FiftyLines() {
  std::string text;
  for (int k = 1; k <= 50; ++k) text += std::to_string(k) + " " + std::to_string(k) + ".5\n";
  return text;
}

bool LeasesGranted(const std::string& path) {
  OsFile probe;
  return probe.OpenForReading(path) == 0 && probe.Leased();
}

// Opens take no lease while one of these lives.
struct NoLeases {
  NoLeases() { OsFile::SetTakeLeases(false); }
  ~NoLeases() { OsFile::SetTakeLeases(true); }
};

// A child process that holds `path` open for writing until it is released (or destroyed).
class Writer {
 public:
  explicit Writer(const std::string& path) {
    int ready[2], release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      ::close(release[1]);
      const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
      char c = fd >= 0 ? 'y' : 'n';
      (void)!::write(ready[1], &c, 1);
      (void)!::read(release[0], &c, 1);
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    char c = 'n';
    opened_ = ::read(ready[0], &c, 1) == 1 && c == 'y';
    ::close(ready[0]);
    release_ = release[1];
  }
  ~Writer() { Release(); }
  bool Opened() const { return opened_; }
  void Release() {
    if (pid_ <= 0) return;
    ::close(release_);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool opened_ = false;
};

class FileBeingWritten : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { OsFile::SetTakeLeases(GetParam()); }
  void TearDown() override { OsFile::SetTakeLeases(true); }

  // A writer that opens the file without waiting: refused while a lease is held.
  bool WriterMustWait(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK);
    if (fd >= 0) {
      ::close(fd);
      return false;
    }
    return errno == EWOULDBLOCK;
  }

  TempDir dir;
  TComponent owner{"Form1"};
  TMemTable& table = CreateSweepTable(owner);
  TSweepFileLoader loader{table};
  TNamedFileUi ui;
};

// With the lease, a file that a child process holds open for writing is refused at the open
// with error 32 and the table keeps the records it had; once the writer is gone it loads.
TEST_P(FileBeingWritten, AnOpenWriterIsRefusedWhereLeasesAreGranted) {
  const std::string before = dir.Write("before.txt", "7 8 9\n");
  const std::string path = dir.Write("sweep.txt", FiftyLines());
  if (GetParam() && !LeasesGranted(path)) {
    GTEST_SKIP() << "this file system grants no read lease; the watched reading is tested below";
  }
  ui.SetFileName(before);
  loader.actOpenFileExecute(ui);
  Writer writer(path);
  ASSERT_TRUE(writer.Opened());
  ui.SetFileName(path);
  if (GetParam()) {
    try {
      loader.actOpenFileExecute(ui);
      ADD_FAILURE() << "a file open for writing was loaded";
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.ErrorCode(), 32);
      EXPECT_EQ(e.Message(), "I/O error 32");
    }
    EXPECT_EQ(loader.SweepFile().PendingIOCode(), 0);
    EXPECT_EQ(table.RecordCount(), 1);
    writer.Release();
  } else {
    // Without a lease the writer cannot be seen; as long as it writes nothing, the file is whole.
  }
  loader.actOpenFileExecute(ui);
  EXPECT_EQ(table.RecordCount(), 50);
  EXPECT_EQ(ui.WarningCount(), 0);
}

// A writer that opens the file during the load: under the lease it has to wait until the load
// has closed the file, and the load is whole; without one its change ends the load with the
// warning, keeping the records read before the change.
TEST_P(FileBeingWritten, AWriterDuringTheLoadWaitsOrSpoilsTheLoad) {
  const std::string path = dir.Write("sweep.txt", FiftyLines());
  const bool leased = GetParam() && LeasesGranted(path);
  int posts = 0;
  bool waited = false;
  table.AfterPost = [&](TDataSet&) {
    if (++posts != 1) return;
    if (leased) {
      waited = WriterMustWait(path);
    } else {
      std::ofstream(path, std::ios::app) << "51 51.5\n";
    }
  };
  ui.SetFileName(path);
  loader.actOpenFileExecute(ui);
  table.AfterPost = nullptr;
  EXPECT_EQ(loader.SweepFile().PendingIOCode(), 0);
  if (leased) {
    EXPECT_TRUE(waited);
    EXPECT_EQ(ui.WarningCount(), 0);
    EXPECT_EQ(table.RecordCount(), 50);
    EXPECT_FALSE(WriterMustWait(path)) << "the lease outlived the load";
    return;
  }
  EXPECT_EQ(ui.Warning(), std::optional<std::string>(kInvalidFileFormat));
  table.Cancel();
  // What the first read brought stays, every record as the file has it.
  EXPECT_GT(table.RecordCount(), 1);
  EXPECT_LT(table.RecordCount(), 50);
  int k = 1;
  for (table.First(); !table.Eof(); table.Next(), ++k) {
    EXPECT_EQ(table.Fields(0).AsFloat(), k);
    EXPECT_EQ(table.Fields(1).AsFloat(), k + 0.5);
  }
}

INSTANTIATE_TEST_SUITE_P(Import, FileBeingWritten, ::testing::Values(true, false),
                         [](const auto& info) {
                           return std::string(info.param ? "Leased" : "Watched");
                         });

// A child process that opens `path` for writing the way an editor saving it does: a plain,
// blocking open, which a read lease holds up until the lease goes.
class BlockingWriter {
 public:
  explicit BlockingWriter(const std::string& path, const std::string& text = {}) {
    int opened[2];
    if (::pipe(opened) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(opened[0]);
      const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
      if (fd >= 0 && !text.empty()) (void)!::write(fd, text.data(), text.size());
      char c = fd >= 0 ? 'y' : 'n';
      (void)!::write(opened[1], &c, 1);
      ::_exit(0);
    }
    ::close(opened[1]);
    opened_ = opened[0];
  }
  ~BlockingWriter() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    ::close(opened_);
  }
  BlockingWriter(const BlockingWriter&) = delete;
  BlockingWriter& operator=(const BlockingWriter&) = delete;

  // Whether the open (and the write after it) got through within `limit`.
  bool DoneWithin(std::chrono::milliseconds limit) {
    pollfd done{opened_, POLLIN, 0};
    char c = 'n';
    return ::poll(&done, 1, static_cast<int>(limit.count())) == 1 && ::read(opened_, &c, 1) == 1 &&
           c == 'y';
  }

 private:
  pid_t pid_ = -1;
  int opened_ = -1;
};

// Runs `onWarning` while the warning box would be up.
class WarningUi : public TSweepFileUi {
 public:
  WarningUi(std::string fileName, std::function<void()> onWarning)
      : fileName_(std::move(fileName)), onWarning_(std::move(onWarning)) {}
  std::optional<std::string> ChooseFile() override { return fileName_; }
  void ShowWarning(const std::string&) override {
    ++warnings;
    onWarning_();
  }
  int warnings = 0;

 private:
  std::string fileName_;
  std::function<void()> onWarning_;
};

// Far below the kernel's lease-break time (45 s unless set otherwise): a writer held up by the
// lease until the box is closed would miss it.
constexpr std::chrono::milliseconds kWriterPatience{5000};

struct StoppingLine {
  const char* name;
  const char* text;
};

class LeaseAtTheWarning : public ::testing::TestWithParam<StoppingLine> {};

// The warning box waits for the user, so the lease must be gone while it is up; the file itself
// is closed only after it, as before.
TEST_P(LeaseAtTheWarning, AWriterGetsThroughWhileTheWarningIsUp) {
  TempDir dir;
  const std::string path = dir.Write("sweep.txt", FiftyLines() + GetParam().text + FiftyLines());
  if (!LeasesGranted(path)) GTEST_SKIP() << "this file system grants no read lease";
  TComponent owner{"Form1"};
  TMemTable& table = CreateSweepTable(owner);
  TSweepFileLoader loader{table};
  bool openDuringWarning = false;
  bool writerThrough = false;
  WarningUi ui(path, [&] {
    openDuringWarning = loader.SweepFile().IsOpen();
    BlockingWriter writer(path);
    writerThrough = writer.DoneWithin(kWriterPatience);
  });
  loader.actOpenFileExecute(ui);
  EXPECT_EQ(ui.warnings, 1);
  EXPECT_TRUE(openDuringWarning);
  EXPECT_TRUE(writerThrough) << "a writer waited on the lease while the warning was up";
  EXPECT_FALSE(loader.SweepFile().IsOpen());
  EXPECT_EQ(table.RecordCount(), 50);
}

INSTANTIATE_TEST_SUITE_P(Import, LeaseAtTheWarning,
                         ::testing::Values(StoppingLine{"NotANumber", "1 2 x\n"},
                                           StoppingLine{"TenthColumn", "1 2 3 4 5 6 7 8 9 10\n"},
                                           StoppingLine{"Overflow", "1e400\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A writer's open without waiting, refused with EWOULDBLOCK while a read lease stands in its
// way. The refusal begins the lease's break as a waiting open would.
bool Knock(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  return false;
}

struct LetInWriter {
  const char* name;
  bool appends;  // once let in
};

class WriterLetIn : public ::testing::TestWithParam<LetInWriter> {};

// A writer that comes while the file is read waits only until the reader next asks the system
// for data, not until the end: the reader gives the lease up and watches the file from then on,
// so whatever the writer does afterwards still keeps the read from ending as complete.
TEST_P(WriterLetIn, AWriterWaitsOnlyUntilTheReadersNextBlock) {
  TempDir dir;
  std::string text;
  for (int k = 1; text.size() <= 2 * OsFile::kReadAheadSize; ++k) {
    text += std::to_string(k) + " " + std::to_string(k) + ".5\n";
  }
  const std::string path = dir.Write("sweep.txt", text);
  if (!LeasesGranted(path)) GTEST_SKIP() << "this file system grants no read lease";
  OsFile file;
  ASSERT_EQ(file.OpenForReading(path), 0);
  std::string read;
  char buffer[128];
  std::size_t received = 0;
  int code = 0;
  ASSERT_EQ(file.Read(buffer, sizeof buffer, received), 0);
  read.append(buffer, received);
  EXPECT_FALSE(Knock(path)) << "no lease held the writer";
  while (read.size() <= OsFile::kReadAheadSize &&
         (code = file.Read(buffer, sizeof buffer, received)) == 0 && received > 0) {
    read.append(buffer, received);
  }
  ASSERT_EQ(code, 0);
  ASSERT_TRUE(Knock(path)) << "the writer still waits after the reader's next block";
  EXPECT_FALSE(file.Leased());
  if (GetParam().appends) std::ofstream(path, std::ios::app) << "99 99.5\n";
  while ((code = file.Read(buffer, sizeof buffer, received)) == 0 && received > 0) {
    read.append(buffer, received);
  }
  if (GetParam().appends) {
    EXPECT_EQ(code, 32) << "a file changed under the reader read as complete";
  } else {
    EXPECT_EQ(code, 0);
    EXPECT_EQ(read, text);
  }
}

INSTANTIATE_TEST_SUITE_P(Import, WriterLetIn,
                         ::testing::Values(LetInWriter{"WritesNothing", false},
                                           LetInWriter{"Appends", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The end of the data lets writers in at once, before the file is closed.
TEST(LeasedFile, TheEndOfTheDataReleasesTheLease) {
  TempDir dir;
  const std::string path = dir.Write("sweep.txt", FiftyLines());
  if (!LeasesGranted(path)) GTEST_SKIP() << "this file system grants no read lease";
  OsFile file;
  ASSERT_EQ(file.OpenForReading(path), 0);
  char buffer[4096];
  std::size_t received = 0;
  ASSERT_EQ(file.Read(buffer, sizeof buffer, received), 0);
  EXPECT_TRUE(file.Leased()) << "the lease went before the end of the data";
  ASSERT_EQ(file.Read(buffer, sizeof buffer, received), 0);
  ASSERT_EQ(received, 0u);
  EXPECT_FALSE(file.Leased());
  BlockingWriter writer(path);
  EXPECT_TRUE(writer.DoneWithin(kWriterPatience));
  EXPECT_TRUE(file.IsOpen());
}

// Sets the kernel's lease-break time to one second for the test, where the test may.
class ShortLeaseBreakTime : public ::testing::Test {
 protected:
  static constexpr const char* kSetting = "/proc/sys/fs/lease-break-time";
  void SetUp() override {
    std::ifstream(kSetting) >> saved_;
    std::ofstream out(kSetting);
    if (saved_.empty() || !(out << "1\n" << std::flush)) {
      GTEST_SKIP() << "the lease-break time cannot be changed here (needs root)";
    }
  }
  void TearDown() override {
    if (!saved_.empty()) std::ofstream(kSetting) << saved_ << "\n";
  }

 private:
  std::string saved_;
};

// A load longer than the lease-break time: the kernel breaks the lease and lets the waiting writer
// rewrite the file. From then on the reader checks the file as if it had no lease, so nothing of
// the new content is taken for the old file's records.
TEST_F(ShortLeaseBreakTime, AReaderWhoseLeaseTheKernelBrokeWatchesTheFile) {
  TempDir dir;
  const std::string path = dir.Write("sweep.txt", FiftyLines());
  if (!LeasesGranted(path)) GTEST_SKIP() << "this file system grants no read lease";
  TComponent owner{"Form1"};
  TMemTable& table = CreateSweepTable(owner);
  TSweepFileLoader loader{table};
  std::string rewritten;
  for (int k = 0; k < 60; ++k) rewritten += "99 99.5\n";
  bool writerThrough = false;
  int posts = 0;
  table.AfterPost = [&](TDataSet&) {
    if (++posts != 1) return;
    BlockingWriter writer(path, rewritten);
    writerThrough = writer.DoneWithin(kWriterPatience);
  };
  TNamedFileUi ui(path);
  loader.actOpenFileExecute(ui);
  table.AfterPost = nullptr;
  ASSERT_TRUE(writerThrough) << "the kernel did not break the lease";
  EXPECT_EQ(ui.Warning(), std::optional<std::string>(kInvalidFileFormat));
  table.Cancel();
  EXPECT_LT(table.RecordCount(), 50);
  int k = 1;
  for (table.First(); !table.Eof(); table.Next(), ++k) {
    EXPECT_EQ(table.Fields(0).AsFloat(), k);
    EXPECT_EQ(table.Fields(1).AsFloat(), k + 0.5);
  }
}

// Without a lease nothing past the size at the open is read, and a file that grew (or was
// rewritten in place) reports error 32 where its end would be.
TEST(WatchedFile, ReadsNoFurtherThanTheSizeAtTheOpen) {
  TempDir dir;
  const std::string text = FiftyLines();
  const std::string path = dir.Write("sweep.txt", text);
  NoLeases noLeases;
  OsFile file;
  ASSERT_EQ(file.OpenForReading(path), 0);
  EXPECT_FALSE(file.Leased());

  // Unchanged, the file reads whole and ends cleanly.
  std::string read;
  char buffer[128];
  std::size_t received = 0;
  int code = 0;
  while ((code = file.Read(buffer, sizeof buffer, received)) == 0 && received > 0) {
    read.append(buffer, received);
  }
  EXPECT_EQ(code, 0);
  EXPECT_EQ(read, text);

  ASSERT_EQ(file.OpenForReading(path), 0);
  ASSERT_EQ(file.Read(buffer, 100, received), 0);
  EXPECT_EQ(received, 100u);
  std::ofstream(path, std::ios::app) << std::string(1000, '9');
  EXPECT_EQ(file.Read(buffer, sizeof buffer, received), 32);
  EXPECT_EQ(received, 0u);
}

// A child appending while the whole file is read through the line reader: however the two
// interleave, the reading never ends as a clean read of more than the file had at the open.
TEST(WatchedFile, AnAppendingChildNeverGivesACleanLongerRead) {
  TempDir dir;
  const std::string text = FiftyLines();
  const std::string path = dir.Write("sweep.txt", text);
  NoLeases noLeases;
  TLineReader reader;
  reader.SetFileName(path);
  reader.OpenForReading();
  ASSERT_TRUE(reader.IsOpen());
  std::string line;
  reader.ReadLineText(line);
  const pid_t child = ::fork();
  if (child == 0) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    for (int i = 0; i < 200 && fd >= 0; ++i) (void)!::write(fd, "99 99.5\n", 8);
    ::_exit(0);
  }
  ASSERT_GT(child, 0);
  ::waitpid(child, nullptr, 0);
  std::size_t lines = 1;
  while (!reader.AtEnd()) {
    reader.SkipLineEnd();
    if (reader.AtEnd()) break;
    reader.ReadLineText(line);
    ++lines;
  }
  EXPECT_EQ(reader.PendingIOCode(), 32);
  EXPECT_LE(lines, 50u);
  EXPECT_THROW(reader.CheckIO(), EInOutError);
  reader.CloseReader();
  reader.CheckIO();
}

}  // namespace
}  // namespace plotvik
