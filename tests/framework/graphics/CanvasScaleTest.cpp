// Drawing at a device scale and in a mirrored span: edges rounded to device pixels,
// line widths, mirrored shapes against mirrored pixels, pictures and text that keep
// their orientation, and text measured the same at every scale.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

namespace emr {
namespace {

constexpr TColor kBackground = clWhite;

/// A device-sized bitmap in the background colour whose canvas draws at `scale`.
void Prepare(TBitmap& bitmap, int deviceWidth, int deviceHeight, double scale, int mirrorWidth = 0) {
    bitmap.SetSize(deviceWidth, deviceHeight);
    for (int y = 0; y < deviceHeight; ++y)
        for (int x = 0; x < deviceWidth; ++x)
            bitmap.ScanLine(y)[x] = ColorToPixel(kBackground);
    bitmap.Canvas()->SetScale(scale);
    bitmap.Canvas()->SetMirrorWidth(mirrorWidth);
}

int Edge(double logical, double scale) {
    return static_cast<int>(std::nearbyint(logical * scale));
}

/// Columns [first, last) of row y that are not the background colour, or {-1, -1}.
std::pair<int, int> InkColumns(const TBitmap& bitmap, int y) {
    int first = -1, last = -1;
    for (int x = 0; x < bitmap.Width(); ++x)
        if (bitmap.Pixel(x, y) != kBackground) {
            if (first < 0) first = x;
            last = x + 1;
        }
    return {first, last};
}

std::pair<int, int> InkRows(const TBitmap& bitmap, int x) {
    int first = -1, last = -1;
    for (int y = 0; y < bitmap.Height(); ++y)
        if (bitmap.Pixel(x, y) != kBackground) {
            if (first < 0) first = y;
            last = y + 1;
        }
    return {first, last};
}

TEST(CanvasScaleEdges, AdjacentRectanglesShareTheirDeviceEdges) {
    // Cuts that land on halves at some scale, with and without an origin.
    const std::vector<int> cuts = {0, 1, 2, 3, 5, 6, 9, 10, 14, 15};
    for (double scale : {1.25, 1.5, 1.75}) {
        for (int origin : {0, 1, 3}) {
            std::vector<int> covered(64, 0);
            for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
                TBitmap b;
                Prepare(b, 64, 8, scale);
                b.Canvas()->SetOrigin({origin, 0});
                b.Canvas()->Brush()->SetColor(clRed);
                b.Canvas()->FillRect({cuts[i], 1, cuts[i + 1], 3});
                auto [first, last] = InkColumns(b, Edge(2, scale));
                EXPECT_EQ(first, Edge(cuts[i] + origin, scale)) << scale << " " << i;
                EXPECT_EQ(last, Edge(cuts[i + 1] + origin, scale)) << scale << " " << i;
                for (int x = first; x >= 0 && x < last; ++x)
                    ++covered[static_cast<std::size_t>(x)];
            }
            const int from = Edge(cuts.front() + origin, scale), to = Edge(cuts.back() + origin, scale);
            for (int x = from; x < to; ++x)
                EXPECT_EQ(covered[static_cast<std::size_t>(x)], 1) << "column " << x << " at " << scale;
        }
    }
}

TEST(CanvasScaleEdges, ClipRectanglesRoundLikeShapes) {
    TBitmap b;
    Prepare(b, 40, 20, 1.5);
    TCanvas* c = b.Canvas();
    c->SetClipRect({3, 1, 9, 5});
    c->Brush()->SetColor(clBlue);
    c->FillRect({0, 0, 100, 100});
    auto [first, last] = InkColumns(b, 4);
    EXPECT_EQ(first, Edge(3, 1.5));
    EXPECT_EQ(last, Edge(9, 1.5));
    auto [top, bottom] = InkRows(b, 6);
    EXPECT_EQ(top, Edge(1, 1.5));
    EXPECT_EQ(bottom, Edge(5, 1.5));
    // Read back in logical units, the clip covers what was set.
    EXPECT_EQ(c->ClipRect(), (TRect{3, 1, 9, 5}));
}

TEST(CanvasScaleLines, OneUnitLinesAndFramesAreFloorOfTheScaleWide) {
    for (double scale : {1.25, 1.5, 2.0, 2.5, 3.0}) {
        const int width = std::max(1, static_cast<int>(std::floor(scale)));
        TBitmap b;
        Prepare(b, 80, 80, scale);
        TCanvas* c = b.Canvas();
        c->Pen()->SetColor(clBlack);
        c->MoveTo(2, 3);
        c->LineTo(9, 3); // end pixel (9, 3) left out
        auto [top, bottom] = InkRows(b, Edge(4, scale));
        EXPECT_EQ(top, Edge(3, scale)) << scale;
        EXPECT_EQ(bottom - top, width) << scale;
        auto [first, last] = InkColumns(b, Edge(3, scale));
        EXPECT_EQ(first, Edge(2, scale)) << scale;
        EXPECT_EQ(last, Edge(9, scale)) << scale;

        Prepare(b, 80, 80, scale);
        c->MoveTo(4, 2);
        c->LineTo(4, 10);
        std::tie(first, last) = InkColumns(b, Edge(5, scale));
        EXPECT_EQ(first, Edge(4, scale)) << scale;
        EXPECT_EQ(last - first, width) << scale;
        std::tie(top, bottom) = InkRows(b, Edge(4, scale));
        EXPECT_EQ(top, Edge(2, scale)) << scale;
        EXPECT_EQ(bottom, Edge(10, scale)) << scale;

        // A framed rectangle: a frame of the line width inside its rounded edges,
        // filled inside the frame.
        Prepare(b, 80, 80, scale);
        c->Brush()->SetColor(clYellow);
        c->Rectangle(3, 3, 13, 11);
        const int row = Edge(7, scale);
        EXPECT_EQ(b.Pixel(Edge(3, scale) - 1, row), kBackground) << scale;
        for (int x = Edge(3, scale); x < Edge(3, scale) + width; ++x)
            EXPECT_EQ(b.Pixel(x, row), clBlack) << scale;
        EXPECT_EQ(b.Pixel(Edge(3, scale) + width, row), clYellow) << scale;
        EXPECT_EQ(b.Pixel(Edge(13, scale) - width - 1, row), clYellow) << scale;
        for (int x = Edge(13, scale) - width; x < Edge(13, scale); ++x)
            EXPECT_EQ(b.Pixel(x, row), clBlack) << scale;
        EXPECT_EQ(b.Pixel(Edge(13, scale), row), kBackground) << scale;

        Prepare(b, 80, 80, scale);
        c->Brush()->SetColor(clGreen);
        c->FrameRect({2, 2, 12, 12});
        std::tie(top, bottom) = InkRows(b, Edge(7, scale));
        EXPECT_EQ(top, Edge(2, scale)) << scale;
        EXPECT_EQ(b.Pixel(Edge(7, scale), top + width - 1), clGreen) << scale;
        EXPECT_EQ(b.Pixel(Edge(7, scale), top + width), kBackground) << scale;
    }
}

TEST(CanvasScaleLines, DiagonalLinesStopShortOfTheirEndPixel) {
    TBitmap b;
    Prepare(b, 40, 40, 2.0);
    TCanvas* c = b.Canvas();
    c->Pen()->SetColor(clBlack);
    c->MoveTo(1, 1);
    c->LineTo(6, 6);
    // Each logical pixel of the line is a 2 x 2 block; the end pixel's block is untouched.
    for (int i = 1; i < 6; ++i)
        for (int d = 0; d < 2; ++d)
            for (int e = 0; e < 2; ++e)
                EXPECT_EQ(b.Pixel(2 * i + d, 2 * i + e), clBlack) << i;
    for (int d = 0; d < 2; ++d)
        for (int e = 0; e < 2; ++e)
            EXPECT_EQ(b.Pixel(12 + d, 12 + e), kBackground);
}

TEST(CanvasScalePixels, ALogicalPixelCoversItsDeviceRectangle) {
    TBitmap b;
    Prepare(b, 20, 20, 1.5);
    TCanvas* c = b.Canvas();
    c->SetPixel(3, 2, clRed);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside =
                x >= Edge(3, 1.5) && x < Edge(4, 1.5) && y >= Edge(2, 1.5) && y < Edge(3, 1.5);
            EXPECT_EQ(b.Pixel(x, y), inside ? clRed : kBackground) << x << "," << y;
        }
    EXPECT_EQ(c->Pixels(3, 2), clRed);
    EXPECT_EQ(c->Pixels(4, 2), kBackground);
}

/// Heights of the painted runs of each device column in [left, right).
std::vector<int> ColumnHeights(const TBitmap& bitmap, int left, int right) {
    std::vector<int> heights;
    for (int x = left; x < right; ++x) {
        auto [top, bottom] = InkRows(bitmap, x);
        heights.push_back(top < 0 ? 0 : bottom - top);
    }
    return heights;
}

TEST(CanvasScaleArrows, ArrowsTaperOnePixelPerStepOnTheDevice) {
    // At 1.0, a 4 x 7 right arrow: columns 7, 5, 3 and 1 tall.
    TBitmap b;
    Prepare(b, 20, 20, 1.0);
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->FillArrow({2, 3, 6, 10}, TArrowDirection::adRight);
    EXPECT_EQ(ColumnHeights(b, 2, 7), (std::vector<int>{7, 5, 3, 1, 0}));
    EXPECT_EQ(InkRows(b, 5), (std::pair<int, int>{6, 7}));

    // At 2.0 the same arrow is a clean triangle on 8 device columns: never two
    // neighbouring columns of one height before the tip, as doubled blocks would be.
    Prepare(b, 20, 20, 2.0);
    b.Canvas()->FillArrow({2, 3, 6, 10}, TArrowDirection::adRight);
    const std::vector<int> heights = ColumnHeights(b, 4, 12);
    EXPECT_EQ(heights.front(), 14);
    for (std::size_t i = 1; i + 1 < heights.size(); ++i)
        EXPECT_LT(heights[i], heights[i - 1]) << i;
    EXPECT_GE(heights.back(), 1);
    for (int x = 4; x < 12; ++x) {
        auto [top, bottom] = InkRows(b, x);
        EXPECT_EQ(top - 6, 20 - bottom) << "column " << x << " is centred";
    }

    // A down arrow at 1.5 tapers evenly too, and in a mirrored span a right arrow
    // is the mirror image of the unmirrored one.
    Prepare(b, 20, 20, 1.5);
    b.Canvas()->FillArrow({2, 2, 7, 5}, TArrowDirection::adDown);
    for (int y = Edge(2, 1.5); y + 1 < Edge(5, 1.5); ++y) {
        auto [first, last] = InkColumns(b, y);
        auto [nextFirst, nextLast] = InkColumns(b, y + 1);
        EXPECT_GE(nextFirst, first) << y;
        EXPECT_LE(nextFirst - first, 1) << y;
        EXPECT_EQ(first - Edge(2, 1.5), Edge(7, 1.5) - last) << y;
    }
    TBitmap plain, mirrored;
    Prepare(plain, 24, 20, 2.0);
    Prepare(mirrored, 24, 20, 2.0, 12);
    plain.Canvas()->Brush()->SetColor(clBlack);
    mirrored.Canvas()->Brush()->SetColor(clBlack);
    plain.Canvas()->FillArrow({2, 3, 6, 10}, TArrowDirection::adRight);
    mirrored.Canvas()->FillArrow({2, 3, 6, 10}, TArrowDirection::adRight);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_EQ(mirrored.Pixel(x, y), plain.Pixel(23 - x, y)) << x << "," << y;
}

/// Draws shapes, lines and pixels that every direction must mirror exactly.
void DrawMirrorableScene(TCanvas& c) {
    c.Brush()->SetColor(clYellow);
    c.Pen()->SetColor(clBlack);
    c.FillRect({1, 1, 4, 3});
    c.Rectangle(5, 1, 11, 6);
    c.Ellipse(12, 1, 19, 7);
    c.RoundRect(1, 8, 9, 14, 4, 4);
    c.Brush()->SetColor(clBlue);
    c.FrameRect({10, 8, 15, 12});
    c.Pen()->SetColor(clRed);
    c.MoveTo(16, 8);
    c.LineTo(23, 13); // x-major diagonal
    c.MoveTo(20, 1);
    c.LineTo(22, 7); // y-major diagonal
    const TPoint zigzag[] = {{1, 15}, {4, 18}, {7, 15}, {10, 18}};
    c.Polyline(zigzag);
    c.Pen()->SetColor(clGreen);
    c.Brush()->SetColor(clFuchsia);
    const TPoint diamond[] = {{15, 14}, {18, 17}, {15, 20}, {12, 17}};
    c.Polygon(diamond);
    c.SetPixel(23, 18, clNavy);
    c.DrawFocusRect({19, 14, 24, 19});
}

TEST(CanvasMirror, MirroredShapesAreTheMirroredPixelsOfTheUnmirroredDrawing) {
    constexpr int kWidth = 24, kHeight = 21;
    for (double scale : {1.0, 2.0}) {
        for (int origin : {0, 2}) {
            const int deviceWidth = Edge(kWidth + 2 * origin, scale), deviceHeight = Edge(kHeight, scale);
            TBitmap plain, mirrored;
            Prepare(plain, deviceWidth, deviceHeight, scale);
            Prepare(mirrored, deviceWidth, deviceHeight, scale, kWidth);
            plain.Canvas()->SetOrigin({origin, 0});
            mirrored.Canvas()->SetOrigin({origin, 0});
            DrawMirrorableScene(*plain.Canvas());
            DrawMirrorableScene(*mirrored.Canvas());
            // The span [origin, origin + width) reflects onto itself.
            const int spanLeft = Edge(origin, scale), spanRight = Edge(origin + kWidth, scale);
            int differences = 0;
            for (int y = 0; y < deviceHeight; ++y)
                for (int x = spanLeft; x < spanRight; ++x)
                    if (mirrored.Pixel(x, y) != plain.Pixel(spanLeft + spanRight - 1 - x, y)) ++differences;
            EXPECT_EQ(differences, 0) << "scale " << scale << " origin " << origin;
        }
    }
}

TEST(CanvasMirror, PicturesMoveButKeepTheirOrientation) {
    TBitmap glyph;
    glyph.SetSize(3, 2);
    const TColor colours[] = {clRed, clLime, clBlue, clYellow, clAqua, clFuchsia};
    for (int i = 0; i < 6; ++i)
        glyph.ScanLine(i / 3)[i % 3] = ColorToPixel(colours[i]);
    for (double scale : {1.0, 2.0}) {
        TBitmap b;
        Prepare(b, Edge(10, scale), Edge(4, scale), scale, 10);
        b.Canvas()->Draw(1, 1, &glyph);
        // Logical columns 1..3 become 6..8, read left to right as in the source.
        for (int i = 0; i < 6; ++i) {
            const int x = 6 + i % 3, y = 1 + i / 3;
            EXPECT_EQ(b.Canvas()->Pixels(x, y), kBackground) << "mirrored logical reads stay logical";
            EXPECT_EQ(b.Pixel(Edge(x, scale), Edge(y, scale)), colours[i]) << scale << " " << i;
        }
        const std::uint32_t pixels[] = {ColorToPixel(clRed), ColorToPixel(clBlue)};
        b.Canvas()->DrawMasked(0, 3, pixels, nullptr, 2, 1);
        EXPECT_EQ(b.Pixel(Edge(8, scale), Edge(3, scale)), clRed);
        EXPECT_EQ(b.Pixel(Edge(9, scale), Edge(3, scale)), clBlue);
    }
}

/// The device pixels of text drawn at the top-left of a canvas, as rows.
std::vector<std::vector<TColor>> TextPixels(double scale, int mirrorWidth, int x, const char* text) {
    TBitmap b;
    Prepare(b, Edge(60, scale), Edge(16, scale), scale, mirrorWidth);
    b.Canvas()->Font()->SetName("Tahoma");
    b.Canvas()->Font()->SetHeight(-11);
    b.Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    b.Canvas()->TextOut(x, 1, text);
    std::vector<std::vector<TColor>> rows;
    for (int y = 0; y < b.Height(); ++y) {
        rows.emplace_back();
        for (int dx = 0; dx < b.Width(); ++dx)
            rows.back().push_back(b.Pixel(dx, y));
    }
    return rows;
}

TEST(CanvasMirror, TextMovesToTheMirroredBoxAndReadsLeftToRight) {
    TCanvas measure;
    measure.Font()->SetName("Tahoma");
    measure.Font()->SetHeight(-11);
    const int width = measure.TextWidth("Ab");
    for (double scale : {1.0, 2.0}) {
        const auto plain = TextPixels(scale, 0, 60 - 3 - width, "Ab");
        const auto mirrored = TextPixels(scale, 60, 3, "Ab");
        EXPECT_EQ(mirrored, plain) << scale;
    }
}

/// The device pixels of turned text (a vertical toolbar's captions) drawn with its
/// anchor at (x, 4) on a canvas 30 units wide.
std::vector<std::uint32_t> TurnedTextPixels(int orientation, int mirrorWidth, int x) {
    TBitmap b;
    Prepare(b, 30, 40, 1.0, mirrorWidth);
    b.Canvas()->Font()->SetName("Tahoma");
    b.Canvas()->Font()->SetHeight(-11);
    b.Canvas()->Font()->SetOrientation(orientation);
    b.Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    b.Canvas()->TextOut(x, 4, "Ab");
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < b.Height(); ++y)
        pixels.insert(pixels.end(), b.ScanLine(y), b.ScanLine(y) + b.Width());
    return pixels;
}

// Turned text in a mirrored span lay beside its box, so a right-to-left vertical
// toolbar showed only slivers of its captions: the anchor was mirrored as a
// point, not the column the turned text covers.
TEST(CanvasMirror, TurnedTextLandsInItsMirroredColumnAndIsNotReversed) {
    TCanvas measure;
    measure.Font()->SetName("Tahoma");
    measure.Font()->SetHeight(-11);
    const int h = measure.TextHeight("Ab");
    // Turned clockwise the text covers the column [x - h, x); anticlockwise [x, x + h).
    const auto plain2700 = TurnedTextPixels(2700, 0, 30 - 8 + h);
    const auto plain900 = TurnedTextPixels(900, 0, 30 - 8 - h);
    EXPECT_NE(plain2700, TurnedTextPixels(2700, 0, 0)) << "the text is drawn at all";
    EXPECT_EQ(TurnedTextPixels(2700, 30, 8), plain2700);
    EXPECT_EQ(TurnedTextPixels(900, 30, 8), plain900);
}

TEST(CanvasScaleText, MeasurementIsTheSameAtEveryScaleAndDrawnTextFitsIt) {
    for (double scale : {1.0, 1.5, 2.0}) {
        TBitmap b;
        Prepare(b, Edge(120, scale), Edge(30, scale), scale);
        TCanvas* c = b.Canvas();
        c->Font()->SetName("Tahoma");
        c->Font()->SetHeight(-11);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        TRect box{10, 5, 200, 100};
        c->DrawText("确定 Bg", box, DT_CALCRECT | DT_SINGLELINE);
        EXPECT_EQ(box.Width(), c->TextWidth("确定 Bg")) << scale;
        EXPECT_EQ(box.Height(), c->TextHeight("Bg")) << scale;
        TCanvas unscaled;
        unscaled.Font()->SetName("Tahoma");
        unscaled.Font()->SetHeight(-11);
        EXPECT_EQ(box.Width(), unscaled.TextWidth("确定 Bg")) << scale;

        c->DrawText("确定 Bg", box, DT_SINGLELINE);
        int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if (b.Pixel(x, y) != kBackground) {
                    left = std::min(left, x);
                    right = std::max(right, x + 1);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y + 1);
                }
        ASSERT_GE(right, 0) << scale;
        constexpr int kSlack = 2;
        EXPECT_GE(left, Edge(box.Left, scale) - kSlack) << scale;
        EXPECT_LE(right, Edge(box.Right, scale) + kSlack) << scale;
        EXPECT_GE(top, Edge(box.Top, scale) - kSlack) << scale;
        EXPECT_LE(bottom, Edge(box.Bottom, scale) + kSlack) << scale;
        // Not clipped: the ink spans most of the measured box at every scale.
        EXPECT_GE(right - left, Edge(box.Width(), scale) - Edge(3, scale)) << scale;
    }
}

} // namespace
} // namespace emr
