#include "table/record_window.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

namespace plotvik {
namespace {

// Each record is one byte, its number in the store; the window is read back as those numbers.
class RecordWindowTest : public ::testing::Test {
 protected:
  void Resize(int capacity) {
    window.Resize(
        capacity,
        [this] {
          if (allocationsLeft == 0) throw std::bad_alloc();
          if (allocationsLeft > 0) --allocationsLeft;
          ++live;
          return TRecordBuffer(new std::byte[1]{});
        },
        [this](TRecordBuffer& buffer) {
          buffer.reset();
          --live;
        });
  }
  void FetchNext(int record) {
    *window.NextSlot() = static_cast<std::byte>(record);
    window.AcceptNext();
  }
  void FetchPrior(int record) {
    *window.Scratch() = static_cast<std::byte>(record);
    window.AcceptPrior();
  }
  std::vector<int> Records() const {
    std::vector<int> records;
    for (int i = 0; i < window.Count(); ++i) records.push_back(static_cast<int>(*window.Slot(i)));
    return records;
  }

  TRecordWindow window;
  int live = 0;              // buffers allocated and not yet freed
  int allocationsLeft = -1;  // -1: no limit
};

TEST_F(RecordWindowTest, AFullWindowSlidesOverTheRecordsFetchedAtEitherEnd) {
  Resize(3);
  EXPECT_EQ(live, 4);  // the scratch slot comes with the window
  for (int record = 1; record <= 5; ++record) FetchNext(record);
  EXPECT_EQ(Records(), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(window.Current(), 2);
  EXPECT_EQ(window.Active(), 0);  // the caller moves the active record, not the window

  FetchPrior(2);
  EXPECT_EQ(Records(), (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(window.Current(), 0);
  EXPECT_EQ(static_cast<int>(*window.Scratch()), 5);  // dropped into the scratch slot

  *window.Scratch() = std::byte{9};
  window.RestartFromScratch();
  EXPECT_EQ(Records(), (std::vector<int>{9}));
  EXPECT_EQ(window.Active(), 0);
  EXPECT_EQ(window.Current(), 0);
}

TEST_F(RecordWindowTest, AOneRecordWindowKeepsOnlyTheLastFetched) {
  Resize(1);
  for (int record = 1; record <= 3; ++record) FetchNext(record);
  EXPECT_EQ(Records(), (std::vector<int>{3}));
  EXPECT_EQ(window.Current(), 0);
}

struct ShrinkCase {
  const char* name;
  int active;
  int capacity;
  std::vector<int> records;
  int newActive;
  int current;
};

class RecordWindowShrink : public RecordWindowTest,
                           public ::testing::WithParamInterface<ShrinkCase> {};

// Five records, the store cursor on the last; the window is cut down to fewer slots.
TEST_P(RecordWindowShrink, KeepsTheActiveRecordAndDropsRecordsBeforeItFirst) {
  const ShrinkCase& c = GetParam();
  Resize(5);
  for (int record = 1; record <= 5; ++record) FetchNext(record);
  window.SetActive(c.active);
  Resize(c.capacity);
  EXPECT_EQ(Records(), c.records);
  EXPECT_EQ(window.Active(), c.newActive);
  EXPECT_EQ(window.Current(), c.current);
  EXPECT_EQ(live, c.capacity + 1);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RecordWindowShrink, ::testing::Values(
    ShrinkCase{"active_first_keeps_the_first_records", 0, 2, {1, 2}, 0, -1},
    ShrinkCase{"active_last_keeps_the_last_records", 4, 2, {4, 5}, 1, -1},
    ShrinkCase{"active_in_the_middle_ends_the_window", 2, 2, {2, 3}, 1, -1},
    ShrinkCase{"room_for_all_keeps_all_and_the_cursor", 2, 5, {1, 2, 3, 4, 5}, 2, 4},
    ShrinkCase{"down_to_one_keeps_only_the_active", 3, 1, {4}, 0, -1}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(RecordWindowTest, GrowingKeepsTheRecordsAndTheCursor) {
  Resize(2);
  FetchNext(1);
  FetchNext(2);
  window.SetActive(1);
  Resize(4);
  EXPECT_EQ(Records(), (std::vector<int>{1, 2}));
  EXPECT_EQ(window.Active(), 1);
  EXPECT_EQ(window.Current(), 1);
  EXPECT_FALSE(window.IsFull());
  EXPECT_EQ(live, 5);
}

TEST_F(RecordWindowTest, AFailedAllocationLeavesTheWindowAsItWas) {
  Resize(2);
  FetchNext(1);
  FetchNext(2);
  allocationsLeft = 1;
  EXPECT_THROW(Resize(4), std::bad_alloc);
  EXPECT_EQ(window.Capacity(), 2);
  EXPECT_EQ(Records(), (std::vector<int>{1, 2}));
  EXPECT_EQ(live, 3);
}

TEST_F(RecordWindowTest, NoSlotsFreesEveryBufferAndForgetsTheRecords) {
  Resize(3);
  FetchNext(1);
  Resize(0);
  EXPECT_FALSE(window.HasSlots());
  EXPECT_EQ(window.Count(), 0);
  EXPECT_EQ(window.Current(), -1);
  EXPECT_EQ(window.ActiveBuffer(), nullptr);
  EXPECT_EQ(live, 0);
}

TEST_F(RecordWindowTest, AnUnstoredRecordIsActiveWithTheCursorElsewhere) {
  Resize(3);
  FetchNext(1);
  FetchNext(2);
  window.Clear();
  *window.Slot(0) = std::byte{7};
  window.HoldUnstoredRecord();
  EXPECT_EQ(Records(), (std::vector<int>{7}));
  EXPECT_EQ(window.Current(), -1);
  FetchPrior(6);
  EXPECT_EQ(Records(), (std::vector<int>{6, 7}));
}

}  // namespace
}  // namespace plotvik
