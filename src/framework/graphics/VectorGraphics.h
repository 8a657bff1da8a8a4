#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/core/Geometry.h"
#include "framework/graphics/Color.h"

namespace emr {

class TCanvas;

/// A colour with alpha: alpha in bits 24..31, red 16..23, green 8..15, blue 0..7.
using TARGB = std::uint32_t;

constexpr TARGB MakeARGB(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (TARGB{a} << 24) | (TARGB{r} << 16) | (TARGB{g} << 8) | TARGB{b};
}

struct TPointF {
    float X = 0;
    float Y = 0;
};

struct TRectF {
    float X = 0;
    float Y = 0;
    float Width = 0;
    float Height = 0;
};

/// Numbered as the vector library of the original platform numbers them.
enum class TSmoothingMode { Default = 0, HighSpeed = 1, HighQuality = 2, None = 3, AntiAlias = 4 };

enum class TLinearGradientMode { Horizontal = 0, Vertical = 1, ForwardDiagonal = 2, BackwardDiagonal = 3 };

/// A stroke colour and width.
class TVectorPen {
public:
    explicit TVectorPen(TARGB color, float width = 1.0f) : color_(color), width_(width) {}
    TARGB Color() const { return color_; }
    void SetColor(TARGB color) { color_ = color; }
    float Width() const { return width_; }
    void SetWidth(float width) { width_ = width; }

private:
    TARGB color_;
    float width_;
};

/// A path of figures made of lines, elliptical arcs, ellipses and rectangles.
/// Consecutive pieces of one figure are joined by a straight line.
class TVectorPath {
public:
    void AddLine(float x1, float y1, float x2, float y2);
    /// An arc of the ellipse in the box, from `startAngle` sweeping `sweepAngle`
    /// degrees (clockwise on screen for positive sweeps).
    void AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
    /// A closed ellipse figure of its own.
    void AddEllipse(float x, float y, float width, float height);
    /// A closed rectangle figure of its own.
    void AddRectangle(float x, float y, float width, float height);
    /// Closes the current figure; the next piece starts a new one.
    void CloseFigure();
    /// Starts a new figure without closing the current one.
    void StartFigure();

    bool Empty() const { return ops_.empty(); }
    /// The box holding every point of the path (arcs by their ellipse's box).
    TRectF Bounds() const;
    /// The number of points the path would have as lines and cubic curves.
    int PointCount() const;

    /// One recorded piece. Line: (A, B) to (C, D). Arc: box A, B, C, D, start E,
    /// sweep F. Ellipse and Rectangle: box A, B, C, D. Close and Start: nothing.
    enum class Op { Line, Arc, Ellipse, Rectangle, Close, Start };
    struct Piece {
        Op Kind;
        float A, B, C, D, E, F;
    };
    /// The pieces in the order they were added, for the drawing surface to replay.
    const std::vector<Piece>& Pieces() const { return ops_; }

private:
    std::vector<Piece> ops_;
};

/// Base of the fills. The drawing surface reads a brush through its kind and
/// accessors; brushes hold no drawing-library objects.
class TVectorBrush {
public:
    enum class TKind { Solid, LinearGradient, PathGradient };
    virtual ~TVectorBrush() = default;
    virtual TKind Kind() const = 0;
};

class TVectorSolidBrush : public TVectorBrush {
public:
    explicit TVectorSolidBrush(TARGB color) : color_(color) {}
    TARGB Color() const { return color_; }
    TKind Kind() const override { return TKind::Solid; }

private:
    TARGB color_;
};

/// A two-colour linear gradient over a box that repeats (tiles) outside it.
/// Horizontal runs left to right, vertical top to bottom, forward diagonal from the
/// top-left to the bottom-right corner, backward diagonal from top-right to bottom-left.
class TVectorLinearGradientBrush : public TVectorBrush {
public:
    TVectorLinearGradientBrush(const TRectF& box, TARGB color1, TARGB color2, TLinearGradientMode mode)
        : box_(box), color1_(color1), color2_(color2), mode_(mode) {}
    TKind Kind() const override { return TKind::LinearGradient; }
    const TRectF& Box() const { return box_; }
    TARGB Color1() const { return color1_; }
    TARGB Color2() const { return color2_; }
    TLinearGradientMode Mode() const { return mode_; }

private:
    TRectF box_;
    TARGB color1_;
    TARGB color2_;
    TLinearGradientMode mode_;
};

/// A gradient over the inside of a path: the centre colour at the centre point,
/// the surround colour on the path's boundary, blended linearly along each ray from
/// the centre. Outside the path it paints nothing. Made for elliptical paths.
class TVectorPathGradientBrush : public TVectorBrush {
public:
    explicit TVectorPathGradientBrush(const TVectorPath& path);
    int PointCount() const { return pointCount_; }
    void SetCenterColor(TARGB color) { centerColor_ = color; }
    void SetCenterPoint(TPointF point) { center_ = point; }
    /// Colours of the boundary; this brush uses the first one all round.
    void SetSurroundColors(const std::vector<TARGB>& colors);
    TKind Kind() const override { return TKind::PathGradient; }
    const TVectorPath& Path() const { return path_; }
    const TRectF& Bounds() const { return bounds_; }
    TPointF CenterPoint() const { return center_; }
    TARGB CenterColor() const { return centerColor_; }
    TARGB SurroundColor() const { return surroundColor_; }

private:
    TVectorPath path_;
    TRectF bounds_;
    int pointCount_ = 0;
    TPointF center_;
    TARGB centerColor_ = 0xFFFFFFFF;
    TARGB surroundColor_ = 0xFFFFFFFF;
};

/// An anti-aliasing drawing surface on a canvas's pixels, respecting its origin and
/// clip rectangle. Integer coordinates name pixel centres, so a one-pixel stroke
/// along y = 3 covers exactly row 3.
class TVectorGraphics {
public:
    explicit TVectorGraphics(TCanvas& canvas);
    ~TVectorGraphics();
    TVectorGraphics(const TVectorGraphics&) = delete;
    TVectorGraphics& operator=(const TVectorGraphics&) = delete;

    TSmoothingMode SmoothingMode() const { return smoothing_; }
    void SetSmoothingMode(TSmoothingMode mode);

    void DrawPath(const TVectorPen& pen, const TVectorPath& path);
    void FillPath(const TVectorBrush& brush, const TVectorPath& path);
    void DrawLine(const TVectorPen& pen, float x1, float y1, float x2, float y2);
    void DrawRectangle(const TVectorPen& pen, float x, float y, float width, float height);
    void DrawEllipse(const TVectorPen& pen, float x, float y, float width, float height);
    void FillRectangle(const TVectorBrush& brush, float x, float y, float width, float height);
    void FillEllipse(const TVectorBrush& brush, float x, float y, float width, float height);

private:
    /// The drawing library's state while the surface is open (none when the canvas
    /// has nothing to draw on); each platform's implementation defines it.
    struct TSurface;

    void Begin();
    void Finish();

    TCanvas& canvas_;
    std::unique_ptr<TSurface> surface_;
    TSmoothingMode smoothing_ = TSmoothingMode::None;
    TRect dirty_;
};

} // namespace emr
