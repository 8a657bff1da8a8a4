// Start-up of the workbench window to its first frame on the headless backend:
// the window is read from its stored layout, its dock panels and toolbars load
// the layout file a previous run saved (a toolbar moved to another edge, one
// floating), and the first frame is painted and presented. The
// layout file lives in a private configuration folder, written once before the
// runs and read by every one.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "Workbench.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/ToolbarClasses.h"

namespace {

using namespace emr;
namespace fs = std::filesystem;

/// A configuration folder of its own for the run, removed at the end.
class TPrivateConfigFolder {
public:
    TPrivateConfigFolder() {
        std::string pattern = (fs::temp_directory_path() / "emr-workbench-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a configuration folder");
        path_ = pattern;
        ::setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
    }
    ~TPrivateConfigFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TPrivateConfigFolder(const TPrivateConfigFolder&) = delete;
    TPrivateConfigFolder& operator=(const TPrivateConfigFolder&) = delete;

    bool Holds(const std::string& file) const { return fs::exists(fs::path(path_) / file); }

private:
    std::string path_;
};

/// The headless backend and the application, for the whole run.
struct THeadlessApp {
    THeadlessApp() {
        auto be = std::make_unique<platform::HeadlessBackend>();
        backend = be.get();
        platform::Backend::Install(std::move(be));
        RegisterToolbarClasses();
        app = EnsureApplication();
        app->Initialize();
    }
    ~THeadlessApp() {
        TObject::Free(app);
        Application = nullptr;
        platform::Backend::Uninstall();
    }
    platform::HeadlessBackend* backend = nullptr;
    TApplication* app = nullptr;
};

template <class T> T* Part(TCustomForm* form, const char* name) {
    T* part = form->FindComponentAs<T>(name);
    if (!part) throw std::runtime_error(std::string("the workbench has no ") + name);
    return part;
}

/// Shows the window and waits for its first presented frame.
void ShowToFirstFrame(THeadlessApp& env, TCustomForm* form) {
    env.app->SetMainForm(form);
    form->Show();
    env.app->ProcessMessages();
    form->PaintWindowNow();
    const auto* window = env.backend->FindWindow(form->NativeWindow());
    if (!window || window->PresentCount == 0) throw std::runtime_error("no frame was presented");
}

/// What a user leaves behind: the first toolbar of the top edge moved to the
/// left edge, the last one floating, then the window closed (which saves).
void SaveRearrangedLayout(THeadlessApp& env) {
    TCustomForm* form = CreateWorkbench(env.app);
    ShowToFirstFrame(env, form);
    auto* top = Part<TAdvDockPanel>(form, "TopDock");
    auto* left = Part<TAdvDockPanel>(form, "LeftDock");
    TAdvToolBar* moved = nullptr;
    TAdvToolBar* floated = nullptr;
    for (int i = 0; i < top->ControlCount(); ++i) {
        auto* bar = dynamic_cast<TAdvToolBar*>(top->Controls(i));
        if (!bar || bar->Menu()) continue;
        if (!moved)
            moved = bar;
        else
            floated = bar;
    }
    if (moved) moved->SetParent(left);
    if (floated) TFloatingWindow::FloatToolBar(floated, 300, 200, true);
    env.app->ProcessMessages();
    TObject::Free(form);
    env.app->ProcessMessages();
}

void WorkbenchStartupToFirstFrame(benchmark::State& state) {
    TPrivateConfigFolder config;
    THeadlessApp env;
    SaveRearrangedLayout(env);
    if (!config.Holds("workbench.ini")) {
        state.SkipWithError("the workbench saved no layout file");
        return;
    }
    for (auto _ : state) {
        TCustomForm* form = CreateWorkbench(env.app);
        ShowToFirstFrame(env, form);
        state.PauseTiming();
        // Closing saves the layout again; that is the cost of ending, not of starting.
        TObject::Free(form);
        env.app->ProcessMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(WorkbenchStartupToFirstFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
