#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "framework/core/Component.h"
#include "framework/platform/Accessible.h"

namespace emr {

class TControl;
class TCustomForm;

/// The framework's forms and controls as the platform bridges read them. Nodes
/// are made on demand from the control tree each time a bridge asks, so the tree
/// keeps no copy that could go stale; all it keeps is the id of each control (or
/// part of one, such as a menu item) a bridge has seen, which lives as long as
/// the component and is never given to another.
///
/// While it exists it listens to the changes controls report and hands them on
/// to the backend under their ids.
class TAccessibleTree : public TComponent, public platform::AccessibleSource {
    EMR_CLASS(TAccessibleTree)
public:
    explicit TAccessibleTree(TComponent* owner = nullptr);
    ~TAccessibleTree() override;
    void BeforeDestruction() override;

    std::vector<platform::WindowId> TopLevelWindows() override;
    platform::AccessibleId WindowRoot(platform::WindowId window) override;
    std::optional<platform::TAccessibleNode> Describe(platform::AccessibleId id) override;
    platform::AccessibleId At(TPoint screen) override;
    platform::AccessibleId Focused() override;
    bool DoAction(platform::AccessibleId id, int index) override;

    /// The id of a control or control part, given on first use; 0 for null.
    platform::AccessibleId IdOf(const TComponent* component);
    /// What an id stands for now, or null once it is gone.
    TComponent* ComponentOf(platform::AccessibleId id) const;

    /// Runs the action now rather than from the loop (the posted call lands here).
    bool RunAction(platform::AccessibleId id, int index);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Changed(platform::TAccessibleEvent event, const TComponent* what);
    platform::TAccessibleNode DescribeControl(const TControl& control);
    platform::TAccessibleNode DescribePart(const TControl& owner, const TComponent& part);
    /// The control whose part `component` is, or null when it is a control itself.
    const TControl* PartOwner(const TComponent* component) const;
    platform::AccessibleId DeepestAt(TControl& control, TPoint screen);

    std::map<const TComponent*, platform::AccessibleId> ids_;
    std::map<platform::AccessibleId, TComponent*> components_;
    /// The control each part was described by (a part knows nothing of its window).
    std::map<const TComponent*, const TControl*> partOwners_;
    platform::AccessibleId nextId_ = 1;
};

} // namespace emr
