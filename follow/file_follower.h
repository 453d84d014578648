#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/growing_file.h"

namespace plotvik {

// What a look at a followed file found.
enum class TFollowChange {
  fcNone,      // nothing new to take
  fcGrown,     // new lines after those already taken, which are unchanged
  fcReplaced,  // another file, or the taken part changed: the lines are the whole new run
  fcGone,      // the name names no readable file; what was taken stays
};

struct TFollowUpdate {
  TFollowChange change = TFollowChange::fcNone;
  // The texts of the lines to take, in order, with the line reader's rules: a line ends at LF,
  // CRs vanish from it, a byte 26 ends the file.
  std::vector<std::string> lines;
  // Why the file could not be read (fcGone): one of OsErrorCode's codes.
  int errorCode = 0;
};

// Reads a sweep file as it grows, whole lines only: a line counts once its LF has arrived, and a
// last line without one once the file has been quiet for kQuietTime. Each look reads only what
// is new, plus a fixed-size start of the file to see that what was taken is still there.
class TFileFollower {
 public:
  using TClock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kQuietTime{2000};
  // How much of the file's start is compared on every look.
  static constexpr std::size_t kStartCheckSize = 4096;

  explicit TFileFollower(std::string fileName);

  const std::string& FileName() const { return fileName_; }
  // Looks at the file at time `now`. The first look, and the first after the file was gone,
  // reports fcReplaced with every line there is (or fcGone).
  TFollowUpdate Look(TClock::time_point now);
  // When a look could take an unterminated last line, if one is waiting.
  std::optional<TClock::time_point> QuietDeadline() const;
  // Lines taken in the current run.
  std::int64_t LineCount() const { return lineCount_; }
  // Forgets everything taken: the next look starts a new run.
  void Restart();

 private:
  // Cuts the complete lines out of `bytes`, which start at a line's start; returns how many
  // bytes they took. With `ended`, a byte 26 was found and nothing after it counts.
  std::size_t TakeLines(const std::string& bytes, std::vector<std::string>& lines, bool& ended);
  void TakeLine(const char* begin, const char* end, std::vector<std::string>& lines);

  std::string fileName_;
  bool known_ = false;
  TFileIdentity identity_;
  // Bytes taken: whole lines, and a quiet last line.
  std::uint64_t taken_ = 0;
  // The file's first bytes as taken, up to kStartCheckSize.
  std::string start_;
  // The last line taken had no line end yet.
  bool tailTaken_ = false;
  // A byte 26 ended the file: nothing after it is read.
  bool ended_ = false;
  std::int64_t lineCount_ = 0;
  // The size seen at the last look and when it last changed, for the quiet rule.
  std::uint64_t lastSize_ = 0;
  TClock::time_point lastChange_{};
  bool tailWaiting_ = false;
};

}  // namespace plotvik
