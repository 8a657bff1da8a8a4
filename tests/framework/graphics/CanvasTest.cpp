// Pixel rules of the canvas: shapes, lines, copies and state, checked pixel by pixel
// against the values the rules give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

namespace emr {
namespace {

/// A bitmap filled with one colour.
void Fill(TBitmap& bitmap, int w, int h, TColor color) {
    bitmap.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bitmap.ScanLine(y)[x] = ColorToPixel(color);
}

/// The bitmap as rows of characters, one per pixel, by a colour legend.
std::vector<std::string> Picture(const TBitmap& bitmap, const std::vector<std::pair<TColor, char>>& legend) {
    std::vector<std::string> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) {
            char c = '?';
            for (auto& [color, ch] : legend)
                if (bitmap.Pixel(x, y) == color) c = ch;
            row += c;
        }
        rows.push_back(row);
    }
    return rows;
}

using Rows = std::vector<std::string>;

TEST(CanvasShapes, RectangleFillsAndFramesUpToButNotIncludingTheEnd) {
    TBitmap b;
    Fill(b, 6, 5, clWhite);
    TCanvas* c = b.Canvas();
    c->Pen()->SetColor(clRed);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(0, 0, 4, 3);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clRed, 'R'}, {clBlue, 'B'}}), (Rows{
                                                                             "RRRR..",
                                                                             "RBBR..",
                                                                             "RRRR..",
                                                                             "......",
                                                                             "......",
                                                                         }));

    // Without a pen the fill is one pixel smaller at the right and bottom.
    Fill(b, 6, 5, clWhite);
    c->Pen()->SetStyle(TPenStyle::psClear);
    c->Rectangle(1, 1, 5, 4);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clBlue, 'B'}}), (Rows{
                                                               "......",
                                                               ".BBB..",
                                                               ".BBB..",
                                                               "......",
                                                               "......",
                                                           }));

    // A clear brush leaves the inside alone; FillRect and FrameRect use the brush only.
    Fill(b, 6, 5, clWhite);
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Rectangle(0, 0, 3, 3);
    c->Brush()->SetColor(clLime);
    c->FillRect({4, 0, 6, 2});
    c->FrameRect({3, 2, 6, 5});
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clRed, 'R'}, {clLime, 'G'}}), (Rows{
                                                                             "RRR.GG",
                                                                             "R.R.GG",
                                                                             "RRRGGG",
                                                                             "...G.G",
                                                                             "...GGG",
                                                                         }));
}

TEST(CanvasShapes, WidePensStraddleTheOutline) {
    TBitmap b;
    Fill(b, 9, 9, clWhite);
    TCanvas* c = b.Canvas();
    c->Pen()->SetWidth(3);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(2, 2, 7, 7);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clBlack, 'K'}, {clBlue, 'B'}}), (Rows{
                                                                               ".........",
                                                                               ".KKKKKKK.",
                                                                               ".KKKKKKK.",
                                                                               ".KKKKKKK.",
                                                                               ".KKKBKKK.",
                                                                               ".KKKKKKK.",
                                                                               ".KKKKKKK.",
                                                                               ".KKKKKKK.",
                                                                               ".........",
                                                                           }));
}

TEST(CanvasShapes, EvenPenWidthsGrowUpAndLeft) {
    // A two-pixel frame from (1, 1) to the far edges covers the bitmap's border.
    TBitmap b;
    Fill(b, 7, 6, clWhite);
    TCanvas* c = b.Canvas();
    c->Pen()->SetWidth(2);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(1, 1, 6, 5);
    // A two-pixel line from (6, 1) down to (6, 5): stamps cover columns 5 and 6, rows 0 to 4.
    c->Pen()->SetColor(clRed);
    c->MoveTo(6, 1);
    c->LineTo(6, 5);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clBlack, 'K'}, {clBlue, 'B'}, {clRed, 'R'}}), (Rows{
                                                                                             "KKKKKRR",
                                                                                             "KKKKKRR",
                                                                                             "KKBBKRR",
                                                                                             "KKKKKRR",
                                                                                             "KKKKKRR",
                                                                                             ".......",
                                                                                         }));
}

TEST(CanvasShapes, PlainRectanglesMatchTheGeneralShapePainter) {
    // A rectangle with a one-pixel copying pen takes a shortcut; a round rectangle
    // without rounding is the same shape through the general painter.
    const TRect rects[] = {{2, 2, 9, 7},  {0, 0, 1, 1},     {3, 3, 5, 4},
                           {8, 1, 2, 6},  {-4, -4, 30, 30}, {5, 5, 5, 9},
                           {6, 2, 7, 12}, {1, 10, 14, 11},  {4, -2100000000, 2100000000, 8}};
    const TRect clips[] = {{0, 0, 20, 16}, {3, 2, 7, 9}, {0, 5, 20, 6}};
    for (const TRect& r : rects)
        for (const TRect& clip : clips)
            for (TBrushStyle brush : {TBrushStyle::bsSolid, TBrushStyle::bsClear})
                for (TPenStyle pen : {TPenStyle::psSolid, TPenStyle::psInsideFrame}) {
                    TBitmap fast, general;
                    Fill(fast, 20, 16, clWhite);
                    Fill(general, 20, 16, clWhite);
                    for (TBitmap* b : {&fast, &general}) {
                        TCanvas* c = b->Canvas();
                        c->SetOrigin({1, 2});
                        c->SetClipRect(clip);
                        c->Pen()->SetColor(clRed);
                        c->Pen()->SetStyle(pen);
                        c->Brush()->SetColor(clBlue);
                        c->Brush()->SetStyle(brush);
                    }
                    fast.Canvas()->Rectangle(r);
                    general.Canvas()->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 0, 0);
                    for (int y = 0; y < 16; ++y)
                        for (int x = 0; x < 20; ++x)
                            ASSERT_EQ(fast.Pixel(x, y), general.Pixel(x, y))
                                << x << "," << y << " rect " << r.Left << "," << r.Top << "," << r.Right
                                << "," << r.Bottom << " clip " << clip.Left << "," << clip.Top;
                }
}

TEST(CanvasShapes, RoundRectAndEllipseCorners) {
    TBitmap b;
    Fill(b, 10, 8, clWhite);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clYellow);
    c->RoundRect(0, 0, 10, 8, 6, 6);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clBlack, 'K'}, {clYellow, 'Y'}}), (Rows{
                                                                                 "..KKKKKK..",
                                                                                 ".KYYYYYYK.",
                                                                                 "KYYYYYYYYK",
                                                                                 "KYYYYYYYYK",
                                                                                 "KYYYYYYYYK",
                                                                                 "KYYYYYYYYK",
                                                                                 ".KYYYYYYK.",
                                                                                 "..KKKKKK..",
                                                                             }));

    Fill(b, 6, 6, clWhite);
    c->Ellipse(0, 0, 6, 6);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clBlack, 'K'}, {clYellow, 'Y'}}), (Rows{
                                                                                 "..KK..",
                                                                                 ".KYYK.",
                                                                                 "KYYYYK",
                                                                                 "KYYYYK",
                                                                                 ".KYYK.",
                                                                                 "..KK..",
                                                                             }));
}

TEST(CanvasLines, LineToLeavesItsEndPixel) {
    TBitmap b;
    Fill(b, 6, 6, clWhite);
    TCanvas* c = b.Canvas();
    c->MoveTo(1, 0);
    c->LineTo(5, 0);
    EXPECT_EQ(c->PenPos(), (TPoint{5, 0}));
    c->MoveTo(0, 5);
    c->LineTo(0, 1);
    c->MoveTo(1, 1);
    c->LineTo(4, 4);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clBlack, 'K'}}), (Rows{
                                                                ".KKKK.",
                                                                ".K....",
                                                                "K.K...",
                                                                "K..K..",
                                                                "K.....",
                                                                "K.....",
                                                            }));
}

TEST(CanvasLines, PolylineAndPolygonFollowTheSameRules) {
    TBitmap b;
    Fill(b, 7, 6, clWhite);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clBlue);
    // The outline of a polygon is closed, so every vertex is painted: a 4 x 3 box
    // comes out 5 x 4 with its fill inside.
    TPoint box[] = {{0, 0}, {4, 0}, {4, 3}, {0, 3}};
    c->Polygon(box);
    // A polyline stops short of its last point.
    TPoint hook[] = {{6, 0}, {6, 2}, {5, 2}};
    c->Polyline(hook);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clBlack, 'K'}, {clBlue, 'B'}}), (Rows{
                                                                               "KKKKK.K",
                                                                               "KBBBK.K",
                                                                               "KBBBK.K",
                                                                               "KKKKK..",
                                                                               ".......",
                                                                               ".......",
                                                                           }));
}

TEST(CanvasLines, DottedPenAlternatesAndPenModesCombine) {
    TBitmap b;
    Fill(b, 14, 3, clWhite);
    TCanvas* c = b.Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Pen()->SetStyle(TPenStyle::psDot);
    c->MoveTo(0, 0);
    c->LineTo(14, 0);
    // With a solid brush the gaps take the brush colour.
    c->Brush()->SetColor(clRed);
    c->MoveTo(0, 1);
    c->LineTo(14, 1);
    // XOR twice restores the pixels.
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetMode(TPenMode::pmXor);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(0, 2);
    c->LineTo(3, 2);
    c->MoveTo(0, 2);
    c->LineTo(2, 2);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clBlack, 'K'}, {clRed, 'R'}}), (Rows{
                                                                              "KKK...KKK...KK",
                                                                              "KKKRRRKKKRRRKK",
                                                                              "..K...........",
                                                                          }));
}

TEST(CanvasPixels, ReadWriteAndSystemColours) {
    TBitmap b;
    Fill(b, 3, 3, clWhite);
    TCanvas* c = b.Canvas();
    c->SetPixel(1, 1, RGB(1, 2, 3));
    EXPECT_EQ(c->Pixels(1, 1), RGB(1, 2, 3));
    EXPECT_EQ(b.ScanLine(1)[1], 0x010203u); // 0x00RRGGBB in memory
    EXPECT_EQ(c->Pixels(3, 0), clNone);
    EXPECT_EQ(c->Pixels(-1, 0), clNone);
    c->SetPixel(0, 0, clNone);
    EXPECT_EQ(c->Pixels(0, 0), clWhite);
    c->SetPixel(99, 99, clRed); // outside: ignored

    // System colours resolve through the scheme in force when drawing.
    c->SetPixel(0, 0, clBtnFace);
    EXPECT_EQ(c->Pixels(0, 0), RGB(240, 240, 240));
    TSystemColorScheme dark = TSystemColorScheme::Windows7();
    dark.Colors[clBtnFace & 0xFF] = RGB(10, 20, 30);
    SetSystemColorScheme(dark);
    c->SetPixel(2, 2, clBtnFace);
    ResetSystemColorScheme();
    EXPECT_EQ(c->Pixels(2, 2), RGB(10, 20, 30));
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(240, 240, 240));
}

TEST(CanvasState, OriginAndClipConfineDrawingAndAreRestored) {
    TBitmap b;
    Fill(b, 8, 6, clWhite);
    TCanvas* c = b.Canvas();
    {
        TCanvasState state(*c);
        c->SetOrigin({3, 2});
        c->SetClipRect({0, 0, 3, 2});
        EXPECT_EQ(c->ClipRect(), (TRect{0, 0, 3, 2}));
        c->Brush()->SetColor(clRed);
        c->Pen()->SetColor(clRed);
        c->FillRect({-10, -10, 20, 20});
        EXPECT_EQ(c->Pixels(0, 0), clRed); // logical (0, 0) is device (3, 2)
        c->IntersectClipRect({1, 0, 10, 10});
        EXPECT_EQ(c->ClipRect(), (TRect{1, 0, 3, 2}));
    }
    EXPECT_EQ(c->Origin(), (TPoint{0, 0}));
    EXPECT_EQ(c->ClipRect(), (TRect{0, 0, 8, 6}));
    EXPECT_EQ(c->Brush()->Color(), clWhite);
    EXPECT_EQ(c->Pen()->Color(), clBlack);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clRed, 'R'}}), (Rows{
                                                              "........",
                                                              "........",
                                                              "...RRR..",
                                                              "...RRR..",
                                                              "........",
                                                              "........",
                                                          }));
    // A clip set in logical coordinates never reaches past the buffer.
    c->SetClipRect({-5, -5, 100, 100});
    EXPECT_EQ(c->ClipRect(), (TRect{0, 0, 8, 6}));
}

TEST(CanvasCopies, TransparentDrawKeepsTheDestinationUnderTheTransparentColour) {
    TBitmap glyph;
    Fill(glyph, 3, 2, clFuchsia);
    glyph.ScanLine(0)[1] = ColorToPixel(clRed);
    glyph.ScanLine(1)[2] = ColorToPixel(clBlue);
    TBitmap b;
    Fill(b, 4, 3, clGreen);

    b.Canvas()->Draw(1, 1, &glyph); // opaque: every pixel copied
    EXPECT_EQ(b.Pixel(1, 1), clFuchsia);

    Fill(b, 4, 3, clGreen);
    glyph.SetTransparent(true); // automatic: the bottom-left pixel's colour
    EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
    b.Canvas()->Draw(1, 1, &glyph);
    EXPECT_EQ(Picture(b, {{clGreen, '.'}, {clRed, 'R'}, {clBlue, 'B'}, {clFuchsia, 'F'}}), (Rows{
                                                                                               "....",
                                                                                               "..R.",
                                                                                               "...B",
                                                                                           }));
    // A fixed transparent colour.
    Fill(b, 4, 3, clGreen);
    glyph.SetTransparentColor(clRed);
    b.Canvas()->Draw(0, 0, &glyph);
    EXPECT_EQ(Picture(b, {{clGreen, '.'}, {clRed, 'R'}, {clBlue, 'B'}, {clFuchsia, 'F'}}), (Rows{
                                                                                               "F.F.",
                                                                                               "FFB.",
                                                                                               "....",
                                                                                           }));
}

TEST(CanvasCopies, BrushCopyAndSourceInvertBuildAGreySilhouette) {
    // The shadow recipe: brush-copy with black for the transparent colour, XOR the
    // source over it, then brush-copy black to grey.
    TBitmap source;
    Fill(source, 3, 2, clFuchsia);
    source.ScanLine(0)[0] = ColorToPixel(clRed);
    source.ScanLine(0)[2] = ColorToPixel(clBlack);
    TColor key = source.Pixel(0, source.Height() - 1);
    TRect q{0, 0, 3, 2};

    TBitmap shadow(3, 2);
    TCanvas* s = shadow.Canvas();
    s->Brush()->SetColor(clBlack);
    s->BrushCopy(q, &source, q, key);
    EXPECT_EQ(shadow.Pixel(0, 0), clRed);
    EXPECT_EQ(shadow.Pixel(1, 0), clBlack);
    s->SetCopyMode(SRCINVERT);
    s->CopyRect(q, source.Canvas(), q);
    EXPECT_EQ(shadow.Pixel(0, 0), clBlack);   // opaque: p ^ p
    EXPECT_EQ(shadow.Pixel(2, 0), clBlack);   // opaque black stays black
    EXPECT_EQ(shadow.Pixel(1, 1), clFuchsia); // transparent: 0 ^ key

    TBitmap grey(3, 2);
    grey.Canvas()->Brush()->SetColor(0x808080);
    grey.Canvas()->BrushCopy(q, &shadow, q, clBlack);
    s->SetCopyMode(SRCCOPY);
    s->CopyRect(q, grey.Canvas(), q);
    EXPECT_EQ(Picture(shadow, {{clGray, 'g'}, {clFuchsia, 'F'}}), (Rows{"gFg", "FFF"}));
}

TEST(CanvasCopies, CopyModesStretchingAndOverlap) {
    TBitmap a, b;
    Fill(a, 2, 1, RGB(0x0F, 0xF0, 0x33));
    Fill(b, 2, 1, RGB(0xFF, 0x0F, 0x30));
    TRect r{0, 0, 2, 1};
    b.Canvas()->SetCopyMode(SRCAND);
    b.Canvas()->CopyRect(r, a.Canvas(), r);
    EXPECT_EQ(b.Pixel(0, 0), RGB(0x0F, 0x00, 0x30));
    b.Canvas()->SetCopyMode(SRCPAINT);
    b.Canvas()->CopyRect(r, a.Canvas(), r);
    EXPECT_EQ(b.Pixel(0, 0), RGB(0x0F, 0xF0, 0x33));
    b.Canvas()->SetCopyMode(cmNotSrcCopy);
    b.Canvas()->CopyRect(r, a.Canvas(), r);
    EXPECT_EQ(b.Pixel(1, 0), RGB(0xF0, 0x0F, 0xCC));
    b.Canvas()->SetCopyMode(cmWhiteness);
    b.Canvas()->CopyRect(r, a.Canvas(), r);
    EXPECT_EQ(b.Pixel(1, 0), clWhite);

    // Doubling by nearest pixel.
    TBitmap src;
    Fill(src, 2, 1, clRed);
    src.ScanLine(0)[1] = ColorToPixel(clBlue);
    TBitmap big;
    Fill(big, 4, 2, clWhite);
    big.Canvas()->StretchDraw({0, 0, 4, 2}, &src);
    EXPECT_EQ(Picture(big, {{clRed, 'R'}, {clBlue, 'B'}}), (Rows{"RRBB", "RRBB"}));

    // Copying a canvas onto itself with overlap reads the source before writing.
    TBitmap row;
    Fill(row, 4, 1, clWhite);
    row.ScanLine(0)[0] = ColorToPixel(clRed);
    row.ScanLine(0)[1] = ColorToPixel(clBlue);
    row.Canvas()->CopyRect({1, 0, 3, 1}, row.Canvas(), {0, 0, 2, 1});
    EXPECT_EQ(Picture(row, {{clRed, 'R'}, {clBlue, 'B'}, {clWhite, '.'}}), (Rows{"RRB."}));
}

TEST(CanvasMisc, FocusRectInvertsTwiceToNothingAndBitmapsHearTheirCanvas) {
    TBitmap b;
    Fill(b, 5, 4, clWhite);
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.Canvas()->DrawFocusRect({0, 0, 5, 4});
    EXPECT_EQ(b.Pixel(0, 0), clBlack);
    EXPECT_EQ(b.Pixel(1, 0), clWhite);
    EXPECT_EQ(b.Pixel(2, 2), clWhite); // inside untouched
    b.Canvas()->DrawFocusRect({0, 0, 5, 4});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(b.Pixel(x, y), clWhite);
    EXPECT_EQ(changes, 2);

    // A canvas without a surface measures but draws nothing.
    TCanvas none;
    none.Rectangle(0, 0, 10, 10);
    none.TextOut(0, 0, "x");
    EXPECT_EQ(none.Pixels(0, 0), clNone);
    EXPECT_GT(none.TextWidth("x"), 0);
}

} // namespace
} // namespace emr

namespace emr {
namespace {

// Regression: a line or shape reaching far outside the bitmap walked every one of its
// points (or overflowed); only the part inside the clip is visited now.
TEST(CanvasLines, FarAwayEndpointsAreClippedNotWalked) {
    TBitmap b;
    Fill(b, 6, 6, clWhite);
    TCanvas* c = b.Canvas();
    c->MoveTo(-2000000000, 2);
    c->LineTo(2000000000, 2);
    c->MoveTo(0, 0);
    c->LineTo(2000000000, 2000000000);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(4, -2100000000, 2100000000, 2100000000); // drawn over the lines
    TPoint far[] = {{-2000000000, 5}, {2000000000, 5}, {0, 2000000000}};
    c->Polygon(far);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clBlack, 'K'}, {clBlue, 'B'}}), (Rows{
                                                                               "K...KB",
                                                                               ".K..KB",
                                                                               "KKKKKB",
                                                                               "...KKB",
                                                                               "....KB",
                                                                               "KKKKKK",
                                                                           }));
    // A dashed line keeps its pattern when its start lies far to the left.
    Fill(b, 6, 1, clWhite);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Pen()->SetStyle(TPenStyle::psDot);
    c->MoveTo(-600, 0); // 600 = 100 whole dot periods
    c->LineTo(6, 0);
    EXPECT_EQ(Picture(b, {{clWhite, '.'}, {clBlack, 'K'}}), (Rows{"KKK..."}));
}

} // namespace
} // namespace emr
