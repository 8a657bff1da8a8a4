#include "toolbar/DockLayoutPersistence.h"

#include <algorithm>
#include <limits>

#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/DockLayout.h"
#include "toolbar/LayoutStore.h"
#include "toolbar/LayoutValues.h"
#include "toolbar/ToolBarLayoutPersistence.h"

namespace emr {

namespace {

/// More toolbars than any panel holds: a larger saved count is a damaged entry,
/// and reading that many names would only take time.
constexpr int kMaxSavedToolBars = 4096;

void WriteToolBar(TSettingsStore& store, const std::string& section, int index, const TAdvCustomToolBar* t) {
    const std::string& n = t->Name();
    store.WriteString(section, "Name" + std::to_string(index), n);
    store.WriteInteger(section, n + ".Row", t->RowIndex());
    store.WriteInteger(section, n + ".Left", t->Left());
    store.WriteInteger(section, n + ".Top", t->Top());
    store.WriteInteger(section, n + ".Width", t->Width());
    store.WriteInteger(section, n + ".Height", t->Height());
    store.WriteInteger(section, n + ".Visible", t->Visible() ? 1 : 0);
}

TAdvCustomToolBar* TakeByName(std::vector<TAdvCustomToolBar*>& list, const std::string& name) {
    auto it = std::find_if(list.begin(), list.end(), [&](const TAdvCustomToolBar* t) {
        return layout_values::SameName(t->Name(), name);
    });
    if (it == list.end()) return nullptr;
    TAdvCustomToolBar* t = *it;
    list.erase(it);
    return t;
}

void CollectPanels(const TWinControl* parent, const TAdvDockPanel* skip, std::vector<TAdvDockPanel*>& out) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* win = dynamic_cast<TWinControl*>(parent->Controls(i));
        if (!win || win == skip) continue;
        if (auto* panel = dynamic_cast<TAdvDockPanel*>(win)) out.push_back(panel);
        CollectPanels(win, skip, out);
    }
}

} // namespace

std::vector<TAdvCustomToolBar*> TDockLayoutPersistence::ToolBarsInRows() const {
    std::vector<TAdvCustomToolBar*> list;
    for (int i = 0; i < panel_->RowCount(); ++i)
        for (TAdvCustomToolBar* t : panel_->Rows()->Row(i)->ToolBars())
            list.push_back(t);
    return list;
}

std::vector<TAdvDockPanel*> TDockLayoutPersistence::OtherPanels() const {
    std::vector<TAdvDockPanel*> panels;
    if (const TWinControl* form = panel_->TopLevel()) CollectPanels(form, panel_, panels);
    return panels;
}

void TDockLayoutPersistence::Save() {
    const TPersistence& p = *panel_->Persistence();
    if (p.Key().empty() || p.Section().empty()) return;
    const std::string& section = p.Section();
    const std::vector<TAdvCustomToolBar*> inRows = ToolBarsInRows();
    const std::vector<TAdvCustomToolBar*>& hidden = panel_->InvisibleToolBars();
    std::unique_ptr<TSettingsStore> store = TLayoutStore::Open(p);
    store->WriteInteger(section, "ToolBarCount", static_cast<int>(inRows.size() + hidden.size()));
    store->WriteInteger(section, "RowCount", panel_->RowCount());
    int i = 1;
    for (const TAdvCustomToolBar* t : inRows)
        WriteToolBar(*store, section, i++, t);
    for (const TAdvCustomToolBar* t : hidden)
        WriteToolBar(*store, section, i++, t);
    store->Close();
}

std::vector<TAdvCustomToolBar*> TDockLayoutPersistence::SavedToolBars() const {
    std::vector<TAdvCustomToolBar*> toolBars = ToolBarsInRows();
    for (TAdvCustomToolBar* t : panel_->InvisibleToolBars())
        toolBars.push_back(t);
    return toolBars;
}

void TDockLayoutPersistence::SaveOnDestroy() {
    if (savedOnDestroy_) return;
    savedOnDestroy_ = true;
    SaveAll(true);
}

void TDockLayoutPersistence::SaveWithToolBars() {
    SaveAll(false);
}

void TDockLayoutPersistence::SaveAll(bool destroying) {
    // The toolbars save with the panel, while all of them and their controls are
    // still whole, and the file is replaced once for all of them.
    TLayoutStore::TBatch batch;
    try {
        Save();
    } catch (const std::exception& e) {
        TLayoutStore::ReportSaveFailure(e);
    }
    for (TAdvCustomToolBar* t : SavedToolBars()) {
        if (!t->Persistence()->Enabled()) continue;
        if (destroying)
            t->LayoutPersistence()->SaveOnDestroy();
        else
            t->LayoutPersistence()->SaveReported();
    }
    try {
        batch.Commit();
    } catch (const std::exception& e) {
        TLayoutStore::ReportSaveFailure(e);
    }
}

TAdvCustomToolBar* TDockLayoutPersistence::TakeFromOtherPanel(const std::vector<TAdvDockPanel*>& panels,
                                                              const std::string& name) {
    for (TAdvDockPanel* other : panels) {
        std::vector<TAdvCustomToolBar*> registered = other->DockedToolBars();
        TAdvCustomToolBar* t = TakeByName(registered, name);
        if (!t) continue;
        // Becoming a child of this panel registers it here and takes it from the
        // other panel; out of its new row again, it waits to be placed like the rest.
        t->SetParent(panel_);
        if (t->DockPanel() != panel_) return nullptr;
        const int row = panel_->Rows()->RowOf(t);
        if (row >= 0) panel_->RemoveFromRow(row, t, true);
        return t;
    }
    return nullptr;
}

namespace {

/// What a read gives for a value the store does not hold: no saved number is this
/// (it is no plausible position, size or row either).
constexpr int kMissing = std::numeric_limits<int>::min();

std::optional<int> ReadOptional(TSettingsStore& store, const std::string& section, const std::string& name) {
    const int value = store.ReadInteger(section, name, kMissing);
    if (value == kMissing) return std::nullopt;
    return value;
}

/// A saved size worth taking, or the current one.
int SizeOr(const std::optional<int>& saved, int current) {
    return saved && layout_values::PlausibleSize(*saved) ? *saved : current;
}

/// A saved position worth taking, or the current one.
int PositionOr(const std::optional<int>& saved, int current) {
    return saved && layout_values::PlausiblePosition(*saved) ? *saved : current;
}

} // namespace

TSavedDockLayout TDockLayoutPersistence::Read() {
    TSavedDockLayout saved;
    const TPersistence& p = *panel_->Persistence();
    if (p.Key().empty() || p.Section().empty()) return saved;
    const std::string section = p.Section();

    // One reading of the file serves the panel and all its toolbars.
    TLayoutStore::TBatch batch;
    // A toolbar floated by its own load may be freed by its OnUnDocked handler,
    // and that handler may free others too.
    std::vector<TComponentRef<TAdvCustomToolBar>> registered;
    for (TAdvCustomToolBar* t : panel_->DockedToolBars())
        registered.emplace_back(t);
    for (const TComponentRef<TAdvCustomToolBar>& t : registered)
        if (t && !t->LayoutPersistence()->Loaded()) t->LoadToolBarLayout();

    // The toolbars the panel holds now (some may have floated), in its rows and
    // hidden, which the saved layout also lists.
    std::vector<TAdvCustomToolBar*> names = ToolBarsInRows();
    for (TAdvCustomToolBar* t : panel_->DockedToolBars())
        if (std::find(names.begin(), names.end(), t) == names.end()) names.push_back(t);

    std::unique_ptr<TSettingsStore> store = TLayoutStore::OpenToLoad(p);
    saved.Count = std::min(store->ReadInteger(section, "ToolBarCount", 0), kMaxSavedToolBars);
    saved.Present = saved.Count > 0;
    if (saved.Present) {
        saved.RowCount = ReadOptional(*store, section, "RowCount");
        const std::vector<TAdvDockPanel*> others = OtherPanels();
        for (int i = 1; i <= saved.Count; ++i) {
            const std::string name = store->ReadString(section, "Name" + std::to_string(i), panel_->Name());
            // A nameless panel's default would match a nameless toolbar.
            if (name.empty()) continue;
            TAdvCustomToolBar* t = TakeByName(names, name);
            if (!t) t = TakeFromOtherPanel(others, name);
            if (!t) continue;
            TSavedDockToolBar entry;
            entry.ToolBar = t;
            entry.Row = ReadOptional(*store, section, name + ".Row");
            entry.Left = ReadOptional(*store, section, name + ".Left");
            entry.Top = ReadOptional(*store, section, name + ".Top");
            entry.Width = ReadOptional(*store, section, name + ".Width");
            entry.Height = ReadOptional(*store, section, name + ".Height");
            if (const std::optional<int> v = ReadOptional(*store, section, name + ".Visible"))
                entry.Visible = layout_values::VisibleFrom(*v);
            saved.ToolBars.push_back(entry);
        }
    }
    store->Close();
    batch.Commit();
    return saved;
}

void TDockLayoutPersistence::Restore(const TSavedDockLayout& saved, TDockLayout& layout,
                                     const std::vector<TAdvCustomToolBar*>& hidden) {
    if (!saved.Present) return;
    const bool vertical = layout.Vertical();
    // The toolbars the panel holds, in row order, then its hidden ones.
    std::vector<TAdvCustomToolBar*> names;
    for (const TDockRow& row : layout.Rows())
        names.insert(names.end(), row.ToolBars.begin(), row.ToolBars.end());
    for (TAdvCustomToolBar* t : hidden)
        if (layout.HasItem(t) && std::find(names.begin(), names.end(), t) == names.end()) names.push_back(t);

    // Rows beyond one per toolbar would stay empty and be deleted again below.
    const int rowCount = std::clamp(saved.RowCount.value_or(layout.RowCount()), 0, saved.Count);
    layout.Rows().clear();
    for (int r = 0; r < rowCount; ++r)
        layout.Rows().emplace_back();
    layout.ArrangeRows();

    const int panelLength = layout.Panel().Length;
    std::vector<TAdvCustomToolBar*> unplaced;
    for (const TSavedDockToolBar& entry : saved.ToolBars) {
        TAdvCustomToolBar* t = entry.ToolBar;
        // A toolbar that went while the layout was read is not the panel's to place.
        if (!layout.HasItem(t)) continue;
        std::erase(names, t);
        TDockItem& item = layout.Item(t);
        const TRect now = layout.BoundsOf(t);
        const int row = entry.Row.value_or(item.RowIndex);
        // A row the toolbar cannot share (it or the row's first is full-size now)
        // leaves it to a row of its own, like a row that is gone.
        if (layout.ValidRow(row) && layout.RowOf(t) < 0 && layout.CanAccept(row, t)) {
            layout.Row(row).ToolBars.push_back(t);
            item.RowIndex = row;
        } else if (layout.RowOf(t) < 0) {
            unplaced.push_back(t);
        }
        const int width = SizeOr(entry.Width, now.Width());
        const int height = SizeOr(entry.Height, now.Height());
        int left = PositionOr(entry.Left, now.Left);
        int top = PositionOr(entry.Top, now.Top);
        // Along its rows a toolbar starts inside the panel, however wide the
        // panel was when the layout was saved.
        const int length = vertical ? height : width;
        const int first = TDockLayout::RowInset + TDockLayout::Spacing;
        const int last = std::max(first, panelLength - TDockLayout::RowInset - TDockLayout::Spacing - length);
        (vertical ? top : left) = std::clamp(vertical ? top : left, first, last);
        layout.SetBounds(t, TRect::FromBounds(left, top, width, height));
        item.Visible = entry.Visible.value_or(item.Visible);
        if (!item.Visible) {
            // A hidden toolbar keeps its saved row index but no place in the row.
            const int in = layout.RowOf(t);
            if (in >= 0) std::erase(layout.Row(in).ToolBars, t);
            item.RowIndex = row;
            std::erase(unplaced, t);
        }
    }
    for (int r = layout.RowCount() - 1; r >= 0; --r)
        layout.DeleteRowIfEmpty(r);
    for (const std::vector<TAdvCustomToolBar*>* list : {&names, &unplaced})
        for (TAdvCustomToolBar* t : *list)
            if (layout.Item(t).Visible && layout.RowOf(t) < 0) layout.AppendToRow(layout.RowCount(), t);
    layout.ArrangeRows();
}

void TDockLayoutPersistence::Finish() {
    const std::vector<TAdvCustomToolBar*> docked = panel_->DockedToolBars();
    for (TAdvCustomToolBar* t : docked)
        if (t->Visible()) {
            t->ArrangeControls(true);
            t->UpdateOverflow();
        }
}

void TDockLayoutPersistence::Load() {
    panel_->LoadDockLayout();
}

} // namespace emr
