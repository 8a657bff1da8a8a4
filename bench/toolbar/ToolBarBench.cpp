// Cost of painting the main window's toolbar and a 20-button toolbar, and of laying
// out and sizing a 200-button toolbar.
#include <benchmark/benchmark.h>

#include <memory>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"

namespace emr {
namespace {

/// A headless form holding one toolbar with `buttons` glyph-and-caption buttons.
class Scene {
public:
    explicit Scene(int buttons) {
        platform::Backend::Install(std::make_unique<platform::HeadlessBackend>());
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(0, 0, 100, 100);
        form->SetClientWidth(buttons * 40 + 100);
        form->SetClientHeight(80);
        auto* styler = new TAdvToolBarOfficeStyler(form);
        styler->Color()->SetColor(16640730);
        styler->Color()->SetColorTo(14986888);
        styler->Color()->SetDirection(gdVertical);
        styler->SetBorderColor(14731181);
        toolBar = new TAdvToolBar(form);
        toolBar->SetParent(form);
        toolBar->SetToolBarStyler(styler);
        TBitmap glyph(16, 16);
        glyph.Canvas()->Brush()->SetColor(clGreen);
        glyph.Canvas()->FillRect({0, 0, 16, 16});
        for (int i = 0; i < buttons; ++i) {
            auto* b = new TAdvToolBarButton(form);
            b->SetGlyph(&glyph);
            b->SetGlyphPosition(TGlyphPosition::gpTop);
            b->SetShowCaption(true);
            b->SetCaption(i % 2 ? "退出" : "确定");
            b->AttachToToolBar(toolBar);
        }
        form->Show();
        app->ProcessMessages();
    }
    ~Scene() {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    TApplication* app;
    TForm* form;
    TAdvToolBar* toolBar;
};

void PaintToolBar(benchmark::State& state, int buttons) {
    Scene scene(buttons);
    for (auto _ : state) {
        scene.toolBar->Invalidate();
        scene.form->PaintWindowNow();
    }
    state.counters["width"] = scene.toolBar->Width();
}

void BM_PaintMainWindowToolBar(benchmark::State& state) {
    PaintToolBar(state, 2);
}
BENCHMARK(BM_PaintMainWindowToolBar)->Unit(benchmark::kMicrosecond);

void BM_Paint20ButtonToolBar(benchmark::State& state) {
    PaintToolBar(state, 20);
}
BENCHMARK(BM_Paint20ButtonToolBar)->Unit(benchmark::kMicrosecond);

void BM_ArrangeAndSize200Buttons(benchmark::State& state) {
    Scene scene(200);
    for (auto _ : state) {
        scene.toolBar->ArrangeControls(true);
        scene.toolBar->UpdateSize();
    }
    state.counters["width"] = scene.toolBar->Width();
}
BENCHMARK(BM_ArrangeAndSize200Buttons)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace emr
