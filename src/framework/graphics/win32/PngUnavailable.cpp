#include "framework/graphics/Png.h"

#include "framework/core/Exception.h"

namespace emr {

// Pictures are written as PNG by the developer tools and tests on Linux only; the
// Windows program never writes one.
void SavePng(const std::string& path, const std::uint32_t*, int, int, int) {
    throw Exception("Cannot write " + path + ": PNG output is not available in the Windows program");
}

} // namespace emr
