#include "framework/forms/HintWindow.h"

#include <algorithm>

#include "framework/forms/Screen.h"
#include "framework/graphics/Canvas.h"

namespace emr {

namespace {

constexpr unsigned kHintTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
constexpr int kPadX = 3; // frame and space left and right of the text
constexpr int kPadY = 2;

} // namespace

std::string GetShortHint(const std::string& hint) {
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

THintWindow::THintWindow(TComponent* owner) : TCustomForm(owner) {
    SetControlStyle(csOpaque);
    SetBorderStyle(bsNone);
    SetBorderIcons(0);
    SetPosition(poDesigned);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& params) const {
    TCustomForm::CreateParams(params);
    params.Style.Kind = platform::TWindowKind::Popup;
    params.Style.Resizable = false;
    params.Style.SystemMenu = false;
    params.Style.MinimizeBox = false;
    params.Style.MaximizeBox = false;
    params.Style.StayOnTop = true;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint) const {
    TCanvas measure;
    measure.SetFont(Font());
    TRect r{0, 0, std::max(maxWidth - 2 * kPadX, 1), 0};
    measure.DrawText(hint, r, kHintTextFlags | DT_CALCRECT);
    return {0, 0, r.Width() + 2 * kPadX, r.Height() + 2 * kPadY};
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& hint) {
    SetCaption(hint);
    const TRect work = Screen().WorkAreaRect();
    int x = std::clamp(rect.Left, work.Left, std::max(work.Left, work.Right - rect.Width()));
    int y = std::clamp(rect.Top, work.Top, std::max(work.Top, work.Bottom - rect.Height()));
    SetBounds(x, y, rect.Width(), rect.Height());
    Invalidate();
    if (!Visible()) Show();
}

void THintWindow::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect client = ClientRect();
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(client);
    canvas.Brush()->SetColor(clWindowFrame);
    canvas.FrameRect(client);
    canvas.SetFont(Font());
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    TRect text = client.Inflate(-kPadX, -kPadY);
    canvas.DrawText(Caption(), text, kHintTextFlags);
}

} // namespace emr
