#pragma once

#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "styling/RecordFields.h"
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

#define EMR_TAB_APPEARANCE_FIELDS(F)                                                                         \
    F(TColor, Color, color_, clNone, Change, Plain, Always)                                                  \
    F(TColor, ColorTo, colorTo_, clNone, Change, Plain, Always)                                              \
    F(TColor, ColorHot, colorHot_, 0xF6E9DC, Change, Plain, Always)                                          \
    F(TColor, ColorHotTo, colorHotTo_, 0xF6E9DC, Change, Plain, Always)                                      \
    F(TColor, ColorSelected, colorSelected_, 0xFCF6F1, Change, Plain, Always)                                \
    F(TColor, ColorSelectedTo, colorSelectedTo_, 0xF9EADD, Change, Plain, Always)                            \
    F(TColor, ColorMirrorSelected, colorMirrorSelected_, 0xF9EADD, Change, Plain, Always)                    \
    F(TColor, ColorMirrorSelectedTo, colorMirrorSelectedTo_, 0xF6E3D2, Change, Plain, Always)                \
    F(TColor, BorderColor, borderColor_, clNone, Change, Plain, Always)                                      \
    F(TColor, BorderColorHot, borderColorHot_, 0xE0C7AD, Change, Plain, Always)                              \
    F(TColor, BorderColorSelected, borderColorSelected_, 0xE0C7AD, Change, Plain, Always)                    \
    F(TColor, BorderColorDisabled, borderColorDisabled_, clNone, Change, Plain, Always)                      \
    F(TColor, TextColor, textColor_, 0x8B4215, Change, Plain, Always)                                        \
    F(TColor, TextColorHot, textColorHot_, 0x8B4215, Change, Plain, Always)                                  \
    F(TColor, TextColorSelected, textColorSelected_, 0x8B4215, Change, Plain, Always)                        \
    F(TColor, TextColorDisabled, textColorDisabled_, clGray, Change, Plain, Always)                          \
    F(TColor, ShadowColor, shadowColor_, 0xE0C7AD, Change, Plain, Always)                                    \
    F(TColor, HighLightColor, highLightColor_, 0xFFFAF5, Change, Plain, Always)

/// Ribbon tab colours in normal, hot, selected and disabled state.
class TTabAppearance : public TRibbonFontRecord {
    EMR_CLASS(TTabAppearance)
public:
    using Inherited = TRibbonFontRecord;
    TTabAppearance() = default;

    void Assign(const TPersistent* source) override;

    EMR_RECORD_FIELDS(TTabAppearance, EMR_TAB_APPEARANCE_FIELDS)
};

#define EMR_VISTA_PAGE_BACKGROUND_FIELDS(F)                                                                  \
    F(TColor, Color, color_, 0xFCF6F1, Change, Plain, Always)                                                \
    F(TColor, ColorTo, colorTo_, 0xF6E9DC, Change, Plain, Always)                                            \
    F(TColor, ColorMirror, colorMirror_, 0xF6E9DC, Change, Plain, Always)                                    \
    F(TColor, ColorMirrorTo, colorMirrorTo_, 0xF9EADD, Change, Plain, Always)                                \
    F(TColor, BorderColor, borderColor_, 0xE0C7AD, Change, Plain, Always)                                    \
    F(TGDIPGradient, Gradient, gradient_, ggVertical, Change, Plain, Always)                                 \
    F(TGDIPGradient, GradientMirror, gradientMirror_, ggVertical, Change, Plain, Always)

/// A two-part background with a frame: upper Color to ColorTo, lower
/// ColorMirror to ColorMirrorTo, each with its gradient kind.
class TVistaPageBackground : public TRibbonFontRecord {
    EMR_CLASS(TVistaPageBackground)
public:
    using Inherited = TRibbonFontRecord;
    explicit TVistaPageBackground(int fontHeight = -11) : TRibbonFontRecord(fontHeight) {}

    void Assign(const TPersistent* source) override;

    EMR_RECORD_FIELDS(TVistaPageBackground, EMR_VISTA_PAGE_BACKGROUND_FIELDS)

protected:
    /// Copies this level's fields; true when any differed.
    bool CopyBackground(const TVistaPageBackground& other);
};

#define EMR_VISTA_TEXT_BACKGROUND_FIELDS(F)                                                                  \
    F(TColor, TextColor, textColor_, 0x808080, Change, Plain, Always)                                        \
    F(TColor, TextColorExtended, textColorExtended_, 0xFF0000, Change, Plain, Always)

/// The pager caption: a two-part background plus caption text colours.
class TVistaTextBackground : public TVistaPageBackground {
    EMR_CLASS(TVistaTextBackground)
public:
    using Inherited = TVistaPageBackground;
    TVistaTextBackground() : TVistaPageBackground(-13) {}

    void Assign(const TPersistent* source) override;

    EMR_RECORD_FIELDS(TVistaTextBackground, EMR_VISTA_TEXT_BACKGROUND_FIELDS)
};

#define EMR_GROUP_APPEARANCE_FIELDS(F)                                                                       \
    F(TColor, TextColor, textColor_, 0x8B4215, Change, Plain, Always)                                        \
    F(TColor, CaptionColor, captionColor_, 0xF2DAC2, Change, Plain, Always)                                  \
    F(TColor, CaptionColorTo, captionColorTo_, 0xF0D9C1, Change, Plain, Always)

/// A ribbon tab group: a two-part background, caption colours and the look of
/// the group's caption tab. Changes of the inner tab notify the group.
class TGroupAppearance : public TVistaPageBackground {
    EMR_CLASS(TGroupAppearance)
public:
    using Inherited = TVistaPageBackground;
    TGroupAppearance();

    TTabAppearance* TabAppearance() { return &tab_; }
    const TTabAppearance* TabAppearance() const { return &tab_; }
    void SetTabAppearance(const TTabAppearance* value) { tab_.Assign(value); }

    void Assign(const TPersistent* source) override;

    EMR_RECORD_FIELDS(TGroupAppearance, EMR_GROUP_APPEARANCE_FIELDS)

private:
    TTabAppearance tab_;
};

#define EMR_Q_A_T_APPEARANCE_FIELDS(F)                                                                       \
    F(TColor, Color, color_, 0xF3E5DA, Change, Plain, Always)                                                \
    F(TColor, ColorTo, colorTo_, 0xF0DED0, Change, Plain, Always)                                            \
    F(TColor, BorderColor, borderColor_, 0xE0C7AD, Change, Plain, Always)                                    \
    F(TColor, FullSizeColor, fullSizeColor_, 0xF9EADD, Change, Plain, Always)                                \
    F(TColor, FullSizeColorTo, fullSizeColorTo_, 0xF6E3D2, Change, Plain, Always)                            \
    F(TColor, FullSizeBorderColor, fullSizeBorderColor_, 0xE0C7AD, Change, Plain, Always)

/// The quick-access toolbar strip, normal and full-size.
class TQATAppearance : public TStyleRecord {
    EMR_CLASS(TQATAppearance)
public:
    using Inherited = TPersistent;
    TQATAppearance() = default;

    void Assign(const TPersistent* source) override;

    EMR_RECORD_FIELDS(TQATAppearance, EMR_Q_A_T_APPEARANCE_FIELDS)
};

} // namespace emr
