// Renders one toolbar-like swatch per office styler preset into one PNG sheet,
// so that the looks can be compared side by side:
//   stylersheet [output.png]      (default: stylersheet.png)
#include <cstdio>
#include <string>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "styling/GradientPainting.h"

namespace emr {
namespace {

constexpr int kSwatchWidth = 420;
constexpr int kSwatchHeight = 96;
constexpr int kColumns = 2;

const char* const kNames[] = {
    "bsOffice2003Blue",  "bsOffice2003Silver",   "bsOffice2003Olive", "bsOffice2003Classic",
    "bsOffice2007Luna",  "bsOffice2007Obsidian", "bsWindowsXP",       "bsWhidbeyStyle",
    "bsCustom",          "bsOffice2007Silver",   "bsOfficeXP",        "bsWindowsVista",
    "bsWindows7",        "bsTerminal",           "bsOffice2010Blue",  "bsOffice2010Silver",
    "bsOffice2010Black",
};

// A gradient face, or a solid one when the end colour is clNone.
void Face(TCanvas& c, TColor from, TColor to, int steps, const TRect& r, bool horizontal) {
    if (from == clNone) return;
    if (to == clNone) to = from;
    DrawGradient(c, from, to, steps, r, horizontal);
}

void Frame(TCanvas& c, const TRect& r, TColor color) {
    if (color == clNone) return;
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.Pen()->SetColor(color);
    c.Rectangle(r);
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
}

void Text(TCanvas& c, int x, int y, const std::string& text, TColor color) {
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.Font()->SetColor(color);
    c.TextOut(x, y, text);
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
}

void Swatch(TCanvas& c, const TAdvToolBarOfficeStyler& s, const char* name, int left, int top) {
    const TRect area = TRect::FromBounds(left, top, kSwatchWidth, kSwatchHeight);
    const TGradientBackground* dock = s.DockColor();
    Face(c, dock->Color(), dock->ColorTo(), dock->Steps(), area, dock->Direction() == gdHorizontal);
    c.Font()->SetName("Segoe UI");
    c.Font()->SetHeight(-11);
    Text(c, left + 6, top + 4, name, clBlack);

    // Caption bar of a floating toolbar.
    const TCaptionAppearance* cap = s.CaptionAppearance();
    const TRect caption = TRect::FromBounds(left + 6, top + 22, 170, 16);
    Face(c, cap->CaptionColor(), cap->CaptionColorTo(), 80, caption, false);
    Frame(c, caption, cap->CaptionBorderColor());
    Text(c, caption.Left + 3, caption.Top + 1, "Caption", cap->CaptionTextColor());
    const TRect captionHot = TRect::FromBounds(left + 180, top + 22, 120, 16);
    Face(c, cap->CaptionColorHot(), cap->CaptionColorHotTo(), 80, captionHot, false);
    Frame(c, captionHot, cap->CaptionBorderColorHot());
    Text(c, captionHot.Left + 3, captionHot.Top + 1, "Hot caption", cap->CaptionTextColorHot());

    // Docked toolbar: background, border, grip, three button faces, right handle.
    const TRect bar = TRect::FromBounds(left + 6, top + 44, 300, 44);
    const TVistaGradientBackground* color = s.Color();
    Face(c, color->Color(), color->ColorTo(), color->Steps(), bar, color->Direction() == gdHorizontal);
    const TRect handle{bar.Right - 12, bar.Top, bar.Right, bar.Bottom};
    Face(c, s.RightHandleColor(), s.RightHandleColorTo(), 16, handle, false);
    Frame(c, bar, s.BorderColor());
    if (s.DragGripStyle() == dsSingleLine)
        Draw3DGripLine(c, {bar.Left + 5, bar.Bottom - 5}, {bar.Left + 5, bar.Top + 4}, true, true);
    else if (s.DragGripStyle() != dsNone)
        for (int y = bar.Top + 6; y < bar.Bottom - 6; y += 4) {
            c.SetPixel(bar.Left + 4, y, clWhite);
            c.SetPixel(bar.Left + 3, y - 1,
                       s.RightHandleColorTo() == clNone ? clGray : s.RightHandleColorTo());
        }

    const TButtonAppearance* b = s.ButtonAppearance();
    struct State {
        const char* label;
        TColor from, to, border, text;
    } states[] = {
        {"Normal", b->Color(), b->ColorTo(), b->BorderColor(), b->CaptionTextColor()},
        {"Hot", b->ColorHot(), b->ColorHotTo(), b->BorderHotColor(), b->CaptionTextColorHot()},
        {"Down", b->ColorDown(), b->ColorDownTo(), b->BorderDownColor(), b->CaptionTextColorDown()},
        {"Checked", b->ColorChecked(), b->ColorCheckedTo(), b->BorderCheckedColor(),
         b->CaptionTextColorChecked()},
    };
    int x = bar.Left + 12;
    for (const State& st : states) {
        const TRect face = TRect::FromBounds(x, bar.Top + 4, 60, bar.Height() - 8);
        Face(c, st.from, st.to, 40, face, b->GradientDirection() == gdHorizontal);
        Frame(c, face, st.border);
        Text(c, face.Left + 6, face.Top + 12, st.label, st.text);
        x += 66;
    }

    // Hot option indicator: a glow face from the glow-button colours.
    const TGlowButtonAppearance* g = s.GlowButtonAppearance();
    const TRect glow = TRect::FromBounds(left + 316, top + 44, 40, 44);
    DrawGlowFace(c, glow, g->ColorHot(), g->ColorHotTo(), g->GradientHot(), g->ColorMirrorHot(),
                 g->ColorMirrorHotTo(), g->GradientMirrorHot(), g->BorderColorHot(), true);
    const TRect down = TRect::FromBounds(left + 364, top + 44, 40, 44);
    DrawGlowFace(c, down, g->ColorDown(), g->ColorDownTo(), g->GradientDown(), g->ColorMirrorDown(),
                 g->ColorMirrorDownTo(), g->GradientMirrorDown(), g->BorderColorDown(), true);

    // The floating-window border colour as a frame round the whole swatch.
    Frame(c, area, s.FloatingWindowBorderColor());
}

} // namespace
} // namespace emr

int main(int argc, char** argv) {
    using namespace emr;
    const std::string output = argc > 1 ? argv[1] : "stylersheet.png";
    const int rows = (kToolBarStyleCount + kColumns - 1) / kColumns;
    TBitmap sheet(kColumns * (kSwatchWidth + 8) + 8, rows * (kSwatchHeight + 8) + 8);
    TCanvas& c = *sheet.Canvas();
    c.Brush()->SetColor(clWhite);
    c.FillRect({0, 0, sheet.Width(), sheet.Height()});

    TComponent owner(nullptr);
    for (int v = 0; v < kToolBarStyleCount; ++v) {
        // A fresh styler per look, so that a preset's kept values show the construction values.
        auto* styler = new TAdvToolBarOfficeStyler(&owner);
        styler->SetStyle(static_cast<TToolBarStyle>(v));
        Swatch(c, *styler, kNames[v], 8 + (v % kColumns) * (kSwatchWidth + 8),
               8 + (v / kColumns) * (kSwatchHeight + 8));
        TObject::Free(styler);
    }
    sheet.SavePng(output);
    std::printf("%s\n", output.c_str());
    return 0;
}
