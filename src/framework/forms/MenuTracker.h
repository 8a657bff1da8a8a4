#pragma once

#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Geometry.h"

namespace emr {

class TMenuItem;
class TPopupMenu;
class TPopupMenuWindow;
struct TMsg;

/// Runs one popup menu: opens its window, holds the pointer capture on it, runs
/// a nested message loop until the menu closes, and closes the windows again.
///
///   state     | event                                   | next
///   ----------+-----------------------------------------+---------------------
///   open      | pointer over an item                    | open (item hot; its sub-menu opens)
///   open      | pointer on or press on a scroll arrow   | open (the level scrolls, sub-menus close)
///   open      | release over an enabled plain item      | chosen
///   open      | press outside every menu window         | cancelled (press eaten)
///   open      | Esc                                     | sub-menu closes / cancelled at the root
///   open      | Up / Down                               | open (next keyboard stop hot, wrapping,
///             |                                         |       scrolled into view)
///   open      | Right / Left                            | sub-menu opens / closes
///   open      | Enter or Space on a hot plain item      | chosen
///   open      | the menu is freed or the loop must quit | cancelled
///
/// Keys never reach the focused control while the menu is open.
class TMenuTracker {
public:
    explicit TMenuTracker(TPopupMenu* menu);
    ~TMenuTracker();
    TMenuTracker(const TMenuTracker&) = delete;
    TMenuTracker& operator=(const TMenuTracker&) = delete;

    /// Shows the menu at screen `at` and returns the chosen item (null when cancelled).
    TMenuItem* Track(TPoint at);
    /// Ends tracking with `chosen` (null: cancelled).
    void Close(TMenuItem* chosen);

    // Pointer input from the capturing window, in screen coordinates.
    void PointerMove(TPoint screen);
    void PointerDown(TPoint screen);
    void PointerUp(TPoint screen);
    /// A key while tracking; true when the tracker used it.
    bool KeyDown(int key);
    /// Left and Right as the reading order of `window` means them: swapped in a
    /// right-to-left menu, whose sub-menus open leftwards (Left goes in).
    static int ReadingOrderKey(int key, const TPopupMenuWindow* window);

    /// A level scrolled its items: the sub-menus above it close.
    void Scrolled(TPopupMenuWindow* window);

    /// The open windows, root first.
    const std::vector<TPopupMenuWindow*>& Windows() const { return windows_; }

private:
    bool Filter(TMsg& msg);
    TPopupMenuWindow* WindowAt(TPoint screen, int& index) const;
    void OpenSubMenu(TPopupMenuWindow* parent, int index);
    void CloseWindowsAbove(std::size_t level);
    void MoveHot(TPopupMenuWindow* window, int step);
    /// Makes an item hot from the keyboard: it scrolls into view.
    static void MakeHot(TPopupMenuWindow* window, int index);
    std::size_t LevelOf(const TPopupMenuWindow* window) const;
    TPopupMenuWindow* Top() const { return windows_.empty() ? nullptr : windows_.back(); }

    TComponentRef<TPopupMenu> menu_;
    std::vector<TPopupMenuWindow*> windows_;
    TComponentRef<TMenuItem> chosen_;
    bool done_ = false;
};

} // namespace emr
