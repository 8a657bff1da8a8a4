#include "framework/controls/Mouse.h"

#include "framework/controls/WinControl.h"
#include "framework/platform/Backend.h"

namespace emr {

TMouse& TMouse::Instance() {
    static TMouse mouse;
    return mouse;
}

namespace {

platform::WindowId WindowOf(const TControl* control) {
    TWinControl* top = control ? control->TopLevel() : nullptr;
    return top ? top->NativeWindow() : 0;
}

} // namespace

void TMouse::SetCaptureControl(TControl* control) {
    TControl* old = capture_.Get();
    if (old == control) return;
    capture_.Reset(control);
    if (platform::Backend::Installed()) {
        platform::WindowId window = WindowOf(control);
        if (window)
            platform::Backend::Current().GrabPointer(window);
        else
            platform::Backend::Current().UngrabPointer();
    }
    if (old) old->Perform(WM_CAPTURECHANGED, 0, reinterpret_cast<std::intptr_t>(control));
}

void TMouse::RefreshGrab() {
    TControl* control = capture_.Get();
    if (!control || !platform::Backend::Installed()) return;
    if (platform::WindowId window = WindowOf(control)) platform::Backend::Current().GrabPointer(window);
}

void TMouse::SetHotControl(TControl* control) {
    TControl* old = hot_.Get();
    if (old == control) return;
    int change = ++hotChanges_;
    hot_.Reset(control);
    TComponentRef<TControl> next(control);
    if (old && !old->HasState(csDestroying)) {
        old->SetMouseInClient(false);
        old->Perform(CM_MOUSELEAVE);
        // The leave handler may have moved the pointer's target on already.
        if (change != hotChanges_) return;
    }
    control = next.Get();
    if (!control) {
        hot_.Reset();
        return;
    }
    control->SetMouseInClient(true);
    control->Perform(CM_MOUSEENTER);
}

void TMouse::ControlChanged(TControl* control, bool destroying) {
    TControl* hot = hot_.Get();
    if (!hot || !hot->IsInside(control)) {
        // A control that appeared under a still pointer is entered at once.
        if (!destroying) Recheck();
        return;
    }
    if (destroying) {
        ++hotChanges_;
        hot->SetMouseInClient(false);
        hot_.Reset();
        Recheck();
        return;
    }
    Recheck();
}

void TMouse::Recheck() {
    if (!cursorKnown_ || !FindControlAt) return;
    TControl* under = FindControlAt(cursorPos_);
    if (under && under->HasState(csDestroying)) under = nullptr;
    SetHotControl(under);
}

void TMouse::Reset() {
    capture_.Reset();
    hot_.Reset();
    cursorKnown_ = false;
    FindControlAt = nullptr;
}

} // namespace emr
