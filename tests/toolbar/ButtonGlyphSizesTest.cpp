// A toolbar button holding its glyph at 16, 24 and 32 pixels: which one is drawn at
// each canvas scale, unscaled and centred, and how the disabled form is made.
#include "ToolBarFixture.h"

#include "framework/controls/PaintEngine.h"

#include <algorithm>
#include <memory>

namespace emr::testing {
namespace {

constexpr TColor kKey = clFuchsia;
constexpr int kMarkRed = 201;
constexpr TRect kWholeCanvas{0, 0, 1 << 14, 1 << 14};

/// A size x size glyph whose every drawn pixel tells where it came from (size and
/// position), inside a one-pixel ring of the transparent colour. The colours are dark
/// enough that none greys to the grey of the transparent colour.
std::unique_ptr<TBitmap> MarkedGlyph(int size) {
    auto bitmap = std::make_unique<TBitmap>(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool ring = x == 0 || y == 0 || x == size - 1 || y == size - 1;
            bitmap->ScanLine(y)[x] = ColorToPixel(ring ? kKey : RGB(kMarkRed, x * 3 + size, y * 3));
        }
    return bitmap;
}

/// The greyed pixel a disabled button shows for `colour`.
TColor Greyed(TColor colour) {
    const TColor c = ColorToRGB(colour);
    const int g = ((GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3) / 2 + 96;
    return RGB(g, g, g);
}

class ButtonGlyphSizes : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        button = AddButton("确定", false);
        button->SetGlyph(MarkedGlyph(16).get());
        button->SetGlyphMedium(MarkedGlyph(24).get());
        button->SetGlyphLarge(MarkedGlyph(32).get());
    }
    /// The button painted on a canvas of `scale`.
    std::unique_ptr<TBitmap> Paint(double scale) {
        auto bitmap = std::make_unique<TBitmap>(static_cast<int>(button->Width() * scale + 1),
                                                static_cast<int>(button->Height() * scale + 1));
        bitmap->Canvas()->SetScale(scale);
        TPaintEngine::PaintTree(button, *bitmap->Canvas(), {0, 0}, kWholeCanvas);
        return bitmap;
    }
    /// The bounding box of the pixels of `paint` that `matches` picks.
    static TRect InkOf(const TBitmap& paint, bool (*matches)(TColor)) {
        TRect box{1 << 20, 1 << 20, -1, -1};
        for (int y = 0; y < paint.Height(); ++y)
            for (int x = 0; x < paint.Width(); ++x)
                if (matches(paint.Pixel(x, y)))
                    box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                           std::max(box.Bottom, y + 1)};
        return box;
    }
    TAdvToolBarButton* button = nullptr;
};

bool Marked(TColor c) {
    return GetRValue(c) == kMarkRed && GetBValue(c) < 250;
}

TEST_F(ButtonGlyphSizes, EachScaleDrawsTheHeldSizeForItsDeviceBoxUnscaledAndCentred) {
    const TRect logical = InkOf(*Paint(1.0), Marked);
    ASSERT_EQ(logical.Width(), 14);
    // The glyph's own 16 x 16 box, around its drawn 14 x 14 inside the ring.
    const TRect glyphBox = TRect::FromBounds(logical.Left - 1, logical.Top - 1, 16, 16);
    struct Case {
        double Scale;
        int Size;
    };
    for (const Case c : {Case{1.0, 16}, Case{1.5, 24}, Case{2.0, 32}}) {
        auto paint = Paint(c.Scale);
        const TRect device = paint->Canvas()->DeviceRect(glyphBox);
        const int left = device.Left + (device.Width() - c.Size) / 2;
        const int top = device.Top + (device.Height() - c.Size) / 2;
        EXPECT_EQ(InkOf(*paint, Marked), TRect::FromBounds(left + 1, top + 1, c.Size - 2, c.Size - 2))
            << c.Scale;
        const auto source = MarkedGlyph(c.Size);
        for (int y = 1; y < c.Size - 1; ++y)
            for (int x = 1; x < c.Size - 1; ++x)
                ASSERT_EQ(paint->Pixel(left + x, top + y), source->Pixel(x, y))
                    << "at " << x << "," << y << " at " << c.Scale;
    }
}

TEST_F(ButtonGlyphSizes, DisabledGreysTheSizeChosenForTheDeviceRatherThanScalingTheBaseOne) {
    const TRect logical = InkOf(*Paint(1.0), Marked);
    const TRect glyphBox = TRect::FromBounds(logical.Left - 1, logical.Top - 1, 16, 16);
    button->SetEnabled(false);
    auto paint = Paint(2.0);
    const TRect device = paint->Canvas()->DeviceRect(glyphBox);
    ASSERT_EQ(device.Width(), 32);
    const auto source = MarkedGlyph(32);
    for (int y = 1; y < 31; ++y)
        for (int x = 1; x < 31; ++x)
            ASSERT_EQ(paint->Pixel(device.Left + x, device.Top + y), Greyed(source->Pixel(x, y)))
                << "at " << x << "," << y;
    // The transparent ring stays out.
    EXPECT_NE(paint->Pixel(device.Left, device.Top), Greyed(kKey));
}

} // namespace
} // namespace emr::testing
