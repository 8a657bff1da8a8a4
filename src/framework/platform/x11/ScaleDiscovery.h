#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Geometry.h"

namespace emr::platform::x11 {

/// A RandR monitor as the scale discovery sees it: where it is, in device pixels,
/// and the physical size it claims.
struct TMonitorGeometry {
    TRect Bounds;
    int WidthMm = 0;
    int HeightMm = 0;
};

/// What the desktop says about its density, as read from the server and the
/// environment; empty members were not there.
struct TScaleSources {
    /// The value of EMR_SCALE.
    std::optional<std::string> Override;
    /// The `_XSETTINGS_SETTINGS` property of the settings manager.
    std::vector<std::uint8_t> XSettings;
    /// The root window's RESOURCE_MANAGER string.
    std::string Resources;
};

/// The desktop's scale, and whether the user forced it on every monitor.
struct TGlobalScale {
    double Scale = 1.0;
    bool Forced = false;
};

/// Where an X11 window's scale comes from. In order of precedence:
/// 1. EMR_SCALE, a factor such as 1.5, forced on every monitor;
/// 2. the settings manager's `Xft/DPI` (1024ths of a dpi);
/// 3. `Xft.dpi` in the root window's resources;
/// these give the desktop's one scale (1.0 when none is set). A RandR monitor
/// whose physical size gives a plausible density has its own scale instead;
/// a size of 0 mm, an aspect ratio stored as a size (16 × 9 mm, 160 × 90 mm), and
/// a size the server worked back from 96 dpi are not measurements, and such a
/// monitor has the desktop's scale.
///
/// Every scale snaps to quarter steps between 1 and 4, so 120 dpi is 1.25, 144 dpi
/// exactly 1.5 and 192 dpi exactly 2.0, and a density a little off a step (a
/// monitor of 93 or 101 dpi) draws at the step instead of at a blurry fraction.
/// Halves round up (108 dpi is 1.25). Below 1 nothing is shrunk: the stored
/// layouts were made at 96 dpi and are the smallest size that is legible.
class ScaleDiscovery {
public:
    static constexpr double kBaseDpi = 96.0;
    static constexpr double kStepsPerUnit = 4.0;
    static constexpr double kMinScale = 1.0;
    static constexpr double kMaxScale = 4.0;
    /// A monitor whose size gives a density this close to 96 dpi had its size
    /// computed by the server, not measured.
    static constexpr double kBackComputedTolerance = 1.5;
    /// Densities outside this range are no real monitor's.
    static constexpr double kMinPlausibleDpi = 48.0;
    static constexpr double kMaxPlausibleDpi = 640.0;
    /// Horizontal and vertical density of a real monitor agree within this ratio.
    static constexpr double kMaxAxisDisagreement = 1.15;

    /// The scale a density gives, snapped and clamped.
    static double ScaleOfDpi(double dpi);
    /// `scale` snapped to a quarter step within [kMinScale, kMaxScale].
    static double Snap(double scale);

    /// The factor of an EMR_SCALE value ("1.5"), or nullopt for anything that is
    /// not a positive finite number.
    static std::optional<double> OverrideScale(std::string_view text);
    /// `Xft/DPI` of a settings property, in dpi; nullopt when absent, malformed or
    /// not positive (-1 means "the default").
    static std::optional<double> XSettingsDpi(const std::vector<std::uint8_t>& settings);
    /// `Xft.dpi` of a resource string, in dpi; nullopt when absent or not a positive number.
    static std::optional<double> ResourceDpi(std::string_view resources);
    /// The density a monitor's physical size gives, or nullopt when that size is
    /// no measurement.
    static std::optional<double> MeasuredDpi(const TMonitorGeometry& monitor);

    static TGlobalScale Global(const TScaleSources& sources);
    /// One scale per monitor, in the order given.
    static std::vector<double> MonitorScales(const TGlobalScale& global,
                                             const std::vector<TMonitorGeometry>& monitors);
    /// The scale of a window with client area `bounds`: that of the monitor holding
    /// the largest part of it (the first of equals), the desktop's when it is on none.
    static double WindowScale(const TRect& bounds, const std::vector<TMonitorGeometry>& monitors,
                              const std::vector<double>& scales, double desktop);
};

} // namespace emr::platform::x11
