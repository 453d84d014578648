#include "import/sweep_file_loader.h"

#include <algorithm>
#include <cmath>

#include "import/convert_to_float.h"
#include "platform/exceptions.h"
#include "platform/locale_settings.h"
#include "platform/scope_guard.h"
#include "table/data_set.h"
#include "table/field.h"
#include "table/variant.h"

namespace plotvik {

namespace {

constexpr std::size_t kKeptAfterToken = 255;

bool HasVisibleCharacter(const std::string& line, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    if (static_cast<unsigned char>(line[i]) > ' ') return true;
  }
  return false;
}

}  // namespace

void TSweepFileLoader::actOpenFileExecute(TSweepFileUi& ui) {
  std::optional<std::string> fileName = ui.ChooseFile();
  if (!fileName) return;
  sweepFile_.SetFileName(*fileName);
  sweepFile_.OpenForReading();
  sweepFile_.CheckIO();
  // An exception must not leave the file held until the next load, nor leave this close's code
  // to surface at the next load's first check.
  TScopeGuard closeOnFailure([this] {
    if (sweepFile_.IsOpen()) sweepFile_.CloseAfterFailure();
  });
  StartRun();
  ReadLines(ui);
  closeOnFailure.Dismiss();
  sweepFile_.CloseReader();
  sweepFile_.CheckIO();
}

void TSweepFileLoader::ReadLines(TSweepFileUi& ui) {
  try {
    for (;;) {
      bool atEnd = sweepFile_.AtEnd();
      sweepFile_.CheckIO();
      if (atEnd) break;
      sweepFile_.ReadLineText(currentLine_);
      sweepFile_.SkipLineEnd();
      sweepFile_.CheckIO();
      LoadLine(currentLine_);
    }
  } catch (...) {
    // A writer (an editor saving, the modelling program's next sweep) must not wait on the box.
    sweepFile_.StopReading();
    // Whatever went wrong (a read, a number, a tenth column, memory, the table), the user is
    // told only that the file is not a sweep file; the exception's own text is never shown.
    ui.ShowWarning(kInvalidFileFormat);
  }
}

void TSweepFileLoader::StartRun() {
  ++runCount_;
  // Closing cancels a record that a failed load left pending, then drops every record.
  if (table_.Active()) table_.Close();
  table_.Open();
}

void TSweepFileLoader::LoadLine(std::string& line) {
  table_.Append();
  table_.Edit();
  ParseLineIntoRecord(line);
  table_.Post();
}

void TSweepFileLoader::ParseLineIntoRecord(std::string& line) {
  // The line is walked by index over [rest, kept) and cut to that part once, at the end or at a
  // failure, which leaves it as cutting after every token would.
  std::size_t rest = 0;
  std::size_t kept = line.size();
  auto cut = [&] {
    line.erase(kept);
    line.erase(0, rest);
  };
  try {
    StoreTokens(line, rest, kept);
  } catch (...) {
    cut();
    throw;
  }
  cut();
}

void TSweepFileLoader::StoreTokens(std::string& line, std::size_t& rest, std::size_t& kept) {
  int column = 0;
  const char separator = LocaleDecimalChar;
  while (HasVisibleCharacter(line, rest, kept)) {
    std::size_t p = rest;
    while (line[p] == ' ') ++p;
    const std::size_t start = p;
    while (p < kept && line[p] != ' ') {
      if (line[p] == '.') line[p] = separator;
      ++p;
    }
    // The field comes first: a tenth token fails here whatever it holds.
    TField& field = table_.Fields(column);
    long double value = ConvertToFloat(std::string_view(line).substr(start, p - start));
    double stored = static_cast<double>(value);
    if (std::isinf(stored)) throw EOverflow("Floating point overflow");
    field.SetAsFloat(stored);
    ++column;
    kept = std::min(kept, p + kKeptAfterToken);
    rest = p;
  }
}

}  // namespace plotvik
