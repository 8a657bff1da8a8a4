// Cost of a preset switch seen by 50 registered controls, and of gradient bands.
#include <benchmark/benchmark.h>

#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "styling/GradientPainting.h"

namespace emr {
namespace {

// A control that only counts what it hears, as cheap as a real one that invalidates.
class TCountingClient : public TComponent, public IStylerClient {
    EMR_CLASS(TCountingClient)
public:
    explicit TCountingClient(TComponent* owner) : TComponent(owner) {}
    void StylerChanged(int) override { ++calls; }
    long calls = 0;
};

void BM_PresetSwitch50Controls(benchmark::State& state) {
    TComponent owner(nullptr);
    auto* styler = new TAdvToolBarOfficeStyler(&owner);
    std::vector<TCountingClient*> clients;
    for (int i = 0; i < 50; ++i) {
        clients.push_back(new TCountingClient(&owner));
        styler->AddControl(clients.back());
    }
    const TToolBarStyle looks[] = {bsOffice2003Blue, bsOffice2007Luna, bsWindowsXP, bsOffice2010Black};
    std::size_t next = 0;
    for (auto _ : state) {
        styler->SetStyle(looks[next]);
        next = (next + 1) % 4;
    }
    benchmark::DoNotOptimize(clients.front()->calls);
    state.counters["calls/switch"] =
        static_cast<double>(clients.front()->calls) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PresetSwitch50Controls);

void BM_DrawGradient400x50(benchmark::State& state) {
    const int steps = static_cast<int>(state.range(0));
    const bool horizontal = state.range(1) != 0;
    TBitmap bitmap(400, 50);
    TCanvas& canvas = *bitmap.Canvas();
    for (auto _ : state) {
        DrawGradient(canvas, RGB(218, 234, 253), RGB(136, 174, 228), steps, {0, 0, 400, 50}, horizontal);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 400 * 50);
}
BENCHMARK(BM_DrawGradient400x50)->ArgsProduct({{64, 128, 256}, {1, 0}})->ArgNames({"steps", "horizontal"});

} // namespace
} // namespace emr
