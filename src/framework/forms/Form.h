#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "framework/controls/WinControl.h"
#include "framework/forms/DeviceMapping.h"
#include "framework/platform/Backend.h"

namespace emr {

class TMainMenu;
class TCanvas;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;

enum TBorderIcon : std::uint32_t {
    biSystemMenu = 1u << 0,
    biMinimize = 1u << 1,
    biMaximize = 1u << 2,
    biHelp = 1u << 3
};
using TBorderIcons = std::uint32_t;

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
using enum TWindowState;

enum class TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
using enum TPosition;

enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
using enum TFormStyle;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

/// What a form asks the backend for when its native window is made.
struct TCreateParams {
    platform::TWindowStyle Style;
    std::string Caption;
};

/// A top-level form: one native window of the backend. Bounds are the outer
/// window in screen coordinates; the client area lies inside the frame. Children
/// paint into the form's back buffer, which is presented after each paint pass.
///
/// Borderless, popup and stay-on-top kinds (floating toolbars, popups) derive
/// from it and adjust CreateParams.
class TCustomForm : public TWinControl {
    EMR_CLASS(TCustomForm)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    void BeforeDestruction() override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    TMainMenu* Menu() const { return menu_; }
    template <class M = TMainMenu> void SetMenu(M* menu) {
        SetMenuComponent(menu, static_cast<TComponent*>(menu));
    }
    /// Offers a key press to the shortcuts of the form's main menu, then of the
    /// other menus it owns; runs the first enabled, visible item that has it.
    bool IsShortCut(int key, TShiftState shift);
    /// The control that has (or gets, when the form is activated) the keyboard focus.
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    /// Accepted from stored layouts and otherwise ignored.
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
    int TextHeight() const { return textHeight_; }
    void SetTextHeight(int value) { textHeight_ = value; }
    bool OldCreateOrder() const { return oldCreateOrder_; }
    void SetOldCreateOrder(bool value) { oldCreateOrder_ = value; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool value) { scaled_ = value; }
    /// The form a popup or floating kind belongs to (its native owner window).
    TCustomForm* PopupParent() const { return popupParent_; }
    void SetPopupParent(TCustomForm* form);

    void SetBounds(int left, int top, int width, int height) override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetClientWidth(int value) override;
    void SetClientHeight(int value) override;
    /// Frame thickness around the client area (left, top, right, bottom).
    TRect FrameExtents() const;
    bool Showing() const override;

    /// Makes the form visible and brings it to the front.
    void Show();
    void Hide();
    /// Asks OnCloseQuery and OnClose; hides, frees or (for the main form) ends the application.
    void Close();
    /// True when OnCloseQuery allows closing.
    virtual bool CloseQuery();
    /// Shows the form modally (other forms disabled) until ModalResult is set; returns it.
    virtual TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    /// Frees the form once the messages pending now have been handled.
    void Release();
    bool Active() const { return active_; }
    /// Brings the form's window to the front.
    void BringToFront();
    /// F6 / Shift+F6: moves the focus to the next (previous) pane of the window that
    /// owns this one: its client area, each pane control inside it, each pane window
    /// it owns, in that order and wrapping.
    void CyclePanes(bool forward);
    /// The window whose F6 cycle this one belongs to as a pane of its own (a
    /// floating toolbar's owner form), or null.
    virtual TCustomForm* PaneOwner() const { return nullptr; }

    TCanvas* Canvas() const { return canvas_.get(); }

    // Window services.
    platform::WindowId NativeWindow() const override { return window_; }
    TWinControl* WindowFocus() const override { return activeControl_; }
    void SetWindowFocus(TWinControl* control) override { SetActiveControl(control); }
    void DropWindowFocus() override { activeControl_ = nullptr; }
    bool PreviewsKeys() const override { return keyPreview_; }
    bool KeyboardCues() const override { return keyboardCues_; }
    /// Turns the keyboard cues on (they stay on for the window's life) and repaints.
    void ShowKeyboardCues();
    /// Creates the native window now if it does not exist.
    void HandleNeeded();
    void InvalidateWindowArea(const TRect& rect) override;
    void PaintWindowNow() override;
    /// The back buffer (the client area in device pixels, 0x00RRGGBB); empty before
    /// the first paint.
    const std::vector<std::uint32_t>& BackBuffer() const { return buffer_; }
    int BackBufferWidth() const { return bufferWidth_; }
    int BackBufferHeight() const { return bufferHeight_; }
    /// How the window's device-independent geometry meets its device pixels.
    const TDeviceMapping& DeviceMapping() const { return mapping_; }
    /// The client area in screen device pixels, as the native window has it.
    TRect NativeClientRect() const;
    /// A screen point of an event for this window, in device-independent pixels.
    TPoint DeviceToScreen(TPoint device) const;
    bool PaintPending() const { return !dirty_.Empty(); }

    /// Backend notifications the application forwards.
    void WindowActivated(bool active);
    /// The window manager moved or resized the window (client area, screen device pixels).
    void WindowConfigured(const TRect& clientScreenRect);
    /// The window's scale changed; `suggested` is the client area the system
    /// proposes for it (screen device pixels), or empty.
    void WindowScaleChanged(const TRect& suggested);
    /// Part of an area of the native window (client device pixels) must be shown again.
    void WindowExposed(const TRect& deviceRect);
    /// The native window was destroyed by someone else: the form lets go of it
    /// and ends what needed it (a modal loop answers as its close box would; the
    /// main form ends the application; another form is hidden).
    void NativeWindowLost();

    void WndProc(TMessage& message) override;
    void DescribeAccessible(platform::TAccessibleNode& node) const override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    /// Fires OnCreate (the application calls it after the stored layout is read).
    void DoCreate();

protected:
    /// Fills in the native window's style from the form's settings; overrides adjust it.
    virtual void CreateParams(TCreateParams& params) const;
    virtual void Paint();
    void PaintTo(TCanvas& canvas) override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();
    void VisibleChanged() override;
    void TextChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    bool DialogKey(int key, TShiftState shift) override;
    void SetMenuComponent(TMainMenu* menu, TComponent* asComponent);

private:
    void CreateNativeWindow();
    void DestroyNativeWindow();
    void RecreateNativeWindow();
    /// Runs `change` (which alters the frame) and keeps the client size.
    template <class F> void KeepClientSize(F change);
    void ApplyPosition();
    void SyncNativeBounds();
    /// The client area in screen device-independent pixels.
    TRect ClientScreenRect() const;
    /// A client area in screen DIPs for a device rectangle of `mapping`, keeping
    /// the present size where it only differs by the rounding of the edges.
    TRect DipClientFor(const TRect& device, const TDeviceMapping& mapping) const;
    void SetClientScreenRect(const TRect& client);
    /// Keeps the client area's top-left at that of `device` where the DIP geometry
    /// alone would put it elsewhere.
    void AnchorAt(const TRect& device);
    void EnsureBuffer();
    TRect FrameFor(TFormBorderStyle style) const;

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TWindowState windowState_ = wsNormal;
    TPosition position_ = poDefaultPosOnly;
    TFormStyle formStyle_ = fsNormal;
    bool keyPreview_ = false;
    bool keyboardCues_ = false;
    TMainMenu* menu_ = nullptr;
    TComponent* menuComponent_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TCustomForm* popupParent_ = nullptr;
    int pixelsPerInch_ = 96;
    int textHeight_ = 13;
    bool oldCreateOrder_ = false;
    bool scaled_ = true;
    TModalResult modalResult_ = mrNone;
    bool active_ = false;
    bool placed_ = false;
    bool inModal_ = false;
    bool closing_ = false;
    platform::WindowId window_ = 0;
    bool configuring_ = false;
    bool pendingShow_ = false;
    std::unique_ptr<TCanvas> canvas_;
    std::unique_ptr<TCanvas> surface_;
    std::vector<std::uint32_t> buffer_;
    int bufferWidth_ = 0;
    int bufferHeight_ = 0;
    double bufferScale_ = 1.0;
    TDeviceMapping mapping_;
    /// Where the system put the client area's top-left (device pixels) when that
    /// is no DIP's exact image: kept until the form moves itself, so that the
    /// window goes back to the same device pixels on the way back and no
    /// rounding accumulates over scale changes.
    std::optional<TPoint> deviceAnchor_;
    bool anchoring_ = false;
    TRect dirty_;
};

/// A plain form; application forms derive from it.
class TForm : public TCustomForm {
    EMR_CLASS(TForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

} // namespace emr
