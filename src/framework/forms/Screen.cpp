#include "framework/forms/Screen.h"

#include <algorithm>

#include "framework/controls/Mouse.h"
#include "framework/forms/DeviceMapping.h"
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

// Every rectangle here is in device-independent pixels: each monitor's space
// starts at its device origin and extends its device size divided by its scale.

int TScreen::Width() const {
    return DesktopRect().Width();
}

int TScreen::Height() const {
    return DesktopRect().Height();
}

TRect TScreen::DesktopRect() const {
    auto* be = CurrentBackend();
    if (!be) return {};
    // The backend's screen counts too: it may reach past the monitors it lists.
    const TRect screen = be->ScreenRect();
    TRect desktop = TDeviceMapping::ForDeviceRect(screen).ToDip(screen);
    for (const auto& m : TDeviceMapping::MonitorList())
        desktop = desktop.Union(m.Dip());
    return desktop;
}

TRect TScreen::WorkAreaRect() const {
    auto* be = CurrentBackend();
    if (!be) return {};
    const TRect work = be->WorkArea();
    return TDeviceMapping::ForDeviceRect(work).ToDip(work);
}

int TScreen::MonitorCount() const {
    return static_cast<int>(TDeviceMapping::MonitorList().size());
}

TRect TScreen::Monitors(int index) const {
    if (!CurrentBackend()) return {};
    return TDeviceMapping::MonitorList().at(static_cast<std::size_t>(index)).Dip();
}

TRect TScreen::MonitorFor(const TRect& rect) const {
    auto* be = CurrentBackend();
    if (!be) return {};
    const auto monitors = TDeviceMapping::MonitorList();
    if (monitors.empty()) return DesktopRect();
    TRect best = monitors.front().Dip();
    long bestArea = -1;
    for (const auto& m : monitors) {
        const TRect dip = m.Dip();
        TRect overlap = dip.Intersect(rect);
        long area = static_cast<long>(overlap.Width()) * overlap.Height();
        if (area > bestArea) {
            best = dip;
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
