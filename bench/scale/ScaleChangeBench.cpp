// The workbench window's monitor changes its scale (as a desktop setting change
// does): the cost from the ScaleChanged event to the presented frame, which
// includes the new back buffer, the dock rows' layout pass and painting the
// whole window at the new size. The scale alternates between 100 % and 150 %.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "Workbench.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "toolbar/ToolbarClasses.h"

namespace {

using namespace emr;
namespace fs = std::filesystem;

constexpr TRect kMonitor{0, 0, 1920, 1200};
constexpr double kScales[] = {1.5, 1.0};

void WorkbenchScaleChangeToFrame(benchmark::State& state) {
    // A folder of its own, so that no saved layout of a developer's is read or replaced.
    std::string folder = (fs::temp_directory_path() / "emr-scale-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("cannot create a configuration folder");
        return;
    }
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    {
        auto owned = std::make_unique<platform::HeadlessBackend>(kMonitor);
        platform::HeadlessBackend* backend = owned.get();
        platform::Backend::Install(std::move(owned));
        RegisterToolbarClasses();
        TApplication* app = EnsureApplication();
        app->Initialize();
        TCustomForm* form = CreateWorkbench(app);
        app->SetMainForm(form);
        form->Show();
        app->ProcessMessages();
        const auto* window = backend->FindWindow(form->NativeWindow());
        std::size_t next = 0;
        for (auto _ : state) {
            const int presents = window->PresentCount;
            backend->SetMonitorScale(0, kScales[next++ % std::size(kScales)]);
            app->ProcessMessages();
            if (window->PresentCount != presents + 1) {
                state.SkipWithError("a scale change did not present exactly one frame");
                break;
            }
        }
        TObject::Free(form);
        app->ProcessMessages();
        TObject::Free(app);
        Application = nullptr;
        platform::Backend::Uninstall();
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
BENCHMARK(WorkbenchScaleChangeToFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
