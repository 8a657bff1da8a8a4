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

/// How much of a floating window's caption must lie on a screen to take hold of it.
constexpr long long kGripLength = 32;

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

/// A rectangle in 64-bit coordinates: a saved position near the int limits plus a
/// width must not wrap.
struct TWideRect {
    long long Left, Top, Right, Bottom;
};

TWideRect Widened(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}

/// In floating point: the squares of distances between positions near the int
/// limits do not fit in 64 bits, and screen distances stay exact.
double DistanceSquared(const TWideRect& a, const TWideRect& b) {
    const auto dx = static_cast<double>(std::max({0LL, a.Left - b.Right, b.Left - a.Right}));
    const auto dy = static_cast<double>(std::max({0LL, a.Top - b.Bottom, b.Top - a.Bottom}));
    return dx * dx + dy * dy;
}

/// Where a window `length` long starts along one axis of an area so that it stays
/// inside, as near to `saved` as it can; at the area's start when it does not fit.
int ClampedStart(int saved, long long length, int areaStart, int areaEnd) {
    const long long last = std::max<long long>(areaStart, areaEnd - length);
    return static_cast<int>(std::clamp<long long>(saved, areaStart, last));
}

} // namespace

TPoint TToolBarLayoutPersistence::ReachablePoint(TPoint saved, TSize size, int captionHeight,
                                                 const std::vector<TRect>& areas) {
    if (areas.empty()) return saved;
    const long long width = std::max(size.Width, 1);
    const long long height = std::max(size.Height, 1);
    const long long caption = std::clamp<long long>(captionHeight, 1, height);
    const TWideRect captionRect{saved.X, saved.Y, saved.X + width, saved.Y + caption};
    // Enough of the caption to take hold of with the pointer.
    const long long grip = std::min(width, kGripLength);
    for (const TRect& area : areas) {
        const long long overlapWidth = std::min<long long>(captionRect.Right, area.Right) -
                                       std::max<long long>(captionRect.Left, area.Left);
        const bool wholeHeight = captionRect.Top >= area.Top && captionRect.Bottom <= area.Bottom;
        if (overlapWidth >= grip && wholeHeight) return saved;
    }
    const TWideRect window{saved.X, saved.Y, saved.X + width, saved.Y + height};
    const TRect* nearest = &areas.front();
    for (const TRect& area : areas)
        if (DistanceSquared(window, Widened(area)) < DistanceSquared(window, Widened(*nearest)))
            nearest = &area;
    const TRect& a = *nearest;
    return TPoint{ClampedStart(saved.X, width, a.Left, a.Right),
                  ClampedStart(saved.Y, height, a.Top, a.Bottom)};
}

void TToolBarLayoutPersistence::PlaceFloatingWindow(TPoint saved) {
    TFloatingWindow* window = TFloatingWindow::Of(toolBar_);
    if (!window) return;
    // Placed with the window's own size once its rows are set: a monitor removed
    // since the save leaves no trace but this position.
    const TPoint at = ReachablePoint(saved, {window->Width(), window->Height()}, toolBar_->CaptionHeight(),
                                     MonitorWorkAreas());
    if (at.X != window->Left() || at.Y != window->Top())
        window->SetBounds(at.X, at.Y, window->Width(), window->Height());
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
        int x = store->ReadInteger(section, n + ".Left", t->Left());
        int y = store->ReadInteger(section, n + ".Top", t->Top());
        if (!layout_values::PlausiblePosition(x)) x = t->Left();
        if (!layout_values::PlausiblePosition(y)) y = t->Top();
        // Its OnUnDocked handler may free the toolbar, and this record with it.
        TComponentRef<TAdvCustomToolBar> alive(t);
        const bool floated = !t->Floating() && TFloatingWindow::FloatToolBar(t, x, y, true);
        if (!alive) return;
        if (t->FloatingRows() < rows) t->SetFloatingRows(rows);
        if (floated) PlaceFloatingWindow({x, y});
        const bool visible =
            layout_values::VisibleFrom(store->ReadInteger(section, n + ".Visible", t->Visible() ? 1 : 0));
        if (visible != t->Visible()) t->SetVisible(visible);
        // A floating toolbar saved hidden was closed with its window.
        if (!visible && t->Floating())
            if (TFloatingWindow* window = TFloatingWindow::Of(t)) window->Withdraw();
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
