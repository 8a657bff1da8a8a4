#pragma once

#include <functional>

#include "framework/controls/Control.h"
#include "framework/core/Component.h"

namespace emr {

/// Process-wide pointer state: the capture, the control under the pointer (hot
/// tracking) and the last known pointer position. Enter and leave notifications
/// are delivered once per crossing, also when the hot control hides, leaves its
/// parent or is destroyed under the pointer.
class TMouse {
public:
    static TMouse& Instance();

    /// The control that gets every pointer message, wherever the pointer is (or null).
    TControl* CaptureControl() const { return capture_.Get(); }
    /// Takes the capture for `control` (null releases it). The control that loses the
    /// capture receives WM_CAPTURECHANGED with LParam = the new holder.
    void SetCaptureControl(TControl* control);
    void ReleaseCapture() { SetCaptureControl(nullptr); }
    /// Re-grabs the native pointer for the capture's current top-level window (after a re-parent).
    void RefreshGrab();

    /// The control the pointer is over (the one that last received CM_MOUSEENTER), or null.
    TControl* HotControl() const { return hot_.Get(); }
    /// Last pointer position in screen coordinates.
    TPoint CursorPos() const { return cursorPos_; }
    void SetCursorPos(TPoint p) {
        cursorPos_ = p;
        cursorKnown_ = true;
    }
    /// Makes `control` the hot control, sending leave to the old one and enter to the new.
    void SetHotControl(TControl* control);

    /// Called after a control hid, was disabled, left its parent or (destroying)
    /// is being destroyed: when the hot control lies inside it, the hot control
    /// gets its leave (not when destroying) and the control now under the
    /// pointer its enter.
    void ControlChanged(TControl* control, bool destroying);
    /// Finds the control under a screen point; the application installs it.
    std::function<TControl*(TPoint screen)> FindControlAt;
    /// Re-evaluates the hot control at the last pointer position.
    void Recheck();
    /// Forgets everything (tests, and the application's end).
    void Reset();

private:
    TComponentRef<TControl> capture_;
    TComponentRef<TControl> hot_;
    TPoint cursorPos_;
    bool cursorKnown_ = false;
    int hotChanges_ = 0;
};

inline TControl* GetCaptureControl() {
    return TMouse::Instance().CaptureControl();
}
inline void SetCaptureControl(TControl* control) {
    TMouse::Instance().SetCaptureControl(control);
}
inline void ReleaseCapture() {
    TMouse::Instance().ReleaseCapture();
}

} // namespace emr
