#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "table/field.h"

namespace plotvik {

// What a dataset's storage knows about one column.
class TFieldDef {
 public:
  TFieldDef(std::string name, TFieldType dataType, int size = 0, bool required = false)
      : name_(std::move(name)), dataType_(dataType), size_(size), required_(required) {}

  const std::string& Name() const { return name_; }
  TFieldType DataType() const { return dataType_; }
  int Size() const { return size_; }
  bool Required() const { return required_; }

 private:
  std::string name_;
  TFieldType dataType_;
  int size_;
  bool required_;
};

// An ordered collection of definitions; a definition's field number is its position plus one.
class TFieldDefs {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // "List index out of bounds (%d)" (EListError) outside 0 to Count()-1.
  const TFieldDef& operator[](int index) const;
  TFieldDef& Add(std::string name, TFieldType dataType, int size = 0, bool required = false);
  void Clear() { items_.clear(); }
  // Position of the first definition of that name (case-insensitive), or -1.
  int IndexOf(std::string_view name) const;

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<TFieldDef> items_;
};

}  // namespace plotvik
