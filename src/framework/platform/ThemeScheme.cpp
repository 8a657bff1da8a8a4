#include "framework/platform/ThemeScheme.h"

namespace emr::platform {

int ThemeSchemeOfColorName(std::wstring_view colorName) {
    if (colorName == L"NormalColor") return 1;
    if (colorName == L"HomeStead") return 2;
    if (colorName == L"Metallic") return 3;
    return 0;
}

bool VersionHasVisualStyles(unsigned long major, unsigned long minor) {
    // Windows 2000 is 5.0; XP 5.1 and Server 2003 5.2 brought visual styles.
    return major > 5 || (major == 5 && minor != 0);
}

} // namespace emr::platform
