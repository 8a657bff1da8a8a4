#pragma once

namespace emr {

/// What a toolbar is in the middle of, so that the moves it makes itself do not
/// start the same work again.
struct TToolBarBusyFlags {
    /// It places its own controls: their bounds changes are its own.
    bool Arranging = false;
    /// A dock panel, floating window or option window moves it: its bounds are
    /// taken as given.
    bool SuppressBoundsAdjustment = false;
    /// A control shrinking inside it shrinks the toolbar with it.
    bool ShrinkFollowsControl = false;
    /// It changes parent on behalf of a panel or window that handles the rest.
    bool Reparenting = false;
    bool FirstPaintDone = false;
    /// Its controls changed size while its panel waits to build its rows: it
    /// arranges them once, when the panel asks, instead of once per control.
    bool ArrangePending = false;
};

} // namespace emr
