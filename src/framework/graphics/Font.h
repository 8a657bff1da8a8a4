#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"

namespace emr {

/// Font style bits; a TFontStyles value holds any combination.
enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

using TFontCharset = std::uint8_t;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset SYMBOL_CHARSET = 2;
inline constexpr TFontCharset MAC_CHARSET = 77;
inline constexpr TFontCharset SHIFTJIS_CHARSET = 128;
inline constexpr TFontCharset HANGEUL_CHARSET = 129;
inline constexpr TFontCharset JOHAB_CHARSET = 130;
inline constexpr TFontCharset GB2312_CHARSET = 134;
inline constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
inline constexpr TFontCharset GREEK_CHARSET = 161;
inline constexpr TFontCharset TURKISH_CHARSET = 162;
inline constexpr TFontCharset VIETNAMESE_CHARSET = 163;
inline constexpr TFontCharset HEBREW_CHARSET = 177;
inline constexpr TFontCharset ARABIC_CHARSET = 178;
inline constexpr TFontCharset BALTIC_CHARSET = 186;
inline constexpr TFontCharset RUSSIAN_CHARSET = 204;
inline constexpr TFontCharset THAI_CHARSET = 222;
inline constexpr TFontCharset EASTEUROPE_CHARSET = 238;
inline constexpr TFontCharset OEM_CHARSET = 255;

/// The value of a character-set name (`DEFAULT_CHARSET`, `GB2312_CHARSET`, ...).
std::optional<std::int64_t> IdentToCharset(std::string_view ident);
std::optional<std::string> CharsetToIdent(std::int64_t charset);

/// A font description: face name, size, style, colour and escapement.
///
/// Height follows the usual convention: negative is the character (em) height in
/// pixels, positive the cell height (em plus internal leading). Size is in points
/// at 96 pixels per inch.
class TFont : public TPersistent {
    EMR_CLASS(TFont)
public:
    static constexpr int PixelsPerInch = 96;

    TFont() = default;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    /// Points: -Height * 72 / 96 rounded (a positive Height gives a negative size).
    int Size() const;
    void SetSize(int points);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    /// Escapement in tenths of a degree, counter-clockwise: 900 runs upward,
    /// -900 (or 2700) downward. The text is turned about its top-left corner.
    int Orientation() const { return orientation_; }
    void SetOrientation(int tenthsOfDegree);

    void Assign(const TPersistent* source) override;
    /// True when every property but the colour is the same (the same glyphs).
    bool SameFace(const TFont& other) const;

    TNotifyEvent OnChange;

private:
    void Changed();

    std::string name_ = "Tahoma";
    int height_ = -11;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    int orientation_ = 0;
};

} // namespace emr
