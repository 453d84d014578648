#pragma once

#include <memory>
#include <string>

#include "follow/file_follower.h"

namespace plotvik {

class TFileWatch;
class TForm1;

// Following the shown file while it is written: a watch on the file and its folder, an
// incremental reader, and the loader's own steps to turn new lines into records. The caption
// tells that the file is followed and how many lines it holds.
class TFileFollowing : private TFollowSink {
 public:
  explicit TFileFollowing(TForm1& form);
  ~TFileFollowing() override;
  TFileFollowing(const TFileFollowing&) = delete;
  TFileFollowing& operator=(const TFileFollowing&) = delete;

  bool Active() const { return follower_ != nullptr; }
  // Loads `fileName` (a full name) as a new run, whole lines only, and follows it. A file that
  // cannot be read is reported as File > Open reports it, and is loaded once it is there.
  void Start(const std::string& fileName);
  // Ends following; the charts keep what they show and the caption is as without following.
  void Stop();
  // Reads the followed file again from its start, as a new run.
  void Reload();
  // Takes what changed in the file since the last look: what the watch runs once the file's
  // changes have rested.
  void TakeChanges() { Look(false); }

  // How long the changes must rest before they are read.
  static constexpr int kSettleMilliseconds = 150;

 private:
  // Reads what changed and takes it; `reportGone` raises the file's error when it is not there.
  void Look(bool reportGone);
  void NewRun() override;
  void TakeLine(std::string& line, bool provisional, bool replacesProvisional) override;
  // Puts the line's numbers into the last record in place of those it holds.
  void ReplaceLastRecord(std::string& line);
  void ShowCaption();

  TForm1& form_;
  std::unique_ptr<TFileFollower> follower_;
  std::unique_ptr<TFileWatch> watch_;
  // This run has shown its "Invalid file format" already.
  bool warned_ = false;
  // The look at hand met a bad line.
  bool bad_ = false;
  // The provisional line taken last made the last record.
  bool provisionalRecord_ = false;
  // A provisional line became one that cannot replace its record: the file is read again as the
  // same run, and until then nothing more is taken.
  bool readAgain_ = false;
  // Set while a look runs: a look asked for from a box it shows waits for its end.
  bool looking_ = false;
  bool lookAgain_ = false;
};

}  // namespace plotvik
