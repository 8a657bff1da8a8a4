#include "framework/graphics/Bitmap.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "framework/core/Exception.h"
#include "framework/core/FileError.h"
#include "framework/graphics/BmpCodec.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Png.h"

namespace emr {

namespace {

constexpr std::uint32_t kWhitePixel = 0xFFFFFF;

} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) {
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_) return;
    if (width < 0 || height < 0)
        throw Exception("Invalid bitmap size " + std::to_string(width) + " x " + std::to_string(height));
    if (width > MaxDimension || height > MaxDimension || std::int64_t{width} * height > MaxPixels)
        throw Exception("Bitmap too large: " + std::to_string(width) + " x " + std::to_string(height));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                                      kWhitePixel);
    int keepW = std::min(width, width_), keepH = std::min(height, height_);
    for (int y = 0; y < keepH; ++y)
        std::copy_n(pixels_.data() + static_cast<std::size_t>(y) * width_, keepW,
                    pixels.data() + static_cast<std::size_t>(y) * width);
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    Rebind();
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (pixelFormat_ == format) return;
    pixelFormat_ = format;
    Changed();
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TCanvas>();
        canvas_->OnChange = [this](TObject*) { Changed(); };
        Rebind();
    }
    return canvas_.get();
}

void TBitmap::Rebind() {
    if (canvas_) canvas_->SetBuffer(pixels_.empty() ? nullptr : pixels_.data(), width_, height_, width_);
}

void TBitmap::SetTransparent(bool transparent) {
    if (transparent_ == transparent) return;
    transparent_ = transparent;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (transparentMode_ == mode) return;
    transparentMode_ = mode;
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == TTransparentMode::tmFixed) return transparentColor_;
    return Empty() ? clNone : Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
    if (transparentMode_ == TTransparentMode::tmFixed && transparentColor_ == color) return;
    transparentColor_ = color;
    transparentMode_ = TTransparentMode::tmFixed;
    Changed();
}

std::uint32_t* TBitmap::ScanLine(int y) {
    if (y < 0 || y >= height_) throw Exception("Scan line index out of range");
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
}

const std::uint32_t* TBitmap::ScanLine(int y) const {
    if (y < 0 || y >= height_) throw Exception("Scan line index out of range");
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
    return PixelToColor(pixels_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF);
}

void TBitmap::Assign(const TPersistent* source) {
    if (!source) {
        pixels_.clear();
        palette_.clear();
        width_ = height_ = 0;
        Rebind();
        Changed();
        return;
    }
    if (auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        if (bitmap == this) return;
        pixels_ = bitmap->pixels_;
        palette_ = bitmap->palette_;
        width_ = bitmap->width_;
        height_ = bitmap->height_;
        pixelFormat_ = bitmap->pixelFormat_;
        transparent_ = bitmap->transparent_;
        transparentMode_ = bitmap->transparentMode_;
        transparentColor_ = bitmap->transparentColor_;
        Rebind();
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TBitmap::LoadFromBmp(std::span<const std::uint8_t> data) {
    TBmpImage image = DecodeBmp(data);
    pixels_ = std::move(image.Pixels);
    palette_ = std::move(image.Palette);
    width_ = image.Width;
    height_ = image.Height;
    pixelFormat_ = image.Format;
    Rebind();
    Changed();
}

void TBitmap::LoadFromFile(const std::string& path) {
    const std::vector<std::uint8_t> data = ReadFileBytes(path);
    WithFileName(path, [&] { LoadFromBmp(data); });
}

std::vector<std::uint8_t> TBitmap::SaveToBmp() const {
    return EncodeBmp(pixels_.data(), width_, height_, width_, pixelFormat_, palette_);
}

void TBitmap::SaveToFile(const std::string& path) const {
    const std::vector<std::uint8_t> data = SaveToBmp();
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) throw Exception(FileErrorMessage("write", path, errno));
    const bool written = std::fwrite(data.data(), 1, data.size(), file.get()) == data.size();
    // Buffered bytes meet a full disk only when the file is closed.
    if (!written || std::fclose(file.release()) != 0) throw Exception(FileErrorMessage("write", path, errno));
}

std::vector<std::uint8_t> TBitmap::Data() const {
    if (Empty()) return {};
    return SaveToBmp();
}

void TBitmap::SetData(std::span<const std::uint8_t> data) {
    if (data.empty()) {
        Assign(nullptr);
        return;
    }
    // A length-prefixed file: four bytes giving the size of the file that follows.
    if (data.size() >= 6 && !(data[0] == 'B' && data[1] == 'M') && data[4] == 'B' && data[5] == 'M') {
        std::uint32_t length = data[0] | (data[1] << 8) | (data[2] << 16) | (std::uint32_t{data[3]} << 24);
        if (length > data.size() - 4)
            throw Exception("BMP: stored length " + std::to_string(length) + " exceeds the data");
        data = data.subspan(4, length);
    }
    LoadFromBmp(data);
}

void TBitmap::SavePng(const std::string& path) const {
    emr::SavePng(path, pixels_.data(), width_, height_, width_);
}

void TBitmap::Changed() {
    if (OnChange) OnChange(this);
}

} // namespace emr
