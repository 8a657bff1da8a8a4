#include "framework/platform/x11/ScaleDiscovery.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>

#include "framework/platform/x11/XSettings.h"

namespace emr::platform::x11 {

namespace {

constexpr double kXSettingsDpiUnit = 1024.0;
constexpr double kMmPerInch = 25.4;
constexpr std::string_view kDpiSetting = "Xft/DPI";
constexpr std::string_view kDpiResource = "Xft.dpi";

// Sizes EDID holds as an aspect ratio when the true size is unknown (projectors,
// some televisions), in millimetres and in the centimetres drivers multiply by ten.
struct TAspectPlaceholder {
    int Width;
    int Height;
};
constexpr TAspectPlaceholder kAspectPlaceholders[] = {
    {4, 3}, {5, 4}, {16, 9}, {16, 10}, {40, 30}, {50, 40}, {160, 90}, {160, 100},
};

std::optional<double> PositiveNumber(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end || !std::isfinite(value) || value <= 0) return std::nullopt;
    return value;
}

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool IsAspectPlaceholder(int widthMm, int heightMm) {
    return std::any_of(
        std::begin(kAspectPlaceholders), std::end(kAspectPlaceholders),
        [&](const TAspectPlaceholder& p) { return p.Width == widthMm && p.Height == heightMm; });
}

long long Area(const TRect& r) {
    return r.Empty() ? 0 : static_cast<long long>(r.Width()) * r.Height();
}

} // namespace

double ScaleDiscovery::Snap(double scale) {
    if (!std::isfinite(scale)) return kMinScale;
    const double snapped = std::round(scale * kStepsPerUnit) / kStepsPerUnit;
    return std::clamp(snapped, kMinScale, kMaxScale);
}

double ScaleDiscovery::ScaleOfDpi(double dpi) {
    return Snap(dpi / kBaseDpi);
}

std::optional<double> ScaleDiscovery::OverrideScale(std::string_view text) {
    return PositiveNumber(Trimmed(text));
}

std::optional<double> ScaleDiscovery::XSettingsDpi(const std::vector<std::uint8_t>& settings) {
    const std::optional<std::int32_t> value = XSettings::Integer(std::span(settings), kDpiSetting);
    if (!value || *value <= 0) return std::nullopt;
    return *value / kXSettingsDpiUnit;
}

std::optional<double> ScaleDiscovery::ResourceDpi(std::string_view resources) {
    // One "name:\tvalue" per line; the last of repeated names wins, as in Xlib's database.
    std::optional<double> dpi;
    while (!resources.empty()) {
        const std::size_t end = std::min(resources.find('\n'), resources.size());
        const std::string_view line = resources.substr(0, end);
        resources.remove_prefix(std::min(end + 1, resources.size()));
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || Trimmed(line.substr(0, colon)) != kDpiResource) continue;
        dpi = PositiveNumber(Trimmed(line.substr(colon + 1)));
    }
    return dpi;
}

std::optional<double> ScaleDiscovery::MeasuredDpi(const TMonitorGeometry& monitor) {
    const int width = monitor.Bounds.Width();
    const int height = monitor.Bounds.Height();
    if (monitor.WidthMm <= 0 || monitor.HeightMm <= 0 || width <= 0 || height <= 0) return std::nullopt;
    if (IsAspectPlaceholder(monitor.WidthMm, monitor.HeightMm)) return std::nullopt;
    const double horizontal = width * kMmPerInch / monitor.WidthMm;
    const double vertical = height * kMmPerInch / monitor.HeightMm;
    if (std::max(horizontal, vertical) > std::min(horizontal, vertical) * kMaxAxisDisagreement)
        return std::nullopt;
    const double dpi = (horizontal + vertical) / 2;
    if (dpi < kMinPlausibleDpi || dpi > kMaxPlausibleDpi) return std::nullopt;
    if (std::abs(dpi - kBaseDpi) <= kBackComputedTolerance) return std::nullopt;
    return dpi;
}

TGlobalScale ScaleDiscovery::Global(const TScaleSources& sources) {
    if (sources.Override)
        if (const std::optional<double> forced = OverrideScale(*sources.Override))
            return {Snap(*forced), true};
    if (const std::optional<double> dpi = XSettingsDpi(sources.XSettings)) return {ScaleOfDpi(*dpi), false};
    if (const std::optional<double> dpi = ResourceDpi(sources.Resources)) return {ScaleOfDpi(*dpi), false};
    return {};
}

std::vector<double> ScaleDiscovery::MonitorScales(const TGlobalScale& global,
                                                  const std::vector<TMonitorGeometry>& monitors) {
    std::vector<double> scales;
    scales.reserve(monitors.size());
    for (const TMonitorGeometry& monitor : monitors) {
        const std::optional<double> dpi = global.Forced ? std::nullopt : MeasuredDpi(monitor);
        scales.push_back(dpi ? ScaleOfDpi(*dpi) : global.Scale);
    }
    return scales;
}

double ScaleDiscovery::WindowScale(const TRect& bounds, const std::vector<TMonitorGeometry>& monitors,
                                   const std::vector<double>& scales, double desktop) {
    double scale = desktop;
    long long largest = 0;
    for (std::size_t i = 0; i < monitors.size() && i < scales.size(); ++i) {
        const long long area = Area(bounds.Intersect(monitors[i].Bounds));
        if (area > largest) largest = area, scale = scales[i];
    }
    return scale;
}

} // namespace emr::platform::x11
