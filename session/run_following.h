#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "follow/file_follower.h"

namespace plotvik {

class TMemTable;
class TSweepFileLoader;

// What one look at a followed file did to the run.
struct TRunLook {
  // fcGrown: lines were added to the run; fcReplaced: the run was read anew; fcNone: nothing
  // was taken; fcGone: the file is not there, and the run stays as it was.
  TFollowChange change = TFollowChange::fcNone;
  // Lines were taken and one of them could not be: the first time in a run, the user is told.
  bool warn = false;
};

// A run followed as its file grows: the follower's lines become records of the run through
// the loader's own steps, a provisional last line is replaced in place when it goes on, and a
// bad line's record is dropped while the lines after it still count.
class TRunFollowing : private TFollowSink {
 public:
  // `loader` fills `run` (mtData); both outlive this.
  TRunFollowing(std::string fileName, TSweepFileLoader& loader, TMemTable& run);
  ~TRunFollowing() override;
  TRunFollowing(const TRunFollowing&) = delete;
  TRunFollowing& operator=(const TRunFollowing&) = delete;

  const std::string& FileName() const { return follower_.FileName(); }
  // Lines taken in the current run.
  std::int64_t LineCount() const { return follower_.LineCount(); }
  // When a look could take an unterminated last line, if one is waiting.
  std::optional<TFileFollower::TClock::time_point> QuietDeadline() const {
    return follower_.QuietDeadline();
  }

  // Takes what changed in the file since the last look. `reportGone` raises the file's error
  // (EInOutError) when it is not there.
  TRunLook Look(bool reportGone);
  // Forgets what was taken: the next look reads the file from its start as a new run.
  void Restart() { follower_.Restart(); }

 private:
  void NewRun() override;
  void TakeLine(std::string& line, bool provisional, bool replacesProvisional) override;
  // Puts the line's numbers into the last record in place of those it holds.
  void ReplaceLastRecord(std::string& line);

  TFileFollower follower_;
  TSweepFileLoader& loader_;
  TMemTable& run_;
  // This run has shown its "Invalid file format" already.
  bool warned_ = false;
  // The look at hand met a bad line.
  bool bad_ = false;
  // The provisional line taken last made the last record.
  bool provisionalRecord_ = false;
  // A provisional line became one that cannot replace its record: the file is read again as the
  // same run, and until then nothing more is taken.
  bool readAgain_ = false;
};

}  // namespace plotvik
