// Text measurement and output: fixed metrics for the interface faces, real CJK glyphs,
// DrawText formatting and rotated text.
#include <gtest/gtest.h>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/TextEngine.h"

namespace emr {
namespace {

struct InkBox {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
    int Count = 0;
    bool Empty() const { return Count == 0; }
};

/// Pixels that differ from the background, and their bounding box.
InkBox FindInk(const TBitmap& bitmap, TColor background) {
    InkBox box;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Pixel(x, y) != background) {
                ++box.Count;
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box;
}

TBitmap* WhiteBitmap(TBitmap& bitmap, int w, int h) {
    bitmap.SetSize(w, h);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect({0, 0, w, h});
    return &bitmap;
}

TEST(TextMetrics, InterfaceFacesMeasureAsDesigned) {
    for (const char* name : {"Tahoma", "Segoe UI", "MS Sans Serif", "MS Shell Dlg"}) {
        TCanvas canvas;
        canvas.Font()->SetName(name);
        canvas.Font()->SetHeight(-11);
        EXPECT_EQ(canvas.TextHeight("gh"), 13) << name;
        EXPECT_EQ(canvas.TextWidth("确定"), 26) << name;
        EXPECT_EQ(canvas.TextWidth("退出"), 26) << name;
        TRect r{0, 0, 1000, 100};
        canvas.DrawText("确定", r, DT_CALCRECT | DT_SINGLELINE);
        EXPECT_EQ(r, (TRect{0, 0, 26, 13})) << name;
    }
}

TEST(TextMetrics, FacesResolveToTheBundledFamilies) {
    TFont font;
    font.SetName("Tahoma");
    TFaceResolution ui = TTextEngine::Instance().Resolve(font);
    EXPECT_EQ(ui.Primary, "Liberation Sans");
    EXPECT_EQ(ui.Fallback, "WenQuanYi Micro Hei");
    EXPECT_DOUBLE_EQ(ui.FallbackScale, 13.0 / 11.0);
    EXPECT_EQ(TTextEngine::Instance().FamiliesUsed(font, "a确"),
              (std::vector<std::string>{"Liberation Sans", "WenQuanYi Micro Hei"}));

    // 宋体 asked for by name gets the CJK face itself, unscaled: 11 px ideographs.
    font.SetName("宋体");
    EXPECT_EQ(TTextEngine::Instance().Resolve(font).Primary, "WenQuanYi Micro Hei");
    TCanvas canvas;
    canvas.Font()->Assign(&font);
    EXPECT_EQ(canvas.TextWidth("确定"), 22);
}

TEST(TextMetrics, SizeAndHeightFollowTheUsualConversion) {
    TFont font;
    font.SetHeight(-11);
    EXPECT_EQ(font.Size(), 8);
    font.SetSize(8);
    EXPECT_EQ(font.Height(), -11);
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    // A positive height is the cell height: the line height comes out the same.
    TCanvas canvas;
    canvas.Font()->SetHeight(13);
    EXPECT_EQ(canvas.TextHeight("gh"), 13);
}

TEST(TextOutput, CjkCaptionHasRealGlyphs) {
    TBitmap bitmap;
    WhiteBitmap(bitmap, 40, 20);
    TCanvas* c = bitmap.Canvas();
    c->Font()->SetName("Tahoma");
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->TextOut(2, 2, "确定");
    InkBox ink = FindInk(bitmap, clWhite);
    ASSERT_FALSE(ink.Empty());
    // Within the two 13-pixel cells and the line.
    EXPECT_GE(ink.Left, 2);
    EXPECT_LE(ink.Right, 2 + 26);
    EXPECT_GE(ink.Top, 2);
    EXPECT_LE(ink.Bottom, 2 + 16);
    // Each ideograph has many strokes: neither blank nor a hollow box. A missing-glyph
    // box would leave its centre empty; both characters have ink near their centres.
    auto inkNear = [&](int cx, int cy) {
        int n = 0;
        for (int y = cy - 2; y <= cy + 2; ++y)
            for (int x = cx - 2; x <= cx + 2; ++x)
                n += bitmap.Pixel(x, y) != clWhite;
        return n;
    };
    EXPECT_GT(inkNear(2 + 6, 2 + 7), 3);
    EXPECT_GT(inkNear(2 + 19, 2 + 7), 3);
    EXPECT_GT(ink.Count, 60);
    // The two glyphs differ.
    int differing = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 13; ++x)
            differing += bitmap.Pixel(2 + x, y) != bitmap.Pixel(15 + x, y);
    EXPECT_GT(differing, 20);
}

TEST(TextOutput, OpaqueBrushFillsTheCellAndTextOutMovesThePen) {
    TBitmap bitmap;
    WhiteBitmap(bitmap, 60, 20);
    TCanvas* c = bitmap.Canvas();
    c->Brush()->SetColor(clRed);
    c->Font()->SetColor(clBlack);
    c->TextOut(5, 3, "ab");
    int w = c->TextWidth("ab");
    EXPECT_EQ(c->PenPos(), (TPoint{5 + w, 3}));
    // The cell's corners take the brush colour, outside stays white.
    EXPECT_EQ(bitmap.Pixel(5, 3), clRed);
    EXPECT_EQ(bitmap.Pixel(5 + w - 1, 3 + 12), clRed);
    EXPECT_EQ(bitmap.Pixel(4, 3), clWhite);
    EXPECT_EQ(bitmap.Pixel(5 + w, 3), clWhite);
    EXPECT_EQ(bitmap.Pixel(5, 3 + 13), clWhite);
}

TEST(TextOutput, RotatedTextRunsDownwardForMinus900) {
    TBitmap plain, turned;
    WhiteBitmap(plain, 60, 60);
    WhiteBitmap(turned, 60, 60);
    for (TBitmap* b : {&plain, &turned}) {
        b->Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
        b->Canvas()->Font()->SetColor(clBlack);
    }
    turned.Canvas()->Font()->SetOrientation(-900);
    plain.Canvas()->TextOut(10, 20, "Label");
    turned.Canvas()->TextOut(40, 10, "Label");
    InkBox a = FindInk(plain, clWhite);
    InkBox b = FindInk(turned, clWhite);
    ASSERT_FALSE(a.Empty());
    // The same glyphs turned a quarter clockwise about the origin: (u, v) -> (x - v - 1, y + u).
    EXPECT_EQ(b.Count, a.Count);
    EXPECT_EQ(b.Top - 10, a.Left - 10);
    EXPECT_EQ(b.Bottom - 10, a.Right - 10);
    EXPECT_EQ(40 - b.Right, a.Top - 20);
    for (int v = 0; v < 13; ++v)
        for (int u = 0; u < 40; ++u)
            ASSERT_EQ(turned.Pixel(40 - v - 1, 10 + u), plain.Pixel(10 + u, 20 + v)) << u << "," << v;
    // Text runs downward: it is taller than wide and lies left of x = 40.
    EXPECT_GT(b.Bottom - b.Top, b.Right - b.Left);
    EXPECT_LE(b.Right, 40);
}

TEST(DrawText, AlignsClipsAndUnderlinesTheHotKey) {
    TBitmap bitmap;
    WhiteBitmap(bitmap, 100, 40);
    TCanvas* c = bitmap.Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Font()->SetColor(clBlack);
    int w = c->TextWidth("File");

    TRect r{0, 0, 100, 40};
    c->DrawText("&File", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    InkBox ink = FindInk(bitmap, clWhite);
    int x = (100 - w) / 2, y = (40 - 13) / 2;
    EXPECT_GE(ink.Left, x - 1);
    EXPECT_LE(ink.Right, x + w + 1);
    EXPECT_GE(ink.Top, y);
    // The underline of F lies on the underline row, under the F only.
    int fw = c->TextWidth("F");
    const TTextMetrics& m = TTextEngine::Instance().Metrics(*c->Font());
    EXPECT_EQ(bitmap.Pixel(x + 1, y + m.UnderlineTop), clBlack);
    EXPECT_EQ(bitmap.Pixel(x + fw + 1, y + m.UnderlineTop), clWhite);

    // "&&" is a literal ampersand and underlines nothing.
    TRect calc{0, 0, 1000, 100};
    c->DrawText("A&&B", calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.Right, c->TextWidth("A&B"));

    // Right alignment and clipping to the rectangle.
    WhiteBitmap(bitmap, 100, 40);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    TRect right{10, 5, 60, 20};
    c->DrawText("Wide text that will not fit", right, DT_SINGLELINE | DT_RIGHT);
    ink = FindInk(bitmap, clWhite);
    EXPECT_GE(ink.Left, 10);
    EXPECT_LE(ink.Right, 60);
}

TEST(DrawText, EndEllipsisShortensToFit) {
    TBitmap bitmap;
    WhiteBitmap(bitmap, 100, 20);
    TCanvas* c = bitmap.Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Font()->SetColor(clBlack);
    TRect r{0, 0, 40, 20};
    c->DrawText("Add or Remove Buttons", r, DT_SINGLELINE | DT_END_ELLIPSIS);
    InkBox ink = FindInk(bitmap, clWhite);
    ASSERT_FALSE(ink.Empty());
    EXPECT_LE(ink.Right, 40);
    // The text ends with the three dots: ink in the last few columns.
    EXPECT_GT(ink.Right, 30);
}

TEST(DrawText, MultipleLinesAndWordBreakMeasureEveryLine) {
    TCanvas c;
    TRect r{0, 0, 1000, 0};
    EXPECT_EQ(c.DrawText("one\ntwo\r\nthree", r, DT_CALCRECT), 39);
    EXPECT_EQ(r.Bottom, 39);
    EXPECT_EQ(r.Right, c.TextWidth("three"));
    TRect narrow{0, 0, c.TextWidth("alpha beta"), 0};
    c.DrawText("alpha beta gamma", narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(narrow.Bottom, 26);
}

TEST(Hotkeys, StrippingAndParsing) {
    EXPECT_EQ(StripHotkey("&File"), "File");
    EXPECT_EQ(StripHotkey("A&&B"), "A&B");
    EXPECT_EQ(StripHotkey("Save &As&"), "Save As");
    TPrefixedText p = ParsePrefixedText("&a&b");
    EXPECT_EQ(p.Text, "ab");
    EXPECT_EQ(p.HotkeyOffset, 1); // the last marker wins
    p = ParsePrefixedText("退&出");
    EXPECT_EQ(p.Text, "退出");
    EXPECT_EQ(p.HotkeyOffset, 3);
    EXPECT_EQ(p.HotkeyLength, 3);
    EXPECT_EQ(ParsePrefixedText("A&&B").HotkeyOffset, -1);
}

TEST(TextOutput, InvalidUtf8IsDrawnWithoutHarm) {
    TBitmap bitmap;
    WhiteBitmap(bitmap, 60, 20);
    std::string bad = "ab\xff\xfe"
                      "c";
    EXPECT_GT(bitmap.Canvas()->TextWidth(bad), 0);
    bitmap.Canvas()->TextOut(0, 0, bad);
    EXPECT_FALSE(FindInk(bitmap, clWhite).Empty());
}

} // namespace
} // namespace emr

namespace emr {
namespace {

// Regression: measuring the hot key could trim the line cache while the line being
// rendered was still in use.
TEST(TextCache, RenderingSurvivesTrimmingTheCaches) {
    TBitmap first, again;
    for (TBitmap* b : {&first, &again}) {
        b->SetSize(80, 20);
        b->Canvas()->Brush()->SetColor(clWhite);
        b->Canvas()->FillRect({0, 0, 80, 20});
        b->Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
        b->Canvas()->Font()->SetColor(clBlack);
    }
    TRect r{0, 0, 80, 20};
    first.Canvas()->DrawText("E&xit now", r, DT_SINGLELINE);
    TCanvas measure;
    for (int i = 0; i < 5000; ++i)
        measure.TextWidth("filler " + std::to_string(i));
    again.Canvas()->Font()->SetStyle(fsBold); // a fresh face and a fresh mask
    again.Canvas()->Font()->SetStyle(0);
    for (int i = 0; i < 4095; ++i)
        measure.TextWidth("more " + std::to_string(i));
    TRect r2{0, 0, 80, 20};
    again.Canvas()->DrawText("E&xit now", r2, DT_SINGLELINE);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(first.Pixel(x, y), again.Pixel(x, y)) << x << "," << y;
}

} // namespace
} // namespace emr

namespace emr {
namespace {

TEST(DrawText, ExpandedTabsMoveToTheNextStop) {
    TCanvas c;
    int stop = 8 * c.TextWidth("x");
    TRect r{0, 0, 1000, 100};
    c.DrawText("ab\tc", r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(r.Right, stop + c.TextWidth("c"));
    r = {0, 0, 1000, 100};
    c.DrawText("\t\tc", r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(r.Right, 2 * stop + c.TextWidth("c"));

    // Drawn text lands at the stop: the ink of "c" starts right of it.
    TBitmap b(200, 20);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect({0, 0, 200, 20});
    b.Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    b.Canvas()->Font()->SetColor(clBlack);
    TRect d{0, 0, 200, 20};
    b.Canvas()->DrawText("\tc", d, DT_SINGLELINE | DT_EXPANDTABS);
    int firstInk = -1;
    for (int x = 0; x < 200 && firstInk < 0; ++x)
        for (int y = 0; y < 20; ++y)
            if (b.Pixel(x, y) != clWhite) {
                firstInk = x;
                break;
            }
    EXPECT_GE(firstInk, stop - 1);
    EXPECT_LE(firstInk, stop + 2);
}

} // namespace
} // namespace emr
