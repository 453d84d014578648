#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/component.h"

namespace plotvik {

class TAction;

// The window's list of commands. It has no handlers of its own: an action offered to it is
// passed on untouched.
class TActionList : public TComponent {
 public:
  using TComponent::TComponent;
};

// A command that menu entries share: its caption is what the linked entries show and its
// enabled state is theirs. Execute is the one road from a menu click to the handler.
class TAction : public TComponent {
 public:
  using TNotifyEvent = std::function<void(TComponent& sender)>;

  explicit TAction(std::string name = {}, TActionList* list = nullptr)
      : TComponent(std::move(name)), actionList_(list) {}

  TActionList* ActionList() const { return actionList_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  TNotifyEvent OnExecute;

  // Linked clients (menu entries) are told whenever the caption or enabled state changes.
  void LinkClient(const void* client, std::function<void()> changed);
  void UnlinkClient(const void* client);

  // Updates the action (nothing to update here), then runs OnExecute with the action as sender
  // when enabled. Returns whether a handler ran. Exceptions from the handler propagate.
  bool Execute();

 private:
  void Changed();

  TActionList* actionList_;
  std::vector<std::pair<const void*, std::function<void()>>> clients_;
  std::string caption_;
  bool enabled_ = true;
};

}  // namespace plotvik
