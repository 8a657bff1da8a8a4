#pragma once

#include <vector>

#include "framework/core/Geometry.h"
#include "framework/platform/Backend.h"

namespace emr {

/// Where one top-level window's device-independent pixels (96 dpi = 1.0) meet
/// the backend's device pixels: the window's scale and the device origin of the
/// monitor it is on. A monitor's device-independent space starts at its device
/// origin and extends its size divided by its scale, so a point inside it lies at
/// origin + (dip - origin) * scale. Rectangles convert edge by edge, each edge
/// rounded, so that neighbours stay adjacent and a converted size may differ from
/// the scaled size by one pixel; nothing is ever converted back and forth in
/// place, so no size drifts.
class TDeviceMapping {
public:
    TDeviceMapping() = default;
    TDeviceMapping(double scale, TPoint origin) : scale_(scale), origin_(origin) {}

    double Scale() const { return scale_; }
    TPoint Origin() const { return origin_; }
    friend bool operator==(const TDeviceMapping&, const TDeviceMapping&) = default;

    // Screen coordinates.
    TPoint ToDevice(TPoint dip) const;
    /// The device-independent pixel holding a device pixel.
    TPoint ToDip(TPoint device) const;
    TRect ToDevice(const TRect& dip) const;
    TRect ToDip(const TRect& device) const;

    // Client coordinates (origin 0), for areas to repaint: grown to whole pixels.
    TRect ClientToDeviceOutward(const TRect& dip) const;
    TRect ClientToDipOutward(const TRect& device) const;
    /// A length such as a frame thickness.
    int LengthToDip(int device) const;

    /// One monitor as the framework sees it: device bounds and scale.
    struct TMonitor {
        TRect Device;
        double Scale = 1.0;
        TRect Dip() const;
        TDeviceMapping Mapping() const { return {Scale, {Device.Left, Device.Top}}; }
    };
    /// The backend's monitors (none without a backend).
    static std::vector<TMonitor> MonitorList();
    /// The mapping of the monitor whose device-independent space holds most of
    /// `dip` (the first monitor when none does; identity without monitors).
    static TDeviceMapping ForDipRect(const TRect& dip);
    /// The mapping of the monitor holding most of `device`.
    static TDeviceMapping ForDeviceRect(const TRect& device);
    /// The mapping of the monitor under a device point, or of the nearest one.
    static TDeviceMapping ForDevicePoint(TPoint device);

private:
    int ToDeviceX(int x) const;
    int ToDeviceY(int y) const;
    int ToDipX(int x) const;
    int ToDipY(int y) const;

    double scale_ = 1.0;
    TPoint origin_;
};

} // namespace emr
