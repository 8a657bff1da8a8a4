// Full repaint of a form the size of the main window (382 x 198 client, a strip
// of panels along the top and a client panel below), and routing of pointer moves
// across it with hot tracking.
#include <benchmark/benchmark.h>

#include <memory>

#include "framework/controls/CustomControl.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/headless/HeadlessBackend.h"

namespace {

using namespace emr;

/// A panel that fills itself and draws a frame, as simple panels do.
class Pane : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clBtnShadow);
        Canvas()->FrameRect(ClientRect());
    }
};

struct Scene {
    Scene() {
        auto be = std::make_unique<platform::HeadlessBackend>();
        backend = be.get();
        platform::Backend::Install(std::move(be));
        app = new TApplication(nullptr);
        app->CreateForm(form);
        form->SetBounds(389, 175, 398, 237);
        form->SetClientWidth(382);
        form->SetClientHeight(198);
        auto* strip = new Pane(form);
        strip->SetBounds(0, 0, 382, 47);
        strip->SetAlign(alTop);
        strip->SetParent(form);
        for (int i = 0; i < 4; ++i) {
            auto* p = new Pane(form);
            p->SetBounds(3 + i * 95, 1, 91, 45);
            p->SetParent(strip);
        }
        auto* panel = new Pane(form);
        panel->SetAlign(alClient);
        panel->SetParent(form);
        form->Show();
        app->ProcessMessages();
    }
    ~Scene() {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    platform::HeadlessBackend* backend = nullptr;
    TApplication* app = nullptr;
    TForm* form = nullptr;
};

void BM_FullRepaint(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.form->Invalidate();
        scene.form->Update();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_Route10000Moves(benchmark::State& state) {
    Scene scene;
    TPoint origin = scene.form->ClientOrigin();
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i)
            scene.backend->MoveMouse(origin.X + (i * 7) % 382, origin.Y + (i * 3) % 198);
        scene.app->ProcessMessages();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_Route10000Moves)->Unit(benchmark::kMillisecond);

} // namespace
