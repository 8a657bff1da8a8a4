#include "framework/graphics/TextEngine.h"

#include <fontconfig/fontconfig.h>
#include <hb-ot.h>
#include <hb.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <unordered_map>

#include "framework/core/Exception.h"
#include "framework/graphics/ShapedLine.h"

#ifndef EMR_FONT_DIRS
#define EMR_FONT_DIRS "/usr/share/fonts/truetype/liberation2:/usr/share/fonts/truetype/wqy"
#endif

namespace emr {

namespace {

constexpr const char* kSans = "Liberation Sans";
constexpr const char* kSerif = "Liberation Serif";
constexpr const char* kMono = "Liberation Mono";
constexpr const char* kCjk = "WenQuanYi Micro Hei";
// The interface faces were laid out with CJK text from a linked font whose
// ideographs advance 13 pixels at an 11-pixel em.
constexpr double kLinkedCjkScale = 13.0 / 11.0;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

struct FamilyRule {
    const char* Primary;
    const char* Fallback;
    double Scale;
};

/// Strong aliases: every face name a layout may ask for maps to an installed family.
FamilyRule RuleFor(const std::string& name) {
    static const char* const kInterface[] = {"ms sans serif", "ms shell dlg", "ms shell dlg 2",
                                             "tahoma",        "segoe ui",     "microsoft sans serif"};
    static const char* const kChinese[] = {"宋体",    "simsun",   "新宋体",
                                           "nsimsun", "微软雅黑", "microsoft yahei",
                                           "黑体",    "simhei",   "wenquanyi micro hei"};
    static const char* const kSerifNames[] = {"times new roman", "times", "liberation serif", "georgia"};
    static const char* const kMonoNames[] = {"courier new", "courier", "liberation mono", "lucida console",
                                             "consolas"};
    for (const char* n : kInterface)
        if (name == n) return {kSans, kCjk, kLinkedCjkScale};
    for (const char* n : kChinese)
        if (name == n) return {kCjk, nullptr, 1.0};
    for (const char* n : kSerifNames)
        if (name == n) return {kSerif, kCjk, 1.0};
    for (const char* n : kMonoNames)
        if (name == n) return {kMono, kCjk, 1.0};
    return {kSans, kCjk, 1.0};
}

int CeilPixels(int pangoUnits) {
    return static_cast<int>(std::ceil(pangoUnits / double(PANGO_SCALE) - 1e-6));
}
int RoundPixels(int pangoUnits) {
    return static_cast<int>(std::lround(pangoUnits / double(PANGO_SCALE)));
}

/// A shaped line's ink box in pixels, placed as in a layout whose top is the top
/// of the line, and that layout's baseline in whole pixels.
int InkInPixels(const TShapedLine& line, PangoRectangle& ink) {
    PangoRectangle logical;
    line.Extents(&ink, &logical);
    const int baseline = -logical.y;
    ink.y += baseline;
    pango_extents_to_pixels(&ink, nullptr);
    return baseline / PANGO_SCALE;
}

/// A face's vertical metrics in Pango units (underline position below the
/// baseline is negative, as in the font).
struct TFaceMetrics {
    int Ascent = 0;
    int Descent = 0;
    int UnderlinePosition = 0;
    int UnderlineThickness = 0;
    int StrikePosition = 0;
    int StrikeThickness = 0;
};

/// Reads the metrics straight from the font's tables. Pango's own font metrics
/// also lay out a sample text to estimate character widths, which loads the
/// fallback face and most of its outlines, and they take the underline from an
/// index of every glyph name; neither is needed here, and at start-up they cost
/// millions of instructions and megabytes of a large CJK font.
TFaceMetrics MetricsOf(PangoFont* font) {
    TFaceMetrics m;
    hb_font_t* hb = pango_font_get_hb_font(font);
    hb_font_extents_t extents{};
    hb_font_get_extents_for_direction(hb, HB_DIRECTION_LTR, &extents);
    m.Ascent = extents.ascender;
    m.Descent = -extents.descender;
    hb_position_t position = 0;
    hb_ot_metrics_get_position_with_fallback(hb, HB_OT_METRICS_TAG_STRIKEOUT_OFFSET, &position);
    m.StrikePosition = position;
    hb_ot_metrics_get_position_with_fallback(hb, HB_OT_METRICS_TAG_STRIKEOUT_SIZE, &position);
    m.StrikeThickness = position;
    // The underline from the 'post' header (position and thickness are its third
    // and fourth 16-bit fields), scaled like the other metrics.
    int xScale = 0, yScale = 0;
    hb_font_get_scale(hb, &xScale, &yScale);
    hb_face_t* face = hb_font_get_face(hb);
    const double scale = static_cast<double>(yScale) / std::max(1u, hb_face_get_upem(face));
    hb_blob_t* post = hb_face_reference_table(face, HB_TAG('p', 'o', 's', 't'));
    unsigned length = 0;
    const auto* data = reinterpret_cast<const unsigned char*>(hb_blob_get_data(post, &length));
    auto field = [data](unsigned at) { return static_cast<std::int16_t>(data[at] << 8 | data[at + 1]); };
    if (length >= 12) {
        m.UnderlinePosition = static_cast<int>(std::lround(field(8) * scale));
        m.UnderlineThickness = static_cast<int>(std::lround(field(10) * scale));
    } else {
        // No 'post' table: a thin line just below the baseline.
        m.UnderlineThickness = PANGO_SCALE;
        m.UnderlinePosition = -PANGO_SCALE;
    }
    hb_blob_destroy(post);
    return m;
}

/// Text as valid UTF-8 (invalid bytes become U+FFFD).
std::string ValidUtf8(std::string_view text) {
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return std::string(text);
    gchar* fixed = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string out(fixed);
    g_free(fixed);
    return out;
}

} // namespace

struct TTextEngine::Impl {
    struct Face {
        TFaceResolution Resolution;
        PangoFontDescription* Desc = nullptr;
        PangoFont* Primary = nullptr;
        TTextMetrics Metrics;
        int Drop = 0; // pixels fallback runs are lowered by
        ~Face() {
            if (Primary) g_object_unref(Primary);
            if (Desc) pango_font_description_free(Desc);
        }
    };
    struct Line {
        TShapedLine Shaped;
        int Width = 0;
    };

    FcConfig* Config = nullptr;
    PangoFontMap* FontMap = nullptr;
    PangoContext* Context = nullptr;
    std::unordered_map<std::string, std::unique_ptr<Face>> Faces;
    std::unordered_map<std::string, Line> Lines;
    std::unordered_map<std::string, std::shared_ptr<const TTextMask>> Masks;

    static constexpr std::size_t kMaxLines = 4096;
    static constexpr std::size_t kMaxMasks = 1024;

    // Painting asks for the same font many times in a row: the last face found is
    // kept with the font settings that led to it, so no key is built for those.
    const Face* lastFace = nullptr;
    std::string lastName;
    int lastHeight = 0;
    TFontStyles lastStyle = 0;
    // Lookup keys are assembled here; its capacity is reused from call to call.
    std::string scratch;

    /// The line and mask caches are keyed by face and text: a face lives as long as
    /// the engine, so its address names it.
    std::string& FaceTextKey(const Face& face, std::string_view text) {
        const Face* address = &face;
        scratch.assign(reinterpret_cast<const char*>(&address), sizeof address);
        scratch += '\x1f';
        scratch.append(text);
        return scratch;
    }

    Impl() {
        Config = FcConfigCreate();
        // The only configuration is the system's font cache folder, so that fonts
        // whose folder fc-cache has indexed load from the cache instead of being
        // scanned. Nothing else of the system's configuration is read, and no cache
        // is written; folders without a valid cache are scanned as before.
        static const char kCacheOnly[] =
            "<?xml version=\"1.0\"?><fontconfig><cachedir>/var/cache/fontconfig</cachedir></fontconfig>";
        FcConfigParseAndLoadFromMemory(Config, reinterpret_cast<const FcChar8*>(kCacheOnly), FcFalse);
        FcConfigBuildFonts(Config);
        std::string dirs = EMR_FONT_DIRS;
        std::size_t start = 0;
        while (start <= dirs.size()) {
            std::size_t end = dirs.find(':', start);
            if (end == std::string::npos) end = dirs.size();
            std::string dir = dirs.substr(start, end - start);
            if (!dir.empty() && std::filesystem::is_directory(dir))
                FcConfigAppFontAddDir(Config, reinterpret_cast<const FcChar8*>(dir.c_str()));
            start = end + 1;
        }
        // Made the process's current configuration before anything initialises the
        // library, so that the system's configuration files are never parsed.
        FcConfigSetCurrent(Config);
        FontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        if (!FontMap) throw Exception("Text: no FreeType font map");
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(FontMap), Config);
        Context = pango_font_map_create_context(FontMap);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
        pango_cairo_context_set_font_options(Context, options);
        cairo_font_options_destroy(options);
        pango_cairo_context_set_resolution(Context, 96.0);
        pango_context_set_round_glyph_positions(Context, TRUE);
    }

    ~Impl() {
        ClearLines();
        Faces.clear();
        if (Context) g_object_unref(Context);
        if (FontMap) g_object_unref(FontMap);
        if (Config) FcConfigDestroy(Config);
    }

    void ClearLines() { Lines.clear(); }

    PangoFontDescription* MakeDesc(const char* family, double emPixels, TFontStyles style) {
        PangoFontDescription* desc = pango_font_description_new();
        pango_font_description_set_family(desc, family);
        pango_font_description_set_absolute_size(desc, emPixels * PANGO_SCALE);
        pango_font_description_set_weight(desc, (style & fsBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_font_description_set_style(desc, (style & fsItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        return desc;
    }

    /// Line height (ascent plus descent, whole pixels) of a family at an em size.
    double LineHeightAt(const char* family, double emPixels, TFontStyles style) {
        PangoFontDescription* desc = MakeDesc(family, emPixels, style);
        PangoFont* font = pango_font_map_load_font(FontMap, Context, desc);
        double height = emPixels;
        if (font) {
            const TFaceMetrics m = MetricsOf(font);
            height = CeilPixels(m.Ascent) + CeilPixels(m.Descent);
            g_object_unref(font);
        }
        pango_font_description_free(desc);
        return std::max(height, 1.0);
    }

    /// How far to lower fallback runs so that a full-height ideograph stays inside the
    /// primary face's line (the fallback face is taller than the line it joins).
    int FallbackDrop(const Face& face) {
        const TFaceResolution& res = face.Resolution;
        PangoFontDescription* desc = MakeDesc(res.Fallback.c_str(), res.EmPixels * res.FallbackScale, 0);
        const TShapedLine ideograph(Context, desc, "\xE5\x9B\xBD",
                                    nullptr); // U+56FD, a full-height ideograph
        pango_font_description_free(desc);
        PangoRectangle ink;
        const int baseline = InkInPixels(ideograph, ink);
        int top = ink.y - baseline + face.Metrics.Ascent;
        int bottom = top + ink.height;
        if (top >= 0) return 0;
        return std::max(0, std::min(-top, face.Metrics.Height - bottom));
    }

    static std::string FaceKey(const TFont& font) {
        return Lower(font.Name()) + '|' + std::to_string(font.Height()) + '|' +
               std::to_string(font.Style() & (fsBold | fsItalic));
    }

    Face& FaceFor(const TFont& font) {
        const TFontStyles style = font.Style() & (fsBold | fsItalic);
        if (lastFace && font.Height() == lastHeight && style == lastStyle && font.Name() == lastName)
            return const_cast<Face&>(*lastFace);
        Face& face = FindOrLoadFace(font);
        lastFace = &face;
        lastName = font.Name();
        lastHeight = font.Height();
        lastStyle = style;
        return face;
    }

    Face& FindOrLoadFace(const TFont& font) {
        std::string key = FaceKey(font);
        auto it = Faces.find(key);
        if (it != Faces.end()) return *it->second;

        auto face = std::make_unique<Face>();
        FamilyRule rule = RuleFor(Lower(font.Name()));
        TFaceResolution& res = face->Resolution;
        res.Primary = rule.Primary;
        res.Fallback = rule.Fallback ? rule.Fallback : "";
        res.FallbackScale = rule.Scale;
        int height = font.Height();
        if (height < 0) {
            res.EmPixels = -height;
        } else if (height > 0) {
            // A cell height: the largest em whose line fits in it.
            double em = std::ceil(height * 1000.0 / LineHeightAt(rule.Primary, 1000, font.Style()));
            while (em > 1 && LineHeightAt(rule.Primary, em, font.Style()) > height)
                --em;
            res.EmPixels = std::max(1.0, em);
        } else {
            res.EmPixels = 11;
        }
        face->Desc = MakeDesc(rule.Primary, res.EmPixels, font.Style());
        face->Primary = pango_font_map_load_font(FontMap, Context, face->Desc);
        if (!face->Primary) throw Exception("Text: no font for " + font.Name());

        const TFaceMetrics m = MetricsOf(face->Primary);
        TTextMetrics& tm = face->Metrics;
        tm.Ascent = CeilPixels(m.Ascent);
        tm.Descent = CeilPixels(m.Descent);
        tm.Height = tm.Ascent + tm.Descent;
        tm.UnderlineThickness = std::max(1, RoundPixels(m.UnderlineThickness));
        tm.UnderlineTop = std::clamp(tm.Ascent + std::max(1, RoundPixels(-m.UnderlinePosition)), 0,
                                     std::max(0, tm.Height - tm.UnderlineThickness));
        tm.StrikeThickness = std::max(1, RoundPixels(m.StrikeThickness));
        tm.StrikeTop = std::clamp(tm.Ascent - RoundPixels(m.StrikePosition), 0, std::max(0, tm.Height - 1));
        if (!res.Fallback.empty()) face->Drop = FallbackDrop(*face);

        Face& ref = *face;
        Faces.emplace(std::move(key), std::move(face));
        return ref;
    }

    Line& LineFor(const TFont& font, std::string_view text) {
        Face& face = FaceFor(font);
        auto it = Lines.find(FaceTextKey(face, text));
        if (it != Lines.end()) return it->second;
        std::string key = scratch;
        if (Lines.size() >= kMaxLines) ClearLines();

        std::string utf8 = ValidUtf8(text);
        const TFaceResolution& res = face.Resolution;
        PangoAttrList* attrs = nullptr;
        if (!res.Fallback.empty()) {
            // Characters the primary face lacks come from the fallback family.
            attrs = pango_attr_list_new();
            const char* begin = utf8.c_str();
            const char* p = begin;
            const char* end = begin + utf8.size();
            while (p < end) {
                const char* runStart = p;
                gunichar ch = g_utf8_get_char(p);
                bool covered = ch < 0x20 || pango_font_has_char(face.Primary, ch);
                if (covered) {
                    p = g_utf8_next_char(p);
                    continue;
                }
                while (p < end) {
                    gunichar c = g_utf8_get_char(p);
                    if (c >= 0x20 && pango_font_has_char(face.Primary, c)) break;
                    p = g_utf8_next_char(p);
                }
                auto startIndex = static_cast<guint>(runStart - begin);
                auto endIndex = static_cast<guint>(p - begin);
                PangoAttribute* family = pango_attr_family_new(res.Fallback.c_str());
                family->start_index = startIndex;
                family->end_index = endIndex;
                pango_attr_list_insert(attrs, family);
                PangoAttribute* size = pango_attr_size_new_absolute(
                    static_cast<int>(std::lround(res.EmPixels * res.FallbackScale * PANGO_SCALE)));
                size->start_index = startIndex;
                size->end_index = endIndex;
                pango_attr_list_insert(attrs, size);
                if (face.Drop) {
                    PangoAttribute* rise = pango_attr_rise_new(-face.Drop * PANGO_SCALE);
                    rise->start_index = startIndex;
                    rise->end_index = endIndex;
                    pango_attr_list_insert(attrs, rise);
                }
            }
        }
        TShapedLine shaped(Context, face.Desc, utf8, attrs);
        if (attrs) pango_attr_list_unref(attrs);
        const int width = RoundPixels(shaped.Width());
        return Lines.emplace(std::move(key), Line{std::move(shaped), width}).first->second;
    }
};

TTextEngine& TTextEngine::Instance() {
    static TTextEngine engine;
    return engine;
}

TTextEngine::TTextEngine() : impl_(std::make_unique<Impl>()) {}

TTextEngine::~TTextEngine() = default;

TFaceResolution TTextEngine::Resolve(const TFont& font) {
    return impl_->FaceFor(font).Resolution;
}

const TTextMetrics& TTextEngine::Metrics(const TFont& font) {
    return impl_->FaceFor(font).Metrics;
}

int TTextEngine::Width(const TFont& font, std::string_view text) {
    if (text.empty()) return 0;
    return impl_->LineFor(font, text).Width;
}

void TTextEngine::CharBounds(const TFont& font, std::string_view text, int byteOffset, int& x, int& width) {
    x = width = 0;
    if (text.empty() || byteOffset < 0 || static_cast<std::size_t>(byteOffset) >= text.size()) return;
    // Measure by prefixes so that the result matches what the text measures elsewhere.
    std::string valid = ValidUtf8(text);
    if (valid.size() != text.size()) return;
    const char* start = valid.c_str() + byteOffset;
    const char* next = g_utf8_next_char(start);
    x = Width(font, std::string_view(valid).substr(0, static_cast<std::size_t>(byteOffset)));
    int through =
        Width(font, std::string_view(valid).substr(0, static_cast<std::size_t>(next - valid.c_str())));
    width = through - x;
}

std::shared_ptr<const TTextMask> TTextEngine::Render(const TFont& font, std::string_view text,
                                                     int hotkeyOffset, int hotkeyLength) {
    Impl::Face& face = impl_->FaceFor(font);
    // Underline and strike-out are drawn into the mask, the hot key's underline too.
    const int extra[] = {font.Style(), hotkeyOffset, hotkeyLength};
    std::string& lookup = impl_->FaceTextKey(face, text);
    lookup.append(reinterpret_cast<const char*>(extra), sizeof extra);
    auto found = impl_->Masks.find(lookup);
    if (found != impl_->Masks.end()) return found->second;
    std::string key = lookup;
    if (impl_->Masks.size() >= Impl::kMaxMasks) impl_->Masks.clear();

    const TTextMetrics& tm = face.Metrics;
    // Measured first: measuring may trim the line cache.
    int hotX = 0, hotWidth = 0;
    if (hotkeyOffset >= 0 && hotkeyLength > 0) CharBounds(font, text, hotkeyOffset, hotX, hotWidth);
    Impl::Line& line = impl_->LineFor(font, text);
    PangoRectangle ink;
    const int baseline = InkInPixels(line.Shaped, ink);
    // Cell coordinates: the baseline lies at tm.Ascent.
    int inkTop = ink.y - baseline + tm.Ascent;
    int x0 = std::min(0, ink.x) - 1;
    int x1 = std::max(line.Width, ink.x + ink.width) + 1;
    int y0 = std::min(0, inkTop) - 1;
    int y1 = std::max(tm.Height, inkTop + ink.height) + 1;

    auto mask = std::make_shared<TTextMask>();
    mask->OffsetX = x0;
    mask->OffsetY = y0;
    mask->Width = x1 - x0;
    mask->Height = y1 - y0;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, mask->Width, mask->Height);
    cairo_t* cr = cairo_create(surface);
    cairo_translate(cr, -x0, -y0);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_move_to(cr, 0, tm.Ascent);
    line.Shaped.Show(cr);
    cairo_new_path(cr);
    if (font.Style() & fsUnderline)
        cairo_rectangle(cr, 0, tm.UnderlineTop, line.Width, tm.UnderlineThickness);
    if (font.Style() & fsStrikeOut) cairo_rectangle(cr, 0, tm.StrikeTop, line.Width, tm.StrikeThickness);
    if (hotWidth > 0) cairo_rectangle(cr, hotX, tm.UnderlineTop, hotWidth, tm.UnderlineThickness);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    mask->Alpha.resize(static_cast<std::size_t>(mask->Width) * mask->Height);
    for (int y = 0; y < mask->Height; ++y)
        std::memcpy(&mask->Alpha[static_cast<std::size_t>(y) * mask->Width],
                    data + static_cast<std::ptrdiff_t>(y) * stride, static_cast<std::size_t>(mask->Width));
    cairo_surface_destroy(surface);
    impl_->Masks.emplace(std::move(key), mask);
    return mask;
}

std::vector<std::string> TTextEngine::FamiliesUsed(const TFont& font, std::string_view text) {
    if (text.empty()) return {};
    return impl_->LineFor(font, text).Shaped.Families();
}

} // namespace emr
