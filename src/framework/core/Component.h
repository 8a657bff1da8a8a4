#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/core/Events.h"
#include "framework/core/Object.h"

namespace emr {

enum class TOperation { opInsert, opRemove };

/// Component states; a set of these is held in ComponentState().
enum TComponentStateFlag : std::uint32_t {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
    csUpdating = 1u << 5,
};
using TComponentState = std::uint32_t;

/// A named object in an owner tree. The owner destroys what it owns (newest
/// first); anyone holding a pointer to a component asks for its free
/// notification and clears the pointer in Notification(component, opRemove).
/// A component removed from a living owner is also announced to its siblings;
/// while the owner itself is destroyed, only the owner and the components that
/// asked for the free notification hear of each removal, which keeps closing a
/// window linear in the number of its components.
class TComponent : public TPersistent {
    EMR_CLASS(TComponent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    void BeforeDestruction() override;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    /// Renames the component; fails when its owner already owns another one of that name.
    virtual void SetName(const std::string& name);

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Component(int index) const { return components_.at(static_cast<std::size_t>(index)); }
    const std::vector<TComponent*>& Components() const { return components_; }
    /// The owned component of that name (case-insensitive), or null.
    TComponent* FindComponent(const std::string& name) const;
    template <class T> T* FindComponentAs(const std::string& name) const {
        return dynamic_cast<T*>(FindComponent(name));
    }

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    TComponentState ComponentState() const { return state_; }
    bool HasState(TComponentStateFlag flag) const { return (state_ & flag) != 0; }
    void SetDesigning(bool designing);

    /// Links this component and `component` so that whichever is destroyed first
    /// calls Notification(itself, opRemove) on the other.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    /// Marks the component as being loaded from a stored layout.
    void BeginLoading() { state_ |= csLoading | csReading; }
    /// Ends loading: clears the loading state and runs the after-load steps.
    virtual void Loaded();
    /// Runs once every component read from the same stored layout has run Loaded(),
    /// in the same order: work that needs the whole window loaded waits for this.
    virtual void LoadCompleted() {}

    /// A token that expires when the component is destroyed; code that fires an
    /// event which may free this component checks it afterwards.
    std::weak_ptr<void> LifeToken() const { return life_; }

    /// Sets the destroying state on this component and everything it owns.
    void Destroying();

    /// The component that displays this one in a stored layout (a control's parent).
    /// The layout reader calls SetParentComponent with the enclosing object.
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* parent) { (void)parent; }

protected:
    /// Told about components being inserted into (the owner only) or removed from
    /// the owner tree (the owner, and the siblings while the owner lives), and about
    /// the removal of any component this one asked to be notified of.
    virtual void Notification(TComponent* component, TOperation operation);
    /// Runs after the name changed.
    virtual void NameChanged() {}

private:
    friend class TComponentNotifier;
    void DestroyComponents();
    void NotifyFreeListeners();
    void NotifyOwnedOfRemoval(TComponent* component);
    void EraseOwned(std::size_t index);
    void IndexName(TComponent* component);
    void UnindexName(TComponent* component);
    void SendNotification(TComponent* component, TOperation operation) { Notification(component, operation); }

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    struct TRemovalWalk;
    TRemovalWalk* removalWalks_ = nullptr; // innermost first
    // Owned components by their name with A-Z lowered, as names compare.
    std::unordered_map<std::string, TComponent*> names_;
    std::vector<TComponent*> freeNotifies_;
    TComponentState state_ = 0;
    bool torndown_ = false;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

/// Sends a notification to a component from outside its class (the layout
/// reader and containers use it).
class TComponentNotifier {
public:
    static void Notify(TComponent* target, TComponent* component, TOperation operation) {
        target->SendNotification(component, operation);
    }
};

/// A non-owning pointer to a component that reads null once the component is gone.
template <class T> class TComponentRef {
public:
    TComponentRef() = default;
    explicit TComponentRef(T* component) { Reset(component); }
    void Reset(T* component = nullptr) {
        ptr_ = component;
        token_ = component ? component->LifeToken() : std::weak_ptr<void>();
    }
    T* Get() const { return token_.expired() ? nullptr : ptr_; }
    explicit operator bool() const { return Get() != nullptr; }
    T* operator->() const { return Get(); }

private:
    T* ptr_ = nullptr;
    std::weak_ptr<void> token_;
};

} // namespace emr
