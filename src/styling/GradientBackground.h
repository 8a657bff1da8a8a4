#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"
#include "styling/StylingTypes.h"

namespace emr {

/// The four colours of a two-part gradient: upper part Color to ColorTo, lower
/// part ColorMirror to ColorMirrorTo. Setters notify only on a real change.
class TMirrorGradient : public TPersistent {
    EMR_CLASS(TMirrorGradient)
public:
    TMirrorGradient() = default;

    TColor Color() const { return color_; }
    void SetColor(TColor value) { Update(color_, value); }
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor value) { Update(colorTo_, value); }
    TColor ColorMirror() const { return colorMirror_; }
    void SetColorMirror(TColor value) { Update(colorMirror_, value); }
    TColor ColorMirrorTo() const { return colorMirrorTo_; }
    void SetColorMirrorTo(TColor value) { Update(colorMirrorTo_, value); }

    /// Copies the four colours without notifying; any other class is an error.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Update(TColor& field, TColor value);

    TColor color_ = clWhite;
    TColor colorTo_ = clBtnFace;
    TColor colorMirror_ = static_cast<TColor>(0xEDD9C8);
    TColor colorMirrorTo_ = static_cast<TColor>(0xFFF4E3);
};

/// A linear gradient background. Every setter notifies, changed or not.
class TGradientBackground : public TPersistent {
    EMR_CLASS(TGradientBackground)
public:
    TGradientBackground() = default;

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    /// clNone asks the painting control to fill with Color alone.
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor value);
    TGradientDirection Direction() const { return direction_; }
    void SetDirection(TGradientDirection value);
    int Steps() const { return steps_; }
    void SetSteps(int value);

    /// Copies Color, ColorTo, Direction and Steps without notifying; a source of
    /// another class is ignored.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    TColor color_ = clWhite;
    TColor colorTo_ = clBtnFace;
    TGradientDirection direction_ = gdHorizontal;
    int steps_ = 64;
};

/// A gradient background that also carries a two-part (mirror) gradient. The
/// mirror's change event is left for whoever needs it to connect.
class TVistaGradientBackground : public TGradientBackground {
    EMR_CLASS(TVistaGradientBackground)
public:
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
