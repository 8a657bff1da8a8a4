#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "styling/RecordFields.h"
#include "styling/StylingTypes.h"

namespace emr {

// The hot and down border colours and the three state gradient directions are
// stored silently and show at the next repaint; Assign leaves the state
// gradient directions (and SystemFont) as they are.
#define EMR_BUTTON_APPEARANCE_FIELDS(F)                                                                      \
    F(TColor, Color, color_, clNone, Change, Plain, Start)                                                   \
    F(TColor, ColorTo, colorTo_, clNone, Change, Plain, Start)                                               \
    F(TColor, ColorChecked, colorChecked_, 0xD8D5D4, Change, Plain, Start)                                   \
    F(TColor, ColorCheckedTo, colorCheckedTo_, clNone, Change, Plain, Start)                                 \
    F(TColor, ColorDown, colorDown_, 0xB59285, Change, Plain, Start)                                         \
    F(TColor, ColorDownTo, colorDownTo_, clNone, Change, Plain, Start)                                       \
    F(TColor, ColorHot, colorHot_, 0xD2BDB6, Change, Plain, Start)                                           \
    F(TColor, ColorHotTo, colorHotTo_, clNone, Change, Plain, Start)                                         \
    F(TColor, CaptionTextColor, captionTextColor_, clBlack, Change, Plain, Start)                            \
    F(TColor, CaptionTextColorHot, captionTextColorHot_, clBlack, Change, Plain, Start)                      \
    F(TColor, CaptionTextColorDown, captionTextColorDown_, clBlack, Change, Plain, Start)                    \
    F(TColor, CaptionTextColorChecked, captionTextColorChecked_, clBlack, Change, Plain, Start)              \
    F(TGradientDirection, GradientDirection, gradientDirection_, gdVertical, Change, Plain, Start)           \
    F(TGradientDirection, GradientDirectionHot, gradientDirectionHot_, gdVertical, Silent, Skip, Start)      \
    F(TGradientDirection, GradientDirectionDown, gradientDirectionDown_, gdVertical, Silent, Skip, Start)    \
    F(TGradientDirection, GradientDirectionChecked, gradientDirectionChecked_, gdVertical, Silent, Skip,     \
      Start)                                                                                                 \
    F(TColor, BorderColor, borderColor_, clNone, Change, Plain, Start)                                       \
    F(TColor, BorderDownColor, borderDownColor_, 0x6A240A, Silent, Plain, Start)                             \
    F(TColor, BorderHotColor, borderHotColor_, 0x6A240A, Silent, Plain, Start)                               \
    F(TColor, BorderCheckedColor, borderCheckedColor_, 0x6A240A, Change, Plain, Start)                       \
    F(bool, SystemFont, systemFont_, true, Custom, Skip, Start)

/// Face, text and frame colours of a toolbar button in its normal, hot, down and
/// checked states. Most setters notify on a real change; the hot and down border
/// colours and the three state gradient directions are stored silently and show
/// at the next repaint.
class TButtonAppearance : public TPersistent {
    EMR_CLASS(TButtonAppearance)
public:
    using Inherited = TPersistent;
    TButtonAppearance();

    TFont* CaptionFont() { return &captionFont_; }
    const TFont* CaptionFont() const { return &captionFont_; }
    /// Copies `value` into the owned font and always notifies.
    void SetCaptionFont(const TFont* value);
    // SetSystemFont(true) names the caption font after the system UI font again.

    /// Copies the colours, the normal gradient direction and the border colours
    /// without notifying; the caption font, SystemFont and the state gradient
    /// directions stay. A source of another class is ignored.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

    EMR_RECORD_FIELDS(TButtonAppearance, EMR_BUTTON_APPEARANCE_FIELDS)

    void Changed() {
        if (OnChange) OnChange(this);
    }
    TFont captionFont_;
};

} // namespace emr
