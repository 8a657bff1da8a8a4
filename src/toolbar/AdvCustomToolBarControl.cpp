#include "toolbar/AdvCustomToolBarControl.h"

#include "framework/core/Exception.h"
#include "toolbar/AdvCustomToolBar.h"

namespace emr {

TAdvCustomToolBarControl::TAdvCustomToolBarControl(TComponent* owner) : TGraphicControl(owner) {}

void TAdvCustomToolBarControl::AttachToToolBar(TAdvCustomToolBar* toolBar) {
    if (toolBar == toolBar_) return;
    if (toolBar_) toolBar_->UnregisterControl(this);
    SetParent(toolBar);
    if (toolBar) toolBar->RegisterControl(this);
    if (toolBar && !toolBar_) throw Exception("AdvToolBar not set");
}

void TAdvCustomToolBarControl::SetPosition(TDockAlign value) {
    if (position_ == value) return;
    position_ = value;
    PositionChanged();
}

void TAdvCustomToolBarControl::SetAutoSize(bool value) {
    if (autoSize_ == value) return;
    autoSize_ = value;
    if (value) UpdateControlSize();
}

void TAdvCustomToolBarControl::SetBounds(int left, int top, int width, int height) {
    TRect old = BoundsRect();
    TGraphicControl::SetBounds(left, top, width, height);
    if (toolBar_ && Parent() == toolBar_ && BoundsRect() != old) toolBar_->ControlBoundsChanged(this);
}

void TAdvCustomToolBarControl::SetParentComponent(TComponent* parent) {
    if (auto* toolBar = dynamic_cast<TAdvCustomToolBar*>(parent)) {
        AttachToToolBar(toolBar);
        return;
    }
    TGraphicControl::SetParentComponent(parent);
}

} // namespace emr
