#pragma once

#include <span>
#include <string_view>

#include "styling/StylingTypes.h"

namespace emr {

/// One look of the office styler as the workbench offers it: the identifier a
/// stored layout or the settings file uses, and the caption of its menu item.
struct TWorkbenchPreset {
    TToolBarStyle Style;
    std::string_view Name;
    std::string_view Caption;
};

/// All seventeen looks, in the styler's ordinal order.
std::span<const TWorkbenchPreset> WorkbenchPresets();
/// The look of that identifier (compared exactly), or null.
const TWorkbenchPreset* FindWorkbenchPreset(std::string_view name);
const TWorkbenchPreset& WorkbenchPresetOf(TToolBarStyle style);

} // namespace emr
