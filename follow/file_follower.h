#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "follow/byte_hash.h"
#include "platform/growing_file.h"

namespace plotvik {

// What a look at a followed file found.
enum class TFollowChange {
  fcNone,      // nothing new to take
  fcGrown,     // new lines after those already taken, which are unchanged (but for a
               // provisional last line, which a new one may replace)
  fcReplaced,  // another file, or the taken part changed: the lines are the whole new run
  fcGone,      // the name names no readable file; what was taken stays
};

struct TFollowUpdate {
  TFollowChange change = TFollowChange::fcNone;
  // Why the file could not be read (fcGone): one of OsErrorCode's codes.
  int errorCode = 0;
};

// Where a look hands what it takes, as it reads: one line at a time, so that the file's lines
// are never all held at once beside the records they become.
class TFollowSink {
 public:
  virtual ~TFollowSink() = default;
  // What was taken before is void: the lines that follow are a new run.
  virtual void NewRun() = 0;
  // One line's text, with the line reader's rules (CRs gone), free to be consumed in place.
  // `provisional`: it has no line end yet and was taken because the file went quiet.
  // `replacesProvisional`: the provisional line taken before went on; this is what it became,
  // and it takes that line's place instead of following it.
  virtual void TakeLine(std::string& line, bool provisional, bool replacesProvisional) = 0;
};

// Reads a sweep file as it grows, whole lines only: a line counts once its LF has arrived, and a
// last line without one once the file has been quiet for kQuietTime (provisionally: should it go
// on, what it becomes replaces it). Each look reads only what is new, and first makes sure that
// what was taken is still there: the same file, no shorter, the same bytes at its start and just
// before the point where reading goes on, and, when it was written without growing, the same
// bytes throughout. Anything else is a new run, so no line is ever made from a fragment.
class TFileFollower {
 public:
  using TClock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kQuietTime{2000};
  // How much of the file's start, and of what lies just before the point where reading goes
  // on, is compared on every look.
  static constexpr std::size_t kStartCheckSize = 4096;
  static constexpr std::size_t kEndCheckSize = 4096;
  // New bytes are read and cut into lines this many at a time.
  static constexpr std::size_t kReadBlockSize = 1 << 20;

  explicit TFileFollower(std::string fileName);

  const std::string& FileName() const { return fileName_; }
  // Looks at the file at time `now` and hands `sink` what is new. The first look, and the first
  // after the file was gone, reports fcReplaced with every line there is (or fcGone).
  TFollowUpdate Look(TClock::time_point now, TFollowSink& sink);
  // When a look could take an unterminated last line, if one is waiting.
  std::optional<TClock::time_point> QuietDeadline() const;
  // Lines taken in the current run.
  std::int64_t LineCount() const { return lineCount_; }
  // Forgets everything taken: the next look starts a new run.
  void Restart();

 private:
  // Whether the bytes taken are still in `file` as they were; `deep` compares all of them,
  // not only the two ends. A read that fails sets `code`.
  bool StillThere(const TGrowingFile& file, bool deep, int& code) const;
  // Reads from the end of the last whole line taken to `size` and hands on what is new.
  int ReadOn(const TGrowingFile& file, std::uint64_t size, TClock::time_point now,
             TFollowSink& sink, bool& took);
  // Hands on one line of `size` raw bytes whose text is the first `textSize` of them;
  // `continuesProvisional`: it starts where the provisional line taken before starts.
  void Deliver(const char* raw, std::size_t size, std::size_t textSize, bool provisional,
               bool continuesProvisional, TFollowSink& sink, bool& took);
  // Counts raw bytes as whole lines taken.
  void Commit(const char* raw, std::size_t size);
  // Notes raw bytes taken, in file order, for the checks of the next look.
  void Remember(const char* raw, std::size_t size);

  std::string fileName_;
  bool known_ = false;
  TFileIdentity identity_;
  // Size and modification time at the last look.
  std::uint64_t lastSize_ = 0;
  std::int64_t lastModified_ = 0;
  // Bytes of whole lines taken (through a byte 26 that ended the file).
  std::uint64_t complete_ = 0;
  // The provisional line after them, if one was taken: its text and how many bytes it took.
  std::optional<std::string> provisional_;
  std::uint64_t provisionalSize_ = 0;
  // The hash of the whole lines' bytes.
  TByteHash hash_;
  // The first bytes taken, up to kStartCheckSize, and the last ones, about kEndCheckSize, that
  // end where the bytes taken end.
  std::string start_;
  std::string end_;
  // A byte 26 ended the file: nothing after it is read.
  bool ended_ = false;
  std::int64_t lineCount_ = 0;
  // When the file was last seen to change, for the quiet rule.
  TClock::time_point lastChange_{};
  bool tailWaiting_ = false;
  // The text of the line being handed on, kept between lines for its capacity.
  std::string text_;
};

}  // namespace plotvik
