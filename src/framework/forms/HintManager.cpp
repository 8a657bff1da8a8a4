#include "framework/forms/HintManager.h"

#include "framework/controls/Mouse.h"
#include "framework/forms/Application.h"
#include "framework/forms/HintWindow.h"
#include "framework/forms/Screen.h"

namespace emr {

namespace {

/// Distance from the pointer's hot spot to the top of the hint: below the arrow.
constexpr int kCursorHeight = 20;

bool IsPressOrKey(unsigned msg) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return true;
    default:
        return false;
    }
}

} // namespace

THintManager& THintManager::Instance() {
    static THintManager manager;
    return manager;
}

void THintManager::Install(TApplication* app) {
    if (app == app_) return;
    Uninstall();
    app_ = app;
    if (app_) hook_ = app_->AddGetMessageHook([this](TMsg& msg) { return Watch(msg); });
}

void THintManager::Uninstall() {
    if (!app_) return;
    CancelHint();
    app_->RemoveGetMessageHook(hook_);
    if (THintWindow* w = window_.Get()) TObject::Free(w);
    window_.Reset();
    control_.Reset();
    pressed_.Reset();
    app_ = nullptr;
}

THintWindow* THintManager::ShownWindow() const {
    return shown_ ? window_.Get() : nullptr;
}

void THintManager::StartTimer(int ms, bool hiding) {
    StopTimer();
    hidingTimer_ = hiding;
    timer_ = app_->StartTimer(static_cast<unsigned>(std::max(ms, 1)), [this] { TimerFired(); });
}

void THintManager::StopTimer() {
    if (timer_ && app_) app_->StopTimer(timer_);
    timer_ = 0;
}

void THintManager::CancelHint() {
    StopTimer();
    if (shown_)
        if (THintWindow* w = window_.Get()) w->ReleaseHint();
    shown_ = false;
}

bool THintManager::Watch(TMsg& msg) {
    if (!msg.TargetAlive()) return false;
    const unsigned m = msg.Message.Msg;
    if (m == WM_MOUSEMOVE) {
        // The hint window itself is no control to hint about.
        if (msg.Target && msg.Target == window_.Get()) return false;
        cursor_ = msg.ScreenPos;
        // While something holds the capture (a drag, a held button) no hint shows.
        PointerAt(GetCaptureControl() ? nullptr : msg.Target, msg.ScreenPos);
    } else if (IsPressOrKey(m)) {
        if (TControl* c = control_.Get()) pressed_.Reset(c);
        CancelHint();
    } else if (m == WM_MOUSELEAVE) {
        CancelHint();
        control_.Reset();
        pressed_.Reset();
    }
    return false;
}

void THintManager::PointerAt(TControl* control, TPoint screen) {
    cursor_ = screen;
    TControl* target = nullptr;
    if (control && control->ShowHint())
        for (TControl* c = control; c; c = c->Parent())
            if (!c->Hint().empty()) {
                target = c;
                break;
            }
    if (pressed_ && pressed_.Get() != target) pressed_.Reset();
    if (pressed_ && pressed_.Get() == target) target = nullptr;
    if (target == control_.Get() && (shown_ || timer_)) return;

    const bool wasShown = shown_;
    CancelHint();
    control_.Reset(target);
    if (target) StartTimer(wasShown ? hintShortPause_ : hintPause_, false);
}

void THintManager::TimerFired() {
    const bool hiding = hidingTimer_;
    StopTimer();
    if (hiding) {
        // Timed out: stays hidden until the pointer moves to another control.
        if (THintWindow* w = window_.Get()) w->ReleaseHint();
        shown_ = false;
        return;
    }
    ShowHintNow();
}

void THintManager::ShowHintNow() {
    TControl* control = control_.Get();
    if (!control || !control->Showing() || !app_) return;
    TComponentRef<TControl> ref(control);
    THintInfo info;
    info.HintControl = control;
    info.CursorPos = control->ScreenToClient(cursor_);
    info.HintPos = {cursor_.X, cursor_.Y + kCursorHeight};
    info.HintMaxWidth = Screen().Width();
    info.HintStr = GetShortHint(control->Hint());
    info.CursorRect = control->ClientRect();
    info.HideTimeout = hintHidePause_;
    if (control->Perform(CM_HINTSHOW, 0, reinterpret_cast<std::intptr_t>(&info)) != 0 || !ref) return;
    if (info.HintStr.empty()) return;

    if (!window_) window_.Reset(new THintWindow(app_));
    THintWindow* w = window_.Get();
    const TRect size = w->CalcHintRect(info.HintMaxWidth, info.HintStr);
    w->ActivateHint(size.Offset(info.HintPos.X, info.HintPos.Y), info.HintStr);
    shown_ = true;
    if (info.HideTimeout > 0) StartTimer(info.HideTimeout, true);
}

} // namespace emr
