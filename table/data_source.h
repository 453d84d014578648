#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/component.h"
#include "table/data_set.h"

namespace plotvik {

class TDataLink;

// A listener on one dataset: it keeps its own copy of the dataset's state, passes every
// notification to its data links, and turns some of them into its events.
class TDataSource : public TComponent {
 public:
  explicit TDataSource(std::string name = {});
  ~TDataSource() override;

  TDataSet* DataSet() const { return dataSet_; }
  // Attaching fires OnStateChange at once when the dataset is open.
  void SetDataSet(TDataSet* dataSet);
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool value) { autoEdit_ = value; }
  // The state as this source last heard it: StateInactive while detached.
  DataSetState State() const { return state_; }

  int DataLinkCount() const { return static_cast<int>(dataLinks_.size()); }

  std::function<void(TDataSource&)> OnStateChange;
  std::function<void(TDataSource&, TField*)> OnDataChange;
  std::function<void(TDataSource&)> OnUpdateData;

 protected:
  friend class TDataSet;
  // Called by the dataset for every notification it passes on.
  virtual void DataEvent(DataSetEvent event, std::intptr_t info, TField* field);

 private:
  friend class TDataLink;
  void UpdateState();
  void AddDataLink(TDataLink& link);
  void RemoveDataLink(TDataLink& link);
  void NotifyLinks(DataSetEvent event, std::intptr_t info, TField* field);

  TDataSet* dataSet_ = nullptr;
  bool autoEdit_ = true;
  DataSetState state_ = DataSetState::StateInactive;
  std::vector<TDataLink*> dataLinks_;
};

}  // namespace plotvik
