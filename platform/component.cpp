#include "platform/component.h"

#include <algorithm>
#include <cctype>

namespace plotvik {

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

TComponent::~TComponent() {
  destroying_ = true;
  DestroyComponents();
  // Whoever asked to hear of our end hears of it now, and forgets us in turn.
  auto listeners = std::move(freeNotifies_);
  for (TComponent* listener : listeners) {
    listener->RemoveFreeNotification(*this);
    listener->Notification(*this, TOperation::opRemove);
  }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : components_) {
    if (SameNameIgnoringCase(c->name_, name)) return c.get();
  }
  return nullptr;
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
  TComponent& ref = *component;
  ref.owner_ = this;
  components_.push_back(std::move(component));
  NotifyAll(ref, TOperation::opInsert);
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent& component) {
  auto it = std::find_if(components_.begin(), components_.end(),
                         [&](const auto& c) { return c.get() == &component; });
  if (it == components_.end()) return nullptr;
  NotifyAll(component, TOperation::opRemove);
  std::unique_ptr<TComponent> owned = std::move(*it);
  components_.erase(it);
  owned->owner_ = nullptr;
  return owned;
}

void TComponent::EndLoading() {
  loading_ = false;
  Loaded();
}

void TComponent::FreeNotification(TComponent& other) {
  if (&other == this) return;
  if (std::find(other.freeNotifies_.begin(), other.freeNotifies_.end(), this) ==
      other.freeNotifies_.end()) {
    other.freeNotifies_.push_back(this);
  }
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), &other) == freeNotifies_.end()) {
    freeNotifies_.push_back(&other);
  }
}

void TComponent::RemoveFreeNotification(TComponent& other) {
  std::erase(freeNotifies_, &other);
  std::erase(other.freeNotifies_, this);
}

void TComponent::Notification(TComponent&, TOperation) {}

void TComponent::NotifyAll(TComponent& component, TOperation operation) {
  Notification(component, operation);
  for (const auto& c : components_) {
    if (c.get() != &component) c->Notification(component, operation);
  }
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    std::unique_ptr<TComponent> last = std::move(components_.back());
    components_.pop_back();
    last->owner_ = nullptr;
    last->destroying_ = true;
    Notification(*last, TOperation::opRemove);
    last.reset();
  }
}

}  // namespace plotvik
