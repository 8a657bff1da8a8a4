#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "framework/platform/atspi/AtspiDiscovery.h"

namespace emr::platform::atspi {
namespace {

/// Sets (or, with nullopt, removes) an environment variable for one test.
class TVariable {
public:
    TVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Apply(value);
    }
    ~TVariable() { Apply(old_); }
    TVariable(const TVariable&) = delete;
    TVariable& operator=(const TVariable&) = delete;

private:
    void Apply(const std::optional<std::string>& value) const {
        if (value)
            setenv(name_, value->c_str(), 1);
        else
            unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

bool DBusLibraryLoaded() {
    void* handle = dlopen("libdbus-1.so.3", RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
}

// Runs first: once any test has loaded the library it stays loaded.
TEST(AtspiDiscoveryTest, WithoutAnAccessibilityBusNothingIsLoaded) {
    TVariable address("AT_SPI_BUS_ADDRESS", std::nullopt);
    ASSERT_FALSE(DBusLibraryLoaded()) << "the test program itself loads the library";
    EXPECT_EQ(TAtspiDiscovery::BusAddress(std::nullopt), std::nullopt);
    EXPECT_EQ(TAtspiDiscovery::BusAddress(std::string()), std::nullopt);
    EXPECT_FALSE(DBusLibraryLoaded()) << "the D-Bus library was loaded with no bus to talk to";
}

TEST(AtspiDiscoveryTest, TheAddressVariableNamesTheBusWhateverTheRootWindowSays) {
    TVariable address("AT_SPI_BUS_ADDRESS", "unix:path=/run/at-spi/bus");
    EXPECT_EQ(TAtspiDiscovery::BusAddress(std::nullopt), "unix:path=/run/at-spi/bus");
    EXPECT_EQ(TAtspiDiscovery::BusAddress(std::string("unix:path=/elsewhere")), "unix:path=/run/at-spi/bus");
}

TEST(AtspiDiscoveryTest, TheLaunchersAddressStandsWhenTheSessionBusCannotBeAsked) {
    TVariable address("AT_SPI_BUS_ADDRESS", std::nullopt);
    TVariable session("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/emr-test-bus");
    EXPECT_EQ(TAtspiDiscovery::BusAddress(std::string("unix:path=/run/at-spi/bus")),
              "unix:path=/run/at-spi/bus");
    TVariable noSession("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    EXPECT_EQ(TAtspiDiscovery::BusAddress(std::string("unix:path=/run/at-spi/bus")),
              "unix:path=/run/at-spi/bus");
}

} // namespace
} // namespace emr::platform::atspi
