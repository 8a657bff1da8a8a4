// Pixel tests of the gradient painting primitives; every expected value is
// worked out from the painting rules by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"
#include "styling/GradientPainting.h"

namespace emr {
namespace {

constexpr TColor kGround = RGB(1, 2, 3);

// A bitmap filled with a colour no primitive paints, so untouched pixels show.
struct Surface {
    TBitmap bitmap;
    Surface(int width, int height) : bitmap(width, height) {
        bitmap.Canvas()->Brush()->SetColor(kGround);
        bitmap.Canvas()->FillRect({0, 0, width, height});
    }
    TCanvas& Canvas() { return *bitmap.Canvas(); }
    TColor At(int x, int y) const { return bitmap.Pixel(x, y); }
};

TEST(DrawGradient, WorkedExampleFourVerticalBands) {
    Surface s(24, 12);
    DrawGradient(s.Canvas(), clBlack, clWhite, 4, {0, 0, 20, 9}, false);
    // Bands of rows 0..2, 2..4, 4..6, 6..8, each overwriting the shared row.
    const TColor rows[9] = {0x000000, 0x000000, 0x404040, 0x404040, 0x808080,
                            0x808080, 0xBFBFBF, 0xBFBFBF, 0xBFBFBF};
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(s.At(x, y), rows[y]) << x << "," << y;
    for (int y = 0; y < 12; ++y)
        EXPECT_EQ(s.At(20, y), kGround) << "right edge is exclusive";
    for (int x = 0; x < 24; ++x)
        EXPECT_EQ(s.At(x, 9), kGround) << "bottom edge is exclusive";
    EXPECT_EQ(s.Canvas().Pen()->Color(), 0xBFBFBFu);
    EXPECT_EQ(s.Canvas().Brush()->Color(), 0xBFBFBFu);
}

TEST(DrawGradient, HorizontalBandsRunLeftToRight) {
    Surface s(12, 6);
    DrawGradient(s.Canvas(), clBlack, clWhite, 4, {0, 0, 9, 5}, true);
    const TColor cols[9] = {0x000000, 0x000000, 0x404040, 0x404040, 0x808080,
                            0x808080, 0xBFBFBF, 0xBFBFBF, 0xBFBFBF};
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 5; ++y)
            ASSERT_EQ(s.At(x, y), cols[x]) << x << "," << y;
    EXPECT_EQ(s.At(9, 0), kGround);
    EXPECT_EQ(s.At(0, 5), kGround);
}

TEST(DrawGradient, ZeroStepsIsOneBandInTheFromColour) {
    Surface s(16, 14);
    DrawGradient(s.Canvas(), clRed, clBlue, 0, {2, 3, 12, 10}, false);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 16; ++x) {
            bool inside = x >= 2 && x < 12 && y >= 3 && y < 10;
            ASSERT_EQ(s.At(x, y), inside ? clRed : kGround) << x << "," << y;
        }
}

TEST(DrawGradient, ColourToItselfIsSolid) {
    Surface s(30, 30);
    DrawGradient(s.Canvas(), RGB(12, 140, 250), RGB(12, 140, 250), 64, {0, 0, 30, 30}, true);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(s.At(x, y), RGB(12, 140, 250));
}

TEST(DrawGradient, SystemColoursResolveThroughTheCurrentScheme) {
    Surface s(10, 10);
    DrawGradient(s.Canvas(), clBtnFace, clBtnShadow, 2, {0, 0, 10, 9}, false);
    EXPECT_EQ(s.At(5, 0), RGB(240, 240, 240));
    // Second band: 240 + Round(1 * (160 - 240) / 2) = 200.
    EXPECT_EQ(s.At(5, 8), RGB(200, 200, 200));

    TSystemColorScheme other = TSystemColorScheme::Windows7();
    other.Colors[clBtnFace & 0xFF] = RGB(10, 20, 30);
    other.Colors[clBtnShadow & 0xFF] = RGB(50, 60, 70);
    SetSystemColorScheme(other);
    DrawGradient(s.Canvas(), clBtnFace, clBtnShadow, 2, {0, 0, 10, 9}, false);
    ResetSystemColorScheme();
    EXPECT_EQ(s.At(5, 0), RGB(10, 20, 30));
    EXPECT_EQ(s.At(5, 8), RGB(30, 40, 50));
}

// The rule as it reads: band after band, each a pen-and-brush rectangle over the
// ones before it. DrawGradient paints each pixel once; the pictures must agree.
void PaintBandByBand(TCanvas& canvas, TColor from, TColor to, int steps, const TRect& rect, bool horizontal) {
    if (steps == 0) steps = 1;
    const double dr = static_cast<double>(GetRValue(to) - GetRValue(from)) / steps;
    const double dg = static_cast<double>(GetGValue(to) - GetGValue(from)) / steps;
    const double db = static_cast<double>(GetBValue(to) - GetBValue(from)) / steps;
    TRect r = rect;
    (horizontal ? r.Right : r.Bottom) -= 1;
    const double band = static_cast<double>(horizontal ? r.Width() : r.Height()) / steps;
    const int size = static_cast<int>(std::lrint(band));
    for (int i = 0; i < steps; ++i) {
        const TColor c = RGB(GetRValue(from) + std::lrint(i * dr), GetGValue(from) + std::lrint(i * dg),
                             GetBValue(from) + std::lrint(i * db));
        canvas.Pen()->SetColor(c);
        canvas.Brush()->SetColor(c);
        // The offset is kept in 16 bits, as the rule has it.
        const int at = static_cast<std::uint16_t>(std::lrint(i * band));
        if (horizontal)
            canvas.Rectangle(r.Left + at, r.Top, r.Left + at + size + 1, rect.Bottom);
        else
            canvas.Rectangle(r.Left, r.Top + at, rect.Right, r.Top + at + size + 1);
    }
}

TEST(DrawGradient, PaintsWhatBandAfterBandWouldAcrossSizesStepsClipsAndPenModes) {
    const TColor from = RGB(245, 191, 160), to = RGB(20, 218, 196);
    struct Case {
        TRect rect;
        int steps;
    };
    const Case cases[] = {{{0, 0, 382, 47}, 128}, {{3, 1, 94, 46}, 80}, {{5, 4, 8, 30}, 40},
                          {{0, 0, 1, 1}, 3},      {{2, 2, 2, 9}, 5},    {{-7, -3, 50, 20}, 7},
                          {{0, 0, 61, 33}, 256},  {{4, 6, 29, 17}, 10}, {{0, 0, 13, 13}, 13}};
    const TRect clips[] = {{0, 0, 400, 60}, {10, 5, 40, 25}, {0, 20, 400, 21}, {50, 0, 51, 60}};
    for (const Case& c : cases)
        for (bool horizontal : {false, true})
            for (const TRect& clip : clips)
                for (TPenMode mode : {TPenMode::pmCopy, TPenMode::pmXor}) {
                    Surface fast(400, 60), slow(400, 60);
                    for (Surface* s : {&fast, &slow}) {
                        s->Canvas().SetOrigin({3, 2});
                        s->Canvas().SetClipRect(clip);
                        s->Canvas().Pen()->SetMode(mode);
                    }
                    DrawGradient(fast.Canvas(), from, to, c.steps, c.rect, horizontal);
                    PaintBandByBand(slow.Canvas(), from, to, c.steps, c.rect, horizontal);
                    for (int y = 0; y < 60; ++y)
                        for (int x = 0; x < 400; ++x)
                            ASSERT_EQ(fast.At(x, y), slow.At(x, y))
                                << x << "," << y << " rect " << c.rect.Left << "," << c.rect.Top << ","
                                << c.rect.Right << "," << c.rect.Bottom << " steps " << c.steps
                                << (horizontal ? " horizontal" : " vertical") << " clip " << clip.Left << ","
                                << clip.Top;
                    EXPECT_EQ(fast.Canvas().Pen()->Color(), slow.Canvas().Pen()->Color());
                    EXPECT_EQ(fast.Canvas().Brush()->Color(), slow.Canvas().Brush()->Color());
                }
}

TEST(DrawGradient, EachDeviceRowGetsItsOwnColourAtDoubleScale) {
    // 256 steps over 60 rows: at 1.0 every row has its own colour, and at 2.0 every
    // one of the 120 device rows must too, not the 1.0 rows doubled.
    for (double scale : {1.0, 2.0}) {
        const int rows = static_cast<int>(60 * scale);
        Surface s(static_cast<int>(10 * scale), rows + 4);
        s.Canvas().SetScale(scale);
        DrawGradient(s.Canvas(), clBlack, clWhite, 256, {0, 0, 10, 61}, false);
        for (int y = 1; y < rows; ++y)
            ASSERT_GT(GetRValue(s.At(3, y)), GetRValue(s.At(3, y - 1)))
                << "device row " << y << " at " << scale;
        EXPECT_EQ(s.At(3, static_cast<int>(61 * scale)), kGround) << "bottom edge is exclusive";
    }
}

TEST(DrawGradient, MirroredHorizontalGradientKeepsItsColourOrder) {
    for (double scale : {1.0, 2.0}) {
        const int width = static_cast<int>(20 * scale), height = static_cast<int>(4 * scale);
        Surface plain(width, height), mirrored(width, height);
        mirrored.Canvas().SetScale(scale);
        mirrored.Canvas().SetMirrorWidth(20);
        DrawGradient(mirrored.Canvas(), clRed, clBlue, 8, {2, 0, 12, 3}, true);
        // Logical 2..12 lies at 8..18 mirrored; there it runs from red to blue as drawn
        // unmirrored on the same device pixels.
        plain.Canvas().SetScale(scale);
        DrawGradient(plain.Canvas(), clRed, clBlue, 8, {8, 0, 18, 3}, true);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(mirrored.At(x, y), plain.At(x, y)) << x << "," << y << " at " << scale;
        EXPECT_EQ(mirrored.At(static_cast<int>(8 * scale), 0), clRed);
    }
}

TEST(BlendColor, MixesAndPassesExtremesThroughUntouched) {
    EXPECT_EQ(BlendColor(clWhite, clBlack, 50), 0x808080u);
    EXPECT_EQ(BlendColor(clNone, clBtnShadow, 100), clNone);
    EXPECT_EQ(BlendColor(clNone, clBtnShadow, 250), clNone);
    EXPECT_EQ(BlendColor(clNone, clBtnShadow, 0), clBtnShadow);
    EXPECT_EQ(BlendColor(clNone, clBtnShadow, -5), clBtnShadow);
    // System colours are resolved first: 0.5 * 240 + 0.5 * 0 = 120.
    EXPECT_EQ(BlendColor(clBtnFace, clBlack, 50), RGB(120, 120, 120));
    // Halves round to the even neighbour: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
    EXPECT_EQ(BlendColor(RGB(1, 3, 5), clBlack, 50), RGB(0, 2, 2));
    EXPECT_EQ(BlendColor(RGB(200, 0, 100), RGB(0, 200, 100), 25), RGB(50, 150, 100));
}

TEST(ColorToARGB, IsOpaqueWithRedInTheThirdByte) {
    EXPECT_EQ(ColorToARGB(clNavy), 0xFF000080u);
    EXPECT_EQ(ColorToARGB(RGB(1, 2, 3)), 0xFF010203u);
    EXPECT_EQ(ColorToARGB(clBtnFace), 0xFFF0F0F0u);
}

TEST(DrawVistaGradient, TwoPartsShareTheSplitRow) {
    Surface s(20, 20);
    DrawVistaGradient(s.Canvas(), {0, 0, 20, 20}, 0, clRed, clRed, clBlue, clBlue, clNone, 0);
    // The one-row upper part is overwritten by the lower part that starts on it.
    EXPECT_EQ(s.At(10, 0), clBlue);
    EXPECT_EQ(s.At(0, 0), clBlue) << "no frame for clNone";

    Surface t(20, 21);
    DrawVistaGradient(t.Canvas(), {0, 0, 20, 21}, 10, clRed, clRed, clBlue, clBlue, clNone, 0);
    for (int y = 0; y < 10; ++y)
        ASSERT_EQ(t.At(7, y), clRed) << y;
    for (int y = 10; y < 21; ++y)
        ASSERT_EQ(t.At(7, y), clBlue) << y;
}

TEST(DrawVistaGradient, SquareFrameCoversTheOuterPixelRing) {
    Surface s(24, 16);
    DrawVistaGradient(s.Canvas(), {2, 2, 22, 14}, 5, clWhite, clWhite, clWhite, clWhite, clBlack, 0);
    // W = 19, H = 11: the frame's lines lie on pixel centres x 2 and 21, y 2 and 13.
    EXPECT_EQ(s.At(10, 2), clBlack);
    EXPECT_EQ(s.At(10, 13), clBlack);
    EXPECT_EQ(s.At(2, 8), clBlack);
    EXPECT_EQ(s.At(21, 8), clBlack);
    EXPECT_EQ(s.At(10, 3), clWhite);
    EXPECT_EQ(s.At(3, 8), clWhite);
    EXPECT_EQ(s.At(10, 1), kGround);
}

TEST(Draw3DGripLine, VerticalBarsRaisedAndSunk) {
    for (bool raised : {true, false}) {
        Surface s(12, 24);
        Draw3DGripLine(s.Canvas(), {5, 20}, {5, 10}, raised, true);
        const TColor first = raised ? clWhite : RGB(160, 160, 160);
        const TColor second = raised ? RGB(160, 160, 160) : clWhite;
        // First stroke: (4,19) up to (4,10), then across to (6,10) exclusive.
        for (int y = 10; y <= 19; ++y)
            EXPECT_EQ(s.At(4, y), first) << y;
        EXPECT_EQ(s.At(5, 10), first);
        // Second stroke: (6,10) down to (6,20), then back to (4,20) exclusive.
        for (int y = 10; y <= 19; ++y)
            EXPECT_EQ(s.At(6, y), second) << y;
        EXPECT_EQ(s.At(6, 20), second);
        EXPECT_EQ(s.At(5, 20), second);
        EXPECT_EQ(s.At(4, 20), kGround);
        for (int y = 11; y <= 19; ++y)
            EXPECT_EQ(s.At(5, y), kGround) << "the bar's middle stays";
        EXPECT_EQ(s.At(4, 9), kGround);
    }
}

TEST(Draw3DGripLine, HorizontalBarsRaisedAndSunk) {
    for (bool raised : {true, false}) {
        Surface s(24, 10);
        Draw3DGripLine(s.Canvas(), {10, 5}, {20, 5}, raised, false);
        const TColor first = raised ? clWhite : RGB(160, 160, 160);
        const TColor second = raised ? RGB(160, 160, 160) : clWhite;
        // First stroke: (9,6) up to (9,4), then along row 4 to (21,4) exclusive.
        EXPECT_EQ(s.At(9, 6), first);
        EXPECT_EQ(s.At(9, 5), first);
        for (int x = 9; x <= 20; ++x)
            EXPECT_EQ(s.At(x, 4), first) << x;
        // Second stroke: (21,4) down to (21,6), then back along row 6 to (10,6) exclusive.
        EXPECT_EQ(s.At(21, 4), second);
        EXPECT_EQ(s.At(21, 5), second);
        for (int x = 11; x <= 21; ++x)
            EXPECT_EQ(s.At(x, 6), second) << x;
        EXPECT_EQ(s.At(10, 6), kGround);
        for (int x = 10; x <= 20; ++x)
            EXPECT_EQ(s.At(x, 5), kGround) << x;
    }
}

// Text written downward with the same font, to compare against.
struct VerticalText {
    Surface actual{60, 90};
    Surface expected{60, 90};
    VerticalText() {
        for (TCanvas* c : {&actual.Canvas(), &expected.Canvas()}) {
            c->Font()->SetName("Tahoma");
            c->Font()->SetHeight(-13);
            c->Font()->SetColor(clRed);
            c->Font()->SetOrientation(-900);
            c->Brush()->SetStyle(TBrushStyle::bsClear);
        }
    }
    bool Same() const {
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 60; ++x)
                if (actual.At(x, y) != expected.At(x, y)) return false;
        return true;
    }
};

TEST(TextOutVertical, WithoutAcceleratorWritesTheTextOnly) {
    VerticalText t;
    TextOutVertical(t.actual.Canvas(), "File", {40, 5});
    t.expected.Canvas().TextOut(40, 5, "File");
    EXPECT_TRUE(t.Same());
}

TEST(TextOutVertical, DoubledAmpersandIsALiteralWithoutUnderline) {
    VerticalText t;
    TextOutVertical(t.actual.Canvas(), "A&&B", {40, 5});
    t.expected.Canvas().TextOut(40, 5, "A&B");
    EXPECT_TRUE(t.Same());
}

TEST(TextOutVertical, AcceleratorIsUnderlinedAlongTheRotatedText) {
    VerticalText t;
    TextOutVertical(t.actual.Canvas(), "Fi&le", {40, 5});
    TCanvas& c = t.expected.Canvas();
    c.TextOut(40, 5, "File");
    const int x = 40 - c.TextHeight("File") + 1;
    const int y1 = 5 + c.TextWidth("Fi");
    const int y2 = y1 + c.TextWidth("l");
    c.Pen()->SetColor(clRed);
    c.MoveTo(x, y1);
    c.LineTo(x, y2);
    EXPECT_TRUE(t.Same());
    for (int y = y1; y < y2; ++y)
        EXPECT_EQ(t.actual.At(x, y), clRed) << y;
}

TEST(TextOutVertical, LeadingAcceleratorUnderlinesTheFirstCharacter) {
    VerticalText t;
    TextOutVertical(t.actual.Canvas(), "&File", {40, 5});
    TCanvas& c = t.expected.Canvas();
    const int x = 40 - c.TextHeight("File") + 1;
    const int width = c.TextWidth("F");
    ASSERT_GT(width, 0);
    for (int y = 5; y < 5 + width; ++y)
        EXPECT_EQ(t.actual.At(x, y), clRed) << y;
    EXPECT_NE(t.actual.At(x, 5 + width), clRed);
}

// Distance of a pixel from a reference colour, largest channel difference.
int Distance(TColor a, TColor b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

TEST(DrawGlowFace, SolidHalvesShowTheirColoursAtTheirCentres) {
    for (TGDIPGradient kind : {ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward}) {
        Surface s(40, 30);
        DrawGlowFace(s.Canvas(), {0, 0, 40, 30}, RGB(200, 40, 40), RGB(200, 40, 40), kind, RGB(40, 40, 200),
                     RGB(40, 40, 200), kind, clNone, false);
        EXPECT_EQ(s.At(20, 7), RGB(200, 40, 40)) << "upper centre, kind " << int(kind);
        EXPECT_EQ(s.At(20, 22), RGB(40, 40, 200)) << "lower centre, kind " << int(kind);
        EXPECT_EQ(s.At(0, 0), RGB(200, 40, 40)) << "no frame for clNone";
    }
}

TEST(DrawGlowFace, VerticalUpperHalfRunsFromItsFromColour) {
    Surface s(40, 40);
    DrawGlowFace(s.Canvas(), {0, 0, 40, 40}, clWhite, clBlack, ggVertical, clBlack, clBlack, ggVertical,
                 clNone, false);
    // The linear box is the upper half (20 rows): light at the top, dark near the split.
    EXPECT_LT(Distance(s.At(20, 1), clWhite), 32);
    EXPECT_LT(Distance(s.At(20, 18), clBlack), 32);
    EXPECT_GT(GetRValue(s.At(20, 5)), GetRValue(s.At(20, 10)));
    EXPECT_GT(GetRValue(s.At(20, 10)), GetRValue(s.At(20, 15)));
}

TEST(DrawGlowFace, RadialLowerHalfGlowsFromTheBottomCentre) {
    Surface s(40, 40);
    DrawGlowFace(s.Canvas(), {0, 0, 40, 40}, clBlack, clBlack, ggVertical, clBlack, clWhite, ggRadial, clNone,
                 false);
    // Centre colour at (20, 40), the from-colour on the ellipse's rim.
    EXPECT_GT(GetRValue(s.At(20, 38)), 200);
    EXPECT_GT(GetRValue(s.At(20, 38)), GetRValue(s.At(20, 30)));
    EXPECT_GT(GetRValue(s.At(20, 30)), GetRValue(s.At(20, 22)));
    EXPECT_GT(GetRValue(s.At(20, 38)), GetRValue(s.At(5, 38)));
}

TEST(DrawGlowFace, RoundedFrameIsAntiAliasedOnTheCorner) {
    Surface s(40, 30);
    DrawGlowFace(s.Canvas(), {0, 0, 40, 30}, clWhite, clWhite, ggVertical, clWhite, clWhite, ggVertical,
                 clBlack, true);
    // Straight parts of the frame lie on pixel centres: full border colour.
    EXPECT_EQ(s.At(20, 0), clBlack);
    EXPECT_EQ(s.At(20, 29), clBlack);
    EXPECT_EQ(s.At(0, 15), clBlack);
    EXPECT_EQ(s.At(39, 15), clBlack);
    EXPECT_EQ(s.At(20, 15), clWhite);
    // The arc of radius 3 blends into the face: some corner pixel lies between.
    int between = 0;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            const int v = GetRValue(s.At(x, y));
            if (v > 20 && v < 235) ++between;
        }
    EXPECT_GT(between, 0);
    EXPECT_GT(GetRValue(s.At(0, 0)), 128) << "the very corner lies outside the rounded frame";
}

TEST(DrawGlowFace, SquareFrameHasSharpCorners) {
    Surface s(40, 30);
    DrawGlowFace(s.Canvas(), {0, 0, 40, 30}, clWhite, clWhite, ggVertical, clWhite, clWhite, ggVertical,
                 clBlack, false);
    EXPECT_EQ(s.At(0, 0), clBlack);
    EXPECT_EQ(s.At(39, 29), clBlack);
    EXPECT_EQ(s.At(1, 1), clWhite);
}

} // namespace
} // namespace emr
