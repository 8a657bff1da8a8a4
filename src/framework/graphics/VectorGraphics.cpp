#include "framework/graphics/VectorGraphics.h"

#include <algorithm>
#include <cmath>

namespace emr {

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

TVectorPathGradientBrush::TVectorPathGradientBrush(const TVectorPath& path)
    : path_(path), bounds_(path.Bounds()), pointCount_(path.PointCount()) {
    center_ = {bounds_.X + bounds_.Width / 2, bounds_.Y + bounds_.Height / 2};
}

void TVectorPathGradientBrush::SetSurroundColors(const std::vector<TARGB>& colors) {
    if (!colors.empty()) surroundColor_ = colors.front();
}

// The shapes are paths, on every platform.

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
