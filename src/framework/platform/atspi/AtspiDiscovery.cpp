#include "framework/platform/atspi/AtspiDiscovery.h"

#include <cstdlib>

#include "framework/platform/atspi/DBusMessage.h"

namespace emr::platform::atspi {

namespace {

constexpr const char* kAddressVariable = "AT_SPI_BUS_ADDRESS";
constexpr const char* kSessionVariable = "DBUS_SESSION_BUS_ADDRESS";
constexpr const char* kLauncherName = "org.a11y.Bus";
constexpr const char* kLauncherPath = "/org/a11y/bus";
constexpr const char* kStatus = "org.a11y.Status";
/// The session bus answers at once or not at all; the program must not hang on it.
constexpr int kStatusTimeoutMs = 1000;

/// One boolean property of org.a11y.Status; nullopt when it cannot be read.
std::optional<bool> ReadStatus(const TDBusLibrary& dbus, DBusConnection* session, const char* property) {
    DBusMessage* call = dbus.dbus_message_new_method_call(kLauncherName, kLauncherPath,
                                                          "org.freedesktop.DBus.Properties", "Get");
    TDBusWriter w(dbus, call);
    w.String(kStatus);
    w.String(property);
    DBusError error;
    dbus.dbus_error_init(&error);
    DBusMessage* reply =
        dbus.dbus_connection_send_with_reply_and_block(session, call, kStatusTimeoutMs, &error);
    dbus.dbus_message_unref(call);
    if (!reply) {
        dbus.dbus_error_free(&error);
        return std::nullopt;
    }
    const bool value = TDBusReader(dbus, reply).Variant().Boolean();
    dbus.dbus_message_unref(reply);
    return value;
}

} // namespace

std::optional<bool> TAtspiDiscovery::SessionSaysEnabled() {
    const char* address = std::getenv(kSessionVariable);
    const TDBusLibrary* dbus = address && *address ? TDBusLibrary::Get() : nullptr;
    if (!dbus) return std::nullopt;
    DBusError error;
    dbus->dbus_error_init(&error);
    DBusConnection* session = dbus->dbus_connection_open_private(address, &error);
    if (!session) {
        dbus->dbus_error_free(&error);
        return std::nullopt;
    }
    std::optional<bool> enabled;
    if (dbus->dbus_bus_register(session, &error)) {
        enabled = ReadStatus(*dbus, session, "IsEnabled");
        if (enabled == false) enabled = ReadStatus(*dbus, session, "ScreenReaderEnabled");
    } else {
        dbus->dbus_error_free(&error);
    }
    dbus->dbus_connection_close(session);
    dbus->dbus_connection_unref(session);
    return enabled;
}

std::optional<std::string> TAtspiDiscovery::BusAddress(const std::optional<std::string>& rootProperty) {
    if (const char* address = std::getenv(kAddressVariable); address && *address) return std::string(address);
    if (!rootProperty || rootProperty->empty()) return std::nullopt;
    // A session bus that cannot be asked leaves the launcher's word standing.
    if (SessionSaysEnabled() == false) return std::nullopt;
    return rootProperty;
}

} // namespace emr::platform::atspi
