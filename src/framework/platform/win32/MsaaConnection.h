#pragma once
#include "framework/platform/Accessible.h"
#include "framework/platform/win32/MsaaChildIds.h"

namespace emr::platform::win32 {

class TMsaaLibrary;

/// What the bridge shares with the objects it hands out. Clients keep objects
/// for as long as they like, so each holds this rather than the bridge: once the
/// tree is detached or the bridge is gone, Source is null and every object says
/// it is no longer connected instead of reaching a tree that is gone.
struct TMsaaConnection {
    AccessibleSource* Source = nullptr;
    /// The child ids events have named nodes by.
    TMsaaChildIds ChildIds;
    const TMsaaLibrary* Library = nullptr;
};

} // namespace emr::platform::win32
