#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/component.h"
#include "table/variant.h"

namespace plotvik {

class TDataSet;

enum class TFieldType { ftUnknown, ftString, ftInteger, ftBoolean, ftFloat };

// The name a type has in messages ("Float", "Integer", ...).
std::string_view FieldTypeName(TFieldType type);

// One column of a dataset. The field object is a component owned by the form that declares it;
// its dataset's field list only refers to it. Values live in the dataset's record buffers: a
// field reads and writes them through its dataset, never holds one itself.
class TField : public TComponent {
 public:
  ~TField() override;

  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string name);

  TFieldType DataType() const { return dataType_; }
  // Bytes of the value in a record (8 for a float field).
  virtual int DataSize() const = 0;
  // The size a field definition gets for this field (0 for fixed-size types).
  int Size() const { return size_; }

  // 1-based position among the dataset's field definitions while it is open, 0 otherwise.
  int FieldNo() const { return fieldNo_; }

  // The dataset whose field list holds this field. Joining a list needs the dataset closed and
  // the name new in it; the old list is left first.
  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);

  // Reading: null on a closed table, on an empty window, and while the value was never set.
  bool IsNull() const;
  virtual double AsFloat() const = 0;
  virtual void SetAsFloat(double value) = 0;
  virtual Variant Value() const = 0;
  virtual void SetValue(const Variant& value) = 0;
  virtual std::string DisplayText() const = 0;
  void Clear() { SetData(nullptr); }

  // Raw access to the value bytes in the active record; false when null.
  bool GetData(void* buffer) const;
  // Writes DataSize() bytes from buffer, or clears the value when buffer is null.
  void SetData(const void* buffer);

  std::function<void(TField&)> OnChange;
  std::function<void(TField&)> OnValidate;

 protected:
  TField(std::string name, TFieldType dataType, int size);

 private:
  friend class TDataSet;
  friend class TFields;

  std::string fieldName_;
  TFieldType dataType_;
  int size_;
  int fieldNo_ = 0;
  TDataSet* dataSet_ = nullptr;
};

// A nullable IEEE 754 double.
class TFloatField : public TField {
 public:
  explicit TFloatField(std::string name = {});

  int DataSize() const override { return 8; }
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  Variant Value() const override;
  void SetValue(const Variant& value) override;
  // Up to kPrecision significant digits, shortest form; empty when null.
  std::string DisplayText() const override;

  static constexpr int kPrecision = 15;
};

}  // namespace plotvik
