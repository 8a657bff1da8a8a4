// Anti-aliased drawing with GDI+ as the rasteriser, on the canvas's own pixels.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "framework/graphics/Canvas.h"
#include "framework/graphics/VectorGraphics.h"

// Last: the system headers' macros must not rename the framework's names.
#include "framework/graphics/win32/GdiApi.h"

#include <objidl.h> // what the GDI+ headers need of COM

#include <gdiplus.h>

namespace emr {

namespace gp = Gdiplus::DllExports;

namespace {

/// Starts GDI+ once for the life of the process; false when it cannot start.
bool StartGdiplus() {
    static const bool started = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

/// The path as a GDI+ path (even-odd filling, as on every platform). Runs of
/// lines go in as one polyline without repeated points, and a closed figure
/// does not repeat its first point at its end: zero-length segments would leave
/// the joins around them to chance (Wine's GDI+ cuts such a corner short).
Gdiplus::GpPath* MakePath(const TVectorPath& path) {
    Gdiplus::GpPath* out = nullptr;
    if (gp::GdipCreatePath(Gdiplus::FillModeAlternate, &out) != Gdiplus::Ok) return nullptr;
    std::vector<Gdiplus::PointF> run;
    auto add = [&run](float x, float y) {
        if (run.empty() || run.back().X != x || run.back().Y != y) run.emplace_back(x, y);
    };
    auto flush = [&](bool closing) {
        if (closing && run.size() > 2 && run.back().X == run.front().X && run.back().Y == run.front().Y)
            run.pop_back();
        if (run.size() >= 2) gp::GdipAddPathLine2(out, run.data(), static_cast<INT>(run.size()));
        run.clear();
    };
    for (const TVectorPath::Piece& p : path.Pieces()) {
        switch (p.Kind) {
        case TVectorPath::Op::Line:
            add(p.A, p.B);
            add(p.C, p.D);
            break;
        case TVectorPath::Op::Arc:
            flush(false);
            if (p.C > 0 && p.D > 0)
                gp::GdipAddPathArc(out, p.A, p.B, p.C, p.D, p.E, std::clamp(p.F, -360.0f, 360.0f));
            break;
        case TVectorPath::Op::Ellipse:
            flush(false);
            if (p.C > 0 && p.D > 0) gp::GdipAddPathEllipse(out, p.A, p.B, p.C, p.D);
            break;
        case TVectorPath::Op::Rectangle:
            flush(false);
            gp::GdipAddPathRectangle(out, p.A, p.B, p.C, p.D);
            break;
        case TVectorPath::Op::Close:
            flush(true);
            gp::GdipClosePathFigure(out);
            break;
        case TVectorPath::Op::Start:
            flush(false);
            gp::GdipStartPathFigure(out);
            break;
        }
    }
    flush(false);
    return out;
}

Gdiplus::GpBrush* MakeBrush(const TVectorBrush& brush) {
    switch (brush.Kind()) {
    case TVectorBrush::TKind::Solid: {
        Gdiplus::GpSolidFill* fill = nullptr;
        gp::GdipCreateSolidFill(static_cast<const TVectorSolidBrush&>(brush).Color(), &fill);
        return fill;
    }
    case TVectorBrush::TKind::LinearGradient: {
        const auto& b = static_cast<const TVectorLinearGradientBrush&>(brush);
        if (b.Box().Width <= 0 || b.Box().Height <= 0) {
            Gdiplus::GpSolidFill* fill = nullptr;
            gp::GdipCreateSolidFill(b.Color1(), &fill);
            return fill;
        }
        const Gdiplus::RectF box(b.Box().X, b.Box().Y, b.Box().Width, b.Box().Height);
        Gdiplus::GpLineGradient* line = nullptr;
        gp::GdipCreateLineBrushFromRect(&box, b.Color1(), b.Color2(),
                                        static_cast<Gdiplus::LinearGradientMode>(b.Mode()),
                                        Gdiplus::WrapModeTile, &line);
        return line;
    }
    case TVectorBrush::TKind::PathGradient: {
        const auto& b = static_cast<const TVectorPathGradientBrush&>(brush);
        Gdiplus::GpPath* path = MakePath(b.Path());
        if (!path) return nullptr;
        Gdiplus::GpPathGradient* gradient = nullptr;
        gp::GdipCreatePathGradientFromPath(path, &gradient);
        gp::GdipDeletePath(path);
        if (!gradient) return nullptr;
        gp::GdipSetPathGradientCenterColor(gradient, b.CenterColor());
        Gdiplus::PointF center(b.CenterPoint().X, b.CenterPoint().Y);
        gp::GdipSetPathGradientCenterPoint(gradient, &center);
        Gdiplus::ARGB surround = b.SurroundColor();
        INT count = 1;
        gp::GdipSetPathGradientSurroundColorsWithCount(gradient, &surround, &count);
        return gradient;
    }
    }
    return nullptr;
}

} // namespace

/// GDI+ rasterises each shape without smoothing into a transparent picture of
/// the shape's box at `Scale` times the canvas's resolution; the samples of each
/// canvas pixel are averaged into its coverage and colour and laid over the
/// canvas. Smoothing is thereby the same wherever GDI+ runs, also where its own
/// anti-aliasing is missing (Wine's GDI+ draws every shape aliased).
struct TVectorGraphics::TSurface {
    int Scale = 1;
};

namespace {

constexpr int kSmoothScale = 8;

/// Runs `draw` on a transparent picture of the canvas region `box` at `scale`
/// samples per pixel and direction; a canvas pixel centre (an integer coordinate)
/// lands on the centre of its block of samples.
template <typename Draw>
std::vector<std::uint32_t> Samples(const TRect& box, TPoint origin, int scale, Draw& draw) {
    const int width = box.Width() * scale, height = box.Height() * scale;
    std::vector<std::uint32_t> samples(static_cast<std::size_t>(width) * height, 0);
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                                      reinterpret_cast<BYTE*>(samples.data()), &bitmap) != Gdiplus::Ok)
        return {};
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gp::GdipGetImageGraphicsContext(bitmap, &graphics) == Gdiplus::Ok) {
        gp::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeNone);
        gp::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeNone);
        const float half = (scale - 1) / 2.0f;
        Gdiplus::GpMatrix* matrix = nullptr;
        gp::GdipCreateMatrix2(static_cast<float>(scale), 0, 0, static_cast<float>(scale),
                              static_cast<float>(scale * (origin.X - box.Left)) + half,
                              static_cast<float>(scale * (origin.Y - box.Top)) + half, &matrix);
        gp::GdipSetWorldTransform(graphics, matrix);
        gp::GdipDeleteMatrix(matrix);
        draw(graphics);
        gp::GdipFlush(graphics, Gdiplus::FlushIntentionSync);
        gp::GdipDeleteGraphics(graphics);
    }
    gp::GdipDisposeImage(bitmap);
    return samples;
}

/// Draws one shape through `draw` into the canvas region `box` (device pixels).
/// Coverage is the share of a pixel's samples the shape covers. A gradient's
/// colour is taken at the pixel centre, as a gradient is evaluated elsewhere,
/// and from the samples only where the centre lies outside the shape.
template <typename Draw>
void Rasterise(std::uint32_t* pixels, int stride, const TRect& box, TPoint origin, int scale, bool shaded,
               Draw draw) {
    const std::vector<std::uint32_t> samples = Samples(box, origin, scale, draw);
    if (samples.empty()) return;
    std::vector<std::uint32_t> centres;
    if (shaded && scale > 1) centres = Samples(box, origin, 1, draw);
    const int width = box.Width() * scale;
    const unsigned count = static_cast<unsigned>(scale * scale);
    for (int y = 0; y < box.Height(); ++y) {
        std::uint32_t* out = pixels + static_cast<std::ptrdiff_t>(box.Top + y) * stride + box.Left;
        for (int x = 0; x < box.Width(); ++x, ++out) {
            unsigned a = 0, r = 0, g = 0, b = 0;
            for (int j = 0; j < scale; ++j) {
                const std::uint32_t* s = &samples[static_cast<std::size_t>(y * scale + j) * width +
                                                  static_cast<std::size_t>(x * scale)];
                for (int i = 0; i < scale; ++i) {
                    a += s[i] >> 24;
                    r += (s[i] >> 16) & 0xFF;
                    g += (s[i] >> 8) & 0xFF;
                    b += s[i] & 0xFF;
                }
            }
            if (a == 0) continue;
            if (!centres.empty()) {
                const std::uint32_t c = centres[static_cast<std::size_t>(y) * box.Width() + x];
                if ((c >> 24) == 0xFF) {
                    // The centre's colour, at the samples' coverage.
                    r = ((c >> 16) & 0xFF) * a / 255;
                    g = ((c >> 8) & 0xFF) * a / 255;
                    b = (c & 0xFF) * a / 255;
                }
            }
            // Premultiplied source over the opaque canvas, rounded to nearest.
            a = (a + count / 2) / count, r = (r + count / 2) / count;
            g = (g + count / 2) / count, b = (b + count / 2) / count;
            const unsigned keep = 255 - a;
            const std::uint32_t d = *out;
            const unsigned dr = (d >> 16) & 0xFF, dg = (d >> 8) & 0xFF, db = d & 0xFF;
            *out = std::min(255u, r + (dr * keep + 127) / 255) << 16 |
                   std::min(255u, g + (dg * keep + 127) / 255) << 8 |
                   std::min(255u, b + (db * keep + 127) / 255);
        }
    }
}

} // namespace

TVectorGraphics::TVectorGraphics(TCanvas& canvas) : canvas_(canvas) {
    Begin();
}

TVectorGraphics::~TVectorGraphics() {
    Finish();
}

void TVectorGraphics::Begin() {
    if (!canvas_.pixels_ || canvas_.clip_.Empty() || !StartGdiplus()) return;
    surface_ = std::make_unique<TSurface>();
    SetSmoothingMode(smoothing_);
}

void TVectorGraphics::Finish() {
    if (!surface_) return;
    surface_.reset();
    const TRect r = dirty_.Intersect(canvas_.clip_);
    if (!r.Empty()) canvas_.Changed();
}

void TVectorGraphics::SetSmoothingMode(TSmoothingMode mode) {
    smoothing_ = mode;
    if (!surface_) return;
    const bool smooth = mode == TSmoothingMode::AntiAlias || mode == TSmoothingMode::HighQuality;
    surface_->Scale = smooth ? kSmoothScale : 1;
}

namespace {

/// The device pixels a shape with these user-space bounds may touch, grown by `reach`.
TRect DeviceBox(const TRectF& bounds, float reach, TPoint origin) {
    const auto floorInt = [](float v) { return static_cast<int>(std::floor(std::clamp(v, -1e8f, 1e8f))); };
    const auto ceilInt = [](float v) { return static_cast<int>(std::ceil(std::clamp(v, -1e8f, 1e8f))); };
    return {floorInt(bounds.X - reach) + origin.X - 1, floorInt(bounds.Y - reach) + origin.Y - 1,
            ceilInt(bounds.X + bounds.Width + reach) + origin.X + 2,
            ceilInt(bounds.Y + bounds.Height + reach) + origin.Y + 2};
}

} // namespace

void TVectorGraphics::DrawPath(const TVectorPen& pen, const TVectorPath& path) {
    if (!surface_ || path.Empty()) return;
    const TRect box = DeviceBox(path.Bounds(), pen.Width(), canvas_.origin_).Intersect(canvas_.clip_);
    if (box.Empty()) return;
    Gdiplus::GpPath* p = MakePath(path);
    Gdiplus::GpPen* gpen = nullptr;
    // The width is in the drawing's own units, so it scales with the samples.
    gp::GdipCreatePen1(pen.Color(), pen.Width(), Gdiplus::UnitWorld, &gpen);
    if (p && gpen)
        Rasterise(canvas_.pixels_, canvas_.stride_, box, canvas_.origin_, surface_->Scale, false,
                  [&](Gdiplus::GpGraphics* g) { gp::GdipDrawPath(g, gpen, p); });
    if (gpen) gp::GdipDeletePen(gpen);
    if (p) gp::GdipDeletePath(p);
    dirty_ = dirty_.Union(box);
}

void TVectorGraphics::FillPath(const TVectorBrush& brush, const TVectorPath& path) {
    if (!surface_ || path.Empty()) return;
    const TRect box = DeviceBox(path.Bounds(), 0, canvas_.origin_).Intersect(canvas_.clip_);
    if (box.Empty()) return;
    Gdiplus::GpPath* p = MakePath(path);
    Gdiplus::GpBrush* b = MakeBrush(brush);
    if (p && b)
        Rasterise(canvas_.pixels_, canvas_.stride_, box, canvas_.origin_, surface_->Scale,
                  brush.Kind() != TVectorBrush::TKind::Solid,
                  [&](Gdiplus::GpGraphics* g) { gp::GdipFillPath(g, b, p); });
    if (b) gp::GdipDeleteBrush(b);
    if (p) gp::GdipDeletePath(p);
    dirty_ = dirty_.Union(box);
}

} // namespace emr
