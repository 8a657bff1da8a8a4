#include "app/ProgramIcon.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace emr {

namespace {

// The picture in units of the icon's side (0..1), so that one description
// serves every size.
constexpr double kPageLeft = 0.17, kPageRight = 0.83, kPageTop = 0.06, kPageBottom = 0.94;
constexpr double kFold = 0.24;
constexpr double kTextLineHeight = 0.07;
constexpr double kTextLineLeft = 0.28, kTextLineRight = 0.60;
constexpr double kTextLineTops[] = {0.22, 0.36};
constexpr double kCheckWidth = 0.12;
constexpr double kCheckPoints[3][2] = {{0.30, 0.63}, {0.46, 0.80}, {0.80, 0.42}};

// Outlines stay one pixel wide at small sizes and grow slowly above.
constexpr int kPixelsPerOutline = 24;
// Each pixel is the average of this many samples per axis.
constexpr int kSamples = 4;

constexpr std::uint32_t kTransparent = 0x00000000;
constexpr std::uint32_t kPaper = 0xFFFFFFFF;
constexpr std::uint32_t kOutline = 0xFF2B4C7E;
constexpr std::uint32_t kFoldFace = 0xFFC9D6EA;
constexpr std::uint32_t kTextLine = 0xFF9AA8BC;
constexpr std::uint32_t kCheck = 0xFF2E9E3E;

struct TPoint2 {
    double X, Y;
};

// Inside the page outline inset by `inset`, the folded corner cut off.
bool InPage(TPoint2 p, double inset) {
    if (p.X < kPageLeft + inset || p.X > kPageRight - inset) return false;
    if (p.Y < kPageTop + inset || p.Y > kPageBottom - inset) return false;
    const double cornerX = kPageRight - kFold;
    return (p.X - cornerX) - (p.Y - kPageTop) <= -inset * std::sqrt(2.0);
}

// The turned-down flap: the triangle on the page's side of the cut corner.
bool InFold(TPoint2 p) {
    const double cornerX = kPageRight - kFold;
    return p.X >= cornerX && p.X <= kPageRight && p.Y >= kPageTop && p.Y <= kPageTop + kFold &&
           (p.X - cornerX) <= (p.Y - kPageTop);
}

bool OnFoldEdge(TPoint2 p, double outline) {
    const double fromLeft = p.X - (kPageRight - kFold), fromBottom = kPageTop + kFold - p.Y;
    return fromLeft < outline || fromBottom < outline ||
           (p.Y - kPageTop) - fromLeft < outline * std::sqrt(2.0);
}

bool InTextLine(TPoint2 p) {
    if (p.X < kTextLineLeft || p.X > kTextLineRight) return false;
    return std::any_of(std::begin(kTextLineTops), std::end(kTextLineTops),
                       [&](double top) { return p.Y >= top && p.Y <= top + kTextLineHeight; });
}

double DistanceToSegment(TPoint2 p, const double a[2], const double b[2]) {
    const double dx = b[0] - a[0], dy = b[1] - a[1];
    const double t = std::clamp(((p.X - a[0]) * dx + (p.Y - a[1]) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.X - (a[0] + t * dx), p.Y - (a[1] + t * dy));
}

bool InCheck(TPoint2 p) {
    const double half = kCheckWidth / 2;
    return DistanceToSegment(p, kCheckPoints[0], kCheckPoints[1]) <= half ||
           DistanceToSegment(p, kCheckPoints[1], kCheckPoints[2]) <= half;
}

// The colour at one sample point, the topmost layer first.
std::uint32_t ColorAt(TPoint2 p, double outline) {
    if (InCheck(p)) return kCheck;
    if (!InPage(p, 0)) return kTransparent;
    if (InFold(p)) return OnFoldEdge(p, outline) ? kOutline : kFoldFace;
    if (!InPage(p, outline)) return kOutline;
    if (InTextLine(p)) return kTextLine;
    return kPaper;
}

// Averages samples with their alpha, and gives the colour back straight.
std::uint32_t Average(const std::uint32_t (&samples)[kSamples * kSamples]) {
    double a = 0, r = 0, g = 0, b = 0;
    for (std::uint32_t s : samples) {
        const double alpha = (s >> 24) / 255.0;
        a += alpha;
        r += alpha * ((s >> 16) & 0xFF);
        g += alpha * ((s >> 8) & 0xFF);
        b += alpha * (s & 0xFF);
    }
    if (a == 0) return kTransparent;
    const auto channel = [&](double sum) { return static_cast<std::uint32_t>(std::lround(sum / a)); };
    const auto alpha = static_cast<std::uint32_t>(std::lround(a * 255 / (kSamples * kSamples)));
    return alpha << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
}

} // namespace

platform::TIconImage DrawProgramIcon(int size) {
    platform::TIconImage icon;
    icon.Size = size;
    icon.Pixels.resize(static_cast<std::size_t>(size) * size);
    const double outline = (1 + size / kPixelsPerOutline) / static_cast<double>(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            std::uint32_t samples[kSamples * kSamples];
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const TPoint2 p{(x + (sx + 0.5) / kSamples) / size, (y + (sy + 0.5) / kSamples) / size};
                    samples[sy * kSamples + sx] = ColorAt(p, outline);
                }
            icon.Pixels[static_cast<std::size_t>(y) * size + x] = Average(samples);
        }
    return icon;
}

platform::TProgramIdentity ProgramIdentity() {
    platform::TProgramIdentity identity;
    identity.Name = "emrpatch";
    identity.Title = "EmrPatch";
    for (int size : kProgramIconSizes)
        identity.Icons.push_back(DrawProgramIcon(size));
    return identity;
}

} // namespace emr
