#include "table/data_set.h"

#include <utility>

#include "platform/format.h"
#include "table/data_source.h"

namespace plotvik {

std::string_view DataSetStateName(DataSetState state) {
  switch (state) {
    case DataSetState::StateInactive:
      return "StateInactive";
    case DataSetState::StateBrowse:
      return "StateBrowse";
    case DataSetState::StateEdit:
      return "StateEdit";
    case DataSetState::StateInsert:
      return "StateInsert";
  }
  return "?";
}

TDataSet::TDataSet(std::string name) : TComponent(std::move(name)) {}

TDataSet::~TDataSet() {
  // Only our side of the detachment: the concrete dataset whose operations a resize would call
  // is gone, and it closed before it went, so nothing is announced.
  while (!dataSources_.empty()) {
    TDataSource* source = dataSources_.back();
    dataSources_.pop_back();
    source->dataSet_ = nullptr;
    source->UpdateState();
  }
  for (TField* field : fields_) {
    field->dataSet_ = nullptr;
    field->fieldNo_ = 0;
  }
  fields_.Clear();
}

void TDataSet::DatabaseError(std::string_view message) const {
  if (Name().empty()) throw EDatabaseError(std::string(message));
  throw EDatabaseError(Format("%s: %s", {Name(), message}));
}

bool TDataSet::ClosingForDestruction() const {
  return Destroying() || (Owner() != nullptr && Owner()->Destroying());
}

// --- fields ---

TField& TDataSet::FieldByName(std::string_view name) const {
  TField* field = FindField(name);
  if (!field) DatabaseError(Format("Field '%s' not found", {name}));
  return *field;
}

void TDataSet::AddField(TField& field) {
  CheckInactive();
  if (FindField(field.FieldName())) {
    DatabaseError(Format("Duplicate field name '%s'", {field.FieldName()}));
  }
  fields_.Add(field);
  field.dataSet_ = this;
  field.fieldNo_ = 0;
  DataEvent(DataSetEvent::FieldListChanged);
}

void TDataSet::RemoveField(TField& field) {
  fields_.Remove(field);
  field.dataSet_ = nullptr;
  field.fieldNo_ = 0;
  DataEvent(DataSetEvent::FieldListChanged);
}

void TDataSet::BindFields() {
  for (TField* field : fields_) {
    const int index = fieldDefs_.IndexOf(field->FieldName());
    if (index < 0) DatabaseError(Format("Field '%s' not found", {field->FieldName()}));
    const TFieldDef& def = fieldDefs_[index];
    if (def.DataType() != field->DataType()) {
      DatabaseError(Format(
          "Type mismatch for field '%s', expecting: %s actual: %s",
          {field->FieldName(), FieldTypeName(field->DataType()), FieldTypeName(def.DataType())}));
    }
    field->fieldNo_ = index + 1;
  }
}

void TDataSet::UnbindFields() {
  for (TField* field : fields_) field->fieldNo_ = 0;
}

int TDataSet::RecordCount() const {
  CheckActive();
  return GetRecordCount();
}

int TDataSet::RecNo() const {
  return GetRecNo();
}

}  // namespace plotvik
