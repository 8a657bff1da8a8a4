#pragma once

#include "framework/controls/WinControl.h"

namespace emr {

/// A hidden, zero-size child window whose only job is to hear WM_THEMECHANGED
/// and report it through OnThemeChange.
class TNotifierWindow : public TWinControl {
    EMR_CLASS(TNotifierWindow)
public:
    explicit TNotifierWindow(TComponent* owner);

    void WndProc(TMessage& message) override;

    TNotifyEvent OnThemeChange;
};

} // namespace emr
