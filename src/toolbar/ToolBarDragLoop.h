#pragma once

#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Geometry.h"

namespace emr {

class TAdvCustomToolBar;
class TAdvDockPanel;
class TWinControl;

/// A dock panel a dragged toolbar may dock into, and where the pointer must be
/// for that (screen coordinates).
struct TDockSiteRecord {
    TComponentRef<TAdvDockPanel> Panel;
    TRect DropRect;
};

/// One drag of a toolbar by its grip or floating caption: a nested loop over the
/// application's queue that moves the toolbar along and across its panel's rows,
/// tears it off into a floating window, and docks it into a panel it is dragged over.
///
/// | state    | pointer move                                    | ends on                     |
/// |----------|-------------------------------------------------|-----------------------------|
/// | docked   | moves within or across rows; past the panel by  | release, lost capture, quit |
/// |          | more than 26 pixels: docks elsewhere or floats  | request, toolbar freed      |
/// | floating | the window follows; over a drop rectangle: docks|                             |
///
/// Every other message is dispatched as usual, so painting and timers go on.
class TToolBarDragLoop {
public:
    /// How far beyond its panel the pointer must go before a toolbar leaves it.
    static constexpr int LeaveDistance = 26;
    /// How far a drop rectangle reaches past its panel into the window.
    static constexpr int DropMargin = 15;

    /// Runs the drag that a press at client point (x, y) of the toolbar starts.
    static void DragToolBar(TAdvCustomToolBar* toolBar, int x, int y);
    /// Whether the toolbar may dock into the panel (its edge and, under LockHeight, a free row).
    static bool CanDockTo(TAdvCustomToolBar* toolBar, TAdvDockPanel* panel);
    /// The panel's rectangle on the screen, reaching DropMargin further into the window.
    static TRect DropRectOf(const TAdvDockPanel* panel);

    explicit TToolBarDragLoop(TAdvCustomToolBar* toolBar);
    TToolBarDragLoop(const TToolBarDragLoop&) = delete;
    TToolBarDragLoop& operator=(const TToolBarDragLoop&) = delete;

    void CollectDockSites();
    void RefreshDockSites();
    /// Moves, floats or docks the toolbar for a pointer at its client point (x, y).
    void DragStep(int x, int y);
    void EndToolBarDrag();

    const std::vector<TDockSiteRecord>& DockSites() const { return sites_; }
    TPoint GrabPoint() const { return grab_; }
    bool Dragging() const { return dragging_; }

private:
    void Run(int x, int y);
    void Visit(TWinControl* control, bool panelsOnly);
    /// The docked part of a step; true when the toolbar is to leave its panel.
    bool StepDocked(int x, int y);
    void FollowPointer(int x, int y);
    /// Docks into the first drop rectangle under the screen point; true when one took it.
    bool DockAt(TPoint screen);
    /// Tears the toolbar off when its handler allows it.
    void Float();

    TComponentRef<TAdvCustomToolBar> toolBar_;
    TPoint grab_;
    std::vector<TDockSiteRecord> sites_;
    bool dragging_ = false;
};

} // namespace emr
