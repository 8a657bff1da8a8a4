#pragma once

#include <functional>

#include "framework/platform/Accessible.h"

namespace emr {

class TComponent;

/// Where controls and menu items report changes that assistive technology
/// follows. The accessible tree listens while it exists; without a listener a
/// report costs one test, so controls report unconditionally.
class TAccessibleChanges {
public:
    using TListener = std::function<void(platform::TAccessibleEvent event, const TComponent* what)>;

    /// Installs the one listener (null removes it).
    static void SetListener(TListener listener);
    static bool Listening();
    /// Reports a change of `what` (a control, or a part of one such as a menu item).
    static void Report(platform::TAccessibleEvent event, const TComponent* what);
};

} // namespace emr
