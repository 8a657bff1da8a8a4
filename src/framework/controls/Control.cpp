#include "framework/controls/Control.h"

#include <sstream>

#include "framework/controls/AccessibleChanges.h"
#include "framework/controls/Mouse.h"
#include "framework/controls/WinControl.h"
#include "framework/core/Exception.h"
#include "framework/graphics/Font.h"

namespace emr {

namespace {

/// Reflects a pixel column across a span: the pixel at x lands on span - 1 - x.
int MirrorX(int x, int span) {
    return span - 1 - x;
}

/// Reflects a rectangle across a span: its edges swap.
TRect MirrorRect(const TRect& r, int span) {
    return {span - r.Right, r.Top, span - r.Left, r.Bottom};
}

TShiftState KeysToShift(std::intptr_t keys) {
    TShiftState shift = 0;
    if (keys & MK_SHIFT) shift |= ssShift;
    if (keys & MK_CONTROL) shift |= ssCtrl;
    if (keys & MK_LBUTTON) shift |= ssLeft;
    if (keys & MK_RBUTTON) shift |= ssRight;
    if (keys & MK_MBUTTON) shift |= ssMiddle;
    return shift;
}

} // namespace

TControl::TControl(TComponent* owner)
    : TComponent(owner), constraints_(std::make_unique<TSizeConstraints>()), font_(std::make_unique<TFont>()),
      color_(clWindow) {
    constraints_->OnChange = [this](TObject*) { SetBounds(left_, top_, width_, height_); };
    font_->OnChange = [this](TObject*) { FontObjectChanged(); };
}

TControl::~TControl() = default;

void TControl::BeforeDestruction() {
    Destroying();
    TMouse& mouse = TMouse::Instance();
    if (mouse.CaptureControl() && mouse.CaptureControl()->IsInside(this)) mouse.ReleaseCapture();
    if (parent_) parent_->RemoveControl(this);
    mouse.ControlChanged(this, true);
    TComponent::BeforeDestruction();
}

// ---- parent tree -------------------------------------------------------------

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent && parent->IsInside(this)) throw Exception("A control cannot be its own parent");
    ParentChanging(parent);
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
    ParentChanged();
    TMouse& mouse = TMouse::Instance();
    if (mouse.CaptureControl() && mouse.CaptureControl()->IsInside(this)) mouse.RefreshGrab();
    mouse.Recheck();
}

TComponent* TControl::GetParentComponent() const {
    return parent_;
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* win = dynamic_cast<TWinControl*>(parent)) SetParent(win);
}

bool TControl::IsInside(const TControl* ancestor) const {
    for (const TControl* c = this; c; c = c->parent_)
        if (c == ancestor) return true;
    return false;
}

TWinControl* TControl::TopLevel() const {
    const TControl* c = this;
    while (c->parent_)
        c = c->parent_;
    return dynamic_cast<TWinControl*>(const_cast<TControl*>(c));
}

// ---- bounds -------------------------------------------------------------------

void TControl::SetBounds(int left, int top, int width, int height) {
    width = constraints_->ConstrainWidth(std::max(width, 0));
    height = constraints_->ConstrainHeight(std::max(height, 0));
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    TRect old = BoundsRect();
    bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (parent_ && visible_) parent_->InvalidateRect(old.Union(BoundsRect()));
    if (!parent_) Invalidate();
    if (HasState(csLoading) || HasState(csDestroying)) return;
    std::weak_ptr<void> alive = LifeToken();
    BoundsChanged(old.Left != left || old.Top != top, resized);
    if (alive.expired()) return;
    RequestAlign();
    if (alive.expired()) return;
    TAccessibleChanges::Report(platform::TAccessibleEvent::StateChanged, this);
}

void TControl::BoundsChanged(bool moved, bool resized) {
    (void)moved;
    if (resized) Resize();
}

TRect TControl::ClientRect() const {
    return {0, 0, width_, height_};
}

void TControl::SetClientWidth(int value) {
    SetWidth(value + (width_ - ClientRect().Width()));
}

void TControl::SetClientHeight(int value) {
    SetHeight(value + (height_ - ClientRect().Height()));
}

TPoint TControl::ClientOrigin() const {
    if (!parent_) return {left_, top_};
    TPoint p = parent_->ClientOrigin();
    return {p.X + VisualLeft(), p.Y + top_};
}

int TControl::VisualLeft() const {
    if (!parent_ || !parent_->UseRightToLeftLayout()) return left_;
    return parent_->ClientWidth() - left_ - width_;
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TPoint o = ClientOrigin();
    const int x = UseRightToLeftLayout() ? MirrorX(p.X, ClientWidth()) : p.X;
    return {x + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientOrigin();
    const int x = p.X - o.X;
    return {UseRightToLeftLayout() ? MirrorX(x, ClientWidth()) : x, p.Y - o.Y};
}

TRect TControl::ClientToScreenRect(const TRect& r) const {
    const TPoint o = ClientOrigin();
    return (UseRightToLeftLayout() ? MirrorRect(r, ClientWidth()) : r).Offset(o.X, o.Y);
}

TRect TControl::ScreenToClientRect(const TRect& r) const {
    const TPoint o = ClientOrigin();
    const TRect local = r.Offset(-o.X, -o.Y);
    return UseRightToLeftLayout() ? MirrorRect(local, ClientWidth()) : local;
}

// A child whose direction differs from its parent's is reflected inside its own
// bounds relative to the parent; with equal directions the two mirrors cancel.
TPoint TControl::ClientToParent(TPoint p) const {
    const bool flips = parent_ && parent_->UseRightToLeftLayout() != UseRightToLeftLayout();
    return {left_ + (flips ? MirrorX(p.X, width_) : p.X), top_ + p.Y};
}

TPoint TControl::ParentToClient(TPoint p) const {
    const bool flips = parent_ && parent_->UseRightToLeftLayout() != UseRightToLeftLayout();
    const int x = p.X - left_;
    return {flips ? MirrorX(x, width_) : x, p.Y - top_};
}

TRect TControl::ClientToParentRect(const TRect& r) const {
    const bool flips = parent_ && parent_->UseRightToLeftLayout() != UseRightToLeftLayout();
    return (flips ? MirrorRect(r, width_) : r).Offset(left_, top_);
}

TPoint TControl::ClientToControl(TPoint p, const TControl* other) const {
    return other ? other->ScreenToClient(ClientToScreen(p)) : p;
}

void TControl::SetAlign(TAlign value) {
    if (value == align_) return;
    align_ = value;
    if (value != alNone) anchors_ = akLeft | akTop;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
    if (value == anchors_) return;
    anchors_ = value;
}

void TControl::RequestAlign() {
    if (parent_ && !HasState(csLoading)) parent_->AlignControl(this);
}

// ---- state --------------------------------------------------------------------

void TControl::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    if (parent_) parent_->InvalidateRect(BoundsRect());
    std::weak_ptr<void> alive = LifeToken();
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
    if (alive.expired()) return;
    Perform(CM_SHOWINGCHANGED);
    if (alive.expired()) return;
    TMouse::Instance().ControlChanged(this, false);
    if (alive.expired()) return;
    RequestAlign();
}

bool TControl::Showing() const {
    return visible_ && parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Invalidate();
    std::weak_ptr<void> alive = LifeToken();
    Perform(CM_ENABLEDCHANGED);
    if (!alive.expired() && !value) TMouse::Instance().ControlChanged(this, false);
    if (!alive.expired()) TAccessibleChanges::Report(platform::TAccessibleEvent::StateChanged, this);
}

void TControl::SetCursor(TCursor value) {
    if (value == cursor_) return;
    cursor_ = value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetText(const std::string& value) {
    if (value == text_) return;
    text_ = value;
    std::weak_ptr<void> alive = LifeToken();
    Perform(CM_TEXTCHANGED);
    if (!alive.expired()) TAccessibleChanges::Report(platform::TAccessibleEvent::NameChanged, this);
}

void TControl::SetShowHint(bool value) {
    parentShowHint_ = false;
    if (value == showHint_) return;
    showHint_ = value;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
    if (value == parentShowHint_) return;
    parentShowHint_ = value;
    if (value && parent_) {
        showHint_ = parent_->ShowHint();
        Perform(CM_SHOWHINTCHANGED);
    }
}

void TControl::SetFont(const TFont* value) {
    font_->Assign(value);
}

void TControl::FontObjectChanged() {
    if (!updatingFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
    if (value == parentFont_) return;
    parentFont_ = value;
    if (value && parent_) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetColor(TColor value) {
    if (value == color_) {
        parentColor_ = false;
        return;
    }
    color_ = value;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (value == parentColor_) return;
    parentColor_ = value;
    if (value && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode value) {
    parentBiDiMode_ = false;
    if (value == biDiMode_) return;
    biDiMode_ = value;
    Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool value) {
    if (value == parentBiDiMode_) return;
    parentBiDiMode_ = value;
    if (value && parent_) Perform(CM_PARENTBIDIMODECHANGED);
}

void TControl::BiDiModeChanged() {
    Invalidate();
    // What lies under a still pointer moved with the reflection.
    TMouse::Instance().Recheck();
}

void TControl::TakeParentProperties() {
    if (!parent_) return;
    if (parentBiDiMode_) Perform(CM_PARENTBIDIMODECHANGED);
    if (parentFont_) Perform(CM_PARENTFONTCHANGED);
    if (parentColor_) Perform(CM_PARENTCOLORCHANGED);
    if (parentShowHint_) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::FontChanged() {
    Invalidate();
}

void TControl::ColorChanged() {
    Invalidate();
}

void TControl::SetPopupMenuComponent(TPopupMenu* menu, TComponent* asComponent) {
    if (asComponent == popupMenuComponent_) return;
    if (popupMenuComponent_) popupMenuComponent_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    popupMenuComponent_ = asComponent;
    if (asComponent) asComponent->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenuComponent_) {
        popupMenu_ = nullptr;
        popupMenuComponent_ = nullptr;
    }
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parent_) {
        TakeParentProperties();
        parent_->AlignControl(this);
    }
}

// ---- messages -----------------------------------------------------------------

std::intptr_t TControl::Perform(unsigned msg, std::intptr_t wparam, std::intptr_t lparam) {
    TMessage message{msg, wparam, lparam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) {
        HandleMouseMessage(message);
        return;
    }
    switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        bool enter = message.Msg == CM_MOUSEENTER;
        std::weak_ptr<void> alive = LifeToken();
        if (message.LParam == 0) {
            if (enter)
                MouseEnter();
            else
                MouseLeave();
        }
        if (!alive.expired() && parent_)
            parent_->Perform(message.Msg, 0,
                             message.LParam ? message.LParam : reinterpret_cast<std::intptr_t>(this));
        return;
    }
    case CM_HITTEST:
        message.Result = 1;
        return;
    case CM_VISIBLECHANGED:
        VisibleChanged();
        return;
    case CM_ENABLEDCHANGED:
        EnabledChanged();
        return;
    case CM_TEXTCHANGED:
        TextChanged();
        return;
    case CM_FONTCHANGED:
        FontChanged();
        return;
    case CM_COLORCHANGED:
        ColorChanged();
        return;
    case CM_PARENTFONTCHANGED:
        if (parentFont_ && parent_) {
            updatingFont_ = true;
            font_->Assign(parent_->Font());
            updatingFont_ = false;
        }
        return;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_ && parent_ && color_ != parent_->Color()) {
            color_ = parent_->Color();
            Perform(CM_COLORCHANGED);
        }
        return;
    case CM_BIDIMODECHANGED:
        BiDiModeChanged();
        return;
    case CM_PARENTBIDIMODECHANGED:
        if (parentBiDiMode_ && parent_ && biDiMode_ != parent_->BiDiMode()) {
            biDiMode_ = parent_->BiDiMode();
            Perform(CM_BIDIMODECHANGED);
        }
        return;
    case CM_PARENTSHOWHINTCHANGED:
        if (parentShowHint_ && parent_ && showHint_ != parent_->ShowHint()) {
            showHint_ = parent_->ShowHint();
            Perform(CM_SHOWHINTCHANGED);
        }
        return;
    default:
        DefaultHandler(message);
    }
}

void TControl::HandleMouseMessage(TMessage& message) {
    const TShiftState shift = message.Mouse ? message.Mouse->Shift : KeysToShift(message.WParam);
    const int x = message.Mouse ? message.Mouse->Client.X : LParamX(message.LParam);
    const int y = message.Mouse ? message.Mouse->Client.Y : LParamY(message.LParam);
    std::weak_ptr<void> alive = LifeToken();
    auto down = [&](TMouseButton button, bool isDouble) {
        if (button == mbLeft) {
            if (controlStyle_ & csCaptureMouse) SetCaptureControl(this);
            if (controlStyle_ & csClickEvents) controlState_ |= csClicked;
            controlState_ |= csLButtonDown;
        }
        if (isDouble && (controlStyle_ & csDoubleClicks)) {
            DblClick();
            if (alive.expired()) return;
        }
        MouseDown(button, isDouble ? (shift | ssDouble) : shift, x, y);
    };
    auto up = [&](TMouseButton button) {
        if (button == mbLeft) {
            controlState_ &= ~csLButtonDown;
            if ((controlStyle_ & csCaptureMouse) && GetCaptureControl() == this) ReleaseCapture();
            if (controlState_ & csClicked) {
                controlState_ &= ~csClicked;
                if (ClientRect().Contains({x, y})) {
                    Click();
                    if (alive.expired()) return;
                }
            }
        }
        MouseUp(button, shift, x, y);
    };
    switch (message.Msg) {
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        break;
    case WM_LBUTTONDOWN:
        down(mbLeft, false);
        break;
    case WM_LBUTTONDBLCLK:
        down(mbLeft, true);
        break;
    case WM_RBUTTONDOWN:
        down(mbRight, false);
        break;
    case WM_RBUTTONDBLCLK:
        down(mbRight, true);
        break;
    case WM_MBUTTONDOWN:
        down(mbMiddle, false);
        break;
    case WM_MBUTTONDBLCLK:
        down(mbMiddle, true);
        break;
    case WM_LBUTTONUP:
        up(mbLeft);
        break;
    case WM_RBUTTONUP:
        up(mbRight);
        break;
    case WM_MBUTTONUP:
        up(mbMiddle);
        break;
    default:
        DefaultHandler(message);
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Fire(OnMouseDown, this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    Fire(OnMouseMove, this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    Fire(OnMouseUp, this, button, shift, x, y);
}

void TControl::Click() {
    Fire(OnClick, this);
}

void TControl::DblClick() {
    Fire(OnDblClick, this);
}

void TControl::MouseEnter() {
    Fire(OnMouseEnter, this);
}

void TControl::MouseLeave() {
    Fire(OnMouseLeave, this);
}

void TControl::Resize() {
    Fire(OnResize, this);
}

// ---- painting -----------------------------------------------------------------

void TControl::Invalidate() {
    InvalidateRect(ClientRect());
}

void TControl::InvalidateRect(const TRect& rect) {
    if (!visible_ || rect.Empty()) return;
    TRect r = rect;
    const TControl* c = this;
    while (c->parent_) {
        r = c->ClientToParentRect(r).Intersect(c->parent_->ClientRect());
        if (r.Empty()) return;
        c = c->parent_;
        if (!c->visible_) return;
    }
    // The window's invalid area is kept as it appears on screen.
    if (c->UseRightToLeftLayout()) r = MirrorRect(r, c->ClientWidth());
    if (auto* top = dynamic_cast<TWinControl*>(const_cast<TControl*>(c))) top->InvalidateWindowArea(r);
}

void TControl::InvalidateInParent(const TRect& boundsInParent) {
    if (parent_) parent_->InvalidateRect(boundsInParent);
}

void TControl::Update() {
    if (TWinControl* top = TopLevel()) top->PaintWindowNow();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

std::string TControl::Dump(int indent) const {
    std::ostringstream out;
    out << std::string(static_cast<std::size_t>(indent) * 2, ' ') << ClassName() << ' '
        << (Name().empty() ? "<unnamed>" : Name()) << " (" << left_ << ", " << top_ << ", " << width_ << " x "
        << height_ << ")";
    if (!visible_) out << " hidden";
    if (!enabled_) out << " disabled";
    if (align_ != alNone) out << " align " << static_cast<int>(align_);
    out << '\n';
    if (auto* win = dynamic_cast<const TWinControl*>(this))
        for (TControl* child : win->ControlList())
            out << child->Dump(indent + 1);
    return out.str();
}

} // namespace emr
