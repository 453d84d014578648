#pragma once

#include <string_view>
#include <vector>

namespace plotvik {

class TField;

// A dataset's ordered list of field references; the fields themselves belong to their owner.
class TFields {
 public:
  int Count() const { return static_cast<int>(list_.size()); }
  // "List index out of bounds (%d)" (EListError) outside 0 to Count()-1.
  TField& operator[](int index) const;
  TField& Field(int index) const { return (*this)[index]; }
  // First field whose name matches, case-insensitively; nullptr when none does.
  TField* FindField(std::string_view name) const;
  int IndexOf(const TField& field) const;

  auto begin() const { return list_.begin(); }
  auto end() const { return list_.end(); }

 private:
  friend class TDataSet;
  void Add(TField& field) { list_.push_back(&field); }
  void Remove(TField& field);
  void Clear() { list_.clear(); }

  std::vector<TField*> list_;
};

// Compares names the way field and definition names are matched: case-insensitively.
bool SameFieldName(std::string_view a, std::string_view b);

}  // namespace plotvik
