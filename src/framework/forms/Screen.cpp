#include "framework/forms/Screen.h"

#include <algorithm>

#include "framework/controls/Mouse.h"
#include "framework/forms/Form.h"
#include "framework/platform/Backend.h"

namespace emr {

namespace {

platform::Backend* CurrentBackend() {
    return platform::Backend::Installed() ? &platform::Backend::Current() : nullptr;
}

} // namespace

TScreen& TScreen::Instance() {
    static TScreen screen;
    return screen;
}

int TScreen::Width() const {
    auto* be = CurrentBackend();
    return be ? be->ScreenRect().Width() : 0;
}

int TScreen::Height() const {
    auto* be = CurrentBackend();
    return be ? be->ScreenRect().Height() : 0;
}

TRect TScreen::WorkAreaRect() const {
    auto* be = CurrentBackend();
    return be ? be->WorkArea() : TRect{};
}

int TScreen::MonitorCount() const {
    auto* be = CurrentBackend();
    return be ? static_cast<int>(be->Monitors().size()) : 0;
}

TRect TScreen::Monitors(int index) const {
    auto* be = CurrentBackend();
    if (!be) return {};
    std::vector<TRect> monitors = be->Monitors();
    return monitors.at(static_cast<std::size_t>(index));
}

TRect TScreen::MonitorFor(const TRect& rect) const {
    auto* be = CurrentBackend();
    if (!be) return {};
    std::vector<TRect> monitors = be->Monitors();
    if (monitors.empty()) return be->ScreenRect();
    TRect best = monitors.front();
    long bestArea = -1;
    for (const TRect& m : monitors) {
        TRect overlap = m.Intersect(rect);
        long area = static_cast<long>(overlap.Width()) * overlap.Height();
        if (area > bestArea) {
            best = m;
            bestArea = area;
        }
    }
    return best;
}

void TScreen::SetCursor(TCursor value) {
    if (value == cursor_) return;
    cursor_ = value;
    UpdateCursor();
}

void TScreen::UpdateCursor() {
    auto* be = CurrentBackend();
    if (!be) return;
    TMouse& mouse = TMouse::Instance();
    TControl* control = mouse.CaptureControl() ? mouse.CaptureControl() : mouse.HotControl();
    TCursor cursor = cursor_;
    if (cursor == crDefault)
        for (TControl* c = control; c && cursor == crDefault; c = c->Parent())
            cursor = c->Cursor();
    platform::WindowId window = 0;
    if (control)
        if (TWinControl* top = control->TopLevel()) window = top->NativeWindow();
    if (!window && activeForm_) window = activeForm_->NativeWindow();
    if (window) be->SetCursor(window, CursorShape(cursor));
}

TWinControl* TScreen::ActiveControl() const {
    return activeForm_ ? activeForm_->ActiveControl() : nullptr;
}

TCustomForm* TScreen::FormAt(TPoint screen) const {
    for (int onTop = 1; onTop >= 0; --onTop)
        for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
            TCustomForm* form = *it;
            if (!form->Visible() || form->Parent() || (form->FormStyle() == fsStayOnTop) != (onTop == 1))
                continue;
            if (form->ClientRect().Contains(form->ScreenToClient(screen))) return form;
        }
    return nullptr;
}

void TScreen::BringFormToFront(TCustomForm* form) {
    auto it = std::find(forms_.begin(), forms_.end(), form);
    if (it == forms_.end()) return;
    forms_.erase(it);
    forms_.push_back(form);
}

TControl* FindDragTarget(TPoint screen, bool allowDisabled) {
    TCustomForm* form = Screen().FormAt(screen);
    if (!form || (!allowDisabled && !form->Enabled())) return nullptr;
    TControl* hit = form->ControlAtPos(form->ScreenToClient(screen), allowDisabled, true);
    return hit ? hit : form;
}

void TScreen::AddForm(TCustomForm* form) {
    if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (activeForm_ == form) activeForm_ = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* form) {
    activeForm_ = form;
}

} // namespace emr
