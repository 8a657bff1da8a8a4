#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"
#include "styling/RecordFields.h"

namespace emr {

// Only the hot end colour and hot text colour notify when Assign copies them.
#define EMR_CAPTION_APPEARANCE_FIELDS(F)                                                                     \
    F(TColor, CaptionColor, captionColor_, 0x808080, Change, Plain, Always)                                  \
    F(TColor, CaptionColorTo, captionColorTo_, clNone, Change, Plain, Start)                                 \
    F(TColor, CaptionTextColor, captionTextColor_, clWhite, Change, Plain, Start)                            \
    F(TColor, CaptionBorderColor, captionBorderColor_, clNone, Change, Plain, Start)                         \
    F(TColor, CaptionColorHot, captionColorHot_, clNone, Change, Plain, Start)                               \
    F(TColor, CaptionColorHotTo, captionColorHotTo_, clNone, Change, Setter, Start)                          \
    F(TColor, CaptionTextColorHot, captionTextColorHot_, clWhite, Change, Setter, Start)                     \
    F(TColor, CaptionBorderColorHot, captionBorderColorHot_, clNone, Change, Plain, Start)

/// Colours of a toolbar's caption bar in its normal and hot state. Setters notify
/// only on a real change.
class TCaptionAppearance : public TPersistent {
    EMR_CLASS(TCaptionAppearance)
public:
    using Inherited = TPersistent;
    TCaptionAppearance() = default;

    /// Copies every colour; only CaptionColorHotTo and CaptionTextColorHot go
    /// through their setters, so only a change of those two notifies. Any other
    /// class is an error.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

    EMR_RECORD_FIELDS(TCaptionAppearance, EMR_CAPTION_APPEARANCE_FIELDS)

    void Changed() {
        if (OnChange) OnChange(this);
    }
};

} // namespace emr
