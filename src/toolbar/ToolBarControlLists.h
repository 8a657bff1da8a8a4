#pragma once

#include <vector>

namespace emr {

class TControl;

/// A toolbar's controls three ways: in the order they are laid out, in the order
/// they leave for the overflow when the toolbar is too short (last first), and
/// the ones that have left.
struct TToolBarControlLists {
    std::vector<TControl*> Position;
    std::vector<TControl*> Priority;
    std::vector<TControl*> Overflow;
};

} // namespace emr
