#pragma once
// Components that refer to each other without owning each other. A ComponentLink<T> is a
// reference held by one component to another (a report's viewer, calculator or storage).
// When the target is destroyed every link to it becomes empty and its holder is told, so a
// link never dangles, whatever the order in which the two components are destroyed.

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

class TComponent;

// The untyped part of a link: registered with its target while it points at one.
class ComponentLinkBase {
  public:
    // on_removed runs after the link was cleared because its target is being destroyed.
    explicit ComponentLinkBase(std::function<void()> on_removed = {})
        : on_removed_(std::move(on_removed)) {}
    ComponentLinkBase(const ComponentLinkBase&) = delete;
    ComponentLinkBase& operator=(const ComponentLinkBase&) = delete;
    ~ComponentLinkBase() { Attach(nullptr); }

    bool IsSet() const { return target_ != nullptr; }

  protected:
    inline void Attach(TComponent* target);
    TComponent* Target() const { return target_; }

  private:
    friend class TComponent;
    TComponent* target_ = nullptr;
    std::function<void()> on_removed_;
};

class TComponent {
  public:
    TComponent() = default;
    explicit TComponent(std::string name) : name_(std::move(name)) {}
    // A component's identity is its address: copies and moves would break the links.
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    virtual ~TComponent() {
        // Clear every link first, then tell the holders, so that a holder reacting to the
        // notice never sees a link that still points here.
        std::vector<ComponentLinkBase*> links;
        links.swap(links_);
        for (ComponentLinkBase* link : links) link->target_ = nullptr;
        for (ComponentLinkBase* link : links) {
            if (link->on_removed_) link->on_removed_();
        }
    }

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

  private:
    friend class ComponentLinkBase;
    std::string name_;
    std::vector<ComponentLinkBase*> links_;
};

inline void ComponentLinkBase::Attach(TComponent* target) {
    if (target_ == target) return;
    if (target_ != nullptr) {
        auto& links = target_->links_;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    target_ = target;
    if (target_ != nullptr) target_->links_.push_back(this);
}

// A typed, non-owning reference to a component.
template <class T>
class ComponentLink : public ComponentLinkBase {
  public:
    explicit ComponentLink(std::function<void()> on_removed = {})
        : ComponentLinkBase(std::move(on_removed)) {}

    void Set(T* target) {
        target_typed_ = target;
        Attach(target);
    }
    T* Get() const { return Target() != nullptr ? target_typed_ : nullptr; }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return IsSet(); }

  private:
    T* target_typed_ = nullptr;  // the same object as Target(), seen as a T
};

}  // namespace quillon
