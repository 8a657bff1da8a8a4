#include "framework/graphics/Png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/core/FileError.h"

namespace emr {

void SavePng(const std::string& path, const std::uint32_t* pixels, int width, int height, int stride) {
    if (width <= 0 || height <= 0 || !pixels) throw Exception("PNG: nothing to write to \"" + path + "\"");
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) throw Exception(FileErrorMessage("write", path, errno));
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw Exception("PNG: out of memory");
    }
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw Exception("PNG: cannot write \"" + path + "\"");
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* src = pixels + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<png_byte>(src[x] >> 16);
            row[x * 3 + 1] = static_cast<png_byte>(src[x] >> 8);
            row[x * 3 + 2] = static_cast<png_byte>(src[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    // A full disk shows only when the buffered rest is written out.
    if (std::fflush(file.get()) != 0 || std::ferror(file.get()))
        throw Exception(FileErrorMessage("write", path, errno));
}

} // namespace emr
