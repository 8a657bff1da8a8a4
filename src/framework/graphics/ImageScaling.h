#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace emr {

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

} // namespace emr
