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
/// Where the saved layout names no row for a toolbar, or the toolbar comes from
/// another panel, the toolbar stays registered with this panel and gets a row of
/// its own at the end, like a toolbar the layout does not mention; saved sizes
/// outside 1..32767 are not applied.
class TDockLayoutPersistence {
public:
    explicit TDockLayoutPersistence(TAdvDockPanel* panel) : panel_(panel) {}

    void Load();
    /// Throws ESettingsStoreError when the store cannot be written.
    void Save();
    /// Save as destruction runs it: once, with failures reported instead of thrown.
    void SaveOnDestroy();

private:
    std::vector<TAdvCustomToolBar*> ToolBarsInRows() const;
    std::vector<TAdvDockPanel*> OtherPanels() const;
    TAdvCustomToolBar* TakeFromOtherPanel(const std::vector<TAdvDockPanel*>& panels, const std::string& name);
    void Place(TSettingsStore& store, TAdvCustomToolBar* t, const std::string& name,
               std::vector<TAdvCustomToolBar*>& unplaced);

    TAdvDockPanel* panel_;
    bool savedOnDestroy_ = false;
};

} // namespace emr
