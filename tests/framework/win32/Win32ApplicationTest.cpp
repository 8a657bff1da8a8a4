// The framework on the Windows backend with real windows (under Wine in Xvfb in
// the tests): keys and the end of the session reach forms and controls.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "framework/forms/Application.h"
#include "framework/forms/Edit.h"
#include "framework/forms/Form.h"
#include "framework/forms/Label.h"
#include "framework/platform/win32/Win32Backend.h"

// Last: the system headers' macros must not rename the framework's names.
#include "framework/platform/win32/Win32Api.h"

namespace emr {
namespace {

constexpr DWORD kPatienceMs = 3000;

HWND Handle(platform::WindowId id) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
}

class Win32ApplicationTest : public ::testing::Test {
protected:
    Win32ApplicationTest() {
        platform::Backend::Install(platform::CreateWin32Backend());
        app = new TApplication(nullptr);
        app->CreateForm(form);
        form->SetBounds(40, 40, 300, 200);
    }
    ~Win32ApplicationTest() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }

    /// Handles messages until `done` or the patience runs out; returns `done()`.
    bool HandleUntil(const std::function<bool()>& done) {
        const DWORD start = GetTickCount();
        while (!done() && GetTickCount() - start < kPatienceMs) {
            app->ProcessMessages();
            Sleep(10);
        }
        return done();
    }

    TApplication* app = nullptr;
    TForm* form = nullptr;
};

// Alt+letter never reached the framework on Windows, so no accelerator answered it.
TEST_F(Win32ApplicationTest, AltLetterOnTheKeyboardTriggersALabelsAccelerator) {
    auto* first = new TEdit(form);
    first->SetParent(form);
    first->SetBounds(10, 10, 100, 21);
    auto* second = new TEdit(form);
    second->SetParent(form);
    second->SetBounds(10, 60, 100, 21);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(10, 40, 100, 15);
    label->SetCaption("&Name");
    label->SetFocusControl(second);
    form->Show();
    first->SetFocus();
    SetForegroundWindow(Handle(form->NativeWindow()));
    SetFocus(Handle(form->NativeWindow()));
    ASSERT_TRUE(HandleUntil([&] { return GetForegroundWindow() == Handle(form->NativeWindow()); }));
    ASSERT_EQ(form->ActiveControl(), first);

    std::vector<INPUT> keys(4);
    for (INPUT& key : keys)
        key.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_MENU;
    keys[1].ki.wVk = 'N';
    keys[2].ki.wVk = 'N';
    keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[3].ki.wVk = VK_MENU;
    keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));

    EXPECT_TRUE(HandleUntil([&] { return form->ActiveControl() == second; }))
        << "Alt+N did not move the focus to the label's control";
}

// The system may end the process as soon as WM_ENDSESSION is answered: the main
// form must have closed by then, or what it saves on closing is lost.
TEST_F(Win32ApplicationTest, SessionEndClosesTheMainFormBeforeTheSystemIsAnswered) {
    std::atomic<bool> closed{false};
    form->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    form->Show();
    const HWND window = Handle(form->NativeWindow());

    LRESULT allowed = 0;
    bool closedWhenAnswered = false;
    std::thread system([&] {
        allowed = SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        closedWhenAnswered = closed;
        // So that a failing run ends instead of waiting for ever.
        if (!closed) PostMessageW(window, WM_CLOSE, 0, 0);
    });
    app->Run();
    system.join();

    EXPECT_TRUE(allowed) << "the session may end";
    EXPECT_TRUE(closedWhenAnswered);
    EXPECT_TRUE(app->Terminated());
}

} // namespace
} // namespace emr
