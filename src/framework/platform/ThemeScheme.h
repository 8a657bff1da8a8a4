#pragma once

#include <string_view>

namespace emr::platform {

/// The stylers' number for the colour scheme of a visual style, from the colour
/// name the system gives for it (GetCurrentThemeName): "NormalColor" (the
/// blue Luna scheme) 1, "HomeStead" (olive) 2, "Metallic" (silver) 3; any other
/// name 0. Names compare case-sensitively and as a whole.
int ThemeSchemeOfColorName(std::wstring_view colorName);

/// True for a system version that has visual styles: 5.1 (Windows XP) or later.
bool VersionHasVisualStyles(unsigned long major, unsigned long minor);

} // namespace emr::platform
