#pragma once
// Runs of 0x00RRGGBB pixels: the inner loops of fills and copies. Every repaint
// writes whole windows through these, so they move 16 bytes at a time where the
// processor allows; the results are the same as the plain loops.
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// Long copies take 32 bytes at a time on 64-bit processors that have AVX2,
// chosen when the program runs.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)
#define EMR_PIXELS_AVX2 1
#include <immintrin.h>
#endif

namespace emr::pixels {

inline constexpr std::uint32_t kRgbMask = 0xFFFFFF;

#if defined(EMR_PIXELS_AVX2)
/// CopyRgb for processors with AVX2; `count` is a multiple of 8.
__attribute__((target("avx2"))) inline void CopyRgbWide(std::uint32_t* out, const std::uint32_t* src,
                                                        std::size_t count) {
    const __m256i mask = _mm256_set1_epi32(static_cast<int>(kRgbMask));
    for (std::size_t i = 0; i < count; i += 8) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_and_si256(v, mask));
    }
}

inline bool HasWideVectors() {
    static const bool wide = __builtin_cpu_supports("avx2");
    return wide;
}
#endif

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
#if defined(EMR_PIXELS_AVX2)
    if (count >= 64 && HasWideVectors()) {
        i = count & ~std::size_t{7};
        CopyRgbWide(out, src, i);
    }
#endif
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

/// `pixel` laid over `dst` with coverage `alpha` (0..255), each colour byte rounded
/// as (d * (255 - a) + s * a + 127) / 255. Full coverage gives `pixel` itself.
inline std::uint32_t Blend(std::uint32_t dst, std::uint32_t pixel, unsigned alpha) {
    if (alpha >= 255) return pixel;
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned d = (dst >> shift) & 0xFF, s = (pixel >> shift) & 0xFF;
        out |= ((d * (255 - alpha) + s * alpha + 127) / 255) << shift;
    }
    return out;
}

/// Lays `pixel` over a run with one coverage byte per pixel; pixels without
/// coverage keep every byte they had.
inline void BlendRun(std::uint32_t* out, const std::uint8_t* alpha, std::size_t count, std::uint32_t pixel) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgbMask));
    const __m128i full = _mm_set1_epi16(255);
    const __m128i half = _mm_set1_epi16(127);
    const __m128i one = _mm_set1_epi16(1);
    const __m128i src = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(pixel & kRgbMask)), zero);
    // Sixteen-bit lanes hold each byte's d * (255 - a) + s * a + 127 (at most 65152);
    // (n + 1 + (n >> 8)) >> 8 is n / 255 for every such n.
    auto blendTwo = [&](__m128i d16, __m128i a16) {
        __m128i n = _mm_add_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(full, a16)), _mm_mullo_epi16(src, a16));
        n = _mm_add_epi16(n, half);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(n, one), _mm_srli_epi16(n, 8)), 8);
    };
    for (; i + 4 <= count; i += 4) {
        std::uint32_t four;
        std::memcpy(&four, alpha + i, sizeof four);
        if (four == 0) continue;
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
        const __m128i a16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(four)), zero);
        const __m128i pairs = _mm_unpacklo_epi16(a16, a16);
        const __m128i lo = blendTwo(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi32(pairs, pairs));
        const __m128i hi = blendTwo(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi32(pairs, pairs));
        const __m128i blended = _mm_and_si128(_mm_packus_epi16(lo, hi), rgb);
        const __m128i untouched = _mm_cmpeq_epi32(_mm_unpacklo_epi16(a16, zero), zero);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_or_si128(_mm_and_si128(untouched, d), _mm_andnot_si128(untouched, blended)));
    }
#endif
    for (; i < count; ++i)
        if (alpha[i] != 0) out[i] = Blend(out[i] & kRgbMask, pixel, alpha[i]);
}

} // namespace emr::pixels
