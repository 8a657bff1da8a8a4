// Cost of a menu bar's popups on the X11 backend: dropping a 20-item styled menu
// from a menu button up to its first frame being with the X server, and moving
// the pointer from one open menu's button onto the next one's up to that menu's
// first frame. Needs a display (run it under Xvfb); it skips itself without one.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "framework/controls/Mouse.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/PopupMenu.h"
#include "framework/forms/ShortCut.h"
#include "framework/platform/x11/X11Backend.h"
#include "menus/AdvMainMenu.h"
#include "menus/AdvPopupMenu.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarMenuButton.h"
#include "toolbar/ToolBarMenuBar.h"

namespace emr {
namespace {

using Clock = std::chrono::steady_clock;

/// A shown form with a menu toolbar of two menus of 20 items each.
class MenuScene {
public:
    MenuScene() {
        std::unique_ptr<platform::Backend> x11 = platform::CreateX11Backend();
        if (!x11) return;
        backend = x11.get();
        platform::Backend::Install(std::move(x11));
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(20, 20, 600, 500);
        app->SetMainForm(form);
        auto* styler = new TAdvToolBarOfficeStyler(form);
        auto* menu = new TAdvMainMenu(form);
        for (const char* caption : {"&File", "&Edit"}) {
            auto* top = new TMenuItem(form);
            top->SetCaption(caption);
            menu->Items()->Add(top);
            for (int i = 0; i < 20; ++i) {
                auto* item = new TMenuItem(form);
                item->SetCaption(i % 7 == 6 ? "-" : "&Item number " + std::to_string(i));
                if (i % 5 == 0) item->SetShortCut(TextToShortCut("Ctrl+S"));
                item->SetChecked(i % 4 == 1);
                top->Add(item);
            }
        }
        toolBar = new TAdvToolBar(form);
        toolBar->SetParent(form);
        toolBar->SetToolBarStyler(styler);
        toolBar->SetMenu(menu);
        form->Show();
        app->ProcessMessages();
    }
    ~MenuScene() {
        if (!backend) return;
        app->OnIdle = nullptr;
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    TAdvCustomToolBarButton* Button(int i) const {
        return dynamic_cast<TAdvCustomToolBarButton*>(
            toolBar->PositionList().at(static_cast<std::size_t>(i)));
    }
    /// The dropped menu's items came from `item` and its window is painted.
    bool Showing(const TMenuItem* item) const {
        TAdvPopupMenu* popup = toolBar->MenuBar()->TemporaryPopup();
        return popup && popup->Tracking() && toolBar->MenuBar()->BorrowedFrom() == item;
    }
    /// Closes the dropped menu; the empty message wakes its loop, which an idle step does not.
    void CloseMenu() const {
        if (TAdvPopupMenu* popup = toolBar->MenuBar()->TemporaryPopup()) popup->CloseMenu();
        app->PostMessage(form, WM_NULL);
    }
    /// The first idle moment of a popup loop comes after its window was painted
    /// and presented; the pointer query is a round trip, so the server has the frame.
    void Synced() const { benchmark::DoNotOptimize(backend->PointerPosition()); }

    platform::Backend* backend = nullptr;
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvToolBar* toolBar = nullptr;
};

void BM_MenuBarDrops20ItemMenuToFirstFrameOnX11(benchmark::State& state) {
    MenuScene scene;
    if (!scene.backend) {
        state.SkipWithError("no X display");
        return;
    }
    TMenuItem* file = scene.Button(0)->MenuItem();
    for (auto _ : state) {
        Clock::duration took{};
        const auto start = Clock::now();
        scene.app->OnIdle = [&](TObject*) {
            if (took != Clock::duration{} || !scene.Showing(file)) return;
            scene.Synced();
            took = Clock::now() - start;
            scene.CloseMenu();
        };
        scene.Button(0)->OpenButtonMenu();
        scene.app->OnIdle = nullptr;
        scene.app->ProcessMessages();
        state.SetIterationTime(std::chrono::duration<double>(took).count());
    }
}
BENCHMARK(BM_MenuBarDrops20ItemMenuToFirstFrameOnX11)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_MenuBarHoverSwitchToFirstFrameOnX11(benchmark::State& state) {
    MenuScene scene;
    if (!scene.backend) {
        state.SkipWithError("no X display");
        return;
    }
    TMenuItem* file = scene.Button(0)->MenuItem();
    TMenuItem* edit = scene.Button(1)->MenuItem();
    const TPoint onEdit = scene.Button(1)->ClientToScreen({5, 5});
    const TPoint onFile = scene.Button(0)->ClientToScreen({5, 5});
    for (auto _ : state) {
        Clock::duration took{};
        Clock::time_point start;
        bool moved = false;
        scene.app->OnIdle = [&](TObject*) {
            if (!moved && scene.Showing(file)) {
                moved = true;
                platform::TEvent move;
                move.Type = platform::TEventType::MouseMove;
                move.Window = scene.form->NativeWindow();
                move.ScreenX = onEdit.X;
                move.ScreenY = onEdit.Y;
                start = Clock::now();
                scene.app->InjectInput(move);
            } else if (moved && took == Clock::duration{} && scene.Showing(edit)) {
                scene.Synced();
                took = Clock::now() - start;
                scene.CloseMenu();
            }
        };
        TMouse::Instance().SetCursorPos(onFile);
        scene.Button(0)->OpenButtonMenu();
        scene.app->ProcessMessages();
        scene.app->OnIdle = nullptr;
        scene.app->ProcessMessages();
        state.SetIterationTime(std::chrono::duration<double>(took).count());
    }
}
BENCHMARK(BM_MenuBarHoverSwitchToFirstFrameOnX11)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace emr
