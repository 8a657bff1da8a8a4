// Image lists at device scales: which stored size serves a device box, how images are
// resampled, and what the list draws at each scale.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/ImageList.h"
#include "framework/graphics/ImageScaling.h"

namespace emr {
namespace {

constexpr TColor kGround = RGB(1, 2, 3);
constexpr TColor kKey = clFuchsia;

/// A size x size image painted by `colourAt`; kKey pixels are transparent.
void AddImage(TCustomImageList& list, int size, const std::function<TColor(int, int)>& colourAt) {
    TBitmap bitmap(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            bitmap.ScanLine(y)[x] = ColorToPixel(colourAt(x, y));
    list.AddMasked(&bitmap, kKey);
}

/// A solid square of `colour` inside a one-pixel transparent ring.
std::function<TColor(int, int)> RingedSquare(int size, TColor colour) {
    return [size, colour](int x, int y) {
        return x == 0 || y == 0 || x == size - 1 || y == size - 1 ? kKey : colour;
    };
}

struct Surface {
    TBitmap bitmap;
    Surface(int width, int height, double scale) : bitmap(width, height) {
        bitmap.Canvas()->Brush()->SetColor(kGround);
        bitmap.Canvas()->FillRect({0, 0, width, height});
        bitmap.Canvas()->SetScale(scale);
    }
    TColor At(int x, int y) const { return bitmap.Pixel(x, y); }
    /// The bounding box of the pixels that are not the ground.
    TRect Ink() const {
        TRect box{1 << 20, 1 << 20, -1, -1};
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (At(x, y) != kGround)
                    box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                           std::max(box.Bottom, y + 1)};
        return box;
    }
};

TEST(ImageSizeChoice, ExactThenCloseUnscaledThenResampled) {
    const std::vector<int> three = {16, 24, 32};
    const std::vector<int> one = {16};
    struct Case {
        const std::vector<int>* Sizes;
        int Target;
        int Size;
        TImageFit Fit;
    };
    const Case cases[] = {
        {&three, 16, 16, TImageFit::Exact},   {&three, 24, 24, TImageFit::Exact},
        {&three, 32, 32, TImageFit::Exact},   {&three, 20, 16, TImageFit::Centred}, // tie: the smaller
        {&three, 28, 24, TImageFit::Centred}, {&three, 40, 32, TImageFit::Centred},
        {&three, 48, 32, TImageFit::Centred}, // exactly 1.5 times still counts as close
        {&three, 64, 32, TImageFit::Scaled},  {&three, 96, 32, TImageFit::Scaled},
        {&one, 20, 16, TImageFit::Centred},   {&one, 24, 16, TImageFit::Centred},
        {&one, 28, 16, TImageFit::Scaled},    {&one, 32, 16, TImageFit::Scaled},
        {&one, 12, 16, TImageFit::Centred},   {&one, 8, 16, TImageFit::Scaled},
    };
    for (const Case& c : cases) {
        const TImageSizeChoice choice = ChooseImageSize(*c.Sizes, c.Target);
        EXPECT_EQ(choice.Size, c.Size) << "target " << c.Target;
        EXPECT_EQ(choice.Fit, c.Fit) << "target " << c.Target;
    }
    // A whole multiple wins over a closer size that would need smoothing.
    const std::vector<int> twoSizes = {16, 20};
    EXPECT_EQ(ChooseImageSize(twoSizes, 48).Size, 16);
    EXPECT_EQ(ChooseImageSize(twoSizes, 40).Size, 20);
}

TMaskedImage HalfRedHalfBlue(int size) {
    TMaskedImage image{size, size, {}, {}};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            image.Pixels.push_back(x < size / 2 ? 0xFF0000 : 0x0000FF);
            image.Opaque.push_back(1);
        }
    return image;
}

TEST(ImageResampling, WholeFactorsRepeatPixelsAndOthersStaySharp) {
    const TMaskedImage source = HalfRedHalfBlue(16);
    const TMaskedImage doubled = ResampleImage(source, 32, 32);
    ASSERT_EQ(doubled.Width, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            EXPECT_EQ(doubled.Pixels[static_cast<std::size_t>(y) * 32 + x], x < 16 ? 0xFF0000u : 0x0000FFu);

    // 16 to 28: the edge between the halves is at most one blended column wide.
    const TMaskedImage sharp = ResampleImage(source, 28, 28);
    ASSERT_EQ(sharp.Width, 28);
    for (int y = 0; y < 28; ++y) {
        int blended = 0;
        for (int x = 0; x < 28; ++x) {
            const std::uint32_t p = sharp.Pixels[static_cast<std::size_t>(y) * 28 + x];
            if (p != 0xFF0000 && p != 0x0000FF) ++blended;
        }
        EXPECT_LE(blended, 1) << y;
    }
}

TEST(ImageResampling, TransparentPixelsLeaveNoFringe) {
    TMaskedImage source{16, 16, {}, {}};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool ring = x < 2 || y < 2 || x >= 14 || y >= 14;
            source.Pixels.push_back(ring ? 0xFF00FF : 0x00A000);
            source.Opaque.push_back(ring ? 0 : 1);
        }
    for (int size : {20, 28, 40, 12}) {
        const TMaskedImage out = ResampleImage(source, size, size);
        int drawn = 0;
        for (std::size_t k = 0; k < out.Pixels.size(); ++k) {
            if (!out.Opaque[k]) continue;
            ++drawn;
            EXPECT_EQ(out.Pixels[k], 0x00A000u) << "size " << size << " pixel " << k;
        }
        // The drawn area keeps its share of the image (12 of 16 across).
        const double side = std::sqrt(static_cast<double>(drawn));
        EXPECT_NEAR(side, size * 12.0 / 16.0, 1.0) << size;
    }
}

TImageList& ListWithSets(TComponent*& keep, const std::vector<std::pair<int, TColor>>& sets) {
    auto* list = new TImageList(nullptr);
    keep = list;
    list->SetWidth(sets.front().first);
    list->SetHeight(sets.front().first);
    AddImage(*list, sets.front().first, RingedSquare(sets.front().first, sets.front().second));
    for (std::size_t i = 1; i < sets.size(); ++i) {
        TImageList other(nullptr);
        other.SetWidth(sets[i].first);
        other.SetHeight(sets[i].first);
        AddImage(other, sets[i].first, RingedSquare(sets[i].first, sets[i].second));
        list->AddSizeSet(&other);
    }
    return *list;
}

TEST(ImageListScale, EachScaleDrawsTheSetTheRuleChooses) {
    TComponent* keep = nullptr;
    TImageList& list = ListWithSets(keep, {{16, clRed}, {24, clLime}, {32, clBlue}});
    std::unique_ptr<TComponent> owner(keep);
    EXPECT_EQ(list.SetSizes(), (std::vector<int>{16, 24, 32}));
    struct Case {
        double Scale;
        TColor Colour;
        int Size; // stored size drawn, without its transparent ring
    };
    // At 1.25 the box is 20 wide: the 16 set unscaled, centred; 1.75 gives 28: the 24 set.
    const Case cases[] = {{1.0, clRed, 16},   {1.25, clRed, 16}, {1.5, clLime, 24},
                          {1.75, clLime, 24}, {2.0, clBlue, 32}, {2.5, clBlue, 32}};
    for (const Case& c : cases) {
        Surface s(120, 120, c.Scale);
        list.Draw(s.bitmap.Canvas(), 10, 10, 0);
        const int boxLeft = static_cast<int>(std::nearbyint(10 * c.Scale));
        const int boxSize = static_cast<int>(std::nearbyint(26 * c.Scale)) - boxLeft;
        const int left = boxLeft + (boxSize - c.Size) / 2 + 1;
        EXPECT_EQ(s.Ink(), (TRect{left, left, left + c.Size - 2, left + c.Size - 2})) << c.Scale;
        EXPECT_EQ(s.At(left, left), c.Colour) << c.Scale;
    }
}

TEST(ImageListScale, ASingleSizeListIsResampledByTheSameRule) {
    TImageList list(nullptr);
    // A checkerboard shows whether each pixel became a clean block.
    AddImage(list, 16, [](int x, int y) { return (x + y) % 2 ? clBlack : clWhite; });
    Surface s(80, 80, 2.0);
    list.Draw(s.bitmap.Canvas(), 4, 4, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(s.At(8 + x, 8 + y), (x / 2 + y / 2) % 2 ? clBlack : clWhite) << x << "," << y;

    // At 1.5 the 16-pixel image is close enough to the 24-pixel box to be drawn as
    // it is, centred, rather than stretched unevenly.
    Surface c(80, 80, 1.5);
    list.Draw(c.bitmap.Canvas(), 4, 4, 0);
    EXPECT_EQ(c.Ink(), (TRect{10, 10, 26, 26}));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(c.At(10 + x, 10 + y), (x + y) % 2 ? clBlack : clWhite) << x << "," << y;

    // Disabled at 2.0: the greyed form is made from the doubled image, its highlight
    // two device pixels off, and nothing of the transparent colour shows.
    TImageList ringed(nullptr);
    AddImage(ringed, 16, RingedSquare(16, clNavy));
    Surface d(80, 80, 2.0);
    ringed.Draw(d.bitmap.Canvas(), 4, 4, 0, false);
    EXPECT_EQ(d.At(10, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(d.At(37, 37), ColorToRGB(clBtnShadow));
    EXPECT_EQ(d.At(38, 38), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(d.At(39, 39), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(d.At(40, 40), kGround);
    EXPECT_EQ(d.At(9, 9), kGround);
}

} // namespace
} // namespace emr
