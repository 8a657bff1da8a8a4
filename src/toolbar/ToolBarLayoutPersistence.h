#pragma once

#include <vector>

#include "framework/core/Geometry.h"

namespace emr {

class TAdvCustomToolBar;

/// Saves and restores what a toolbar keeps of itself: whether it floats (with its
/// window position and number of rows) and which of its controls are visible,
/// under value names led by the toolbar's Name in its Persistence.Section.
class TToolBarLayoutPersistence {
public:
    explicit TToolBarLayoutPersistence(TAdvCustomToolBar* toolBar) : toolBar_(toolBar) {}

    /// Restores the saved layout when the toolbar's own persistence is enabled.
    void Load();
    /// Throws ESettingsStoreError when the store cannot be written.
    void Save();
    /// Save as destruction runs it: once, with failures reported instead of thrown.
    void SaveOnDestroy();
    /// Save with failures reported instead of thrown, at any time.
    void SaveReported();
    bool Loaded() const { return loaded_; }

    /// Where a floating window of `size` saved at `saved` goes so that its caption
    /// (the window's width by `captionHeight`) can be reached: the saved point when
    /// enough of the caption lies within one of the `areas`, else the point of the
    /// nearest area that keeps the whole window inside it (its top left corner when
    /// the window is larger than the area). Any int values are safe.
    static TPoint ReachablePoint(TPoint saved, TSize size, int captionHeight,
                                 const std::vector<TRect>& areas);

private:
    void PlaceFloatingWindow(TPoint saved);

    TAdvCustomToolBar* toolBar_;
    bool loaded_ = false;
    bool savedOnDestroy_ = false;
};

} // namespace emr
