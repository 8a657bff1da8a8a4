#include "framework/forms/ContextMenu.h"

#include "framework/controls/WinControl.h"
#include "framework/forms/Application.h"
#include "framework/forms/PopupMenu.h"

namespace emr {

namespace {

struct TWatch {
    TApplication* App = nullptr;
    THookId Hook = 0;
};

TWatch& Watch() {
    static TWatch watch;
    return watch;
}

bool OnMessage(TMsg& msg) {
    if (msg.Message.Msg != WM_RBUTTONUP || !msg.Target || !msg.TargetAlive()) return false;
    TControl* owner = msg.Target;
    while (owner && !(owner->PopupMenu() && owner->PopupMenu()->AutoPopup()))
        owner = owner->Parent();
    if (!owner) return false;
    TComponentRef<TControl> control(owner);
    TComponentRef<TPopupMenu> menu(owner->PopupMenu());
    const TPoint at = msg.ScreenPos;
    Watch().App->DispatchMessage(msg);
    if (control && menu) {
        menu->SetPopupComponent(control.Get());
        menu->Popup(at.X, at.Y);
    }
    return true;
}

} // namespace

void InstallContextMenus(TApplication* app) {
    UninstallContextMenus();
    if (!app) return;
    Watch().App = app;
    Watch().Hook = app->AddGetMessageHook(&OnMessage);
}

void UninstallContextMenus() {
    TWatch& w = Watch();
    if (w.App) w.App->RemoveGetMessageHook(w.Hook);
    w = TWatch{};
}

} // namespace emr
