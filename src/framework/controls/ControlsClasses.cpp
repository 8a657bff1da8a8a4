#include "framework/controls/ControlsClasses.h"

#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/controls/CustomControl.h"
#include "framework/controls/GraphicControl.h"
#include "framework/core/ClassRegistry.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/GraphicsClasses.h"

namespace emr {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<std::int64_t> IdentToCursor(std::string_view ident) {
    static const std::vector<std::pair<std::string_view, TCursor>> cursors = {
        {"crDefault", crDefault},     {"crNone", crNone},           {"crArrow", crArrow},
        {"crCross", crCross},         {"crIBeam", crIBeam},         {"crSizeNESW", crSizeNESW},
        {"crSizeNS", crSizeNS},       {"crSizeNWSE", crSizeNWSE},   {"crSizeWE", crSizeWE},
        {"crUpArrow", crUpArrow},     {"crHourGlass", crHourGlass}, {"crDrag", crDrag},
        {"crNoDrop", crNoDrop},       {"crHSplit", crHSplit},       {"crVSplit", crVSplit},
        {"crMultiDrag", crMultiDrag}, {"crSQLWait", crSQLWait},     {"crNo", crNo},
        {"crAppStart", crAppStart},   {"crHelp", crHelp},           {"crHandPoint", crHandPoint},
        {"crSizeAll", crSizeAll},
    };
    for (const auto& [name, value] : cursors)
        if (SameText(name, ident)) return value;
    return std::nullopt;
}

/// Makes the last-registered colour property accept colour names.
template <class C> void AcceptColorNames(TClassRegistrar<C>& registrar) {
    registrar.Info().Properties.back().IdentToInt = [](std::string_view ident) {
        return IdentToColor(ident);
    };
}

// Adapters for getters that are not plain member functions.
int ControlClientWidth(const TControl* c) {
    return c->ClientWidth();
}
int ControlClientHeight(const TControl* c) {
    return c->ClientHeight();
}
void ControlSetClientWidth(TControl* c, std::int64_t v) {
    c->SetClientWidth(static_cast<int>(v));
}
void ControlSetClientHeight(TControl* c, std::int64_t v) {
    c->SetClientHeight(static_cast<int>(v));
}
TColor ControlColor(const TControl* c) {
    return c->Color();
}
void ControlSetColor(TControl* c, std::int64_t v) {
    c->SetColor(static_cast<TColor>(v));
}
TPersistent* ControlFont(TControl* c) {
    return c->Font();
}
TPersistent* ControlConstraints(TControl* c) {
    return c->Constraints();
}

} // namespace

void RegisterControlsClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterGraphicsClasses();

    TClassRegistrar<TSizeConstraints>("TPersistent")
        .Integer("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth, 0)
        .Integer("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight, 0)
        .Integer("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth, 0)
        .Integer("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight, 0);

    TClassRegistrar<TControl> control("TComponent");
    control.Integer("Left", &TControl::Left, &TControl::SetLeft)
        .Integer("Top", &TControl::Top, &TControl::SetTop)
        .Integer("Width", &TControl::Width, &TControl::SetWidth)
        .Integer("Height", &TControl::Height, &TControl::SetHeight)
        .Integer("ClientWidth", &ControlClientWidth, &ControlSetClientWidth)
        .Integer("ClientHeight", &ControlClientHeight, &ControlSetClientHeight)
        .Enum<TAlign>("Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"},
                      &TControl::Align, &TControl::SetAlign, alNone)
        .SetOf<TAnchors>("Anchors", {"akLeft", "akTop", "akRight", "akBottom"}, &TControl::Anchors,
                         &TControl::SetAnchors, akLeft | akTop)
        .Object("Constraints", &ControlConstraints)
        .Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true)
        .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
        .NamedInteger("Cursor", &IdentToCursor, &TControl::Cursor, &TControl::SetCursor, crDefault)
        .String("Caption", &TControl::Caption, &TControl::SetCaption)
        .String("Text", &TControl::Text, &TControl::SetText)
        .String("Hint", &TControl::Hint, &TControl::SetHint)
        .Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .Boolean("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true)
        .Object("Font", &ControlFont)
        .Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
        .Enum<TBiDiMode>(
            "BiDiMode",
            {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"},
            &TControl::BiDiMode, &TControl::SetBiDiMode, TBiDiMode::bdLeftToRight)
        .Boolean("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode, true)
        .Color("Color", &ControlColor, &ControlSetColor);
    AcceptColorNames(control);
    control.Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
        .Integer("Tag", &TControl::Tag, &TControl::SetTag, 0)
        .Boolean("DoubleBuffered", &TControl::DoubleBuffered, &TControl::SetDoubleBuffered, false)
        .Event("OnClick", &TControl::OnClick)
        .Event("OnDblClick", &TControl::OnDblClick)
        .Event("OnResize", &TControl::OnResize)
        .Event("OnMouseEnter", &TControl::OnMouseEnter)
        .Event("OnMouseLeave", &TControl::OnMouseLeave);

    TClassRegistrar<TWinControl>("TControl")
        .Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false)
        .Event("OnEnter", &TWinControl::OnEnter)
        .Event("OnExit", &TWinControl::OnExit);

    TClassRegistrar<TGraphicControl>("TControl");
    TClassRegistrar<TCustomControl>("TWinControl");
}

} // namespace emr
