#pragma once

#include "framework/graphics/Color.h"
#include "styling/RecordFields.h"
#include "styling/StyleRecord.h"
#include "styling/StylingTypes.h"

namespace emr {

#define EMR_GLOW_BUTTON_APPEARANCE_FIELDS(F)                                                                 \
    F(TColor, Color, color_, 0xF7F7F7, Change, Plain, Always)                                                \
    F(TColor, ColorTo, colorTo_, 0xF0E8E4, Change, Plain, Always)                                            \
    F(TColor, ColorMirror, colorMirror_, 0xE8DCD5, Change, Plain, Always)                                    \
    F(TColor, ColorMirrorTo, colorMirrorTo_, 0xF4F0EE, Change, Plain, Always)                                \
    F(TColor, BorderColor, borderColor_, 0xC0B4AE, Change, Plain, Always)                                    \
    F(TGDIPGradient, Gradient, gradient_, ggVertical, Change, Plain, Always)                                 \
    F(TGDIPGradient, GradientMirror, gradientMirror_, ggVertical, Change, Plain, Always)                     \
    F(TColor, ColorHot, colorHot_, 0xEBFDFF, Change, Plain, Always)                                          \
    F(TColor, ColorHotTo, colorHotTo_, 0xACECFF, Change, Plain, Always)                                      \
    F(TColor, ColorMirrorHot, colorMirrorHot_, 0x59DAFF, Change, Plain, Always)                              \
    F(TColor, ColorMirrorHotTo, colorMirrorHotTo_, 0xA4E9FF, Change, Plain, Always)                          \
    F(TColor, BorderColorHot, borderColorHot_, 0x99CEDB, Change, Plain, Always)                              \
    F(TGDIPGradient, GradientHot, gradientHot_, ggRadial, Change, Plain, Always)                             \
    F(TGDIPGradient, GradientMirrorHot, gradientMirrorHot_, ggRadial, Change, Plain, Always)                 \
    F(TColor, ColorDown, colorDown_, 0x76AFF1, Change, Plain, Always)                                        \
    F(TColor, ColorDownTo, colorDownTo_, 0x4190F3, Change, Plain, Always)                                    \
    F(TColor, ColorMirrorDown, colorMirrorDown_, 0x0E72F1, Change, Plain, Always)                            \
    F(TColor, ColorMirrorDownTo, colorMirrorDownTo_, 0x4C9FFD, Change, Plain, Always)                        \
    F(TColor, BorderColorDown, borderColorDown_, 0x45667B, Change, Plain, Always)                            \
    F(TGDIPGradient, GradientDown, gradientDown_, ggRadial, Change, Plain, Always)                           \
    F(TGDIPGradient, GradientMirrorDown, gradientMirrorDown_, ggRadial, Change, Plain, Always)               \
    F(TColor, ColorChecked, colorChecked_, 0xB5DBFB, Change, Plain, Always)                                  \
    F(TColor, ColorCheckedTo, colorCheckedTo_, 0x78C7FE, Change, Plain, Always)                              \
    F(TColor, ColorMirrorChecked, colorMirrorChecked_, 0x9FEBFD, Change, Plain, Always)                      \
    F(TColor, ColorMirrorCheckedTo, colorMirrorCheckedTo_, 0x56B4FE, Change, Plain, Always)                  \
    F(TColor, BorderColorChecked, borderColorChecked_, 0x45667B, Change, Plain, Always)                      \
    F(TGDIPGradient, GradientChecked, gradientChecked_, ggVertical, Change, Plain, Always)                   \
    F(TGDIPGradient, GradientMirrorChecked, gradientMirrorChecked_, ggVertical, Change, Plain, Always)       \
    F(TColor, ColorDisabled, colorDisabled_, 0xF2F2F2, Change, Plain, Always)                                \
    F(TColor, ColorDisabledTo, colorDisabledTo_, 0xF2F2F2, Change, Plain, Always)                            \
    F(TColor, ColorMirrorDisabled, colorMirrorDisabled_, 0xF2F2F2, Change, Plain, Always)                    \
    F(TColor, ColorMirrorDisabledTo, colorMirrorDisabledTo_, 0xF2F2F2, Change, Plain, Always)                \
    F(TColor, BorderColorDisabled, borderColorDisabled_, 0xC0C0C0, Change, Plain, Always)                    \
    F(TGDIPGradient, GradientDisabled, gradientDisabled_, ggVertical, Change, Plain, Always)                 \
    F(TGDIPGradient, GradientMirrorDisabled, gradientMirrorDisabled_, ggVertical, Change, Plain, Always)

/// Two-part glow-button faces in five states: each state has an upper gradient
/// (Color to ColorTo), a lower one (ColorMirror to ColorMirrorTo), a border and
/// the gradient kinds of both halves. Setters notify on a real change.
class TGlowButtonAppearance : public TStyleRecord {
    EMR_CLASS(TGlowButtonAppearance)
public:
    using Inherited = TPersistent;
    TGlowButtonAppearance() = default;

    /// Copies every state from another glow appearance and notifies once if
    /// anything differed; any other class is an error.
    void Assign(const TPersistent* source) override;

    /// Copies only the hot, down and checked states (the shared glow colours of
    /// the Office 2003 looks) and notifies once if anything differed.
    void AssignActiveStates(const TGlowButtonAppearance& source);

    EMR_RECORD_FIELDS(TGlowButtonAppearance, EMR_GLOW_BUTTON_APPEARANCE_FIELDS)

private:
    bool CopyActiveStates(const TGlowButtonAppearance& source);
};

} // namespace emr
