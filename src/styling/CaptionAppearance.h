#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"

namespace emr {

/// Colours of a toolbar's caption bar in its normal and hot state. Setters notify
/// only on a real change.
class TCaptionAppearance : public TPersistent {
    EMR_CLASS(TCaptionAppearance)
public:
    TCaptionAppearance() = default;

    TColor CaptionColor() const { return captionColor_; }
    void SetCaptionColor(TColor value) { Update(captionColor_, value); }
    TColor CaptionColorTo() const { return captionColorTo_; }
    void SetCaptionColorTo(TColor value) { Update(captionColorTo_, value); }
    TColor CaptionTextColor() const { return captionTextColor_; }
    void SetCaptionTextColor(TColor value) { Update(captionTextColor_, value); }
    TColor CaptionBorderColor() const { return captionBorderColor_; }
    void SetCaptionBorderColor(TColor value) { Update(captionBorderColor_, value); }
    TColor CaptionColorHot() const { return captionColorHot_; }
    void SetCaptionColorHot(TColor value) { Update(captionColorHot_, value); }
    TColor CaptionColorHotTo() const { return captionColorHotTo_; }
    void SetCaptionColorHotTo(TColor value) { Update(captionColorHotTo_, value); }
    TColor CaptionTextColorHot() const { return captionTextColorHot_; }
    void SetCaptionTextColorHot(TColor value) { Update(captionTextColorHot_, value); }
    TColor CaptionBorderColorHot() const { return captionBorderColorHot_; }
    void SetCaptionBorderColorHot(TColor value) { Update(captionBorderColorHot_, value); }

    /// Copies every colour; only CaptionColorHotTo and CaptionTextColorHot go
    /// through their setters, so only a change of those two notifies. Any other
    /// class is an error.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Update(TColor& field, TColor value);

    TColor captionColor_ = static_cast<TColor>(0x808080);
    TColor captionColorTo_ = clNone;
    TColor captionTextColor_ = clWhite;
    TColor captionBorderColor_ = clNone;
    TColor captionColorHot_ = clNone;
    TColor captionColorHotTo_ = clNone;
    TColor captionTextColorHot_ = clWhite;
    TColor captionBorderColorHot_ = clNone;
};

} // namespace emr
