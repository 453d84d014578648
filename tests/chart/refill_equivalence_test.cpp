// A refill may take a short cut only where nobody can tell: two copies of the same set-up are
// driven through the same random loads and table and chart operations, one copy refilling the
// quick way (the default) and one always reading every record, and after each step everything
// either copy shows must be the same: points, statistics, table position, notifications and
// what the handlers saw while they ran, the cursor, repaint requests and pixels.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "chart/db_chart.h"
#include "chart/line_series.h"
#include "import/sweep_file_loader.h"
#include "platform/exceptions.h"
#include "platform/gui/screen_cursor.h"
#include "raster/bitmap.h"
#include "table/data_source.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"

namespace plotvik {
namespace {

std::string Bits(double v) {
  std::ostringstream out;
  out << std::hex << std::bit_cast<std::uint64_t>(v);
  return out.str();
}

struct World;

// Writes down every notification and handler call, with what the handler could see of the
// table, the charts and the cursor at that moment.
class Listener : public TDataSource {
 public:
  Listener(World& world, std::string tag);
  bool watchPoints = false;

 protected:
  void DataEvent(DataSetEvent event, std::intptr_t info, TField* field) override;

 private:
  void Write(const std::string& what);
  World& world_;
  std::string tag_;
};

// Series i draws field kQuantities[i] on chart kChartOf[i]: the second chart holds two series.
const char* const kQuantities[] = {"SWR", "R", "Ga", "Elevation"};
const int kChartOf[] = {0, 1, 1, 2};
const char* const kFields[] = {"Id", "Val", "height", "R", "jX", "SWR", "Ga", "FB", "Elevation"};

struct World {
  explicit World(bool incremental) : table(CreateSweepTable(form)), loader(table) {
    early = std::make_unique<Listener>(*this, "early ");
    early->SetDataSet(&table);
    for (int c = 0; c < 3; ++c) {
      charts.push_back(std::make_unique<TDBChart>());
      charts.back()->SetIncrementalRefill(incremental);
      charts.back()->SetView3D(false);
      charts.back()->SetBounds(0, 0, 160, 120);
    }
    for (int i = 0; i < 4; ++i) {
      series.push_back(std::make_unique<TLineSeries>());
      TChartSeries& s = *series.back();
      s.SetSeriesColor(clBlue);
      s.XValues().SetValueSource("height");
      s.YValues().SetValueSource(kQuantities[i]);
      s.SetDataSource(&table);
      s.SetParentChart(charts[kChartOf[i]].get());
    }
    late = std::make_unique<Listener>(*this, "late ");
    late->SetDataSet(&table);
  }
  ~World() {
    early.reset();
    late.reset();
    series.clear();
    charts.clear();
  }

  TComponent form;
  TMemTable& table;
  TSweepFileLoader loader;
  TNamedFileUi ui;
  std::vector<std::unique_ptr<TDBChart>> charts;
  std::vector<std::unique_ptr<TLineSeries>> series;
  std::unique_ptr<Listener> early, late;
  std::vector<std::string> log;
};

Listener::Listener(World& world, std::string tag) : world_(world), tag_(std::move(tag)) {
  OnStateChange = [this](TDataSource& s) {
    Write("OnStateChange " + std::string(DataSetStateName(s.State())));
  };
  OnDataChange = [this](TDataSource&, TField* f) {
    Write("OnDataChange " + (f ? f->FieldName() : std::string("-")));
  };
  OnUpdateData = [this](TDataSource&) { Write("OnUpdateData"); };
}

void Listener::DataEvent(DataSetEvent event, std::intptr_t info, TField* field) {
  world_.log.push_back(tag_ + std::string(DataSetEventName(event)) + " " + std::to_string(info) +
                       (field ? " " + field->FieldName() : ""));
  TDataSource::DataEvent(event, info, field);
}

void Listener::Write(const std::string& what) {
  TDataSet& t = world_.table;
  std::string line = tag_ + what + " recno " + std::to_string(t.RecNo()) + " bof " +
                     std::to_string(t.Bof()) + " eof " + std::to_string(t.Eof()) + " cursor " +
                     std::to_string(ScreenCursor()) + " bookmark " +
                     std::to_string(t.GetBookmark().IsNone());
  for (auto& chart : world_.charts) line += " refilling " + std::to_string(chart->Refilling());
  if (watchPoints) {
    for (auto& s : world_.series) {
      line += " n " + std::to_string(s->PointCount());
      if (s->PointCount() > 0) line += " last " + Bits(s->XValue(s->PointCount() - 1));
    }
  }
  world_.log.push_back(line);
}

// Everything that can be read from outside, in one text.
std::string Snapshot(World& w) {
  std::ostringstream out;
  TMemTable& t = w.table;
  out << "state " << DataSetStateName(t.State()) << " bof " << t.Bof() << " eof " << t.Eof()
      << " recno " << t.RecNo() << " cursor " << t.Cursor() << " modified " << t.Modified()
      << " disabled " << t.ControlsDisabled() << " screen " << ScreenCursor() << "\n";
  if (t.Active()) out << "records " << t.RecordCount() << "\n";
  for (int f = 0; f < t.FieldCount(); ++f) {
    out << (t.Fields(f).IsNull() ? "null" : Bits(t.Fields(f).AsFloat())) << " ";
  }
  out << "\n";
  for (auto& chart : w.charts) {
    out << "chart refilling " << chart->Refilling() << " paint " << chart->PaintPending() << "\n";
  }
  for (auto& s : w.series) {
    out << "series n " << s->PointCount() << " colours " << s->HasColorList() << " labels "
        << s->HasLabels() << "\n";
    for (TChartValueList* list : {&s->XValues(), &s->YValues()}) {
      out << " stats " << Bits(list->Lowest()) << " " << Bits(list->Highest()) << " "
          << Bits(list->Sum()) << " " << Bits(list->AbsSum()) << "\n";
    }
    for (int i = 0; i < s->PointCount(); ++i) {
      out << " " << Bits(s->XValue(i)) << " " << Bits(s->YValue(i)) << " " << s->PointColor(i)
          << " '" << s->PointLabel(i) << "'\n";
    }
  }
  for (const std::string& line : w.log) out << line << "\n";
  w.log.clear();
  return out.str();
}

// A sweep file with the given number of lines; the heights rise, fall, repeat a few values or
// come in any order; some lines are short or empty; one line may fail.
std::string RandomFile(std::mt19937& rng, int lines) {
  std::uniform_int_distribution<int> mode(0, 4);
  const int heights = mode(rng);
  std::ostringstream out;
  const int failAt = rng() % 4 == 0 ? static_cast<int>(rng() % (lines + 1)) : -1;
  for (int i = 0; i < lines; ++i) {
    if (i == failAt) {
      const char* const bad[] = {"1 2 x3", "1 2 3 4 5 6 7 8 9 10", "1.2.3", "1\t2", "1e400"};
      out << bad[rng() % 5] << "\n";
      continue;
    }
    if (rng() % 12 == 0) {
      out << (rng() % 2 ? "\n" : "  \t \n");
      continue;
    }
    double h = 0;
    switch (heights) {
      case 0:
        h = 5 + 0.5 * i;
        break;
      case 1:
        h = 40 - 0.5 * i;
        break;
      case 2:
        h = static_cast<double>(rng() % 4);
        break;
      default:
        h = static_cast<double>(static_cast<int>(rng() % 2001) - 1000) / 8;
        break;
    }
    const int tokens = rng() % 6 == 0 ? static_cast<int>(rng() % 9) : 9;
    for (int k = 0; k < tokens; ++k) {
      if (k > 0) out << ' ';
      if (k == 2) {
        out << h;
      } else {
        out << static_cast<int>(rng() % 200) - 50 << "." << rng() % 100;
      }
    }
    out << (rng() % 3 == 0 ? "\r\n" : "\n");
  }
  return out.str();
}

enum StepKind {
  kLoad,
  kAppend,
  kEdit,
  kOpenClose,
  kMove,
  kRefill,
  kByHand,
  kAutoRefresh,
  kHandler,
  kBinding,
  kRead,
  kWatch,
  kPaint,
};

// Each kind of step with its odds in a hundred.
struct StepOdds {
  StepKind kind;
  int percent;
};
constexpr StepOdds kStepOdds[] = {
    {kLoad, 20},  {kAppend, 20}, {kEdit, 5},        {kOpenClose, 5}, {kMove, 5},
    {kRefill, 7}, {kByHand, 8},  {kAutoRefresh, 4}, {kHandler, 8},   {kBinding, 6},
    {kRead, 5},   {kWatch, 4},   {kPaint, 3},
};

static_assert(
    [] {
      int sum = 0;
      for (const StepOdds& odds : kStepOdds) sum += odds.percent;
      return sum;
    }() == 100,
    "the odds must add up to a hundred");

StepKind DrawStepKind(std::mt19937& rng) {
  int draw = static_cast<int>(rng() % 100);
  for (const StepOdds& odds : kStepOdds) {
    if (draw < odds.percent) return odds.kind;
    draw -= odds.percent;
  }
  return kStepOdds[0].kind;
}

// One step, drawn from rng (its kind too, unless given) and applied to both worlds alike.
void Step(std::mt19937& rng, World& a, World& b, const std::filesystem::path& dir, int& files,
          std::optional<StepKind> given = std::nullopt) {
  auto both = [&](auto&& op) {
    for (World* w : {&a, &b}) {
      try {
        op(*w);
      } catch (const Exception& e) {
        w->log.push_back("raised " + e.Message());
      }
    }
  };
  const StepKind kind = given ? *given : DrawStepKind(rng);
  const int series = static_cast<int>(rng() % 4);
  const int chart = static_cast<int>(rng() % 3);
  switch (kind) {
    case kLoad: {
      const int lines =
          rng() % 8 == 0 ? static_cast<int>(rng() % 200) : static_cast<int>(rng() % 40);
      const std::string path = (dir / ("sweep" + std::to_string(files++) + ".txt")).string();
      std::ofstream(path, std::ios::binary) << RandomFile(rng, lines);
      both([&](World& w) {
        w.ui.SetFileName(path);
        w.ui.ResetWarnings();
        w.loader.actOpenFileExecute(w.ui);
        w.log.push_back("warnings " + std::to_string(w.ui.WarningCount()));
      });
      break;
    }
    case kAppend: {
      // A record appended by hand: posted, cancelled or left pending; a height may be missing,
      // equal to another or not a number at all.
      std::vector<std::pair<int, double>> values;
      for (int f = 0; f < 9; ++f) {
        if (rng() % 5 == 0) continue;
        double v = static_cast<double>(static_cast<int>(rng() % 41) - 20) / 2;
        if (f == 2 && rng() % 15 == 0) v = std::numeric_limits<double>::quiet_NaN();
        values.push_back({f, v});
      }
      const int end = static_cast<int>(rng() % 6);
      both([&](World& w) {
        w.table.Append();
        for (auto [f, v] : values) w.table.Fields(f).SetAsFloat(v);
        if (end < 4) {
          w.table.Post();
        } else if (end == 4) {
          w.table.Cancel();
        }
      });
      break;
    }
    case kEdit: {
      const int moves = static_cast<int>(rng() % 5);
      const int field = static_cast<int>(rng() % 9);
      const double v = static_cast<double>(rng() % 30);
      both([&](World& w) {
        w.table.First();
        for (int i = 0; i < moves; ++i) w.table.Next();
        w.table.Edit();
        w.table.Fields(field).SetAsFloat(v);
        w.table.Post();
      });
      break;
    }
    case kOpenClose: {
      const int what = static_cast<int>(rng() % 4);
      both([&](World& w) {
        if (what == 0) w.table.Close();
        if (what == 1) w.table.Open();
        if (what == 2) w.table.Post();
        if (what == 3) w.table.Cancel();
      });
      break;
    }
    case kMove: {
      const int moves = static_cast<int>(rng() % 4);
      both([&](World& w) {
        w.table.First();
        for (int i = 0; i < moves; ++i) w.table.Next();
      });
      break;
    }
    case kRefill: {
      const bool one = rng() % 2 == 0;
      both([&](World& w) {
        TChartSeries* s = one ? w.series[series].get() : nullptr;
        w.charts[kChartOf[series]]->RefillFromTable(w.table, s);
      });
      break;
    }
    case kByHand: {
      // The points changed by hand behind the chart's back.
      const int what = static_cast<int>(rng() % 6);
      const double v = static_cast<double>(rng() % 20);
      both([&](World& w) {
        TChartSeries& s = *w.series[series];
        if (what == 0) s.AddPoint(v, v);
        if (what == 1) s.DeletePoint(0);
        if (what == 2) s.ClearPoints();
        if (what == 3) s.XValues().SetValue(0, v);
        if (what == 4) s.XValues().SetOrder(TChartListOrder::loDescending);
        if (what == 5) s.XValues().SetOrder(TChartListOrder::loAscending);
      });
      break;
    }
    case kAutoRefresh: {
      const bool all = rng() % 2 == 0;
      both([&](World& w) {
        for (int c = 0; c < 3; ++c) {
          if (all || c == chart) w.charts[c]->SetAutoRefresh(!w.charts[c]->AutoRefresh());
        }
      });
      break;
    }
    case kHandler: {
      // Handlers come and go; while assigned they see every call the reference refill makes.
      const int what = static_cast<int>(rng() % 5);
      both([&](World& w) {
        TChartSeries& s = *w.series[series];
        TDBChart& c = *w.charts[chart];
        std::vector<std::string>& log = w.log;
        switch (what) {
          case 0:
            s.OnAfterAdd =
                s.OnAfterAdd
                    ? nullptr
                    : std::function<void(TChartSeries&, int)>([&log](TChartSeries&, int i) {
                        log.push_back("added " + std::to_string(i));
                      });
            break;
          case 1:
            s.OnClearValues = s.OnClearValues
                                  ? nullptr
                                  : std::function<void(TChartSeries&)>(
                                        [&log](TChartSeries&) { log.push_back("cleared"); });
            break;
          case 2:
            c.OnProcessRecord =
                c.OnProcessRecord
                    ? nullptr
                    : TCustomDBChart::TProcessRecordEvent([&log](TCustomDBChart&, TDataSet& t) {
                        log.push_back("record " + std::to_string(t.RecNo()));
                      });
            break;
          case 3:
            w.table.AfterScroll =
                w.table.AfterScroll
                    ? nullptr
                    : TDataSet::THook([&log](TDataSet&) { log.push_back("scrolled"); });
            break;
          case 4:
            s.OnBeforeAdd =
                s.OnBeforeAdd ? nullptr : std::function<bool(TChartSeries&)>([](TChartSeries& x) {
                  return x.XValues().PendingValue() != 3;
                });
            break;
        }
      });
      break;
    }
    case kBinding: {
      // A binding change: another source field, labels or colours from a field.
      const int what = static_cast<int>(rng() % 4);
      const char* field = kFields[rng() % 9];
      both([&](World& w) {
        TChartSeries& s = *w.series[series];
        if (what == 0) s.YValues().SetValueSource(field);
        if (what == 1)
          s.XLabelsSource().empty() ? s.SetXLabelsSource("Id") : s.SetXLabelsSource("");
        if (what == 2) s.ColorSource().empty() ? s.SetColorSource("Val") : s.SetColorSource("");
        if (what == 3)
          s.XValues().SetValueSource(s.XValues().ValueSource() == "height" ? "" : "height");
      });
      break;
    }
    case kRead:
      // A read in the middle: the points must be in their places by then.
      both([&](World& w) {
        w.log.push_back("count " + std::to_string(w.series[series]->PointCount()));
      });
      break;
    case kWatch:
      both([&](World& w) { w.late->watchPoints = !w.late->watchPoints; });
      break;
    case kPaint: {
      both([&](World& w) { w.charts[chart]->Update(); });
      const TBitmap& pa = a.charts[chart]->WindowImage();
      const TBitmap& pb = b.charts[chart]->WindowImage();
      ASSERT_EQ(pa.Width(), pb.Width());
      ASSERT_EQ(pa.Height(), pb.Height());
      EXPECT_TRUE(std::equal(pa.Pixels().begin(), pa.Pixels().end(), pb.Pixels().begin()))
          << "pixels of chart " << chart;
      break;
    }
  }
}

TEST(RefillEquivalence, QuickRefillsShowWhatFullRefillsShow) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("plotvik-equivalence-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  int files = 0;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    World quick(true), full(false);
    ASSERT_EQ(Snapshot(quick), Snapshot(full));
    for (int step = 0; step < 40; ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      Step(rng, quick, full, dir, files);
      if (rng() % 4 != 0 || step == 39) {
        const std::string q = Snapshot(quick);
        const std::string f = Snapshot(full);
        ASSERT_EQ(q, f);
      }
    }
  }
  std::filesystem::remove_all(dir);
}

// Sequences that open the way to a wrong short cut: the table or the series changed while a
// chart was not listening or was listening differently, then records appended.
TEST(RefillEquivalence, ChangesWhileAChartLooksAwayForceAFullRefill) {
  const std::vector<std::vector<StepKind>> scripts = {
      {kLoad, kAutoRefresh, kEdit, kAutoRefresh, kAppend, kAppend, kRead},
      {kLoad, kAutoRefresh, kOpenClose, kOpenClose, kAutoRefresh, kAppend, kAppend},
      {kLoad, kAutoRefresh, kLoad, kAutoRefresh, kAppend, kAppend},
      {kLoad, kHandler, kAppend, kHandler, kAppend, kAppend},
      {kLoad, kByHand, kAppend, kAppend, kPaint},
      {kLoad, kBinding, kAppend, kBinding, kAppend, kAppend},
      {kLoad, kWatch, kLoad, kPaint, kRefill, kAppend},
  };
  const auto dir = std::filesystem::temp_directory_path() /
                   ("plotvik-equivalence-scripts-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  int files = 0;
  for (size_t script = 0; script < scripts.size(); ++script) {
    for (unsigned seed = 1; seed <= 8; ++seed) {
      SCOPED_TRACE("script " + std::to_string(script) + " seed " + std::to_string(seed));
      std::mt19937 rng(seed);
      World quick(true), full(false);
      for (StepKind kind : scripts[script]) {
        SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)));
        Step(rng, quick, full, dir, files, kind);
        const std::string q = Snapshot(quick);
        ASSERT_EQ(q, Snapshot(full));
      }
    }
  }
  std::filesystem::remove_all(dir);
}

// The sorted merge that places points added out of order stands in for one ordered insert per
// point; this drives both through the same adds, with ties, NaNs, every list order and reads in
// between, and compares the lists whole.
TEST(RefillEquivalence, PlacingPointsLaterEqualsPlacingThemOneByOne) {
  std::mt19937 rng(5);
  const TColor colours[] = {clDefault, clDefault, clDefault, clNone, clRed};
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    TChartSeries later, now;
    const TChartListOrder order = static_cast<TChartListOrder>(rng() % 3);
    later.XValues().SetOrder(order);
    now.XValues().SetOrder(order);
    const int adds = static_cast<int>(rng() % 60);
    const int spread = 1 + static_cast<int>(rng() % 20);
    for (int i = 0; i < adds; ++i) {
      double x = static_cast<double>(rng() % spread);
      if (rng() % 3 == 0) x = adds - i;  // runs that fall
      if (rng() % 50 == 0) x = std::numeric_limits<double>::quiet_NaN();
      if (rng() % 50 == 0) x = -0.0;
      const double y = static_cast<double>(rng() % 100);
      const TColor colour = colours[rng() % 5];
      if (rng() % 8 == 0) {
        // A point added the ordinary way among the others finds them placed.
        later.AddPoint(x, y, {}, colour);
      } else {
        later.AddPointUnplaced(x, y, colour);
      }
      now.AddPoint(x, y, {}, colour);
      if (rng() % 10 == 0) {
        EXPECT_EQ(later.PointCount(), now.PointCount());
      }
      if (rng() % 40 == 0) {
        // Values set by hand leave a list that is no longer sorted.
        later.XValues().SetValue(0, 7);
        now.XValues().SetValue(0, 7);
      }
    }
    ASSERT_EQ(later.PointCount(), now.PointCount());
    EXPECT_EQ(later.HasColorList(), now.HasColorList());
    for (int i = 0; i < now.PointCount(); ++i) {
      ASSERT_EQ(Bits(later.XValue(i)), Bits(now.XValue(i))) << i;
      ASSERT_EQ(Bits(later.YValue(i)), Bits(now.YValue(i))) << i;
      ASSERT_EQ(later.PointColor(i), now.PointColor(i)) << i;
    }
    EXPECT_EQ(Bits(later.YValues().Sum()), Bits(now.YValues().Sum()));
  }
}

}  // namespace
}  // namespace plotvik
