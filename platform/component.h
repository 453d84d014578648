#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plotvik {

enum class TOperation { opInsert, opRemove };

// The base of everything declared on a form: a name, an owner that destroys it, the list of
// components it owns, and the flags a component consults while it is loaded or destroyed.
//
// Ownership is held here as unique_ptrs; Owner() and the pointers handed out are plain
// references that never own. Owned components are destroyed last-created first, so a form's
// later declarations (fields, say) go before the earlier ones they refer to (their table).
class TComponent {
 public:
  explicit TComponent(std::string name = {}) : name_(std::move(name)) {}
  virtual ~TComponent();

  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  TComponent* Owner() const { return owner_; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent& Components(int index) const { return *components_.at(static_cast<size_t>(index)); }
  // Case-insensitive (ASCII) search among the owned components; nullptr when absent.
  TComponent* FindComponent(std::string_view name) const;

  // Creates a component owned by this one and returns a non-owning reference to it.
  template <class T, class... Args>
  T& CreateComponent(Args&&... args) {
    auto component = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *component;
    InsertComponent(std::move(component));
    return ref;
  }
  void InsertComponent(std::unique_ptr<TComponent> component);
  // Hands ownership of an owned component back to the caller (nullptr if not owned here).
  std::unique_ptr<TComponent> RemoveComponent(TComponent& component);

  // Loading: set while the component's declared property values are applied; Loaded() runs
  // once they all are, so a component can finish work it deferred while loading.
  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  void EndLoading();

  // Destroying: set before an owner destroys the component (and by a component's own
  // destructor where its clean-up must know), so that clean-up code can skip work that only
  // makes sense for a living object (events, repaints).
  bool Destroying() const { return destroying_; }
  void MarkDestroying() { destroying_ = true; }

  // Asks to be told (through Notification with opRemove) when `other` is destroyed.
  void FreeNotification(TComponent& other);
  void RemoveFreeNotification(TComponent& other);

 protected:
  virtual void Loaded() {}
  // Called on the owner and its components when a component is inserted or removed, and on
  // every component that asked for a free notification when the component is destroyed.
  virtual void Notification(TComponent& component, TOperation operation);
  // Destroys every owned component, last first.
  void DestroyComponents();

 private:
  void NotifyAll(TComponent& component, TOperation operation);

  std::string name_;
  TComponent* owner_ = nullptr;
  std::vector<std::unique_ptr<TComponent>> components_;
  std::vector<TComponent*> freeNotifies_;
  bool loading_ = false;
  bool destroying_ = false;
};

}  // namespace plotvik
