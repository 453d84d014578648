#include "export/record_text.h"

#include <optional>

#include "platform/number_text.h"
#include "table/field.h"
#include "table/mem_table.h"
#include "table/stored_records.h"

namespace plotvik {

std::string RecordsAsText(TCustomMemTable& table, char decimalSeparator) {
  std::string text;
  for (int i = 0; i < table.FieldCount(); ++i) {
    if (i > 0) text += '\t';
    text += table.Fields(i).FieldName();
  }
  text += '\n';

  TCriticalSection::Guard guard(table.Store().Lock());
  const TStoredRecords stored(table);
  for (int r = 0; r < stored.Count(); ++r) {
    for (int i = 0; i < table.FieldCount(); ++i) {
      if (i > 0) text += '\t';
      if (const std::optional<double> value = stored.Value(r, i)) {
        text += ShortestNumberText(*value, decimalSeparator);
      }
    }
    text += '\n';
  }
  return text;
}

}  // namespace plotvik
