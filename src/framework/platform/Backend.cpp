#include "framework/platform/Backend.h"

#include "framework/core/Exception.h"

namespace emr::platform {

namespace {
std::unique_ptr<Backend>& Slot() {
    static std::unique_ptr<Backend> backend;
    return backend;
}
} // namespace

Backend& Backend::Current() {
    if (!Slot()) throw Exception("No windowing backend is installed");
    return *Slot();
}

bool Backend::Installed() {
    return Slot() != nullptr;
}

void Backend::Install(std::unique_ptr<Backend> backend) {
    Slot() = std::move(backend);
}

void Backend::Uninstall() {
    Slot().reset();
}

} // namespace emr::platform
