#pragma once

#include "framework/graphics/Color.h"
#include "styling/StyleRecord.h"
#include "styling/StylingTypes.h"

namespace emr {

/// Two-part glow-button faces in five states: each state has an upper gradient
/// (Color to ColorTo), a lower one (ColorMirror to ColorMirrorTo), a border and
/// the gradient kinds of both halves. Setters notify on a real change.
class TGlowButtonAppearance : public TStyleRecord {
    EMR_CLASS(TGlowButtonAppearance)
public:
    TGlowButtonAppearance() = default;

    EMR_RECORD_PROPERTY(TColor, Color, color_)
    EMR_RECORD_PROPERTY(TColor, ColorTo, colorTo_)
    EMR_RECORD_PROPERTY(TColor, ColorMirror, colorMirror_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorTo, colorMirrorTo_)
    EMR_RECORD_PROPERTY(TColor, BorderColor, borderColor_)
    EMR_RECORD_PROPERTY(TGDIPGradient, Gradient, gradient_)
    EMR_RECORD_PROPERTY(TGDIPGradient, GradientMirror, gradientMirror_)

    EMR_RECORD_PROPERTY(TColor, ColorHot, colorHot_)
    EMR_RECORD_PROPERTY(TColor, ColorHotTo, colorHotTo_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorHot, colorMirrorHot_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorHotTo, colorMirrorHotTo_)
    EMR_RECORD_PROPERTY(TColor, BorderColorHot, borderColorHot_)
    EMR_RECORD_PROPERTY(TGDIPGradient, GradientHot, gradientHot_)
    EMR_RECORD_PROPERTY(TGDIPGradient, GradientMirrorHot, gradientMirrorHot_)

    EMR_RECORD_PROPERTY(TColor, ColorDown, colorDown_)
    EMR_RECORD_PROPERTY(TColor, ColorDownTo, colorDownTo_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorDown, colorMirrorDown_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorDownTo, colorMirrorDownTo_)
    EMR_RECORD_PROPERTY(TColor, BorderColorDown, borderColorDown_)
    EMR_RECORD_PROPERTY(TGDIPGradient, GradientDown, gradientDown_)
    EMR_RECORD_PROPERTY(TGDIPGradient, GradientMirrorDown, gradientMirrorDown_)

    EMR_RECORD_PROPERTY(TColor, ColorChecked, colorChecked_)
    EMR_RECORD_PROPERTY(TColor, ColorCheckedTo, colorCheckedTo_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorChecked, colorMirrorChecked_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorCheckedTo, colorMirrorCheckedTo_)
    EMR_RECORD_PROPERTY(TColor, BorderColorChecked, borderColorChecked_)
    EMR_RECORD_PROPERTY(TGDIPGradient, GradientChecked, gradientChecked_)
    EMR_RECORD_PROPERTY(TGDIPGradient, GradientMirrorChecked, gradientMirrorChecked_)

    EMR_RECORD_PROPERTY(TColor, ColorDisabled, colorDisabled_)
    EMR_RECORD_PROPERTY(TColor, ColorDisabledTo, colorDisabledTo_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorDisabled, colorMirrorDisabled_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorDisabledTo, colorMirrorDisabledTo_)
    EMR_RECORD_PROPERTY(TColor, BorderColorDisabled, borderColorDisabled_)
    EMR_RECORD_PROPERTY(TGDIPGradient, GradientDisabled, gradientDisabled_)
    EMR_RECORD_PROPERTY(TGDIPGradient, GradientMirrorDisabled, gradientMirrorDisabled_)

    /// Copies every state from another glow appearance and notifies once if
    /// anything differed; any other class is an error.
    void Assign(const TPersistent* source) override;

    /// Copies only the hot, down and checked states (the shared glow colours of
    /// the Office 2003 looks) and notifies once if anything differed.
    void AssignActiveStates(const TGlowButtonAppearance& source);

private:
    bool CopyStates(const TGlowButtonAppearance& source, bool allStates);

    TColor color_ = static_cast<TColor>(0xF7F7F7);
    TColor colorTo_ = static_cast<TColor>(0xF0E8E4);
    TColor colorMirror_ = static_cast<TColor>(0xE8DCD5);
    TColor colorMirrorTo_ = static_cast<TColor>(0xF4F0EE);
    TColor borderColor_ = static_cast<TColor>(0xC0B4AE);
    TGDIPGradient gradient_ = ggVertical;
    TGDIPGradient gradientMirror_ = ggVertical;

    TColor colorHot_ = static_cast<TColor>(0xEBFDFF);
    TColor colorHotTo_ = static_cast<TColor>(0xACECFF);
    TColor colorMirrorHot_ = static_cast<TColor>(0x59DAFF);
    TColor colorMirrorHotTo_ = static_cast<TColor>(0xA4E9FF);
    TColor borderColorHot_ = static_cast<TColor>(0x99CEDB);
    TGDIPGradient gradientHot_ = ggRadial;
    TGDIPGradient gradientMirrorHot_ = ggRadial;

    TColor colorDown_ = static_cast<TColor>(0x76AFF1);
    TColor colorDownTo_ = static_cast<TColor>(0x4190F3);
    TColor colorMirrorDown_ = static_cast<TColor>(0x0E72F1);
    TColor colorMirrorDownTo_ = static_cast<TColor>(0x4C9FFD);
    TColor borderColorDown_ = static_cast<TColor>(0x45667B);
    TGDIPGradient gradientDown_ = ggRadial;
    TGDIPGradient gradientMirrorDown_ = ggRadial;

    TColor colorChecked_ = static_cast<TColor>(0xB5DBFB);
    TColor colorCheckedTo_ = static_cast<TColor>(0x78C7FE);
    TColor colorMirrorChecked_ = static_cast<TColor>(0x9FEBFD);
    TColor colorMirrorCheckedTo_ = static_cast<TColor>(0x56B4FE);
    TColor borderColorChecked_ = static_cast<TColor>(0x45667B);
    TGDIPGradient gradientChecked_ = ggVertical;
    TGDIPGradient gradientMirrorChecked_ = ggVertical;

    TColor colorDisabled_ = static_cast<TColor>(0xF2F2F2);
    TColor colorDisabledTo_ = static_cast<TColor>(0xF2F2F2);
    TColor colorMirrorDisabled_ = static_cast<TColor>(0xF2F2F2);
    TColor colorMirrorDisabledTo_ = static_cast<TColor>(0xF2F2F2);
    TColor borderColorDisabled_ = static_cast<TColor>(0xC0C0C0);
    TGDIPGradient gradientDisabled_ = ggVertical;
    TGDIPGradient gradientMirrorDisabled_ = ggVertical;
};

} // namespace emr
