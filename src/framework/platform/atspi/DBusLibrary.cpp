#include "framework/platform/atspi/DBusLibrary.h"

#include <dlfcn.h>

namespace emr::platform::atspi {

namespace {

/// The library's run-time name (its ABI has kept this soname since 1.0).
constexpr const char* kLibraryName = "libdbus-1.so.3";

bool Resolve(void* handle, TDBusLibrary& calls) {
    bool complete = true;
#define EMR_DBUS_RESOLVE(name)                                                                               \
    calls.name = reinterpret_cast<decltype(calls.name)>(dlsym(handle, #name));                               \
    complete = complete && calls.name != nullptr;
    EMR_DBUS_CALLS(EMR_DBUS_RESOLVE)
#undef EMR_DBUS_RESOLVE
    return complete;
}

const TDBusLibrary* Load() {
    void* handle = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    static TDBusLibrary calls;
    if (!Resolve(handle, calls)) {
        dlclose(handle);
        return nullptr;
    }
    return &calls;
}

} // namespace

const TDBusLibrary* TDBusLibrary::Get() {
    static const TDBusLibrary* library = Load();
    return library;
}

} // namespace emr::platform::atspi
