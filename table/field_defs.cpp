#include "table/field_defs.h"

#include "platform/exceptions.h"
#include "platform/format.h"
#include "table/fields.h"

namespace plotvik {

const TFieldDef& TFieldDefs::operator[](int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError(Format("List index out of bounds (%d)", {index}));
  }
  return items_[static_cast<size_t>(index)];
}

TFieldDef& TFieldDefs::Add(std::string name, TFieldType dataType, int size, bool required) {
  return items_.emplace_back(std::move(name), dataType, size, required);
}

int TFieldDefs::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (SameFieldName(items_[i].Name(), name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace plotvik
