// The notifications: delivery to the data sources, controls disabled and enabled again.
#include "table/data_set.h"

#include <algorithm>

#include "table/data_source.h"

namespace plotvik {

std::string_view DataSetEventName(DataSetEvent event) {
  switch (event) {
    case DataSetEvent::FieldChanged:
      return "FieldChanged";
    case DataSetEvent::RecordReplaced:
      return "RecordReplaced";
    case DataSetEvent::RecordsReloaded:
      return "RecordsReloaded";
    case DataSetEvent::CursorMoved:
      return "CursorMoved";
    case DataSetEvent::FieldLayoutChanged:
      return "FieldLayoutChanged";
    case DataSetEvent::RecordUpdate:
      return "RecordUpdate";
    case DataSetEvent::StateChanged:
      return "StateChanged";
    case DataSetEvent::BrowseModeCheck:
      return "BrowseModeCheck";
    case DataSetEvent::FieldDefsStale:
      return "FieldDefsStale";
    case DataSetEvent::FieldListChanged:
      return "FieldListChanged";
    case DataSetEvent::FocusRequested:
      return "FocusRequested";
  }
  return "?";
}

void TDataSet::DataEvent(DataSetEvent event, std::intptr_t info, TField* field) {
  if (event == DataSetEvent::FieldChanged && field != nullptr) {
    if (field->FieldKind() == TFieldKind::fkData) modified_ = true;
    if (field->OnChange) field->OnChange(*field);
  }
  if (disableCount_ > 0) {
    // A consumer that missed a close cannot trust its idea of the fields any more: it is told
    // the layout changed rather than merely that records were reloaded.
    if (event == DataSetEvent::FieldLayoutChanged ||
        (event == DataSetEvent::StateChanged && state_ == DataSetState::StateInactive)) {
      enableEvent_ = DataSetEvent::FieldLayoutChanged;
    }
    return;
  }
  // By index: a handler may attach or detach sources while we deliver.
  for (size_t i = 0; i < dataSources_.size(); ++i) {
    dataSources_[i]->DataEvent(event, info, field);
  }
}

void TDataSet::DisableControls() {
  if (disableCount_ == 0) {
    ControlsDisabledBegin();
    disableState_ = state_;
    enableEvent_ = DataSetEvent::RecordsReloaded;
  }
  ++disableCount_;
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0) return;
  if (--disableCount_ > 0) return;
  ControlsDisabledEnd();
  if (disableState_ != state_) DataEvent(DataSetEvent::StateChanged);
  if (disableState_ != DataSetState::StateInactive && state_ != DataSetState::StateInactive) {
    DataEvent(enableEvent_);
  }
}

void TDataSet::AddDataSource(TDataSource& source) {
  dataSources_.push_back(&source);
  UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource& source) {
  std::erase(dataSources_, &source);
  UpdateBufferCount();
}

void TDataSet::SetMasterSource(TDataSource* source) {
  if (source == masterSource_) return;
  // Taking master values from a source that is itself fed by this dataset would loop forever.
  int guard = 0;
  for (const TDataSet* ds = source ? source->DataSet() : nullptr; ds && guard < 1024; ++guard) {
    if (ds == this) throw EDatabaseError("Circular datalinks are not allowed");
    ds = ds->masterSource_ ? ds->masterSource_->DataSet() : nullptr;
  }
  if (masterSource_) RemoveFreeNotification(*masterSource_);
  masterSource_ = source;
  if (masterSource_) FreeNotification(*masterSource_);
}

bool TDataSet::IsLinkedTo(const TDataSource* source) const {
  int guard = 0;
  for (const TDataSet* ds = this; ds && guard < 1024; ++guard) {
    const TDataSource* master = ds->masterSource_;
    if (!master) return false;
    if (master == source) return true;
    ds = master->DataSet();
  }
  return false;
}
}  // namespace plotvik
