// Every styler setting reaches its record through a stored layout path.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/core/Exception.h"
#include "framework/streaming/LayoutReader.h"
#include "framework/streaming/LayoutWriter.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "styling/StylingClasses.h"

namespace emr {
namespace {

TAdvToolBarOfficeStyler* Load(TComponent& owner, const std::string& body) {
    RegisterStylingClasses();
    TComponent* root = TLayoutReader::CreateFromText(
        "object AdvToolBarOfficeStyler3: TAdvToolBarOfficeStyler\n" + body + "end\n", &owner);
    return dynamic_cast<TAdvToolBarOfficeStyler*>(root);
}

// The command bar's stored styler: bsCustom with explicit colours, every one
// reaching its record unchanged.
TEST(StylerLayout, CustomStylerKeepsEveryStoredValue) {
    TComponent owner(nullptr);
    TAdvToolBarOfficeStyler* s = Load(owner, R"(  Style = bsCustom
  BorderColor = 14731181
  BorderColorHot = 14731181
  ButtonAppearance.Color = 16640730
  ButtonAppearance.ColorTo = 14986888
  ButtonAppearance.ColorChecked = 9229823
  ButtonAppearance.ColorCheckedTo = 5812223
  ButtonAppearance.ColorDown = 5149182
  ButtonAppearance.ColorDownTo = 9556991
  ButtonAppearance.ColorHot = 13432063
  ButtonAppearance.ColorHotTo = 9556223
  ButtonAppearance.BorderDownColor = clNavy
  ButtonAppearance.BorderHotColor = clNavy
  ButtonAppearance.BorderCheckedColor = clNavy
  ButtonAppearance.CaptionFont.Charset = DEFAULT_CHARSET
  ButtonAppearance.CaptionFont.Color = clWindowText
  ButtonAppearance.CaptionFont.Height = -11
  ButtonAppearance.CaptionFont.Name = 'Segoe UI'
  ButtonAppearance.CaptionFont.Style = []
  CaptionAppearance.CaptionColor = clHighlight
  CaptionAppearance.CaptionColorTo = clHighlight
  CaptionAppearance.CaptionBorderColor = clHighlight
  CaptionAppearance.CaptionColorHot = 13432063
  CaptionAppearance.CaptionColorHotTo = 9556223
  CaptionAppearance.CaptionTextColorHot = clBlack
  CaptionFont.Charset = DEFAULT_CHARSET
  CaptionFont.Color = clWindowText
  CaptionFont.Height = -11
  CaptionFont.Name = 'Segoe UI'
  CaptionFont.Style = []
  ContainerAppearance.LineColor = clBtnShadow
  ContainerAppearance.Line3D = True
  Color.Color = 16640730
  Color.ColorTo = 14986888
  Color.Direction = gdVertical
  Color.Mirror.Color = 16440004
  Color.Mirror.ColorTo = 16440004
  Color.Mirror.ColorMirror = 16372409
  Color.Mirror.ColorMirrorTo = 16572878
  ColorHot.Color = 16773606
  ColorHot.ColorTo = 16444126
  ColorHot.Direction = gdVertical
  ColorHot.Mirror.Color = 16507602
  ColorHot.Mirror.ColorTo = 16507602
  ColorHot.Mirror.ColorMirror = 16506056
  ColorHot.Mirror.ColorMirrorTo = 16639959
  DockColor.Color = 16105376
  DockColor.ColorTo = 16440004
  DockColor.Direction = gdHorizontal
  DockColor.Steps = 128
  FloatingWindowBorderColor = 9516288
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Segoe UI'
  Font.Style = []
  GlowButtonAppearance.ColorHot = 13432063
  GlowButtonAppearance.GradientHot = ggVertical
  GroupAppearance.Font.Height = -11
  GroupAppearance.TabAppearance.Font.Name = 'Segoe UI'
  GroupAppearance.TabAppearance.TextColor = clBlack
  PageAppearance.BorderColor = 14731181
  PagerCaption.Font.Height = -13
  QATAppearance.FullSizeColor = 16440004
  TabAppearance.Font.Name = 'Segoe UI'
  RightHandleColor = 15836789
  RightHandleColorTo = 9516288
  RightHandleColorHot = 13891839
  RightHandleColorHotTo = 7782911
  RightHandleColorDown = 557032
  RightHandleColorDownTo = 8182519
)");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Style(), bsCustom);
    EXPECT_EQ(s->ComponentStyle(), 0) << "a stored bsCustom never runs the preamble";
    EXPECT_EQ(s->BorderColor(), 14731181u);
    EXPECT_EQ(s->ButtonAppearance()->ColorHot(), 13432063u);
    EXPECT_EQ(s->ButtonAppearance()->BorderHotColor(), clNavy);
    EXPECT_EQ(s->ButtonAppearance()->CaptionFont()->Height(), -11);
    EXPECT_EQ(s->CaptionAppearance()->CaptionColor(), clHighlight);
    EXPECT_EQ(s->CaptionAppearance()->CaptionTextColorHot(), clBlack);
    EXPECT_EQ(s->ContainerAppearance()->LineColor(), clBtnShadow);
    EXPECT_EQ(s->Color()->Direction(), gdVertical);
    EXPECT_EQ(s->Color()->Mirror()->ColorMirror(), 16372409u);
    EXPECT_EQ(s->ColorHot()->Mirror()->ColorMirrorTo(), 16639959u);
    EXPECT_EQ(s->DockColor()->Steps(), 128);
    EXPECT_EQ(s->DockColor()->Direction(), gdHorizontal);
    EXPECT_EQ(s->FloatingWindowBorderColor(), 9516288u);
    EXPECT_EQ(s->Font()->Name(), "Segoe UI");
    EXPECT_EQ(s->GlowButtonAppearance()->ColorHot(), 13432063u);
    EXPECT_EQ(s->GlowButtonAppearance()->GradientHot(), ggVertical);
    EXPECT_EQ(s->GroupAppearance()->TabAppearance()->TextColor(), clBlack);
    EXPECT_EQ(s->PagerCaption()->Font()->Height(), -13);
    EXPECT_EQ(s->QATAppearance()->FullSizeColor(), 16440004u);
    EXPECT_EQ(s->RightHandleColorDownTo(), 8182519u);
}

TEST(StylerLayout, StoredStyleAppliesItsPresetBeforeTheColoursThatFollow) {
    TComponent owner(nullptr);
    TAdvToolBarOfficeStyler* s = Load(owner, "  Style = bsOffice2007Luna\n  RightHandleColor = 255\n");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Style(), bsOffice2007Luna);
    EXPECT_EQ(s->ComponentStyle(), 4);
    EXPECT_EQ(s->Color()->Color(), 15587527u);
    EXPECT_EQ(s->RightHandleColor(), 255u);
}

TEST(StylerLayout, MenuStylerReferenceAndUnknownValues) {
    RegisterStylingClasses();
    TComponent owner(nullptr);
    TComponent* form = TLayoutReader::CreateFromText(R"(object Holder: TComponent
  object Menus: TAdvMenuStyler
    MenuBorderColor = clRed
    RootItem.HoverColor = 255
    IconBar.Size = 30
  end
  object Styler: TAdvToolBarOfficeStyler
    AdvMenuStyler = Menus
  end
end
)",
                                                     &owner);
    ASSERT_NE(form, nullptr);
    auto* styler = form->FindComponentAs<TAdvToolBarOfficeStyler>("Styler");
    ASSERT_NE(styler, nullptr);
    ASSERT_NE(styler->AdvMenuStyler(), nullptr);
    EXPECT_EQ(styler->CurrentMenuStyler()->MenuBorderColor(), clRed);
    EXPECT_EQ(styler->CurrentMenuStyler()->RootItem()->HoverColor(), 255u);
    EXPECT_EQ(styler->CurrentMenuStyler()->IconBar()->Size(), 30);

    EXPECT_THROW(Load(owner, "  Style = bsOffice2099\n"), Exception);
    EXPECT_THROW(Load(owner, "  Color.Mirror.Nope = 1\n"), Exception);
}

TEST(StylerLayout, WrittenStylerReadsBackWithTheSameLook) {
    RegisterStylingClasses();
    TComponent owner(nullptr);
    auto* holder = new TComponent(&owner);
    holder->SetName("Holder");
    auto* original = new TAdvToolBarOfficeStyler(holder);
    original->SetName("Styler");
    original->SetStyle(bsOffice2010Blue);
    original->SetStyle(bsCustom);
    original->ButtonAppearance()->SetColorHot(12345);
    original->Color()->Mirror()->SetColorMirror(54321);
    original->SetDragGripStyle(dsFlatDots);

    const std::string text = TLayoutWriter::WriteRootToText(holder);
    EXPECT_EQ(text.find("InternalMenuStyler"), std::string::npos) << "owned helpers are not stored:\n"
                                                                  << text;
    TComponent elsewhere(nullptr);
    TComponent* copy = TLayoutReader::CreateFromText(text, &elsewhere);
    auto* styler = copy->FindComponentAs<TAdvToolBarOfficeStyler>("Styler");
    ASSERT_NE(styler, nullptr) << text;
    EXPECT_EQ(styler->Style(), bsCustom);
    EXPECT_EQ(styler->ButtonAppearance()->ColorHot(), 12345u);
    EXPECT_EQ(styler->Color()->Mirror()->ColorMirror(), 54321u);
    EXPECT_EQ(styler->DragGripStyle(), dsFlatDots);
    EXPECT_EQ(styler->Color()->Color(), original->Color()->Color());
    EXPECT_EQ(styler->DockColor()->Steps(), 128);
    EXPECT_EQ(styler->RightHandleColorDownTo(), original->RightHandleColorDownTo());
    EXPECT_EQ(styler->GlowButtonAppearance()->ColorDown(), original->GlowButtonAppearance()->ColorDown());
}

TEST(StylerLayout, UnpublishedSwitchesAreNeitherReadNorWritten) {
    TComponent owner(nullptr);
    for (const char* line : {"  RoundCorners = False\n", "  ToolBarBevel = 2\n", "  ComponentStyle = 3\n",
                             "  PagerStyle = 1\n", "  PagerCaptionColor = 5\n"})
        EXPECT_THROW(Load(owner, line), Exception) << line;

    auto* holder = new TComponent(&owner);
    holder->SetName("Holder");
    auto* styler = new TAdvToolBarOfficeStyler(holder);
    styler->SetName("Styler");
    styler->SetStyle(bsWindowsXP);
    styler->SetPagerStyle(3);
    const std::string text = TLayoutWriter::WriteRootToText(holder);
    for (const char* name : {"RoundCorners", "ToolBarBevel", "ShowToolBarBevel", "ComponentStyle",
                             "PagerStyle", "PagerCaptionColor"})
        EXPECT_EQ(text.find(name), std::string::npos) << name << " in\n" << text;
}

// The right-handle colours were once stored with a declared default of grey
// although a new styler starts with other values, so a grey right handle was
// left out when written and came back in the starting colours.
TEST(StylerLayout, GreyRightHandleColoursSurviveWritingAndReading) {
    RegisterStylingClasses();
    TComponent owner(nullptr);
    auto* holder = new TComponent(&owner);
    holder->SetName("Holder");
    auto* original = new TAdvToolBarOfficeStyler(holder);
    original->SetName("Styler");
    original->SetRightHandleColor(clGray);
    original->SetRightHandleColorTo(clGray);
    auto* fresh = new TAdvToolBarOfficeStyler(holder);
    fresh->SetName("Fresh");

    const std::string text = TLayoutWriter::WriteRootToText(holder);
    TComponent elsewhere(nullptr);
    TComponent* copy = TLayoutReader::CreateFromText(text, &elsewhere);
    auto* styler = copy->FindComponentAs<TAdvToolBarOfficeStyler>("Styler");
    auto* freshCopy = copy->FindComponentAs<TAdvToolBarOfficeStyler>("Fresh");
    ASSERT_NE(styler, nullptr) << text;
    ASSERT_NE(freshCopy, nullptr) << text;
    EXPECT_EQ(styler->RightHandleColor(), clGray) << text;
    EXPECT_EQ(styler->RightHandleColorTo(), clGray) << text;
    EXPECT_EQ(freshCopy->RightHandleColor(), fresh->RightHandleColor()) << text;
    EXPECT_EQ(freshCopy->RightHandleColorTo(), fresh->RightHandleColorTo()) << text;
}

} // namespace
} // namespace emr
