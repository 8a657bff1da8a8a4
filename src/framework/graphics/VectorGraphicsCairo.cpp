#include "framework/graphics/VectorGraphics.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "framework/graphics/Canvas.h"

namespace emr {

namespace {

constexpr double kDegrees = M_PI / 180.0;

void SetSourceArgb(cairo_t* cr, TARGB c) {
    cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                          ((c >> 24) & 0xFF) / 255.0);
}

void AddStop(cairo_pattern_t* pattern, double offset, TARGB c) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                      (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0);
}

/// The parameter of the point of an ellipse (semi-axes a, b) that lies at the
/// geometric angle `theta`: arcs are given by the angle of their points.
double EllipseParameter(double theta, double a, double b) {
    return std::atan2(a * std::sin(theta), b * std::cos(theta));
}

/// Replays a path on a cairo context (in the caller's coordinates).
void EmitPath(cairo_t* cr, const TVectorPath& path) {
    using Op = TVectorPath::Op;
    bool open = false;
    for (const TVectorPath::Piece& p : path.Pieces()) {
        switch (p.Kind) {
        case Op::Line:
            if (open)
                cairo_line_to(cr, p.A, p.B);
            else
                cairo_move_to(cr, p.A, p.B);
            cairo_line_to(cr, p.C, p.D);
            open = true;
            break;
        case Op::Arc: {
            if (p.C <= 0 || p.D <= 0) break;
            double a = p.C / 2.0, b = p.D / 2.0;
            double sweep = std::clamp(static_cast<double>(p.F), -360.0, 360.0);
            double t1 = EllipseParameter(p.E * kDegrees, a, b);
            double t2 = EllipseParameter((p.E + sweep) * kDegrees, a, b);
            if (std::fabs(sweep) >= 360.0) {
                t2 = t1 + (sweep > 0 ? 2 * M_PI : -2 * M_PI);
            } else if (sweep >= 0) {
                while (t2 < t1)
                    t2 += 2 * M_PI;
            } else {
                while (t2 > t1)
                    t2 -= 2 * M_PI;
            }
            if (!open) cairo_new_sub_path(cr);
            cairo_save(cr);
            cairo_translate(cr, p.A + a, p.B + b);
            cairo_scale(cr, a, b);
            if (sweep >= 0)
                cairo_arc(cr, 0, 0, 1, t1, t2);
            else
                cairo_arc_negative(cr, 0, 0, 1, t1, t2);
            cairo_restore(cr);
            open = true;
            break;
        }
        case Op::Ellipse:
            if (p.C <= 0 || p.D <= 0) break;
            cairo_new_sub_path(cr);
            cairo_save(cr);
            cairo_translate(cr, p.A + p.C / 2.0, p.B + p.D / 2.0);
            cairo_scale(cr, p.C / 2.0, p.D / 2.0);
            cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_restore(cr);
            cairo_close_path(cr);
            open = false;
            break;
        case Op::Rectangle:
            cairo_rectangle(cr, p.A, p.B, p.C, p.D);
            open = false;
            break;
        case Op::Close:
            if (open) cairo_close_path(cr);
            open = false;
            break;
        case Op::Start:
            open = false;
            break;
        }
    }
}

void ApplyLinear(cairo_t* cr, const TVectorLinearGradientBrush& brush) {
    const TRectF& box = brush.Box();
    const TARGB color1 = brush.Color1(), color2 = brush.Color2();
    const TLinearGradientMode mode = brush.Mode();
    if (box.Width <= 0 || box.Height <= 0) {
        SetSourceArgb(cr, color1);
        return;
    }
    double x0 = 0, y0 = 0, x1 = 1, y1 = 0;
    switch (mode) {
    case TLinearGradientMode::Horizontal:
        break;
    case TLinearGradientMode::Vertical:
        x1 = 0, y1 = 1;
        break;
    case TLinearGradientMode::ForwardDiagonal:
        x1 = 1, y1 = 1;
        break;
    case TLinearGradientMode::BackwardDiagonal:
        x0 = 1, y0 = 0, x1 = 0, y1 = 1;
        break;
    }
    // The gradient is laid out on the unit square that the box maps to.
    cairo_pattern_t* pattern = cairo_pattern_create_linear(x0, y0, x1, y1);
    AddStop(pattern, 0, color1);
    AddStop(pattern, 1, color2);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, 1.0 / box.Width, 1.0 / box.Height);
    cairo_matrix_translate(&m, -box.X, -box.Y);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
}

void ApplyPathGradient(cairo_t* cr, const TVectorPathGradientBrush& brush) {
    const TRectF& bounds = brush.Bounds();
    const TPointF center = brush.CenterPoint();
    const TARGB centerColor = brush.CenterColor(), surroundColor = brush.SurroundColor();
    // Nothing is painted outside the path.
    cairo_new_path(cr);
    EmitPath(cr, brush.Path());
    cairo_clip(cr);
    if (bounds.Width <= 0 || bounds.Height <= 0) {
        SetSourceArgb(cr, surroundColor);
        return;
    }
    // On the unit circle the path's box maps to, circles grown from the centre point
    // to the boundary carry the blend: each ray from the centre is interpolated linearly.
    double cx = bounds.X + bounds.Width / 2.0, cy = bounds.Y + bounds.Height / 2.0;
    double rx = bounds.Width / 2.0, ry = bounds.Height / 2.0;
    double fx = (center.X - cx) / rx, fy = (center.Y - cy) / ry;
    cairo_pattern_t* pattern = cairo_pattern_create_radial(fx, fy, 0, 0, 0, 1);
    AddStop(pattern, 0, centerColor);
    AddStop(pattern, 1, surroundColor);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, 1.0 / rx, 1.0 / ry);
    cairo_matrix_translate(&m, -cx, -cy);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
}

/// Makes `brush` the source of the cairo context.
void ApplyBrush(cairo_t* cr, const TVectorBrush& brush) {
    switch (brush.Kind()) {
    case TVectorBrush::TKind::Solid:
        SetSourceArgb(cr, static_cast<const TVectorSolidBrush&>(brush).Color());
        break;
    case TVectorBrush::TKind::LinearGradient:
        ApplyLinear(cr, static_cast<const TVectorLinearGradientBrush&>(brush));
        break;
    case TVectorBrush::TKind::PathGradient:
        ApplyPathGradient(cr, static_cast<const TVectorPathGradientBrush&>(brush));
        break;
    }
}

} // namespace

struct TVectorGraphics::TSurface {
    cairo_t* Cr = nullptr;
};

TVectorGraphics::TVectorGraphics(TCanvas& canvas) : canvas_(canvas) {
    Begin();
}

TVectorGraphics::~TVectorGraphics() {
    Finish();
}

void TVectorGraphics::Begin() {
    if (!canvas_.pixels_ || canvas_.clip_.Empty()) return;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(canvas_.pixels_), CAIRO_FORMAT_RGB24, canvas_.width_,
        canvas_.height_, canvas_.stride_ * 4);
    surface_ = std::make_unique<TSurface>();
    cairo_t* cr = surface_->Cr = cairo_create(surface);
    cairo_surface_destroy(surface);
    const TRect& clip = canvas_.clip_;
    cairo_rectangle(cr, clip.Left, clip.Top, clip.Width(), clip.Height());
    cairo_clip(cr);
    // Integer coordinates name pixel centres.
    if (canvas_.Transformed()) {
        // Logical pixel x's centre is x + 0.5, or mirrorWidth - x - 0.5 when mirrored.
        const double scale = canvas_.scale_;
        const bool mirrored = canvas_.mirrorWidth_ != 0;
        const double centreX = mirrored ? canvas_.mirrorWidth_ - 0.5 : 0.5;
        cairo_matrix_t matrix;
        cairo_matrix_init(&matrix, mirrored ? -scale : scale, 0, 0, scale,
                          (canvas_.origin_.X + centreX) * scale, (canvas_.origin_.Y + 0.5) * scale);
        cairo_set_matrix(cr, &matrix);
    } else {
        cairo_translate(cr, canvas_.origin_.X + 0.5, canvas_.origin_.Y + 0.5);
    }
    SetSmoothingMode(smoothing_);
}

void TVectorGraphics::Finish() {
    if (!surface_) return;
    cairo_surface_flush(cairo_get_target(surface_->Cr));
    cairo_destroy(surface_->Cr);
    surface_.reset();
    // The buffer's fourth byte stays zero whatever cairo left in it.
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
    cairo_t* cr = surface_->Cr;
    bool smooth = mode == TSmoothingMode::AntiAlias || mode == TSmoothingMode::HighQuality;
    cairo_set_antialias(cr, smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
}

namespace {

/// Grows `dirty` by the device box of user-space extents.
void AddExtents(cairo_t* cr, double x1, double y1, double x2, double y2, TRect& dirty) {
    double xs[4] = {x1, x2, x1, x2}, ys[4] = {y1, y1, y2, y2};
    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
    for (int i = 0; i < 4; ++i) {
        cairo_user_to_device(cr, &xs[i], &ys[i]);
        minX = std::min(minX, xs[i]);
        maxX = std::max(maxX, xs[i]);
        minY = std::min(minY, ys[i]);
        maxY = std::max(maxY, ys[i]);
    }
    auto clampInt = [](double v) { return static_cast<int>(std::clamp(v, -1e9, 1e9)); };
    TRect box{clampInt(std::floor(minX)) - 1, clampInt(std::floor(minY)) - 1, clampInt(std::ceil(maxX)) + 1,
              clampInt(std::ceil(maxY)) + 1};
    dirty = dirty.Union(box);
}

} // namespace

void TVectorGraphics::DrawPath(const TVectorPen& pen, const TVectorPath& path) {
    if (!surface_ || path.Empty()) return;
    cairo_t* cr = surface_->Cr;
    cairo_save(cr);
    cairo_new_path(cr);
    EmitPath(cr, path);
    cairo_set_line_width(cr, pen.Width());
    SetSourceArgb(cr, pen.Color());
    double x1, y1, x2, y2;
    cairo_stroke_extents(cr, &x1, &y1, &x2, &y2);
    AddExtents(cr, x1, y1, x2, y2, dirty_);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void TVectorGraphics::FillPath(const TVectorBrush& brush, const TVectorPath& path) {
    if (!surface_ || path.Empty()) return;
    cairo_t* cr = surface_->Cr;
    cairo_save(cr);
    ApplyBrush(cr, brush);
    cairo_new_path(cr);
    EmitPath(cr, path);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    double x1, y1, x2, y2;
    cairo_fill_extents(cr, &x1, &y1, &x2, &y2);
    AddExtents(cr, x1, y1, x2, y2, dirty_);
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace emr
