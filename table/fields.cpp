#include "table/fields.h"

#include <algorithm>

#include "platform/exceptions.h"
#include "platform/format.h"
#include "table/field.h"

namespace plotvik {

bool SameFieldName(std::string_view a, std::string_view b) {
  // Field names are ASCII identifiers; folding ASCII letters matches them the way the user's
  // locale would, without depending on the process locale.
  auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return fold(x) == fold(y); });
}

TField& TFields::operator[](int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError(Format("List index out of bounds (%d)", {index}));
  }
  return *list_[static_cast<size_t>(index)];
}

TField* TFields::FindField(std::string_view name) const {
  for (TField* field : list_) {
    if (SameFieldName(field->FieldName(), name)) return field;
  }
  return nullptr;
}

int TFields::IndexOf(const TField& field) const {
  auto it = std::find(list_.begin(), list_.end(), &field);
  return it == list_.end() ? -1 : static_cast<int>(it - list_.begin());
}

void TFields::Remove(TField& field) {
  std::erase(list_, &field);
}

}  // namespace plotvik
