#include "toolbar/ToolBarLayoutPersistence.h"

#include <vector>

#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/DockLayoutPersistence.h"
#include "toolbar/LayoutStore.h"
#include "toolbar/LayoutValues.h"

namespace emr {

namespace {

TToolBarLayoutPersistence::TFloatHandler& FloatHandler() {
    static TToolBarLayoutPersistence::TFloatHandler handler;
    return handler;
}

} // namespace

void TToolBarLayoutPersistence::SetFloatHandler(TFloatHandler handler) {
    FloatHandler() = std::move(handler);
}

void TToolBarLayoutPersistence::Load() {
    TAdvCustomToolBar* t = toolBar_;
    const TPersistence& p = *t->Persistence();
    if (!p.Enabled() || p.Key().empty() || p.Section().empty()) return;
    const std::string& n = t->Name();
    const std::string& section = p.Section();
    std::unique_ptr<TSettingsStore> store = TLayoutStore::Open(p);

    const std::string savedName = store->ReadString(section, n + ".Name", "");
    const int state = store->ReadInteger(section, n + ".State", 0);
    if (!savedName.empty() && layout_values::SameName(savedName, n) && state == 1) {
        const int rows = store->ReadInteger(section, n + ".FloatingRows", t->FloatingRows());
        const int x = store->ReadInteger(section, n + ".Left", t->Left());
        const int y = store->ReadInteger(section, n + ".Top", t->Top());
        if (!t->Floating() && FloatHandler()) FloatHandler()(t, TPoint{x, y});
        if (t->FloatingRows() < rows) t->SetFloatingRows(rows);
        const bool visible =
            layout_values::VisibleFrom(store->ReadInteger(section, n + ".Visible", t->Visible() ? 1 : 0));
        if (visible != t->Visible()) t->SetVisible(visible);
    }

    bool changed = false;
    // Showing or hiding a control may rearrange the list being walked.
    const std::vector<TControl*> controls = t->PositionList();
    for (TControl* c : controls) {
        if (c->Name().empty()) continue;
        const bool visible = store->ReadInteger(section, n + "." + c->Name(), c->Visible() ? 1 : 0) != 0;
        if (visible == c->Visible()) continue;
        c->SetVisible(visible);
        changed = true;
    }
    if (changed) t->ArrangeControls(true);
    loaded_ = true;
    store->Close();
}

void TToolBarLayoutPersistence::Save() {
    TAdvCustomToolBar* t = toolBar_;
    const TPersistence& p = *t->Persistence();
    const std::string& n = t->Name();
    // Values of a nameless toolbar would be named ".Left" and belong to nobody.
    if (p.Key().empty() || p.Section().empty() || n.empty()) return;
    const std::string& section = p.Section();
    std::unique_ptr<TSettingsStore> store = TLayoutStore::Open(p);

    if (t->Floating()) {
        const TWinControl* window = t->Parent();
        store->WriteString(section, n + ".Name", n);
        store->WriteInteger(section, n + ".State", 1);
        store->WriteInteger(section, n + ".FloatingRows", t->FloatingRows());
        store->WriteInteger(section, n + ".Left", window ? window->Left() : t->Left());
        store->WriteInteger(section, n + ".Top", window ? window->Top() : t->Top());
        store->WriteInteger(section, n + ".Width", t->Width());
        store->WriteInteger(section, n + ".Height", t->Height());
        store->WriteInteger(section, n + ".Visible", t->Visible() ? 1 : 0);
    } else {
        const std::string savedName = store->ReadString(section, n + ".Name", "");
        const int state = store->ReadInteger(section, n + ".State", 0);
        if (layout_values::SameName(savedName, n) && state == 1)
            store->WriteInteger(section, n + ".State", static_cast<int>(t->State()));
    }
    for (const TControl* c : t->PositionList())
        if (!c->Name().empty()) store->WriteInteger(section, n + "." + c->Name(), c->Visible() ? 1 : 0);
    store->Close();
}

void TToolBarLayoutPersistence::SaveOnDestroy() {
    if (savedOnDestroy_) return;
    // A panel going with its window saves its toolbars with itself, this one included.
    auto* panel = dynamic_cast<TAdvDockPanel*>(toolBar_->DockPanel());
    if (panel && panel->HasState(csDestroying) && panel->Persistence()->Enabled()) {
        panel->LayoutPersistence()->SaveOnDestroy();
        if (savedOnDestroy_) return;
    }
    savedOnDestroy_ = true;
    try {
        Save();
    } catch (const std::exception& e) {
        TLayoutStore::ReportSaveFailure(e);
    }
}

} // namespace emr
