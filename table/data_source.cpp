#include "table/data_source.h"

#include <algorithm>

#include "table/data_link.h"

namespace plotvik {

TDataSource::TDataSource(std::string name) : TComponent(std::move(name)) {}

TDataSource::~TDataSource() {
  // Handlers belong to whoever is tearing us down; they are not called from here on.
  MarkDestroying();
  while (!dataLinks_.empty()) dataLinks_.back()->SetDataSourceUnchecked(nullptr);
  if (dataSet_) {
    dataSet_->RemoveDataSource(*this);
    dataSet_ = nullptr;
  }
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_) dataSet_->RemoveDataSource(*this);
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->AddDataSource(*this);
  UpdateState();
}

void TDataSource::UpdateState() {
  const DataSetState state = dataSet_ ? dataSet_->State() : DataSetState::StateInactive;
  if (state == state_) return;
  const DataSetState previous = state_;
  state_ = state;
  NotifyLinks(DataSetEvent::StateChanged, 0, nullptr);
  if (Destroying()) return;
  if (OnStateChange) OnStateChange(*this);
  if (previous == DataSetState::StateInactive && OnDataChange) OnDataChange(*this, nullptr);
}

void TDataSource::DataEvent(DataSetEvent event, std::intptr_t info, TField* field) {
  if (event == DataSetEvent::StateChanged) {
    UpdateState();
    return;
  }
  if (state_ == DataSetState::StateInactive) return;
  NotifyLinks(event, info, field);
  switch (event) {
    case DataSetEvent::FieldChanged:
      if (OnDataChange) OnDataChange(*this, field);
      break;
    case DataSetEvent::RecordReplaced:
    case DataSetEvent::RecordsReloaded:
    case DataSetEvent::CursorMoved:
    case DataSetEvent::FieldLayoutChanged:
      if (OnDataChange) OnDataChange(*this, nullptr);
      break;
    case DataSetEvent::RecordUpdate:
      if (OnUpdateData) OnUpdateData(*this);
      break;
    default:
      break;
  }
}

void TDataSource::NotifyLinks(DataSetEvent event, std::intptr_t info, TField* field) {
  // Links that feed no visible control hear first, so that what a control shows is settled by
  // the time the control repaints. Within each group the last added goes first.
  for (bool visual : {false, true}) {
    for (size_t i = dataLinks_.size(); i-- > 0;) {
      if (i >= dataLinks_.size()) continue;  // a reaction detached links
      TDataLink* link = dataLinks_[i];
      if (link->VisualControl() == visual) link->DataEvent(event, info, field);
    }
  }
}

void TDataSource::AddDataLink(TDataLink& link) {
  dataLinks_.push_back(&link);
  if (dataSet_) dataSet_->UpdateBufferCount();
}

void TDataSource::RemoveDataLink(TDataLink& link) {
  std::erase(dataLinks_, &link);
  if (dataSet_) dataSet_->UpdateBufferCount();
}

}  // namespace plotvik
