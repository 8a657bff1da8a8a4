#include <gtest/gtest.h>

#include "framework/platform/ThemeScheme.h"

namespace emr::platform {
namespace {

TEST(ThemeScheme, TheThreeLunaColourNamesAreBlueOliveAndSilver) {
    EXPECT_EQ(ThemeSchemeOfColorName(L"NormalColor"), 1);
    EXPECT_EQ(ThemeSchemeOfColorName(L"HomeStead"), 2);
    EXPECT_EQ(ThemeSchemeOfColorName(L"Metallic"), 3);
}

TEST(ThemeScheme, AnyOtherNameIsNoSchemeCaseAndLengthCounting) {
    for (const wchar_t* name : {L"", L"normalcolor", L"NORMALCOLOR", L"Homestead", L"metallic",
                                L"NormalColor ", L"NormalColo", L"Blue", L"Aero", L"NormalColor\u00A0"})
        EXPECT_EQ(ThemeSchemeOfColorName(name), 0);
}

TEST(ThemeScheme, VisualStylesCameWithVersionFivePointOne) {
    EXPECT_FALSE(VersionHasVisualStyles(4, 10));
    EXPECT_FALSE(VersionHasVisualStyles(5, 0));
    EXPECT_TRUE(VersionHasVisualStyles(5, 1));
    EXPECT_TRUE(VersionHasVisualStyles(5, 2));
    EXPECT_TRUE(VersionHasVisualStyles(6, 0));
    EXPECT_TRUE(VersionHasVisualStyles(10, 0));
}

} // namespace
} // namespace emr::platform
