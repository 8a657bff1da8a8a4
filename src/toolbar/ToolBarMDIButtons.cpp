#include "toolbar/ToolBarMDIButtons.h"

#include <algorithm>

#include "framework/forms/MDIChild.h"
#include "framework/graphics/Canvas.h"
#include "styling/ButtonAppearance.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "styling/GradientPainting.h"
#include "toolbar/AdvCustomToolBar.h"

namespace emr {

namespace {

constexpr TColor kGreyGlyph = 0x808080;

void Bar(TCanvas& c, int left, int top, int right, int bottom, TColor colour) {
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Brush()->SetColor(colour);
    c.FillRect({left, top, right, bottom});
}

/// An 8 x 8 window outline with a title edge two pixels thick.
void WindowOutline(TCanvas& c, int x, int y, int w, int h, TColor colour) {
    Bar(c, x, y, x + w, y + 2, colour);
    Bar(c, x, y, x + 1, y + h, colour);
    Bar(c, x + w - 1, y, x + w, y + h, colour);
    Bar(c, x, y + h - 1, x + w, y + h, colour);
}

} // namespace

TMDIChild* TToolBarMDIButtons::Child() const {
    if (!toolBar_->AutoMDIButtons()) return nullptr;
    TMDIChild* child = ActiveMDIChildOf(dynamic_cast<const TCustomForm*>(toolBar_->TopLevel()));
    return child && (child->BorderIcons() & biSystemMenu) ? child : nullptr;
}

bool TToolBarMDIButtons::Shown() const {
    TMDIChild* child = Child();
    return child && child->WindowState() == wsMaximized && !toolBar_->Floating();
}

TRect TToolBarMDIButtons::Rect(TKind kind) const {
    const int handle =
        toolBar_->ShowOptionIndicator() && !toolBar_->FullSize() ? toolBar_->RightHandleLength() : 0;
    // Walk back from the close button, one button and a 1-pixel gap at a time.
    const int back = (Close - kind) * (Size + 1);
    if (toolBar_->Horizontal()) {
        const int x = toolBar_->Width() - 21 - handle - back;
        const int y = std::max(2, (toolBar_->Height() - Size) / 2);
        return {x, y, x + Size, y + Size};
    }
    const int y = toolBar_->Height() - 21 - handle - back;
    const int x = std::max(2, (toolBar_->Width() - Size) / 2);
    return {x, y, x + Size, y + Size};
}

void TToolBarMDIButtons::Paint(TCanvas& canvas) const {
    if (!Shown()) return;
    TMDIChild* child = Child();
    const TButtonAppearance* a = toolBar_->CurrentStyler()->ButtonAppearance();
    for (TKind kind : {Minimize, Restore, Close}) {
        const TRect r = Rect(kind);
        if (kind == down_ || kind == hot_) {
            const bool down = kind == down_;
            const TColor from = down ? a->ColorDown() : a->ColorHot();
            const TColor to = down ? a->ColorDownTo() : a->ColorHotTo();
            const TColor border = down ? a->BorderDownColor() : a->BorderHotColor();
            const bool vertical =
                (down ? a->GradientDirectionDown() : a->GradientDirectionHot()) == gdVertical;
            if (from != clNone && to != clNone)
                DrawGradient(canvas, from, to, 40, r, !vertical);
            else if (from != clNone || to != clNone)
                Bar(canvas, r.Left, r.Top, r.Right, r.Bottom, from != clNone ? from : to);
            if (border != clNone) {
                canvas.Brush()->SetStyle(TBrushStyle::bsClear);
                canvas.Pen()->SetColor(border);
                canvas.Rectangle(r);
            }
        }
        const int x = r.Left + (r.Width() - 8) / 2;
        const int y = r.Top + (r.Height() - 8) / 2;
        if (kind == Close) {
            // Two pixels wide on each diagonal.
            for (int i = 0; i < 8; ++i) {
                Bar(canvas, x + i, y + i, x + i + 2, y + i + 1, clBlack);
                Bar(canvas, x + 6 - i, y + i, x + 8 - i, y + i + 1, clBlack);
            }
        } else if (kind == Restore) {
            const TColor colour = child->BorderIcons() & biMaximize ? clBlack : kGreyGlyph;
            if (toolBar_->Horizontal()) {
                WindowOutline(canvas, x + 2, y - 1, 6, 5, colour);
                WindowOutline(canvas, x, y + 3, 6, 5, colour);
            } else {
                WindowOutline(canvas, x, y - 1, 6, 5, colour);
                WindowOutline(canvas, x + 2, y + 3, 6, 5, colour);
            }
        } else {
            const TColor colour = child->BorderIcons() & biMinimize ? clBlack : kGreyGlyph;
            const int cx = r.Left + r.Width() / 2;
            if (toolBar_->Horizontal())
                Bar(canvas, cx - 3, r.Bottom - 6, cx + 3, r.Bottom - 4, colour);
            else
                Bar(canvas, r.Left + 4, r.Top + r.Height() / 2 - 3, r.Left + 6, r.Top + r.Height() / 2 + 3,
                    colour);
        }
    }
}

TToolBarMDIButtons::TKind TToolBarMDIButtons::At(TPoint p) const {
    if (!Shown()) return None;
    for (TKind kind : {Minimize, Restore, Close})
        if (Rect(kind).Contains(p)) return kind;
    return None;
}

void TToolBarMDIButtons::Repaint(TKind kind) const {
    if (kind != None) toolBar_->InvalidateRect(Rect(kind));
}

bool TToolBarMDIButtons::MouseMove(TPoint p) {
    const TKind now = At(p);
    if (now != hot_) {
        Repaint(hot_);
        hot_ = now;
        Repaint(hot_);
    }
    return now != None || down_ != None;
}

bool TToolBarMDIButtons::MouseDown(TPoint p) {
    const TKind kind = At(p);
    if (kind == None) return false;
    TMDIChild* child = Child();
    if (kind == Close || (kind == Restore && (child->BorderIcons() & biMaximize)) ||
        (kind == Minimize && (child->BorderIcons() & biMinimize))) {
        down_ = kind;
        Repaint(kind);
    }
    return true;
}

bool TToolBarMDIButtons::MouseUp(TPoint p) {
    const TKind pressed = down_;
    if (pressed == None) return false;
    down_ = None;
    hot_ = None;
    Repaint(pressed);
    TMDIChild* child = Child();
    if (!child || child->WindowState() != wsMaximized || toolBar_->Floating()) return true;
    if (pressed == Close && At(p) == Close)
        child->Close();
    else if (pressed == Restore && (child->BorderIcons() & biMaximize))
        child->SetWindowState(wsNormal);
    else if (pressed == Minimize && (child->BorderIcons() & biMinimize))
        child->SetWindowState(wsMinimized);
    toolBar_->Invalidate();
    return true;
}

void TToolBarMDIButtons::MouseLeave() {
    if (hot_ == None) return;
    Repaint(hot_);
    hot_ = None;
}

} // namespace emr
