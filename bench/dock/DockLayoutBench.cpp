// Dock layouts of growing size: a window whose four dock panels hold three rows of
// toolbars with 20 buttons each, resized; and one drag step of a toolbar across a
// crowded panel. Run with N = 10, 30, 100 and 300 toolbars to see how the cost grows.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"

namespace {

using namespace emr;

constexpr int kButtonsPerToolBar = 20;
constexpr int kRowsPerPanel = 3;

/// `toolBars` toolbars of 20 buttons shared out over dock panels on the given
/// edges, three rows to a panel, in a window on the headless backend.
struct DockedWindow {
    DockedWindow(int toolBars, const std::vector<TDockAlign>& edges) {
        auto be = std::make_unique<platform::HeadlessBackend>();
        platform::Backend::Install(std::move(be));
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(0, 0, 1300, 1000);
        form->SetClientWidth(1200);
        form->SetClientHeight(900);
        auto* styler = new TAdvToolBarOfficeStyler(form);
        for (TDockAlign edge : edges) {
            auto* dock = new TAdvDockPanel(form);
            dock->SetParent(form);
            dock->SetAlign(edge);
            dock->SetToolBarStyler(styler);
            docks.push_back(dock);
        }
        const bool vertical = edges.size() == 1 && IsVertical(edges[0]);
        for (int t = 0; t < toolBars; ++t) {
            TAdvDockPanel* dock = docks[static_cast<std::size_t>(t) % docks.size()];
            auto* bar = new TAdvToolBar(form);
            for (int b = 0; b < kButtonsPerToolBar; ++b) {
                auto* button = new TAdvToolBarButton(form);
                button->SetBounds(vertical ? 0 : b * 23, vertical ? b * 22 : 0, 23, 22);
                button->SetParent(bar);
            }
            bar->SetParent(dock);
            bars.push_back(bar);
            const int row = (t / static_cast<int>(docks.size())) % kRowsPerPanel;
            if (row < dock->RowCount()) dock->MoveToRow(bar, row);
        }
        form->Show();
        app->ProcessMessages();
    }
    ~DockedWindow() {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    TApplication* app = nullptr;
    TForm* form = nullptr;
    std::vector<TAdvDockPanel*> docks;
    std::vector<TAdvToolBar*> bars;
};

void BM_ResizeWindowWithFourDockedEdges(benchmark::State& state) {
    DockedWindow scene(static_cast<int>(state.range(0)),
                       {TDockAlign::daTop, TDockAlign::daBottom, TDockAlign::daLeft, TDockAlign::daRight});
    int width = 1200, height = 900, step = -20;
    for (auto _ : state) {
        width += step;
        height += step;
        if (width <= 600 || width >= 1200) step = -step;
        scene.form->SetClientWidth(width);
        scene.form->SetClientHeight(height);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ResizeWindowWithFourDockedEdges)
    ->Arg(10)
    ->Arg(30)
    ->Arg(100)
    ->Arg(120)
    ->Arg(300)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

void BM_DragStepAcrossACrowdedPanel(benchmark::State& state) {
    DockedWindow scene(static_cast<int>(state.range(0)), {TDockAlign::daTop});
    // The last toolbar of the first row, moved back and forth along the row as a
    // drag step moves it: each step pushes or squeezes its neighbours.
    TAdvDockPanel* dock = scene.docks[0];
    TAdvCustomToolBar* dragged = dock->Rows()->Row(0)->ToolBars().back();
    int step = -15;
    int travelled = 0;
    for (auto _ : state) {
        dragged->SetLeft(dragged->Left() + step);
        travelled += step;
        if (travelled <= -300 || travelled >= 0) step = -step;
    }
    state.counters["rows"] = dock->RowCount();
    state.counters["inRow"] = static_cast<double>(dock->Rows()->Row(0)->ToolBars().size());
    state.counters["width"] = dragged->Width();
    state.SetItemsProcessed(state.iterations());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DragStepAcrossACrowdedPanel)
    ->Arg(10)
    ->Arg(30)
    ->Arg(100)
    ->Arg(300)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

} // namespace
