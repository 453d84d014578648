// A whole frame of an empty 623 x 379 chart as the viewer shows it (panel, bevel, outline, both
// axes with labels, ticks, grid and titles), and a paint answered from the still-valid buffer.
// Targets on the reference machine: 2 ms per frame, 0.3 ms per buffered paint.

#include <benchmark/benchmark.h>

#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/chart_series.h"
#include "chart/custom_chart.h"

namespace plotvik {
namespace {

struct ViewerChart {
  ViewerChart() {
    chart.SetView3D(false);
    chart.SetBounds(0, 0, 623, 379);
    chart.BottomAxis().Title().SetCaption("Height, m");
    chart.LeftAxis().Title().SetCaption("SWR");
    chart.LeftAxis().SetIncrement(0.1);
    series.SetSeriesColor(clRed);
    series.SetParentChart(&chart);
  }
  ~ViewerChart() { series.SetParentChart(nullptr); }
  TCustomChart chart;
  TChartSeries series;
};

void BM_FullFrame(benchmark::State& state) {
  ViewerChart v;
  v.chart.PaintWindow();
  for (auto _ : state) {
    v.chart.Repaint();
    v.chart.Update();
  }
  benchmark::DoNotOptimize(v.chart.WindowImage().Pixel(300, 200));
}
BENCHMARK(BM_FullFrame)->Unit(benchmark::kMillisecond);

void BM_PaintFromBuffer(benchmark::State& state) {
  ViewerChart v;
  v.chart.PaintWindow();
  for (auto _ : state) v.chart.PaintWindow();
  benchmark::DoNotOptimize(v.chart.WindowImage().Pixel(300, 200));
}
BENCHMARK(BM_PaintFromBuffer)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plotvik

BENCHMARK_MAIN();
