// Cost of keeping a docked 200-button toolbar's overflow while its length sweeps
// from full down to 20 pixels and back: one step is a length change, which
// recomputes the overflow and arranges the controls.
#include <benchmark/benchmark.h>

#include <memory>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarSeparator.h"

namespace emr {
namespace {

class DockedScene {
public:
    explicit DockedScene(int buttons) {
        platform::Backend::Install(std::make_unique<platform::HeadlessBackend>());
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(0, 0, 100, 100);
        form->SetClientWidth(buttons * 40 + 100);
        form->SetClientHeight(80);
        auto* styler = new TAdvToolBarOfficeStyler(form);
        auto* dock = new TAdvDockPanel(form);
        dock->SetParent(form);
        toolBar = new TAdvToolBar(form);
        toolBar->SetParent(dock);
        toolBar->SetToolBarStyler(styler);
        TBitmap glyph(16, 16);
        glyph.Canvas()->Brush()->SetColor(clGreen);
        glyph.Canvas()->FillRect({0, 0, 16, 16});
        for (int i = 0; i < buttons; ++i) {
            // A separator after every tenth button, so groups come and go too.
            if (i > 0 && i % 10 == 0) (new TAdvToolBarSeparator(form))->AttachToToolBar(toolBar);
            auto* b = new TAdvToolBarButton(form);
            b->SetGlyph(&glyph);
            b->SetGlyphPosition(TGlyphPosition::gpTop);
            b->SetShowCaption(true);
            b->SetCaption(i % 2 ? "退出" : "确定");
            b->AttachToToolBar(toolBar);
        }
        full = toolBar->Width();
        toolBar->Constraints()->SetMinWidth(0);
        toolBar->SetBoundsAdjustmentSuppressed(true);
    }
    ~DockedScene() {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    TApplication* app;
    TForm* form;
    TAdvToolBar* toolBar;
    int full = 0;
};

void OverflowSweep(benchmark::State& state) {
    DockedScene scene(200);
    const int step = static_cast<int>(state.range(0));
    int length = scene.full;
    int direction = -1;
    for (auto _ : state) {
        length += direction * step;
        if (length <= 20) {
            length = 20;
            direction = 1;
        } else if (length >= scene.full) {
            length = scene.full;
            direction = -1;
        }
        scene.toolBar->SetBounds(scene.toolBar->Left(), scene.toolBar->Top(), length,
                                 scene.toolBar->Height());
        benchmark::DoNotOptimize(scene.toolBar->OverflowList().size());
    }
    state.counters["hidden_at_end"] = static_cast<double>(scene.toolBar->OverflowList().size());
}
BENCHMARK(OverflowSweep)->Arg(1)->Arg(7)->Arg(34);

} // namespace
} // namespace emr
