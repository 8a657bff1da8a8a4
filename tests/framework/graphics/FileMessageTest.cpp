// What the graphics layer says when a picture file cannot be read or written:
// which file, and the system's reason or what is wrong inside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <unistd.h>

#include "framework/core/Exception.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"
#include "framework/graphics/Png.h"

namespace emr {
namespace {

namespace fs = std::filesystem;

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.what();
    }
    return "(nothing raised)";
}

class FileMessageTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) / ("emr-file-messages-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    std::string In(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

// "Cannot open file" used to end at the file's name, without the reason.
TEST_F(FileMessageTest, AFileThatCannotBeOpenedOrReadIsNamedWithTheSystemsReason) {
    const std::string missing = In("missing.bmp");
    const std::string expected = "Cannot open file \"" + missing + "\": No such file or directory";
    EXPECT_EQ(MessageOf([&] { TBitmap().LoadFromFile(missing); }), expected);
    EXPECT_EQ(MessageOf([&] { TPicture().LoadFromFile(missing); }), expected);

#ifndef _WIN32
    // A folder opens, and fails at the first read; it was taken for a short picture.
    const std::string folder = In("pictures");
    fs::create_directories(folder);
    EXPECT_EQ(MessageOf([&] { TBitmap().LoadFromFile(folder); }),
              "Cannot read file \"" + folder + "\": Is a directory");
#endif
}

// The decoder saw only bytes, so "BMP: not a bitmap file" did not say which file.
TEST_F(FileMessageTest, AFileThatIsNotABitmapIsNamedInFrontOfWhatIsWrongWithIt) {
    const std::string text = In("notes.bmp");
    std::ofstream(text) << "not a picture";
    const std::string expected = "\"" + text + "\": BMP: not a bitmap file (no BM signature)";
    EXPECT_EQ(MessageOf([&] { TBitmap().LoadFromFile(text); }), expected);
    EXPECT_EQ(MessageOf([&] { TPicture().LoadFromFile(text); }), expected);
}

TEST_F(FileMessageTest, AFileThatCannotBeWrittenIsNamedWithTheSystemsReason) {
    TBitmap bitmap(4, 3);
    const std::string nowhere = In("no-such-folder/shot.bmp");
    EXPECT_EQ(MessageOf([&] { bitmap.SaveToFile(nowhere); }),
              "Cannot write file \"" + nowhere + "\": No such file or directory");
    const std::uint32_t pixels[4] = {};
    EXPECT_EQ(MessageOf([&] { SavePng(In("no-such-folder/shot.png"), pixels, 2, 2, 2); }),
              "Cannot write file \"" + In("no-such-folder/shot.png") + "\": No such file or directory");
}

// A full disk shows only when the buffered bytes go out: the bitmap and the PNG
// were reported saved although nothing was.
TEST_F(FileMessageTest, AFullDiskIsAFailureNotASave) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    const std::string full = "/dev/full";
    EXPECT_EQ(MessageOf([&] { TBitmap(4, 3).SaveToFile(full); }),
              "Cannot write file \"/dev/full\": No space left on device");
    const std::uint32_t pixels[4] = {};
    EXPECT_EQ(MessageOf([&] { SavePng(full, pixels, 2, 2, 2); }),
              "Cannot write file \"/dev/full\": No space left on device");
}

} // namespace
} // namespace emr
