// What a toolbar hands to its drag loop and floating window.

#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ToolBarDragLoop.h"
#include "toolbar/ToolBarListHelpers.h"

namespace emr {

using namespace toolbar_detail;

void TAdvCustomToolBar::BeginDrag(TPoint clientPoint) {
    TToolBarDragLoop::DragToolBar(this, clientPoint.X, clientPoint.Y);
}

void TAdvCustomToolBar::RestoreOverflow() {
    if (overflowList_.empty()) return;
    {
        // Controls shown in the option window come home without being re-listed.
        TFlagGuard guard(reparenting_, true);
        for (TControl* c : overflowList_)
            if (c->Parent() != this) c->SetParent(this);
    }
    overflowList_.clear();
    ArrangeControls(false);
}

} // namespace emr
