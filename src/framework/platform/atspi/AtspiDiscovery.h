#pragma once

#include <optional>
#include <string>

namespace emr::platform::atspi {

/// Decides whether assistive technology may be listening, and where. Nothing is
/// loaded or connected unless the desktop has an accessibility bus: the
/// AT_SPI_BUS_ADDRESS variable names one, or the bus launcher has left its
/// address on the X root window (AT_SPI_BUS). A launcher that runs with
/// accessibility switched off (org.a11y.Status on the session bus says so)
/// does not count.
class TAtspiDiscovery {
public:
    /// The accessibility bus's address, or nullopt. `rootProperty` is the root
    /// window's AT_SPI_BUS property when it is set.
    static std::optional<std::string> BusAddress(const std::optional<std::string>& rootProperty);

private:
    /// What the session bus says of org.a11y.Status (IsEnabled or
    /// ScreenReaderEnabled); nullopt when it cannot be asked.
    static std::optional<bool> SessionSaysEnabled();
};

} // namespace emr::platform::atspi
