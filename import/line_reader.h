#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/os_file.h"

namespace plotvik {

// The reader's own codes, beside the platform's.
inline constexpr int kErrorFileNotOpen = 103;
inline constexpr int kErrorFileNotOpenForInput = 104;

// "File not found", "Invalid filename", ... or "I/O error %d" for a code without its own text.
std::string IOErrorMessage(int code);

// A buffered reader of a text file, one line at a time, by the sweep file's line rules
// (line_splitter.h): lines end with an LF (a CR before it is no part of the text, nor is any
// other CR); a byte 26 ends the file wherever it stands; every other byte (NUL too) is handed
// out unchanged. Lines have no length limit.
//
// Its operations never raise: a failing one leaves its code pending (overwriting an older one)
// until the caller asks CheckIO, so that one check can cover several steps.
class TLineReader {
 public:
  static constexpr std::size_t kBufferSize = 128;
  static constexpr std::size_t kMaxFileNameLength = 259;

  TLineReader() = default;
  TLineReader(const TLineReader&) = delete;
  TLineReader& operator=(const TLineReader&) = delete;

  // Forgets all previous state (closing the file if it is still open) but a pending code, which
  // waits for CheckIO, and stores the name. A name of more than kMaxFileNameLength characters
  // (not bytes) is kept as refused rather than cut short, because the shortened name could be
  // another, existing file: OpenForReading then fails with code 3.
  void SetFileName(const std::string& name);
  const std::string& FileName() const { return fileName_; }

  // Opens the named, existing file for reading at its start, closing it first if it is open.
  void OpenForReading();

  // True when no byte is left or the next byte is 26; reads ahead at most one byte.
  bool AtEnd();

  // The bytes up to, not including, the end of the line or of the file.
  void ReadLineText(std::string& text);

  // Consumes the rest of the line and its LF or CR LF; stops before a byte 26 or at the end.
  void SkipLineEnd();

  // Lets writers at the file while it stays open until CloseReader: reading has stopped.
  void StopReading() { file_.ReleaseLease(); }

  void CloseReader();
  // Closes the file for a read abandoned because of another failure: what was pending stays, and
  // a failure of this close is dropped, as it is no news beside the one on its way out.
  void CloseAfterFailure();

  bool IsOpen() const { return open_; }

  // The I/O failure waiting to be reported, 0 when there is none.
  int PendingIOCode() const { return pendingIOCode_; }
  // Raises EInOutError for a pending code and clears it; does nothing when none is pending.
  void CheckIO();

 private:
  // Makes sure a byte is at pos_: refills the buffer when it is used up and, when the file has
  // no more (or a read fails), puts a byte 26 there, so every later request stops at it too.
  void EnsureByte();
  bool CheckOpen();
  std::string_view Unread() const { return {buffer_ + pos_, end_ - pos_}; }

  OsFile file_;
  std::string fileName_;
  bool nameRefused_ = false;
  bool open_ = false;
  int pendingIOCode_ = 0;
  char buffer_[kBufferSize] = {};
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
};

}  // namespace plotvik
