#include "framework/graphics/ShapedLine.h"

#include <algorithm>
#include <iterator>

#include "framework/core/Utf8.h"

namespace emr {

namespace {

struct Char {
    char32_t Code = 0;
    std::size_t Offset = 0; // byte offset in the line
    std::size_t Span = 0;   // index of the span it lies in
    hb_script_t Script = HB_SCRIPT_COMMON;
    int Level = 0; // bidirectional embedding level: odd is right to left
};

bool RealScript(hb_script_t script) {
    return script != HB_SCRIPT_COMMON && script != HB_SCRIPT_INHERITED && script != HB_SCRIPT_UNKNOWN;
}

/// Brackets and quotation marks in open/close pairs, sorted: an even index opens.
constexpr char32_t kPairedChars[] = {
    0x0028, 0x0029, 0x003c, 0x003e, 0x005b, 0x005d, 0x007b, 0x007d, 0x00ab, 0x00bb, 0x0f3a, 0x0f3b, 0x0f3c,
    0x0f3d, 0x169b, 0x169c, 0x2018, 0x2019, 0x201a, 0x201b, 0x201c, 0x201d, 0x201e, 0x201f, 0x2039, 0x203a,
    0x2045, 0x2046, 0x207d, 0x207e, 0x208d, 0x208e, 0x2329, 0x232a, 0x27e6, 0x27e7, 0x27e8, 0x27e9, 0x27ea,
    0x27eb, 0x2983, 0x2984, 0x2985, 0x2986, 0x2987, 0x2988, 0x2989, 0x298a, 0x298b, 0x298c, 0x298d, 0x298e,
    0x298f, 0x2990, 0x2991, 0x2992, 0x2993, 0x2994, 0x2995, 0x2996, 0x2997, 0x2998, 0x29d8, 0x29d9, 0x29da,
    0x29db, 0x29fc, 0x29fd, 0x3008, 0x3009, 0x300a, 0x300b, 0x300c, 0x300d, 0x300e, 0x300f, 0x3010, 0x3011,
    0x3014, 0x3015, 0x3016, 0x3017, 0x3018, 0x3019, 0x301a, 0x301b, 0xfe59, 0xfe5a, 0xfe5b, 0xfe5c, 0xfe5d,
    0xfe5e, 0xff08, 0xff09, 0xff3b, 0xff3d, 0xff5b, 0xff5d, 0xff5f, 0xff60, 0xff62, 0xff63};

int PairIndex(char32_t ch) {
    const auto* end = std::end(kPairedChars);
    const auto* found = std::lower_bound(std::begin(kPairedChars), end, ch);
    return found != end && *found == ch ? static_cast<int>(found - std::begin(kPairedChars)) : -1;
}

/// Gives characters of no script of their own (spaces, digits, punctuation,
/// combining marks) the script of the run they continue, or at the start of a
/// run the first real script after them. A closing bracket takes the script its
/// opening bracket was given. Runs end where a real script changes.
void ResolveScripts(std::vector<Char>& chars) {
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    struct Open {
        int Pair;
        hb_script_t Script;
    };
    constexpr std::size_t kDeepest = 128; // deeper nesting starts the stack afresh
    std::vector<Open> stack;
    const auto top = [&stack] { return static_cast<int>(stack.size()) - 1; };
    for (std::size_t i = 0; i < chars.size();) {
        const std::size_t runStart = i;
        int fixedUpTo = top(); // brackets above this were opened before the run's script was known
        hb_script_t current = HB_SCRIPT_COMMON;
        for (; i < chars.size(); ++i) {
            hb_script_t script = hb_unicode_script(unicode, chars[i].Code);
            const int pair = script == HB_SCRIPT_COMMON ? PairIndex(chars[i].Code) : -1;
            const bool opens = pair >= 0 && pair % 2 == 0;
            if (opens) {
                if (stack.size() == kDeepest) stack.clear();
                stack.push_back({pair, current});
            } else if (pair >= 0 && !stack.empty()) {
                while (!stack.empty() && stack.back().Pair != pair - 1)
                    stack.pop_back();
                fixedUpTo = std::min(fixedUpTo, top());
                if (!stack.empty()) script = stack.back().Script;
            }
            if (RealScript(current) && RealScript(script) && current != script) break;
            if (!RealScript(current) && RealScript(script)) {
                current = script;
                while (fixedUpTo < top())
                    stack[static_cast<std::size_t>(++fixedUpTo)].Script = current;
            }
            if (pair >= 0 && !opens && !stack.empty()) {
                stack.pop_back();
                fixedUpTo = std::min(fixedUpTo, top());
            }
        }
        for (std::size_t k = runStart; k < i; ++k)
            chars[k].Script = current;
    }
}

enum class BidiClass { Left, Right, Number, Neutral };

BidiClass BidiClassOf(char32_t ch, hb_script_t script) {
    if (ch >= '0' && ch <= '9') return BidiClass::Number;
    if ((ch >= 0x0660 && ch <= 0x0669) || (ch >= 0x06F0 && ch <= 0x06F9)) return BidiClass::Number;
    if ((ch >= 0x0590 && ch <= 0x08FF) || (ch >= 0xFB1D && ch <= 0xFDFF) || (ch >= 0xFE70 && ch <= 0xFEFF) ||
        (ch >= 0x10800 && ch <= 0x10FFF) || (ch >= 0x1E800 && ch <= 0x1EFFF))
        return BidiClass::Right;
    return RealScript(script) ? BidiClass::Left : BidiClass::Neutral;
}

/// Embedding levels for a line without explicit embeddings: the paragraph takes
/// the direction of its first strong character; numbers after right-to-left
/// text, or at the start of a right-to-left paragraph, stay numbers; neutral
/// characters between two of the same direction take it, others the
/// paragraph's.
void ResolveLevels(std::vector<Char>& chars) {
    std::vector<BidiClass> classes;
    classes.reserve(chars.size());
    int base = 0;
    bool found = false;
    for (const Char& c : chars) {
        classes.push_back(BidiClassOf(c.Code, c.Script));
        if (!found && (classes.back() == BidiClass::Left || classes.back() == BidiClass::Right)) {
            base = classes.back() == BidiClass::Right ? 1 : 0;
            found = true;
        }
    }
    if (std::none_of(classes.begin(), classes.end(), [](BidiClass c) { return c == BidiClass::Right; }) &&
        base == 0)
        return; // all levels stay 0
    // Numbers after a left-to-right strong character (or the start of a
    // left-to-right paragraph) read as left to right.
    BidiClass strong = base ? BidiClass::Right : BidiClass::Left;
    for (BidiClass& c : classes) {
        if (c == BidiClass::Left || c == BidiClass::Right) strong = c;
        if (c == BidiClass::Number && strong == BidiClass::Left) c = BidiClass::Left;
    }
    // Neutrals between the same direction (numbers count as right to left) take it.
    const auto direction = [](BidiClass c) { return c == BidiClass::Left ? 0 : 1; };
    for (std::size_t i = 0; i < classes.size();) {
        if (classes[i] != BidiClass::Neutral) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < classes.size() && classes[end] == BidiClass::Neutral)
            ++end;
        const int before = i == 0 ? base : direction(classes[i - 1]);
        const int after = end == classes.size() ? base : direction(classes[end]);
        const int resolved = before == after ? before : base;
        for (std::size_t k = i; k < end; ++k)
            classes[k] = resolved ? BidiClass::Right : BidiClass::Left;
        i = end;
    }
    for (std::size_t i = 0; i < chars.size(); ++i) {
        switch (classes[i]) {
        case BidiClass::Left:
            chars[i].Level = base ? 2 : 0;
            break;
        case BidiClass::Right:
            chars[i].Level = 1;
            break;
        default:
            chars[i].Level = 2;
            break;
        }
    }
}

/// Text units rounded to whole pixels, halves up.
int RoundUnits(int units) {
    return (units + kTextUnits / 2) & ~(kTextUnits - 1);
}

bool IsControl(char32_t ch) {
    return ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
}

} // namespace

TShapedLine::TShapedLine(std::string_view utf8, const std::vector<TTextSpan>& spans) {
    if (utf8.empty() || spans.empty()) return;
    std::vector<Char> chars;
    std::size_t span = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        Char c;
        c.Offset = at;
        c.Code = NextUtf8(utf8, at);
        while (span + 1 < spans.size() && spans[span].End <= c.Offset)
            ++span;
        c.Span = span;
        chars.push_back(c);
    }
    ResolveScripts(chars);
    ResolveLevels(chars);

    // Items: the longest stretches of one span, script and level, in logical order.
    struct Item {
        std::size_t First, Last; // characters [First, Last)
        int Level;
    };
    std::vector<Item> items;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const Char& c = chars[i];
        if (!items.empty()) {
            const Char& prev = chars[i - 1];
            if (prev.Span == c.Span && prev.Script == c.Script && prev.Level == c.Level) {
                items.back().Last = i + 1;
                continue;
            }
        }
        items.push_back({i, i + 1, c.Level});
    }
    // Visual order: from the highest level down to the lowest odd one, every
    // stretch of items at that level or above is reversed.
    int highest = 0, lowestOdd = 1 << 30;
    for (const Item& item : items) {
        highest = std::max(highest, item.Level);
        if (item.Level % 2) lowestOdd = std::min(lowestOdd, item.Level);
    }
    for (int level = highest; level >= lowestOdd; --level) {
        for (std::size_t i = 0; i < items.size();) {
            if (items[i].Level < level) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < items.size() && items[end].Level >= level)
                ++end;
            std::reverse(items.begin() + static_cast<std::ptrdiff_t>(i),
                         items.begin() + static_cast<std::ptrdiff_t>(end));
            i = end;
        }
    }

    hb_buffer_t* buffer = hb_buffer_create();
    int pen = 0; // text units
    for (const Item& item : items) {
        const TTextSpan& textSpan = spans[chars[item.First].Span];
        Run run;
        run.Face = textSpan.Face;
        if (!run.Face) continue;
        const std::size_t begin = chars[item.First].Offset;
        const std::size_t end = item.Last < chars.size() ? chars[item.Last].Offset : utf8.size();
        hb_buffer_clear_contents(buffer);
        hb_buffer_add_utf8(buffer, utf8.data(), static_cast<int>(utf8.size()), static_cast<unsigned>(begin),
                           static_cast<int>(end - begin));
        hb_buffer_set_direction(buffer, item.Level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer, chars[item.First].Script);
        int flags = HB_BUFFER_FLAG_DEFAULT;
        if (begin == 0) flags |= HB_BUFFER_FLAG_BOT;
        if (end == utf8.size()) flags |= HB_BUFFER_FLAG_EOT;
        hb_buffer_set_flags(buffer, static_cast<hb_buffer_flags_t>(flags));
        hb_shape(run.Face->Shaper(), buffer, nullptr, 0);
        unsigned count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
        for (unsigned g = 0; g < count; ++g) {
            std::size_t at = infos[g].cluster;
            if (IsControl(NextUtf8(utf8, at))) continue;
            const int advance = RoundUnits(positions[g].x_advance);
            const int dx = RoundUnits(positions[g].x_offset);
            const int dy = RoundUnits(-positions[g].y_offset);
            run.Glyphs.push_back(
                {infos[g].codepoint, (pen + dx) / kTextUnits, textSpan.Drop + dy / kTextUnits});
            pen += advance;
        }
        runs_.push_back(std::move(run));
    }
    hb_buffer_destroy(buffer);
    width_ = pen / kTextUnits;
}

bool TShapedLine::InkBox(int& left, int& top, int& right, int& bottom) const {
    bool any = false;
    for (const Run& run : runs_) {
        for (const PlacedGlyph& glyph : run.Glyphs) {
            const TGlyphImage& image = run.Face->Glyph(glyph.Id);
            if (!image.HasInk()) continue;
            const int l = glyph.X + image.InkLeft, t = glyph.Y + image.InkTop;
            const int r = glyph.X + image.InkRight, b = glyph.Y + image.InkBottom;
            if (!any) {
                left = l, top = t, right = r, bottom = b;
                any = true;
            } else {
                left = std::min(left, l), top = std::min(top, t);
                right = std::max(right, r), bottom = std::max(bottom, b);
            }
        }
    }
    return any;
}

void TShapedLine::Draw(std::uint8_t* alpha, int stride, int width, int height, int x, int y) const {
    std::vector<std::uint8_t> layer;
    for (const Run& run : runs_) {
        // The run's glyphs add up in a layer of their own, which then goes over
        // the runs before it.
        layer.assign(static_cast<std::size_t>(width) * height, 0);
        int x0 = width, y0 = height, x1 = 0, y1 = 0;
        for (const PlacedGlyph& glyph : run.Glyphs) {
            const TGlyphImage& image = run.Face->Glyph(glyph.Id);
            const int gx = x + glyph.X + image.Left, gy = y + glyph.Y - image.Top;
            for (int row = 0; row < image.Rows; ++row) {
                const int py = gy + row;
                if (py < 0 || py >= height) continue;
                const std::uint8_t* src =
                    image.Coverage.data() + static_cast<std::ptrdiff_t>(row) * image.Width;
                std::uint8_t* dst = layer.data() + static_cast<std::ptrdiff_t>(py) * width;
                for (int col = 0; col < image.Width; ++col) {
                    const int px = gx + col;
                    if (px < 0 || px >= width || !src[col]) continue;
                    dst[px] = static_cast<std::uint8_t>(std::min(255, dst[px] + src[col]));
                    x0 = std::min(x0, px), x1 = std::max(x1, px + 1);
                    y0 = std::min(y0, py), y1 = std::max(y1, py + 1);
                }
            }
        }
        for (int py = y0; py < y1; ++py) {
            const std::uint8_t* src = layer.data() + static_cast<std::ptrdiff_t>(py) * width;
            std::uint8_t* dst = alpha + static_cast<std::ptrdiff_t>(py) * stride;
            for (int px = x0; px < x1; ++px) {
                const unsigned s = src[px];
                if (!s) continue;
                // s + d * (255 - s) / 255, rounded as 8-bit compositing rounds.
                unsigned t = dst[px] * (255 - s) + 0x80;
                t = (t + (t >> 8)) >> 8;
                dst[px] = static_cast<std::uint8_t>(s + t);
            }
        }
    }
}

std::vector<std::string> TShapedLine::Families() const {
    std::vector<std::string> families;
    for (const Run& run : runs_)
        if (std::find(families.begin(), families.end(), run.Face->Family()) == families.end())
            families.push_back(run.Face->Family());
    return families;
}

int TShapedLine::MissingGlyphs() const {
    constexpr unsigned kMissingGlyph = 0; // glyph 0 of every font
    int count = 0;
    for (const Run& run : runs_)
        count += static_cast<int>(std::count_if(run.Glyphs.begin(), run.Glyphs.end(),
                                                [](const PlacedGlyph& g) { return g.Id == kMissingGlyph; }));
    return count;
}

} // namespace emr
