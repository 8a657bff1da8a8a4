#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/controls/Control.h"
#include "framework/controls/Messages.h"
#include "framework/core/Component.h"
#include "framework/platform/Backend.h"

namespace emr {

class TCustomForm;
class TAccessibleTree;

/// A queued message: a window message for a control (or for the application
/// when Target is null), with the pointer's screen position when it was made.
struct TMsg {
    TControl* Target = nullptr;
    std::weak_ptr<void> TargetLife;
    TMessage Message;
    TPoint ScreenPos;
    /// The native window an input message came from (0 for posted messages).
    platform::WindowId Window = 0;
    /// True for messages made from backend input: Input carries a mouse message's
    /// shift state and click count, and its client position is worked out from
    /// ScreenPos once, when it is dispatched.
    bool FromInput = false;
    TMouseInput Input;
    /// The target was found under the pointer (not given by the capture).
    bool TargetUnderPointer = false;
    std::int64_t Time = 0;
    /// Timer callbacks run by DispatchMessage (WM_TIMER for a callback timer).
    std::uint64_t TimerId = 0;
    /// A call posted with PostCall, run in place of a message.
    std::function<void()> Call;
    /// True when the target is still alive (always true for application messages).
    bool TargetAlive() const { return Target == nullptr || !TargetLife.expired(); }
};

/// Sees a message before it is dispatched; returns true to eat it.
using TMessageHook = std::function<bool(TMsg& msg)>;
using THookId = std::uint64_t;
using TTimerId = std::uint64_t;

/// Creates a form's components from its stored layout text.
using TFormLayoutLoader = std::function<void(TComponent* root, std::string_view layout)>;

/// The application: the message queue, the message loop and its nested loops,
/// timers, and the forms' common owner. One instance, `Application`, exists
/// while the program runs.
///
/// The queue holds posted messages and messages made from backend events (input
/// is routed to the control under the pointer, or to the capture). When the
/// queue is empty the loop paints what was invalidated and then asks the backend
/// for the next event, waiting no longer than the next timer's deadline.
class TApplication : public TComponent {
    EMR_CLASS(TApplication)
public:
    explicit TApplication(TComponent* owner = nullptr);
    ~TApplication() override;
    void BeforeDestruction() override;

    /// Readies the application to run: the backend pumps through it, and hints
    /// show (THintManager) with their default pauses.
    void Initialize();
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& value) { title_ = value; }

    /// Creates a form of class T owned by the application: constructs it, reads its
    /// stored layout when one is registered for its class, then fires OnCreate.
    /// The first form created becomes MainForm.
    template <class T> void CreateForm(T*& ref) {
        ref = NewForm<T>(this);
        if (!mainForm_) SetMainForm(ref);
    }
    /// Like CreateForm without touching MainForm.
    template <class T> T* NewForm(TComponent* owner) {
        T* form = new T(owner);
        InitializeForm(form);
        return form;
    }
    /// Registers the stored layout of a form class, read by CreateForm.
    void RegisterLayout(std::string_view className, std::string layout);
    /// Replaces the stored-layout reader (the framework's own reader by default).
    void SetLayoutLoader(TFormLayoutLoader loader) { layoutLoader_ = std::move(loader); }
    /// Loads the registered layout (if any) into a newly constructed form and fires OnCreate.
    void InitializeForm(TCustomForm* form);

    TCustomForm* MainForm() const { return mainForm_; }
    void SetMainForm(TCustomForm* form);

    /// Shows the main form and runs the message loop until a quit request
    /// (Terminate, or closing the main form). On the headless backend it also
    /// returns once nothing more can arrive (no input queued, no timer it may reach).
    void Run();
    /// Posts the quit request; Run ends when it reaches the main loop.
    void Terminate();
    bool Terminated() const { return terminated_; }
    /// The session is ending: the layouts saved now are the program's last.
    bool SessionEnding() const { return sessionEnding_; }
    int ExitCode() const { return exitCode_; }
    /// Handles everything pending without waiting.
    void ProcessMessages();
    /// Waits for one message and handles it.
    void HandleMessage();

    // The queue.
    /// Posts a message for `target`; dropped if the target is destroyed first.
    void PostMessage(TControl* target, unsigned msg, std::intptr_t wparam = 0, std::intptr_t lparam = 0);
    /// Calls the target's handler at once and returns its Result.
    std::intptr_t SendMessage(TControl* target, unsigned msg, std::intptr_t wparam = 0,
                              std::intptr_t lparam = 0);
    void PostQuitMessage(int exitCode = 0);
    /// Runs `call` from the loop once the messages queued before it were handled
    /// (work a caller outside the loop asks for, such as assistive technology).
    void PostCall(std::function<void()> call);
    /// Sends a message to every form and, with toChildren, to every windowed
    /// control inside them (as the system does with WM_THEMECHANGED); top-level
    /// windows only otherwise (WM_SETTINGCHANGE).
    void BroadcastMessage(unsigned msg, std::intptr_t wparam, std::intptr_t lparam, bool toChildren);
    /// Takes the next message, waiting for one. Returns false for WM_QUIT (msg holds
    /// it) and when nothing can arrive any more (msg.Message.Msg is then WM_NULL).
    bool GetMessage(TMsg& msg);
    /// Takes (or only looks at) the next message without waiting.
    bool PeekMessage(TMsg& msg, bool remove = true);
    /// Delivers a message to its target (mouse messages also update hot tracking).
    void DispatchMessage(TMsg& msg);
    /// Queues input as if the backend had delivered it (a synthesized click or key):
    /// it is routed by the capture and the pointer as they stand now.
    void InjectInput(const platform::TEvent& event) { Translate(event); }

    /// A nested loop: handles messages until `done` returns true (checked before each
    /// message), a quit request arrives (re-posted; returns false) or nothing can
    /// arrive any more (returns false). Message filters see every message first.
    bool RunNestedLoop(const std::function<bool()>& done);
    /// The same loop for its owner's own handling: `own` sees each message after the
    /// message filters and before dispatch, and eats it by returning true. A modal
    /// menu runs this way so that filters installed around it see its keys first.
    bool RunNestedLoop(const std::function<bool()>& done, const TMessageHook& own);
    /// Message filters run on messages of nested loops before dispatch.
    THookId AddMessageFilter(TMessageHook hook);
    void RemoveMessageFilter(THookId id);
    /// Get-message hooks see every message any loop takes from the queue.
    THookId AddGetMessageHook(TMessageHook hook);
    void RemoveGetMessageHook(THookId id);
    /// How many nested loops are running.
    int LoopDepth() const { return loopDepth_; }

    // Timers.
    /// A window timer: `target` receives WM_TIMER with WParam = id every interval
    /// milliseconds until KillTimer. Setting an existing id restarts it.
    void SetTimer(TControl* target, std::uintptr_t id, unsigned intervalMs);
    void KillTimer(TControl* target, std::uintptr_t id);
    /// A callback timer; returns its id.
    TTimerId StartTimer(unsigned intervalMs, std::function<void()> onTick);
    void StopTimer(TTimerId id);
    /// The next timer deadline, if any timer runs.
    std::optional<std::int64_t> NextTimerDeadline() const;
    /// Handles everything pending now and returns the next timer deadline (the
    /// pump of a backend with a virtual clock).
    std::optional<std::int64_t> PumpPending();

    /// Paints every form with pending invalid areas and presents them.
    void PaintPending();
    /// Paints what needs painting while the program waits for something outside
    /// it (a folder locked by another program): the window system's events are
    /// taken in and kept for later, so nothing runs but painting.
    void RepaintWhileWaiting();

    /// Shows a modal message box (ShowMessageDialog); returns the button pressed.
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

    /// The keyboard state of the last input event.
    TShiftState ShiftState() const { return shift_; }
    /// True when the latest key or button press came from the keyboard (a window
    /// opened by it shows keyboard cues from the start).
    bool KeyboardInputLast() const { return keyboardLast_; }
    /// The tree assistive technology reads; made by Initialize.
    TAccessibleTree* AccessibleTree() const { return accessibleTree_; }
    /// What is wrong, or empty when all holds: no control keeps the mouse capture
    /// once every button is released (unless it says it keeps it on purpose), and
    /// every checked control of every form holds its invariants. Asserted after
    /// each input event that the outermost loop dispatches.
    std::string CheckInvariants() const;
    /// The form whose native window is `window`, or null.
    TCustomForm* FormOfWindow(platform::WindowId window) const;

    TNotifyEvent OnIdle;
    /// Fired with the exception's message when a handler throws out of dispatch.
    std::function<void(const std::exception& e)> OnException;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    struct TTimer {
        TTimerId Id = 0;
        TControl* Target = nullptr;
        std::weak_ptr<void> TargetLife;
        std::uintptr_t WindowTimerId = 0;
        unsigned Interval = 0;
        std::int64_t Deadline = 0;
        std::function<void()> Callback;
        bool Queued = false;
    };

    bool FillQueue(bool wait);
    void Translate(const platform::TEvent& event);
    TControl* ControlAtScreen(platform::WindowId window, TPoint screen) const;
    void RouteMouse(const platform::TEvent& event);
    void RouteKey(const platform::TEvent& event);
    bool QueueDueTimers();
    bool RunHooks(std::vector<std::pair<THookId, TMessageHook>>& hooks, TMsg& msg);
    void HandleException(const std::exception& e);
    void Deliver(TMsg& msg);
    void Enqueue(TMsg msg);

    std::deque<TMsg> queue_;
    std::map<TTimerId, TTimer> timers_;
    TTimerId nextTimerId_ = 1;
    std::vector<std::pair<THookId, TMessageHook>> filters_;
    std::vector<std::pair<THookId, TMessageHook>> getHooks_;
    THookId nextHookId_ = 1;
    std::map<std::string, std::string, std::less<>> layouts_;
    TFormLayoutLoader layoutLoader_;
    TCustomForm* mainForm_ = nullptr;
    std::string title_;
    bool terminated_ = false;
    /// The session is ending (a SessionEnd event came): the forms may not live to be destroyed.
    bool sessionEnding_ = false;
    int exitCode_ = 0;
    int loopDepth_ = 0;
    bool starved_ = false;
    TShiftState shift_ = 0;
    /// The mouse buttons held as the mouse messages dispatched so far say (shift_
    /// runs ahead of dispatch by the queued input).
    TShiftState buttonsDown_ = 0;
    int dispatchDepth_ = 0;
    int nestedLoops_ = 0;
    bool altAlone_ = false;
    bool keyboardLast_ = false;
    platform::WindowId pointerWindow_ = 0;
    TAccessibleTree* accessibleTree_ = nullptr;
};

/// The running application (null before one is created).
extern TApplication* Application;

/// Creates the global Application when none exists.
TApplication* EnsureApplication();

} // namespace emr
