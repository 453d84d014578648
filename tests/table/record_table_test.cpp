#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "table_fixture.h"

namespace plotvik::testing {
namespace {

using Log = std::vector<std::string>;

TEST(SweepTable, DeclaredShape) {
  SweepForm f;
  const char* names[] = {"Id", "Val", "height", "R", "jX", "SWR", "Ga", "FB", "Elevation"};
  EXPECT_EQ(f.table.Name(), "mtData");
  EXPECT_EQ(f.table.State(), DataSetState::StateInactive);
  ASSERT_EQ(f.table.FieldCount(), 9);
  for (int i = 0; i < 9; ++i) {
    TField& field = f.table.Fields(i);
    EXPECT_EQ(field.FieldName(), names[i]);
    EXPECT_EQ(field.Name(), std::string("mtData") + names[i]);
    EXPECT_EQ(field.Owner(), &f.form);
    EXPECT_EQ(field.DataType(), TFieldType::ftFloat);
    EXPECT_EQ(field.FieldNo(), 0);
  }
  EXPECT_EQ(f.table.FieldDefs().Count(), 5);  // declared, not yet effective
  f.table.Open();
  ASSERT_EQ(f.table.FieldDefs().Count(), 9);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(f.table.FieldDefs()[i].Name(), names[i]);
    EXPECT_EQ(f.table.Fields(i).FieldNo(), i + 1);
  }
  f.table.Close();
  EXPECT_EQ(f.table.Fields(4).FieldNo(), 0);
}

TEST(SweepTable, FieldLookupIgnoresCaseAndForgetsDeclaredDefinitions) {
  SweepForm f;
  f.table.Open();
  EXPECT_EQ(&f.table.FieldByName("HEIGHT"), &f.table.Fields(2));
  EXPECT_EQ(f.table.FindField("elevation"), &f.table.Fields(8));
  EXPECT_EQ(f.table.FindField("RjX"), nullptr);
  try {
    f.table.FieldByName("RjX");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "mtData: Field 'RjX' not found");
  }
}

// Every row of the table of states, from a fresh table, checked with state and record count.
TEST(RecordTable, StateTable) {
  SweepForm f;
  TMemTable& t = f.table;
  auto expect = [&](DataSetState state, int stored) {
    EXPECT_EQ(t.State(), state);
    if (t.Active()) {
      EXPECT_EQ(t.RecordCount(), stored);
    }
  };
  expect(DataSetState::StateInactive, 0);
  t.Open();
  expect(DataSetState::StateBrowse, 0);
  t.Append();
  expect(DataSetState::StateInsert, 0);
  t.Edit();
  expect(DataSetState::StateInsert, 0);
  EXPECT_FALSE(t.Modified());
  t.Fields(0).SetValue(1.0);
  EXPECT_TRUE(t.Modified());
  t.Post();
  expect(DataSetState::StateBrowse, 1);
  EXPECT_FALSE(t.Modified());
  t.Append();
  t.Fields(0).SetValue(2.0);
  t.Cancel();
  expect(DataSetState::StateBrowse, 1);
  t.Append();
  t.CheckBrowseMode();  // nothing set: discarded
  expect(DataSetState::StateBrowse, 1);
  t.Append();
  t.Fields(0).SetValue(3.0);
  t.CheckBrowseMode();  // something set: stored as by a post
  expect(DataSetState::StateBrowse, 2);
  t.Append();
  t.Fields(0).SetValue(4.0);
  t.Close();  // cancels first: never stored
  expect(DataSetState::StateInactive, 0);
  t.Open();
  expect(DataSetState::StateBrowse, 0);
  t.First();
  EXPECT_TRUE(t.Bof());
  EXPECT_TRUE(t.Eof());
  EXPECT_TRUE(t.Fields(0).IsNull());
}

TEST(RecordTable, AppendIsTheSameOnEmptyAndFilledTables) {
  for (int stored : {0, 3}) {
    SCOPED_TRACE(stored);
    SweepForm f;
    f.table.Open();
    for (int i = 0; i < stored; ++i) f.AddRecord({double(i + 1)});
    f.table.Append();
    EXPECT_EQ(f.table.State(), DataSetState::StateInsert);
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(f.table.Fields(i).IsNull());
    EXPECT_EQ(f.table.RecordCount(), stored);
    EXPECT_EQ(f.table.RecNo(), -1);
    EXPECT_TRUE(f.table.GetBookmark().IsNone());
    f.table.Cancel();
    // The stored records are untouched and the appended one is gone.
    std::vector<double> ids;
    for (f.table.First(); !f.table.Eof(); f.table.Next())
      ids.push_back(f.table.Fields(0).AsFloat());
    EXPECT_EQ(ids.size(), static_cast<size_t>(stored));
    for (int i = 0; i < stored; ++i) EXPECT_EQ(ids[static_cast<size_t>(i)], i + 1);
  }
}

TEST(RecordTable, ValuesKeepTheirBitsAndUnsetFieldsStayNull) {
  const double values[] = {0.1,
                           -0.0,
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::max(),
                           -std::numeric_limits<double>::infinity(),
                           std::bit_cast<double>(std::uint64_t{0x7FF8'0000'DEAD'BEEF}),
                           1e300};
  SweepForm f;
  f.table.Open();
  for (double v : values) f.AddRecord({v, v, v, v, v});  // five of nine
  f.AddRecord({});                                       // a blank line
  f.table.First();
  for (double v : values) {
    ASSERT_FALSE(f.table.Eof());
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(std::bit_cast<std::uint64_t>(f.table.Fields(i).AsFloat()),
                std::bit_cast<std::uint64_t>(v));
    }
    for (int i = 5; i < 9; ++i) {
      EXPECT_TRUE(f.table.Fields(i).IsNull());
      EXPECT_EQ(f.table.Fields(i).AsFloat(), 0.0);
      EXPECT_TRUE(f.table.Fields(i).Value().IsNull());
    }
    f.table.Next();
  }
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(f.table.Fields(i).IsNull());
  f.table.Next();
  EXPECT_TRUE(f.table.Eof());
}

TEST(RecordTable, PostLeavesCursorOnThePostedRecord) {
  SweepForm f;
  f.table.Open();
  for (int i = 1; i <= 4; ++i) {
    f.AddRecord({double(i)});
    EXPECT_EQ(f.table.RecNo(), i);
    EXPECT_EQ(f.table.Fields(0).AsFloat(), i);
    EXPECT_FALSE(f.table.GetBookmark().IsNone());
  }
}

TEST(RecordTable, ClosedTableReadsNullAndIgnoresWrites) {
  SweepForm f;
  Log log;
  RecordingSource source(log);
  source.SetDataSet(&f.table);
  f.table.Fields(2).SetValue(3.0);
  f.table.Fields(2).Clear();
  EXPECT_TRUE(f.table.Fields(2).IsNull());
  EXPECT_EQ(f.table.RecNo(), -1);
  EXPECT_TRUE(f.table.GetBookmark().IsNone());
  EXPECT_TRUE(log.empty());
}

TEST(RecordTable, BookmarksReturnToTheirRecordAcrossSearchStrategies) {
  // Up to 20 entries a linear scan finds the record, beyond that a binary search; both must
  // land on the same record, including the first and the last.
  for (int count : {1, 2, 20, 21, 22, 64, 257}) {
    SCOPED_TRACE(count);
    SweepForm f;
    f.table.Open();
    std::vector<TBookmark> marks;
    for (int i = 0; i < count; ++i) {
      f.AddRecord({double(i)});
      marks.push_back(f.table.GetBookmark());
    }
    for (int i : {count - 1, 0, count / 2, count / 3, count - 2}) {
      if (i < 0) continue;
      f.table.GotoBookmark(marks[static_cast<size_t>(i)]);
      EXPECT_EQ(f.table.RecNo(), i + 1);
      EXPECT_EQ(f.table.Fields(0).AsFloat(), i);
    }
    for (TBookmark& m : marks) f.table.FreeBookmark(m);
    EXPECT_TRUE(marks.front().IsNone());
  }
}

TEST(RecordTable, StaleBookmarkFindsNothing) {
  SweepForm f;
  f.table.Open();
  f.AddRecord({5});
  TBookmark mark = f.table.GetBookmark();
  f.table.Close();
  f.table.Open();
  // The record it pointed at is gone; an empty table has nothing to land on.
  try {
    f.table.GotoBookmark(mark);
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "mtData: Record not found");
  }
  f.AddRecord({6});
  f.AddRecord({7});
  f.table.GotoBookmark(mark);  // new record 0 lives elsewhere: the cursor stays put
  EXPECT_EQ(f.table.Fields(0).AsFloat(), 7.0);
}

TEST(RecordTable, HooksRunWhereTheOperationsPlaceThem) {
  Log log;  // outlives the form: its destruction still runs BeforeClose
  SweepForm f;
  TMemTable& t = f.table;
  auto hook = [&](const char* name) { return [&log, name](TDataSet&) { log.push_back(name); }; };
  t.BeforeOpen = hook("BeforeOpen");
  t.AfterOpen = hook("AfterOpen");
  t.BeforeClose = hook("BeforeClose");
  t.AfterClose = hook("AfterClose");
  t.BeforeInsert = hook("BeforeInsert");
  t.AfterInsert = hook("AfterInsert");
  t.BeforePost = hook("BeforePost");
  t.AfterPost = hook("AfterPost");
  t.BeforeCancel = hook("BeforeCancel");
  t.AfterCancel = hook("AfterCancel");
  t.BeforeScroll = hook("BeforeScroll");
  t.AfterScroll = hook("AfterScroll");
  t.BeforeRefresh = hook("BeforeRefresh");
  t.AfterRefresh = hook("AfterRefresh");
  t.OnNewRecord = hook("OnNewRecord");
  t.Fields(0).OnChange = [&](TField& field) { log.push_back("OnChange " + field.FieldName()); };

  struct Step {
    const char* name;
    std::function<void()> run;
    Log expected;
  };
  // clang-format off
  const Step steps[] = {
      {"open",              [&] { t.Open(); },                  {"BeforeOpen", "BeforeRefresh", "AfterRefresh", "AfterOpen"}},
      {"append",            [&] { t.Append(); },                {"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll"}},
      {"set",               [&] { t.Fields(0).SetValue(1.0); }, {"OnChange Id"}},
      {"post",              [&] { t.Post(); },                  {"BeforePost", "AfterPost"}},
      {"first",             [&] { t.First(); },                 {"BeforeScroll", "AfterScroll"}},
      {"next to eof",       [&] { t.Next(); },                  {"BeforeScroll", "AfterScroll"}},
      {"next at eof",       [&] { t.Next(); },                  {"BeforeScroll"}},
      {"append and cancel", [&] { t.Append(); t.Cancel(); },    {"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll", "BeforeCancel", "BeforeScroll", "AfterCancel", "AfterScroll"}},
      {"refresh",           [&] { t.Refresh(); },               {"BeforeRefresh", "AfterRefresh"}},
      {"close",             [&] { t.Close(); },                 {"BeforeClose", "AfterClose"}},
      {"reopen",            [&] { t.Open(); },                  {"BeforeOpen", "BeforeRefresh", "AfterRefresh", "AfterOpen"}},
  };
  // clang-format on
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    log.clear();
    step.run();
    EXPECT_EQ(log, step.expected);
  }
}

TEST(RecordTable, NewRecordFailureReturnsToBrowse) {
  SweepForm f;
  f.table.Open();
  f.AddRecord({1});
  f.table.OnNewRecord = [](TDataSet&) { throw EAbort(); };
  EXPECT_THROW(f.table.Append(), EAbort);
  EXPECT_EQ(f.table.State(), DataSetState::StateBrowse);
  EXPECT_EQ(f.table.Fields(0).AsFloat(), 1.0);
}

TEST(RecordTable, FormDestructionClosesWithoutCancelOrAfterClose) {
  Log log;
  {
    SweepForm f;
    Log sourceLog;
    f.table.Open();
    f.AddRecord({1});
    f.table.Append();
    f.table.Fields(0).SetValue(2.0);
    f.table.BeforeCancel = [&](TDataSet&) { log.push_back("BeforeCancel"); };
    f.table.BeforeClose = [&](TDataSet& t) { log.push_back("BeforeClose " + Short(t.State())); };
    f.table.AfterClose = [&](TDataSet&) { log.push_back("AfterClose"); };
    f.table.AfterPost = [&](TDataSet&) { log.push_back("AfterPost"); };
  }
  // The close that the first field's destruction causes still owes the before-close step; by
  // then the table is inactive, so there is nothing to cancel and nothing is posted.
  EXPECT_EQ(log, (Log{"BeforeClose Inactive"}));
}

TEST(RecordTable, EditInBrowseEditsTheActiveRecord) {
  SweepForm f;
  Log log;
  RecordingSource source(log);
  source.SetDataSet(&f.table);
  f.table.Open();
  f.AddRecord({1, 2});
  f.AddRecord({3, 4});
  f.table.First();
  log.clear();
  f.table.Edit();
  EXPECT_EQ(f.table.State(), DataSetState::StateEdit);
  EXPECT_EQ(log, (Log{"BrowseModeCheck", "StateChanged", "OnStateChange Edit", "RecordReplaced",
                      "OnDataChange Edit"}));
  f.table.Fields(1).SetValue(20.0);
  f.table.Post();
  EXPECT_EQ(f.table.RecordCount(), 2);
  EXPECT_EQ(f.table.RecNo(), 1);
  EXPECT_EQ(f.table.Fields(1).AsFloat(), 20.0);
  f.table.Next();
  EXPECT_EQ(f.table.Fields(1).AsFloat(), 4.0);
}

// Readers that remember what they read rely on the count: it must move on every change to the
// records read so far and stay put when records are only appended.
TEST(RecordTable, RewriteCountMovesUnlessARecordIsAppended) {
  struct Case {
    const char* name;
    void (*operation)(SweepForm&);
    bool rewrites;
  };
  // clang-format off
  const Case cases[] = {
      {"append and post",   [](SweepForm& f) { f.AddRecord({7}); },                                                                 false},
      {"append and cancel", [](SweepForm& f) { f.table.Append(); f.table.Fields(0).SetValue(7.0); f.table.Cancel(); },              false},
      {"walk",              [](SweepForm& f) { f.table.First(), f.table.Next(), f.table.Last(); },                                  false},
      {"edit and post",     [](SweepForm& f) { f.table.First(); f.table.Edit(); f.table.Fields(0).SetValue(9.0); f.table.Post(); }, true},
      {"close",             [](SweepForm& f) { f.table.Close(); },                                                                  true},
      {"close and open",    [](SweepForm& f) { f.table.Close(), f.table.Open(); },                                                  true},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SweepForm f;
    f.table.Open();
    f.AddRecord({1});
    f.AddRecord({2});
    const std::uint64_t before = f.table.RewriteCount();
    c.operation(f);
    EXPECT_EQ(f.table.RewriteCount() != before, c.rewrites);
  }
}

// Last stands in for a walk whose records the reader has already seen: whatever a walk leaves
// behind (window, store cursor, flags, the bookmark the next reader takes) must be the same.
TEST(RecordTable, LastEndsWhereAWalkEnds) {
  struct Where {
    int recNo;
    bool bof, eof;
    int cursor;
    double value;
    bool bookmarkNone;
    bool operator==(const Where&) const = default;
  };
  auto where = [](SweepForm& f) {
    return Where{f.table.RecNo(),
                 f.table.Bof(),
                 f.table.Eof(),
                 f.table.Cursor(),
                 f.table.Fields(0).AsFloat(),
                 f.table.GetBookmark().IsNone()};
  };
  for (int records : {0, 1, 2, 25}) {
    for (bool insidePost : {false, true}) {
      SCOPED_TRACE(std::to_string(records) + (insidePost ? " inside a post" : ""));
      SweepForm walked, skipped;
      for (SweepForm* f : {&walked, &skipped}) {
        f->table.Open();
        for (int i = 1; i <= records; ++i) f->AddRecord({double(i)});
        if (records > 0) f->table.First();
        if (insidePost) {
          // As a reader inside a post's state change finds it: the new record is stored, the
          // window still holds its buffer.
          f->table.Append();
          f->table.Fields(0).SetValue(100.0);
        }
      }
      Where walkedEnd, skippedEnd;
      auto read = [&](SweepForm& f, bool walk, Where& end) {
        f.table.DisableControls();
        if (walk) {
          for (f.table.First(); !f.table.Eof(); f.table.Next()) {
          }
        } else {
          f.table.Last();
        }
        end = where(f);
        f.table.EnableControls();
      };
      if (insidePost) {
        TDataSource walker, skipper;
        walker.OnStateChange = [&](TDataSource& s) {
          if (s.State() == DataSetState::StateBrowse) read(walked, true, walkedEnd);
        };
        skipper.OnStateChange = [&](TDataSource& s) {
          if (s.State() == DataSetState::StateBrowse) read(skipped, false, skippedEnd);
        };
        walker.SetDataSet(&walked.table);
        skipper.SetDataSet(&skipped.table);
        walked.table.Post();
        skipped.table.Post();
      } else {
        Log log;
        RecordingSource source(log);
        source.SetDataSet(&skipped.table);
        log.clear();
        read(walked, true, walkedEnd);
        read(skipped, false, skippedEnd);
        // With the controls disabled nothing but the enable's reload reaches a source.
        EXPECT_EQ(log, (Log{"RecordsReloaded", "OnDataChange Browse"}));
      }
      EXPECT_EQ(walkedEnd, skippedEnd);
      EXPECT_EQ(where(walked), where(skipped));
    }
  }
}

TEST(Variant, ConversionToDouble) {
  struct Case {
    Variant value;
    std::optional<double> expected;
  };
  const Case cases[] = {{Variant(), std::nullopt},
                        {Variant(2.5), 2.5},
                        {Variant(3), 3.0},
                        {Variant("1e3"), 1000.0},
                        {Variant(" -0.5 "), -0.5},
                        {Variant("+7"), 7.0},
                        {Variant("abc"), std::nullopt},
                        {Variant("1,5"), std::nullopt},
                        {Variant(""), std::nullopt},
                        {Variant("+-1"), std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(c.value.ToDouble(), c.expected);
}

TEST(FloatField, DisplayTextAndNoRange) {
  SweepForm f;
  f.table.Open();
  f.table.Append();
  TField& x = f.table.Fields(0);
  EXPECT_EQ(x.DisplayText(), "");
  x.SetValue(0.1);
  EXPECT_EQ(x.DisplayText(), "0.1");
  x.SetValue(1.0 / 3.0);
  EXPECT_EQ(x.DisplayText(), "0.333333333333333");
  auto& y = static_cast<TFloatField&>(f.table.Fields(1));
  y.SetValue(1e308);  // no value is rejected for its size
  EXPECT_EQ(y.AsFloat(), 1e308);
}

}  // namespace
}  // namespace plotvik::testing
