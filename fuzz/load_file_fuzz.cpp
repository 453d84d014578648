// Loads the input as a whole sweep file through the real loader. The file lives in memory
// (memfd) and is reached by its /proc name, so each run costs no disk write.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "import/sweep_file_loader.h"
#include "platform/component.h"
#include "platform/exceptions.h"
#include "table/data_set.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"

namespace {

struct Fixture {
  plotvik::TComponent owner{"Form1"};
  plotvik::TMemTable& table = plotvik::CreateSweepTable(owner);
  plotvik::TSweepFileLoader loader{table};
  plotvik::TNamedFileUi ui;
  int fd = -1;
  Fixture() {
    fd = ::memfd_create("sweep", 0);
    if (fd < 0) std::abort();
    ui.SetFileName("/proc/self/fd/" + std::to_string(fd));
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fixture;
  if (::ftruncate(fixture.fd, 0) != 0) std::abort();
  if (size > 0 && ::pwrite(fixture.fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
  fixture.ui.ResetWarnings();
  fixture.loader.actOpenFileExecute(fixture.ui);  // the file opens, so nothing may escape
  if (fixture.loader.SweepFile().PendingIOCode() != 0) std::abort();
  if (fixture.loader.SweepFile().IsOpen()) std::abort();
  // A clean load leaves the table browsing, a warned one inserting its failing line's record.
  auto state = fixture.table.State();
  if (fixture.ui.WarningCount() == 0 && state != plotvik::DataSetState::StateBrowse) std::abort();
  if (fixture.ui.WarningCount() == 1 && state != plotvik::DataSetState::StateInsert) std::abort();
  if (fixture.ui.WarningCount() > 1) std::abort();
  // Never more records than lines.
  std::size_t lines = 1;
  for (std::size_t i = 0; i < size; ++i) lines += data[i] == '\n';
  if (static_cast<std::size_t>(fixture.table.RecordCount()) > lines) std::abort();
  return 0;
}
