// Measuring and painting a toolbar's chrome from the values it is given.

#include "toolbar/ToolBarChrome.h"

#include <algorithm>

#include "framework/graphics/Canvas.h"
#include "framework/graphics/Picture.h"
#include "styling/AdvMenuStyler.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "styling/GradientPainting.h"
#include "toolbar/ToolBarDockSite.h"

namespace emr {

namespace {

void Line(TCanvas& c, int x1, int y1, int x2, int y2) {
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

void SolidRect(TCanvas& c, TColor color, const TRect& r) {
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Pen()->SetColor(color);
    c.Brush()->SetColor(color);
    c.Rectangle(r);
}

using M = TToolBarChrome;

constexpr TColor kFlatDotColor = RGB(165, 165, 165);

/// A stroke of a glyph, relative to the corner the glyph is drawn from. A
/// stroke one pixel long sets that pixel (a line leaves out its end point).
struct TStroke {
    int X1, Y1, X2, Y2;
};

template <std::size_t N> void Strokes(TCanvas& c, TColor color, TPoint at, const TStroke (&strokes)[N]) {
    c.Pen()->SetColor(color);
    for (const TStroke& s : strokes)
        Line(c, at.X + s.X1, at.Y + s.Y1, at.X + s.X2, at.Y + s.Y2);
}

// The floating option button's arrow, from its bottom-left corner: four rows narrowing to a point.
constexpr TStroke kOptionArrow[] = {{5, -10, 12, -10}, {6, -9, 11, -9}, {7, -8, 10, -8}, {8, -7, 9, -7}};
// The floating close button's cross, from its top-left corner: two strokes per diagonal.
constexpr TStroke kCloseCross[] = {{4, 11, 12, 4}, {5, 11, 11, 4}, {4, 5, 12, 12}, {5, 5, 11, 12}};

// The right handle's chevrons on a rounded toolbar: dark strokes with light relief below them.
// Horizontal ones are drawn from the handle's top-right corner, vertical ones from its top-left.
constexpr TStroke kRoundChevronDarkH[] = {{-6, 5, -6, 8}, {-6, 6, -4, 6}, {-10, 5, -10, 8}, {-10, 6, -8, 6}};
constexpr TStroke kRoundChevronLightH[] = {{-5, 7, -5, 9}, {-5, 7, -3, 7}, {-9, 7, -9, 9}, {-9, 7, -7, 7}};
constexpr TStroke kRoundChevronDarkV[] = {{5, 5, 8, 5}, {6, 5, 6, 7}, {5, 9, 8, 9}, {6, 9, 6, 11}};
constexpr TStroke kRoundChevronLightV[] = {{7, 6, 9, 6}, {7, 6, 7, 8}, {7, 10, 9, 10}, {7, 10, 7, 12}};
// The option arrow of a rounded handle, with its relief: horizontal from the bottom-right
// corner, vertical from the top-right corner.
constexpr TStroke kRoundArrowDarkH[] = {
    {-9, -11, -4, -11}, {-9, -8, -4, -8}, {-8, -7, -5, -7}, {-7, -6, -6, -6}};
constexpr TStroke kRoundArrowLightH[] = {
    {-8, -10, -3, -10}, {-5, -7, -3, -7}, {-6, -6, -4, -6}, {-6, -5, -5, -5}};
constexpr TStroke kRoundArrowDarkV[] = {{-9, 5, -9, 10}, {-6, 5, -6, 10}, {-5, 6, -5, 9}, {-4, 7, -3, 7}};
constexpr TStroke kRoundArrowLightV[] = {{-8, 6, -8, 11}, {-5, 9, -5, 11}, {-4, 8, -2, 8}, {-4, 9, -3, 9}};
// The same on a square handle: chevrons from the top-left corner, arrows as above, no relief.
constexpr TStroke kSquareChevronH[] = {{8, 3, 11, 6}, {11, 6, 7, 10}, {6, 3, 9, 6}, {9, 6, 5, 10}};
constexpr TStroke kSquareChevronV[] = {{3, 6, 5, 8}, {5, 8, 8, 5}, {3, 8, 5, 10}, {5, 10, 8, 7}};
constexpr TStroke kSquareArrowH[] = {{-9, -9, -4, -9}, {-9, -7, -4, -7}, {-8, -6, -5, -6}, {-7, -5, -6, -5}};
constexpr TStroke kSquareArrowV[] = {{-9, 6, -9, 11}, {-6, 6, -6, 11}, {-5, 7, -5, 10}, {-4, 8, -3, 8}};

} // namespace

// ---- Geometry -------------------------------------------------------------------------------------

TRect TToolBarChrome::CaptionRect() const {
    TRect c = v_.Client;
    if (v_.Floating) return {c.Left, c.Top, c.Right, c.Top + v_.CaptionHeight};
    if (!v_.ShowCaption) return {};
    bool top = v_.CaptionPosition == TCaptionPosition::cpTop;
    if (v_.Horizontal)
        return top ? TRect{c.Left, c.Top, c.Right, c.Top + v_.CaptionHeight}
                   : TRect{c.Left, c.Bottom - v_.CaptionHeight, c.Right, c.Bottom};
    return top ? TRect{c.Left, c.Top, c.Left + v_.CaptionHeight, c.Bottom}
               : TRect{c.Right - v_.CaptionHeight, c.Top, c.Right, c.Bottom};
}

TRect TToolBarChrome::ContentRect() const {
    TRect c = v_.Client;
    TRect cap = CaptionRect();
    if (v_.Floating) {
        c.Top = cap.Bottom;
        return c;
    }
    if (!v_.ShowCaption) return c;
    bool top = v_.CaptionPosition == TCaptionPosition::cpTop;
    if (v_.Horizontal)
        (top ? c.Top : c.Bottom) = top ? cap.Bottom : cap.Top;
    else
        (top ? c.Left : c.Right) = top ? cap.Right : cap.Left;
    return c;
}

TRect TToolBarChrome::CloseButtonRect() const {
    if (!v_.Floating || !v_.ShowClose) return {};
    TRect c = CaptionRect();
    return {c.Right - v_.CaptionHeight - M::CaptionButtonInset, c.Top + M::CaptionButtonInset,
            c.Right - M::CaptionButtonInset, c.Bottom - M::CaptionButtonInset};
}

TRect TToolBarChrome::OptionButtonRect() const {
    if (!v_.Floating || !v_.ShowOptionIndicator) return {};
    if (v_.ShowClose) {
        TRect x = CloseButtonRect();
        return {x.Left - M::CaptionButtonGap - v_.CaptionHeight, x.Top, x.Left - M::CaptionButtonGap,
                x.Bottom};
    }
    TRect c = CaptionRect();
    return {c.Right - M::CaptionButtonInset - v_.CaptionHeight, c.Top + M::CaptionButtonInset,
            c.Right - M::CaptionButtonInset, c.Bottom - M::CaptionButtonInset};
}

TRect TToolBarChrome::CaptionOptionIndicatorRect() const {
    if (!v_.ShowOptionIndicator || v_.ShowRightHandle || v_.Floating || !v_.ShowCaption || !v_.Horizontal)
        return {-1, -1, -1, -1};
    TRect c = CaptionRect();
    return {c.Right - v_.CaptionHeight + M::CaptionButtonInset, c.Top + M::IndicatorTopInset,
            c.Right - M::CaptionButtonInset, c.Bottom - M::CaptionButtonInset};
}

TRect TToolBarChrome::GripHitRect() const {
    if (v_.Styler->DragGripStyle() == dsNone || v_.Floating) return {};
    return v_.Horizontal ? TRect{0, 0, M::GripLength, v_.Height} : TRect{0, 0, v_.Width, M::GripLength};
}

TRect TToolBarChrome::RightHandleHitRect() const {
    if (!v_.ShowRightHandle) return {};
    int h = RightHandleLength();
    return v_.Horizontal ? TRect{v_.Width - h, 0, v_.Width, v_.Height}
                         : TRect{0, v_.Height - h, v_.Width, v_.Height};
}

TRect TToolBarChrome::FloatingCaptionDragRect() const {
    if (!v_.Floating) return {};
    TRect r = CaptionRect();
    if (v_.ShowOptionIndicator)
        r.Right = OptionButtonRect().Left;
    else if (v_.ShowClose)
        r.Right = CloseButtonRect().Left;
    return r;
}

TRect TToolBarChrome::BackgroundRect() const {
    TRect r = ContentRect();
    return {r.Left, r.Top, r.Right + 1, r.Bottom + 1};
}

void TToolBarChrome::Paint(TCanvas& canvas) const {
    if (v_.Floating) PaintFloatingCaption(canvas);
    if (!v_.Floating && v_.ShowCaption) PaintDockedCaption(canvas);
    TRect b = BackgroundRect();
    PaintBackground(canvas, b);
    if (!v_.Floating) PaintBevel(canvas);
    PaintGrip(canvas);
    if (v_.ShowRightHandle)
        PaintRightHandle(canvas);
    else
        PaintCaptionIndicator(canvas);
    PaintRoundCorners(canvas, b);
    PaintBorder(canvas, b);
}

// The caption bar's face and border, the same for floating and docked toolbars.
void TToolBarChrome::PaintCaptionBar(TCanvas& canvas, const TRect& cr) const {
    const TCaptionAppearance* ca = v_.Styler->CaptionAppearance();
    TColor from = ca->CaptionColor(), to = ca->CaptionColorTo();
    if (from != clNone && to != clNone)
        DrawGradient(canvas, from, to, M::CaptionGradientSteps, cr, false);
    else if (from != clNone || to != clNone)
        SolidRect(canvas, from, cr);
    if (ca->CaptionBorderColor() != clNone) {
        canvas.Pen()->SetColor(ca->CaptionBorderColor());
        canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        canvas.Rectangle(cr);
    }
}

void TToolBarChrome::PaintFloatingCaption(TCanvas& canvas) const {
    const TCaptionAppearance* ca = v_.Styler->CaptionAppearance();
    const TRect cr = CaptionRect();
    PaintCaptionBar(canvas, cr);
    if (!v_.Caption.empty()) {
        canvas.SetFont(v_.ParentStyler ? v_.Styler->CaptionFont() : v_.CaptionFont);
        canvas.Font()->SetColor(ca->CaptionTextColor());
        canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        int right = v_.ShowOptionIndicator ? OptionButtonRect().Left
                    : v_.ShowClose         ? CloseButtonRect().Left
                                           : cr.Right;
        TRect t{cr.Left + M::CaptionTextIndent, cr.Top, right, cr.Bottom};
        canvas.DrawText(v_.Caption, t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
    PaintOptionButton(canvas);
    PaintCloseButton(canvas);
}

namespace {

/// Face of a floating caption button by state; returns the glyph colour.
TColor FloatingButtonFace(TCanvas& c, const TRect& r, bool down, bool hot, TColor captionColor,
                          const TMenuRootItemAppearance* root) {
    TColor pen = captionColor, brush = captionColor, glyph = clWhite;
    if (down) {
        pen = clBlack;
        brush = root->Color();
    } else if (hot) {
        pen = clBlack;
        brush = root->HoverColor();
        glyph = clBlack;
    }
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Pen()->SetColor(pen);
    c.Brush()->SetColor(brush);
    c.Rectangle(r);
    return glyph;
}

} // namespace

void TToolBarChrome::PaintOptionButton(TCanvas& canvas) const {
    TRect r = OptionButtonRect();
    if (r.Empty()) return;
    TColor glyph = FloatingButtonFace(canvas, r, v_.Parts.OptionDown, v_.Parts.OptionHot,
                                      v_.Styler->CaptionAppearance()->CaptionColor(),
                                      v_.Styler->CurrentMenuStyler()->RootItem());
    Strokes(canvas, glyph, {r.Left, r.Bottom}, kOptionArrow);
}

void TToolBarChrome::PaintCloseButton(TCanvas& canvas) const {
    TRect r = CloseButtonRect();
    if (r.Empty()) return;
    TColor glyph = FloatingButtonFace(canvas, r, v_.Parts.CloseDown, v_.Parts.CloseHot,
                                      v_.Styler->CaptionAppearance()->CaptionColor(),
                                      v_.Styler->CurrentMenuStyler()->RootItem());
    Strokes(canvas, glyph, {r.Left, r.Top}, kCloseCross);
}

void TToolBarChrome::PaintDockedCaption(TCanvas& canvas) const {
    const TCaptionAppearance* ca = v_.Styler->CaptionAppearance();
    const TRect cr = CaptionRect();
    PaintCaptionBar(canvas, cr);
    if (v_.Caption.empty()) return;
    bool horizontal = v_.Horizontal;
    TRect t = cr;
    int advance = (v_.Styler->DragGripStyle() != dsNone ? M::GripLength : 0) + M::CaptionTextIndent;
    (horizontal ? t.Left : t.Top) += advance;
    if (v_.ShowRightHandle && !v_.FullSize)
        (horizontal ? t.Right : t.Bottom) -= RightHandleLength() + M::CaptionHandleGap;
    canvas.SetFont(v_.Styler->CaptionFont());
    canvas.Font()->SetColor(ca->CaptionTextColor());
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    if (horizontal) {
        if (v_.ShowOptionIndicator && !v_.ShowRightHandle) t.Right = CaptionOptionIndicatorRect().Left;
        unsigned align = v_.CaptionAlignment == TAlignment::taRightJustify ? DT_RIGHT
                         : v_.CaptionAlignment == TAlignment::taCenter     ? DT_CENTER
                                                                           : DT_LEFT;
        canvas.DrawText(v_.Caption, t, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | align);
        return;
    }
    bool left = v_.Position == TDockAlign::daLeft;
    canvas.Font()->SetOrientation(left ? 900 : -900);
    int w = canvas.TextWidth(StripHotkey(v_.Caption));
    TPoint p;
    if (left) {
        p.X = t.Left;
        p.Y = v_.CaptionAlignment == TAlignment::taLeftJustify    ? t.Bottom - 2
              : v_.CaptionAlignment == TAlignment::taRightJustify ? t.Top + w + 2
                                                                  : t.Bottom - (t.Height() - w) / 2;
    } else {
        p.X = t.Right;
        p.Y = v_.CaptionAlignment == TAlignment::taLeftJustify    ? t.Top
              : v_.CaptionAlignment == TAlignment::taRightJustify ? t.Bottom - w - 5
                                                                  : t.Top + (t.Height() - w) / 2;
    }
    TextOutVertical(canvas, v_.Caption, p);
}

void TToolBarChrome::PaintBackground(TCanvas& canvas, const TRect& b) const {
    const TCustomAdvToolBarStyler* s = v_.Styler;
    TColor from = s->Color()->Color(), to = s->Color()->ColorTo();
    int steps = s->Color()->Steps();
    bool horizontal = s->Color()->Direction() == gdHorizontal;
    if (!v_.Horizontal && !v_.ParentStyler) horizontal = !horizontal;
    if (v_.FullSize) {
        steps = M::FullSizeGradientSteps;
        from = s->DockColor()->Color();
        to = s->DockColor()->ColorTo();
        horizontal = s->DockColor()->Direction() == gdHorizontal;
        if (v_.Floating) to = from;
    }
    if (to == clNone) {
        SolidRect(canvas, from, b);
    } else if (!v_.Floating || v_.FloatingRows <= 1) {
        DrawGradient(canvas, from, to, steps, b, horizontal);
    } else {
        for (int i = 0; i < v_.FloatingRows; ++i) {
            int top = b.Top + i * v_.DockedThickness;
            DrawGradient(canvas, from, to, steps, {b.Left, top, b.Right, top + v_.DockedThickness},
                         horizontal);
        }
    }
    const TBitmap* image = s->BackGround();
    if (image->Empty()) return;
    switch (s->BackGroundDisplay()) {
    case bdTile:
        for (int y = 0, row = 0; y < v_.Height - 1; y += image->Height(), ++row)
            for (int x = row == 0 ? 0 : 1; x < v_.Width - 1; x += image->Width())
                canvas.Draw(x, y, image);
        break;
    case bdCenter:
        canvas.Draw((v_.Width - image->Width()) / 2, (v_.Height - image->Height()) / 2, image);
        break;
    case bdStretch:
        canvas.StretchDraw(b.Inflate(-M::BackgroundImageInset, -M::BackgroundImageInset), image);
        break;
    }
}

void TToolBarChrome::PaintBevel(TCanvas& canvas) const {
    const TCustomAdvToolBarStyler* s = v_.Styler;
    if (!s->ShowToolBarBevel() || s->ToolBarBevel() == 0) return;
    TColor first = clWhite, second = clBtnShadow;
    int k = 0;
    if (s->ToolBarBevel() == 1) {
        first = clBtnShadow;
        second = clWhite;
        k = 1;
    }
    int w = v_.Width, h = v_.Height;
    canvas.Pen()->SetColor(first);
    canvas.MoveTo(k, h);
    canvas.LineTo(k, k);
    canvas.LineTo(w, k);
    canvas.Pen()->SetColor(second);
    canvas.MoveTo(w - 1, k);
    canvas.LineTo(w - 1, h - 1);
    canvas.LineTo(k, h - 1);
}

void TToolBarChrome::PaintGrip(TCanvas& canvas) const {
    const TCustomAdvToolBarStyler* s = v_.Styler;
    TDragGripStyle style = s->DragGripStyle();
    if (style == dsNone || v_.Floating) return;
    bool horizontal = v_.Horizontal;
    TRect g = horizontal ? TRect{M::GripInset, M::GripInset, M::GripLength, v_.Height}
                         : TRect{M::GripInset, M::GripInset, v_.Width, M::GripLength};
    if (!s->DragGripImage()->Empty()) {
        canvas.StretchDraw(g, s->DragGripImage());
        return;
    }
    int l = g.Left, t = g.Top, r = g.Right, bt = g.Bottom;
    // A dot is a shadow square with a light twin one pixel further down and right.
    auto dot = [&](int x, int y) {
        SolidRect(canvas, clWhite, {x + 1, y + 1, x + 1 + M::GripDotSize, y + 1 + M::GripDotSize});
        SolidRect(canvas, clBtnShadow, {x, y, x + M::GripDotSize, y + M::GripDotSize});
    };
    // Marks run from one end margin to the other along the grip, a few pixels across it.
    constexpr int across = 3;
    const int end = (horizontal ? bt : r) - M::GripEndMargin;
    // Lines run up a horizontal grip from its bottom margin, and along a vertical one
    // to one pixel short of its end margin; a double line's two strokes lie apart by
    // the gap between them.
    constexpr int lineStart = 3, lineEndShort = 1;
    constexpr int singleAcross = 4, doubleAcross = 2, doubleGap = 3;
    auto gripLine = [&](int offset) {
        if (horizontal)
            Draw3DGripLine(canvas, {l + offset, end}, {l + offset, t + lineStart}, true, true);
        else
            Draw3DGripLine(canvas, {l + lineStart, t + offset}, {end - lineEndShort, t + offset}, true,
                           false);
    };
    switch (style) {
    case dsDots: {
        int count = (end - M::GripEndMargin) / M::GripDotPitch;
        for (int k = 0; k < count; ++k) {
            int along = M::GripEndMargin + M::GripDotPitch * k;
            if (horizontal)
                dot(l + across, t + along);
            else
                dot(l + along, t + across);
        }
        break;
    }
    case dsSingleLine:
        gripLine(singleAcross);
        break;
    case dsDoubleLine:
        gripLine(doubleAcross);
        gripLine(doubleAcross + doubleGap);
        break;
    case dsFlatDots: {
        int count = (end - M::GripEndMargin) / M::FlatDotPitch;
        canvas.Pen()->SetColor(kFlatDotColor);
        for (int k = 0; k < count; ++k) {
            int along = M::GripEndMargin + M::FlatDotPitch * k;
            if (horizontal)
                Line(canvas, l + doubleAcross, t + along, l + doubleAcross + doubleGap, t + along);
            else
                Line(canvas, l + along, t + doubleAcross, l + along, t + doubleAcross + doubleGap);
        }
        break;
    }
    case dsNone:
        break;
    }
}

void TToolBarChrome::PaintRightHandle(TCanvas& canvas) const {
    if (!v_.ShowRightHandle || v_.Floating || v_.FullSize) return;
    const TCustomAdvToolBarStyler* s = v_.Styler;
    bool horizontal = v_.Horizontal;
    int len = RightHandleLength();
    TRect h = horizontal ? TRect{v_.Width - len, 0, v_.Width + 1, v_.Height + 1}
                         : TRect{0, v_.Height - len, v_.Width, v_.Height};
    bool round = s->RoundCorners();
    if (!round)
        h = horizontal ? TRect{h.Left - 1, h.Top + 1, h.Right - 2, h.Bottom - 2}
                       : TRect{h.Left + 1, h.Top, h.Right - 1, h.Bottom - 1};
    const TButtonAppearance* ba = s->ButtonAppearance();
    TColor from = s->RightHandleColor(), to = s->RightHandleColorTo(), frame = ba->BorderColor();
    if (v_.Parts.HandleDown) {
        from = s->RightHandleColorDown();
        to = s->RightHandleColorDownTo();
        frame = ba->BorderDownColor();
    } else if (v_.Parts.HandleHot) {
        from = s->RightHandleColorHot();
        to = s->RightHandleColorHotTo();
        frame = ba->BorderHotColor();
    }
    if (!s->RightHandleImage()->Empty()) {
        canvas.StretchDraw(h, s->RightHandleImage());
        return;
    }
    TRect fill = horizontal ? TRect{h.Left + M::HandleFaceInset, h.Top, h.Right, h.Bottom}
                            : TRect{h.Left, h.Top + M::HandleFaceInset, h.Right, h.Bottom};
    if (from == clNone || to == clNone)
        SolidRect(canvas, from, fill);
    else
        DrawGradient(canvas, from, to, M::HandleGradientSteps, fill, !horizontal);

    int L = h.Left, T = h.Top, R = h.Right, B = h.Bottom;
    bool chevron = v_.Chevron;
    if (round) {
        if (to == clNone) to = from;
        if (TToolBarDockSite* panel = v_.Panel) {
            int lp = v_.Origin.X, tp = v_.Origin.Y, wp = v_.Width, hp = v_.Height;
            auto take = [&](int x, int y, int px, int py) {
                canvas.SetPixel(x, y, PixelToColor(panel->BackgroundPixel(px, py)));
            };
            if (horizontal) {
                take(R - 2, T, lp + wp - 1, tp);
                take(R - 2, T + 1, lp + wp - 1, tp);
                take(R - 3, T, lp + wp - 2, tp);
                take(R - 2, B - 2, lp + wp - 1, tp + hp);
                take(R - 2, B - 3, lp + wp - 1, tp + hp);
                take(R - 3, B - 2, lp + wp - 2, tp + hp);
            } else {
                take(L, B - 1, lp + 1, tp + hp);
                take(L, B - 2, lp + 1, tp + hp);
                take(L + 1, B - 1, lp + 2, tp + hp);
                take(R - 1, B - 1, lp + wp - 1, tp + hp);
                take(R - 1, B - 2, lp + wp - 1, tp + hp);
                take(R - 2, B - 1, lp + wp - 2, tp + hp);
            }
        }
        if (horizontal) {
            canvas.SetPixel(L + 1, B - 2, to);
            canvas.SetPixel(L + 2, B - 2, to);
            canvas.SetPixel(L + 2, B - 3, to);
            canvas.SetPixel(L + 1, T, from);
            canvas.SetPixel(L + 2, T, from);
            canvas.SetPixel(L + 2, T + 1, from);
        } else {
            canvas.SetPixel(L, T + 2, from);
            canvas.SetPixel(L + 1, T + 2, from);
            canvas.SetPixel(L, T + 1, from);
            canvas.SetPixel(R - 1, T + 2, to);
            canvas.SetPixel(R - 2, T + 2, to);
            canvas.SetPixel(R - 1, T + 1, to);
        }
        if (chevron) {
            if (horizontal) {
                Strokes(canvas, clBlack, {R, T}, kRoundChevronDarkH);
                Strokes(canvas, clWhite, {R, T}, kRoundChevronLightH);
            } else {
                Strokes(canvas, clBlack, {L, T}, kRoundChevronDarkV);
                Strokes(canvas, clWhite, {L, T}, kRoundChevronLightV);
            }
        }
        if (v_.ShowOptionIndicator) {
            if (horizontal) {
                Strokes(canvas, clBlack, {R, B}, kRoundArrowDarkH);
                Strokes(canvas, clWhite, {R, B}, kRoundArrowLightH);
            } else {
                Strokes(canvas, clBlack, {R, T}, kRoundArrowDarkV);
                Strokes(canvas, clWhite, {R, T}, kRoundArrowLightV);
            }
        }
        return;
    }
    if (frame != clNone) {
        canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        canvas.Pen()->SetColor(frame);
        if (horizontal)
            canvas.Rectangle(h.Left + 3, h.Top, h.Right - 1, h.Bottom - 1);
        else
            canvas.Rectangle(h.Left, h.Top + 3, h.Right, h.Bottom);
    }
    if (chevron) {
        if (horizontal)
            Strokes(canvas, clBlack, {L, T}, kSquareChevronH);
        else
            Strokes(canvas, clBlack, {L, T}, kSquareChevronV);
    }
    if (v_.ShowOptionIndicator) {
        if (horizontal)
            Strokes(canvas, clBlack, {R, B}, kSquareArrowH);
        else
            Strokes(canvas, clBlack, {R, T}, kSquareArrowV);
    }
}

void TToolBarChrome::PaintCaptionIndicator(TCanvas& canvas) const {
    TRect r = CaptionOptionIndicatorRect();
    if (r.Left < 0) return;
    const TGlowButtonAppearance* g = v_.Styler->GlowButtonAppearance();
    TColor base = v_.Styler->CaptionAppearance()->CaptionColor();
    bool face = v_.Parts.IndicatorDown || v_.Parts.IndicatorLit || v_.Parts.Fading;
    if (face) {
        TColor upperFrom, upperTo, lowerFrom, lowerTo, border;
        TGDIPGradient upperKind, lowerKind;
        int percent = v_.Parts.Fading ? std::clamp(v_.Parts.FadePercent, 0, M::FadeFull) : M::FadeFull;
        if (v_.Parts.IndicatorDown) {
            upperFrom = BlendColor(g->ColorDown(), g->ColorHot(), percent);
            upperTo = BlendColor(g->ColorDownTo(), g->ColorHotTo(), percent);
            lowerFrom = BlendColor(g->ColorMirrorDown(), g->ColorMirrorHot(), percent);
            lowerTo = BlendColor(g->ColorMirrorDownTo(), g->ColorMirrorHotTo(), percent);
            border = BlendColor(g->BorderColorDown(), g->BorderColorHot(), percent);
            upperKind = g->GradientDown();
            lowerKind = g->GradientMirrorDown();
        } else {
            upperFrom = BlendColor(g->ColorHot(), base, percent);
            upperTo = BlendColor(g->ColorHotTo(), base, percent);
            lowerFrom = BlendColor(g->ColorMirrorHot(), base, percent);
            lowerTo = BlendColor(g->ColorMirrorHotTo(), base, percent);
            border = BlendColor(g->BorderColorHot(), base, percent);
            upperKind = g->GradientHot();
            lowerKind = g->GradientMirrorHot();
        }
        DrawGlowFace(canvas, r, upperFrom, upperTo, upperKind, lowerFrom, lowerTo, lowerKind, border, false);
    }
    const TPicture* pic = v_.OptionPicture;
    if (!v_.Enabled && v_.OptionDisabledPicture->Graphic() && !v_.OptionDisabledPicture->Graphic()->Empty())
        pic = v_.OptionDisabledPicture;
    if (pic->Graphic() && !pic->Graphic()->Empty()) {
        int x = r.Left + std::max(0, (r.Width() - pic->Width()) / 2);
        int y = r.Top + std::max(0, (r.Height() - pic->Height()) / 2);
        canvas.Draw(x, y, pic->Graphic());
    }
}

void TToolBarChrome::PaintRoundCorners(TCanvas& canvas, TRect b) const {
    const TCustomAdvToolBarStyler* s = v_.Styler;
    if (!s->RoundCorners() || s->ToolBarBevel() != 0) return;
    TRect client = v_.Client;
    if (v_.ShowCaption && !v_.Floating) {
        bool top = v_.CaptionPosition == TCaptionPosition::cpTop;
        if (v_.Horizontal)
            (top ? b.Top : b.Bottom) = top ? client.Top : client.Bottom + 1;
        else
            (top ? b.Left : b.Right) = top ? client.Left : client.Right + 1;
    }
    TToolBarDockSite* panel = v_.Panel;
    if (!v_.Docked || !panel) return;
    int lp = v_.Origin.X, tp = v_.Origin.Y, wp = v_.Width, hp = v_.Height;
    bool horizontal = v_.Horizontal;
    bool noHandle = !v_.ShowRightHandle && !v_.FullSize;
    auto fromPanel = [&](int x, int y, int px, int py) {
        canvas.SetPixel(x, y, PixelToColor(panel->PanelPixel(px, py)));
    };
    auto fromBuffer = [&](int x, int y, int px, int py) {
        canvas.SetPixel(x, y, PixelToColor(panel->BackgroundPixel(px, py)));
    };
    fromPanel(b.Left, b.Top, lp - 1, tp - 1);
    fromPanel(b.Left + 1, b.Top, lp + 1, tp - 1);
    fromPanel(b.Left, b.Top + 1, lp - 1, tp);
    if (horizontal) {
        fromPanel(b.Left, b.Bottom - 2, lp - 1, tp + hp);
        fromPanel(b.Left + 1, b.Bottom - 2, lp - 1, tp + hp);
        fromPanel(b.Left, b.Bottom - 3, lp - 1, tp + hp);
        if (noHandle) {
            fromBuffer(b.Right - 2, b.Top, lp + wp - 1, tp);
            fromBuffer(b.Right - 3, b.Top, lp + wp - 2, tp);
            fromBuffer(b.Right - 2, b.Top + 1, lp + wp - 1, tp);
        }
    } else {
        if (noHandle) {
            fromBuffer(b.Left, b.Bottom - 2, lp + 1, tp + hp);
            fromBuffer(b.Left + 1, b.Bottom - 2, lp + 2, tp + hp);
            fromBuffer(b.Left, b.Bottom - 3, lp + 1, tp + hp);
        }
        fromBuffer(b.Right - 1, b.Top, lp + wp, tp);
        fromBuffer(b.Right - 2, b.Top, lp + wp - 1, tp);
        fromBuffer(b.Right - 1, b.Top + 1, lp + wp, tp + 1);
    }
    if (noHandle) {
        fromBuffer(b.Right - 2, b.Bottom - 2, lp + wp - 1, tp + hp);
        fromBuffer(b.Right - 3, b.Bottom - 2, lp + wp - 2, tp + hp);
        fromBuffer(b.Right - 2, b.Bottom - 3, lp + wp - 1, tp + hp);
    }
}

void TToolBarChrome::PaintBorder(TCanvas& canvas, const TRect& b) const {
    const TCustomAdvToolBarStyler* s = v_.Styler;
    TColor border = s->BorderColor();
    bool rounded = s->RoundCorners();
    if (v_.FullSize) {
        rounded = false;
        if (!v_.Floating) border = clNone;
    }
    if (border == clNone || v_.Floating) return;
    canvas.Pen()->SetColor(border);
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    if (rounded && s->ToolBarBevel() == 0)
        canvas.RoundRect(b.Left, b.Top, b.Right - 1, b.Bottom - 1, M::CornerDiameter, M::CornerDiameter);
    else
        canvas.Rectangle(b);
}

} // namespace emr
