#include "session/run_following.h"

#include "import/line_reader.h"
#include "import/sweep_file_loader.h"
#include "platform/exceptions.h"
#include "table/mem_table.h"

namespace plotvik {

TRunFollowing::TRunFollowing(std::string fileName, TSweepFileLoader& loader, TMemTable& run)
    : follower_(std::move(fileName)), loader_(loader), run_(run) {}

TRunFollowing::~TRunFollowing() = default;

TRunLook TRunFollowing::Look(bool reportGone) {
  // A record left pending by a load that stopped at a bad line is no part of the run.
  if (run_.State() == DataSetState::StateInsert || run_.State() == DataSetState::StateEdit) {
    run_.Cancel();
  }
  bad_ = false;
  TFollowUpdate update = follower_.Look(TFileFollower::TClock::now(), *this);
  if (readAgain_) {
    // The user has been told about this run's bad lines already, or is told now.
    readAgain_ = false;
    const bool warned = warned_;
    follower_.Restart();
    update = follower_.Look(TFileFollower::TClock::now(), *this);
    if (update.change == TFollowChange::fcReplaced) warned_ = warned;
  }
  if (update.change == TFollowChange::fcGone && reportGone) {
    throw EInOutError(update.errorCode, IOErrorMessage(update.errorCode));
  }
  TRunLook look{update.change, false};
  const bool took =
      update.change == TFollowChange::fcGrown || update.change == TFollowChange::fcReplaced;
  if (took && bad_ && !warned_) {
    warned_ = true;
    look.warn = true;
  }
  return look;
}

void TRunFollowing::NewRun() {
  loader_.StartRun();
  warned_ = false;
  provisionalRecord_ = false;
}

void TRunFollowing::TakeLine(std::string& line, bool provisional, bool replacesProvisional) {
  if (readAgain_) return;
  const bool replace = replacesProvisional && provisionalRecord_;
  try {
    if (replace) {
      ReplaceLastRecord(line);
    } else {
      loader_.LoadLine(line);
    }
    provisionalRecord_ = provisional;
  } catch (...) {
    if (run_.State() != DataSetState::StateBrowse) run_.Cancel();
    if (replace) {
      // The record cannot go, and must not stay: only a new reading makes the table the file.
      readAgain_ = true;
      return;
    }
    // The bad line's record goes; the lines after it still count.
    provisionalRecord_ = false;
    bad_ = true;
  }
}

void TRunFollowing::ReplaceLastRecord(std::string& line) {
  run_.Last();
  run_.Edit();
  for (int i = 0; i < run_.FieldCount(); ++i) run_.Fields(i).Clear();
  loader_.ParseLineIntoRecord(line);
  run_.Post();
}

}  // namespace plotvik
