#include "framework/forms/Form.h"

#include <algorithm>

#include "framework/controls/AccessibleChanges.h"
#include "framework/controls/Mouse.h"
#include "framework/controls/PaintEngine.h"
#include "framework/core/Exception.h"
#include "framework/forms/Application.h"
#include "framework/forms/LayoutSaving.h"
#include "framework/forms/Menu.h"
#include "framework/forms/Screen.h"
#include "framework/forms/ShortCut.h"
#include "framework/graphics/Canvas.h"

namespace emr {

namespace {

platform::Backend* CurrentBackend() {
    return platform::Backend::Installed() ? &platform::Backend::Current() : nullptr;
}

/// Sends `msg` to a control and every windowed control inside it, parents first;
/// a control a handler frees on the way is skipped.
void TellTree(TWinControl* control, unsigned msg) {
    std::vector<TComponentRef<TWinControl>> children;
    for (TControl* c : control->ControlList())
        if (auto* w = dynamic_cast<TWinControl*>(c)) children.emplace_back(w);
    control->Perform(msg);
    for (auto& child : children)
        if (child) TellTree(child.Get(), msg);
}

} // namespace

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TCanvas>()), surface_(std::make_unique<TCanvas>()) {
    InitVisible(false);
    controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    SetColor(clBtnFace);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    Screen().AddForm(this);
}

TCustomForm::~TCustomForm() {
    Screen().RemoveForm(this);
}

void TCustomForm::BeforeDestruction() {
    std::weak_ptr<void> alive = LifeToken();
    if (OnDestroy && !HasState(csDestroying)) OnDestroy(this);
    if (alive.expired()) return;
    // The window's layouts are saved as one while all of its parts are whole;
    // saved part by part as each goes, a kill between two parts would leave a
    // file that is neither the old layout nor the new one.
    Destroying();
    SaveLayoutsOfGoingForm(*this);
    TWinControl::BeforeDestruction();
    DestroyNativeWindow();
    Screen().RemoveForm(this);
}

// ---- window settings ----------------------------------------------------------

template <class F> void TCustomForm::KeepClientSize(F change) {
    TRect client = ClientRect();
    change();
    TRect f = FrameExtents();
    SetBounds(Left(), Top(), client.Width() + f.Left + f.Right, client.Height() + f.Top + f.Bottom);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == borderStyle_) return;
    KeepClientSize([&] {
        borderStyle_ = value;
        RecreateNativeWindow();
    });
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    if (value == borderIcons_) return;
    borderIcons_ = value;
    KeepClientSize([&] { RecreateNativeWindow(); });
}

void TCustomForm::SetWindowState(TWindowState value) {
    if (value == windowState_) return;
    windowState_ = value;
}

void TCustomForm::SetPosition(TPosition value) {
    if (value == position_) return;
    position_ = value;
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (value == formStyle_) return;
    formStyle_ = value;
    KeepClientSize([&] { RecreateNativeWindow(); });
}

void TCustomForm::SetPopupParent(TCustomForm* form) {
    if (form == popupParent_) return;
    if (popupParent_) popupParent_->RemoveFreeNotification(this);
    popupParent_ = form;
    if (form) form->FreeNotification(this);
    KeepClientSize([&] { RecreateNativeWindow(); });
}

void TCustomForm::SetMenuComponent(TMainMenu* menu, TComponent* asComponent) {
    if (asComponent == menuComponent_) return;
    if (menuComponent_) menuComponent_->RemoveFreeNotification(this);
    menu_ = menu;
    menuComponent_ = asComponent;
    if (asComponent) asComponent->FreeNotification(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == menuComponent_) {
        menu_ = nullptr;
        menuComponent_ = nullptr;
    }
    if (component == popupParent_) popupParent_ = nullptr;
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    if (control && (control == this || !control->IsInside(this)))
        throw Exception("Invalid active control: it is not on this form");
    TComponentRef<TWinControl> old(activeControl_);
    activeControl_ = control;
    TComponentRef<TWinControl> next(control);
    std::weak_ptr<void> alive = LifeToken();
    if (old) old->Perform(CM_EXIT);
    if (old) old->Perform(WM_KILLFOCUS);
    if (next) next->Perform(CM_ENTER);
    if (next) next->Perform(WM_SETFOCUS);
    if (alive.expired()) return;
    TMessage m{CM_FOCUSCHANGED, 0, reinterpret_cast<std::intptr_t>(next.Get()), 0};
    Broadcast(m);
    if (!alive.expired() && next && active_)
        TAccessibleChanges::Report(platform::TAccessibleEvent::FocusChanged, next->AccessibleFocus());
}

void TCustomForm::DescribeAccessible(platform::TAccessibleNode& node) const {
    const bool dialog = inModal_ || borderStyle_ == bsDialog;
    node.Role = dialog ? platform::TAccessibleRole::Dialog : platform::TAccessibleRole::Window;
    node.States &= ~platform::asFocusable;
    if (active_) node.States |= platform::asActive;
    if (inModal_) node.States |= platform::asModal;
}

void TCustomForm::ShowKeyboardCues() {
    if (keyboardCues_) return;
    keyboardCues_ = true;
    // Every focused control may draw differently now; the whole client repaints once.
    InvalidateWindowArea(ClientRect());
}

// ---- geometry -------------------------------------------------------------------

TRect TCustomForm::FrameFor(TFormBorderStyle style) const {
    if (style == bsNone) return {};
    return {8, 31, 8, 8};
}

TRect TCustomForm::FrameExtents() const {
    if (window_ && CurrentBackend()) {
        // The window manager measures its frame in device pixels.
        const TRect f = CurrentBackend()->FrameExtents(window_);
        return {mapping_.LengthToDip(f.Left), mapping_.LengthToDip(f.Top), mapping_.LengthToDip(f.Right),
                mapping_.LengthToDip(f.Bottom)};
    }
    TCreateParams params;
    CreateParams(params);
    if (params.Style.Kind != platform::TWindowKind::Framed) return {};
    return FrameFor(borderStyle_);
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    // A top-level window is at most as large as the screen plus its frame, as
    // the system's own windows are: a larger one could never be seen whole, and
    // its back buffer would take gigabytes.
    if (!Parent())
        if (CurrentBackend()) {
            const TRect screen = Screen().DesktopRect();
            const TRect f = FrameExtents();
            width = std::min(width, std::max(0, screen.Width()) + f.Left + f.Right);
            height = std::min(height, std::max(0, screen.Height()) + f.Top + f.Bottom);
        }
    TWinControl::SetBounds(left, top, width, height);
    if (!configuring_) SyncNativeBounds();
}

TRect TCustomForm::ClientRect() const {
    TRect f = FrameExtents();
    return {0, 0, std::max(0, Width() - f.Left - f.Right), std::max(0, Height() - f.Top - f.Bottom)};
}

TPoint TCustomForm::ClientOrigin() const {
    if (Parent()) return TWinControl::ClientOrigin();
    TRect f = FrameExtents();
    return {Left() + f.Left, Top() + f.Top};
}

void TCustomForm::SetClientWidth(int value) {
    TRect f = FrameExtents();
    SetWidth(value + f.Left + f.Right);
}

void TCustomForm::SetClientHeight(int value) {
    TRect f = FrameExtents();
    SetHeight(value + f.Top + f.Bottom);
}

bool TCustomForm::Showing() const {
    return Parent() ? TWinControl::Showing() : Visible();
}

TRect TCustomForm::ClientScreenRect() const {
    const TPoint o = ClientOrigin();
    const TRect client = ClientRect();
    return TRect::FromBounds(o.X, o.Y, client.Width(), client.Height());
}

TRect TCustomForm::NativeClientRect() const {
    const TRect device = mapping_.ToDevice(ClientScreenRect());
    if (!deviceAnchor_) return device;
    return device.Offset(deviceAnchor_->X - device.Left, deviceAnchor_->Y - device.Top);
}

TPoint TCustomForm::DeviceToScreen(TPoint device) const {
    const TRect native = NativeClientRect();
    // A point beyond the window (a drag under a grab) belongs to the monitor it is on.
    if (!native.Contains(device)) return TDeviceMapping::ForDevicePoint(device).ToDip(device);
    // Inside, measured from the client area's corner, so that client positions
    // are exact whatever the rounding of the window's place.
    const TPoint inside =
        TDeviceMapping(mapping_.Scale(), {}).ToDip(TPoint{device.X - native.Left, device.Y - native.Top});
    const TPoint o = ClientOrigin();
    return {o.X + inside.X, o.Y + inside.Y};
}

void TCustomForm::SyncNativeBounds() {
    platform::Backend* be = CurrentBackend();
    if (!be || !window_) return;
    const TRect client = ClientScreenRect();
    mapping_ = TDeviceMapping::ForDipRect(client);
    if (!anchoring_) deviceAnchor_.reset();
    be->SetBounds(window_, NativeClientRect());
}

TRect TCustomForm::DipClientFor(const TRect& device, const TDeviceMapping& mapping) const {
    const TRect dip = mapping.ToDip(device);
    const TRect current = ClientScreenRect();
    // Converting the device size back could lose or gain a pixel and, over many
    // moves, drift: the present size stands unless the device size really changed.
    const TRect kept = TRect::FromBounds(dip.Left, dip.Top, current.Width(), current.Height());
    return mapping.ToDevice(kept) == device ? kept : dip;
}

void TCustomForm::SetClientScreenRect(const TRect& client) {
    const TRect f = FrameExtents();
    SetBounds(client.Left - f.Left, client.Top - f.Top, client.Width() + f.Left + f.Right,
              client.Height() + f.Top + f.Bottom);
}

void TCustomForm::WindowConfigured(const TRect& clientScreenRect) {
    // The window manager confirming what the form asked for changes nothing.
    if (clientScreenRect == NativeClientRect()) return;
    const TDeviceMapping mapping = TDeviceMapping::ForDeviceRect(clientScreenRect);
    configuring_ = true;
    SetClientScreenRect(DipClientFor(clientScreenRect, mapping));
    configuring_ = false;
    mapping_ = TDeviceMapping::ForDipRect(ClientScreenRect());
    AnchorAt(clientScreenRect);
}

void TCustomForm::AnchorAt(const TRect& device) {
    deviceAnchor_.reset();
    const TRect native = NativeClientRect();
    if (native.Left != device.Left || native.Top != device.Top)
        deviceAnchor_ = TPoint{device.Left, device.Top};
}

void TCustomForm::WindowScaleChanged(const TRect& suggested) {
    if (!window_) return;
    std::weak_ptr<void> alive = LifeToken();
    // The client area keeps its DIP geometry; only where the system suggests
    // another place does it move there.
    TRect client = ClientScreenRect();
    if (!suggested.Empty()) client = DipClientFor(suggested, TDeviceMapping::ForDeviceRect(suggested));
    mapping_ = TDeviceMapping::ForDipRect(client);
    deviceAnchor_.reset();
    configuring_ = true;
    SetClientScreenRect(client);
    configuring_ = false;
    if (!suggested.Empty()) AnchorAt(suggested);
    anchoring_ = true;
    SyncNativeBounds();
    anchoring_ = false;
    if (alive.expired()) return;
    TellTree(this, CM_SCALECHANGED);
    if (alive.expired()) return;
    EnsureBuffer();
    InvalidateWindowArea(ClientRect());
    PaintWindowNow();
}

void TCustomForm::WindowExposed(const TRect& deviceRect) {
    InvalidateWindowArea(mapping_.ClientToDipOutward(deviceRect));
}

void TCustomForm::ApplyPosition() {
    TCustomForm* center = nullptr;
    bool onScreen = false;
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
        onScreen = true;
        break;
    case poMainFormCenter:
        center = Application ? Application->MainForm() : nullptr;
        onScreen = center == nullptr;
        break;
    case poOwnerFormCenter:
        center = dynamic_cast<TCustomForm*>(Owner());
        onScreen = center == nullptr;
        break;
    default:
        return;
    }
    // Centring on itself (the main form centred on the main form) moves nothing.
    if (center == this) return;
    TRect area = Screen().WorkAreaRect();
    int x = Left(), y = Top();
    if (onScreen) {
        if (area.Empty()) return;
        x = area.Left + (area.Width() - Width()) / 2;
        y = area.Top + (area.Height() - Height()) / 2;
    } else {
        x = center->Left() + (center->Width() - Width()) / 2;
        y = center->Top() + (center->Height() - Height()) / 2;
    }
    if (!area.Empty()) {
        x = std::max(std::min(x, area.Right - Width()), area.Left);
        y = std::max(std::min(y, area.Bottom - Height()), area.Top);
    }
    SetBounds(x, y, Width(), Height());
}

// ---- native window ----------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& params) const {
    using platform::TWindowKind;
    params.Caption = Text();
    params.Style.Kind = borderStyle_ == bsNone ? TWindowKind::Borderless : TWindowKind::Framed;
    params.Style.Resizable = borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin;
    bool framed = borderStyle_ != bsNone;
    bool minMax = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
    params.Style.SystemMenu = framed && (borderIcons_ & biSystemMenu);
    params.Style.MinimizeBox = params.Style.SystemMenu && minMax && (borderIcons_ & biMinimize);
    params.Style.MaximizeBox = params.Style.SystemMenu && minMax && (borderIcons_ & biMaximize);
    params.Style.StayOnTop = formStyle_ == fsStayOnTop;
    params.Style.Owner = popupParent_ ? popupParent_->NativeWindow() : 0;
}

void TCustomForm::HandleNeeded() {
    if (!window_) CreateNativeWindow();
}

void TCustomForm::CreateNativeWindow() {
    platform::Backend* be = CurrentBackend();
    if (!be || window_) return;
    TCreateParams params;
    CreateParams(params);
    TRect client = ClientRect();
    mapping_ = TDeviceMapping::ForDipRect(ClientScreenRect());
    window_ = be->CreateWindow(params.Style, mapping_.ToDevice(ClientScreenRect()), params.Caption);
    // The window manager's frame may differ from the estimate: keep the client size.
    TRect f = FrameExtents();
    configuring_ = true;
    SetBounds(Left(), Top(), client.Width() + f.Left + f.Right, client.Height() + f.Top + f.Bottom);
    configuring_ = false;
    SyncNativeBounds();
    InvalidateWindowArea(ClientRect());
}

void TCustomForm::DestroyNativeWindow() {
    platform::Backend* be = CurrentBackend();
    if (!window_) return;
    platform::WindowId window = window_;
    window_ = 0;
    if (be) be->DestroyWindow(window);
}

void TCustomForm::NativeWindowLost() {
    if (!window_) return;
    window_ = 0;
    if (inModal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    Hide();
}

void TCustomForm::RecreateNativeWindow() {
    if (!window_) return;
    DestroyNativeWindow();
    CreateNativeWindow();
    if (Visible() && window_) CurrentBackend()->SetVisible(window_, true);
    TMouse::Instance().RefreshGrab();
}

// ---- showing and closing ------------------------------------------------------------

void TCustomForm::Show() {
    SetVisible(true);
    if (Visible()) BringToFront();
}

void TCustomForm::Hide() {
    SetVisible(false);
}

void TCustomForm::BringToFront() {
    if (!Visible()) return;
    Screen().BringFormToFront(this);
    if (window_ && CurrentBackend()) CurrentBackend()->Raise(window_);
}

void TCustomForm::VisibleChanged() {
    // A stored layout that makes the form visible shows it after OnCreate.
    if (HasState(csLoading)) {
        pendingShow_ = Visible();
        return;
    }
    std::weak_ptr<void> alive = LifeToken();
    platform::Backend* be = CurrentBackend();
    if (Visible()) {
        DoShow();
        if (alive.expired() || !Visible()) return;
        if (!placed_) {
            placed_ = true;
            ApplyPosition();
        }
        HandleNeeded();
        Realign();
        InvalidateWindowArea(ClientRect());
        Screen().BringFormToFront(this);
        if (be && window_) be->SetVisible(window_, true);
        TAccessibleChanges::Report(platform::TAccessibleEvent::WindowShown, this);
    } else {
        if (be && window_) be->SetVisible(window_, false);
        TAccessibleChanges::Report(platform::TAccessibleEvent::WindowHidden, this);
        if (active_) WindowActivated(false);
        if (alive.expired()) return;
        DoHide();
    }
}

void TCustomForm::DoShow() {
    Fire(OnShow, this);
}

void TCustomForm::DoHide() {
    Fire(OnHide, this);
}

void TCustomForm::DoCreate() {
    std::weak_ptr<void> alive = LifeToken();
    Fire(OnCreate, this);
    if (alive.expired() || !pendingShow_) return;
    pendingShow_ = false;
    if (Visible()) VisibleChanged();
}

void TCustomForm::DoClose(TCloseAction& action) {
    Fire(OnClose, this, action);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    Fire(OnCloseQuery, this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (closing_) return;
    if (inModal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    std::weak_ptr<void> alive = LifeToken();
    closing_ = true;
    bool allowed = CloseQuery();
    if (alive.expired()) return;
    if (!allowed) {
        closing_ = false;
        return;
    }
    TCloseAction action = caHide;
    DoClose(action);
    if (alive.expired()) return;
    closing_ = false;
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || inModal_) throw Exception("Cannot make a visible window modal");
    if (!Application) throw Exception("Cannot show a modal window without an application");
    std::vector<TComponentRef<TCustomForm>> disabled;
    for (TCustomForm* form : Screen().FormList())
        if (form != this && form->Enabled()) {
            disabled.emplace_back(form);
            form->SetEnabled(false);
        }
    TComponentRef<TCustomForm> self(this);
    modalResult_ = mrNone;
    inModal_ = true;
    TModalResult result = mrCancel;
    try {
        if (Application->KeyboardInputLast()) keyboardCues_ = true;
        Show();
        if (window_ && CurrentBackend()) CurrentBackend()->TakeFocus(window_);
        Application->RunNestedLoop([&] { return !self || self->modalResult_ != mrNone; });
        if (self) {
            if (modalResult_ == mrNone) modalResult_ = mrCancel;
            result = modalResult_;
            inModal_ = false;
            Hide();
        }
    } catch (...) {
        if (self) inModal_ = false;
        for (auto& ref : disabled)
            if (ref) ref->SetEnabled(true);
        throw;
    }
    for (auto& ref : disabled)
        if (ref) ref->SetEnabled(true);
    return result;
}

void TCustomForm::Release() {
    if (Application) Application->PostMessage(this, CM_RELEASE);
}

void TCustomForm::WindowActivated(bool active) {
    if (active == active_) return;
    active_ = active;
    std::weak_ptr<void> alive = LifeToken();
    if (active) {
        Screen().SetActiveForm(this);
        Perform(CM_ACTIVATE);
    } else {
        if (Screen().ActiveForm() == this) Screen().SetActiveForm(nullptr);
        Perform(CM_DEACTIVATE);
    }
    if (alive.expired()) return;
    TAccessibleChanges::Report(platform::TAccessibleEvent::StateChanged, this);
    // The focus a reader follows moves with the active window.
    if (active_ && activeControl_)
        TAccessibleChanges::Report(platform::TAccessibleEvent::FocusChanged,
                                   activeControl_->AccessibleFocus());
}

void TCustomForm::Activate() {
    Fire(OnActivate, this);
}

void TCustomForm::Deactivate() {
    Fire(OnDeactivate, this);
}

void TCustomForm::TextChanged() {
    if (window_ && CurrentBackend()) CurrentBackend()->SetTitle(window_, Text());
}

bool TCustomForm::DialogKey(int key, TShiftState shift) {
    if (key == platform::VK_TAB && !(shift & (ssCtrl | ssAlt))) {
        SelectNext(activeControl_, !(shift & ssShift), true);
        return true;
    }
    if (key == platform::VK_F6 && !(shift & (ssCtrl | ssAlt))) {
        CyclePanes(!(shift & ssShift));
        return true;
    }
    return TWinControl::DialogKey(key, shift);
}

namespace {

/// One place F6 stops at: a window and the control that takes the focus there.
struct TPaneStop {
    TCustomForm* Form;
    TWinControl* Pane; // null: the window's client area, or the whole pane window
    TWinControl* Target;
};

TWinControl* PaneOf(TWinControl* control, const TCustomForm* form) {
    for (TWinControl* c = control; c && c != form; c = c->Parent())
        if (c->FocusPane()) return c;
    return nullptr;
}

/// The window's tab stops in order, each once.
std::vector<TWinControl*> TabStops(TCustomForm* form) {
    std::vector<TWinControl*> stops;
    for (TWinControl* c = form->FindNextControl(nullptr, true, true);
         c && (stops.empty() || c != stops.front()); c = form->FindNextControl(c, true, true))
        stops.push_back(c);
    return stops;
}

std::vector<TPaneStop> PaneStops(TCustomForm* root) {
    std::vector<TPaneStop> panes{{root, nullptr, nullptr}};
    for (TWinControl* c : TabStops(root)) {
        TWinControl* pane = PaneOf(c, root);
        auto it =
            std::find_if(panes.begin(), panes.end(), [&](const TPaneStop& p) { return p.Pane == pane; });
        if (it == panes.end())
            panes.push_back({root, pane, c});
        else if (!it->Target)
            it->Target = c;
    }
    for (TCustomForm* f : Screen().FormList())
        if (f != root && f->PaneOwner() == root && f->Visible() && f->Enabled())
            if (TWinControl* target = f->FindNextControl(nullptr, true, true))
                panes.push_back({f, nullptr, target});
    return panes;
}

} // namespace

void TCustomForm::CyclePanes(bool forward) {
    TCustomForm* root = PaneOwner() ? PaneOwner() : this;
    const std::vector<TPaneStop> panes = PaneStops(root);
    const int n = static_cast<int>(panes.size());
    int at = 0;
    for (int i = 0; i < n; ++i) {
        const TPaneStop& p = panes[static_cast<std::size_t>(i)];
        const bool here =
            root == this ? p.Form == this && p.Pane == PaneOf(activeControl_, this) : p.Form == this;
        if (here) at = i;
    }
    for (int step = 1; step < n; ++step) {
        const TPaneStop& next =
            panes[static_cast<std::size_t>(((at + (forward ? step : -step)) % n + n) % n)];
        if (!next.Target) continue;
        next.Form->ShowKeyboardCues();
        next.Form->SetActiveControl(next.Target);
        if (next.Form != this) {
            next.Form->BringToFront();
            if (next.Form->NativeWindow() && CurrentBackend())
                CurrentBackend()->TakeFocus(next.Form->NativeWindow());
        }
        return;
    }
}

bool TCustomForm::IsShortCut(int key, TShiftState shift) {
    const TShortCut shortCut = ShortCut(key, shift);
    if (shortCut == scNone) return false;
    std::vector<TMenu*> menus;
    if (menu_) menus.push_back(menu_);
    for (TComponent* c : Components())
        if (auto* m = dynamic_cast<TMenu*>(c); m && m != menu_) menus.push_back(m);
    // The click may free the form and its menus; the item is found before anything runs.
    for (TMenu* m : menus)
        if (TMenuItem* item = m->FindItemByShortCut(shortCut)) {
            item->Click();
            return true;
        }
    return false;
}

void TCustomForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_SHORTCUT:
        message.Result =
            IsShortCut(static_cast<int>(message.WParam), static_cast<TShiftState>(message.LParam));
        return;
    case WM_CLOSE:
        Close();
        return;
    case WM_SYSCOMMAND:
        if ((message.WParam & 0xFFF0) == SC_CLOSE) {
            Close();
            return;
        }
        TWinControl::WndProc(message);
        return;
    case WM_ACTIVATE:
        WindowActivated(message.WParam != 0);
        return;
    case CM_ACTIVATE:
        Activate();
        return;
    case CM_DEACTIVATE:
        Deactivate();
        return;
    case CM_RELEASE:
        // Nothing may touch the form after this.
        TObject::Free(this);
        return;
    default:
        TWinControl::WndProc(message);
    }
}

// ---- painting ---------------------------------------------------------------------

void TCustomForm::InvalidateWindowArea(const TRect& rect) {
    TRect r = rect.Intersect(ClientRect());
    if (!r.Empty()) dirty_ = dirty_.Union(r);
}

void TCustomForm::EnsureBuffer() {
    const TRect client = ClientRect();
    const TRect device = window_ ? NativeClientRect() : client;
    const double scale = window_ ? mapping_.Scale() : 1.0;
    if (device.Width() == bufferWidth_ && device.Height() == bufferHeight_ && scale == bufferScale_) return;
    bufferWidth_ = std::max(0, device.Width());
    bufferHeight_ = std::max(0, device.Height());
    bufferScale_ = scale;
    buffer_.assign(static_cast<std::size_t>(bufferWidth_) * static_cast<std::size_t>(bufferHeight_), 0);
    dirty_ = client;
}

void TCustomForm::PaintWindowNow() {
    if (!Visible() || dirty_.Empty()) return;
    EnsureBuffer();
    if (buffer_.empty()) {
        dirty_ = {};
        return;
    }
    std::weak_ptr<void> alive = LifeToken();
    // Layout that waits for the first frame happens now, so the frame shows its
    // result and painting only reads positions.
    TPaintEngine::PrepareTree(this, {0, 0}, dirty_);
    if (alive.expired() || !Visible()) return;
    EnsureBuffer();
    TRect dirty = dirty_;
    dirty_ = {};
    surface_->SetBuffer(buffer_.data(), bufferWidth_, bufferHeight_, bufferWidth_);
    surface_->SetScale(bufferScale_);
    TPaintEngine::PaintTree(this, *surface_, {0, 0}, dirty);
    if (alive.expired()) return;
    surface_->SetBuffer(nullptr, 0, 0, 0);
    const TDeviceMapping bufferMapping(bufferScale_, {});
    const TRect deviceDirty =
        bufferMapping.ClientToDeviceOutward(dirty).Intersect({0, 0, bufferWidth_, bufferHeight_});
    if (window_ && CurrentBackend())
        CurrentBackend()->Present(window_, buffer_.data(), bufferWidth_, bufferHeight_, bufferWidth_,
                                  deviceDirty);
}

void TCustomForm::PaintTo(TCanvas& canvas) {
    TPaintEngine::ShareSurface(*canvas_, canvas);
    struct Detach {
        TCanvas& c;
        ~Detach() { TPaintEngine::ReleaseSurface(c); }
    } detach{*canvas_};
    canvas_->SetFont(Font());
    std::weak_ptr<void> alive = LifeToken();
    if (Perform(WM_ERASEBKGND) == 0 && !alive.expired())
        TPaintEngine::EraseBackground(*this, *canvas_, Color());
    if (alive.expired()) return;
    canvas_->Brush()->SetColor(Color());
    Paint();
}

void TCustomForm::Paint() {
    Fire(OnPaint, this);
}

} // namespace emr
