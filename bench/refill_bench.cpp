// Loading sweep files through the loader into the record table with six data-bound charts
// attached, as the main window has them, without painting, and refilling one chart from a full
// table. Every post refills every chart; a refill that finds only the new record to add adds
// just its point, so a load costs about as much as reading the file, whatever the order of the
// heights. The "allocs/line" counter shows the heap allocations per line of a load.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "chart/chart_series.h"
#include "chart/db_chart.h"
#include "import/sweep_file_loader.h"
#include "platform/component.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"

namespace {

std::atomic<long long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

using namespace plotvik;

// The order of the heights down the file: a sweep runs up or down, a merged file has them in
// any order, and a file of empty lines gives every chart null points all at height 0.
enum Heights : int { kRising, kFalling, kRandom, kEmptyLines };
const char* const kHeightNames[] = {"rising", "falling", "random", "empty lines"};

// Lines shaped like the samples: step, height twice, R, jX, SWR, gain, F/B, elevation.
std::string WriteSweepFile(int lines, Heights heights) {
  const auto path =
      std::filesystem::temp_directory_path() /
      ("plotvik_refill_bench_" + std::to_string(lines) + "_" + std::to_string(heights) + ".txt");
  std::ofstream out(path, std::ios::binary);
  std::vector<int> steps(static_cast<size_t>(lines));
  for (int i = 0; i < lines; ++i) steps[i] = heights == kFalling ? lines - i : i + 1;
  if (heights == kRandom) std::shuffle(steps.begin(), steps.end(), std::mt19937(13));
  char buffer[32];
  auto put = [&](double v, int decimals, char after) {
    auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    out.write(buffer, r.ptr - buffer);
    out.put(after);
  };
  for (int step : steps) {
    if (heights == kEmptyLines) {
      out.put('\n');
      continue;
    }
    const double h = 5.0 + 0.34 * (step - 1);
    put(step, 0, ' ');
    put(h, 2, ' ');
    put(h, 2, ' ');
    put(30.5 - 0.01 * step, 3, ' ');
    put(-3.4 + 0.001 * step, 3, ' ');
    put(1.65 + 0.0001 * step, 3, ' ');
    put(9.5 + 0.001 * step, 2, ' ');
    put(18.1 + 0.001 * step, 2, ' ');
    put(40.0 - 0.001 * step, 1, '\n');
  }
  return path.string();
}

const char* const kQuantities[] = {"SWR", "R", "jX", "Ga", "FB", "Elevation"};

// Six charts on the sweep table, bound as the main window binds them.
struct SixCharts {
  explicit SixCharts(bool incremental) : table(CreateSweepTable(form)) {
    for (const char* quantity : kQuantities) {
      charts.push_back(std::make_unique<TDBChart>());
      charts.back()->SetIncrementalRefill(incremental);
      series.push_back(std::make_unique<TChartSeries>());
      series.back()->XValues().SetValueSource("height");
      series.back()->YValues().SetValueSource(quantity);
      series.back()->SetDataSource(&table);
      series.back()->SetParentChart(charts.back().get());
    }
  }
  ~SixCharts() {
    series.clear();
    charts.clear();
  }
  // What a paint reads first: every series' point count and ranges.
  double Read() const {
    double sum = 0;
    for (const auto& s : series) sum += s->PointCount() + s->XMinimum() + s->YMaximum();
    return sum;
  }

  TComponent form;
  TMemTable& table;
  std::vector<std::unique_ptr<TDBChart>> charts;
  std::vector<std::unique_ptr<TChartSeries>> series;
};

// A whole File > Open: loader, table, six charts, and the first read of the charts after it.
// The second argument is the order of the heights; the third, when 1, makes every refill read
// the whole table (the reference way), to compare with.
void BM_LoadWithSixCharts(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  const auto heights = static_cast<Heights>(state.range(1));
  const bool reference = state.range(2) != 0;
  const std::string path = WriteSweepFile(lines, heights);
  SixCharts six(!reference);
  TSweepFileLoader loader(six.table);
  TNamedFileUi ui(path);

  long long allocs = 0;
  for (auto _ : state) {
    const long long before = allocations.load(std::memory_order_relaxed);
    loader.actOpenFileExecute(ui);
    benchmark::DoNotOptimize(six.Read());
    allocs += allocations.load(std::memory_order_relaxed) - before;
  }
  if (ui.Warning() || six.series[0]->PointCount() != lines) state.SkipWithError("load failed");
  state.SetLabel(std::string(kHeightNames[heights]) + (reference ? ", reference" : ""));
  state.counters["allocs/line"] = static_cast<double>(allocs) / state.iterations() / lines;
  std::filesystem::remove(path);
}

BENCHMARK(BM_LoadWithSixCharts)
    ->Args({1000, kRising, 0})
    ->Args({5000, kRising, 0})
    ->Args({10000, kRising, 0})
    ->Args({10000, kFalling, 0})
    ->Args({10000, kRandom, 0})
    ->Args({10000, kEmptyLines, 0})
    ->Args({100000, kRising, 0})
    ->Args({100000, kFalling, 0})
    ->Args({100000, kRandom, 0})
    ->Args({1000000, kEmptyLines, 0})
    ->Args({1000, kRising, 1})
    ->Args({1000, kFalling, 1})
    ->Unit(benchmark::kMillisecond);

// One refill of one chart from a full table, and the first read after it; with the heights in
// random order that read sorts every point.
void BM_RefillOneChart(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  const auto heights = static_cast<Heights>(state.range(1));
  const bool reference = state.range(2) != 0;
  const std::string path = WriteSweepFile(lines, heights);
  SixCharts six(!reference);
  for (auto& chart : six.charts) chart->SetAutoRefresh(false);
  TSweepFileLoader loader(six.table);
  TNamedFileUi ui(path);
  loader.actOpenFileExecute(ui);
  TDBChart& chart = *six.charts[0];
  for (auto _ : state) {
    chart.RefillFromTable(six.table);
    benchmark::DoNotOptimize(six.series[0]->PointCount() + six.series[0]->YMinimum());
  }
  if (six.series[0]->PointCount() != lines) state.SkipWithError("refill failed");
  state.SetLabel(std::string(kHeightNames[heights]) + (reference ? ", reference" : ""));
  std::filesystem::remove(path);
}

BENCHMARK(BM_RefillOneChart)
    ->Args({10000, kRising, 0})
    ->Args({10000, kFalling, 0})
    ->Args({10000, kRandom, 0})
    ->Args({100000, kRandom, 0})
    ->Args({1000000, kRandom, 0})
    ->Args({10000, kRising, 1})
    ->Args({10000, kFalling, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
