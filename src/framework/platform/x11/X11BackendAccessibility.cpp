#include "framework/platform/x11/X11Backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "framework/platform/atspi/AtspiBridge.h"
#include "framework/platform/atspi/AtspiDiscovery.h"

namespace emr::platform::x11 {

namespace {

/// The root-window property where the accessibility bus launcher leaves the bus's address.
constexpr const char* kBusProperty = "AT_SPI_BUS";
/// Longer than any bus address (in 32-bit units, as Xlib counts).
constexpr long kBusPropertyLength = 1024;

} // namespace

std::optional<std::string> X11Backend::ReadAccessibilityBusProperty() {
    // An atom nobody made cannot name a property: no launcher ever ran on this display.
    const Atom property = XInternAtom(display_, kBusProperty, True);
    if (property == None) return std::nullopt;
    Atom actual = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::optional<std::string> address;
    if (XGetWindowProperty(display_, root_, property, 0, kBusPropertyLength, False, AnyPropertyType, &actual,
                           &format, &count, &after, &data) == Success &&
        data && format == 8 && count > 0)
        address = std::string(reinterpret_cast<const char*>(data), count);
    if (data) XFree(data);
    return address;
}

void X11Backend::SetAccessibleSource(AccessibleSource* source) {
    if (source == accessibleSource_) return;
    atspi_.reset();
    accessibleSource_ = source;
    if (!source) return;
    const std::optional<std::string> address =
        atspi::TAtspiDiscovery::BusAddress(ReadAccessibilityBusProperty());
    if (!address) return;
    const std::string name = identity_.Name.empty() ? std::string("program") : identity_.Name;
    atspi_ = atspi::TAtspiBridge::Connect(*address, *source, name);
}

void X11Backend::NotifyAccessible(TAccessibleEvent event, AccessibleId id) {
    if (atspi_) atspi_->Notify(event, id);
}

bool X11Backend::AccessibilityConnected() const {
    return atspi_ && atspi_->Fd() >= 0;
}

int X11Backend::AccessibilityFd() const {
    return atspi_ ? atspi_->Fd() : -1;
}

void X11Backend::DispatchAccessibility() {
    if (atspi_) atspi_->Dispatch();
}

} // namespace emr::platform::x11
