#include "framework/forms/GroupBox.h"

#include "framework/forms/Hotkey.h"
#include "framework/graphics/Canvas.h"

namespace emr {

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks |
                    csReplicatable);
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 105);
}

int TCustomGroupBox::CaptionHeight() const {
    TCanvas measure;
    measure.SetFont(Font());
    return measure.TextHeight("0");
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) const {
    rect.Top += CaptionHeight();
    rect = rect.Inflate(-2, -2);
}

void TCustomGroupBox::TextChanged() {
    TCustomControl::TextChanged();
    Invalidate();
}

void TCustomGroupBox::FontChanged() {
    TCustomControl::FontChanged();
    Realign();
}

void TCustomGroupBox::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.SetFont(Font());
    const int h = canvas.TextHeight("0");
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(ClientRect());

    // The etched frame: a highlight frame one pixel right and down of a shadow frame.
    TRect frame{0, h / 2 - 1, Width(), Height()};
    canvas.Brush()->SetColor(clBtnHighlight);
    canvas.FrameRect(frame.Offset(1, 1).Intersect(frame));
    canvas.Brush()->SetColor(clBtnShadow);
    canvas.FrameRect({frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1});

    if (Caption().empty()) return;
    TRect text{0, 0, 0, 0};
    canvas.DrawText(Caption(), text, DT_SINGLELINE | DT_CALCRECT);
    text = TRect{8, 0, 8 + text.Width(), h};
    // The caption's own background hides the frame line behind it.
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(text);
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    if (!Enabled()) {
        TRect shifted = text.Offset(1, 1);
        canvas.Font()->SetColor(clBtnHighlight);
        canvas.DrawText(Caption(), shifted, DT_SINGLELINE);
        canvas.Font()->SetColor(clBtnShadow);
    }
    canvas.DrawText(Caption(), text, DT_SINGLELINE);
}

void TCustomGroupBox::WndProc(TMessage& message) {
    // Alt+accelerator of the caption moves the focus to the first control inside.
    if (message.Msg == CM_DIALOGCHAR && Enabled() && Showing() &&
        IsAccel(static_cast<char32_t>(message.WParam), Caption())) {
        SelectNext(nullptr, true, true);
        message.Result = 1;
        return;
    }
    TCustomControl::WndProc(message);
}

} // namespace emr
