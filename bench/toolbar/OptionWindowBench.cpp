// Cost of opening a toolbar's option window with 50 hidden buttons on the X11
// backend: building it (the buttons move into its panel, with separator copies),
// placing and showing it, painting it and handing the frame to the X server, up
// to the server having taken that frame. Needs a display (run it under Xvfb);
// it skips itself without one.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/x11/X11Backend.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarSeparator.h"
#include "toolbar/ControlSelectorPanel.h"
#include "toolbar/OptionSelectorWindow.h"
#include "toolbar/ToolBarOptionWindow.h"

namespace emr {
namespace {

/// A shown form whose docked toolbar of `buttons` captioned buttons (a separator
/// after every tenth) keeps only its first `kept` on the bar.
class X11Scene {
public:
    X11Scene(int buttons, int kept) {
        std::unique_ptr<platform::Backend> x11 = platform::CreateX11Backend();
        if (!x11) return;
        backend = x11.get();
        platform::Backend::Install(std::move(x11));
        app = new TApplication(nullptr);
        auto* form = new TForm(app);
        form->SetBounds(20, 20, 600, 120);
        auto* styler = new TAdvToolBarOfficeStyler(form);
        auto* dock = new TAdvDockPanel(form);
        dock->SetParent(form);
        toolBar = new TAdvToolBar(form);
        toolBar->SetParent(dock);
        toolBar->SetToolBarStyler(styler);
        toolBar->SetAutoOptionMenu(true);
        TBitmap glyph(16, 16);
        glyph.Canvas()->Brush()->SetColor(clGreen);
        glyph.Canvas()->FillRect({0, 0, 16, 16});
        int keptLength = 0;
        for (int i = 0; i < buttons; ++i) {
            if (i > 0 && i % 10 == 0) (new TAdvToolBarSeparator(form))->AttachToToolBar(toolBar);
            auto* b = new TAdvToolBarButton(form);
            b->SetGlyph(&glyph);
            b->SetGlyphPosition(TGlyphPosition::gpTop);
            b->SetShowCaption(true);
            b->SetCaption(i % 2 ? "退出" : "确定");
            b->AttachToToolBar(toolBar);
            if (i == kept - 1) keptLength = b->Left() + b->Width();
        }
        form->Show();
        app->ProcessMessages();
        toolBar->Constraints()->SetMinWidth(0);
        toolBar->SetBoundsAdjustmentSuppressed(true);
        toolBar->SetBounds(toolBar->Left(), toolBar->Top(), keptLength + 14, toolBar->Height());
        app->ProcessMessages();
    }
    ~X11Scene() {
        if (!backend) return;
        TObject::Free(app);
        platform::Backend::Uninstall();
    }

    /// Opens the window as a press on the option indicator does, paints it and
    /// presents it; the pointer query is a round trip, so the server has the frame.
    void Open() {
        toolBar->OptionWindow()->Show({}, false);
        toolBar->OptionWindow()->Window()->Update();
        benchmark::DoNotOptimize(backend->PointerPosition());
    }
    void Close() {
        toolBar->CloseOptionWindow();
        app->ProcessMessages();
    }

    platform::Backend* backend = nullptr;
    TApplication* app = nullptr;
    TAdvToolBar* toolBar = nullptr;
};

void BM_OptionWindowWith50HiddenButtonsToFirstFrameOnX11(benchmark::State& state) {
    X11Scene scene(60, 10);
    if (!scene.backend) {
        state.SkipWithError("no X display");
        return;
    }
    // The first opening also creates the window and its panel; later ones reuse them.
    const auto start = std::chrono::steady_clock::now();
    scene.Open();
    const auto first = std::chrono::steady_clock::now() - start;
    const std::size_t listed = scene.toolBar->OptionWindow()->Panel()->ListedControls().size();
    scene.Close();
    for (auto _ : state) {
        scene.Open();
        state.PauseTiming();
        scene.Close();
        state.ResumeTiming();
    }
    state.counters["first_open_us"] = std::chrono::duration<double, std::micro>(first).count();
    state.counters["listed"] = static_cast<double>(listed);
}
BENCHMARK(BM_OptionWindowWith50HiddenButtonsToFirstFrameOnX11)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace emr
