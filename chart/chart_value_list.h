#pragma once

#include <bit>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace plotvik {

// Where AddOrdered places a new value.
enum class TChartListOrder { loNone, loAscending, loDescending };

// What a value list tells the series that owns it. The list lies below the series and never
// names it: the series hands itself over as this interface.
class TChartValueListOwner {
 public:
  // DateTime changed: only the labels of an axis change, so the owner's chart repaints.
  virtual void ValueListDisplayChanged() = 0;
  // ValueSource changed: the owner re-checks its table binding, which refills it.
  virtual void ValueListSourceChanged() = 0;
  // The owner holds points of this list whose places it has not worked out yet; a read or a
  // change of the list is about to happen, so it places them now.
  virtual void PlaceValueListPoints() const = 0;

 protected:
  ~TChartValueListOwner() = default;
};

// The storage of one value list's values, which lists holding the same values may share.
struct TValueListStorage {
  std::unique_ptr<double[]> data;
  int allocated = 0;
  // Values set from the start: each sharer's values are the first count of them.
  int filled = 0;
};

// The storages that lists fed from the fields of one table offer each other, by field name.
// Whoever reads a table into series holds one for that table and hands it to the series' lists;
// lists fed from another table, or by hand, never see it. It owns no storage: a storage lives
// as long as some list holds it.
class TValueListShare {
 public:
  // The storage last started by a list fed from the field (expired when none is left).
  std::weak_ptr<TValueListStorage>& Offered(const std::string& field);

 private:
  std::vector<std::pair<std::string, std::weak_ptr<TValueListStorage>>> offers_;
};

// One column of doubles of a series (its X values, its Y values, ...), with ordered insertion
// and statistics that are recomputed lazily, in one pass, at the first read after a change.
//
// The capacity grows by a fixed step of 1000 values, as callers of Capacity see it; the storage
// beneath it doubles, so that building a long list by appends copies each value a bounded
// number of times.
//
// Lists fed from the same field of the same table (every chart's X list reads `height` of the
// same records) keep one storage between them while they hold the same values: an append that
// finds its value already stored at its place only counts it, and any other change gets the
// list a storage of its own first. The table's share (see SetShare) tells them of each other.
class TChartValueList {
 public:
  static constexpr int kGrowthStep = 1000;

  TChartValueList(TChartValueListOwner* owner, std::string name);
  virtual ~TChartValueList();

  TChartValueList(const TChartValueList&) = delete;
  TChartValueList& operator=(const TChartValueList&) = delete;

  TChartValueListOwner* Owner() const { return owner_; }

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  TChartListOrder Order() const { return order_; }
  // Points added before the change were placed by the old order.
  void SetOrder(TChartListOrder order) {
    Place();
    order_ = order;
    ++changes_;
  }

  // Only changes how an axis labels the values; a change asks the owner's chart to repaint.
  bool DateTime() const { return dateTime_; }
  void SetDateTime(bool dateTime);

  // The table field that feeds this list. A different name makes the owner re-check its
  // table binding, which refills it.
  const std::string& ValueSource() const { return valueSource_; }
  void SetValueSource(std::string valueSource);

  // Copies the configuration (order, date-time flag, source field), never the values or Name.
  void Assign(const TChartValueList& source);

  // Stores the value where Order puts it and returns its index. Ascending order places a
  // value after every equal one, so equal keys keep their order of arrival.
  virtual int AddOrdered(double value);
  // Whether AddOrdered would place the value last, as it does for every value of a refill
  // from a table in key order.
  bool TakesAtEnd(double value) const {
    Place();
    if (count_ == 0) return true;
    const double last = storage_->data[count_ - 1];
    switch (order_) {
      case TChartListOrder::loAscending:
        return !(value < last);
      case TChartListOrder::loDescending:
        return !(value > last);
      default:
        return true;
    }
  }
  // InsertAt(ValueCount(), value) without the index check and the move. The add of every point
  // of a refill ends here, so it lives in the header where every caller can have it inline.
  void Append(double value) {
    Place();
    ++changes_;
    MakeRoomForOne();
    StoreLast(value);
    statsStale_ = true;
  }
  // Empties the list and releases its storage.
  virtual void RemoveAll();
  // Stores the value at index (0 ≤ index ≤ ValueCount), moving later values up by one.
  virtual void InsertAt(int index, double value);
  // Removes the value at index, moving later values down by one.
  virtual void RemoveAt(int index);

  int ValueCount() const {
    Place();
    return count_;
  }
  int Capacity() const {
    Place();
    return capacity_;
  }
  // Reads value i; raises EListError outside 0 ≤ i < ValueCount.
  double Value(int index) const {
    Place();
    CheckIndex(index, count_);
    return storage_->data[index];
  }
  double operator[](int index) const { return Value(index); }
  // Every value, in index order.
  std::span<const double> Values() const {
    Place();
    return {storage_ ? storage_->data.get() : nullptr, static_cast<size_t>(count_)};
  }
  void SetValue(int index, double value);
  void Exchange(int a, int b);

  // The value parked by an add for lists beyond X and Y, inserted at the index the X list chose.
  double PendingValue() const { return pendingValue_; }
  void SetPendingValue(double value) { pendingValue_ = value; }

  bool StatsStale() const {
    Place();
    return statsStale_;
  }
  // Goes up with every change of the values or of the order that places them.
  std::uint64_t ChangeCount() const { return changes_; }
  double Lowest() const;
  double Highest() const;
  double Sum() const;
  double AbsSum() const;
  double Spread() const { return Highest() - Lowest(); }

  // The owner holds points of this list whose places it has not worked out yet; every read
  // and change of the list asks it to place them.
  void SetUnplaced(bool unplaced) { unplaced_ = unplaced; }
  // The share of the table that feeds this list; nullptr (the start) shares with no list. A
  // list already holding values keeps its storage until it is emptied.
  void SetShare(const std::shared_ptr<TValueListShare>& share) {
    if (share_ != share) share_ = share;
  }
  // Whether another list reads the same storage.
  bool SharesStorage() const { return storage_ && storage_.use_count() > 1; }
  // The capacity the list reports once it holds count values.
  int CapacityFor(int count) const;
  // Takes count values placed by the owner, in storage of capacity values (≥ CapacityFor
  // (count)). It counts no change: the owner counted each point when it was added.
  void TakePlaced(std::unique_ptr<double[]> values, int count, int capacity);

 private:
  using TStorage = TValueListStorage;

  void Place() const {
    if (unplaced_) [[unlikely]]
      PlaceOwnerPoints();
  }
  void PlaceOwnerPoints() const;
  void CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) [[unlikely]]
      IndexError(index);
  }
  [[noreturn]] static void IndexError(int index);
  void MakeRoomForOne() {
    if (count_ == capacity_) [[unlikely]]
      Grow();
  }
  void Grow();
  // Stores value at index count_ (room is made) and counts it.
  void StoreLast(double value) {
    TStorage& st = *storage_;
    if (count_ < st.filled && storage_.use_count() > 1) [[likely]] {
      if (SameBits(st.data[count_], value)) {
        ++count_;
        return;
      }
      OwnStorage();
    }
    storage_->data[count_] = value;
    ++count_;
    storage_->filled = count_;
  }
  static bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
  }
  // Before a change other than an append: a storage of its own holding its values.
  void OwnStorage();
  // Storage for `allocated` values: the shared one grows for every sharer; a list starting
  // from nothing joins the storage of the last list fed from the same field of its table.
  void Reserve(int allocated);
  void RecalcStats() const;

  TChartValueListOwner* owner_;
  std::string name_;
  TChartListOrder order_ = TChartListOrder::loNone;
  bool dateTime_ = false;
  std::string valueSource_;

  std::shared_ptr<TValueListShare> share_;
  std::shared_ptr<TStorage> storage_;
  int count_ = 0;
  int capacity_ = 0;  // what the list reports: grows in steps of kGrowthStep
  double pendingValue_ = 0.0;
  std::uint64_t changes_ = 0;
  mutable bool unplaced_ = false;

  mutable bool statsStale_ = true;
  mutable double lowest_ = 0.0;
  mutable double highest_ = 0.0;
  mutable double sum_ = 0.0;
  mutable double absSum_ = 0.0;
};

}  // namespace plotvik
