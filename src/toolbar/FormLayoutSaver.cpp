#include "toolbar/FormLayoutSaver.h"

#include <algorithm>
#include <vector>

#include "framework/forms/LayoutSaving.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/DockLayoutPersistence.h"
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
    // As at destruction: a panel that saves writes its toolbars with it, in one
    // replacement of the file; every other toolbar that saves (a floating one, or
    // one on a panel that does not save) writes its own values.
    std::vector<TAdvCustomToolBar*> savedWithPanel;
    for (TComponent* c : owned) {
        auto* panel = dynamic_cast<TAdvDockPanel*>(c);
        if (!panel || !panel->Persistence()->Enabled() || panel->HasState(csDesigning)) continue;
        panel->LayoutPersistence()->SaveWithToolBars();
        for (TAdvCustomToolBar* t : panel->LayoutPersistence()->SavedToolBars())
            savedWithPanel.push_back(t);
    }
    for (TComponent* c : owned) {
        auto* t = dynamic_cast<TAdvCustomToolBar*>(c);
        if (!t || !t->Persistence()->Enabled() || t->HasState(csDesigning)) continue;
        if (std::find(savedWithPanel.begin(), savedWithPanel.end(), t) == savedWithPanel.end())
            t->LayoutPersistence()->SaveReported();
    }
}

} // namespace

void RegisterFormLayoutSaver() {
    static bool done = false;
    if (done) return;
    done = true;
    AddLayoutSaver(&SaveToolBarLayouts);
}

} // namespace emr
