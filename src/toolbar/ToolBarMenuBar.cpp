#include "toolbar/ToolBarMenuBar.h"

#include <algorithm>

#include "framework/controls/Mouse.h"
#include "framework/forms/Form.h"
#include "framework/forms/Menu.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/MenuTracker.h"
#include "framework/forms/PopupMenuWindow.h"
#include "framework/forms/Screen.h"
#include "framework/forms/ShortCut.h"
#include "framework/forms/Timer.h"
#include "framework/graphics/Canvas.h"
#include "menus/AdvMainMenu.h"
#include "menus/AdvPopupMenu.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvToolBarMenuButton.h"
#include "toolbar/ToolBarKeyboardMode.h"

namespace emr {

namespace {

/// The height a bottom-docked toolbar assumes per item (the system's menu-bar height).
constexpr int kMenuBarHeight = 20;
/// Room a drop-down keeps from the monitor edge it would otherwise run past.
constexpr int kMenuEdgeRoom = 52;

/// Process-wide: one menu is tracked at a time, as the hooks it needs are the
/// application's.
struct TTracking {
    TComponentRef<TAdvCustomToolBar> toolBar;
    TComponentRef<TAdvCustomToolBarButton> button;
    int buttonIndex = -1;
    TComponentRef<TMenuItem> lastItem;
    bool stillModal = false;
    TPoint lastMouse;
    bool firstKeySent = false;
    THookId hook = 0;
};

TTracking& Tracking() {
    static TTracking state;
    return state;
}

bool Eligible(const TControl* c) {
    return c && c->Visible() && c->Enabled();
}

TRect MonitorOf(TPoint p) {
    const TScreen& screen = Screen();
    for (int i = 0; i < screen.MonitorCount(); ++i)
        if (screen.Monitors(i).Contains(p)) return screen.Monitors(i);
    return screen.MonitorFor({p.X, p.Y, p.X + 1, p.Y + 1});
}

} // namespace

TToolBarMenuBar::TToolBarMenuBar(TAdvCustomToolBar* toolBar) : toolBar_(toolBar) {
    pendingTimer_ = new TTimer(toolBar);
    pendingTimer_->SetInterval(1);
    pendingTimer_->SetEnabled(false);
    pendingTimer_->OnTimer = [this](TObject*) { PendingTick(); };
}

TToolBarMenuBar::~TToolBarMenuBar() {
    Release();
    if (Tracking().toolBar.Get() == toolBar_ && Tracking().hook) {
        if (Application) Application->RemoveMessageFilter(Tracking().hook);
        Tracking() = TTracking{};
    }
}

void TToolBarMenuBar::Release() {
    // The borrowed items belong to the menu: they go back before their temporary
    // holder is freed with the toolbar, or the menu would lose them.
    GiveBackItems();
}

bool TToolBarMenuBar::PopupHookInstalled() {
    return Tracking().hook != 0;
}

TAdvCustomToolBar* TToolBarMenuBar::TrackingToolBar() {
    return Tracking().toolBar.Get();
}

// ---- Menu and generated buttons --------------------------------------------------------------

void TToolBarMenuBar::FreeGeneratedButtons() {
    std::vector<TComponentRef<TAdvCustomToolBarButton>> generated;
    for (TComponent* c : toolBar_->Components())
        if (auto* b = dynamic_cast<TAdvToolBarMenuButton*>(c); b && b->InternalTag() == 1)
            generated.emplace_back(b);
    for (auto& b : generated)
        if (b) TObject::Free(b.Get());
}

void TToolBarMenuBar::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    FreeGeneratedButtons();
    if (menu_) menu_->RemoveFreeNotification(toolBar_);
    menu_ = menu;
    if (!menu) return;
    menu->FreeNotification(toolBar_);
    if (!toolBar_->HasState(csLoading) || menu->Images()) toolBar_->SetImages(menu->Images());
    CreateButtons();
    LinkButtons();
}

void TToolBarMenuBar::CreateButtons() {
    for (TMenuItem* item : menu_->Items()->Items()) {
        auto* button = new TAdvToolBarMenuButton(toolBar_);
        try {
            button->SetParent(toolBar_);
            button->SetShowCaption(true);
            button->LinkMenuItem(item);
            button->SetInternalTag(1);
            button->SetAutoSize(true);
        } catch (...) {
            TObject::Free(button);
            throw;
        }
    }
}

void TToolBarMenuBar::LinkButtons() {
    const auto& items = menu_->Items()->Items();
    std::size_t next = 0;
    for (TControl* c : std::vector<TControl*>(toolBar_->PositionList())) {
        auto* b = dynamic_cast<TAdvToolBarMenuButton*>(c);
        if (!b || b->InternalTag() != 1) continue;
        if (next >= items.size()) break;
        b->LinkMenuItem(items[next++]);
    }
}

void TToolBarMenuBar::Loaded() {
    if (!menu_) return;
    std::vector<TMenuItem*> linked;
    for (TControl* c : toolBar_->PositionList())
        if (auto* b = dynamic_cast<TAdvToolBarMenuButton*>(c); b && b->InternalTag() == 1) {
            b->UpdateControlSize();
            linked.push_back(b->MenuItem());
        }
    for (TMenuItem* item : menu_->Items()->Items())
        if (std::find(linked.begin(), linked.end(), item) == linked.end()) {
            TMainMenu* menu = menu_;
            SetMenu(nullptr);
            SetMenu(menu);
            return;
        }
}

void TToolBarMenuBar::Notification(TComponent* component, TOperation operation) {
    if (operation != TOperation::opRemove) return;
    if (component == menu_) {
        menu_ = nullptr;
        // Buttons whose items are gone would open nothing; they go with their menu.
        if (!toolBar_->HasState(csDestroying)) FreeGeneratedButtons();
    }
}

// ---- Tracking -------------------------------------------------------------------------------

int TToolBarMenuBar::EstimateWidth(TAdvPopupMenu* popup) const {
    TCanvas canvas;
    canvas.SetFont(toolBar_->Font());
    TMenuItem* widest = nullptr;
    int best = -1;
    for (TMenuItem* item : popup->Items()->Items()) {
        const int w = canvas.TextWidth(StripHotkey(item->Caption())) +
                      canvas.TextWidth(ShortCutToText(item->ShortCut()));
        if (w > best) {
            best = w;
            widest = item;
        }
    }
    if (!widest) return 0;
    int width = 10;
    int height = 10;
    popup->MeasureItem(canvas, widest, width, height);
    return width;
}

int TToolBarMenuBar::TotalHeight(TAdvPopupMenu* popup) const {
    TCanvas canvas;
    canvas.SetFont(toolBar_->Font());
    int total = 0;
    for (TMenuItem* item : popup->Items()->Items()) {
        if (!item->Visible()) continue;
        int width = 10;
        int height = 10;
        popup->MeasureItem(canvas, item, width, height);
        total += height;
    }
    return total;
}

TPoint TToolBarMenuBar::PopupPoint(TAdvCustomToolBarButton* button, int width, int height) {
    const bool rightToLeft = menu_ && menu_->BiDiMode() != TBiDiMode::bdLeftToRight;
    // A mirrored popup opens leftwards from the point it is given.
    const bool leftwards = menu_ && menu_->BiDiMode() == TBiDiMode::bdRightToLeft;
    const TRect r = button->ClientToScreenRect(button->ClientRect());
    TPoint p;
    switch (toolBar_->Position()) {
    case TDockAlign::daTop:
    case TDockAlign::daBottom: {
        p = {rightToLeft ? r.Right : r.Left, r.Bottom};
        sideways_ = true;
        const TRect monitor = MonitorOf(p);
        if (monitor.Height() < height + p.Y + 10) p.Y -= button->Height() + height + 4;
        if (leftwards) {
            if (p.X - width - kMenuEdgeRoom < monitor.Left) p.X = monitor.Left + width + kMenuEdgeRoom;
        } else if (monitor.Right < width + p.X + kMenuEdgeRoom) {
            p.X = monitor.Right - width - kMenuEdgeRoom;
        }
        break;
    }
    // Side panels keep their physical edge: the menu opens away from it either way.
    case TDockAlign::daLeft:
        p = {leftwards ? r.Right + width : r.Right, r.Top + 1};
        sideways_ = true;
        break;
    case TDockAlign::daRight:
        p = {leftwards ? r.Left : r.Left - width, r.Top + 1};
        sideways_ = true;
        break;
    }
    return p;
}

bool TToolBarMenuBar::TrackMenu(TAdvCustomToolBarButton* button) {
    TApplication* app = EnsureApplication();
    closed_ = false;
    const std::intptr_t serial = ++serial_;
    auto alive = toolBar_->LifeToken();
    TComponentRef<TAdvCustomToolBarButton> buttonRef(button);
    bool hooked = false;
    // Every way out posts the menu-closed message and lets go of the hook; input
    // held back while the popup had the pointer follows the message.
    struct TExit {
        TToolBarMenuBar* self;
        TApplication* app;
        std::weak_ptr<void> alive;
        std::intptr_t serial;
        bool& hooked;
        ~TExit() {
            if (hooked) {
                app->RemoveMessageFilter(Tracking().hook);
                Tracking() = TTracking{};
            }
            if (alive.expired()) return;
            app->PostMessage(self->toolBar_, CM_TOOLBARMENUCLOSED, serial);
            std::vector<platform::TEvent> input;
            input.swap(self->deferred_);
            for (const platform::TEvent& e : input)
                app->InjectInput(e);
        }
    } exit{this, app, alive, serial, hooked};

    TAdvPopupMenu* popup = button->DropDownMenu();
    if (!popup) {
        TComponentRef<TMenuItem> item(button->MenuItem());
        if (!item) return false;
        item->Click(); // its handler may rebuild the sub-items
        if (alive.expired() || !item || !buttonRef) return false;
        GiveBackItems();
        auto* temp = new TAdvPopupMenu(toolBar_);
        if (TMenu* parent = item->GetParentMenu()) {
            temp->SetBiDiMode(parent->BiDiMode());
            temp->SetAutoHotkeys(parent->AutoHotkeys());
            temp->SetImages(parent->Images());
        }
        tempPopup_.Reset(temp);
        borrowedFrom_.Reset(item.Get());
        while (item->Count() > 0)
            temp->Items()->Add(item->Item(0));
        popup = temp;
    }
    const int visible = popup->Items()->VisibleCount();
    popup->SetPopupComponent(toolBar_);

    if (popup->Items()->Count() > 0 && menu_) {
        TTracking& t = Tracking();
        t = TTracking{};
        t.toolBar.Reset(toolBar_);
        t.button.Reset(button);
        t.buttonIndex = button->PositionInToolBar();
        t.lastMouse = TMouse::Instance().CursorPos();
        t.hook = app->AddMessageFilter([this](TMsg& msg) { return PopupHook(msg); });
        hooked = true;
    }
    if (TAdvCustomToolBarButton* hot = toolBar_->HotButton()) hot->SetHot(false);

    const int width = EstimateWidth(popup);
    const int height = toolBar_->Position() == TDockAlign::daBottom ? kMenuBarHeight * popup->Items()->Count()
                                                                    : TotalHeight(popup);
    const TPoint at = PopupPoint(button, width, height);
    if (TCustomAdvToolBarStyler* styler = toolBar_->CurrentStyler())
        popup->SetMenuStyler(styler->CurrentMenuStyler());

    if ((hooked || (popup->Items()->Count() > 0 && !menu_)) && visible > 0) {
        button->SetMenuDisplayed(true);
        shownButton_.Reset(button);
        popup->Popup(at.X, at.Y);
        if (alive.expired()) return false;
    }
    const bool stillModal = Tracking().stillModal;
    const bool wasHooked = hooked;
    if (hooked) {
        app->RemoveMessageFilter(Tracking().hook);
        Tracking() = TTracking{};
        hooked = false;
    }
    // The menu closed for good (not left for a neighbour's, not only Esc'd): keyboard mode ends.
    if (wasHooked && !stillModal && visible > 0) toolBar_->KeyboardModeHandler()->CancelMenu();
    if (!buttonRef) return true;
    lastTracked_.Reset(button);
    button->ResetButtonState();
    TToolBarKeyboardMode* keyboard = toolBar_->KeyboardModeHandler();
    if (stillModal && keyboard->KeyboardMode()) {
        button->SetHot(true);
        keyboard->RetakeCapture();
    }
    toolBar_->ControlUsed(button);
    return true;
}

void TToolBarMenuBar::GiveBackItems() {
    TAdvPopupMenu* temp = tempPopup_.Get();
    if (TMenuItem* from = borrowedFrom_.Get(); temp && from)
        while (temp->Items()->Count() > 0)
            from->Add(temp->Items()->Item(0));
    borrowedFrom_.Reset();
    tempPopup_.Reset();
    if (temp) TObject::Free(temp);
}

bool TToolBarMenuBar::HandleMessage(TMessage& message) {
    if (message.Msg != CM_TOOLBARMENUCLOSED) return false;
    MenuClosed(message.WParam);
    return true;
}

void TToolBarMenuBar::MenuClosed(std::intptr_t serial) {
    // A later drop has already taken over (and given the items back itself).
    if (serial != serial_) return;
    TComponentRef<TAdvCustomToolBarButton> last(lastTracked_.Get());
    GiveBackItems();
    lastTracked_.Reset();
    TAdvCustomToolBarButton* shown = shownButton_.Get();
    if (shown && toolBar_->Parent() && menu_ && !shown->InternalClick()) {
        const TPoint cursor = TMouse::Instance().CursorPos();
        if (FindDragTarget(cursor, true) == shown) {
            shown->SetMenuBeingClosed(true);
            Inject(platform::TEventType::MouseUp, cursor);
        }
    }
    sideways_ = false;
    if (shown) shown->SetMenuDisplayed(false);
    shownButton_.Reset();
    if (last) last->Invalidate();
    closed_ = true;
}

void TToolBarMenuBar::Inject(platform::TEventType type, TPoint screen) {
    platform::TEvent e;
    e.Type = type;
    e.ScreenX = screen.X;
    e.ScreenY = screen.Y;
    e.Button = platform::TMouseButton::Left;
    if (auto* form = dynamic_cast<TCustomForm*>(toolBar_->TopLevel())) {
        e.Window = form->NativeWindow();
        const TPoint client = form->ScreenToClient(screen);
        e.X = client.X;
        e.Y = client.Y;
    }
    // While a popup holds the pointer the input would only reach the popup: it is
    // held back until the popup's loop has ended.
    if (Tracking().hook || (tempPopup_ && tempPopup_->Tracking()))
        deferred_.push_back(e);
    else
        EnsureApplication()->InjectInput(e);
}

TAdvCustomToolBarButton* TToolBarMenuBar::Neighbour(int from, int step) const {
    const auto& list = toolBar_->PositionList();
    const int count = static_cast<int>(list.size());
    if (count == 0) return nullptr;
    for (int n = 1; n < count; ++n) {
        const int i = ((from + step * n) % count + count) % count;
        auto* b = dynamic_cast<TAdvCustomToolBarButton*>(list[static_cast<std::size_t>(i)]);
        if (b && i != from && Eligible(b)) return b;
    }
    return nullptr;
}

void TToolBarMenuBar::ClickButton(TAdvCustomToolBarButton* button, bool byMouse) {
    closed_ = false;
    // The menu being left must not keep its displayed flag: its next press would be swallowed.
    if (TAdvCustomToolBarButton* shown = shownButton_.Get()) shown->SetMenuDisplayed(false);
    shownButton_.Reset();
    button->SetInternalClick(true);
    TPopupMenu* open = tempPopup_ && tempPopup_->Tracking() ? tempPopup_.Get() : nullptr;
    if (!open)
        if (auto* t = Tracking().toolBar.Get(); t == toolBar_)
            for (TControl* c : toolBar_->PositionList())
                if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(c);
                    b && b->DropDownMenu() && b->DropDownMenu()->Tracking())
                    open = b->DropDownMenu();
    if (byMouse) {
        const TPoint cursor = TMouse::Instance().CursorPos();
        Inject(platform::TEventType::MouseDown, cursor);
        Inject(platform::TEventType::MouseUp, cursor);
        if (open) open->CloseMenu();
        return;
    }
    const TPoint corner = button->ClientToScreen({0, 0});
    TMenuItem* item = button->MenuItem();
    if (item && item->Count() > 0) {
        Inject(platform::TEventType::MouseDown, corner);
        if (open) open->CloseMenu();
        return;
    }
    const TPoint beside =
        toolBar_->Horizontal() ? TPoint{corner.X, corner.Y - 1} : TPoint{corner.X - 1, corner.Y};
    Inject(platform::TEventType::MouseDown, beside);
    Inject(platform::TEventType::MouseUp, beside);
    if (open) open->CloseMenu();
    pendingButton_.Reset(button);
    pendingTimer_->SetEnabled(true);
}

void TToolBarMenuBar::PendingTick() {
    pendingTimer_->SetEnabled(false);
    TAdvCustomToolBarButton* pending = pendingButton_.Get();
    pendingButton_.Reset();
    // The highlight goes on before the keyboard loop starts: MenuLoop only
    // returns when menu mode ends.
    toolBar_->KeyboardModeHandler()->MenuLoop(nullptr, pending);
}

// ---- The popup hook -------------------------------------------------------------------------

bool TToolBarMenuBar::PopupHook(TMsg& msg) {
    TTracking& t = Tracking();
    TAdvCustomToolBar* tb = t.toolBar.Get();
    TPopupMenu* popup =
        tempPopup_ && tempPopup_->Tracking() ? static_cast<TPopupMenu*>(tempPopup_.Get()) : nullptr;
    if (!popup && shownButton_ && shownButton_->DropDownMenu() && shownButton_->DropDownMenu()->Tracking())
        popup = shownButton_->DropDownMenu();
    if (!tb || !popup || !popup->Tracker()) return false;
    const TMenuTracker* tracker = popup->Tracker();
    const auto& windows = tracker->Windows();
    if (windows.empty()) return false;
    const unsigned m = msg.Message.Msg;

    if (!t.firstKeySent) {
        t.firstKeySent = true;
        EnsureApplication()->PostMessage(windows.front(), WM_KEYDOWN, platform::VK_DOWN, 0);
    }

    TPopupMenuWindow* top = windows.back();
    TMenuItem* hot = top->HotItem();
    if (hot && hot != t.lastItem.Get()) {
        // A new highlight: the menu is in use again, so it is no longer only still open.
        t.lastItem.Reset(hot);
        t.stillModal = false;
    }

    TAdvCustomToolBarButton* target = nullptr;
    bool byMouse = false;
    bool eat = false;
    if (m == WM_KEYDOWN) {
        // Left and Right in reading order: the menu's tracker swaps them the same way
        // for its own levels, which open leftwards in a right-to-left menu.
        const auto key = TMenuTracker::ReadingOrderKey(static_cast<int>(msg.Message.WParam), windows.back());
        if (key == platform::VK_RETURN) enter_ = true;
        if (key == platform::VK_ESCAPE) t.stillModal = true;
        if (hot && key == platform::VK_RIGHT && hot->VisibleCount() == 0) {
            target = Neighbour(t.buttonIndex, 1);
            eat = true;
        }
        if (hot && key == platform::VK_LEFT && windows.size() == 1) {
            target = Neighbour(t.buttonIndex, -1);
            eat = true;
        }
    } else if (m == WM_SYSKEYDOWN &&
               (msg.Message.WParam == platform::VK_MENU || msg.Message.WParam == platform::VK_F10)) {
        tb->KeyboardModeHandler()->CancelMenu();
        TToolBarKeyboardMode::SwallowMenuKeyRelease();
        popup->CloseMenu();
        return true;
    } else if (msg.FromInput && m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) {
        bool overMenu = false;
        for (const TPopupMenuWindow* w : windows)
            overMenu = overMenu || w->BoundsRect().Contains(msg.ScreenPos);
        if (!overMenu && m == WM_MOUSEMOVE && !(msg.ScreenPos == t.lastMouse)) {
            t.lastMouse = msg.ScreenPos;
            // The switch clicks where the pointer is now, and this move is eaten before dispatch would tell.
            TMouse::Instance().SetCursorPos(msg.ScreenPos);
            target = dynamic_cast<TAdvCustomToolBarButton*>(FindDragTarget(msg.ScreenPos, true));
            byMouse = true;
        } else if (!overMenu && (m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN ||
                                 m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDBLCLK)) {
            // A press outside the menu closes it and still reaches what it was aimed at.
            Inject(platform::TEventType::MouseDown, msg.ScreenPos);
            popup->CloseMenu();
            return true;
        }
    }
    if (target && target->IsMenuButton() && target != t.button.Get() && target->Parent()) {
        t.stillModal = true;
        if (TAdvCustomToolBar* owner = target->ToolBar(); owner && owner != toolBar_)
            owner->MenuBar()->SetClosed(false);
        closed_ = false;
        ClickButton(target, byMouse);
        return true;
    }
    return eat;
}

} // namespace emr
