#include <gtest/gtest.h>

#include <string>

#include "app/RegionalSettingsStore.h"
#include "app/TextEncoding.h"
#include "framework/storage/SettingsStore.h"

namespace emr {
namespace {

// The settings file is the framework's INI document, read through the store's
// parser (which adds the store's size limit).
std::unique_ptr<TSettingsDocument> Parse(std::string_view text) {
    return TRegionalSettingsStore::ParseFile(text);
}

/// The value as text, when the document holds it.
std::optional<std::string> ValueOf(const TSettingsDocument& file, std::string_view section,
                                   std::string_view key) {
    const std::optional<TStoredValue> value = file.Value(section, key);
    if (!value) return std::nullopt;
    return value->Text;
}

std::string Set(std::string_view text, std::string_view key, std::string_view value) {
    auto file = Parse(text);
    EXPECT_TRUE(file);
    if (!file) return {};
    EXPECT_NO_THROW(file->SetString("International", key, value));
    return file->Text();
}

TEST(RegionalSettingsFileTest, ChangesOnlyTheLineOfTheKey) {
    const std::string original = "\xEF\xBB\xBF; regional settings\r\n"
                                 "[Other]\r\n"
                                 "sShortDate=keep me\r\n"
                                 "\r\n"
                                 "[international]\r\n"
                                 "  SShortDate = dd/MM/yyyy\r\n"
                                 "iCountry=86\r\n"
                                 "[Tail]\r\n"
                                 "x=1";
    EXPECT_EQ(Set(original, "sShortDate", "yyyy-MM-dd"), "\xEF\xBB\xBF; regional settings\r\n"
                                                         "[Other]\r\n"
                                                         "sShortDate=keep me\r\n"
                                                         "\r\n"
                                                         "[international]\r\n"
                                                         "  SShortDate =yyyy-MM-dd\r\n"
                                                         "iCountry=86\r\n"
                                                         "[Tail]\r\n"
                                                         "x=1");
}

TEST(RegionalSettingsFileTest, AddsMissingKeysAndSections) {
    // A missing key goes after the section's last entry, above the blank separator,
    // in the file's own line ending.
    EXPECT_EQ(Set("[International]\r\niCountry=86\r\n\r\n[Next]\r\n", "s1159", ""),
              "[International]\r\niCountry=86\r\ns1159=\r\n\r\n[Next]\r\n");
    // A missing section is appended after a blank line; an unterminated last line is ended first.
    EXPECT_EQ(Set("[Other]\na=1", "sTimeFormat", "HH:mm:ss"),
              "[Other]\na=1\n\n[International]\nsTimeFormat=HH:mm:ss\n");
    EXPECT_EQ(Set("", "s2359", ""), "[International]\ns2359=\n");
}

TEST(RegionalSettingsFileTest, ReadsValuesExactly) {
    auto file = Parse("[International]\ns1159=\nsLongDate=yyyy'年'M'月 'd'日'\n");
    ASSERT_TRUE(file);
    EXPECT_EQ(ValueOf(*file, "INTERNATIONAL", "s1159"), std::string());
    EXPECT_EQ(ValueOf(*file, "International", "sLongDate"), "yyyy'年'M'月 'd'日'");
    EXPECT_FALSE(ValueOf(*file, "International", "s2359"));
    EXPECT_FALSE(ValueOf(*file, "Other", "s1159"));
}

TEST(RegionalSettingsFileTest, RefusesWhatIsNotASettingsFile) {
    constexpr char withNul[] = "[International]\ns1159=a\0b\n";
    EXPECT_FALSE(Parse(std::string_view(withNul, sizeof withNul - 1)));
    EXPECT_FALSE(Parse("[International]\ns1159=\xC4\xEA\n")); // GBK, not UTF-8
    EXPECT_FALSE(Parse("#!/bin/sh\necho hello\n"));
    EXPECT_FALSE(Parse("[International\n"));
    EXPECT_FALSE(Parse("=value\n"));
    EXPECT_FALSE(Parse("a=1\rb=2\n"));
    EXPECT_FALSE(Parse(std::string(TRegionalSettingsStore::kMaxBytes + 1, ';')));
    EXPECT_TRUE(Parse(std::string(TRegionalSettingsStore::kMaxBytes, ';')));
}

// A stray line in a settings file is kept as it is and stands in nobody's way.
TEST(RegionalSettingsFileTest, KeepsLinesOfNoKnownKind) {
    const std::string text = "[International]\nnote without equals\n[half\n = x\nsShortDate=d/M\n";
    auto file = Parse(text);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Text(), text);
    EXPECT_EQ(ValueOf(*file, "International", "sShortDate"), "d/M");
    EXPECT_NO_THROW(file->SetString("International", "sShortDate", "yyyy-MM-dd"));
    EXPECT_NO_THROW(file->SetString("International", "s1159", ""));
    EXPECT_EQ(file->Text(),
              "[International]\nnote without equals\n[half\n = x\nsShortDate=yyyy-MM-dd\ns1159=\n");
    EXPECT_TRUE(Parse("stray\n[International]\n"));
}

// A value with a line break would smuggle extra keys into the file.
TEST(RegionalSettingsFileTest, RefusesValuesWithLineBreaks) {
    auto file = Parse("[International]\ns1159=AM\n");
    ASSERT_TRUE(file);
    EXPECT_THROW(file->SetString("International", "s1159", "x\ns2359=evil"), ESettingsStoreError);
    EXPECT_THROW(file->SetString("International", "s1159", "x\r"), ESettingsStoreError);
    EXPECT_EQ(file->Text(), "[International]\ns1159=AM\n");
}

TEST(TextEncodingTest, ConvertsCodePage936AndRejectsInvalidBytes) {
    EXPECT_EQ(Cp936ToUtf8("yyyy'\xC4\xEA'M'\xD4\xC2 'd'\xC8\xD5'"), "yyyy'年'M'月 'd'日'");
    EXPECT_EQ(Cp936ToUtf8("\xB2\xB9\xB6\xA1\xD3\xA6\xD3\xC3\xB3\xC9\xB9\xA6\xA3\xA1"), "补丁应用成功！");
    EXPECT_EQ(Cp936ToUtf8(""), "");
    EXPECT_FALSE(Cp936ToUtf8("\xC4"));     // truncated double-byte character
    EXPECT_FALSE(Cp936ToUtf8("\xFF\x41")); // not a lead byte
    EXPECT_EQ(Cp936ToUtf8Lossy("a\xFF"
                               "b"),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(TextEncodingTest, ValidatesUtf8) {
    EXPECT_TRUE(IsValidUtf8("plain 年 \xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE5\xB9"));         // truncated
}

} // namespace
} // namespace emr
