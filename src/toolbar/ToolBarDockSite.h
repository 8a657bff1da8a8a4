#pragma once

#include <cstdint>

#include "toolbar/ToolBarTypes.h"

namespace emr {

class TAdvCustomToolBar;
class TCustomAdvToolBarStyler;

/// What a toolbar needs of the dock panel that holds it in its rows. The dock panel
/// implements this; a toolbar whose parent implements it is docked, and every call
/// a toolbar makes on its panel goes through here.
class TToolBarDockSite {
public:
    virtual ~TToolBarDockSite() = default;

    /// Takes the toolbar into the rows: its index in its row, or -1 when refused.
    virtual int AddToolBar(TAdvCustomToolBar* toolBar) = 0;
    virtual void RemoveToolBar(TAdvCustomToolBar* toolBar) = 0;
    /// Adjusts a requested bounds change of a docked toolbar before it is applied.
    virtual void AdjustToolBarBounds(TAdvCustomToolBar* toolBar, int& left, int& top, int& width,
                                     int& height) = 0;
    virtual void ToolBarVisibilityChanged(TAdvCustomToolBar* toolBar) = 0;
    virtual void GiveFullRow(TAdvCustomToolBar* toolBar) = 0;
    virtual void ArrangeRows() = 0;
    virtual void ArrangeRow(int rowIndex) = 0;
    virtual void ArrangeRowsIfNeeded() = 0;
    /// Whether some row can take the toolbar: a row index or -1.
    virtual int FindRowFor(TAdvCustomToolBar* toolBar) = 0;

    /// The styler the panel paints with (its own or its internal one); null while it is being destroyed.
    virtual TCustomAdvToolBarStyler* DockStyler() const = 0;
    virtual TDockAlign DockAlign() const = 0;
    virtual bool DockLockHeight() const = 0;
    /// Whether the panel's own after-load step is still to come and loads the
    /// saved layouts of its toolbars with its own (a toolbar then leaves its own to it).
    virtual bool LoadsToolBarLayouts() const = 0;
    /// Whether the panel's rows are still to be built after its window's load: a
    /// toolbar's own arranging can wait for them.
    virtual bool BuildsRowsLater() const = 0;

    /// A pixel of the panel's painted surface and of its background buffer, in panel
    /// coordinates; rounded toolbar corners copy these.
    virtual std::uint32_t PanelPixel(int x, int y) = 0;
    virtual std::uint32_t BackgroundPixel(int x, int y) = 0;
};

/// What a toolbar needs of the floating window that holds it. The floating window
/// implements this; a toolbar whose parent implements it is floating.
class TToolBarFloatingSite {
public:
    virtual ~TToolBarFloatingSite() = default;
    /// Resizes the window around the toolbar.
    virtual void FitToToolBar() = 0;
    virtual bool WindowShowing() const = 0;
    virtual void HideWindow() = 0;
    /// Stops the timer by which the window follows its owner.
    virtual void StopFollowing() = 0;
    /// Frees the window once the toolbar has left it.
    virtual void Release() = 0;
};

} // namespace emr
