#pragma once

#include <string_view>

#include "framework/core/Geometry.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/VectorGraphics.h"
#include "styling/StylingTypes.h"

namespace emr {

/// Paints `rect` as `steps` solid bands from `fromColor` towards `toColor`, left to
/// right when `horizontal`, else top to bottom. Bands overlap by one pixel; the last
/// one stops one increment short of `toColor`. A step count of 0 counts as 1.
/// Leaves the canvas pen and brush in the last band's colour. Allocates nothing.
void DrawGradient(TCanvas& canvas, TColor fromColor, TColor toColor, int steps, const TRect& rect,
                  bool horizontal);

/// Mixes `percent` of `color1` with the rest of `color2`. At 100 or more returns
/// color1 untouched, at 0 or less color2 untouched (neither resolved to RGB).
TColor BlendColor(TColor color1, TColor color2, int percent);

/// The opaque ARGB form of a colour (system colours resolved first).
TARGB ColorToARGB(TColor color);

/// Two vertical 40-step gradients sharing the row Top + split, then, unless
/// `borderColor` is clNone, an anti-aliased frame (rounded when radius > 0).
void DrawVistaGradient(TCanvas& canvas, const TRect& rect, int split, TColor topFrom, TColor topTo,
                       TColor bottomFrom, TColor bottomTo, TColor borderColor, int radius);

/// Strokes the closed rectangle (x, y)..(x + width, y + height).
void DrawRectanglePath(TVectorGraphics& graphics, const TVectorPen& pen, int x, int y, int width, int height);

/// Strokes the closed rectangle (x, y)..(x + width, y + height) with corners of `radius`.
void DrawRoundRectPath(TVectorGraphics& graphics, const TVectorPen& pen, int x, int y, int width, int height,
                       int radius);

/// A two-pixel relief bar from p1 to p2: white along its top and left edges and
/// shadow along its bottom and right edges when raised, the other way round when
/// sunk. Vertical bars run from the lower end p1 to the upper end p2, horizontal
/// ones from the left end p1 to the right end p2. Allocates nothing.
void Draw3DGripLine(TCanvas& canvas, TPoint p1, TPoint p2, bool raised, bool vertical);

/// Writes a caption with the canvas's (already rotated, downward) font at `origin`
/// without its '&' markers, and underlines the accelerator character.
void TextOutVertical(TCanvas& canvas, std::string_view text, TPoint origin);

/// Paints a two-part glow face: each half filled solid in its from-colour, then
/// overlaid with its gradient of the given kind, then framed in `borderColor`
/// (anti-aliased, corners of radius 3 when `rounded`; no frame for clNone).
void DrawGlowFace(TCanvas& canvas, const TRect& rect, TColor upperFrom, TColor upperTo,
                  TGDIPGradient upperKind, TColor lowerFrom, TColor lowerTo, TGDIPGradient lowerKind,
                  TColor borderColor, bool rounded);

} // namespace emr
