// Saving and loading the layout of a dock panel with 30 toolbars of 15 buttons
// each, file operations included: the panel's save and every toolbar's save as
// destruction runs them, and the loads as loading a window runs them. Both
// stores; the files live in a fresh folder under /tmp.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/LayoutStore.h"
#include "toolbar/ToolBarLayoutPersistence.h"

namespace {

using namespace emr;

constexpr int kToolBars = 30;
constexpr int kButtons = 15;

class TLayoutScene {
public:
    explicit TLayoutScene(TPersistenceLocation location) : location_(location) {
        char pattern[] = "/tmp/emr-layout-bench-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
        platform::Backend::Install(std::make_unique<platform::HeadlessBackend>());
        app_ = new TApplication(nullptr);
        Build();
    }
    ~TLayoutScene() {
        Teardown();
        TObject::Free(app_);
        platform::Backend::Uninstall();
        const std::string command = "rm -rf '" + dir_ + "'";
        if (std::system(command.c_str()) != 0) std::abort();
    }
    /// A fresh window whose layout has not been loaded.
    void Rebuild() {
        Teardown();
        Build();
    }
    /// What destruction saves: the panel and every toolbar, in one replacement of the file.
    void Save() {
        TLayoutStore::TBatch batch;
        panel_->SaveDockLayout();
        for (TAdvToolBar* bar : bars_)
            bar->SaveToolBarLayout();
        batch.Commit();
    }
    /// What creating the window loads: the panel's layout, then each toolbar's own.
    void Load() {
        panel_->LoadDockLayout();
        for (TAdvToolBar* bar : bars_)
            if (!bar->LayoutPersistence()->Loaded()) bar->LoadToolBarLayout();
    }

private:
    void Build() {
        form_ = new TForm(app_);
        form_->SetBounds(0, 0, 1600, 1000);
        panel_ = new TAdvDockPanel(form_);
        panel_->SetName("Dock");
        panel_->SetParent(form_);
        TPersistence* p = panel_->Persistence();
        p->SetLocation(location_);
        p->SetKey(location_ == TPersistenceLocation::plIniFile ? "layout-bench.ini" : "Software\\Emr\\Bench");
        p->SetSection("Dock");
        bars_.clear();
        for (int t = 0; t < kToolBars; ++t) {
            auto* bar = new TAdvToolBar(form_);
            bar->SetName("ToolBar" + std::to_string(t + 1));
            bar->SetParent(panel_);
            for (int b = 0; b < kButtons; ++b) {
                auto* button = new TAdvToolBarButton(form_);
                button->SetName("Button" + std::to_string(t + 1) + "_" + std::to_string(b + 1));
                button->AttachToToolBar(bar);
                button->SetVisible(b % 4 != 0);
            }
            bars_.push_back(bar);
        }
        p->SetEnabled(true);
    }
    void Teardown() {
        panel_->Persistence()->SetEnabled(false);
        for (TAdvToolBar* bar : bars_)
            bar->Persistence()->SetEnabled(false);
        TObject::Free(form_);
    }

    TPersistenceLocation location_;
    std::string dir_;
    TApplication* app_ = nullptr;
    TForm* form_ = nullptr;
    TAdvDockPanel* panel_ = nullptr;
    std::vector<TAdvToolBar*> bars_;
};

void BM_SaveLayout(benchmark::State& state) {
    TLayoutScene scene(static_cast<TPersistenceLocation>(state.range(0)));
    scene.Save();
    for (auto _ : state)
        scene.Save();
}
BENCHMARK(BM_SaveLayout)->Arg(0)->Arg(1)->ArgName("ini")->Unit(benchmark::kMillisecond);

void BM_LoadLayout(benchmark::State& state) {
    TLayoutScene scene(static_cast<TPersistenceLocation>(state.range(0)));
    scene.Save();
    for (auto _ : state) {
        state.PauseTiming();
        scene.Rebuild();
        state.ResumeTiming();
        scene.Load();
    }
}
BENCHMARK(BM_LoadLayout)->Arg(0)->Arg(1)->ArgName("ini")->Unit(benchmark::kMillisecond);

} // namespace
