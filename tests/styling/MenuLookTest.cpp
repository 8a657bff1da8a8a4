// A preset's menus look like its buttons: the toolbar's add-or-remove cascade and
// its option window's items sit side by side, so they must not disagree.
#include <gtest/gtest.h>

#include "styling/AdvMenuStyler.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "styling/ButtonAppearance.h"

namespace emr {
namespace {

struct MenuLook : ::testing::Test {
    TComponent owner{nullptr};
    TAdvToolBarOfficeStyler* styler = new TAdvToolBarOfficeStyler(&owner);
    const TCustomAdvMenuStyler* menu = styler->InternalMenuStyler();
};

TEST_F(MenuLook, EveryPresetGivesItsMenusTheHotDownAndCheckedFacesOfItsButtons) {
    for (TToolBarStyle style : {bsOffice2003Blue, bsOffice2007Obsidian, bsWindows7, bsOffice2010Black}) {
        SCOPED_TRACE(static_cast<int>(style));
        styler->SetStyle(style);
        const TButtonAppearance* b = styler->ButtonAppearance();
        EXPECT_EQ(menu->SelectedItem()->Color(), b->ColorHot());
        EXPECT_EQ(menu->SelectedItem()->ColorTo(), b->ColorHotTo());
        if (b->BorderHotColor() != clNone) {
            EXPECT_EQ(menu->SelectedItem()->BorderColor(), b->BorderHotColor());
        }
        EXPECT_EQ(menu->SelectedItem()->CheckColor(), b->ColorDown());
        EXPECT_EQ(menu->IconBar()->Color(), styler->Color()->Color());
        EXPECT_EQ(menu->IconBar()->ColorTo(), styler->Color()->ColorTo());
        EXPECT_EQ(menu->IconBar()->CheckColor(), b->ColorChecked());
    }
}

TEST_F(MenuLook, SwitchingPresetsLeavesNoMixOfTheTwo) {
    // Windows 7 then Office 2003: every colour follows the second preset.
    styler->SetStyle(bsWindows7);
    styler->SetStyle(bsOffice2003Blue);
    EXPECT_EQ(menu->SelectedItem()->Color(), styler->ButtonAppearance()->ColorHot());
    EXPECT_EQ(menu->IconBar()->ColorTo(), styler->Color()->ColorTo());
}

TEST_F(MenuLook, AMenuStylerOfTheUsersOwnKeepsItsColours) {
    auto* own = new TAdvMenuStyler(&owner);
    own->SelectedItem()->SetColor(clRed);
    styler->SetAdvMenuStyler(own);
    styler->SetStyle(bsWindows7);
    EXPECT_EQ(styler->CurrentMenuStyler(), own);
    EXPECT_EQ(own->SelectedItem()->Color(), clRed);
}

TEST_F(MenuLook, CustomStyleLeavesTheMenuDefaults) {
    EXPECT_EQ(styler->Style(), bsCustom);
    EXPECT_EQ(menu->SelectedItem()->Color(), static_cast<TColor>(0xCCF4FF));
    EXPECT_EQ(menu->IconBar()->Color(), static_cast<TColor>(0xFEEFE3));
}

} // namespace
} // namespace emr
