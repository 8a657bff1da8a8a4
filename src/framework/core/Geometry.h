#pragma once

#include <algorithm>

namespace emr {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

/// Left, Top, Right, Bottom in pixels; Right and Bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    static TRect FromBounds(int left, int top, int width, int height) {
        return {left, top, left + width, top + height};
    }
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Empty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    TRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
    TRect Intersect(const TRect& o) const {
        TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
                std::min(Bottom, o.Bottom)};
        return r.Empty() ? TRect{} : r;
    }
    /// The smallest rectangle holding both; an empty rectangle adds nothing.
    TRect Union(const TRect& o) const {
        if (Empty()) return o;
        if (o.Empty()) return *this;
        return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right),
                std::max(Bottom, o.Bottom)};
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

} // namespace emr
