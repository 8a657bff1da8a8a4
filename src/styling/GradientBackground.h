#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"
#include "styling/RecordFields.h"
#include "styling/StylingTypes.h"

namespace emr {

#define EMR_MIRROR_GRADIENT_FIELDS(F)                                                                        \
    F(TColor, Color, color_, clWhite, Change, Plain, Always)                                                 \
    F(TColor, ColorTo, colorTo_, clBtnFace, Change, Plain, Always)                                           \
    F(TColor, ColorMirror, colorMirror_, 0xEDD9C8, Change, Plain, Always)                                    \
    F(TColor, ColorMirrorTo, colorMirrorTo_, 0xFFF4E3, Change, Plain, Always)

/// The four colours of a two-part gradient: upper part Color to ColorTo, lower
/// part ColorMirror to ColorMirrorTo. Setters notify only on a real change.
class TMirrorGradient : public TPersistent {
    EMR_CLASS(TMirrorGradient)
public:
    using Inherited = TPersistent;
    TMirrorGradient() = default;

    /// Copies the four colours without notifying; any other class is an error.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

    EMR_RECORD_FIELDS(TMirrorGradient, EMR_MIRROR_GRADIENT_FIELDS)

    void Changed() {
        if (OnChange) OnChange(this);
    }
};

// ColorTo clNone asks the painting control to fill with Color alone.
#define EMR_GRADIENT_BACKGROUND_FIELDS(F)                                                                    \
    F(TColor, Color, color_, clWhite, Always, Plain, Always)                                                 \
    F(TColor, ColorTo, colorTo_, clBtnFace, Always, Plain, Always)                                           \
    F(TGradientDirection, Direction, direction_, gdHorizontal, Always, Plain, Always)                        \
    F(int, Steps, steps_, 64, Always, Plain, Start)

/// A linear gradient background. Every setter notifies, changed or not.
class TGradientBackground : public TPersistent {
    EMR_CLASS(TGradientBackground)
public:
    using Inherited = TPersistent;
    TGradientBackground() = default;

    /// Copies Color, ColorTo, Direction and Steps without notifying; a source of
    /// another class is ignored.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

    EMR_RECORD_FIELDS(TGradientBackground, EMR_GRADIENT_BACKGROUND_FIELDS)

protected:
    void Changed() {
        if (OnChange) OnChange(this);
    }
};

/// A gradient background that also carries a two-part (mirror) gradient. The
/// mirror's change event is left for whoever needs it to connect.
class TVistaGradientBackground : public TGradientBackground {
    EMR_CLASS(TVistaGradientBackground)
public:
    using Inherited = TGradientBackground;
    TVistaGradientBackground() = default;

    TMirrorGradient* Mirror() { return &mirror_; }
    const TMirrorGradient* Mirror() const { return &mirror_; }
    /// Copies `value` into the owned mirror.
    void SetMirror(const TMirrorGradient* value) { mirror_.Assign(value); }

    /// As the base, then the mirror when the source is also a vista background.
    void Assign(const TPersistent* source) override;

private:
    TMirrorGradient mirror_;
};

} // namespace emr
