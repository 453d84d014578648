// Following a file in the main window: one line appended to a followed 100,000-line sweep, taken
// into the table, the six charts and a new frame of the shown page, as the window does once the
// write has rested (target: at most 20 ms of processor time); a writer adding lines one at a
// time for a long while, whose memory must grow by what the lines hold and nothing more; and
// the memory a million-line sweep takes at its peak, opened and followed (target: following
// within a few megabytes of opening, as the lines pass through a block of the file at a time).

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/chart_pages.h"
#include "app/file_following.h"
#include "app/form1.h"
#include "chart/db_chart.h"
#include "platform/gui/application.h"
#include "platform/locale_settings.h"

namespace plotvik {
namespace {

TApplication* application = nullptr;

std::string Number(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string Line(int i) {
  return std::to_string(i) + " 0 " + Number(5 + i * 0.001) + " 50.5 -3.25 " +
         Number(1.2 + (i % 100) * 0.01) + " 7.5 15.25 35.0\n";
}

struct SweepFile {
  explicit SweepFile(int lines) {
    dir = std::filesystem::temp_directory_path() /
          ("plotvik-follow-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    file = (dir / "sweep.txt").string();
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < lines; ++i) out << Line(i);
    next = lines;
  }
  ~SweepFile() { std::filesystem::remove_all(dir); }
  void Append() { std::ofstream(file, std::ios::binary | std::ios::app) << Line(next++); }

  std::filesystem::path dir;
  std::string file;
  int next = 0;
};

struct FollowedSweep : SweepFile {
  explicit FollowedSweep(int lines) : SweepFile(lines) {
    form = std::make_unique<TForm1>(*application);
    form->Follow(file);
    PageChart(*form, 0).PaintWindow();
  }
  ~FollowedSweep() { form.reset(); }
  // What the window does once a write has rested: the look, then the shown page's paint.
  void Take() {
    form->Following().TakeChanges();
    PageChart(*form, 0).PaintWindow();
  }

  std::unique_ptr<TForm1> form;
};

void BM_OneLineAppendedToAFollowed100000LineSweep(benchmark::State& state) {
  FollowedSweep sweep(100000);
  for (auto _ : state) {
    state.PauseTiming();
    sweep.Append();
    state.ResumeTiming();
    sweep.Take();
  }
}
BENCHMARK(BM_OneLineAppendedToAFollowed100000LineSweep)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

long ResidentKilobytes() {
  std::FILE* status = std::fopen("/proc/self/statm", "r");
  if (status == nullptr) return 0;
  long pages = 0;
  long resident = 0;
  if (std::fscanf(status, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(status);
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Ten minutes of a line a second, without the waiting: state.range(0) lines, each taken on its
// own. The counters give the resident memory's growth over the run and per line.
void BM_WriterAddingLinesOneAtATime(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  long growth = 0;
  for (auto _ : state) {
    FollowedSweep sweep(1000);
    for (int i = 0; i < 50; ++i) {
      sweep.Append();
      sweep.Take();
    }
    const long before = ResidentKilobytes();
    for (int i = 0; i < lines; ++i) {
      sweep.Append();
      sweep.Take();
    }
    growth = ResidentKilobytes() - before;
  }
  state.counters["rss_growth_kB"] = static_cast<double>(growth);
  state.counters["bytes_per_line"] = static_cast<double>(growth) * 1024 / lines;
}
BENCHMARK(BM_WriterAddingLinesOneAtATime)
    ->Arg(600)
    ->Arg(6000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The resident peak since the last ResetPeak, in kilobytes.
long PeakKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("VmHWM:")) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return 0;
}

// Gives back what earlier runs freed, then starts the peak afresh from what is resident now.
void ResetPeak() {
  ::malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

// A million-line sweep loaded into a new window and its shown page drawn, opened (0) or
// followed (1). The counter is the resident peak's rise over what was resident before.
void BM_MillionLineSweepPeakMemory(benchmark::State& state) {
  const bool followed = state.range(0) != 0;
  SweepFile sweep(1000000);
  long rise = 0;
  for (auto _ : state) {
    ResetPeak();
    const long before = ResidentKilobytes();
    auto form = std::make_unique<TForm1>(*application);
    if (followed) {
      form->Follow(sweep.file);
    } else {
      form->OpenFile(sweep.file);
    }
    PageChart(*form, 0).PaintWindow();
    rise = PeakKilobytes() - before;
  }
  state.counters["peak_rise_MB"] = static_cast<double>(rise) / 1024;
}
BENCHMARK(BM_MillionLineSweepPeakMemory)
    ->ArgName("followed")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plotvik

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  plotvik::ReadLocaleSettings();
  int qtArgc = 1;
  plotvik::TApplication app(qtArgc, argv);
  plotvik::application = &app;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
