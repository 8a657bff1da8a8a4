// The dock panel's row operations: each reads the panel's layout from its rows and
// toolbars, runs the row rules on that value (DockLayout.h) and applies the result
// once, so a toolbar is moved at most once per operation and the rules never read
// back what a setter made of their last step.
#include <algorithm>

#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/DockLayout.h"
#include "toolbar/DockLayoutPersistence.h"

namespace emr {

// ---- reading and applying the layout ---------------------------------------------

TDockItem TAdvDockPanel::ItemOf(const TAdvCustomToolBar* t) const {
    const bool v = Vertical();
    const TSizeConstraints* k = t->Constraints();
    TDockItem item;
    item.Start = v ? t->Top() : t->Left();
    item.Length = v ? t->Height() : t->Width();
    item.Cross = v ? t->Left() : t->Top();
    item.Thickness = v ? t->Width() : t->Height();
    item.MinLength = v ? k->MinHeight() : k->MinWidth();
    item.MaxLength = v ? k->MaxHeight() : k->MaxWidth();
    item.MinThickness = v ? k->MinWidth() : k->MinHeight();
    item.MaxThickness = v ? k->MaxWidth() : k->MaxHeight();
    item.RowIndex = t->RowIndex();
    item.FullSize = t->FullSize();
    item.Visible = t->Visible();
    item.Loading = t->HasState(csLoading);
    return item;
}

TDockLayout TAdvDockPanel::ReadLayout() const {
    TDockLayout::TPanel panel;
    panel.Align = align_;
    panel.Length = Vertical() ? Height() : Width();
    panel.Bounds = BoundsRect();
    panel.MinimumSize = minimumSize_;
    panel.LockHeight = lockHeight_;
    panel.LayoutLoaded = layoutLoaded_;
    panel.Loading = Loading();
    TDockLayout layout(panel);
    for (int i = 0; i < RowCount(); ++i) {
        TRowCollectionItem* row = RowAt(i);
        layout.Rows().push_back(TDockRow{row, row->ToolBars(), row->Rect()});
        for (TAdvCustomToolBar* t : row->ToolBars())
            layout.AddItem(t, ItemOf(t));
    }
    for (TAdvCustomToolBar* t : dockedToolBars_)
        layout.AddItem(t, ItemOf(t));
    return layout;
}

void TAdvDockPanel::SyncRows(const TDockLayout& layout) {
    // Rows are only ever inserted and deleted, never reordered: drop the rows the
    // layout no longer has, then insert its new ones where they stand.
    for (int i = RowCount() - 1; i >= 0; --i) {
        const TRowCollectionItem* row = RowAt(i);
        const bool kept = std::any_of(layout.Rows().begin(), layout.Rows().end(),
                                      [row](const TDockRow& r) { return r.Source == row; });
        if (!kept) rows_->Delete(i);
    }
    for (int i = 0; i < layout.RowCount(); ++i) {
        const TDockRow& from = layout.Row(i);
        TRowCollectionItem* row =
            from.Source ? from.Source : static_cast<TRowCollectionItem*>(rows_->Insert(i));
        row->ToolBars() = from.ToolBars;
        row->SetRect(from.Rect);
    }
}

bool TAdvDockPanel::Differs(const TDockLayout& layout) const {
    if (layout.RowCount() != RowCount() || layout.PanelBounds() != BoundsRect()) return true;
    for (int i = 0; i < RowCount(); ++i) {
        const TDockRow& row = layout.Row(i);
        if (row.Source != RowAt(i) || row.ToolBars != RowAt(i)->ToolBars() || row.Rect != RowAt(i)->Rect())
            return true;
    }
    const bool v = Vertical();
    for (TAdvCustomToolBar* t : layout.ToolBars()) {
        const TDockItem& item = layout.Item(t);
        if (item.RowIndex != t->RowIndex() || item.OverflowUpdate || item.Visible != t->Visible() ||
            layout.BoundsOf(t) != t->BoundsRect())
            return true;
        const TSizeConstraints* k = t->Constraints();
        if (item.LengthFixed && (item.MinLength != (v ? k->MinHeight() : k->MinWidth()) ||
                                 item.MaxLength != (v ? k->MaxHeight() : k->MaxWidth())))
            return true;
    }
    return false;
}

void TAdvDockPanel::ApplyLayout(const TDockLayout& layout) {
    // A pass whose rules found everything in place applies nothing.
    if (!Differs(layout)) return;
    ++layoutPasses_;
    const bool wasApplying = applying_;
    applying_ = true;
    SyncRows(layout);
    const bool v = Vertical();
    for (TAdvCustomToolBar* t : layout.ToolBars()) {
        const TDockItem& item = layout.Item(t);
        t->SetRowIndex(item.RowIndex);
        if (item.LengthFixed) {
            TSizeConstraints* k = t->Constraints();
            if (v) {
                k->SetMinHeight(0);
                k->SetMaxHeight(item.MaxLength);
                k->SetMinHeight(item.MinLength);
            } else {
                k->SetMinWidth(0);
                k->SetMaxWidth(item.MaxLength);
                k->SetMinWidth(item.MinLength);
            }
        }
        const TRect bounds = layout.BoundsOf(t);
        const int oldLength = v ? t->Height() : t->Width();
        if (bounds != t->BoundsRect()) t->TakeBounds(bounds);
        if (item.OverflowUpdate && oldLength == item.Length) t->UpdateOverflow();
    }
    const TRect panel = layout.PanelBounds();
    if (panel != BoundsRect()) SetBounds(panel.Left, panel.Top, panel.Width(), panel.Height());
    // Visibility last: showing or hiding a toolbar tells the panel, which finds
    // its rows already as the layout has them.
    for (TAdvCustomToolBar* t : layout.ToolBars()) {
        const TDockItem& item = layout.Item(t);
        if (item.Visible != t->Visible() && t->DockPanel() == this) t->SetVisible(item.Visible);
    }
    applying_ = wasApplying;
}

template <class Rules> auto TAdvDockPanel::LayoutPass(Rules&& rules) {
    TDockLayout layout = ReadLayout();
    if constexpr (std::is_void_v<decltype(rules(layout))>) {
        rules(layout);
        ApplyLayout(layout);
    } else {
        auto result = rules(layout);
        ApplyLayout(layout);
        return result;
    }
}

// ---- measuring -------------------------------------------------------------------

int TAdvDockPanel::RowSize(int rowIndex) const {
    return ReadLayout().RowSize(rowIndex);
}

int TAdvDockPanel::Gap(int rowIndex, const TAdvCustomToolBar* a, const TAdvCustomToolBar* b) const {
    return ReadLayout().Gap(rowIndex, a, b);
}

bool TAdvDockPanel::CanAccept(int rowIndex, const TAdvCustomToolBar* toolBar) const {
    TDockLayout layout = ReadLayout();
    layout.AddItem(const_cast<TAdvCustomToolBar*>(toolBar), ItemOf(toolBar));
    return layout.CanAccept(rowIndex, toolBar);
}

int TAdvDockPanel::FindRowFor(TAdvCustomToolBar* toolBar) {
    TDockLayout layout = ReadLayout();
    layout.AddItem(toolBar, ItemOf(toolBar));
    return layout.FindRowFor(toolBar);
}

bool TAdvDockPanel::NeedsArrange(int rowIndex) const {
    return ReadLayout().NeedsArrange(rowIndex);
}

// ---- arranging -------------------------------------------------------------------

void TAdvDockPanel::ArrangeRows() {
    TLayoutPass pass(this);
    // The panel's own size change while a layout is applied is part of that layout.
    if (applying_) return;
    LayoutPass([](TDockLayout& l) { l.ArrangeRows(); });
}

void TAdvDockPanel::UpdatePanelSize() {
    TLayoutPass pass(this);
    LayoutPass([](TDockLayout& l) { l.UpdatePanelSize(); });
}

void TAdvDockPanel::ArrangeRow(int rowIndex) {
    TLayoutPass pass(this);
    // A toolbar that arranges itself while the panel applies a layout asks for
    // what is being applied.
    if (applying_ || !rows_->ValidIndex(rowIndex)) return;
    LayoutPass([rowIndex](TDockLayout& l) { l.ArrangeRow(rowIndex); });
}

void TAdvDockPanel::ArrangeRowsIfNeeded() {
    TLayoutPass pass(this);
    TDockLayout layout = ReadLayout();
    bool needed = false;
    for (int i = 0; i < layout.RowCount() && !needed; ++i)
        needed = layout.NeedsArrange(i);
    if (!needed) return;
    layout.ArrangeRowsIfNeeded();
    ApplyLayout(layout);
}

// ---- row membership --------------------------------------------------------------

int TAdvDockPanel::AppendToRow(int rowIndex, TAdvCustomToolBar* toolBar) {
    TLayoutPass step(this, TLayoutPass::RowStep);
    return LayoutPass([&](TDockLayout& l) {
        l.AddItem(toolBar, ItemOf(toolBar));
        return l.AppendToRow(rowIndex, toolBar);
    });
}

void TAdvDockPanel::InsertInRow(int rowIndex, TAdvCustomToolBar* toolBar) {
    TLayoutPass step(this, TLayoutPass::RowStep);
    LayoutPass([&](TDockLayout& l) {
        l.AddItem(toolBar, ItemOf(toolBar));
        l.InsertInRow(rowIndex, toolBar);
    });
}

void TAdvDockPanel::RemoveFromRow(int rowIndex, TAdvCustomToolBar* toolBar, bool deleteEmpty) {
    TLayoutPass step(this, TLayoutPass::RowStep);
    if (!rows_->ValidIndex(rowIndex) || !RowAt(rowIndex)->Contains(toolBar)) return;
    LayoutPass([&](TDockLayout& l) { l.RemoveFromRow(rowIndex, toolBar, deleteEmpty); });
}

void TAdvDockPanel::DeleteRowIfEmpty(int rowIndex) {
    TLayoutPass step(this, TLayoutPass::RowStep);
    if (!rows_->ValidIndex(rowIndex) || RowAt(rowIndex)->ToolBarCount() > 0 || !RowsMayChange()) return;
    LayoutPass([rowIndex](TDockLayout& l) { l.DeleteRowIfEmpty(rowIndex); });
}

void TAdvDockPanel::MoveToRow(TAdvCustomToolBar* toolBar, int rowIndex) {
    TLayoutPass pass(this);
    LayoutPass([&](TDockLayout& l) { l.MoveToRow(toolBar, rowIndex); });
}

std::vector<TAdvCustomToolBar*> TAdvDockPanel::SortedToolBars() const {
    const bool vertical = Vertical();
    auto primary = [vertical](const TAdvCustomToolBar* t) { return vertical ? t->Left() : t->Top(); };
    auto secondary = [vertical](const TAdvCustomToolBar* t) { return vertical ? t->Top() : t->Left(); };
    std::vector<TAdvCustomToolBar*> sorted;
    for (TAdvCustomToolBar* t : dockedToolBars_) {
        auto at = std::find_if(sorted.begin(), sorted.end(), [&](const TAdvCustomToolBar* s) {
            return primary(s) > primary(t) || (primary(s) == primary(t) && secondary(s) > secondary(t));
        });
        sorted.insert(at, t);
    }
    return sorted;
}

void TAdvDockPanel::BuildRows(TDockLayout& l, const std::vector<TAdvCustomToolBar*>& sorted) const {
    // Each toolbar asks for its stored place as one still being read, which a
    // neighbour never swaps with.
    for (TAdvCustomToolBar* t : sorted)
        l.Item(t).Loading = true;
    for (TAdvCustomToolBar* t : sorted) {
        const TRect stored = l.BoundsOf(t);
        l.AppendToRow(l.RowCount(), t);
        TRect bounds = l.BoundsOf(t);
        l.RequestBounds(t, TRect::FromBounds(stored.Left, bounds.Top, bounds.Width(), bounds.Height()));
        bounds = l.BoundsOf(t);
        l.RequestBounds(t, TRect::FromBounds(bounds.Left, stored.Top, bounds.Width(), bounds.Height()));
    }
    for (TAdvCustomToolBar* t : sorted)
        l.Item(t).Loading = false;
}

// ---- drags ----------------------------------------------------------------------

TDockLayout TAdvDockPanel::Layout() const {
    return ReadLayout();
}

void TAdvDockPanel::CommitLayout(const TDockLayout& layout) {
    TLayoutPass pass(this);
    ApplyLayout(layout);
}

bool TAdvDockPanel::CanPlug(TAdvCustomToolBar* toolBar) {
    return !(lockHeight_ && layoutLoaded_) || FindRowFor(toolBar) >= 0;
}

bool TAdvDockPanel::Plug(TAdvCustomToolBar* toolBar) {
    if (!CanPlug(toolBar)) return false;
    toolBar->SetParent(this);
    return true;
}

// ---- after loading ---------------------------------------------------------------

void TAdvDockPanel::AfterLoad() {
    TLayoutPass pass(this);
    // The toolbars take the sizes their controls have come to before the rows
    // (and the saved layout) place them.
    for (TAdvCustomToolBar* t : std::vector<TAdvCustomToolBar*>(dockedToolBars_))
        t->FinishPendingArrangement();
    const bool restore = persistence_->Enabled() && !HasState(csDesigning);
    // The toolbars' own saved layouts and the panel's are read first: they may
    // float a toolbar or take one from another panel, which is no row work.
    const TSavedDockLayout saved = restore ? layoutPersistence_->Read() : TSavedDockLayout{};
    // Those the saved layout took from another panel, too.
    for (TAdvCustomToolBar* t : std::vector<TAdvCustomToolBar*>(dockedToolBars_))
        t->FinishPendingArrangement();
    afterLoadPending_ = false;
    const std::vector<TAdvCustomToolBar*> sorted = SortedToolBars();
    dockedToolBars_ = sorted;
    LayoutPass([&](TDockLayout& l) {
        BuildRows(l, sorted);
        TDockLayoutPersistence::Restore(saved, l, invisibleToolBars_);
    });
    layoutLoaded_ = true;
    if (saved.Present) layoutPersistence_->Finish();
}

void TAdvDockPanel::LoadDockLayout() {
    TLayoutPass pass(this);
    const TSavedDockLayout saved = layoutPersistence_->Read();
    if (!saved.Present) return;
    LayoutPass([&](TDockLayout& l) { TDockLayoutPersistence::Restore(saved, l, invisibleToolBars_); });
    layoutPersistence_->Finish();
}

// ---- registration ----------------------------------------------------------------

int TAdvDockPanel::AddToolBar(TAdvCustomToolBar* toolBar) {
    TLayoutPass pass(this);
    int row = -1;
    if (lockHeight_ && layoutLoaded_) {
        row = FindRowFor(toolBar);
        if (row < 0) return -1;
    }
    toolBar->SetPosition(align_);
    if (std::find(dockedToolBars_.begin(), dockedToolBars_.end(), toolBar) == dockedToolBars_.end())
        dockedToolBars_.push_back(toolBar);
    toolBar->FreeNotification(this);
    int result = 0;
    if (lockHeight_ && layoutLoaded_)
        result = AppendToRow(row, toolBar);
    else if (!Building())
        result = AppendToRow(RowCount(), toolBar);
    TPersistence* p = toolBar->Persistence();
    p->SetEnabled(persistence_->Enabled());
    p->SetKey(persistence_->Key());
    p->SetLocation(persistence_->Location());
    return result;
}

void TAdvDockPanel::RemoveToolBar(TAdvCustomToolBar* toolBar) {
    TLayoutPass pass(this);
    // The first toolbar to go while the whole window goes saves the panel's
    // layout, before any of them has left its row.
    if (Destroying() && persistence_->Enabled() && !HasState(csDesigning))
        layoutPersistence_->SaveOnDestroy();
    const bool inRow = rows_->RowOf(toolBar) >= 0;
    if (inRow) {
        const int index = toolBar->RowIndex();
        const bool loading = Building();
        LayoutPass([&](TDockLayout& l) {
            if (!loading && l.ValidRow(index)) l.RemoveFromRow(index, toolBar, true);
            // Also drop it from any row that still lists it under a stale index.
            const int stale = l.RowOf(toolBar);
            if (stale >= 0) l.RemoveFromRow(stale, toolBar, !loading);
        });
    }
    std::erase(dockedToolBars_, toolBar);
    std::erase(invisibleToolBars_, toolBar);
    RemoveFreeNotification(toolBar);
}

void TAdvDockPanel::ToolBarVisibilityChanged(TAdvCustomToolBar* toolBar) {
    TLayoutPass pass(this);
    const bool visible = toolBar->Visible();
    if (visible)
        std::erase(invisibleToolBars_, toolBar);
    else if (std::find(invisibleToolBars_.begin(), invisibleToolBars_.end(), toolBar) ==
             invisibleToolBars_.end())
        invisibleToolBars_.push_back(toolBar);

    const int index = toolBar->RowIndex();
    if (!visible) {
        if (rows_->ValidIndex(index) && RowAt(index)->Contains(toolBar))
            LayoutPass([&](TDockLayout& l) {
                l.RemoveFromRow(index, toolBar, true);
                // A hidden toolbar keeps its row index.
                l.Item(toolBar).RowIndex = index;
            });
        toolBar->SetRowIndex(index);
        return;
    }
    if (rows_->RowOf(toolBar) >= 0) return;
    LayoutPass([&](TDockLayout& l) {
        l.AddItem(toolBar, ItemOf(toolBar));
        const bool rowAccepts = l.ValidRow(index) && l.CanAccept(index, toolBar);
        if (rowAccepts)
            l.InsertInRow(index, toolBar);
        else if (lockHeight_ && l.RowCount() > 0)
            l.AppendToRow(l.RowCount() - 1, toolBar);
        else
            l.AppendToRow(l.RowCount(), toolBar);
    });
}

void TAdvDockPanel::GiveFullRow(TAdvCustomToolBar* toolBar) {
    TLayoutPass pass(this);
    if (!rows_->ValidIndex(toolBar->RowIndex())) return;
    LayoutPass([&](TDockLayout& l) { l.GiveFullRow(toolBar); });
}

// ---- bounds requests -------------------------------------------------------------

void TAdvDockPanel::AdjustToolBarBounds(TAdvCustomToolBar* toolBar, int& left, int& top, int& width,
                                        int& height) {
    TLayoutPass pass(this);
    // While a layout is applied, a toolbar's bounds change is the layout's own.
    if (applying_ || Loading() || !toolBar->Visible()) return;
    if (!rows_->ValidIndex(toolBar->RowIndex()) || !RowAt(toolBar->RowIndex())->Contains(toolBar)) return;
    TRect bounds = TRect::FromBounds(left, top, width, height);
    // A toolbar asked to stay where it is (the panel's own resize passes every
    // child its bounds again) stays where its row put it.
    if (bounds == toolBar->BoundsRect()) return;
    LayoutPass([&](TDockLayout& l) { l.AdjustToolBarBounds(toolBar, bounds); });
    left = bounds.Left;
    top = bounds.Top;
    width = bounds.Width();
    height = bounds.Height();
}

void TAdvDockPanel::ChangeRow(TAdvCustomToolBar* t, int& p, int& h) {
    TLayoutPass pass(this);
    LayoutPass([&](TDockLayout& l) { l.ChangeRow(t, p, h); });
}

void TAdvDockPanel::MoveWithinRow(int rowIndex, TAdvCustomToolBar* t, int& q, int& w) {
    TLayoutPass pass(this);
    LayoutPass([&](TDockLayout& l) { l.MoveWithinRow(rowIndex, t, q, w); });
}

} // namespace emr
