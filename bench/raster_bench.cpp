// The raster's share of a dense chart: 10,000 one-pixel line segments of about 60 pixels and
// 10,000 pointers of 5 x 5 pixels (outline and fill) into a 623 x 379 buffer. Target on the
// reference machine: 5 ms for the lot. The same through the chart surface, and text, are timed
// with the chart (chart_paint_bench), where the font files are.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/wandering_curve.h"
#include "raster/bitmap.h"
#include "raster/canvas.h"

namespace plotvik {
namespace {

constexpr int kWidth = 623;
constexpr int kHeight = 379;
constexpr int kCount = 10000;

void BM_LinesAndPointers(benchmark::State& state) {
  const std::vector<TPoint> pts = WanderingCurve(kWidth, kHeight, kCount);
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
  const std::vector<TPoint> pts = WanderingCurve(kWidth, kHeight, kCount);
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

}  // namespace
}  // namespace plotvik

BENCHMARK_MAIN();
