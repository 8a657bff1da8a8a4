#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/platform/Accessible.h"

namespace emr::platform::atspi {

/// The protocol's numbers and names for the tree's roles and states.
struct TAtspiRole {
    std::uint32_t Number;
    std::string_view Name;
};
TAtspiRole AtspiRole(TAccessibleRole role);
/// The role of the application node.
TAtspiRole AtspiApplicationRole();

/// A node's states as the protocol's two 32-bit words.
std::array<std::uint32_t, 2> AtspiStateSet(const TAccessibleNode& node);

/// One state a change event names: the tree's flag and the protocol's name for it.
struct TAtspiStateName {
    TAccessibleState State;
    std::string_view Name;
};
/// Every tree state that a state-changed event can report.
const std::vector<TAtspiStateName>& AtspiStateNames();

} // namespace emr::platform::atspi
