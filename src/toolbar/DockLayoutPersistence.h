#pragma once

#include <string>
#include <vector>

namespace emr {

class TAdvCustomToolBar;
class TAdvDockPanel;
class TSettingsStore;

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

    void Load();
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
    void Place(TSettingsStore& store, TAdvCustomToolBar* t, const std::string& name,
               std::vector<TAdvCustomToolBar*>& unplaced);

    TAdvDockPanel* panel_;
    bool savedOnDestroy_ = false;
};

} // namespace emr
