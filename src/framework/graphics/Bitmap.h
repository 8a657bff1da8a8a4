#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"

namespace emr {

class TCanvas;

/// Bits per pixel a bitmap is saved with; pixels are always held as 32-bit 0x00RRGGBB.
enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

/// tmAuto: the transparent colour is the bottom-left pixel; tmFixed: TransparentColor as set.
enum class TTransparentMode { tmAuto, tmFixed };

/// An in-memory picture of 0x00RRGGBB pixels with a canvas to draw on it, read from
/// and written to BMP files.
class TBitmap : public TPersistent {
    EMR_CLASS(TBitmap)
public:
    /// Largest width or height a bitmap may have, and largest pixel count.
    static constexpr int MaxDimension = 32768;
    static constexpr std::int64_t MaxPixels = std::int64_t{1} << 25;

    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    /// Resizes, keeping the pixels that still fit; new pixels are white. Throws on a
    /// negative or oversized request.
    void SetSize(int width, int height);
    bool Empty() const { return width_ == 0 || height_ == 0; }

    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat format);
    /// The colour table read from an indexed file (kept for saving it again).
    const std::vector<TColor>& Palette() const { return palette_; }

    /// The canvas that draws on this bitmap.
    TCanvas* Canvas();

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);
    /// tmAuto: the colour of the bottom-left pixel (clNone when empty); tmFixed: as set.
    TColor TransparentColor() const;
    /// Stores the colour and switches to tmFixed.
    void SetTransparentColor(TColor color);

    /// Row y (0 = top) of Width pixels.
    std::uint32_t* ScanLine(int y);
    const std::uint32_t* ScanLine(int y) const;
    std::uint32_t* Bits() { return pixels_.data(); }
    const std::uint32_t* Bits() const { return pixels_.data(); }
    /// The colour of a pixel; clNone outside the bitmap.
    TColor Pixel(int x, int y) const;

    /// Copies a TBitmap (pixels, format, transparency); null empties this one.
    void Assign(const TPersistent* source) override;

    /// Reads a BMP file. Malformed or unsupported data raises Exception and leaves the
    /// bitmap as it was.
    void LoadFromBmp(std::span<const std::uint8_t> data);
    void LoadFromFile(const std::string& path);
    /// Writes a BMP file at the bitmap's pixel format (1, 4, 8, 16, 24 or 32 bits).
    std::vector<std::uint8_t> SaveToBmp() const;
    void SaveToFile(const std::string& path) const;
    /// The stored form used by layouts: a BMP file. SetData also accepts the file
    /// behind a 4-byte little-endian length.
    std::vector<std::uint8_t> Data() const;
    void SetData(std::span<const std::uint8_t> data);
    /// Writes the pixels as a PNG file.
    void SavePng(const std::string& path) const;

    /// Tells listeners that the picture changed (the canvas calls it after drawing).
    void Changed();

    TNotifyEvent OnChange;

private:
    void Rebind();

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    std::vector<TColor> palette_;
    TPixelFormat pixelFormat_ = TPixelFormat::pf24bit;
    bool transparent_ = false;
    TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
    TColor transparentColor_ = clNone;
    std::unique_ptr<TCanvas> canvas_;
};

} // namespace emr
