#include "framework/graphics/FontFace.h"

#include <hb-ot.h>

#include <algorithm>
#include <cmath>

namespace emr {

namespace {

// 26.6 fixed point, as FreeType's metrics come.
int Floor26(FT_Pos v) {
    return static_cast<int>(v >> 6);
}
int Ceil26(FT_Pos v) {
    return static_cast<int>((v + 63) >> 6);
}

} // namespace

TFontFace::TFontFace(FT_Library library, hb_blob_t* data, unsigned index, double pixelSize)
    : pixelSize_(pixelSize) {
    unsigned length = 0;
    const char* bytes = hb_blob_get_data(data, &length);
    if (!bytes ||
        FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(bytes), static_cast<FT_Long>(length),
                           static_cast<FT_Long>(index), &face_) != 0) {
        face_ = nullptr;
        return;
    }
    // The size in 26.6 points at 72 dpi, that is in 1/64 pixels, rounded.
    const auto size64 = static_cast<FT_F26Dot6>(pixelSize * 64.0 + 0.5);
    if (FT_Set_Char_Size(face_, size64, size64, 0, 0) != 0) {
        FT_Done_Face(face_);
        face_ = nullptr;
        return;
    }
    family_ = face_->family_name ? face_->family_name : "";
    hbFace_ = hb_face_create(data, index);
    font_ = hb_font_create(hbFace_);
    const int scale = static_cast<int>(pixelSize * kTextUnits);
    hb_font_set_scale(font_, scale, scale);
}

TFontFace::~TFontFace() {
    if (font_) hb_font_destroy(font_);
    if (hbFace_) hb_face_destroy(hbFace_);
    if (face_) FT_Done_Face(face_);
}

bool TFontFace::Bold() const {
    return face_ && (face_->style_flags & FT_STYLE_FLAG_BOLD);
}

bool TFontFace::Italic() const {
    return face_ && (face_->style_flags & FT_STYLE_FLAG_ITALIC);
}

bool TFontFace::HasChar(char32_t ch) const {
    hb_codepoint_t glyph = 0;
    return hb_font_get_nominal_glyph(font_, ch, &glyph) && glyph != 0;
}

TFaceMetrics TFontFace::Metrics() const {
    TFaceMetrics m;
    hb_font_extents_t extents{};
    hb_font_get_extents_for_direction(font_, HB_DIRECTION_LTR, &extents);
    m.Ascent = extents.ascender;
    m.Descent = -extents.descender;
    hb_position_t position = 0;
    hb_ot_metrics_get_position_with_fallback(font_, HB_OT_METRICS_TAG_STRIKEOUT_OFFSET, &position);
    m.StrikePosition = position;
    hb_ot_metrics_get_position_with_fallback(font_, HB_OT_METRICS_TAG_STRIKEOUT_SIZE, &position);
    m.StrikeThickness = position;
    // The underline from the 'post' header (position and thickness are its third
    // and fourth 16-bit fields), scaled like the other metrics.
    int xScale = 0, yScale = 0;
    hb_font_get_scale(font_, &xScale, &yScale);
    const double scale = static_cast<double>(yScale) / std::max(1u, hb_face_get_upem(hbFace_));
    hb_blob_t* post = hb_face_reference_table(hbFace_, HB_TAG('p', 'o', 's', 't'));
    unsigned length = 0;
    const auto* data = reinterpret_cast<const unsigned char*>(hb_blob_get_data(post, &length));
    auto field = [data](unsigned at) { return static_cast<std::int16_t>(data[at] << 8 | data[at + 1]); };
    if (length >= 12) {
        m.UnderlinePosition = static_cast<int>(std::lround(field(8) * scale));
        m.UnderlineThickness = static_cast<int>(std::lround(field(10) * scale));
    } else {
        // No 'post' table: a thin line just below the baseline.
        m.UnderlineThickness = kTextUnits;
        m.UnderlinePosition = -kTextUnits;
    }
    hb_blob_destroy(post);
    return m;
}

const TGlyphImage& TFontFace::Glyph(unsigned id) {
    auto found = glyphs_.find(id);
    if (found != glyphs_.end()) return found->second;
    TGlyphImage& image = glyphs_[id];
    // Hinted with the font's own instructions and rendered in 256 levels of grey.
    if (FT_Load_Glyph(face_, id, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) return image;
    const FT_Glyph_Metrics& m = face_->glyph->metrics;
    // The ink box as whole pixels around the hinted outline's box.
    image.InkLeft = Floor26(m.horiBearingX);
    image.InkTop = Floor26(-m.horiBearingY);
    image.InkRight = Ceil26(m.horiBearingX + m.width);
    image.InkBottom = Ceil26(-m.horiBearingY + m.height);
    if (!image.HasInk() || face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return image;
    if (FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL) != 0) return image;
    const FT_Bitmap& bitmap = face_->glyph->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return image;
    image.Left = face_->glyph->bitmap_left;
    image.Top = face_->glyph->bitmap_top;
    image.Width = static_cast<int>(bitmap.width);
    image.Rows = static_cast<int>(bitmap.rows);
    image.Coverage.resize(static_cast<std::size_t>(image.Width) * image.Rows);
    for (int y = 0; y < image.Rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        std::copy(row, row + image.Width,
                  image.Coverage.begin() + static_cast<std::ptrdiff_t>(y) * image.Width);
    }
    return image;
}

} // namespace emr
