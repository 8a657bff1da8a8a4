// The Windows backend on real windows (under Wine in Xvfb in the tests): system
// messages must arrive as the framework's events.
#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "framework/graphics/Color.h"
#include "framework/platform/ThemeScheme.h"
#include "framework/platform/win32/Win32Backend.h"

// Last: the system headers' macros must not rename the framework's names.
#include "framework/platform/win32/Win32Api.h"

#include <uxtheme.h>

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

    /// How many events of `type` arrive within a fifth of a second.
    int Count(TEventType type) {
        const std::int64_t deadline = backend.NowMs() + 200;
        int n = 0;
        while (backend.NowMs() < deadline)
            if (auto e = backend.NextEvent(deadline); e && e->Type == type) ++n;
        return n;
    }
};

/// Presses `keys` on the keyboard as a user would, through the system's input
/// queue (so the system makes the character messages itself): each down in order,
/// then each up in reverse order.
void Type(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--it;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

/// Whether the system menu of the window was opened; closes it again.
bool g_systemMenuOpened = false;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EndMenu();
}

LRESULT CALLBACK WatchMenus(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITMENUPOPUP && HIWORD(message->lParam)) {
        g_systemMenuOpened = true;
        SetTimer(nullptr, 0, 100, CloseMenu);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

/// The scheme number of the active visual style, asked of the visual-styles
/// library the way the backend does not: linked at load time.
int SchemeOfTheActiveStyle() {
    if (!IsThemeActive()) return 0;
    wchar_t file[255] = {}, color[255] = {}, size[255] = {};
    if (FAILED(GetCurrentThemeName(file, 255, color, 255, size, 255))) return 0;
    return ThemeSchemeOfColorName(color);
}

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

// The backend dropped WM_SYSCHAR, so menu bars and Alt accelerators never heard Alt+letter.
TEST_F(Win32BackendTest, AltLetterOnTheKeyboardIsAnAltCharacterWhileAltF4AndAltSpaceStayTheSystems) {
    const WindowId id = Framed({10, 10, 110, 110});
    backend.SetVisible(id, true);
    backend.TakeFocus(id);
    while (backend.NextEvent(backend.NowMs())) {
    }
    Type({VK_MENU, 'F'});
    auto typed = Next(TEventType::Char);
    ASSERT_TRUE(typed) << "Alt+F brought no character";
    EXPECT_EQ(typed->Text, "f");
    EXPECT_TRUE(typed->Shift & ssAlt);
    EXPECT_EQ(typed->Window, id);

    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchMenus, nullptr, GetCurrentThreadId());
    Type({VK_MENU, VK_SPACE});
    const int spaces = Count(TEventType::Char);
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(g_systemMenuOpened) << "Alt+Space opened no system menu";
    EXPECT_EQ(spaces, 0) << "Alt+Space is no character for the framework";

    Type({VK_MENU, VK_F4});
    EXPECT_TRUE(Next(TEventType::CloseRequest)) << "Alt+F4 asks to close the window";
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

TEST_F(Win32BackendTest, ADesktopColourChangeIsOneThemeChangeWithTheNewColours) {
    Framed({10, 10, 110, 110});
    Framed({200, 10, 300, 110});
    while (backend.NextEvent(backend.NowMs())) {
    }
    const int face = COLOR_BTNFACE;
    const COLORREF old = GetSysColor(face);
    const COLORREF other = old == RGB(10, 20, 30) ? RGB(30, 20, 10) : RGB(10, 20, 30);
    // The system sends WM_SYSCOLORCHANGE to every top-level window: the framework hears one change.
    ASSERT_TRUE(SetSysColors(1, &face, &other));
    const TColor seen = ColorToRGB(clBtnFace);
    const int changes = Count(TEventType::ThemeChanged);
    SetSysColors(1, &face, &old);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(seen, static_cast<TColor>(other)) << "the colours are the new ones when the event comes";
    EXPECT_EQ(Count(TEventType::ThemeChanged), 1) << "and back";
    EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(old));
}

TEST_F(Win32BackendTest, ASettingChangeWithoutOtherColoursIsNoThemeChange) {
    const WindowId id = Framed({10, 10, 110, 110});
    while (backend.NextEvent(backend.NowMs())) {
    }
    // As the patch broadcasts its new regional format.
    SendMessageW(Handle(id), WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(Count(TEventType::ThemeChanged), 0);
    // The framework's colours fell behind the system's: now the same message brings other colours.
    TSystemColorScheme stale = SystemColorScheme();
    stale.Colors[COLOR_BTNFACE] ^= 0x010101;
    SetSystemColorScheme(stale);
    SendMessageW(Handle(id), WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(Count(TEventType::ThemeChanged), 1);
    EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(Win32BackendTest, ThemeSchemeIsTheActiveStylesColourNameAndZeroWithoutOne) {
    Framed({10, 10, 110, 110});
    Framed({200, 10, 300, 110});
    while (backend.NextEvent(backend.NowMs())) {
    }
    // Wine's own style ("Light", colour "Blue") is none of the three Luna colours.
    EXPECT_EQ(backend.ThemeScheme(), SchemeOfTheActiveStyle());

    // Visual styles off, for the rest of this process: the system posts WM_THEMECHANGED
    // to every top-level window. Off is also stored in the prefix's registry, which
    // gets its value back afterwards.
    constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
    wchar_t stored[8] = {};
    DWORD storedSize = sizeof stored;
    const bool hadValue = RegGetValueW(HKEY_CURRENT_USER, kKey, L"ThemeActive", RRF_RT_REG_SZ, nullptr,
                                       stored, &storedSize) == ERROR_SUCCESS;
    EnableTheming(FALSE);
    if (hadValue)
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"ThemeActive", REG_SZ, stored,
                        static_cast<DWORD>((wcslen(stored) + 1) * sizeof(wchar_t)));
    EXPECT_EQ(Count(TEventType::ThemeChanged), 1);
    EXPECT_FALSE(IsThemeActive());
    EXPECT_EQ(backend.ThemeScheme(), 0);
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
