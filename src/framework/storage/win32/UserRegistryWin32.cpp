#include "framework/storage/UserRegistry.h"

#include "framework/storage/win32/Win32RegistryStore.h"

namespace emr {

std::unique_ptr<TSettingsStore> MakeUserRegistryStore(const std::string& key) {
    return std::make_unique<TWin32RegistryStore>(key);
}

} // namespace emr
