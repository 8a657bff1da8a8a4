#pragma once
// Header only, without the system headers: the numbering is checked on every platform.
#include <cstdint>
#include <limits>
#include <unordered_map>

#include "framework/platform/Accessible.h"

namespace emr::platform::win32 {

/// The child ids that events name nodes by. An event names its node as a child
/// of the window's client object, and the client asks that object for the child
/// back; the positive ids are the object's own children by position, so event
/// ids are negative and handed out once per node. Node ids are 64 bits wide and
/// child ids 32, hence a table rather than a cast.
class TMsaaChildIds {
public:
    /// The child id of a node, handed out on first use; 0 (the object itself) for
    /// no node or when every negative id is taken.
    std::int32_t ChildId(AccessibleId node) {
        if (node == 0) return 0;
        if (auto it = ids_.find(node); it != ids_.end()) return it->second;
        if (next_ == std::numeric_limits<std::int32_t>::min()) return 0;
        const std::int32_t id = --next_;
        ids_.emplace(node, id);
        nodes_.emplace(id, node);
        return id;
    }

    /// The node an event child id was handed out for; 0 for one never handed out.
    AccessibleId Node(std::int32_t childId) const {
        auto it = nodes_.find(childId);
        return it == nodes_.end() ? 0 : it->second;
    }

private:
    std::unordered_map<AccessibleId, std::int32_t> ids_;
    std::unordered_map<std::int32_t, AccessibleId> nodes_;
    std::int32_t next_ = 0;
};

} // namespace emr::platform::win32
