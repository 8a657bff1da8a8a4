#pragma once

#include "framework/graphics/Color.h"

#include "framework/core/Geometry.h"

namespace emr {

class TCanvas;
class TControl;

/// Paints a control tree into a window's back buffer: each visible control in
/// z-order with the canvas origin at its top-left corner and the clip narrowed to
/// its bounds, its parent's and the area being repainted.
class TWinControl;

class TPaintEngine {
public:
    /// Paints `root` with its top-left at `origin` (buffer coordinates), inside `clip`
    /// (buffer coordinates).
    static void PaintTree(TControl* root, TCanvas& canvas, TPoint origin, const TRect& clip);
    /// Lets every visible control of the tree that lies in `clip` bring its layout up
    /// to date (BeforePaint), parents before children, before the tree is painted.
    static void PrepareTree(TControl* root, TPoint origin, const TRect& clip);

    /// Points `target` at the same buffer, origin and clip as `source`, with the
    /// control's font and colour, for the duration of a Paint call.
    static void ShareSurface(TCanvas& target, const TCanvas& source);
    static void ReleaseSurface(TCanvas& target);
    /// Fills the control's client area with `color`, leaving out what its visible
    /// opaque children cover (they paint every pixel of themselves anyway).
    static void EraseBackground(const TWinControl& control, TCanvas& canvas, TColor color);
};

} // namespace emr
