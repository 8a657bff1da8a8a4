// Feeds arbitrary bytes to the BMP reader: it must either decode or raise Exception,
// never crash, read out of bounds or allocate without bound. What it decodes must
// survive being written and read back.
#include <cstddef>
#include <cstdint>
#include <span>

#include "framework/core/Exception.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/BmpCodec.h"
#include "framework/graphics/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    try {
        emr::TBmpImage image = emr::DecodeBmp(bytes);
        if (image.Pixels.size() != static_cast<std::size_t>(image.Width) * image.Height) __builtin_trap();
        std::vector<std::uint8_t> again = emr::EncodeBmp(image.Pixels.data(), image.Width, image.Height,
                                                         image.Width, emr::TPixelFormat::pf24bit);
        emr::TBmpImage back = emr::DecodeBmp(again);
        if (back.Pixels != image.Pixels) __builtin_trap();
    } catch (const emr::Exception&) {
    }
    try {
        emr::TPicture picture;
        picture.SetData(bytes);
    } catch (const emr::Exception&) {
    }
    return 0;
}
