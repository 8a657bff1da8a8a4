#include "styling/GradientPainting.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "framework/graphics/Brush.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"

namespace emr {

namespace {

// Painting rounds to the nearest integer with halves to the even neighbour,
// which is the default floating-point rounding mode.
int RoundEven(double value) {
    return static_cast<int>(std::lrint(value));
}

TLinearGradientMode LinearMode(TGDIPGradient kind) {
    switch (kind) {
    case ggDiagonalForward:
        return TLinearGradientMode::ForwardDiagonal;
    case ggDiagonalBackward:
        return TLinearGradientMode::BackwardDiagonal;
    default:
        return TLinearGradientMode::Vertical;
    }
}

float F(int value) {
    return static_cast<float>(value);
}

// Length in bytes of the UTF-8 sequence that starts with `lead`.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

// Byte offset in `text` of the character with zero-based index `index`.
std::size_t OffsetOfCharacter(std::string_view text, int index) {
    std::size_t offset = 0;
    for (int i = 0; i < index && offset < text.size(); ++i)
        offset += SequenceLength(static_cast<unsigned char>(text[offset]));
    return std::min(offset, text.size());
}

} // namespace

void DrawGradient(TCanvas& canvas, TColor fromColor, TColor toColor, int steps, const TRect& rect,
                  bool horizontal) {
    if (canvas.Scale() != 1.0 || canvas.MirrorWidth() != 0) {
        // Worked out over the device pixels, so each device row or column of a smooth
        // gradient gets its own colour and a mirrored one still runs left to right.
        std::unique_ptr<TCanvas> device = canvas.DeviceCanvas();
        DrawGradient(*device, fromColor, toColor, steps, canvas.DeviceRect(rect), horizontal);
        canvas.SetPen(device->Pen());
        canvas.SetBrush(device->Brush());
        return;
    }
    if (steps == 0) steps = 1;
    const TColor from = ColorToRGB(fromColor);
    const TColor to = ColorToRGB(toColor);
    const int fr = GetRValue(from), fg = GetGValue(from), fb = GetBValue(from);
    const double dr = static_cast<double>(GetRValue(to) - fr) / steps;
    const double dg = static_cast<double>(GetGValue(to) - fg) / steps;
    const double db = static_cast<double>(GetBValue(to) - fb) / steps;
    auto bandColor = [&](int i) {
        const int red = fr + RoundEven(i * dr);
        const int green = fg + RoundEven(i * dg);
        const int blue = fb + RoundEven(i * db);
        return static_cast<TColor>(red + green * 256 + blue * 65536);
    };

    TRect r = rect;
    if (horizontal)
        --r.Right;
    else
        --r.Bottom;
    const int extent = horizontal ? r.Right - r.Left : r.Bottom - r.Top;
    const double band = static_cast<double>(extent) / steps;
    const int bandSize = RoundEven(band);
    auto offsetOf = [&](int i) { return static_cast<int>(static_cast<std::uint16_t>(RoundEven(i * band))); };

    // Each band is a pen-and-brush rectangle of its colour. With a plain one-pixel
    // copying pen and a solid brush that is a solid block, and as the bands advance
    // in step, a pixel ends up in the colour of the last band over it: paint each
    // pixel once in that colour instead of overpainting band after band.
    const TPen* pen = canvas.Pen();
    const bool solidBands =
        pen->Mode() == TPenMode::pmCopy && pen->Width() <= 1 &&
        (pen->Style() == TPenStyle::psSolid || pen->Style() == TPenStyle::psInsideFrame) &&
        canvas.Brush()->Style() == TBrushStyle::bsSolid;
    if (!solidBands || steps < 0 || extent < 0 || extent > 0xFFFF) {
        for (int i = 0; i < steps; ++i) {
            canvas.Pen()->SetColor(bandColor(i));
            canvas.Brush()->SetColor(canvas.Pen()->Color());
            const int offset = offsetOf(i);
            if (horizontal)
                canvas.Rectangle(r.Left + offset, r.Top, r.Left + offset + bandSize + 1, rect.Bottom);
            else
                canvas.Rectangle(r.Left, r.Top + offset, rect.Right, r.Top + offset + bandSize + 1);
        }
        return;
    }

    // A horizontal gradient is the same down every row: paint the first visible row
    // and repeat it.
    const TRect area = horizontal
                           ? TRect{r.Left, r.Top, r.Left + offsetOf(steps - 1) + bandSize + 1, rect.Bottom}
                           : TRect{r.Left, r.Top, rect.Right, r.Top + offsetOf(steps - 1) + bandSize + 1};
    const TRect visible = area.Intersect(canvas.ClipRect());
    int next = offsetOf(0);
    for (int i = 0; i < steps; ++i) {
        const int offset = next;
        next = i + 1 < steps ? offsetOf(i + 1) : offset + bandSize + 1;
        const int end = std::min(offset + bandSize + 1, next);
        const TColor color = bandColor(i);
        if (end <= offset && i + 1 < steps) continue;
        canvas.Pen()->SetColor(color);
        canvas.Brush()->SetColor(color);
        if (visible.Empty() || end <= offset) continue;
        if (horizontal)
            canvas.FillRect({r.Left + offset, visible.Top, r.Left + end, visible.Top + 1});
        else
            canvas.FillRect({r.Left, r.Top + offset, rect.Right, r.Top + end});
    }
    if (horizontal && !visible.Empty()) canvas.RepeatTopRow(visible);
}

TColor BlendColor(TColor color1, TColor color2, int percent) {
    if (percent >= 100) return color1;
    if (percent <= 0) return color2;
    const TColor c1 = ColorToRGB(color1);
    const TColor c2 = ColorToRGB(color2);
    const double f = percent / 100.0;
    auto mix = [f](int a, int b) { return std::min(255, RoundEven(f * a + (1 - f) * b)); };
    const int red = mix(GetRValue(c1), GetRValue(c2));
    const int green = mix(GetGValue(c1), GetGValue(c2));
    const int blue = mix(GetBValue(c1), GetBValue(c2));
    return static_cast<TColor>(red + green * 256 + blue * 65536);
}

TARGB ColorToARGB(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return MakeARGB(0xFF, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

void DrawVistaGradient(TCanvas& canvas, const TRect& rect, int split, TColor topFrom, TColor topTo,
                       TColor bottomFrom, TColor bottomTo, TColor borderColor, int radius) {
    const TRect upper{rect.Left, rect.Top, rect.Right, rect.Top + split + 1};
    const TRect lower{rect.Left, rect.Top + split, rect.Right, rect.Bottom};
    DrawGradient(canvas, topFrom, topTo, 40, upper, false);
    DrawGradient(canvas, bottomFrom, bottomTo, 40, lower, false);
    if (borderColor == clNone) return;

    TVectorGraphics graphics(canvas);
    const TVectorPen pen(ColorToARGB(borderColor), 1.0f);
    graphics.SetSmoothingMode(TSmoothingMode::AntiAlias);
    const int w = rect.Right - rect.Left - 1;
    const int h = rect.Bottom - rect.Top - 1;
    if (radius > 0)
        DrawRoundRectPath(graphics, pen, rect.Left, rect.Top, w, h, radius);
    else
        DrawRectanglePath(graphics, pen, rect.Left, rect.Top, w, h);
}

void DrawRectanglePath(TVectorGraphics& graphics, const TVectorPen& pen, int x, int y, int width,
                       int height) {
    TVectorPath path;
    path.AddLine(F(x), F(y), F(x + width), F(y));
    path.AddLine(F(x + width), F(y), F(x + width), F(y + height));
    path.AddLine(F(x + width), F(y + height), F(x), F(y + height));
    path.AddLine(F(x), F(y + height), F(x), F(y));
    path.CloseFigure();
    graphics.DrawPath(pen, path);
}

void DrawRoundRectPath(TVectorGraphics& graphics, const TVectorPen& pen, int x, int y, int width, int height,
                       int radius) {
    const int r = radius;
    const int d = 2 * radius;
    TVectorPath path;
    path.AddLine(F(x + r), F(y), F(x + width - d), F(y));
    path.AddArc(F(x + width - d), F(y), F(d), F(d), 270, 90);
    path.AddLine(F(x + width), F(y + r), F(x + width), F(y + height - d));
    path.AddArc(F(x + width - d), F(y + height - d), F(d), F(d), 0, 90);
    path.AddLine(F(x + width - d), F(y + height), F(x + r), F(y + height));
    path.AddArc(F(x), F(y + height - d), F(d), F(d), 90, 90);
    path.AddLine(F(x), F(y + height - d), F(x), F(y + r));
    path.AddArc(F(x), F(y), F(d), F(d), 180, 90);
    path.CloseFigure();
    graphics.DrawPath(pen, path);
}

void Draw3DGripLine(TCanvas& canvas, TPoint p1, TPoint p2, bool raised, bool vertical) {
    const int x1 = p1.X, y1 = p1.Y, x2 = p2.X, y2 = p2.Y;
    canvas.Pen()->SetColor(raised ? clWhite : clBtnShadow);
    if (vertical) {
        canvas.MoveTo(x1 - 1, y1 - 1);
        canvas.LineTo(x2 - 1, y2);
        canvas.LineTo(x2 + 1, y2);
    } else {
        canvas.MoveTo(x1 - 1, y1 + 1);
        canvas.LineTo(x1 - 1, y1 - 1);
        canvas.LineTo(x2 + 1, y2 - 1);
    }
    canvas.Pen()->SetColor(raised ? clBtnShadow : clWhite);
    if (vertical) {
        canvas.MoveTo(x2 + 1, y2);
        canvas.LineTo(x2 + 1, y1);
        canvas.LineTo(x2 - 1, y1);
    } else {
        canvas.MoveTo(x2 + 1, y2 - 1);
        canvas.LineTo(x2 + 1, y2 + 1);
        canvas.LineTo(x1, y1 + 1);
    }
}

void TextOutVertical(TCanvas& canvas, std::string_view text, TPoint origin) {
    // Find the accelerator's position among the visible characters (1-based).
    int visible = 1;
    int accelerator = -1;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '&' && i + 1 < text.size()) {
            if (text[i + 1] == '&') {
                ++visible;
                i += 2;
                continue;
            }
            accelerator = visible;
            ++i;
            continue;
        }
        ++visible;
        i += SequenceLength(static_cast<unsigned char>(text[i]));
    }

    const std::string stripped = StripHotkey(text);
    canvas.TextOut(origin.X, origin.Y, stripped);
    if (accelerator < 0) return;

    const std::string_view shown(stripped);
    const std::size_t start = OffsetOfCharacter(shown, accelerator - 1);
    const std::size_t end = OffsetOfCharacter(shown, accelerator);
    const int h = canvas.TextHeight(shown);
    const int x = origin.X - h + 1;
    const int y1 = origin.Y + canvas.TextWidth(shown.substr(0, start));
    const int y2 = y1 + canvas.TextWidth(shown.substr(start, end - start));
    canvas.Pen()->SetColor(canvas.Font()->Color());
    canvas.MoveTo(x, y1);
    canvas.LineTo(x, y2);
}

void DrawGlowFace(TCanvas& canvas, const TRect& rect, TColor upperFrom, TColor upperTo,
                  TGDIPGradient upperKind, TColor lowerFrom, TColor lowerTo, TGDIPGradient lowerKind,
                  TColor borderColor, bool rounded) {
    const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
    const int W = R - L, H = B - T;
    const int h = H / 2, w = W / 2;

    // Lower half.
    canvas.Brush()->SetColor(lowerFrom);
    canvas.FillRect({L, T + h, R, B});
    {
        TVectorGraphics graphics(canvas);
        TVectorPath path;
        path.AddEllipse(F(L), F(T + h), F(W), F(H));
        if (lowerKind == ggRadial) {
            TVectorPathGradientBrush brush(path);
            brush.SetCenterPoint({F(L + w), F(B)});
            brush.SetCenterColor(ColorToARGB(lowerTo));
            brush.SetSurroundColors({ColorToARGB(lowerFrom)});
            graphics.FillRectangle(brush, F(L + 1), F(T + h), F(W - 1), F(h + 1));
        } else {
            TVectorLinearGradientBrush brush({F(L), F(T + h), F(W), F(h)}, ColorToARGB(lowerFrom),
                                             ColorToARGB(lowerTo), LinearMode(lowerKind));
            graphics.FillRectangle(brush, F(L + 1), F(T + h + 1), F(W - 1), F(h + 1));
        }
    }

    // Upper half, then the frame on the same surface.
    canvas.Brush()->SetColor(upperFrom);
    canvas.FillRect({L, T, R, T + h});
    TVectorGraphics graphics(canvas);
    TVectorPath path;
    path.AddEllipse(F(L), F(T - h), F(W), F(H));
    const int hUpper = (H % 2 != 0) ? h + 1 : h;
    const TRectF fill{F(L + 1), F(T + 1), F(W - 1), F(H - hUpper - 1)};
    if (upperKind == ggRadial) {
        TVectorPathGradientBrush brush(path);
        brush.SetCenterPoint({F(L + w), F(T)});
        brush.SetCenterColor(ColorToARGB(upperTo));
        brush.SetSurroundColors({ColorToARGB(upperFrom)});
        graphics.FillRectangle(brush, fill.X, fill.Y, fill.Width, fill.Height);
    } else {
        const TRectF box =
            upperKind == ggVertical ? TRectF{F(L), F(T), F(W), F(h)} : TRectF{F(L), F(T), F(W), F(H)};
        TVectorLinearGradientBrush brush(box, ColorToARGB(upperFrom), ColorToARGB(upperTo),
                                         LinearMode(upperKind));
        graphics.FillRectangle(brush, fill.X, fill.Y, fill.Width, fill.Height);
    }

    if (borderColor == clNone) return;
    const TVectorPen pen(ColorToARGB(borderColor), 1.0f);
    graphics.SetSmoothingMode(TSmoothingMode::AntiAlias);
    if (rounded)
        DrawRoundRectPath(graphics, pen, L, T, W - 1, H - 1, 3);
    else
        DrawRectanglePath(graphics, pen, L, T, W - 1, H - 1);
}

} // namespace emr
