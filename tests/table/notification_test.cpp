#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "table/data_link.h"
#include "table_fixture.h"

namespace plotvik::testing {
namespace {

using Log = std::vector<std::string>;

// Where the table is before the operation under test.
enum class Start {
  Closed,
  EmptyBrowse,
  TwoRecordsAtFirst,
  TwoRecordsAtEof,
  Inserting,
  InsertingWithValue
};

struct SequenceCase {
  const char* name;
  Start start;
  std::function<void(TMemTable&)> operation;
  Log expected;
  friend void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }
};

void Prepare(SweepForm& f, Start start) {
  if (start == Start::Closed) return;
  f.table.Open();
  switch (start) {
    case Start::TwoRecordsAtFirst:
    case Start::TwoRecordsAtEof:
      f.AddRecord({1, 0, 10});
      f.AddRecord({2, 0, 20});
      f.table.First();
      if (start == Start::TwoRecordsAtEof) {
        f.table.Next();
        f.table.Next();
      }
      break;
    case Start::Inserting:
      f.table.Append();
      break;
    case Start::InsertingWithValue:
      f.table.Append();
      f.table.FieldByName("height").SetValue(1.5);
      break;
    default:
      break;
  }
}

const Log kCancelFromInsert = {"BrowseModeCheck", "StateChanged", "OnStateChange Browse",
                               "RecordsReloaded", "OnDataChange Browse"};
const Log kPostFromInsert = {"RecordUpdate",       "OnUpdateData Insert",  "BrowseModeCheck",
                             "StateChanged",       "OnStateChange Browse", "RecordsReloaded",
                             "OnDataChange Browse"};

Log Concat(std::initializer_list<Log> parts) {
  Log all;
  for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class Sequences : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(Sequences, SourceHearsExactlyThis) {
  const SequenceCase& c = GetParam();
  SweepForm f;
  Log log;
  RecordingSource source(log);
  source.SetDataSet(&f.table);
  Prepare(f, c.start);
  log.clear();
  c.operation(f.table);
  EXPECT_EQ(log, c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, Sequences,
    ::testing::Values(
        SequenceCase{"Open",                                        Start::Closed,             [](TMemTable& t) { t.Open(); }, {"StateChanged", "OnStateChange Browse", "OnDataChange Browse", "BrowseModeCheck", "RecordsReloaded", "OnDataChange Browse"}},
        SequenceCase{"OpenWhenOpen",                                Start::EmptyBrowse,        [](TMemTable& t) { t.Open(); }, {}},
        SequenceCase{"CloseFromBrowse",                             Start::TwoRecordsAtFirst,  [](TMemTable& t) { t.Close(); }, {"StateChanged", "OnStateChange Inactive"}},
        SequenceCase{"CloseFromInsertCancelsFirst",                 Start::InsertingWithValue, [](TMemTable& t) { t.Close(); }, Concat({kCancelFromInsert, {"StateChanged", "OnStateChange Inactive"}})},
        SequenceCase{"Append",                                      Start::EmptyBrowse,        [](TMemTable& t) { t.Append(); }, {"BrowseModeCheck", "StateChanged", "OnStateChange Insert", "RecordsReloaded", "OnDataChange Insert"}},
        SequenceCase{"EditWhileInserting",                          Start::Inserting,          [](TMemTable& t) { t.Edit(); }, {}},
        SequenceCase{"SetField",                                    Start::Inserting,          [](TMemTable& t) { t.Fields(2).SetValue(7.25); }, {"FieldChanged height", "OnDataChange(height) Insert"}},
        SequenceCase{"Post",                                        Start::Inserting,          [](TMemTable& t) { t.Post(); }, kPostFromInsert},
        SequenceCase{"Cancel",                                      Start::InsertingWithValue, [](TMemTable& t) { t.Cancel(); }, kCancelFromInsert},
        SequenceCase{"CancelInBrowse",                              Start::EmptyBrowse,        [](TMemTable& t) { t.Cancel(); }, {}},
        SequenceCase{"First",                                       Start::TwoRecordsAtFirst,  [](TMemTable& t) { t.First(); }, {"BrowseModeCheck", "RecordsReloaded", "OnDataChange Browse"}},
        SequenceCase{"FirstSettlesModifiedInsertByPost",            Start::InsertingWithValue, [](TMemTable& t) { t.First(); }, Concat({{"BrowseModeCheck", "RecordUpdate", "OnUpdateData Insert"}, kPostFromInsert, {"RecordsReloaded", "OnDataChange Browse"}})},
        SequenceCase{"FirstSettlesUntouchedInsertByCancel",         Start::Inserting,          [](TMemTable& t) { t.First(); }, Concat({{"BrowseModeCheck", "RecordUpdate", "OnUpdateData Insert"}, kCancelFromInsert, {"RecordsReloaded", "OnDataChange Browse"}})},
        SequenceCase{"NextShiftsWindow",                            Start::TwoRecordsAtFirst,  [](TMemTable& t) { t.Next(); }, {"BrowseModeCheck", "CursorMoved -1", "OnDataChange Browse"}},
        SequenceCase{"NextOntoEof",                                 Start::TwoRecordsAtFirst,  [](TMemTable& t) { t.Next(); t.Next(); }, {"BrowseModeCheck", "CursorMoved -1", "OnDataChange Browse", "BrowseModeCheck", "CursorMoved 0", "OnDataChange Browse"}},
        SequenceCase{"NextAtEof",                                   Start::TwoRecordsAtEof,    [](TMemTable& t) { t.Next(); }, {"BrowseModeCheck"}},
        SequenceCase{"GotoBookmark",                                Start::TwoRecordsAtFirst,  [](TMemTable& t) { TBookmark b = t.GetBookmark(); t.Next(); t.GotoBookmark(b); t.FreeBookmark(b); }, {"BrowseModeCheck", "CursorMoved -1", "OnDataChange Browse", "BrowseModeCheck", "RecordsReloaded", "OnDataChange Browse"}},
        SequenceCase{"GotoNoneBookmark",                            Start::TwoRecordsAtFirst,  [](TMemTable& t) { t.GotoBookmark(TBookmark()); }, {}},
        // the third EnableControls is unmatched and does nothing
        SequenceCase{"NestedDisableEnable",                         Start::TwoRecordsAtFirst,  [](TMemTable& t) { t.DisableControls(); t.DisableControls(); t.First(); t.Next(); t.EnableControls(); t.Next(); t.EnableControls(); t.EnableControls(); }, {"RecordsReloaded", "OnDataChange Browse"}},
        SequenceCase{"DisabledCloseOpenEndsWithLayoutChange",       Start::TwoRecordsAtFirst,  [](TMemTable& t) { t.DisableControls(); t.Close(); t.Open(); t.EnableControls(); }, {"FieldLayoutChanged", "OnDataChange Browse"}},
        SequenceCase{"DisabledCloseEndsWithStateChange",            Start::TwoRecordsAtFirst,  [](TMemTable& t) { t.DisableControls(); t.Close(); t.EnableControls(); }, {"StateChanged", "OnStateChange Inactive"}},
        SequenceCase{"DisabledAppendEndsWithStateChangeThenReload", Start::EmptyBrowse,        [](TMemTable& t) { t.DisableControls(); t.Append(); t.EnableControls(); }, {"StateChanged", "OnStateChange Insert", "RecordsReloaded", "OnDataChange Insert"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(DataSource, AttachingToOpenTableFiresStateChangeThenDataChange) {
  SweepForm f;
  f.table.Open();
  Log log;
  RecordingSource source(log);
  source.SetDataSet(&f.table);
  EXPECT_EQ(log, (Log{"OnStateChange Browse", "OnDataChange Browse"}));
  log.clear();
  source.SetDataSet(nullptr);
  EXPECT_EQ(log, (Log{"OnStateChange Inactive"}));
  EXPECT_EQ(source.State(), DataSetState::StateInactive);
}

TEST(DataSource, DestroyedSourceCallsNoHandlerAndLeavesTheTable) {
  SweepForm f;
  f.table.Open();
  Log log;
  {
    RecordingSource source(log);
    source.SetDataSet(&f.table);
    log.clear();
  }
  EXPECT_TRUE(log.empty());
  f.AddRecord({1});  // would reach a dangling source if it were still attached
}

TEST(DataSource, HandlerExceptionStopsDeliveryAndOperation) {
  SweepForm f;
  Log log;
  RecordingSource first(log, "1:"), second(log, "2:");
  first.SetDataSet(&f.table);
  second.SetDataSet(&f.table);
  f.table.Open();
  f.table.Append();
  bool afterPost = false;
  f.table.AfterPost = [&](TDataSet&) { afterPost = true; };
  first.OnStateChange = [](TDataSource& s) {
    if (s.State() == DataSetState::StateBrowse) throw EAbort();
  };
  log.clear();
  EXPECT_THROW(f.table.Post(), EAbort);
  EXPECT_EQ(log.back(), "1:StateChanged");  // the second source never heard it
  EXPECT_EQ(f.table.State(), DataSetState::StateBrowse);
  EXPECT_EQ(f.table.RecordCount(), 1);  // stored before the state changed
  EXPECT_FALSE(afterPost);
}

// Nothing in the program closes the table from a handler, but nothing must break if one does:
// each operation finds the window gone and stops.
TEST(DataSource, HandlerThatClosesTheTableMidOperation) {
  struct Case {
    const char* name;
    DataSetState closeOn;
    std::function<void(SweepForm&)> operation;
  };
  // clang-format off
  const Case cases[] = {
      {"post",   DataSetState::StateBrowse, [](SweepForm& f) { f.table.Post(); }},
      {"cancel", DataSetState::StateBrowse, [](SweepForm& f) { f.table.Cancel(); }},
      {"append", DataSetState::StateInsert, [](SweepForm& f) { f.table.Post(); f.table.Append(); }},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SweepForm f;
    TDataSource closer;
    closer.SetDataSet(&f.table);
    f.table.Open();
    f.AddRecord({1});
    f.table.Append();
    f.table.Fields(0).SetValue(2.0);
    closer.OnStateChange = [&, state = c.closeOn](TDataSource& s) {
      if (s.State() == state) f.table.Close();
    };
    try {
      c.operation(f);
    } catch (const EDatabaseError&) {
      // refusing to go on with a closed table is fine too
    }
    EXPECT_FALSE(f.table.Active());
    closer.OnStateChange = nullptr;
    f.table.Open();
    EXPECT_EQ(f.table.RecordCount(), 0);
  }
}

TEST(DataSource, OutlivesItsTableAndSoDoesAForeignField) {
  Log log;
  RecordingSource source(log);
  TFloatField field("loose");
  field.SetFieldName("x");
  {
    TComponent form("Form1");
    auto& table = form.CreateComponent<TMemTable>("mtData");
    field.SetDataSet(&table);
    source.SetDataSet(&table);
    table.Open();
    log.clear();
  }
  EXPECT_EQ(log, (Log{"StateChanged", "OnStateChange Inactive"}));
  EXPECT_EQ(source.DataSet(), nullptr);
  EXPECT_EQ(field.DataSet(), nullptr);
  EXPECT_TRUE(field.IsNull());
}

// A link that writes down its reactions; the window arithmetic is what it checks.
class RecordingLink : public TDataLink {
 public:
  explicit RecordingLink(Log& log, std::string tag) : log_(log), tag_(std::move(tag)) {}

 protected:
  void ActiveChanged() override { log_.push_back(tag_ + (Active() ? "active" : "inactive")); }
  void EditingChanged() override { log_.push_back(tag_ + (Editing() ? "editing" : "browsing")); }
  void DataSetChanged() override { log_.push_back(tag_ + "changed"); }
  void DataSetScrolled(int distance) override {
    log_.push_back(tag_ + "scrolled " + std::to_string(distance));
  }
  void RecordChanged(TField* field) override {
    log_.push_back(tag_ + "record " + (field ? field->FieldName() : "none"));
  }
  void UpdateData() override { log_.push_back(tag_ + "update"); }
  void CheckBrowseMode() override { log_.push_back(tag_ + "check"); }

 private:
  Log& log_;
  std::string tag_;
};

TEST(DataLink, LinksHearBeforeHandlersInTheirOrder) {
  SweepForm f;
  Log log;
  RecordingSource source(log);
  RecordingLink plain1(log, "p1:"), plain2(log, "p2:"), visual(log, "v:");
  visual.SetVisualControl(true);
  visual.SetDataSource(&source);
  plain1.SetDataSource(&source);
  plain2.SetDataSource(&source);
  source.SetDataSet(&f.table);
  f.table.Open();
  f.table.Append();
  log.clear();
  f.table.Fields(0).SetValue(1.0);
  f.table.Post();
  EXPECT_EQ(log, (Log{"FieldChanged Id",
                      "p2:record Id",
                      "p1:record Id",
                      "v:record Id",
                      "OnDataChange(Id) Insert",
                      "RecordUpdate",
                      "p2:update",
                      "p1:update",
                      "v:update",
                      "OnUpdateData Insert",
                      "BrowseModeCheck",
                      "p2:check",
                      "p1:check",
                      "v:check",
                      "StateChanged",
                      "p2:browsing",
                      "p1:browsing",
                      "v:browsing",
                      "OnStateChange Browse",
                      "RecordsReloaded",
                      "p2:changed",
                      "p1:changed",
                      "v:changed",
                      "OnDataChange Browse"}));
}

TEST(DataLink, WiderLinkWidensTheWindowAndScrolls) {
  SweepForm f;
  f.table.Open();
  for (int i = 0; i < 5; ++i) f.AddRecord({double(i)});
  TDataSource source;
  source.SetDataSet(&f.table);
  Log log;
  RecordingLink link(log, "");
  link.SetBufferCount(3);
  link.SetDataSource(&source);
  f.table.First();
  log.clear();
  std::vector<double> seen;
  for (; !f.table.Eof(); f.table.Next()) {
    seen.push_back(f.table.Fields(0).AsFloat());
    EXPECT_GE(link.ActiveRecord(), 0);
    EXPECT_LT(link.ActiveRecord(), 3);
  }
  EXPECT_EQ(seen, (std::vector<double>{0, 1, 2, 3, 4}));
  // Within the window the link scrolls by nothing; once the window shifts it follows by one.
  EXPECT_EQ(log, (Log{"check", "scrolled 0", "check", "scrolled 0", "check", "scrolled 1", "check",
                      "scrolled 1", "check", "scrolled 0"}));
  link.SetDataSourceFixed(true);
  EXPECT_THROW(link.SetDataSource(nullptr), EDatabaseError);
  try {
    link.SetDataSource(nullptr);
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "DataSource cannot be changed");
  }
}

// Attaching or dropping a wide link in the middle of a walk resizes the record window; the
// walk must go on from the same record either way.
TEST(DataLink, WindowResizesMidWalkKeepTheActiveRecord) {
  SweepForm f;
  f.table.Open();
  for (int i = 0; i < 6; ++i) f.AddRecord({double(i)});
  TDataSource source;
  source.SetDataSet(&f.table);
  Log log;
  RecordingLink link(log, "");
  link.SetBufferCount(4);
  std::vector<double> seen;
  f.table.First();
  for (int step = 0; !f.table.Eof(); ++step) {
    if (step == 2) link.SetDataSource(&source);  // grows the window around record 2
    if (step == 4) link.SetDataSource(nullptr);  // shrinks it again at record 4
    seen.push_back(f.table.Fields(0).AsFloat());
    EXPECT_EQ(f.table.RecNo(), step + 1);
    f.table.Next();
  }
  EXPECT_EQ(seen, (std::vector<double>{0, 1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace plotvik::testing
