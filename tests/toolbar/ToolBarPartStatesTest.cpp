#include <gtest/gtest.h>

#include <string>

#include "toolbar/ToolBarChrome.h"
#include "toolbar/ToolBarPartStates.h"

namespace emr {
namespace {

using P = TToolBarPart;
using M = TToolBarChrome;

/// Ticks the running fade until it ends; the number of ticks it took.
int TicksToEnd(TToolBarPartStates& s) {
    int ticks = 1;
    while (!s.FadeTick()) {
        EXPECT_TRUE(s.Fading());
        EXPECT_TRUE(std::string(s.Check()).empty()) << s.Check();
        if (++ticks > 100) break;
    }
    return ticks;
}

TEST(ToolBarPartStatesTest, OnlyTheLastHoveredPartIsHotAndTheIndicatorNeverIs) {
    TToolBarPartStates s;
    s.Hover(P::RightHandle);
    EXPECT_EQ(s.Hot(), P::RightHandle);
    s.Hover(P::CloseButton);
    EXPECT_EQ(s.Hot(), P::CloseButton);
    s.Hover(P::Indicator);
    EXPECT_EQ(s.Hot(), P::None) << "the indicator lights instead of being hot";
    EXPECT_FALSE(s.IndicatorLit());
    EXPECT_EQ(s.Down(), P::None) << "hovering presses nothing";
}

TEST(ToolBarPartStatesTest, APressHoldsUntilItsReleaseAndNothingIsDownAfterIt) {
    TToolBarPartStates s;
    EXPECT_FALSE(s.Press(P::None));
    EXPECT_TRUE(s.Press(P::OptionButton));
    EXPECT_FALSE(s.Press(P::OptionButton)) << "a part already down is not pressed again";
    s.Hover(P::RightHandle);
    EXPECT_EQ(s.Down(), P::OptionButton) << "moving the pointer keeps the press";
    EXPECT_EQ(s.Release(), P::OptionButton);
    EXPECT_EQ(s.Down(), P::None);
    EXPECT_EQ(s.Hot(), P::RightHandle);
    EXPECT_EQ(s.Release(), P::None) << "a second release has nothing to end";
}

TEST(ToolBarPartStatesTest, ReleasingTheCloseButtonAlsoEndsItsHover) {
    TToolBarPartStates s;
    s.Hover(P::CloseButton);
    s.Press(P::CloseButton);
    EXPECT_EQ(s.Release(), P::CloseButton);
    EXPECT_EQ(s.Hot(), P::None);
    // Any other part stays hot under the pointer.
    s.Hover(P::OptionButton);
    s.Press(P::OptionButton);
    s.Release();
    EXPECT_EQ(s.Hot(), P::OptionButton);
}

TEST(ToolBarPartStatesTest, LeavingWithAHeldPressKeepsOnlyThePress) {
    TToolBarPartStates s;
    s.Hover(P::CloseButton);
    s.Press(P::CloseButton);
    s.Leave(true);
    EXPECT_EQ(s.Hot(), P::None);
    EXPECT_EQ(s.Down(), P::CloseButton);
    s.Leave(false);
    EXPECT_EQ(s.Down(), P::None);
}

TEST(ToolBarPartStatesTest, CancelAndForgetClearHotAndDown) {
    TToolBarPartStates s;
    s.Hover(P::RightHandle);
    s.Press(P::RightHandle);
    s.Forget(P::CloseButton);
    EXPECT_EQ(s.Hot(), P::RightHandle) << "forgetting another part changes nothing";
    s.Forget(P::RightHandle);
    EXPECT_EQ(s.Hot(), P::None);
    EXPECT_EQ(s.Down(), P::None);
    s.Hover(P::OptionButton);
    s.Press(P::CloseButton);
    s.Cancel();
    EXPECT_EQ(s.Hot(), P::None);
    EXPECT_EQ(s.Down(), P::None);
}

TEST(ToolBarPartStatesTest, TheIndicatorFadesInOnArrivalAndOutOnLeavingThenGoesDark) {
    TToolBarPartStates s;
    s.HoverIndicator(true);
    EXPECT_TRUE(s.IndicatorLit());
    EXPECT_TRUE(s.Fading());
    EXPECT_EQ(s.FadeStep(), M::FadeStep);
    // 0 -> 100 in steps of 20, then one step past the end.
    EXPECT_EQ(TicksToEnd(s), M::FadeFull / M::FadeStep + 1);
    EXPECT_FALSE(s.Fading());
    EXPECT_EQ(s.FadePercent(), M::FadedIn);
    EXPECT_TRUE(s.IndicatorLit()) << "a finished fade-in stays lit";
    s.HoverIndicator(true);
    EXPECT_FALSE(s.Fading()) << "staying over it starts nothing";

    s.HoverIndicator(false);
    EXPECT_EQ(s.FadeStep(), -M::FadeStep);
    EXPECT_EQ(s.FadePercent(), M::FadeFull) << "the pinned value is brought back into range";
    EXPECT_EQ(TicksToEnd(s), M::FadeFull / M::FadeStep + 1);
    EXPECT_FALSE(s.IndicatorLit());
    EXPECT_EQ(s.FadePercent(), M::FadedOut);
    EXPECT_FALSE(s.FadeTick()) << "no fade runs";
}

TEST(ToolBarPartStatesTest, ThePressedIndicatorFadesOutOnReleaseAndOnCancel) {
    TToolBarPartStates s;
    s.HoverIndicator(true);
    EXPECT_TRUE(s.Press(P::Indicator));
    EXPECT_EQ(s.FadeStep(), M::FadeStep);
    EXPECT_EQ(s.Release(), P::Indicator);
    EXPECT_EQ(s.FadeStep(), -M::FadeStep);
    EXPECT_TRUE(s.Fading());

    TToolBarPartStates t;
    t.HoverIndicator(true);
    t.FadeTick();
    t.Cancel();
    EXPECT_EQ(t.FadeStep(), -M::FadeStep);
    TicksToEnd(t);
    EXPECT_FALSE(t.IndicatorLit());
    EXPECT_TRUE(std::string(t.Check()).empty()) << t.Check();
}

TEST(ToolBarPartStatesTest, LeavingWhileFadingOutDoesNotRestartTheFade) {
    TToolBarPartStates s;
    s.HoverIndicator(true);
    TicksToEnd(s);
    s.HoverIndicator(false);
    s.FadeTick();
    s.FadeTick();
    const int percent = s.FadePercent();
    s.HoverIndicator(false);
    EXPECT_EQ(s.FadePercent(), percent);
    EXPECT_TRUE(s.Fading());
}

} // namespace
} // namespace emr
