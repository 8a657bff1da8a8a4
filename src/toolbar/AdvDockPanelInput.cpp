// Pointer input on the dock panel's own surface (between and beside its toolbars).

#include "toolbar/AdvDockPanel.h"
#include "toolbar/ToolBarContextMenu.h"

namespace emr {

void TAdvDockPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomControl::MouseUp(button, shift, x, y);
    if (alive.expired() || button != mbRight) return;
    TToolBarContextMenu::Open(this, ClientToScreen({x, y}));
}

} // namespace emr
