#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Color.h"

namespace emr {

/// A decoded BMP file: top-down rows of 0x00RRGGBB pixels.
struct TBmpImage {
    int Width = 0;
    int Height = 0;
    TPixelFormat Format = TPixelFormat::pf24bit;
    std::vector<std::uint32_t> Pixels;
    /// The colour table of an indexed file.
    std::vector<TColor> Palette;
};

/// Decodes a BMP file (1, 4, 8, 16, 24 and 32 bits; uncompressed or bit fields).
/// Anything malformed, unsupported or larger than TBitmap allows raises Exception
/// before any large allocation, and nothing is read past the data.
TBmpImage DecodeBmp(std::span<const std::uint8_t> data);

/// Encodes pixels (stride in pixels) as a BMP file at the given format. Indexed
/// formats use `palette` when every pixel is in it, otherwise a table built from
/// the pixels' colours, or a standard table with the nearest colours when there are
/// too many.
std::vector<std::uint8_t> EncodeBmp(const std::uint32_t* pixels, int width, int height, int stride,
                                    TPixelFormat format, const std::vector<TColor>& palette = {});

} // namespace emr
