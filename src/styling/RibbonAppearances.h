#pragma once

#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "styling/StyleRecord.h"
#include "styling/StylingTypes.h"

namespace emr {

/// Records the ribbon pager paints with. The toolbar system only keeps, streams
/// and announces them (change codes 10 to 12 of the styler).

/// Font holder shared by the ribbon records: the font follows the system UI
/// face while SystemFont is on, and a font change notifies the record.
class TRibbonFontRecord : public TStyleRecord {
    EMR_CLASS(TRibbonFontRecord)
public:
    explicit TRibbonFontRecord(int fontHeight = -11);

    TFont* Font() { return &font_; }
    const TFont* Font() const { return &font_; }
    void SetFont(const TFont* value);
    bool SystemFont() const { return systemFont_; }
    void SetSystemFont(bool value);

protected:
    void CopyFontFrom(const TRibbonFontRecord& other);

private:
    TFont font_;
    bool systemFont_ = true;
};

/// Ribbon tab colours in normal, hot, selected and disabled state.
class TTabAppearance : public TRibbonFontRecord {
    EMR_CLASS(TTabAppearance)
public:
    TTabAppearance() = default;

    EMR_RECORD_PROPERTY(TColor, Color, color_)
    EMR_RECORD_PROPERTY(TColor, ColorTo, colorTo_)
    EMR_RECORD_PROPERTY(TColor, ColorHot, colorHot_)
    EMR_RECORD_PROPERTY(TColor, ColorHotTo, colorHotTo_)
    EMR_RECORD_PROPERTY(TColor, ColorSelected, colorSelected_)
    EMR_RECORD_PROPERTY(TColor, ColorSelectedTo, colorSelectedTo_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorSelected, colorMirrorSelected_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorSelectedTo, colorMirrorSelectedTo_)
    EMR_RECORD_PROPERTY(TColor, BorderColor, borderColor_)
    EMR_RECORD_PROPERTY(TColor, BorderColorHot, borderColorHot_)
    EMR_RECORD_PROPERTY(TColor, BorderColorSelected, borderColorSelected_)
    EMR_RECORD_PROPERTY(TColor, BorderColorDisabled, borderColorDisabled_)
    EMR_RECORD_PROPERTY(TColor, TextColor, textColor_)
    EMR_RECORD_PROPERTY(TColor, TextColorHot, textColorHot_)
    EMR_RECORD_PROPERTY(TColor, TextColorSelected, textColorSelected_)
    EMR_RECORD_PROPERTY(TColor, TextColorDisabled, textColorDisabled_)
    EMR_RECORD_PROPERTY(TColor, ShadowColor, shadowColor_)
    EMR_RECORD_PROPERTY(TColor, HighLightColor, highLightColor_)

    void Assign(const TPersistent* source) override;

private:
    TColor color_ = clNone;
    TColor colorTo_ = clNone;
    TColor colorHot_ = static_cast<TColor>(0xF6E9DC);
    TColor colorHotTo_ = static_cast<TColor>(0xF6E9DC);
    TColor colorSelected_ = static_cast<TColor>(0xFCF6F1);
    TColor colorSelectedTo_ = static_cast<TColor>(0xF9EADD);
    TColor colorMirrorSelected_ = static_cast<TColor>(0xF9EADD);
    TColor colorMirrorSelectedTo_ = static_cast<TColor>(0xF6E3D2);
    TColor borderColor_ = clNone;
    TColor borderColorHot_ = static_cast<TColor>(0xE0C7AD);
    TColor borderColorSelected_ = static_cast<TColor>(0xE0C7AD);
    TColor borderColorDisabled_ = clNone;
    TColor textColor_ = static_cast<TColor>(0x8B4215);
    TColor textColorHot_ = static_cast<TColor>(0x8B4215);
    TColor textColorSelected_ = static_cast<TColor>(0x8B4215);
    TColor textColorDisabled_ = clGray;
    TColor shadowColor_ = static_cast<TColor>(0xE0C7AD);
    TColor highLightColor_ = static_cast<TColor>(0xFFFAF5);
};

/// A two-part background with a frame: upper Color to ColorTo, lower
/// ColorMirror to ColorMirrorTo, each with its gradient kind.
class TVistaPageBackground : public TRibbonFontRecord {
    EMR_CLASS(TVistaPageBackground)
public:
    explicit TVistaPageBackground(int fontHeight = -11) : TRibbonFontRecord(fontHeight) {}

    EMR_RECORD_PROPERTY(TColor, Color, color_)
    EMR_RECORD_PROPERTY(TColor, ColorTo, colorTo_)
    EMR_RECORD_PROPERTY(TColor, ColorMirror, colorMirror_)
    EMR_RECORD_PROPERTY(TColor, ColorMirrorTo, colorMirrorTo_)
    EMR_RECORD_PROPERTY(TColor, BorderColor, borderColor_)
    EMR_RECORD_PROPERTY(TGDIPGradient, Gradient, gradient_)
    EMR_RECORD_PROPERTY(TGDIPGradient, GradientMirror, gradientMirror_)

    void Assign(const TPersistent* source) override;

protected:
    /// Copies this level's fields; true when any differed.
    bool CopyBackground(const TVistaPageBackground& other);

private:
    TColor color_ = static_cast<TColor>(0xFCF6F1);
    TColor colorTo_ = static_cast<TColor>(0xF6E9DC);
    TColor colorMirror_ = static_cast<TColor>(0xF6E9DC);
    TColor colorMirrorTo_ = static_cast<TColor>(0xF9EADD);
    TColor borderColor_ = static_cast<TColor>(0xE0C7AD);
    TGDIPGradient gradient_ = ggVertical;
    TGDIPGradient gradientMirror_ = ggVertical;
};

/// The pager caption: a two-part background plus caption text colours.
class TVistaTextBackground : public TVistaPageBackground {
    EMR_CLASS(TVistaTextBackground)
public:
    TVistaTextBackground() : TVistaPageBackground(-13) {}

    EMR_RECORD_PROPERTY(TColor, TextColor, textColor_)
    EMR_RECORD_PROPERTY(TColor, TextColorExtended, textColorExtended_)

    void Assign(const TPersistent* source) override;

private:
    TColor textColor_ = static_cast<TColor>(0x808080);
    TColor textColorExtended_ = static_cast<TColor>(0xFF0000);
};

/// A ribbon tab group: a two-part background, caption colours and the look of
/// the group's caption tab. Changes of the inner tab notify the group.
class TGroupAppearance : public TVistaPageBackground {
    EMR_CLASS(TGroupAppearance)
public:
    TGroupAppearance();

    EMR_RECORD_PROPERTY(TColor, TextColor, textColor_)
    EMR_RECORD_PROPERTY(TColor, CaptionColor, captionColor_)
    EMR_RECORD_PROPERTY(TColor, CaptionColorTo, captionColorTo_)

    TTabAppearance* TabAppearance() { return &tab_; }
    const TTabAppearance* TabAppearance() const { return &tab_; }
    void SetTabAppearance(const TTabAppearance* value) { tab_.Assign(value); }

    void Assign(const TPersistent* source) override;

private:
    TColor textColor_ = static_cast<TColor>(0x8B4215);
    TColor captionColor_ = static_cast<TColor>(0xF2DAC2);
    TColor captionColorTo_ = static_cast<TColor>(0xF0D9C1);
    TTabAppearance tab_;
};

/// The quick-access toolbar strip, normal and full-size.
class TQATAppearance : public TStyleRecord {
    EMR_CLASS(TQATAppearance)
public:
    TQATAppearance() = default;

    EMR_RECORD_PROPERTY(TColor, Color, color_)
    EMR_RECORD_PROPERTY(TColor, ColorTo, colorTo_)
    EMR_RECORD_PROPERTY(TColor, BorderColor, borderColor_)
    EMR_RECORD_PROPERTY(TColor, FullSizeColor, fullSizeColor_)
    EMR_RECORD_PROPERTY(TColor, FullSizeColorTo, fullSizeColorTo_)
    EMR_RECORD_PROPERTY(TColor, FullSizeBorderColor, fullSizeBorderColor_)

    void Assign(const TPersistent* source) override;

private:
    TColor color_ = static_cast<TColor>(0xF3E5DA);
    TColor colorTo_ = static_cast<TColor>(0xF0DED0);
    TColor borderColor_ = static_cast<TColor>(0xE0C7AD);
    TColor fullSizeColor_ = static_cast<TColor>(0xF9EADD);
    TColor fullSizeColorTo_ = static_cast<TColor>(0xF6E3D2);
    TColor fullSizeBorderColor_ = static_cast<TColor>(0xE0C7AD);
};

} // namespace emr
