// Layout of toolbars: placing controls, sizing the toolbar around them, floating
// rows and re-orientation; overflow is TToolBarOverflow's.

#include <algorithm>

#include "styling/CustomAdvToolBarStyler.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvToolBarSeparator.h"
#include "toolbar/ToolBarListHelpers.h"
#include "toolbar/ToolBarOverflow.h"

namespace emr {

using namespace toolbar_detail;

// ---- Layout ---------------------------------------------------------------------------------

int TAdvCustomToolBar::StartOffset() const {
    if (Floating() || currentStyler_->DragGripStyle() == dsNone) return 2;
    return GripLength + 2;
}

void TAdvCustomToolBar::HideControl(TControl* control) {
    if (Horizontal() || Floating())
        control->SetBounds(control->Left(), Height() + 2, control->Width(), control->Height());
    else
        control->SetBounds(Width() + 2, control->Top(), control->Width(), control->Height());
}

void TAdvCustomToolBar::PlaceControl(TControl* control, int left, int top) {
    if (control->Left() != left || control->Top() != top)
        control->SetBounds(left, top, control->Width(), control->Height());
}

void TAdvCustomToolBar::ArrangeControls(bool updateSize) {
    if (Loading()) return;
    if (Standalone() && !published_.AutoPositionControls) return;
    {
        TFlagGuard guard(busy_.Arranging, true);
        bool designing = Designing();
        auto shown = [designing](const TControl* c) { return c->Visible() || designing; };
        if (Floating()) {
            int x = 2, y = published_.CaptionHeight + 2;
            if (published_.FloatingRows > 1 && updateSize) {
                busy_.Arranging = false;
                UpdateSize();
                busy_.Arranging = true;
            }
            for (TControl* c : lists_.Position) {
                if (!shown(c)) {
                    HideControl(c);
                    continue;
                }
                if (published_.FloatingRows > 1 && Width() - x - 2 < c->Width()) {
                    x = 2;
                    y += docking_.DockedThickness;
                }
                PlaceControl(c, x, y);
                x += c->Width();
            }
            if (published_.FloatingRows > 1) updateSize = false;
        } else {
            bool horizontal = Horizontal();
            int along = StartOffset();
            int across = published_.ShowCaption && published_.CaptionPosition == TCaptionPosition::cpTop
                             ? published_.CaptionHeight + 2
                             : 2;
            for (TControl* c : lists_.Position) {
                if (!shown(c)) {
                    HideControl(c);
                } else if (!InOverflow(c)) {
                    if (horizontal)
                        PlaceControl(c, along, across);
                    else
                        PlaceControl(c, across, along);
                    along += LengthOf(c, horizontal);
                } else if (c->Parent() == this) {
                    HideControl(c);
                }
            }
        }
    }
    if (updateSize) UpdateSize();
}

void TAdvCustomToolBar::UpdateSize() {
    bool designing = Designing();
    auto shown = [designing](const TControl* c) { return c->Visible() || designing; };
    TFlagGuard guard(busy_.SuppressBoundsAdjustment, busy_.SuppressBoundsAdjustment);

    if (Floating()) {
        Constraints()->SetMinWidth(0);
        Constraints()->SetMaxWidth(0);
        Constraints()->SetMinHeight(0);
        Constraints()->SetMaxHeight(0);
        if (published_.FloatingRows <= 1) {
            int length = MinLength;
            for (auto it = lists_.Position.rbegin(); it != lists_.Position.rend(); ++it) {
                if (!(*it)->Visible()) continue;
                length = std::max(MinLength, (*it)->Left() + (*it)->Width() + 2);
                break;
            }
            fullLength_ = length;
            SetBounds(Left(), Top(), length, docking_.DockedThickness + published_.CaptionHeight);
        } else {
            UpdateFloatingRowsSize();
        }
        if (TToolBarFloatingSite* site = FloatingSite(); site && site->WindowShowing()) site->FitToToolBar();
        return;
    }

    bool horizontal = Horizontal();
    int needed = MinLength;
    if (!lists_.Position.empty()) {
        needed = 15;
        for (auto it = lists_.Position.rbegin(); it != lists_.Position.rend(); ++it) {
            if (InOverflow(*it) || !shown(*it)) continue;
            needed = StartOf(*it, horizontal) + LengthOf(*it, horizontal);
            break;
        }
        needed += RightHandleLength();
    }
    int full = StartOffset() + RightHandleLength();
    int thickness = DefaultThickness;
    for (TControl* c : lists_.Position) {
        if (!shown(c)) continue;
        full += LengthOf(c, horizontal);
        if (!IsSeparator(c)) thickness = std::max(thickness, (horizontal ? c->Height() : c->Width()) + 4);
    }
    fullLength_ = std::max(full, needed);
    if (published_.FullSize || !published_.AutoSize) return;

    if (published_.ShowCaption) thickness += published_.CaptionHeight;
    if (horizontal) {
        Constraints()->SetMinHeight(0);
        Constraints()->SetMaxHeight(0);
        Constraints()->SetMinWidth(std::min(MinLength, needed));
        int width = Width();
        if (busy_.ShrinkFollowsControl && Constraints()->MaxWidth() != fullLength_ && fullLength_ < width &&
            width != needed)
            width = needed;
        Constraints()->SetMaxWidth(fullLength_);
        if (width < needed)
            width = needed;
        else if (needed < width && fullLength_ < width)
            width = needed;
        if (width != Width()) {
            TFlagGuard adjust(busy_.SuppressBoundsAdjustment,
                              busy_.SuppressBoundsAdjustment || !busy_.ShrinkFollowsControl);
            SetBounds(Left(), Top(), width, Height());
        }
        if (thickness != Height()) SetBounds(Left(), Top(), Width(), thickness);
    } else {
        Constraints()->SetMinWidth(0);
        Constraints()->SetMaxWidth(0);
        Constraints()->SetMinHeight(std::min(MinLength, needed));
        Constraints()->SetMaxHeight(fullLength_);
        int height = Height();
        if (height < needed || (needed < height && fullLength_ < height)) height = needed;
        if (height != Height()) SetBounds(Left(), Top(), Width(), height);
        if (thickness != Width()) SetBounds(Left(), Top(), thickness, Height());
    }
}

int TAdvCustomToolBar::MaxFloatingRows() const {
    if (lists_.Position.empty()) return 1;
    int widest = 0;
    for (TControl* c : lists_.Position)
        widest = std::max(widest, c->Width());
    int w = std::max(widest + 2, MinLength);
    int rows = 1, used = 2;
    for (TControl* c : lists_.Position) {
        if (used + c->Width() > w) {
            ++rows;
            used = 2;
        }
        used += c->Width();
    }
    return std::min<int>(rows, static_cast<int>(lists_.Position.size()));
}

void TAdvCustomToolBar::UpdateFloatingRowsSize() {
    TSize size = FloatingRowsSize(published_.FloatingRows);
    fullLength_ = size.Width;
    SetBounds(Left(), Top(), size.Width, size.Height);
}

TSize TAdvCustomToolBar::FloatingRowsSize(int rowCount) const {
    if (rowCount <= 1) {
        // One row: the controls side by side from offset 2, as ArrangeControls lays them.
        int length = 2;
        for (TControl* c : lists_.Position)
            if (c->Visible()) length += c->Width();
        return {std::max(MinLength, length + 2), docking_.DockedThickness + published_.CaptionHeight};
    }
    int widest = 0;
    for (TControl* c : lists_.Position)
        widest = std::max(widest, c->Width());
    int r = std::max(widest + 4, MinLength);
    for (int guard = 0; guard < 10000; ++guard) {
        int rows = 1, used = 2, leftover = r;
        for (TControl* c : lists_.Position) {
            if (!c->Visible()) continue;
            if (r - used - 2 < c->Width()) {
                leftover = std::min(leftover, r - used - 2);
                ++rows;
                used = 2;
            }
            used += c->Width();
        }
        leftover = std::min(leftover, r - used - 2);
        if (rows > rowCount) {
            r += 10;
            continue;
        }
        int height = rows * docking_.DockedThickness + published_.CaptionHeight;
        if (rows > 1) r -= leftover;
        return {r, height};
    }
    return {r, docking_.DockedThickness + published_.CaptionHeight};
}

int TAdvCustomToolBar::FloatingThickness() const {
    int t = 0;
    for (TControl* c : lists_.Position) {
        if (IsSeparator(c)) continue;
        if (Horizontal() || Floating()) {
            t = std::max(t, c->Height());
        } else if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(c)) {
            t = std::max(t, b->CanRotate() ? b->Height() : b->Width());
        } else if (!dynamic_cast<TAdvCustomToolBarControl*>(c)) {
            t = std::max(t, c->Height());
        }
    }
    return std::max(DefaultThickness, t + 4);
}

int TAdvCustomToolBar::FullLengthForPosition() const {
    bool horizontal = Horizontal() || Floating();
    int full = StartOffset() + RightHandleLength();
    for (TControl* c : lists_.Position)
        if (c->Visible()) full += LengthOf(c, horizontal);
    return std::max(full, MinLength);
}

void TAdvCustomToolBar::SetPosition(TDockAlign value) {
    if (value == docking_.Position) return;
    docking_.Position = value;
    {
        TFlagGuard guard(busy_.SuppressBoundsAdjustment, true);
        TSizeConstraints* k = Constraints();
        if (!Horizontal()) {
            k->SetMinWidth(0);
            k->SetMaxWidth(0);
            k->SetMinHeight(MinLength);
            k->SetMaxHeight(fullLength_);
            SetBounds(Left(), Top(), docking_.DockedThickness, fullLength_);
        } else {
            k->SetMinHeight(0);
            k->SetMaxHeight(0);
            k->SetMinWidth(MinLength);
            k->SetMaxWidth(fullLength_);
            SetBounds(Left(), Top(), fullLength_, docking_.DockedThickness);
        }
        {
            TFlagGuard arranging(busy_.Arranging, true);
            EachToolBarControl([value](TAdvCustomToolBarControl* c) { c->SetPosition(value); });
        }
        fullLength_ = FullLengthForPosition();
        if (Horizontal()) {
            k->SetMinWidth(MinLength);
            k->SetMaxWidth(fullLength_);
            SetBounds(Left(), Top(), fullLength_, Height());
        } else {
            k->SetMinHeight(MinLength);
            k->SetMaxHeight(fullLength_);
            SetBounds(Left(), Top(), Width(), fullLength_);
        }
    }
    // Re-orienting changes the controls' extents across the toolbar too, so the
    // thickness is recomputed here rather than left at the docked thickness.
    ArrangeControls(true);
    UpdateOverflow();
}

void TAdvCustomToolBar::UpdateOverflow() {
    overflow_->Update();
}

void TAdvCustomToolBar::ControlUsed(TControl* control) {
    overflow_->ControlUsed(control);
}

} // namespace emr
