#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace plotvik {

// The handlers of one event, called in the order they were added: several parts of the program
// can answer the same chart's mouse or paint event without knowing of each other.
template <class... Args>
class THandlerList {
 public:
  using THandler = std::function<void(Args...)>;

  void Add(THandler handler) { handlers_.push_back(std::move(handler)); }
  void operator()(Args... args) const {
    for (const THandler& handler : handlers_) handler(args...);
  }

 private:
  std::vector<THandler> handlers_;
};

// Adds `handler` to the event `event` (a callback member such as OnMouseDown), to be called
// after whatever the event calls already.
template <class... Args>
void AddHandler(std::function<void(Args...)>& event,
                std::type_identity_t<std::function<void(Args...)>> handler) {
  // The event holds the list; a second handler finds it there and joins it.
  struct TCallList {
    std::shared_ptr<THandlerList<Args...>> list;
    void operator()(Args... args) const { (*list)(args...); }
  };
  if (TCallList* call = event.template target<TCallList>()) {
    call->list->Add(std::move(handler));
    return;
  }
  auto list = std::make_shared<THandlerList<Args...>>();
  if (event) list->Add(std::move(event));
  list->Add(std::move(handler));
  event = TCallList{std::move(list)};
}

}  // namespace plotvik
