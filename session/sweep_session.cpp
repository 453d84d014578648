#include "session/sweep_session.h"

#include <algorithm>

#include "platform/scope_guard.h"
#include "reference/reference_run.h"
#include "session/run_following.h"
#include "table/mem_table.h"

namespace plotvik {

TSweepSession::TSweepSession(TMemTable& run, TSweepFileUi& ui)
    : run_(run), ui_(ui), loader_(run), runHeard_(loader_.RunCount()) {}

TSweepSession::~TSweepSession() = default;

void TSweepSession::AddListener(TSessionListener& listener) {
  listeners_.push_back(&listener);
}

void TSweepSession::RemoveListener(TSessionListener& listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener), listeners_.end());
}

void TSweepSession::Notify(TSessionChange change) {
  // A listener may show a box whose message loop runs a command that adds or removes one.
  const std::vector<TSessionListener*> listeners = listeners_;
  for (TSessionListener* listener : listeners) listener->SessionChanged(change);
}

bool TSweepSession::NoteNewRun() {
  if (loader_.RunCount() == runHeard_) return false;
  runHeard_ = loader_.RunCount();
  Notify(TSessionChange::scRunReplaced);
  return true;
}

void TSweepSession::Open() {
  LoadChosenFile();
}

void TSweepSession::OpenFile(const std::string& fileName) {
  givenFile_ = fileName;
  const TScopeGuard forget([this] { givenFile_.reset(); });
  LoadChosenFile();
}

void TSweepSession::LoadChosenFile() {
  chosenFile_.reset();
  choosingRun_ = true;
  try {
    loader_.actOpenFileExecute(*this);
  } catch (...) {
    choosingRun_ = false;
    // A load that failed after it emptied the table (its file would not close) has still
    // replaced the run.
    NoteNewRun();
    throw;
  }
  choosingRun_ = false;
  // A file that could not be opened has raised by now and leaves the shown run's name.
  if (chosenFile_) currentFile_ = std::move(chosenFile_);
  chosenFile_.reset();
  NoteNewRun();
}

std::optional<std::string> TSweepSession::ChooseFile() {
  if (givenFile_) {
    chosenFile_ = givenFile_;
  } else if (std::optional<std::string> chosen = ui_.ChooseFile()) {
    chosenFile_ = std::move(chosen);
  } else {
    return std::nullopt;
  }
  // A new run chosen ends following, before the load touches the table.
  if (choosingRun_) StopFollowing();
  return chosenFile_;
}

void TSweepSession::ShowWarning(const std::string& text) {
  // The box runs a message loop in which the charts repaint: the old run's cursor and tips go
  // before it.
  NoteNewRun();
  ui_.ShowWarning(text);
}

void TSweepSession::Follow(const std::string& fileName) {
  currentFile_ = fileName;
  StartFollowing(fileName);
}

void TSweepSession::ToggleFollowing() {
  if (Following()) {
    StopFollowing();
  } else if (currentFile_) {
    StartFollowing(*currentFile_);
  }
}

void TSweepSession::StartFollowing(const std::string& fileName) {
  StopFollowing();
  following_ = std::make_unique<TRunFollowing>(fileName, loader_, run_);
  Notify(TSessionChange::scFollowingStarted);
  Look(true);
}

void TSweepSession::StopFollowing() {
  if (!Following()) return;
  following_.reset();
  Notify(TSessionChange::scFollowingStopped);
}

void TSweepSession::ReloadFollowed() {
  if (!Following()) return;
  following_->Restart();
  Look(true);
}

const std::string& TSweepSession::FollowedFile() const {
  static const std::string kNone;
  return following_ ? following_->FileName() : kNone;
}

std::int64_t TSweepSession::FollowedLineCount() const {
  return following_ ? following_->LineCount() : 0;
}

std::optional<TFileFollower::TClock::time_point> TSweepSession::FollowQuietDeadline() const {
  return following_ ? following_->QuietDeadline() : std::nullopt;
}

void TSweepSession::Look(bool reportGone) {
  if (!Following()) return;
  // A box this look shows runs a message loop of its own, in which the watch may call again.
  if (looking_) {
    lookAgain_ = true;
    return;
  }
  looking_ = true;
  {
    const TScopeGuard lookEnds([this] { looking_ = false; });
    TRunLook look;
    try {
      look = following_->Look(reportGone);
    } catch (...) {
      NoteNewRun();
      throw;
    }
    if (!NoteNewRun() && look.change == TFollowChange::fcGrown) {
      Notify(TSessionChange::scRowsAppended);
    }
    if (look.warn) ui_.ShowWarning(kInvalidFileFormat);
  }
  // The box may have ended following.
  if (!Following()) return;
  Notify(TSessionChange::scFollowingLooked);
  if (lookAgain_) {
    lookAgain_ = false;
    Look(false);
  }
}

TMemTable* TSweepSession::ReferenceTable() const {
  return reference_ ? &reference_->Table() : nullptr;
}

bool TSweepSession::ReferencePresent() const {
  return reference_ != nullptr && reference_->Present();
}

void TSweepSession::CreateReference() {
  if (reference_ != nullptr) return;
  reference_ = std::make_unique<TReferenceRun>();
  Notify(TSessionChange::scReferenceCreated);
}

void TSweepSession::KeepReference() {
  if (!run_.Active()) return;
  CreateReference();
  reference_->Keep(run_);
  referenceShown_ = true;
  Notify(TSessionChange::scReferenceSet);
}

void TSweepSession::LoadReference(const std::string& fileName) {
  CreateReference();
  givenFile_ = fileName;
  {
    const TScopeGuard forget([this] { givenFile_.reset(); });
    reference_->Load(*this);
  }
  if (!ReferencePresent()) return;
  referenceShown_ = true;
  Notify(TSessionChange::scReferenceSet);
}

void TSweepSession::ToggleReference() {
  if (!ReferencePresent()) return;
  referenceShown_ = !referenceShown_;
  Notify(referenceShown_ ? TSessionChange::scReferenceShown : TSessionChange::scReferenceHidden);
}

}  // namespace plotvik
