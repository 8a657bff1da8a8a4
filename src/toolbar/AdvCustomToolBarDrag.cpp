// What a toolbar hands to its drag loop and floating window.

#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ToolBarDragLoop.h"
#include "toolbar/ToolBarOverflow.h"

namespace emr {

void TAdvCustomToolBar::BeginDrag(TPoint clientPoint) {
    // The pointer is the drag's while it lasts: the toolbar's own handlers leave it alone.
    auto alive = LifeToken();
    dragInProgress_ = true;
    TToolBarDragLoop::DragToolBar(this, clientPoint.X, clientPoint.Y);
    if (!alive.expired()) dragInProgress_ = false;
}

void TAdvCustomToolBar::RestoreOverflow() {
    if (lists_.Overflow.empty()) return;
    overflow_->RevealAll();
    ArrangeControls(false);
}

} // namespace emr
