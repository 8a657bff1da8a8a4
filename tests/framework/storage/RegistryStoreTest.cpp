#include "StorageTestSupport.h"

#include "framework/storage/RegistryDocument.h"
#include "framework/storage/RegistryStore.h"

namespace emr::testing {
namespace {

using RegistryStore = StorageFixture;

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Emr\\Dock";

TEST_F(RegistryStore, WritesTheExportFormatThatAPlainReaderReads) {
    TRegistryStore store("\\Software\\Emr\\");
    store.Open();
    store.WriteInteger("Dock", "ToolBarCount", 42);
    store.WriteInteger("Dock", "Negative", -1);
    store.WriteString("Dock", "Name1", "C:\\x \"q\"");
    store.Close();
    const std::string text = ReadFile(dir + "/user-registry.reg");
    EXPECT_EQ(text, "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Emr\\Dock]\n"
                    "\"ToolBarCount\"=dword:0000002a\n\"Negative\"=dword:ffffffff\n"
                    "\"Name1\"=\"C:\\\\x \\\"q\\\"\"\n");
    const auto plain = ReadRegistryPlainly(text);
    EXPECT_EQ(plain.at(std::string(kKey) + "/ToolBarCount"), "d:42");
    EXPECT_EQ(plain.at(std::string(kKey) + "/Negative"), "d:-1");
    EXPECT_EQ(plain.at(std::string(kKey) + "/Name1"), "s:C:\\x \"q\"");
    EXPECT_EQ(ModeOf(dir + "/user-registry.reg"), 0600u);
}

TEST_F(RegistryStore, HandWrittenFileWithEveryEscapeReads) {
    WriteFile(dir + "/user-registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                          "; a comment\r\n"
                                          "[hkey_current_user\\software\\EMR\\dock]\r\n"
                                          "@=\"default\"\r\n"
                                          "\"Esc\"=\"back\\\\slash \\\"quote\\\" nl\\n cr\\r nul\\0 end\"\r\n"
                                          "\"Bin\"=hex:01,02,\\\r\n  03,04\r\n"
                                          "\"Multi\"=hex(7):41,00,00,00\r\n"
                                          "\"N\"=dword:7FFFFFFF\r\n"
                                          "\"Str\"=\"  -12 \"\r\n"
                                          "\"Text\"=\"\xE7\xA1\xAE\xE5\xAE\x9A\"\r\n");
    TRegistryStore store("Software\\Emr");
    store.Open();
    EXPECT_EQ(store.ReadString("Dock", "esc", ""),
              std::string("back\\slash \"quote\" nl\n cr\r nul\0 end", 35));
    EXPECT_EQ(store.ReadString("Dock", "", ""), "default");
    EXPECT_EQ(store.ReadInteger("Dock", "N", 0), 0x7FFFFFFF);
    EXPECT_EQ(store.ReadInteger("Dock", "Str", 0), -12) << "a string of decimal text reads as an integer";
    EXPECT_EQ(store.ReadInteger("Dock", "Bin", 5), 5) << "binary values read as the default";
    EXPECT_EQ(store.ReadString("Dock", "Text", ""), "确定");
    store.Close();
}

TEST_F(RegistryStore, IntegerOverAStringStaysAStringOfDecimalText) {
    WriteFile(dir + "/user-registry.reg", "Windows Registry Editor Version 5.00\n\n"
                                          "[HKEY_CURRENT_USER\\Software\\Emr\\Dock]\n\"Bar.Left\"=\"12\"\n"
                                          "\"Bar.Top\"=dword:00000001\n");
    TRegistryStore store("Software\\Emr");
    store.Open();
    EXPECT_EQ(store.ReadInteger("Dock", "Bar.Left", 0), 12);
    store.WriteInteger("Dock", "BAR.LEFT", 30);
    store.WriteInteger("Dock", "Bar.Top", 7);
    store.Close();
    const auto plain = ReadRegistryPlainly(ReadFile(dir + "/user-registry.reg"));
    EXPECT_EQ(plain.at(std::string(kKey) + "/Bar.Left"), "s:30") << "the name keeps its spelling";
    EXPECT_EQ(plain.at(std::string(kKey) + "/Bar.Top"), "d:7");
}

TEST_F(RegistryStore, KeysAreCreatedWhenWrittenAndOthersKept) {
    const std::string before =
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Other]\n\"x\"=\"y\"\n";
    WriteFile(dir + "/user-registry.reg", before);
    TRegistryStore store("Software\\Emr");
    store.Open();
    store.WriteString("UnDockedAdvToolBars", "Bar.Name", "Bar");
    store.Close();
    EXPECT_EQ(ReadFile(dir + "/user-registry.reg"),
              before + "\n[HKEY_CURRENT_USER\\Software\\Emr\\UnDockedAdvToolBars]\n\"Bar.Name\"=\"Bar\"\n");
}

TEST_F(RegistryStore, FileOfAnotherFormatIsKeptAside) {
    WriteFile(dir + "/user-registry.reg", "[S]\nA=1\n");
    TRegistryStore store("K");
    store.Open();
    EXPECT_EQ(store.ReadInteger("S", "A", 4), 4);
    store.WriteInteger("S", "A", 1);
    ::testing::internal::CaptureStderr();
    store.Close();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("not a settings file"), std::string::npos);
    int kept = 0;
    for (const std::string& name : Entries())
        kept += name.starts_with("user-registry.reg.unreadable-") ? 1 : 0;
    EXPECT_EQ(kept, 1);
}

TEST(RegistryDocument, RefusesWhatIsNoExportFile) {
    EXPECT_NE(TRegistryDocument::Parse(""), nullptr);
    EXPECT_NE(TRegistryDocument::Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"a\"=\"b\"\n"), nullptr);
    EXPECT_EQ(TRegistryDocument::Parse("[HKEY_CURRENT_USER\\A]\n"), nullptr) << "no version line";
    const std::string head = std::string(TRegistryDocument::kHeader) + "\n";
    EXPECT_EQ(TRegistryDocument::Parse(head + "\"a\"=\"b\"\n"), nullptr) << "value outside a key";
    EXPECT_EQ(TRegistryDocument::Parse(head + "[K]\n\"a\"=\"b\\q\"\n"), nullptr) << "unknown escape";
    EXPECT_EQ(TRegistryDocument::Parse(head + "[K]\n\"a\"=dword:123456789\n"), nullptr);
    EXPECT_EQ(TRegistryDocument::Parse(head + "[K]\n\"a\"=-\n"), nullptr) << "deletions are no stored state";
    EXPECT_EQ(TRegistryDocument::Parse(head + "[-K]\n"), nullptr);
}

TEST(RegistryDocument, EveryStringComesBackThroughItsQuotedForm) {
    auto doc = TRegistryDocument::Parse("");
    const std::string nasty("a\\b\"c\nd\re\0f[g]=h", 16);
    doc->SetString("K\\S", nasty, nasty);
    auto again = TRegistryDocument::Parse(doc->Text());
    ASSERT_NE(again, nullptr) << doc->Text();
    EXPECT_EQ(again->Value("k\\s", nasty)->Text, nasty);
}

// Found by fuzzing: each of these once wrote a file that the next save could not
// read and so kept aside, losing the values just written.
TEST(RegistryDocument, HexValueWhoseContinuationNeverComesIsRefused) {
    const std::string head = std::string(TRegistryDocument::kHeader) + "\n\n[K]\n";
    EXPECT_EQ(TRegistryDocument::Parse(head + "\"Bin\"=hex:01,\\\n"), nullptr);
    EXPECT_NE(TRegistryDocument::Parse(head + "\"Bin\"=hex:01,\\\n  02\n"), nullptr);
}

TEST(RegistryDocument, VersionLineComesFirstEvenInAFileOfBlanks) {
    auto doc = TRegistryDocument::Parse("  ");
    ASSERT_NE(doc, nullptr);
    doc->SetInteger("K", "A", 1);
    EXPECT_EQ(doc->Text(), std::string(TRegistryDocument::kHeader) + "\n  \n[K]\n\"A\"=dword:00000001\n");
}

TEST(RegistryDocument, TextTheFileCannotHoldIsRefused) {
    auto doc = TRegistryDocument::Parse("");
    EXPECT_THROW(doc->SetString("K", "A", "bell\x07"), ESettingsStoreError);
    EXPECT_THROW(doc->SetString("K", "A", "\xFF"), ESettingsStoreError);
    EXPECT_THROW(doc->SetString("K\x01", "A", "x"), ESettingsStoreError);
    EXPECT_EQ(doc->Text(), "");
}

} // namespace
} // namespace emr::testing
