#pragma once

#include "framework/graphics/Color.h"
#include "toolbar/AdvCustomToolBarControl.h"

namespace emr {

/// An etched line between groups of toolbar buttons, across the toolbar.
class TAdvToolBarSeparator : public TAdvCustomToolBarControl {
    EMR_CLASS(TAdvToolBarSeparator)
public:
    explicit TAdvToolBarSeparator(TComponent* owner);

    TAdvSeparatorStyle SeparatorStyle() const { return separatorStyle_; }
    void SetSeparatorStyle(TAdvSeparatorStyle value);
    TColor LineColor() const { return lineColor_; }
    void SetLineColor(TColor value);

    void UpdateControlSize() override;
    void DescribeAccessible(platform::TAccessibleNode& node) const override;
    /// Copies style and line colour from another separator.
    void Assign(const TPersistent* source) override;

protected:
    void Paint() override;
    bool CanRotateContent() const override { return false; }

private:
    TAdvSeparatorStyle separatorStyle_ = TAdvSeparatorStyle::ssOffice2003;
    TColor lineColor_ = clBtnShadow;
};

} // namespace emr
