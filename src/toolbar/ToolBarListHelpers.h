#pragma once

#include <algorithm>
#include <vector>

#include "framework/controls/Control.h"
#include "toolbar/AdvToolBarSeparator.h"

namespace emr::toolbar_detail {

/// Helpers shared by the toolbar's source files for its control lists and flags.
inline bool Contains(const std::vector<TControl*>& list, const TControl* c) {
    return std::find(list.begin(), list.end(), c) != list.end();
}

inline void Remove(std::vector<TControl*>& list, const TControl* c) {
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
}

/// A control's extent and offset along a toolbar's length.
inline int LengthOf(const TControl* c, bool horizontal) {
    return horizontal ? c->Width() : c->Height();
}
inline int StartOf(const TControl* c, bool horizontal) {
    return horizontal ? c->Left() : c->Top();
}

inline bool IsSeparator(const TControl* c) {
    return dynamic_cast<const TAdvToolBarSeparator*>(c) != nullptr;
}

/// Sets a flag for the lifetime of the guard and puts the earlier value back.
class TFlagGuard {
public:
    TFlagGuard(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
    ~TFlagGuard() { flag_ = old_; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& flag_;
    bool old_;
};

} // namespace emr::toolbar_detail
