// Feeds arbitrary bytes to the readers of the desktop's density settings: another
// program writes these properties, so they must never crash, read out of bounds or
// give a density that is not a positive number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/platform/x11/ScaleDiscovery.h"

using emr::platform::x11::ScaleDiscovery;

namespace {

void CheckDensity(const std::optional<double>& dpi) {
    if (dpi && !(std::isfinite(*dpi) && *dpi > 0)) __builtin_trap();
    if (!dpi) return;
    const double scale = ScaleDiscovery::ScaleOfDpi(*dpi);
    if (scale < ScaleDiscovery::kMinScale || scale > ScaleDiscovery::kMaxScale) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> settings(data, data + size);
    CheckDensity(ScaleDiscovery::XSettingsDpi(settings));
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckDensity(ScaleDiscovery::ResourceDpi(text));
    CheckDensity(ScaleDiscovery::OverrideScale(text));
    return 0;
}
