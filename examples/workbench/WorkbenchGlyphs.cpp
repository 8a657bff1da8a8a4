#include "WorkbenchGlyphs.h"

#include <initializer_list>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/ImageList.h"

namespace emr {

namespace {

constexpr TColor kGround = clFuchsia;
constexpr TColor kInk = RGB(40, 40, 40);
constexpr TColor kPaper = RGB(255, 255, 255);
constexpr TColor kFolder = RGB(240, 200, 80);
constexpr TColor kFolderEdge = RGB(160, 120, 20);
constexpr TColor kBlue = RGB(40, 90, 190);
constexpr TColor kLightBlue = RGB(150, 190, 240);
constexpr TColor kGreen = RGB(30, 140, 60);
constexpr TColor kRed = RGB(200, 40, 40);
constexpr TColor kGrey = RGB(128, 128, 128);
constexpr TColor kSilver = RGB(200, 200, 200);
constexpr TColor kWood = RGB(180, 120, 60);

/// A 16 x 16 canvas with the few strokes the glyphs are made of.
class TGlyphPainter {
public:
    TGlyphPainter() : bitmap_(16, 16), c_(bitmap_.Canvas()) {
        c_->Brush()->SetColor(kGround);
        c_->FillRect({0, 0, 16, 16});
    }

    const TBitmap* Bitmap() const { return &bitmap_; }

    void Fill(int l, int t, int r, int b, TColor colour) {
        c_->Brush()->SetStyle(TBrushStyle::bsSolid);
        c_->Brush()->SetColor(colour);
        c_->FillRect({l, t, r, b});
    }
    /// A filled rectangle with a one-pixel edge; (r, b) exclusive.
    void Box(int l, int t, int r, int b, TColor face, TColor edge) {
        Fill(l, t, r, b, edge);
        Fill(l + 1, t + 1, r - 1, b - 1, face);
    }
    /// A line that includes both ends.
    void Line(int x0, int y0, int x1, int y1, TColor colour, int width = 1) {
        c_->Pen()->SetColor(colour);
        c_->Pen()->SetWidth(width);
        c_->MoveTo(x0, y0);
        c_->LineTo(x1, y1);
        c_->SetPixel(x1, y1, colour);
        c_->Pen()->SetWidth(1);
    }
    void Shape(std::initializer_list<TPoint> points, TColor face, TColor edge) {
        const std::vector<TPoint> corners(points);
        c_->Brush()->SetStyle(TBrushStyle::bsSolid);
        c_->Brush()->SetColor(face);
        c_->Pen()->SetColor(edge);
        c_->Polygon(corners);
    }
    void Ring(int l, int t, int r, int b, TColor face, TColor edge) {
        c_->Brush()->SetStyle(TBrushStyle::bsSolid);
        c_->Brush()->SetColor(face);
        c_->Pen()->SetColor(edge);
        c_->Ellipse(l, t, r, b);
    }
    /// A letter centred in the square.
    void Letter(const char* text, TFontStyles style, TColor colour) {
        c_->Brush()->SetStyle(TBrushStyle::bsClear);
        c_->Font()->SetName("Tahoma");
        c_->Font()->SetHeight(-14);
        c_->Font()->SetStyle(style);
        c_->Font()->SetColor(colour);
        const TSize size = c_->TextExtent(text);
        c_->TextOut((16 - size.Width) / 2, (16 - size.Height) / 2, text);
    }
    /// A page with its top-right corner folded.
    void Page(int l, int t, int r, int b) {
        Shape({{l, t}, {r - 5, t}, {r - 1, t + 4}, {r - 1, b - 1}, {l, b - 1}}, kPaper, kInk);
        Line(r - 5, t, r - 5, t + 4, kInk);
        Line(r - 5, t + 4, r - 1, t + 4, kInk);
    }
    /// Lines of text, every other one shortened at its left or right end.
    void Lines(int l, int r, int top, int count, int step, TColor colour, int shortLeft = 0,
               int shortRight = 0) {
        for (int i = 0; i < count; ++i) {
            const bool odd = i % 2 == 1;
            Line(l + (odd ? shortLeft : 0), top + i * step, r - (odd ? shortRight : 0), top + i * step,
                 colour);
        }
    }
    /// A solid triangle pointing left (direction -1) or right (+1) with its tip at x.
    void Arrowhead(int tipX, int midY, int direction, int size, TColor colour) {
        const int back = tipX - direction * size;
        Shape({{tipX, midY}, {back, midY - size}, {back, midY + size}}, colour, colour);
    }

private:
    TBitmap bitmap_;
    TCanvas* c_;
};

void Draw(TGlyphPainter& g, TWorkbenchGlyph glyph) {
    switch (glyph) {
    case wgNew:
        g.Page(3, 1, 14, 15);
        break;
    case wgOpen:
        g.Shape({{1, 3}, {6, 3}, {7, 5}, {13, 5}, {13, 13}, {1, 13}}, kFolder, kFolderEdge);
        g.Shape({{3, 8}, {15, 8}, {13, 13}, {1, 13}}, RGB(250, 225, 130), kFolderEdge);
        break;
    case wgSave:
        g.Box(1, 1, 15, 15, kBlue, RGB(20, 50, 120));
        g.Fill(4, 2, 12, 7, kPaper);
        g.Fill(4, 10, 12, 15, kSilver);
        g.Fill(9, 11, 11, 14, RGB(20, 50, 120));
        break;
    case wgPrint:
        g.Box(4, 1, 12, 7, kPaper, kInk);
        g.Box(1, 6, 15, 12, kSilver, kInk);
        g.Box(4, 10, 12, 15, kPaper, kInk);
        g.Fill(12, 8, 14, 9, kGreen);
        break;
    case wgPreview:
        g.Page(1, 1, 12, 15);
        g.Ring(6, 6, 13, 13, kLightBlue, kInk);
        g.Line(12, 12, 14, 14, kInk, 2);
        break;
    case wgUndo:
    case wgRedo: {
        const bool undo = glyph == wgUndo;
        auto x = [undo](int v) { return undo ? v : 15 - v; };
        g.Line(x(4), 6, x(10), 6, kBlue, 2);
        g.Line(x(10), 6, x(13), 9, kBlue, 2);
        g.Line(x(13), 9, x(12), 13, kBlue, 2);
        g.Arrowhead(x(1), 6, undo ? 1 : -1, 4, kBlue);
        break;
    }
    case wgFind:
        g.Ring(1, 1, 11, 11, kLightBlue, kInk);
        g.Line(9, 9, 14, 14, kWood, 3);
        break;
    case wgHelp:
        g.Ring(0, 0, 16, 16, kBlue, RGB(20, 50, 120));
        g.Letter("?", fsBold, kPaper);
        break;
    case wgCut:
        g.Line(5, 1, 10, 10, kGrey, 2);
        g.Line(10, 1, 5, 10, kGrey, 2);
        g.Ring(1, 9, 7, 15, kPaper, kRed);
        g.Ring(8, 9, 14, 15, kPaper, kRed);
        break;
    case wgCopy:
        g.Page(1, 1, 10, 12);
        g.Page(6, 4, 15, 15);
        g.Lines(8, 12, 9, 3, 2, kGrey);
        break;
    case wgPaste:
        g.Box(1, 2, 12, 15, kWood, RGB(110, 70, 30));
        g.Box(4, 1, 9, 4, kSilver, kInk);
        g.Page(6, 6, 15, 15);
        break;
    case wgBold:
        g.Letter("B", fsBold, kInk);
        break;
    case wgItalic:
        g.Letter("I", fsBold | fsItalic, kInk);
        break;
    case wgUnderline:
        g.Letter("U", 0, kInk);
        g.Line(3, 14, 12, 14, kInk);
        break;
    case wgAlignLeft:
        g.Lines(2, 13, 3, 5, 2, kInk, 0, 4);
        break;
    case wgAlignCenter:
        g.Lines(2, 13, 3, 5, 2, kInk, 2, 2);
        break;
    case wgAlignRight:
        g.Lines(2, 13, 3, 5, 2, kInk, 4, 0);
        break;
    case wgPointer:
        g.Shape({{4, 1}, {4, 13}, {7, 10}, {9, 15}, {11, 14}, {9, 9}, {13, 9}}, kPaper, kInk);
        break;
    case wgPencil:
        g.Shape({{11, 1}, {14, 4}, {5, 13}, {2, 14}, {3, 10}}, kFolder, kInk);
        g.Line(3, 10, 5, 13, kInk);
        break;
    case wgBrush:
        g.Line(13, 1, 7, 8, kWood, 2);
        g.Shape({{6, 7}, {9, 10}, {6, 14}, {1, 15}, {3, 10}}, kRed, RGB(120, 20, 20));
        break;
    case wgEraser:
        g.Shape({{8, 2}, {14, 8}, {8, 14}, {2, 8}}, RGB(240, 150, 170), kInk);
        g.Shape({{2, 8}, {5, 5}, {11, 11}, {8, 14}}, kLightBlue, kInk);
        break;
    case wgFirst:
        g.Fill(3, 3, 5, 13, kGreen);
        g.Arrowhead(5, 8, -1, 5, kGreen);
        break;
    case wgPrevious:
        g.Arrowhead(4, 8, -1, 6, kGreen);
        break;
    case wgNext:
        g.Arrowhead(11, 8, 1, 6, kGreen);
        break;
    case wgLast:
        g.Fill(11, 3, 13, 13, kGreen);
        g.Arrowhead(10, 8, 1, 5, kGreen);
        break;
    case wgColour:
        g.Box(1, 1, 8, 8, kRed, kInk);
        g.Box(8, 1, 15, 8, kGreen, kInk);
        g.Box(1, 8, 8, 15, kBlue, kInk);
        g.Box(8, 8, 15, 15, kFolder, kInk);
        break;
    case wgCount:
        break;
    }
}

} // namespace

void AddWorkbenchGlyphs(TCustomImageList* images) {
    for (int i = 0; i < wgCount; ++i) {
        TGlyphPainter painter;
        Draw(painter, static_cast<TWorkbenchGlyph>(i));
        images->AddMasked(painter.Bitmap(), kGround);
    }
}

} // namespace emr
