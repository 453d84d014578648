#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "table_fixture.h"

namespace plotvik::testing {
namespace {

using Log = std::vector<std::string>;

// A source that walks the whole table from inside its own handlers (at the first browse after
// inactive and after every post), controls disabled and the cursor put back with a bookmark.
// What is checked is the table: how such nested walks interleave with the notifications the
// other sources get. The charts' own refill is tested on the real charts (tests/chart).
class WalkingSource : public RecordingSource {
 public:
  WalkingSource(Log& log, std::string tag) : RecordingSource(log, std::move(tag)) {
    OnStateChange = [this](TDataSource& s) {
      Write("OnStateChange " + Short(s.State()));
      if (s.State() == DataSetState::StateInactive) {
        seenActive_ = false;
        rows.clear();
      } else if (s.State() == DataSetState::StateBrowse && !seenActive_) {
        Walk(*s.DataSet());
        seenActive_ = true;
      }
    };
    OnUpdateData = [this](TDataSource& s) {
      Write("OnUpdateData " + Short(s.State()));
      if (s.State() == DataSetState::StateBrowse) {
        Walk(*s.DataSet());
      } else {
        seenActive_ = false;
      }
    };
  }

  void Walk(TDataSet& table) {
    ++walks;
    rows.clear();
    TField& x = table.FieldByName("HEIGHT");
    TField& y = table.FieldByName("swr");
    table.DisableControls();
    TBookmark mark = table.GetBookmark();
    bookmarkWasNone.push_back(mark.IsNone());
    for (table.First(); !table.Eof(); table.Next()) {
      rows.push_back({x.AsFloat(), y.IsNull() ? -1.0 : y.AsFloat()});
    }
    table.GotoBookmark(mark);
    table.FreeBookmark(mark);
    table.EnableControls();
  }

  int walks = 0;
  std::vector<std::pair<double, double>> rows;
  std::vector<bool> bookmarkWasNone;

 private:
  bool seenActive_ = false;
};

// The loader's part: close, open, then per line append, edit, set by position, post.
void Load(TMemTable& table, const std::vector<std::vector<double>>& lines) {
  if (table.Active()) table.Close();
  table.Open();
  for (const auto& line : lines) {
    table.Append();
    table.Edit();
    for (size_t i = 0; i < line.size(); ++i) table.Fields(static_cast<int>(i)).SetValue(line[i]);
    table.Post();
  }
}

const std::vector<std::vector<double>> kThreeLines = {
    {1, 0, 10.5, 50, -3, 1.5}, {2, 0, 11.5, 51, -2, 1.25}, {3, 0, 12.5, 52, -1}};

// Builds an expected log from (tag, entries) pieces, so the sequence reads as the interleaving
// of the two sources.
Log Of(std::initializer_list<std::pair<const char*, Log>> pieces) {
  Log all;
  for (const auto& [tag, entries] : pieces) {
    for (const std::string& e : entries) all.push_back(tag + e);
  }
  return all;
}

TEST(LoadSequence, ThreeLinesWithASourceWalkingInsideItsHandlers) {
  SweepForm f;
  Log log;
  WalkingSource walker(log, "W:");
  RecordingSource after(log, "R:");
  walker.SetDataSet(&f.table);
  after.SetDataSet(&f.table);
  f.table.Open();
  f.AddRecord({9, 9, 9});  // a loaded table, so the load begins with a real close
  log.clear();
  walker.walks = 0;
  walker.bookmarkWasNone.clear();

  Load(f.table, kThreeLines);

  // One walk at open and one per post, each over every record stored so far.
  EXPECT_EQ(walker.walks, 4);
  EXPECT_EQ(walker.rows,
            (std::vector<std::pair<double, double>>{{10.5, 1.5}, {11.5, 1.25}, {12.5, -1}}));
  // Inside a post the appended buffer has no bookmark yet; at open the window is empty.
  EXPECT_EQ(walker.bookmarkWasNone, (std::vector<bool>{true, true, true, true}));
  // The post's resync puts the cursor on the posted record, whatever the walk did.
  EXPECT_EQ(f.table.RecNo(), 3);
  EXPECT_EQ(f.table.FieldByName("Id").AsFloat(), 3.0);

  // The walker's enable controls reaches every source at once, nested inside the outer
  // notification: R hears it before it hears the StateChanged that started the walk, with
  // its old state (ignored while inactive, OnDataChange in insert).
  Log expected = Of(
      {{"W:", {"StateChanged", "OnStateChange Inactive"}},
       {"R:", {"StateChanged", "OnStateChange Inactive"}},
       // open
       {"W:", {"StateChanged", "OnStateChange Browse", "RecordsReloaded", "OnDataChange Browse"}},
       {"R:", {"RecordsReloaded"}},
       {"W:", {"OnDataChange Browse"}},
       {"R:", {"StateChanged", "OnStateChange Browse", "OnDataChange Browse"}},
       {"W:", {"BrowseModeCheck"}},
       {"R:", {"BrowseModeCheck"}},
       {"W:", {"RecordsReloaded", "OnDataChange Browse"}},
       {"R:", {"RecordsReloaded", "OnDataChange Browse"}}});
  const char* names[] = {"Id", "Val", "height", "R", "jX", "SWR"};
  for (const auto& line : kThreeLines) {
    Log append = Of({{"W:", {"BrowseModeCheck"}},
                     {"R:", {"BrowseModeCheck"}},
                     {"W:", {"StateChanged", "OnStateChange Insert"}},
                     {"R:", {"StateChanged", "OnStateChange Insert"}},
                     {"W:", {"RecordsReloaded", "OnDataChange Insert"}},
                     {"R:", {"RecordsReloaded", "OnDataChange Insert"}}});
    expected.insert(expected.end(), append.begin(), append.end());
    for (size_t n = 0; n < line.size(); ++n) {
      const std::string name = names[n];
      for (const char* tag : {"W:", "R:"}) {
        expected.push_back(tag + ("FieldChanged " + name));
        expected.push_back(tag + ("OnDataChange(" + name + ") Insert"));
      }
    }
    Log post = Of({{"W:", {"RecordUpdate", "OnUpdateData Insert"}},
                   {"R:", {"RecordUpdate", "OnUpdateData Insert"}},
                   {"W:", {"BrowseModeCheck"}},
                   {"R:", {"BrowseModeCheck"}},
                   {"W:", {"StateChanged", "OnStateChange Browse"}},
                   // the walk inside W's OnStateChange: only its enable controls is heard
                   {"W:", {"RecordsReloaded", "OnDataChange Browse"}},
                   {"R:", {"RecordsReloaded", "OnDataChange Insert"}},
                   // the post's own StateChanged goes on to R, then the post's resync
                   {"R:", {"StateChanged", "OnStateChange Browse"}},
                   {"W:", {"RecordsReloaded", "OnDataChange Browse"}},
                   {"R:", {"RecordsReloaded", "OnDataChange Browse"}}});
    expected.insert(expected.end(), post.begin(), post.end());
  }
  EXPECT_EQ(log, expected);
}

TEST(LoadSequence, FailingLineLeavesPendingRecordUnseenUntilNextClose) {
  SweepForm f;
  Log log;
  WalkingSource walker(log, "");
  walker.SetDataSet(&f.table);
  Load(f.table, {{1, 0, 1}, {2, 0, 2}});
  f.table.Append();
  for (int i = 0; i < 9; ++i) f.table.Fields(i).SetValue(double(i));
  // A tenth number: the position is refused before anything is converted.
  try {
    f.table.Fields(9).SetValue(1.0);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (9)");
  }
  EXPECT_EQ(f.table.State(), DataSetState::StateInsert);
  EXPECT_TRUE(f.table.Modified());
  EXPECT_EQ(walker.walks, 3);
  EXPECT_EQ(walker.rows.size(), 2u);
  f.table.Close();  // cancels the pending record; nothing was stored
  // The cancel's return to browse is no reason to re-read: nothing new was stored.
  EXPECT_EQ(walker.walks, 3);
  EXPECT_TRUE(walker.rows.empty());
  f.table.Open();
  EXPECT_EQ(f.table.RecordCount(), 0);
}

}  // namespace
}  // namespace plotvik::testing
