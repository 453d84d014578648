// The line series leaves out points whose drawing cannot change a pixel. Each case draws one
// chart twice, skipping and with every point drawn, and compares the whole window.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "chart/chart_axis.h"
#include "chart/custom_chart.h"
#include "chart/line_series.h"
#include "raster/bitmap.h"
#include "raster/color.h"

namespace plotvik {
namespace {

// Spikes: level, with every seventh point far above.
enum class Shape { Rising, Falling, Noisy, Flat, Steps, Wave, Spikes };
// Zoomed: a band inside the data, with points beyond both edges. Deep: a band so narrow that
// the neighbours outside it lie past the farthest pixel drawn, vertically too. DeepY: every x,
// and the values around the level only, so that the spikes lie past the farthest pixel.
enum class Zoom { None, Band, Deep, DeepY };
enum class Look {
  Viewer,   // the viewer's red 5 x 5 square
  Diamond,  // the gain page's marker
  Star,     // the elevation page's marker, drawn with the line pen's colour
  Circle,
  SmallDot,
  NoPointer,
  ColoursNulls,   // runs of another colour and of null points
  HiddenOutline,  // the outline keeps the previous pen's width: no pointer is skipped
  DashedLine,     // the line's gaps take the last pointer's colour: no pointer is skipped;
                  // with the colour runs and nulls
  NotXorOutline,  // a pointer drawn twice is not a pointer drawn once
};

struct SkipCase {
  std::string name;
  Shape shape;
  int count;
  Zoom zoom;
  Look look;
  friend void PrintTo(const SkipCase& c, std::ostream* os) { *os << c.name; }
};

double YOf(Shape shape, int i, int n, std::uint32_t& seed) {
  switch (shape) {
    case Shape::Rising:
      return 3.0 * i / n;
    case Shape::Falling:
      return 3.0 - 3.0 * i / n;
    case Shape::Noisy:
      seed = seed * 1664525u + 1013904223u;
      return (seed >> 8) / 16777216.0 * 3.0;
    case Shape::Flat:
      return 1.5;
    case Shape::Steps:
      return static_cast<double>(i * 7 / n) * 0.4;
    case Shape::Wave:
      return 1.5 + std::sin(i * 0.003);
    case Shape::Spikes:
      return i % 7 == 3 ? 40.0 : 1.5;
  }
  return 0;
}

TColor ColourOf(Look look, int i) {
  if (look != Look::ColoursNulls && look != Look::DashedLine) return clDefault;
  if (i % 97 < 5) return clNone;
  if (i % 50 < 10) return clBlue;
  return clDefault;
}

class PointSkip : public testing::TestWithParam<SkipCase> {
 protected:
  PointSkip() {
    chart.SetView3D(false);
    chart.SetBounds(0, 0, 623, 379);
    chart.BottomAxis().Title().SetCaption("Parameter");
    chart.LeftAxis().Title().SetCaption("SWR");
    series.SetSeriesColor(clRed);
    TSeriesPointer& pointer = series.Pointer();
    pointer.SetVisible(true);
    pointer.SetHorizSize(2);
    pointer.SetVertSize(2);
    pointer.SetInflateMargins(false);
    series.SetParentChart(&chart);
  }
  ~PointSkip() override { series.SetParentChart(nullptr); }

  void Build(const SkipCase& c) {
    TSeriesPointer& pointer = series.Pointer();
    switch (c.look) {
      case Look::Diamond:
        pointer.SetStyle(psDiamond);
        break;
      case Look::Star:
        pointer.SetStyle(psStar);
        break;
      case Look::Circle:
        pointer.SetStyle(psCircle);
        break;
      case Look::SmallDot:
        pointer.SetStyle(psSmallDot);
        break;
      case Look::NoPointer:
        pointer.SetVisible(false);
        break;
      case Look::HiddenOutline:
        pointer.Pen().SetVisible(false);
        series.LinePen().SetWidth(3);
        break;
      case Look::DashedLine:
        series.LinePen().SetStyle(psDash);
        pointer.Pen().SetColor(clBlack);
        break;
      case Look::NotXorOutline:
        pointer.Pen().SetMode(pmNotXor);
        break;
      default:
        break;
    }
    std::uint32_t seed = 12345;
    // Steps repeat each x four times, so whole runs of points share a column.
    const bool repeatX = c.shape == Shape::Steps;
    for (int i = 0; i < c.count; ++i) {
      const double x = repeatX ? i / 4 : i;
      series.AddPoint(x, YOf(c.shape, i, c.count, seed), "", ColourOf(c.look, i));
    }
    const double lastX = repeatX ? (c.count - 1) / 4 : c.count - 1;
    if (c.zoom == Zoom::Band) {
      chart.BottomAxis().SetAxisRange(lastX * 0.3, lastX * 0.6);
      chart.LeftAxis().SetAxisRange(0.5, 2.5);
    } else if (c.zoom == Zoom::Deep) {
      const double middle = std::floor(lastX / 2);
      chart.BottomAxis().SetAxisRange(middle - 0.004, middle + 1.004);
      chart.LeftAxis().SetAxisRange(1.4999, 1.5001);
    } else if (c.zoom == Zoom::DeepY) {
      chart.LeftAxis().SetAxisRange(1.4999, 1.5001);
    }
  }

  std::vector<TColor> Frame() {
    chart.Repaint();
    chart.PaintWindow();
    const TBitmap& image = chart.WindowImage();
    std::vector<TColor> pixels;
    pixels.reserve(static_cast<size_t>(image.Width()) * image.Height());
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width(); ++x) pixels.push_back(image.Pixel(x, y));
    }
    return pixels;
  }

  TCustomChart chart;
  TLineSeries series;
};

TEST_P(PointSkip, SamePixelsAsDrawingEveryPoint) {
  Build(GetParam());
  const std::vector<TColor> skipping = Frame();
  series.SetDrawEveryPoint(true);
  const std::vector<TColor> every = Frame();
  ASSERT_EQ(skipping.size(), every.size());
  const int width = chart.WindowImage().Width();
  int differing = 0;
  size_t firstDifference = 0;
  for (size_t k = 0; k < every.size(); ++k) {
    if (skipping[k] != every[k] && differing++ == 0) firstDifference = k;
  }
  EXPECT_EQ(differing, 0) << "first at (" << firstDifference % width << ", "
                          << firstDifference / width << ")";
}

std::vector<SkipCase> Cases() {
  struct Named {
    const char* name;
    Shape value;
  };
  const Named shapes[] = {{"Rising", Shape::Rising}, {"Falling", Shape::Falling},
                          {"Noisy", Shape::Noisy},   {"Flat", Shape::Flat},
                          {"Steps", Shape::Steps},   {"Wave", Shape::Wave},
                          {"Spikes", Shape::Spikes}};
  const struct {
    const char* name;
    Zoom value;
  } zooms[] = {
      {"Whole", Zoom::None}, {"Band", Zoom::Band}, {"Deep", Zoom::Deep}, {"DeepY", Zoom::DeepY}};
  const struct {
    const char* name;
    Look value;
  } looks[] = {{"Viewer", Look::Viewer},
               {"Diamond", Look::Diamond},
               {"Star", Look::Star},
               {"Circle", Look::Circle},
               {"SmallDot", Look::SmallDot},
               {"NoPointer", Look::NoPointer},
               {"ColoursNulls", Look::ColoursNulls},
               {"HiddenOutline", Look::HiddenOutline},
               {"DashedLine", Look::DashedLine},
               {"NotXorOutline", Look::NotXorOutline}};
  std::vector<SkipCase> cases;
  const auto add = [&](const char* shape, Shape s, int count, const char* zoom, Zoom z,
                       const char* look, Look l) {
    cases.push_back({std::string(shape) + std::to_string(count) + zoom + look, s, count, z, l});
  };
  // Every shape and zoom with the viewer's look, small and middling.
  for (const auto& s : shapes) {
    for (const auto& z : zooms) {
      for (int count : {10, 3000})
        add(s.name, s.value, count, z.name, z.value, "Viewer", Look::Viewer);
    }
  }
  // Every look on the shapes that repeat pixels most and least.
  for (const auto& l : looks) {
    for (const Named& s : {shapes[2], shapes[4], shapes[5], shapes[6]}) {
      for (const auto& z : zooms) add(s.name, s.value, 5000, z.name, z.value, l.name, l.value);
    }
  }
  add("Wave", Shape::Wave, 1000000, "Whole", Zoom::None, "Viewer", Look::Viewer);
  add("Noisy", Shape::Noisy, 1000000, "Band", Zoom::Band, "ColoursNulls", Look::ColoursNulls);
  add("Steps", Shape::Steps, 1000000, "Deep", Zoom::Deep, "Viewer", Look::Viewer);
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Sweeps, PointSkip, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<SkipCase>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace plotvik
