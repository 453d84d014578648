#pragma once

#include <optional>

#include "chart/chart_axis.h"
#include "chart/series_pointer.h"
#include "raster/color.h"
#include "table/sweep_table.h"

namespace plotvik {

class TComponent;
class TDataSet;
class TDBChart;
class TLineSeries;
class TTabSheet;

// One tab page of the main window as it is declared: the page, its chart with the settings in
// which the six charts differ, and the chart's one series. Everything the charts share is set by
// CreatePageChart.
struct TChartPageDecl {
  const char* sheetName;
  const char* caption;
  int imageIndex;

  const char* chartName;
  const char* leftAxisTitle;
  double leftAxisIncrement;  // 0: the axis finds its own step
  TAxisLabelStyle leftAxisLabelStyle;
  bool leftAxisExactDateTime;

  const char* seriesName;
  const char* seriesTitle;
  TColor seriesColor;
  TSeriesPointerStyle pointerStyle;
  bool clickableLine;
  TSweepField yField;

  // The file the render tool writes this page's chart to.
  const char* imageFile;
};

inline constexpr int kChartPageCount = 6;

inline constexpr TChartPageDecl kChartPages[kChartPageCount] = {
    {"tsSWR", "КСВ", 0, "chSWR", "Коэффициент стоячей волны", 0.1, talValue, false, "Series1",
     "КСВ", clRed, psRectangle, true, sfSWR, "swr.png"},
    {"tsR", "R", 1, "DBChart1", "Активная часть R входного импеданса", 0, talValue, true,
     "LineSeries1", "R", clRed, psRectangle, false, sfR, "r.png"},
    {"tsjX", "jX", 2, "DBChart2", "Реактивная часть jX входного импеданса", 0, talValue, true,
     "LineSeries2", "jX", 0xFF8000, psRectangle, false, sfJX, "jx.png"},
    {"tsGain", "Усиление Ga", 3, "DBChart3", "Усиление Ga", 0, talAuto, true, "LineSeries3", "Gain",
     0x408000, psDiamond, false, sfGa, "gain.png"},
    {"tsFB", "F/B", 4, "DBChart4", "Отношение излучений вперёд-назад", 0, talAuto, true,
     "LineSeries4", "R", clBlue, psDiamond, false, sfFB, "fb.png"},
    {"tsElevation", "Зенитный угол", 5, "DBChart5", "Зенитный угол максимума излучения", 0, talAuto,
     true, "LineSeries5", "R", 0x8000FF, psStar, false, sfElevation, "elevation.png"},
};

// The size every chart is declared with: the page's client area at the designed window size.
inline constexpr int kChartDesignedWidth = 623;
inline constexpr int kChartDesignedHeight = 379;
inline constexpr const char* kChartBottomAxisTitle = "Параметр, который изменялся в Korvel";

// The declaration of page `pageIndex`; std::out_of_range outside the six pages.
const TChartPageDecl& PageDecl(int pageIndex);

// Creates the chart of page `pageIndex` and its series, both owned by `owner`, with their
// declared values, and binds the series to `table` as the form's loading does: the binding
// takes effect once every value is in place, so a closed table leaves the chart empty.
TDBChart& CreatePageChart(TComponent& owner, TDataSet& table, int pageIndex);

// The chart and series CreatePageChart made for page `pageIndex` under `owner`.
TDBChart& PageChart(const TComponent& owner, int pageIndex);
TLineSeries& PageSeries(const TComponent& owner, int pageIndex);

// Creates the chart of page `pageIndex` under `owner`, bound to `table` (CreatePageChart), and
// puts it on `sheet`; the window calls it once per page, in page order.
TDBChart& CreateChartPage(TComponent& owner, TDataSet& table, TTabSheet& sheet, int pageIndex);

}  // namespace plotvik
