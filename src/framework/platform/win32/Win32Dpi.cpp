#include "framework/platform/win32/Win32Dpi.h"

#include <algorithm>

// Last: the system headers' macros must not rename the framework's names.
#include "framework/platform/win32/Win32Api.h"

namespace emr::platform::win32 {

namespace {

// DPI_AWARENESS_CONTEXT values and the shcore constants, named here because the
// headers declare them only for newer target versions than the program's.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-4));
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-3));
constexpr int kProcessPerMonitorDpiAware = 2;
constexpr int kMonitorDpiEffective = 0;

using TAnyFunction = void (*)();
using TSetProcessDpiAwarenessContext = BOOL(WINAPI*)(HANDLE);
using TSetProcessDpiAwareness = HRESULT(WINAPI*)(int);
using TSetProcessDPIAware = BOOL(WINAPI*)();
using TIsProcessDPIAware = BOOL(WINAPI*)();
using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TGetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// A function of a system library, or null where this Windows has none. The
// libraries stay loaded for the life of the process.
template <typename TFunction> TFunction Lookup(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library);
    if (!module) return nullptr;
    // Through the generic function type, which converts to any other without a warning.
    return reinterpret_cast<TFunction>(reinterpret_cast<TAnyFunction>(GetProcAddress(module, name)));
}

struct TDpiFunctions {
    TSetProcessDpiAwarenessContext SetAwarenessContext =
        Lookup<TSetProcessDpiAwarenessContext>(L"user32.dll", "SetProcessDpiAwarenessContext");
    TSetProcessDpiAwareness SetAwareness =
        Lookup<TSetProcessDpiAwareness>(L"shcore.dll", "SetProcessDpiAwareness");
    TSetProcessDPIAware SetAware = Lookup<TSetProcessDPIAware>(L"user32.dll", "SetProcessDPIAware");
    TIsProcessDPIAware IsAware = Lookup<TIsProcessDPIAware>(L"user32.dll", "IsProcessDPIAware");
    TGetDpiForWindow ForWindow = Lookup<TGetDpiForWindow>(L"user32.dll", "GetDpiForWindow");
    TGetDpiForMonitor ForMonitor = Lookup<TGetDpiForMonitor>(L"shcore.dll", "GetDpiForMonitor");
    TAdjustWindowRectExForDpi AdjustForDpi =
        Lookup<TAdjustWindowRectExForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
};

const TDpiFunctions& Functions() {
    static const TDpiFunctions functions;
    return functions;
}

HWND Handle(WindowId window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

} // namespace

void Win32Dpi::DeclareAwareness() {
    const TDpiFunctions& f = Functions();
    if (f.IsAware && f.IsAware()) return;
    if (f.SetAwarenessContext &&
        (f.SetAwarenessContext(kPerMonitorAwareV2) || f.SetAwarenessContext(kPerMonitorAware)))
        return;
    if (f.SetAwareness && SUCCEEDED(f.SetAwareness(kProcessPerMonitorDpiAware))) return;
    if (f.SetAware) f.SetAware();
}

unsigned Win32Dpi::SystemDpi() {
    HDC screen = GetDC(nullptr);
    if (!screen) return kBaseDpi;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : kBaseDpi;
}

unsigned Win32Dpi::WindowDpi(WindowId window) {
    HWND hwnd = Handle(window);
    if (const auto forWindow = Functions().ForWindow)
        if (const UINT dpi = forWindow(hwnd)) return dpi;
    return MonitorDpi(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

unsigned Win32Dpi::MonitorDpi(void* monitor) {
    UINT x = 0, y = 0;
    if (const auto forMonitor = Functions().ForMonitor)
        if (monitor && SUCCEEDED(forMonitor(static_cast<HMONITOR>(monitor), kMonitorDpiEffective, &x, &y)) &&
            x)
            return x;
    return SystemDpi();
}

unsigned Win32Dpi::DpiAt(const TRect& bounds) {
    const RECT r{bounds.Left, bounds.Top, bounds.Right, bounds.Bottom};
    return MonitorDpi(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
}

TRect Win32Dpi::OuterRect(std::uint32_t style, std::uint32_t exStyle, const TRect& client, unsigned dpi) {
    RECT r{client.Left, client.Top, client.Right, client.Bottom};
    if (const auto adjust = Functions().AdjustForDpi)
        adjust(&r, style, FALSE, exStyle, dpi);
    else
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
            static_cast<int>(r.bottom)};
}

TPoint Win32Dpi::ScaledClientSize(TPoint size, unsigned oldDpi, unsigned newDpi) {
    if (oldDpi == 0) return size;
    const auto scaled = [&](int pixels) {
        const long long numerator = static_cast<long long>(std::max(0, pixels)) * newDpi;
        return static_cast<int>((numerator + oldDpi - 1) / oldDpi);
    };
    return {scaled(size.X), scaled(size.Y)};
}

} // namespace emr::platform::win32
