#include <gtest/gtest.h>

#include <algorithm>

#include "Harness.h"
#include "framework/forms/Timer.h"

namespace emr::testing {
namespace {

TEST(Timers, TenThirtyAndFortyMillisecondTimersInterleaveOnTheVirtualClock) {
    Harness h;
    std::vector<std::pair<std::int64_t, int>> ticks;
    auto& be = h.Backend();
    // Asked for 1 ms, it ticks at the 10 ms minimum, as a window timer on Windows does.
    h.App().StartTimer(1, [&] { ticks.emplace_back(be.NowMs(), 10); });
    auto* t30 = new TTimer(&h.App());
    t30->SetInterval(30);
    t30->OnTimer = [&](TObject*) { ticks.emplace_back(be.NowMs(), 30); };
    auto* t40 = new TTimer(&h.App());
    t40->SetInterval(40);
    t40->OnTimer = [&](TObject*) { ticks.emplace_back(be.NowMs(), 40); };

    be.AdvanceTime(120);
    EXPECT_EQ(be.NowMs(), 120);
    std::vector<std::pair<std::int64_t, int>> slow;
    int tens = 0;
    for (auto& t : ticks) {
        if (t.second == 10) {
            ++tens;
            EXPECT_EQ(t.first, tens * 10) << "the short timer fires every 10 ms";
        } else {
            slow.push_back(t);
        }
    }
    EXPECT_EQ(tens, 12);
    EXPECT_EQ(slow, (std::vector<std::pair<std::int64_t, int>>{
                        {30, 30}, {40, 40}, {60, 30}, {80, 40}, {90, 30}, {120, 30}, {120, 40}}));
    for (std::size_t i = 1; i < ticks.size(); ++i)
        EXPECT_LE(ticks[i - 1].first, ticks[i].first);

    // Disabled timers stop; a killed timer's queued tick is dropped.
    t30->SetEnabled(false);
    ticks.clear();
    be.AdvanceTime(40);
    for (auto& t : ticks)
        EXPECT_NE(t.second, 30);
}

TEST(Timers, WindowTimerMessagesStopWithTheirControl) {
    Harness h;
    TForm* form = h.NewForm(0, 0, 100, 100);
    auto* probe = Place<Probe>(form, 0, 0, 10, 10);
    int ticks = 0;
    h.App().SetTimer(probe, 500, 40);
    h.App().AddGetMessageHook([&](TMsg& m) {
        if (m.Message.Msg == WM_TIMER && m.Message.WParam == 500) ++ticks;
        return false;
    });
    h.Backend().AdvanceTime(100);
    EXPECT_EQ(ticks, 2);
    TObject::Free(probe);
    h.Backend().AdvanceTime(100);
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(h.App().NextTimerDeadline().has_value());
}

TEST(MessageLoop, ClosingTheMainFormEndsRun) {
    Harness h;
    TForm* main;
    h.App().CreateForm(main);
    int closes = 0;
    main->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    h.App().Run(); // nothing queued: returns without terminating
    EXPECT_FALSE(h.App().Terminated());
    ASSERT_TRUE(main->Visible());
    h.Backend().RequestClose(main->NativeWindow());
    h.App().Run();
    EXPECT_TRUE(h.App().Terminated());
    EXPECT_EQ(closes, 1);
}

TEST(MessageLoop, CloseQueryCanRefuse) {
    Harness h;
    TForm* main;
    h.App().CreateForm(main);
    main->OnCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
    main->Show();
    main->Close();
    h.App().ProcessMessages();
    EXPECT_FALSE(h.App().Terminated());
    EXPECT_TRUE(main->Visible());
}

TEST(MessageLoop, TerminateEndsRunWithoutClosingEvents) {
    Harness h;
    TForm* main;
    h.App().CreateForm(main);
    bool asked = false;
    main->OnCloseQuery = [&](TObject*, bool&) { asked = true; };
    main->OnClose = [&](TObject*, TCloseAction&) { asked = true; };
    h.App().Terminate();
    h.App().Run();
    EXPECT_TRUE(h.App().Terminated());
    EXPECT_FALSE(asked);
    EXPECT_TRUE(main->Visible());
}

TEST(MessageLoop, PostedMessagesToDestroyedTargetsAreDropped) {
    Harness h;
    TForm* form = h.NewForm(0, 0, 100, 100);
    auto* probe = Place<Probe>(form, 0, 0, 10, 10);
    int seen = 0;
    probe->OnClick = [&](TObject*) { ++seen; };
    unsigned msg = RegisterWindowMessage("ProbeClick");
    h.App().PostMessage(probe, msg);
    TObject::Free(probe);
    h.App().ProcessMessages();
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(h.App().SendMessage(form, CM_HITTEST), 1);
}

TEST(MessageLoop, BroadcastsReachTopLevelFormsOrEveryWindowedControl) {
    Harness h;
    TForm* one = h.NewForm(0, 0, 100, 100);
    TForm* two = h.NewForm(0, 0, 100, 100);
    auto* child = Place<Probe>(two, 0, 0, 10, 10);
    auto* grandchild = Place<Probe>(child, 0, 0, 5, 5);
    std::vector<TObject*> seen;
    auto watch = [&](TObject* o) { seen.push_back(o); };
    for (TWinControl* w : std::initializer_list<TWinControl*>{one, two, child, grandchild})
        w->OnEnter = watch;
    // CM_ENTER reaches each control's DoEnter, which fires OnEnter.
    h.App().BroadcastMessage(CM_ENTER, 0, 0, false);
    EXPECT_EQ(seen, (std::vector<TObject*>{one, two}));
    seen.clear();
    h.App().BroadcastMessage(CM_ENTER, 0, 0, true);
    EXPECT_EQ(seen, (std::vector<TObject*>{one, two, child, grandchild}));
}

/// A windowed control that counts the theme-change messages it hears.
class ThemeListener : public Probe {
public:
    using Probe::Probe;
    int Heard = 0;
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_THEMECHANGED) ++Heard;
        Probe::WndProc(m);
    }
};

TEST(MessageLoop, ADesktopThemeChangeReachesEveryWindowedControlAndRepaintsInTheNewColours) {
    struct SchemeGuard {
        ~SchemeGuard() { ResetSystemColorScheme(); }
    } guard;
    Harness h;
    TForm* form = h.NewForm(0, 0, 60, 40);
    auto* child = Place<ThemeListener>(form, 0, 0, 20, 20, clBtnFace);
    auto* grandchild = Place<ThemeListener>(child, 0, 0, 10, 10, clBtnFace);
    TForm* other = h.NewForm(100, 100, 30, 30);
    auto* elsewhere = Place<ThemeListener>(other, 0, 0, 10, 10);
    form->Show();
    other->Show();
    h.App().ProcessMessages();
    auto pixel = [&](int x, int y) { return h.Backend().PixelAt(form->NativeWindow(), x, y); };
    const std::uint32_t oldFace = 0xF0F0F0;
    ASSERT_EQ(pixel(5, 5), oldFace);

    TSystemColorScheme desktop = SystemColorScheme();
    desktop.Colors[clBtnFace & 0xFF] = 0x1E140A; // RGB(10, 20, 30)
    SetSystemColorScheme(desktop);
    h.App().ProcessMessages();
    EXPECT_EQ(pixel(5, 5), oldFace) << "nothing paints before the desktop reports its change";
    EXPECT_EQ(child->Heard, 0);

    h.Backend().ChangeTheme(0);
    h.App().ProcessMessages();
    EXPECT_EQ(child->Heard, 1);
    EXPECT_EQ(grandchild->Heard, 1);
    EXPECT_EQ(elsewhere->Heard, 1) << "every form's controls hear it";
    const std::uint32_t newFace = 0x0A141E;
    EXPECT_EQ(pixel(5, 5), newFace) << "the grandchild";
    EXPECT_EQ(pixel(15, 15), newFace) << "the child";
    EXPECT_EQ(pixel(50, 30), newFace) << "the form";
}

TEST(MessageLoop, RegisteredMessagesAreUniquePerName) {
    unsigned a = RegisterWindowMessage("TBCompactWinHide");
    unsigned b = RegisterWindowMessage("SomethingElse");
    EXPECT_GE(a, 0xC000u);
    EXPECT_GE(b, 0xC000u);
    EXPECT_NE(a, b);
    EXPECT_EQ(RegisterWindowMessage("TBCompactWinHide"), a);
    EXPECT_EQ(RegisterWindowMessage("tbcompactwinhide"), a);
}

/// A control that runs a drag loop from its press until the button is released.
class Dragger : public Probe {
public:
    using Probe::Probe;
    std::vector<TPoint> Steps;
    bool LoopEnded = false;
    bool QuitSeen = false;

protected:
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        Probe::MouseDown(b, s, x, y);
        SetCaptureControl(this);
        TApplication& app = *Application;
        while (GetCaptureControl() == this) {
            TMsg m;
            if (!app.GetMessage(m)) {
                if (m.Message.Msg == WM_QUIT) {
                    QuitSeen = true;
                    app.PostQuitMessage(static_cast<int>(m.Message.WParam));
                }
                break;
            }
            if (m.Target == this && m.Message.Msg == WM_MOUSEMOVE) {
                Steps.push_back(ScreenToClient(m.ScreenPos));
                continue;
            }
            if (m.Target == this && m.Message.Msg == WM_LBUTTONUP) break;
            app.DispatchMessage(m);
        }
        if (GetCaptureControl() == this) ReleaseCapture();
        LoopEnded = true;
    }
};

TEST(NestedLoops, DragLoopEndsOnReleaseAndOtherMessagesKeepFlowing) {
    Harness h;
    TForm* form = h.NewForm(0, 0, 300, 200);
    auto* d = Place<Dragger>(form, 10, 10, 50, 50);
    form->Show();
    int timerTicks = 0;
    h.App().StartTimer(40, [&] { ++timerTicks; });
    TPoint p = Harness::At(d, 5, 5);
    h.Backend().Press(p.X, p.Y);
    h.Backend().MoveMouse(p.X + 100, p.Y);
    h.Backend().AdvanceTime(0);
    EXPECT_TRUE(d->LoopEnded); // starved: no more input could arrive
    d->LoopEnded = false;
    d->Steps.clear();

    h.Backend().Press(p.X, p.Y);
    h.Backend().MoveMouse(p.X + 10, p.Y + 1);
    h.Backend().MoveMouse(p.X + 400, p.Y + 2);
    h.Backend().Release(p.X + 400, p.Y + 2);
    h.Backend().AdvanceTime(50);
    EXPECT_TRUE(d->LoopEnded);
    ASSERT_EQ(d->Steps.size(), 2u);
    EXPECT_EQ(d->Steps[0], (TPoint{15, 6}));
    EXPECT_EQ(d->Steps[1], (TPoint{405, 7}));
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(timerTicks, 1);
}

TEST(NestedLoops, QuitSeenByANestedLoopIsRepostedAndEndsTheOuterLoop) {
    Harness h;
    TForm* main;
    h.App().CreateForm(main);
    main->SetClientWidth(300);
    auto* d = Place<Dragger>(main, 10, 10, 50, 50);
    main->Show();
    h.App().ProcessMessages();
    TPoint p = Harness::At(d, 5, 5);
    h.Backend().Press(p.X, p.Y);
    h.App().StartTimer(5, [&] { h.App().Terminate(); });
    // The timer posts the quit while the drag loop waits for the release.
    h.Backend().AdvanceTime(10);
    EXPECT_TRUE(d->QuitSeen);
    EXPECT_TRUE(d->LoopEnded);
    EXPECT_TRUE(h.App().Terminated());
}

TEST(NestedLoops, RunNestedLoopRepostsAQuitAndReportsIt) {
    Harness h;
    h.App().Terminate();
    h.App().PostMessage(nullptr, WM_NULL);
    bool completed = h.App().RunNestedLoop([&] { return false; });
    EXPECT_FALSE(completed);
    EXPECT_EQ(h.App().LoopDepth(), 0);
    EXPECT_FALSE(h.App().Terminated()) << "the nested loop leaves the quit to the outer one";
    h.App().Run();
    EXPECT_TRUE(h.App().Terminated());
}

TEST(NestedLoops, MessageFiltersSeeAndMayEatMessagesOfNestedLoops) {
    Harness h;
    TForm* form = h.NewForm(0, 0, 300, 200);
    auto* target = Place<Probe>(form, 10, 10, 50, 50);
    form->Show();
    h.App().ProcessMessages();
    std::vector<unsigned> seen;
    THookId id = h.App().AddMessageFilter([&](TMsg& m) {
        seen.push_back(m.Message.Msg);
        return m.Message.Msg == WM_LBUTTONDOWN; // eaten
    });
    TPoint p = Harness::At(target, 5, 5);
    h.Backend().Click(p.X, p.Y);
    bool ended =
        h.App().RunNestedLoop([&] { return !target->Log.empty() && target->Log.back() == "up 5,5"; });
    EXPECT_TRUE(ended);
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_LBUTTONDOWN), seen.end());
    EXPECT_EQ(std::count(target->Log.begin(), target->Log.end(), "down 5,5"), 0) << "the press was eaten";

    // Outside nested loops the filter is not consulted; removed, it sees nothing more.
    h.App().RemoveMessageFilter(id);
    seen.clear();
    h.Backend().Click(p.X, p.Y);
    h.App().ProcessMessages();
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(std::count(target->Log.begin(), target->Log.end(), "down 5,5"), 1);
}

} // namespace
} // namespace emr::testing

namespace emr::testing {
namespace {

// A save waiting for a folder another program holds keeps the window painted, and
// the user's input waits until the save is over.
TEST(RepaintWhileWaiting, PaintsWhatIsDirtyAndKeepsInputForLater) {
    Harness h;
    TForm* form = h.NewForm(100, 100, 200, 100);
    auto* probe = Place<Probe>(form, 10, 10, 50, 30, clRed);
    form->Show();
    h.App().ProcessMessages();
    probe->Log.clear();
    probe->Invalidate();
    const TPoint p = Harness::At(probe, 5, 5);
    h.Backend().Click(p.X, p.Y);
    ASSERT_TRUE(form->PaintPending());

    h.App().RepaintWhileWaiting();
    EXPECT_FALSE(form->PaintPending()) << "nothing was painted";
    EXPECT_TRUE(std::none_of(probe->Log.begin(), probe->Log.end(), [](const std::string& e) {
        return e.starts_with("down");
    })) << "input ran while waiting";

    h.App().ProcessMessages();
    EXPECT_TRUE(std::any_of(probe->Log.begin(), probe->Log.end(), [](const std::string& e) {
        return e.starts_with("down");
    })) << "the click kept for later was lost";
}

} // namespace
} // namespace emr::testing
