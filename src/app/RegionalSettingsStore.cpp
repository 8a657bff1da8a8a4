#include "app/RegionalSettingsStore.h"

#include <algorithm>
#include <cstdio>

#include "framework/storage/ConfigFolder.h"
#include "framework/storage/IniDocument.h"
#include "framework/storage/SettingsFile.h"
#include "framework/storage/SettingsStore.h"

namespace emr {

namespace {

/// "0x1003": locale items are known by their numbers in hexadecimal.
std::string ItemNumber(LCTYPE item) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(item));
    return text;
}

bool HasControlCharacter(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b < 0x20 && b != '\t') || b == 0x7F;
    });
}

} // namespace

TRegionalSettingsStore::TRegionalSettingsStore(std::string path, TFileSystem& fs)
    : path_(std::move(path)), fs_(fs) {}

std::optional<std::string> TRegionalSettingsStore::DefaultPath() {
    const std::string folder = ConfigFolder();
    if (folder.empty()) return std::nullopt;
    return folder + "/" + std::string(kFileName);
}

std::string_view TRegionalSettingsStore::KeyOf(LCTYPE item) {
    switch (item) {
    case LOCALE_SSHORTDATE:
        return "sShortDate";
    case LOCALE_SLONGDATE:
        return "sLongDate";
    case LOCALE_STIMEFORMAT:
        return "sTimeFormat";
    case LOCALE_S1159:
        return "s1159";
    case LOCALE_S2359:
        return "s2359";
    default:
        return {};
    }
}

std::unique_ptr<TSettingsDocument> TRegionalSettingsStore::ParseFile(std::string_view bytes) {
    if (bytes.size() > kMaxBytes) return nullptr;
    return TIniDocument::Parse(bytes);
}

std::optional<std::string> TRegionalSettingsStore::Read(LCTYPE item) const {
    const std::string_view key = KeyOf(item);
    if (key.empty() || path_.empty()) return std::nullopt;
    try {
        const TSettingsFile::TContent content = TSettingsFile(path_, &fs_, kMaxBytes).Read();
        if (!content.Exists || content.TooLarge) return std::nullopt;
        const std::unique_ptr<TSettingsDocument> file = ParseFile(content.Bytes);
        if (!file) return std::nullopt;
        const std::optional<TStoredValue> value = file->Value(kSection, key);
        if (!value) return std::nullopt;
        return value->Text;
    } catch (const ESettingsStoreError&) {
        return std::nullopt;
    }
}

bool TRegionalSettingsStore::Write(LCTYPE item, std::string_view value) {
    const std::string_view key = KeyOf(item);
    if (key.empty()) return Fail("no setting is kept for locale item " + ItemNumber(item));
    if (HasControlCharacter(value))
        return Fail("cannot store " + std::string(key) + ": the value holds a control character");
    TValue entry{key, std::string(value)};
    if (updating_) {
        kept_.push_back(std::move(entry));
        return true;
    }
    return Store({std::move(entry)});
}

void TRegionalSettingsStore::BeginUpdate() {
    updating_ = true;
}

bool TRegionalSettingsStore::Commit() {
    const std::vector<TValue> values = std::move(kept_);
    Discard();
    return values.empty() || Store(values);
}

void TRegionalSettingsStore::Discard() {
    updating_ = false;
    kept_.clear();
}

bool TRegionalSettingsStore::Fail(std::string reason) {
    lastError_ = std::move(reason);
    return false;
}

bool TRegionalSettingsStore::Store(const std::vector<TValue>& values) {
    if (path_.empty()) return Fail("no settings file: neither XDG_CONFIG_HOME nor HOME names a folder");
    try {
        TSettingsFile(path_, &fs_, kMaxBytes).Update([&](const TSettingsFile::TContent& current) {
            // Anything that is not a settings file is someone else's data and is
            // never overwritten (nor moved aside).
            if (current.TooLarge)
                throw ESettingsStoreError(current.Path +
                                          " is larger than a settings file can be; it is left as it is");
            const std::unique_ptr<TSettingsDocument> file = ParseFile(current.Exists ? current.Bytes : "");
            if (!file)
                throw ESettingsStoreError(current.Path + " is not a settings file; it is left as it is");
            for (const TValue& entry : values)
                file->SetString(kSection, entry.Key, entry.Value);
            return TSettingsFile::TReplacement{file->Text(), false};
        });
    } catch (const ESettingsStoreError& e) {
        return Fail(e.what());
    }
    return true;
}

} // namespace emr
