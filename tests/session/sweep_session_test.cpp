// What a session tells its listeners, and when, for each thing the window asks of it: the
// views hang on these changes (the step cursor goes with its run, the caption counts a followed
// file's lines, the reference's series bind before its table fills).

#include "session/sweep_session.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/component.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"
#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

using Log = std::vector<std::string>;

const char* ChangeName(TSessionChange change) {
  switch (change) {
    case TSessionChange::scRunReplaced:
      return "run replaced";
    case TSessionChange::scRowsAppended:
      return "rows appended";
    case TSessionChange::scFollowingStarted:
      return "following started";
    case TSessionChange::scFollowingStopped:
      return "following stopped";
    case TSessionChange::scFollowingLooked:
      return "looked";
    case TSessionChange::scReferenceCreated:
      return "reference created";
    case TSessionChange::scReferenceSet:
      return "reference set";
    case TSessionChange::scReferenceShown:
      return "reference shown";
    case TSessionChange::scReferenceHidden:
      return "reference hidden";
  }
  return "?";
}

// The dialog's answers come from a script; the warnings and the changes go into one log, so
// that their order shows.
class Recorder : public TSweepFileUi, public TSessionListener {
 public:
  explicit Recorder(Log& log) : log_(log) {}
  std::optional<std::string> ChooseFile() override {
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowWarning(const std::string& text) override { log_.push_back("warning " + text); }
  void SessionChanged(TSessionChange change) override { log_.push_back(ChangeName(change)); }

  std::deque<std::optional<std::string>> answers;

 private:
  Log& log_;
};

struct Session {
  Session() { session.AddListener(recorder); }
  ~Session() { session.RemoveListener(recorder); }

  // Runs `step`, logging an exception it lets escape.
  void Try(const std::function<void()>& step) {
    try {
      step();
    } catch (const std::exception&) {
      log.push_back("raised");
    }
  }
  void Append(const std::string& file, const std::string& lines) {
    std::ofstream(file, std::ios::binary | std::ios::app) << lines;
  }

  testing::TempDir dir;
  const std::string good = dir.Write("good.txt", "1 2 3\n2 3 4\n");
  const std::string other = dir.Write("other.txt", "1 2 5\n");
  const std::string bad = dir.Write("bad.txt", "1 2 3\n2 x 4\n3 4 5\n");
  const std::string missing = (dir.Path() / "missing.txt").string();
  Log log;
  TComponent owner{"Owner"};
  TMemTable& run = CreateSweepTable(owner);
  Recorder recorder{log};
  TSweepSession session{run, recorder};
};

struct ChangeCase {
  const char* name;
  std::function<void(Session&)> act;
  Log expected;
};

class SessionChanges : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(SessionChanges, ListenersHearWhatChangedInOrder) {
  Session s;
  GetParam().act(s);
  EXPECT_EQ(s.log, GetParam().expected);
}

const ChangeCase kChangeCases[] = {
    {"OpenReplacesTheRun", [](Session& s) { s.session.OpenFile(s.good); }, {"run replaced"}},
    {"OpenThroughTheDialog",
     [](Session& s) {
       s.recorder.answers = {s.good};
       s.session.Open();
     },
     {"run replaced"}},
    {"CancelledDialogChangesNothing", [](Session& s) { s.session.Open(); }, {}},
    {"FileThatCannotBeOpenedChangesNothing",
     [](Session& s) { s.Try([&] { s.session.OpenFile(s.missing); }); },
     {"raised"}},
    // The warning's box runs a message loop in which the charts repaint the new run.
    {"BadLineTellsOfTheNewRunBeforeItsWarning",
     [](Session& s) { s.session.OpenFile(s.bad); },
     {"run replaced", "warning Invalid file format"}},
    {"FollowLoadsTheFileAsANewRun",
     [](Session& s) { s.session.Follow(s.good); },
     {"following started", "run replaced", "looked"}},
    {"FollowedLinesAreAppended",
     [](Session& s) {
       s.session.Follow(s.good);
       s.log.clear();
       s.Append(s.good, "3 4 5\n");
       s.session.TakeFollowedChanges();
     },
     {"rows appended", "looked"}},
    {"NothingNewIsOnlyALook",
     [](Session& s) {
       s.session.Follow(s.good);
       s.log.clear();
       s.session.TakeFollowedChanges();
     },
     {"looked"}},
    {"FollowedFileRewrittenIsANewRun",
     [](Session& s) {
       s.session.Follow(s.good);
       s.log.clear();
       s.dir.Write("good.txt", "7 8 9\n8 9 10\n9 10 11\n");
       s.session.TakeFollowedChanges();
     },
     {"run replaced", "looked"}},
    {"ReloadWhileFollowingIsANewRun",
     [](Session& s) {
       s.session.Follow(s.good);
       s.log.clear();
       s.session.ReloadFollowed();
     },
     {"run replaced", "looked"}},
    {"OpeningAFileEndsFollowingFirst",
     [](Session& s) {
       s.session.Follow(s.good);
       s.log.clear();
       s.session.OpenFile(s.other);
     },
     {"following stopped", "run replaced"}},
    {"ToggleFollowingStopsAndStartsAgain",
     [](Session& s) {
       s.session.OpenFile(s.good);
       s.log.clear();
       s.session.ToggleFollowing();
       s.session.ToggleFollowing();
     },
     {"following started", "run replaced", "looked", "following stopped"}},
    {"ToggleFollowingBeforeAnyFileDoesNothing",
     [](Session& s) { s.session.ToggleFollowing(); },
     {}},
    {"KeepBeforeAnyRunDoesNothing", [](Session& s) { s.session.KeepReference(); }, {}},
    // The table is created once and told of before it fills; each keep sets it anew.
    {"KeepCreatesTheReferenceOnce",
     [](Session& s) {
       s.session.OpenFile(s.good);
       s.log.clear();
       s.session.KeepReference();
       s.session.KeepReference();
     },
     {"reference created", "reference set", "reference set"}},
    {"ToggleHidesAndShowsTheReference",
     [](Session& s) {
       s.session.OpenFile(s.good);
       s.session.KeepReference();
       s.log.clear();
       s.session.ToggleReference();
       s.session.ToggleReference();
     },
     {"reference hidden", "reference shown"}},
    {"ToggleWithoutAReferenceDoesNothing", [](Session& s) { s.session.ToggleReference(); }, {}},
    {"ReferenceThatCannotBeOpenedIsNotSet",
     [](Session& s) { s.Try([&] { s.session.LoadReference(s.missing); }); },
     {"reference created", "raised"}},
    // A reference's load replaces no run, also when it warns.
    {"ReferenceWithABadLineWarnsAndIsSet",
     [](Session& s) { s.session.LoadReference(s.bad); },
     {"reference created", "warning Invalid file format", "reference set"}},
};

INSTANTIATE_TEST_SUITE_P(Session, SessionChanges, ::testing::ValuesIn(kChangeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SessionRuns, TheCurrentFileIsTheLastOneReadAndTheReferenceKeepsItsOwnRecords) {
  Session s;
  s.session.OpenFile(s.good);
  EXPECT_EQ(s.session.CurrentFile(), s.good);
  EXPECT_EQ(s.run.RecordCount(), 2);
  s.Try([&] { s.session.OpenFile(s.missing); });
  EXPECT_EQ(s.session.CurrentFile(), s.good);
  EXPECT_EQ(s.run.RecordCount(), 2);

  s.session.KeepReference();
  s.session.OpenFile(s.other);
  EXPECT_EQ(s.session.CurrentFile(), s.other);
  EXPECT_EQ(s.run.RecordCount(), 1);
  ASSERT_NE(s.session.ReferenceTable(), nullptr);
  EXPECT_EQ(s.session.ReferenceTable()->RecordCount(), 2);
  EXPECT_TRUE(s.session.ReferencePresent());
  EXPECT_TRUE(s.session.ReferenceShown());
}

}  // namespace
}  // namespace plotvik
