// Loading a 10 MB sweep file and one of a million lines (about 54 MB) of valid nine-number lines
// into the record table, with no chart attached: the reader, the tokeniser, the conversion and
// the table's append/post path. "read_calls" counts the process's read system calls per load.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

#include "import/convert_to_float.h"
#include "import/sweep_file_loader.h"
#include "platform/component.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"

namespace {

using namespace plotvik;

// Lines shaped like a real sweep: a step number, the swept value twice, then impedance, SWR,
// gain, F/B and elevation with two or three decimals.
std::string MakeSweepText(std::size_t bytes, std::size_t lines = SIZE_MAX) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::string text;
  text.reserve(bytes + 128);
  char buffer[32];
  auto put = [&](double v, int decimals) {
    auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    text.append(buffer, r.ptr);
  };
  for (std::size_t step = 1; text.size() < bytes && step <= lines; ++step) {
    double h = 4.0 + static_cast<double>(step) * 0.001;
    put(static_cast<double>(step), 0), text += ' ';
    put(h, 3), text += ' ';
    put(h, 2), text += ' ';
    put(40 + 60 * unit(random), 3), text += ' ';
    put(-30 + 60 * unit(random), 3), text += ' ';
    put(1 + 3 * unit(random), 3), text += ' ';
    put(2 + 8 * unit(random), 2), text += ' ';
    put(20 * unit(random), 2), text += ' ';
    put(90 * unit(random), 1), text += "\r\n";
  }
  return text;
}

class SweepFile {
 public:
  SweepFile(std::size_t bytes, std::size_t lines) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "plotvik-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    path_ = (dir_ / "sweep.txt").string();
    text_ = MakeSweepText(bytes, lines);
    std::ofstream(path_, std::ios::binary)
        .write(text_.data(), static_cast<std::streamsize>(text_.size()));
  }
  ~SweepFile() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  const std::string& Path() const { return path_; }
  const std::string& Text() const { return text_; }

 private:
  std::filesystem::path dir_;
  std::string path_;
  std::string text_;
};

const SweepFile& TenMegabytes() {
  static SweepFile file(10 * 1024 * 1024, SIZE_MAX);
  return file;
}

const SweepFile& MillionLines() {
  static SweepFile file(SIZE_MAX, 1000000);
  return file;
}

// The read system calls this process has made so far.
std::int64_t ReadCalls() {
  std::ifstream io("/proc/self/io");
  std::string key;
  std::int64_t value = 0;
  while (io >> key >> value) {
    if (key == "syscr:") return value;
  }
  return 0;
}

void LoadSweepFile(benchmark::State& state, const SweepFile& file) {
  TComponent owner("Form1");
  TMemTable& table = CreateSweepTable(owner);
  TSweepFileLoader loader(table);
  TNamedFileUi ui(file.Path());
  const std::int64_t readsBefore = ReadCalls();
  for (auto _ : state) {
    loader.actOpenFileExecute(ui);
    if (ui.Warning()) state.SkipWithError("the generated file did not load");
  }
  state.counters["read_calls"] = benchmark::Counter(static_cast<double>(ReadCalls() - readsBefore),
                                                    benchmark::Counter::kAvgIterations);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(file.Text().size()));
  state.counters["records"] = table.RecordCount();
}

void BM_LoadSweepFile(benchmark::State& state) {
  LoadSweepFile(state, TenMegabytes());
}
BENCHMARK(BM_LoadSweepFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LoadMillionLines(benchmark::State& state) {
  LoadSweepFile(state, MillionLines());
}
BENCHMARK(BM_LoadMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

// The conversion alone over the same tokens, to tell its share from the table's.
void BM_ConvertTokens(benchmark::State& state) {
  const std::string& text = TenMegabytes().Text();
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::size_t start = 0;
    bytes = 0;
    for (std::size_t i = 0; i <= 1024 * 1024; ++i) {
      if (text[i] == ' ' || text[i] == '\r' || text[i] == '\n') {
        if (i > start)
          benchmark::DoNotOptimize(ConvertToFloat(std::string_view(text).substr(start, i - start)));
        start = i + 1;
      }
    }
    bytes += 1024 * 1024;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ConvertTokens)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
