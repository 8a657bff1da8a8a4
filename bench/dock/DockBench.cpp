// The main window's full repaint (with and without handing the frame to the
// backend), and dock-panel row arrangement while a panel of many toolbars is
// resized.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AppClasses.h"
#include "app/Unit1.h"
#include "framework/controls/Mouse.h"
#include "framework/controls/PaintEngine.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Panel.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/platform/x11/X11Backend.h"
#include "framework/streaming/LayoutReader.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"

namespace {

using namespace emr;

struct Headless {
    Headless() {
        auto be = std::make_unique<platform::HeadlessBackend>();
        backend = be.get();
        platform::Backend::Install(std::move(be));
        app = new TApplication(nullptr);
    }
    ~Headless() {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    platform::HeadlessBackend* backend = nullptr;
    TApplication* app = nullptr;
};

/// The main window loaded from its stored layout and shown.
void ShowMainWindow(TApplication* app, TForm1*& form) {
    RegisterAppClasses();
    form = new TForm1(app);
    TLayoutReader::ReadRootFromText(Unit1Layout(), form);
    app->SetMainForm(form);
    form->DoCreate();
    form->Show();
    app->ProcessMessages();
}

struct MainWindow : Headless {
    MainWindow() { ShowMainWindow(app, form); }
    TForm1* form = nullptr;
};

void BM_MainWindowRepaintIntoBackBuffer(benchmark::State& state) {
    // The whole client area painted into a back buffer, as a window repaint does,
    // without handing the frame on.
    MainWindow scene;
    const int w = scene.form->ClientWidth(), h = scene.form->ClientHeight();
    std::vector<std::uint32_t> buffer(static_cast<std::size_t>(w) * h);
    TCanvas canvas(buffer.data(), w, h, w);
    for (auto _ : state) {
        TPaintEngine::PaintTree(scene.form, canvas, {0, 0}, {0, 0, w, h});
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(BM_MainWindowRepaintIntoBackBuffer)->Unit(benchmark::kMicrosecond);

void BM_MainWindowRepaintAndPresent(benchmark::State& state) {
    MainWindow scene;
    for (auto _ : state) {
        scene.form->Invalidate();
        scene.form->Update();
    }
}
BENCHMARK(BM_MainWindowRepaintAndPresent)->Unit(benchmark::kMicrosecond);

void BM_MainWindowDockPanelRepaint(benchmark::State& state) {
    // The command bar alone: dock gradient, toolbar and both buttons.
    MainWindow scene;
    for (auto _ : state) {
        scene.form->AdvDockPanel1->Invalidate();
        scene.form->Update();
    }
}
BENCHMARK(BM_MainWindowDockPanelRepaint)->Unit(benchmark::kMicrosecond);

void BM_MainWindowRepaintAndPresentToXServer(benchmark::State& state) {
    // Needs a display (run under Xvfb); presenting goes through shared memory when the
    // server offers it.
    std::unique_ptr<platform::Backend> backend = platform::CreateX11Backend();
    if (!backend) {
        state.SkipWithError("no X display");
        return;
    }
    platform::Backend::Install(std::move(backend));
    auto* app = new TApplication(nullptr);
    TForm1* form = nullptr;
    ShowMainWindow(app, form);
    for (auto _ : state) {
        form->Invalidate();
        form->Update();
    }
    TObject::Free(app);
    platform::Backend::Uninstall();
}
BENCHMARK(BM_MainWindowRepaintAndPresentToXServer)->Unit(benchmark::kMicrosecond);

/// The main window on the X server named by DISPLAY, or null (the benchmark
/// then reports that it had no display).
TForm1* ShowMainWindowOnXServer(benchmark::State& state, TApplication*& app) {
    std::unique_ptr<platform::Backend> backend = platform::CreateX11Backend();
    if (!backend) {
        state.SkipWithError("no X display");
        return nullptr;
    }
    platform::Backend::Install(std::move(backend));
    app = new TApplication(nullptr);
    TForm1* form = nullptr;
    ShowMainWindow(app, form);
    return form;
}

void CloseXServerWindow(TApplication* app) {
    TObject::Free(app);
    platform::Backend::Uninstall();
}

void BM_PointerEntersButtonPresentToXServer(benchmark::State& state) {
    // The pointer goes onto "确定" and off it again: each half repaints the button
    // alone and presents its 34 x 41 pixels.
    TApplication* app = nullptr;
    TForm1* form = ShowMainWindowOnXServer(state, app);
    if (!form) return;
    auto* button = dynamic_cast<TControl*>(form->FindComponent("AdvToolBarButton1"));
    for (auto _ : state) {
        TMouse::Instance().SetHotControl(button);
        form->Update();
        TMouse::Instance().SetHotControl(form->Panel1);
        form->Update();
    }
    state.counters["presents"] =
        benchmark::Counter(2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    CloseXServerWindow(app);
}
BENCHMARK(BM_PointerEntersButtonPresentToXServer)->Unit(benchmark::kMicrosecond);

void BM_CommandBarStripOffscreen(benchmark::State& state) {
    // The 382 x 47 strip with one toolbar, the size the peers' toolbars were
    // measured at, painted whole into a buffer of its own.
    MainWindow scene;
    TControl* strip = scene.form->AdvDockPanel1;
    const int w = strip->Width(), h = strip->Height();
    std::vector<std::uint32_t> buffer(static_cast<std::size_t>(w) * h);
    TCanvas canvas(buffer.data(), w, h, w);
    for (auto _ : state) {
        TPaintEngine::PaintTree(strip, canvas, {0, 0}, {0, 0, w, h});
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["width"] = w;
    state.counters["height"] = h;
}
BENCHMARK(BM_CommandBarStripOffscreen)->Unit(benchmark::kMicrosecond);

void BM_CommandBarStripRepaintAndPresentToXServer(benchmark::State& state) {
    TApplication* app = nullptr;
    TForm1* form = ShowMainWindowOnXServer(state, app);
    if (!form) return;
    for (auto _ : state) {
        form->AdvDockPanel1->Invalidate();
        form->Update();
    }
    CloseXServerWindow(app);
}
BENCHMARK(BM_CommandBarStripRepaintAndPresentToXServer)->Unit(benchmark::kMicrosecond);

/// Waits, outside the timing, until the X server has handled everything sent so
/// far: a pointer query is a round trip. A user's pointer moves far slower than
/// these loops run, so each repaint finds the server idle, as it does here; the
/// unpaced loops above measure throughput with the server working alongside.
void LetServerCatchUp(benchmark::State& state) {
    state.PauseTiming();
    platform::Backend::Current().PointerPosition();
    state.ResumeTiming();
}

void BM_PointerEntersButtonPresentPaced(benchmark::State& state) {
    TApplication* app = nullptr;
    TForm1* form = ShowMainWindowOnXServer(state, app);
    if (!form) return;
    auto* button = dynamic_cast<TControl*>(form->FindComponent("AdvToolBarButton1"));
    bool hot = false;
    for (auto _ : state) {
        LetServerCatchUp(state);
        hot = !hot;
        TMouse::Instance().SetHotControl(hot ? button : form->Panel1);
        form->Update();
    }
    CloseXServerWindow(app);
}
BENCHMARK(BM_PointerEntersButtonPresentPaced)->Unit(benchmark::kMicrosecond);

void BM_CommandBarStripRepaintAndPresentPaced(benchmark::State& state) {
    TApplication* app = nullptr;
    TForm1* form = ShowMainWindowOnXServer(state, app);
    if (!form) return;
    for (auto _ : state) {
        LetServerCatchUp(state);
        form->AdvDockPanel1->Invalidate();
        form->Update();
    }
    CloseXServerWindow(app);
}
BENCHMARK(BM_CommandBarStripRepaintAndPresentPaced)->Unit(benchmark::kMicrosecond);

/// A top dock panel holding `toolBars` toolbars of 15 buttons each in 6 rows.
struct CrowdedPanel : Headless {
    explicit CrowdedPanel(int toolBars) {
        form = new TForm(app);
        form->SetBounds(0, 0, 1300, 600);
        form->SetClientWidth(1200);
        styler = new TAdvToolBarOfficeStyler(form);
        dock = new TAdvDockPanel(form);
        dock->SetParent(form);
        dock->SetToolBarStyler(styler);
        for (int t = 0; t < toolBars; ++t) {
            auto* bar = new TAdvToolBar(form);
            for (int b = 0; b < 15; ++b) {
                auto* button = new TAdvToolBarButton(form);
                button->SetBounds(b * 23, 0, 23, 22);
                button->SetParent(bar);
            }
            bar->SetParent(dock);
            const int row = t % 6;
            if (row < dock->RowCount()) dock->MoveToRow(bar, row);
        }
        form->Show();
        app->ProcessMessages();
    }
    TForm* form = nullptr;
    TAdvToolBarOfficeStyler* styler = nullptr;
    TAdvDockPanel* dock = nullptr;
};

void BM_ArrangeRowsWhileResizing(benchmark::State& state) {
    CrowdedPanel scene(static_cast<int>(state.range(0)));
    int width = 1200;
    int step = -20;
    for (auto _ : state) {
        width += step;
        if (width <= 200 || width >= 1200) step = -step;
        scene.form->SetClientWidth(width);
    }
    state.counters["rows"] = scene.dock->RowCount();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ArrangeRowsWhileResizing)->Arg(30)->Arg(60)->Unit(benchmark::kMicrosecond);

} // namespace
