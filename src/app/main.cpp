// The regional-format patch utility: one window whose "确定" rewrites five of the
// current user's regional settings and whose "退出" quits.
#include <cstdio>
#include <memory>

#include "app/AppEnvironment.h"
#include "app/LinuxLocalePlatform.h"
#include "app/PosixFileSystem.h"
#include "app/Program.h"
#include "app/RegionalSettingsStore.h"
#include "app/StartupFormats.h"
#include "framework/forms/Application.h"
#include "framework/platform/Backend.h"
#include "framework/platform/x11/X11Backend.h"

int main() {
    using namespace emr;

    std::unique_ptr<platform::Backend> backend = platform::CreateX11Backend();
    if (!backend) {
        std::fprintf(stderr, "%s\n", platform::NoDisplayMessage().c_str());
        return 1;
    }
    platform::Backend::Install(std::move(backend));

    TPosixFileSystem files;
    TRegionalSettingsStore store(TRegionalSettingsStore::DefaultPath().value_or(""), files);
    TLinuxLocalePlatform localePlatform(store);
    TAppEnvironment& environment = AppEnvironment();
    environment.Platform = &localePlatform;
    environment.Formats = TStartupFormats::Read(store);

    ConnectLocalePlatform(localePlatform);
    StartApplication();
    Application->Run();

    ShutDownApplication();
    environment.Platform = nullptr;
    platform::Backend::Uninstall();
    return 0;
}
