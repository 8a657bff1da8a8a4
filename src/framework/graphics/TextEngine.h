#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/graphics/Font.h"

namespace emr {

/// Vertical measures of a font in whole pixels, from its primary face.
struct TTextMetrics {
    int Ascent = 0;
    int Descent = 0;
    int Height = 0;       // Ascent + Descent: the line height
    int UnderlineTop = 0; // row of the underline below the cell top
    int UnderlineThickness = 1;
    int StrikeTop = 0;
    int StrikeThickness = 1;
};

/// Coverage of one line of text: Alpha holds Width x Height bytes; the mask's top-left
/// lies at (OffsetX, OffsetY) from the top-left of the text cell (glyphs may overhang).
struct TTextMask {
    int Width = 0;
    int Height = 0;
    int OffsetX = 0;
    int OffsetY = 0;
    std::vector<std::uint8_t> Alpha;
};

/// How a font description resolves to installed faces.
struct TFaceResolution {
    std::string Primary;  // family of the primary face
    std::string Fallback; // family for characters the primary face lacks (may be empty)
    double FallbackScale = 1.0;
    double EmPixels = 11; // em height of the primary face in pixels
};

/// Text measurement and rasterisation: lines shaped with HarfBuzz and drawn with
/// FreeType's hinting and grey-level rasteriser, from the program's own font
/// folders, so text measures the same on every machine; only a character none
/// of those faces has is looked for among the machine's installed fonts. Faces,
/// shaped lines and rendered lines are cached.
class TTextEngine {
public:
    static TTextEngine& Instance();

    TFaceResolution Resolve(const TFont& font);
    const TTextMetrics& Metrics(const TFont& font);
    /// Advance width of one line of text.
    int Width(const TFont& font, std::string_view text);
    /// Distance from the line start to the character at `byteOffset`, and its width.
    void CharBounds(const TFont& font, std::string_view text, int byteOffset, int& x, int& width);
    /// Renders one line (unrotated); the font's underline and strike-out styles and an
    /// optional hot-key underline (byte range) are part of the mask.
    std::shared_ptr<const TTextMask> Render(const TFont& font, std::string_view text, int hotkeyOffset = -1,
                                            int hotkeyLength = 0);
    /// The families that draw the text's characters, for diagnostics ("Liberation Sans, WenQuanYi Micro
    /// Hei").
    std::vector<std::string> FamiliesUsed(const TFont& font, std::string_view text);
    /// How many of the line's glyphs are the missing-glyph box (no face has the character).
    int MissingGlyphs(const TFont& font, std::string_view text);

    ~TTextEngine();
    TTextEngine(const TTextEngine&) = delete;
    TTextEngine& operator=(const TTextEngine&) = delete;

private:
    TTextEngine();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace emr
