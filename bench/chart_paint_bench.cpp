// A whole frame of an empty 623 x 379 chart as the viewer shows it (panel, bevel, outline, both
// axes with labels, ticks, grid and titles), and a paint answered from the still-valid buffer.
// Targets on the reference machine: 2 ms per frame, 0.3 ms per buffered paint.
// Beside them, the raster's dense-chart load (raster_bench) through the chart surface with the
// plot clip, and axis labels with the font files' glyphs (an axis writes some 20 per frame).

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/wandering_curve.h"
#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/chart_pen.h"
#include "chart/chart_series.h"
#include "chart/custom_chart.h"
#include "platform/gui/font_glyphs.h"
#include "raster/bitmap.h"
#include "raster/canvas.h"

namespace plotvik {
namespace {

constexpr int kWidth = 623;
constexpr int kHeight = 379;
constexpr int kCount = 10000;

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

void BM_LinesAndPointersThroughTheSurface(benchmark::State& state) {
  const std::vector<TPoint> pts = WanderingCurve(kWidth, kHeight, kCount);
  TBitmap window(kWidth, kHeight);
  TChartCanvas3D surface(window.Canvas());
  TChartPen line, outline;
  line.SetColor(clRed);
  TBrush fill;
  fill.SetColor(clYellow);
  for (auto _ : state) {
    const TRect bounds =
        surface.BeginFrame(window.Canvas(), nullptr, {0, 0, kWidth, kHeight}, false);
    surface.ClipToPlot({19, 15, 604, 364}, 0, 0);
    surface.ApplyPen(line);
    surface.MoveToZ(pts[0].X, pts[0].Y, 0);
    for (int i = 1; i <= kCount; ++i) surface.LineToZ(pts[i].X, pts[i].Y, 0);
    surface.ApplyPen(outline);
    surface.ApplyBrush(fill, clWhite);
    for (int i = 0; i < kCount; ++i)
      surface.DrawRectangle(pts[i].X - 2, pts[i].Y - 2, pts[i].X + 3, pts[i].Y + 3);
    surface.Unclip();
    surface.PresentFrame(window.Canvas(), window.Canvas(), bounds);
    benchmark::DoNotOptimize(window.Pixels().data());
  }
}
BENCHMARK(BM_LinesAndPointersThroughTheSurface)->Unit(benchmark::kMillisecond);

void BM_AxisLabels(benchmark::State& state) {
  TBitmap bitmap(kWidth, kHeight);
  TCanvas& c = bitmap.Canvas();
  c.SetGlyphs(&WindowGlyphs());
  c.SetBackMode(TTextBackMode::Transparent);
  c.SetTextAlign(TA_RIGHT | TA_TOP);
  const char* labels[] = {"1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "1.7", "1.8", "1.9", "2",
                          "10",  "12",  "14",  "16",  "18",  "20",  "22",  "24",  "26",  "28"};
  for (auto _ : state) {
    int y = 10;
    for (const char* label : labels) {
      benchmark::DoNotOptimize(c.TextWidth(label));
      c.TextOut(40, y, label);
      y += 17;
    }
  }
}
BENCHMARK(BM_AxisLabels)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace plotvik

BENCHMARK_MAIN();
