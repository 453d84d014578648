// Drawing cost of a viewer chart: a whole frame of the 623 x 379 chart with 10,000 and with
// 1,000,000 points (panel, axes with grid and labels, the line and its pointers), and one update
// of the zoom
// rubber band while the mouse drags (erase at the old corners, draw at the new ones).
#include <benchmark/benchmark.h>

#include <cmath>

#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/chart_zoom.h"
#include "chart/custom_chart.h"
#include "chart/line_series.h"
#include "raster/color.h"

namespace plotvik {
namespace {

struct ViewerChart {
  explicit ViewerChart(int points) {
    chart.SetView3D(false);
    chart.SetBounds(0, 0, 623, 379);
    chart.BottomAxis().Title().SetCaption("Parameter");
    chart.LeftAxis().Title().SetCaption("SWR");
    chart.LeftAxis().SetIncrement(0.1);
    chart.MouseHandler().SetAllowPanning(pmNone);
    series.SetSeriesColor(clRed);
    series.Pointer().SetVisible(true);
    series.Pointer().SetHorizSize(2);
    series.Pointer().SetVertSize(2);
    series.Pointer().SetInflateMargins(false);
    series.SetParentChart(&chart);
    for (int i = 0; i < points; ++i) series.AddPoint(i * 0.01, 1.5 + std::sin(i * 0.003));
    chart.PaintWindow();
  }
  ~ViewerChart() { series.SetParentChart(nullptr); }

  TCustomChart chart;
  TLineSeries series;
};

void BM_FullFrame10000Points(benchmark::State& state) {
  ViewerChart v(10000);
  for (auto _ : state) {
    v.chart.Repaint();
    v.chart.Update();
  }
  benchmark::DoNotOptimize(v.chart.WindowImage().Pixel(300, 200));
}
BENCHMARK(BM_FullFrame10000Points)->Unit(benchmark::kMillisecond);

// What a zoom, an undo or a page change costs on a sweep of a million lines: a whole new frame.
void BM_FullFrameMillionPoints(benchmark::State& state) {
  static ViewerChart v(1000000);
  for (auto _ : state) {
    v.chart.Repaint();
    v.chart.Update();
  }
  benchmark::DoNotOptimize(v.chart.WindowImage().Pixel(300, 200));
}
BENCHMARK(BM_FullFrameMillionPoints)->Unit(benchmark::kMillisecond);

void BM_RubberBandUpdate(benchmark::State& state) {
  ViewerChart v(10000);
  v.chart.DispatchMouseDown(mbLeft, {}, 100, 100);
  int step = 0;
  for (auto _ : state) {
    // Each move erases the band at the old corners and draws it at the new ones.
    ++step;
    v.chart.DispatchMouseMove({}, 400 + (step & 1), 300 + (step & 1));
  }
  v.chart.DispatchMouseUp(mbLeft, {}, 100, 100);
  benchmark::DoNotOptimize(v.chart.WindowImage().Pixel(100, 100));
}
BENCHMARK(BM_RubberBandUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace plotvik

BENCHMARK_MAIN();
