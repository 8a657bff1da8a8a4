#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/ControlTypes.h"
#include "framework/controls/Messages.h"
#include "framework/controls/SizeConstraints.h"
#include "framework/core/Component.h"
#include "framework/core/Geometry.h"
#include "framework/graphics/Color.h"
#include "framework/platform/Accessible.h"

namespace emr {

class TCanvas;
class TFont;
class TWinControl;
class TPopupMenu;

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

/// A control: something with bounds inside a parent that can be shown, painted
/// and pointed at. Windowless controls (TGraphicControl) paint on their parent;
/// windowed ones (TWinControl) hold children, focus and keys.
///
/// Bounds change in one place only, SetBounds, which applies the size
/// constraints, repaints, tells the parent's align pass and fires Resize.
class TControl : public TComponent {
    EMR_CLASS(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    void BeforeDestruction() override;

    // Parent tree.
    TWinControl* Parent() const { return parent_; }
    /// Moves the control into `parent` (or out of any parent with null).
    virtual void SetParent(TWinControl* parent);
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    /// True when the control is `ancestor` or lies inside it.
    bool IsInside(const TControl* ancestor) const;

    // Bounds (parent client coordinates; screen coordinates for top-level windows).
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    TRect BoundsRect() const { return TRect::FromBounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    /// The one place where bounds change.
    virtual void SetBounds(int left, int top, int width, int height);

    /// The client area in the control's own coordinates.
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientWidth(int value);
    virtual void SetClientHeight(int value);
    /// The screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    /// Converts a point of this control's client area into `other`'s.
    TPoint ClientToControl(TPoint p, const TControl* other) const;
    /// A client rectangle in screen coordinates, and back: under a right-to-left
    /// layout the edges swap, which converting the two corners as points would miss.
    TRect ClientToScreenRect(const TRect& r) const;
    TRect ScreenToClientRect(const TRect& r) const;
    /// Converts between this control's client coordinates and its parent's.
    TPoint ClientToParent(TPoint p) const;
    TPoint ParentToClient(TPoint p) const;
    TRect ClientToParentRect(const TRect& r) const;
    /// Where the left edge appears in the parent's client area: the logical Left,
    /// reflected when the parent lays its children out right to left.
    int VisualLeft() const;
    /// The bounds as they appear in the parent's client area.
    TRect VisualBoundsRect() const { return TRect::FromBounds(VisualLeft(), top_, width_, height_); }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors value);
    TSizeConstraints* Constraints() const { return constraints_.get(); }
    void SetConstraints(const TSizeConstraints* value) { constraints_->Assign(value); }

    // State.
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    /// Visible, and every parent up to a shown top-level window is too.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);
    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState value) { controlState_ = value; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    // Writing direction.
    TBiDiMode BiDiMode() const { return biDiMode_; }
    /// Sets the direction and stops following the parent's.
    void SetBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool value);
    /// True when the client area is mirrored: children at logical Left L and Width W
    /// appear at ClientWidth - L - W and the control's own painting is reflected,
    /// while every position the program keeps stays logical (left to right).
    bool UseRightToLeftLayout() const { return biDiMode_ == TBiDiMode::bdRightToLeft; }
    /// True when text reads right to left (every mode but bdLeftToRight).
    bool UseRightToLeftReading() const { return biDiMode_ != TBiDiMode::bdLeftToRight; }
    /// True when text lines up with the right edge (every mode but bdLeftToRight).
    bool UseRightToLeftAlignment() const { return biDiMode_ != TBiDiMode::bdLeftToRight; }

    // Text, hints, appearance.
    const std::string& Caption() const { return text_; }
    void SetCaption(const std::string& value) { SetText(value); }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);
    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* value);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    /// Accepts any menu class derived from TComponent; the template keeps this
    /// header free of the menu classes.
    template <class M = TPopupMenu> void SetPopupMenu(M* menu) {
        SetPopupMenuComponent(menu, static_cast<TComponent*>(menu));
    }
    std::intptr_t Tag() const { return tag_; }
    void SetTag(std::intptr_t value) { tag_ = value; }
    /// Accepted for stored layouts; every control paints through the window's back buffer anyway.
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }

    // Messages.
    /// Dispatches a message to WndProc and returns its Result.
    std::intptr_t Perform(unsigned msg, std::intptr_t wparam = 0, std::intptr_t lparam = 0);
    /// Every message reaches the control here; overrides handle theirs and call the inherited one.
    virtual void WndProc(TMessage& message);
    /// Handles what WndProc did not.
    virtual void DefaultHandler(TMessage& message) { (void)message; }

    /// The control as a windowed control, or null: painting and hit-testing ask
    /// this of every control they visit, where a dynamic_cast costs a walk of
    /// the type hierarchy.
    virtual TWinControl* AsWinControl() { return nullptr; }
    const TWinControl* AsWinControl() const { return const_cast<TControl*>(this)->AsWinControl(); }

    // Painting.
    /// Marks the whole control for repainting at the loop's next paint pass.
    virtual void Invalidate();
    /// Marks a rectangle of the client area for repainting.
    void InvalidateRect(const TRect& rect);
    /// Paints whatever is pending in the control's window now.
    virtual void Update();
    /// Invalidate, then Update.
    virtual void Repaint();
    /// The top-level windowed control this one is painted into (null when not in a tree).
    TWinControl* TopLevel() const;

    // Mouse.
    /// True while the pointer is over this control (between enter and leave).
    bool MouseInClient() const { return mouseInClient_; }
    /// Simulates a click: fires OnClick (through Click).
    virtual void Click();

    // Stored layout.
    void Loaded() override;

    /// A one-line-per-control description of the tree from here, for debugging.
    std::string Dump(int indent = 0) const;

    // Assistive technology.
    /// Describes the control as assistive technology reads it. The accessible tree
    /// has filled in what every control shares (its caption as the name, enabled,
    /// visible, showing, focusable, focused) before it asks; overrides set their
    /// role, their own states and their actions.
    virtual void DescribeAccessible(platform::TAccessibleNode& node) const { (void)node; }
    /// The parts of the control that are not controls themselves (a menu's items),
    /// in reading order.
    virtual std::vector<TComponent*> AccessibleParts() const { return {}; }
    /// Describes one of AccessibleParts; node.Extents is taken in the control's
    /// client coordinates.
    virtual void DescribeAccessiblePart(const TComponent* part, platform::TAccessibleNode& node) const {
        (void)part, (void)node;
    }
    /// Runs action `index` of the control (part null) or of one of its parts, as
    /// the user's click or key would; false when there is no such action.
    virtual bool DoAccessibleAction(TComponent* part, int index) {
        (void)part, (void)index;
        return false;
    }
    /// What holds the keyboard focus while this control has it: the control, or an
    /// item inside it (the focused button of a toolbar).
    virtual const TComponent* AccessibleFocus() const { return this; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    void Notification(TComponent* component, TOperation operation) override;

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DblClick();
    /// The pointer entered / left this control (CM_MOUSEENTER / CM_MOUSELEAVE with LParam 0).
    virtual void MouseEnter();
    virtual void MouseLeave();
    /// After the size changed.
    virtual void Resize();
    /// After SetBounds stored new bounds (not while loading); the default calls
    /// Resize when the size changed. Windowed controls send WM_MOVE and WM_SIZE.
    virtual void BoundsChanged(bool moved, bool resized);
    /// After the text changed.
    virtual void TextChanged() {}
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void FontChanged();
    virtual void ColorChanged();
    /// After the writing direction changed.
    virtual void BiDiModeChanged();
    /// The parent is about to change (old parent still set).
    virtual void ParentChanging(TWinControl* newParent) { (void)newParent; }
    /// The parent changed.
    virtual void ParentChanged() {}

    /// Paints the control onto `canvas` (origin at its top-left, clipped to it).
    /// Windowless controls override Paint in TGraphicControl; windowed ones in TCustomControl.
    virtual void PaintTo(TCanvas& canvas) { (void)canvas; }
    /// Runs before the control is painted, outside any Paint: the place for layout
    /// that waits for the first frame, since painting itself only reads positions.
    virtual void BeforePaint() {}
    /// Gives the parent's align pass a chance to run after bounds or visibility changed.
    void RequestAlign();
    /// Repaints the area the control covers in its parent (used for windowless controls and moves).
    void InvalidateInParent(const TRect& boundsInParent);
    /// Stores the popup menu under both of its types (the free notification needs the component).
    void SetPopupMenuComponent(TPopupMenu* menu, TComponent* asComponent);

    /// Inherits font, colour and hint state from a new parent where the Parent* switches say so.
    void TakeParentProperties();

    /// Sets the visibility flag without any notification (constructors of hidden-by-default kinds).
    void InitVisible(bool value) { visible_ = value; }

    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState controlState_ = 0;

private:
    friend class TWinControl;
    friend class TMouse;
    friend class TPaintEngine;

    void HandleMouseMessage(TMessage& message);
    void FontObjectChanged();
    void SetMouseInClient(bool value) { mouseInClient_ = value; }

    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_ = akLeft | akTop;
    std::unique_ptr<TSizeConstraints> constraints_;
    bool visible_ = true;
    bool enabled_ = true;
    TCursor cursor_ = crDefault;
    std::string text_;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    TColor color_;
    bool parentColor_ = false;
    TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
    bool parentBiDiMode_ = true;
    TPopupMenu* popupMenu_ = nullptr;
    TComponent* popupMenuComponent_ = nullptr;
    std::intptr_t tag_ = 0;
    bool doubleBuffered_ = false;
    bool mouseInClient_ = false;
    bool updatingFont_ = false;
};

} // namespace emr
