#pragma once

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "styling/RecordFields.h"
#include "styling/StyleRecord.h"
#include "styling/StylingTypes.h"

namespace emr {

#define EMR_MENU_ROOT_ITEM_APPEARANCE_FIELDS(F)                                                              \
    F(TColor, Color, color_, clBtnFace, Change, Plain, Always)                                               \
    F(TColor, ColorTo, colorTo_, clNone, Change, Plain, Always)                                              \
    F(TGradientDirection, GradientDirection, gradientDirection_, gdVertical, Change, Plain, Always)          \
    F(TColor, HoverColor, hoverColor_, 0xD2BDB6, Change, Plain, Always)                                      \
    F(TColor, HoverColorTo, hoverColorTo_, clNone, Change, Plain, Always)                                    \
    F(TColor, HoverTextColor, hoverTextColor_, clBlack, Change, Plain, Always)                               \
    F(TColor, HoverBorderColor, hoverBorderColor_, 0x6A240A, Change, Plain, Always)                          \
    F(TGradientDirection, HoverGradientDirection, hoverGradientDirection_, gdVertical, Change, Plain,        \
      Always)                                                                                                \
    F(TColor, SelectedColor, selectedColor_, 0xB59285, Change, Plain, Always)                                \
    F(TColor, SelectedColorTo, selectedColorTo_, clNone, Change, Plain, Always)                              \
    F(TColor, SelectedTextColor, selectedTextColor_, clBlack, Change, Plain, Always)                         \
    F(TColor, SelectedBorderColor, selectedBorderColor_, 0x6A240A, Change, Plain, Always)                    \
    F(TGradientDirection, SelectedGradientDirection, selectedGradientDirection_, gdVertical, Change, Plain,  \
      Always)

/// Look of the top-level items of a styled menu bar and of toolbar menu buttons:
/// normal, hover and selected (open) faces with their text colours.
class TMenuRootItemAppearance : public TStyleRecord {
    EMR_CLASS(TMenuRootItemAppearance)
public:
    using Inherited = TPersistent;
    TMenuRootItemAppearance();

    TFont* Font() { return &font_; }
    const TFont* Font() const { return &font_; }
    void SetFont(const TFont* value) { font_.Assign(value); }
    bool SystemFont() const { return systemFont_; }
    void SetSystemFont(bool value);

    void Assign(const TPersistent* source) override;

    EMR_RECORD_FIELDS(TMenuRootItemAppearance, EMR_MENU_ROOT_ITEM_APPEARANCE_FIELDS)

private:
    TFont font_;
    bool systemFont_ = true;
};

#define EMR_MENU_ICON_BAR_APPEARANCE_FIELDS(F)                                                               \
    F(bool, Visible, visible_, true, Change, Plain, Start)                                                   \
    F(int, Size, size_, 24, Change, Plain, Start)                                                            \
    F(TColor, Color, color_, 0xFEEFE3, Change, Plain, Always)                                                \
    F(TColor, ColorTo, colorTo_, 0xE2A981, Change, Plain, Always)                                            \
    F(TColor, CheckColor, checkColor_, 0x8CD5FF, Change, Plain, Always)                                      \
    F(TColor, CheckColorTo, checkColorTo_, 0x58AFFF, Change, Plain, Always)                                  \
    F(TColor, CheckBorder, checkBorder_, clNavy, Change, Plain, Always)

/// The strip at the left of a styled menu where images and check boxes sit.
class TMenuIconBarAppearance : public TStyleRecord {
    EMR_CLASS(TMenuIconBarAppearance)
public:
    using Inherited = TPersistent;
    TMenuIconBarAppearance() = default;

    void Assign(const TPersistent* source) override;

    EMR_RECORD_FIELDS(TMenuIconBarAppearance, EMR_MENU_ICON_BAR_APPEARANCE_FIELDS)
};

#define EMR_MENU_SELECTED_ITEM_APPEARANCE_FIELDS(F)                                                          \
    F(TColor, Color, color_, 0xCCF4FF, Change, Plain, Always)                                                \
    F(TColor, ColorTo, colorTo_, 0x91D0FF, Change, Plain, Always)                                            \
    F(TColor, BorderColor, borderColor_, clNavy, Change, Plain, Always)                                      \
    F(TColor, TextColor, textColor_, clBlack, Change, Plain, Always)                                         \
    F(TGradientDirection, GradientDirection, gradientDirection_, gdVertical, Change, Plain, Always)          \
    F(TColor, CheckColor, checkColor_, 0x4E91FE, Change, Plain, Always)                                      \
    F(TColor, CheckColorTo, checkColorTo_, 0x91D3FF, Change, Plain, Always)                                  \
    F(TColor, CheckBorder, checkBorder_, clNavy, Change, Plain, Always)

/// The face of the hot item of an open styled menu.
class TMenuSelectedItemAppearance : public TStyleRecord {
    EMR_CLASS(TMenuSelectedItemAppearance)
public:
    using Inherited = TPersistent;
    TMenuSelectedItemAppearance() = default;

    void Assign(const TPersistent* source) override;

    EMR_RECORD_FIELDS(TMenuSelectedItemAppearance, EMR_MENU_SELECTED_ITEM_APPEARANCE_FIELDS)
};

/// The two glyph bitmaps of a styled menu: the check mark and the submenu arrow.
/// Both start as small black glyphs on a white (transparent) ground.
class TMenuGlyphs : public TStyleRecord {
    EMR_CLASS(TMenuGlyphs)
public:
    TMenuGlyphs();

    TBitmap* Check() { return &check_; }
    const TBitmap* Check() const { return &check_; }
    void SetCheck(const TBitmap* value);
    TBitmap* SubMenu() { return &subMenu_; }
    const TBitmap* SubMenu() const { return &subMenu_; }
    void SetSubMenu(const TBitmap* value);

    void Assign(const TPersistent* source) override;

private:
    TBitmap check_;
    TBitmap subMenu_;
};

} // namespace emr
