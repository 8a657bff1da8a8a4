// The row rules of the dock panel on its layout value: arranging rows, squeezing
// and growing toolbars within a row, and moving toolbars between rows. Every rule
// is written for a horizontal panel through start/length and cross/thickness, so
// a vertical panel runs the same code.
#include "toolbar/DockLayout.h"

#include <algorithm>
#include <stdexcept>

#include "framework/core/Exception.h"

namespace emr {

namespace {

// A size within the limits a control applies on every bounds change (0: no limit;
// a maximum below the minimum loses).
int Constrain(int value, int min, int max) {
    value = std::max(value, 0);
    if (max > 0 && value > max) value = max;
    if (min > 0 && value < min) value = min;
    return value;
}

} // namespace

int TDockRow::IndexOf(const TAdvCustomToolBar* toolBar) const {
    auto it = std::find(ToolBars.begin(), ToolBars.end(), toolBar);
    return it == ToolBars.end() ? -1 : static_cast<int>(it - ToolBars.begin());
}

// ---- contents ----------------------------------------------------------------

int TDockLayout::RowOf(const TAdvCustomToolBar* toolBar) const {
    for (int i = 0; i < RowCount(); ++i)
        if (Row(i).Contains(toolBar)) return i;
    return -1;
}

void TDockLayout::AddItem(TAdvCustomToolBar* toolBar, const TDockItem& item) {
    if (items_.emplace(toolBar, item).second) order_.push_back(toolBar);
}

TDockItem& TDockLayout::Item(const TAdvCustomToolBar* toolBar) {
    auto it = items_.find(toolBar);
    if (it == items_.end()) throw std::logic_error("the dock layout does not hold that toolbar");
    return it->second;
}

const TDockItem& TDockLayout::Item(const TAdvCustomToolBar* toolBar) const {
    return const_cast<TDockLayout*>(this)->Item(toolBar);
}

TRect TDockLayout::MakeRow(int crossStart, int crossEnd, int start, int end) const {
    return Vertical() ? TRect{crossStart, start, crossEnd, end} : TRect{start, crossStart, end, crossEnd};
}

TRect TDockLayout::BoundsOf(const TAdvCustomToolBar* toolBar) const {
    const TDockItem& t = Item(toolBar);
    return MakeRow(t.Cross, t.Cross + t.Thickness, t.Start, t.End());
}

// ---- toolbar moves -------------------------------------------------------------

void TDockLayout::SetLength(TDockItem& t, int length) const {
    t.Length = Constrain(length, t.MinLength, t.MaxLength);
}

void TDockLayout::Shift(TAdvCustomToolBar* t, int delta) {
    Item(t).Start += delta;
}

void TDockLayout::Grow(TAdvCustomToolBar* t, int delta) {
    if (delta != 0) SetLength(Item(t), Item(t).Length + delta);
}

void TDockLayout::GrowBack(TAdvCustomToolBar* t, int delta) {
    if (delta == 0) return;
    TDockItem& item = Item(t);
    item.Start -= delta;
    SetLength(item, item.Length + delta);
}

void TDockLayout::ShiftRange(int rowIndex, int from, int to, int delta) {
    const TDockRow& row = Row(rowIndex);
    if (delta == 0) return;
    for (int i = std::max(from, 0); i <= to && i < row.Count(); ++i)
        Shift(At(rowIndex, i), delta);
}

void TDockLayout::MakeFullSize(TAdvCustomToolBar* t, int rowIndex) {
    const TRect& r = Row(rowIndex).Rect;
    const int length = RowEnd(r) - RowStart(r) - 2 * Spacing;
    TDockItem& item = Item(t);
    item.MinLength = std::max(length, 0);
    item.MaxLength = std::max(length, 0);
    item.LengthFixed = true;
    item.Start = RowStart(r) + Spacing;
    SetLength(item, length);
}

// ---- measuring -----------------------------------------------------------------

int TDockLayout::RowSize(int rowIndex) const {
    int size = MinRowSize;
    for (const TAdvCustomToolBar* t : Row(rowIndex).ToolBars)
        size = std::max(size, Item(t).Thickness);
    return size;
}

int TDockLayout::Gap(int rowIndex, const TAdvCustomToolBar* a, const TAdvCustomToolBar* b) const {
    const TRect& r = Row(rowIndex).Rect;
    if (a && b) return Item(b).Start - Item(a).End() - Spacing;
    if (a) return RowEnd(r) - Item(a).End() - Spacing;
    if (b) return Item(b).Start - RowStart(r) - Spacing;
    return 0;
}

bool TDockLayout::CanAccept(int rowIndex, const TAdvCustomToolBar* toolBar) const {
    const TDockRow& row = Row(rowIndex);
    if (row.Count() > 0 && Item(row.ToolBars.front()).FullSize) return false;
    if (Item(toolBar).FullSize) return row.Count() == 0;
    return true;
}

int TDockLayout::FindRowFor(const TAdvCustomToolBar* toolBar) const {
    const bool fromLast = panel_.Align == TDockAlign::daLeft || panel_.Align == TDockAlign::daTop;
    const int n = RowCount();
    for (int k = 0; k < n; ++k) {
        const int i = fromLast ? n - 1 - k : k;
        if (CanAccept(i, toolBar)) return i;
    }
    return -1;
}

bool TDockLayout::NeedsArrange(int rowIndex) const {
    const TDockRow& row = Row(rowIndex);
    const int n = row.Count();
    if (n == 0) return false;
    const TRect& r = row.Rect;
    const TDockItem& first = Item(row.ToolBars.front());
    if (first.FullSize)
        return first.Length != RowEnd(r) - RowStart(r) - 2 * Spacing || first.Start != RowStart(r) + Spacing;
    int sum = 0;
    for (int k = 0; k < n; ++k) {
        const int g = Gap(rowIndex, At(rowIndex, k), k + 1 < n ? At(rowIndex, k + 1) : nullptr);
        if (g < 0) return true;
        sum += g;
    }
    if (sum < 1) return false;
    return std::any_of(row.ToolBars.begin(), row.ToolBars.end(),
                       [this](const TAdvCustomToolBar* t) { return Item(t).Growable() > 0; });
}

// ---- arranging -----------------------------------------------------------------

void TDockLayout::ArrangeRows() {
    int y = RowGap;
    for (int i = 0; i < RowCount(); ++i) {
        const int s = RowSize(i);
        Row(i).Rect = MakeRow(y, y + s + RowGap, RowInset, panel_.Length - RowInset);
        ArrangeRow(i);
        y += RowSize(i) + RowGap;
    }
    UpdatePanelSize();
}

void TDockLayout::UpdatePanelSize() {
    if (!RowsMayChange()) return;
    const int n = RowCount();
    TRect& b = panel_.Bounds;
    if (Vertical()) {
        const int e = n > 0 ? Row(n - 1).Rect.Right + RowInset : panel_.MinimumSize;
        if (panel_.Align == TDockAlign::daRight && e > b.Width())
            b = TRect::FromBounds(b.Left - (e - b.Width()), b.Top, e, b.Height());
        else
            b.Right = b.Left + std::max(e, 0);
    } else {
        const int e = n > 0 ? Row(n - 1).Rect.Bottom + LastRowMargin : panel_.MinimumSize;
        if (panel_.Align == TDockAlign::daBottom && e > b.Height())
            b = TRect::FromBounds(b.Left, b.Top - (e - b.Height()), b.Width(), e);
        else
            b.Bottom = b.Top + std::max(e, 0);
    }
}

void TDockLayout::PullBackAndShrink(int rowIndex, int k, int& g) {
    for (int j = k; j >= 0 && g < 0; --j) {
        const int d = std::min(Gap(rowIndex, j > 0 ? At(rowIndex, j - 1) : nullptr, At(rowIndex, j)), -g);
        if (d > 0) {
            ShiftRange(rowIndex, j, k, -d);
            g += d;
        }
    }
    for (int j = k; j >= 0 && g < 0; --j) {
        const int c = std::min(Item(At(rowIndex, j)).Shrinkable(), -g);
        if (c > 0) {
            Grow(At(rowIndex, j), -c);
            ShiftRange(rowIndex, j + 1, k, -c);
            g += c;
        }
    }
}

void TDockLayout::ArrangeRow(int rowIndex) {
    if (!ValidRow(rowIndex)) return;
    const int n = Row(rowIndex).Count();
    const TRect r = Row(rowIndex).Rect;
    auto at = [&](int k) { return At(rowIndex, k); };
    auto next = [&](int k) { return k + 1 < n ? at(k + 1) : nullptr; };
    auto prev = [&](int j) { return j > 0 ? at(j - 1) : nullptr; };

    for (int k = 0; k < n; ++k) {
        TAdvCustomToolBar* t = at(k);
        Item(t).Cross = RowCross(r);
        Item(t).RowIndex = rowIndex;
        if (k == 0 && Item(t).FullSize) {
            MakeFullSize(t, rowIndex);
            break;
        }
        int g = Gap(rowIndex, t, next(k));
        if (g > 0) {
            for (int j = k; j >= 0 && g >= 1; --j) {
                const int c = std::min(Item(at(j)).Growable(), g);
                if (c > 0) {
                    Grow(at(j), c);
                    ShiftRange(rowIndex, j + 1, k, c);
                    g -= c;
                }
            }
            for (int j = k + 1; j < n && g >= 1; ++j) {
                const int d = std::min(Item(at(j)).Growable(), g);
                if (d > 0) {
                    Grow(at(j), d);
                    g -= d;
                }
            }
        } else if (g < 0) {
            PullBackAndShrink(rowIndex, k, g);
        }
        // Regrow T into free room before it; its end stays where it is.
        int growable = Item(t).Growable();
        for (int j = k; j >= 0 && growable > 0; --j) {
            const int d = std::min(Gap(rowIndex, prev(j), at(j)), growable);
            if (d > 0) {
                ShiftRange(rowIndex, j, k, -d);
                Grow(t, d);
                growable -= d;
            }
        }
    }

    for (int l = 0; l < n; ++l) {
        TAdvCustomToolBar* t = at(l);
        if (l == 0) {
            const int g = Gap(rowIndex, nullptr, t);
            if (g < 0) Shift(t, -g);
        }
        if (l == n - 1) {
            int g = Gap(rowIndex, t, nullptr);
            if (g < 0) PullBackAndShrink(rowIndex, l, g);
        } else {
            const int g = Gap(rowIndex, t, at(l + 1));
            if (g < 0) Shift(at(l + 1), -g);
        }
    }
}

void TDockLayout::ArrangeRowsIfNeeded() {
    for (int i = 0; i < RowCount(); ++i)
        if (NeedsArrange(i)) ArrangeRow(i);
}

// ---- row membership ------------------------------------------------------------

int TDockLayout::AddRow() {
    rows_.emplace_back();
    ArrangeRows();
    return RowCount() - 1;
}

int TDockLayout::InsertRow(int index) {
    index = std::clamp(index, 0, RowCount());
    rows_.insert(rows_.begin() + index, TDockRow{});
    // Toolbars of later rows now sit one row later.
    RenumberFrom(index + 1);
    ArrangeRows();
    return index;
}

void TDockLayout::RenumberFrom(int rowIndex) {
    for (int i = std::max(rowIndex, 0); i < RowCount(); ++i)
        for (TAdvCustomToolBar* t : Row(i).ToolBars)
            Item(t).RowIndex = i;
}

int TDockLayout::AppendToRow(int rowIndex, TAdvCustomToolBar* toolBar) {
    if (rowIndex == RowCount()) AddRow();
    if (!ValidRow(rowIndex)) return -1;
    TDockRow& row = Row(rowIndex);
    if (row.Contains(toolBar) || !CanAccept(rowIndex, toolBar)) return -1;
    row.ToolBars.push_back(toolBar);
    TDockItem& item = Item(toolBar);
    const TRect& r = row.Rect;
    if (item.FullSize) {
        MakeFullSize(toolBar, rowIndex);
        item.OverflowUpdate = true;
    } else if (row.Count() == 1) {
        item.Start = Vertical() ? RowEnd(r) - Spacing - item.Length : RowStart(r) + Spacing;
    } else {
        item.Start = Item(row.ToolBars[row.ToolBars.size() - 2]).End() + Spacing;
    }
    item.RowIndex = rowIndex;
    ArrangeRows();
    return Row(rowIndex).IndexOf(toolBar);
}

void TDockLayout::InsertInRow(int rowIndex, TAdvCustomToolBar* toolBar) {
    if (!ValidRow(rowIndex)) return;
    TDockRow& row = Row(rowIndex);
    if (row.Contains(toolBar) || Item(toolBar).FullSize || !CanAccept(rowIndex, toolBar)) return;
    const int start = Item(toolBar).Start;
    auto at = std::find_if(row.ToolBars.begin(), row.ToolBars.end(),
                           [&](const TAdvCustomToolBar* t) { return Item(t).Start > start; });
    row.ToolBars.insert(at, toolBar);
    Item(toolBar).RowIndex = rowIndex;
    ArrangeRows();
}

void TDockLayout::RemoveFromRow(int rowIndex, TAdvCustomToolBar* toolBar, bool deleteEmpty) {
    if (!ValidRow(rowIndex)) return;
    auto& list = Row(rowIndex).ToolBars;
    auto it = std::find(list.begin(), list.end(), toolBar);
    if (it == list.end()) return;
    list.erase(it);
    ArrangeRow(rowIndex);
    if (deleteEmpty) DeleteRowIfEmpty(rowIndex);
    // A row is as thick as its thickest toolbar: when that one has left, the rows
    // after it move up and the panel gets thinner.
    if (ValidRow(rowIndex) &&
        RowCrossEnd(Row(rowIndex).Rect) - RowCross(Row(rowIndex).Rect) != RowSize(rowIndex) + RowGap)
        ArrangeRows();
}

void TDockLayout::DeleteRowIfEmpty(int rowIndex) {
    if (!ValidRow(rowIndex) || Row(rowIndex).Count() > 0 || !RowsMayChange()) return;
    rows_.erase(rows_.begin() + rowIndex);
    // Toolbars of later rows now sit one row earlier.
    RenumberFrom(rowIndex);
    ArrangeRows();
}

void TDockLayout::MoveToRow(TAdvCustomToolBar* toolBar, int rowIndex) {
    if (!ValidRow(rowIndex)) throw Exception("Invalid Row Index");
    TDockItem& item = Item(toolBar);
    if (rowIndex == item.RowIndex || !CanAccept(rowIndex, toolBar)) return;
    const int old = item.RowIndex;
    RemoveFromRow(old, toolBar, false);
    AppendToRow(rowIndex, toolBar);
    DeleteRowIfEmpty(old);
}

void TDockLayout::GiveFullRow(TAdvCustomToolBar* toolBar) {
    const int i = Item(toolBar).RowIndex;
    if (!ValidRow(i)) return;
    RemoveFromRow(i, toolBar, true);
    InsertRow(i);
    AppendToRow(i, toolBar);
    ArrangeRow(i);
}

// ---- bounds requests -----------------------------------------------------------

void TDockLayout::AdjustToolBarBounds(TAdvCustomToolBar* toolBar, TRect& bounds) {
    const TDockItem& item = Item(toolBar);
    if (panel_.Loading || !item.Visible) return;
    if (!ValidRow(item.RowIndex) || !Row(item.RowIndex).Contains(toolBar)) return;
    int left = bounds.Left, top = bounds.Top, width = bounds.Width(), height = bounds.Height();
    if (Vertical()) {
        ChangeRow(toolBar, left, width);
        MoveWithinRow(Item(toolBar).RowIndex, toolBar, top, height);
    } else {
        ChangeRow(toolBar, top, height);
        MoveWithinRow(Item(toolBar).RowIndex, toolBar, left, width);
    }
    bounds = TRect::FromBounds(left, top, width, height);
}

void TDockLayout::SetBounds(TAdvCustomToolBar* toolBar, const TRect& bounds) {
    TDockItem& t = Item(toolBar);
    t.Start = Vertical() ? bounds.Top : bounds.Left;
    t.Cross = Vertical() ? bounds.Left : bounds.Top;
    SetLength(t, Vertical() ? bounds.Height() : bounds.Width());
    t.Thickness = Constrain(Vertical() ? bounds.Width() : bounds.Height(), t.MinThickness, t.MaxThickness);
}

void TDockLayout::RequestBounds(TAdvCustomToolBar* toolBar, TRect bounds) {
    if (bounds == BoundsOf(toolBar)) return;
    AdjustToolBarBounds(toolBar, bounds);
    SetBounds(toolBar, bounds);
}

void TDockLayout::ChangeRow(TAdvCustomToolBar* t, int& p, int& h) {
    const int old = Item(t).RowIndex;
    const int top = RowCross(Row(old).Rect);
    const int c = Row(old).Count();

    // Takes T out of its row and gives it a new row just before the row that now
    // has index `before` (counted before T's row may be deleted), or a new last
    // row for -1.
    auto moveToNewRowBefore = [&](int before) {
        const int from = Item(t).RowIndex;
        const bool fromGoes = Row(from).Count() == 1 && RowsMayChange();
        RemoveFromRow(from, t, true);
        if (before >= 0) {
            const int index = fromGoes && before > from ? before - 1 : before;
            InsertRow(index);
            AppendToRow(index, t);
        } else {
            AppendToRow(RowCount(), t);
        }
    };
    auto rowAfter = [&](int index) { return index + 1 < RowCount() ? index + 1 : -1; };

    if (p >= top - 5 && p <= top - 3 && c >= 2) {
        // A new row directly above.
        if (RowsMayChange()) moveToNewRowBefore(old);
        p = Item(t).Cross;
    } else if (p <= top - 7 && old > 0) {
        for (int i = 0; i < RowCount(); ++i) {
            const TRect& r = Row(i).Rect;
            if (i == old || RowCross(r) > p || p >= RowCrossEnd(r)) continue;
            if (CanAccept(i, t))
                MoveToRow(t, i);
            else if (RowsMayChange())
                moveToNewRowBefore(i);
            break;
        }
        p = Item(t).Cross;
    } else if (p >= top + 3 && p <= top + 5 && c >= 2) {
        // A new row directly below.
        if (RowsMayChange()) moveToNewRowBefore(rowAfter(old));
        p = Item(t).Cross;
    } else if (p >= top + 6 && old < RowCount() - 1) {
        for (int i = old + 1; i < RowCount(); ++i) {
            if (RowCrossEnd(Row(i).Rect) <= p) continue;
            if (CanAccept(i, t))
                MoveToRow(t, i);
            else if (RowsMayChange())
                moveToNewRowBefore(rowAfter(i));
            break;
        }
        p = Item(t).Cross;
    } else {
        p = top;
    }

    if (h != Item(t).Thickness) {
        TDockItem& item = Item(t);
        item.Thickness = Constrain(h, item.MinThickness, item.MaxThickness);
        ArrangeRows();
    }
}

void TDockLayout::MoveWithinRow(int rowIndex, TAdvCustomToolBar* t, int& q, int& w) {
    if (!ValidRow(rowIndex) || !Row(rowIndex).Contains(t)) throw Exception("Invalid ToolBar Index");
    if (q < Item(t).Start) {
        if (MoveBack(rowIndex, t, q)) w = Item(t).Length;
    } else if (q > Item(t).Start) {
        MoveForward(rowIndex, t, q);
        w = Item(t).Length;
    } else {
        ChangeLength(rowIndex, t, w);
        q = Item(t).Start;
    }
}

bool TDockLayout::MoveBack(int rowIndex, TAdvCustomToolBar* t, int& q) {
    const int k = Row(rowIndex).IndexOf(t);
    const int n = Row(rowIndex).Count();
    auto at = [&](int i) { return At(rowIndex, i); };
    q = std::max(q, RowStart(Row(rowIndex).Rect) + Spacing);
    int r = Item(t).Start - q;
    // The first toolbar of a row takes the clamped request as it is.
    if (k == 0) return false;

    for (int j = k; j >= 0 && r >= 1; --j) {
        int m = Gap(rowIndex, j > 0 ? at(j - 1) : nullptr, at(j));
        if (m > 0) {
            m = std::min(m, r);
            r -= m;
            ShiftRange(rowIndex, j, k, -m);
        }
    }

    // Squeeze: shrink predecessors and hand the room to T and the toolbars after it.
    if (r > 0 && Gap(rowIndex, at(n - 1), nullptr) < 1) {
        for (int j = k - 1; j >= 0 && r >= 1; --j) {
            int growable = 0;
            for (int v = k; v < n; ++v)
                growable += std::max(Item(at(v)).Growable(), 0);
            const int o = std::min({r, Item(at(j)).Shrinkable(), growable});
            if (o <= 0) continue;
            Grow(at(j), -o);
            ShiftRange(rowIndex, j + 1, k - 1, -o);
            int rest = o;
            for (int v = k; v < n && rest > 0; ++v) {
                const int x = std::min(rest, Item(at(v)).Growable());
                if (x <= 0) continue;
                GrowBack(at(v), x);
                if (v > k) ShiftRange(rowIndex, k + 1, v - 1, -x);
                rest -= x;
            }
            r -= o;
        }
    }

    // Swap with the predecessor once T has come close enough to its start.
    if (r > 0 && !Item(t).Loading) {
        TAdvCustomToolBar* predecessor = at(k - 1);
        if (Item(predecessor).Start + 5 >= Item(t).Start - r) {
            auto& list = Row(rowIndex).ToolBars;
            std::swap(list[static_cast<std::size_t>(k - 1)], list[static_cast<std::size_t>(k)]);
            ArrangeRow(rowIndex);
        }
    }
    q = Item(t).Start;
    return true;
}

void TDockLayout::MoveForward(int rowIndex, TAdvCustomToolBar* t, int& q) {
    const int k = Row(rowIndex).IndexOf(t);
    const int n = Row(rowIndex).Count();
    auto at = [&](int i) { return At(rowIndex, i); };
    int o = q - Item(t).Start;

    for (int j = k; j < n && o >= 1; ++j) {
        int room = Gap(rowIndex, at(j), j + 1 < n ? at(j + 1) : nullptr);
        if (room > 0) {
            room = std::min(room, o);
            o -= room;
            ShiftRange(rowIndex, k, j, room);
        }
    }

    // Squeeze: shrink the toolbars from the end of the row and hand the room to T's predecessors.
    int before = 0;
    for (int j = k; j >= 0; --j)
        before += Gap(rowIndex, j > 0 ? at(j - 1) : nullptr, at(j));
    if (o > 0 && before < 1) {
        int growable = 0;
        for (int j = 0; j < k; ++j)
            growable += std::max(Item(at(j)).Growable(), 0);
        int e = std::min(o, growable);
        for (int f = n - 1; f >= k && e >= 1; --f) {
            const int shrink = std::min(e, Item(at(f)).Shrinkable());
            if (shrink <= 0) continue;
            GrowBack(at(f), -shrink);
            ShiftRange(rowIndex, k + 1, f - 1, shrink);
            int rest = shrink;
            for (int j = k - 1; j >= 0 && rest > 0; --j) {
                const int x = std::min(rest, Item(at(j)).Growable());
                if (x <= 0) continue;
                Grow(at(j), x);
                rest -= x;
            }
            e -= shrink;
        }
    }
    q = Item(t).Start;
}

void TDockLayout::ChangeLength(int rowIndex, TAdvCustomToolBar* t, int& w) {
    const int k = Row(rowIndex).IndexOf(t);
    const int n = Row(rowIndex).Count();
    auto at = [&](int i) { return At(rowIndex, i); };
    if (w < Item(t).Length) {
        // A lone toolbar is not shrunk on request.
        if (n == 1) {
            ArrangeRow(rowIndex);
            w = Item(t).Length;
        }
        return;
    }
    if (w == Item(t).Length) return;
    int o = w - Item(t).Length;
    for (int j = k; j < n && o >= 1; ++j) {
        int room = Gap(rowIndex, at(j), j + 1 < n ? at(j + 1) : nullptr);
        if (room > 0) {
            room = std::min(room, o);
            ShiftRange(rowIndex, k + 1, j, room);
            Grow(t, room);
            o -= room;
        }
    }
    int before = 0;
    for (int j = k; j >= 0; --j)
        before += Gap(rowIndex, j > 0 ? at(j - 1) : nullptr, at(j));
    if (o > 0 && before > 0) {
        for (int j = k; j >= 0 && o >= 1; --j) {
            int room = Gap(rowIndex, j > 0 ? at(j - 1) : nullptr, at(j));
            if (room > 0) {
                room = std::min(room, o);
                ShiftRange(rowIndex, j, k, -room);
                Grow(t, room);
                o -= room;
            }
        }
    }
    w = Item(t).Length;
}

} // namespace emr
