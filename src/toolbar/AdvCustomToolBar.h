#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/CheckedControl.h"
#include "framework/controls/CustomControl.h"
#include "framework/forms/StdCtrlTypes.h"
#include "framework/graphics/Picture.h"
#include "styling/StylerClient.h"
#include "toolbar/AdvCustomToolBarButton.h"
#include "toolbar/Persistence.h"
#include "toolbar/ToolBarBusyFlags.h"
#include "toolbar/ToolBarChrome.h"
#include "toolbar/ToolBarControlLists.h"
#include "toolbar/ToolBarDockSite.h"
#include "toolbar/ToolBarDocking.h"
#include "toolbar/ToolBarPartStates.h"
#include "toolbar/ToolBarProperties.h"
#include "toolbar/ToolBarTypes.h"

namespace emr {

class TTimer;
class TToolBarLayoutPersistence;
class TToolBarOverflow;
class TToolBarOptionWindow;
class TToolBarMenuBar;
class TToolBarKeyboardMode;
class TToolBarMDIButtons;
class TToolBarFocus;

using TOptionEvent = std::function<void(TObject* sender, TPoint clientPoint, TPoint screenPoint)>;
using TCanFloatEvent = std::function<void(TObject* sender, bool& allow)>;
using TDockedEvent = std::function<void(TObject* sender, TWinControl* dockPanel)>;

/// A windowed control holding a row (or column) of toolbar controls: it lays them
/// out after its grip, sizes itself around them with its right handle, paints
/// itself from a styler, and lives docked on a dock panel, floating in a window of
/// its own, or standalone on any other parent.
class TAdvCustomToolBar : public TCustomControl, public IStylerClient, public ICheckedControl {
    EMR_CLASS(TAdvCustomToolBar)
public:
    /// What is wrong, or empty: at most one of its buttons is hot, its part states
    /// hold together, and a floating toolbar is in no row.
    std::string CheckInvariants() const override;
    /// Keyboard mode holds the capture with no button down.
    bool KeepsCaptureWithoutButtons() const override;

    static constexpr int GripLength = TToolBarChrome::GripLength;
    static constexpr int MinLength = 60;
    static constexpr int DefaultThickness = TToolBarDocking::DefaultThickness;

    explicit TAdvCustomToolBar(TComponent* owner);
    ~TAdvCustomToolBar() override;
    void BeforeDestruction() override;

    // Published properties (see ToolBarProperties.h).
    EMR_TOOLBAR_PROPERTY_ACCESSORS
    TMainMenu* Menu() const;
    void SetMenu(TMainMenu* value);
    /// Restores the saved floating state and control visibility (when Persistence.Enabled).
    void LoadToolBarLayout();
    /// Saves them; throws ESettingsStoreError when the store cannot be written.
    void SaveToolBarLayout();
    TToolBarLayoutPersistence* LayoutPersistence() const { return layoutPersistence_.get(); }

    TNotifyEvent OnClose;
    TOptionEvent OnOptionClick;
    TCanFloatEvent OnCanFloat;
    TDockedEvent OnDocked;
    TNotifyEvent OnUnDocked;

    // State.
    TToolBarState State() const { return docking_.State; }
    bool Docked() const { return docking_.State == TToolBarState::tsDocked; }
    bool Floating() const { return docking_.State == TToolBarState::tsFloating; }
    bool Standalone() const { return docking_.State == TToolBarState::tsStandalone; }
    TDockAlign Position() const { return docking_.Position; }
    bool Horizontal() const { return !IsVertical(docking_.Position); }
    int RightHandleLength() const {
        return published_.ShowRightHandle ? TToolBarChrome::HandleLength : TToolBarChrome::EndMargin;
    }
    int StartOffset() const;
    int FullLength() const { return fullLength_; }
    int DockedThickness() const { return docking_.DockedThickness; }
    void SetDockedThickness(int value) { docking_.DockedThickness = value; }
    int RowIndex() const { return docking_.RowIndex; }
    void SetRowIndex(int value) { docking_.RowIndex = value; }
    TToolBarDockSite* DockPanel() const { return docking_.Panel; }
    TToolBarDockSite* LastDockPanel() const { return docking_.LastPanel; }
    /// The styler all painting reads: ToolBarStyler, else the internal one.
    TCustomAdvToolBarStyler* CurrentStyler() const { return currentStyler_; }
    TCustomAdvToolBarStyler* InternalStyler() const { return internalStyler_; }

    const std::vector<TControl*>& PositionList() const { return lists_.Position; }
    const std::vector<TControl*>& PriorityList() const { return lists_.Priority; }
    const std::vector<TControl*>& OverflowList() const { return lists_.Overflow; }
    bool InOverflow(const TControl* control) const;

    // Flags the dock panel, floating window and option window set around their moves.
    bool BoundsAdjustmentSuppressed() const { return busy_.SuppressBoundsAdjustment; }
    void SetBoundsAdjustmentSuppressed(bool value) { busy_.SuppressBoundsAdjustment = value; }
    bool Reparenting() const { return busy_.Reparenting; }
    void SetReparenting(bool value) { busy_.Reparenting = value; }
    bool Arranging() const { return busy_.Arranging; }

    // Layout.
    void ArrangeControls(bool updateSize);
    void UpdateSize();
    /// Moves controls into or out of the overflow list to fit the current length.
    void UpdateOverflow();
    /// Gives the control top priority and brings it back if hidden.
    void ControlUsed(TControl* control);
    void SetPosition(TDockAlign value);
    /// The most rows a floating toolbar can be wrapped into.
    int MaxFloatingRows() const;
    /// The thickness a toolbar takes when it starts to float.
    int FloatingThickness() const;
    /// The length that shows every visible control (used when re-orienting).
    int FullLengthForPosition() const;
    /// The size a floating toolbar takes when wrapped into `rows` rows.
    TSize FloatingRowsSize(int rows) const;
    /// Moves every control out of the overflow list and back onto the toolbar.
    void RestoreOverflow();
    /// Arranges the controls whose size changes waited for the panel's rows.
    void FinishPendingArrangement();

    // Styler client.
    void StylerChanged(int code) override;

    // Commands.
    void DoOptionClick();
    void CloseFloating();
    /// Keeps at most one hot button.
    void HotChanged(TAdvCustomToolBarButton* button);
    TAdvCustomToolBarButton* HotButton() const { return hotButton_; }
    /// Drops the menu of a menu button; false when the toolbar does not take the request.
    virtual bool TrackMenu(TAdvCustomToolBarButton* button);
    /// The menu-bar behaviour (generated buttons, dropped menus) and the keyboard menu mode.
    TToolBarMenuBar* MenuBar() const { return menuBar_.get(); }
    TToolBarKeyboardMode* KeyboardModeHandler() const { return keyboard_.get(); }
    /// The keyboard focus among the toolbar's items while the toolbar has the focus.
    TToolBarFocus* KeyboardFocus() const { return focus_.get(); }
    void DescribeAccessible(platform::TAccessibleNode& node) const override;
    const TComponent* AccessibleFocus() const override;
    /// The buttons of the active maximized document window (AutoMDIButtons).
    TToolBarMDIButtons* MDIButtons() const { return mdiButtons_.get(); }
    /// Whether the last dropped menu opened beside its button (read by a pressed menu button).
    bool MenuSideways() const;

    // Option window.
    virtual bool OptionWindowVisible() const;
    virtual void CloseOptionWindow();
    /// The panel of the option window that shows hidden controls, or null.
    virtual TWinControl* OptionControlPanel() const;
    /// The option window's own side, or null before the toolbar is constructed.
    TToolBarOptionWindow* OptionWindow() const { return optionWindow_.get(); }

    // Geometry, in client coordinates.
    TRect CaptionRect() const;
    TRect ContentRect() const;
    TRect CloseButtonRect() const;
    TRect OptionButtonRect() const;
    TRect CaptionOptionIndicatorRect() const;
    TRect GripHitRect() const;
    TRect RightHandleHitRect() const;
    TRect FloatingCaptionDragRect() const;

    // The part under the pointer and the part being pressed: the right handle, the
    // floating caption's buttons or the caption-bar indicator.
    const TToolBarPartStates& PartStates() const { return parts_; }
    TToolBarPart DownPart() const { return parts_.Down(); }
    bool RightHandleHot() const { return parts_.Hot() == TToolBarPart::RightHandle; }
    bool CloseButtonDown() const { return DownPart() == TToolBarPart::CloseButton; }
    /// The indicator stays lit from the pointer's arrival until its fade-out ends.
    bool IndicatorHot() const { return parts_.IndicatorLit(); }
    int IndicatorFade() const { return parts_.FadePercent(); }
    bool IndicatorFading() const { return parts_.Fading(); }

    /// Paints the whole toolbar onto `canvas` (used by Paint and by pixel tests).
    void PaintToolBar(TCanvas& canvas);

    void SetBounds(int left, int top, int width, int height) override;
    /// Takes bounds its dock panel worked out, without offering them to the panel again.
    void TakeBounds(const TRect& bounds);
    void Loaded() override;
    void LoadCompleted() override;
    void SetParentComponent(TComponent* parent) override;

    // Control registration (buttons call these through attachment).
    void RegisterControl(TAdvCustomToolBarControl* control);
    /// A child changed its bounds (not while the toolbar itself arranges them).
    void ControlBoundsChanged(TControl* control);
    void UnregisterControl(TAdvCustomToolBarControl* control);

protected:
    void BeforePaint() override;
    void Paint() override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void KeyDown(int& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;
    void VisibleChanged() override;
    void ParentChanging(TWinControl* newParent) override;
    void ParentChanged() override;
    void AlignControls(TControl* control, TRect& rect) override;
    bool AlignsUnalignedChildren() const override { return true; }
    void ControlChange(TControl* control, bool inserting) override;
    void Notification(TComponent* component, TOperation operation) override;

    /// Opens the option window below the right handle.
    virtual void OpenOptionWindow(TPoint screenPoint);
    /// Runs the drag loop from a press on the grip or the floating caption.
    virtual void BeginDrag(TPoint clientPoint);
    bool DragInProgress() const { return dragInProgress_; }
    void SetDragInProgress(bool value) { dragInProgress_ = value; }

private:
    bool Loading() const { return HasState(csLoading); }
    bool Designing() const { return HasState(csDesigning); }
    int Length() const { return Horizontal() ? Width() : Height(); }
    void HideControl(TControl* control);
    void PlaceControl(TControl* control, int left, int top);
    int InsertionIndex(TControl* control) const;
    void BuildPositionList();
    /// The buttons' image indexes name images of a list that is gone.
    void ForgetImageIndexes();
    void ResolveStyler();
    void ReopenClosedMenuBar();
    /// Unregisters from the dock panel when the toolbar floats or becomes standalone.
    void LeaveDockPanel();
    void ButtonsReadStyler();
    void EachToolBarControl(const std::function<void(TAdvCustomToolBarControl*)>& f) const;
    void UpdateFloatingRowsSize();
    void InvalidateRightHandle();
    void InvalidateIndicator();
    void InvalidatePart(TToolBarPart part);
    TToolBarPart PartAt(TPoint clientPoint) const;
    /// Repaints what a transition of the part states changed and runs the fade it started.
    void PartsChanged(const TToolBarPartStates& before);
    void RunFadeTimer();
    void FadeTick();
    void ChildBoundsChanged(TControl* control);
    TPoint OptionAnchor() const;
    TToolBarFloatingSite* FloatingSite() const;

    /// The chrome as the toolbar's settings and state make it now.
    TToolBarChrome Chrome() const;

    TToolBarProperties published_;
    TToolBarInertProperties inert_;
    std::unique_ptr<TToolBarLayoutPersistence> layoutPersistence_;
    TToolBarDocking docking_;
    int fullLength_ = MinLength;
    TCustomAdvToolBarStyler* internalStyler_ = nullptr;
    TCustomAdvToolBarStyler* currentStyler_ = nullptr;
    TToolBarControlLists lists_;
    std::unique_ptr<TToolBarOverflow> overflow_;
    std::unique_ptr<TToolBarOptionWindow> optionWindow_;
    TToolBarBusyFlags busy_;
    bool dragInProgress_ = false;
    TCursor savedCursor_ = crDefault;
    TToolBarPartStates parts_;
    TTimer* fadeTimer_ = nullptr;
    TAdvCustomToolBarButton* hotButton_ = nullptr;
    std::unique_ptr<TToolBarMenuBar> menuBar_;
    std::unique_ptr<TToolBarKeyboardMode> keyboard_;
    std::unique_ptr<TToolBarMDIButtons> mdiButtons_;
    std::unique_ptr<TToolBarFocus> focus_;
};

} // namespace emr
