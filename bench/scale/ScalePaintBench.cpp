// The main window's full repaint into a back buffer of the device size, at 100 %,
// 150 % and 200 %: four times the pixels at 200 % should cost at most 4.5 times the
// time at 100 %.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "app/AppClasses.h"
#include "app/Unit1.h"
#include "framework/controls/PaintEngine.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/streaming/LayoutReader.h"

namespace {

using namespace emr;

/// Percent per benchmark argument unit.
constexpr double kPercent = 100.0;

struct MainWindow {
    MainWindow() {
        auto be = std::make_unique<platform::HeadlessBackend>();
        platform::Backend::Install(std::move(be));
        app = new TApplication(nullptr);
        RegisterAppClasses();
        form = new TForm1(app);
        TLayoutReader::ReadRootFromText(Unit1Layout(), form);
        app->SetMainForm(form);
        form->DoCreate();
        form->Show();
        app->ProcessMessages();
    }
    ~MainWindow() {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    TApplication* app = nullptr;
    TForm1* form = nullptr;
};

void BM_MainWindowRepaintAtScale(benchmark::State& state) {
    MainWindow scene;
    const double scale = static_cast<double>(state.range(0)) / kPercent;
    const int w = scene.form->ClientWidth(), h = scene.form->ClientHeight();
    const int deviceW = static_cast<int>(std::nearbyint(w * scale));
    const int deviceH = static_cast<int>(std::nearbyint(h * scale));
    std::vector<std::uint32_t> buffer(static_cast<std::size_t>(deviceW) * deviceH);
    TCanvas canvas(buffer.data(), deviceW, deviceH, deviceW);
    canvas.SetScale(scale);
    for (auto _ : state) {
        TPaintEngine::PaintTree(scene.form, canvas, {0, 0}, {0, 0, w, h});
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["device_pixels"] = static_cast<double>(deviceW) * deviceH;
}
BENCHMARK(BM_MainWindowRepaintAtScale)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMicrosecond);

} // namespace
