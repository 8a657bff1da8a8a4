#include "X11Fixture.h"

#include <thread>

using namespace emr;
using namespace emr::testing;

TEST_F(X11Test, NextEventWaitsUntilTheDeadlineAndNoLonger) {
    const std::int64_t start = B().NowMs();
    EXPECT_FALSE(B().NextEvent(start + 120).has_value());
    const std::int64_t waited = B().NowMs() - start;
    EXPECT_GE(waited, 120);
    EXPECT_LT(waited, 2000);

    // A deadline already past returns at once.
    const std::int64_t before = B().NowMs();
    EXPECT_FALSE(B().NextEvent(before - 5).has_value());
    EXPECT_LT(B().NowMs() - before, 100);
}

TEST_F(X11Test, EventsWaitingAreTakenEvenWhenTheDeadlineHasPassed) {
    const WindowId id = B().CreateWindow(TWindowStyle{}, TRect::FromBounds(10, 10, 50, 50), "late");
    B().SetVisible(id, true);
    Sync();
    const auto event = B().NextEvent(B().NowMs() - 1);
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->Window, id);
}

TEST_F(X11Test, WakeEndsAWaitWithoutDeadlineFromAnotherThread) {
    const std::int64_t start = B().NowMs();
    std::thread waker([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        B().Wake();
    });
    EXPECT_FALSE(B().NextEvent(std::nullopt).has_value());
    waker.join();
    EXPECT_LT(B().NowMs() - start, 3000);

    // Many wake-ups before a wait end one wait only, not every later one.
    for (int i = 0; i < 1000; ++i)
        B().Wake();
    EXPECT_FALSE(B().NextEvent(std::nullopt).has_value());
    const std::int64_t again = B().NowMs();
    EXPECT_FALSE(B().NextEvent(again + 80).has_value());
    EXPECT_GE(B().NowMs() - again, 80);
}
