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
    case DataSetEvent::FieldListChanged:
      return "FieldListChanged";
  }
  return "?";
}

void TDataSet::DataEvent(DataSetEvent event, std::intptr_t info, TField* field) {
  if (event == DataSetEvent::FieldChanged && field != nullptr) {
    modified_ = true;
    if (field->OnChange) field->OnChange(*field);
  }
  if (disableCount_ > 0) {
    // A consumer that missed a close cannot trust its idea of the fields any more.
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

}  // namespace plotvik
