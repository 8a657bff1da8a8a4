// The regional-format patch utility: one window whose "确定" rewrites five of the
// current user's regional settings and whose "退出" quits.
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

#include "app/AppEnvironment.h"
#include "app/AppUsage.h"
#include "app/LinuxLocalePlatform.h"
#include "app/Program.h"
#include "app/ProgramIcon.h"
#include "app/RegionalSettingsStore.h"
#include "app/StartupFormats.h"
#include "framework/forms/Application.h"
#include "framework/forms/CommandLine.h"
#include "framework/platform/Backend.h"
#include "framework/platform/x11/X11Backend.h"
#include "framework/storage/PosixFileSystem.h"

int main(int argc, char** argv) {
    using namespace emr;

    // Answered before the display is opened, so that they work without one.
    if (std::optional<int> status = ReadCommandLine(argc, argv, AppUsage(), stdout, stderr)) return *status;

    std::unique_ptr<platform::Backend> backend = platform::CreateX11Backend();
    if (!backend) {
        std::fprintf(stderr, "%s\n", platform::NoDisplayMessage().c_str());
        return 1;
    }
    backend->SetIdentity(ProgramIdentity());
    platform::Backend::Install(std::move(backend));

    TPosixFileSystem files;
    TRegionalSettingsStore store(TRegionalSettingsStore::DefaultPath().value_or(""), files);
    TLinuxLocalePlatform localePlatform(store);
    TAppEnvironment& environment = AppEnvironment();
    environment.Platform = &localePlatform;
    environment.Formats = TStartupFormats::Read(store);

    ConnectLocalePlatform(localePlatform);
    int status = 0;
    try {
        StartApplication();
        Application->Run();
    } catch (const std::exception& e) {
        // A layout that does not load, or a fault a handler let out of the loop:
        // say what it was instead of aborting. The patch keeps its own faults.
        std::fprintf(stderr, "emrpatch: %s\n", e.what());
        status = 1;
    }

    ShutDownApplication();
    environment.Platform = nullptr;
    platform::Backend::Uninstall();
    return status;
}
