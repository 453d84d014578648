#include "import/line_reader.h"

#include "import/line_splitter.h"
#include "platform/exceptions.h"
#include "platform/file_path.h"
#include "platform/format.h"

namespace plotvik {

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

void TLineReader::CheckIO() {
  if (pendingIOCode_ == 0) return;
  const int code = pendingIOCode_;
  pendingIOCode_ = 0;
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
    pendingIOCode_ = kErrorPathNotFound;
    return;
  }
  int code = file_.OpenForReading(fileName_);
  if (code != 0) {
    pendingIOCode_ = code;
    return;
  }
  open_ = true;
}

bool TLineReader::CheckOpen() {
  if (open_) return true;
  pendingIOCode_ = kErrorFileNotOpen;
  return false;
}

void TLineReader::EnsureByte() {
  if (pos_ < end_) return;
  std::size_t received = 0;
  int code = file_.Read(buffer_, kBufferSize, received);
  if (code != 0) pendingIOCode_ = code;
  pos_ = 0;
  end_ = received;
  if (code != 0 || received == 0) {
    buffer_[0] = kEndOfFileByte;
    end_ = 1;
  }
}

bool TLineReader::AtEnd() {
  if (!CheckOpen()) return true;
  EnsureByte();
  return buffer_[pos_] == kEndOfFileByte;
}

void TLineReader::ReadLineText(std::string& text) {
  text.clear();
  if (!CheckOpen()) return;
  for (;;) {
    EnsureByte();
    const TLineSpan span = FindLineEnd(Unread());
    AppendLineText(text, Unread().substr(0, span.textSize));
    // The LF, or the byte 26, is left for SkipLineEnd and AtEnd.
    pos_ += span.textSize;
    if (span.end != TLineEnd::leNone) return;
  }
}

void TLineReader::SkipLineEnd() {
  if (!CheckOpen()) return;
  for (;;) {
    EnsureByte();
    const TLineSpan span = FindLineEnd(Unread());
    pos_ += span.size;
    if (span.end != TLineEnd::leNone) return;
  }
}

void TLineReader::CloseReader() {
  if (!CheckOpen()) return;
  open_ = false;
  pos_ = 0;
  end_ = 0;
  int code = file_.Close();
  if (code != 0) pendingIOCode_ = code;
}

void TLineReader::CloseAfterFailure() {
  const int pending = pendingIOCode_;
  CloseReader();
  pendingIOCode_ = pending;
}

}  // namespace plotvik
