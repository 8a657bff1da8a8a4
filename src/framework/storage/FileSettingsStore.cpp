#include "framework/storage/FileSettingsStore.h"

#include <cstdio>

#include "framework/storage/ParsedSettingsCache.h"

namespace emr {

TFileSettingsStore::TFileSettingsStore(std::string path, TSettingsParser parse, TFileSystem* files)
    : file_(std::move(path), files), parse_(parse) {}

std::unique_ptr<TSettingsDocument> TFileSettingsStore::Empty() const {
    return parse_("");
}

bool TFileSettingsStore::Unreadable(const TSettingsFile::TContent& content) const {
    return content.Exists && (content.TooLarge || !parse_(content.Bytes));
}

void TFileSettingsStore::Open() {
    writes_.clear();
    snapshot_.reset();
    own_.reset();
    unreadable_ = false;
    // Taken before the read: a change made meanwhile gives the file another stamp
    // than the one kept, so what was read is never taken for the newer file.
    const std::optional<TFileStamp> stamp = file_.Stamp();
    if (stamp) {
        snapshot_ = TParsedSettingsCache::Find(Path(), parse_, *stamp);
        if (snapshot_) return;
    }
    const TSettingsFile::TContent content = file_.Read();
    std::unique_ptr<TSettingsDocument> parsed;
    if (content.Exists && !content.TooLarge) parsed = parse_(content.Bytes);
    if (content.Exists && !parsed) {
        unreadable_ = true;
        std::fprintf(stderr, "settings: %s is not a settings file; its values are not used\n",
                     Path().c_str());
    }
    if (parsed && stamp) {
        snapshot_ = std::shared_ptr<const TSettingsDocument>(std::move(parsed));
        TParsedSettingsCache::Keep(Path(), parse_, *stamp, snapshot_);
        return;
    }
    own_ = parsed ? std::move(parsed) : Empty();
    snapshot_ = own_;
}

TSettingsDocument& TFileSettingsStore::Writable() {
    if (!own_) {
        // The document's own text parses back to the same values.
        own_ = snapshot_ ? std::shared_ptr<TSettingsDocument>(parse_(snapshot_->Text())) : nullptr;
        if (!own_) own_ = Empty();
        snapshot_ = own_;
    }
    return *own_;
}

std::string TFileSettingsStore::KeepAsideUnreadable() {
    if (!unreadable_) return {};
    unreadable_ = false;
    std::string message;
    try {
        const std::string aside =
            file_.KeepAsideIf([this](const auto& current) { return Unreadable(current); });
        if (aside.empty()) return {};
        message = Path() + " was not a settings file; it is kept as " + aside;
    } catch (const ESettingsStoreError& e) {
        message = Path() + " is not a settings file and stays where it is: " + e.what();
    }
    return message;
}

int TFileSettingsStore::ReadInteger(std::string_view section, std::string_view name, int fallback) {
    if (!snapshot_) return fallback;
    const std::optional<TStoredValue> v = snapshot_->Value(DocumentSection(section), name);
    if (!v) return fallback;
    if (v->Kind == TStoredValue::TKind::Number) return static_cast<int>(static_cast<std::int32_t>(v->Number));
    if (v->Kind == TStoredValue::TKind::String) return ParseDecimal(v->Text).value_or(fallback);
    return fallback;
}

std::string TFileSettingsStore::ReadString(std::string_view section, std::string_view name,
                                           std::string_view fallback) {
    if (!snapshot_) return std::string(fallback);
    const std::optional<TStoredValue> v = snapshot_->Value(DocumentSection(section), name);
    if (!v) return std::string(fallback);
    if (v->Kind == TStoredValue::TKind::String) return v->Text;
    if (v->Kind == TStoredValue::TKind::Number) return std::to_string(static_cast<std::int32_t>(v->Number));
    return std::string(fallback);
}

void TFileSettingsStore::Apply(TSettingsDocument& doc, const TWrite& write) {
    if (write.Integer)
        doc.SetInteger(write.Section, write.Name, write.Number);
    else
        doc.SetString(write.Section, write.Name, write.Text);
}

void TFileSettingsStore::WriteInteger(std::string_view section, std::string_view name, int value) {
    TWrite write{DocumentSection(section), std::string(name), true, value, {}};
    // Applied at once, so that a value the format cannot hold fails here and later
    // reads of this session see it.
    Apply(Writable(), write);
    writes_.push_back(std::move(write));
}

void TFileSettingsStore::WriteString(std::string_view section, std::string_view name,
                                     std::string_view value) {
    TWrite write{DocumentSection(section), std::string(name), false, 0, std::string(value)};
    Apply(Writable(), write);
    writes_.push_back(std::move(write));
}

void TFileSettingsStore::Close() {
    const std::vector<TWrite> writes = std::move(writes_);
    writes_.clear();
    snapshot_.reset();
    own_.reset();
    if (writes.empty()) return;
    file_.Update([&](const TSettingsFile::TContent& current) {
        TSettingsFile::TReplacement result;
        std::unique_ptr<TSettingsDocument> doc;
        if (current.Exists && !current.TooLarge) doc = parse_(current.Bytes);
        if (current.Exists && !doc) result.KeepAside = true;
        if (!doc) doc = Empty();
        for (const TWrite& write : writes)
            Apply(*doc, write);
        result.Text = doc->Text();
        return result;
    });
    if (!file_.KeptAsidePath().empty())
        std::fprintf(stderr,
                     "settings: %s was not a settings file; it is kept as %s and a new one was written\n",
                     Path().c_str(), file_.KeptAsidePath().c_str());
}

} // namespace emr
