// The step cursor in the main window at a million points: a press of → (the key's whole work:
// the cursor's move and the repaint it requests), a press with the new frame of the shown page,
// and the first press after a load, which takes the points' height order. Targets: a press
// within a frame's time (16 ms) and, after the first press, no lasting memory beyond a small
// fraction of what the records take. The counters give the heap memory the cursor keeps after
// its presses (kept_by_cursor_MB) against what the load took (load_MB).

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "app/step_cursor_view.h"
#include "chart/db_chart.h"
#include "platform/gui/application.h"
#include "platform/locale_settings.h"

namespace plotvik {
namespace {

TApplication* application = nullptr;
constexpr int kLines = 1000000;

std::string Fixed(double value, int decimals) {
  char text[32];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return std::string(text, result.ptr);
}

// A dipole-like sweep as bench/make_sweep.sh writes it, heights rising from 2 to 20; shuffled,
// the same lines in no order, so that taking the height order must sort.
std::string WriteSweep(const std::filesystem::path& file, bool shuffled) {
  std::vector<std::string> lines;
  lines.reserve(kLines);
  for (int i = 0; i < kLines; ++i) {
    const double h = 2 + 18.0 * i / (kLines - 1);
    const double r = 70 + 25 * std::sin(h * 0.9) + 0.3 * h;
    const double x = 10 * std::cos(h * 1.3) - 4;
    const double swr = 1 + std::sqrt((r - 50) * (r - 50) + x * x) / 60;
    lines.push_back(std::to_string(i) + " 1 " + Fixed(h, 4) + " " + Fixed(r, 3) + " " +
                    Fixed(x, 3) + " " + Fixed(swr, 3) + " " + Fixed(2.1 + 3 * std::sin(h / 3), 2) +
                    " " + Fixed(8 + 6 * std::cos(h / 2), 2) + " " + Fixed(90 - 3.5 * h, 1) + "\n");
  }
  if (shuffled) std::shuffle(lines.begin(), lines.end(), std::mt19937(12345));
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (const std::string& line : lines) out << line;
  return file.string();
}

// The bytes the program holds on its heap now, whatever the heap keeps from the system besides.
double HeldMegabytes() {
  const struct mallinfo2 info = ::mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / (1024 * 1024);
}

struct LoadedSweep {
  explicit LoadedSweep(bool shuffled) {
    dir = std::filesystem::temp_directory_path() /
          ("plotvik-step-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    file = WriteSweep(dir / (shuffled ? "shuffled.txt" : "sweep.txt"), shuffled);
    form = std::make_unique<TForm1>(*application);
    Load();
  }
  ~LoadedSweep() {
    form.reset();
    std::filesystem::remove_all(dir);
  }
  // A load as File > Open makes it, then the first frame of the shown page.
  void Load() {
    const double before = HeldMegabytes();
    form->OpenFile(file);
    PageChart(*form, 0).PaintWindow();
    loadMegabytes = HeldMegabytes() - before;
  }
  void Frame() { PageChart(*form, 0).PaintWindow(); }

  std::filesystem::path dir;
  std::string file;
  std::unique_ptr<TForm1> form;
  // What the load added: the records and the six charts' points.
  double loadMegabytes = 0;
};

void Press(TStepCursorView& cursor, std::optional<int>& last) {
  cursor.Step(1);
  // At the end a press moves nothing; come back to the start to keep moving.
  if (cursor.Record() == last) cursor.First();
  last = cursor.Record();
}

void BM_PressAtAMillionPoints(benchmark::State& state) {
  LoadedSweep sweep(false);
  TStepCursorView& cursor = sweep.form->StepCursor();
  std::optional<int> last;
  Press(cursor, last);
  for (auto _ : state) Press(cursor, last);
}
BENCHMARK(BM_PressAtAMillionPoints)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_PressAndItsFrameAtAMillionPoints(benchmark::State& state) {
  LoadedSweep sweep(false);
  TStepCursorView& cursor = sweep.form->StepCursor();
  std::optional<int> last;
  Press(cursor, last);
  sweep.Frame();
  for (auto _ : state) {
    Press(cursor, last);
    sweep.Frame();
  }
}
BENCHMARK(BM_PressAndItsFrameAtAMillionPoints)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// The same frame without a press, for comparison: what the chart's million points cost.
void BM_FrameAloneAtAMillionPoints(benchmark::State& state) {
  LoadedSweep sweep(false);
  for (auto _ : state) {
    PageChart(*sweep.form, 0).Repaint();
    sweep.Frame();
  }
}
BENCHMARK(BM_FrameAloneAtAMillionPoints)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// state.range(0): 1 for the shuffled sweep.
void BM_FirstPressAfterALoad(benchmark::State& state) {
  LoadedSweep sweep(state.range(0) != 0);
  const double load = sweep.loadMegabytes;
  // The first press and twenty more on the fresh load: what stays is what the cursor keeps.
  const double before = HeldMegabytes();
  for (int i = 0; i < 21; ++i) sweep.form->StepCursor().Step(1);
  const double kept = HeldMegabytes() - before;
  for (auto _ : state) {
    state.PauseTiming();
    sweep.Load();
    state.ResumeTiming();
    sweep.form->StepCursor().Step(1);
  }
  state.counters["load_MB"] = load;
  state.counters["kept_by_cursor_MB"] = kept;
}
BENCHMARK(BM_FirstPressAfterALoad)
    ->ArgName("shuffled")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
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
