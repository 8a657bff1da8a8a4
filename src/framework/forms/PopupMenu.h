#pragma once

#include <cstdint>

#include "framework/core/Geometry.h"
#include "framework/forms/Menu.h"

namespace emr {

class TCanvas;
class TPopupMenuWindow;
class TMenuTracker;

enum class TPopupAlignment { paLeft, paRight, paCenter };
using enum TPopupAlignment;

/// How one menu item is to be drawn.
enum TMenuItemDrawFlag : std::uint32_t {
    midSelected = 1u << 0, // the highlighted item
    midDisabled = 1u << 1,
    midChecked = 1u << 2,
    midDefault = 1u << 3,
};
using TMenuItemDrawState = std::uint32_t;

/// A menu that pops up at a screen point, in its own popup window, and returns
/// when it closes. An item chosen with the mouse or Enter is clicked after the
/// popup windows are gone and before Popup returns.
///
/// The look lives in MeasureItem, DrawItem and DrawBackground so that styled
/// menus can replace it; the windows and the tracking loop stay the same.
class TPopupMenu : public TMenu {
    EMR_CLASS(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* owner);
    void BeforeDestruction() override;

    /// Shown by a right click on a control that names this menu.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment value) { alignment_ = value; }
    /// The component the menu was last shown for (set by whoever shows it).
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component);
    /// Where the last Popup was asked to appear (screen coordinates).
    TPoint PopupPoint() const { return popupPoint_; }

    /// Shows the menu at screen (x, y) and tracks it until an item is chosen or
    /// Esc or a click elsewhere closes it.
    virtual void Popup(int x, int y);
    /// True while the menu is shown.
    bool Tracking() const { return tracking_; }
    /// Closes the menu if it is shown, choosing nothing.
    void CloseMenu();
    /// The tracker running the shown menu (its open windows and highlight), or null.
    TMenuTracker* Tracker() const { return tracker_; }

    // The look. Rectangles are in the popup window's client coordinates.
    /// The size of one item; `width` and `height` come in as the defaults.
    virtual void MeasureItem(TCanvas& canvas, TMenuItem* item, int& width, int& height);
    /// Bracket the MeasureItem calls for one window's items, so that a look can
    /// check once what every item's size depends on.
    virtual void BeginMeasure() {}
    virtual void EndMeasure() {}
    virtual void DrawItem(TCanvas& canvas, TMenuItem* item, const TRect& rect, TMenuItemDrawState state);
    /// Paints the whole window before the items (frame and background).
    virtual void DrawBackground(TCanvas& canvas, const TRect& rect);
    /// Whether Up and Down stop on `item`; plain menus skip only separator lines.
    virtual bool KeyboardStop(const TMenuItem* item) const { return !item->IsLine(); }
    /// The border between the window's edge and the items.
    virtual int BorderWidth() const { return 3; }
    /// Makes the window that shows `items`' sub-items; styled menus may return their own.
    virtual TPopupMenuWindow* CreatePopupWindow(TMenuItem* items);

    /// Fired before the menu is shown, so that handlers can update the items.
    TNotifyEvent OnPopup;
    /// Fired after the menu closed.
    TNotifyEvent OnClose;

protected:
    virtual void DoPopup();
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TMenuTracker;
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
    TComponent* popupComponent_ = nullptr;
    TPoint popupPoint_;
    bool tracking_ = false;
    TMenuTracker* tracker_ = nullptr;
};

} // namespace emr
