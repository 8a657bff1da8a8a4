#include "framework/controls/PaintEngine.h"

#include <algorithm>
#include <vector>

#include "framework/controls/WinControl.h"
#include "framework/graphics/Canvas.h"

namespace emr {

namespace {

/// Where a child's top-left lies in the buffer, given its parent's.
TPoint ChildOrigin(const TControl& child, TPoint parentOrigin) {
    return {parentOrigin.X + child.VisualLeft(), parentOrigin.Y + child.Top()};
}

/// Points the canvas at a control: a right-to-left control gets a mirror span of
/// its client width, and the clip is handed over in its logical coordinates.
void AimCanvas(TCanvas& canvas, const TControl& control, TPoint origin, const TRect& area) {
    TRect local = area.Offset(-origin.X, -origin.Y);
    int span = 0;
    if (control.UseRightToLeftLayout()) {
        span = control.ClientWidth();
        local = {span - local.Right, local.Top, span - local.Left, local.Bottom};
    }
    canvas.SetOrigin(origin);
    canvas.SetMirrorWidth(span);
    canvas.SetClipRect(local);
}

} // namespace

void TPaintEngine::PaintTree(TControl* root, TCanvas& canvas, TPoint origin, const TRect& clip) {
    TRect area = TRect::FromBounds(origin.X, origin.Y, root->Width(), root->Height()).Intersect(clip);
    if (area.Empty()) return;
    std::weak_ptr<void> alive = root->LifeToken();
    AimCanvas(canvas, *root, origin, area);
    root->PaintTo(canvas);
    if (alive.expired()) return;
    TWinControl* win = root->AsWinControl();
    if (!win) return;
    for (TControl* child : win->PaintOrder()) {
        if (!child->Visible() || child->Parent() != win) continue;
        PaintTree(child, canvas, ChildOrigin(*child, origin), area);
        if (alive.expired()) return;
    }
    canvas.SetMirrorWidth(0);
}

void TPaintEngine::PrepareTree(TControl* root, TPoint origin, const TRect& clip) {
    const TRect area = TRect::FromBounds(origin.X, origin.Y, root->Width(), root->Height()).Intersect(clip);
    if (area.Empty()) return;
    std::weak_ptr<void> alive = root->LifeToken();
    root->BeforePaint();
    if (alive.expired()) return;
    TWinControl* win = root->AsWinControl();
    if (!win) return;
    // A child's preparation may add or remove children.
    for (TControl* child : std::vector<TControl*>(win->PaintOrder())) {
        if (win->IndexOfControl(child) < 0 || !child->Visible() || child->Parent() != win) continue;
        PrepareTree(child, ChildOrigin(*child, origin), area);
        if (alive.expired()) return;
    }
}

void TPaintEngine::ShareSurface(TCanvas& target, const TCanvas& source) {
    target.SetBuffer(const_cast<std::uint32_t*>(source.Pixels()), source.Width(), source.Height(),
                     source.Stride());
    // Children draw into the parent's device pixels at its scale (the scale first:
    // the origin and the clip are logical, read through it); each control's own
    // mirror span is its own business.
    target.SetScale(source.Scale());
    target.SetOrigin(source.Origin());
    target.SetMirrorWidth(source.MirrorWidth());
    target.SetClipRect(source.ClipRect());
}

void TPaintEngine::ReleaseSurface(TCanvas& target) {
    target.SetBuffer(nullptr, 0, 0, 0);
}

void TPaintEngine::EraseBackground(const TWinControl& control, TCanvas& canvas, TColor color) {
    std::vector<TRect> pieces{control.ClientRect()};
    for (const TControl* child : control.ControlList()) {
        if (!child->Visible() || !(child->ControlStyle() & csOpaque)) continue;
        const TRect c = child->BoundsRect();
        std::vector<TRect> rest;
        for (const TRect& p : pieces) {
            if (p.Intersect(c).Empty()) {
                rest.push_back(p);
                continue;
            }
            const int top = std::max(p.Top, c.Top), bottom = std::min(p.Bottom, c.Bottom);
            for (const TRect& r :
                 {TRect{p.Left, p.Top, p.Right, c.Top}, TRect{p.Left, c.Bottom, p.Right, p.Bottom},
                  TRect{p.Left, top, c.Left, bottom}, TRect{c.Right, top, p.Right, bottom}})
                if (!r.Intersect(p).Empty()) rest.push_back(r.Intersect(p));
        }
        pieces = std::move(rest);
    }
    canvas.Brush()->SetColor(color);
    for (const TRect& p : pieces)
        canvas.FillRect(p);
}

} // namespace emr
