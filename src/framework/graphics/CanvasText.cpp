// Text output of TCanvas: measuring, TextOut, TextRect and DrawText.
#include <algorithm>
#include <cmath>
#include <vector>

#include "framework/graphics/Canvas.h"
#include "framework/graphics/PixelSpan.h"
#include "framework/graphics/TextEngine.h"

namespace emr {

namespace {

/// Byte length of the UTF-8 sequence that starts with `lead`.
int Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

/// Turns escapement (tenths of a degree, counter-clockwise) into [0, 3600).
int NormalAngle(int tenths) {
    return ((tenths % 3600) + 3600) % 3600;
}

} // namespace

TPrefixedText ParsePrefixedText(std::string_view text) {
    TPrefixedText out;
    out.Text.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '&') {
            out.Text += c;
            continue;
        }
        if (i + 1 >= text.size()) break; // a trailing marker marks nothing
        if (text[i + 1] == '&') {
            out.Text += '&';
            ++i;
            continue;
        }
        out.HotkeyOffset = static_cast<int>(out.Text.size());
        out.HotkeyLength = std::min<int>(Utf8Length(static_cast<unsigned char>(text[i + 1])),
                                         static_cast<int>(text.size() - i - 1));
    }
    return out;
}

std::string StripHotkey(std::string_view text) {
    return ParsePrefixedText(text).Text;
}

int TCanvas::TextWidth(std::string_view text) const {
    return TTextEngine::Instance().Width(*font_, text);
}

int TCanvas::TextHeight(std::string_view) const {
    return TTextEngine::Instance().Metrics(*font_).Height;
}

TSize TCanvas::TextExtent(std::string_view text) const {
    return {TextWidth(text), TextHeight(text)};
}

void TCanvas::PaintTextLine(int x, int y, std::string_view text, int hotkeyOffset, int hotkeyLength,
                            const TRect& clip, bool opaque) {
    if (!pixels_ || clip.Empty()) return;
    TTextEngine& engine = TTextEngine::Instance();
    int angle = NormalAngle(font_->Orientation());
    double radians = angle * M_PI / 1800.0;
    double cosA = std::cos(radians), sinA = std::sin(radians);
    int ox = x + origin_.X, oy = y + origin_.Y;
    // Measurements stay logical; the glyphs are drawn from the font at the device size.
    TFont scaledFont;
    const bool transformed = Transformed();
    int cellWidth = 0, cellHeight = 0;
    if (transformed) {
        scaledFont.Assign(font_.get());
        scaledFont.SetHeight(static_cast<int>(std::nearbyint(font_->Height() * scale_)));
        const int logicalWidth = mirrorWidth_ != 0 || opaque ? engine.Width(*font_, text) : 0;
        const int lineHeight = engine.Metrics(*font_).Height;
        const TRect box = DeviceRect({x, y, x + logicalWidth, y + lineHeight});
        // In a mirrored span the text's box moves; its glyphs still run left to right.
        ox = angle == 0 ? box.Left : EdgeX(x);
        if (mirrorWidth_ != 0 && angle != 0) {
            // Turned text hangs from its anchor across a column: the anchor goes to the
            // column's mirrored edge that the drawing grows from.
            if (angle == 900) ox = EdgeX(x + lineHeight);
            if (angle == 1800) ox = EdgeX(x - logicalWidth);
            if (angle == 2700) ox = EdgeX(x - lineHeight);
        }
        oy = box.Top;
        cellWidth = box.Width();
        cellHeight = box.Height();
    }
    const TFont& font = transformed ? scaledFont : *font_;

    // Paints coverage given in text-cell coordinates (offX, offY: the top-left of the
    // coverage grid) turned about the origin. Quarter turns map pixels exactly.
    auto blit = [&](const std::uint8_t* alpha, int w, int h, int offX, int offY, std::uint32_t pixel) {
        auto put = [&](int dx, int dy, unsigned a) {
            if (a == 0 || !clip.Contains({dx, dy})) return;
            std::uint32_t* p = PixelAt(dx, dy);
            *p = pixels::Blend(*p & 0xFFFFFF, pixel, a);
        };
        if (angle == 0) {
            // Upright text, the common case: whole clipped rows at a time.
            const int left = std::max(ox + offX, clip.Left), right = std::min(ox + offX + w, clip.Right);
            const int top = std::max(oy + offY, clip.Top), bottom = std::min(oy + offY + h, clip.Bottom);
            if (left >= right) return;
            for (int dy = top; dy < bottom; ++dy) {
                std::uint32_t* p = PixelAt(left, dy);
                const auto count = static_cast<std::size_t>(right - left);
                if (!alpha) {
                    pixels::Fill(p, count, pixel);
                    continue;
                }
                pixels::BlendRun(p, alpha + static_cast<std::size_t>(dy - oy - offY) * w + (left - ox - offX),
                                 count, pixel);
            }
            return;
        }
        if (angle % 900 == 0) {
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i) {
                    unsigned a = alpha ? alpha[static_cast<std::size_t>(j) * w + i] : 255;
                    int u = offX + i, v = offY + j;
                    switch (angle) {
                    case 0:
                        put(ox + u, oy + v, a);
                        break;
                    case 900:
                        put(ox + v, oy - u - 1, a);
                        break;
                    case 1800:
                        put(ox - u - 1, oy - v - 1, a);
                        break;
                    default:
                        put(ox - v - 1, oy + u, a);
                        break;
                    }
                }
            return;
        }
        // Any other angle: sample the grid bilinearly at each device pixel centre.
        double corners[4][2] = {{double(offX), double(offY)},
                                {double(offX + w), double(offY)},
                                {double(offX), double(offY + h)},
                                {double(offX + w), double(offY + h)}};
        double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
        for (auto& c : corners) {
            double dx = c[0] * cosA + c[1] * sinA, dy = -c[0] * sinA + c[1] * cosA;
            minX = std::min(minX, dx);
            maxX = std::max(maxX, dx);
            minY = std::min(minY, dy);
            maxY = std::max(maxY, dy);
        }
        auto sample = [&](int i, int j) -> double {
            if (i < 0 || j < 0 || i >= w || j >= h) return 0;
            return alpha ? alpha[static_cast<std::size_t>(j) * w + i] : 255;
        };
        for (int dy = static_cast<int>(std::floor(minY)); dy <= static_cast<int>(std::ceil(maxY)); ++dy)
            for (int dx = static_cast<int>(std::floor(minX)); dx <= static_cast<int>(std::ceil(maxX)); ++dx) {
                double px = dx + 0.5, py = dy + 0.5;
                double u = px * cosA - py * sinA, v = px * sinA + py * cosA;
                double gx = u - offX - 0.5, gy = v - offY - 0.5;
                int i0 = static_cast<int>(std::floor(gx)), j0 = static_cast<int>(std::floor(gy));
                double fx = gx - i0, fy = gy - j0;
                double a = sample(i0, j0) * (1 - fx) * (1 - fy) + sample(i0 + 1, j0) * fx * (1 - fy) +
                           sample(i0, j0 + 1) * (1 - fx) * fy + sample(i0 + 1, j0 + 1) * fx * fy;
                put(ox + dx, oy + dy, static_cast<unsigned>(std::lround(a)));
            }
    };

    if (opaque) {
        if (!transformed) {
            cellWidth = engine.Width(*font_, text);
            cellHeight = engine.Metrics(*font_).Height;
        }
        blit(nullptr, cellWidth, cellHeight, 0, 0, ColorToPixel(ColorToRGB(brush_->Color())));
    }
    TColor color = font_->Color();
    if (color == clNone || text.empty()) return;
    auto mask = engine.Render(font, text, hotkeyOffset, hotkeyLength);
    blit(mask->Alpha.data(), mask->Width, mask->Height, mask->OffsetX, mask->OffsetY,
         ColorToPixel(ColorToRGB(color)));
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    bool opaque = brush_->Style() == TBrushStyle::bsSolid && brush_->Color() != clNone;
    PaintTextLine(x, y, text, -1, 0, clip_, opaque);
    penPos_ = {x + TextWidth(text), y};
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
    TRect clip = DeviceRect(rect).Intersect(clip_);
    if (brush_->Style() == TBrushStyle::bsSolid && brush_->Color() != clNone)
        FillDeviceRect(clip, ColorToPixel(ColorToRGB(brush_->Color())));
    PaintTextLine(x, y, text, -1, 0, clip, false);
    Changed();
}

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned flags) {
    TTextEngine& engine = TTextEngine::Instance();
    const int lineHeight = engine.Metrics(*font_).Height;

    TPrefixedText prefixed;
    if (flags & DT_NOPREFIX) {
        prefixed.Text = std::string(text);
    } else {
        prefixed = ParsePrefixedText(text);
        if (flags & DT_HIDEPREFIX) prefixed.HotkeyOffset = -1;
    }

    // Split into lines, remembering where each starts in the prefixed text.
    struct Line {
        std::string Text;
        int Start = 0;
    };
    std::vector<Line> lines;
    const std::string& all = prefixed.Text;
    if (flags & DT_SINGLELINE) {
        std::string single = all;
        for (char& c : single)
            if (c == '\r' || c == '\n') c = ' ';
        lines.push_back({single, 0});
    } else {
        std::size_t start = 0;
        while (true) {
            std::size_t end = all.find_first_of("\r\n", start);
            lines.push_back({all.substr(start, end == std::string::npos ? std::string::npos : end - start),
                             static_cast<int>(start)});
            if (end == std::string::npos) break;
            start = end + ((all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') ? 2 : 1);
        }
    }

    if ((flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE)) {
        // Greedy wrapping at spaces; a word wider than the rectangle stays whole.
        std::vector<Line> wrapped;
        int limit = rect.Width();
        for (const Line& line : lines) {
            std::size_t pos = 0;
            const std::string& s = line.Text;
            if (s.empty()) wrapped.push_back(line);
            while (pos < s.size()) {
                std::size_t best = std::string::npos, probe = pos;
                while (true) {
                    std::size_t space = s.find(' ', probe);
                    std::size_t cut = space == std::string::npos ? s.size() : space;
                    if (engine.Width(*font_, std::string_view(s).substr(pos, cut - pos)) > limit &&
                        best != std::string::npos)
                        break;
                    best = cut;
                    if (space == std::string::npos) break;
                    probe = space + 1;
                }
                wrapped.push_back({s.substr(pos, best - pos), line.Start + static_cast<int>(pos)});
                pos = best;
                while (pos < s.size() && s[pos] == ' ')
                    ++pos;
            }
        }
        lines = std::move(wrapped);
    }

    // With DT_EXPANDTABS a tab moves to the next stop, every eight widths of an "x".
    // Visits the segments between tabs at their offsets; returns the line's width,
    // or with `measureLast` false only where its last segment starts (drawing
    // needs no more, and measuring is the costly part of a short caption).
    const bool expandTabs = (flags & DT_EXPANDTABS) != 0;
    int tabStop = 0;
    auto forEachSegment = [&](const std::string& text, bool measureLast, auto&& visit) {
        int x = 0;
        std::size_t start = 0;
        while (true) {
            std::size_t tab = expandTabs ? text.find('\t', start) : std::string::npos;
            std::string_view segment =
                std::string_view(text).substr(start, tab == std::string::npos ? tab : tab - start);
            visit(segment, static_cast<int>(start), x);
            if (tab == std::string::npos) return measureLast ? x + engine.Width(*font_, segment) : x;
            x += engine.Width(*font_, segment);
            if (tabStop == 0) tabStop = 8 * std::max(1, engine.Width(*font_, "x"));
            x = (x / tabStop + 1) * tabStop;
            start = tab + 1;
        }
    };
    auto lineWidth = [&](const std::string& text) {
        return forEachSegment(text, true, [](std::string_view, int, int) {});
    };

    int totalHeight = lineHeight * static_cast<int>(lines.size());

    if (flags & DT_CALCRECT) {
        int maxWidth = 0;
        for (const Line& line : lines)
            maxWidth = std::max(maxWidth, lineWidth(line.Text));
        rect.Right = rect.Left + maxWidth;
        rect.Bottom = rect.Top + totalHeight;
        return totalHeight;
    }

    int top = rect.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            top = rect.Top + (rect.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            top = rect.Bottom - lineHeight;
    }
    TRect clip = (flags & DT_NOCLIP) ? clip_ : DeviceRect(rect).Intersect(clip_);
    bool opaque = brush_->Style() == TBrushStyle::bsSolid && brush_->Color() != clNone;

    int y = top;
    for (Line& line : lines) {
        int hotkey = -1, hotkeyLength = 0;
        if (prefixed.HotkeyOffset >= line.Start &&
            prefixed.HotkeyOffset < line.Start + static_cast<int>(line.Text.size())) {
            hotkey = prefixed.HotkeyOffset - line.Start;
            hotkeyLength = prefixed.HotkeyLength;
        }
        const bool aligned = (flags & (DT_CENTER | DT_RIGHT)) != 0;
        int width = aligned || (flags & DT_END_ELLIPSIS) ? lineWidth(line.Text) : 0;
        if ((flags & DT_END_ELLIPSIS) && width > rect.Width()) {
            // Drop whole characters from the end until the text and "..." fit.
            std::string& s = line.Text;
            std::size_t keep = s.size();
            while (keep > 0) {
                std::size_t prev = keep - 1;
                while (prev > 0 && (static_cast<unsigned char>(s[prev]) & 0xC0) == 0x80)
                    --prev;
                keep = prev;
                if (lineWidth(s.substr(0, keep) + "...") <= rect.Width()) break;
            }
            s = s.substr(0, keep) + "...";
            if (hotkey >= static_cast<int>(keep)) hotkey = -1;
            width = lineWidth(s);
        }
        int x = rect.Left;
        if (flags & DT_CENTER)
            x = rect.Left + (rect.Width() - width) / 2;
        else if (flags & DT_RIGHT)
            x = rect.Right - width;
        forEachSegment(line.Text, false, [&](std::string_view segment, int start, int offset) {
            bool here = hotkey >= start && hotkey < start + static_cast<int>(segment.size());
            PaintTextLine(x + offset, y, segment, here ? hotkey - start : -1, here ? hotkeyLength : 0, clip,
                          opaque);
        });
        y += lineHeight;
    }
    Changed();
    return (flags & DT_SINGLELINE) && (flags & (DT_VCENTER | DT_BOTTOM)) ? top - rect.Top + totalHeight
                                                                         : totalHeight;
}

} // namespace emr
