#pragma once

#include <memory>
#include <string>

#include "session/session_listener.h"

namespace plotvik {

class TFileWatch;
class TForm;
class TSweepSession;

// The window's side of following a file as it grows: a watch on the file and its folder that
// has the session look once the file's changes have rested, and the caption, which tells that
// the file is followed and how many lines it holds.
class TFileFollowing : private TSessionListener {
 public:
  // `window` shows `caption` while nothing is followed.
  TFileFollowing(TSweepSession& session, TForm& window, std::string caption);
  ~TFileFollowing() override;
  TFileFollowing(const TFileFollowing&) = delete;
  TFileFollowing& operator=(const TFileFollowing&) = delete;

  bool Active() const;
  // Takes what changed in the file since the last look: what the watch runs once the file's
  // changes have rested.
  void TakeChanges();

  // How long the changes must rest before they are read.
  static constexpr int kSettleMilliseconds = 150;

 private:
  void SessionChanged(TSessionChange change) override;
  void ShowCaption();

  TSweepSession& session_;
  TForm& window_;
  const std::string caption_;
  std::unique_ptr<TFileWatch> watch_;
};

}  // namespace plotvik
