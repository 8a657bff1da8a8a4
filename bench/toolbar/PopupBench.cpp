// Cost of opening a styled popup menu of 2,000 items on the X11 backend, from
// the call that shows it to its first frame being with the X server. Needs a
// display (run it under Xvfb); it skips itself without one. Besides the time,
// the CPU time the program's thread spent up to the frame (cpu_us), which the
// load of other programs on the machine does not inflate.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <string>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/ShortCut.h"
#include "framework/platform/x11/X11Backend.h"
#include "menus/AdvPopupMenu.h"
#include "styling/AdvMenuStyler.h"

namespace emr {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kItems = 2000;

/// The calling thread's CPU time.
Clock::duration ThreadCpuTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

/// A shown form and a styled popup menu of kItems items.
class PopupScene {
public:
    PopupScene() {
        std::unique_ptr<platform::Backend> x11 = platform::CreateX11Backend();
        if (!x11) return;
        backend = x11.get();
        platform::Backend::Install(std::move(x11));
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(20, 20, 600, 500);
        app->SetMainForm(form);
        auto* styler = new TAdvMenuStyler(form);
        popup = new TAdvPopupMenu(form);
        popup->SetMenuStyler(styler);
        for (int i = 0; i < kItems; ++i) {
            auto* item = new TMenuItem(form);
            item->SetCaption(i % 7 == 6 ? "-" : "&Item number " + std::to_string(i));
            if (i % 5 == 0) item->SetShortCut(TextToShortCut("Ctrl+S"));
            item->SetChecked(i % 4 == 1);
            popup->Items()->Add(item);
        }
        form->Show();
        app->ProcessMessages();
    }
    ~PopupScene() {
        if (!backend) return;
        app->OnIdle = nullptr;
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    /// The first idle moment of a popup loop comes after its window was painted
    /// and presented; the pointer query is a round trip, so the server has the frame.
    void Synced() const { benchmark::DoNotOptimize(backend->PointerPosition()); }

    platform::Backend* backend = nullptr;
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvPopupMenu* popup = nullptr;
};

void BM_StyledPopupOf2000ItemsToFirstFrameOnX11(benchmark::State& state) {
    PopupScene scene;
    if (!scene.backend) {
        state.SkipWithError("no X display");
        return;
    }
    Clock::duration cpu{};
    for (auto _ : state) {
        Clock::duration took{};
        const auto start = Clock::now();
        const auto cpuStart = ThreadCpuTime();
        scene.app->OnIdle = [&](TObject*) {
            if (took != Clock::duration{} || !scene.popup->Tracking()) return;
            scene.Synced();
            took = Clock::now() - start;
            cpu += ThreadCpuTime() - cpuStart;
            scene.popup->CloseMenu();
            scene.app->PostMessage(scene.form, WM_NULL);
        };
        scene.popup->Popup(40, 40);
        scene.app->OnIdle = nullptr;
        scene.app->ProcessMessages();
        state.SetIterationTime(std::chrono::duration<double>(took).count());
    }
    state.counters["cpu_us"] = std::chrono::duration<double, std::micro>(cpu).count() / state.iterations();
}
BENCHMARK(BM_StyledPopupOf2000ItemsToFirstFrameOnX11)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace emr
