#include "import/line_reader.h"

#include "platform/exceptions.h"
#include "platform/file_path.h"
#include "platform/format.h"

namespace plotvik {

namespace {

constexpr char kEndMarker = 26;
constexpr char kLf = 10;
constexpr char kCr = 13;

}  // namespace

std::string IOErrorMessage(int code) {
  switch (code) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return Format("I/O error %d", {code});
  }
}

void CheckIO() {
  if (PendingIOCode == 0) return;
  int code = PendingIOCode;
  PendingIOCode = 0;
  throw EInOutError(code, IOErrorMessage(code));
}

void TLineReader::SetFileName(const std::string& name) {
  file_.Close();
  open_ = false;
  pos_ = 0;
  end_ = 0;
  nameRefused_ = FileNameLength(name) > kMaxFileNameLength;
  fileName_ = name;
}

void TLineReader::OpenForReading() {
  if (open_) CloseReader();
  pos_ = 0;
  end_ = 0;
  if (nameRefused_) {
    PendingIOCode = kErrorPathNotFound;
    return;
  }
  int code = file_.OpenForReading(fileName_);
  if (code != 0) {
    PendingIOCode = code;
    return;
  }
  open_ = true;
}

bool TLineReader::CheckOpen() {
  if (open_) return true;
  PendingIOCode = kErrorFileNotOpen;
  return false;
}

void TLineReader::EnsureByte() {
  if (pos_ < end_) return;
  std::size_t received = 0;
  int code = file_.Read(buffer_, kBufferSize, received);
  if (code != 0) PendingIOCode = code;
  pos_ = 0;
  end_ = received;
  if (code != 0 || received == 0) {
    buffer_[0] = kEndMarker;
    end_ = 1;
  }
}

bool TLineReader::AtEnd() {
  if (!CheckOpen()) return true;
  EnsureByte();
  return buffer_[pos_] == kEndMarker;
}

void TLineReader::ReadLineText(std::string& text) {
  text.clear();
  if (!CheckOpen()) return;
  for (;;) {
    EnsureByte();
    std::size_t stop = pos_;
    while (stop < end_ && buffer_[stop] != kLf && buffer_[stop] != kCr &&
           buffer_[stop] != kEndMarker) {
      ++stop;
    }
    text.append(buffer_ + pos_, stop - pos_);
    pos_ = stop;
    if (pos_ == end_) continue;
    if (buffer_[pos_] != kCr) return;  // LF or 26: left for SkipLineEnd / AtEnd
    if (pos_ + 1 < end_) {
      if (buffer_[pos_ + 1] == kLf) return;
      ++pos_;  // a lone CR is dropped
      continue;
    }
    // The CR is the buffer's last byte; seeing what follows needs a refill, which loses the CR
    // from the buffer. Stopping at the LF instead leaves SkipLineEnd the same work to do.
    ++pos_;
    EnsureByte();
    if (buffer_[pos_] == kLf) return;
  }
}

void TLineReader::SkipLineEnd() {
  if (!CheckOpen()) return;
  for (;;) {
    EnsureByte();
    char c = buffer_[pos_];
    if (c == kEndMarker) return;
    ++pos_;
    if (c == kLf) return;
    if (c == kCr) {
      EnsureByte();
      if (buffer_[pos_] == kLf) {
        ++pos_;
        return;
      }
    }
  }
}

void TLineReader::CloseReader() {
  if (!CheckOpen()) return;
  open_ = false;
  pos_ = 0;
  end_ = 0;
  int code = file_.Close();
  if (code != 0) PendingIOCode = code;
}

}  // namespace plotvik
