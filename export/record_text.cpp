#include "export/record_text.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/number_text.h"
#include "table/field.h"
#include "table/mem_table.h"

namespace plotvik {

std::string RecordsAsText(TCustomMemTable& table, char decimalSeparator) {
  std::string text;
  for (int i = 0; i < table.FieldCount(); ++i) {
    if (i > 0) text += '\t';
    text += table.Fields(i).FieldName();
  }
  text += '\n';
  if (!table.Active()) return text;

  TCriticalSection::Guard guard(table.Store().Lock());
  const TRecordLayout& layout = table.Store().Layout();
  // Where each field's value sits in a stored record; -1 for a field the store does not hold
  // as a double (the sweep table has none), which reads as missing.
  std::vector<int> offsets;
  for (int i = 0; i < table.FieldCount(); ++i) {
    const auto slot = static_cast<std::size_t>(table.Fields(i).FieldNo() - 1);
    const bool stored = slot < layout.fieldOffsets.size() &&
                        layout.fieldSizes[slot] == static_cast<int>(sizeof(double));
    offsets.push_back(stored ? layout.fieldOffsets[slot] : -1);
  }
  for (const std::byte* record : table.CurrentIndex().entries) {
    for (std::size_t i = 0; i < offsets.size(); ++i) {
      if (i > 0) text += '\t';
      const int offset = offsets[i];
      // A field's slot is its null flag, then its value.
      if (offset < 0 || record[offset] == std::byte{0}) continue;
      double value;
      std::memcpy(&value, record + offset + 1, sizeof value);
      text += ShortestNumberText(value, decimalSeparator);
    }
    text += '\n';
  }
  return text;
}

}  // namespace plotvik
