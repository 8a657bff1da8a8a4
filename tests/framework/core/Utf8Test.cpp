#include <gtest/gtest.h>

#include <string>

#include "framework/core/Utf8.h"

using namespace emr;

namespace {

std::string Encoded(char32_t codePoint) {
    std::string out = "<";
    AppendUtf8(out, codePoint);
    return out + ">";
}

TEST(Utf8, EachLengthIsEncodedUpToItsLastCodePointAndNothingBeyondTheUnicodeRange) {
    EXPECT_EQ(Encoded(U'A'), "<A>");
    EXPECT_EQ(Encoded(0x7F), "<\x7F>");
    EXPECT_EQ(Encoded(0x80), "<\xC2\x80>");
    EXPECT_EQ(Encoded(0x7FF), "<\xDF\xBF>");
    EXPECT_EQ(Encoded(0x800), "<\xE0\xA0\x80>");
    EXPECT_EQ(Encoded(U'确'), "<确>");
    EXPECT_EQ(Encoded(0xFFFF), "<\xEF\xBF\xBF>");
    EXPECT_EQ(Encoded(0x10000), "<\xF0\x90\x80\x80>");
    EXPECT_EQ(Encoded(0x10FFFF), "<\xF4\x8F\xBF\xBF>");
    EXPECT_EQ(Encoded(0x110000), "<>");
}

} // namespace
