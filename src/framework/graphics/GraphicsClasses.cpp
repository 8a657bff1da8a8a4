#include "framework/graphics/GraphicsClasses.h"

#include "framework/core/ClassRegistry.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/ImageList.h"
#include "framework/graphics/Pen.h"
#include "framework/graphics/Picture.h"

namespace emr {

namespace {

/// Lets a colour property accept colour names (clBtnFace) as well as numbers.
template <class C> void AcceptColorNames(TClassRegistrar<C>& registrar, const std::string& property) {
    for (TPropInfo& p : registrar.Info().Properties)
        if (p.Name == property) p.IdentToInt = IdentToColor;
}

} // namespace

void RegisterGraphicsClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterCoreClasses();

    TClassRegistrar<TFont> font("TPersistent");
    font.NamedInteger("Charset", IdentToCharset, &TFont::Charset, &TFont::SetCharset)
        .Color("Color", &TFont::Color, &TFont::SetColor)
        .Integer("Height", &TFont::Height, &TFont::SetHeight)
        .String("Name", &TFont::Name, &TFont::SetName)
        .SetOf<TFontStyles>("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, &TFont::Style,
                            &TFont::SetStyle, 0)
        .Integer("Size", &TFont::Size, &TFont::SetSize)
        .Integer("Orientation", &TFont::Orientation, &TFont::SetOrientation, 0);
    AcceptColorNames(font, "Color");

    TClassRegistrar<TPen> pen("TPersistent");
    pen.Color("Color", &TPen::Color, &TPen::SetColor, clBlack)
        .Integer("Width", &TPen::Width, &TPen::SetWidth, 1)
        .Enum<TPenStyle>(
            "Style", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"},
            &TPen::Style, &TPen::SetStyle, TPenStyle::psSolid)
        .Enum<TPenMode>("Mode",
                        {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                         "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask",
                         "pmNotMask", "pmXor", "pmNotXor"},
                        &TPen::Mode, &TPen::SetMode, TPenMode::pmCopy);
    AcceptColorNames(pen, "Color");

    TClassRegistrar<TBrush> brush("TPersistent");
    brush.Color("Color", &TBrush::Color, &TBrush::SetColor, clWhite)
        .Enum<TBrushStyle>("Style", {"bsSolid", "bsClear"}, &TBrush::Style, &TBrush::SetStyle,
                           TBrushStyle::bsSolid);
    AcceptColorNames(brush, "Color");

    TClassRegistrar<TBitmap> bitmap("TPersistent");
    bitmap.Binary("Data", &TBitmap::Data, &TBitmap::SetData)
        .Boolean("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent, false)
        .Enum<TTransparentMode>("TransparentMode", {"tmAuto", "tmFixed"}, &TBitmap::TransparentMode,
                                &TBitmap::SetTransparentMode, TTransparentMode::tmAuto)
        .Color("TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor);
    AcceptColorNames(bitmap, "TransparentColor");

    TClassRegistrar<TPicture>("TPersistent")
        .Binary("Data", &TPicture::Data, &TPicture::SetData)
        .Object("Bitmap", &TPicture::Bitmap);

    TClassRegistrar<TCustomImageList>("TComponent")
        .Integer("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth, 16)
        .Integer("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight, 16);
    TClassRegistrar<TImageList>("TCustomImageList");
}

} // namespace emr
