// workbench [--report]: the toolbar system's example window in a real X11 window.
// Its toolbars' places and the chosen look are kept in
// $XDG_CONFIG_HOME/workbench.ini (~/.config when the variable is unset) and come
// back at the next start.
//
// With --report, standard output carries the state a driver needs (see
// WorkbenchReport.h), polled and written again whenever it changes, and one line
//   chosen CAPTION
// whenever a command without a window of its own runs.
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "Workbench.h"
#include "WorkbenchReport.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Timer.h"
#include "framework/platform/Backend.h"
#include "framework/platform/x11/X11Backend.h"
#include "toolbar/ToolbarClasses.h"

using namespace emr;

namespace {

void StartReporting(TCustomForm* form) {
    auto* report = new TTimer(form);
    report->SetInterval(20);
    auto last = std::make_shared<std::string>();
    report->OnTimer = [form, last](TObject*) {
        std::string now = DescribeWorkbench(*form);
        if (now == *last) return;
        *last = std::move(now);
        std::cout << *last << std::flush;
    };
    report->SetEnabled(true);
}

} // namespace

int main(int argc, char** argv) {
    bool report = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--report") == 0) {
            report = true;
        } else {
            std::fprintf(stderr, "usage: workbench [--report]\n");
            return 2;
        }
    }
    std::unique_ptr<platform::Backend> backend = platform::CreateX11Backend();
    if (!backend) {
        std::fprintf(stderr, "%s\n", platform::NoDisplayMessage().c_str());
        return 1;
    }
    platform::Backend::Install(std::move(backend));
    int status = 0;
    try {
        RegisterToolbarClasses();
        TApplication* app = EnsureApplication();
        app->Initialize();
        TCustomForm* form = CreateWorkbench(app);
        app->SetMainForm(form);
        if (report) StartReporting(form);
        app->Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workbench: %s\n", e.what());
        status = 1;
    }
    // Freeing the window saves the toolbars' places.
    if (Application) {
        TApplication* app = Application;
        TObject::Free(app);
        Application = nullptr;
    }
    platform::Backend::Uninstall();
    return status;
}
