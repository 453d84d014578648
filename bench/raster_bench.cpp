// The raster's share of a dense chart: 10,000 one-pixel line segments of about 60 pixels and
// 10,000 pointers of 5 x 5 pixels (outline and fill) into a 623 x 379 buffer, plain and through
// the chart surface with the plot clip. Target on the reference machine: 5 ms for the lot.
// Text output and measurement are timed separately (an axis writes some 20 labels per frame).

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "chart/chart_canvas3d.h"
#include "chart/chart_pen.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"

namespace plotvik {
namespace {

constexpr int kWidth = 623;
constexpr int kHeight = 379;
constexpr int kCount = 10000;

// A wandering curve: consecutive points 60 pixels apart, turning by the golden angle each step
// and kept inside the buffer.
std::vector<TPoint> Curve() {
  std::vector<TPoint> pts;
  pts.reserve(kCount + 1);
  double x = kWidth / 2.0, y = kHeight / 2.0;
  for (int i = 0; i <= kCount; ++i) {
    pts.push_back({static_cast<int>(x), static_cast<int>(y)});
    const double a = i * 2.39996;
    double nx = x + 60 * std::cos(a), ny = y + 60 * std::sin(a);
    if (nx < 0 || nx >= kWidth) nx = x - 60 * std::cos(a);
    if (ny < 0 || ny >= kHeight) ny = y - 60 * std::sin(a);
    x = nx;
    y = ny;
  }
  return pts;
}

void BM_LinesAndPointers(benchmark::State& state) {
  const std::vector<TPoint> pts = Curve();
  TBitmap bitmap(kWidth, kHeight);
  TCanvas& c = bitmap.Canvas();
  for (auto _ : state) {
    c.Pen().SetColor(clRed);
    c.MoveTo(pts[0].X, pts[0].Y);
    for (int i = 1; i <= kCount; ++i) c.LineTo(pts[i].X, pts[i].Y);
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(clYellow);
    for (int i = 0; i < kCount; ++i)
      c.Rectangle(pts[i].X - 2, pts[i].Y - 2, pts[i].X + 3, pts[i].Y + 3);
    benchmark::DoNotOptimize(bitmap.Pixels().data());
  }
}
BENCHMARK(BM_LinesAndPointers)->Unit(benchmark::kMillisecond);

// The other pointer style of the charts: 10,000 diamonds five pixels across, outline and fill,
// a fifth of them cut by the clip.
void BM_DiamondPointers(benchmark::State& state) {
  const std::vector<TPoint> pts = Curve();
  TBitmap bitmap(kWidth, kHeight);
  TCanvas& c = bitmap.Canvas();
  c.SetClip(TRect{19, 15, 604, 364});
  c.Pen().SetColor(clBlack);
  c.Brush().SetColor(clYellow);
  for (auto _ : state) {
    for (int i = 0; i < kCount; ++i) {
      const int x = pts[i].X, y = pts[i].Y;
      const TPoint diamond[4] = {{x - 2, y}, {x, y - 2}, {x + 2, y}, {x, y + 2}};
      c.Polygon(diamond);
    }
    benchmark::DoNotOptimize(bitmap.Pixels().data());
  }
}
BENCHMARK(BM_DiamondPointers)->Unit(benchmark::kMillisecond);

void BM_LinesAndPointersThroughTheSurface(benchmark::State& state) {
  const std::vector<TPoint> pts = Curve();
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
