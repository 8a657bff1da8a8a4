// Forms, dock rows and floating toolbars on monitors of different scales.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../framework/forms/ScopedEnvironment.h"
#include "ToolBarFixture.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Panel.h"
#include "framework/forms/Screen.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/streaming/LayoutReader.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/ToolbarClasses.h"

namespace emr {
namespace {

constexpr TRect kLeftMonitor{0, 0, 1000, 800};
constexpr TRect kRightMonitor{1000, 0, 3400, 1600};

/// A form with a dock panel on top (two rows of toolbars) and one at the bottom,
/// on the left of two monitors; the test sets their scales.
class WindowScaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        be = backend.get();
        be->SetMonitors({kLeftMonitor, kRightMonitor}, {1.0, 2.0});
        platform::Backend::Install(std::move(backend));
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(100, 100, 100, 100);
        form->SetClientWidth(400);
        form->SetClientHeight(300);
        top = new TAdvDockPanel(form);
        top->SetName("Top");
        top->SetParent(form);
        bottom = new TAdvDockPanel(form);
        bottom->SetName("Bottom");
        bottom->SetAlign(TDockAlign::daBottom);
        bottom->SetParent(form);
        for (const char* name : {"A", "B", "C"})
            bars.push_back(MakeToolBar(name, top));
        bars[1]->SetTop(bars[0]->Top() + 2);
        form->Show();
        app->ProcessMessages();
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    TAdvToolBar* MakeToolBar(const std::string& name, TWinControl* parent) {
        auto* t = new TAdvToolBar(form);
        t->SetName(name);
        for (int i = 0; i < 2; ++i) {
            auto* p = new TPanel(form);
            p->SetBounds(i * 40 + 1, 1, 37, 22);
            p->SetParent(t);
        }
        t->SetParent(parent);
        return t;
    }
    void Pump() { app->ProcessMessages(); }

    /// Every rectangle of every form: bounds of each control in DIPs, and each
    /// window's client area in device pixels.
    static std::string Geometry() {
        std::ostringstream out;
        for (TCustomForm* f : Screen().FormList()) {
            if (!f->Visible()) continue;
            const TRect n = f->NativeClientRect();
            out << f->ClassName() << " device " << n.Left << ',' << n.Top << ',' << n.Right << ',' << n.Bottom
                << '\n';
            Dump(f, out, 0);
        }
        return out.str();
    }
    static void Dump(const TControl* c, std::ostringstream& out, int depth) {
        const TRect r = c->BoundsRect();
        out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << c->Name() << ' ' << r.Left << ','
            << r.Top << ',' << r.Right << ',' << r.Bottom << '\n';
        if (const auto* w = dynamic_cast<const TWinControl*>(c))
            for (int i = 0; i < w->ControlCount(); ++i)
                Dump(w->Controls(i), out, depth + 1);
    }

    platform::HeadlessBackend* be = nullptr;
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvDockPanel* top = nullptr;
    TAdvDockPanel* bottom = nullptr;
    std::vector<TAdvToolBar*> bars;
};

TEST_F(WindowScaleTest, TheNativeWindowBackBufferAndInputAreInDevicePixelsAtTheWindowsScale) {
    be->SetMonitorScale(0, 1.5);
    Pump();
    const TPoint o = form->ClientOrigin();
    ASSERT_EQ(form->ClientRect(), (TRect{0, 0, 400, 300})) << "the DIP geometry stays";
    // Edges are rounded: 108 * 1.5 = 162, (108 + 400) * 1.5 = 762.
    const TRect native{static_cast<int>(std::lround(o.X * 1.5)), static_cast<int>(std::lround(o.Y * 1.5)),
                       static_cast<int>(std::lround((o.X + 400) * 1.5)),
                       static_cast<int>(std::lround((o.Y + 300) * 1.5))};
    EXPECT_EQ(be->FindWindow(form->NativeWindow())->Bounds, native);
    EXPECT_EQ(form->NativeClientRect(), native);
    EXPECT_EQ(form->BackBufferWidth(), 600);
    EXPECT_EQ(form->BackBufferHeight(), 450);
    EXPECT_EQ(form->BackBuffer().size(), 600u * 450u);

    // A click at a device point reaches the control under its DIP.
    std::vector<TPoint> clicks;
    TPanel* content = dynamic_cast<TPanel*>(bars[2]->Controls(0));
    ASSERT_NE(content, nullptr);
    content->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        clicks.push_back({x, y});
    };
    const TPoint dip = content->ClientToScreen({10, 7});
    be->Click(static_cast<int>(std::lround(dip.X * 1.5)), static_cast<int>(std::lround(dip.Y * 1.5)));
    Pump();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], (TPoint{10, 7}));

    // The window manager confirming the bounds moves nothing; moving the window
    // by device pixels moves the form by as many DIPs and keeps its size.
    const TRect before = form->BoundsRect();
    be->MoveFromOutside(form->NativeWindow(), native);
    Pump();
    EXPECT_EQ(form->BoundsRect(), before);
    be->MoveFromOutside(form->NativeWindow(), native.Offset(30, 15));
    Pump();
    EXPECT_EQ(form->BoundsRect(), before.Offset(20, 10));
    EXPECT_EQ(form->ClientRect(), (TRect{0, 0, 400, 300}));

    // The screen in DIPs: each monitor from its device origin, its size divided by its scale.
    EXPECT_EQ(Screen().Monitors(0), (TRect{0, 0, 667, 533}));
    EXPECT_EQ(Screen().Monitors(1), (TRect{1000, 0, 2200, 800}));
    EXPECT_EQ(Screen().DesktopRect(), (TRect{0, 0, 2200, 800}));
    EXPECT_EQ(Screen().WorkAreaRect(), (TRect{0, 0, 683, 512})) << "the whole 1024 x 768 screen";
}

TEST_F(WindowScaleTest, AScaleChangeIsOneLayoutPassPerPanelAndOneFrame) {
    const std::string before = Geometry();
    const auto* window = be->FindWindow(form->NativeWindow());
    const int presents = window->PresentCount;
    const std::uint64_t topPasses = top->LayoutPasses();
    const std::uint64_t bottomPasses = bottom->LayoutPasses();
    be->SetMonitorScale(0, 1.75);
    Pump();
    EXPECT_EQ(window->PresentCount, presents + 1) << "one frame";
    EXPECT_LE(top->LayoutPasses() - topPasses, 1u);
    EXPECT_LE(bottom->LayoutPasses() - bottomPasses, 1u);
    EXPECT_EQ(form->BackBufferWidth(), form->NativeClientRect().Width());
    EXPECT_EQ(form->BackBufferHeight(), form->NativeClientRect().Height());
    EXPECT_EQ(window->Bounds.Width(), 700) << "400 DIPs at 1.75";

    // A suggested rectangle is honoured: the window goes where the system puts it.
    be->SetSuggestsScaledRect(true);
    be->SetMonitorScale(0, 1.0);
    Pump();
    EXPECT_EQ(window->Bounds.Width(), 400);
    EXPECT_EQ(window->Bounds.Left, form->ClientOrigin().X);
}

TEST_F(WindowScaleTest, RoundTripsBetweenScalesLeaveEveryRectangleAsItWas) {
    ASSERT_NE(TFloatingWindow::FloatToolBar(bars[2], 300, 500, true), nullptr);
    Pump();
    be->SetSuggestsScaledRect(true);
    const std::string start = Geometry();
    for (int trip = 0; trip < 3; ++trip) {
        be->SetMonitorScale(0, 2.5);
        Pump();
        be->SetMonitorScale(0, 1.0);
        Pump();
        EXPECT_EQ(Geometry(), start) << "96 -> 240 -> 96 dpi, trip " << trip + 1;
    }
    std::map<double, std::string> at;
    for (double scale : {1.25, 1.5, 1.75, 2.0}) {
        be->SetMonitorScale(0, scale);
        Pump();
        at[scale] = Geometry();
    }
    be->SetMonitorScale(0, 1.0);
    Pump();
    EXPECT_EQ(Geometry(), start) << "100 -> 125 -> 150 -> 175 -> 200 -> 100 %";
    // Going there again lands on the same device pixels as the first time.
    be->SetMonitorScale(0, 1.75);
    Pump();
    EXPECT_EQ(Geometry(), at[1.75]);
}

TEST_F(WindowScaleTest, AToolBarDraggedOntoAMonitorOfAnotherScaleStaysUnderThePointerAndDocksWhereDropped) {
    be->SetScreen({0, 0, 3400, 1600});
    be->SetMonitors({kLeftMonitor, kRightMonitor}, {1.0, 2.0});
    // Torn off and dragged to the right monitor (twice the density).
    const TPoint grip = bars[0]->ClientToScreen({3, 20});
    be->MoveMouse(grip.X, grip.Y);
    be->Press(grip.X, grip.Y);
    const TPoint steps[] = {{grip.X, grip.Y + 150}, {900, 300}, {1500, 400}};
    for (TPoint s : steps)
        be->MoveMouse(s.X, s.Y, platform::ssLeft);
    Pump();
    ASSERT_TRUE(bars[0]->Floating());
    TFloatingWindow* window = TFloatingWindow::Of(bars[0]);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(be->WindowScale(window->NativeWindow()), 2.0);
    EXPECT_EQ(window->DeviceMapping().Scale(), 2.0);
    const TRect bounds = be->FindWindow(window->NativeWindow())->Bounds;
    EXPECT_TRUE(bounds.Contains({1500, 400}))
        << "the window stays under the pointer: " << bounds.Left << ',' << bounds.Top << ',' << bounds.Right
        << ',' << bounds.Bottom << " DIP " << window->Left() << ',' << window->Top();
    EXPECT_TRUE(window->NativeClientRect().Contains({1500, 400}));
    be->Release(1500, 400);
    Pump();

    // Dragged back over the bottom panel of the form on the left monitor: it docks there.
    const TRect caption = be->FindWindow(window->NativeWindow())->Bounds;
    const TPoint handle{caption.Left + 20, caption.Top + 16};
    const TPoint over = bottom->ClientToScreen({50, -10});
    be->MoveMouse(handle.X, handle.Y);
    be->Press(handle.X, handle.Y);
    be->MoveMouse(900, 500, platform::ssLeft);
    be->MoveMouse(over.X, over.Y, platform::ssLeft);
    be->Release(over.X, over.Y);
    Pump();
    EXPECT_TRUE(bars[0]->Docked());
    EXPECT_EQ(bars[0]->Parent(), bottom);
}

} // namespace
} // namespace emr

namespace emr {
namespace {

/// A window saved on one scale and read back on others, through an INI layout.
class ScaledPersistenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto unique = std::to_string(std::random_device{}());
        folder = std::filesystem::temp_directory_path() / ("emr-scaled-layout-" + unique);
        ASSERT_TRUE(std::filesystem::create_directories(folder));
        ini = (folder / "layout.ini").generic_string();
        configHome.emplace("XDG_CONFIG_HOME", folder.string());
        auto backend = std::make_unique<platform::HeadlessBackend>(kScreen);
        be = backend.get();
        platform::Backend::Install(std::move(backend));
        app = new TApplication(nullptr);
        RegisterToolbarClasses();
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    void AtScale(double scale) { be->SetMonitors({kScreen}, {scale}); }
    std::optional<testing::TScopedEnvironment> configHome;
    TCustomForm* ShowStoredForm() {
        std::string text = "object LayoutForm: TForm\n  Left = 40\n  Top = 30\n  ClientWidth = 400\n"
                           "  ClientHeight = 300\n  object Dock: TAdvDockPanel\n"
                           "    Persistence.Location = plIniFile\n    Persistence.Key = '" +
                           ini + "'\n    Persistence.Section = 'Dock'\n    Persistence.Enabled = True\n";
        text += testing::StoredToolBars(3) + "  end\nend\n";
        auto* form = dynamic_cast<TCustomForm*>(TLayoutReader::CreateFromText(text, app));
        form->Show();
        app->ProcessMessages();
        return form;
    }
    /// The rows and the floating window's place, in DIPs.
    static std::string Layout(TCustomForm* form) {
        std::string out;
        for (const std::string& line : form->FindComponentAs<TAdvDockPanel>("Dock")->DumpRows())
            out += line + "\n";
        if (auto* window = TFloatingWindow::Of(form->FindComponentAs<TAdvToolBar>("Bar2")))
            out += "floating " + std::to_string(window->Left()) + "," + std::to_string(window->Top()) + "\n";
        return out;
    }

    static constexpr TRect kScreen{0, 0, 2048, 1536};
    std::filesystem::path folder;
    std::string ini;
    platform::HeadlessBackend* be = nullptr;
    TApplication* app = nullptr;
};

TEST_F(ScaledPersistenceTest, ALayoutSavedAt150PercentRestoresTheSameDipGeometryAt100And200Percent) {
    AtScale(1.5);
    TCustomForm* form = ShowStoredForm();
    auto* bar2 = form->FindComponentAs<TAdvToolBar>("Bar2");
    ASSERT_NE(TFloatingWindow::FloatToolBar(bar2, 500, 350, true), nullptr);
    form->FindComponentAs<TAdvToolBar>("Bar3")->SetLeft(150);
    app->ProcessMessages();
    const std::string saved = Layout(form);
    TObject::Free(form);
    app->ProcessMessages();
    for (double scale : {1.0, 2.0}) {
        AtScale(scale);
        form = ShowStoredForm();
        EXPECT_EQ(Layout(form), saved) << "at " << scale;
        TObject::Free(form);
        app->ProcessMessages();
    }
}

TEST_F(ScaledPersistenceTest, AFloatingToolBarSavedOnAMonitorThatIsGoneLandsInsideTheWorkAreaAtItsScale) {
    // Saved at (1500, 900) DIPs on a second monitor; what is left is one monitor
    // at 200 %: 1024 x 768 DIPs, its task bar 80 device pixels high.
    AtScale(2.0);
    be->SetWorkArea({0, 0, 2048, 1456});
    std::ofstream(ini) << "[UnDockedAdvToolBars]\nBar2.Name=Bar2\nBar2.State=1\nBar2.Left=1500\nBar2.Top="
                          "900\nBar2.Visible=1\n";
    TCustomForm* form = ShowStoredForm();
    auto* window = TFloatingWindow::Of(form->FindComponentAs<TAdvToolBar>("Bar2"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Left() + window->Width(), 1024);
    EXPECT_EQ(window->Top() + window->Height(), 728);
    const TRect device = TDeviceMapping::ForDipRect(window->BoundsRect()).ToDevice(window->BoundsRect());
    EXPECT_TRUE(TRect({0, 0, 2048, 1456}).Intersect(device) == device) << "the whole window on the screen";
}

} // namespace
} // namespace emr
