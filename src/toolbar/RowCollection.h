#pragma once

#include <string>
#include <vector>

#include "framework/core/Collection.h"
#include "framework/core/Geometry.h"

namespace emr {

class TAdvCustomToolBar;
class TAdvDockPanel;

/// One row (a column on a vertical dock panel): its toolbars in order along the
/// row and its rectangle in panel coordinates. The row does not own its toolbars.
class TRowCollectionItem : public TCollectionItem {
    EMR_CLASS(TRowCollectionItem)
public:
    explicit TRowCollectionItem(TCollection* collection) : TCollectionItem(collection) {}

    const std::vector<TAdvCustomToolBar*>& ToolBars() const { return toolBars_; }
    std::vector<TAdvCustomToolBar*>& ToolBars() { return toolBars_; }
    int ToolBarCount() const { return static_cast<int>(toolBars_.size()); }
    TAdvCustomToolBar* ToolBar(int index) const { return toolBars_.at(static_cast<std::size_t>(index)); }
    /// Position of the toolbar in the row, or -1.
    int IndexOf(const TAdvCustomToolBar* toolBar) const;
    bool Contains(const TAdvCustomToolBar* toolBar) const { return IndexOf(toolBar) >= 0; }

    const TRect& Rect() const { return rect_; }
    void SetRect(const TRect& rect) { rect_ = rect; }

private:
    std::vector<TAdvCustomToolBar*> toolBars_;
    TRect rect_;
};

/// The rows of one dock panel, first row first.
class TRowCollection : public TCollection {
    EMR_CLASS(TRowCollection)
public:
    /// Space before the first row and after every row.
    static constexpr int RowGap = 1;
    /// Space before a row's first toolbar, between toolbars and after the last.
    static constexpr int ToolBarSpacing = 2;

    explicit TRowCollection(TAdvDockPanel* panel);

    TAdvDockPanel* DockPanel() const { return panel_; }
    TRowCollectionItem* Row(int index) const { return ItemAs<TRowCollectionItem>(index); }
    bool ValidIndex(int index) const { return index >= 0 && index < Count(); }
    /// Appends a row, then the panel arranges its rows.
    TRowCollectionItem* AddRow();
    /// Inserts a row at `index`, then the panel arranges its rows.
    TRowCollectionItem* InsertRow(int index);
    /// Index of the row holding the toolbar, or -1.
    int RowOf(const TAdvCustomToolBar* toolBar) const;
    /// What is wrong with the rows, or empty: rows do not overlap, no toolbar is in
    /// two places, each toolbar knows its row, lies across its row and starts no
    /// earlier than the row's spacing allows.
    std::string CheckInvariants() const;

private:
    TAdvDockPanel* panel_;
};

} // namespace emr
