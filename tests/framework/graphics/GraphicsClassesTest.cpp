// Colour names and the published properties the layout reader sets.
#include <gtest/gtest.h>

#include "framework/core/ClassRegistry.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/GraphicsClasses.h"
#include "framework/graphics/ImageList.h"

namespace emr {
namespace {

TEST(ColorNames, IdentsAndValuesBothWays) {
    EXPECT_EQ(IdentToColor("clBtnFace"), 0xFF00000F);
    EXPECT_EQ(IdentToColor("CLNAVY"), 0x800000);
    EXPECT_EQ(IdentToColor("clNone"), 0x1FFFFFFF);
    EXPECT_EQ(IdentToColor("clNoSuchColour"), std::nullopt);
    EXPECT_EQ(ColorToIdent(0xFF000010), "clBtnShadow");
    // Layouts may write system colours as negative 32-bit numbers.
    EXPECT_EQ(ColorToIdent(-16777201), "clBtnFace");
    EXPECT_EQ(ColorToIdent(0xC0C0C0), "clSilver");
    EXPECT_EQ(ColorToIdent(0x123456), std::nullopt);
    EXPECT_EQ(IdentToCharset("GB2312_CHARSET"), 134);
    EXPECT_EQ(CharsetToIdent(1), "DEFAULT_CHARSET");

    EXPECT_EQ(ColorToRGB(clHighlight), RGB(51, 153, 255));
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(0xFF0000FF), clBlack); // an index no scheme has
    EXPECT_EQ(ColorToPixel(RGB(0x11, 0x22, 0x33)), 0x112233u);
    EXPECT_EQ(PixelToColor(0x112233), RGB(0x11, 0x22, 0x33));
}

TEST(GraphicsClasses, PublishWhatLayoutsSet) {
    RegisterGraphicsClasses();
    RegisterGraphicsClasses(); // idempotent
    TClassRegistry& registry = TClassRegistry::Instance();

    const TClassInfo* fontInfo = registry.Find("TFont");
    ASSERT_NE(fontInfo, nullptr);
    TFont font;
    const TPropInfo* charset = fontInfo->FindProperty("Charset");
    ASSERT_NE(charset, nullptr);
    ASSERT_TRUE(charset->IdentToInt);
    charset->Set(&font, *charset->IdentToInt("GB2312_CHARSET"));
    EXPECT_EQ(font.Charset(), GB2312_CHARSET);
    const TPropInfo* color = fontInfo->FindProperty("Color");
    ASSERT_TRUE(color->IdentToInt);
    color->Set(&font, *color->IdentToInt("clBtnText"));
    EXPECT_EQ(font.Color(), clBtnText);
    color->Set(&font, std::int64_t{-16777201});
    EXPECT_EQ(font.Color(), clBtnFace);
    fontInfo->FindProperty("Height")->Set(&font, std::int64_t{-13});
    fontInfo->FindProperty("Name")->Set(&font, std::string("宋体"));
    EXPECT_EQ(font.Height(), -13);
    EXPECT_EQ(font.Name(), "宋体");
    const TPropInfo* style = fontInfo->FindProperty("Style");
    EXPECT_EQ(style->OrdinalOf("fsUnderline"), 2);
    style->Set(&font, std::int64_t{(1 << 0) | (1 << 2)});
    EXPECT_EQ(font.Style(), fsBold | fsUnderline);

    // Bitmap data round trips through the binary property.
    const TClassInfo* bitmapInfo = registry.Find("TBitmap");
    ASSERT_NE(bitmapInfo, nullptr);
    TBitmap source(2, 1);
    source.ScanLine(0)[1] = ColorToPixel(clRed);
    TBitmap target;
    const TPropInfo* data = bitmapInfo->FindProperty("Data");
    data->Set(&target, data->Get(&source));
    EXPECT_EQ(target.Pixel(1, 0), clRed);

    const TClassInfo* imageList = registry.Find("TImageList");
    ASSERT_NE(imageList, nullptr);
    ASSERT_TRUE(imageList->Create);
    TComponent owner(nullptr);
    TComponent* list = imageList->Create(&owner);
    EXPECT_EQ(list->Owner(), &owner);
    imageList->FindProperty("Width")->Set(list, std::int64_t{24});
    EXPECT_EQ(static_cast<TImageList*>(list)->Width(), 24);
    EXPECT_TRUE(imageList->InheritsFrom("TComponent"));
    for (const char* name : {"TPen", "TBrush", "TPicture"})
        EXPECT_NE(registry.Find(name), nullptr) << name;
}

} // namespace
} // namespace emr
