#include "follow/file_follower.h"

#include <algorithm>
#include <string_view>

#include "import/line_splitter.h"
#include "platform/os_file.h"

namespace plotvik {

TFileFollower::TFileFollower(std::string fileName) : fileName_(std::move(fileName)) {}

void TFileFollower::Restart() {
  known_ = false;
  complete_ = 0;
  provisional_.reset();
  provisionalSize_ = 0;
  hash_ = TByteHash();
  start_.clear();
  end_.clear();
  ended_ = false;
  lineCount_ = 0;
  tailWaiting_ = false;
}

std::optional<TFileFollower::TClock::time_point> TFileFollower::QuietDeadline() const {
  if (!tailWaiting_) return std::nullopt;
  return lastChange_ + kQuietTime;
}

TFollowUpdate TFileFollower::Look(TClock::time_point now, TFollowSink& sink) {
  TFollowUpdate update;
  auto gone = [&](int code) {
    // Whatever comes back under the name later is read as a new run.
    Restart();
    update.change = TFollowChange::fcGone;
    update.errorCode = code;
    return update;
  };

  TGrowingFile file;
  if (const int code = file.Open(fileName_); code != 0) return gone(code);
  const std::uint64_t size = file.Size();
  const std::int64_t modified = file.ModificationTime();
  const bool sameFile = known_ && file.Identity() == identity_;
  const bool written = size != lastSize_ || modified != lastModified_;
  if (!sameFile || written) lastChange_ = now;

  bool replaced = !sameFile || size < complete_ + provisionalSize_;
  if (!replaced) {
    // Written without growing: an append always grows the file, so only a rewrite in place does
    // that (or a mere touch), and a rewrite may well keep both ends as they were.
    int code = 0;
    replaced = !StillThere(file, written && size == lastSize_, code);
    if (code != 0) return gone(code);
  }
  if (replaced) {
    Restart();
    known_ = true;
    identity_ = file.Identity();
    lastChange_ = now;
    update.change = TFollowChange::fcReplaced;
    sink.NewRun();
  }
  lastSize_ = size;
  lastModified_ = modified;
  tailWaiting_ = false;
  if (ended_) return update;

  bool took = false;
  if (const int code = ReadOn(file, size, now, sink, took); code != 0) return gone(code);
  if (took && update.change == TFollowChange::fcNone) update.change = TFollowChange::fcGrown;
  return update;
}

bool TFileFollower::StillThere(const TGrowingFile& file, bool deep, int& code) const {
  std::string bytes;
  code = file.ReadAt(0, start_.size(), bytes);
  if (code != 0 || bytes != start_) return false;
  bytes.clear();
  const std::uint64_t taken = complete_ + provisionalSize_;
  code = file.ReadAt(taken - end_.size(), end_.size(), bytes);
  if (code != 0 || bytes != end_) return false;
  if (!deep) return true;
  TByteHash hash;
  for (std::uint64_t offset = 0; offset < complete_;) {
    bytes.clear();
    code = file.ReadAt(offset, std::min<std::uint64_t>(kReadBlockSize, complete_ - offset), bytes);
    if (code != 0 || bytes.empty()) return false;
    hash.Add(bytes.data(), bytes.size());
    offset += bytes.size();
  }
  return hash == hash_;
}

int TFileFollower::ReadOn(const TGrowingFile& file, std::uint64_t size, TClock::time_point now,
                          TFollowSink& sink, bool& took) {
  // Reading goes on at the end of the last whole line, so a provisional line is read again with
  // whatever followed it; its bytes leave the checks' record until it is known what they are.
  start_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(start_.size(), complete_)));
  end_.resize(end_.size() -
              static_cast<std::size_t>(std::min<std::uint64_t>(end_.size(), provisionalSize_)));
  // The bytes from the start of the line being cut to those read last.
  std::string buffer;
  std::uint64_t offset = complete_;
  // The line at hand starts where the provisional one did.
  bool atProvisional = provisional_.has_value();
  while (offset < size) {
    const std::size_t scanned = buffer.size();
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(kReadBlockSize, size - offset));
    if (const int code = file.ReadAt(offset, want, buffer); code != 0) return code;
    // Cut short while it was read: the next look finds it shorter than what was taken.
    if (buffer.size() != scanned + want) return kErrorReadFault;
    offset += want;
    const char* data = buffer.data();
    std::size_t lineStart = 0;
    // Where the search for the line's end goes on: the bytes before were looked at already.
    std::size_t from = scanned;
    for (;;) {
      const TLineSpan span = FindLineEnd(std::string_view(buffer).substr(from));
      if (span.end == TLineEnd::leNone) break;
      const std::size_t textEnd = from + span.textSize;
      if (span.end == TLineEnd::leLf) {
        Deliver(data + lineStart, textEnd + 1 - lineStart, textEnd - lineStart, false,
                atProvisional, sink, took);
        atProvisional = false;
        lineStart = from = textEnd + 1;
        continue;
      }
      // The line reader's end: a line of any bytes before it counts, an empty one does not.
      if (textEnd > lineStart) {
        Deliver(data + lineStart, textEnd + 1 - lineStart, textEnd - lineStart, false,
                atProvisional, sink, took);
      } else {
        Commit(data + textEnd, 1);
      }
      ended_ = true;
      end_.erase(0, end_.size() - std::min(end_.size(), kEndCheckSize));
      return 0;
    }
    buffer.erase(0, lineStart);
  }

  // What is left is a line without its end.
  const bool quiet = now - lastChange_ >= kQuietTime;
  if (atProvisional && buffer.size() == provisionalSize_) {
    Remember(buffer.data(), buffer.size());
  } else if (!buffer.empty() && quiet) {
    Deliver(buffer.data(), buffer.size(), buffer.size(), true, atProvisional, sink, took);
  } else if (!buffer.empty()) {
    tailWaiting_ = true;
    // Until then the provisional line stands as it was taken.
    if (atProvisional) Remember(buffer.data(), static_cast<std::size_t>(provisionalSize_));
  }
  end_.erase(0, end_.size() - std::min(end_.size(), kEndCheckSize));
  return 0;
}

void TFileFollower::Deliver(const char* raw, std::size_t size, std::size_t textSize,
                            bool provisional, bool continuesProvisional, TFollowSink& sink,
                            bool& took) {
  text_.clear();
  AppendLineText(text_, std::string_view(raw, textSize));
  bool changed = true;
  if (continuesProvisional) {
    // Its line end, a byte 26 or a CR may have come, and the text be what was taken.
    changed = text_ != *provisional_;
    provisional_.reset();
    provisionalSize_ = 0;
  } else {
    ++lineCount_;
  }
  if (provisional) {
    provisional_ = text_;
    provisionalSize_ = size;
    Remember(raw, size);
  } else {
    Commit(raw, size);
  }
  if (changed) {
    took = true;
    sink.TakeLine(text_, provisional, continuesProvisional);
  }
}

void TFileFollower::Commit(const char* raw, std::size_t size) {
  hash_.Add(raw, size);
  complete_ += size;
  Remember(raw, size);
}

void TFileFollower::Remember(const char* raw, std::size_t size) {
  if (start_.size() < kStartCheckSize) {
    start_.append(raw, std::min(size, kStartCheckSize - start_.size()));
  }
  end_.append(raw, size);
  if (end_.size() > 2 * kEndCheckSize) end_.erase(0, end_.size() - kEndCheckSize);
}

}  // namespace plotvik
