// A walk with the controls disabled holds the record store's lock from the disable to the
// matching enable. Whatever the sequence of disables, enables, closes and opens, the lock must
// be free again once the controls are enabled: another thread can then take it.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#include "platform/component.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"

namespace plotvik {
namespace {

// True when a second thread takes and releases the lock. A lock left held by this thread would
// keep the other one waiting for good: it is then left behind, detached, and the test fails.
bool LockFreeForOtherThreads(TCriticalSection& lock) {
  auto taken = std::make_shared<std::promise<void>>();
  std::future<void> done = taken->get_future();
  std::thread([&lock, taken] {
    lock.Enter();
    lock.Leave();
    taken->set_value();
  }).detach();
  return done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
}

struct WalkCase {
  std::string name;
  std::function<void(TMemTable&)> run;
  friend void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }
};

class WalkLock : public ::testing::TestWithParam<WalkCase> {};

TEST_P(WalkLock, ControlsEnabledAgainLeaveTheStoreFree) {
  TComponent form("Form1");
  TMemTable& table = CreateSweepTable(form);
  table.Open();
  for (int r = 0; r < 3; ++r) {
    table.Append();
    table.Fields(2).SetAsFloat(r);
    table.Post();
  }
  GetParam().run(table);
  EXPECT_FALSE(table.ControlsDisabled());
  EXPECT_TRUE(LockFreeForOtherThreads(table.Store().Lock()));
}

void WalkSummingHeights(TMemTable& t) {
  t.DisableControls();
  double sum = 0;
  for (t.First(); !t.Eof(); t.Next()) sum += t.Fields(2).AsFloat();
  t.EnableControls();
  EXPECT_EQ(sum, 3.0);  // the held lock does not get in the walk's own way
}

void NestedDisableEnable(TMemTable& t) {
  t.DisableControls();
  t.DisableControls();
  t.First();
  t.EnableControls();
  t.Next();
  t.EnableControls();
  t.EnableControls();  // unmatched: changes nothing
}

void CloseAndOpenWhileDisabled(TMemTable& t) {
  t.DisableControls();
  t.Close();
  t.Open();
  t.EnableControls();
}

void PostWhileDisabled(TMemTable& t) {
  t.DisableControls();
  t.Append();
  t.Fields(2).SetAsFloat(9);
  t.Post();
  t.EnableControls();
  EXPECT_EQ(t.RecordCount(), 4);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Sequences, WalkLock,
    ::testing::Values(
        WalkCase{"Walk",                      WalkSummingHeights},
        WalkCase{"Nested",                    NestedDisableEnable},
        WalkCase{"CloseAndOpenWhileDisabled", CloseAndOpenWhileDisabled},
        WalkCase{"PostWhileDisabled",         PostWhileDisabled}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// The store dies with the table, its lock held by the walk: the destruction throws nothing here,
// and the sanitizer build checks that it leaks and touches nothing freed.
TEST(WalkLock, ATableDestroyedMidWalkThrowsNothingAndUnderTheSanitizersLeaksNothing) {
  auto form = std::make_unique<TComponent>("Form1");
  TMemTable& table = CreateSweepTable(*form);
  table.Open();
  table.DisableControls();
  table.First();
  EXPECT_NO_THROW(form.reset());
}

}  // namespace
}  // namespace plotvik
