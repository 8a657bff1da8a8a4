#pragma once

#include <memory>

#include "framework/controls/WinControl.h"

namespace emr {

/// A windowed control that paints itself: Paint draws on Canvas(), which during
/// painting is the window's back buffer translated and clipped to the control.
/// Before Paint the background is erased with Color unless the control answers
/// WM_ERASEBKGND itself (Result non-zero) or is opaque.
class TCustomControl : public TWinControl {
    EMR_CLASS(TCustomControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;

    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void PaintTo(TCanvas& canvas) override;

private:
    std::unique_ptr<TCanvas> canvas_;
};

} // namespace emr
