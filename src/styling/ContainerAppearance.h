#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"

namespace emr {

/// Separator lines of a container. Setters notify only on a real change.
class TContainerAppearance : public TPersistent {
    EMR_CLASS(TContainerAppearance)
public:
    TContainerAppearance() = default;

    TColor LineColor() const { return lineColor_; }
    void SetLineColor(TColor value);
    bool Line3D() const { return line3D_; }
    void SetLine3D(bool value);

    /// Copies both values through their setters (one notification per change);
    /// any other class is an error.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor lineColor_ = clBtnShadow;
    bool line3D_ = true;
};

} // namespace emr
