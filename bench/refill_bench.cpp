// Loading 1,000-line and 5,000-line sweep files through the loader into the record table with
// six data-bound charts attached, as the main window has them, without painting: every post
// refills every chart from all records so far, so a load of N lines adds 3N(N+1) points.
// The "allocs/visit" counter shows the heap allocations per record visited by a refill; the
// fixed-step growth of the value lists and the table's own per-line work keep it well below 1.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <optional>
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

// Lines shaped like the samples: step, height twice, R, jX, SWR, gain, F/B, elevation.
std::string WriteSweepFile(int lines) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("plotvik_refill_bench_" + std::to_string(lines) + ".txt");
  std::ofstream out(path, std::ios::binary);
  char buffer[32];
  auto put = [&](double v, int decimals, char after) {
    auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    out.write(buffer, r.ptr - buffer);
    out.put(after);
  };
  for (int step = 1; step <= lines; ++step) {
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

void BM_LoadWithSixCharts(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  const std::string path = WriteSweepFile(lines);
  TComponent form;
  TMemTable& table = CreateSweepTable(form);
  std::vector<std::unique_ptr<TDBChart>> charts;
  std::vector<std::unique_ptr<TChartSeries>> series;
  for (const char* quantity : kQuantities) {
    charts.push_back(std::make_unique<TDBChart>());
    series.push_back(std::make_unique<TChartSeries>());
    series.back()->XValues().SetValueSource("height");
    series.back()->YValues().SetValueSource(quantity);
    series.back()->SetDataSource(&table);
    series.back()->SetParentChart(charts.back().get());
  }
  TSweepFileLoader loader(table);
  TNamedFileUi ui(path);

  long long allocs = 0;
  for (auto _ : state) {
    const long long before = allocations.load(std::memory_order_relaxed);
    loader.actOpenFileExecute(ui);
    allocs += allocations.load(std::memory_order_relaxed) - before;
  }
  if (ui.Warning() || series[0]->PointCount() != lines) state.SkipWithError("load failed");

  const double visits = 6.0 * lines * (lines + 1) / 2.0;
  state.counters["points/load"] = visits;
  state.counters["allocs/load"] = static_cast<double>(allocs) / state.iterations();
  state.counters["allocs/visit"] = static_cast<double>(allocs) / state.iterations() / visits;

  series.clear();
  charts.clear();
  std::filesystem::remove(path);
}

BENCHMARK(BM_LoadWithSixCharts)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
