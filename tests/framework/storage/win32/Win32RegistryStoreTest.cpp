// The layout store on the system's registry (run under Wine): what it writes is
// read back through the registry calls themselves, not through the store.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/storage/UserRegistry.h"
#include "framework/storage/win32/Win32RegistryStore.h"

namespace emr::testing {
namespace {

/// A raw value as the registry holds it.
struct TRaw {
    DWORD Type = REG_NONE;
    std::vector<BYTE> Data;

    std::uint32_t Dword() const {
        std::uint32_t n = 0;
        if (Data.size() == sizeof n) std::memcpy(&n, Data.data(), sizeof n);
        return n;
    }
    std::wstring Text() const {
        std::wstring t(Data.size() / sizeof(wchar_t), L'\0');
        if (!t.empty()) std::memcpy(t.data(), Data.data(), t.size() * sizeof(wchar_t));
        while (!t.empty() && t.back() == L'\0')
            t.pop_back();
        return t;
    }
};

class Win32RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        key = L"Software\\EmrTest\\Run" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(GetTickCount());
        keyUtf8.assign(key.begin(), key.end());
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\EmrTest");
    }

    std::optional<TRaw> Raw(const std::wstring& section, const std::wstring& name) const {
        const std::wstring path = key + L"\\" + section;
        TRaw raw;
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &raw.Type,
                         nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        raw.Data.resize(size);
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &raw.Type,
                         raw.Data.data(), &size) != ERROR_SUCCESS)
            return std::nullopt;
        raw.Data.resize(size);
        return raw;
    }
    void SetRaw(const std::wstring& section, const std::wstring& name, DWORD type, const void* data,
                DWORD size) const {
        const std::wstring path = section.empty() ? key : key + L"\\" + section;
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), type, data, size),
                  ERROR_SUCCESS);
    }
    void SetRawText(const std::wstring& section, const std::wstring& name, const std::wstring& text) const {
        SetRaw(section, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    static bool KeyExists(const std::wstring& path) {
        HKEY h = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
        RegCloseKey(h);
        return true;
    }

    std::wstring key;
    std::string keyUtf8;
};

TEST_F(Win32RegistryStoreTest, IntegersAreDwordsInKeysCreatedWhenWritten) {
    ASSERT_FALSE(KeyExists(key));
    TWin32RegistryStore store(keyUtf8);
    store.Open();
    store.WriteInteger("Dock", "Bar1.Left", 42);
    store.WriteInteger("Dock", "Bar1.Top", -5);
    store.Close();
    ASSERT_TRUE(KeyExists(key + L"\\Dock"));
    const std::optional<TRaw> left = Raw(L"Dock", L"Bar1.Left");
    ASSERT_TRUE(left);
    EXPECT_EQ(left->Type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(left->Dword(), 42u);
    EXPECT_EQ(Raw(L"Dock", L"Bar1.Top")->Dword(), 0xFFFFFFFBu);

    TWin32RegistryStore again(keyUtf8);
    again.Open();
    EXPECT_EQ(again.ReadInteger("Dock", "Bar1.Top", 0), -5);
    EXPECT_EQ(again.ReadInteger("dock", "BAR1.LEFT", 0), 42) << "names compare without regard to case";
    EXPECT_EQ(again.ReadString("Dock", "Bar1.Left", ""), "42");
    EXPECT_EQ(again.ReadInteger("Dock", "Missing", 9), 9);
    EXPECT_EQ(again.ReadInteger("Nowhere", "Bar1.Left", 9), 9);
    again.Close();
}

TEST_F(Win32RegistryStoreTest, AValueKeptAsTextStaysTextWhenAnIntegerOverwritesIt) {
    SetRawText(L"Dock", L"ToolBarCount", L"7");
    TWin32RegistryStore store(keyUtf8);
    store.Open();
    EXPECT_EQ(store.ReadInteger("Dock", "ToolBarCount", 0), 7)
        << "a string of decimal text reads as an integer";
    store.WriteInteger("Dock", "ToolBarCount", 12);
    store.Close();
    const std::optional<TRaw> raw = Raw(L"Dock", L"ToolBarCount");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw->Text(), L"12");
}

TEST_F(Win32RegistryStoreTest, TextThatIsNoNumberAndOtherKindsReadAsTheDefault) {
    SetRawText(L"Dock", L"Blank", L" 42 ");
    SetRawText(L"Dock", L"Word", L"four");
    const BYTE bytes[] = {1, 2, 3, 4};
    SetRaw(L"Dock", L"Binary", REG_BINARY, bytes, sizeof bytes);
    TWin32RegistryStore store(keyUtf8);
    store.Open();
    EXPECT_EQ(store.ReadInteger("Dock", "Blank", 0), 42);
    EXPECT_EQ(store.ReadInteger("Dock", "Word", 3), 3);
    EXPECT_EQ(store.ReadInteger("Dock", "Binary", 3), 3);
    EXPECT_EQ(store.ReadString("Dock", "Binary", "d"), "d");
    store.Close();
}

TEST_F(Win32RegistryStoreTest, StringsAreUtf16OfTheirUtf8) {
    const std::string name = "\xE5\xB7\xA5\xE5\x85\xB7\xE6\xA0\x8F"; // 工具栏
    TWin32RegistryStore store(keyUtf8);
    store.Open();
    store.WriteString("UnDockedAdvToolBars", "Name1", name);
    store.WriteString("UnDockedAdvToolBars", "Empty", "");
    store.Close();
    const std::optional<TRaw> raw = Raw(L"UnDockedAdvToolBars", L"Name1");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw->Text(), std::wstring(L"\u5DE5\u5177\u680F"));
    EXPECT_EQ(raw->Data.size(), 4 * sizeof(wchar_t)) << "stored with its terminating zero";
    EXPECT_EQ(Raw(L"UnDockedAdvToolBars", L"Empty")->Text(), L"");

    TWin32RegistryStore again(keyUtf8);
    EXPECT_EQ(again.ReadString("UnDockedAdvToolBars", "Name1", ""), name);
    EXPECT_EQ(again.ReadString("UnDockedAdvToolBars", "Empty", "x"), "");
}

TEST_F(Win32RegistryStoreTest, EmptyKeyOrSectionReadsAndWritesNothing) {
    const std::wstring section = L"EmrTestSection" + std::to_wstring(GetCurrentProcessId());
    const std::string sectionUtf8(section.begin(), section.end());
    TWin32RegistryStore noKey("");
    noKey.WriteInteger(sectionUtf8, "A", 1);
    noKey.WriteString(sectionUtf8, "B", "b");
    EXPECT_FALSE(KeyExists(section)) << "nothing under the user's root itself";
    EXPECT_EQ(noKey.ReadInteger(sectionUtf8, "A", 5), 5);

    SetRawText(L"", L"A", L"1");
    TWin32RegistryStore noSection(keyUtf8);
    EXPECT_EQ(noSection.ReadInteger("", "A", 5), 5) << "the key's own values are no section's";
    noSection.WriteInteger("", "C", 1);
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_NE(RegQueryValueExW(h, L"C", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(h);
}

TEST_F(Win32RegistryStoreTest, TheUsersRegistryStoreOnWindowsIsTheSystemsRegistry) {
    std::unique_ptr<TSettingsStore> store = MakeUserRegistryStore(keyUtf8);
    ASSERT_NE(dynamic_cast<TWin32RegistryStore*>(store.get()), nullptr);
    store->Open();
    store->WriteInteger("Dock", "RowCount", 2);
    store->Close();
    EXPECT_EQ(Raw(L"Dock", L"RowCount")->Dword(), 2u);
}

} // namespace
} // namespace emr::testing
