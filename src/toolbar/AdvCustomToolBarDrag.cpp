// What a toolbar hands to its drag loop and floating window.

#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ToolBarDragLoop.h"
#include "toolbar/ToolBarOverflow.h"

namespace emr {

void TAdvCustomToolBar::BeginDrag(TPoint clientPoint) {
    TToolBarDragLoop::DragToolBar(this, clientPoint.X, clientPoint.Y);
}

void TAdvCustomToolBar::RestoreOverflow() {
    if (lists_.Overflow.empty()) return;
    overflow_->RevealAll();
    ArrangeControls(false);
}

} // namespace emr
