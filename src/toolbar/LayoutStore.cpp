#include "toolbar/LayoutStore.h"

#include <cstdio>

#include "framework/forms/Application.h"
#include "framework/storage/IniFileStore.h"
#include "framework/storage/RegistryStore.h"

namespace emr {

namespace {

TLayoutStore::TFactory& Factory() {
    static TLayoutStore::TFactory factory;
    return factory;
}

} // namespace

std::unique_ptr<TSettingsStore> TLayoutStore::Open(const TPersistence& persistence) {
    std::unique_ptr<TSettingsStore> store;
    if (Factory())
        store = Factory()(persistence);
    else if (persistence.Location() == TPersistenceLocation::plIniFile)
        store = std::make_unique<TIniFileStore>(persistence.Key());
    else
        store = std::make_unique<TRegistryStore>(persistence.Key());
    store->Open();
    return store;
}

void TLayoutStore::SetFactory(TFactory factory) {
    Factory() = std::move(factory);
}

void TLayoutStore::ReportSaveFailure(const std::exception& error) {
    std::fprintf(stderr, "toolbar layout not saved: %s\n", error.what());
    if (!Application || !Application->OnException) return;
    try {
        Application->OnException(error);
    } catch (...) {
        // The handler runs during destruction too; what it throws goes no further.
    }
}

} // namespace emr
