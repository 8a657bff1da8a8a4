// Prints where the client area of another program's window is, in device pixels:
// "X Y WIDTH HEIGHT" (screen coordinates) of the first top-level window with the
// given title. The scaled end-to-end test runs it in the program's Wine prefix.
//
// usage: clientrect.exe TITLE [WAIT_MS]
// Waits up to WAIT_MS (default 10000) for the window; exits 1 when none comes,
// 2 on a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

// Without per-monitor awareness the system would answer in its own stretched
// coordinates instead of the window's pixels.
void BecomeDpiAware() {
    using TSetContext = BOOL(WINAPI*)(HANDLE);
    using TAnyFunction = void (*)();
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto setContext = reinterpret_cast<TSetContext>(
        reinterpret_cast<TAnyFunction>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    if (!setContext || !setContext(perMonitorV2)) SetProcessDPIAware();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) return 2;
    BecomeDpiAware();
    const DWORD waitMs = argc == 3 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 10000;
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    while (!(window = FindWindowW(nullptr, argv[1]))) {
        if (GetTickCount() - start > waitMs) return 1;
        Sleep(50);
    }
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    return 0;
}
