#pragma once

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "styling/StyleRecord.h"
#include "styling/StylingTypes.h"

namespace emr {

/// Look of the top-level items of a styled menu bar and of toolbar menu buttons:
/// normal, hover and selected (open) faces with their text colours.
class TMenuRootItemAppearance : public TStyleRecord {
    EMR_CLASS(TMenuRootItemAppearance)
public:
    TMenuRootItemAppearance();

    TFont* Font() { return &font_; }
    const TFont* Font() const { return &font_; }
    void SetFont(const TFont* value) { font_.Assign(value); }
    bool SystemFont() const { return systemFont_; }
    void SetSystemFont(bool value);

    EMR_RECORD_PROPERTY(TColor, Color, color_)
    EMR_RECORD_PROPERTY(TColor, ColorTo, colorTo_)
    EMR_RECORD_PROPERTY(TGradientDirection, GradientDirection, gradientDirection_)
    EMR_RECORD_PROPERTY(TColor, HoverColor, hoverColor_)
    EMR_RECORD_PROPERTY(TColor, HoverColorTo, hoverColorTo_)
    EMR_RECORD_PROPERTY(TColor, HoverTextColor, hoverTextColor_)
    EMR_RECORD_PROPERTY(TColor, HoverBorderColor, hoverBorderColor_)
    EMR_RECORD_PROPERTY(TGradientDirection, HoverGradientDirection, hoverGradientDirection_)
    EMR_RECORD_PROPERTY(TColor, SelectedColor, selectedColor_)
    EMR_RECORD_PROPERTY(TColor, SelectedColorTo, selectedColorTo_)
    EMR_RECORD_PROPERTY(TColor, SelectedTextColor, selectedTextColor_)
    EMR_RECORD_PROPERTY(TColor, SelectedBorderColor, selectedBorderColor_)
    EMR_RECORD_PROPERTY(TGradientDirection, SelectedGradientDirection, selectedGradientDirection_)

    void Assign(const TPersistent* source) override;

private:
    TFont font_;
    bool systemFont_ = true;
    TColor color_ = clBtnFace;
    TColor colorTo_ = clNone;
    TGradientDirection gradientDirection_ = gdVertical;
    TColor hoverColor_ = static_cast<TColor>(0xD2BDB6);
    TColor hoverColorTo_ = clNone;
    TColor hoverTextColor_ = clBlack;
    TColor hoverBorderColor_ = static_cast<TColor>(0x6A240A);
    TGradientDirection hoverGradientDirection_ = gdVertical;
    TColor selectedColor_ = static_cast<TColor>(0xB59285);
    TColor selectedColorTo_ = clNone;
    TColor selectedTextColor_ = clBlack;
    TColor selectedBorderColor_ = static_cast<TColor>(0x6A240A);
    TGradientDirection selectedGradientDirection_ = gdVertical;
};

/// The strip at the left of a styled menu where images and check boxes sit.
class TMenuIconBarAppearance : public TStyleRecord {
    EMR_CLASS(TMenuIconBarAppearance)
public:
    TMenuIconBarAppearance() = default;

    EMR_RECORD_PROPERTY(bool, Visible, visible_)
    EMR_RECORD_PROPERTY(int, Size, size_)
    EMR_RECORD_PROPERTY(TColor, Color, color_)
    EMR_RECORD_PROPERTY(TColor, ColorTo, colorTo_)
    EMR_RECORD_PROPERTY(TColor, CheckColor, checkColor_)
    EMR_RECORD_PROPERTY(TColor, CheckColorTo, checkColorTo_)
    EMR_RECORD_PROPERTY(TColor, CheckBorder, checkBorder_)

    void Assign(const TPersistent* source) override;

private:
    bool visible_ = true;
    int size_ = 24;
    TColor color_ = static_cast<TColor>(0xFEEFE3);
    TColor colorTo_ = static_cast<TColor>(0xE2A981);
    TColor checkColor_ = static_cast<TColor>(0x8CD5FF);
    TColor checkColorTo_ = static_cast<TColor>(0x58AFFF);
    TColor checkBorder_ = clNavy;
};

/// The face of the hot item of an open styled menu.
class TMenuSelectedItemAppearance : public TStyleRecord {
    EMR_CLASS(TMenuSelectedItemAppearance)
public:
    TMenuSelectedItemAppearance() = default;

    EMR_RECORD_PROPERTY(TColor, Color, color_)
    EMR_RECORD_PROPERTY(TColor, ColorTo, colorTo_)
    EMR_RECORD_PROPERTY(TColor, BorderColor, borderColor_)
    EMR_RECORD_PROPERTY(TColor, TextColor, textColor_)
    EMR_RECORD_PROPERTY(TGradientDirection, GradientDirection, gradientDirection_)
    EMR_RECORD_PROPERTY(TColor, CheckColor, checkColor_)
    EMR_RECORD_PROPERTY(TColor, CheckColorTo, checkColorTo_)
    EMR_RECORD_PROPERTY(TColor, CheckBorder, checkBorder_)

    void Assign(const TPersistent* source) override;

private:
    TColor color_ = static_cast<TColor>(0xCCF4FF);
    TColor colorTo_ = static_cast<TColor>(0x91D0FF);
    TColor borderColor_ = clNavy;
    TColor textColor_ = clBlack;
    TGradientDirection gradientDirection_ = gdVertical;
    TColor checkColor_ = static_cast<TColor>(0x4E91FE);
    TColor checkColorTo_ = static_cast<TColor>(0x91D3FF);
    TColor checkBorder_ = clNavy;
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
