// Events reach the handler stored in them, which may keep state, free its sender
// or replace itself.
#include <gtest/gtest.h>

#include "Harness.h"
#include "framework/forms/Timer.h"

namespace emr::testing {
namespace {

TEST(EventFiring, AMutableHandlerKeepsWhatItStoresBetweenCalls) {
    Harness h;
    auto* timer = new TTimer(&h.App());
    timer->SetInterval(20);
    std::vector<int> seen;
    timer->OnTimer = [&seen, calls = 0](TObject*) mutable { seen.push_back(++calls); };
    timer->SetEnabled(true);
    h.Backend().AdvanceTime(65);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));

    TControl control(nullptr);
    control.OnClick = [&seen, calls = 10](TObject*) mutable { seen.push_back(++calls); };
    control.Click();
    control.Click();
    EXPECT_EQ(seen.back(), 12);
}

TEST(EventFiring, AHandlerMayReplaceOrClearItselfOrFireItsOwnEventAgain) {
    TControl control(nullptr);
    std::vector<std::string> log;
    control.OnClick = [&](TObject*) {
        log.push_back("first");
        control.OnClick = [&](TObject*) { log.push_back("second"); };
    };
    control.Click();
    control.Click();
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second"}));

    control.OnClick = [&](TObject*) {
        log.push_back("once");
        control.OnClick = nullptr;
    };
    control.Click();
    control.Click();
    EXPECT_EQ(log.back(), "once");
    EXPECT_FALSE(control.OnClick);

    control.OnClick = [&, depth = 0](TObject*) mutable {
        log.push_back("depth " + std::to_string(depth));
        if (depth++ == 0) control.Click();
    };
    control.Click();
    EXPECT_EQ(log.back(), "depth 1") << "the event fired from its own handler did not reach it";
}

TEST(EventFiring, AHandlerMayFreeItsSender) {
    auto* control = new TControl(nullptr);
    int calls = 0;
    control->OnClick = [&calls](TObject* sender) {
        ++calls;
        TObject::Free(sender);
    };
    control->Click();
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace emr::testing
