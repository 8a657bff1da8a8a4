#pragma once

#include <memory>

#include "framework/controls/Control.h"

namespace emr {

/// A windowless control: it has no handle and paints on its parent's surface
/// through Canvas(), which during Paint is translated and clipped to the control.
class TGraphicControl : public TControl {
    EMR_CLASS(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    /// The canvas Paint draws on (valid during painting; outside it draws nowhere visible).
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void PaintTo(TCanvas& canvas) override;

private:
    std::unique_ptr<TCanvas> canvas_;
};

} // namespace emr
