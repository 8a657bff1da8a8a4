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

    /// While a batch exists, the stores opened for one file share one open store,
    /// and the file is written once, by Commit: a window's panel and toolbars save
    /// with one replacement of the file instead of one each.
    class TBatch {
    public:
        TBatch();
        /// Forgets what was not committed.
        ~TBatch();
        TBatch(const TBatch&) = delete;
        TBatch& operator=(const TBatch&) = delete;
        /// Writes every file of the batch; throws the first store error after trying all.
        void Commit();

    private:
        bool outermost_;
    };

    /// A store for the record, already open.
    static std::unique_ptr<TSettingsStore> Open(const TPersistence& persistence);
    /// A store to load a layout from, already open. A file that holds no settings
    /// is kept aside under a new name and one that cannot be read at all is passed
    /// over; either is told to the user (ReportLoadProblem), and the store then
    /// reads as empty, so that the window comes up as its stored layout has it.
    static std::unique_ptr<TSettingsStore> OpenToLoad(const TPersistence& persistence);
    /// Replaces how stores are made (null: the files of the record's Location).
    static void SetFactory(TFactory factory);

    /// Tells the user that a layout could not be saved, on standard error and
    /// through the application's exception handler when it has one. Saving runs
    /// while windows are destroyed, where an exception would end the program.
    /// A problem is told once, however often it recurs, until a layout loads or
    /// saves without one.
    static void ReportSaveFailure(const std::exception& error);
    /// Tells the user, in the same two ways, that a saved layout could not be used.
    static void ReportLoadProblem(const std::exception& error);

private:
    static void Report(const char* what, const std::exception& error);
};

} // namespace emr
