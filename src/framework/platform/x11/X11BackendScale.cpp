#include "framework/platform/x11/X11Backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "framework/platform/x11/X11BackendInternals.h"

namespace emr::platform::x11 {

namespace {

constexpr const char* kScaleOverrideVariable = "EMR_SCALE";
constexpr long kRootScaleEvents = PropertyChangeMask | StructureNotifyMask;
constexpr long kXSettingsOwnerEvents = PropertyChangeMask | StructureNotifyMask;
// Enough for any real settings or resource list; a longer one is read in part.
constexpr long kMaxPropertyWords = 1L << 16;
constexpr int kRandrMonitorsMajor = 1;
constexpr int kRandrMonitorsMinor = 5;
// Scaled sizes a hair above a whole pixel from floating-point error are that pixel.
constexpr double kRoundingSlack = 1e-9;

std::vector<std::uint8_t> ReadBytes(Display* dpy, Window window, Atom property, Atom type) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<std::uint8_t> bytes;
    if (XGetWindowProperty(dpy, window, property, 0, kMaxPropertyWords, False, type, &actual, &format, &count,
                           &after, &data) == Success &&
        actual == type && format == 8 && data)
        bytes.assign(data, data + count);
    if (data) XFree(data);
    return bytes;
}

} // namespace

std::vector<TMonitorGeometry> X11Backend::ReadMonitors() {
    std::vector<TMonitorGeometry> monitors;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (XRRQueryExtension(display_, &eventBase, &errorBase) && XRRQueryVersion(display_, &major, &minor) &&
        (major > kRandrMonitorsMajor || (major == kRandrMonitorsMajor && minor >= kRandrMonitorsMinor))) {
        int count = 0;
        XRRMonitorInfo* info = XRRGetMonitors(display_, root_, True, &count);
        for (int i = 0; info && i < count; ++i) {
            const TMonitorGeometry m{TRect::FromBounds(info[i].x, info[i].y, info[i].width, info[i].height),
                                     info[i].mwidth, info[i].mheight};
            // The primary monitor comes first, as the framework's screen expects.
            if (info[i].primary)
                monitors.insert(monitors.begin(), m);
            else
                monitors.push_back(m);
        }
        if (info) XRRFreeMonitors(info);
    }
    if (monitors.empty())
        monitors.push_back(
            {ScreenRect(), DisplayWidthMM(display_, screen_), DisplayHeightMM(display_, screen_)});
    return monitors;
}

TScaleSources X11Backend::ReadScaleSources() {
    TScaleSources sources;
    if (const char* forced = std::getenv(kScaleOverrideVariable)) sources.Override = forced;
    if (xsettingsOwner_)
        sources.XSettings =
            ReadBytes(display_, xsettingsOwner_, A(XSETTINGS_SETTINGS), A(XSETTINGS_SETTINGS));
    // Xlib's copy of the resources is the one from when the connection opened;
    // the property is what the desktop says now.
    const std::vector<std::uint8_t> resources = ReadBytes(display_, root_, XA_RESOURCE_MANAGER, XA_STRING);
    sources.Resources.assign(resources.begin(), resources.end());
    return sources;
}

// Follows the settings manager, the resources and the monitors from the first
// time a scale is needed: a program that never asks pays nothing at start-up.
void X11Backend::WatchScaleSources() {
    XSelectInput(display_, root_, kRootScaleEvents);
    const std::string selection = "_XSETTINGS_S" + std::to_string(screen_);
    xsettingsSelection_ = XInternAtom(display_, selection.c_str(), False);
    int errorBase = 0;
    if (XRRQueryExtension(display_, &randrEventBase_, &errorBase))
        XRRSelectInput(display_, root_, RRScreenChangeNotifyMask);
    else
        randrEventBase_ = -1;
    WatchXSettingsOwner();
}

void X11Backend::WatchXSettingsOwner() {
    // Held so that the owner cannot go between asking for it and watching it.
    XGrabServer(display_);
    xsettingsOwner_ = XGetSelectionOwner(display_, xsettingsSelection_);
    if (xsettingsOwner_) XSelectInput(display_, xsettingsOwner_, kXSettingsOwnerEvents);
    XUngrabServer(display_);
    XFlush(display_);
}

void X11Backend::EnsureScales() {
    if (scalesKnown_) return;
    scalesKnown_ = true;
    WatchScaleSources();
    globalScale_ = ScaleDiscovery::Global(ReadScaleSources());
    monitors_ = ReadMonitors();
    monitorScales_ = ScaleDiscovery::MonitorScales(globalScale_, monitors_);
}

void X11Backend::RefreshScales() {
    scalesKnown_ = false;
    EnsureScales();
    for (auto& [id, w] : windows_)
        UpdateWindowScale(*w);
}

void X11Backend::UpdateWindowScale(TWindow& w) {
    EnsureScales();
    const double scale = ScaleDiscovery::WindowScale(w.Bounds, monitors_, monitorScales_, globalScale_.Scale);
    if (scale == w.Scale) return;
    const double ratio = scale / w.Scale;
    w.Scale = scale;
    TEvent e;
    e.Type = TEventType::ScaleChanged;
    e.Window = w.Id;
    // X suggests nothing; the backend suggests what Windows would: the same
    // top-left and the client's size in device-independent pixels kept, rounded
    // up so that what was laid out to fit still fits.
    const auto scaled = [ratio](int pixels) {
        return static_cast<int>(std::ceil(pixels * ratio - kRoundingSlack));
    };
    e.Rect =
        TRect::FromBounds(w.Bounds.Left, w.Bounds.Top, scaled(w.Bounds.Width()), scaled(w.Bounds.Height()));
    pending_.push_back(std::move(e));
}

std::vector<double> X11Backend::MonitorScales() {
    // The settings manager is known only once it is watched.
    EnsureScales();
    const std::vector<TMonitorGeometry> monitors = ReadMonitors();
    return ScaleDiscovery::MonitorScales(ScaleDiscovery::Global(ReadScaleSources()), monitors);
}

double X11Backend::WindowScale(WindowId window) {
    if (const TWindow* w = Find(window)) return w->Scale;
    EnsureScales();
    return globalScale_.Scale;
}

// The events that change a scale: the resources or the settings manager's
// properties changing, another settings manager taking over or the last one
// going, and the monitors changing. True when the event was one of them.
bool X11Backend::TranslateScaleEvent(const _XEvent& event) {
    if (!scalesKnown_) return false;
    const Window window = event.xany.window;
    switch (event.type) {
    case PropertyNotify:
        if (window == root_ && event.xproperty.atom == XA_RESOURCE_MANAGER) break;
        if (window == xsettingsOwner_ && window && event.xproperty.atom == A(XSETTINGS_SETTINGS)) break;
        return false;
    case ClientMessage:
        if (window != root_ || event.xclient.message_type != A(MANAGER) ||
            static_cast<Atom>(event.xclient.data.l[1]) != xsettingsSelection_)
            return false;
        WatchXSettingsOwner();
        break;
    case DestroyNotify:
        if (!xsettingsOwner_ || event.xdestroywindow.window != xsettingsOwner_) return false;
        WatchXSettingsOwner();
        break;
    case ConfigureNotify:
        if (window != root_) return false;
        break;
    default:
        if (randrEventBase_ < 0 || event.type != randrEventBase_ + RRScreenChangeNotify) return false;
        XRRUpdateConfiguration(const_cast<_XEvent*>(&event));
        break;
    }
    RefreshScales();
    return true;
}

} // namespace emr::platform::x11
