#pragma once

#include "framework/core/Geometry.h"

namespace emr {

class TCanvas;
class TControl;

/// Paints a control tree into a window's back buffer: each visible control in
/// z-order with the canvas origin at its top-left corner and the clip narrowed to
/// its bounds, its parent's and the area being repainted.
class TPaintEngine {
public:
    /// Paints `root` with its top-left at `origin` (buffer coordinates), inside `clip`
    /// (buffer coordinates).
    static void PaintTree(TControl* root, TCanvas& canvas, TPoint origin, const TRect& clip);

    /// Points `target` at the same buffer, origin and clip as `source`, with the
    /// control's font and colour, for the duration of a Paint call.
    static void ShareSurface(TCanvas& target, const TCanvas& source);
    static void ReleaseSurface(TCanvas& target);
};

} // namespace emr
