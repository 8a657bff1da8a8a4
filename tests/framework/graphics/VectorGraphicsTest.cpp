// Anti-aliased paths and gradient brushes on a canvas's pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/VectorGraphics.h"

namespace emr {
namespace {

void Fill(TBitmap& bitmap, int w, int h, TColor color) {
    bitmap.SetSize(w, h);
    bitmap.Canvas()->Brush()->SetColor(color);
    bitmap.Canvas()->FillRect({0, 0, w, h});
}

int Grey(const TBitmap& b, int x, int y) {
    return GetRValue(b.Pixel(x, y));
}

constexpr TARGB kRed = 0xFFFF0000;

TEST(VectorGraphics, OnePixelStrokesOnIntegerCoordinatesAreCrisp) {
    TBitmap b;
    Fill(b, 12, 10, clWhite);
    {
        TVectorGraphics g(*b.Canvas());
        g.SetSmoothingMode(TSmoothingMode::AntiAlias);
        TVectorPen pen(kRed, 1.0f);
        // The four-line frame of a rectangle from (2, 2), 7 wide and 5 high.
        TVectorPath path;
        path.AddLine(2, 2, 9, 2);
        path.AddLine(9, 2, 9, 7);
        path.AddLine(9, 7, 2, 7);
        path.AddLine(2, 7, 2, 2);
        path.CloseFigure();
        g.DrawPath(pen, path);
    }
    for (int x = 2; x <= 9; ++x) {
        EXPECT_EQ(b.Pixel(x, 2), clRed) << x;
        EXPECT_EQ(b.Pixel(x, 7), clRed) << x;
    }
    for (int y = 2; y <= 7; ++y) {
        EXPECT_EQ(b.Pixel(2, y), clRed) << y;
        EXPECT_EQ(b.Pixel(9, y), clRed) << y;
    }
    EXPECT_EQ(b.Pixel(1, 2), clWhite);
    EXPECT_EQ(b.Pixel(3, 3), clWhite);
    EXPECT_EQ(b.Pixel(10, 7), clWhite);
    EXPECT_EQ(b.Pixel(9, 8), clWhite);
    // The buffer's unused byte stays zero.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(b.ScanLine(y)[x] >> 24, 0u);
}

TEST(VectorGraphics, RoundedFrameJoinsArcsAndLines) {
    TBitmap b;
    Fill(b, 12, 10, clWhite);
    {
        TVectorGraphics g(*b.Canvas());
        g.SetSmoothingMode(TSmoothingMode::AntiAlias);
        // X = 0, Y = 0, W = 9, H = 7, radius 3: lines between corner arcs.
        float x = 0, y = 0, w = 9, h = 7, r = 3, d = 6;
        TVectorPath path;
        path.AddLine(x + r, y, x + w - d, y);
        path.AddArc(x + w - d, y, d, d, 270, 90);
        path.AddLine(x + w, y + r, x + w, y + h - d);
        path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
        path.AddLine(x + w - d, y + h, x + r, y + h);
        path.AddArc(x, y + h - d, d, d, 90, 90);
        path.AddLine(x, y + h - d, x, y + r);
        path.AddArc(x, y, d, d, 180, 90);
        path.CloseFigure();
        g.DrawPath(TVectorPen(kRed), path);
    }
    // Straight middles are (all but) fully covered, the corner pixels stay nearly untouched.
    auto nearlyRed = [&](int x, int y) {
        TColor c = b.Pixel(x, y);
        return GetRValue(c) == 255 && GetGValue(c) <= 8 && GetBValue(c) <= 8;
    };
    EXPECT_TRUE(nearlyRed(4, 0));
    EXPECT_TRUE(nearlyRed(0, 3));
    EXPECT_TRUE(nearlyRed(9, 3));
    EXPECT_TRUE(nearlyRed(4, 7));
    EXPECT_GE(GetGValue(b.Pixel(0, 0)), 200);
    EXPECT_GE(GetGValue(b.Pixel(9, 7)), 200);
    EXPECT_EQ(b.Pixel(4, 3), clWhite);
    // The arcs are drawn: the pixel on the 45-degree point of the top-left corner has ink.
    EXPECT_LT(GetGValue(b.Pixel(1, 1)), 200);
}

TEST(VectorGraphics, LinearGradientsRunAcrossTheirBoxAndTile) {
    TBitmap b;
    Fill(b, 20, 4, clWhite);
    {
        TVectorGraphics g(*b.Canvas());
        g.SetSmoothingMode(TSmoothingMode::AntiAlias);
        TVectorLinearGradientBrush brush({0, 0, 10, 4}, 0xFF000000, 0xFFFFFFFF,
                                         TLinearGradientMode::Horizontal);
        g.FillRectangle(brush, 0, 0, 20, 4);
    }
    // Pixel x is sampled at x: t = x / 10.
    EXPECT_NEAR(Grey(b, 5, 2), 128, 1);
    EXPECT_NEAR(Grey(b, 2, 2), 51, 1);
    // Beyond the box the gradient starts again.
    EXPECT_NEAR(Grey(b, 12, 2), 51, 1);

    Fill(b, 10, 4, clWhite);
    {
        TVectorGraphics g(*b.Canvas());
        TVectorLinearGradientBrush brush({0, 0, 10, 4}, 0xFF000000, 0xFFFFFFFF,
                                         TLinearGradientMode::ForwardDiagonal);
        g.FillRectangle(brush, 0, 0, 10, 4);
    }
    // t = (x / 10 + y / 4) / 2.
    EXPECT_NEAR(Grey(b, 1, 1), std::lround(255 * (0.1 + 0.25) / 2), 1);
    EXPECT_NEAR(Grey(b, 6, 2), std::lround(255 * (0.6 + 0.5) / 2), 1);

    Fill(b, 10, 4, clWhite);
    {
        TVectorGraphics g(*b.Canvas());
        TVectorLinearGradientBrush brush({0, 0, 10, 4}, 0xFF000000, 0xFFFFFFFF,
                                         TLinearGradientMode::Vertical);
        g.FillRectangle(brush, 0, 0, 10, 4);
    }
    EXPECT_NEAR(Grey(b, 7, 2), 128, 1);
    EXPECT_EQ(Grey(b, 3, 2), Grey(b, 8, 2));
}

TEST(VectorGraphics, PathGradientBlendsFromCentreToTheEllipse) {
    TBitmap b;
    Fill(b, 21, 21, clGreen);
    TVectorPath ellipse;
    ellipse.AddEllipse(0, 0, 20, 20);
    {
        TVectorGraphics g(*b.Canvas());
        g.SetSmoothingMode(TSmoothingMode::AntiAlias);
        TVectorPathGradientBrush brush(ellipse);
        EXPECT_EQ(brush.PointCount(), 13);
        brush.SetCenterColor(0xFFFFFFFF);
        brush.SetSurroundColors({0xFF000000});
        brush.SetCenterPoint({10, 10});
        g.FillRectangle(brush, 0, 0, 21, 21);
    }
    EXPECT_NEAR(Grey(b, 10, 10), 255, 1);
    EXPECT_NEAR(Grey(b, 10, 1), std::lround(255 * 0.1), 2);
    EXPECT_NEAR(Grey(b, 15, 10), std::lround(255 * 0.5), 2);
    // Outside the ellipse nothing is painted.
    EXPECT_EQ(b.Pixel(0, 0), clGreen);
    EXPECT_EQ(b.Pixel(20, 20), clGreen);

    // An off-centre point: each ray from it is blended linearly to the boundary.
    Fill(b, 21, 21, clGreen);
    {
        TVectorGraphics g(*b.Canvas());
        TVectorPathGradientBrush brush(ellipse);
        brush.SetCenterColor(0xFFFFFFFF);
        brush.SetSurroundColors({0xFF000000});
        brush.SetCenterPoint({10, 19});
        g.FillPath(brush, ellipse);
    }
    EXPECT_NEAR(Grey(b, 10, 19), 255, 3);
    EXPECT_NEAR(Grey(b, 10, 10), std::lround(255 * (1 - 9.0 / 19.0)), 3);
}

TEST(VectorGraphics, RespectsOriginClipAndAlpha) {
    TBitmap b;
    Fill(b, 12, 12, clWhite);
    TCanvas* c = b.Canvas();
    {
        TCanvasState state(*c);
        c->SetOrigin({5, 5});
        c->SetClipRect({0, 0, 4, 4});
        TVectorGraphics g(*c);
        g.FillRectangle(TVectorSolidBrush(kRed), -50, -50, 100, 100);
    }
    EXPECT_EQ(b.Pixel(5, 5), clRed);
    EXPECT_EQ(b.Pixel(8, 8), clRed);
    EXPECT_EQ(b.Pixel(4, 5), clWhite);
    EXPECT_EQ(b.Pixel(9, 8), clWhite);
    EXPECT_EQ(b.Pixel(8, 9), clWhite);

    {
        TVectorGraphics g(*c);
        g.FillRectangle(TVectorSolidBrush(MakeARGB(0x80, 0, 0, 255)), 0, 0, 3, 3);
    }
    // Half-transparent blue over white.
    TColor mixed = b.Pixel(1, 1);
    EXPECT_NEAR(GetRValue(mixed), 127, 2);
    EXPECT_NEAR(GetBValue(mixed), 255, 1);

    // A canvas without pixels takes the calls and does nothing.
    TCanvas none;
    TVectorGraphics g(none);
    g.FillEllipse(TVectorSolidBrush(kRed), 0, 0, 5, 5);
}

} // namespace
} // namespace emr
