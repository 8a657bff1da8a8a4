#include "StorageTestSupport.h"

#include <cstdio>

#include "framework/storage/FileSettingsStore.h"
#include "framework/storage/IniDocument.h"
#include "framework/storage/IniFileStore.h"
#include "framework/storage/ParsedSettingsCache.h"

namespace emr::testing {
namespace {

int parses = 0;

std::unique_ptr<TSettingsDocument> CountingParse(std::string_view bytes) {
    ++parses;
    return TIniDocument::Parse(bytes);
}

/// An INI store that counts how often its file's text is parsed.
class TCountingStore : public TFileSettingsStore {
public:
    explicit TCountingStore(const std::string& path) : TFileSettingsStore(path, &CountingParse) {}
};

class ParsedSettingsCache : public StorageFixture {
protected:
    void SetUp() override {
        StorageFixture::SetUp();
        TParsedSettingsCache::Clear();
        parses = 0;
        path = dir + "/layout.ini";
    }
    void TearDown() override {
        TParsedSettingsCache::Clear();
        StorageFixture::TearDown();
    }
    int Read(const std::string& section, const std::string& name) {
        TCountingStore store(path);
        store.Open();
        const int value = store.ReadInteger(section, name, -1);
        store.Close();
        return value;
    }
    std::string path;
};

TEST_F(ParsedSettingsCache, AnUnchangedFileIsParsedOnceForEveryOpen) {
    WriteFile(path, "[Panel]\nRowCount=3\n[Bar]\nLeft=7\n");
    constexpr int kOpens = 20;
    for (int i = 0; i < kOpens; ++i) {
        EXPECT_EQ(Read("Panel", "RowCount"), 3);
        EXPECT_EQ(Read("Bar", "Left"), 7);
    }
    EXPECT_EQ(parses, 1);
}

TEST_F(ParsedSettingsCache, AChangedFileIsReadAgain) {
    WriteFile(path, "[Panel]\nRowCount=3\n");
    EXPECT_EQ(Read("Panel", "RowCount"), 3);
    // Replaced as a save replaces it: a new file renamed over the old one, of the same size.
    const std::string fresh = dir + "/fresh.ini";
    WriteFile(fresh, "[Panel]\nRowCount=4\n");
    ASSERT_EQ(std::rename(fresh.c_str(), path.c_str()), 0);
    EXPECT_EQ(Read("Panel", "RowCount"), 4);
    // Rewritten in place with another length.
    WriteFile(path, "[Panel]\nRowCount=12\n");
    EXPECT_EQ(Read("Panel", "RowCount"), 12);
    // Saved through a store of this process.
    {
        TIniFileStore store(path);
        store.Open();
        store.WriteInteger("Panel", "RowCount", 5);
        store.Close();
    }
    EXPECT_EQ(Read("Panel", "RowCount"), 5);
    // Gone: nothing is read from what was kept.
    ASSERT_EQ(std::remove(path.c_str()), 0);
    EXPECT_EQ(Read("Panel", "RowCount"), -1);
}

TEST_F(ParsedSettingsCache, WritesOfOneSessionDoNotReachTheNextOpen) {
    // A session that writes and is never closed changes its own copy only.
    WriteFile(path, "[Panel]\nRowCount=3\n");
    EXPECT_EQ(Read("Panel", "RowCount"), 3);
    {
        TCountingStore store(path);
        store.Open();
        store.WriteInteger("Panel", "RowCount", 9);
        EXPECT_EQ(store.ReadInteger("Panel", "RowCount", -1), 9);
    }
    EXPECT_EQ(Read("Panel", "RowCount"), 3);
}

} // namespace
} // namespace emr::testing
