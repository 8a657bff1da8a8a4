#include "toolbar/AdvToolBarSeparator.h"

#include "framework/graphics/Canvas.h"
#include "toolbar/AdvCustomToolBar.h"

namespace emr {

TAdvToolBarSeparator::TAdvToolBarSeparator(TComponent* owner) : TAdvCustomToolBarControl(owner) {
    SetAutoSize(true);
    SetBounds(Left(), Top(), 10, 22);
}

void TAdvToolBarSeparator::SetSeparatorStyle(TAdvSeparatorStyle value) {
    if (separatorStyle_ == value) return;
    separatorStyle_ = value;
    Invalidate();
}

void TAdvToolBarSeparator::SetLineColor(TColor value) {
    if (lineColor_ == value) return;
    lineColor_ = value;
    Invalidate();
}

void TAdvToolBarSeparator::UpdateControlSize() {
    if (!AutoSize()) return;
    TAdvCustomToolBar* tb = ToolBar();
    if (!IsVertical(Position()))
        SetBounds(Left(), Top(), 10, tb ? tb->Height() - 4 : Height());
    else
        SetBounds(Left(), Top(), tb ? tb->Width() - 4 : Width(), 10);
}

void TAdvToolBarSeparator::Paint() {
    if (separatorStyle_ == TAdvSeparatorStyle::ssBlank) return;
    TCanvas& c = *Canvas();
    TRect r = ClientRect();
    if (!IsVertical(Position())) {
        int mid = r.Left + r.Width() / 2;
        c.Pen()->SetColor(lineColor_);
        c.MoveTo(mid, r.Top + 3);
        c.LineTo(mid, r.Bottom - 3);
        c.Pen()->SetColor(clWhite);
        c.MoveTo(mid + 1, r.Top + 4);
        c.LineTo(mid + 1, r.Bottom - 2);
    } else {
        int mid = r.Top + r.Height() / 2;
        c.Pen()->SetColor(lineColor_);
        c.MoveTo(r.Left + 3, mid);
        c.LineTo(r.Right - 3, mid);
        c.Pen()->SetColor(clWhite);
        c.MoveTo(r.Left + 4, mid + 1);
        c.LineTo(r.Right - 2, mid + 1);
    }
}

void TAdvToolBarSeparator::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TAdvToolBarSeparator*>(source)) {
        SetSeparatorStyle(other->separatorStyle_);
        SetLineColor(other->lineColor_);
        return;
    }
    TAdvCustomToolBarControl::Assign(source);
}

void TAdvToolBarSeparator::DescribeAccessible(platform::TAccessibleNode& node) const {
    node.Role = platform::TAccessibleRole::Separator;
    node.States &= ~platform::asFocusable;
}

} // namespace emr
