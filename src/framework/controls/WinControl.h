#pragma once

#include <cstdint>
#include <vector>

#include "framework/controls/Control.h"

namespace emr {

using TKeyEvent = std::function<void(TObject* sender, int& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;

/// A framework-owned window handle: a stable id that never changes while the
/// control lives, whichever top-level window it is shown in.
using THandle = std::uint64_t;

/// A windowed control: holds child controls in z-order, runs the align pass over
/// them, takes the keyboard focus and receives keys.
class TWinControl : public TControl {
    EMR_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    void BeforeDestruction() override;

    TWinControl* AsWinControl() override { return this; }
    using TControl::AsWinControl;

    /// The control's stable id.
    THandle Handle() const { return handle_; }
    bool HandleAllocated() const { return true; }
    /// The living windowed control with that handle, or null.
    static TWinControl* FindControl(THandle handle);

    // Children, bottom of the z-order first.
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }
    const std::vector<TControl*>& ControlList() const { return controls_; }
    /// Windowed children only, in z-order.
    int WinControlCount() const;
    bool ContainsControl(const TControl* control) const {
        return control && control != this && control->IsInside(this);
    }
    /// Adds / removes a child; SetParent calls these.
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    /// Moves a child to the top / bottom of the z-order.
    void BringToFront(TControl* control);
    void SendToBack(TControl* control);
    /// The index of a child in the z-order, or -1.
    int IndexOfControl(const TControl* control) const;

    /// The visible (and, unless allowDisabled, enabled) child at a client
    /// position, topmost first; with allLevels the deepest one. Null when none.
    TControl* ControlAtPos(TPoint p, bool allowDisabled = false, bool allLevels = false) const;

    // Align pass.
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    bool AlignDisabled() const { return alignDisabled_ > 0; }
    /// Runs the align pass now (unless disabled, loading or destroying).
    void Realign();
    /// Tells the control that `control` changed bounds or visibility; runs the align pass.
    void AlignControl(TControl* control);

    /// Sends `message` to every child until one answers with a non-zero Result.
    void Broadcast(TMessage& message);

    // Focus and keys.
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    /// The next focusable control after `current` in tab order inside this one.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const;
    /// Moves the focus to the next control in tab order.
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    /// The children that a paint pass visits, in z-order: windowless ones below windowed ones.
    std::vector<TControl*> PaintOrder() const;

    // Top-level window services; a form overrides them.
    /// Adds a rectangle (client coordinates) to the window's invalid area.
    virtual void InvalidateWindowArea(const TRect& rect) { (void)rect; }
    /// Paints the window's pending invalid area now.
    virtual void PaintWindowNow() {}
    /// The native window this top-level control is shown in (0 when none).
    virtual platform::WindowId NativeWindow() const { return 0; }
    /// The control holding the keyboard focus inside this top-level window.
    virtual TWinControl* WindowFocus() const { return nullptr; }
    virtual void SetWindowFocus(TWinControl* control) { (void)control; }
    /// Forgets the focused control without enter or exit events (it is going away).
    virtual void DropWindowFocus() {}
    /// True for a region of a window that F6 moves the focus to as a whole (a dock panel).
    virtual bool FocusPane() const { return false; }
    /// True when this top-level window sees keys before its focused control.
    virtual bool PreviewsKeys() const { return false; }
    /// True once the keyboard has been used in this top-level window: only then do
    /// focused controls draw their focus rectangle, so mouse-only use never shows one.
    virtual bool KeyboardCues() const { return false; }
    /// True when this control has the focus and its window shows keyboard cues.
    bool ShowsFocusRect() const;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    void WndProc(TMessage& message) override;

protected:
    /// The align pass. `control` is the child whose change caused it (or null);
    /// `rect` starts as the client area. Overrides may lay children out themselves.
    virtual void AlignControls(TControl* control, TRect& rect);
    /// True when the align pass must run for every child's change, aligned or not
    /// (containers that lay out their children themselves).
    virtual bool AlignsUnalignedChildren() const { return false; }
    /// Shrinks the client rectangle the align pass works in (borders, bevels).
    virtual void AdjustClientRect(TRect& rect) const { (void)rect; }
    /// After a child was inserted / before one is removed (CM_CONTROLCHANGE).
    virtual void ControlChange(TControl* control, bool inserting) { (void)control, (void)inserting; }
    /// Before a child is inserted / after one was removed (CM_CONTROLLISTCHANGE).
    virtual void ControlListChange(TControl* control, bool inserting) { (void)control, (void)inserting; }

    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    virtual void DoEnter();
    virtual void DoExit();
    /// Handles a dialog key (Tab, Enter, Escape, arrows) the focused control did not want;
    /// the default offers it to the children. Return true when handled.
    virtual bool DialogKey(int key, TShiftState shift);

    void Resize() override;
    void BoundsChanged(bool moved, bool resized) override;
    void ParentChanged() override;
    void Loaded() override;

private:
    friend class TControl;
    void DoAlignPass(TControl* control);
    void AlignByKind(TAlign align, TControl* control, TRect& rect);
    void ApplyAnchors(TSize oldClient);
    void FixupTabList();

    THandle handle_ = 0;
    std::vector<TControl*> controls_;
    int alignDisabled_ = 0;
    bool aligning_ = false;
    bool alignPending_ = false;
    bool tabStop_ = false;
    std::vector<TWinControl*> tabList_;
    /// A tab order set while loading (or without a parent), applied once the siblings exist.
    int storedTabOrder_ = -1;
    TSize anchorClient_{-1, -1};
};

} // namespace emr
