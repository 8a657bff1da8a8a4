#include "framework/forms/Frame3D.h"

#include "framework/graphics/Canvas.h"

namespace emr {

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    TCanvasState saved(canvas);
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    for (int i = 0; i < width && !rect.Empty(); ++i) {
        const TRect r = rect;
        canvas.Brush()->SetColor(topColor);
        canvas.FillRect({r.Left, r.Top, r.Right - 1, r.Top + 1});   // top, without the top-right pixel
        canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom - 1}); // left, without the bottom-left pixel
        canvas.Brush()->SetColor(bottomColor);
        canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});   // right
        canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}); // bottom
        rect = r.Inflate(-1, -1);
    }
}

} // namespace emr
