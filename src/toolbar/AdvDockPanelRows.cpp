// The row rules of the dock panel: arranging rows, squeezing and growing toolbars
// within a row, and moving toolbars between rows.
#include <algorithm>
#include <numeric>

#include "framework/core/Exception.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/DockLayoutPersistence.h"

namespace emr {

namespace {
constexpr int kSpacing = TRowCollection::ToolBarSpacing;
}

/// Start, length, cross position and thickness of toolbars and rows along the
/// panel's axis, so every rule is written once for both orientations.
class TAdvDockPanel::TAxis {
public:
    explicit TAxis(bool vertical) : v_(vertical) {}
    int Start(const TControl* c) const { return v_ ? c->Top() : c->Left(); }
    int Length(const TControl* c) const { return v_ ? c->Height() : c->Width(); }
    int End(const TControl* c) const { return Start(c) + Length(c); }
    int Cross(const TControl* c) const { return v_ ? c->Left() : c->Top(); }
    int Thickness(const TControl* c) const { return v_ ? c->Width() : c->Height(); }
    int MinLength(const TControl* c) const {
        return v_ ? c->Constraints()->MinHeight() : c->Constraints()->MinWidth();
    }
    int MaxLength(const TControl* c) const {
        return v_ ? c->Constraints()->MaxHeight() : c->Constraints()->MaxWidth();
    }
    void SetMinLength(const TControl* c, int value) const {
        v_ ? c->Constraints()->SetMinHeight(value) : c->Constraints()->SetMinWidth(value);
    }
    void SetMaxLength(const TControl* c, int value) const {
        v_ ? c->Constraints()->SetMaxHeight(value) : c->Constraints()->SetMaxWidth(value);
    }
    int RowStart(const TRect& r) const { return v_ ? r.Top : r.Left; }
    int RowEnd(const TRect& r) const { return v_ ? r.Bottom : r.Right; }
    int RowCross(const TRect& r) const { return v_ ? r.Left : r.Top; }
    int RowCrossEnd(const TRect& r) const { return v_ ? r.Right : r.Bottom; }
    /// A row rectangle from its cross span and its start and end along the row.
    TRect MakeRow(int crossStart, int crossEnd, int start, int end) const {
        return v_ ? TRect{crossStart, start, crossEnd, end} : TRect{start, crossStart, end, crossEnd};
    }

private:
    bool v_;
};

/// Sets a toolbar's bounds-adjustment-suppressed flag while the panel moves it and
/// puts the earlier value back afterwards.
class TAdvDockPanel::TMoveGuard {
public:
    TMoveGuard(TAdvDockPanel* panel, TAdvCustomToolBar* t)
        : panel_(panel), t_(t), wasSuppressed_(t->BoundsAdjustmentSuppressed()),
          wasMoving_(panel->movingToolBar_) {
        t->SetBoundsAdjustmentSuppressed(true);
        panel->movingToolBar_ = t;
    }
    ~TMoveGuard() {
        t_->SetBoundsAdjustmentSuppressed(wasSuppressed_);
        panel_->movingToolBar_ = wasMoving_;
    }
    TMoveGuard(const TMoveGuard&) = delete;
    TMoveGuard& operator=(const TMoveGuard&) = delete;

private:
    TAdvDockPanel* panel_;
    TAdvCustomToolBar* t_;
    bool wasSuppressed_;
    const TAdvCustomToolBar* wasMoving_;
};

// ---- toolbar moves -----------------------------------------------------------

int TAdvDockPanel::Shrinkable(const TAdvCustomToolBar* t) const {
    TAxis a(Vertical());
    return a.Length(t) - a.MinLength(t);
}

int TAdvDockPanel::Growable(const TAdvCustomToolBar* t) const {
    TAxis a(Vertical());
    return a.MaxLength(t) - a.Length(t);
}

void TAdvDockPanel::SetToolBarStart(TAdvCustomToolBar* t, int start) {
    TMoveGuard guard(this, t);
    if (Vertical())
        t->SetBounds(t->Left(), start, t->Width(), t->Height());
    else
        t->SetBounds(start, t->Top(), t->Width(), t->Height());
}

void TAdvDockPanel::SetToolBarCross(TAdvCustomToolBar* t, int cross) {
    TMoveGuard guard(this, t);
    if (Vertical())
        t->SetBounds(cross, t->Top(), t->Width(), t->Height());
    else
        t->SetBounds(t->Left(), cross, t->Width(), t->Height());
}

void TAdvDockPanel::SetToolBarLength(TAdvCustomToolBar* t, int length) {
    TMoveGuard guard(this, t);
    if (Vertical())
        t->SetBounds(t->Left(), t->Top(), t->Width(), length);
    else
        t->SetBounds(t->Left(), t->Top(), length, t->Height());
}

void TAdvDockPanel::SetToolBarThickness(TAdvCustomToolBar* t, int thickness) {
    TMoveGuard guard(this, t);
    if (Vertical())
        t->SetBounds(t->Left(), t->Top(), thickness, t->Height());
    else
        t->SetBounds(t->Left(), t->Top(), t->Width(), thickness);
}

void TAdvDockPanel::Shift(TAdvCustomToolBar* t, int delta) {
    if (delta != 0) SetToolBarStart(t, TAxis(Vertical()).Start(t) + delta);
}

void TAdvDockPanel::Grow(TAdvCustomToolBar* t, int delta) {
    if (delta != 0) SetToolBarLength(t, TAxis(Vertical()).Length(t) + delta);
}

void TAdvDockPanel::GrowBack(TAdvCustomToolBar* t, int delta) {
    if (delta == 0) return;
    TAxis a(Vertical());
    TMoveGuard guard(this, t);
    const int start = a.Start(t) - delta;
    const int length = a.Length(t) + delta;
    if (Vertical())
        t->SetBounds(t->Left(), start, t->Width(), length);
    else
        t->SetBounds(start, t->Top(), length, t->Height());
}

void TAdvDockPanel::ShiftRange(int rowIndex, int from, int to, int delta) {
    TRowCollectionItem* row = RowAt(rowIndex);
    for (int i = std::max(from, 0); i <= to && i < row->ToolBarCount(); ++i)
        Shift(row->ToolBar(i), delta);
}

void TAdvDockPanel::MakeFullSize(TAdvCustomToolBar* t, int rowIndex) {
    TAxis a(Vertical());
    const TRect& r = RowAt(rowIndex)->Rect();
    const int length = a.RowEnd(r) - a.RowStart(r) - 2 * kSpacing;
    TMoveGuard guard(this, t);
    a.SetMinLength(t, 0);
    a.SetMaxLength(t, length);
    a.SetMinLength(t, length);
    SetToolBarStart(t, a.RowStart(r) + kSpacing);
    SetToolBarLength(t, length);
}

// ---- measuring ---------------------------------------------------------------

int TAdvDockPanel::RowSize(int rowIndex) const {
    TAxis a(Vertical());
    int size = MinRowSize;
    for (const TAdvCustomToolBar* t : RowAt(rowIndex)->ToolBars())
        size = std::max(size, a.Thickness(t));
    return size;
}

int TAdvDockPanel::Gap(int rowIndex, const TAdvCustomToolBar* a, const TAdvCustomToolBar* b) const {
    TAxis x(Vertical());
    const TRect& r = RowAt(rowIndex)->Rect();
    if (a && b) return x.Start(b) - x.End(a) - kSpacing;
    if (a) return x.RowEnd(r) - x.End(a) - kSpacing;
    if (b) return x.Start(b) - x.RowStart(r) - kSpacing;
    return 0;
}

bool TAdvDockPanel::CanAccept(int rowIndex, const TAdvCustomToolBar* toolBar) const {
    const TRowCollectionItem* row = RowAt(rowIndex);
    if (row->ToolBarCount() > 0 && row->ToolBar(0)->FullSize()) return false;
    if (toolBar->FullSize()) return row->ToolBarCount() == 0;
    return true;
}

int TAdvDockPanel::FindRowFor(TAdvCustomToolBar* toolBar) {
    const bool fromLast = align_ == TDockAlign::daLeft || align_ == TDockAlign::daTop;
    const int n = RowCount();
    for (int k = 0; k < n; ++k) {
        const int i = fromLast ? n - 1 - k : k;
        if (CanAccept(i, toolBar)) return i;
    }
    return -1;
}

bool TAdvDockPanel::NeedsArrange(int rowIndex) const {
    TAxis a(Vertical());
    const TRowCollectionItem* row = RowAt(rowIndex);
    const int n = row->ToolBarCount();
    if (n == 0) return false;
    const TRect& r = row->Rect();
    const TAdvCustomToolBar* first = row->ToolBar(0);
    if (first->FullSize())
        return a.Length(first) != a.RowEnd(r) - a.RowStart(r) - 2 * kSpacing ||
               a.Start(first) != a.RowStart(r) + kSpacing;
    int sum = 0;
    for (int k = 0; k < n; ++k) {
        const int g = Gap(rowIndex, row->ToolBar(k), k + 1 < n ? row->ToolBar(k + 1) : nullptr);
        if (g < 0) return true;
        sum += g;
    }
    if (sum < 1) return false;
    return std::any_of(row->ToolBars().begin(), row->ToolBars().end(),
                       [this](const TAdvCustomToolBar* t) { return Growable(t) > 0; });
}

// ---- arranging ---------------------------------------------------------------

void TAdvDockPanel::ArrangeRows() {
    TLayoutPass pass(this);
    if (arrangingRows_ > 0) return;
    ++arrangingRows_;
    TAxis a(Vertical());
    const int crossLength = Vertical() ? Height() : Width();
    int y = TRowCollection::RowGap;
    for (int i = 0; i < RowCount(); ++i) {
        const int s = RowSize(i);
        RowAt(i)->SetRect(a.MakeRow(y, y + s + TRowCollection::RowGap, RowInset, crossLength - RowInset));
        ArrangeRow(i);
        y += RowSize(i) + TRowCollection::RowGap;
    }
    --arrangingRows_;
    UpdatePanelSize();
}

void TAdvDockPanel::UpdatePanelSize() {
    if (!RowsMayChange()) return;
    const int n = RowCount();
    if (Vertical()) {
        const int e = n > 0 ? RowAt(n - 1)->Rect().Right + RowInset : minimumSize_;
        if (align_ == TDockAlign::daRight && e > Width())
            SetBounds(Left() - (e - Width()), Top(), e, Height());
        else
            SetWidth(e);
    } else {
        const int e = n > 0 ? RowAt(n - 1)->Rect().Bottom + LastRowMargin : minimumSize_;
        if (align_ == TDockAlign::daBottom && e > Height())
            SetBounds(Left(), Top() - (e - Height()), Width(), e);
        else
            SetHeight(e);
    }
}

void TAdvDockPanel::PullBackAndShrink(int rowIndex, int k, int& g) {
    TRowCollectionItem* row = RowAt(rowIndex);
    for (int j = k; j >= 0 && g < 0; --j) {
        const int d = std::min(Gap(rowIndex, j > 0 ? row->ToolBar(j - 1) : nullptr, row->ToolBar(j)), -g);
        if (d > 0) {
            ShiftRange(rowIndex, j, k, -d);
            g += d;
        }
    }
    for (int j = k; j >= 0 && g < 0; --j) {
        const int c = std::min(Shrinkable(row->ToolBar(j)), -g);
        if (c > 0) {
            Grow(row->ToolBar(j), -c);
            ShiftRange(rowIndex, j + 1, k, -c);
            g += c;
        }
    }
}

void TAdvDockPanel::ArrangeRow(int rowIndex) {
    TLayoutPass pass(this);
    if (!rows_->ValidIndex(rowIndex)) return;
    TAxis a(Vertical());
    TRowCollectionItem* row = RowAt(rowIndex);
    const int n = row->ToolBarCount();
    const TRect& r = row->Rect();
    auto next = [&](int k) { return k + 1 < n ? row->ToolBar(k + 1) : nullptr; };
    auto prev = [&](int j) { return j > 0 ? row->ToolBar(j - 1) : nullptr; };

    for (int k = 0; k < n; ++k) {
        TAdvCustomToolBar* t = row->ToolBar(k);
        SetToolBarCross(t, a.RowCross(r));
        t->SetRowIndex(rowIndex);
        if (k == 0 && t->FullSize()) {
            MakeFullSize(t, rowIndex);
            break;
        }
        int g = Gap(rowIndex, t, next(k));
        if (g > 0) {
            for (int j = k; j >= 0 && g >= 1; --j) {
                const int c = std::min(Growable(row->ToolBar(j)), g);
                if (c > 0) {
                    Grow(row->ToolBar(j), c);
                    ShiftRange(rowIndex, j + 1, k, c);
                    g -= c;
                }
            }
            for (int j = k + 1; j < n && g >= 1; ++j) {
                const int d = std::min(Growable(row->ToolBar(j)), g);
                if (d > 0) {
                    Grow(row->ToolBar(j), d);
                    g -= d;
                }
            }
        } else if (g < 0) {
            PullBackAndShrink(rowIndex, k, g);
        }
        // Regrow T into free room before it; its end stays where it is.
        int growable = Growable(t);
        for (int j = k; j >= 0 && growable > 0; --j) {
            const int d = std::min(Gap(rowIndex, prev(j), row->ToolBar(j)), growable);
            if (d > 0) {
                ShiftRange(rowIndex, j, k, -d);
                Grow(t, d);
                growable -= d;
            }
        }
    }

    for (int l = 0; l < n; ++l) {
        TAdvCustomToolBar* t = row->ToolBar(l);
        if (l == 0) {
            const int g = Gap(rowIndex, nullptr, t);
            if (g < 0) Shift(t, -g);
        }
        if (l == n - 1) {
            int g = Gap(rowIndex, t, nullptr);
            if (g < 0) PullBackAndShrink(rowIndex, l, g);
        } else {
            const int g = Gap(rowIndex, t, row->ToolBar(l + 1));
            if (g < 0) Shift(row->ToolBar(l + 1), -g);
        }
    }
}

void TAdvDockPanel::ArrangeRowsIfNeeded() {
    TLayoutPass pass(this);
    for (int i = 0; i < RowCount(); ++i)
        if (NeedsArrange(i)) ArrangeRow(i);
}

// ---- row membership ----------------------------------------------------------

int TAdvDockPanel::AppendToRow(int rowIndex, TAdvCustomToolBar* toolBar) {
    TLayoutPass step(this, TLayoutPass::RowStep);
    if (rowIndex == RowCount()) rows_->AddRow();
    if (!rows_->ValidIndex(rowIndex)) return -1;
    TRowCollectionItem* row = RowAt(rowIndex);
    if (row->Contains(toolBar) || !CanAccept(rowIndex, toolBar)) return -1;
    TAxis a(Vertical());
    row->ToolBars().push_back(toolBar);
    {
        TMoveGuard guard(this, toolBar);
        const TRect& r = row->Rect();
        if (toolBar->FullSize()) {
            MakeFullSize(toolBar, rowIndex);
            toolBar->UpdateOverflow();
        } else if (row->ToolBarCount() == 1) {
            SetToolBarStart(toolBar, Vertical() ? a.RowEnd(r) - kSpacing - a.Length(toolBar)
                                                : a.RowStart(r) + kSpacing);
        } else {
            const TAdvCustomToolBar* before = row->ToolBar(row->ToolBarCount() - 2);
            SetToolBarStart(toolBar, a.End(before) + kSpacing);
        }
    }
    toolBar->SetRowIndex(rowIndex);
    ArrangeRows();
    return row->IndexOf(toolBar);
}

void TAdvDockPanel::InsertInRow(int rowIndex, TAdvCustomToolBar* toolBar) {
    TLayoutPass step(this, TLayoutPass::RowStep);
    if (!rows_->ValidIndex(rowIndex)) return;
    TRowCollectionItem* row = RowAt(rowIndex);
    if (row->Contains(toolBar) || toolBar->FullSize() || !CanAccept(rowIndex, toolBar)) return;
    TAxis a(Vertical());
    {
        TMoveGuard guard(this, toolBar);
        auto& list = row->ToolBars();
        auto at = std::find_if(list.begin(), list.end(),
                               [&](const TAdvCustomToolBar* t) { return a.Start(t) > a.Start(toolBar); });
        list.insert(at, toolBar);
    }
    toolBar->SetRowIndex(rowIndex);
    ArrangeRows();
}

void TAdvDockPanel::RemoveFromRow(int rowIndex, TAdvCustomToolBar* toolBar, bool deleteEmpty) {
    TLayoutPass step(this, TLayoutPass::RowStep);
    if (!rows_->ValidIndex(rowIndex)) return;
    auto& list = RowAt(rowIndex)->ToolBars();
    auto it = std::find(list.begin(), list.end(), toolBar);
    if (it == list.end()) return;
    list.erase(it);
    ArrangeRow(rowIndex);
    if (deleteEmpty) DeleteRowIfEmpty(rowIndex);
    // A row is as thick as its thickest toolbar: when that one has left, the rows
    // after it move up and the panel gets thinner.
    if (rows_->ValidIndex(rowIndex) && RowThickness(rowIndex) != RowSize(rowIndex) + TRowCollection::RowGap)
        ArrangeRows();
}

void TAdvDockPanel::DeleteRowIfEmpty(int rowIndex) {
    TLayoutPass step(this, TLayoutPass::RowStep);
    if (!rows_->ValidIndex(rowIndex) || RowAt(rowIndex)->ToolBarCount() > 0 || !RowsMayChange()) return;
    rows_->Delete(rowIndex);
    // Toolbars of later rows now sit one row earlier.
    for (int i = rowIndex; i < RowCount(); ++i)
        for (TAdvCustomToolBar* t : RowAt(i)->ToolBars())
            t->SetRowIndex(i);
    ArrangeRows();
}

void TAdvDockPanel::MoveToRow(TAdvCustomToolBar* toolBar, int rowIndex) {
    TLayoutPass pass(this);
    if (!rows_->ValidIndex(rowIndex)) throw Exception("Invalid Row Index");
    if (rowIndex == toolBar->RowIndex() || !CanAccept(rowIndex, toolBar)) return;
    const int old = toolBar->RowIndex();
    RemoveFromRow(old, toolBar, false);
    AppendToRow(rowIndex, toolBar);
    DeleteRowIfEmpty(old);
}

// ---- registration ------------------------------------------------------------

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
    else if (!Loading())
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
    if (!Loading() && rows_->ValidIndex(toolBar->RowIndex()))
        RemoveFromRow(toolBar->RowIndex(), toolBar, true);
    // Also drop it from any row that still lists it under a stale index.
    const int stale = rows_->RowOf(toolBar);
    if (stale >= 0) RemoveFromRow(stale, toolBar, !Loading());
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
        if (rows_->ValidIndex(index)) RemoveFromRow(index, toolBar, true);
        toolBar->SetRowIndex(index);
        return;
    }
    if (rows_->RowOf(toolBar) >= 0) return;
    const bool rowAccepts = rows_->ValidIndex(index) && CanAccept(index, toolBar);
    if (rowAccepts)
        InsertInRow(index, toolBar);
    else if (lockHeight_ && RowCount() > 0)
        AppendToRow(RowCount() - 1, toolBar);
    else
        AppendToRow(RowCount(), toolBar);
}

void TAdvDockPanel::GiveFullRow(TAdvCustomToolBar* toolBar) {
    TLayoutPass pass(this);
    const int i = toolBar->RowIndex();
    if (!rows_->ValidIndex(i)) return;
    RemoveFromRow(i, toolBar, true);
    rows_->InsertRow(i);
    AppendToRow(i, toolBar);
    ArrangeRow(i);
}

// ---- bounds requests ---------------------------------------------------------

void TAdvDockPanel::AdjustToolBarBounds(TAdvCustomToolBar* toolBar, int& left, int& top, int& width,
                                        int& height) {
    TLayoutPass pass(this);
    if (Loading() || !toolBar->Visible()) return;
    if (!rows_->ValidIndex(toolBar->RowIndex()) || !RowAt(toolBar->RowIndex())->Contains(toolBar)) return;
    if (Vertical()) {
        ChangeRow(toolBar, left, width);
        MoveWithinRow(toolBar->RowIndex(), toolBar, top, height);
    } else {
        ChangeRow(toolBar, top, height);
        MoveWithinRow(toolBar->RowIndex(), toolBar, left, width);
    }
}

void TAdvDockPanel::ChangeRow(TAdvCustomToolBar* t, int& p, int& h) {
    TAxis a(Vertical());
    const int old = t->RowIndex();
    const int top = a.RowCross(RowAt(old)->Rect());
    const int c = RowAt(old)->ToolBarCount();

    // Takes T out of its row and gives it a new row just before `before` (a row of
    // the collection), or a new last row when `before` is null. Rows are named by
    // pointer because deleting T's emptied row shifts the indices after it.
    auto moveToNewRowBefore = [&](TRowCollectionItem* before) {
        RemoveFromRow(t->RowIndex(), t, true);
        const int index = before ? before->Index() : -1;
        if (index >= 0) {
            rows_->InsertRow(index);
            AppendToRow(index, t);
        } else {
            AppendToRow(RowCount(), t);
        }
    };
    auto rowAfter = [&](int index) { return index + 1 < RowCount() ? RowAt(index + 1) : nullptr; };

    if (p >= top - 5 && p <= top - 3 && c >= 2) {
        // A new row directly above.
        if (RowsMayChange()) moveToNewRowBefore(RowAt(old));
        p = a.Cross(t);
    } else if (p <= top - 7 && old > 0) {
        for (int i = 0; i < RowCount(); ++i) {
            const TRect& r = RowAt(i)->Rect();
            if (i == old || a.RowCross(r) > p || p >= a.RowCrossEnd(r)) continue;
            if (CanAccept(i, t))
                MoveToRow(t, i);
            else if (RowsMayChange())
                moveToNewRowBefore(RowAt(i));
            break;
        }
        p = a.Cross(t);
    } else if (p >= top + 3 && p <= top + 5 && c >= 2) {
        // A new row directly below.
        if (RowsMayChange()) moveToNewRowBefore(rowAfter(old));
        p = a.Cross(t);
    } else if (p >= top + 6 && old < RowCount() - 1) {
        for (int i = old + 1; i < RowCount(); ++i) {
            if (a.RowCrossEnd(RowAt(i)->Rect()) <= p) continue;
            if (CanAccept(i, t))
                MoveToRow(t, i);
            else if (RowsMayChange())
                moveToNewRowBefore(rowAfter(i));
            break;
        }
        p = a.Cross(t);
    } else {
        p = top;
    }

    if (h != a.Thickness(t)) {
        SetToolBarThickness(t, h);
        ArrangeRows();
    }
}

void TAdvDockPanel::MoveWithinRow(int rowIndex, TAdvCustomToolBar* t, int& q, int& w) {
    TAxis a(Vertical());
    if (!rows_->ValidIndex(rowIndex) || !RowAt(rowIndex)->Contains(t))
        throw Exception("Invalid ToolBar Index");
    if (q < a.Start(t)) {
        if (MoveBack(rowIndex, t, q)) w = a.Length(t);
    } else if (q > a.Start(t)) {
        MoveForward(rowIndex, t, q);
        w = a.Length(t);
    } else {
        ChangeLength(rowIndex, t, w);
        q = a.Start(t);
    }
}

bool TAdvDockPanel::MoveBack(int rowIndex, TAdvCustomToolBar* t, int& q) {
    TAxis a(Vertical());
    TRowCollectionItem* row = RowAt(rowIndex);
    const int k = row->IndexOf(t);
    const int n = row->ToolBarCount();
    q = std::max(q, a.RowStart(row->Rect()) + kSpacing);
    int r = a.Start(t) - q;
    // The first toolbar of a row takes the clamped request as it is.
    if (k == 0) return false;

    for (int j = k; j >= 0 && r >= 1; --j) {
        int m = Gap(rowIndex, j > 0 ? row->ToolBar(j - 1) : nullptr, row->ToolBar(j));
        if (m > 0) {
            m = std::min(m, r);
            r -= m;
            ShiftRange(rowIndex, j, k, -m);
        }
    }

    // Squeeze: shrink predecessors and hand the room to T and the toolbars after it.
    if (r > 0 && Gap(rowIndex, row->ToolBar(n - 1), nullptr) < 1) {
        for (int j = k - 1; j >= 0 && r >= 1; --j) {
            int growable = 0;
            for (int v = k; v < n; ++v)
                growable += std::max(Growable(row->ToolBar(v)), 0);
            const int o = std::min({r, Shrinkable(row->ToolBar(j)), growable});
            if (o <= 0) continue;
            Grow(row->ToolBar(j), -o);
            ShiftRange(rowIndex, j + 1, k - 1, -o);
            int rest = o;
            for (int v = k; v < n && rest > 0; ++v) {
                const int x = std::min(rest, Growable(row->ToolBar(v)));
                if (x <= 0) continue;
                GrowBack(row->ToolBar(v), x);
                if (v > k) ShiftRange(rowIndex, k + 1, v - 1, -x);
                rest -= x;
            }
            r -= o;
        }
    }

    // Swap with the predecessor once T has come close enough to its start.
    if (r > 0 && !t->HasState(csLoading)) {
        TAdvCustomToolBar* predecessor = row->ToolBar(k - 1);
        if (a.Start(predecessor) + 5 >= a.Start(t) - r) {
            std::swap(row->ToolBars()[static_cast<std::size_t>(k - 1)],
                      row->ToolBars()[static_cast<std::size_t>(k)]);
            ArrangeRow(rowIndex);
        }
    }
    q = a.Start(t);
    return true;
}

void TAdvDockPanel::MoveForward(int rowIndex, TAdvCustomToolBar* t, int& q) {
    TAxis a(Vertical());
    TRowCollectionItem* row = RowAt(rowIndex);
    const int k = row->IndexOf(t);
    const int n = row->ToolBarCount();
    int o = q - a.Start(t);

    for (int j = k; j < n && o >= 1; ++j) {
        int room = Gap(rowIndex, row->ToolBar(j), j + 1 < n ? row->ToolBar(j + 1) : nullptr);
        if (room > 0) {
            room = std::min(room, o);
            o -= room;
            ShiftRange(rowIndex, k, j, room);
        }
    }

    // Squeeze: shrink the toolbars from the end of the row and hand the room to T's predecessors.
    int before = 0;
    for (int j = k; j >= 0; --j)
        before += Gap(rowIndex, j > 0 ? row->ToolBar(j - 1) : nullptr, row->ToolBar(j));
    if (o > 0 && before < 1) {
        int growable = 0;
        for (int j = 0; j < k; ++j)
            growable += std::max(Growable(row->ToolBar(j)), 0);
        int e = std::min(o, growable);
        for (int f = n - 1; f >= k && e >= 1; --f) {
            const int shrink = std::min(e, Shrinkable(row->ToolBar(f)));
            if (shrink <= 0) continue;
            GrowBack(row->ToolBar(f), -shrink);
            ShiftRange(rowIndex, k + 1, f - 1, shrink);
            int rest = shrink;
            for (int j = k - 1; j >= 0 && rest > 0; --j) {
                const int x = std::min(rest, Growable(row->ToolBar(j)));
                if (x <= 0) continue;
                Grow(row->ToolBar(j), x);
                rest -= x;
            }
            e -= shrink;
        }
    }
    q = a.Start(t);
}

void TAdvDockPanel::ChangeLength(int rowIndex, TAdvCustomToolBar* t, int& w) {
    TAxis a(Vertical());
    TRowCollectionItem* row = RowAt(rowIndex);
    const int k = row->IndexOf(t);
    const int n = row->ToolBarCount();
    if (w < a.Length(t)) {
        // A lone toolbar is not shrunk on request.
        if (n == 1) {
            ArrangeRow(rowIndex);
            w = a.Length(t);
        }
        return;
    }
    if (w == a.Length(t)) return;
    int o = w - a.Length(t);
    for (int j = k; j < n && o >= 1; ++j) {
        int room = Gap(rowIndex, row->ToolBar(j), j + 1 < n ? row->ToolBar(j + 1) : nullptr);
        if (room > 0) {
            room = std::min(room, o);
            ShiftRange(rowIndex, k + 1, j, room);
            Grow(t, room);
            o -= room;
        }
    }
    int before = 0;
    for (int j = k; j >= 0; --j)
        before += Gap(rowIndex, j > 0 ? row->ToolBar(j - 1) : nullptr, row->ToolBar(j));
    if (o > 0 && before > 0) {
        for (int j = k; j >= 0 && o >= 1; --j) {
            int room = Gap(rowIndex, j > 0 ? row->ToolBar(j - 1) : nullptr, row->ToolBar(j));
            if (room > 0) {
                room = std::min(room, o);
                ShiftRange(rowIndex, j, k, -room);
                Grow(t, room);
                o -= room;
            }
        }
    }
    w = a.Length(t);
}

} // namespace emr
