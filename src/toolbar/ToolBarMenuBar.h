#pragma once

#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Geometry.h"
#include "framework/forms/Application.h"

namespace emr {

class TAdvCustomToolBar;
class TAdvCustomToolBarButton;
class TAdvPopupMenu;
class TMainMenu;
class TMenuItem;
class TTimer;

/// Posted to a toolbar after each drop of a menu button's menu (WParam: the drop's serial).
inline constexpr unsigned CM_TOOLBARMENUCLOSED = CM_BASE + 0x0F0;

/// A toolbar's menu-bar behaviour: the menu buttons generated from its Menu and
/// the tracking of their drop-down menus, including switching to a neighbour's
/// menu by hovering or by Left and Right while a menu is open.
///
///   state      | event                                        | next
///   -----------+----------------------------------------------+-------------------------------
///   idle       | TrackMenu(button)                             | dropped (sub-items borrowed)
///   dropped    | pointer onto another menu button              | switching (popup closes, click queued)
///   dropped    | Right on an item without sub-items / Left     | switching (neighbour's click queued)
///   dropped    | item chosen, Esc, click elsewhere             | closing
///   dropped    | Alt                                           | closing, keyboard mode cancelled
///   switching  | popup loop ends                               | closing, then the queued click opens the
///   next closing    | menu-closed message of the same drop          | idle (items given back)
///
/// Only one toolbar tracks a menu at a time: the tracking state is process-wide.
class TToolBarMenuBar {
public:
    explicit TToolBarMenuBar(TAdvCustomToolBar* toolBar);
    ~TToolBarMenuBar();
    TToolBarMenuBar(const TToolBarMenuBar&) = delete;
    TToolBarMenuBar& operator=(const TToolBarMenuBar&) = delete;

    /// Gives borrowed items back; the toolbar calls it before its owned components go.
    void Release();

    TMainMenu* Menu() const { return menu_; }
    /// Replaces the generated menu buttons with one per top-level item of `menu`.
    void SetMenu(TMainMenu* menu);
    /// After loading: rebuilds the buttons when an item has no button linked to it.
    void Loaded();
    /// The menu or one of the linked items is being freed.
    void Notification(TComponent* component, TOperation operation);

    /// Drops the button's menu and tracks it until it closes; false when the
    /// button has nothing to drop.
    bool TrackMenu(TAdvCustomToolBarButton* button);
    /// Moves the tracking to another menu button (by a synthesized click).
    void ClickButton(TAdvCustomToolBarButton* button, bool byMouse);
    /// Handles the menu-closed message; true when `message` was one.
    bool HandleMessage(TMessage& message);

    bool Closed() const { return closed_; }
    void SetClosed(bool value) { closed_ = value; }
    bool EnterUsed() const { return enter_; }
    void SetEnterUsed(bool value) { enter_ = value; }
    bool Sideways() const { return sideways_; }
    /// The popup holding the borrowed items while a menu is dropped, or null.
    TAdvPopupMenu* TemporaryPopup() const { return tempPopup_.Get(); }
    /// The item whose sub-items are borrowed, or null.
    TMenuItem* BorrowedFrom() const { return borrowedFrom_.Get(); }
    /// Whether any toolbar's popup hook is installed.
    static bool PopupHookInstalled();
    /// The toolbar whose menu is being tracked, or null.
    static TAdvCustomToolBar* TrackingToolBar();

    /// Where the popup of `button` appears (screen), given the estimated width and
    /// total item height; sets the sideways flag.
    TPoint PopupPoint(TAdvCustomToolBarButton* button, int width, int height);

private:
    void FreeGeneratedButtons();
    void CreateButtons();
    void LinkButtons();
    void GiveBackItems();
    void MenuClosed(std::intptr_t serial);
    bool PopupHook(TMsg& msg);
    void PendingTick();
    void Inject(platform::TEventType type, TPoint screen);
    TAdvCustomToolBarButton* Neighbour(int from, int step) const;
    int EstimateWidth(TAdvPopupMenu* popup) const;
    int TotalHeight(TAdvPopupMenu* popup) const;

    TAdvCustomToolBar* toolBar_;
    TMainMenu* menu_ = nullptr;
    TComponentRef<TAdvPopupMenu> tempPopup_;
    TComponentRef<TMenuItem> borrowedFrom_;
    TComponentRef<TAdvCustomToolBarButton> shownButton_;
    TComponentRef<TAdvCustomToolBarButton> lastTracked_;
    TComponentRef<TAdvCustomToolBarButton> pendingButton_;
    TTimer* pendingTimer_ = nullptr;
    bool closed_ = false;
    bool enter_ = false;
    bool sideways_ = false;
    std::intptr_t serial_ = 0;
    /// Input held back until the popup's loop has let go of the pointer.
    std::vector<platform::TEvent> deferred_;
};

} // namespace emr
