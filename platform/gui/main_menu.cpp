#include "platform/gui/main_menu.h"

#include "platform/gui/action_list.h"

namespace plotvik {

TMenuItem::TMenuItem(std::string name, std::string caption)
    : TComponent(std::move(name)), caption_(std::move(caption)) {}

TMenuItem::~TMenuItem() {
  if (action_ != nullptr) action_->UnlinkClient(this);
}

const std::string& TMenuItem::Caption() const {
  return action_ != nullptr ? action_->Caption() : caption_;
}

void TMenuItem::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Changed();
}

bool TMenuItem::Enabled() const {
  return action_ == nullptr || action_->Enabled();
}

void TMenuItem::SetAction(TAction* action) {
  if (action == action_) return;
  if (action_ != nullptr) {
    action_->UnlinkClient(this);
    RemoveFreeNotification(*action_);
  }
  action_ = action;
  if (action_ != nullptr) {
    action_->LinkClient(this, [this] { Changed(); });
    FreeNotification(*action_);
  }
  Changed();
}

void TMenuItem::Add(TMenuItem& item) {
  items_.push_back(&item);
}

void TMenuItem::Click() {
  if (action_ != nullptr) {
    action_->Execute();
  } else if (OnClick) {
    OnClick(*this);
  }
}

void TMenuItem::Notification(TComponent& component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && &component == action_) action_ = nullptr;
}

void TMenuItem::Changed() {
  if (OnChange) OnChange();
}

}  // namespace plotvik
