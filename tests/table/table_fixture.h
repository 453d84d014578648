#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/component.h"
#include "table/data_source.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"

namespace plotvik::testing {

// Short names for states, so expected logs read like the table of sequences they check.
inline std::string Short(DataSetState state) {
  switch (state) {
    case DataSetState::StateInactive:
      return "Inactive";
    case DataSetState::StateBrowse:
      return "Browse";
    case DataSetState::StateEdit:
      return "Edit";
    case DataSetState::StateInsert:
      return "Insert";
    default:
      return std::string(DataSetStateName(state));
  }
}

// A data source that writes down every notification it receives and every handler it fires,
// each handler with the source's state at that moment. Several may share one log, so the
// interleaving between sources shows.
class RecordingSource : public TDataSource {
 public:
  RecordingSource(std::vector<std::string>& log, std::string tag = {})
      : log_(log), tag_(std::move(tag)) {
    OnStateChange = [this](TDataSource& s) { Write("OnStateChange " + Short(s.State())); };
    OnDataChange = [this](TDataSource& s, TField* f) {
      Write(f ? "OnDataChange(" + f->FieldName() + ") " + Short(s.State())
              : "OnDataChange " + Short(s.State()));
    };
    OnUpdateData = [this](TDataSource& s) { Write("OnUpdateData " + Short(s.State())); };
  }

  void Write(const std::string& entry) { log_.push_back(tag_.empty() ? entry : tag_ + entry); }

 protected:
  void DataEvent(DataSetEvent event, std::intptr_t info, TField* field) override {
    std::string entry(DataSetEventName(event));
    if (field) entry += " " + field->FieldName();
    if (event == DataSetEvent::CursorMoved) entry += " " + std::to_string(info);
    Write(entry);
    TDataSource::DataEvent(event, info, field);
  }

 private:
  std::vector<std::string>& log_;
  std::string tag_;
};

// A form that owns mtData and its fields, as the main window does.
struct SweepForm {
  TComponent form{"Form1"};
  TMemTable& table = CreateSweepTable(form);

  // Appends one record with the given values in field order and posts it.
  void AddRecord(const std::vector<double>& values) {
    table.Append();
    for (size_t i = 0; i < values.size(); ++i)
      table.Fields(static_cast<int>(i)).SetValue(values[i]);
    table.Post();
  }
};

}  // namespace plotvik::testing
