#pragma once

#include <string>

#include "framework/controls/CustomControl.h"
#include "framework/forms/Form.h"

namespace emr {

/// A document window of a multiple-document form (FormStyle fsMDIForm): it lives
/// in the client area of its parent control, which the framework draws, with a
/// caption bar of its own holding minimize, maximize (restore) and close buttons.
/// Maximized it fills its parent and drops its frame; minimized it shrinks to a
/// caption bar at the bottom-left. The child brought to the front last is active.
class TMDIChild : public TCustomControl {
    EMR_CLASS(TMDIChild)
public:
    static constexpr int FrameWidth = 3;
    static constexpr int CaptionHeight = 18;
    static constexpr int MinimizedWidth = 160;

    explicit TMDIChild(TComponent* owner);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TWindowState WindowState() const { return windowState_; }
    /// Maximizing fills the parent; restoring goes back to the bounds it had.
    void SetWindowState(TWindowState value);
    /// Closes the child: OnClose may refuse; it is freed once its handlers are done.
    void Close();
    /// Brings the child to the front of its siblings, which makes it active.
    void Activate();

    /// The caption-bar buttons, in client coordinates (empty when not shown).
    TRect CloseButtonRect() const;
    TRect MaximizeButtonRect() const;
    TRect MinimizeButtonRect() const;

    /// Fired before closing; set the flag false to keep the child.
    std::function<void(TObject* sender, bool& allow)> OnClose;

    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void WndProc(TMessage& message) override;

private:
    void StateChanged();
    void FitParent();

    std::string caption_;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TWindowState windowState_ = wsNormal;
    TRect restored_;
    bool placing_ = false;
};

/// The active document window of an fsMDIForm `form` (the front-most visible
/// TMDIChild anywhere in it), or null.
TMDIChild* ActiveMDIChildOf(const TCustomForm* form);

} // namespace emr
