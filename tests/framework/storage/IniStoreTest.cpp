#include "StorageTestSupport.h"

#include "framework/storage/IniDocument.h"
#include "framework/storage/IniFileStore.h"

namespace emr::testing {
namespace {

using IniStore = StorageFixture;

void Save(const std::string& file, const std::function<void(TSettingsStore&)>& writes) {
    TIniFileStore store(file);
    store.Open();
    writes(store);
    store.Close();
}

// ---- where the file lives ----------------------------------------------------

TEST_F(IniStore, RelativeNameLivesInTheConfigFolderAbsoluteNameAsGiven) {
    Save("layout.ini", [](TSettingsStore& s) { s.WriteInteger("Dock", "RowCount", 2); });
    EXPECT_EQ(ReadFile(dir + "/layout.ini"), "[Dock]\nRowCount=2\n");
    const std::string absolute = dir + "/sub/abs.ini";
    Save(absolute, [](TSettingsStore& s) { s.WriteString("A", "B", "c"); });
    EXPECT_EQ(ReadFile(absolute), "[A]\nB=c\n") << "missing folders are created";
}

// ---- values --------------------------------------------------------------------

TEST_F(IniStore, ValuesReadBackAndAreDecimalTextToAPlainReader) {
    Save("v.ini", [](TSettingsStore& s) {
        s.WriteInteger("Dock", "ToolBarCount", -3);
        s.WriteString("Dock", "Name1", "AdvToolBar1");
        s.WriteString("Dock", "Padded", "  two blanks ");
    });
    const auto plain = ReadIniPlainly(ReadFile(dir + "/v.ini"));
    EXPECT_EQ(plain.at("Dock/ToolBarCount"), "-3");
    EXPECT_EQ(plain.at("Dock/Name1"), "AdvToolBar1");
    TIniFileStore store("v.ini");
    store.Open();
    EXPECT_EQ(store.ReadInteger("dock", "TOOLBARCOUNT", 0), -3) << "names ignore case";
    EXPECT_EQ(store.ReadString("Dock", "Padded", ""), "  two blanks ") << "blanks survive through quotes";
    EXPECT_EQ(store.ReadString("Dock", "Missing", "def"), "def");
    store.Close();
}

TEST_F(IniStore, ValueThatIsNoNumberReadsAsTheDefault) {
    WriteFile(dir + "/n.ini", "[S]\nA=12x\nB= 7 \nC=99999999999\nD=\n");
    TIniFileStore store("n.ini");
    store.Open();
    EXPECT_EQ(store.ReadInteger("S", "A", 5), 5);
    EXPECT_EQ(store.ReadInteger("S", "B", 5), 7);
    EXPECT_EQ(store.ReadInteger("S", "C", 5), 5) << "beyond 32 bits";
    EXPECT_EQ(store.ReadInteger("S", "D", 5), 5);
    store.Close();
}

TEST_F(IniStore, OtherLinesKeepEveryByte) {
    const std::string before =
        "\xEF\xBB\xBF; kept comment\r\n[Other]\r\nx = 1 \r\n\r\n[S]\r\nA=1\r\n# note\r\n\r\n";
    WriteFile(dir + "/k.ini", before);
    Save("k.ini", [](TSettingsStore& s) {
        s.WriteInteger("S", "A", 2);
        s.WriteInteger("S", "B", 3);
        s.WriteInteger("New", "C", 4);
    });
    EXPECT_EQ(ReadFile(dir + "/k.ini"),
              "\xEF\xBB\xBF; kept comment\r\n[Other]\r\nx = 1 \r\n\r\n[S]\r\nA=2\r\n# "
              "note\r\nB=3\r\n\r\n[New]\r\nC=4\r\n");
}

TEST_F(IniStore, WhatTheFormatCannotHoldIsRefused) {
    TIniFileStore store("r.ini");
    store.Open();
    EXPECT_THROW(store.WriteString("S", "A", "two\nlines"), ESettingsStoreError);
    EXPECT_THROW(store.WriteString("S", "A=B", "x"), ESettingsStoreError);
    EXPECT_THROW(store.WriteString("S]", "A", "x"), ESettingsStoreError);
    store.Close();
    EXPECT_TRUE(Entries().empty()) << "nothing was written";
}

// ---- files that are not INI files ----------------------------------------------

TEST_F(IniStore, UnparsableFileIsKeptAsideWhenWritten) {
    const std::string junk = std::string("PNG\0\x01binary", 10);
    WriteFile(dir + "/j.ini", junk);
    TIniFileStore store("j.ini");
    store.Open();
    EXPECT_EQ(store.ReadInteger("S", "A", 9), 9);
    store.WriteInteger("S", "A", 1);
    ::testing::internal::CaptureStderr();
    store.Close();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("kept as"), std::string::npos) << said;
    EXPECT_EQ(ReadFile(dir + "/j.ini"), "[S]\nA=1\n");
    int kept = 0;
    for (const std::string& name : Entries())
        if (name.starts_with("j.ini.unreadable-")) {
            ++kept;
            EXPECT_EQ(ReadFile(dir + "/" + name), junk);
        }
    EXPECT_EQ(kept, 1);
}

TEST_F(IniStore, UnparsableFileIsKeptAsideWhenAskedAndAGoodOneStays) {
    const std::string junk = std::string("PNG\0\x01binary", 10);
    WriteFile(dir + "/j.ini", junk);
    TIniFileStore store("j.ini");
    ::testing::internal::CaptureStderr();
    store.Open();
    ::testing::internal::GetCapturedStderr();
    const std::string said = store.KeepAsideUnreadable();
    EXPECT_NE(said.find("j.ini was not a settings file; it is kept as " + dir + "/j.ini.unreadable-"),
              std::string::npos)
        << said;
    EXPECT_FALSE(std::ifstream(dir + "/j.ini").good()) << "nothing is put in its place";
    std::vector<std::string> kept;
    for (const std::string& name : Entries())
        if (name.starts_with("j.ini.unreadable-")) kept.push_back(name);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadFile(dir + "/" + kept[0]), junk);
    EXPECT_EQ(store.KeepAsideUnreadable(), "") << "once";
    store.Close();

    WriteFile(dir + "/good.ini", "[S]\nA=1\n");
    TIniFileStore good("good.ini");
    good.Open();
    EXPECT_EQ(good.KeepAsideUnreadable(), "");
    good.Close();
    EXPECT_EQ(ReadFile(dir + "/good.ini"), "[S]\nA=1\n");
}

TEST(IniDocument, ParsesOnlyWhatLooksLikeAnIniFile) {
    EXPECT_NE(TIniDocument::Parse(""), nullptr);
    EXPECT_NE(TIniDocument::Parse("; only a comment\n"), nullptr);
    EXPECT_NE(TIniDocument::Parse("[S]\ngarbage line\n"), nullptr) << "stray lines in an INI file are kept";
    EXPECT_EQ(TIniDocument::Parse("just some prose\n"), nullptr);
    EXPECT_EQ(TIniDocument::Parse("[S]\nA=\xC3\x28\n"), nullptr) << "not UTF-8";
    EXPECT_EQ(TIniDocument::Parse("[S]\nA=\x01\n"), nullptr);
}

} // namespace
} // namespace emr::testing
