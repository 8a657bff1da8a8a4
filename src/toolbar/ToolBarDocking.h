#pragma once

#include "framework/core/Component.h"
#include "toolbar/ToolBarDockSite.h"
#include "toolbar/ToolBarTypes.h"

namespace emr {

/// Where a toolbar lives: docked, floating or standalone, the edge it is laid
/// out for, and the dock panel and row it sits in. The last panel it was docked
/// in is kept, with a reference that clears when that panel is freed, so a
/// floating toolbar can go back to it.
struct TToolBarDocking {
    static constexpr int DefaultThickness = 26;

    TToolBarState State = TToolBarState::tsDocked;
    TToolBarState PreviousState = TToolBarState::tsDocked;
    TDockAlign Position = TDockAlign::daTop;
    /// Its thickness on a dock panel, kept while it floats.
    int DockedThickness = DefaultThickness;
    int RowIndex = -1;
    TToolBarDockSite* Panel = nullptr;
    TToolBarDockSite* LastPanel = nullptr;
    TComponentRef<TComponent> LastPanelRef;
};

} // namespace emr
