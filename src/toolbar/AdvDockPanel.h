#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/CheckedControl.h"
#include "framework/controls/CustomControl.h"
#include "framework/graphics/Bitmap.h"
#include "styling/StylerClient.h"
#include "toolbar/DockLayout.h"
#include "toolbar/Persistence.h"
#include "toolbar/RowCollection.h"
#include "toolbar/ToolBarDockSite.h"
#include "toolbar/ToolBarTypes.h"

namespace emr {

class TAdvCustomToolBar;
class TCustomAdvToolBarStyler;
class TDockLayoutPersistence;

/// A strip along one edge of a window holding toolbars in rows. Every position
/// change of a docked toolbar is offered to the panel first, which may move it to
/// another row, push or squeeze its neighbours and change its own thickness.
///
/// Rules are written once for a horizontal panel (rows run left to right and stack
/// downwards); a vertical panel runs them through the same axis helpers with Left
/// and Top, Width and Height swapped.
class TAdvDockPanel : public TCustomControl,
                      public IStylerClient,
                      public TToolBarDockSite,
                      public ICheckedControl {
    EMR_CLASS(TAdvDockPanel)
public:
    /// F6 moves the focus from panel to panel.
    bool FocusPane() const override { return true; }
    /// Distance of every row from the two panel edges along the row.
    static constexpr int RowInset = TDockLayout::RowInset;
    /// Space after the last row of a horizontal panel.
    static constexpr int LastRowMargin = TDockLayout::LastRowMargin;
    /// The thinnest a row gets.
    static constexpr int MinRowSize = TDockLayout::MinRowSize;

    explicit TAdvDockPanel(TComponent* owner);
    ~TAdvDockPanel() override;
    void BeforeDestruction() override;

    // Published properties.
    TDockAlign Align() const { return align_; }
    void SetAlign(TDockAlign value);
    int MinimumSize() const { return minimumSize_; }
    void SetMinimumSize(int value);
    bool LockHeight() const { return lockHeight_; }
    void SetLockHeight(bool value) { lockHeight_ = value; }
    bool UseRunTimeHeight() const { return useRunTimeHeight_; }
    void SetUseRunTimeHeight(bool value);
    TPersistence* Persistence() const { return persistence_.get(); }
    void SetPersistence(const TPersistence* value) { persistence_->Assign(value); }
    TCustomAdvToolBarStyler* ToolBarStyler() const { return toolBarStyler_; }
    void SetToolBarStyler(TCustomAdvToolBarStyler* value);
    std::string Version() const { return ToolBarVersion; }
    void SetVersion(const std::string&) {}
    /// Whether a right click on the panel or on its toolbars lists the window's
    /// toolbars to show or hide them.
    bool ShowToolBarMenu() const { return showToolBarMenu_; }
    void SetShowToolBarMenu(bool value) { showToolBarMenu_ = value; }

    /// The styler painting reads: ToolBarStyler, else the internal one.
    TCustomAdvToolBarStyler* CurrentStyler() const { return currentStyler_; }
    TCustomAdvToolBarStyler* InternalStyler() const { return internalStyler_; }
    TRowCollection* Rows() const { return rows_.get(); }
    int RowCount() const { return rows_->Count(); }
    int ToolBarCount() const { return static_cast<int>(dockedToolBars_.size()); }
    TAdvCustomToolBar* ToolBar(int index) const {
        return dockedToolBars_.at(static_cast<std::size_t>(index));
    }
    const std::vector<TAdvCustomToolBar*>& DockedToolBars() const { return dockedToolBars_; }
    const std::vector<TAdvCustomToolBar*>& InvisibleToolBars() const { return invisibleToolBars_; }
    bool LayoutLoaded() const { return layoutLoaded_; }
    bool Vertical() const { return IsVertical(align_); }
    /// LockHeight is off, or the layout is still being built.
    bool RowsMayChange() const { return !lockHeight_ || !layoutLoaded_; }

    // What toolbars call (TToolBarDockSite).
    int AddToolBar(TAdvCustomToolBar* toolBar) override;
    void RemoveToolBar(TAdvCustomToolBar* toolBar) override;
    void AdjustToolBarBounds(TAdvCustomToolBar* toolBar, int& left, int& top, int& width,
                             int& height) override;
    void ToolBarVisibilityChanged(TAdvCustomToolBar* toolBar) override;
    void GiveFullRow(TAdvCustomToolBar* toolBar) override;
    void ArrangeRows() override;
    void ArrangeRow(int rowIndex) override;
    void ArrangeRowsIfNeeded() override;
    int FindRowFor(TAdvCustomToolBar* toolBar) override;
    TCustomAdvToolBarStyler* DockStyler() const override;
    TDockAlign DockAlign() const override { return align_; }
    bool DockLockHeight() const override { return lockHeight_; }
    std::uint32_t PanelPixel(int x, int y) override;
    std::uint32_t BackgroundPixel(int x, int y) override;

    // Row operations.
    int RowSize(int rowIndex) const;
    /// How thick the row's rectangle is now (its size and the gap after it, once laid out).
    int RowThickness(int rowIndex) const;
    /// Free room between neighbours A and B of a row after the spacing (null for none).
    int Gap(int rowIndex, const TAdvCustomToolBar* a, const TAdvCustomToolBar* b) const;
    bool CanAccept(int rowIndex, const TAdvCustomToolBar* toolBar) const;
    /// Appends the toolbar to the row: its position there, or -1 when refused.
    int AppendToRow(int rowIndex, TAdvCustomToolBar* toolBar);
    /// Puts a returning toolbar back into the row by its start position.
    void InsertInRow(int rowIndex, TAdvCustomToolBar* toolBar);
    void RemoveFromRow(int rowIndex, TAdvCustomToolBar* toolBar, bool deleteEmpty);
    void DeleteRowIfEmpty(int rowIndex);
    void MoveToRow(TAdvCustomToolBar* toolBar, int rowIndex);
    bool NeedsArrange(int rowIndex) const;
    /// Moves a toolbar into another row for a requested cross position p and thickness h.
    void ChangeRow(TAdvCustomToolBar* t, int& p, int& h);
    /// Moves or resizes a toolbar within its row for a requested start q and length w.
    void MoveWithinRow(int rowIndex, TAdvCustomToolBar* t, int& q, int& w);
    /// Lays out rows, then sets the panel's own thickness (only while rows may change).
    void UpdatePanelSize();

    /// Restores the saved positions of the toolbars (Persistence; run after loading).
    void LoadDockLayout();
    /// Saves where the toolbars are; throws ESettingsStoreError when the store cannot be written.
    void SaveDockLayout();
    TDockLayoutPersistence* LayoutPersistence() const { return layoutPersistence_.get(); }

    // Drags.
    /// The panel's layout as a value a drag can work on.
    TDockLayout Layout() const;
    /// Applies a layout worked out on a copy of Layout(): one layout pass.
    void CommitLayout(const TDockLayout& layout);
    /// Whether a row takes the toolbar (under LockHeight, once loaded, one must be free).
    bool CanPlug(TAdvCustomToolBar* toolBar);
    /// Docks the toolbar here, into the rows: false, and nothing changes, when no
    /// row takes it. The toolbar becomes the panel's child and tells its OnDocked.
    bool Plug(TAdvCustomToolBar* toolBar);

    void StylerChanged(int code) override;
    void SetParent(TWinControl* parent) override;
    void Loaded() override;
    void LoadCompleted() override;
    bool LoadsToolBarLayouts() const override;
    bool BuildsRowsLater() const override { return afterLoadPending_; }

    /// How many layouts the panel has applied (a row operation that finds everything
    /// in place applies none).
    std::uint64_t LayoutPasses() const { return layoutPasses_; }
    /// One line per row: "row I: Left,Top,Right,Bottom: Name1 Name2".
    std::vector<std::string> DumpRows() const;
    /// What is wrong with the rows and the toolbars in them, or empty. Asserted at
    /// the end of every layout operation (the outermost one, when they nest).
    std::string CheckInvariants() const override;

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
    void Resize() override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TRowCollection;
    /// Marks a layout operation for as long as it runs; when the outermost one
    /// ends, the panel's invariants are asserted. A row step (appending to a row,
    /// taking out of one) is a part of an operation that callers may also chain
    /// themselves, so it counts as nesting but is not checked on its own.
    class TLayoutPass {
    public:
        enum TKind { Operation, RowStep };
        explicit TLayoutPass(TAdvDockPanel* panel, TKind kind = Operation) : panel_(panel), kind_(kind) {
            ++panel_->layoutPassDepth_;
        }
        ~TLayoutPass();
        TLayoutPass(const TLayoutPass&) = delete;
        TLayoutPass& operator=(const TLayoutPass&) = delete;

    private:
        TAdvDockPanel* panel_;
        TKind kind_;
    };

    bool Loading() const { return HasState(csLoading); }
    /// Loading, or loaded with its window and waiting for the window's load to end:
    /// toolbars register without rows, and the rows are built once afterwards.
    bool Building() const { return Loading() || afterLoadPending_; }
    /// Builds the rows from the toolbars' stored places and the saved layout, in one pass.
    void AfterLoad();
    /// The registered toolbars by their stored places: across the rows, then along.
    std::vector<TAdvCustomToolBar*> SortedToolBars() const;
    /// Each toolbar gets a row of its own, then asks for its stored place again.
    void BuildRows(TDockLayout& layout, const std::vector<TAdvCustomToolBar*>& sorted) const;
    /// The first rule of CheckInvariants that does not hold, or empty.
    std::string BrokenRule() const;
    bool Destroying() const { return HasState(csDestroying); }
    TRowCollectionItem* RowAt(int index) const { return rows_->Row(index); }
    /// Where a toolbar is now, as the row rules see it.
    TDockItem ItemOf(const TAdvCustomToolBar* t) const;
    /// The panel's rows and toolbars as a layout value.
    TDockLayout ReadLayout() const;
    /// Moves every toolbar to where the layout puts it, once, then sizes the panel.
    void ApplyLayout(const TDockLayout& layout);
    void SyncRows(const TDockLayout& layout);
    /// Whether applying the layout would change anything.
    bool Differs(const TDockLayout& layout) const;
    /// Reads the layout, runs `rules` on it and applies the result: one layout pass.
    template <class Rules> auto LayoutPass(Rules&& rules);
    void PropagatePersistence();
    void ApplyToolBarStyler();
    void ApplyPopupMenuStyler();
    /// Paints the background into the buffer at `scale`, `deviceSize` device pixels
    /// large, unless it already holds that.
    void PaintBackground(TSize deviceSize, double scale);
    /// The buffer as the last paint left it, or at 1.0 before any paint.
    void PaintBackground();

    TDockAlign align_ = TDockAlign::daTop;
    int minimumSize_ = 3;
    bool lockHeight_ = false;
    bool useRunTimeHeight_ = false;
    bool showToolBarMenu_ = true;
    bool layoutLoaded_ = false;
    bool afterLoadPending_ = false;
    std::unique_ptr<TPersistence> persistence_;
    std::unique_ptr<TDockLayoutPersistence> layoutPersistence_;
    TCustomAdvToolBarStyler* toolBarStyler_ = nullptr;
    TCustomAdvToolBarStyler* internalStyler_ = nullptr;
    TCustomAdvToolBarStyler* currentStyler_ = nullptr;
    std::unique_ptr<TRowCollection> rows_;
    std::vector<TAdvCustomToolBar*> dockedToolBars_;
    std::vector<TAdvCustomToolBar*> invisibleToolBars_;
    /// The background in device pixels at bufferScale_, so that a gradient gets one
    /// colour per device row and nothing is stretched on the way to the screen.
    TBitmap buffer_;
    double bufferScale_ = 1.0;
    bool bufferValid_ = false;
    bool applying_ = false;
    std::uint64_t layoutPasses_ = 0;
    int layoutPassDepth_ = 0;
};

/// Registers the dock panel and its records for stored layouts.
void RegisterDockPanelClasses();

} // namespace emr
