#include "framework/forms/DeviceMapping.h"

#include <cmath>
#include <limits>

namespace emr {

namespace {

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

/// Monitors are picked by the area they share with a rectangle.
long Overlap(const TRect& a, const TRect& b) {
    const TRect r = a.Intersect(b);
    return r.Empty() ? 0 : static_cast<long>(r.Width()) * r.Height();
}

long DistanceSquared(const TRect& r, TPoint p) {
    const long dx = p.X < r.Left ? r.Left - p.X : (p.X >= r.Right ? p.X - r.Right + 1 : 0);
    const long dy = p.Y < r.Top ? r.Top - p.Y : (p.Y >= r.Bottom ? p.Y - r.Bottom + 1 : 0);
    return dx * dx + dy * dy;
}

template <class Score>
TDeviceMapping Best(const std::vector<TDeviceMapping::TMonitor>& monitors, Score score) {
    if (monitors.empty()) return {};
    const TDeviceMapping::TMonitor* best = &monitors.front();
    long bestScore = std::numeric_limits<long>::min();
    for (const auto& m : monitors)
        if (const long s = score(m); s > bestScore) {
            bestScore = s;
            best = &m;
        }
    return best->Mapping();
}

} // namespace

int TDeviceMapping::ToDeviceX(int x) const {
    return origin_.X + Round((x - origin_.X) * scale_);
}

int TDeviceMapping::ToDeviceY(int y) const {
    return origin_.Y + Round((y - origin_.Y) * scale_);
}

int TDeviceMapping::ToDipX(int x) const {
    return origin_.X + Round((x - origin_.X) / scale_);
}

int TDeviceMapping::ToDipY(int y) const {
    return origin_.Y + Round((y - origin_.Y) / scale_);
}

TPoint TDeviceMapping::ToDevice(TPoint dip) const {
    return {ToDeviceX(dip.X), ToDeviceY(dip.Y)};
}

TPoint TDeviceMapping::ToDip(TPoint device) const {
    // A pointer anywhere on the device pixels of one DIP is on that DIP.
    return {origin_.X + static_cast<int>(std::floor((device.X - origin_.X + 0.5) / scale_)),
            origin_.Y + static_cast<int>(std::floor((device.Y - origin_.Y + 0.5) / scale_))};
}

TRect TDeviceMapping::ToDevice(const TRect& dip) const {
    return {ToDeviceX(dip.Left), ToDeviceY(dip.Top), ToDeviceX(dip.Right), ToDeviceY(dip.Bottom)};
}

TRect TDeviceMapping::ToDip(const TRect& device) const {
    return {ToDipX(device.Left), ToDipY(device.Top), ToDipX(device.Right), ToDipY(device.Bottom)};
}

TRect TDeviceMapping::ClientToDeviceOutward(const TRect& dip) const {
    return {static_cast<int>(std::floor(dip.Left * scale_)), static_cast<int>(std::floor(dip.Top * scale_)),
            static_cast<int>(std::ceil(dip.Right * scale_)),
            static_cast<int>(std::ceil(dip.Bottom * scale_))};
}

TRect TDeviceMapping::ClientToDipOutward(const TRect& device) const {
    return {static_cast<int>(std::floor(device.Left / scale_)),
            static_cast<int>(std::floor(device.Top / scale_)),
            static_cast<int>(std::ceil(device.Right / scale_)),
            static_cast<int>(std::ceil(device.Bottom / scale_))};
}

int TDeviceMapping::LengthToDip(int device) const {
    return Round(device / scale_);
}

TRect TDeviceMapping::TMonitor::Dip() const {
    const TDeviceMapping m = Mapping();
    return {Device.Left, Device.Top, m.ToDipX(Device.Right), m.ToDipY(Device.Bottom)};
}

std::vector<TDeviceMapping::TMonitor> TDeviceMapping::MonitorList() {
    std::vector<TMonitor> list;
    if (!platform::Backend::Installed()) return list;
    platform::Backend& be = platform::Backend::Current();
    const std::vector<TRect> monitors = be.Monitors();
    const std::vector<double> scales = be.MonitorScales();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        // A backend that reports no usable scale for a monitor draws it at 96 dpi.
        const double scale = i < scales.size() && scales[i] > 0 ? scales[i] : 1.0;
        list.push_back({monitors[i], scale});
    }
    return list;
}

TDeviceMapping TDeviceMapping::ForDipRect(const TRect& dip) {
    const auto monitors = MonitorList();
    return Best(monitors, [&](const TMonitor& m) { return Overlap(m.Dip(), dip); });
}

TDeviceMapping TDeviceMapping::ForDeviceRect(const TRect& device) {
    const auto monitors = MonitorList();
    return Best(monitors, [&](const TMonitor& m) { return Overlap(m.Device, device); });
}

TDeviceMapping TDeviceMapping::ForDevicePoint(TPoint device) {
    const auto monitors = MonitorList();
    return Best(monitors, [&](const TMonitor& m) { return -DistanceSquared(m.Device, device); });
}

} // namespace emr
