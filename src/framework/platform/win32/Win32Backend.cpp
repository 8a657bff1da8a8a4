#include "framework/platform/win32/Win32Backend.h"

#include <algorithm>
#include <cstring>

#include "framework/graphics/Color.h"
#include "framework/platform/ThemeScheme.h"
#include "framework/platform/win32/MsaaBridge.h"
#include "framework/platform/win32/Win32Dpi.h"
#include "framework/platform/win32/Win32Window.h"

// Last: the system headers' macros must not rename the framework's names.
#include "framework/platform/win32/Win32Api.h"

namespace emr::platform {

std::unique_ptr<Backend> CreateWin32Backend() {
    return std::make_unique<win32::Win32Backend>();
}

namespace win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"EmrWindow";
// The icon a program built on the toolkit carries as its resource 1.
constexpr int kProgramIconResource = 1;
// Posted to the thread by Wake: ends a wait in NextEvent.
constexpr UINT kWakeMessage = WM_APP + 1;

Win32Backend* g_backend = nullptr;

HWND Handle(WindowId window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

WindowId IdOf(HWND hwnd) {
    return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(hwnd));
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(0, n)), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::intptr_t result = 0;
    if (g_backend && g_backend->HandleMessage(IdOf(hwnd), msg, wParam, lParam, result)) return result;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RegisterWindowClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // Double clicks arrive as their own message, as the framework wants them.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    // The program's own icon (resource 1) when its executable has one; the
    // system's default otherwise.
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(kProgramIconResource));
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
    registered = true;
}

TStyleBits StyleBitsOf(const TWindowStyle& style) {
    TStyleBits b;
    switch (style.Kind) {
    case TWindowKind::Framed:
        b.Style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPSIBLINGS;
        if (style.SystemMenu) b.Style |= WS_SYSMENU;
        if (style.MinimizeBox) b.Style |= WS_MINIMIZEBOX;
        if (style.MaximizeBox && style.Resizable) b.Style |= WS_MAXIMIZEBOX;
        if (style.Resizable) b.Style |= WS_THICKFRAME;
        break;
    case TWindowKind::Borderless:
        b.Style = WS_POPUP | WS_CLIPSIBLINGS;
        b.ExStyle = WS_EX_TOOLWINDOW;
        break;
    case TWindowKind::Popup:
        b.Style = WS_POPUP | WS_CLIPSIBLINGS;
        b.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;
        break;
    }
    if (style.StayOnTop) b.ExStyle |= WS_EX_TOPMOST;
    return b;
}

/// The window rectangle that puts the client area of a window with these styles at `client`.
TRect OuterRect(const TStyleBits& bits, const TRect& client, unsigned dpi) {
    return Win32Dpi::OuterRect(bits.Style, bits.ExStyle, client, dpi);
}

TRect FromRECT(const RECT& r) {
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
            static_cast<int>(r.bottom)};
}

struct TMonitor {
    HMONITOR Handle;
    TRect Bounds;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM data) {
    reinterpret_cast<std::vector<TMonitor>*>(data)->push_back({monitor, FromRECT(*rect)});
    return TRUE;
}

std::vector<TMonitor> EnumerateMonitors() {
    std::vector<TMonitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

} // namespace

Win32Backend::Win32Backend() : accessibility_(std::make_unique<TMsaaBridge>()) {
    g_backend = this;
    threadId_ = GetCurrentThreadId();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    frequency_ = std::max<std::int64_t>(1, frequency.QuadPart);
    // Before the first window: a window keeps the awareness it was created with.
    Win32Dpi::DeclareAwareness();
    RegisterWindowClass();
    LoadSystemColors();
}

Win32Backend::~Win32Backend() {
    // All are marked first: destroying an owner destroys the windows it owns,
    // which must not then be reported (and erased) in the middle of this loop.
    std::vector<WindowId> ids;
    for (auto& [id, w] : windows_) {
        w->Destroying = true;
        ids.push_back(id);
    }
    for (WindowId id : ids)
        if (IsWindow(Handle(id))) ::DestroyWindow(Handle(id));
    windows_.clear();
    if (g_backend == this) g_backend = nullptr;
}

void Win32Backend::SetAccessibleSource(AccessibleSource* source) {
    accessibility_->SetSource(source);
}

void Win32Backend::NotifyAccessible(TAccessibleEvent event, AccessibleId id) {
    accessibility_->Notify(event, id);
}

bool Win32Backend::LoadSystemColors() {
    // COLORREF keeps red in the low byte, as the framework's colours do.
    TSystemColorScheme scheme = TSystemColorScheme::Windows7();
    for (int i = 0; i < TSystemColorScheme::Count; ++i)
        scheme.Colors[static_cast<std::size_t>(i)] = static_cast<TColor>(GetSysColor(i) & 0xFFFFFF);
    if (scheme.Colors == SystemColorScheme().Colors) return false;
    SetSystemColorScheme(scheme);
    return true;
}

void Win32Backend::QueueThemeChange() {
    // Each top-level window hears the system's message: the framework hears it once.
    const bool queued = std::any_of(pending_.begin(), pending_.end(),
                                    [](const TEvent& e) { return e.Type == TEventType::ThemeChanged; });
    if (queued) return;
    TEvent e;
    e.Type = TEventType::ThemeChanged;
    pending_.push_back(std::move(e));
}

int Win32Backend::ThemeScheme() {
    // The colour name of the active visual style, on systems that have visual
    // styles, read through the visual-styles library loaded for the question only
    // (the program imports nothing beyond the system's core libraries).
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version) || !VersionHasVisualStyles(version.dwMajorVersion, version.dwMinorVersion))
        return 0;
    HMODULE library = LoadLibraryW(L"uxtheme.dll");
    if (!library) return 0;
    using TIsThemeActive = BOOL(WINAPI*)();
    using TGetCurrentThemeName = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    // Through the generic function type, which converts to any other without a warning.
    using TAnyFunction = void (*)();
    const auto isThemeActive = reinterpret_cast<TIsThemeActive>(
        reinterpret_cast<TAnyFunction>(GetProcAddress(library, "IsThemeActive")));
    const auto getCurrentThemeName = reinterpret_cast<TGetCurrentThemeName>(
        reinterpret_cast<TAnyFunction>(GetProcAddress(library, "GetCurrentThemeName")));
    int scheme = 0;
    if (isThemeActive && isThemeActive() && getCurrentThemeName) {
        wchar_t file[255] = {};
        wchar_t color[255] = {};
        wchar_t size[255] = {};
        if (SUCCEEDED(getCurrentThemeName(file, 255, color, 255, size, 255)))
            scheme = ThemeSchemeOfColorName(color);
    }
    FreeLibrary(library);
    return scheme;
}

Win32Backend::TWindow* Win32Backend::Find(WindowId window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

WindowId Win32Backend::CreateWindow(const TWindowStyle& style, const TRect& bounds,
                                    const std::string& title) {
    auto w = std::make_unique<TWindow>();
    w->Style = style;
    w->Bits = StyleBitsOf(style);
    w->Bounds = bounds;
    const TRect outer = OuterRect(w->Bits, bounds, Win32Dpi::DpiAt(bounds));
    HWND owner = style.Owner ? Handle(style.Owner) : nullptr;
    HWND hwnd = CreateWindowExW(w->Bits.ExStyle, kWindowClass, Wide(title).c_str(), w->Bits.Style, outer.Left,
                                outer.Top, outer.Width(), outer.Height(), owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return 0;
    w->Id = IdOf(hwnd);
    w->Dpi = Win32Dpi::WindowDpi(w->Id);
    const WindowId id = w->Id;
    windows_[id] = std::move(w);
    return id;
}

void Win32Backend::DestroyWindow(WindowId window) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    it->second->Destroying = true;
    if (grab_ == window) UngrabPointer();
    if (tracking_ == window) tracking_ = 0;
    ::DestroyWindow(Handle(window));
    windows_.erase(window);
    // Whatever the window still had queued is about a window that no longer exists.
    std::erase_if(pending_, [window](const TEvent& e) { return e.Window == window; });
}

void Win32Backend::SetTitle(WindowId window, const std::string& title) {
    if (Find(window)) SetWindowTextW(Handle(window), Wide(title).c_str());
}

void Win32Backend::SetBounds(WindowId window, const TRect& bounds) {
    TWindow* w = Find(window);
    if (!w) return;
    w->Bounds = bounds;
    // The frame of the monitor it goes to: one of another DPI answers with
    // WM_DPICHANGED before SetWindowPos returns.
    const TRect outer = OuterRect(w->Bits, bounds, Win32Dpi::DpiAt(bounds));
    w->Moving = true;
    SetWindowPos(Handle(window), nullptr, outer.Left, outer.Top, outer.Width(), outer.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    w->Moving = false;
}

void Win32Backend::SetVisible(WindowId window, bool visible) {
    TWindow* w = Find(window);
    if (!w) return;
    if (!visible) {
        ShowWindow(Handle(window), SW_HIDE);
        return;
    }
    const bool activates = w->Style.Kind == TWindowKind::Framed;
    ShowWindow(Handle(window), activates ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (!activates)
        SetWindowPos(Handle(window), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // The first picture may be ready already: show it without waiting for a paint message.
    UpdateWindow(Handle(window));
}

void Win32Backend::Raise(WindowId window) {
    if (Find(window))
        SetWindowPos(Handle(window), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Backend::TakeFocus(WindowId window) {
    if (!Find(window)) return;
    SetForegroundWindow(Handle(window));
    SetFocus(Handle(window));
}

TRect Win32Backend::FrameExtents(WindowId window) {
    TWindow* w = Find(window);
    if (!w) return {};
    const TRect r = OuterRect(w->Bits, TRect{}, w->Dpi);
    return {-r.Left, -r.Top, r.Right, r.Bottom};
}

void Win32Backend::Present(WindowId window, const std::uint32_t* pixels, int width, int height, int stride,
                           const TRect& dirty) {
    TWindow* w = Find(window);
    if (!w || width <= 0 || height <= 0) return;
    if (w->Width != width || w->Height != height) {
        w->Width = width;
        w->Height = height;
        w->Picture.assign(static_cast<std::size_t>(width) * height, 0);
        // A new size: the whole picture is new.
        for (int y = 0; y < height; ++y)
            std::memcpy(&w->Picture[static_cast<std::size_t>(y) * width],
                        pixels + static_cast<std::ptrdiff_t>(y) * stride,
                        static_cast<std::size_t>(width) * 4);
    } else {
        const TRect r = dirty.Intersect({0, 0, width, height});
        for (int y = r.Top; y < r.Bottom; ++y)
            std::memcpy(&w->Picture[static_cast<std::size_t>(y) * width + r.Left],
                        pixels + static_cast<std::ptrdiff_t>(y) * stride + r.Left,
                        static_cast<std::size_t>(r.Width()) * 4);
    }
    HWND hwnd = Handle(window);
    HDC dc = GetDC(hwnd);
    if (!dc) return;
    const TRect r = dirty.Intersect({0, 0, width, height});
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows top to bottom, as the framework keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // The whole picture, clipped to the dirty part: the source offsets of a
    // top-down picture would otherwise count from its last row.
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), w->Picture.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(hwnd, dc);
}

void Win32Backend::Paint(TWindow& w) {
    HWND hwnd = Handle(w.Id);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    const TRect area = FromRECT(ps.rcPaint);
    if (dc && !w.Picture.empty()) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w.Width;
        info.bmiHeader.biHeight = -w.Height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(w.Width), static_cast<DWORD>(w.Height), 0, 0, 0,
                          static_cast<UINT>(w.Height), w.Picture.data(), &info, DIB_RGB_COLORS);
    }
    EndPaint(hwnd, &ps);
    // Parts the kept picture does not cover are the framework's to paint.
    if (w.Picture.empty() || area.Right > w.Width || area.Bottom > w.Height) {
        TEvent e;
        e.Type = TEventType::Expose;
        e.Window = w.Id;
        e.Rect = area;
        pending_.push_back(std::move(e));
    }
}

void Win32Backend::SetCursor(WindowId window, TCursorShape shape) {
    TWindow* w = Find(window);
    if (!w) return;
    w->Cursor = shape;
    // Shown at once when the pointer is over the window (or the window holds it).
    POINT p;
    GetCursorPos(&p);
    if (grab_ == window || WindowFromPoint(p) == Handle(window))
        SendMessageW(Handle(window), WM_SETCURSOR, reinterpret_cast<WPARAM>(Handle(window)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void Win32Backend::GrabPointer(WindowId window) {
    if (!Find(window)) return;
    grab_ = window;
    SetCapture(Handle(window));
}

void Win32Backend::UngrabPointer() {
    if (!grab_) return;
    grab_ = 0;
    ReleaseCapture();
}

TPoint Win32Backend::PointerPosition() {
    POINT p{0, 0};
    GetCursorPos(&p);
    return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

TRect Win32Backend::ScreenRect() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

TRect Win32Backend::WorkArea() {
    RECT r;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) return ScreenRect();
    return FromRECT(r);
}

std::vector<TRect> Win32Backend::Monitors() {
    std::vector<TRect> monitors;
    for (const TMonitor& monitor : EnumerateMonitors())
        monitors.push_back(monitor.Bounds);
    if (monitors.empty()) monitors.push_back(ScreenRect());
    return monitors;
}

std::vector<double> Win32Backend::MonitorScales() {
    std::vector<double> scales;
    for (const TMonitor& monitor : EnumerateMonitors())
        scales.push_back(Win32Dpi::ScaleOf(Win32Dpi::MonitorDpi(monitor.Handle)));
    if (scales.empty()) scales.push_back(Win32Dpi::ScaleOf(Win32Dpi::SystemDpi()));
    return scales;
}

double Win32Backend::WindowScale(WindowId window) {
    const TWindow* w = Find(window);
    return Win32Dpi::ScaleOf(w ? w->Dpi : Win32Dpi::SystemDpi());
}

void Win32Backend::DpiChanged(TWindow& w, unsigned dpi, const TRect& suggested) {
    w.Dpi = dpi;
    w.Moving = true;
    SetWindowPos(Handle(w.Id), nullptr, suggested.Left, suggested.Top, suggested.Width(), suggested.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    w.Moving = false;
    RECT client;
    GetClientRect(Handle(w.Id), &client);
    POINT origin{0, 0};
    ClientToScreen(Handle(w.Id), &origin);
    w.Bounds = TRect::FromBounds(static_cast<int>(origin.x), static_cast<int>(origin.y),
                                 static_cast<int>(client.right), static_cast<int>(client.bottom));
    // One event: the new bounds come with the new scale, not as a Configure of their own.
    std::erase_if(pending_,
                  [&w](const TEvent& e) { return e.Type == TEventType::Configure && e.Window == w.Id; });
    TEvent e;
    e.Type = TEventType::ScaleChanged;
    e.Window = w.Id;
    e.Rect = w.Bounds;
    pending_.push_back(std::move(e));
}

TPoint Win32Backend::DpiScaledSize(const TWindow& w, unsigned dpi) const {
    const TPoint client = Win32Dpi::ScaledClientSize({w.Bounds.Width(), w.Bounds.Height()}, w.Dpi, dpi);
    const TRect outer = OuterRect(w.Bits, TRect::FromBounds(0, 0, client.X, client.Y), dpi);
    return {outer.Width(), outer.Height()};
}

std::int64_t Win32Backend::NowMs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart / frequency_ * 1000 + now.QuadPart % frequency_ * 1000 / frequency_;
}

void Win32Backend::Wake() {
    PostThreadMessageW(threadId_, kWakeMessage, 0, 0);
}

std::optional<TEvent> Win32Backend::NextEvent(std::optional<std::int64_t> deadlineMs) {
    for (;;) {
        if (!pending_.empty()) {
            // The system posts its theme message to every top-level window: the
            // copies still queued join the event before it leaves.
            if (pending_.front().Type == TEventType::ThemeChanged) {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, WM_THEMECHANGED, WM_THEMECHANGED, PM_REMOVE))
                    DispatchMessageW(&msg);
            }
            TEvent e = std::move(pending_.front());
            pending_.pop_front();
            return e;
        }
        MSG msg;
        bool handled = false;
        while (pending_.empty() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            handled = true;
            if (msg.hwnd == nullptr && msg.message == kWakeMessage) {
                woken_ = true;
                continue;
            }
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!pending_.empty()) continue;
        if (woken_) {
            woken_ = false;
            return std::nullopt;
        }
        if (handled) continue;
        DWORD timeout = INFINITE;
        if (deadlineMs) {
            const std::int64_t left = *deadlineMs - NowMs();
            if (left <= 0) return std::nullopt;
            timeout = static_cast<DWORD>(std::min<std::int64_t>(left, 0x7FFFFFFF));
        }
        const DWORD r = MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (r == WAIT_TIMEOUT) return std::nullopt;
    }
}

} // namespace win32
} // namespace emr::platform
