#include "toolbar/RowCollection.h"

#include <algorithm>

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

} // namespace emr
