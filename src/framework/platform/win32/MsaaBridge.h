#pragma once
// Included by the backend's header: no system headers here.
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "framework/platform/Accessible.h"

namespace emr::platform::win32 {

struct TMsaaConnection;

/// Answers assistive technology for the backend's windows from the framework's
/// accessible tree: WM_GETOBJECT with the client area's accessible object, and
/// the tree's changes as the system's events. Nothing of the system's
/// accessibility libraries is loaded until the first client asks.
class TMsaaBridge {
public:
    TMsaaBridge();
    /// Disconnects the objects clients still hold.
    ~TMsaaBridge();
    TMsaaBridge(const TMsaaBridge&) = delete;
    TMsaaBridge& operator=(const TMsaaBridge&) = delete;

    /// The tree to answer from; null detaches it. Objects handed out for the
    /// previous tree are disconnected.
    void SetSource(AccessibleSource* source);
    AccessibleSource* Source() const;

    /// Answers WM_GETOBJECT for a window of the backend; false when the system's
    /// default handling should follow (no tree, an object the tree does not
    /// describe, or no accessibility library on the system).
    bool AnswerGetObject(WindowId window, std::uintptr_t flags, std::intptr_t objectId,
                         std::intptr_t& result);

    /// Raises the system's event for a change of a node.
    void Notify(TAccessibleEvent event, AccessibleId id);

private:
    /// The child id an event names a node by within its window's client object.
    std::int32_t EventChildId(AccessibleId id, WindowId window);

    std::shared_ptr<TMsaaConnection> connection_;
    /// Whether the thread joined an apartment that the destructor must leave.
    bool inApartment_ = false;
    /// Pop-up menus announced as started, and their windows: a menu's end is told
    /// when its node may be gone already.
    std::unordered_map<AccessibleId, WindowId> openMenus_;
};

} // namespace emr::platform::win32
