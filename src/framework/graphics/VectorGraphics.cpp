#include "framework/graphics/VectorGraphics.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

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

} // namespace

void TVectorPath::AddLine(float x1, float y1, float x2, float y2) {
    ops_.push_back({Op::Line, x1, y1, x2, y2, 0, 0});
}

void TVectorPath::AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    ops_.push_back({Op::Arc, x, y, width, height, startAngle, sweepAngle});
}

void TVectorPath::AddEllipse(float x, float y, float width, float height) {
    ops_.push_back({Op::Ellipse, x, y, width, height, 0, 0});
}

void TVectorPath::AddRectangle(float x, float y, float width, float height) {
    ops_.push_back({Op::Rectangle, x, y, width, height, 0, 0});
}

void TVectorPath::CloseFigure() {
    ops_.push_back({Op::Close, 0, 0, 0, 0, 0, 0});
}

void TVectorPath::StartFigure() {
    ops_.push_back({Op::Start, 0, 0, 0, 0, 0, 0});
}

TRectF TVectorPath::Bounds() const {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool any = false;
    auto add = [&](float x, float y) {
        if (!any) {
            x1 = x2 = x;
            y1 = y2 = y;
            any = true;
        }
        x1 = std::min(x1, x);
        x2 = std::max(x2, x);
        y1 = std::min(y1, y);
        y2 = std::max(y2, y);
    };
    for (const Piece& p : ops_) {
        switch (p.Kind) {
        case Op::Line:
            add(p.A, p.B);
            add(p.C, p.D);
            break;
        case Op::Arc:
        case Op::Ellipse:
        case Op::Rectangle:
            add(p.A, p.B);
            add(p.A + p.C, p.B + p.D);
            break;
        default:
            break;
        }
    }
    return {x1, y1, x2 - x1, y2 - y1};
}

int TVectorPath::PointCount() const {
    int count = 0;
    for (const Piece& p : ops_) {
        switch (p.Kind) {
        case Op::Line:
            count += 2;
            break;
        case Op::Arc:
            count +=
                1 + 3 * std::max(1, static_cast<int>(std::ceil(std::min(std::fabs(p.F), 360.0f) / 90.0f)));
            break;
        case Op::Ellipse:
            count += 13;
            break;
        case Op::Rectangle:
            count += 4;
            break;
        default:
            break;
        }
    }
    return count;
}

void TVectorPath::Emit(cairo_t* cr) const {
    bool open = false;
    for (const Piece& p : ops_) {
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

void TVectorSolidBrush::Apply(cairo_t* cr) const {
    SetSourceArgb(cr, color_);
}

void TVectorLinearGradientBrush::Apply(cairo_t* cr) const {
    if (box_.Width <= 0 || box_.Height <= 0) {
        SetSourceArgb(cr, color1_);
        return;
    }
    double x0 = 0, y0 = 0, x1 = 1, y1 = 0;
    switch (mode_) {
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
    AddStop(pattern, 0, color1_);
    AddStop(pattern, 1, color2_);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, 1.0 / box_.Width, 1.0 / box_.Height);
    cairo_matrix_translate(&m, -box_.X, -box_.Y);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
}

TVectorPathGradientBrush::TVectorPathGradientBrush(const TVectorPath& path)
    : path_(path), bounds_(path.Bounds()), pointCount_(path.PointCount()) {
    center_ = {bounds_.X + bounds_.Width / 2, bounds_.Y + bounds_.Height / 2};
}

void TVectorPathGradientBrush::SetSurroundColors(const std::vector<TARGB>& colors) {
    if (!colors.empty()) surroundColor_ = colors.front();
}

void TVectorPathGradientBrush::Apply(cairo_t* cr) const {
    // Nothing is painted outside the path.
    cairo_new_path(cr);
    path_.Emit(cr);
    cairo_clip(cr);
    if (bounds_.Width <= 0 || bounds_.Height <= 0) {
        SetSourceArgb(cr, surroundColor_);
        return;
    }
    // On the unit circle the path's box maps to, circles grown from the centre point
    // to the boundary carry the blend: each ray from the centre is interpolated linearly.
    double cx = bounds_.X + bounds_.Width / 2.0, cy = bounds_.Y + bounds_.Height / 2.0;
    double rx = bounds_.Width / 2.0, ry = bounds_.Height / 2.0;
    double fx = (center_.X - cx) / rx, fy = (center_.Y - cy) / ry;
    cairo_pattern_t* pattern = cairo_pattern_create_radial(fx, fy, 0, 0, 0, 1);
    AddStop(pattern, 0, centerColor_);
    AddStop(pattern, 1, surroundColor_);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, 1.0 / rx, 1.0 / ry);
    cairo_matrix_translate(&m, -cx, -cy);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
}

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
    cr_ = cairo_create(surface);
    cairo_surface_destroy(surface);
    const TRect& clip = canvas_.clip_;
    cairo_rectangle(cr_, clip.Left, clip.Top, clip.Width(), clip.Height());
    cairo_clip(cr_);
    // Integer coordinates name pixel centres.
    cairo_translate(cr_, canvas_.origin_.X + 0.5, canvas_.origin_.Y + 0.5);
    SetSmoothingMode(smoothing_);
}

void TVectorGraphics::Finish() {
    if (!cr_) return;
    cairo_surface_flush(cairo_get_target(cr_));
    cairo_destroy(cr_);
    cr_ = nullptr;
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
    if (!cr_) return;
    bool smooth = mode == TSmoothingMode::AntiAlias || mode == TSmoothingMode::HighQuality;
    cairo_set_antialias(cr_, smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
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
    if (!cr_ || path.Empty()) return;
    cairo_save(cr_);
    cairo_new_path(cr_);
    path.Emit(cr_);
    cairo_set_line_width(cr_, pen.Width());
    SetSourceArgb(cr_, pen.Color());
    double x1, y1, x2, y2;
    cairo_stroke_extents(cr_, &x1, &y1, &x2, &y2);
    AddExtents(cr_, x1, y1, x2, y2, dirty_);
    cairo_stroke(cr_);
    cairo_restore(cr_);
}

void TVectorGraphics::FillPath(const TVectorBrush& brush, const TVectorPath& path) {
    if (!cr_ || path.Empty()) return;
    cairo_save(cr_);
    brush.Apply(cr_);
    cairo_new_path(cr_);
    path.Emit(cr_);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    double x1, y1, x2, y2;
    cairo_fill_extents(cr_, &x1, &y1, &x2, &y2);
    AddExtents(cr_, x1, y1, x2, y2, dirty_);
    cairo_fill(cr_);
    cairo_restore(cr_);
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
