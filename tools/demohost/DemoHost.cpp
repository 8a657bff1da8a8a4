#include "DemoHost.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <utility>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Timer.h"
#include "framework/platform/Backend.h"
#include "framework/platform/x11/X11Backend.h"
#include "framework/storage/SettingsFile.h"
#include "toolbar/ToolbarClasses.h"

namespace emr {

int RunDemoOnX11(const char* program, const std::function<TCustomForm*(TApplication*)>& build) {
    std::unique_ptr<platform::Backend> backend = platform::CreateX11Backend();
    if (!backend) {
        std::fprintf(stderr, "%s\n", platform::NoDisplayMessage().c_str());
        return 1;
    }
    backend->SetIdentity({program, "", {}});
    platform::Backend::Install(std::move(backend));
    int status = 0;
    try {
        RegisterToolbarClasses();
        TApplication* app = EnsureApplication();
        app->Initialize();
        // The windows keep repainting while a save waits for a folder another program holds.
        TSettingsFile::SetWhileWaiting([] {
            if (Application) Application->RepaintWhileWaiting();
        });
        app->SetMainForm(build(app));
        app->Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", program, e.what());
        status = 1;
    }
    if (Application) {
        TApplication* app = Application;
        TObject::Free(app);
        Application = nullptr;
    }
    platform::Backend::Uninstall();
    return status;
}

void ReportChanges(TComponent* owner, std::function<std::string()> describe) {
    // Polling keeps the report independent of which step (a resize, a paint, a
    // click) changed what it shows.
    auto* timer = new TTimer(owner);
    timer->SetInterval(20);
    timer->OnTimer = [describe = std::move(describe), last = std::string()](TObject*) mutable {
        std::string now = describe();
        if (now == last) return;
        last = std::move(now);
        std::cout << last;
        if (!last.ends_with('\n')) std::cout << '\n';
        std::cout << std::flush;
    };
    timer->SetEnabled(true);
}

} // namespace emr
