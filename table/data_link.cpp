#include "table/data_link.h"

#include <algorithm>

#include "platform/exceptions.h"
#include "table/data_source.h"

namespace plotvik {

TDataLink::~TDataLink() {
  if (dataSource_) {
    // Nothing can be reported from a destructor; leaving the source must not fail anyway.
    try {
      SetDataSourceUnchecked(nullptr);
    } catch (...) {
    }
  }
}

TDataSet* TDataLink::DataSet() const {
  return dataSource_ ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == dataSource_) return;
  if (dataSourceFixed_) throw EDatabaseError("DataSource cannot be changed");
  SetDataSourceUnchecked(source);
}

void TDataLink::SetDataSourceUnchecked(TDataSource* source) {
  if (dataSource_) {
    TDataSource* old = dataSource_;
    dataSource_ = nullptr;
    old->RemoveDataLink(*this);
  }
  dataSource_ = source;
  if (dataSource_) dataSource_->AddDataLink(*this);
  UpdateState();
}

void TDataLink::SetBufferCount(int value) {
  bufferCount_ = std::max(1, value);
  if (TDataSet* ds = DataSet()) ds->UpdateBufferCount();
}

int TDataLink::ActiveRecord() const {
  const TDataSet* ds = DataSet();
  if (!ds) return 0;
  return ds->ActiveRecord() - firstRecord_;
}

void TDataLink::UpdateState() {
  const DataSetState state = dataSource_ ? dataSource_->State() : DataSetState::StateInactive;
  SetActive(state != DataSetState::StateInactive);
  SetEditing(state == DataSetState::StateEdit || state == DataSetState::StateInsert);
}

void TDataLink::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (value) {
    FitWindow(0);
  } else {
    firstRecord_ = 0;
  }
  ActiveChanged();
}

void TDataLink::SetEditing(bool value) {
  if (value == editing_) return;
  editing_ = value;
  EditingChanged();
}

int TDataLink::FitWindow(std::intptr_t moved) {
  const TDataSet* ds = DataSet();
  if (!ds) return 0;
  const int active = ds->ActiveRecord();
  const int first = firstRecord_ + static_cast<int>(moved);
  const int last = first + bufferCount_ - 1;
  int distance = 0;
  if (active > last) {
    distance = active - last;
  } else if (active < first) {
    distance = active - first;
  }
  firstRecord_ = first + distance;
  return distance;
}

void TDataLink::DataEvent(DataSetEvent event, std::intptr_t info, TField* field) {
  if (event == DataSetEvent::StateChanged) {
    UpdateState();
    return;
  }
  if (!active_) return;
  switch (event) {
    case DataSetEvent::FieldChanged:
    case DataSetEvent::RecordReplaced:
      if (!updating_) RecordChanged(field);
      break;
    case DataSetEvent::RecordsReloaded:
    case DataSetEvent::CursorMoved:
    case DataSetEvent::FieldLayoutChanged: {
      const int distance = FitWindow(info);
      if (event == DataSetEvent::RecordsReloaded) {
        DataSetChanged();
      } else if (event == DataSetEvent::CursorMoved) {
        DataSetScrolled(distance);
      } else {
        LayoutChanged();
      }
      break;
    }
    case DataSetEvent::RecordUpdate:
      updating_ = true;
      try {
        UpdateData();
      } catch (...) {
        updating_ = false;
        throw;
      }
      updating_ = false;
      break;
    case DataSetEvent::BrowseModeCheck:
      CheckBrowseMode();
      break;
    default:
      break;
  }
}

}  // namespace plotvik
