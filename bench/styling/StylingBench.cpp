// Cost of a preset switch seen by 50 registered controls, and of gradient bands.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "styling/GradientPainting.h"

// Counts heap allocations, so that the painting benchmarks can show that the
// gradient, blend and grip-line primitives allocate nothing per call.
namespace {
std::atomic<long> gAllocations{0};
} // namespace

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

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
    DrawGradient(canvas, clBtnFace, clWhite, 8, {0, 0, 400, 50}, horizontal);
    const long before = gAllocations;
    for (auto _ : state) {
        DrawGradient(canvas, RGB(218, 234, 253), RGB(136, 174, 228), steps, {0, 0, 400, 50}, horizontal);
        benchmark::ClobberMemory();
    }
    state.counters["allocs/call"] =
        static_cast<double>(gAllocations - before) / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * 400 * 50);
}
void BM_BlendAndGripLines(benchmark::State& state) {
    TBitmap bitmap(100, 50);
    TCanvas& canvas = *bitmap.Canvas();
    Draw3DGripLine(canvas, {5, 40}, {5, 4}, true, true);
    const long before = gAllocations;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BlendColor(clBtnFace, clHighlight, 35));
        Draw3DGripLine(canvas, {5, 40}, {5, 4}, true, true);
        Draw3DGripLine(canvas, {5, 10}, {90, 10}, false, false);
    }
    state.counters["allocs/call"] =
        static_cast<double>(gAllocations - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BlendAndGripLines);

BENCHMARK(BM_DrawGradient400x50)->ArgsProduct({{64, 128, 256}, {1, 0}})->ArgNames({"steps", "horizontal"});

} // namespace
} // namespace emr
