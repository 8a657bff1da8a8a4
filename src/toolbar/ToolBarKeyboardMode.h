#pragma once

#include "framework/core/Component.h"
#include "framework/forms/Application.h"

namespace emr {

class TAdvCustomToolBar;
class TAdvCustomToolBarButton;

/// A toolbar's keyboard menu mode and accelerator keys: Alt or F10 alone
/// highlights the first menu button, Alt with a button's accelerator opens or
/// clicks it, and while the mode lasts the arrow keys move the highlight and
/// Enter or Down drops the highlighted button's menu.
///
///   state  | event                                         | next
///   -------+-----------------------------------------------+--------------------------
///   off    | Alt / F10 alone (SC_KEYMENU, key 0)           | menu mode, first button hot
///   off    | Alt + accelerator of a menu button             | menu mode, its menu dropped
///   menu   | Left / Right                                   | menu (neighbour hot, wrapping)
///   menu   | Enter / Down                                   | menu (hot button's menu dropped)
///   menu   | Esc, Alt, F10, deactivation, click elsewhere   | off
///
/// The keys reach the toolbar through a get-message hook that redirects them
/// while no popup is open; only one toolbar runs the mode at a time.
class TToolBarKeyboardMode {
public:
    explicit TToolBarKeyboardMode(TAdvCustomToolBar* toolBar);
    ~TToolBarKeyboardMode();
    TToolBarKeyboardMode(const TToolBarKeyboardMode&) = delete;
    TToolBarKeyboardMode& operator=(const TToolBarKeyboardMode&) = delete;

    bool MenuMode() const { return menuMode_; }
    bool KeyboardMode() const { return keyboardMode_; }

    /// Runs keyboard menu mode until it ends; `button` has its menu dropped first,
    /// `hot` (without a button) is highlighted instead of the first button.
    /// Returns whether the menu was left with Enter.
    bool MenuLoop(TAdvCustomToolBarButton* button, TAdvCustomToolBarButton* hot = nullptr);
    void InitMenuMode(TAdvCustomToolBarButton* button);
    void CancelMenu();
    /// Highlights the index-th eligible menu button; -1 clears the highlight.
    void SetHotIndex(int index);
    /// Takes the pointer back after a popup of the mode has closed.
    void RetakeCapture();

    /// Handles what the toolbar receives for menu mode and accelerators; true when used.
    bool HandleMessage(TMessage& message);
    /// Pointer input on the toolbar while the mode holds the capture; true when used.
    bool PointerMove(TPoint client);
    bool PointerDown(TPoint client);

    /// Eats the menu-key command that the release of an Alt or F10 press makes
    /// when that press ended a menu: otherwise the release would start it again.
    static void SwallowMenuKeyRelease();

private:
    bool KeyDown(int key);
    bool KeyMenu(std::intptr_t key);
    bool DialogChar(char32_t key, TShiftState shift);
    bool KeyboardHook(TMsg& msg);
    TAdvCustomToolBarButton* ButtonAt(TPoint client) const;

    TAdvCustomToolBar* toolBar_;
    bool menuMode_ = false;
    bool keyboardMode_ = false;
    THookId hook_ = 0;
};

} // namespace emr
