// The program's icon: the files kept for the desktop and the Windows resource
// are what the code draws for the X11 property.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/ProgramIcon.h"

namespace emr {
namespace {

const std::string kIcons = std::string(EMR_SOURCE_DIR) + "/src/app/icons/";

// A picture's pixels as 0xAARRGGBB, read through ImageMagick.
std::vector<std::uint32_t> ReadPixels(const std::string& picture) {
    std::vector<std::uint32_t> pixels;
    FILE* pipe = popen(("convert '" + picture + "' -depth 8 rgba:- 2>/dev/null").c_str(), "r");
    if (!pipe) return pixels;
    unsigned char rgba[4];
    while (std::fread(rgba, 1, 4, pipe) == 4)
        pixels.push_back(std::uint32_t{rgba[3]} << 24 | std::uint32_t{rgba[0]} << 16 |
                         std::uint32_t{rgba[1]} << 8 | rgba[2]);
    pclose(pipe);
    return pixels;
}

bool HaveImageMagick() {
    return std::system("convert -version >/dev/null 2>&1") == 0;
}

// Redrawn icons whose files were not made again (scripts/make-icons) would
// show one picture on X11 and another in launchers and on Windows.
TEST(ProgramIcon, TheDesktopFilesAndTheWindowsIconHoldWhatTheCodeDrawsAtEachSize) {
    if (!HaveImageMagick()) GTEST_SKIP() << "needs ImageMagick's convert";
    for (std::size_t i = 0; i < kProgramIconSizes.size(); ++i) {
        const int size = kProgramIconSizes[i];
        SCOPED_TRACE(size);
        const platform::TIconImage drawn = DrawProgramIcon(size);
        ASSERT_EQ(drawn.Pixels.size(), static_cast<std::size_t>(size * size));
        EXPECT_EQ(ReadPixels(kIcons + "emrpatch-" + std::to_string(size) + ".png"), drawn.Pixels);
        EXPECT_EQ(ReadPixels(kIcons + "emrpatch.ico[" + std::to_string(i) + "]"), drawn.Pixels);
    }
}

TEST(ProgramIcon, IsAPictureOnAClearGroundNotAFilledSquare) {
    for (int size : kProgramIconSizes) {
        SCOPED_TRACE(size);
        const std::vector<std::uint32_t> pixels = DrawProgramIcon(size).Pixels;
        const auto alpha = [](std::uint32_t p) { return p >> 24; };
        EXPECT_EQ(alpha(pixels.front()), 0u) << "top-left corner";
        EXPECT_EQ(alpha(pixels.back()), 0u) << "bottom-right corner";
        // The page and the check mark: opaque, and in more than two colours.
        std::vector<std::uint32_t> opaque;
        for (std::uint32_t p : pixels)
            if (alpha(p) == 0xFF) opaque.push_back(p);
        EXPECT_GT(opaque.size(), pixels.size() / 3);
        std::sort(opaque.begin(), opaque.end());
        EXPECT_GT(std::unique(opaque.begin(), opaque.end()) - opaque.begin(), 3);
    }
}

} // namespace
} // namespace emr
