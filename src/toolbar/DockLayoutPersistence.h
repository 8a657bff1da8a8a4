#pragma once

#include <optional>
#include <string>
#include <vector>

namespace emr {

class TAdvCustomToolBar;
class TAdvDockPanel;
class TDockLayout;
class TSettingsStore;

/// One toolbar of a saved dock layout as read; a value the store does not hold
/// is empty and means "as it is now".
struct TSavedDockToolBar {
    TAdvCustomToolBar* ToolBar = nullptr;
    std::optional<int> Row, Left, Top, Width, Height;
    std::optional<bool> Visible;
};

/// A saved dock layout as read from the store, its names already matched to
/// toolbars; nothing of it is applied yet.
struct TSavedDockLayout {
    /// The store holds a layout (a toolbar count above 0).
    bool Present = false;
    int Count = 0;
    std::optional<int> RowCount;
    std::vector<TSavedDockToolBar> ToolBars;
};

/// Saves and restores where a dock panel's toolbars are: rows, positions, sizes
/// and visibility, in the panel's Persistence.Section.
///
/// A toolbar the saved layout finds on another panel moves here and stays
/// registered with this panel. A visible toolbar whose saved row names no row gets
/// a row of its own at the end, like a toolbar the layout does not mention. The
/// saved layout also places the panel's hidden toolbars. Saved sizes outside
/// 1..32767 and positions beyond the 16-bit range are not applied.
class TDockLayoutPersistence {
public:
    explicit TDockLayoutPersistence(TAdvDockPanel* panel) : panel_(panel) {}

    /// Reads the saved layout and places it in one layout pass.
    void Load();
    /// Everything a restore does outside the panel's rows, before they are laid
    /// out: loads the saved layouts of the panel's toolbars (which may float some),
    /// reads the panel's saved layout and matches its names, taking a toolbar the
    /// panel does not hold from another panel of the window. Names that match no
    /// toolbar are dropped.
    TSavedDockLayout Read();
    /// Places a saved layout on the panel's layout: the toolbars it names go to
    /// their saved rows with their saved bounds (damaged sizes are not taken, and
    /// a start beyond the panel's end is brought inside it), saved rows that stay
    /// empty go, and the toolbars it does not name, whose row is gone or that can
    /// no longer share their row get rows of their own at the end. `hidden` are
    /// the panel's hidden toolbars, which it also names.
    static void Restore(const TSavedDockLayout& saved, TDockLayout& layout,
                        const std::vector<TAdvCustomToolBar*>& hidden);
    /// What follows the placement: every visible toolbar fits its controls again.
    void Finish();
    /// Throws ESettingsStoreError when the store cannot be written.
    void Save();
    /// Save as destruction runs it, once, together with the panel's toolbars (while
    /// all of them are whole), in one replacement of the file; failures are
    /// reported instead of thrown.
    void SaveOnDestroy();
    /// What SaveOnDestroy does, at any time and as often as asked.
    void SaveWithToolBars();
    /// The toolbars whose own layouts the panel's save writes too: those in its
    /// rows, then its hidden ones.
    std::vector<TAdvCustomToolBar*> SavedToolBars() const;

private:
    void SaveAll(bool destroying);
    std::vector<TAdvCustomToolBar*> ToolBarsInRows() const;
    std::vector<TAdvDockPanel*> OtherPanels() const;
    TAdvCustomToolBar* TakeFromOtherPanel(const std::vector<TAdvDockPanel*>& panels, const std::string& name);

    TAdvDockPanel* panel_;
    bool savedOnDestroy_ = false;
};

} // namespace emr
