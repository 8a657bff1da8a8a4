#include "framework/forms/Application.h"

#include <algorithm>

#include "framework/accessibility/AccessibleTree.h"
#include "framework/controls/CheckedControl.h"
#include "framework/controls/Mouse.h"
#include "framework/controls/WinControl.h"
#include "framework/core/Exception.h"
#include "framework/core/Verify.h"
#include "framework/forms/Form.h"
#include "framework/forms/HintManager.h"
#include "framework/forms/LayoutSaving.h"
#include "framework/forms/MessageDialog.h"
#include "framework/forms/Screen.h"
#include "framework/streaming/LayoutReader.h"

namespace emr {

TApplication* Application = nullptr;

TApplication* EnsureApplication() {
    if (!Application) new TApplication(nullptr);
    return Application;
}

namespace {

platform::Backend* CurrentBackend() {
    return platform::Backend::Installed() ? &platform::Backend::Current() : nullptr;
}

TShiftState ButtonFlag(platform::TMouseButton button) {
    switch (button) {
    case platform::TMouseButton::Left:
        return ssLeft;
    case platform::TMouseButton::Right:
        return ssRight;
    default:
        return ssMiddle;
    }
}

unsigned ButtonMessage(platform::TMouseButton button, int kind) {
    // kind: 0 down, 1 up, 2 double click.
    unsigned base = button == platform::TMouseButton::Left    ? WM_LBUTTONDOWN
                    : button == platform::TMouseButton::Right ? WM_RBUTTONDOWN
                                                              : WM_MBUTTONDOWN;
    return base + static_cast<unsigned>(kind);
}

bool IsMouseMessage(unsigned msg) {
    return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST;
}

bool IsKeyMessage(unsigned msg) {
    return msg >= WM_KEYDOWN && msg <= WM_SYSCHAR;
}

std::string Describe(const TControl& c) {
    return c.Name() + " (" + std::string(c.ClassName()) + " " + std::to_string(c.Left()) + "," +
           std::to_string(c.Top()) + "," + std::to_string(c.Width()) + "," + std::to_string(c.Height()) + ")";
}

/// The first broken invariant of a checked control in the tree under `control`, or empty.
std::string CheckTree(const TControl& control) {
    if (const auto* checked = dynamic_cast<const ICheckedControl*>(&control)) {
        const std::string broken = checked->CheckInvariants();
        if (!broken.empty()) return Describe(control) + ": " + broken;
    }
    if (const auto* parent = dynamic_cast<const TWinControl*>(&control))
        for (const TControl* child : parent->ControlList()) {
            std::string broken = CheckTree(*child);
            if (!broken.empty()) return broken;
        }
    return {};
}

/// Decodes UTF-8 into code points; a malformed byte becomes U+FFFD.
std::vector<char32_t> DecodeUtf8(const std::string& text) {
    std::vector<char32_t> out;
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80             ? 0
                    : (lead & 0xE0) == 0xC0 ? 1
                    : (lead & 0xF0) == 0xE0 ? 2
                    : (lead & 0xF8) == 0xF0 ? 3
                                            : -1;
        char32_t cp = extra <= 0 ? lead : lead & (0x3Fu >> extra);
        bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            ok = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

} // namespace

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    if (!Application) Application = this;
    TMouse::Instance().FindControlAt = [this](TPoint screen) {
        return ControlAtScreen(pointerWindow_, screen);
    };
    if (platform::Backend* backend = CurrentBackend()) backend->SetPump([this] { return PumpPending(); });
}

TApplication::~TApplication() {
    if (Application == this) Application = nullptr;
}

void TApplication::BeforeDestruction() {
    TComponent::BeforeDestruction();
    if (platform::Backend* backend = CurrentBackend()) {
        backend->SetPump(nullptr);
        if (accessibleTree_) backend->SetAccessibleSource(nullptr);
    }
    if (Application == this) TMouse::Instance().Reset();
    // The hints' watch keeps this application; left installed it would reach
    // into freed memory at the next Install or Uninstall.
    if (THintManager::Instance().InstalledOn(this)) THintManager::Instance().Uninstall();
    timers_.clear();
    queue_.clear();
}

void TApplication::Initialize() {
    if (platform::Backend* backend = CurrentBackend()) backend->SetPump([this] { return PumpPending(); });
    // A program's controls show their hints (where ShowHint is on) without
    // further set-up; tests that build an application without Initialize see none.
    THintManager::Instance().Install(this);
    if (!accessibleTree_) accessibleTree_ = new TAccessibleTree(this);
    if (platform::Backend* backend = CurrentBackend()) backend->SetAccessibleSource(accessibleTree_);
}

// ---- forms --------------------------------------------------------------------

void TApplication::RegisterLayout(std::string_view className, std::string layout) {
    layouts_[std::string(className)] = std::move(layout);
}

void TApplication::InitializeForm(TCustomForm* form) {
    auto it = layouts_.find(form->ClassName());
    if (it != layouts_.end()) {
        try {
            if (layoutLoader_)
                layoutLoader_(form, it->second);
            else
                TLayoutReader::ReadRootFromText(it->second, form);
        } catch (...) {
            TObject::Free(form);
            throw;
        }
    }
    form->DoCreate();
}

void TApplication::SetMainForm(TCustomForm* form) {
    if (form == mainForm_) return;
    if (mainForm_) mainForm_->RemoveFreeNotification(this);
    mainForm_ = form;
    if (form) form->FreeNotification(this);
}

TCustomForm* TApplication::FormOfWindow(platform::WindowId window) const {
    if (!window) return nullptr;
    for (TCustomForm* form : Screen().FormList())
        if (form->NativeWindow() == window) return form;
    return nullptr;
}

// ---- loops --------------------------------------------------------------------

void TApplication::Run() {
    if (mainForm_ && !mainForm_->Visible()) mainForm_->Show();
    starved_ = false;
    ++loopDepth_;
    while (!terminated_ && !starved_)
        HandleMessage();
    --loopDepth_;
}

void TApplication::Terminate() {
    // At the end of a session the process may be ended before the forms are
    // destroyed, which is when their layouts are saved: they are saved now.
    if (sessionEnding_)
        for (TCustomForm* form : Screen().FormList())
            SaveLayouts(*form);
    PostQuitMessage(0);
}

void TApplication::HandleMessage() {
    TMsg msg;
    if (!GetMessage(msg)) {
        if (msg.Message.Msg == WM_QUIT) {
            terminated_ = true;
            exitCode_ = static_cast<int>(msg.Message.WParam);
        }
        return;
    }
    DispatchMessage(msg);
}

void TApplication::ProcessMessages() {
    TMsg msg;
    while (PeekMessage(msg)) {
        if (msg.Message.Msg == WM_QUIT && !msg.Target) {
            terminated_ = true;
            exitCode_ = static_cast<int>(msg.Message.WParam);
            break;
        }
        DispatchMessage(msg);
    }
    PaintPending();
}

std::optional<std::int64_t> TApplication::PumpPending() {
    const bool wasTerminated = terminated_;
    ProcessMessages();
    // A quit taken here belongs to the loop the pump runs inside, which would
    // otherwise wait on for input.
    if (terminated_ && !wasTerminated && loopDepth_ > 0) PostQuitMessage(exitCode_);
    return NextTimerDeadline();
}

bool TApplication::RunNestedLoop(const std::function<bool()>& done) {
    return RunNestedLoop(done, TMessageHook());
}

bool TApplication::RunNestedLoop(const std::function<bool()>& done, const TMessageHook& own) {
    ++loopDepth_;
    ++nestedLoops_;
    struct Depth {
        int& d;
        int& nested;
        ~Depth() { --d, --nested; }
    } depth{loopDepth_, nestedLoops_};
    while (!done()) {
        TMsg msg;
        if (!GetMessage(msg)) {
            if (msg.Message.Msg == WM_QUIT) PostQuitMessage(static_cast<int>(msg.Message.WParam));
            return false;
        }
        if (RunHooks(filters_, msg)) continue;
        if (own && own(msg)) continue;
        DispatchMessage(msg);
    }
    return true;
}

THookId TApplication::AddMessageFilter(TMessageHook hook) {
    THookId id = nextHookId_++;
    filters_.emplace_back(id, std::move(hook));
    return id;
}

void TApplication::RemoveMessageFilter(THookId id) {
    std::erase_if(filters_, [id](const auto& h) { return h.first == id; });
}

THookId TApplication::AddGetMessageHook(TMessageHook hook) {
    THookId id = nextHookId_++;
    getHooks_.emplace_back(id, std::move(hook));
    return id;
}

void TApplication::RemoveGetMessageHook(THookId id) {
    std::erase_if(getHooks_, [id](const auto& h) { return h.first == id; });
}

bool TApplication::RunHooks(std::vector<std::pair<THookId, TMessageHook>>& hooks, TMsg& msg) {
    if (hooks.empty()) return false;
    // Newest first; a hook may remove itself or others while running.
    std::vector<THookId> ids;
    for (const auto& h : hooks)
        ids.push_back(h.first);
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        auto found = std::find_if(hooks.begin(), hooks.end(), [&](const auto& h) { return h.first == *it; });
        if (found == hooks.end()) continue;
        TMessageHook hook = found->second;
        if (hook(msg)) return true;
    }
    return false;
}

// ---- the queue ----------------------------------------------------------------

void TApplication::Enqueue(TMsg msg) {
    if (CurrentBackend()) msg.Time = CurrentBackend()->NowMs();
    queue_.push_back(std::move(msg));
}

void TApplication::PostMessage(TControl* target, unsigned msg, std::intptr_t wparam, std::intptr_t lparam) {
    TMsg m;
    m.Target = target;
    if (target) m.TargetLife = target->LifeToken();
    m.Message = {msg, wparam, lparam, 0};
    Enqueue(std::move(m));
}

void TApplication::PostCall(std::function<void()> call) {
    TMsg m;
    m.Call = std::move(call);
    Enqueue(std::move(m));
    if (platform::Backend* backend = CurrentBackend()) backend->Wake();
}

std::intptr_t TApplication::SendMessage(TControl* target, unsigned msg, std::intptr_t wparam,
                                        std::intptr_t lparam) {
    return target ? target->Perform(msg, wparam, lparam) : 0;
}

namespace {

void SendToTree(TWinControl* control, unsigned msg, std::intptr_t wparam, std::intptr_t lparam) {
    std::vector<TComponentRef<TWinControl>> children;
    for (TControl* c : control->ControlList())
        if (auto* w = dynamic_cast<TWinControl*>(c)) children.emplace_back(w);
    control->Perform(msg, wparam, lparam);
    for (auto& child : children)
        if (child) SendToTree(child.Get(), msg, wparam, lparam);
}

} // namespace

void TApplication::BroadcastMessage(unsigned msg, std::intptr_t wparam, std::intptr_t lparam,
                                    bool toChildren) {
    std::vector<TComponentRef<TCustomForm>> forms;
    for (TCustomForm* form : Screen().FormList())
        forms.emplace_back(form);
    for (auto& form : forms) {
        if (!form) continue;
        if (toChildren)
            SendToTree(form.Get(), msg, wparam, lparam);
        else
            form->Perform(msg, wparam, lparam);
    }
}

void TApplication::PostQuitMessage(int exitCode) {
    PostMessage(nullptr, WM_QUIT, exitCode, 0);
}

bool TApplication::FillQueue(bool wait) {
    while (queue_.empty()) {
        if (QueueDueTimers()) return true;
        platform::Backend* be = CurrentBackend();
        if (!be) return false;
        std::optional<std::int64_t> deadline = NextTimerDeadline();
        std::optional<platform::TEvent> event;
        if (wait) {
            PaintPending();
            if (!queue_.empty()) return true;
            Fire(OnIdle, this);
            if (!queue_.empty()) return true;
            std::int64_t before = be->NowMs();
            event = be->NextEvent(deadline);
            if (!event) {
                if (QueueDueTimers()) return true;
                // Nothing arrived and no deadline was reached. A backend that never
                // blocks (headless) can deliver nothing more; a real one was woken
                // and the loop looks again.
                if (be->NeverBlocks() && (!deadline || be->NowMs() == before)) {
                    starved_ = true;
                    return false;
                }
                continue;
            }
        } else {
            event = be->NextEvent(be->NowMs());
            if (!event) return QueueDueTimers();
        }
        Translate(*event);
    }
    return true;
}

bool TApplication::GetMessage(TMsg& msg) {
    while (true) {
        if (!FillQueue(true)) {
            msg = TMsg{};
            return false;
        }
        msg = std::move(queue_.front());
        queue_.pop_front();
        if (RunHooks(getHooks_, msg)) continue;
        return !(msg.Message.Msg == WM_QUIT && !msg.Target);
    }
}

bool TApplication::PeekMessage(TMsg& msg, bool remove) {
    while (true) {
        if (!FillQueue(false)) return false;
        if (!remove) {
            msg = queue_.front();
            return true;
        }
        msg = std::move(queue_.front());
        queue_.pop_front();
        if (RunHooks(getHooks_, msg)) continue;
        return true;
    }
}

void TApplication::DispatchMessage(TMsg& msg) {
    const bool mouse = msg.FromInput && IsMouseMessage(msg.Message.Msg);
    const bool input = mouse || IsKeyMessage(msg.Message.Msg);
    if (mouse) buttonsDown_ = msg.Input.Shift & (ssLeft | ssRight | ssMiddle);
    ++dispatchDepth_;
    struct TDepth {
        int& Depth;
        ~TDepth() { --Depth; }
    };
    {
        TDepth depth{dispatchDepth_};
        Deliver(msg);
    }
    // Only the outermost dispatch ends an event. A nested loop (a drag, a menu, a
    // message box) holds state of its own until it returns, also when it was
    // started outside any dispatch.
    if (input && dispatchDepth_ == 0 && nestedLoops_ == 0) EMR_VERIFY_INVARIANTS(*this);
}

void TApplication::Deliver(TMsg& msg) {
    try {
        if (msg.Call) {
            std::function<void()> call = std::move(msg.Call);
            call();
            return;
        }
        if (msg.TimerId) {
            auto it = timers_.find(msg.TimerId);
            if (it == timers_.end()) return;
            it->second.Queued = false;
            if (it->second.Callback) {
                std::function<void()> callback = it->second.Callback;
                callback();
                return;
            }
        }
        if (!msg.Target) return;
        if (!msg.TargetAlive()) return;
        TMouse& mouse = TMouse::Instance();
        if (msg.FromInput && IsMouseMessage(msg.Message.Msg)) {
            mouse.SetCursorPos(msg.ScreenPos);
            pointerWindow_ = msg.Window;
            TComponentRef<TControl> target(msg.Target);
            if (msg.Message.Msg == WM_MOUSEMOVE) {
                // Routing already found the control under the pointer unless the
                // capture chose the target.
                mouse.SetHotControl(msg.TargetUnderPointer ? msg.Target
                                                           : ControlAtScreen(msg.Window, msg.ScreenPos));
                Screen().UpdateCursor();
            }
            if (!target) return;
            // The one conversion to client coordinates, as the target stands now.
            msg.Input.Screen = msg.ScreenPos;
            msg.Input.Client = target->ScreenToClient(msg.ScreenPos);
            msg.Message.Mouse = &msg.Input;
        }
        if (msg.FromInput && msg.Message.Msg == WM_MOUSELEAVE) {
            TControl* hot = mouse.HotControl();
            if (hot && !mouse.CaptureControl() && hot->IsInside(msg.Target)) mouse.SetHotControl(nullptr);
            return;
        }
        msg.Message.Result = 0;
        msg.Target->WndProc(msg.Message);
    } catch (const std::exception& e) {
        HandleException(e);
    }
}

std::string TApplication::CheckInvariants() const {
    for (const TCustomForm* form : Screen().FormList()) {
        std::string broken = CheckTree(*form);
        if (!broken.empty()) return broken;
    }
    const TControl* capture = GetCaptureControl();
    if (capture && (buttonsDown_ & (ssLeft | ssRight | ssMiddle)) == 0) {
        const auto* checked = dynamic_cast<const ICheckedControl*>(capture);
        if (!checked || !checked->KeepsCaptureWithoutButtons())
            return Describe(*capture) + " keeps the mouse capture after every button was released";
    }
    return {};
}

void TApplication::HandleException(const std::exception& e) {
    if (!OnException) throw;
    OnException(e);
}

// ---- input --------------------------------------------------------------------

TControl* TApplication::ControlAtScreen(platform::WindowId window, TPoint screen) const {
    if (!window) return FindDragTarget(screen);
    TCustomForm* form = FormOfWindow(window);
    if (!form || !form->Visible() || !form->Enabled()) return nullptr;
    TPoint p = form->ScreenToClient(screen);
    if (!form->ClientRect().Contains(p)) return nullptr;
    TControl* hit = form->ControlAtPos(p, false, true);
    return hit ? hit : form;
}

void TApplication::Translate(const platform::TEvent& event) {
    using platform::TEventType;
    switch (event.Type) {
    case TEventType::MouseMove:
    case TEventType::MouseDown:
    case TEventType::MouseUp:
    case TEventType::MouseDoubleClick:
    case TEventType::MouseLeaveWindow:
        RouteMouse(event);
        return;
    case TEventType::KeyDown:
    case TEventType::KeyUp:
    case TEventType::Char:
        RouteKey(event);
        return;
    case TEventType::Expose:
        if (TCustomForm* form = FormOfWindow(event.Window)) form->WindowExposed(event.Rect);
        return;
    case TEventType::CloseRequest:
        if (TCustomForm* form = FormOfWindow(event.Window)) PostMessage(form, WM_CLOSE);
        return;
    case TEventType::SessionEnd:
        // A normal close: OnClose runs and layouts are saved. Without a main form
        // there is nothing to save, and the loop simply ends.
        sessionEnding_ = true;
        if (mainForm_)
            PostMessage(mainForm_, WM_CLOSE);
        else
            Terminate();
        return;
    case TEventType::Activate:
    case TEventType::Deactivate:
        if (TCustomForm* form = FormOfWindow(event.Window))
            PostMessage(form, WM_ACTIVATE, event.Type == TEventType::Activate ? 1 : 0);
        return;
    case TEventType::Configure:
        if (TCustomForm* form = FormOfWindow(event.Window)) form->WindowConfigured(event.Rect);
        return;
    case TEventType::Destroyed:
        if (TCustomForm* form = FormOfWindow(event.Window)) {
            form->NativeWindowLost();
            // A loop waiting for this window's input looks at its end condition again.
            PostMessage(form, WM_NULL);
        }
        return;
    case TEventType::ThemeChanged:
        // As the system does: every window, the stylers' notifier windows among
        // them, hears WM_THEMECHANGED; then everything is painted again in the
        // new colours (the forms the handlers left).
        BroadcastMessage(WM_THEMECHANGED, 0, 0, true);
        for (TCustomForm* form : Screen().FormList())
            form->Invalidate();
        return;
    case TEventType::ScaleChanged:
        if (TCustomForm* form = FormOfWindow(event.Window)) form->WindowScaleChanged(event.Rect);
        return;
    }
}

void TApplication::RouteMouse(const platform::TEvent& event) {
    using platform::TEventType;
    // The backend speaks device pixels; everything from here on is in DIPs.
    const TPoint device{event.ScreenX, event.ScreenY};
    const TCustomForm* window = FormOfWindow(event.Window);
    const TPoint screen =
        window ? window->DeviceToScreen(device) : TDeviceMapping::ForDevicePoint(device).ToDip(device);
    shift_ = (shift_ & (ssLeft | ssRight | ssMiddle)) | (event.Shift & (ssShift | ssCtrl | ssAlt));
    if (event.Type == TEventType::MouseDown || event.Type == TEventType::MouseDoubleClick) {
        shift_ |= ButtonFlag(event.Button);
        keyboardLast_ = false;
    }
    if (event.Type == TEventType::MouseUp) shift_ &= ~ButtonFlag(event.Button);
    TMsg msg;
    msg.FromInput = true;
    msg.ScreenPos = screen;
    msg.Window = event.Window;
    if (event.Type == TEventType::MouseLeaveWindow) {
        TCustomForm* form = FormOfWindow(event.Window);
        if (!form) return;
        msg.Target = form;
        msg.TargetLife = form->LifeToken();
        msg.Message = {WM_MOUSELEAVE, 0, 0, 0};
        Enqueue(std::move(msg));
        return;
    }
    TControl* target = GetCaptureControl();
    if (!target) {
        TCustomForm* form = FormOfWindow(event.Window);
        if (!form || !form->Enabled()) return;
        target = ControlAtScreen(event.Window, screen);
        if (!target) return;
        msg.TargetUnderPointer = true;
    }
    unsigned m = WM_MOUSEMOVE;
    if (event.Type == TEventType::MouseDown) m = ButtonMessage(event.Button, 0);
    if (event.Type == TEventType::MouseUp) m = ButtonMessage(event.Button, 1);
    const bool doubleClick = event.Type == TEventType::MouseDoubleClick;
    if (doubleClick) m = ButtonMessage(event.Button, (target->ControlStyle() & csDoubleClicks) ? 2 : 0);
    msg.Target = target;
    msg.TargetLife = target->LifeToken();
    msg.Message = {m, 0, 0, 0};
    msg.Input.Shift = shift_;
    msg.Input.ClickCount = doubleClick ? 2 : 1;
    Enqueue(std::move(msg));
}

void TApplication::RouteKey(const platform::TEvent& event) {
    using platform::TEventType;
    shift_ = (shift_ & (ssLeft | ssRight | ssMiddle)) | (event.Shift & (ssShift | ssCtrl | ssAlt));
    TCustomForm* form = FormOfWindow(event.Window);
    if (!form) form = Screen().ActiveForm();
    if (!form || !form->Enabled()) return;
    TControl* target = form->ActiveControl() ? static_cast<TControl*>(form->ActiveControl()) : form;
    bool alt = (event.Shift & ssAlt) != 0;
    auto post = [&](unsigned m, std::intptr_t w, std::intptr_t l) {
        TMsg msg;
        msg.Target = target;
        msg.TargetLife = target->LifeToken();
        msg.Window = event.Window;
        msg.Message = {m, w, l, 0};
        Enqueue(std::move(msg));
    };
    auto shift = static_cast<std::intptr_t>(event.Shift);
    switch (event.Type) {
    case TEventType::KeyDown: {
        bool menuKey = event.Key == platform::VK_MENU || event.Key == platform::VK_F10;
        // Shift+F10 asks for a context menu, Ctrl with either key for something
        // else again: neither is the menu key alone.
        altAlone_ = menuKey && (event.Shift & (ssShift | ssCtrl)) == 0;
        // Shift or Ctrl held for a click is not keyboard use.
        if (event.Key != platform::VK_SHIFT && event.Key != platform::VK_CONTROL) {
            keyboardLast_ = true;
            form->ShowKeyboardCues();
        }
        post(alt || menuKey ? WM_SYSKEYDOWN : WM_KEYDOWN, event.Key, shift);
        return;
    }
    case TEventType::KeyUp: {
        bool menuKey = event.Key == platform::VK_MENU || event.Key == platform::VK_F10;
        post(alt || menuKey ? WM_SYSKEYUP : WM_KEYUP, event.Key, shift);
        // Alt or F10 pressed and released alone opens the menu by keyboard.
        if (menuKey && altAlone_) {
            TMsg msg;
            msg.Target = form;
            msg.TargetLife = form->LifeToken();
            msg.Message = {WM_SYSCOMMAND, SC_KEYMENU, 0, 0};
            Enqueue(std::move(msg));
        }
        altAlone_ = false;
        return;
    }
    case TEventType::Char:
        altAlone_ = false;
        for (char32_t ch : DecodeUtf8(event.Text))
            post(alt ? WM_SYSCHAR : WM_CHAR, static_cast<std::intptr_t>(ch), shift);
        return;
    default:
        return;
    }
}

// ---- timers -------------------------------------------------------------------

namespace {

// Shorter intervals are raised to this, as Windows raises window timers to its
// USER_TIMER_MINIMUM. The toolbar's 1 ms timers ask to tick as often as the
// system allows; the button's leave timer takes the pointer position from the
// X server on every tick, a thousand round trips a second while the pointer
// rests on a button.
constexpr unsigned kMinimumTimerIntervalMs = 10;

} // namespace

void TApplication::SetTimer(TControl* target, std::uintptr_t id, unsigned intervalMs) {
    KillTimer(target, id);
    TTimer timer;
    timer.Id = nextTimerId_++;
    timer.Target = target;
    timer.TargetLife = target ? target->LifeToken() : std::weak_ptr<void>();
    timer.WindowTimerId = id;
    timer.Interval = std::max(intervalMs, kMinimumTimerIntervalMs);
    timer.Deadline = (CurrentBackend() ? CurrentBackend()->NowMs() : 0) + timer.Interval;
    timers_[timer.Id] = std::move(timer);
}

void TApplication::KillTimer(TControl* target, std::uintptr_t id) {
    std::erase_if(timers_, [&](const auto& entry) {
        return !entry.second.Callback && entry.second.Target == target && entry.second.WindowTimerId == id;
    });
}

TTimerId TApplication::StartTimer(unsigned intervalMs, std::function<void()> onTick) {
    TTimer timer;
    timer.Id = nextTimerId_++;
    timer.Interval = std::max(intervalMs, kMinimumTimerIntervalMs);
    timer.Deadline = (CurrentBackend() ? CurrentBackend()->NowMs() : 0) + timer.Interval;
    timer.Callback = std::move(onTick);
    TTimerId id = timer.Id;
    timers_[id] = std::move(timer);
    return id;
}

void TApplication::StopTimer(TTimerId id) {
    timers_.erase(id);
}

std::optional<std::int64_t> TApplication::NextTimerDeadline() const {
    std::optional<std::int64_t> next;
    for (const auto& [id, timer] : timers_)
        if (!timer.Queued && (!next || timer.Deadline < *next)) next = timer.Deadline;
    return next;
}

bool TApplication::QueueDueTimers() {
    platform::Backend* be = CurrentBackend();
    if (!be || timers_.empty()) return false;
    std::int64_t now = be->NowMs();
    std::vector<TTimer*> due;
    for (auto it = timers_.begin(); it != timers_.end();) {
        TTimer& t = it->second;
        if (!t.Callback && t.TargetLife.expired()) {
            it = timers_.erase(it);
            continue;
        }
        if (!t.Queued && t.Deadline <= now) due.push_back(&t);
        ++it;
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const TTimer* a, const TTimer* b) { return a->Deadline < b->Deadline; });
    for (TTimer* t : due) {
        t->Queued = true;
        t->Deadline = now + t->Interval;
        TMsg msg;
        msg.TimerId = t->Id;
        msg.Target = t->Target;
        msg.TargetLife = t->TargetLife;
        msg.Message = {WM_TIMER, static_cast<std::intptr_t>(t->WindowTimerId), 0, 0};
        Enqueue(std::move(msg));
    }
    return !due.empty();
}

// ---- painting and boxes ---------------------------------------------------------

void TApplication::PaintPending() {
    for (TCustomForm* form : std::vector<TCustomForm*>(Screen().FormList())) {
        const auto& forms = Screen().FormList();
        if (std::find(forms.begin(), forms.end(), form) == forms.end()) continue;
        if (form->HasState(csDestroying)) continue;
        if (form->Visible() && form->PaintPending()) form->PaintWindowNow();
    }
}

void TApplication::RepaintWhileWaiting() {
    platform::Backend* be = CurrentBackend();
    if (!be) return;
    while (std::optional<platform::TEvent> event = be->NextEvent(be->NowMs()))
        Translate(*event);
    PaintPending();
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return ShowMessageDialog(text, caption, flags);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
    if (operation == TOperation::opRemove && component == accessibleTree_) {
        if (platform::Backend* backend = CurrentBackend()) backend->SetAccessibleSource(nullptr);
        accessibleTree_ = nullptr;
    }
}

} // namespace emr
