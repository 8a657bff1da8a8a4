#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "framework/storage/SettingsStore.h"
#include "toolbar/Persistence.h"

namespace emr {

/// The settings store a persistence record names: the INI file `Key` for
/// plIniFile, the registry key `Key` for plRegistry.
class TLayoutStore {
public:
    using TFactory = std::function<std::unique_ptr<TSettingsStore>(const TPersistence& persistence)>;

    /// A store for the record, already open.
    static std::unique_ptr<TSettingsStore> Open(const TPersistence& persistence);
    /// Replaces how stores are made (null: the files of the record's Location).
    static void SetFactory(TFactory factory);

    /// Tells the user that a layout could not be saved, on standard error and
    /// through the application's exception handler when it has one. Saving runs
    /// while windows are destroyed, where an exception would end the program.
    static void ReportSaveFailure(const std::exception& error);
};

} // namespace emr
