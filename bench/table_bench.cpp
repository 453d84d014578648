// Record table speed: building a table record by record as the loader does, and walking it
// as a chart refill does. Heap allocations are counted alongside, since a walk must not
// allocate per record.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/component.h"
#include "table/sweep_table.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
// GCC cannot see that our operator new is malloc underneath and warns about the free below.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void* operator new[](std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
#pragma GCC diagnostic pop

namespace plotvik {
namespace {

void AppendSetNinePost(benchmark::State& state) {
  TComponent form("Form1");
  TMemTable& table = CreateSweepTable(form);
  table.Open();
  TFields& fields = table.Fields();
  long records = 0;
  const long before = g_allocations.load();
  for (auto _ : state) {
    table.Append();
    for (int i = 0; i < 9; ++i) fields[i].SetValue(static_cast<double>(records + i));
    table.Post();
    // Keep memory bounded on long runs; a close empties the store.
    if (++records % 65536 == 0) {
      state.PauseTiming();
      table.Close();
      table.Open();
      state.ResumeTiming();
    }
  }
  state.counters["allocs/record"] =
      benchmark::Counter(static_cast<double>(g_allocations.load() - before) /
                         static_cast<double>(std::max(records, 1L)));
  state.SetItemsProcessed(records);
}
BENCHMARK(AppendSetNinePost);

void Walk10000(benchmark::State& state) {
  constexpr int kRecords = 10000;
  TComponent form("Form1");
  TMemTable& table = CreateSweepTable(form);
  table.Open();
  for (int r = 0; r < kRecords; ++r) {
    table.Append();
    for (int i = 0; i < 9; ++i) table.Fields(i).SetValue(static_cast<double>(r * 10 + i));
    table.Post();
  }
  TField& x = table.FieldByName("height");
  TField& y = table.FieldByName("SWR");
  long walks = 0;
  long allocations = 0;
  for (auto _ : state) {
    const long before = g_allocations.load();
    double sum = 0.0;
    table.DisableControls();
    for (table.First(); !table.Eof(); table.Next()) {
      if (!y.IsNull()) sum += x.AsFloat() + y.AsFloat();
    }
    table.EnableControls();
    allocations += g_allocations.load() - before;
    benchmark::DoNotOptimize(sum);
    ++walks;
  }
  state.SetItemsProcessed(walks * kRecords);
  state.counters["ns/record"] =
      benchmark::Counter(static_cast<double>(walks * kRecords),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["allocs/walk"] = benchmark::Counter(static_cast<double>(allocations) /
                                                     static_cast<double>(std::max(walks, 1L)));
}
BENCHMARK(Walk10000);

}  // namespace
}  // namespace plotvik

BENCHMARK_MAIN();
