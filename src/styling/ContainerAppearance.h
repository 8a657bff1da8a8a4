#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"
#include "styling/RecordFields.h"

namespace emr {

#define EMR_CONTAINER_APPEARANCE_FIELDS(F)                                                                   \
    F(TColor, LineColor, lineColor_, clBtnShadow, Change, Setter, Always)                                    \
    F(bool, Line3D, line3D_, true, Change, Setter, Always)

/// Separator lines of a container. Setters notify only on a real change.
class TContainerAppearance : public TPersistent {
    EMR_CLASS(TContainerAppearance)
public:
    using Inherited = TPersistent;
    TContainerAppearance() = default;

    /// Copies both values through their setters (one notification per change);
    /// any other class is an error.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

    EMR_RECORD_FIELDS(TContainerAppearance, EMR_CONTAINER_APPEARANCE_FIELDS)

    void Changed() {
        if (OnChange) OnChange(this);
    }
};

} // namespace emr
