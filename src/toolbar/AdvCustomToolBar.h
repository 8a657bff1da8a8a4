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
#include "toolbar/ToolBarChrome.h"
#include "toolbar/ToolBarDockSite.h"
#include "toolbar/ToolBarTypes.h"

namespace emr {

class TCustomAdvToolBarStyler;
class TCustomImageList;
class TMainMenu;
class TPopupMenu;
class TTimer;
class TAdvCustomToolBarButton;
class TToolBarLayoutPersistence;
class TToolBarDragLoop;
class TToolBarOverflow;
class TToolBarOptionWindow;
class TToolBarMenuBar;
class TToolBarKeyboardMode;
class TToolBarMDIButtons;
class TToolBarFocus;

/// The pressable parts of a toolbar's own chrome.
enum class TToolBarPart { None, RightHandle, OptionButton, CloseButton, Indicator };

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
    /// What is wrong, or empty: at most one of its buttons is hot, and a floating
    /// toolbar is in no row.
    std::string CheckInvariants() const override;
    /// Keyboard mode holds the capture with no button down.
    bool KeepsCaptureWithoutButtons() const override;

    static constexpr int GripLength = TToolBarChrome::GripLength;
    static constexpr int MinLength = 60;
    static constexpr int DefaultThickness = 26;

    explicit TAdvCustomToolBar(TComponent* owner);
    ~TAdvCustomToolBar() override;
    void BeforeDestruction() override;

    // Published properties.
    bool AllowFloating() const { return allowFloating_; }
    void SetAllowFloating(bool value);
    TAntiAlias AntiAlias() const { return antiAlias_; }
    void SetAntiAlias(TAntiAlias value);
    bool AutoArrangeButtons() const { return autoArrangeButtons_; }
    void SetAutoArrangeButtons(bool value);
    bool AutoDockOnClose() const { return autoDockOnClose_; }
    void SetAutoDockOnClose(bool value) { autoDockOnClose_ = value; }
    bool AutoMDIButtons() const { return autoMDIButtons_; }
    /// Holds only on a full-size toolbar with a Menu inside a form.
    void SetAutoMDIButtons(bool value);
    bool AutoOptionMenu() const { return autoOptionMenu_; }
    void SetAutoOptionMenu(bool value) { autoOptionMenu_ = value; }
    bool AutoPositionControls() const { return autoPositionControls_; }
    void SetAutoPositionControls(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Locked() const { return locked_; }
    void SetLocked(bool value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    TFont* CaptionFont() const { return captionFont_.get(); }
    void SetCaptionFont(const TFont* value);
    int CaptionHeight() const { return captionHeight_; }
    void SetCaptionHeight(int value);
    TCaptionPosition CaptionPosition() const { return captionPosition_; }
    void SetCaptionPosition(TCaptionPosition value);
    TAlignment CaptionAlignment() const { return captionAlignment_; }
    void SetCaptionAlignment(TAlignment value);
    const std::string& CompactCaption() const { return compactCaption_; }
    void SetCompactCaption(const std::string& value) { compactCaption_ = value; }
    TPicture* CompactPicture() const { return compactPicture_.get(); }
    void SetCompactPicture(const TPicture* value) { compactPicture_->Assign(value); }
    int CompactImageIndex() const { return compactImageIndex_; }
    void SetCompactImageIndex(int value) { compactImageIndex_ = value; }
    const std::string& CompactShortCutHint() const { return compactShortCutHint_; }
    void SetCompactShortCutHint(const std::string& value) { compactShortCutHint_ = value; }
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value);
    const std::string& HintOptionButton() const { return hintOptionButton_; }
    void SetHintOptionButton(const std::string& value) { hintOptionButton_ = value; }
    const std::string& HintCloseButton() const { return hintCloseButton_; }
    void SetHintCloseButton(const std::string& value) { hintCloseButton_ = value; }
    bool ShowRightHandle() const { return showRightHandle_; }
    void SetShowRightHandle(bool value);
    bool ShowClose() const { return showClose_; }
    void SetShowClose(bool value) { showClose_ = value; }
    bool ShowOptionIndicator() const { return showOptionIndicator_; }
    void SetShowOptionIndicator(bool value);
    TDockableTo DockableTo() const { return dockableTo_; }
    void SetDockableTo(TDockableTo value) { dockableTo_ = value; }
    TDockMode DockMode() const { return dockMode_; }
    void SetDockMode(TDockMode value) { dockMode_ = value; }
    bool FullSize() const { return fullSize_; }
    void SetFullSize(bool value);
    const std::string& TextAutoOptionMenu() const { return textAutoOptionMenu_; }
    void SetTextAutoOptionMenu(const std::string& value) { textAutoOptionMenu_ = value; }
    const std::string& TextOptionMenu() const { return textOptionMenu_; }
    void SetTextOptionMenu(const std::string& value) { textOptionMenu_ = value; }
    bool ParentStyler() const { return parentStyler_; }
    void SetParentStyler(bool value);
    TCustomAdvToolBarStyler* ToolBarStyler() const { return toolBarStyler_; }
    void SetToolBarStyler(TCustomAdvToolBarStyler* value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* DisabledImages() const { return disabledImages_; }
    void SetDisabledImages(TCustomImageList* value);
    TMainMenu* Menu() const;
    /// Generates one menu button per top-level item of `value` (the menu-bar mode).
    void SetMenu(TMainMenu* value);
    TPopupMenu* OptionMenu() const { return optionMenu_; }
    void SetOptionMenu(TPopupMenu* value);
    TPicture* OptionPicture() const { return optionPicture_.get(); }
    void SetOptionPicture(const TPicture* value) { optionPicture_->Assign(value); }
    TPicture* OptionDisabledPicture() const { return optionDisabledPicture_.get(); }
    void SetOptionDisabledPicture(const TPicture* value) { optionDisabledPicture_->Assign(value); }
    bool ParentOptionPicture() const { return parentOptionPicture_; }
    void SetParentOptionPicture(bool value) { parentOptionPicture_ = value; }
    int ToolBarIndex() const { return -1; }
    void SetToolBarIndex(int) {}
    /// Where the toolbar saves its floating state and visible buttons; a dock panel
    /// copies its own Enabled, Key and Location into it.
    TPersistence* Persistence() const { return persistence_.get(); }
    void SetPersistence(const TPersistence* value) { persistence_->Assign(value); }
    /// Restores the saved floating state and control visibility (when Persistence.Enabled).
    void LoadToolBarLayout();
    /// Saves them; throws ESettingsStoreError when the store cannot be written.
    void SaveToolBarLayout();
    TToolBarLayoutPersistence* LayoutPersistence() const { return layoutPersistence_.get(); }
    TAdvHintInfo* OfficeHint() const { return officeHint_.get(); }
    void SetOfficeHint(const TAdvHintInfo* value) { officeHint_->Assign(value); }
    std::string Version() const { return ToolBarVersion; }
    void SetVersion(const std::string&) {}
    int FloatingRows() const { return floatingRows_; }
    void SetFloatingRows(int value);

    TNotifyEvent OnClose;
    TOptionEvent OnOptionClick;
    TCanFloatEvent OnCanFloat;
    TDockedEvent OnDocked;
    TNotifyEvent OnUnDocked;

    // State.
    TToolBarState State() const { return state_; }
    bool Docked() const { return state_ == TToolBarState::tsDocked; }
    bool Floating() const { return state_ == TToolBarState::tsFloating; }
    bool Standalone() const { return state_ == TToolBarState::tsStandalone; }
    TDockAlign Position() const { return position_; }
    bool Horizontal() const { return !IsVertical(position_); }
    int RightHandleLength() const {
        return showRightHandle_ ? TToolBarChrome::HandleLength : TToolBarChrome::EndMargin;
    }
    int StartOffset() const;
    int FullLength() const { return fullLength_; }
    int DockedThickness() const { return dockedThickness_; }
    void SetDockedThickness(int value) { dockedThickness_ = value; }
    int RowIndex() const { return rowIndex_; }
    void SetRowIndex(int value) { rowIndex_ = value; }
    TToolBarDockSite* DockPanel() const { return dockPanel_; }
    TToolBarDockSite* LastDockPanel() const { return lastDockPanel_; }
    /// The styler all painting reads: ToolBarStyler, else the internal one.
    TCustomAdvToolBarStyler* CurrentStyler() const { return currentStyler_; }
    TCustomAdvToolBarStyler* InternalStyler() const { return internalStyler_; }

    const std::vector<TControl*>& PositionList() const { return positionList_; }
    const std::vector<TControl*>& PriorityList() const { return priorityList_; }
    const std::vector<TControl*>& OverflowList() const { return overflowList_; }
    bool InOverflow(const TControl* control) const;

    // Flags the dock panel, floating window and option window set around their moves.
    bool BoundsAdjustmentSuppressed() const { return suppressBoundsAdjustment_; }
    void SetBoundsAdjustmentSuppressed(bool value) { suppressBoundsAdjustment_ = value; }
    bool Reparenting() const { return reparenting_; }
    void SetReparenting(bool value) { reparenting_ = value; }
    bool Arranging() const { return arranging_; }

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
    TToolBarPart HotPart() const { return hotPart_; }
    TToolBarPart DownPart() const { return downPart_; }
    bool RightHandleHot() const { return hotPart_ == TToolBarPart::RightHandle; }
    bool RightHandleDown() const { return downPart_ == TToolBarPart::RightHandle; }
    bool OptionButtonHot() const { return hotPart_ == TToolBarPart::OptionButton; }
    bool OptionButtonDown() const { return downPart_ == TToolBarPart::OptionButton; }
    bool CloseButtonHot() const { return hotPart_ == TToolBarPart::CloseButton; }
    bool CloseButtonDown() const { return downPart_ == TToolBarPart::CloseButton; }
    /// The indicator stays lit from the pointer's arrival until its fade-out ends.
    bool IndicatorHot() const { return indicatorLit_; }
    bool IndicatorDown() const { return downPart_ == TToolBarPart::Indicator; }
    int IndicatorFade() const { return fadePercent_; }
    bool IndicatorFading() const { return fading_; }

    /// Paints the whole toolbar onto `canvas` (used by Paint and by pixel tests).
    void PaintToolBar(TCanvas& canvas);

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
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
    friend class TToolBarDragLoop;

    bool Loading() const { return HasState(csLoading); }
    bool Designing() const { return HasState(csDesigning); }
    int Length() const { return Horizontal() ? Width() : Height(); }
    static int LengthOf(const TControl* c, bool horizontal) { return horizontal ? c->Width() : c->Height(); }
    static int StartOf(const TControl* c, bool horizontal) { return horizontal ? c->Left() : c->Top(); }
    void HideControl(TControl* control);
    void PlaceControl(TControl* control, int left, int top);
    int InsertionIndex(TControl* control) const;
    void BuildPositionList();
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
    void SetHotPart(TToolBarPart part);
    void StartFade(int step);
    void FadeTick();
    void ClearHotFlags();
    void ChildBoundsChanged(TControl* control);
    TPoint OptionAnchor() const;
    TToolBarFloatingSite* FloatingSite() const;

    /// The chrome as the toolbar's settings and state make it now.
    TToolBarChrome Chrome() const;

    bool allowFloating_ = true;
    TAntiAlias antiAlias_ = TAntiAlias::aaClearType;
    bool autoArrangeButtons_ = true;
    bool autoDockOnClose_ = false;
    bool autoMDIButtons_ = false;
    bool autoOptionMenu_ = false;
    bool autoPositionControls_ = true;
    bool autoSize_ = true;
    bool locked_ = false;
    std::string caption_;
    std::unique_ptr<TFont> captionFont_;
    int captionHeight_ = TToolBarChrome::DefaultCaptionHeight;
    TCaptionPosition captionPosition_ = TCaptionPosition::cpTop;
    TAlignment captionAlignment_ = TAlignment::taLeftJustify;
    std::string compactCaption_;
    std::unique_ptr<TPicture> compactPicture_;
    int compactImageIndex_ = -1;
    std::string compactShortCutHint_;
    bool showCaption_ = false;
    std::string hintOptionButton_;
    std::string hintCloseButton_;
    bool showRightHandle_ = true;
    bool showClose_ = true;
    bool showOptionIndicator_ = true;
    TDockableTo dockableTo_ = DockableToAll;
    TDockMode dockMode_ = TDockMode::dmAll;
    bool fullSize_ = false;
    std::string textAutoOptionMenu_ = "Add or Remove Buttons";
    std::string textOptionMenu_ = "Options";
    bool parentStyler_ = true;
    TCustomAdvToolBarStyler* toolBarStyler_ = nullptr;
    TCustomImageList* images_ = nullptr;
    TCustomImageList* disabledImages_ = nullptr;
    TPopupMenu* optionMenu_ = nullptr;
    std::unique_ptr<TPicture> optionPicture_;
    std::unique_ptr<TPicture> optionDisabledPicture_;
    bool parentOptionPicture_ = true;
    std::unique_ptr<TAdvHintInfo> officeHint_;
    std::unique_ptr<TPersistence> persistence_;
    std::unique_ptr<TToolBarLayoutPersistence> layoutPersistence_;
    int floatingRows_ = 1;

    TToolBarState state_ = TToolBarState::tsDocked;
    TToolBarState previousState_ = TToolBarState::tsDocked;
    TDockAlign position_ = TDockAlign::daTop;
    int fullLength_ = MinLength;
    int dockedThickness_ = DefaultThickness;
    int rowIndex_ = -1;
    TToolBarDockSite* dockPanel_ = nullptr;
    TToolBarDockSite* lastDockPanel_ = nullptr;
    TComponentRef<TComponent> lastDockPanelRef_;
    TCustomAdvToolBarStyler* internalStyler_ = nullptr;
    TCustomAdvToolBarStyler* currentStyler_ = nullptr;

    std::vector<TControl*> positionList_;
    std::vector<TControl*> priorityList_;
    std::vector<TControl*> overflowList_;
    std::unique_ptr<TToolBarOverflow> overflow_;
    std::unique_ptr<TToolBarOptionWindow> optionWindow_;

    bool arranging_ = false;
    bool suppressBoundsAdjustment_ = false;
    bool shrinkFollowsControl_ = false;
    bool reparenting_ = false;
    bool dragInProgress_ = false;
    bool firstPaintDone_ = false;
    TCursor savedCursor_ = crDefault;

    TToolBarPart hotPart_ = TToolBarPart::None;
    TToolBarPart downPart_ = TToolBarPart::None;
    bool indicatorLit_ = false;
    int fadePercent_ = 0;
    int fadeStep_ = 0;
    TTimer* fadeTimer_ = nullptr;
    bool fading_ = false;

    TAdvCustomToolBarButton* hotButton_ = nullptr;
    std::unique_ptr<TToolBarMenuBar> menuBar_;
    std::unique_ptr<TToolBarKeyboardMode> keyboard_;
    std::unique_ptr<TToolBarMDIButtons> mdiButtons_;
    std::unique_ptr<TToolBarFocus> focus_;
};

} // namespace emr
