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
  bool took = false;
  try {
    // A record left pending by a load that stopped at a bad line is no part of the run.
    TMemTable& table = form_.mtData;
    if (table.State() == DataSetState::StateInsert || table.State() == DataSetState::StateEdit) {
      table.Cancel();
    }
    bad_ = false;
    TFollowUpdate update = follower_->Look(TFileFollower::TClock::now(), *this);
    if (readAgain_) {
      // The user has been told about this run's bad lines already, or is told now.
      readAgain_ = false;
      const bool warned = warned_;
      follower_->Restart();
      update = follower_->Look(TFileFollower::TClock::now(), *this);
      if (update.change == TFollowChange::fcReplaced) warned_ = warned;
    }
    if (update.change == TFollowChange::fcGone) {
      if (reportGone) throw EInOutError(update.errorCode, IOErrorMessage(update.errorCode));
    }
    took = update.change != TFollowChange::fcNone && update.change != TFollowChange::fcGone;
  } catch (...) {
    looking_ = false;
    throw;
  }
  if (took) ShowCaption();
  if (took && bad_ && !warned_) {
    warned_ = true;
    try {
      form_.Application().MessageDlg(kInvalidFileFormat, TMsgDlgType::mtWarning);
    } catch (...) {
      looking_ = false;
      throw;
    }
  }
  looking_ = false;
  if (!Active()) return;
  if (const auto deadline = follower_->QuietDeadline()) watch_->WakeAt(*deadline);
  if (lookAgain_) {
    lookAgain_ = false;
    Look(false);
  }
}

void TFileFollowing::NewRun() {
  form_.Loader().StartRun();
  warned_ = false;
  provisionalRecord_ = false;
}

void TFileFollowing::TakeLine(std::string& line, bool provisional, bool replacesProvisional) {
  if (readAgain_) return;
  TMemTable& table = form_.mtData;
  const bool replace = replacesProvisional && provisionalRecord_;
  try {
    if (replace) {
      ReplaceLastRecord(line);
    } else {
      form_.Loader().LoadLine(line);
    }
    provisionalRecord_ = provisional;
  } catch (...) {
    if (table.State() != DataSetState::StateBrowse) table.Cancel();
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

void TFileFollowing::ReplaceLastRecord(std::string& line) {
  TMemTable& table = form_.mtData;
  table.Last();
  table.Edit();
  for (int i = 0; i < table.FieldCount(); ++i) table.Fields(i).Clear();
  form_.Loader().ParseLineIntoRecord(line);
  table.Post();
}

void TFileFollowing::ShowCaption() {
  form_.SetCaption(TForm1::kCaption +
                   "  [слежение за файлом, строк: " + std::to_string(follower_->LineCount()) + "]");
}

}  // namespace plotvik
