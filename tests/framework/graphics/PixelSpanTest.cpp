// The wide pixel loops against the one-pixel-at-a-time rules they stand for, on
// runs whose lengths leave every possible tail.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "framework/graphics/PixelSpan.h"

namespace emr {
namespace {

TEST(PixelSpan, BlendRunMatchesTheByteRuleForEveryCoverage) {
    std::mt19937 random(7);
    for (std::size_t length : {0u, 1u, 3u, 4u, 5u, 8u, 13u, 256u}) {
        for (int round = 0; round < 40; ++round) {
            std::vector<std::uint32_t> run(length), expected(length);
            std::vector<std::uint8_t> alpha(length);
            const std::uint32_t pixel = random() & pixels::kRgbMask;
            for (std::size_t i = 0; i < length; ++i) {
                run[i] = random(); // high bytes set: untouched pixels keep them
                // Plenty of the two values with their own rules, and every other.
                const unsigned pick = random() % 4;
                alpha[i] = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<std::uint8_t>(random());
                if (length == 256) alpha[i] = static_cast<std::uint8_t>(i);
                expected[i] =
                    alpha[i] == 0 ? run[i] : pixels::Blend(run[i] & pixels::kRgbMask, pixel, alpha[i]);
            }
            pixels::BlendRun(run.data(), alpha.data(), length, pixel);
            for (std::size_t i = 0; i < length; ++i)
                ASSERT_EQ(run[i], expected[i])
                    << "length " << length << " pixel " << i << " alpha " << unsigned{alpha[i]};
        }
    }
    // The extremes of the rounding: black over white at every coverage.
    for (unsigned a = 0; a < 256; ++a)
        EXPECT_EQ(pixels::Blend(0xFFFFFF, 0x000000, a) & 0xFF, (255 * (255 - a) + 127) / 255);
}

TEST(PixelSpan, CopiesDropHighBytesAndKeyedCopiesSkipTheKey) {
    // Short runs, and long ones that take the 32-byte path with a tail.
    for (std::size_t length : {1u, 4u, 7u, 9u, 64u, 71u, 389u}) {
        std::vector<std::uint32_t> src(length), out(length, 0xAB000001u);
        for (std::size_t i = 0; i < length; ++i)
            src[i] = 0xFF000000u | (i % 3 == 0 ? 0x00FF00u : 0x123456u + static_cast<std::uint32_t>(i));
        pixels::CopyRgbExcept(out.data(), src.data(), length, 0x00FF00u);
        for (std::size_t i = 0; i < length; ++i)
            EXPECT_EQ(out[i], i % 3 == 0 ? 0xAB000001u : (src[i] & pixels::kRgbMask)) << i;
        pixels::CopyRgb(out.data(), src.data(), length);
        for (std::size_t i = 0; i < length; ++i)
            EXPECT_EQ(out[i], src[i] & pixels::kRgbMask) << i;
        pixels::Fill(out.data(), length, 0x010203u);
        for (std::size_t i = 0; i < length; ++i)
            EXPECT_EQ(out[i], 0x010203u) << i;
    }
}

} // namespace
} // namespace emr
