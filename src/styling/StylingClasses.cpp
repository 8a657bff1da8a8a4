#include "styling/StylingClasses.h"

#include "framework/core/ClassRegistry.h"
#include "framework/graphics/GraphicsClasses.h"
#include "styling/AdvMenuStyler.h"
#include "styling/AdvToolBarOfficeStyler.h"

namespace emr {

namespace {

const std::vector<std::string> kDirections = {"gdHorizontal", "gdVertical"};
const std::vector<std::string> kGradients = {"ggRadial", "ggVertical", "ggDiagonalForward",
                                             "ggDiagonalBackward"};

/// Registers a colour property that also takes colour names (clBtnFace, clNone).
template <class C, class G, class S>
void ColorProperty(TClassRegistrar<C>& reg, const std::string& name, G get, S set,
                   std::optional<std::int64_t> def = {}) {
    reg.Color(name, get, set, def);
    for (TPropInfo& p : reg.Info().Properties)
        if (p.Name == name) p.IdentToInt = IdentToColor;
}

template <class C>
void GradientKind(TClassRegistrar<C>& reg, const std::string& name, TGDIPGradient (C::*get)() const,
                  void (C::*set)(TGDIPGradient)) {
    reg.template Enum<TGDIPGradient>(name, kGradients, get, set);
}

void RegisterRecords() {
    {
        TClassRegistrar<TMirrorGradient> r("TPersistent");
        using T = TMirrorGradient;
        ColorProperty(r, "Color", &T::Color, &T::SetColor);
        ColorProperty(r, "ColorTo", &T::ColorTo, &T::SetColorTo);
        ColorProperty(r, "ColorMirror", &T::ColorMirror, &T::SetColorMirror);
        ColorProperty(r, "ColorMirrorTo", &T::ColorMirrorTo, &T::SetColorMirrorTo);
        r.Event("OnChange", &T::OnChange);
    }
    {
        TClassRegistrar<TGradientBackground> r("TPersistent");
        using T = TGradientBackground;
        ColorProperty(r, "Color", &T::Color, &T::SetColor);
        ColorProperty(r, "ColorTo", &T::ColorTo, &T::SetColorTo);
        r.Enum<TGradientDirection>("Direction", kDirections, &T::Direction, &T::SetDirection);
        r.Integer("Steps", &T::Steps, &T::SetSteps, 64);
        r.Event("OnChange", &T::OnChange);
    }
    TClassRegistrar<TVistaGradientBackground>("TGradientBackground")
        .Object("Mirror", [](TVistaGradientBackground* b) { return b->Mirror(); });
    {
        TClassRegistrar<TButtonAppearance> r("TPersistent");
        using T = TButtonAppearance;
        ColorProperty(r, "Color", &T::Color, &T::SetColor, clNone);
        ColorProperty(r, "ColorTo", &T::ColorTo, &T::SetColorTo, clNone);
        ColorProperty(r, "ColorChecked", &T::ColorChecked, &T::SetColorChecked, 14210516);
        ColorProperty(r, "ColorCheckedTo", &T::ColorCheckedTo, &T::SetColorCheckedTo, clNone);
        ColorProperty(r, "ColorDown", &T::ColorDown, &T::SetColorDown, 11899525);
        ColorProperty(r, "ColorDownTo", &T::ColorDownTo, &T::SetColorDownTo, clNone);
        ColorProperty(r, "ColorHot", &T::ColorHot, &T::SetColorHot, 13811126);
        ColorProperty(r, "ColorHotTo", &T::ColorHotTo, &T::SetColorHotTo, clNone);
        ColorProperty(r, "CaptionTextColor", &T::CaptionTextColor, &T::SetCaptionTextColor, 0);
        ColorProperty(r, "CaptionTextColorHot", &T::CaptionTextColorHot, &T::SetCaptionTextColorHot, 0);
        ColorProperty(r, "CaptionTextColorDown", &T::CaptionTextColorDown, &T::SetCaptionTextColorDown, 0);
        ColorProperty(r, "CaptionTextColorChecked", &T::CaptionTextColorChecked,
                      &T::SetCaptionTextColorChecked, 0);
        r.Enum<TGradientDirection>("GradientDirection", kDirections, &T::GradientDirection,
                                   &T::SetGradientDirection, gdVertical);
        r.Enum<TGradientDirection>("GradientDirectionHot", kDirections, &T::GradientDirectionHot,
                                   &T::SetGradientDirectionHot, gdVertical);
        r.Enum<TGradientDirection>("GradientDirectionDown", kDirections, &T::GradientDirectionDown,
                                   &T::SetGradientDirectionDown, gdVertical);
        r.Enum<TGradientDirection>("GradientDirectionChecked", kDirections, &T::GradientDirectionChecked,
                                   &T::SetGradientDirectionChecked, gdVertical);
        ColorProperty(r, "BorderColor", &T::BorderColor, &T::SetBorderColor, clNone);
        ColorProperty(r, "BorderDownColor", &T::BorderDownColor, &T::SetBorderDownColor, 6956042);
        ColorProperty(r, "BorderHotColor", &T::BorderHotColor, &T::SetBorderHotColor, 6956042);
        ColorProperty(r, "BorderCheckedColor", &T::BorderCheckedColor, &T::SetBorderCheckedColor, 6956042);
        r.Object("CaptionFont", [](T* a) { return a->CaptionFont(); });
        r.Boolean("SystemFont", &T::SystemFont, &T::SetSystemFont, true);
    }
    {
        TClassRegistrar<TCaptionAppearance> r("TPersistent");
        using T = TCaptionAppearance;
        ColorProperty(r, "CaptionColor", &T::CaptionColor, &T::SetCaptionColor);
        ColorProperty(r, "CaptionColorTo", &T::CaptionColorTo, &T::SetCaptionColorTo, clNone);
        ColorProperty(r, "CaptionTextColor", &T::CaptionTextColor, &T::SetCaptionTextColor, 16777215);
        ColorProperty(r, "CaptionBorderColor", &T::CaptionBorderColor, &T::SetCaptionBorderColor, clNone);
        ColorProperty(r, "CaptionColorHot", &T::CaptionColorHot, &T::SetCaptionColorHot, clNone);
        ColorProperty(r, "CaptionColorHotTo", &T::CaptionColorHotTo, &T::SetCaptionColorHotTo, clNone);
        ColorProperty(r, "CaptionTextColorHot", &T::CaptionTextColorHot, &T::SetCaptionTextColorHot,
                      16777215);
        ColorProperty(r, "CaptionBorderColorHot", &T::CaptionBorderColorHot, &T::SetCaptionBorderColorHot,
                      clNone);
    }
    {
        TClassRegistrar<TContainerAppearance> r("TPersistent");
        using T = TContainerAppearance;
        ColorProperty(r, "LineColor", &T::LineColor, &T::SetLineColor);
        r.Boolean("Line3D", &T::Line3D, &T::SetLine3D);
        r.Event("OnChange", &T::OnChange);
    }
    {
        TClassRegistrar<TGlowButtonAppearance> r("TPersistent");
        using T = TGlowButtonAppearance;
        ColorProperty(r, "Color", &T::Color, &T::SetColor);
        ColorProperty(r, "ColorTo", &T::ColorTo, &T::SetColorTo);
        ColorProperty(r, "ColorMirror", &T::ColorMirror, &T::SetColorMirror);
        ColorProperty(r, "ColorMirrorTo", &T::ColorMirrorTo, &T::SetColorMirrorTo);
        ColorProperty(r, "BorderColor", &T::BorderColor, &T::SetBorderColor);
        GradientKind(r, "Gradient", &T::Gradient, &T::SetGradient);
        GradientKind(r, "GradientMirror", &T::GradientMirror, &T::SetGradientMirror);
        ColorProperty(r, "ColorHot", &T::ColorHot, &T::SetColorHot);
        ColorProperty(r, "ColorHotTo", &T::ColorHotTo, &T::SetColorHotTo);
        ColorProperty(r, "ColorMirrorHot", &T::ColorMirrorHot, &T::SetColorMirrorHot);
        ColorProperty(r, "ColorMirrorHotTo", &T::ColorMirrorHotTo, &T::SetColorMirrorHotTo);
        ColorProperty(r, "BorderColorHot", &T::BorderColorHot, &T::SetBorderColorHot);
        GradientKind(r, "GradientHot", &T::GradientHot, &T::SetGradientHot);
        GradientKind(r, "GradientMirrorHot", &T::GradientMirrorHot, &T::SetGradientMirrorHot);
        ColorProperty(r, "ColorDown", &T::ColorDown, &T::SetColorDown);
        ColorProperty(r, "ColorDownTo", &T::ColorDownTo, &T::SetColorDownTo);
        ColorProperty(r, "ColorMirrorDown", &T::ColorMirrorDown, &T::SetColorMirrorDown);
        ColorProperty(r, "ColorMirrorDownTo", &T::ColorMirrorDownTo, &T::SetColorMirrorDownTo);
        ColorProperty(r, "BorderColorDown", &T::BorderColorDown, &T::SetBorderColorDown);
        GradientKind(r, "GradientDown", &T::GradientDown, &T::SetGradientDown);
        GradientKind(r, "GradientMirrorDown", &T::GradientMirrorDown, &T::SetGradientMirrorDown);
        ColorProperty(r, "ColorChecked", &T::ColorChecked, &T::SetColorChecked);
        ColorProperty(r, "ColorCheckedTo", &T::ColorCheckedTo, &T::SetColorCheckedTo);
        ColorProperty(r, "ColorMirrorChecked", &T::ColorMirrorChecked, &T::SetColorMirrorChecked);
        ColorProperty(r, "ColorMirrorCheckedTo", &T::ColorMirrorCheckedTo, &T::SetColorMirrorCheckedTo);
        ColorProperty(r, "BorderColorChecked", &T::BorderColorChecked, &T::SetBorderColorChecked);
        GradientKind(r, "GradientChecked", &T::GradientChecked, &T::SetGradientChecked);
        GradientKind(r, "GradientMirrorChecked", &T::GradientMirrorChecked, &T::SetGradientMirrorChecked);
        ColorProperty(r, "ColorDisabled", &T::ColorDisabled, &T::SetColorDisabled);
        ColorProperty(r, "ColorDisabledTo", &T::ColorDisabledTo, &T::SetColorDisabledTo);
        ColorProperty(r, "ColorMirrorDisabled", &T::ColorMirrorDisabled, &T::SetColorMirrorDisabled);
        ColorProperty(r, "ColorMirrorDisabledTo", &T::ColorMirrorDisabledTo, &T::SetColorMirrorDisabledTo);
        ColorProperty(r, "BorderColorDisabled", &T::BorderColorDisabled, &T::SetBorderColorDisabled);
        GradientKind(r, "GradientDisabled", &T::GradientDisabled, &T::SetGradientDisabled);
        GradientKind(r, "GradientMirrorDisabled", &T::GradientMirrorDisabled, &T::SetGradientMirrorDisabled);
    }
}

void RegisterRibbonRecords() {
    {
        TClassRegistrar<TRibbonFontRecord> r("TPersistent");
        r.Object("Font", [](TRibbonFontRecord* a) { return a->Font(); });
        r.Boolean("SystemFont", &TRibbonFontRecord::SystemFont, &TRibbonFontRecord::SetSystemFont, true);
    }
    {
        TClassRegistrar<TTabAppearance> r("TRibbonFontRecord");
        using T = TTabAppearance;
        ColorProperty(r, "Color", &T::Color, &T::SetColor);
        ColorProperty(r, "ColorTo", &T::ColorTo, &T::SetColorTo);
        ColorProperty(r, "ColorHot", &T::ColorHot, &T::SetColorHot);
        ColorProperty(r, "ColorHotTo", &T::ColorHotTo, &T::SetColorHotTo);
        ColorProperty(r, "ColorSelected", &T::ColorSelected, &T::SetColorSelected);
        ColorProperty(r, "ColorSelectedTo", &T::ColorSelectedTo, &T::SetColorSelectedTo);
        ColorProperty(r, "ColorMirrorSelected", &T::ColorMirrorSelected, &T::SetColorMirrorSelected);
        ColorProperty(r, "ColorMirrorSelectedTo", &T::ColorMirrorSelectedTo, &T::SetColorMirrorSelectedTo);
        ColorProperty(r, "BorderColor", &T::BorderColor, &T::SetBorderColor);
        ColorProperty(r, "BorderColorHot", &T::BorderColorHot, &T::SetBorderColorHot);
        ColorProperty(r, "BorderColorSelected", &T::BorderColorSelected, &T::SetBorderColorSelected);
        ColorProperty(r, "BorderColorDisabled", &T::BorderColorDisabled, &T::SetBorderColorDisabled);
        ColorProperty(r, "TextColor", &T::TextColor, &T::SetTextColor);
        ColorProperty(r, "TextColorHot", &T::TextColorHot, &T::SetTextColorHot);
        ColorProperty(r, "TextColorSelected", &T::TextColorSelected, &T::SetTextColorSelected);
        ColorProperty(r, "TextColorDisabled", &T::TextColorDisabled, &T::SetTextColorDisabled);
        ColorProperty(r, "ShadowColor", &T::ShadowColor, &T::SetShadowColor);
        ColorProperty(r, "HighLightColor", &T::HighLightColor, &T::SetHighLightColor);
    }
    {
        TClassRegistrar<TVistaPageBackground> r("TRibbonFontRecord");
        using T = TVistaPageBackground;
        ColorProperty(r, "Color", &T::Color, &T::SetColor);
        ColorProperty(r, "ColorTo", &T::ColorTo, &T::SetColorTo);
        ColorProperty(r, "ColorMirror", &T::ColorMirror, &T::SetColorMirror);
        ColorProperty(r, "ColorMirrorTo", &T::ColorMirrorTo, &T::SetColorMirrorTo);
        ColorProperty(r, "BorderColor", &T::BorderColor, &T::SetBorderColor);
        GradientKind(r, "Gradient", &T::Gradient, &T::SetGradient);
        GradientKind(r, "GradientMirror", &T::GradientMirror, &T::SetGradientMirror);
    }
    {
        TClassRegistrar<TVistaTextBackground> r("TVistaPageBackground");
        using T = TVistaTextBackground;
        ColorProperty(r, "TextColor", &T::TextColor, &T::SetTextColor);
        ColorProperty(r, "TextColorExtended", &T::TextColorExtended, &T::SetTextColorExtended);
    }
    {
        TClassRegistrar<TGroupAppearance> r("TVistaPageBackground");
        using T = TGroupAppearance;
        ColorProperty(r, "TextColor", &T::TextColor, &T::SetTextColor);
        ColorProperty(r, "CaptionColor", &T::CaptionColor, &T::SetCaptionColor);
        ColorProperty(r, "CaptionColorTo", &T::CaptionColorTo, &T::SetCaptionColorTo);
        r.Object("TabAppearance", [](T* a) { return a->TabAppearance(); });
    }
    {
        TClassRegistrar<TQATAppearance> r("TPersistent");
        using T = TQATAppearance;
        ColorProperty(r, "Color", &T::Color, &T::SetColor);
        ColorProperty(r, "ColorTo", &T::ColorTo, &T::SetColorTo);
        ColorProperty(r, "BorderColor", &T::BorderColor, &T::SetBorderColor);
        ColorProperty(r, "FullSizeColor", &T::FullSizeColor, &T::SetFullSizeColor);
        ColorProperty(r, "FullSizeColorTo", &T::FullSizeColorTo, &T::SetFullSizeColorTo);
        ColorProperty(r, "FullSizeBorderColor", &T::FullSizeBorderColor, &T::SetFullSizeBorderColor);
    }
}

void RegisterMenuStyler() {
    {
        TClassRegistrar<TMenuRootItemAppearance> r("TPersistent");
        using T = TMenuRootItemAppearance;
        r.Object("Font", [](T* a) { return a->Font(); });
        r.Boolean("SystemFont", &T::SystemFont, &T::SetSystemFont, true);
        ColorProperty(r, "Color", &T::Color, &T::SetColor);
        ColorProperty(r, "ColorTo", &T::ColorTo, &T::SetColorTo);
        r.Enum<TGradientDirection>("GradientDirection", kDirections, &T::GradientDirection,
                                   &T::SetGradientDirection);
        ColorProperty(r, "HoverColor", &T::HoverColor, &T::SetHoverColor);
        ColorProperty(r, "HoverColorTo", &T::HoverColorTo, &T::SetHoverColorTo);
        ColorProperty(r, "HoverTextColor", &T::HoverTextColor, &T::SetHoverTextColor);
        ColorProperty(r, "HoverBorderColor", &T::HoverBorderColor, &T::SetHoverBorderColor);
        r.Enum<TGradientDirection>("HoverGradientDirection", kDirections, &T::HoverGradientDirection,
                                   &T::SetHoverGradientDirection);
        ColorProperty(r, "SelectedColor", &T::SelectedColor, &T::SetSelectedColor);
        ColorProperty(r, "SelectedColorTo", &T::SelectedColorTo, &T::SetSelectedColorTo);
        ColorProperty(r, "SelectedTextColor", &T::SelectedTextColor, &T::SetSelectedTextColor);
        ColorProperty(r, "SelectedBorderColor", &T::SelectedBorderColor, &T::SetSelectedBorderColor);
        r.Enum<TGradientDirection>("SelectedGradientDirection", kDirections, &T::SelectedGradientDirection,
                                   &T::SetSelectedGradientDirection);
    }
    {
        TClassRegistrar<TMenuIconBarAppearance> r("TPersistent");
        using T = TMenuIconBarAppearance;
        r.Boolean("Visible", &T::Visible, &T::SetVisible, true);
        r.Integer("Size", &T::Size, &T::SetSize, 24);
        ColorProperty(r, "Color", &T::Color, &T::SetColor);
        ColorProperty(r, "ColorTo", &T::ColorTo, &T::SetColorTo);
        ColorProperty(r, "CheckColor", &T::CheckColor, &T::SetCheckColor);
        ColorProperty(r, "CheckColorTo", &T::CheckColorTo, &T::SetCheckColorTo);
        ColorProperty(r, "CheckBorder", &T::CheckBorder, &T::SetCheckBorder);
    }
    {
        TClassRegistrar<TMenuSelectedItemAppearance> r("TPersistent");
        using T = TMenuSelectedItemAppearance;
        ColorProperty(r, "Color", &T::Color, &T::SetColor);
        ColorProperty(r, "ColorTo", &T::ColorTo, &T::SetColorTo);
        ColorProperty(r, "BorderColor", &T::BorderColor, &T::SetBorderColor);
        ColorProperty(r, "TextColor", &T::TextColor, &T::SetTextColor);
        r.Enum<TGradientDirection>("GradientDirection", kDirections, &T::GradientDirection,
                                   &T::SetGradientDirection);
        ColorProperty(r, "CheckColor", &T::CheckColor, &T::SetCheckColor);
        ColorProperty(r, "CheckColorTo", &T::CheckColorTo, &T::SetCheckColorTo);
        ColorProperty(r, "CheckBorder", &T::CheckBorder, &T::SetCheckBorder);
    }
    TClassRegistrar<TMenuGlyphs>("TPersistent")
        .Object("Check", [](TMenuGlyphs* g) { return g->Check(); })
        .Object("SubMenu", [](TMenuGlyphs* g) { return g->SubMenu(); });
    {
        TClassRegistrar<TCustomAdvMenuStyler> r("TComponent");
        using T = TCustomAdvMenuStyler;
        ColorProperty(r, "MenuBorderColor", &T::MenuBorderColor, &T::SetMenuBorderColor);
        r.Object("RootItem", [](T* s) { return s->RootItem(); });
        r.Object("IconBar", [](T* s) { return s->IconBar(); });
        r.Object("SelectedItem", [](T* s) { return s->SelectedItem(); });
        r.Object("Glyphs", [](T* s) { return s->Glyphs(); });
    }
    TClassRegistrar<TAdvMenuStyler>("TCustomAdvMenuStyler");
}

void RegisterStylers() {
    TClassRegistrar<TCustomAdvToolBarStyler>("TComponent");
    TClassRegistrar<TAdvToolBarOfficeStyler> r("TCustomAdvToolBarStyler");
    using T = TAdvToolBarOfficeStyler;
    r.Enum<TToolBarStyle>("Style",
                          {"bsOffice2003Blue", "bsOffice2003Silver", "bsOffice2003Olive",
                           "bsOffice2003Classic", "bsOffice2007Luna", "bsOffice2007Obsidian", "bsWindowsXP",
                           "bsWhidbeyStyle", "bsCustom", "bsOffice2007Silver", "bsOfficeXP", "bsWindowsVista",
                           "bsWindows7", "bsTerminal", "bsOffice2010Blue", "bsOffice2010Silver",
                           "bsOffice2010Black"},
                          &T::Style, &T::SetStyle, bsOffice2003Blue);
    r.ComponentRef<TCustomAdvMenuStyler>("AdvMenuStyler", &T::AdvMenuStyler, &T::SetAdvMenuStyler);
    r.Boolean("AutoThemeAdapt", &T::AutoThemeAdapt, &T::SetAutoThemeAdapt, false);
    r.Object("BackGround", [](T* s) { return s->BackGround(); });
    r.Boolean("BackGroundTransparent", &T::BackGroundTransparent, &T::SetBackGroundTransparent, true);
    r.Enum<TBackGroundDisplay>("BackGroundDisplay", {"bdTile", "bdCenter", "bdStretch"},
                               &T::BackGroundDisplay, &T::SetBackGroundDisplay, bdTile);
    ColorProperty(r, "BorderColor", &T::BorderColor, &T::SetBorderColor, clNone);
    ColorProperty(r, "BorderColorHot", &T::BorderColorHot, &T::SetBorderColorHot, clNone);
    r.Object("ButtonAppearance", [](T* s) { return s->ButtonAppearance(); });
    r.Object("CaptionAppearance", [](T* s) { return s->CaptionAppearance(); });
    r.Object("CaptionFont", [](T* s) { return s->CaptionFont(); });
    r.Object("ContainerAppearance", [](T* s) { return s->ContainerAppearance(); });
    r.Object("Color", [](T* s) { return s->Color(); });
    r.Object("ColorHot", [](T* s) { return s->ColorHot(); });
    r.Object("CompactGlowButtonAppearance", [](T* s) { return s->CompactGlowButtonAppearance(); });
    r.Object("DockColor", [](T* s) { return s->DockColor(); });
    r.Enum<TDragGripStyle>("DragGripStyle",
                           {"dsDots", "dsSingleLine", "dsDoubleLine", "dsFlatDots", "dsNone"},
                           &T::DragGripStyle, &T::SetDragGripStyle, dsDots);
    r.Object("DragGripImage", [](T* s) { return s->DragGripImage(); });
    ColorProperty(r, "FloatingWindowBorderColor", &T::FloatingWindowBorderColor,
                  &T::SetFloatingWindowBorderColor);
    r.Integer("FloatingWindowBorderWidth", &T::FloatingWindowBorderWidth, &T::SetFloatingWindowBorderWidth,
              2);
    r.Object("Font", [](T* s) { return s->Font(); });
    r.Object("GlowButtonAppearance", [](T* s) { return s->GlowButtonAppearance(); });
    r.Object("GroupAppearance", [](T* s) { return s->GroupAppearance(); });
    r.Object("PageAppearance", [](T* s) { return s->PageAppearance(); });
    r.Object("PagerCaption", [](T* s) { return s->PagerCaption(); });
    r.Object("QATAppearance", [](T* s) { return s->QATAppearance(); });
    r.Object("RightHandleImage", [](T* s) { return s->RightHandleImage(); });
    ColorProperty(r, "RightHandleColor", &T::RightHandleColor, &T::SetRightHandleColor, 8421504);
    ColorProperty(r, "RightHandleColorTo", &T::RightHandleColorTo, &T::SetRightHandleColorTo, 8421504);
    ColorProperty(r, "RightHandleColorHot", &T::RightHandleColorHot, &T::SetRightHandleColorHot);
    ColorProperty(r, "RightHandleColorHotTo", &T::RightHandleColorHotTo, &T::SetRightHandleColorHotTo);
    ColorProperty(r, "RightHandleColorDown", &T::RightHandleColorDown, &T::SetRightHandleColorDown);
    ColorProperty(r, "RightHandleColorDownTo", &T::RightHandleColorDownTo, &T::SetRightHandleColorDownTo);
    r.Boolean("SystemFont", &T::SystemFont, &T::SetSystemFont, true);
    r.Object("TabAppearance", [](T* s) { return s->TabAppearance(); });
}

} // namespace

void RegisterStylingClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterGraphicsClasses();
    RegisterRecords();
    RegisterRibbonRecords();
    RegisterMenuStyler();
    RegisterStylers();
}

} // namespace emr
