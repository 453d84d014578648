#include "platform/handler_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace plotvik {
namespace {

TEST(HandlerList, EveryHandlerRunsOnceInTheOrderAddedAfterTheEventsOwn) {
  std::string log;
  std::function<void(std::string&, int)> event = [](std::string& l, int n) {
    l += "own" + std::to_string(n) + " ";
  };
  AddHandler(event, [](std::string& l, int n) { l += "first" + std::to_string(n) + " "; });
  AddHandler(event, [](std::string& l, int n) { l += "second" + std::to_string(n) + " "; });
  event(log, 1);
  EXPECT_EQ(log, "own1 first1 second1 ");

  // An event with nothing assigned gets the handler alone.
  std::function<void(std::string&, int)> empty;
  AddHandler(empty, [](std::string& l, int) { l += "only"; });
  log.clear();
  empty(log, 2);
  EXPECT_EQ(log, "only");
}

}  // namespace
}  // namespace plotvik
