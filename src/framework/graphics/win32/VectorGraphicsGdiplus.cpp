// Anti-aliased drawing through GDI+, on the canvas's own pixels.
#include <algorithm>
#include <memory>

#include "framework/graphics/Canvas.h"
#include "framework/graphics/VectorGraphics.h"
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

/// The path as a GDI+ path (even-odd filling, as on every platform).
Gdiplus::GpPath* MakePath(const TVectorPath& path) {
    Gdiplus::GpPath* out = nullptr;
    if (gp::GdipCreatePath(Gdiplus::FillModeAlternate, &out) != Gdiplus::Ok) return nullptr;
    for (const TVectorPath::Piece& p : path.Pieces()) {
        switch (p.Kind) {
        case TVectorPath::Op::Line:
            gp::GdipAddPathLine(out, p.A, p.B, p.C, p.D);
            break;
        case TVectorPath::Op::Arc:
            if (p.C > 0 && p.D > 0) gp::GdipAddPathArc(out, p.A, p.B, p.C, p.D, p.E, std::clamp(p.F, -360.0f, 360.0f));
            break;
        case TVectorPath::Op::Ellipse:
            if (p.C > 0 && p.D > 0) gp::GdipAddPathEllipse(out, p.A, p.B, p.C, p.D);
            break;
        case TVectorPath::Op::Rectangle:
            gp::GdipAddPathRectangle(out, p.A, p.B, p.C, p.D);
            break;
        case TVectorPath::Op::Close:
            gp::GdipClosePathFigure(out);
            break;
        case TVectorPath::Op::Start:
            gp::GdipStartPathFigure(out);
            break;
        }
    }
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
                                        static_cast<Gdiplus::LinearGradientMode>(b.Mode()), Gdiplus::WrapModeTile,
                                        &line);
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

struct TVectorGraphics::TSurface {
    Gdiplus::GpBitmap* Bitmap = nullptr;
    Gdiplus::GpGraphics* Graphics = nullptr;
};

TVectorGraphics::TVectorGraphics(TCanvas& canvas) : canvas_(canvas) {
    Begin();
}

TVectorGraphics::~TVectorGraphics() {
    Finish();
}

void TVectorGraphics::Begin() {
    if (!canvas_.pixels_ || canvas_.clip_.Empty() || !StartGdiplus()) return;
    auto surface = std::make_unique<TSurface>();
    // 32 bits per pixel without alpha is the canvas's own 0x00RRGGBB layout.
    if (gp::GdipCreateBitmapFromScan0(canvas_.width_, canvas_.height_, canvas_.stride_ * 4, PixelFormat32bppRGB,
                                      reinterpret_cast<BYTE*>(canvas_.pixels_), &surface->Bitmap) != Gdiplus::Ok)
        return;
    if (gp::GdipGetImageGraphicsContext(surface->Bitmap, &surface->Graphics) != Gdiplus::Ok) {
        gp::GdipDisposeImage(surface->Bitmap);
        return;
    }
    const TRect& clip = canvas_.clip_;
    gp::GdipSetClipRectI(surface->Graphics, clip.Left, clip.Top, clip.Width(), clip.Height(),
                         Gdiplus::CombineModeReplace);
    // Integer coordinates name pixel centres (GDI+'s default pixel offset).
    gp::GdipSetPixelOffsetMode(surface->Graphics, Gdiplus::PixelOffsetModeNone);
    gp::GdipTranslateWorldTransform(surface->Graphics, static_cast<float>(canvas_.origin_.X),
                                    static_cast<float>(canvas_.origin_.Y), Gdiplus::MatrixOrderPrepend);
    surface_ = std::move(surface);
    SetSmoothingMode(smoothing_);
}

void TVectorGraphics::Finish() {
    if (!surface_) return;
    gp::GdipFlush(surface_->Graphics, Gdiplus::FlushIntentionSync);
    gp::GdipDeleteGraphics(surface_->Graphics);
    gp::GdipDisposeImage(surface_->Bitmap);
    surface_.reset();
    // The buffer's fourth byte stays zero whatever GDI+ left in it.
    TRect r = dirty_.Intersect(canvas_.clip_);
    for (int y = r.Top; y < r.Bottom; ++y) {
        std::uint32_t* p = canvas_.PixelAt(r.Left, y);
        for (int x = r.Left; x < r.Right; ++x, ++p)
            *p &= 0xFFFFFF;
    }
    if (!r.Empty()) canvas_.Changed();
}

void TVectorGraphics::SetSmoothingMode(TSmoothingMode mode) {
    smoothing_ = mode;
    if (!surface_) return;
    const bool smooth = mode == TSmoothingMode::AntiAlias || mode == TSmoothingMode::HighQuality;
    gp::GdipSetSmoothingMode(surface_->Graphics, smooth ? Gdiplus::SmoothingModeAntiAlias : Gdiplus::SmoothingModeNone);
}

// GDI+ reports no extents cheaply: whatever is drawn counts the whole clip as changed.
void TVectorGraphics::DrawPath(const TVectorPen& pen, const TVectorPath& path) {
    if (!surface_ || path.Empty()) return;
    Gdiplus::GpPath* p = MakePath(path);
    Gdiplus::GpPen* gpen = nullptr;
    gp::GdipCreatePen1(pen.Color(), pen.Width(), Gdiplus::UnitPixel, &gpen);
    if (p && gpen) gp::GdipDrawPath(surface_->Graphics, gpen, p);
    if (gpen) gp::GdipDeletePen(gpen);
    if (p) gp::GdipDeletePath(p);
    dirty_ = dirty_.Union(canvas_.clip_);
}

void TVectorGraphics::FillPath(const TVectorBrush& brush, const TVectorPath& path) {
    if (!surface_ || path.Empty()) return;
    Gdiplus::GpPath* p = MakePath(path);
    Gdiplus::GpBrush* b = MakeBrush(brush);
    if (p && b) gp::GdipFillPath(surface_->Graphics, b, p);
    if (b) gp::GdipDeleteBrush(b);
    if (p) gp::GdipDeletePath(p);
    dirty_ = dirty_.Union(canvas_.clip_);
}

void TVectorGraphics::DrawLine(const TVectorPen& pen, float x1, float y1, float x2, float y2) {
    TVectorPath path;
    path.AddLine(x1, y1, x2, y2);
    DrawPath(pen, path);
}

void TVectorGraphics::DrawRectangle(const TVectorPen& pen, float x, float y, float width, float height) {
    TVectorPath path;
    path.AddRectangle(x, y, width, height);
    DrawPath(pen, path);
}

void TVectorGraphics::DrawEllipse(const TVectorPen& pen, float x, float y, float width, float height) {
    TVectorPath path;
    path.AddEllipse(x, y, width, height);
    DrawPath(pen, path);
}

void TVectorGraphics::FillRectangle(const TVectorBrush& brush, float x, float y, float width, float height) {
    TVectorPath path;
    path.AddRectangle(x, y, width, height);
    FillPath(brush, path);
}

void TVectorGraphics::FillEllipse(const TVectorBrush& brush, float x, float y, float width, float height) {
    TVectorPath path;
    path.AddEllipse(x, y, width, height);
    FillPath(brush, path);
}

} // namespace emr
