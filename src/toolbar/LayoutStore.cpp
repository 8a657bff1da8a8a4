#include "toolbar/LayoutStore.h"

#include <cstdio>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "framework/forms/Application.h"
#include "framework/storage/IniFileStore.h"
#include "framework/storage/UserRegistry.h"

namespace emr {

namespace {

TLayoutStore::TFactory& Factory() {
    static TLayoutStore::TFactory factory;
    return factory;
}

constexpr const char* kNotLoaded = "toolbar layout not loaded";
constexpr const char* kNotSaved = "toolbar layout not saved";

/// The problems already told since the layouts last loaded (or saved) without
/// one. A folder that cannot be written fails every save of every toolbar
/// alike; the user hears of it once, and again only after it went away and
/// came back. A clean load says nothing of saves (a missing folder reads as an
/// empty file on one system and fails on the other), so each kind is forgotten
/// only by a clean operation of its own kind.
std::set<std::string>& ToldProblems() {
    static std::set<std::string> told;
    return told;
}

void ForgetToldProblems(const std::string& kind) {
    std::set<std::string>& told = ToldProblems();
    for (auto it = told.begin(); it != told.end();)
        it = it->starts_with(kind + ": ") ? told.erase(it) : std::next(it);
}

/// One file of the current batch: its open store, or why it could not be opened.
struct TBatchFile {
    std::unique_ptr<TSettingsStore> Store;
    std::exception_ptr OpenFailure;
    /// An empty store standing in for a file that could not be read.
    bool StandIn = false;
    /// Something was written into it: closing it then is a save.
    bool Written = false;
};
/// The files of the current batch, by location and key.
using TBatchStores = std::map<std::string, TBatchFile>;
TBatchStores* currentBatch = nullptr;

/// A store of a batch as one caller sees it: closing it leaves the shared store open.
class TBatchMember : public TSettingsStore {
public:
    TBatchMember(TSettingsStore& shared, bool& written) : shared_(shared), written_(written) {}
    void Open() override {}
    int ReadInteger(std::string_view section, std::string_view name, int fallback) override {
        return shared_.ReadInteger(section, name, fallback);
    }
    std::string ReadString(std::string_view section, std::string_view name,
                           std::string_view fallback) override {
        return shared_.ReadString(section, name, fallback);
    }
    void WriteInteger(std::string_view section, std::string_view name, int value) override {
        written_ = true;
        shared_.WriteInteger(section, name, value);
    }
    void WriteString(std::string_view section, std::string_view name, std::string_view value) override {
        written_ = true;
        shared_.WriteString(section, name, value);
    }
    void Close() override {}

private:
    TSettingsStore& shared_;
    bool& written_;
};

std::string BatchKey(const TPersistence& persistence) {
    return std::to_string(static_cast<int>(persistence.Location())) + "\n" + persistence.Key();
}

std::unique_ptr<TSettingsStore> MakeStore(const TPersistence& persistence) {
    if (Factory()) return Factory()(persistence);
    if (persistence.Location() == TPersistenceLocation::plIniFile)
        return std::make_unique<TIniFileStore>(persistence.Key());
    return MakeUserRegistryStore(persistence.Key());
}

} // namespace

TLayoutStore::TBatch::TBatch() : outermost_(currentBatch == nullptr) {
    if (outermost_) currentBatch = new TBatchStores;
}

TLayoutStore::TBatch::~TBatch() {
    if (!outermost_) return;
    delete currentBatch;
    currentBatch = nullptr;
}

void TLayoutStore::TBatch::Commit() {
    if (!outermost_ || !currentBatch) return;
    TBatchStores stores = std::move(*currentBatch);
    currentBatch->clear();
    std::exception_ptr first;
    bool reachedFile = false;
    for (auto& [key, file] : stores) {
        if (file.OpenFailure) {
            if (!first) first = file.OpenFailure;
            continue;
        }
        try {
            file.Store->Close();
            // Only a batch that saved something says the folder takes saves again.
            reachedFile = reachedFile || (!file.StandIn && file.Written);
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    if (first) std::rethrow_exception(first);
    if (reachedFile) ForgetToldProblems(kNotSaved);
}

std::unique_ptr<TSettingsStore> TLayoutStore::Open(const TPersistence& persistence) {
    if (currentBatch) {
        const std::string key = BatchKey(persistence);
        auto it = currentBatch->find(key);
        if (it == currentBatch->end()) {
            TBatchFile file;
            try {
                file.Store = MakeStore(persistence);
                file.Store->Open();
            } catch (...) {
                // Kept for Commit, which neither writes this file nor lets a later
                // member open it afresh: the file would get part of the batch's
                // values. The members write into nothing meanwhile.
                file.OpenFailure = std::current_exception();
                file.Store = std::make_unique<TEmptySettingsStore>();
            }
            it = currentBatch->emplace(key, std::move(file)).first;
        }
        return std::make_unique<TBatchMember>(*it->second.Store, it->second.Written);
    }
    std::unique_ptr<TSettingsStore> store = MakeStore(persistence);
    store->Open();
    return store;
}

std::unique_ptr<TSettingsStore> TLayoutStore::OpenToLoad(const TPersistence& persistence) {
    const std::string key = BatchKey(persistence);
    if (currentBatch) {
        auto it = currentBatch->find(key);
        if (it != currentBatch->end())
            return std::make_unique<TBatchMember>(*it->second.Store, it->second.Written);
    }
    std::unique_ptr<TSettingsStore> store = MakeStore(persistence);
    bool standIn = false;
    try {
        store->Open();
        const std::string kept = store->KeepAsideUnreadable();
        if (!kept.empty())
            ReportLoadProblem(ESettingsStoreError(kept));
        else
            ForgetToldProblems(kNotLoaded);
    } catch (const std::exception& e) {
        // Told once for a whole batch: its other members share this store.
        ReportLoadProblem(e);
        store = std::make_unique<TEmptySettingsStore>();
        standIn = true;
    }
    if (!currentBatch) return store;
    auto it = currentBatch->emplace(key, TBatchFile{std::move(store), nullptr, standIn}).first;
    return std::make_unique<TBatchMember>(*it->second.Store, it->second.Written);
}

void TLayoutStore::SetFactory(TFactory factory) {
    Factory() = std::move(factory);
}

void TLayoutStore::ReportSaveFailure(const std::exception& error) {
    Report(kNotSaved, error);
}

void TLayoutStore::ReportLoadProblem(const std::exception& error) {
    Report(kNotLoaded, error);
}

void TLayoutStore::Report(const char* what, const std::exception& error) {
    if (!ToldProblems().insert(std::string(what) + ": " + error.what()).second) return;
    std::fprintf(stderr, "%s: %s\n", what, error.what());
    if (!Application || !Application->OnException) return;
    try {
        Application->OnException(error);
    } catch (...) {
        // The handler runs during destruction and window creation too; what it
        // throws goes no further.
    }
}

} // namespace emr
