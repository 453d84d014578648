#include "table/field.h"

#include <charconv>

#include "platform/exceptions.h"
#include "platform/format.h"
#include "table/data_set.h"

namespace plotvik {

std::string_view FieldTypeName(TFieldType type) {
  switch (type) {
    case TFieldType::ftString:
      return "String";
    case TFieldType::ftInteger:
      return "Integer";
    case TFieldType::ftBoolean:
      return "Boolean";
    case TFieldType::ftFloat:
      return "Float";
    case TFieldType::ftUnknown:
      break;
  }
  return "Unknown";
}

TField::TField(std::string name, TFieldType dataType, int size)
    : TComponent(std::move(name)), dataType_(dataType), size_(size) {}

TField::~TField() {
  if (!dataSet_) return;
  // A field cannot leave an open table, whose buffers are laid out for it.
  try {
    dataSet_->Close();
  } catch (...) {
  }
  dataSet_->RemoveField(*this);
}

void TField::SetFieldName(std::string name) {
  if (dataSet_) {
    dataSet_->CheckInactive();
    TField* other = dataSet_->FindField(name);
    if (other && other != this) {
      dataSet_->DatabaseError(Format("Duplicate field name '%s'", {name}));
    }
  }
  fieldName_ = std::move(name);
}

void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_) dataSet_->CheckInactive();
  if (dataSet) {
    dataSet->CheckInactive();
    if (dataSet->FindField(fieldName_)) {
      dataSet->DatabaseError(Format("Duplicate field name '%s'", {fieldName_}));
    }
  }
  if (dataSet_) dataSet_->RemoveField(*this);
  if (dataSet) dataSet->AddField(*this);
}

bool TField::IsNull() const {
  return !GetData(nullptr);
}

bool TField::GetData(void* buffer) const {
  return dataSet_ != nullptr && dataSet_->GetFieldData(*this, buffer);
}

void TField::SetData(const void* buffer) {
  if (dataSet_) dataSet_->SetFieldData(*this, buffer);
}

// --- TFloatField ---

TFloatField::TFloatField(std::string name) : TField(std::move(name), TFieldType::ftFloat, 0) {}

double TFloatField::AsFloat() const {
  double value = 0.0;
  return GetData(&value) ? value : 0.0;
}

void TFloatField::SetAsFloat(double value) {
  SetData(&value);
}

Variant TFloatField::Value() const {
  double value = 0.0;
  if (!GetData(&value)) return Variant::Null();
  return Variant(value);
}

void TFloatField::SetValue(const Variant& value) {
  if (value.IsNull()) {
    Clear();
    return;
  }
  std::optional<double> number = value.ToDouble();
  if (!number) throw EDatabaseError(Format("Invalid value for field '%s'", {FieldName()}));
  SetAsFloat(*number);
}

std::string TFloatField::DisplayText() const {
  double value = 0.0;
  if (!GetData(&value)) return {};
  char text[64];
  auto [end, ec] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, kPrecision);
  return ec == std::errc() ? std::string(text, end) : std::string();
}

}  // namespace plotvik
