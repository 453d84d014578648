#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/custom_chart.h"
#include "chart/db_chart_data_source.h"

namespace plotvik {

class TChartSeries;
class TDataSet;

// The data part of a data-bound chart: it listens to the tables its series are bound to and
// keeps the series equal to the tables' contents, clearing them when a table closes and
// refilling them from every record when a table opens or a record is posted.
class TCustomDBChart : public TCustomChart {
 public:
  using TProcessRecordEvent = std::function<void(TCustomDBChart&, TDataSet&)>;
  using TListOfDataSources = std::vector<std::unique_ptr<TDBChartDataSource>>;

  explicit TCustomDBChart(std::string name = {});
  ~TCustomDBChart() override;

  // When false, table notifications leave the series alone.
  bool AutoRefresh() const { return autoRefresh_; }
  void SetAutoRefresh(bool value) { autoRefresh_ = value; }
  // Seconds between periodic refills, 0 (none) to 60; "Refresh Interval must be between 0 and
  // 60" otherwise.
  int RefreshInterval() const { return refreshInterval_; }
  void SetRefreshInterval(int seconds);
  bool ShowGlassCursor() const { return showGlassCursor_; }
  void SetShowGlassCursor(bool value) { showGlassCursor_ = value; }
  // On (the default), a refill after one appended record adds just that record's point and
  // points out of order wait for one sort; off, every refill reads every record. Both leave
  // the same points, table, notifications and cursor.
  bool IncrementalRefill() const { return incrementalRefill_; }
  void SetIncrementalRefill(bool value) { incrementalRefill_ = value; }

  // Called once per record of a refill, before the record's values are added; raising EAbort
  // in it ends the refill there, keeping the points added so far.
  TProcessRecordEvent OnProcessRecord;

  // A refill of this chart is running; a refill asked for meanwhile is dropped.
  bool Refilling() const { return refilling_; }

  int DataSourceCount() const { return static_cast<int>(dataSources_.size()); }
  TDBChartDataSource& DataSources(int index) const { return *dataSources_.at(index); }

  // Checks the series' binding: it must belong to this chart ("Series.ParentChart is not
  // myself!"); a bound series is cleared, its table gets a data source of this chart and the
  // series is refilled from it.
  void CheckDatasource(TChartSeries& series) override;
  // A series that leaves takes its refill mark with it.
  void RemoveSeries(TChartSeries& series) override;

  // Clears and refills the given series, or every series bound to the table whose Y values have
  // a source field, from every record of the table. Does nothing while a refill runs or while
  // the table is closed.
  void RefillFromTable(TDataSet& table, TChartSeries* series = nullptr);

 protected:
  void DataSourceStateChange(TDBChartDataSource& source);
  void DataSourceUpdateData(TDBChartDataSource& source);
  void DataSourceDataChange(TDBChartDataSource& source);

 private:
  struct Entry;
  // What a series held after this chart last read a whole table into it.
  struct RefillMark;

  TDBChartDataSource& DataSourceFor(TDataSet& table, bool withDataChange);
  void GuardedRefill(TDataSet& table, TChartSeries* series);
  void BuildEntries(TDataSet& table, TChartSeries* series, std::vector<Entry>& entries,
                    bool& walk) const;
  // Hands the lists of the entries' series the storage share of the table this chart reads.
  void ShareStorage(const TDataSet& table, const std::vector<Entry>& entries) const;
  // Whether nothing but the points tells a refill of these entries from another: no handler
  // runs during it, no entry reads labels or colours or reorders its points afterwards, and
  // the table reads its records the plain way.
  bool PlainRefill(const TDataSet& table, const std::vector<Entry>& entries, bool walk) const;
  // Whether every entry's series holds what a refill from all records but the last would give.
  bool AllButLastHeld(const TDataSet& table, const std::vector<Entry>& entries) const;
  void MarkHeld(const TDataSet& table, const std::vector<Entry>& entries);
  void ForgetHeld(const std::vector<Entry>& entries);
  // Adds the points of every record, or with lastOnly of the last record only; the table is
  // left as the walk over every record leaves it.
  void WalkTable(TDataSet& table, std::vector<Entry>& entries, bool lastOnly, bool unplaced);
  void AddRecord(Entry& entry, bool boundThroughSource);
  // AddRecord with the label already chosen; unplaced leaves the point's place to be worked
  // out at the series' next read.
  void AddRecordPoint(Entry& entry, const std::string& label, bool unplaced = false);

  bool autoRefresh_ = true;
  int refreshInterval_ = 0;
  bool showGlassCursor_ = true;
  bool refilling_ = false;
  bool incrementalRefill_ = true;
  TListOfDataSources dataSources_;
  std::vector<RefillMark> marks_;
  std::vector<Entry> spareEntries_;
};

}  // namespace plotvik
