#include "framework/graphics/ImageScaling.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

namespace emr {

namespace {

bool WithinUnscaledRatio(int size, int target) {
    const double ratio = static_cast<double>(std::max(size, target)) / std::min(size, target);
    return ratio <= kUnscaledSizeRatio;
}

/// Each pixel repeated factor x factor times.
TMaskedImage Enlarge(const TMaskedImage& source, int factorX, int factorY) {
    TMaskedImage out;
    out.Width = source.Width * factorX;
    out.Height = source.Height * factorY;
    out.Pixels.resize(static_cast<std::size_t>(out.Width) * out.Height);
    out.Opaque.resize(out.Pixels.size());
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x) {
            const std::size_t from = static_cast<std::size_t>(y / factorY) * source.Width + x / factorX;
            const std::size_t to = static_cast<std::size_t>(y) * out.Width + x;
            out.Pixels[to] = source.Pixels[from];
            out.Opaque[to] = source.Opaque[from];
        }
    return out;
}

/// Area averaging from a larger image down to width x height.
TMaskedImage Reduce(const TMaskedImage& source, int width, int height) {
    TMaskedImage out;
    out.Width = width;
    out.Height = height;
    out.Pixels.assign(static_cast<std::size_t>(width) * height, 0xFFFFFF);
    out.Opaque.assign(out.Pixels.size(), 0);
    const double sx = static_cast<double>(source.Width) / width,
                 sy = static_cast<double>(source.Height) / height;
    for (int y = 0; y < height; ++y) {
        const double y0 = y * sy, y1 = (y + 1) * sy;
        for (int x = 0; x < width; ++x) {
            const double x0 = x * sx, x1 = (x + 1) * sx;
            double covered = 0, total = 0, red = 0, green = 0, blue = 0;
            for (int j = static_cast<int>(y0); j < std::min(source.Height, static_cast<int>(std::ceil(y1)));
                 ++j) {
                const double wy = std::min<double>(j + 1, y1) - std::max<double>(j, y0);
                for (int i = static_cast<int>(x0);
                     i < std::min(source.Width, static_cast<int>(std::ceil(x1))); ++i) {
                    const double w = wy * (std::min<double>(i + 1, x1) - std::max<double>(i, x0));
                    if (w <= 0) continue;
                    total += w;
                    const std::size_t k = static_cast<std::size_t>(j) * source.Width + i;
                    if (!source.Opaque[k]) continue;
                    covered += w;
                    const std::uint32_t p = source.Pixels[k];
                    red += w * ((p >> 16) & 0xFF);
                    green += w * ((p >> 8) & 0xFF);
                    blue += w * (p & 0xFF);
                }
            }
            if (covered <= 0 || covered * 2 < total) continue;
            auto channel = [covered](double sum) {
                return static_cast<std::uint32_t>(std::clamp(std::nearbyint(sum / covered), 0.0, 255.0));
            };
            const std::size_t k = static_cast<std::size_t>(y) * width + x;
            out.Pixels[k] = channel(red) << 16 | channel(green) << 8 | channel(blue);
            out.Opaque[k] = 1;
        }
    }
    return out;
}

} // namespace

TImageSizeChoice ChooseImageSize(std::span<const int> sizes, int target) {
    if (sizes.empty() || target <= 0) return {};
    if (std::find(sizes.begin(), sizes.end(), target) != sizes.end()) return {target, TImageFit::Exact};
    auto closest = [&](bool preferLarger) {
        int best = sizes.front();
        for (int size : sizes) {
            const int d = std::abs(size - target), bestD = std::abs(best - target);
            if (d < bestD || (d == bestD && (preferLarger ? size > best : size < best))) best = size;
        }
        return best;
    };
    const int near = closest(false);
    if (WithinUnscaledRatio(near, target)) return {near, TImageFit::Centred};
    int multiple = 0;
    for (int size : sizes)
        if (target % size == 0) multiple = std::max(multiple, size);
    return {multiple != 0 ? multiple : closest(true), TImageFit::Scaled};
}

TMaskedImage ResampleImage(const TMaskedImage& source, int width, int height) {
    if (source.Width <= 0 || source.Height <= 0 || width <= 0 || height <= 0) return {};
    if (width == source.Width && height == source.Height) return source;
    if (width % source.Width == 0 && height % source.Height == 0)
        return Enlarge(source, width / source.Width, height / source.Height);
    const int factorX = std::max(1, (width + source.Width - 1) / source.Width);
    const int factorY = std::max(1, (height + source.Height - 1) / source.Height);
    if (factorX == 1 && factorY == 1) return Reduce(source, width, height);
    return Reduce(Enlarge(source, factorX, factorY), width, height);
}

TMaskedImage MaskedImageOf(const TBitmap& bitmap) {
    TMaskedImage image{bitmap.Width(), bitmap.Height(), {}, {}};
    const bool transparent = bitmap.Transparent();
    const std::uint32_t key = transparent ? ColorToPixel(ColorToRGB(bitmap.TransparentColor())) : 0;
    image.Pixels.reserve(static_cast<std::size_t>(image.Width) * image.Height);
    image.Opaque.reserve(image.Pixels.capacity());
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const std::uint32_t p = bitmap.ScanLine(y)[x] & 0xFFFFFF;
            image.Pixels.push_back(p);
            image.Opaque.push_back(!transparent || p != key ? 1 : 0);
        }
    return image;
}

namespace {

/// Glyphs are redrawn on every repaint: the resampled form of the few in use is kept,
/// found again by the source's contents, so a changed glyph is never drawn stale.
struct TGlyphKey {
    std::uint64_t Hash = 0;
    int Width = 0;
    int Height = 0;
    int Target = 0;
    bool operator==(const TGlyphKey&) const = default;
};

constexpr std::size_t kGlyphCacheSize = 32;

std::uint64_t ContentHash(const TMaskedImage& image) {
    // FNV-1a over the pixels and mask.
    constexpr std::uint64_t kOffset = 14695981039346656037ull, kPrime = 1099511628211ull;
    std::uint64_t h = kOffset;
    for (std::size_t k = 0; k < image.Pixels.size(); ++k) {
        h = (h ^ image.Pixels[k]) * kPrime;
        h = (h ^ image.Opaque[k]) * kPrime;
    }
    return h;
}

} // namespace

const TMaskedImage& DeviceGlyph(const TBitmap& bitmap, int target) {
    struct Entry {
        TGlyphKey Key;
        TMaskedImage Source;
        TMaskedImage Image;
    };
    thread_local std::vector<Entry> cache;
    TMaskedImage source = MaskedImageOf(bitmap);
    const TGlyphKey key{ContentHash(source), bitmap.Width(), bitmap.Height(), target};
    for (Entry& entry : cache)
        if (entry.Key == key && entry.Source.Pixels == source.Pixels && entry.Source.Opaque == source.Opaque)
            return entry.Image;
    const int sizes[] = {bitmap.Width()};
    const TImageSizeChoice choice = ChooseImageSize(sizes, target);
    TMaskedImage image = source;
    if (choice.Fit == TImageFit::Scaled) {
        const int height =
            static_cast<int>(std::lround(static_cast<double>(bitmap.Height()) * target / bitmap.Width()));
        image = ResampleImage(source, target, std::max(height, 1));
    }
    if (cache.size() >= kGlyphCacheSize) cache.erase(cache.begin());
    cache.push_back({key, std::move(source), std::move(image)});
    return cache.back().Image;
}

void DrawGlyphBitmap(TCanvas& canvas, int x, int y, const TBitmap& bitmap) {
    DrawGlyphBitmap(canvas, x, y, bitmap.Width(), bitmap.Height(), bitmap);
}

void DrawGlyphBitmap(TCanvas& canvas, int x, int y, int width, int height, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    if (canvas.Scale() == 1.0 && width == bitmap.Width() && height == bitmap.Height()) {
        canvas.Draw(x, y, &bitmap);
        return;
    }
    const TRect box = canvas.DeviceRect(TRect::FromBounds(x, y, width, height));
    if (box.Empty()) return;
    const TMaskedImage& image = DeviceGlyph(bitmap, box.Width());
    std::unique_ptr<TCanvas> device = canvas.DeviceCanvas();
    device->DrawMasked(box.Left + (box.Width() - image.Width) / 2,
                       box.Top + (box.Height() - image.Height) / 2, image.Pixels.data(), image.Opaque.data(),
                       image.Width, image.Height);
}

} // namespace emr
