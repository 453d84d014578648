#include "chart/custom_db_chart.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <string_view>

#include "chart/chart_series.h"
#include "platform/exceptions.h"
#include "platform/gui/screen_cursor.h"
#include "platform/scope_guard.h"
#include "table/data_set.h"
#include "table/mem_table.h"

namespace plotvik {

namespace {

const std::string kNoLabel;

// The first of the ';'-separated field names of a value source.
std::string_view FirstFieldName(std::string_view source) {
  return source.substr(0, source.find(';'));
}

TColor ColorFromField(const TField& field) {
  const double value = std::nearbyint(field.AsFloat());
  if (!(value >= std::numeric_limits<TColor>::min() &&
        value <= std::numeric_limits<TColor>::max())) {
    throw EOverflow("Floating point overflow");
  }
  return static_cast<TColor>(value);
}

// A field's value in one call to the table, not a null test and a read; false, with value 0,
// when the field is null.
bool ReadFloat(const TField& field, double& value) {
  value = 0.0;
  if (field.DataType() == TFieldType::ftFloat) return field.GetData(&value);
  if (field.IsNull()) return false;
  value = field.AsFloat();
  return true;
}

}  // namespace

// What one refill needs of one series, looked up once per refill rather than per record.
struct TCustomDBChart::Entry {
  TChartSeries* series = nullptr;
  bool yMandatory = true;
  TField* mandatoryField = nullptr;
  TField* positionField = nullptr;  // the field of the non-mandatory list (X for most series)
  TField* labelField = nullptr;
  TField* colorField = nullptr;
  // The field of every value list other than the mandatory one, by list index.
  std::vector<TField*> listFields;
  bool boundToTable = false;        // DataSource is the table itself
  bool boundThroughSource = false;  // DataSource is a TDataSource on the table
};

struct TCustomDBChart::RefillMark {
  // A series has a mark only while it belongs to this chart, so the address names one series.
  const TChartSeries* series = nullptr;
  std::uint64_t stamp = 0;
  const TDataSet* table = nullptr;
  std::uint64_t rewrites = 0;
  int records = 0;
  const TField* mandatoryField = nullptr;
  std::vector<TField*> listFields;
};

TCustomDBChart::TCustomDBChart(std::string name) : TCustomChart(std::move(name)) {}

TCustomDBChart::~TCustomDBChart() {
  // Leave the tables first: their notifications must not reach a chart being taken apart.
  dataSources_.clear();
}

void TCustomDBChart::SetRefreshInterval(int seconds) {
  if (seconds < 0 || seconds > 60) {
    throw DBChartException("Refresh Interval must be between 0 and 60");
  }
  refreshInterval_ = seconds;
}

void TCustomDBChart::RemoveSeries(TChartSeries& series) {
  std::erase_if(marks_, [&](const RefillMark& m) { return m.series == &series; });
  TCustomChart::RemoveSeries(series);
}

// --- binding ---

void TCustomDBChart::CheckDatasource(TChartSeries& series) {
  if (series.ParentChart() != static_cast<TCustomChartPanel*>(this)) {
    throw ChartException("Series.ParentChart is not myself!");
  }
  TComponent* source = series.DataSource();
  if (source == nullptr) return;
  series.ClearPoints();
  if (auto* table = dynamic_cast<TDataSet*>(source)) {
    DataSourceFor(*table, false);
    GuardedRefill(*table, &series);
  } else if (auto* dataSource = dynamic_cast<TDataSource*>(source);
             dataSource != nullptr && dataSource->DataSet() != nullptr) {
    TDataSet& table = *dataSource->DataSet();
    DataSourceFor(table, true);
    GuardedRefill(table, &series);
  }
}

TDBChartDataSource& TCustomDBChart::DataSourceFor(TDataSet& table, bool withDataChange) {
  for (auto& source : dataSources_) {
    if (source->DataSet() != &table) continue;
    if (withDataChange && !source->OnDataChange) {
      source->OnDataChange = [this](TDataSource& s, TField*) {
        DataSourceDataChange(static_cast<TDBChartDataSource&>(s));
      };
    }
    return *source;
  }
  auto source = std::make_unique<TDBChartDataSource>(*this);
  // Another chart on this table already holds the table's share; a first one starts it.
  for (TDataSource* other : table.DataSources()) {
    if (auto* chartSource = dynamic_cast<TDBChartDataSource*>(other)) {
      source->SetShare(chartSource->Share());
      break;
    }
  }
  if (source->Share() == nullptr) source->SetShare(std::make_shared<TValueListShare>());
  // Attached before its handlers are set: attaching to an open table announces the state at
  // once, and that announcement is not a reason to refill.
  source->SetDataSet(&table);
  source->SetSeenActive(table.Active());
  source->OnStateChange = [this](TDataSource& s) {
    DataSourceStateChange(static_cast<TDBChartDataSource&>(s));
  };
  source->OnUpdateData = [this](TDataSource& s) {
    DataSourceUpdateData(static_cast<TDBChartDataSource&>(s));
  };
  if (withDataChange) {
    source->OnDataChange = [this](TDataSource& s, TField*) {
      DataSourceDataChange(static_cast<TDBChartDataSource&>(s));
    };
  }
  dataSources_.push_back(std::move(source));
  return *dataSources_.back();
}

// --- table notifications ---

void TCustomDBChart::DataSourceStateChange(TDBChartDataSource& source) {
  TDataSet* table = source.DataSet();
  if (table == nullptr) return;
  switch (source.State()) {
    case DataSetState::StateInactive:
      source.SetSeenActive(false);
      if (autoRefresh_) {
        for (int i = 0; i < SeriesCount(); ++i) {
          TChartSeries& series = Series(i);
          if (series.DataSource() == table) series.ClearPoints();
        }
      }
      break;
    case DataSetState::StateBrowse:
      // Only the first browse state after the table opened or posted refills; a cancel's
      // return to browse finds SeenActive already set.
      if (!source.SeenActive()) {
        GuardedRefill(*table, nullptr);
        source.SetSeenActive(true);
      }
      break;
    default:
      break;
  }
}

void TCustomDBChart::DataSourceUpdateData(TDBChartDataSource& source) {
  TDataSet* table = source.DataSet();
  if (table == nullptr) return;
  if (source.State() == DataSetState::StateBrowse) {
    GuardedRefill(*table, nullptr);
  } else {
    // A post announces its update while still inserting or editing; this arms the refill at
    // the browse state that follows the store.
    source.SetSeenActive(false);
  }
}

void TCustomDBChart::DataSourceDataChange(TDBChartDataSource& source) {
  if (TDataSet* table = source.DataSet()) GuardedRefill(*table, nullptr);
}

void TCustomDBChart::GuardedRefill(TDataSet& table, TChartSeries* series) {
  if (autoRefresh_) RefillFromTable(table, series);
}

// --- the refill ---

void TCustomDBChart::BuildEntries(TDataSet& table, TChartSeries* only, std::vector<Entry>& entries,
                                  bool& walk) const {
  // The entries of the last refill are reused as they are, their field lists included: a load
  // refills every chart once per line.
  size_t used = 0;
  auto add = [&](TChartSeries& series) {
    if (used == entries.size()) entries.emplace_back();
    Entry& entry = entries[used++];
    std::vector<TField*> listFields = std::move(entry.listFields);
    entry = Entry();
    entry.listFields = std::move(listFields);
    entry.series = &series;
    entry.yMandatory = series.YMandatory();
    TComponent* source = series.DataSource();
    entry.boundToTable = source == &table;
    if (!entry.boundToTable) {
      auto* dataSource = dynamic_cast<TDataSource*>(source);
      entry.boundThroughSource = dataSource != nullptr && dataSource->DataSet() == &table;
    }
    // With several series the last bound one decides how the table is read.
    if (entry.boundToTable) walk = true;
    if (entry.boundThroughSource) walk = false;

    const TChartValueList& mandatory = series.MandatoryValueList();
    const std::string_view name = FirstFieldName(mandatory.ValueSource());
    if (!name.empty()) entry.mandatoryField = &table.FieldByName(name);
    entry.listFields.assign(static_cast<size_t>(series.ValueListCount()), nullptr);
    for (int k = 0; k < series.ValueListCount(); ++k) {
      const TChartValueList& list = series.ValueList(k);
      if (&list == &mandatory || list.ValueSource().empty()) continue;
      entry.listFields[k] = &table.FieldByName(list.ValueSource());
    }
    const int positionIndex = &series.NotMandatoryValueList() == &series.XValues() ? 0 : 1;
    entry.positionField = entry.listFields[positionIndex];
    if (!series.XLabelsSource().empty())
      entry.labelField = &table.FieldByName(series.XLabelsSource());
    if (!series.ColorSource().empty()) entry.colorField = &table.FieldByName(series.ColorSource());
  };

  if (only != nullptr) {
    add(*only);
  } else {
    for (int i = 0; i < SeriesCount(); ++i) {
      TChartSeries& series = Series(i);
      if (series.MandatoryValueList().ValueSource().empty()) continue;
      TComponent* source = series.DataSource();
      if (source == &table) {
        add(series);
      } else if (auto* dataSource = dynamic_cast<TDataSource*>(source);
                 dataSource != nullptr && dataSource->DataSet() == &table) {
        add(series);
      }
    }
  }
  entries.resize(used);
}

void TCustomDBChart::RefillFromTable(TDataSet& table, TChartSeries* series) {
  if (refilling_) return;
  if (!table.Active()) return;
  refilling_ = true;
  const TCursor savedCursor = ScreenCursor();
  bool cursorChanged = false;
  std::vector<Entry> entries = std::move(spareEntries_);
  try {
    bool walk = true;
    BuildEntries(table, series, entries, walk);
    if (!entries.empty()) {
      const bool plain = incrementalRefill_ && PlainRefill(table, entries, walk);
      const bool lastOnly = plain && AllButLastHeld(table, entries);
      // Series that hold every record but the last were filled from this table's share
      // already: the refill that marked them handed it over.
      if (!lastOnly) ShareStorage(table, entries);
      if (showGlassCursor_) {
        SetScreenCursor(crHourGlass);
        cursorChanged = true;
      }
      for (Entry& entry : entries) {
        TChartSeries& s = *entry.series;
        if (!lastOnly) {
          s.ClearPoints();
        } else if (s.Active() && s.ParentChart() != nullptr && !s.ParentChart()->Destroying()) {
          s.Repaint();  // the request the clear would have made
        }
      }
      if (walk) {
        for (Entry& entry : entries) entry.series->HoldRepaints();
        const TScopeGuard releaseRepaints([&entries] {
          for (Entry& entry : entries) entry.series->ReleaseRepaints();
        });
        try {
          WalkTable(table, entries, lastOnly, plain);
        } catch (...) {
          ForgetHeld(entries);
          throw;
        }
      } else {
        // A series bound through a data source shows the source's current record only.
        if (OnProcessRecord) OnProcessRecord(*this, table);
        for (Entry& entry : entries) {
          if (entry.boundThroughSource) AddRecord(entry, true);
        }
      }
      for (Entry& entry : entries) entry.series->ApplyMandatoryOrder();
      if (plain) {
        MarkHeld(table, entries);
      } else {
        ForgetHeld(entries);
      }
      if (cursorChanged) {
        cursorChanged = false;
        SetScreenCursor(savedCursor);
      }
    }
  } catch (...) {
    if (cursorChanged) SetScreenCursor(savedCursor);
    spareEntries_ = std::move(entries);
    refilling_ = false;
    throw;
  }
  spareEntries_ = std::move(entries);
  refilling_ = false;
}

void TCustomDBChart::ShareStorage(const TDataSet& table, const std::vector<Entry>& entries) const {
  // A table this chart has no source on (a refill asked for by hand) shares with nobody. No
  // copy of the share is taken: a load refills every chart once per line.
  const TDBChartDataSource* found = nullptr;
  for (const auto& source : dataSources_) {
    if (source->DataSet() == &table) found = source.get();
  }
  const std::shared_ptr<TValueListShare> none;
  const std::shared_ptr<TValueListShare>& share = found != nullptr ? found->Share() : none;
  for (const Entry& entry : entries) {
    for (int k = 0; k < entry.series->ValueListCount(); ++k) {
      entry.series->ValueList(k).SetShare(share);
    }
  }
}

bool TCustomDBChart::PlainRefill(const TDataSet& table, const std::vector<Entry>& entries,
                                 bool walk) const {
  // Another kind of dataset may do anything as its records are read.
  if (!walk || OnProcessRecord || dynamic_cast<const TCustomMemTable*>(&table) == nullptr) {
    return false;
  }
  // Outside browse the walk's first move settles a pending record; the hooks would count moves.
  if (table.State() != DataSetState::StateBrowse || table.BeforeScroll || table.AfterScroll) {
    return false;
  }
  for (const Entry& entry : entries) {
    const TChartSeries& s = *entry.series;
    if (!entry.boundToTable || entry.labelField != nullptr || entry.colorField != nullptr ||
        s.OnBeforeAdd || s.OnAfterAdd || s.OnClearValues ||
        s.MandatoryValueList().Order() != TChartListOrder::loNone) {
      return false;
    }
  }
  return true;
}

bool TCustomDBChart::AllButLastHeld(const TDataSet& table,
                                    const std::vector<Entry>& entries) const {
  const int records = table.RecordCount();
  for (const Entry& entry : entries) {
    auto mark = std::find_if(marks_.begin(), marks_.end(),
                             [&](const RefillMark& m) { return m.series == entry.series; });
    if (mark == marks_.end() || mark->stamp != entry.series->ChangeStamp() ||
        mark->table != &table || mark->rewrites != table.RewriteCount() ||
        mark->records + 1 != records || mark->mandatoryField != entry.mandatoryField ||
        mark->listFields != entry.listFields) {
      return false;
    }
  }
  return true;
}

void TCustomDBChart::MarkHeld(const TDataSet& table, const std::vector<Entry>& entries) {
  const int records = table.RecordCount();
  for (const Entry& entry : entries) {
    // A series refilled from here without belonging to this chart could go unnoticed.
    if (entry.series->ParentChart() != static_cast<const TCustomChartPanel*>(this)) continue;
    auto mark = std::find_if(marks_.begin(), marks_.end(),
                             [&](const RefillMark& m) { return m.series == entry.series; });
    if (mark == marks_.end()) mark = marks_.emplace(marks_.end());
    mark->series = entry.series;
    mark->stamp = entry.series->ChangeStamp();
    mark->table = &table;
    mark->rewrites = table.RewriteCount();
    mark->records = records;
    mark->mandatoryField = entry.mandatoryField;
    mark->listFields.assign(entry.listFields.begin(), entry.listFields.end());
  }
}

void TCustomDBChart::ForgetHeld(const std::vector<Entry>& entries) {
  std::erase_if(marks_, [&](const RefillMark& m) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const Entry& e) { return e.series == m.series; });
  });
}

void TCustomDBChart::WalkTable(TDataSet& table, std::vector<Entry>& entries, bool lastOnly,
                               bool unplaced) {
  // With the controls disabled the walk's own moves reach no data source, this chart's
  // included; the enable at the end sends a single reload notification.
  table.DisableControls();
  std::exception_ptr failure;
  TBookmark bookmark;
  try {
    bookmark = table.GetBookmark();
    if (lastOnly) {
      // The series hold every record but the last already; Last leaves the table as the
      // walk would, on the last record.
      table.Last();
      for (Entry& entry : entries) AddRecordPoint(entry, kNoLabel, unplaced);
    } else {
      table.First();
    }
    while (!table.Eof()) {
      try {
        if (OnProcessRecord) OnProcessRecord(*this, table);
        for (Entry& entry : entries) {
          if (!entry.boundToTable) continue;
          // Without a label field every point of the walk gets the empty label.
          if (entry.labelField == nullptr) {
            AddRecordPoint(entry, kNoLabel, unplaced);
          } else {
            AddRecord(entry, false);
          }
        }
      } catch (const EAbort&) {
        break;  // a quiet end: the points added so far stay
      }
      table.Next();
    }
  } catch (...) {
    failure = std::current_exception();
  }
  // Inside a post the table has no bookmark to give (the appended record is not stored yet);
  // the cursor then stays on the last record, where the post's own re-read expects it.
  try {
    if (!bookmark.IsNone()) table.GotoBookmark(bookmark);
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  table.FreeBookmark(bookmark);
  try {
    table.EnableControls();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  if (failure) std::rethrow_exception(failure);
}

void TCustomDBChart::AddRecord(Entry& entry, bool boundThroughSource) {
  // Only a series with a label field builds label text: a walk adds a point for every record.
  if (entry.labelField != nullptr) {
    AddRecordPoint(entry, entry.labelField->DisplayText());
  } else if (boundThroughSource) {
    AddRecordPoint(entry, entry.series->MandatoryValueList().ValueSource());
  } else {
    AddRecordPoint(entry, kNoLabel);
  }
}

void TCustomDBChart::AddRecordPoint(Entry& entry, const std::string& label, bool unplaced) {
  TChartSeries& series = *entry.series;
  // A null field reads as 0: a null Y becomes a null point at 0, a null X the position 0.
  double mandatory = 0.0;
  const bool mandatoryNull =
      entry.mandatoryField != nullptr && !ReadFloat(*entry.mandatoryField, mandatory);
  TColor color = clDefault;
  if (entry.colorField != nullptr) {
    color = ColorFromField(*entry.colorField);
  } else if (mandatoryNull) {
    color = clNone;
  }
  for (int k = 2; k < static_cast<int>(entry.listFields.size()); ++k) {
    if (TField* field = entry.listFields[k]) series.ValueList(k).SetPendingValue(field->AsFloat());
  }
  // Without a field for the position, points are numbered in the order they come.
  if (entry.positionField == nullptr) {
    series.AddAtNextX(mandatory, label, color);
    return;
  }
  double position = 0.0;
  ReadFloat(*entry.positionField, position);
  const double x = entry.yMandatory ? position : mandatory;
  const double y = entry.yMandatory ? mandatory : position;
  if (unplaced && label.empty()) {
    series.AddPointUnplaced(x, y, color);
  } else {
    series.AddPoint(x, y, label, color);
  }
}

}  // namespace plotvik
