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

namespace {

TEST(Utf8, DecodingReadsEveryLengthAndReplacesEachMalformedByte) {
    const std::string text = "A\xC3\xA9确\xF0\x9F\x98\x80";
    std::size_t at = 0;
    EXPECT_EQ(NextUtf8(text, at), U'A');
    EXPECT_EQ(NextUtf8(text, at), U'é');
    EXPECT_EQ(NextUtf8(text, at), U'确');
    EXPECT_EQ(NextUtf8(text, at), char32_t(0x1F600));
    EXPECT_EQ(at, text.size());

    // Overlong, surrogate, beyond U+10FFFF, a stray continuation, cut off, NUL:
    // each bad byte reads as one U+FFFD and reading goes on with the next byte.
    for (const std::string& bad :
         {std::string("\xC0\xAF"), std::string("\xED\xA0\x80"), std::string("\xF4\x90\x80\x80"),
          std::string("\x80"), std::string("\xE7\xA1"), std::string(1, '\0')}) {
        std::size_t pos = 0;
        EXPECT_EQ(NextUtf8(bad, pos), char32_t(0xFFFD));
        EXPECT_EQ(pos, 1u);
    }
}

TEST(Utf8, MakingTextValidKeepsGoodSequencesAndReplacesOnlyBadBytes) {
    EXPECT_EQ(ValidUtf8("确定 ok"), "确定 ok");
    EXPECT_EQ(ValidUtf8("\xEF\xBF\xBD"), "\xEF\xBF\xBD"); // a real U+FFFD stays one
    EXPECT_EQ(ValidUtf8("a\xFF"
                        "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(ValidUtf8("\xE7\xA1"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(ValidUtf8(std::string("x\0y", 3)), "x\xEF\xBF\xBDy");
}

} // namespace
