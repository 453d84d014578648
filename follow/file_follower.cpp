#include "follow/file_follower.h"

#include <algorithm>

namespace plotvik {

namespace {

constexpr char kEndOfFile = 26;

}  // namespace

TFileFollower::TFileFollower(std::string fileName) : fileName_(std::move(fileName)) {}

void TFileFollower::Restart() {
  known_ = false;
  taken_ = 0;
  start_.clear();
  tailTaken_ = false;
  ended_ = false;
  lineCount_ = 0;
  tailWaiting_ = false;
}

std::optional<TFileFollower::TClock::time_point> TFileFollower::QuietDeadline() const {
  if (!tailWaiting_) return std::nullopt;
  return lastChange_ + kQuietTime;
}

void TFileFollower::TakeLine(const char* begin, const char* end, std::vector<std::string>& lines) {
  std::string& line = lines.emplace_back();
  line.reserve(static_cast<std::size_t>(end - begin));
  for (const char* p = begin; p != end; ++p) {
    if (*p != '\r') line.push_back(*p);
  }
  ++lineCount_;
}

std::size_t TFileFollower::TakeLines(const std::string& bytes, std::vector<std::string>& lines,
                                     bool& ended) {
  const char* data = bytes.data();
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = data[i];
    if (c == '\n') {
      TakeLine(data + lineStart, data + i, lines);
      lineStart = i + 1;
    } else if (c == kEndOfFile) {
      // The line reader's end: a line of any bytes before it counts, an empty one does not.
      if (i > lineStart) TakeLine(data + lineStart, data + i, lines);
      ended = true;
      return i + 1;
    }
  }
  return lineStart;
}

TFollowUpdate TFileFollower::Look(TClock::time_point now) {
  TFollowUpdate update;
  auto gone = [&](int code) {
    // Whatever comes back under the name later is read as a new run.
    Restart();
    update.change = TFollowChange::fcGone;
    update.errorCode = code;
    update.lines.clear();
    return update;
  };

  TGrowingFile file;
  if (const int code = file.Open(fileName_); code != 0) return gone(code);
  const std::uint64_t size = file.Size();
  if (!known_ || size != lastSize_ || file.Identity() != identity_) lastChange_ = now;
  lastSize_ = size;

  bool replaced = !known_ || file.Identity() != identity_ || size < taken_;
  if (!replaced && !start_.empty()) {
    std::string start;
    if (const int code = file.ReadAt(0, start_.size(), start); code != 0) return gone(code);
    replaced = start != start_;
  }
  if (replaced) {
    Restart();
    known_ = true;
    identity_ = file.Identity();
    lastChange_ = now;
    update.change = TFollowChange::fcReplaced;
  }
  tailWaiting_ = false;
  if (ended_) return update;

  std::string bytes;
  if (const int code = file.ReadAt(taken_, size - taken_, bytes); code != 0) return gone(code);
  std::size_t pos = 0;
  if (tailTaken_ && !bytes.empty()) {
    // A last line was taken without its end: now its LF (or CR LF) may follow, or the writer
    // went on with the line, which changes a record already taken.
    if (bytes[0] == '\n') {
      pos = 1;
    } else if (bytes[0] == '\r' && bytes.size() == 1) {
      return update;
    } else if (bytes[0] == '\r' && bytes[1] == '\n') {
      pos = 2;
    } else if (bytes[0] != kEndOfFile) {
      Restart();
      return Look(now);
    }
    tailTaken_ = false;
  }

  bool ended = false;
  const std::size_t used =
      pos + TakeLines(pos == 0 ? bytes : bytes.substr(pos), update.lines, ended);
  if (ended) {
    ended_ = true;
    taken_ = size;
  } else {
    taken_ += used;
    if (used < bytes.size()) {
      if (now - lastChange_ >= kQuietTime) {
        TakeLine(bytes.data() + used, bytes.data() + bytes.size(), update.lines);
        taken_ = size;
        tailTaken_ = true;
      } else {
        tailWaiting_ = true;
      }
    }
  }

  const std::uint64_t startSize = std::min<std::uint64_t>(taken_, kStartCheckSize);
  if (start_.size() < startSize) {
    start_.clear();
    if (const int code = file.ReadAt(0, startSize, start_); code != 0) return gone(code);
  }
  if (update.change == TFollowChange::fcNone && !update.lines.empty()) {
    update.change = TFollowChange::fcGrown;
  }
  return update;
}

}  // namespace plotvik
