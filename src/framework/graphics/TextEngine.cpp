#include "framework/graphics/TextEngine.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "framework/core/AsciiCase.h"
#include "framework/core/Exception.h"
#include "framework/core/Utf8.h"
#include "framework/graphics/FontLibrary.h"
#include "framework/graphics/ShapedLine.h"

namespace emr {

namespace {

constexpr const char* kSans = "Liberation Sans";
constexpr const char* kSerif = "Liberation Serif";
constexpr const char* kMono = "Liberation Mono";
constexpr const char* kCjk = "WenQuanYi Micro Hei";
// The interface faces were laid out with CJK text from a linked font whose
// ideographs advance 13 pixels at an 11-pixel em.
constexpr double kLinkedCjkScale = 13.0 / 11.0;

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

/// Marks and joiners belong to the character before them: shaped apart from it,
/// in another face, a vowel sign or a conjunct would not form.
bool JoinsPrevious(char32_t ch) {
    constexpr char32_t kFirstMarkOrFormat = 0xAD; // the soft hyphen; Latin-1 text never asks further
    if (ch < kFirstMarkOrFormat) return false;
    switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), ch)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_FORMAT:
        return true;
    default:
        return false;
    }
}

int CeilPixels(int units) {
    return static_cast<int>(std::ceil(units / double(kTextUnits) - 1e-6));
}
int RoundPixels(int units) {
    return static_cast<int>(std::lround(units / double(kTextUnits)));
}

} // namespace

struct TTextEngine::Impl {
    struct Face {
        TFaceResolution Resolution;
        TFontFace* Primary = nullptr;
        TFontFace* Fallback = nullptr; // null without a fallback family
        TTextMetrics Metrics;
        int Drop = 0; // pixels fallback runs are lowered by
    };
    struct Line {
        TShapedLine Shaped;
        int Width = 0;
    };

    TFontLibrary Fonts{TFontLibrary::ProgramFolders()};
    std::unordered_map<std::string, std::unique_ptr<Face>> Faces;
    std::unordered_map<std::string, Line> Lines;
    std::unordered_map<std::string, std::shared_ptr<const TTextMask>> Masks;

    // Captions in scripts the program's own faces lack still show, from
    // whatever installed font has them.
    Impl() { Fonts.SetSystemFallback(true); }

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

    TFontFace* Load(const char* family, double emPixels, TFontStyles style) {
        return Fonts.Face(family, (style & fsBold) != 0, (style & fsItalic) != 0, emPixels);
    }

    /// Line height (ascent plus descent, whole pixels) of a family at an em size.
    double LineHeightAt(const char* family, double emPixels, TFontStyles style) {
        double height = emPixels;
        if (TFontFace* face = Load(family, emPixels, style)) {
            const TFaceMetrics m = face->Metrics();
            height = CeilPixels(m.Ascent) + CeilPixels(m.Descent);
        }
        return std::max(height, 1.0);
    }

    /// How far to lower fallback runs so that a full-height ideograph stays inside the
    /// primary face's line (the fallback face is taller than the line it joins).
    int FallbackDrop(const Face& face) {
        const TFaceResolution& res = face.Resolution;
        // The regular face, at the size cut (not rounded) to whole text units.
        TFontFace* fallback = Load(res.Fallback.c_str(),
                                   std::trunc(res.EmPixels * res.FallbackScale * kTextUnits) / kTextUnits, 0);
        if (!fallback) return 0;
        const std::string ideograph = "\xE5\x9B\xBD"; // U+56FD, a full-height ideograph
        const TShapedLine line(ideograph, {{0, ideograph.size(), fallback, 0}});
        int left = 0, inkTop = 0, right = 0, inkBottom = 0;
        if (!line.InkBox(left, inkTop, right, inkBottom)) return 0;
        const int top = inkTop + face.Metrics.Ascent;
        const int bottom = inkBottom + face.Metrics.Ascent;
        if (top >= 0) return 0;
        return std::max(0, std::min(-top, face.Metrics.Height - bottom));
    }

    static std::string FaceKey(const TFont& font) {
        return AsciiLower(font.Name()) + '|' + std::to_string(font.Height()) + '|' +
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
        FamilyRule rule = RuleFor(AsciiLower(font.Name()));
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
        face->Primary = Load(rule.Primary, res.EmPixels, font.Style());
        if (!face->Primary) throw Exception("Text: no font for " + font.Name());
        if (!res.Fallback.empty()) {
            // Sized to whole text units, as a size attribute holds it.
            const double size =
                std::lround(res.EmPixels * res.FallbackScale * kTextUnits) / double(kTextUnits);
            face->Fallback = Load(rule.Fallback, size, font.Style());
        }

        const TFaceMetrics m = face->Primary->Metrics();
        TTextMetrics& tm = face->Metrics;
        tm.Ascent = CeilPixels(m.Ascent);
        tm.Descent = CeilPixels(m.Descent);
        tm.Height = tm.Ascent + tm.Descent;
        tm.UnderlineThickness = std::max(1, RoundPixels(m.UnderlineThickness));
        tm.UnderlineTop = std::clamp(tm.Ascent + std::max(1, RoundPixels(-m.UnderlinePosition)), 0,
                                     std::max(0, tm.Height - tm.UnderlineThickness));
        tm.StrikeThickness = std::max(1, RoundPixels(m.StrikeThickness));
        tm.StrikeTop = std::clamp(tm.Ascent - RoundPixels(m.StrikePosition), 0, std::max(0, tm.Height - 1));
        if (face->Fallback) face->Drop = FallbackDrop(*face);

        Face& ref = *face;
        Faces.emplace(std::move(key), std::move(face));
        return ref;
    }

    Line& LineFor(const TFont& font, std::string_view text) {
        Face& face = FaceFor(font);
        auto it = Lines.find(FaceTextKey(face, text));
        if (it != Lines.end()) return it->second;
        std::string key = scratch;
        if (Lines.size() >= kMaxLines) Lines.clear();

        const std::string utf8 = ValidUtf8(text);
        // Characters the primary face lacks come from the fallback face, lowered.
        std::vector<TTextSpan> spans;
        for (std::size_t at = 0; at < utf8.size();) {
            const std::size_t start = at;
            const char32_t ch = NextUtf8(utf8, at);
            if (!spans.empty() && JoinsPrevious(ch) && spans.back().Face->HasChar(ch)) {
                spans.back().End = at;
                continue;
            }
            const bool primary = !face.Fallback || ch < 0x20 || face.Primary->HasChar(ch);
            TFontFace* chosen = primary ? face.Primary : face.Fallback;
            // A character neither face has comes from any other face of the
            // folders that has it, else it shows as the missing-glyph box.
            if (ch >= 0x20 && !chosen->HasChar(ch))
                if (TFontFace* other = Fonts.Covering(ch, font.Style() & fsBold, font.Style() & fsItalic,
                                                      chosen->PixelSize()))
                    chosen = other;
            const int drop = primary ? 0 : face.Drop;
            if (!spans.empty() && spans.back().Face == chosen && spans.back().Drop == drop) {
                spans.back().End = at;
                continue;
            }
            spans.push_back({start, at, chosen, drop});
        }
        TShapedLine shaped(utf8, spans);
        const int width = shaped.Width();
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
    if (ValidUtf8(text) != text) return;
    std::size_t next = static_cast<std::size_t>(byteOffset);
    NextUtf8(text, next);
    x = Width(font, text.substr(0, static_cast<std::size_t>(byteOffset)));
    width = Width(font, text.substr(0, next)) - x;
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
    int inkLeft = 0, inkTop = 0, inkRight = 0, inkBottom = 0;
    line.Shaped.InkBox(inkLeft, inkTop, inkRight, inkBottom);
    // Cell coordinates: the baseline lies at tm.Ascent.
    int x0 = std::min(0, inkLeft) - 1;
    int x1 = std::max(line.Width, inkRight) + 1;
    int y0 = std::min(0, inkTop + tm.Ascent) - 1;
    int y1 = std::max(tm.Height, inkBottom + tm.Ascent) + 1;

    auto mask = std::make_shared<TTextMask>();
    mask->OffsetX = x0;
    mask->OffsetY = y0;
    mask->Width = x1 - x0;
    mask->Height = y1 - y0;
    mask->Alpha.assign(static_cast<std::size_t>(mask->Width) * mask->Height, 0);
    line.Shaped.Draw(mask->Alpha.data(), mask->Width, mask->Width, mask->Height, -x0, tm.Ascent - y0);
    // Underline, strike-out and the hot key's underline cover whole pixels.
    auto fill = [&](int x, int y, int width, int height) {
        for (int row = std::max(y, y0); row < std::min(y + height, y1); ++row)
            for (int col = std::max(x, x0); col < std::min(x + width, x1); ++col)
                mask->Alpha[static_cast<std::size_t>(row - y0) * mask->Width + (col - x0)] = 255;
    };
    if (font.Style() & fsUnderline) fill(0, tm.UnderlineTop, line.Width, tm.UnderlineThickness);
    if (font.Style() & fsStrikeOut) fill(0, tm.StrikeTop, line.Width, tm.StrikeThickness);
    if (hotWidth > 0) fill(hotX, tm.UnderlineTop, hotWidth, tm.UnderlineThickness);
    impl_->Masks.emplace(std::move(key), mask);
    return mask;
}

std::vector<std::string> TTextEngine::FamiliesUsed(const TFont& font, std::string_view text) {
    if (text.empty()) return {};
    return impl_->LineFor(font, text).Shaped.Families();
}

int TTextEngine::MissingGlyphs(const TFont& font, std::string_view text) {
    if (text.empty()) return 0;
    return impl_->LineFor(font, text).Shaped.MissingGlyphs();
}

} // namespace emr
