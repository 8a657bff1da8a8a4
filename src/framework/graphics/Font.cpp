#include "framework/graphics/Font.h"

#include <strings.h>

#include <cstdlib>

namespace emr {

namespace {

struct NamedCharset {
    std::string_view Name;
    TFontCharset Value;
};

constexpr NamedCharset kCharsets[] = {
    {"ANSI_CHARSET", ANSI_CHARSET},
    {"DEFAULT_CHARSET", DEFAULT_CHARSET},
    {"SYMBOL_CHARSET", SYMBOL_CHARSET},
    {"MAC_CHARSET", MAC_CHARSET},
    {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
    {"HANGEUL_CHARSET", HANGEUL_CHARSET},
    {"JOHAB_CHARSET", JOHAB_CHARSET},
    {"GB2312_CHARSET", GB2312_CHARSET},
    {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
    {"GREEK_CHARSET", GREEK_CHARSET},
    {"TURKISH_CHARSET", TURKISH_CHARSET},
    {"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
    {"HEBREW_CHARSET", HEBREW_CHARSET},
    {"ARABIC_CHARSET", ARABIC_CHARSET},
    {"BALTIC_CHARSET", BALTIC_CHARSET},
    {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
    {"THAI_CHARSET", THAI_CHARSET},
    {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
    {"OEM_CHARSET", OEM_CHARSET},
};

/// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
    long long p = static_cast<long long>(a) * b;
    long long q = (std::llabs(p) * 2 + c) / (2LL * c);
    return static_cast<int>(p < 0 ? -q : q);
}

} // namespace

std::optional<std::int64_t> IdentToCharset(std::string_view ident) {
    for (const NamedCharset& c : kCharsets)
        if (c.Name.size() == ident.size() && strncasecmp(c.Name.data(), ident.data(), ident.size()) == 0)
            return c.Value;
    return std::nullopt;
}

std::optional<std::string> CharsetToIdent(std::int64_t charset) {
    for (const NamedCharset& c : kCharsets)
        if (c.Value == charset) return std::string(c.Name);
    return std::nullopt;
}

void TFont::SetName(const std::string& name) {
    if (name_ == name || name.empty()) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height_ == height) return;
    height_ = height;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(height_, 72, PixelsPerInch);
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, PixelsPerInch, 72));
}

void TFont::SetCharset(TFontCharset charset) {
    if (charset_ == charset) return;
    charset_ = charset;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    style &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
    if (style_ == style) return;
    style_ = style;
    Changed();
}

void TFont::SetOrientation(int tenthsOfDegree) {
    if (orientation_ == tenthsOfDegree) return;
    orientation_ = tenthsOfDegree;
    Changed();
}

void TFont::Assign(const TPersistent* source) {
    if (auto* font = dynamic_cast<const TFont*>(source)) {
        if (font == this) return;
        name_ = font->name_;
        height_ = font->height_;
        charset_ = font->charset_;
        color_ = font->color_;
        style_ = font->style_;
        orientation_ = font->orientation_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

bool TFont::SameFace(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && charset_ == other.charset_ &&
           style_ == other.style_ && orientation_ == other.orientation_;
}

void TFont::Changed() {
    if (OnChange) OnChange(this);
}

} // namespace emr
