#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "framework/core/Geometry.h"
#include "toolbar/ToolBarTypes.h"

namespace emr {

class TAdvCustomToolBar;
class TRowCollectionItem;

/// Where one docked toolbar is, along and across its panel's rows, and the limits
/// the row rules read. Start and length run along the row; cross and thickness
/// across it.
struct TDockItem {
    int Start = 0;
    int Length = 0;
    int Cross = 0;
    int Thickness = 0;
    int MinLength = 0;
    int MaxLength = 0;
    int MinThickness = 0;
    int MaxThickness = 0;
    int RowIndex = -1;
    bool FullSize = false;
    bool Visible = true;
    /// Still being read from a stored layout: dragging it back never swaps it.
    bool Loading = false;
    /// The full-size rule fixed its length; applying sets its length limits first.
    bool LengthFixed = false;
    /// Its overflow is brought up to date when the layout is applied, even if its
    /// length did not change.
    bool OverflowUpdate = false;

    int End() const { return Start + Length; }
    int Shrinkable() const { return Length - MinLength; }
    int Growable() const { return MaxLength - Length; }
};

/// One row (a column on a vertical panel): its toolbars in order along the row and
/// its rectangle in panel coordinates.
struct TDockRow {
    /// The panel's row this one was read from; null for a row the rules created.
    TRowCollectionItem* Source = nullptr;
    std::vector<TAdvCustomToolBar*> ToolBars;
    TRect Rect;

    int IndexOf(const TAdvCustomToolBar* toolBar) const;
    bool Contains(const TAdvCustomToolBar* toolBar) const { return IndexOf(toolBar) >= 0; }
    int Count() const { return static_cast<int>(ToolBars.size()); }
};

/// A dock panel's layout as a value: its rows and the toolbars in them, with the
/// row rules as operations on it. Nothing here moves a control; the panel reads a
/// layout from its toolbars, runs the rules on it and applies the result once.
/// Toolbars are named by pointer only, never read.
class TDockLayout {
public:
    /// What the rules need to know of the panel.
    struct TPanel {
        TDockAlign Align = TDockAlign::daTop;
        /// The panel's extent along its rows (Width of a horizontal panel).
        int Length = 0;
        /// The panel's thickness (Height of a horizontal panel) and its bounds.
        TRect Bounds;
        int MinimumSize = 3;
        bool LockHeight = false;
        bool LayoutLoaded = false;
        bool Loading = false;
    };

    /// The thinnest a row gets.
    static constexpr int MinRowSize = 26;
    /// Distance of every row from the two panel edges along the row.
    static constexpr int RowInset = 1;
    /// Space after the last row of a horizontal panel.
    static constexpr int LastRowMargin = 0;
    /// Space before the first row and after every row.
    static constexpr int RowGap = 1;
    /// Space before a row's first toolbar, between toolbars and after the last.
    static constexpr int Spacing = 2;

    explicit TDockLayout(const TPanel& panel) : panel_(panel) {}

    const TPanel& Panel() const { return panel_; }
    bool Vertical() const { return IsVertical(panel_.Align); }
    /// LockHeight is off, or the layout is still being built.
    bool RowsMayChange() const { return !panel_.LockHeight || !panel_.LayoutLoaded; }

    // Contents.
    std::vector<TDockRow>& Rows() { return rows_; }
    const std::vector<TDockRow>& Rows() const { return rows_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    bool ValidRow(int index) const { return index >= 0 && index < RowCount(); }
    TDockRow& Row(int index) { return rows_.at(static_cast<std::size_t>(index)); }
    const TDockRow& Row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
    /// Index of the row holding the toolbar, or -1.
    int RowOf(const TAdvCustomToolBar* toolBar) const;
    /// Adds a toolbar the rules may place; rows name only toolbars added here.
    void AddItem(TAdvCustomToolBar* toolBar, const TDockItem& item);
    bool HasItem(const TAdvCustomToolBar* toolBar) const { return items_.count(toolBar) > 0; }
    TDockItem& Item(const TAdvCustomToolBar* toolBar);
    const TDockItem& Item(const TAdvCustomToolBar* toolBar) const;
    /// The toolbars in the order they were added.
    const std::vector<TAdvCustomToolBar*>& ToolBars() const { return order_; }
    /// The panel's new bounds after UpdatePanelSize.
    const TRect& PanelBounds() const { return panel_.Bounds; }

    // Measuring.
    int RowSize(int rowIndex) const;
    /// Free room between neighbours A and B of a row after the spacing (null for none).
    int Gap(int rowIndex, const TAdvCustomToolBar* a, const TAdvCustomToolBar* b) const;
    bool CanAccept(int rowIndex, const TAdvCustomToolBar* toolBar) const;
    int FindRowFor(const TAdvCustomToolBar* toolBar) const;
    bool NeedsArrange(int rowIndex) const;

    // Arranging.
    void ArrangeRows();
    void ArrangeRow(int rowIndex);
    void ArrangeRowsIfNeeded();
    void UpdatePanelSize();

    // Row membership.
    int AddRow();
    int InsertRow(int index);
    int AppendToRow(int rowIndex, TAdvCustomToolBar* toolBar);
    void InsertInRow(int rowIndex, TAdvCustomToolBar* toolBar);
    void RemoveFromRow(int rowIndex, TAdvCustomToolBar* toolBar, bool deleteEmpty);
    void DeleteRowIfEmpty(int rowIndex);
    void MoveToRow(TAdvCustomToolBar* toolBar, int rowIndex);
    void GiveFullRow(TAdvCustomToolBar* toolBar);

    // Bounds requests.
    /// Adjusts a requested bounds change of a docked toolbar (panel coordinates).
    void AdjustToolBarBounds(TAdvCustomToolBar* toolBar, TRect& bounds);
    /// Moves a toolbar into another row for a requested cross position p and thickness h.
    void ChangeRow(TAdvCustomToolBar* t, int& p, int& h);
    /// Moves or resizes a toolbar within its row for a requested start q and length w.
    void MoveWithinRow(int rowIndex, TAdvCustomToolBar* t, int& q, int& w);
    /// What the toolbar's own bounds change does after the panel adjusted it: the
    /// bounds are taken, within the toolbar's size limits.
    void SetBounds(TAdvCustomToolBar* toolBar, const TRect& bounds);
    /// A bounds change the toolbar itself asks for: offered to the rows, then taken.
    void RequestBounds(TAdvCustomToolBar* toolBar, TRect bounds);
    /// The toolbar's bounds as a rectangle in panel coordinates.
    TRect BoundsOf(const TAdvCustomToolBar* toolBar) const;

private:
    int RowStart(const TRect& r) const { return Vertical() ? r.Top : r.Left; }
    int RowEnd(const TRect& r) const { return Vertical() ? r.Bottom : r.Right; }
    int RowCross(const TRect& r) const { return Vertical() ? r.Left : r.Top; }
    int RowCrossEnd(const TRect& r) const { return Vertical() ? r.Right : r.Bottom; }
    TRect MakeRow(int crossStart, int crossEnd, int start, int end) const;
    TAdvCustomToolBar* At(int rowIndex, int k) const {
        return Row(rowIndex).ToolBars.at(static_cast<std::size_t>(k));
    }

    void SetLength(TDockItem& t, int length) const;
    void Shift(TAdvCustomToolBar* t, int delta);
    void Grow(TAdvCustomToolBar* t, int delta);
    void GrowBack(TAdvCustomToolBar* t, int delta);
    void ShiftRange(int rowIndex, int from, int to, int delta);
    void MakeFullSize(TAdvCustomToolBar* t, int rowIndex);
    void PullBackAndShrink(int rowIndex, int k, int& g);
    bool MoveBack(int rowIndex, TAdvCustomToolBar* t, int& q);
    void MoveForward(int rowIndex, TAdvCustomToolBar* t, int& q);
    void ChangeLength(int rowIndex, TAdvCustomToolBar* t, int& w);
    void RenumberFrom(int rowIndex);

    TPanel panel_;
    std::vector<TDockRow> rows_;
    std::unordered_map<const TAdvCustomToolBar*, TDockItem> items_;
    std::vector<TAdvCustomToolBar*> order_;
};

} // namespace emr
