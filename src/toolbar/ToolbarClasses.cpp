#include "toolbar/ToolbarClasses.h"

#include "toolbar/AdvDockPanel.h"

#include "framework/core/ClassRegistry.h"
#include "framework/forms/ActnList.h"
#include "framework/forms/Menu.h"
#include "framework/graphics/ImageList.h"
#include "menus/AdvPopupMenu.h"
#include "menus/MenusClasses.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarMenuButton.h"
#include "toolbar/AdvToolBarSeparator.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/FormLayoutSaver.h"
#include "toolbar/ToolBarMenuDump.h"
#include "toolbar/ToolBarOverflowDump.h"

namespace emr {

namespace {

const std::vector<std::string> kDockAligns = {"daLeft", "daTop", "daRight", "daBottom"};
const std::vector<std::string> kGlyphPositions = {"gpLeft", "gpTop", "gpRight", "gpBottom"};

/// The properties a toolbar button and a menu button share.
template <class C> void ButtonProperties(TClassRegistrar<C>& r) {
    r.template ComponentRef<TBasicAction>("Action", &C::Action, &C::SetAction)
        .Object("Appearance", &C::Appearance)
        .Boolean("CanRotate", &C::CanRotate, &C::SetCanRotate, true)
        .template Enum<TGlyphPosition>("GlyphPosition", kGlyphPositions, &C::GlyphPosition,
                                       &C::SetGlyphPosition, TGlyphPosition::gpLeft)
        .Boolean("DropDownButton", &C::DropDownButton, &C::SetDropDownButton, false)
        .template ComponentRef<TAdvPopupMenu>("DropDownMenu", &C::DropDownMenu, &C::SetDropDownMenu)
        .Boolean("DropDownSplit", &C::DropDownSplit, &C::SetDropDownSplit, true)
        .Object("Glyph", &C::Glyph)
        .Object("GlyphHot", &C::GlyphHot)
        .Object("GlyphDown", &C::GlyphDown)
        .Object("GlyphDisabled", &C::GlyphDisabled)
        .Object("GlyphChecked", &C::GlyphChecked)
        .Object("GlyphMedium", &C::GlyphMedium)
        .Object("GlyphLarge", &C::GlyphLarge)
        .Integer("ImageIndex", &C::ImageIndex, &C::SetImageIndex, -1)
        .Object("Picture", &C::Picture)
        .Boolean("ParentStyler", &C::ParentStyler, &C::SetParentStyler, true)
        .template Enum<TDockAlign>("Position", kDockAligns, &C::Position, &C::SetPosition)
        .Boolean("Shaded", &C::Shaded, &C::SetShaded, true)
        .Boolean("DirectionalGlyph", &C::DirectionalGlyph, &C::SetDirectionalGlyph, false)
        .Boolean("ShowCaption", &C::ShowCaption, &C::SetShowCaption, false)
        .Object("OfficeHint", &C::OfficeHint)
        .String("Version", &C::Version, &C::SetVersion)
        .Event("OnDropDown", &C::OnDropDown);
}

} // namespace

void RegisterToolbarClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterMenusClasses();
    RegisterDockPanelClasses();
    RegisterToolBarOverflowDump();
    RegisterToolBarMenuDump();
    RegisterFormLayoutSaver();

    TClassRegistrar<TAdvHintInfo>("TPersistent")
        .String("Title", &TAdvHintInfo::Title, &TAdvHintInfo::SetTitle)
        .String("Notes", &TAdvHintInfo::Notes, &TAdvHintInfo::SetNotes);
    using DP = TAdvToolBarButtonDrawPosition;
    TClassRegistrar<DP>("TPersistent")
        .Boolean("Enabled", &DP::Enabled, &DP::SetEnabled, false)
        .Integer("TextX", &DP::TextX, &DP::SetTextX, 0)
        .Integer("TextY", &DP::TextY, &DP::SetTextY, 0)
        .Integer("ImageX", &DP::ImageX, &DP::SetImageX, 0)
        .Integer("ImageY", &DP::ImageY, &DP::SetImageY, 0)
        .Event("OnChange", &DP::OnChange);

    TClassRegistrar<TAdvCustomToolBarControl>("TGraphicControl")
        .Boolean("AutoSize", &TAdvCustomToolBarControl::AutoSize, &TAdvCustomToolBarControl::SetAutoSize);
    TClassRegistrar<TAdvCustomToolBarButton>("TAdvCustomToolBarControl");
    {
        TClassRegistrar<TAdvToolBarButton> r("TAdvCustomToolBarButton");
        ButtonProperties(r);
        using B = TAdvToolBarButton;
        r.Boolean("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp, false)
            .Integer("GroupIndex", &B::GroupIndex, &B::SetGroupIndex, 0)
            .Boolean("Down", &B::Down, &B::SetDown, false)
            .Object("DrawPosition", &B::DrawPosition)
            .Object("PictureDisabled", &B::PictureDisabled)
            .Enum<TAdvToolButtonStyle>("Style", {"tasButton", "tasCheck"}, &B::Style, &B::SetStyle,
                                       TAdvToolButtonStyle::tasButton);
    }
    {
        TClassRegistrar<TAdvToolBarMenuButton> r("TAdvCustomToolBarButton");
        ButtonProperties(r);
    }
    {
        TClassRegistrar<TAdvToolBarSeparator> s("TAdvCustomToolBarControl");
        s.Enum<TAdvSeparatorStyle>("SeparatorStyle", {"ssOffice2003", "ssBlank"},
                                   &TAdvToolBarSeparator::SeparatorStyle,
                                   &TAdvToolBarSeparator::SetSeparatorStyle, TAdvSeparatorStyle::ssOffice2003)
            .Color("LineColor", &TAdvToolBarSeparator::LineColor, &TAdvToolBarSeparator::SetLineColor);
        for (TPropInfo& p : s.Info().Properties)
            if (p.Name == "LineColor") p.IdentToInt = IdentToColor;
    }

    TClassRegistrar<TAdvCustomToolBar>("TCustomControl");
    using T = TAdvToolBar;
    TClassRegistrar<T> r("TAdvCustomToolBar");
    PublishToolBarProperties(r);
    r.Event("OnClose", &T::OnClose);
    RegisterFloatingWindowClass();
}

} // namespace emr
