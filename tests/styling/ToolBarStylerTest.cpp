// The styler's control list and the change codes each property sends.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "StylerClientProbe.h"
#include "framework/core/Exception.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "styling/CustomAdvToolBarStyler.h"

namespace emr {
namespace {

struct StylerFixture : ::testing::Test {
    TComponent owner{nullptr};
    TCustomAdvToolBarStyler* styler = new TCustomAdvToolBarStyler(&owner);
    TStylerClientProbe* probe = new TStylerClientProbe(&owner);
    void SetUp() override { styler->AddControl(probe); }
    std::vector<int> Take() {
        std::vector<int> codes = probe->Codes;
        probe->Codes.clear();
        return codes;
    }
};

using Codes = std::vector<int>;

TEST_F(StylerFixture, ConstructionValues) {
    EXPECT_EQ(styler->ColorHot()->Color(), clNone);
    EXPECT_EQ(styler->ColorHot()->ColorTo(), clNone);
    EXPECT_EQ(styler->RightHandleColorDownTo(), 2990335u);
    EXPECT_EQ(styler->Font()->Name(), "Segoe UI");
    EXPECT_EQ(styler->CaptionFont()->Name(), "Segoe UI");
    ASSERT_NE(styler->InternalMenuStyler(), nullptr);
    EXPECT_EQ(styler->InternalMenuStyler()->Name(), "InternalMenuStyler");
    EXPECT_EQ(styler->InternalMenuStyler()->Owner(), styler);
    EXPECT_EQ(styler->CurrentMenuStyler(), styler->InternalMenuStyler());
    EXPECT_TRUE(Take().empty()) << "registering sends nothing";
}

TEST_F(StylerFixture, ChangeCodesOfTheStylerProperties) {
    struct Case {
        const char* name;
        std::function<void()> set;
        Codes first;
        Codes again;
    };
    TBitmap bitmap(3, 3);
    TFont font;
    font.SetName("Arial");
    TAdvMenuStyler menu(&owner);
    const std::vector<Case> cases = {
        {"RightHandleColor", [&] { styler->SetRightHandleColor(1); }, {2}, {}},
        {"RightHandleColorDownTo", [&] { styler->SetRightHandleColorDownTo(1); }, {2}, {}},
        {"BorderColor", [&] { styler->SetBorderColor(1); }, {2}, {}},
        {"BorderColorHot", [&] { styler->SetBorderColorHot(1); }, {2}, {}},
        {"FloatingWindowBorderColor", [&] { styler->SetFloatingWindowBorderColor(1); }, {2}, {}},
        {"FloatingWindowBorderWidth", [&] { styler->SetFloatingWindowBorderWidth(5); }, {2}, {}},
        {"Font", [&] { styler->SetFont(&font); }, {1}, {1}},
        {"BackGround", [&] { styler->SetBackGround(&bitmap); }, {1}, {1}},
        {"BackGroundTransparent", [&] { styler->SetBackGroundTransparent(false); }, {1}, {}},
        {"BackGroundDisplay", [&] { styler->SetBackGroundDisplay(bdStretch); }, {1}, {}},
        {"CaptionFont", [&] { styler->SetCaptionFont(&font); }, {2}, {2}},
        {"RightHandleImage", [&] { styler->SetRightHandleImage(&bitmap); }, {2}, {2}},
        {"DragGripImage", [&] { styler->SetDragGripImage(&bitmap); }, {}, {}},
        {"DragGripStyle", [&] { styler->SetDragGripStyle(dsNone); }, {5}, {}},
        {"AdvMenuStyler", [&] { styler->SetAdvMenuStyler(&menu); }, {6}, {6}},
        {"RoundCorners", [&] { styler->SetRoundCorners(true); }, {2}, {2}},
        {"ToolBarBevel", [&] { styler->SetToolBarBevel(2); }, {2}, {}},
        {"ShowToolBarBevel", [&] { styler->SetShowToolBarBevel(true); }, {2}, {}},
        {"SystemFont", [&] { styler->SetSystemFont(false); }, {}, {}},
        {"AutoThemeAdapt", [&] { styler->SetAutoThemeAdapt(true); }, {}, {}},
        {"PagerCaptionColor", [&] { styler->SetPagerCaptionColor(5); }, {11}, {}},
        {"ButtonAppearance.ColorHot", [&] { styler->ButtonAppearance()->SetColorHot(1); }, {}, {}},
        {"Color.ColorTo", [&] { styler->Color()->SetColorTo(1); }, {2}, {2}},
        {"Color.Mirror.ColorMirror", [&] { styler->Color()->Mirror()->SetColorMirror(1); }, {}, {}},
        {"ColorHot.Color", [&] { styler->ColorHot()->SetColor(1); }, {}, {}},
        {"ColorHot.Mirror.Color", [&] { styler->ColorHot()->Mirror()->SetColor(1); }, {}, {}},
        {"DockColor.Steps", [&] { styler->DockColor()->SetSteps(128); }, {2}, {2}},
        {"CaptionAppearance.CaptionColor", [&] { styler->CaptionAppearance()->SetCaptionColor(1); }, {2}, {}},
        {"ContainerAppearance.Line3D", [&] { styler->ContainerAppearance()->SetLine3D(false); }, {4}, {}},
        {"GlowButtonAppearance.ColorHot", [&] { styler->GlowButtonAppearance()->SetColorHot(1); }, {7}, {}},
        {"CompactGlowButtonAppearance.ColorDown",
         [&] { styler->CompactGlowButtonAppearance()->SetColorDown(1); },
         {7},
         {}},
        {"TabAppearance.TextColor", [&] { styler->TabAppearance()->SetTextColor(1); }, {10}, {}},
        {"PageAppearance.Color", [&] { styler->PageAppearance()->SetColor(1); }, {10}, {}},
        {"GroupAppearance.BorderColor", [&] { styler->GroupAppearance()->SetBorderColor(1); }, {10}, {}},
        {"GroupAppearance.TabAppearance.TextColor",
         [&] { styler->GroupAppearance()->TabAppearance()->SetTextColor(1); },
         {10},
         {}},
        {"PagerCaption.TextColor", [&] { styler->PagerCaption()->SetTextColor(1); }, {11}, {}},
        {"QATAppearance.Color", [&] { styler->QATAppearance()->SetColor(1); }, {12}, {}},
    };
    for (const Case& c : cases) {
        Take();
        c.set();
        EXPECT_EQ(Take(), c.first) << c.name;
        c.set();
        EXPECT_EQ(Take(), c.again) << c.name << " set again to the same value";
    }
}

TEST_F(StylerFixture, WholeRecordAssignmentsNotifyNobody) {
    TVistaGradientBackground color;
    color.SetColor(clRed);
    color.Mirror()->SetColor(clLime);
    styler->SetColor(&color);
    styler->SetColorHot(&color);
    TGradientBackground dock;
    dock.SetSteps(128);
    styler->SetDockColor(&dock);
    TButtonAppearance buttons;
    buttons.SetColorHot(clRed);
    styler->SetButtonAppearance(&buttons);
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(styler->Color()->Color(), clRed);
    EXPECT_EQ(styler->Color()->Mirror()->Color(), clLime);
    EXPECT_EQ(styler->DockColor()->Steps(), 128);
    EXPECT_EQ(styler->ButtonAppearance()->ColorHot(), clRed);

    TCaptionAppearance caption;
    caption.SetCaptionTextColorHot(clRed);
    styler->SetCaptionAppearance(&caption);
    EXPECT_EQ(Take(), Codes{2}) << "caption copies notify through their last two values";
}

TEST_F(StylerFixture, ControlRegisteredTwiceHearsTwiceUntilRemoved) {
    styler->AddControl(probe);
    styler->AddControl(nullptr);
    styler->NotifyControls(2);
    EXPECT_EQ(Take(), (Codes{2, 2}));
    styler->RemoveControl(probe);
    styler->NotifyControls(5);
    EXPECT_EQ(Take(), Codes{5});
    styler->RemoveControl(probe);
    styler->RemoveControl(probe);
    styler->NotifyControls(5);
    EXPECT_TRUE(Take().empty());
}

TEST_F(StylerFixture, ControlsHearChangesInRegistrationOrderCompactWindowFirst) {
    std::vector<int> log;
    probe->Tag = 1;
    styler->RemoveControl(probe);
    TStylerClientProbe first(nullptr, &log), compact(nullptr, &log), second(nullptr, &log);
    first.Tag = 1, compact.Tag = 9, second.Tag = 2;
    second.Compact = &compact;
    TComponent notAClient(nullptr);
    styler->AddControl(&first);
    styler->AddControl(&notAClient);
    styler->AddControl(&second);
    styler->NotifyControls(2);
    EXPECT_EQ(log, (std::vector<int>{1, 9, 2}));
    styler->RemoveControl(&first);
    styler->RemoveControl(&notAClient);
    styler->RemoveControl(&second);
}

TEST_F(StylerFixture, DestroyedControlLeavesEveryEntry) {
    styler->AddControl(probe);
    ASSERT_EQ(styler->Controls().size(), 2u);
    TObject::Free(probe);
    EXPECT_TRUE(styler->Controls().empty());
    styler->NotifyControls(2); // would reach freed memory if an entry were left
}

TEST_F(StylerFixture, ControlFreedWhileHandlingAChangeIsSkippedSafely) {
    auto* other = new TStylerClientProbe(&owner);
    styler->AddControl(other);
    probe->OnChanged = [&](int) { TObject::Free(other); };
    styler->NotifyControls(2);
    EXPECT_EQ(Take(), Codes{2});
    EXPECT_EQ(styler->Controls().size(), 1u);
}

TEST_F(StylerFixture, FreeingTheMenuStylerFallsBackToTheInternalOne) {
    auto* menu = new TAdvMenuStyler(&owner);
    styler->SetAdvMenuStyler(menu);
    EXPECT_EQ(styler->CurrentMenuStyler(), menu);
    Take();
    TObject::Free(menu);
    EXPECT_EQ(styler->AdvMenuStyler(), nullptr);
    EXPECT_EQ(styler->CurrentMenuStyler(), styler->InternalMenuStyler());
    EXPECT_EQ(Take(), Codes{6});
}

TEST_F(StylerFixture, SystemFontSwitchRenamesBothFontsWhenTurnedOn) {
    TFont font;
    font.SetName("Arial");
    styler->SetFont(&font);
    styler->SetCaptionFont(&font);
    styler->SetSystemFont(false);
    EXPECT_EQ(styler->Font()->Name(), "Arial");
    styler->SetSystemFont(true);
    EXPECT_EQ(styler->Font()->Name(), "Segoe UI");
    EXPECT_EQ(styler->CaptionFont()->Name(), "Segoe UI");
}

TEST(ToolBarStylerAssign, CopiesTheToolbarLookOnly) {
    TComponent owner(nullptr);
    auto* source = new TCustomAdvToolBarStyler(&owner);
    auto* target = new TCustomAdvToolBarStyler(&owner);
    auto* sourceMenu = new TAdvMenuStyler(&owner);
    sourceMenu->SetMenuBorderColor(clLime);
    source->SetAdvMenuStyler(sourceMenu);
    source->Color()->SetColor(clRed);
    source->Color()->Mirror()->SetColorMirror(clRed);
    source->DockColor()->SetSteps(128);
    source->SetBackGroundDisplay(bdCenter);
    source->SetDragGripStyle(dsFlatDots);
    source->SetFloatingWindowBorderWidth(7);
    source->CaptionAppearance()->SetCaptionColor(clRed);
    source->ButtonAppearance()->SetColorDown(clRed);
    TFont arial;
    arial.SetName("Arial");
    source->SetFont(&arial);
    // Not copied:
    source->ColorHot()->SetColor(clRed);
    source->SetBorderColor(clRed);
    source->SetRightHandleColor(clRed);
    source->SetCaptionFont(&arial);
    source->ContainerAppearance()->SetLineColor(clRed);
    source->GlowButtonAppearance()->SetColorHot(clRed);
    source->SetAutoThemeAdapt(true);

    TStylerClientProbe probe(nullptr);
    target->AddControl(&probe);
    target->Assign(source);
    EXPECT_EQ(target->Color()->Color(), clRed);
    EXPECT_EQ(target->Color()->Mirror()->ColorMirror(), clRed);
    EXPECT_EQ(target->DockColor()->Steps(), 128);
    EXPECT_EQ(target->BackGroundDisplay(), bdCenter);
    EXPECT_EQ(target->DragGripStyle(), dsFlatDots);
    EXPECT_EQ(target->FloatingWindowBorderWidth(), 7);
    EXPECT_EQ(target->CaptionAppearance()->CaptionColor(), clRed);
    EXPECT_EQ(target->ButtonAppearance()->ColorDown(), clRed);
    EXPECT_EQ(target->Font()->Name(), "Arial");
    EXPECT_EQ(target->InternalMenuStyler()->MenuBorderColor(), clLime)
        << "the menu styler is copied into ours";
    EXPECT_EQ(target->AdvMenuStyler(), nullptr);

    EXPECT_EQ(target->ColorHot()->Color(), clNone);
    EXPECT_EQ(target->BorderColor(), clNone);
    EXPECT_EQ(target->RightHandleColor(), 10395294u);
    EXPECT_EQ(target->CaptionFont()->Name(), "Segoe UI");
    EXPECT_EQ(target->ContainerAppearance()->LineColor(), clBtnShadow);
    EXPECT_NE(target->GlowButtonAppearance()->ColorHot(), clRed);
    EXPECT_FALSE(target->AutoThemeAdapt());
    // The setters used by the copy announce their changes: display (1), grip (5), width (2).
    EXPECT_EQ(probe.Codes, (Codes{1, 5, 2}));
    target->RemoveControl(&probe);

    TGradientBackground wrong;
    try {
        target->Assign(&wrong);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TGradientBackground to a TCustomAdvToolBarStyler");
    }
}

} // namespace
} // namespace emr
