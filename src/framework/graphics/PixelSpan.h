#pragma once
// Runs of 0x00RRGGBB pixels: the inner loops of fills and copies. Every repaint
// writes whole windows through these, so they move 16 bytes at a time where the
// processor allows; the results are the same as the plain loops.
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace emr::pixels {

inline constexpr std::uint32_t kRgbMask = 0xFFFFFF;

/// Sets `count` pixels from `out` on to `pixel`.
inline void Fill(std::uint32_t* out, std::size_t count, std::uint32_t pixel) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i v = _mm_set1_epi32(static_cast<int>(pixel));
    for (; i + 8 <= count; i += 8) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), v);
    }
    for (; i + 4 <= count; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), v);
#endif
    for (; i < count; ++i)
        out[i] = pixel;
}

/// Copies `count` pixels, dropping whatever a source keeps above the colour bytes.
/// The two runs must not overlap.
inline void CopyRgb(std::uint32_t* out, const std::uint32_t* src, std::size_t count) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kRgbMask));
    for (; i + 4 <= count; i += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_and_si128(v, mask));
    }
#endif
    for (; i < count; ++i)
        out[i] = src[i] & kRgbMask;
}

/// Copies the pixels of a run that differ from `key` (colour bytes only), leaving
/// the others as they are.
inline void CopyRgbExcept(std::uint32_t* out, const std::uint32_t* src, std::size_t count,
                          std::uint32_t key) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kRgbMask));
    const __m128i keyv = _mm_set1_epi32(static_cast<int>(key & kRgbMask));
    for (; i + 4 <= count; i += 4) {
        __m128i v = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)), mask);
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
        __m128i keep = _mm_cmpeq_epi32(v, keyv);
        __m128i merged = _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, v));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), merged);
    }
#endif
    for (; i < count; ++i) {
        std::uint32_t v = src[i] & kRgbMask;
        if (v != (key & kRgbMask)) out[i] = v;
    }
}

} // namespace emr::pixels
