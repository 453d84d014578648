#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace plotvik {

// Every failure the program reports is one of these: a message text, shown by the default
// error handler, and a class that tells callers what went wrong.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// An I/O failure; carries the platform error code (2 file not found, 3 path not found, ...).
class EInOutError : public Exception {
 public:
  EInOutError(int errorCode, std::string message)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const noexcept { return errorCode_; }

 private:
  int errorCode_;
};

class EConvertError : public Exception {
  using Exception::Exception;
};

class EListError : public Exception {
  using Exception::Exception;
};

// A floating-point result too large for its destination type.
class EOverflow : public Exception {
  using Exception::Exception;
};

// The silent exception: it unwinds like any other but the default handler shows nothing.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
  using Exception::Exception;
};

class EOutOfMemory : public Exception {
 public:
  EOutOfMemory() : Exception("Out of memory") {}
};

class EDatabaseError : public Exception {
  using Exception::Exception;
};

class EMemTableError : public EDatabaseError {
  using EDatabaseError::EDatabaseError;
};

class ChartException : public Exception {
  using Exception::Exception;
};

class AxisException : public ChartException {
  using ChartException::ChartException;
};

class DBChartException : public ChartException {
  using ChartException::ChartException;
};

// The message of a failure however it was thrown: our own classes carry their text, other
// standard exceptions their what(), and std::bad_alloc reads as the runtime's out-of-memory text.
std::string ExceptionMessage(const std::exception& e);

// The text the default error box shows for an exception message: a "." is appended when the
// message is not empty and its last character's code is above that of '.'. The command-line
// tools print the same text, so a user sees one wording wherever the failure shows.
std::string ErrorBoxText(std::string_view message);

}  // namespace plotvik
