#include "toolbar/OptionSelectorWindow.h"

#include <algorithm>
#include <vector>

#include "framework/forms/Application.h"
#include "framework/forms/Timer.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/OptionSelectorPanel.h"

namespace emr {

namespace {

// Popup windows never take the keyboard focus, so no window system tells them
// they lost activation. The open popups form one chain (option window, cascade
// levels); a press anywhere outside it is what a loss of activation would have
// been, and it goes to the newest popup, which closes the chain from the end.
struct TPopupChain {
    std::vector<TOptionSelectorWindow*> windows;
    TApplication* app = nullptr;
    THookId hook = 0;
};

TPopupChain& Chain() {
    static TPopupChain chain;
    return chain;
}

bool IsPress(unsigned msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

bool WatchPresses(TMsg& msg) {
    if (!msg.FromInput || !IsPress(msg.Message.Msg) || !msg.TargetAlive()) return false;
    TPopupChain& chain = Chain();
    if (chain.windows.empty()) return false;
    TControl* top = msg.Target;
    while (top && top->Parent())
        top = top->Parent();
    for (TOptionSelectorWindow* w : chain.windows)
        if (w == top) return false;
    chain.windows.back()->LoseActivation();
    return false;
}

void Join(TOptionSelectorWindow* window) {
    TPopupChain& chain = Chain();
    chain.windows.erase(std::remove(chain.windows.begin(), chain.windows.end(), window), chain.windows.end());
    chain.windows.push_back(window);
    if (chain.hook == 0 && Application) {
        chain.app = Application;
        chain.hook = Application->AddGetMessageHook(&WatchPresses);
    }
}

void Leave(TOptionSelectorWindow* window) {
    TPopupChain& chain = Chain();
    chain.windows.erase(std::remove(chain.windows.begin(), chain.windows.end(), window), chain.windows.end());
    if (!chain.windows.empty() || chain.hook == 0) return;
    if (Application == chain.app && Application && !Application->HasState(csDestroying))
        Application->RemoveGetMessageHook(chain.hook);
    chain.hook = 0;
    chain.app = nullptr;
}

} // namespace

TOptionSelectorWindow::TOptionSelectorWindow(TComponent* owner) : TCustomForm(owner) {
    SetBorderIcons(0);
    SetBorderStyle(bsNone);
    SetPosition(poDesigned);
    SetFormStyle(fsStayOnTop);
    SetBounds(0, 0, 10, 10);
    hideTimer_ = new TTimer(this);
    hideTimer_->SetEnabled(false);
    hideTimer_->SetInterval(1);
    hideTimer_->OnTimer = [this](TObject*) {
        hideTimer_->SetEnabled(false);
        DeferredHide();
    };
}

void TOptionSelectorWindow::BeforeDestruction() {
    Leave(this);
    TCustomForm::BeforeDestruction();
}

TAdvCustomToolBar* TOptionSelectorWindow::AdvToolBar() const {
    return toolBar_.Get();
}

void TOptionSelectorWindow::SetAdvToolBar(TAdvCustomToolBar* value) {
    toolBar_.Reset(value);
}

void TOptionSelectorWindow::CreateParams(TCreateParams& params) const {
    TCustomForm::CreateParams(params);
    params.Style.Kind = platform::TWindowKind::Popup;
    params.Style.Resizable = false;
    params.Style.SystemMenu = false;
    params.Style.MinimizeBox = false;
    params.Style.MaximizeBox = false;
    params.Style.StayOnTop = true;
}

void TOptionSelectorWindow::FitToPanel() {
    if (panel_) SetBounds(Left(), Top(), panel_->Width(), panel_->Height());
}

void TOptionSelectorWindow::LoseActivation() {
    if (Visible() && hideOnDeactivate_) hideTimer_->SetEnabled(true);
}

bool TOptionSelectorWindow::HidePending() const {
    return hideTimer_->Enabled();
}

void TOptionSelectorWindow::Deactivate() {
    TCustomForm::Deactivate();
    LoseActivation();
}

void TOptionSelectorWindow::DoShow() {
    Join(this);
    TCustomForm::DoShow();
}

void TOptionSelectorWindow::DoHide() {
    Leave(this);
    hideTimer_->SetEnabled(false);
    if (panel_) panel_->WindowHidden();
    TCustomForm::DoHide();
}

void TOptionSelectorWindow::DeferredHide() {
    Hide();
}

} // namespace emr
