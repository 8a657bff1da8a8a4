#include "toolbar/ToolBarLayoutPersistence.h"

#include <algorithm>
#include <vector>

#include "framework/forms/Screen.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/DockLayoutPersistence.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/LayoutStore.h"
#include "toolbar/LayoutValues.h"

namespace emr {

namespace {

/// The work area of every monitor; a monitor outside the work area counts whole.
std::vector<TRect> MonitorWorkAreas() {
    TScreen& screen = TScreen::Instance();
    const TRect work = screen.WorkAreaRect();
    std::vector<TRect> areas;
    for (int i = 0; i < screen.MonitorCount(); ++i) {
        const TRect m = screen.Monitors(i);
        const TRect both = m.Intersect(work);
        areas.push_back(both.Empty() ? m : both);
    }
    if (areas.empty() && !work.Empty()) areas.push_back(work);
    return areas;
}

long long DistanceSquared(const TRect& a, const TRect& b) {
    const long long dx = std::max({0, a.Left - b.Right, b.Left - a.Right});
    const long long dy = std::max({0, a.Top - b.Bottom, b.Top - a.Bottom});
    return dx * dx + dy * dy;
}

} // namespace

TPoint TToolBarLayoutPersistence::ReachablePoint(TPoint saved, int width, int captionHeight,
                                                 const std::vector<TRect>& areas) {
    if (areas.empty()) return saved;
    width = std::max(width, 1);
    captionHeight = std::max(captionHeight, 1);
    const TRect caption{saved.X, saved.Y, saved.X + width, saved.Y + captionHeight};
    // Enough of the caption to take hold of with the pointer.
    const int grip = std::min(width, 32);
    for (const TRect& area : areas) {
        const TRect overlap = caption.Intersect(area);
        if (!overlap.Empty() && overlap.Width() >= grip && overlap.Height() == captionHeight) return saved;
    }
    const TRect* nearest = &areas.front();
    for (const TRect& area : areas)
        if (DistanceSquared(caption, area) < DistanceSquared(caption, *nearest)) nearest = &area;
    const TRect& a = *nearest;
    return TPoint{std::max(a.Left, std::min(saved.X, a.Right - width)),
                  std::max(a.Top, std::min(saved.Y, a.Bottom - captionHeight))};
}

void TToolBarLayoutPersistence::Load() {
    TAdvCustomToolBar* t = toolBar_;
    const TPersistence& p = *t->Persistence();
    if (!p.Enabled() || p.Key().empty() || p.Section().empty()) return;
    const std::string& n = t->Name();
    const std::string& section = p.Section();
    std::unique_ptr<TSettingsStore> store = TLayoutStore::OpenToLoad(p);

    const std::string savedName = store->ReadString(section, n + ".Name", "");
    const int state = store->ReadInteger(section, n + ".State", 0);
    if (!savedName.empty() && layout_values::SameName(savedName, n) && state == 1) {
        const int rows = store->ReadInteger(section, n + ".FloatingRows", t->FloatingRows());
        const int x = store->ReadInteger(section, n + ".Left", t->Left());
        const int y = store->ReadInteger(section, n + ".Top", t->Top());
        // A monitor removed since the save leaves no trace but this position.
        const TPoint at = ReachablePoint({x, y}, t->Width(), t->CaptionHeight(), MonitorWorkAreas());
        if (!t->Floating()) TFloatingWindow::FloatToolBar(t, at.X, at.Y, true);
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
    SaveReported();
}

void TToolBarLayoutPersistence::SaveReported() {
    try {
        Save();
    } catch (const std::exception& e) {
        TLayoutStore::ReportSaveFailure(e);
    }
}

} // namespace emr
