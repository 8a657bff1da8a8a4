#include "framework/storage/UserRegistry.h"

#include "framework/storage/RegistryStore.h"

namespace emr {

// A system without a registry keeps the user's in one export file.
std::unique_ptr<TSettingsStore> MakeUserRegistryStore(const std::string& key) {
    return std::make_unique<TRegistryStore>(key);
}

} // namespace emr
