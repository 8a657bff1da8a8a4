#include "framework/forms/MDIChild.h"

#include <functional>

#include "framework/forms/Application.h"
#include "framework/graphics/Canvas.h"

namespace emr {

namespace {

constexpr int kButtonWidth = 16;
constexpr int kButtonHeight = 14;

void DrawCross(TCanvas& c, const TRect& r) {
    const int x = r.Left + (r.Width() - 8) / 2, y = r.Top + (r.Height() - 8) / 2;
    for (int i = 0; i < 8; ++i) {
        c.FillRect({x + i, y + i, x + i + 2, y + i + 1});
        c.FillRect({x + 6 - i, y + i, x + 8 - i, y + i + 1});
    }
}

TMDIChild* FindActive(const TWinControl* container) {
    const auto& controls = container->ControlList();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        if (auto* child = dynamic_cast<TMDIChild*>(*it); child && child->Visible()) return child;
        if (auto* w = dynamic_cast<const TWinControl*>(*it); w && w->Visible())
            if (TMDIChild* inner = FindActive(w)) return inner;
    }
    return nullptr;
}

} // namespace

TMDIChild::TMDIChild(TComponent* owner) : TCustomControl(owner) {
    controlStyle_ |= csAcceptsControls | csOpaque;
    SetBounds(Left(), Top(), 240, 160);
}

void TMDIChild::SetCaption(const std::string& value) {
    if (value == caption_) return;
    caption_ = value;
    Invalidate();
}

void TMDIChild::SetBorderIcons(TBorderIcons value) {
    if (value == borderIcons_) return;
    borderIcons_ = value;
    StateChanged();
}

void TMDIChild::SetBounds(int left, int top, int width, int height) {
    if (!placing_ && windowState_ == wsNormal) restored_ = TRect::FromBounds(left, top, width, height);
    TCustomControl::SetBounds(left, top, width, height);
}

void TMDIChild::FitParent() {
    if (!Parent()) return;
    placing_ = true;
    const TRect area = Parent()->ClientRect();
    if (windowState_ == wsMaximized)
        TCustomControl::SetBounds(0, 0, area.Width(), area.Height());
    else if (windowState_ == wsMinimized)
        TCustomControl::SetBounds(0, area.Height() - CaptionHeight - 2 * FrameWidth, MinimizedWidth,
                                  CaptionHeight + 2 * FrameWidth);
    else
        TCustomControl::SetBounds(restored_.Left, restored_.Top, restored_.Width(), restored_.Height());
    placing_ = false;
}

void TMDIChild::SetWindowState(TWindowState value) {
    if (value == windowState_) return;
    if (windowState_ == wsNormal) restored_ = BoundsRect();
    windowState_ = value;
    FitParent();
    if (value != wsMinimized) Activate();
    StateChanged();
}

void TMDIChild::StateChanged() {
    Invalidate();
    // A menu bar shows buttons for a maximized child: the whole window may change.
    if (TWinControl* top = TopLevel()) top->Invalidate();
}

void TMDIChild::Activate() {
    if (Parent()) Parent()->BringToFront(this);
    StateChanged();
}

void TMDIChild::Close() {
    bool allow = true;
    if (OnClose) OnClose(this, allow);
    if (!allow) return;
    SetVisible(false);
    StateChanged();
    EnsureApplication()->PostMessage(this, CM_RELEASE);
}

TRect TMDIChild::CloseButtonRect() const {
    if (windowState_ == wsMaximized || !(borderIcons_ & biSystemMenu)) return {};
    const int right = Width() - FrameWidth - 2;
    return {right - kButtonWidth, FrameWidth + 2, right, FrameWidth + 2 + kButtonHeight};
}

TRect TMDIChild::MaximizeButtonRect() const {
    const TRect close = CloseButtonRect();
    if (close.Width() == 0 || !(borderIcons_ & biMaximize)) return {};
    return {close.Left - 2 - kButtonWidth, close.Top, close.Left - 2, close.Bottom};
}

TRect TMDIChild::MinimizeButtonRect() const {
    const TRect close = CloseButtonRect();
    if (close.Width() == 0 || !(borderIcons_ & biMinimize)) return {};
    const int right = close.Left - 2 - (borderIcons_ & biMaximize ? kButtonWidth + 2 : 0);
    return {right - kButtonWidth, close.Top, right, close.Bottom};
}

void TMDIChild::Paint() {
    TCanvas& c = *Canvas();
    const TRect all = ClientRect();
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Brush()->SetColor(clWindow);
    c.FillRect(all);
    if (windowState_ == wsMaximized) return;
    const bool active = Parent() && FindActive(Parent()) == this;
    c.Brush()->SetColor(clBtnFace);
    c.FillRect({0, 0, all.Right, FrameWidth});
    c.FillRect({0, 0, FrameWidth, all.Bottom});
    c.FillRect({all.Right - FrameWidth, 0, all.Right, all.Bottom});
    c.FillRect({0, all.Bottom - FrameWidth, all.Right, all.Bottom});
    c.Pen()->SetColor(clBtnShadow);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.Rectangle(all);
    const TRect bar{FrameWidth, FrameWidth, all.Right - FrameWidth, FrameWidth + CaptionHeight};
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Brush()->SetColor(active ? clHighlight : clBtnShadow);
    c.FillRect(bar);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.Font()->SetColor(clHighlightText);
    TRect text{bar.Left + 4, bar.Top, bar.Right - 60, bar.Bottom};
    c.DrawText(caption_, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    for (const TRect& r : {MinimizeButtonRect(), MaximizeButtonRect(), CloseButtonRect()}) {
        if (r.Width() == 0) continue;
        c.Brush()->SetStyle(TBrushStyle::bsSolid);
        c.Brush()->SetColor(clBtnFace);
        c.FillRect(r);
        c.Brush()->SetColor(clBlack);
        if (r == CloseButtonRect())
            DrawCross(c, r);
        else if (r == MinimizeButtonRect())
            c.FillRect({r.Left + 4, r.Bottom - 4, r.Right - 5, r.Bottom - 2});
        else {
            c.Brush()->SetStyle(TBrushStyle::bsClear);
            c.Pen()->SetColor(clBlack);
            c.Rectangle(r.Left + 4, r.Top + 3, r.Right - 4, r.Bottom - 3);
            c.MoveTo(r.Left + 4, r.Top + 4);
            c.LineTo(r.Right - 4, r.Top + 4);
        }
    }
}

void TMDIChild::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomControl::MouseDown(button, shift, x, y);
    if (alive.expired() || button != mbLeft) return;
    const TPoint p{x, y};
    if (CloseButtonRect().Contains(p)) {
        Close();
        return;
    }
    if (MaximizeButtonRect().Contains(p)) {
        SetWindowState(wsMaximized);
        return;
    }
    if (MinimizeButtonRect().Contains(p)) {
        SetWindowState(wsMinimized);
        return;
    }
    if (windowState_ == wsMinimized) {
        SetWindowState(wsNormal);
        return;
    }
    Activate();
}

void TMDIChild::WndProc(TMessage& message) {
    if (message.Msg == CM_RELEASE) {
        TObject::Free(this);
        return;
    }
    if (message.Msg == WM_SIZE || message.Msg == CM_CONTROLLISTCHANGE) FitParent();
    TCustomControl::WndProc(message);
}

TMDIChild* ActiveMDIChildOf(const TCustomForm* form) {
    if (!form || form->FormStyle() != fsMDIForm) return nullptr;
    return FindActive(form);
}

} // namespace emr
