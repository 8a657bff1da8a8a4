#include "toolbar/FormLayoutSaver.h"

#include <algorithm>
#include <vector>

#include "framework/forms/Application.h"
#include "framework/forms/LayoutSaving.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/DockLayoutPersistence.h"
#include "toolbar/LayoutStore.h"
#include "toolbar/ToolBarLayoutPersistence.h"

namespace emr {

namespace {

/// Every component `root` owns, directly or through the components it owns.
void CollectOwned(const TComponent& root, std::vector<TComponent*>& out) {
    for (TComponent* c : root.Components()) {
        out.push_back(c);
        CollectOwned(*c, out);
    }
}

void SaveToolBarLayouts(TComponent& root) {
    std::vector<TComponent*> owned;
    CollectOwned(root, owned);
    // A window's last save is the one as it goes or, at the end of a session, the
    // one before it goes: the flags that save sets keep the panels and toolbars
    // from writing the file again as they are destroyed.
    const bool last = root.HasState(csDestroying) || (Application && Application->SessionEnding());
    // Every panel and toolbar of the window writes into one open store per file,
    // and each file is replaced once, at the end: a window's layout is then
    // replaced whole or not at all.
    TLayoutStore::TBatch batch;
    // A panel that saves writes its toolbars with it; every other toolbar that
    // saves (a floating one, or one on a panel that does not save) writes its own values.
    std::vector<TAdvCustomToolBar*> savedWithPanel;
    for (TComponent* c : owned) {
        auto* panel = dynamic_cast<TAdvDockPanel*>(c);
        if (!panel || !panel->Persistence()->Enabled() || panel->HasState(csDesigning)) continue;
        if (last)
            panel->LayoutPersistence()->SaveOnDestroy();
        else
            panel->LayoutPersistence()->SaveWithToolBars();
        for (TAdvCustomToolBar* t : panel->LayoutPersistence()->SavedToolBars())
            savedWithPanel.push_back(t);
    }
    for (TComponent* c : owned) {
        auto* t = dynamic_cast<TAdvCustomToolBar*>(c);
        if (!t || !t->Persistence()->Enabled() || t->HasState(csDesigning)) continue;
        if (std::find(savedWithPanel.begin(), savedWithPanel.end(), t) != savedWithPanel.end()) continue;
        if (last)
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

} // namespace

void RegisterFormLayoutSaver() {
    static bool done = false;
    if (done) return;
    done = true;
    AddLayoutSaver(&SaveToolBarLayouts, true);
}

} // namespace emr
