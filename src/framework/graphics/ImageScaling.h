#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace emr {

class TBitmap;
class TCanvas;

/// An image with its own transparency: 0x00RRGGBB pixels and a mask that is 1 where
/// a pixel is drawn, both Width x Height in rows.
struct TMaskedImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    std::vector<std::uint8_t> Opaque;
};

/// How an image of one stored size is brought to the device size it is drawn at.
enum class TImageFit {
    Exact,   // the stored size is the device size
    Centred, // close enough: drawn unscaled, centred on the device box
    Scaled,  // resampled to the device size
};

struct TImageSizeChoice {
    int Size = 0;
    TImageFit Fit = TImageFit::Exact;
};

/// Ratio of a stored size to the target (either way round) up to which the stored
/// images are drawn unscaled rather than resampled.
inline constexpr double kUnscaledSizeRatio = 1.5;

/// Which of the stored sizes (non-empty) serves a device box `target` pixels wide:
/// the exact size; else the closest within 1.5 times the target, unscaled (the
/// smaller on a tie); else a size the target is a whole multiple of (the largest),
/// or failing that the closest (the larger on a tie), resampled.
TImageSizeChoice ChooseImageSize(std::span<const int> sizes, int target);

/// Resamples to width x height: a whole-number enlargement repeats each pixel; any
/// other factor first repeats pixels up to the next whole factor, then averages
/// areas down, which keeps edges sharp. Colours are averaged over the drawn pixels
/// only and a pixel is drawn where at least half its area was, so no transparent
/// colour bleeds into the edges.
TMaskedImage ResampleImage(const TMaskedImage& source, int width, int height);

/// The bitmap with its transparent colour (when it is transparent) as the mask.
TMaskedImage MaskedImageOf(const TBitmap& bitmap);

/// The glyph bitmap as drawn into a device box `target` pixels wide (kept for reuse
/// while its contents stay the same; valid until the next call).
const TMaskedImage& DeviceGlyph(const TBitmap& bitmap, int target);

/// Draws a glyph bitmap in its Width x Height box at (x, y), leaving its transparent
/// colour out. At a scale other than 1.0 the glyph is brought to the device box by
/// the image-size rule (ChooseImageSize, ResampleImage) rather than stretched, and
/// is never mirrored.
void DrawGlyphBitmap(TCanvas& canvas, int x, int y, const TBitmap& bitmap);

/// Draws a glyph bitmap into a box of width x height logical pixels at (x, y), the
/// same way: a bitmap held at a larger size for finer devices fills the box's device
/// pixels without being scaled when its size is the device size (or close to it).
void DrawGlyphBitmap(TCanvas& canvas, int x, int y, int width, int height, const TBitmap& bitmap);

} // namespace emr
