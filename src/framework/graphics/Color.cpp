#include "framework/graphics/Color.h"

#include <strings.h>

namespace emr {

namespace {

struct NamedColor {
    std::string_view Name;
    TColor Value;
};

// Names in the order ColorToIdent prefers them (clSilver before clLtGray).
constexpr NamedColor kNamedColors[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clLtGray", clLtGray},
    {"clDkGray", clDkGray},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
    {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuBar", clMenuBar},
    {"clNone", clNone},
    {"clDefault", clDefault},
};

struct SchemeState {
    TSystemColorScheme Scheme = TSystemColorScheme::Windows7();
    std::uint64_t Version = 0;
};

SchemeState& State() {
    static SchemeState state;
    return state;
}

} // namespace

TSystemColorScheme TSystemColorScheme::Windows7() {
    TSystemColorScheme s;
    auto set = [&s](TColor sys, int r, int g, int b) {
        s.Colors[sys & 0xFF] =
            RGB(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b));
    };
    set(clScrollBar, 200, 200, 200);
    set(clBackground, 0, 0, 0);
    set(clActiveCaption, 153, 180, 209);
    set(clInactiveCaption, 191, 205, 219);
    set(clMenu, 240, 240, 240);
    set(clWindow, 255, 255, 255);
    set(clWindowFrame, 100, 100, 100);
    set(clMenuText, 0, 0, 0);
    set(clWindowText, 0, 0, 0);
    set(clCaptionText, 0, 0, 0);
    set(clActiveBorder, 180, 180, 180);
    set(clInactiveBorder, 244, 247, 252);
    set(clAppWorkSpace, 171, 171, 171);
    set(clHighlight, 51, 153, 255);
    set(clHighlightText, 255, 255, 255);
    set(clBtnFace, 240, 240, 240);
    set(clBtnShadow, 160, 160, 160);
    set(clGrayText, 109, 109, 109);
    set(clBtnText, 0, 0, 0);
    set(clInactiveCaptionText, 67, 78, 84);
    set(clBtnHighlight, 255, 255, 255);
    set(cl3DDkShadow, 105, 105, 105);
    set(cl3DLight, 227, 227, 227);
    set(clInfoText, 0, 0, 0);
    set(clInfoBk, 255, 255, 225);
    set(clHotLight, 0, 102, 204);
    set(clGradientActiveCaption, 185, 209, 234);
    set(clGradientInactiveCaption, 215, 228, 242);
    set(clMenuHighlight, 51, 153, 255);
    set(clMenuBar, 240, 240, 240);
    return s;
}

TColor ColorToRGB(TColor color) {
    if (!IsSystemColor(color)) return color;
    unsigned index = color & 0xFF;
    if ((color & 0x00FFFF00u) != 0 || index >= TSystemColorScheme::Count) return clBlack;
    return State().Scheme.Colors[index] & 0xFFFFFF;
}

const TSystemColorScheme& SystemColorScheme() {
    return State().Scheme;
}

std::uint64_t SystemColorSchemeVersion() {
    return State().Version;
}

void SetSystemColorScheme(const TSystemColorScheme& scheme) {
    State().Scheme = scheme;
    ++State().Version;
}

void ResetSystemColorScheme() {
    SetSystemColorScheme(TSystemColorScheme::Windows7());
}

std::optional<std::int64_t> IdentToColor(std::string_view ident) {
    for (const NamedColor& c : kNamedColors)
        if (c.Name.size() == ident.size() && strncasecmp(c.Name.data(), ident.data(), ident.size()) == 0)
            return static_cast<std::int64_t>(c.Value);
    return std::nullopt;
}

std::optional<std::string> ColorToIdent(std::int64_t color) {
    // Layouts may carry system colours as negative 32-bit numbers.
    if (color < 0 && color >= INT32_MIN) color += std::int64_t{1} << 32;
    for (const NamedColor& c : kNamedColors)
        if (static_cast<std::int64_t>(c.Value) == color) return std::string(c.Name);
    return std::nullopt;
}

} // namespace emr
