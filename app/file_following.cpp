#include "app/file_following.h"

#include <chrono>

#include "app/form1.h"
#include "follow/file_follower.h"
#include "import/line_reader.h"
#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/file_watch.h"
#include "table/mem_table.h"

namespace plotvik {

TFileFollowing::TFileFollowing(TForm1& form) : form_(form) {}

TFileFollowing::~TFileFollowing() = default;

void TFileFollowing::Start(const std::string& fileName) {
  Stop();
  follower_ = std::make_unique<TFileFollower>(fileName);
  watch_ = std::make_unique<TFileWatch>(
      fileName, std::chrono::milliseconds(kSettleMilliseconds),
      [this] { form_.Application().Guard([this] { TakeChanges(); }); });
  warned_ = false;
  ShowCaption();
  Look(true);
}

void TFileFollowing::Stop() {
  if (!Active()) return;
  watch_.reset();
  follower_.reset();
  form_.SetCaption(TForm1::kCaption);
}

void TFileFollowing::Reload() {
  if (!Active()) return;
  follower_->Restart();
  Look(true);
}

void TFileFollowing::Look(bool reportGone) {
  if (!Active()) return;
  // A box this look shows runs a message loop of its own, in which the watch may call again.
  if (looking_) {
    lookAgain_ = true;
    return;
  }
  looking_ = true;
  try {
    TFollowUpdate update = follower_->Look(TFileFollower::TClock::now());
    if (update.change == TFollowChange::fcGone) {
      if (reportGone) throw EInOutError(update.errorCode, IOErrorMessage(update.errorCode));
    } else {
      Take(update);
    }
  } catch (...) {
    looking_ = false;
    throw;
  }
  looking_ = false;
  if (!Active()) return;
  if (const auto deadline = follower_->QuietDeadline()) watch_->WakeAt(*deadline);
  if (lookAgain_) {
    lookAgain_ = false;
    Look(false);
  }
}

void TFileFollowing::Take(TFollowUpdate& update) {
  TSweepFileLoader& loader = form_.Loader();
  TMemTable& table = form_.mtData;
  if (update.change == TFollowChange::fcReplaced) {
    loader.StartRun();
    warned_ = false;
  } else if (update.lines.empty()) {
    return;
  }
  // A record left pending by a load that stopped at a bad line is no part of the run.
  if (table.State() == DataSetState::StateInsert || table.State() == DataSetState::StateEdit) {
    table.Cancel();
  }
  bool bad = false;
  for (std::string& line : update.lines) {
    try {
      loader.LoadLine(line);
    } catch (...) {
      // The bad line's record goes; the lines after it still count.
      if (table.State() != DataSetState::StateBrowse) table.Cancel();
      bad = true;
    }
  }
  ShowCaption();
  if (bad && !warned_) {
    warned_ = true;
    form_.Application().MessageDlg(kInvalidFileFormat, TMsgDlgType::mtWarning);
  }
}

void TFileFollowing::ShowCaption() {
  form_.SetCaption(TForm1::kCaption +
                   "  [слежение за файлом, строк: " + std::to_string(follower_->LineCount()) + "]");
}

}  // namespace plotvik
