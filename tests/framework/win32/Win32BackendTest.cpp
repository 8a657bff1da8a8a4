// The Windows backend on real windows (under Wine in Xvfb in the tests): system
// messages must arrive as the framework's events.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "framework/platform/win32/Win32Backend.h"

// Last: the system headers' macros must not rename the framework's names.
#include "framework/platform/win32/Win32Api.h"

namespace emr::platform {
namespace {

HWND Handle(WindowId id) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
}

class Win32BackendTest : public ::testing::Test {
protected:
    win32::Win32Backend backend;

    WindowId Framed(const TRect& bounds, const std::string& title = "t") {
        TWindowStyle style;
        style.Resizable = false;
        style.MaximizeBox = false;
        return backend.CreateWindow(style, bounds, title);
    }

    /// The next event of `type`, skipping others, within half a second.
    std::optional<TEvent> Next(TEventType type) {
        const std::int64_t deadline = backend.NowMs() + 500;
        while (backend.NowMs() < deadline)
            if (auto e = backend.NextEvent(deadline); e && e->Type == type) return e;
        return std::nullopt;
    }
};

TEST_F(Win32BackendTest, TitleIsTheUtf8TextAndBoundsAreTheClientArea) {
    const WindowId id = Framed({100, 120, 482, 318}, "电子病历补丁");
    ASSERT_NE(id, 0u);
    wchar_t title[32] = {};
    GetWindowTextW(Handle(id), title, 32);
    EXPECT_STREQ(title, L"电子病历补丁");
    RECT client;
    GetClientRect(Handle(id), &client);
    EXPECT_EQ(client.right, 382);
    EXPECT_EQ(client.bottom, 198);
    POINT origin{0, 0};
    ClientToScreen(Handle(id), &origin);
    EXPECT_EQ(origin.x, 100);
    EXPECT_EQ(origin.y, 120);
    RECT outer;
    GetWindowRect(Handle(id), &outer);
    const TRect frame = backend.FrameExtents(id);
    EXPECT_EQ(outer.left, 100 - frame.Left);
    EXPECT_EQ(outer.top, 120 - frame.Top);
    EXPECT_EQ(outer.right, 482 + frame.Right);
    EXPECT_EQ(outer.bottom, 318 + frame.Bottom);
}

TEST_F(Win32BackendTest, TypedUtf16BecomesUtf8AndControlCharactersAreKeysOnly) {
    const WindowId id = Framed({10, 10, 110, 110});
    PostMessageW(Handle(id), WM_CHAR, 0x08, 0);   // backspace: a key, not text
    PostMessageW(Handle(id), WM_CHAR, 0x786E, 0); // 确
    PostMessageW(Handle(id), WM_CHAR, 0xD83D, 0); // U+1F600 as a surrogate pair
    PostMessageW(Handle(id), WM_CHAR, 0xDE00, 0);
    auto first = Next(TEventType::Char);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Text, "确");
    EXPECT_EQ(first->Window, id);
    auto second = Next(TEventType::Char);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->Text, "\xF0\x9F\x98\x80");
}

TEST_F(Win32BackendTest, F10AndAltReachTheFrameworkAsKeys) {
    const WindowId id = Framed({10, 10, 110, 110});
    PostMessageW(Handle(id), WM_SYSKEYDOWN, VK_F10, 0);
    auto down = Next(TEventType::KeyDown);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->Key, 0x79);
    PostMessageW(Handle(id), WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0000001u));
    auto up = Next(TEventType::KeyUp);
    ASSERT_TRUE(up);
    EXPECT_EQ(up->Key, 0x12);
}

TEST_F(Win32BackendTest, ButtonsDoubleClicksAndCloseRequests) {
    const WindowId id = Framed({10, 10, 110, 110});
    PostMessageW(Handle(id), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 7));
    auto down = Next(TEventType::MouseDown);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->Button, TMouseButton::Right);
    EXPECT_EQ(down->X, 5);
    EXPECT_EQ(down->Y, 7);
    EXPECT_EQ(down->ScreenX, 15);
    EXPECT_EQ(down->ScreenY, 17);
    PostMessageW(Handle(id), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 2));
    auto twice = Next(TEventType::MouseDoubleClick);
    ASSERT_TRUE(twice);
    EXPECT_EQ(twice->Button, TMouseButton::Left);
    EXPECT_TRUE(twice->Shift & ssDouble);
    PostMessageW(Handle(id), WM_CLOSE, 0, 0);
    ASSERT_TRUE(Next(TEventType::CloseRequest));
    EXPECT_TRUE(IsWindow(Handle(id))) << "a close request leaves closing to the framework";
}

TEST_F(Win32BackendTest, AWindowDestroyedFromOutsideIsReportedAndForgotten) {
    const WindowId id = Framed({10, 10, 110, 110});
    ::DestroyWindow(Handle(id));
    auto gone = Next(TEventType::Destroyed);
    ASSERT_TRUE(gone);
    EXPECT_EQ(gone->Window, id);
    backend.DestroyWindow(id); // already gone: nothing happens
    backend.SetBounds(id, {0, 0, 10, 10});
}

TEST_F(Win32BackendTest, WaitingEndsAtTheDeadlineOrWhenWoken) {
    Framed({10, 10, 110, 110});
    while (backend.NextEvent(backend.NowMs())) {
    }
    std::int64_t start = backend.NowMs();
    EXPECT_FALSE(backend.NextEvent(start + 60));
    EXPECT_GE(backend.NowMs() - start, 50);
    EXPECT_LT(backend.NowMs() - start, 1000);

    std::thread waker([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        backend.Wake();
    });
    start = backend.NowMs();
    EXPECT_FALSE(backend.NextEvent(start + 5000));
    EXPECT_LT(backend.NowMs() - start, 2000);
    waker.join();
}

TEST(Win32Backend, OwnedWindowsGoWithTheBackend) {
    auto backend = std::make_unique<win32::Win32Backend>();
    TWindowStyle framed;
    const WindowId owner = backend->CreateWindow(framed, {10, 10, 110, 110}, "owner");
    TWindowStyle popup;
    popup.Kind = TWindowKind::Popup;
    popup.Owner = owner;
    const WindowId owned = backend->CreateWindow(popup, {20, 20, 60, 60}, "");
    TWindowStyle floating;
    floating.Kind = TWindowKind::Borderless;
    floating.Owner = owner;
    floating.StayOnTop = true;
    const WindowId tool = backend->CreateWindow(floating, {30, 30, 80, 80}, "");
    ASSERT_TRUE(owner && owned && tool);
    EXPECT_EQ(GetWindow(Handle(owned), GW_OWNER), Handle(owner));
    EXPECT_TRUE(GetWindowLongW(Handle(owned), GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    EXPECT_TRUE(GetWindowLongW(Handle(tool), GWL_EXSTYLE) & WS_EX_TOPMOST);
    backend.reset(); // the owner takes the others with it while they are destroyed
    EXPECT_FALSE(IsWindow(Handle(owner)));
    EXPECT_FALSE(IsWindow(Handle(owned)));
    EXPECT_FALSE(IsWindow(Handle(tool)));
}

} // namespace
} // namespace emr::platform
