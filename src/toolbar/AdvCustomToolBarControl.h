#pragma once

#include "framework/controls/GraphicControl.h"
#include "toolbar/ToolBarTypes.h"

namespace emr {

class TAdvCustomToolBar;

/// A windowless control that a toolbar lays out itself: buttons and separators.
/// The toolbar sets its Position and asks it to size itself.
class TAdvCustomToolBarControl : public TGraphicControl {
    EMR_CLASS(TAdvCustomToolBarControl)
public:
    explicit TAdvCustomToolBarControl(TComponent* owner);

    /// The toolbar that registered the control (not owned), or null.
    TAdvCustomToolBar* ToolBar() const { return toolBar_; }
    /// Moves the control onto `toolBar` and registers it there; fails with
    /// "AdvToolBar not set" when the toolbar does not take it.
    virtual void AttachToToolBar(TAdvCustomToolBar* toolBar);

    TDockAlign Position() const { return position_; }
    void SetPosition(TDockAlign value);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

    /// Whether the control turns its content on vertical toolbars.
    virtual bool CanRotateContent() const { return true; }
    /// Laid out along Y with its caption written downward.
    bool Rotated() const { return IsVertical(position_) && CanRotateContent(); }

    /// Recomputes the control's size from its content (only with a parent and AutoSize).
    virtual void UpdateControlSize() {}

    void SetParentComponent(TComponent* parent) override;
    /// Also tells the toolbar, which re-lays out its controls after a child's bounds change.
    void SetBounds(int left, int top, int width, int height) override;

protected:
    friend class TAdvCustomToolBar;
    /// Set by the toolbar when it registers or forgets the control.
    void SetToolBarLink(TAdvCustomToolBar* toolBar) { toolBar_ = toolBar; }
    /// Stores the position without re-running the size computation (the toolbar re-lays out afterwards).
    virtual void PositionChanged() {
        UpdateControlSize();
        Invalidate();
    }
    bool Loading() const { return HasState(csLoading); }
    bool Designing() const { return HasState(csDesigning); }

private:
    TAdvCustomToolBar* toolBar_ = nullptr;
    TDockAlign position_ = TDockAlign::daTop;
    bool autoSize_ = false;
};

} // namespace emr
