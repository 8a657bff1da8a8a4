#pragma once

#include <cstdint>
#include <string>

namespace emr {

/// Writes 0x00RRGGBB pixels (stride in pixels) as an 8-bit RGB PNG file; throws
/// Exception when the file cannot be written.
void SavePng(const std::string& path, const std::uint32_t* pixels, int width, int height, int stride);

} // namespace emr
