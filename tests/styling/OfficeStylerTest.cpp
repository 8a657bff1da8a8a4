// Presets, their fixed switches and gaps, shared style numbers and theme adaptation.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "StylerClientProbe.h"
#include "framework/controls/Messages.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "styling/AdvToolBarOfficeStyler.h"

namespace emr {
namespace {

struct OfficeStyler : ::testing::Test {
    TComponent owner{nullptr};
    TAdvToolBarOfficeStyler* styler = new TAdvToolBarOfficeStyler(&owner);
    TStylerClientProbe* probe = new TStylerClientProbe(&owner);
    void SetUp() override { styler->AddControl(probe); }
};

TEST_F(OfficeStyler, StartsAsCustomWithoutAnyPreset) {
    EXPECT_EQ(styler->Style(), bsCustom);
    EXPECT_EQ(styler->ComponentStyle(), 0);
    EXPECT_EQ(styler->RightHandleColor(), 10395294u);
    EXPECT_EQ(styler->Color()->Color(), clWhite);
    ASSERT_NE(styler->NotifierWindow(), nullptr);
    EXPECT_EQ(styler->NotifierWindow()->Owner(), styler);
}

TEST_F(OfficeStyler, Office2003BlueTakesItsFullValues) {
    styler->SetStyle(bsOffice2003Blue);
    EXPECT_EQ(styler->Color()->Color(), 16640730u);
    EXPECT_EQ(styler->Color()->ColorTo(), 14986888u);
    EXPECT_EQ(styler->Color()->Direction(), gdVertical);
    EXPECT_EQ(styler->Color()->Steps(), 64);
    EXPECT_EQ(styler->Color()->Mirror()->ColorMirror(), 16372409u);
    EXPECT_EQ(styler->Color()->Mirror()->ColorMirrorTo(), 16572878u);
    EXPECT_EQ(styler->ColorHot()->Color(), 16773606u);
    EXPECT_EQ(styler->ColorHot()->Mirror()->ColorMirrorTo(), 16639959u);
    EXPECT_EQ(styler->DockColor()->Color(), 16105376u);
    EXPECT_EQ(styler->DockColor()->ColorTo(), 16440004u);
    EXPECT_EQ(styler->DockColor()->Direction(), gdHorizontal);
    EXPECT_EQ(styler->DockColor()->Steps(), 128);
    EXPECT_EQ(styler->BorderColor(), 14731181u);
    EXPECT_EQ(styler->RightHandleColor(), 15836789u);
    EXPECT_EQ(styler->RightHandleColorTo(), 9516288u);
    EXPECT_EQ(styler->RightHandleColorDown(), 557032u);
    EXPECT_EQ(styler->RightHandleColorDownTo(), 8182519u);
    EXPECT_EQ(styler->CaptionAppearance()->CaptionColor(), clHighlight);
    EXPECT_EQ(styler->CaptionAppearance()->CaptionColorHotTo(), 9556223u);
    EXPECT_EQ(styler->CaptionAppearance()->CaptionTextColorHot(), 0u);
    EXPECT_EQ(styler->ButtonAppearance()->ColorDown(), 5149182u);
    EXPECT_EQ(styler->ButtonAppearance()->ColorCheckedTo(), 5812223u);
    EXPECT_EQ(styler->ButtonAppearance()->BorderHotColor(), clNavy);
    EXPECT_EQ(styler->ButtonAppearance()->BorderCheckedColor(), clNavy);
    EXPECT_EQ(styler->FloatingWindowBorderColor(), 9516288u);
    EXPECT_EQ(styler->ComponentStyle(), 0);
    EXPECT_EQ(probe->Codes.back(), 2) << "a style change ends with code 2";
}

TEST_F(OfficeStyler, Office2007LunaAndWindowsXPTakeTheirFullValues) {
    styler->SetStyle(bsOffice2007Luna);
    EXPECT_EQ(styler->Color()->Mirror()->Color(), 15984090u);
    EXPECT_EQ(styler->DockColor()->ColorTo(), 16445929u);
    EXPECT_EQ(styler->BorderColor(), 14141623u);
    EXPECT_EQ(styler->RightHandleColor(), 14668485u);
    EXPECT_EQ(styler->CaptionAppearance()->CaptionTextColor(), 11168318u);
    EXPECT_EQ(styler->ButtonAppearance()->Color(), 13627626u);
    EXPECT_EQ(styler->ButtonAppearance()->BorderDownColor(), 3693887u);
    EXPECT_EQ(styler->FloatingWindowBorderColor(), 14922381u);
    EXPECT_EQ(styler->FloatingWindowBorderWidth(), 1);
    EXPECT_EQ(styler->DragGripStyle(), dsNone);
    EXPECT_EQ(styler->ComponentStyle(), 4);

    styler->SetStyle(bsWindowsXP);
    EXPECT_EQ(styler->Color()->Color(), clBtnFace);
    EXPECT_EQ(styler->ColorHot()->Mirror()->ColorMirror(), 15266548u);
    EXPECT_EQ(styler->BorderColorHot(), clHighlight);
    EXPECT_EQ(styler->RightHandleColorTo(), clNone);
    EXPECT_EQ(styler->RightHandleColorDown(), 11899524u);
    EXPECT_EQ(styler->ButtonAppearance()->ColorHotTo(), clNone);
    EXPECT_EQ(styler->ButtonAppearance()->BorderHotColor(), 3693887u) << "XP keeps the button borders";
    EXPECT_EQ(styler->CaptionAppearance()->CaptionTextColorHot(), clWhite);
}

TEST_F(OfficeStyler, SameStyleTwiceChangesNothing) {
    styler->SetStyle(bsOffice2003Blue);
    styler->Color()->SetColor(clRed);
    probe->Codes.clear();
    styler->SetStyle(bsOffice2003Blue);
    EXPECT_EQ(styler->Color()->Color(), clRed);
    EXPECT_TRUE(probe->Codes.empty());
}

TEST_F(OfficeStyler, SilverKeepsTheBlueRightHandleDownColours) {
    styler->SetStyle(bsOffice2003Blue);
    styler->SetStyle(bsOffice2003Silver);
    EXPECT_EQ(styler->RightHandleColorDown(), 557032u);
    EXPECT_EQ(styler->RightHandleColorDownTo(), 8182519u);
    EXPECT_NE(styler->RightHandleColor(), 15836789u);
    EXPECT_EQ(styler->ComponentStyle(), 1);
}

TEST_F(OfficeStyler, LunaKeepsTheToolbarSteps) {
    styler->SetStyle(bsOffice2003Blue);
    styler->SetStyle(bsOffice2007Luna);
    EXPECT_EQ(styler->Color()->Steps(), 64);
    styler->SetStyle(bsCustom);
    styler->Color()->SetSteps(16);
    styler->SetStyle(bsOffice2007Luna);
    EXPECT_EQ(styler->Color()->Steps(), 16);
}

TEST_F(OfficeStyler, CustomAfterLunaKeepsTheColoursAndHandsOnNoStyle) {
    styler->SetStyle(bsOffice2007Luna);
    probe->Codes.clear();
    styler->SetStyle(bsCustom);
    EXPECT_EQ(styler->Style(), bsCustom);
    EXPECT_EQ(styler->Color()->Color(), 15587527u);
    EXPECT_EQ(styler->ButtonAppearance()->BorderHotColor(), 3693887u);
    EXPECT_EQ(styler->DragGripStyle(), dsNone);
    EXPECT_EQ(styler->ComponentStyle(), 8);
    // The ribbon-only pager caption colour goes back to 0 (code 11); the end is code 2.
    EXPECT_EQ(probe->Codes, (std::vector<int>{11, 2}));
}

TEST_F(OfficeStyler, StyleChangeResetsThePagerCaptionTextAndFontNames) {
    TFont arial;
    arial.SetName("Arial");
    styler->ButtonAppearance()->SetCaptionFont(&arial);
    styler->SetFont(&arial);
    styler->PagerCaption()->SetTextColor(clRed);
    styler->SetStyle(bsCustom == styler->Style() ? bsWindowsVista : bsCustom);
    EXPECT_EQ(styler->ButtonAppearance()->CaptionFont()->Name(), "Segoe UI");
    EXPECT_EQ(styler->Font()->Name(), "Segoe UI");
    EXPECT_EQ(styler->PagerCaption()->TextColor(), 8421504u);
    EXPECT_EQ(styler->PagerCaption()->TextColorExtended(), 0xFF0000u);
    EXPECT_EQ(styler->PagerCaption()->Font()->Size(), 10);

    styler->ButtonAppearance()->SetSystemFont(false);
    styler->ButtonAppearance()->SetCaptionFont(&arial);
    styler->SetStyle(bsCustom);
    EXPECT_EQ(styler->ButtonAppearance()->CaptionFont()->Name(), "Arial") << "switched off: left alone";
}

TEST_F(OfficeStyler, OfficeXPIsTheWindowsXPLook) {
    TComponent other(nullptr);
    auto* xp = new TAdvToolBarOfficeStyler(&other);
    xp->SetStyle(bsWindowsXP);
    styler->SetStyle(bsOfficeXP);
    EXPECT_EQ(styler->Color()->Color(), xp->Color()->Color());
    EXPECT_EQ(styler->ColorHot()->Color(), xp->ColorHot()->Color());
    EXPECT_EQ(styler->DockColor()->ColorTo(), xp->DockColor()->ColorTo());
    EXPECT_EQ(styler->RightHandleColorHot(), xp->RightHandleColorHot());
    EXPECT_EQ(styler->ButtonAppearance()->ColorDown(), xp->ButtonAppearance()->ColorDown());
    EXPECT_EQ(styler->FloatingWindowBorderColor(), xp->FloatingWindowBorderColor());
    EXPECT_FALSE(styler->RoundCorners());
    EXPECT_EQ(styler->ToolBarBevel(), 2);
    EXPECT_TRUE(styler->ShowToolBarBevel());
    EXPECT_EQ(styler->ComponentStyle(), 6);
}

TEST_F(OfficeStyler, SharedStyleNumbersSelectPresets) {
    styler->SetSharedStyle(4);
    EXPECT_EQ(styler->Style(), bsOffice2007Luna);
    styler->SetSharedStyle(8);
    EXPECT_EQ(styler->Style(), bsOffice2007Luna);
    styler->SetSharedStyle(16);
    styler->SetSharedStyle(-1);
    EXPECT_EQ(styler->Style(), bsOffice2007Luna);
    styler->SetSharedStyle(10);
    EXPECT_EQ(styler->Style(), bsWindowsVista);
    styler->SetSharedStyle(15);
    EXPECT_EQ(styler->Style(), bsOffice2010Black);
    ISharedStyle* shared = styler;
    shared->SetSharedStyle(6);
    EXPECT_EQ(styler->Style(), bsWindowsXP);
}

// The table of fixed switches and gaps, one row per preset.
struct Row {
    TToolBarStyle style;
    TDragGripStyle grip;
    bool round;
    int bevel;
    bool showBevel;
    int floatingWidth;
    bool keepsRightHandleDown, keepsBorderColor, keepsBorderChecked, keepsComponentStyle, keepsSteps,
        keepsCaptionBorder, keepsBorderHotDown, setsCaptionBorderHot;
};

const Row kRows[] = {
    {bsOffice2003Blue, dsDots, true, 0, false, 2, false, false, false, false, false, false, false, false},
    {bsOffice2003Silver, dsDots, true, 0, false, 2, true, false, false, false, false, false, false, false},
    {bsOffice2003Olive, dsDots, true, 0, false, 2, true, false, false, false, false, false, false, false},
    {bsOffice2003Classic, dsDots, true, 0, false, 2, false, true, true, true, false, false, false, false},
    {bsOffice2007Luna, dsNone, true, 0, false, 1, false, false, false, false, true, true, false, false},
    {bsOffice2007Obsidian, dsNone, true, 0, false, 1, false, false, false, false, true, true, false, false},
    {bsWindowsXP, dsSingleLine, false, 2, true, 2, false, false, true, false, false, false, true, false},
    {bsOfficeXP, dsSingleLine, false, 2, true, 2, false, false, true, false, false, false, true, false},
    {bsWhidbeyStyle, dsDots, true, 0, false, 2, false, false, true, false, false, false, false, false},
    {bsOffice2007Silver, dsNone, true, 0, false, 1, false, false, false, false, true, false, false, false},
    {bsWindowsVista, dsDots, true, 0, false, 2, false, false, false, false, false, false, false, false},
    {bsWindows7, dsDots, true, 0, false, 2, false, false, false, false, false, false, false, false},
    {bsTerminal, dsDots, true, 0, false, 2, false, false, false, false, false, false, false, true},
    {bsOffice2010Blue, dsDots, true, 0, false, 2, false, false, false, false, false, false, false, false},
    {bsOffice2010Silver, dsDots, true, 0, false, 2, false, true, false, false, false, false, false, false},
    {bsOffice2010Black, dsDots, true, 0, false, 2, false, false, false, false, false, false, false, true},
};

class PresetRow : public ::testing::TestWithParam<Row> {};

TEST_P(PresetRow, SwitchesAreFixedAndGapsKeepTheirValues) {
    const Row& row = GetParam();
    TComponent owner(nullptr);
    auto* s = new TAdvToolBarOfficeStyler(&owner);
    // Unusual values in every column a preset might leave alone.
    constexpr TColor kMark = RGB(1, 2, 3);
    s->SetRightHandleColorDown(kMark);
    s->SetRightHandleColorDownTo(kMark);
    s->SetBorderColor(kMark);
    s->ButtonAppearance()->SetBorderCheckedColor(kMark);
    s->ButtonAppearance()->SetBorderHotColor(kMark);
    s->ButtonAppearance()->SetBorderDownColor(kMark);
    s->CaptionAppearance()->SetCaptionBorderColor(kMark);
    s->CaptionAppearance()->SetCaptionBorderColorHot(kMark);
    s->Color()->SetSteps(7);
    s->Color()->SetDirection(gdHorizontal);
    s->SetComponentStyle(77);

    s->SetStyle(row.style);
    EXPECT_EQ(s->DragGripStyle(), row.grip);
    EXPECT_EQ(s->RoundCorners(), row.round);
    EXPECT_EQ(s->ToolBarBevel(), row.bevel);
    EXPECT_EQ(s->ShowToolBarBevel(), row.showBevel);
    EXPECT_EQ(s->FloatingWindowBorderWidth(), row.floatingWidth);
    EXPECT_EQ(s->Color()->Direction(), gdVertical);
    EXPECT_EQ(s->ColorHot()->Direction(), gdVertical);
    EXPECT_EQ(s->DockColor()->Direction(), gdHorizontal);
    EXPECT_EQ(s->DockColor()->Steps(), 128);
    EXPECT_EQ(s->Color()->Steps(), row.keepsSteps ? 7 : 64);

    EXPECT_EQ(s->RightHandleColorDown() == kMark, row.keepsRightHandleDown);
    EXPECT_EQ(s->RightHandleColorDownTo() == kMark, row.keepsRightHandleDown);
    EXPECT_EQ(s->BorderColor() == kMark, row.keepsBorderColor);
    EXPECT_EQ(s->ButtonAppearance()->BorderCheckedColor() == kMark, row.keepsBorderChecked);
    EXPECT_EQ(s->ButtonAppearance()->BorderHotColor() == kMark, row.keepsBorderHotDown);
    EXPECT_EQ(s->ButtonAppearance()->BorderDownColor() == kMark, row.keepsBorderHotDown);
    EXPECT_EQ(s->CaptionAppearance()->CaptionBorderColor() == kMark, row.keepsCaptionBorder);
    EXPECT_EQ(s->CaptionAppearance()->CaptionBorderColorHot() != kMark, row.setsCaptionBorderHot);
    const int expectedStyle = TAdvToolBarOfficeStyler::SharedStyleNumber(row.style);
    EXPECT_EQ(s->ComponentStyle(), row.keepsComponentStyle ? 8 : expectedStyle)
        << "the preamble sets 8 before the preset block";
}

INSTANTIATE_TEST_SUITE_P(EveryPreset, PresetRow, ::testing::ValuesIn(kRows));

TEST(OfficeStylerPresets, EveryPresetIsItsOwnLook) {
    TComponent owner(nullptr);
    auto* s = new TAdvToolBarOfficeStyler(&owner);
    std::set<std::tuple<TColor, TColor, TColor, TColor, TColor>> looks;
    int presets = 0;
    for (int v = 0; v < kToolBarStyleCount; ++v) {
        auto style = static_cast<TToolBarStyle>(v);
        if (style == bsCustom || style == bsOfficeXP) continue;
        s->SetStyle(style);
        ++presets;
        looks.insert({s->Color()->Color(), s->Color()->ColorTo(), s->DockColor()->Color(),
                      s->CaptionAppearance()->CaptionColor(), s->RightHandleColor()});
        EXPECT_NE(s->GlowButtonAppearance()->ColorHot(), s->GlowButtonAppearance()->ColorDown()) << v;
        EXPECT_EQ(s->CompactGlowButtonAppearance()->ColorDown(), s->GlowButtonAppearance()->ColorDown()) << v;
    }
    EXPECT_EQ(presets, 15);
    EXPECT_EQ(looks.size(), 15u);
}

struct ThemeAdaptation : OfficeStyler {
    platform::HeadlessBackend* backend = nullptr;
    void SetUp() override {
        OfficeStyler::SetUp();
        auto owned = std::make_unique<platform::HeadlessBackend>();
        backend = owned.get();
        platform::Backend::Install(std::move(owned));
    }
    void TearDown() override { platform::Backend::Uninstall(); }
};

TEST_F(ThemeAdaptation, SchemesSelectTheOffice2003Looks) {
    styler->SetAutoThemeAdapt(true);
    const std::pair<int, TToolBarStyle> cases[] = {
        {1, bsOffice2003Blue}, {2, bsOffice2003Olive}, {3, bsOffice2003Silver}, {0, bsOffice2003Classic}};
    for (auto [scheme, style] : cases) {
        backend->SetThemeScheme(scheme);
        EXPECT_EQ(TAdvToolBarOfficeStyler::CurrentThemeScheme(), scheme);
        styler->ThemeChanged(styler);
        EXPECT_EQ(styler->Style(), style) << scheme;
    }
    backend->SetThemeScheme(42);
    EXPECT_EQ(TAdvToolBarOfficeStyler::CurrentThemeScheme(), 0) << "an unknown scheme counts as none";
}

TEST_F(ThemeAdaptation, TheNotifierWindowReportsThemeChanges) {
    backend->SetThemeScheme(1);
    styler->NotifierWindow()->Perform(WM_THEMECHANGED);
    EXPECT_EQ(styler->Style(), bsCustom) << "AutoThemeAdapt is off";
    styler->SetAutoThemeAdapt(true);
    styler->NotifierWindow()->Perform(WM_THEMECHANGED);
    EXPECT_EQ(styler->Style(), bsOffice2003Blue);
    backend->SetThemeScheme(3);
    styler->NotifierWindow()->Perform(WM_SETTINGCHANGE);
    EXPECT_EQ(styler->Style(), bsOffice2003Blue) << "only the theme message counts";
}

TEST_F(ThemeAdaptation, AThemeHandlerMayFreeTheStyler) {
    TAdvToolBarOfficeStyler* doomed = styler;
    styler->NotifierWindow()->OnThemeChange = [doomed](TObject*) { TObject::Free(doomed); };
    styler->NotifierWindow()->Perform(WM_THEMECHANGED);
    EXPECT_EQ(owner.ComponentCount(), 1) << "only the probe is left";
}

TEST_F(ThemeAdaptation, LoadingAdaptsToTheThemeOutsideTheDesigner) {
    backend->SetThemeScheme(2);
    styler->BeginLoading();
    styler->SetAutoThemeAdapt(true);
    styler->Loaded();
    EXPECT_EQ(styler->Style(), bsOffice2003Olive);
}

TEST(OfficeStylerDesigner, InteractiveCreationShowsTheOffice2003BlueLook) {
    TComponent form(nullptr);
    form.SetDesigning(true);
    auto* s = new TAdvToolBarOfficeStyler(&form);
    EXPECT_EQ(s->Style(), bsOffice2003Blue);
    EXPECT_EQ(s->Color()->Color(), 16640730u);
    EXPECT_TRUE(s->RoundCorners()) << "the switches of the XP step are settled by the blue step";
}

TEST(OfficeStylerNoBackend, CurrentThemeSchemeIsZero) {
    if (platform::Backend::Installed()) platform::Backend::Uninstall();
    EXPECT_EQ(TAdvToolBarOfficeStyler::CurrentThemeScheme(), 0);
}

} // namespace
} // namespace emr
