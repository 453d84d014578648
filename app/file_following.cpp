#include "app/file_following.h"

#include <chrono>

#include "platform/gui/application.h"
#include "platform/gui/file_watch.h"
#include "platform/gui/form.h"
#include "session/sweep_session.h"

namespace plotvik {

TFileFollowing::TFileFollowing(TSweepSession& session, TForm& window, std::string caption)
    : session_(session), window_(window), caption_(std::move(caption)) {
  session_.AddListener(*this);
}

TFileFollowing::~TFileFollowing() {
  session_.RemoveListener(*this);
}

bool TFileFollowing::Active() const {
  return session_.Following();
}

void TFileFollowing::TakeChanges() {
  session_.TakeFollowedChanges();
}

void TFileFollowing::SessionChanged(TSessionChange change) {
  switch (change) {
    case TSessionChange::scFollowingStarted:
      // Watched from before the first look, so that no change after it goes unnoticed.
      watch_ = std::make_unique<TFileWatch>(
          session_.FollowedFile(), std::chrono::milliseconds(kSettleMilliseconds),
          [this] { window_.Application().Guard([this] { TakeChanges(); }); });
      ShowCaption();
      break;
    case TSessionChange::scFollowingStopped:
      watch_.reset();
      window_.SetCaption(caption_);
      break;
    case TSessionChange::scRunReplaced:
    case TSessionChange::scRowsAppended:
      if (session_.Following()) ShowCaption();
      break;
    case TSessionChange::scFollowingLooked:
      if (watch_ == nullptr) break;
      if (const auto deadline = session_.FollowQuietDeadline()) watch_->WakeAt(*deadline);
      break;
    default:
      break;
  }
}

void TFileFollowing::ShowCaption() {
  window_.SetCaption(caption_ + "  [слежение за файлом, строк: " +
                     std::to_string(session_.FollowedLineCount()) + "]");
}

}  // namespace plotvik
