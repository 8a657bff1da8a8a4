#pragma once

#include "framework/core/Component.h"
#include "framework/forms/Form.h"
#include "framework/graphics/Color.h"
#include "toolbar/ToolBarDockSite.h"

namespace emr {

class TAdvCustomToolBar;

/// The borderless, top-most window a floating toolbar lives in. It keeps a frame
/// of BorderWidth + 1 pixels around the toolbar, follows its owner form's
/// visibility, and lets its borders be dragged to wrap the toolbar into more or
/// fewer rows.
///
/// Border drag, per edge (d = pointer travel since the last step, towards larger
/// coordinates when positive; a step is taken when the travel passes 5 pixels from
/// rest, or 3 more in the direction of the last step):
///
/// | edge   | outward step | inward step | last step 1 (from the outward rule) | last step 2 |
/// |--------|--------------|-------------|-------------------------------------|-------------|
/// | left   | rows - 1     | rows + 1    | back past the next width: rows + 1  | rows - 1    |
/// | top    | rows + 1     | rows - 1    | back past the next height: rows - 1 | rows + 1    |
/// | right  | rows - 1     | rows + 1    | back past the next width: rows + 1  | rows - 1    |
/// | bottom | rows + 1     | rows - 1    | back past the next height: rows - 1 | rows + 1    |
///
/// The left and top edges keep the window's opposite edge in place.
class TFloatingWindow : public TCustomForm, public TToolBarFloatingSite {
    EMR_CLASS(TFloatingWindow)
public:
    static constexpr int DefaultBorderWidth = 2;
    /// The colour a new window's border gets, and the one a stored layout leaves out.
    static constexpr TColor InitialBorderColor = 0x6D6D6D;
    /// Identifier and interval of the timer by which the window follows its owner form.
    static constexpr std::uintptr_t FollowTimerId = 500;
    static constexpr unsigned FollowIntervalMs = 40;

    explicit TFloatingWindow(TComponent* owner);
    void BeforeDestruction() override;

    /// Puts a docked or standalone toolbar into a new floating window at screen
    /// point (x, y), or under the pointer without usePoint. Returns the window, or
    /// null when the toolbar floats already.
    static TFloatingWindow* FloatToolBar(TAdvCustomToolBar* toolBar, int x, int y, bool usePoint);
    /// The form whose visibility a floating toolbar follows: the one holding its
    /// last dock panel, else the one holding the toolbar, else its owner form.
    static TCustomForm* OwnerFormOf(const TAdvCustomToolBar* toolBar);
    /// The window a toolbar floats in, or null.
    static TFloatingWindow* Of(const TAdvCustomToolBar* toolBar);

    TAdvCustomToolBar* AdvCustomToolBar() const { return toolBar_.Get(); }
    void SetAdvCustomToolBar(TAdvCustomToolBar* value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor value);

    /// Starts following `owner`: the window hides while it is hidden and shows
    /// again after; a window whose owner is hidden now waits for it to show.
    void StartFollowing(TCustomForm* owner);
    TCustomForm* OwnerForm() const { return ownerForm_.Get(); }
    TCustomForm* PaneOwner() const override { return OwnerForm(); }
    bool ShowPending() const { return showPending_; }
    /// Hides the window and drops a show that waits for the owner form, as its
    /// close button does: for a toolbar that is to stay hidden.
    void Withdraw();
    bool Following() const { return following_; }
    bool Resizing() const { return resizing_; }

    // TToolBarFloatingSite.
    void FitToToolBar() override;
    bool WindowShowing() const override { return Visible(); }
    void HideWindow() override { Hide(); }
    void StopFollowing() override;
    void Release() override;

    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void ControlChange(TControl* control, bool inserting) override;

private:
    void FollowTick();
    void UpdateBorderCursor(int x, int y);
    void ResizeStep(int x, int y);
    /// Sets the toolbar's row count; false when the toolbar refuses it. With
    /// keepFarEdge the window's right edge (left border) or bottom edge (top
    /// border) stays where it was.
    bool ChangeRows(int rows, bool keepFarEdge);

    TComponentRef<TAdvCustomToolBar> toolBar_;
    int borderWidth_ = DefaultBorderWidth;
    TColor borderColor_ = InitialBorderColor;

    TComponentRef<TCustomForm> ownerForm_;
    bool following_ = false;
    bool showPending_ = false;

    bool resizing_ = false;
    /// The border being dragged: 0 left, 1 top, 2 right, 3 bottom.
    int edge_ = 0;
    int startX_ = 0;
    int startY_ = 0;
    int lastStep_ = 0;
    TCursor savedCursor_ = crDefault;
};

/// Registers TFloatingWindow and its published properties.
void RegisterFloatingWindowClass();

} // namespace emr
