// Text through GDI: faces chosen by the same rules as on Linux, measured from
// the fonts' own tables, and rasterised glyph by glyph into coverage masks that
// the canvas blends as it blends every other text.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>

#include "framework/core/AsciiCase.h"
#include "framework/core/Exception.h"
#include "framework/graphics/TextEngine.h"

// Last: the system headers' macros must not rename the framework's names.
#include "framework/graphics/win32/GdiApi.h"

namespace emr {

namespace {

// The faces the program prefers are the ones its Linux build uses, so that text
// measures the same where they are installed; the face asked for, and the
// system's usual faces, stand in where they are not.
constexpr const wchar_t* kSans[] = {L"Liberation Sans", L"Tahoma", L"Arial"};
constexpr const wchar_t* kSerif[] = {L"Liberation Serif", L"Times New Roman"};
constexpr const wchar_t* kMono[] = {L"Liberation Mono", L"Courier New"};
constexpr const wchar_t* kCjk[] = {L"WenQuanYi Micro Hei", L"Microsoft YaHei", L"SimSun", L"NSimSun"};
// The interface faces were laid out with CJK text from a linked font whose
// ideographs advance 13 pixels at an 11-pixel em.
constexpr double kLinkedCjkScale = 13.0 / 11.0;

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(0, n)), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(0, n)), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                            nullptr);
    return out;
}

enum class TFamilyKind { Interface, Chinese, Serif, Mono, Other };

TFamilyKind KindOf(const std::string& name) {
    static const char* const kInterface[] = {"ms sans serif", "ms shell dlg", "ms shell dlg 2",
                                             "tahoma",        "segoe ui",     "microsoft sans serif"};
    static const char* const kChinese[] = {"宋体",    "simsun",   "新宋体",
                                           "nsimsun", "微软雅黑", "microsoft yahei",
                                           "黑体",    "simhei",   "wenquanyi micro hei"};
    static const char* const kSerifNames[] = {"times new roman", "times", "liberation serif", "georgia"};
    static const char* const kMonoNames[] = {"courier new", "courier", "liberation mono", "lucida console",
                                             "consolas"};
    for (const char* n : kInterface)
        if (name == n) return TFamilyKind::Interface;
    for (const char* n : kChinese)
        if (name == n) return TFamilyKind::Chinese;
    for (const char* n : kSerifNames)
        if (name == n) return TFamilyKind::Serif;
    for (const char* n : kMonoNames)
        if (name == n) return TFamilyKind::Mono;
    return TFamilyKind::Other;
}

/// Ideographs, kana, hangul and full-width forms: the characters a UI face takes
/// from its CJK fallback even when the face itself has them, as font linking did.
bool IsCjk(unsigned cp) {
    return (cp >= 0x2E80 && cp <= 0x9FFF) || (cp >= 0xAC00 && cp <= 0xD7AF) ||
           (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F) ||
           (cp >= 0xFF00 && cp <= 0xFFEF) || cp >= 0x20000;
}

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM data) {
    *reinterpret_cast<bool*>(data) = true;
    return 0;
}

std::uint16_t Be16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

DWORD TableTag(const char (&tag)[5]) {
    return static_cast<DWORD>(static_cast<unsigned char>(tag[0])) |
           static_cast<DWORD>(static_cast<unsigned char>(tag[1])) << 8 |
           static_cast<DWORD>(static_cast<unsigned char>(tag[2])) << 16 |
           static_cast<DWORD>(static_cast<unsigned char>(tag[3])) << 24;
}

/// Decodes UTF-8 into code points; invalid bytes become U+FFFD.
std::vector<unsigned> CodePoints(std::string_view text) {
    std::vector<unsigned> out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        int length = b < 0x80             ? 1
                     : (b & 0xE0) == 0xC0 ? 2
                     : (b & 0xF0) == 0xE0 ? 3
                     : (b & 0xF8) == 0xF0 ? 4
                                          : 0;
        unsigned cp = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) valid = false;
            cp = cp << 6 | (c & 0x3F);
        }
        static const unsigned kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (cp < kMin[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))) valid = false;
        if (!valid) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

} // namespace

struct TTextEngine::Impl {
    struct Glyph {
        int Advance = 0;
        int Left = 0; // ink box from the pen position on the baseline
        int Top = 0;  // rows above the baseline to the ink's top
        int Width = 0;
        int Height = 0;
        std::vector<std::uint8_t> Alpha;
    };
    struct Font {
        HFONT Handle = nullptr;
        std::string Family;
        std::map<unsigned, Glyph> Glyphs;
    };
    struct Face {
        TFaceResolution Resolution;
        Font* Primary = nullptr;
        Font* Fallback = nullptr;
        bool CjkFromFallback = false;
        TTextMetrics Metrics;
        int Drop = 0; // pixels fallback glyphs are lowered by
    };
    /// One glyph of a line, placed.
    struct Placed {
        const Glyph* G;
        int X;
        int Baseline;
    };

    HDC Dc = nullptr;
    std::map<std::wstring, bool> Installed;
    std::map<std::wstring, std::unique_ptr<Font>> Fonts; // by face, em, style
    std::unordered_map<std::string, std::unique_ptr<Face>> Faces;
    std::unordered_map<std::string, std::shared_ptr<const TTextMask>> Masks;
    static constexpr std::size_t kMaxMasks = 1024;

    Impl() {
        Dc = CreateCompatibleDC(nullptr);
        if (!Dc) throw Exception("Text: no device context");
        SetMapMode(Dc, MM_TEXT);
    }
    ~Impl() {
        for (auto& [key, font] : Fonts)
            if (font->Handle) DeleteObject(font->Handle);
        if (Dc) DeleteDC(Dc);
    }

    bool IsInstalled(const std::wstring& family) {
        auto it = Installed.find(family);
        if (it != Installed.end()) return it->second;
        LOGFONTW lf{};
        lf.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(lf.lfFaceName, family.c_str(), LF_FACESIZE - 1);
        bool found = false;
        EnumFontFamiliesExW(Dc, &lf, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
        Installed[family] = found;
        return found;
    }

    std::wstring Pick(std::initializer_list<const wchar_t*> preferred, const std::wstring& asked,
                      const wchar_t* const* others, std::size_t otherCount) {
        for (const wchar_t* f : preferred)
            if (IsInstalled(f)) return f;
        if (!asked.empty() && IsInstalled(asked)) return asked;
        for (std::size_t i = 0; i < otherCount; ++i)
            if (IsInstalled(others[i])) return others[i];
        return asked.empty() ? std::wstring(L"Arial") : asked;
    }

    Font& FontFor(const std::wstring& family, int em, TFontStyles style) {
        const std::wstring key =
            family + L'|' + std::to_wstring(em) + L'|' + std::to_wstring(style & (fsBold | fsItalic));
        auto it = Fonts.find(key);
        if (it != Fonts.end()) return *it->second;
        LOGFONTW lf{};
        lf.lfHeight = -std::max(1, em);
        lf.lfWeight = (style & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style & fsItalic) ? TRUE : FALSE;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfOutPrecision = OUT_TT_PRECIS;
        lf.lfQuality = ANTIALIASED_QUALITY;
        wcsncpy(lf.lfFaceName, family.c_str(), LF_FACESIZE - 1);
        auto font = std::make_unique<Font>();
        font->Handle = CreateFontIndirectW(&lf);
        if (!font->Handle) throw Exception("Text: no font for " + Narrow(family));
        SelectObject(Dc, font->Handle);
        wchar_t name[LF_FACESIZE] = {};
        GetTextFaceW(Dc, LF_FACESIZE, name);
        font->Family = Narrow(name);
        return *Fonts.emplace(key, std::move(font)).first->second;
    }

    /// Ascent and descent in whole pixels, each rounded up from the font's own
    /// horizontal header, as the Linux build measures them.
    void VerticalMetrics(Font& font, int em, int& ascent, int& descent) {
        SelectObject(Dc, font.Handle);
        unsigned char head[54], hhea[36];
        if (GetFontData(Dc, TableTag("head"), 0, head, sizeof head) == sizeof head &&
            GetFontData(Dc, TableTag("hhea"), 0, hhea, sizeof hhea) == sizeof hhea) {
            const double upem = std::max<int>(1, Be16(head + 18));
            const auto asc = static_cast<std::int16_t>(Be16(hhea + 4));
            const auto desc = static_cast<std::int16_t>(Be16(hhea + 6));
            if (asc != 0 || desc != 0) {
                ascent = static_cast<int>(std::ceil(asc * em / upem - 1e-6));
                descent = static_cast<int>(std::ceil(-desc * em / upem - 1e-6));
                return;
            }
        }
        TEXTMETRICW tm{};
        GetTextMetricsW(Dc, &tm);
        ascent = tm.tmAscent;
        descent = tm.tmDescent;
    }

    int LineHeightAt(const std::wstring& family, int em, TFontStyles style) {
        int a = 0, d = 0;
        VerticalMetrics(FontFor(family, em, style), em, a, d);
        return std::max(1, a + d);
    }

    const Glyph& GlyphOf(Font& font, unsigned cp) {
        auto it = font.Glyphs.find(cp);
        if (it != font.Glyphs.end()) return it->second;
        Glyph g;
        SelectObject(Dc, font.Handle);
        WORD index = 0;
        if (cp < 0x10000) {
            const wchar_t ch = static_cast<wchar_t>(cp);
            GetGlyphIndicesW(Dc, &ch, 1, &index, 0);
        }
        GLYPHMETRICS gm{};
        const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        const DWORD size =
            GetGlyphOutlineW(Dc, index, GGO_GRAY8_BITMAP | GGO_GLYPH_INDEX, &gm, 0, nullptr, &identity);
        if (size != GDI_ERROR) {
            g.Advance = gm.gmCellIncX;
            if (size > 0) {
                std::vector<std::uint8_t> bits(size);
                GetGlyphOutlineW(Dc, index, GGO_GRAY8_BITMAP | GGO_GLYPH_INDEX, &gm, size, bits.data(),
                                 &identity);
                g.Width = static_cast<int>(gm.gmBlackBoxX);
                g.Height = static_cast<int>(gm.gmBlackBoxY);
                g.Left = gm.gmptGlyphOrigin.x;
                g.Top = gm.gmptGlyphOrigin.y;
                const int pitch = (g.Width + 3) & ~3;
                g.Alpha.resize(static_cast<std::size_t>(g.Width) * g.Height);
                // 65 levels of coverage (0..64), made into 0..255.
                for (int y = 0; y < g.Height; ++y)
                    for (int x = 0; x < g.Width; ++x) {
                        const unsigned v =
                            std::min<unsigned>(64, bits[static_cast<std::size_t>(y) * pitch + x]);
                        g.Alpha[static_cast<std::size_t>(y) * g.Width + x] =
                            static_cast<std::uint8_t>((v * 255 + 32) / 64);
                    }
            }
        }
        return font.Glyphs.emplace(cp, std::move(g)).first->second;
    }

    bool Has(Font& font, unsigned cp) {
        if (cp >= 0x10000) return false;
        SelectObject(Dc, font.Handle);
        const wchar_t ch = static_cast<wchar_t>(cp);
        WORD index = 0;
        return GetGlyphIndicesW(Dc, &ch, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 && index != 0xFFFF;
    }

    Face& FaceFor(const TFont& font) {
        const TFontStyles style = font.Style() & (fsBold | fsItalic);
        std::string key =
            AsciiLower(font.Name()) + '|' + std::to_string(font.Height()) + '|' + std::to_string(style);
        auto it = Faces.find(key);
        if (it != Faces.end()) return *it->second;

        auto face = std::make_unique<Face>();
        const std::wstring asked = Wide(font.Name());
        const TFamilyKind kind = KindOf(AsciiLower(font.Name()));
        std::wstring primary;
        bool withFallback = true;
        double scale = 1.0;
        switch (kind) {
        case TFamilyKind::Interface:
            primary = Pick({kSans[0]}, asked, kSans, std::size(kSans));
            scale = kLinkedCjkScale;
            face->CjkFromFallback = true;
            break;
        case TFamilyKind::Chinese:
            primary = Pick({kCjk[0]}, asked, kCjk, std::size(kCjk));
            withFallback = false;
            break;
        case TFamilyKind::Serif:
            primary = Pick({kSerif[0]}, asked, kSerif, std::size(kSerif));
            break;
        case TFamilyKind::Mono:
            primary = Pick({kMono[0]}, asked, kMono, std::size(kMono));
            break;
        case TFamilyKind::Other:
            primary = Pick({kSans[0]}, L"", kSans, std::size(kSans));
            break;
        }
        TFaceResolution& res = face->Resolution;
        int em = 11;
        const int height = font.Height();
        if (height < 0) {
            em = -height;
        } else if (height > 0) {
            // A cell height: the largest em whose line fits in it.
            em = std::max(1,
                          static_cast<int>(std::ceil(height * 1000.0 / LineHeightAt(primary, 1000, style))));
            while (em > 1 && LineHeightAt(primary, em, style) > height)
                --em;
        }
        res.EmPixels = em;
        face->Primary = &FontFor(primary, em, style);
        res.Primary = face->Primary->Family;
        TTextMetrics& tm = face->Metrics;
        VerticalMetrics(*face->Primary, em, tm.Ascent, tm.Descent);
        tm.Height = tm.Ascent + tm.Descent;
        SelectObject(Dc, face->Primary->Handle);
        OUTLINETEXTMETRICW otm{};
        otm.otmSize = sizeof otm;
        if (GetOutlineTextMetricsW(Dc, sizeof otm, &otm)) {
            tm.UnderlineThickness = std::max(1, static_cast<int>(otm.otmsUnderscoreSize));
            tm.UnderlineTop = std::clamp(tm.Ascent + std::max(1, -otm.otmsUnderscorePosition), 0,
                                         std::max(0, tm.Height - tm.UnderlineThickness));
            tm.StrikeThickness = std::max(1, static_cast<int>(otm.otmsStrikeoutSize));
            tm.StrikeTop = std::clamp(tm.Ascent - otm.otmsStrikeoutPosition, 0, std::max(0, tm.Height - 1));
        } else {
            tm.UnderlineTop = std::min(tm.Height - 1, tm.Ascent + 1);
            tm.StrikeTop = tm.Ascent * 2 / 3;
        }
        if (withFallback) {
            const std::wstring fallback = Pick({kCjk[0]}, L"", kCjk, std::size(kCjk));
            face->Fallback = &FontFor(fallback, static_cast<int>(std::lround(em * scale)), 0);
            res.Fallback = face->Fallback->Family;
            res.FallbackScale = scale;
            face->Drop = FallbackDrop(*face);
        }
        Face& ref = *face;
        Faces.emplace(std::move(key), std::move(face));
        return ref;
    }

    /// How far to lower fallback glyphs so that a full-height ideograph stays
    /// inside the primary face's line (the fallback face is taller than the line).
    int FallbackDrop(Face& face) {
        const Glyph& g = GlyphOf(*face.Fallback, 0x56FD); // a full-height ideograph
        const int top = face.Metrics.Ascent - g.Top;
        const int bottom = top + g.Height;
        if (top >= 0) return 0;
        return std::max(0, std::min(-top, face.Metrics.Height - bottom));
    }

    /// The line's glyphs, placed, and its advance.
    std::vector<Placed> Layout(Face& face, std::string_view text, int& width,
                               std::vector<std::string>* families = nullptr) {
        std::vector<Placed> out;
        int x = 0;
        for (unsigned cp : CodePoints(text)) {
            Font* font = face.Primary;
            if (face.Fallback && cp >= 0x20 &&
                ((face.CjkFromFallback && IsCjk(cp)) || !Has(*face.Primary, cp)))
                font = face.Fallback;
            const Glyph& g = GlyphOf(*font, cp);
            const int baseline = face.Metrics.Ascent + (font == face.Fallback ? face.Drop : 0);
            out.push_back({&g, x, baseline});
            x += g.Advance;
            if (families && std::find(families->begin(), families->end(), font->Family) == families->end())
                families->push_back(font->Family);
        }
        width = x;
        return out;
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
    int width = 0;
    impl_->Layout(impl_->FaceFor(font), text, width);
    return width;
}

void TTextEngine::CharBounds(const TFont& font, std::string_view text, int byteOffset, int& x, int& width) {
    x = width = 0;
    if (text.empty() || byteOffset < 0 || static_cast<std::size_t>(byteOffset) >= text.size()) return;
    // Measured by prefixes, so that the result matches what the text measures elsewhere.
    std::size_t next = static_cast<std::size_t>(byteOffset) + 1;
    while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
        ++next;
    x = Width(font, text.substr(0, static_cast<std::size_t>(byteOffset)));
    width = Width(font, text.substr(0, next)) - x;
}

std::shared_ptr<const TTextMask> TTextEngine::Render(const TFont& font, std::string_view text,
                                                     int hotkeyOffset, int hotkeyLength) {
    Impl::Face& face = impl_->FaceFor(font);
    const int extra[] = {font.Style(), hotkeyOffset, hotkeyLength};
    const Impl::Face* address = &face;
    std::string key(reinterpret_cast<const char*>(&address), sizeof address);
    key.append(reinterpret_cast<const char*>(extra), sizeof extra);
    key.append(text);
    auto found = impl_->Masks.find(key);
    if (found != impl_->Masks.end()) return found->second;
    if (impl_->Masks.size() >= Impl::kMaxMasks) impl_->Masks.clear();

    const TTextMetrics& tm = face.Metrics;
    int hotX = 0, hotWidth = 0;
    if (hotkeyOffset >= 0 && hotkeyLength > 0) CharBounds(font, text, hotkeyOffset, hotX, hotWidth);
    int width = 0;
    const std::vector<Impl::Placed> glyphs = impl_->Layout(face, text, width);
    // Cell coordinates: the baseline lies at tm.Ascent; glyphs may overhang the cell.
    int x0 = 0, y0 = 0, x1 = width, y1 = tm.Height;
    for (const Impl::Placed& p : glyphs) {
        if (p.G->Alpha.empty()) continue;
        x0 = std::min(x0, p.X + p.G->Left);
        x1 = std::max(x1, p.X + p.G->Left + p.G->Width);
        y0 = std::min(y0, p.Baseline - p.G->Top);
        y1 = std::max(y1, p.Baseline - p.G->Top + p.G->Height);
    }
    --x0, --y0, ++x1, ++y1;
    auto mask = std::make_shared<TTextMask>();
    mask->OffsetX = x0;
    mask->OffsetY = y0;
    mask->Width = x1 - x0;
    mask->Height = y1 - y0;
    mask->Alpha.assign(static_cast<std::size_t>(mask->Width) * mask->Height, 0);
    auto at = [&](int x, int y) -> std::uint8_t& {
        return mask->Alpha[static_cast<std::size_t>(y - y0) * mask->Width + (x - x0)];
    };
    for (const Impl::Placed& p : glyphs) {
        const Impl::Glyph& g = *p.G;
        const int left = p.X + g.Left, top = p.Baseline - g.Top;
        for (int y = 0; y < g.Height; ++y)
            for (int x = 0; x < g.Width; ++x) {
                const unsigned a = g.Alpha[static_cast<std::size_t>(y) * g.Width + x];
                if (!a) continue;
                std::uint8_t& d = at(left + x, top + y);
                // Overlapping glyphs cover as paint laid over paint.
                d = static_cast<std::uint8_t>(d + a * (255u - d) / 255u);
            }
    }
    auto bar = [&](int left, int top, int w, int h) {
        for (int y = std::max(top, y0); y < std::min(top + h, y1); ++y)
            for (int x = std::max(left, x0); x < std::min(left + w, x1); ++x)
                at(x, y) = 255;
    };
    if (font.Style() & fsUnderline) bar(0, tm.UnderlineTop, width, tm.UnderlineThickness);
    if (font.Style() & fsStrikeOut) bar(0, tm.StrikeTop, width, tm.StrikeThickness);
    if (hotWidth > 0) bar(hotX, tm.UnderlineTop, hotWidth, tm.UnderlineThickness);
    impl_->Masks.emplace(std::move(key), mask);
    return mask;
}

std::vector<std::string> TTextEngine::FamiliesUsed(const TFont& font, std::string_view text) {
    if (text.empty()) return {};
    std::vector<std::string> families;
    int width = 0;
    impl_->Layout(impl_->FaceFor(font), text, width, &families);
    return families;
}

int TTextEngine::MissingGlyphs(const TFont& font, std::string_view text) {
    Impl::Face& face = impl_->FaceFor(font);
    int missing = 0;
    for (unsigned cp : CodePoints(text)) {
        if (cp < 0x20) continue;
        const bool fallback =
            face.Fallback && ((face.CjkFromFallback && IsCjk(cp)) || !impl_->Has(*face.Primary, cp));
        if (!impl_->Has(fallback ? *face.Fallback : *face.Primary, cp)) ++missing;
    }
    return missing;
}

} // namespace emr
