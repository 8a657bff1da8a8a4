#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/storage/SettingsDocument.h"
#include "framework/storage/SettingsFile.h"
#include "framework/storage/SettingsStore.h"

namespace emr {

/// A settings store kept in one file. Open reads the file; writes are kept and
/// stored by Close, which re-reads the file under its lock and applies them to
/// what it holds then, so that values another process saved meanwhile stay. A
/// file that is no settings file reads as empty and, when written or when asked
/// to (KeepAsideUnreadable), is kept aside under a new name; both are said on
/// standard error. A file whose stamp has not changed since it was last parsed is
/// not parsed again (TParsedSettingsCache).
class TFileSettingsStore : public TSettingsStore {
public:
    void Open() override;
    int ReadInteger(std::string_view section, std::string_view name, int fallback) override;
    std::string ReadString(std::string_view section, std::string_view name,
                           std::string_view fallback) override;
    void WriteInteger(std::string_view section, std::string_view name, int value) override;
    void WriteString(std::string_view section, std::string_view name, std::string_view value) override;
    void Close() override;
    std::string KeepAsideUnreadable() override;

    const std::string& Path() const { return file_.Path(); }

protected:
    /// File operations go through `files` (null: the system's own), as TSettingsFile has it.
    TFileSettingsStore(std::string path, TSettingsParser parse, TFileSystem* files = nullptr);
    /// The document's name for a section of this store.
    virtual std::string DocumentSection(std::string_view section) const { return std::string(section); }

private:
    struct TWrite {
        std::string Section;
        std::string Name;
        bool Integer = false;
        int Number = 0;
        std::string Text;
    };
    static void Apply(TSettingsDocument& doc, const TWrite& write);
    std::unique_ptr<TSettingsDocument> Empty() const;
    bool Unreadable(const TSettingsFile::TContent& content) const;
    /// The snapshot this store may change: its own copy of a shared one.
    TSettingsDocument& Writable();

    TSettingsFile file_;
    TSettingsParser parse_;
    // What reads see; shared with the cache until the first write of this session.
    std::shared_ptr<const TSettingsDocument> snapshot_;
    std::shared_ptr<TSettingsDocument> own_;
    std::vector<TWrite> writes_;
    bool unreadable_ = false;
};

} // namespace emr
