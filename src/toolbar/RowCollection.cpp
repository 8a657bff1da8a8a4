#include "toolbar/RowCollection.h"

#include <algorithm>
#include <set>

#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"

namespace emr {

int TRowCollectionItem::IndexOf(const TAdvCustomToolBar* toolBar) const {
    auto it = std::find(toolBars_.begin(), toolBars_.end(), toolBar);
    return it == toolBars_.end() ? -1 : static_cast<int>(it - toolBars_.begin());
}

TRowCollection::TRowCollection(TAdvDockPanel* panel)
    : TCollection([](TCollection* c) { return new TRowCollectionItem(c); }, panel), panel_(panel) {}

TRowCollectionItem* TRowCollection::AddRow() {
    auto* row = static_cast<TRowCollectionItem*>(Add());
    panel_->ArrangeRows();
    return row;
}

TRowCollectionItem* TRowCollection::InsertRow(int index) {
    auto* row = static_cast<TRowCollectionItem*>(Insert(std::clamp(index, 0, Count())));
    panel_->ArrangeRows();
    return row;
}

int TRowCollection::RowOf(const TAdvCustomToolBar* toolBar) const {
    for (int i = 0; i < Count(); ++i)
        if (Row(i)->Contains(toolBar)) return i;
    return -1;
}

namespace {

std::string Describe(const TRect& r) {
    return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom) + ")";
}

} // namespace

std::string TRowCollection::CheckInvariants() const {
    const bool vertical = panel_->Vertical();
    // Along the row (start) and across it (cross), whatever the panel's orientation.
    auto start = [vertical](const TControl* t) { return vertical ? t->Top() : t->Left(); };
    auto cross = [vertical](const TControl* t) { return vertical ? t->Left() : t->Top(); };
    auto thickness = [vertical](const TControl* t) { return vertical ? t->Width() : t->Height(); };
    auto rowStart = [vertical](const TRect& r) { return vertical ? r.Top : r.Left; };
    auto rowCross = [vertical](const TRect& r) { return vertical ? r.Left : r.Top; };
    auto rowCrossEnd = [vertical](const TRect& r) { return vertical ? r.Right : r.Bottom; };

    std::set<const TAdvCustomToolBar*> seen;
    for (int i = 0; i < Count(); ++i) {
        const TRowCollectionItem* row = Row(i);
        const TRect& r = row->Rect();
        const std::string name = "row " + std::to_string(i) + " " + Describe(r);
        if (i > 0 && rowCrossEnd(Row(i - 1)->Rect()) > rowCross(r))
            return "row " + std::to_string(i - 1) + " " + Describe(Row(i - 1)->Rect()) + " overlaps " + name;
        for (const TAdvCustomToolBar* t : row->ToolBars()) {
            if (!seen.insert(t).second)
                return t->Name() + " is in two places of the rows (again in " + name + ")";
            if (t->RowIndex() != i)
                return t->Name() + " sits in " + name + " but says row " + std::to_string(t->RowIndex());
            if (cross(t) < rowCross(r) || cross(t) + thickness(t) > rowCrossEnd(r))
                return t->Name() + " (thickness " + std::to_string(thickness(t)) + " at " +
                       std::to_string(cross(t)) + ") leaves " + name;
            if (start(t) < rowStart(r) + ToolBarSpacing)
                return t->Name() + " starts at " + std::to_string(start(t)) + ", before the spacing of " +
                       name;
        }
    }
    return {};
}

} // namespace emr
