#pragma once

#include "framework/core/Geometry.h"
#include "framework/graphics/Color.h"

namespace emr {

class TCanvas;

/// Draws `width` nested one-pixel frames inside `rect`: the top and left edges in
/// `topColor`, the bottom and right edges in `bottomColor` (which also takes the
/// top-right and bottom-left corner pixels). Shrinks `rect` by `width` on every side.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

} // namespace emr
