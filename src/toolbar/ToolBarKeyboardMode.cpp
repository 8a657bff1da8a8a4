#include "toolbar/ToolBarKeyboardMode.h"

#include <vector>

#include "framework/controls/Mouse.h"
#include "framework/forms/Hotkey.h"
#include "framework/forms/Menu.h"
#include "framework/forms/MenuItem.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvToolBarMenuButton.h"
#include "toolbar/ToolBarMenuBar.h"

namespace emr {

namespace {

THookId& SwallowHook() {
    static THookId id = 0;
    return id;
}

bool IsMenuKey(std::intptr_t key) {
    return key == platform::VK_MENU || key == platform::VK_F10;
}

/// The menu buttons keyboard navigation can reach, in PositionList order.
std::vector<TAdvCustomToolBarButton*> EligibleMenuButtons(const TAdvCustomToolBar* tb) {
    std::vector<TAdvCustomToolBarButton*> list;
    for (TControl* c : tb->PositionList()) {
        auto* b = dynamic_cast<TAdvCustomToolBarButton*>(c);
        if (!b || !b->IsMenuButton() || !b->Visible() || !b->Enabled()) continue;
        if (tb->Docked() && tb->InOverflow(b)) continue;
        list.push_back(b);
    }
    return list;
}

} // namespace

TToolBarKeyboardMode::TToolBarKeyboardMode(TAdvCustomToolBar* toolBar) : toolBar_(toolBar) {}

TToolBarKeyboardMode::~TToolBarKeyboardMode() {
    if (hook_ && Application) Application->RemoveGetMessageHook(hook_);
}

void TToolBarKeyboardMode::SwallowMenuKeyRelease() {
    TApplication* app = EnsureApplication();
    if (SwallowHook()) return;
    SwallowHook() = app->AddGetMessageHook([app](TMsg& msg) {
        const unsigned m = msg.Message.Msg;
        const bool keyMenu = m == WM_SYSCOMMAND && (msg.Message.WParam & 0xFFF0) == SC_KEYMENU;
        const bool otherKey = ((m == WM_KEYDOWN || m == WM_SYSKEYDOWN) && !IsMenuKey(msg.Message.WParam)) ||
                              m == WM_CHAR || m == WM_SYSCHAR;
        if (keyMenu || otherKey) {
            app->RemoveGetMessageHook(SwallowHook());
            SwallowHook() = 0;
        }
        return keyMenu && msg.Message.LParam == 0;
    });
}

bool TToolBarKeyboardMode::MenuLoop(TAdvCustomToolBarButton* button, TAdvCustomToolBarButton* hot) {
    TToolBarMenuBar* bar = toolBar_->MenuBar();
    if (menuMode_) {
        if (button) {
            bar->ClickButton(button, false);
            return true;
        }
        if (hot) hot->SetHot(true);
        return false;
    }
    TApplication* app = EnsureApplication();
    auto alive = toolBar_->LifeToken();
    struct TEnd {
        TToolBarKeyboardMode* self;
        std::weak_ptr<void> alive;
        ~TEnd() {
            if (!alive.expired()) self->CancelMenu();
        }
    } end{this, alive};
    bar->SetEnterUsed(false);
    // Menu mode is on before the first menu drops, so that closing that menu for
    // good can end the mode before the loop would start.
    menuMode_ = toolBar_->Menu() != nullptr;
    InitMenuMode(button);
    if (alive.expired()) return false;
    if (!button && hot) hot->SetHot(true);
    if (menuMode_) app->RunNestedLoop([&] { return alive.expired() || !menuMode_ || app->Terminated(); });
    return !alive.expired() && bar->EnterUsed();
}

void TToolBarKeyboardMode::InitMenuMode(TAdvCustomToolBarButton* button) {
    SetCaptureControl(toolBar_);
    keyboardMode_ = true;
    if (!hook_)
        hook_ = EnsureApplication()->AddGetMessageHook([this](TMsg& msg) { return KeyboardHook(msg); });
    if (button) {
        auto list = EligibleMenuButtons(toolBar_);
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i] == button) SetHotIndex(static_cast<int>(i));
        button->OpenButtonMenu();
    } else {
        SetHotIndex(0);
        toolBar_->MenuBar()->SetClosed(true);
    }
}

void TToolBarKeyboardMode::CancelMenu() {
    // The hook and the capture go whenever they were taken, also when the first
    // menu closed before the loop began.
    if (keyboardMode_ || hook_) {
        if (hook_) EnsureApplication()->RemoveGetMessageHook(hook_);
        hook_ = 0;
        keyboardMode_ = false;
        if (GetCaptureControl() == toolBar_) ReleaseCapture();
    }
    menuMode_ = false;
    toolBar_->MenuBar()->SetClosed(false);
    SetHotIndex(-1);
}

void TToolBarKeyboardMode::RetakeCapture() {
    if (keyboardMode_ && !GetCaptureControl()) SetCaptureControl(toolBar_);
}

void TToolBarKeyboardMode::SetHotIndex(int index) {
    if (index < 0) {
        if (TAdvCustomToolBarButton* hot = toolBar_->HotButton()) hot->SetHot(false);
        return;
    }
    auto list = EligibleMenuButtons(toolBar_);
    if (index < static_cast<int>(list.size())) list[static_cast<std::size_t>(index)]->SetHot(true);
}

bool TToolBarKeyboardMode::KeyboardHook(TMsg& msg) {
    const unsigned m = msg.Message.Msg;
    if ((m == WM_ACTIVATE && msg.Message.WParam == 0) || m == CM_DEACTIVATE) {
        CancelMenu();
        return false;
    }
    if (m == WM_COMMAND) {
        EnsureApplication()->RemoveGetMessageHook(hook_);
        hook_ = 0;
        return false;
    }
    const bool key =
        m == WM_KEYDOWN || m == WM_KEYUP || m == WM_CHAR || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP;
    if (key && !TToolBarMenuBar::PopupHookInstalled()) {
        msg.Target = toolBar_;
        msg.TargetLife = toolBar_->LifeToken();
    }
    return false;
}

bool TToolBarKeyboardMode::KeyDown(int key) {
    TAdvCustomToolBarButton* hot = toolBar_->HotButton();
    switch (key) {
    case platform::VK_RETURN:
    case platform::VK_DOWN:
        if (hot) hot->OpenButtonMenu();
        return true;
    case platform::VK_ESCAPE:
        CancelMenu();
        return true;
    case platform::VK_LEFT:
    case platform::VK_RIGHT: {
        if (!hot) return true;
        // Steps over the buttons the keyboard can reach, so that a hidden or
        // disabled button never leaves the mode without a highlight.
        auto list = EligibleMenuButtons(toolBar_);
        const int count = static_cast<int>(list.size());
        int at = -1;
        for (int i = 0; i < count; ++i)
            if (list[static_cast<std::size_t>(i)] == hot) at = i;
        if (count == 0 || at < 0) return true;
        // The arrows move the way they point on the screen, which a mirrored bar reverses.
        const bool towardsStart = (key == platform::VK_LEFT) != toolBar_->UseRightToLeftLayout();
        const int step = towardsStart ? -1 : 1;
        SetHotIndex((at + step + count) % count);
        return true;
    }
    default:
        return true;
    }
}

bool TToolBarKeyboardMode::KeyMenu(std::intptr_t key) {
    if (menuMode_ || !toolBar_->Enabled() || !toolBar_->Showing() || !toolBar_->Menu()) return false;
    if (GetCaptureControl() || key == ' ' || key == '-') return false;
    if (key == 0) {
        MenuLoop(nullptr);
        return true;
    }
    for (TControl* c : toolBar_->PositionList()) {
        auto* b = dynamic_cast<TAdvCustomToolBarButton*>(c);
        if (b && b->Visible() && b->Enabled() && IsAccel(static_cast<char32_t>(key), b->Caption())) {
            MenuLoop(b);
            return true;
        }
    }
    return false;
}

bool TToolBarKeyboardMode::DialogChar(char32_t key, TShiftState shift) {
    if (!toolBar_->Enabled() || !toolBar_->Showing()) return false;
    if (!(shift & ssAlt) && !menuMode_) return false;
    for (TControl* c : toolBar_->PositionList()) {
        auto* b = dynamic_cast<TAdvCustomToolBarButton*>(c);
        if (!b || !b->Visible() || !b->Enabled() || !IsAccel(key, b->Caption())) continue;
        if (b->IsMenuButton() && (b->DropDownMenu() || b->MenuItem())) {
            if (menuMode_) {
                // The highlight moves with the letter, as it would with the arrows.
                b->SetHot(true);
            }
            b->OpenButtonMenu();
        } else {
            b->Click();
        }
        return true;
    }
    return false;
}

TAdvCustomToolBarButton* TToolBarKeyboardMode::ButtonAt(TPoint client) const {
    for (TControl* c : toolBar_->PositionList())
        if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(c);
            b && b->Visible() && b->BoundsRect().Contains(client))
            return b;
    return nullptr;
}

bool TToolBarKeyboardMode::PointerMove(TPoint client) {
    if (!keyboardMode_) return false;
    if (TAdvCustomToolBarButton* b = ButtonAt(client); b && b != toolBar_->HotButton() && b->Enabled())
        b->SetHot(true);
    return false;
}

bool TToolBarKeyboardMode::PointerDown(TPoint client) {
    if (!keyboardMode_) return false;
    if (TAdvCustomToolBarButton* b = ButtonAt(client)) {
        if (b->IsMenuButton() && (b->DropDownMenu() || b->MenuItem())) b->OpenButtonMenu();
        return true;
    }
    if (!toolBar_->ClientRect().Contains(client)) CancelMenu();
    return true;
}

bool TToolBarKeyboardMode::HandleMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_GETDLGCODE:
        if (!menuMode_) return false;
        message.Result = DLGC_WANTALLKEYS;
        return true;
    case WM_SYSCOMMAND:
        if ((message.WParam & 0xFFF0) != SC_KEYMENU) return false;
        if (!KeyMenu(message.LParam)) return false;
        message.Result = 1;
        return true;
    case WM_KEYDOWN:
        if (!menuMode_) return false;
        return KeyDown(static_cast<int>(message.WParam));
    case WM_KEYUP:
        return menuMode_;
    case WM_CHAR:
        if (!menuMode_ || toolBar_->HasState(csDesigning)) return false;
        DialogChar(static_cast<char32_t>(message.WParam), static_cast<TShiftState>(message.LParam));
        return true;
    case WM_SYSKEYDOWN:
        if (!menuMode_ || !IsMenuKey(message.WParam)) return false;
        CancelMenu();
        SwallowMenuKeyRelease();
        return true;
    case WM_CAPTURECHANGED:
        if (menuMode_ && toolBar_->MenuBar()->Closed() &&
            reinterpret_cast<TControl*>(message.LParam) != static_cast<TControl*>(toolBar_))
            CancelMenu();
        return false;
    case CM_DIALOGCHAR:
        if (!DialogChar(static_cast<char32_t>(message.WParam), static_cast<TShiftState>(message.LParam)))
            return false;
        message.Result = 1;
        return true;
    default:
        return false;
    }
}

} // namespace emr
