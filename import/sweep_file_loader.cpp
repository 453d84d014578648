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

bool HasVisibleCharacter(const std::string& line) {
  for (char c : line) {
    if (static_cast<unsigned char>(c) > ' ') return true;
  }
  return false;
}

}  // namespace

void TSweepFileLoader::actOpenFileExecute(TSweepFileUi& ui) {
  std::optional<std::string> fileName = ui.ChooseFile();
  if (!fileName) return;
  sweepFile_.SetFileName(*fileName);
  sweepFile_.OpenForReading();
  CheckIO();
  // An exception must not leave the file held until the next load, nor leave this close's code
  // to surface at the next load's first check.
  TScopeGuard closeOnFailure([this] {
    if (!sweepFile_.IsOpen()) return;
    const int pending = PendingIOCode;
    sweepFile_.CloseReader();
    PendingIOCode = pending;
  });
  StartRun();
  ReadLines(ui);
  closeOnFailure.Dismiss();
  sweepFile_.CloseReader();
  CheckIO();
}

void TSweepFileLoader::ReadLines(TSweepFileUi& ui) {
  try {
    for (;;) {
      bool atEnd = sweepFile_.AtEnd();
      CheckIO();
      if (atEnd) break;
      sweepFile_.ReadLineText(currentLine_);
      sweepFile_.SkipLineEnd();
      CheckIO();
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
  int column = 0;
  while (HasVisibleCharacter(line)) {
    std::size_t p = 0;
    while (line[p] == ' ') ++p;
    const std::size_t start = p;
    while (p < line.size() && line[p] != ' ') {
      if (line[p] == '.') line[p] = LocaleDecimalChar;
      ++p;
    }
    // The field comes first: a tenth token fails here whatever it holds.
    TField& field = table_.Fields(column);
    long double value = ConvertToFloat(std::string_view(line).substr(start, p - start));
    double stored = static_cast<double>(value);
    if (std::isinf(stored)) throw EOverflow("Floating point overflow");
    field.SetValue(Variant(stored));
    ++column;
    // Cut the tail first, so that only the kept part is moved.
    line.erase(std::min(line.size(), p + kKeptAfterToken));
    line.erase(0, p);
  }
}

}  // namespace plotvik
