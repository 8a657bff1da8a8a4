#pragma once
// One font file's face at one pixel size: HarfBuzz shapes with it, FreeType hints
// and rasterises its glyphs.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace emr {

/// Text units: 1/1024 of a pixel, the unit shaping works in.
inline constexpr int kTextUnits = 1024;

/// A hinted glyph: its box as whole pixels around the origin (y grows downward),
/// and its coverage with the bitmap's top-left at (Left, -Top) from the origin.
struct TGlyphImage {
    int InkLeft = 0, InkTop = 0, InkRight = 0, InkBottom = 0;
    int Left = 0, Top = 0, Width = 0, Rows = 0;
    std::vector<std::uint8_t> Coverage; // Width x Rows bytes

    bool HasInk() const { return InkRight > InkLeft && InkBottom > InkTop; }
};

/// A face's vertical metrics in text units (underline position below the
/// baseline is negative, as in the font).
struct TFaceMetrics {
    int Ascent = 0;
    int Descent = 0;
    int UnderlinePosition = 0;
    int UnderlineThickness = 0;
    int StrikePosition = 0;
    int StrikeThickness = 0;
};

class TFontFace {
public:
    /// `data` holds the whole font file (the face keeps a reference); `index`
    /// picks the face of a collection. Valid() tells whether it loaded.
    TFontFace(FT_Library library, hb_blob_t* data, unsigned index, double pixelSize);
    ~TFontFace();
    TFontFace(const TFontFace&) = delete;
    TFontFace& operator=(const TFontFace&) = delete;

    bool Valid() const { return face_ != nullptr; }
    const std::string& Family() const { return family_; }
    bool Bold() const;
    bool Italic() const;
    double PixelSize() const { return pixelSize_; }

    /// The shaping font, scaled to text units per pixel.
    hb_font_t* Shaper() const { return font_; }
    bool HasChar(char32_t ch) const;
    TFaceMetrics Metrics() const;
    /// The hinted image of glyph `id` (cached).
    const TGlyphImage& Glyph(unsigned id);

private:
    FT_Face face_ = nullptr;
    hb_face_t* hbFace_ = nullptr;
    hb_font_t* font_ = nullptr;
    std::string family_;
    double pixelSize_ = 0;
    std::unordered_map<unsigned, TGlyphImage> glyphs_;
};

} // namespace emr
