#pragma once

#include <cstdint>

#include "table/data_set.h"

namespace plotvik {

class TDataSource;

// A consumer's view through a data source: a window of BufferCount records within the dataset's
// record window, and reactions that subclasses override. Owned by whoever creates it; it
// leaves its data source when destroyed.
class TDataLink {
 public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return dataSource_; }
  // "DataSource cannot be changed" once DataSourceFixed is set.
  void SetDataSource(TDataSource* source);
  bool DataSourceFixed() const { return dataSourceFixed_; }
  void SetDataSourceFixed(bool value) { dataSourceFixed_ = value; }
  TDataSet* DataSet() const;

  bool Active() const { return active_; }
  bool Editing() const { return editing_; }
  // How many records of the dataset's window this link wants to see; the dataset keeps at least
  // the largest count asked for by any link.
  int BufferCount() const { return bufferCount_; }
  void SetBufferCount(int value);
  int FirstRecord() const { return firstRecord_; }
  // The dataset's active record relative to this link's window.
  int ActiveRecord() const;
  bool VisualControl() const { return visualControl_; }
  void SetVisualControl(bool value) { visualControl_ = value; }

 protected:
  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int /*distance*/) { DataSetChanged(); }
  virtual void EditingChanged() {}
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* /*field*/) {}
  virtual void UpdateData() {}

 private:
  friend class TDataSource;
  void DataEvent(DataSetEvent event, std::intptr_t info, TField* field);
  void SetDataSourceUnchecked(TDataSource* source);
  void UpdateState();
  // Moves the first record by `moved` and then just far enough to keep the dataset's active
  // record inside this link's window; returns the extra shift.
  int FitWindow(std::intptr_t moved);
  void SetActive(bool value);
  void SetEditing(bool value);

  TDataSource* dataSource_ = nullptr;
  bool dataSourceFixed_ = false;
  bool active_ = false;
  bool editing_ = false;
  bool visualControl_ = false;
  bool updating_ = false;
  int bufferCount_ = 1;
  int firstRecord_ = 0;
};

}  // namespace plotvik
