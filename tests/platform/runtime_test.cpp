#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/component.h"
#include "platform/critical_section.h"
#include "platform/exceptions.h"
#include "platform/format.h"

namespace plotvik {
namespace {

struct FormatCase {
  const char* pattern;
  std::string expected;
};

TEST(Format, FillsPlaceholdersInOrder) {
  EXPECT_EQ(Format("List index out of bounds (%d)", {9}), "List index out of bounds (9)");
  EXPECT_EQ(Format("%s: %s", {"mtData", "Not in edit mode"}), "mtData: Not in edit mode");
  EXPECT_EQ(Format("Series Delete: ValueIndex %d out of bounds (0 to %d).", {5, -1}),
            "Series Delete: ValueIndex 5 out of bounds (0 to -1).");
  EXPECT_EQ(Format("I/O error %d", {-2147483647 - 1}), "I/O error -2147483648");
  EXPECT_EQ(Format("100%% of '%s'", {""}), "100% of ''");
  EXPECT_EQ(Format("no placeholders"), "no placeholders");
  EXPECT_EQ(Format("trailing %"), "trailing %");
}

TEST(Format, MismatchedArgumentsAreProgrammingErrors) {
  EXPECT_THROW(Format("%d"), std::logic_error);
  EXPECT_THROW(Format("%d", {"text"}), std::logic_error);
  EXPECT_THROW(Format("%s", {3}), std::logic_error);
}

TEST(Exceptions, CarryMessageAndClass) {
  try {
    throw EMemTableError("mtData: Not in edit mode");
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "mtData: Not in edit mode");
    EXPECT_STREQ(e.what(), "mtData: Not in edit mode");
  }
  EInOutError io(2, "File not found");
  EXPECT_EQ(io.ErrorCode(), 2);
  EXPECT_EQ(ExceptionMessage(io), "File not found");
  EXPECT_EQ(ExceptionMessage(std::bad_alloc()), "Out of memory");
  AxisException axis("Axis increment must be >= 0");
  const ChartException& asChart = axis;
  EXPECT_EQ(asChart.Message(), "Axis increment must be >= 0");
}

// Records the order in which components die, through a shared log.
class Probe : public TComponent {
 public:
  Probe(std::string name, std::vector<std::string>& log) : TComponent(std::move(name)), log_(log) {}
  ~Probe() override { log_.push_back(Name()); }
  std::vector<std::string> removals;

 protected:
  void Loaded() override { log_.push_back(Name() + " loaded"); }
  void Notification(TComponent& c, TOperation op) override {
    if (op == TOperation::opRemove) removals.push_back(c.Name());
  }

 private:
  std::vector<std::string>& log_;
};

TEST(Component, OwnerDestroysOwnedComponentsLastFirst) {
  std::vector<std::string> log;
  {
    auto form = std::make_unique<Probe>("Form1", log);
    auto& table = form->CreateComponent<Probe>("mtData", log);
    form->CreateComponent<Probe>("mtDataId", log);
    table.CreateComponent<Probe>("inner", log);
    EXPECT_EQ(&table.Components(0), table.FindComponent("INNER"));
    EXPECT_EQ(form->FindComponent("mtdata"), &table);
    EXPECT_EQ(form->FindComponent("absent"), nullptr);
    EXPECT_EQ(table.Owner(), form.get());
  }
  // A destructor body runs before the base class frees the owned components, so each owner
  // logs itself first; its components then go last-created first.
  EXPECT_EQ(log, (std::vector<std::string>{"Form1", "mtDataId", "mtData", "inner"}));
}

TEST(Component, LoadingFlagAndLoadedHook) {
  std::vector<std::string> log;
  Probe p("chart", log);
  EXPECT_FALSE(p.Loading());
  p.BeginLoading();
  EXPECT_TRUE(p.Loading());
  p.EndLoading();
  EXPECT_FALSE(p.Loading());
  EXPECT_EQ(log, (std::vector<std::string>{"chart loaded"}));
}

TEST(Component, FreeNotificationReportsDestructionOnce) {
  std::vector<std::string> log;
  Probe listener("listener", log);
  {
    Probe other("other", log);
    listener.FreeNotification(other);
  }
  EXPECT_EQ(listener.removals, (std::vector<std::string>{"other"}));
}

// Entered again by its holder it does not deadlock, and it is free for another thread only
// once the last of the nested holds has left.
TEST(CriticalSection, IsReentrantAndFreeOnlyAfterTheLastLeave) {
  // Shared with the other thread, which may outlive the test if the lock is never let go.
  const auto owned = std::make_shared<TCriticalSection>();
  TCriticalSection& cs = *owned;
  {
    TCriticalSection::Guard outer(cs);
    cs.Enter();
    {
      TCriticalSection::Guard inner(cs);
      EXPECT_TRUE(cs.HeldByThisThread());
    }
    cs.Leave();
    EXPECT_TRUE(cs.HeldByThisThread()) << "an inner leave let the lock go";
  }
  EXPECT_FALSE(cs.HeldByThisThread());
  // A lock still held would keep the other thread waiting for good; it is then left detached.
  auto taken = std::make_shared<std::promise<bool>>();
  std::future<bool> heldThere = taken->get_future();
  std::thread([owned, taken] {
    owned->Enter();
    const bool held = owned->HeldByThisThread();
    owned->Leave();
    taken->set_value(held);
  }).detach();
  ASSERT_EQ(heldThere.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_TRUE(heldThere.get());
}

}  // namespace
}  // namespace plotvik
