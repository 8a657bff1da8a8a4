// Geometry and painting of toolbars: caption bars, background, bevel, grips,
// right handle, caption-bar option indicator, rounded corners and border.

#include <algorithm>

#include "framework/forms/Timer.h"
#include "framework/graphics/Canvas.h"
#include "styling/AdvMenuStyler.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "styling/GradientPainting.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ToolBarMDIButtons.h"
#include "toolbar/ToolBarOverflow.h"

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

} // namespace

// ---- Geometry -------------------------------------------------------------------------------------

TRect TAdvCustomToolBar::CaptionRect() const {
    TRect c = ClientRect();
    if (Floating()) return {c.Left, c.Top, c.Right, c.Top + captionHeight_};
    if (!showCaption_) return {};
    bool top = captionPosition_ == TCaptionPosition::cpTop;
    if (Horizontal())
        return top ? TRect{c.Left, c.Top, c.Right, c.Top + captionHeight_}
                   : TRect{c.Left, c.Bottom - captionHeight_, c.Right, c.Bottom};
    return top ? TRect{c.Left, c.Top, c.Left + captionHeight_, c.Bottom}
               : TRect{c.Right - captionHeight_, c.Top, c.Right, c.Bottom};
}

TRect TAdvCustomToolBar::ContentRect() const {
    TRect c = ClientRect();
    TRect cap = CaptionRect();
    if (Floating()) {
        c.Top = cap.Bottom;
        return c;
    }
    if (!showCaption_) return c;
    bool top = captionPosition_ == TCaptionPosition::cpTop;
    if (Horizontal())
        (top ? c.Top : c.Bottom) = top ? cap.Bottom : cap.Top;
    else
        (top ? c.Left : c.Right) = top ? cap.Right : cap.Left;
    return c;
}

TRect TAdvCustomToolBar::CloseButtonRect() const {
    if (!Floating() || !showClose_) return {};
    TRect c = CaptionRect();
    return {c.Right - captionHeight_ - 1, c.Top + 1, c.Right - 1, c.Bottom - 1};
}

TRect TAdvCustomToolBar::OptionButtonRect() const {
    if (!Floating() || !showOptionIndicator_) return {};
    if (showClose_) {
        TRect x = CloseButtonRect();
        return {x.Left - 2 - captionHeight_, x.Top, x.Left - 2, x.Bottom};
    }
    TRect c = CaptionRect();
    return {c.Right - 1 - captionHeight_, c.Top + 1, c.Right - 1, c.Bottom - 1};
}

TRect TAdvCustomToolBar::CaptionOptionIndicatorRect() const {
    if (!showOptionIndicator_ || showRightHandle_ || Floating() || !showCaption_ || !Horizontal())
        return {-1, -1, -1, -1};
    TRect c = CaptionRect();
    return {c.Right - captionHeight_ + 1, c.Top + 2, c.Right - 1, c.Bottom - 1};
}

TRect TAdvCustomToolBar::GripHitRect() const {
    if (currentStyler_->DragGripStyle() == dsNone || Floating()) return {};
    return Horizontal() ? TRect{0, 0, GripLength, Height()} : TRect{0, 0, Width(), GripLength};
}

TRect TAdvCustomToolBar::RightHandleHitRect() const {
    if (!showRightHandle_) return {};
    int h = RightHandleLength();
    return Horizontal() ? TRect{Width() - h, 0, Width(), Height()}
                        : TRect{0, Height() - h, Width(), Height()};
}

TRect TAdvCustomToolBar::FloatingCaptionDragRect() const {
    if (!Floating()) return {};
    TRect r = CaptionRect();
    if (showOptionIndicator_)
        r.Right = OptionButtonRect().Left;
    else if (showClose_)
        r.Right = CloseButtonRect().Left;
    return r;
}

// ---- Paint order ------------------------------------------------------------------------------------

void TAdvCustomToolBar::Paint() {
    if (!firstPaintDone_) {
        firstPaintDone_ = true;
        if (Docked() && dockPanel_) overflow_->FirstPaint();
    }
    PaintToolBar(*Canvas());
}

TRect TAdvCustomToolBar::BackgroundRect() const {
    TRect r = ContentRect();
    return {r.Left, r.Top, r.Right + 1, r.Bottom + 1};
}

void TAdvCustomToolBar::PaintToolBar(TCanvas& canvas) {
    if (Floating()) PaintFloatingCaption(canvas);
    if (!Floating() && showCaption_) PaintDockedCaption(canvas);
    TRect b = BackgroundRect();
    PaintBackground(canvas, b);
    if (!Floating()) PaintBevel(canvas);
    PaintGrip(canvas);
    if (showRightHandle_)
        PaintRightHandle(canvas);
    else
        PaintCaptionIndicator(canvas);
    PaintRoundCorners(canvas, b);
    PaintBorder(canvas, b);
    if (mdiButtons_) mdiButtons_->Paint(canvas);
}

void TAdvCustomToolBar::PaintFloatingCaption(TCanvas& canvas) {
    const TCaptionAppearance* ca = currentStyler_->CaptionAppearance();
    TRect cr = CaptionRect();
    TColor from = ca->CaptionColor(), to = ca->CaptionColorTo();
    if (from != clNone && to != clNone)
        DrawGradient(canvas, from, to, 80, cr, false);
    else if (from != clNone || to != clNone)
        SolidRect(canvas, from, cr);
    if (ca->CaptionBorderColor() != clNone) {
        canvas.Pen()->SetColor(ca->CaptionBorderColor());
        canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        canvas.Rectangle(cr);
    }
    if (!caption_.empty()) {
        canvas.SetFont(parentStyler_ ? currentStyler_->CaptionFont() : captionFont_.get());
        canvas.Font()->SetColor(ca->CaptionTextColor());
        canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        int right = showOptionIndicator_ ? OptionButtonRect().Left
                    : showClose_         ? CloseButtonRect().Left
                                         : cr.Right;
        TRect t{cr.Left + 3, cr.Top, right, cr.Bottom};
        canvas.DrawText(caption_, t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
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

void TAdvCustomToolBar::PaintOptionButton(TCanvas& canvas) {
    TRect r = OptionButtonRect();
    if (r.Empty()) return;
    TColor glyph = FloatingButtonFace(canvas, r, OptionButtonDown(), OptionButtonHot(),
                                      currentStyler_->CaptionAppearance()->CaptionColor(),
                                      currentStyler_->CurrentMenuStyler()->RootItem());
    canvas.Pen()->SetColor(glyph);
    for (int i = 0; i < 4; ++i)
        Line(canvas, r.Left + 5 + i, r.Bottom - 10 + i, r.Left + 12 - i, r.Bottom - 10 + i);
}

void TAdvCustomToolBar::PaintCloseButton(TCanvas& canvas) {
    TRect r = CloseButtonRect();
    if (r.Empty()) return;
    TColor glyph = FloatingButtonFace(canvas, r, CloseButtonDown(), CloseButtonHot(),
                                      currentStyler_->CaptionAppearance()->CaptionColor(),
                                      currentStyler_->CurrentMenuStyler()->RootItem());
    canvas.Pen()->SetColor(glyph);
    int l = r.Left + 4, t = r.Top + 4;
    Line(canvas, l, t + 7, l + 8, t);
    Line(canvas, l + 1, t + 7, l + 7, t);
    Line(canvas, l, t + 1, l + 8, t + 8);
    Line(canvas, l + 1, t + 1, l + 7, t + 8);
}

void TAdvCustomToolBar::PaintDockedCaption(TCanvas& canvas) {
    const TCaptionAppearance* ca = currentStyler_->CaptionAppearance();
    TRect cr = CaptionRect();
    TColor from = ca->CaptionColor(), to = ca->CaptionColorTo();
    if (from != clNone && to != clNone)
        DrawGradient(canvas, from, to, 80, cr, false);
    else if (from != clNone || to != clNone)
        SolidRect(canvas, from, cr);
    if (ca->CaptionBorderColor() != clNone) {
        canvas.Pen()->SetColor(ca->CaptionBorderColor());
        canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        canvas.Rectangle(cr);
    }
    if (caption_.empty()) return;
    bool horizontal = Horizontal();
    TRect t = cr;
    int advance = currentStyler_->DragGripStyle() != dsNone ? GripLength + 3 : 3;
    (horizontal ? t.Left : t.Top) += advance;
    if (showRightHandle_ && !fullSize_) (horizontal ? t.Right : t.Bottom) -= RightHandleLength() + 2;
    canvas.SetFont(currentStyler_->CaptionFont());
    canvas.Font()->SetColor(ca->CaptionTextColor());
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    if (horizontal) {
        if (showOptionIndicator_ && !showRightHandle_) t.Right = CaptionOptionIndicatorRect().Left;
        unsigned align = captionAlignment_ == TAlignment::taRightJustify ? DT_RIGHT
                         : captionAlignment_ == TAlignment::taCenter     ? DT_CENTER
                                                                         : DT_LEFT;
        canvas.DrawText(caption_, t, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | align);
        return;
    }
    bool left = position_ == TDockAlign::daLeft;
    canvas.Font()->SetOrientation(left ? 900 : -900);
    int w = canvas.TextWidth(StripHotkey(caption_));
    TPoint p;
    if (left) {
        p.X = t.Left;
        p.Y = captionAlignment_ == TAlignment::taLeftJustify    ? t.Bottom - 2
              : captionAlignment_ == TAlignment::taRightJustify ? t.Top + w + 2
                                                                : t.Bottom - (t.Height() - w) / 2;
    } else {
        p.X = t.Right;
        p.Y = captionAlignment_ == TAlignment::taLeftJustify    ? t.Top
              : captionAlignment_ == TAlignment::taRightJustify ? t.Bottom - w - 5
                                                                : t.Top + (t.Height() - w) / 2;
    }
    TextOutVertical(canvas, caption_, p);
}

void TAdvCustomToolBar::PaintBackground(TCanvas& canvas, const TRect& b) {
    const TCustomAdvToolBarStyler* s = currentStyler_;
    TColor from = s->Color()->Color(), to = s->Color()->ColorTo();
    int steps = s->Color()->Steps();
    bool horizontal = s->Color()->Direction() == gdHorizontal;
    if (!Horizontal() && !parentStyler_) horizontal = !horizontal;
    if (fullSize_) {
        steps = 256;
        from = s->DockColor()->Color();
        to = s->DockColor()->ColorTo();
        horizontal = s->DockColor()->Direction() == gdHorizontal;
        if (Floating()) to = from;
    }
    if (to == clNone) {
        SolidRect(canvas, from, b);
    } else if (!Floating() || floatingRows_ <= 1) {
        DrawGradient(canvas, from, to, steps, b, horizontal);
    } else {
        for (int i = 0; i < floatingRows_; ++i) {
            int top = b.Top + i * dockedThickness_;
            DrawGradient(canvas, from, to, steps, {b.Left, top, b.Right, top + dockedThickness_}, horizontal);
        }
    }
    const TBitmap* image = s->BackGround();
    if (image->Empty()) return;
    switch (s->BackGroundDisplay()) {
    case bdTile:
        for (int y = 0, row = 0; y < Height() - 1; y += image->Height(), ++row)
            for (int x = row == 0 ? 0 : 1; x < Width() - 1; x += image->Width())
                canvas.Draw(x, y, image);
        break;
    case bdCenter:
        canvas.Draw((Width() - image->Width()) / 2, (Height() - image->Height()) / 2, image);
        break;
    case bdStretch:
        canvas.StretchDraw({b.Left + 2, b.Top + 2, b.Right - 2, b.Bottom - 2}, image);
        break;
    }
}

void TAdvCustomToolBar::PaintBevel(TCanvas& canvas) {
    const TCustomAdvToolBarStyler* s = currentStyler_;
    if (!s->ShowToolBarBevel() || s->ToolBarBevel() == 0) return;
    TColor first = clWhite, second = clBtnShadow;
    int k = 0;
    if (s->ToolBarBevel() == 1) {
        first = clBtnShadow;
        second = clWhite;
        k = 1;
    }
    int w = Width(), h = Height();
    canvas.Pen()->SetColor(first);
    canvas.MoveTo(k, h);
    canvas.LineTo(k, k);
    canvas.LineTo(w, k);
    canvas.Pen()->SetColor(second);
    canvas.MoveTo(w - 1, k);
    canvas.LineTo(w - 1, h - 1);
    canvas.LineTo(k, h - 1);
}

void TAdvCustomToolBar::PaintGrip(TCanvas& canvas) {
    const TCustomAdvToolBarStyler* s = currentStyler_;
    TDragGripStyle style = s->DragGripStyle();
    if (style == dsNone || Floating()) return;
    bool horizontal = Horizontal();
    TRect g = horizontal ? TRect{1, 1, GripLength, Height()} : TRect{1, 1, Width(), GripLength};
    if (!s->DragGripImage()->Empty()) {
        canvas.StretchDraw(g, s->DragGripImage());
        return;
    }
    int l = g.Left, t = g.Top, r = g.Right, bt = g.Bottom;
    auto square = [&](TColor color, int x, int y) { SolidRect(canvas, color, {x, y, x + 2, y + 2}); };
    switch (style) {
    case dsDots: {
        int count = ((horizontal ? bt : r) - 8) / 4;
        for (int k = 0; k < count; ++k) {
            if (horizontal) {
                int y = t + 4 + 4 * k;
                square(clWhite, l + 4, y + 1);
                square(clBtnShadow, l + 3, y);
            } else {
                int x = l + 4 + 4 * k;
                square(clWhite, x + 1, t + 4);
                square(clBtnShadow, x, t + 3);
            }
        }
        break;
    }
    case dsSingleLine:
        if (horizontal)
            Draw3DGripLine(canvas, {l + 4, bt - 4}, {l + 4, t + 3}, true, true);
        else
            Draw3DGripLine(canvas, {l + 3, t + 4}, {r - 5, t + 4}, true, false);
        break;
    case dsDoubleLine:
        if (horizontal) {
            Draw3DGripLine(canvas, {l + 2, bt - 4}, {l + 2, t + 3}, true, true);
            Draw3DGripLine(canvas, {l + 5, bt - 4}, {l + 5, t + 3}, true, true);
        } else {
            Draw3DGripLine(canvas, {l + 3, t + 2}, {r - 5, t + 2}, true, false);
            Draw3DGripLine(canvas, {l + 3, t + 5}, {r - 5, t + 5}, true, false);
        }
        break;
    case dsFlatDots: {
        int count = ((horizontal ? bt : r) - 8) / 2;
        canvas.Pen()->SetColor(RGB(165, 165, 165));
        for (int i = 0; i < count; ++i) {
            if (horizontal)
                Line(canvas, l + 2, t + 4 + 2 * i, l + 5, t + 4 + 2 * i);
            else
                Line(canvas, l + 4 + 2 * i, t + 2, l + 4 + 2 * i, t + 5);
        }
        break;
    }
    case dsNone:
        break;
    }
}

void TAdvCustomToolBar::PaintRightHandle(TCanvas& canvas) {
    if (!showRightHandle_ || Floating() || fullSize_) return;
    const TCustomAdvToolBarStyler* s = currentStyler_;
    bool horizontal = Horizontal();
    int len = RightHandleLength();
    TRect h = horizontal ? TRect{Width() - len, 0, Width() + 1, Height() + 1}
                         : TRect{0, Height() - len, Width(), Height()};
    bool round = s->RoundCorners();
    if (!round)
        h = horizontal ? TRect{h.Left - 1, h.Top + 1, h.Right - 2, h.Bottom - 2}
                       : TRect{h.Left + 1, h.Top, h.Right - 1, h.Bottom - 1};
    const TButtonAppearance* ba = s->ButtonAppearance();
    TColor from = s->RightHandleColor(), to = s->RightHandleColorTo(), frame = ba->BorderColor();
    if (RightHandleDown() || OptionWindowVisible()) {
        from = s->RightHandleColorDown();
        to = s->RightHandleColorDownTo();
        frame = ba->BorderDownColor();
    } else if (RightHandleHot()) {
        from = s->RightHandleColorHot();
        to = s->RightHandleColorHotTo();
        frame = ba->BorderHotColor();
    }
    if (!s->RightHandleImage()->Empty()) {
        canvas.StretchDraw(h, s->RightHandleImage());
        return;
    }
    TRect fill = horizontal ? TRect{h.Left + 3, h.Top, h.Right, h.Bottom}
                            : TRect{h.Left, h.Top + 3, h.Right, h.Bottom};
    if (from == clNone || to == clNone)
        SolidRect(canvas, from, fill);
    else
        DrawGradient(canvas, from, to, 16, fill, !horizontal);

    int L = h.Left, T = h.Top, R = h.Right, B = h.Bottom;
    bool chevron = Length() < fullLength_;
    auto black = [&](int x1, int y1, int x2, int y2) {
        canvas.Pen()->SetColor(clBlack);
        Line(canvas, x1, y1, x2, y2);
    };
    auto white = [&](int x1, int y1, int x2, int y2) {
        canvas.Pen()->SetColor(clWhite);
        Line(canvas, x1, y1, x2, y2);
    };
    if (round) {
        if (to == clNone) to = from;
        if (TToolBarDockSite* panel = dockPanel_) {
            int lp = Left(), tp = Top(), wp = Width(), hp = Height();
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
                black(R - 6, T + 5, R - 6, T + 8);
                black(R - 6, T + 6, R - 4, T + 6);
                black(R - 10, T + 5, R - 10, T + 8);
                black(R - 10, T + 6, R - 8, T + 6);
                white(R - 5, T + 7, R - 5, T + 9);
                white(R - 5, T + 7, R - 3, T + 7);
                white(R - 9, T + 7, R - 9, T + 9);
                white(R - 9, T + 7, R - 7, T + 7);
            } else {
                black(L + 5, T + 5, L + 8, T + 5);
                black(L + 6, T + 5, L + 6, T + 7);
                black(L + 5, T + 9, L + 8, T + 9);
                black(L + 6, T + 9, L + 6, T + 11);
                white(L + 7, T + 6, L + 9, T + 6);
                white(L + 7, T + 6, L + 7, T + 8);
                white(L + 7, T + 10, L + 9, T + 10);
                white(L + 7, T + 10, L + 7, T + 12);
            }
        }
        if (showOptionIndicator_) {
            if (horizontal) {
                black(R - 9, B - 11, R - 4, B - 11);
                black(R - 9, B - 8, R - 4, B - 8);
                black(R - 8, B - 7, R - 5, B - 7);
                canvas.SetPixel(R - 7, B - 6, clBlack);
                white(R - 8, B - 10, R - 3, B - 10);
                white(R - 5, B - 7, R - 3, B - 7);
                white(R - 6, B - 6, R - 4, B - 6);
                canvas.SetPixel(R - 6, B - 5, clWhite);
            } else {
                black(R - 9, T + 5, R - 9, T + 10);
                black(R - 6, T + 5, R - 6, T + 10);
                black(R - 5, T + 6, R - 5, T + 9);
                canvas.SetPixel(R - 4, T + 7, clBlack);
                white(R - 8, T + 6, R - 8, T + 11);
                white(R - 5, T + 9, R - 5, T + 11);
                white(R - 4, T + 8, R - 2, T + 8);
                canvas.SetPixel(R - 4, T + 9, clWhite);
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
        if (horizontal) {
            black(L + 8, T + 3, L + 11, T + 6);
            black(L + 11, T + 6, L + 7, T + 10);
            black(L + 6, T + 3, L + 9, T + 6);
            black(L + 9, T + 6, L + 5, T + 10);
        } else {
            black(L + 3, T + 6, L + 5, T + 8);
            black(L + 5, T + 8, L + 8, T + 5);
            black(L + 3, T + 8, L + 5, T + 10);
            black(L + 5, T + 10, L + 8, T + 7);
        }
    }
    if (showOptionIndicator_) {
        if (horizontal) {
            black(R - 9, B - 9, R - 4, B - 9);
            black(R - 9, B - 7, R - 4, B - 7);
            black(R - 8, B - 6, R - 5, B - 6);
            canvas.SetPixel(R - 7, B - 5, clBlack);
        } else {
            black(R - 9, T + 6, R - 9, T + 11);
            black(R - 6, T + 6, R - 6, T + 11);
            black(R - 5, T + 7, R - 5, T + 10);
            canvas.SetPixel(R - 4, T + 8, clBlack);
        }
    }
}

void TAdvCustomToolBar::PaintCaptionIndicator(TCanvas& canvas) {
    TRect r = CaptionOptionIndicatorRect();
    if (r.Left < 0) return;
    const TGlowButtonAppearance* g = currentStyler_->GlowButtonAppearance();
    TColor base = currentStyler_->CaptionAppearance()->CaptionColor();
    bool face = IndicatorDown() || indicatorLit_ || fading_;
    if (face) {
        TColor upperFrom, upperTo, lowerFrom, lowerTo, border;
        TGDIPGradient upperKind, lowerKind;
        int percent = fading_ ? std::clamp(fadePercent_, 0, 100) : 100;
        if (IndicatorDown()) {
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
    TPicture* pic = optionPicture_.get();
    if (!Enabled() && optionDisabledPicture_->Graphic() && !optionDisabledPicture_->Graphic()->Empty())
        pic = optionDisabledPicture_.get();
    if (pic->Graphic() && !pic->Graphic()->Empty()) {
        int x = r.Left + std::max(0, (r.Width() - pic->Width()) / 2);
        int y = r.Top + std::max(0, (r.Height() - pic->Height()) / 2);
        canvas.Draw(x, y, pic->Graphic());
    }
}

void TAdvCustomToolBar::PaintRoundCorners(TCanvas& canvas, TRect b) {
    const TCustomAdvToolBarStyler* s = currentStyler_;
    if (!s->RoundCorners() || s->ToolBarBevel() != 0) return;
    TRect client = ClientRect();
    if (showCaption_ && !Floating()) {
        bool top = captionPosition_ == TCaptionPosition::cpTop;
        if (Horizontal())
            (top ? b.Top : b.Bottom) = top ? client.Top : client.Bottom + 1;
        else
            (top ? b.Left : b.Right) = top ? client.Left : client.Right + 1;
    }
    TToolBarDockSite* panel = dockPanel_;
    if (!Docked() || !panel) return;
    int lp = Left(), tp = Top(), wp = Width(), hp = Height();
    bool horizontal = Horizontal();
    bool noHandle = !showRightHandle_ && !fullSize_;
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

void TAdvCustomToolBar::PaintBorder(TCanvas& canvas, const TRect& b) {
    const TCustomAdvToolBarStyler* s = currentStyler_;
    TColor border = s->BorderColor();
    bool rounded = s->RoundCorners();
    if (fullSize_) {
        rounded = false;
        if (!Floating()) border = clNone;
    }
    if (border == clNone || Floating()) return;
    canvas.Pen()->SetColor(border);
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    if (rounded && s->ToolBarBevel() == 0)
        canvas.RoundRect(b.Left, b.Top, b.Right - 1, b.Bottom - 1, 6, 6);
    else
        canvas.Rectangle(b);
}

// ---- Caption-bar indicator fade ------------------------------------------------------------------

void TAdvCustomToolBar::StartFade(int step) {
    fadeStep_ = step;
    fadePercent_ = std::clamp(fadePercent_, 0, 100);
    if (!fadeTimer_) {
        fadeTimer_ = new TTimer(this);
        fadeTimer_->SetEnabled(false);
        fadeTimer_->SetInterval(30);
        fadeTimer_->OnTimer = [this](TObject*) { FadeTick(); };
    }
    fading_ = true;
    fadeTimer_->SetEnabled(true);
    InvalidateIndicator();
}

void TAdvCustomToolBar::FadeTick() {
    fadePercent_ += fadeStep_;
    if (fadePercent_ >= 0 && fadePercent_ <= 100) {
        InvalidateIndicator();
        return;
    }
    // The fade is over: the timer stops (it is kept for the next fade).
    fadeTimer_->SetEnabled(false);
    fading_ = false;
    if (fadePercent_ < 0) {
        indicatorLit_ = false;
        fadePercent_ = -20;
    } else {
        fadePercent_ = 120;
    }
    InvalidateRect(CaptionRect());
}

void TAdvCustomToolBar::InvalidateIndicator() {
    TRect r = CaptionOptionIndicatorRect();
    if (r.Left >= 0) InvalidateRect(r);
}

void TAdvCustomToolBar::InvalidateRightHandle() {
    TRect r = RightHandleHitRect();
    if (!r.Empty()) InvalidateRect(r.Inflate(1, 1));
}

} // namespace emr
