#include "framework/graphics/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/PixelSpan.h"

namespace emr {

namespace {

using pixels::kRgbMask;

/// A logical coordinate moved by the origin; far-away edges are pulled in to where
/// arithmetic on them cannot overflow.
int DeviceCoordinate(int v, int offset) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{v} + offset, -(1 << 28), 1 << 28));
}

/// Painting rounds to nearest with halves to even (the default floating-point mode);
/// far-away edges are pulled in as DeviceCoordinate does.
int RoundEdge(double v) {
    constexpr double kLimit = 1 << 28;
    return static_cast<int>(std::nearbyint(std::clamp(v, -kLimit, kLimit)));
}

/// The binary raster operation of a pen mode applied to pen P and destination D.
std::uint32_t Rop2(TPenMode mode, std::uint32_t p, std::uint32_t d) {
    switch (mode) {
    case TPenMode::pmBlack:
        return 0;
    case TPenMode::pmWhite:
        return kRgbMask;
    case TPenMode::pmNop:
        return d;
    case TPenMode::pmNot:
        return ~d & kRgbMask;
    case TPenMode::pmCopy:
        return p;
    case TPenMode::pmNotCopy:
        return ~p & kRgbMask;
    case TPenMode::pmMergePenNot:
        return (p | ~d) & kRgbMask;
    case TPenMode::pmMaskPenNot:
        return p & ~d & kRgbMask;
    case TPenMode::pmMergeNotPen:
        return (~p | d) & kRgbMask;
    case TPenMode::pmMaskNotPen:
        return ~p & d & kRgbMask;
    case TPenMode::pmMerge:
        return p | d;
    case TPenMode::pmNotMerge:
        return ~(p | d) & kRgbMask;
    case TPenMode::pmMask:
        return p & d;
    case TPenMode::pmNotMask:
        return ~(p & d) & kRgbMask;
    case TPenMode::pmXor:
        return p ^ d;
    case TPenMode::pmNotXor:
        return ~(p ^ d) & kRgbMask;
    }
    return p;
}

/// A ternary raster operation: bit i of the code's third byte is the result for
/// pattern, source and destination bits (P << 2 | S << 1 | D) = i.
std::uint32_t Rop3(TCopyMode mode, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    switch (mode) {
    case cmSrcCopy:
        return s;
    case cmSrcInvert:
        return s ^ d;
    case cmSrcAnd:
        return s & d;
    case cmSrcPaint:
        return s | d;
    default:
        break;
    }
    unsigned table = (mode >> 16) & 0xFF;
    std::uint32_t result = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!(table & (1u << i))) continue;
        std::uint32_t term = (i & 4) ? p : ~p;
        term &= (i & 2) ? s : ~s;
        term &= (i & 1) ? d : ~d;
        result |= term;
    }
    return result & kRgbMask;
}

/// On/off run lengths of the dashed cosmetic pens.
std::span<const int> DashPattern(TPenStyle style) {
    static constexpr int dash[] = {18, 6};
    static constexpr int dot[] = {3, 3};
    static constexpr int dashDot[] = {9, 6, 3, 6};
    static constexpr int dashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case TPenStyle::psDash:
        return dash;
    case TPenStyle::psDot:
        return dot;
    case TPenStyle::psDashDot:
        return dashDot;
    case TPenStyle::psDashDotDot:
        return dashDotDot;
    default:
        return {};
    }
}

/// Whether position `phase` of a dash pattern is drawn.
bool DashOn(std::span<const int> pattern, unsigned phase) {
    unsigned total = 0;
    for (int run : pattern)
        total += static_cast<unsigned>(run);
    unsigned at = phase % total;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (at < static_cast<unsigned>(pattern[i])) return i % 2 == 0;
        at -= static_cast<unsigned>(pattern[i]);
    }
    return true;
}

/// The horizontal span [Left, Right) of row y of a shape: the box (x1, y1, x2, y2)
/// with corners cut by quarters of a cw x ch ellipse. A pixel belongs to a corner
/// ellipse when its centre lies inside the ellipse centred in the corner box whose
/// semi-axes are a quarter pixel short of half the box, which gives the familiar
/// small circles (a 6 x 6 ellipse has rows 2, 4, 6, 6, 4 and 2 pixels wide).
struct Span {
    int Left = 0;
    int Right = 0;
    bool Empty() const { return Right <= Left; }
};

Span RowSpan(int x1, int y1, int x2, int y2, int cw, int ch, int y) {
    if (y < y1 || y >= y2 || x2 <= x1) return {};
    cw = std::clamp(cw, 0, x2 - x1);
    ch = std::clamp(ch, 0, y2 - y1);
    if (cw < 2 || ch < 2) return {x1, x2};
    int k = std::min(y - y1, y2 - 1 - y);
    if (k > (ch - 1) / 2) return {x1, x2};
    double a = cw / 2.0 - 0.25;
    double b = ch / 2.0 - 0.25;
    double dy = k - (ch - 1) / 2.0;
    double t = 1.0 - (dy * dy) / (b * b);
    if (t < 0) return {};
    double hw = a * std::sqrt(t);
    int inset = static_cast<int>(std::ceil((cw - 1) / 2.0 - hw - 1e-9));
    inset = std::max(inset, 0);
    Span s{x1 + inset, x2 - inset};
    if (s.Empty()) return {};
    return s;
}

Span Intersect(Span a, Span b) {
    return {std::max(a.Left, b.Left), std::min(a.Right, b.Right)};
}

} // namespace

TCanvas::TCanvas()
    : pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()), font_(std::make_unique<TFont>()) {}

TCanvas::TCanvas(std::uint32_t* pixels, int width, int height, int stride) : TCanvas() {
    SetBuffer(pixels, width, height, stride);
}

TCanvas::~TCanvas() = default;

void TCanvas::SetBuffer(std::uint32_t* pixels, int width, int height, int stride) {
    if (!pixels || width <= 0 || height <= 0) {
        pixels_ = nullptr;
        width_ = height_ = stride_ = 0;
    } else {
        pixels_ = pixels;
        width_ = width;
        height_ = height;
        stride_ = std::max(stride, width);
    }
    origin_ = {};
    ResetClip();
}

void TCanvas::SetClipRect(const TRect& rect) {
    clip_ = DeviceRect(rect).Intersect({0, 0, width_, height_});
}

void TCanvas::IntersectClipRect(const TRect& rect) {
    clip_ = clip_.Intersect(DeviceRect(rect));
}

TRect TCanvas::ClipRect() const {
    if (!Transformed()) return clip_.Offset(-origin_.X, -origin_.Y);
    // The logical edges nearest to the device ones, which gives back the edges a clip
    // was set with at any scale of 1.0 or more.
    auto logical = [this](int device, int origin) { return RoundEdge(device / scale_) - origin; };
    int left = logical(clip_.Left, origin_.X), right = logical(clip_.Right, origin_.X);
    if (mirrorWidth_ != 0) {
        const int mirroredLeft = mirrorWidth_ - right;
        right = mirrorWidth_ - left;
        left = mirroredLeft;
    }
    return {left, logical(clip_.Top, origin_.Y), right, logical(clip_.Bottom, origin_.Y)};
}

int TCanvas::EdgeX(int x) const {
    const double mirrored = mirrorWidth_ != 0 ? static_cast<double>(mirrorWidth_) - x : x;
    return RoundEdge((mirrored + origin_.X) * scale_);
}

int TCanvas::EdgeY(int y) const {
    return RoundEdge((static_cast<double>(y) + origin_.Y) * scale_);
}

TRect TCanvas::DeviceRect(const TRect& rect) const {
    if (!Transformed()) return rect.Offset(origin_.X, origin_.Y);
    int x1 = EdgeX(rect.Left), x2 = EdgeX(rect.Right);
    int y1 = EdgeY(rect.Top), y2 = EdgeY(rect.Bottom);
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

std::unique_ptr<TCanvas> TCanvas::DeviceCanvas() {
    auto device = std::make_unique<TCanvas>(pixels_, width_, height_, stride_);
    device->clip_ = clip_;
    device->copyMode_ = copyMode_;
    device->pen_->Assign(pen_.get());
    device->brush_->Assign(brush_.get());
    device->font_->Assign(font_.get());
    device->OnChange = [this](TObject*) { Changed(); };
    return device;
}

int TCanvas::DeviceLineWidth(int units) const {
    if (scale_ == 1.0) return units;
    return std::max(1, static_cast<int>(std::floor(units * scale_ + 1e-9)));
}

TPoint TCanvas::LineAnchor(TPoint p, int width) const {
    const int x = EdgeX(p.X);
    return {mirrorWidth_ != 0 ? x - width : x, EdgeY(p.Y)};
}

void TCanvas::ResetClip() {
    clip_ = {0, 0, width_, height_};
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

void TCanvas::PenPixel(int dx, int dy, std::uint32_t penPixel) {
    if (!clip_.Contains({dx, dy})) return;
    std::uint32_t* p = PixelAt(dx, dy);
    *p = Rop2(pen_->Mode(), penPixel, *p & kRgbMask);
}

void TCanvas::HLine(int y, int x1, int x2, std::uint32_t pixel) {
    if (y < clip_.Top || y >= clip_.Bottom) return;
    x1 = std::max(x1, clip_.Left);
    x2 = std::min(x2, clip_.Right);
    if (x1 >= x2) return;
    std::uint32_t* p = PixelAt(x1, y);
    TPenMode mode = pen_->Mode();
    if (mode == TPenMode::pmCopy) {
        pixels::Fill(p, static_cast<std::size_t>(x2 - x1), pixel);
        return;
    }
    for (int x = x1; x < x2; ++x, ++p)
        *p = Rop2(mode, pixel, *p & kRgbMask);
}

void TCanvas::FillDeviceRect(const TRect& deviceRect, std::uint32_t pixel) {
    TRect r = deviceRect.Intersect(clip_);
    if (r.Empty()) return;
    for (int y = r.Top; y < r.Bottom; ++y)
        pixels::Fill(PixelAt(r.Left, y), static_cast<std::size_t>(r.Width()), pixel);
}

void TCanvas::StrokeLine(TPoint from, TPoint to, unsigned& dashPhase) {
    TColor color = pen_->Color();
    if (pen_->Style() == TPenStyle::psClear || color == clNone || !CanDraw()) return;
    const int w = pen_->Width();
    std::span<const int> pattern = w == 1 ? DashPattern(pen_->Style()) : std::span<const int>{};
    if (!Transformed()) {
        StrokeDevice(std::int64_t{from.X} + origin_.X, std::int64_t{from.Y} + origin_.Y,
                     std::int64_t{to.X} + origin_.X, std::int64_t{to.Y} + origin_.Y, w, false, pattern, 1.0,
                     dashPhase);
        return;
    }
    // A thin pen covers each logical pixel of the line with a square of the device
    // line width; wider pens keep their round stamp at the scaled width.
    const bool thin = w <= 1;
    const int width = DeviceLineWidth(std::max(w, 1));
    const TPoint a = LineAnchor(from, thin ? width : 0), b = LineAnchor(to, thin ? width : 0);
    StrokeDevice(a.X, a.Y, b.X, b.Y, width, thin, pattern, scale_, dashPhase);
}

void TCanvas::StrokeDevice(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int w,
                           bool square, std::span<const int> pattern, double dashUnit, unsigned& dashPhase) {
    std::uint32_t penPixel = ColorToPixel(ColorToRGB(pen_->Color()));
    bool gapsFilled = brush_->Style() == TBrushStyle::bsSolid && brush_->Color() != clNone;
    std::uint32_t gapPixel = ColorToPixel(ColorToRGB(brush_->Color()));

    const std::int64_t dx = x1 - x0, dy = y1 - y0;
    const std::int64_t steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) return;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    // Point i of the line: one step along the major axis, the minor coordinate rounded
    // (halves away from the start). The end point itself (i = steps) is not drawn, nor
    // is any part of its square stamp.
    auto minorAt = [&](std::int64_t i) {
        std::int64_t d = xMajor ? dy : dx;
        std::int64_t num = 2 * i * std::abs(d) + steps;
        std::int64_t q = num / (2 * steps);
        return (xMajor ? y0 : x0) + (d < 0 ? -q : q);
    };
    // Only the steps whose major coordinate can reach the clip (widened by the pen) are walked.
    const int reach = square ? w + 1 : w / 2 + 1;
    const std::int64_t last = square ? std::max<std::int64_t>(steps - w, 0) : steps - 1;
    std::int64_t lo = 0, hi = last;
    {
        std::int64_t start = xMajor ? x0 : y0, dir = (xMajor ? dx : dy) < 0 ? -1 : 1;
        std::int64_t clipLo = (xMajor ? clip_.Left : clip_.Top) - reach;
        std::int64_t clipHi = (xMajor ? clip_.Right : clip_.Bottom) + reach;
        std::int64_t a = (clipLo - start) * dir, b = (clipHi - start) * dir;
        if (a > b) std::swap(a, b);
        lo = std::max(lo, a);
        hi = std::min(hi, b);
    }
    if (lo > hi) {
        dashPhase += static_cast<unsigned>(steps);
        return;
    }
    dashPhase += static_cast<unsigned>(lo);
    const std::int64_t dirMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
    for (std::int64_t i = lo; i <= hi; ++i) {
        std::int64_t major = (xMajor ? x0 : y0) + i * dirMajor;
        std::int64_t minor = minorAt(i);
        std::int64_t px = xMajor ? major : minor, py = xMajor ? minor : major;
        bool on = pattern.empty() || DashOn(pattern, static_cast<unsigned>(dashPhase / dashUnit));
        ++dashPhase;
        if (py < clip_.Top - reach || py >= clip_.Bottom + reach || px < clip_.Left - reach ||
            px >= clip_.Right + reach)
            continue;
        int x = static_cast<int>(px), y = static_cast<int>(py);
        if (on) {
            if (square) {
                for (int oy = 0; oy < w; ++oy)
                    for (int ox = 0; ox < w; ++ox)
                        PenPixel(x + ox, y + oy, penPixel);
            } else if (w == 1) {
                PenPixel(x, y, penPixel);
            } else {
                // A round stamp of the pen's width.
                // Even widths put the extra pixel up and to the left, as shapes do.
                int r0 = -(w / 2), r1 = (w - 1) / 2;
                double rc = w / 2.0;
                for (int oy = r0; oy <= r1; ++oy)
                    for (int ox = r0; ox <= r1; ++ox) {
                        double cx = ox + (w % 2 == 0 ? 0.5 : 0.0), cy = oy + (w % 2 == 0 ? 0.5 : 0.0);
                        if (cx * cx + cy * cy <= rc * rc) PenPixel(x + ox, y + oy, penPixel);
                    }
            }
        } else if (gapsFilled) {
            const int gap = square ? w : 1;
            for (int oy = 0; oy < gap; ++oy)
                for (int ox = 0; ox < gap; ++ox)
                    if (clip_.Contains({x + ox, y + oy})) *PixelAt(x + ox, y + oy) = gapPixel;
        }
    }
    dashPhase += static_cast<unsigned>(steps - 1 - hi);
}

void TCanvas::LineTo(int x, int y) {
    unsigned phase = 0;
    StrokeLine(penPos_, {x, y}, phase);
    penPos_ = {x, y};
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    unsigned phase = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        StrokeLine(points[i - 1], points[i], phase);
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.size() < 2 || !CanDraw()) return;
    if (brush_->Style() == TBrushStyle::bsSolid && brush_->Color() != clNone) {
        std::vector<TPoint> corners(points.begin(), points.end());
        for (TPoint& p : corners)
            p = Transformed() ? TPoint{EdgeX(p.X), EdgeY(p.Y)} : TPoint{p.X + origin_.X, p.Y + origin_.Y};
        FillPolygon(corners, ColorToPixel(ColorToRGB(brush_->Color())));
    }
    unsigned phase = 0;
    for (std::size_t i = 0; i < points.size(); ++i)
        StrokeLine(points[i], points[(i + 1) % points.size()], phase);
    Changed();
}

void TCanvas::FillPolygon(std::span<const TPoint> corners, std::uint32_t pixel) {
    int top = corners[0].Y, bottom = corners[0].Y;
    for (const TPoint& p : corners) {
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
    }
    std::vector<double> crossings;
    // Pixels whose corner point lies inside (alternate rule); right and bottom
    // edges are excluded, as for the other filled shapes.
    for (int y = std::max(top, clip_.Top); y < std::min(bottom, clip_.Bottom); ++y) {
        crossings.clear();
        for (std::size_t i = 0; i < corners.size(); ++i) {
            TPoint a = corners[i], b = corners[(i + 1) % corners.size()];
            if (a.Y == b.Y) continue;
            if (a.Y > b.Y) std::swap(a, b);
            if (y < a.Y || y >= b.Y) continue; // a.Y < b.Y here
            crossings.push_back(a.X + (static_cast<double>(y) - a.Y) * (static_cast<double>(b.X) - a.X) /
                                          (static_cast<double>(b.Y) - a.Y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            int xa = static_cast<int>(std::clamp(std::ceil(crossings[i]), -1e9, 1e9));
            int xb = static_cast<int>(std::clamp(std::ceil(crossings[i + 1]), -1e9, 1e9));
            HLine(y, xa, xb, pixel);
        }
    }
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    const TPenStyle style = pen_->Style();
    const bool plainPen = pen_->Mode() == TPenMode::pmCopy && pen_->Width() <= 1 && pen_->Color() != clNone &&
                          (style == TPenStyle::psSolid || style == TPenStyle::psInsideFrame);
    if (!plainPen) {
        PaintShape(x1, y1, x2, y2, 0, 0);
        return;
    }
    // A one-pixel solid frame around a solid fill: the frame's four sides and the
    // inside are plain blocks (as PaintShape would paint them, without its per-row work).
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (!CanDraw()) return;
    const TRect r = Transformed() ? DeviceRect({x1, y1, x2, y2})
                                  : TRect{DeviceCoordinate(x1, origin_.X), DeviceCoordinate(y1, origin_.Y),
                                          DeviceCoordinate(x2, origin_.X), DeviceCoordinate(y2, origin_.Y)};
    if (r.Empty()) return;
    const int k = DeviceLineWidth(1);
    if (brush_->Style() == TBrushStyle::bsSolid && brush_->Color() != clNone)
        FillDeviceRect({r.Left + k, r.Top + k, r.Right - k, r.Bottom - k},
                       ColorToPixel(ColorToRGB(brush_->Color())));
    FillDeviceFrame(r, k, ColorToPixel(ColorToRGB(pen_->Color())));
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h) {
    PaintShape(x1, y1, x2, y2, w, h);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    PaintShape(x1, y1, x2, y2, x2 - x1, y2 - y1);
}

void TCanvas::PaintShape(int x1, int y1, int x2, int y2, int cw, int ch) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (!CanDraw()) return;
    const TPenStyle style = pen_->Style();
    const int w = pen_->Width();
    std::span<const int> dashes = w == 1 ? DashPattern(style) : std::span<const int>{};
    // Wide pens straddle the outline unless they stay inside it. Even widths put the
    // extra pixel outside at the left and top, so that a two-pixel frame drawn from
    // (1, 1) to (Width, Height) covers a window's outermost pixels.
    const int lo = style == TPenStyle::psInsideFrame ? 0 : w / 2;
    const int hi = style == TPenStyle::psInsideFrame ? 0 : (w - 1) / 2;
    if (!Transformed()) {
        PaintDeviceShape(DeviceCoordinate(x1, origin_.X), DeviceCoordinate(y1, origin_.Y),
                         DeviceCoordinate(x2, origin_.X), DeviceCoordinate(y2, origin_.Y), cw, ch, w, lo, hi,
                         dashes);
        return;
    }
    const TRect r = DeviceRect({x1, y1, x2, y2});
    const int scaledLo = RoundEdge(lo * scale_), scaledHi = RoundEdge(hi * scale_);
    // Mirroring swaps which side the extra pixel of an even pen lies on.
    PaintDeviceShape(r.Left, r.Top, r.Right, r.Bottom, RoundEdge(cw * scale_), RoundEdge(ch * scale_),
                     DeviceLineWidth(std::max(w, 1)), scaledLo, scaledHi, dashes);
}

void TCanvas::PaintDeviceShape(int x1, int y1, int x2, int y2, int cw, int ch, int w, int lo, int hi,
                               std::span<const int> dashes) {
    bool fill = brush_->Style() == TBrushStyle::bsSolid && brush_->Color() != clNone;
    std::uint32_t brushPixel = ColorToPixel(ColorToRGB(brush_->Color()));
    TPenStyle style = pen_->Style();
    bool penShown = style != TPenStyle::psClear;
    bool penVisible = penShown && pen_->Color() != clNone;
    std::uint32_t penPixel = ColorToPixel(ColorToRGB(pen_->Color()));

    if (!penShown) {
        // Without a pen the shape is one pixel smaller at the right and bottom.
        if (!fill) return;
        for (int y = std::max(y1, clip_.Top); y < std::min(y2 - 1, clip_.Bottom); ++y) {
            Span s = RowSpan(x1, y1, x2 - 1, y2 - 1, cw, ch, y);
            HLine(y, s.Left, s.Right, brushPixel);
        }
        Changed();
        return;
    }

    bool dashed = !dashes.empty();
    int ox1 = x1 - lo, oy1 = y1 - lo, ox2 = x2 + hi, oy2 = y2 + hi;
    int ix1 = ox1 + w, iy1 = oy1 + w, ix2 = ox2 - w, iy2 = oy2 - w;
    int icw = std::max(cw - 2 * w, 0), ich = std::max(ch - 2 * w, 0);

    // Each row's span is worked out once: the rows above and below roll along, as
    // a one-pixel outline needs its neighbours' spans.
    const int firstRow = std::max(oy1, clip_.Top);
    Span above = RowSpan(ox1, oy1, ox2, oy2, cw, ch, firstRow - 1);
    Span outer = RowSpan(ox1, oy1, ox2, oy2, cw, ch, firstRow);
    Span below;
    for (int y = firstRow; y < std::min(oy2, clip_.Bottom); ++y, above = outer, outer = below) {
        below = RowSpan(ox1, oy1, ox2, oy2, cw, ch, y + 1);
        if (outer.Empty()) continue;
        Span inner;
        if (w == 1) {
            // Interior: pixels whose four neighbours are all in the shape.
            inner = Intersect(Intersect({outer.Left + 1, outer.Right - 1}, above), below);
        } else {
            inner = Intersect(RowSpan(ix1, iy1, ix2, iy2, icw, ich, y), outer);
        }
        if (inner.Empty()) {
            if (penVisible && !dashed) HLine(y, outer.Left, outer.Right, penPixel);
            continue;
        }
        if (fill) HLine(y, inner.Left, inner.Right, brushPixel);
        if (penVisible && !dashed) {
            HLine(y, outer.Left, inner.Left, penPixel);
            HLine(y, inner.Right, outer.Right, penPixel);
        }
    }
    if (dashed && penVisible) {
        // Dashed outlines follow the rectangle's edges as one closed line.
        TPoint pts[] = {{x1, y1}, {x2 - w, y1}, {x2 - w, y2 - w}, {x1, y2 - w}};
        const bool square = w > 1;
        unsigned phase = 0;
        for (int i = 0; i < 4; ++i) {
            const TPoint a = pts[i], b = pts[(i + 1) % 4];
            // Square stamps stop short of their end point: reach it, so that corners close.
            const int ex = square ? (b.X > a.X ? w : (b.X < a.X ? -w : 0)) : 0;
            const int ey = square ? (b.Y > a.Y ? w : (b.Y < a.Y ? -w : 0)) : 0;
            StrokeDevice(a.X, a.Y, b.X + ex, b.Y + ey, w, square, dashes, scale_, phase);
        }
    }
    Changed();
}

void TCanvas::FillRect(const TRect& rect) {
    if (!CanDraw() || brush_->Style() != TBrushStyle::bsSolid || brush_->Color() == clNone) return;
    FillDeviceRect(DeviceRect(rect), ColorToPixel(ColorToRGB(brush_->Color())));
    Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    if (!CanDraw() || brush_->Style() != TBrushStyle::bsSolid || brush_->Color() == clNone || rect.Empty())
        return;
    FillDeviceFrame(DeviceRect(rect), DeviceLineWidth(1), ColorToPixel(ColorToRGB(brush_->Color())));
    Changed();
}

void TCanvas::FillDeviceFrame(const TRect& r, int width, std::uint32_t pixel) {
    FillDeviceRect({r.Left, r.Top, r.Right, r.Top + width}, pixel);
    FillDeviceRect({r.Left, r.Bottom - width, r.Right, r.Bottom}, pixel);
    FillDeviceRect({r.Left, r.Top + width, r.Left + width, r.Bottom - width}, pixel);
    FillDeviceRect({r.Right - width, r.Top + width, r.Right, r.Bottom - width}, pixel);
}

void TCanvas::RepeatTopRow(const TRect& rect) {
    if (!CanDraw()) return;
    TRect r = DeviceRect(rect).Intersect(clip_);
    if (r.Height() < 2) return;
    const std::uint32_t* top = PixelAt(r.Left, r.Top);
    const auto bytes = static_cast<std::size_t>(r.Width()) * sizeof(std::uint32_t);
    for (int y = r.Top + 1; y < r.Bottom; ++y)
        std::memcpy(PixelAt(r.Left, y), top, bytes);
    Changed();
}

void TCanvas::FillArrow(const TRect& rect, TArrowDirection direction) {
    if (!CanDraw() || brush_->Style() != TBrushStyle::bsSolid || brush_->Color() == clNone) return;
    const TRect r = DeviceRect(rect);
    if (r.Empty()) return;
    if (mirrorWidth_ != 0 && direction == TArrowDirection::adLeft)
        direction = TArrowDirection::adRight;
    else if (mirrorWidth_ != 0 && direction == TArrowDirection::adRight)
        direction = TArrowDirection::adLeft;
    const bool horizontal = direction == TArrowDirection::adLeft || direction == TArrowDirection::adRight;
    const int depth = horizontal ? r.Width() : r.Height();
    const int base = horizontal ? r.Height() : r.Width();
    // Step j from the base is inset by j of a one-pixel taper at 1.0; on a finer
    // device the taper spreads evenly over the device steps.
    const double taper = depth > 1 ? (base - 1) / 2.0 / (depth - 1) : 0.0;
    const std::uint32_t pixel = ColorToPixel(ColorToRGB(brush_->Color()));
    for (int j = 0; j < depth; ++j) {
        const int inset = std::min(RoundEdge(j * taper), (base - 1) / 2);
        switch (direction) {
        case TArrowDirection::adRight:
            FillDeviceRect({r.Left + j, r.Top + inset, r.Left + j + 1, r.Bottom - inset}, pixel);
            break;
        case TArrowDirection::adLeft:
            FillDeviceRect({r.Right - 1 - j, r.Top + inset, r.Right - j, r.Bottom - inset}, pixel);
            break;
        case TArrowDirection::adDown:
            FillDeviceRect({r.Left + inset, r.Top + j, r.Right - inset, r.Top + j + 1}, pixel);
            break;
        case TArrowDirection::adUp:
            FillDeviceRect({r.Left + inset, r.Bottom - 1 - j, r.Right - inset, r.Bottom - j}, pixel);
            break;
        }
    }
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    if (!CanDraw() || rect.Empty()) return;
    const TRect r = DeviceRect(rect);
    const int k = std::min({DeviceLineWidth(1), r.Width(), r.Height()});
    // In a mirrored span the dots are mirrored too: their phase counts from the span's right end.
    const bool mirrored = mirrorWidth_ != 0;
    const int reflect = mirrored ? EdgeX(0) + EdgeX(mirrorWidth_) - 1 : 0;
    auto flip = [this, mirrored, reflect](int x, int y) {
        const int phaseX = mirrored ? reflect - x : x;
        if (((phaseX + y) & 1) == 0 && clip_.Contains({x, y})) *PixelAt(x, y) ^= kRgbMask;
    };
    // Each pixel of the frame band is visited once, so that a second call undoes the first.
    for (int y = r.Top; y < r.Bottom; ++y) {
        const bool band = y < r.Top + k || y >= r.Bottom - k;
        if (band) {
            for (int x = r.Left; x < r.Right; ++x)
                flip(x, y);
            continue;
        }
        for (int x = r.Left; x < r.Left + k; ++x)
            flip(x, y);
        for (int x = std::max(r.Right - k, r.Left + k); x < r.Right; ++x)
            flip(x, y);
    }
    Changed();
}

TColor TCanvas::Pixels(int x, int y) const {
    const TRect device = DeviceRect({x, y, x + 1, y + 1});
    int dx = device.Left, dy = device.Top;
    if (!pixels_ || dx < 0 || dy < 0 || dx >= width_ || dy >= height_) return clNone;
    return PixelToColor(*PixelAt(dx, dy) & kRgbMask);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (!pixels_ || color == clNone) return;
    if (Transformed()) {
        // A logical pixel covers its whole device rectangle.
        FillDeviceRect(DeviceRect({x, y, x + 1, y + 1}), ColorToPixel(ColorToRGB(color)));
        Changed();
        return;
    }
    int dx = x + origin_.X, dy = y + origin_.Y;
    if (!clip_.Contains({dx, dy})) return;
    *PixelAt(dx, dy) = ColorToPixel(ColorToRGB(color));
    Changed();
}

void TCanvas::Draw(int x, int y, const TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty()) return;
    StretchDraw(TRect::FromBounds(x, y, bitmap->Width(), bitmap->Height()), bitmap);
}

void TCanvas::DrawMasked(int x, int y, const std::uint32_t* pixels, const std::uint8_t* mask, int w, int h) {
    if (!pixels || w <= 0 || h <= 0 || !CanDraw()) return;
    // Pictures keep their orientation: only their place is mirrored.
    const TRect d = DeviceRect(TRect::FromBounds(x, y, w, h));
    if (d.Empty()) return;
    TRect visible = d.Intersect(clip_);
    const int dw = d.Width(), dh = d.Height();
    for (int dy = visible.Top; dy < visible.Bottom; ++dy) {
        const int sy =
            dh == h ? dy - d.Top : static_cast<int>(static_cast<std::int64_t>(dy - d.Top) * h / dh);
        std::size_t row = static_cast<std::size_t>(sy) * w;
        for (int dx = visible.Left; dx < visible.Right; ++dx) {
            const int sx =
                dw == w ? dx - d.Left : static_cast<int>(static_cast<std::int64_t>(dx - d.Left) * w / dw);
            std::size_t i = row + static_cast<std::size_t>(sx);
            if (mask && !mask[i]) continue;
            *PixelAt(dx, dy) = pixels[i] & kRgbMask;
        }
    }
    Changed();
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty() || !CanDraw() || dest.Empty()) return;
    const TRect d = DeviceRect(dest);
    TRect visible = d.Intersect(clip_);
    if (visible.Empty()) return;
    bool transparent = bitmap->Transparent();
    std::uint32_t key = transparent ? ColorToPixel(ColorToRGB(bitmap->TransparentColor())) : 0;
    int sw = bitmap->Width(), sh = bitmap->Height();
    int dw = d.Width(), dh = d.Height();
    if (dw == sw && dh == sh) {
        // Unscaled copies (back buffers, glyphs) need no per-pixel source arithmetic.
        for (int y = visible.Top; y < visible.Bottom; ++y) {
            const std::uint32_t* src = bitmap->ScanLine(y - d.Top) + (visible.Left - d.Left);
            std::uint32_t* out = PixelAt(visible.Left, y);
            const auto count = static_cast<std::size_t>(visible.Width());
            if (transparent)
                pixels::CopyRgbExcept(out, src, count, key);
            else
                pixels::CopyRgb(out, src, count);
        }
        Changed();
        return;
    }
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        int sy = static_cast<int>(static_cast<std::int64_t>(y - d.Top) * sh / dh);
        const std::uint32_t* src = bitmap->ScanLine(sy);
        std::uint32_t* out = PixelAt(0, y);
        for (int x = visible.Left; x < visible.Right; ++x) {
            int sx = static_cast<int>(static_cast<std::int64_t>(x - d.Left) * sw / dw);
            std::uint32_t v = src[sx] & kRgbMask;
            if (transparent && v == key) continue;
            out[x] = v;
        }
    }
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas* canvas, const TRect& source) {
    if (!canvas || !canvas->pixels_ || !CanDraw()) return;
    int dw = dest.Width(), dh = dest.Height(), sw = source.Width(), sh = source.Height();
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
    // Work on a copy of the source so that overlapping copies on one canvas are safe.
    std::vector<std::uint32_t> src(static_cast<std::size_t>(std::abs(sw)) *
                                   static_cast<std::size_t>(std::abs(sh)));
    std::vector<std::uint8_t> valid(src.size());
    int sl = std::min(source.Left, source.Right), st = std::min(source.Top, source.Bottom);
    int aw = std::abs(sw), ah = std::abs(sh);
    if (canvas->Transformed()) {
        // The source's device pixels, in their own orientation.
        const TRect s = canvas->DeviceRect(source);
        if (s.Empty()) return;
        aw = s.Width();
        ah = s.Height();
        sl = s.Left - canvas->origin_.X;
        st = s.Top - canvas->origin_.Y;
        src.assign(static_cast<std::size_t>(aw) * static_cast<std::size_t>(ah), 0);
        valid.assign(src.size(), 0);
    }
    for (int y = 0; y < ah; ++y)
        for (int x = 0; x < aw; ++x) {
            int cx = sl + x + canvas->origin_.X, cy = st + y + canvas->origin_.Y;
            if (cx < 0 || cy < 0 || cx >= canvas->width_ || cy >= canvas->height_) continue;
            std::size_t i = static_cast<std::size_t>(y) * aw + x;
            src[i] = *canvas->PixelAt(cx, cy) & kRgbMask;
            valid[i] = 1;
        }
    // Negative extents mirror, as when the two rectangles run in opposite directions.
    bool flipX = (dw < 0) != (sw < 0), flipY = (dh < 0) != (sh < 0);
    TRect d{std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom), std::max(dest.Left, dest.Right),
            std::max(dest.Top, dest.Bottom)};
    d = DeviceRect(d);
    if (d.Empty()) return;
    TRect visible = d.Intersect(clip_);
    int adw = d.Width(), adh = d.Height();
    std::uint32_t pattern = brush_->Style() == TBrushStyle::bsSolid && brush_->Color() != clNone
                                ? ColorToPixel(ColorToRGB(brush_->Color()))
                                : 0;
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        int ry = static_cast<int>(static_cast<std::int64_t>(y - d.Top) * ah / adh);
        if (flipY) ry = ah - 1 - ry;
        std::uint32_t* out = PixelAt(0, y);
        for (int x = visible.Left; x < visible.Right; ++x) {
            int rx = static_cast<int>(static_cast<std::int64_t>(x - d.Left) * aw / adw);
            if (flipX) rx = aw - 1 - rx;
            std::size_t i = static_cast<std::size_t>(ry) * aw + rx;
            if (!valid[i]) continue;
            out[x] = Rop3(copyMode_, pattern, src[i], out[x] & kRgbMask);
        }
    }
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap* bitmap, const TRect& source,
                        TColor transparentColor) {
    if (!bitmap || bitmap->Empty() || !CanDraw() || dest.Empty() || source.Empty()) return;
    std::uint32_t key = ColorToPixel(ColorToRGB(transparentColor));
    bool fill = brush_->Style() == TBrushStyle::bsSolid && brush_->Color() != clNone;
    std::uint32_t brushPixel = ColorToPixel(ColorToRGB(brush_->Color()));
    const TRect d = DeviceRect(dest);
    if (d.Empty()) return;
    TRect visible = d.Intersect(clip_);
    int dw = d.Width(), dh = d.Height(), sw = source.Width(), sh = source.Height();
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        int sy = source.Top + static_cast<int>(static_cast<std::int64_t>(y - d.Top) * sh / dh);
        if (sy < 0 || sy >= bitmap->Height()) continue;
        const std::uint32_t* src = bitmap->ScanLine(sy);
        std::uint32_t* out = PixelAt(0, y);
        for (int x = visible.Left; x < visible.Right; ++x) {
            int sx = source.Left + static_cast<int>(static_cast<std::int64_t>(x - d.Left) * sw / dw);
            if (sx < 0 || sx >= bitmap->Width()) continue;
            std::uint32_t v = src[sx] & kRgbMask;
            if (v != key)
                out[x] = v;
            else if (fill)
                out[x] = brushPixel;
        }
    }
    Changed();
}

TCanvasState::TCanvasState(TCanvas& canvas)
    : canvas_(canvas), origin_(canvas.origin_), clip_(canvas.clip_), scale_(canvas.scale_),
      mirrorWidth_(canvas.mirrorWidth_), penPos_(canvas.penPos_), copyMode_(canvas.copyMode_) {
    pen_.Assign(canvas.pen_.get());
    brush_.Assign(canvas.brush_.get());
    font_.Assign(canvas.font_.get());
}

TCanvasState::~TCanvasState() {
    canvas_.origin_ = origin_;
    canvas_.clip_ = clip_.Intersect({0, 0, canvas_.width_, canvas_.height_});
    canvas_.scale_ = scale_;
    canvas_.mirrorWidth_ = mirrorWidth_;
    canvas_.penPos_ = penPos_;
    canvas_.copyMode_ = copyMode_;
    canvas_.pen_->Assign(&pen_);
    canvas_.brush_->Assign(&brush_);
    canvas_.font_->Assign(&font_);
}

} // namespace emr
