#include "toolbar/DockLayoutPersistence.h"

#include <algorithm>

#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
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

void TDockLayoutPersistence::Place(TSettingsStore& store, TAdvCustomToolBar* t, const std::string& name,
                                   std::vector<TAdvCustomToolBar*>& unplaced) {
    using namespace layout_values;
    const std::string& section = panel_->Persistence()->Section();
    const int row = store.ReadInteger(section, name + ".Row", t->RowIndex());
    int left = store.ReadInteger(section, name + ".Left", t->Left());
    int top = store.ReadInteger(section, name + ".Top", t->Top());
    int width = store.ReadInteger(section, name + ".Width", t->Width());
    int height = store.ReadInteger(section, name + ".Height", t->Height());
    const bool visible = VisibleFrom(store.ReadInteger(section, name + ".Visible", t->Visible() ? 1 : 0));
    if (!PlausiblePosition(left)) left = t->Left();
    if (!PlausiblePosition(top)) top = t->Top();
    if (!PlausibleSize(width)) width = t->Width();
    if (!PlausibleSize(height)) height = t->Height();

    TRowCollection* rows = panel_->Rows();
    if (rows->ValidIndex(row) && rows->RowOf(t) < 0) {
        rows->Row(row)->ToolBars().push_back(t);
        t->SetRowIndex(row);
    } else if (rows->RowOf(t) < 0) {
        unplaced.push_back(t);
    }
    {
        const bool wasSuppressed = t->BoundsAdjustmentSuppressed();
        t->SetBoundsAdjustmentSuppressed(true);
        if (t->Width() != width) t->SetWidth(width);
        if (t->Left() != left) t->SetLeft(left);
        if (t->Top() != top) t->SetTop(top);
        if (t->Height() != height) t->SetHeight(height);
        t->SetBoundsAdjustmentSuppressed(wasSuppressed);
    }
    if (visible != t->Visible()) {
        t->SetVisible(visible);
    } else if (!visible) {
        // A hidden toolbar keeps its row index but no place in the row.
        const int in = rows->RowOf(t);
        if (in >= 0) {
            panel_->RemoveFromRow(in, t, false);
            t->SetRowIndex(row);
        }
    }
    if (visible) return;
    std::erase(unplaced, t);
}

void TDockLayoutPersistence::Load() {
    const TPersistence& p = *panel_->Persistence();
    if (p.Key().empty() || p.Section().empty()) return;
    const std::string section = p.Section();

    // One reading of the file serves the panel and all its toolbars.
    TLayoutStore::TBatch batch;
    for (TAdvCustomToolBar* t : ToolBarsInRows())
        if (!t->LayoutPersistence()->Loaded()) t->LoadToolBarLayout();

    // The toolbars in the rows now (some may have floated), and the hidden ones,
    // which the saved layout also lists.
    std::vector<TAdvCustomToolBar*> names = ToolBarsInRows();
    for (TAdvCustomToolBar* t : panel_->InvisibleToolBars())
        if (std::find(names.begin(), names.end(), t) == names.end()) names.push_back(t);

    std::unique_ptr<TSettingsStore> store = TLayoutStore::OpenToLoad(p);
    const int count = std::min(store->ReadInteger(section, "ToolBarCount", 0), kMaxSavedToolBars);
    if (count <= 0) {
        store->Close();
        batch.Commit();
        return;
    }
    // Rows beyond one per toolbar would stay empty and be deleted again below.
    const int rowCount = std::clamp(store->ReadInteger(section, "RowCount", panel_->RowCount()), 0, count);
    panel_->Rows()->Clear();
    for (int r = 0; r < rowCount; ++r)
        panel_->Rows()->AddRow();

    const std::vector<TAdvDockPanel*> others = OtherPanels();
    std::vector<TAdvCustomToolBar*> unplaced;
    for (int i = 1; i <= count; ++i) {
        const std::string name = store->ReadString(section, "Name" + std::to_string(i), panel_->Name());
        // A nameless panel's default would match a nameless toolbar.
        if (name.empty()) continue;
        TAdvCustomToolBar* t = TakeByName(names, name);
        if (!t) t = TakeFromOtherPanel(others, name);
        if (t) Place(*store, t, name, unplaced);
    }
    store->Close();
    batch.Commit();

    for (int r = panel_->RowCount() - 1; r >= 0; --r)
        panel_->DeleteRowIfEmpty(r);
    for (TAdvCustomToolBar* t : names)
        if (t->Visible() && panel_->Rows()->RowOf(t) < 0) panel_->AppendToRow(panel_->RowCount(), t);
    for (TAdvCustomToolBar* t : unplaced)
        if (t->Visible() && panel_->Rows()->RowOf(t) < 0) panel_->AppendToRow(panel_->RowCount(), t);
    panel_->ArrangeRows();
    const std::vector<TAdvCustomToolBar*> docked = panel_->DockedToolBars();
    for (TAdvCustomToolBar* t : docked)
        if (t->Visible()) {
            t->ArrangeControls(true);
            t->UpdateOverflow();
        }
}

} // namespace emr
