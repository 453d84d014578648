#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "import/line_reader.h"

namespace plotvik {

class TDataSet;

// What the loader needs from whoever runs it: the main window answers with its open dialog and
// warning box, the check tool and the tests with their own.
class TSweepFileUi {
 public:
  virtual ~TSweepFileUi() = default;
  // The chosen file's full name, or nothing when the user cancels.
  virtual std::optional<std::string> ChooseFile() = 0;
  // Shows `text` ("Invalid file format") modally and returns when the user has closed it.
  virtual void ShowWarning(const std::string& text) = 0;
};

// Answers with a file name given beforehand and keeps the warnings instead of showing them: the
// way the command-line tools, the benchmarks and the fuzzer load a file.
class TNamedFileUi : public TSweepFileUi {
 public:
  explicit TNamedFileUi(std::string fileName = {}) : fileName_(std::move(fileName)) {}
  void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }
  std::optional<std::string> ChooseFile() override { return fileName_; }
  void ShowWarning(const std::string& text) override {
    warning_ = text;
    ++warningCount_;
  }
  // The last warning shown, if any, and how many were shown since the last reset.
  const std::optional<std::string>& Warning() const { return warning_; }
  int WarningCount() const { return warningCount_; }
  void ResetWarnings() {
    warning_.reset();
    warningCount_ = 0;
  }

 private:
  std::string fileName_;
  std::optional<std::string> warning_;
  int warningCount_ = 0;
};

inline constexpr const char* kInvalidFileFormat = "Invalid file format";

// The File > Open command: empties the record table and fills it with one record per line of
// the chosen sweep file, the line's blank-separated numbers going into the fields by position.
class TSweepFileLoader {
 public:
  // `table` is mtData: nine float fields, and it must outlive the loader.
  explicit TSweepFileLoader(TDataSet& table) : table_(table) {}

  // Lets the user choose a file and loads it. A cancelled choice changes nothing. A file that
  // cannot be opened raises EInOutError before the table is touched. Any failure while the lines
  // are read ends the load at that line with the warning "Invalid file format": the records
  // posted before it stay, and the failing line's record stays pending in insert state, never
  // stored, until the next load's close cancels it. A failure to close the file raises
  // EInOutError after that.
  void actOpenFileExecute(TSweepFileUi& ui);

  // Stores the numbers of `line` into the table's current record by position. The table must
  // be inserting or editing. `line` is consumed in place: each '.' of a token becomes
  // LocaleDecimalChar, and what has been read is cut off; of the text after the first token
  // only 255 characters are kept. Raises on the first token that cannot be stored (EListError
  // for a tenth token, even a valid one; EConvertError for a token that is no number; EOverflow
  // for a value beyond the double range); the fields set before it keep their values.
  void ParseLineIntoRecord(std::string& line);

  // The two steps of a load that a reader of its own (following a file as it grows) shares
  // with File > Open: a new run empties the table, and each line becomes one posted record.
  // LoadLine raises as ParseLineIntoRecord does, leaving the record pending in insert state.
  void StartRun();
  void LoadLine(std::string& line);
  // How many runs have started: a reader that finds it unchanged knows that the records it saw
  // still belong to the same load, though a follower may have changed the last of them.
  std::uint64_t RunCount() const { return runCount_; }

  TLineReader& SweepFile() { return sweepFile_; }
  const std::string& CurrentLine() const { return currentLine_; }

 private:
  void ReadLines(TSweepFileUi& ui);
  // ParseLineIntoRecord's walk over [rest, kept), moving both as tokens are stored.
  void StoreTokens(std::string& line, std::size_t& rest, std::size_t& kept);

  TDataSet& table_;
  TLineReader sweepFile_;
  std::string currentLine_;
  std::uint64_t runCount_ = 0;
};

}  // namespace plotvik
