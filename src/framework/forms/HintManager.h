#pragma once

#include <cstdint>

#include "framework/core/Component.h"
#include "framework/core/Geometry.h"

namespace emr {

class TApplication;
class TControl;
class THintWindow;
struct TMsg;

/// Shows the hint of the control under the pointer after the pointer rested on
/// it for HintPause, and hides it after HintHidePause, when the pointer leaves
/// the control, or on any press or key. Moving straight to another control with
/// a hint while one is shown switches after HintShortPause. It watches the
/// messages every loop takes from the queue, so it needs nothing from the controls.
///
///   idle    --move onto a control with a hint------------> waiting (HintPause)
///   waiting --timer-------------------------------------> shown (CM_HINTSHOW may veto)
///   waiting --move to another control / press / key------> idle (or waiting again)
///   shown   --move to another hinted control--------------> waiting (HintShortPause)
///   shown   --leave / press / key / HintHidePause---------> idle
///
/// After a press, the pressed control shows no hint until the pointer leaves it.
class THintManager {
public:
    static THintManager& Instance();

    /// Starts watching `app`'s messages (again after Uninstall).
    void Install(TApplication* app);
    void Uninstall();
    bool Installed() const { return app_ != nullptr; }
    bool InstalledOn(const TApplication* app) const { return app && app_ == app; }

    int HintPause() const { return hintPause_; }
    void SetHintPause(int ms) { hintPause_ = ms; }
    int HintShortPause() const { return hintShortPause_; }
    void SetHintShortPause(int ms) { hintShortPause_ = ms; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int ms) { hintHidePause_ = ms; }

    /// The hint window while a hint is shown, else null.
    THintWindow* ShownWindow() const;
    /// The control whose hint is pending or shown.
    TControl* HintControl() const { return control_.Get(); }
    /// Hides any hint and forgets the pending one.
    void CancelHint();

private:
    THintManager() = default;
    bool Watch(TMsg& msg);
    void PointerAt(TControl* control, TPoint screen);
    void StartTimer(int ms, bool hiding);
    void StopTimer();
    void TimerFired();
    void ShowHintNow();

    TApplication* app_ = nullptr;
    std::uint64_t hook_ = 0;
    std::uint64_t timer_ = 0;
    bool hidingTimer_ = false;
    TComponentRef<TControl> control_;
    TComponentRef<TControl> pressed_;
    TComponentRef<THintWindow> window_;
    TPoint cursor_;
    bool shown_ = false;
    int hintPause_ = 500;
    int hintShortPause_ = 50;
    int hintHidePause_ = 2500;
};

} // namespace emr
