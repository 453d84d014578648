#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/component.h"

namespace plotvik {

class TAction;

// A menu entry. A caption of "-" makes it a separator line; a '&' marks the next letter as the
// access key. An entry linked to an action shows the action's caption and is enabled with it.
class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(std::string name = {}, std::string caption = {});
  ~TMenuItem() override;

  const std::string& Caption() const;
  void SetCaption(std::string caption);
  bool Enabled() const;
  bool IsLine() const { return Caption() == "-"; }

  TAction* Action() const { return action_; }
  void SetAction(TAction* action);

  void Add(TMenuItem& item);
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }

  // What choosing the entry does: the linked action executes, otherwise OnClick runs.
  void Click();
  std::function<void(TComponent& sender)> OnClick;

  // Told when the caption or enabled state to show changes (the menu bar follows).
  std::function<void()> OnChange;

 protected:
  void Notification(TComponent& component, TOperation operation) override;

 private:
  void Changed();

  std::string caption_;
  TAction* action_ = nullptr;
  std::vector<TMenuItem*> items_;
};

// The window's menu bar: its top-level entries are the items of Items().
class TMainMenu : public TComponent {
 public:
  using TComponent::TComponent;
  TMenuItem& Items() { return items_; }
  const TMenuItem& Items() const { return items_; }

 private:
  TMenuItem items_;
};

}  // namespace plotvik
