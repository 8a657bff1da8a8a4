#include "framework/forms/Label.h"

#include "framework/controls/WinControl.h"
#include "framework/forms/Hotkey.h"
#include "framework/graphics/Canvas.h"

namespace emr {

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() | csOpaque | csReplicatable);
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TCustomLabel::BeforeDestruction() {
    SetFocusControl(nullptr);
    TGraphicControl::BeforeDestruction();
}

void TCustomLabel::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    SetControlStyle(value ? ControlStyle() & ~static_cast<TControlStyle>(csOpaque)
                          : ControlStyle() | csOpaque);
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (value == layout_) return;
    layout_ = value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (value == showAccelChar_) return;
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
    if (control == focusControl_) return;
    if (focusControl_) RemoveFreeNotification(focusControl_);
    focusControl_ = control;
    if (focusControl_) FreeNotification(focusControl_);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::TextChanged() {
    TGraphicControl::TextChanged();
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

unsigned TCustomLabel::DrawTextFlags() const {
    unsigned flags = DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    flags |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    return flags;
}

namespace {

/// The text a label measures and draws: an empty caption still takes one line.
std::string LabelText(const std::string& caption, bool showAccelChar) {
    if (caption.empty() || (showAccelChar && caption == "&")) return caption + " ";
    return caption;
}

} // namespace

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || HasState(csLoading) || HasState(csDestroying)) return;
    TCanvas measure;
    measure.SetFont(Font());
    TRect rect{0, 0, wordWrap_ ? Width() : 0, 0};
    measure.DrawText(LabelText(Caption(), showAccelChar_), rect, DrawTextFlags() | DT_CALCRECT);
    int left = Left();
    if (alignment_ == taRightJustify)
        left += Width() - rect.Width();
    else if (alignment_ == taCenter)
        left += (Width() - rect.Width()) / 2;
    SetBounds(left, Top(), rect.Width(), rect.Height());
}

void TCustomLabel::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.SetFont(Font());
    if (!transparent_) {
        canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas.Brush()->SetColor(Color());
        canvas.FillRect(ClientRect());
    }
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    const std::string text = LabelText(Caption(), showAccelChar_);
    const unsigned flags = DrawTextFlags();
    TRect rect = ClientRect();
    if (layout_ != tlTop) {
        TRect calc = rect;
        canvas.DrawText(text, calc, flags | DT_CALCRECT);
        int offset = rect.Height() - calc.Height();
        rect.Top += layout_ == tlBottom ? offset : offset / 2;
    }
    if (!Enabled()) {
        TRect shifted = rect.Offset(1, 1);
        canvas.Font()->SetColor(clBtnHighlight);
        canvas.DrawText(text, shifted, flags);
        canvas.Font()->SetColor(clBtnShadow);
    }
    canvas.DrawText(text, rect, flags);
}

void TCustomLabel::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR && showAccelChar_ && focusControl_ && Enabled() &&
        IsAccel(static_cast<char32_t>(message.WParam), Caption()) && focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        message.Result = 1;
        return;
    }
    TGraphicControl::WndProc(message);
}

void TCustomLabel::DescribeAccessible(platform::TAccessibleNode& node) const {
    node.Role = platform::TAccessibleRole::Label;
    // Without accelerators an ampersand is part of the text.
    if (!ShowAccelChar()) node.Name = Caption();
}

} // namespace emr
