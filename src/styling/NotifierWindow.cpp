#include "styling/NotifierWindow.h"

#include "framework/controls/Messages.h"

namespace emr {

TNotifierWindow::TNotifierWindow(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 0, 0);
}

void TNotifierWindow::WndProc(TMessage& message) {
    if (message.Msg == WM_THEMECHANGED && OnThemeChange) {
        // The handler may free this window (and itself with it): call a copy.
        std::weak_ptr<void> alive = LifeToken();
        TNotifyEvent handler = OnThemeChange;
        handler(this);
        if (alive.expired()) return;
    }
    TWinControl::WndProc(message);
}

} // namespace emr
