// The regional-format patch utility for Windows: one window whose "确定" rewrites
// five of the current user's regional settings and whose "退出" quits.
#include <exception>
#include <memory>
#include <string>

#include "app/AppEnvironment.h"
#include "app/Program.h"
#include "app/WindowsLocalePlatform.h"
#include "framework/forms/Application.h"
#include "framework/platform/Backend.h"
#include "framework/platform/win32/Win32Backend.h"

#include <windows.h>

namespace {

/// A fault that ends the program is said in a box: a GUI program has no console.
void ShowFault(const char* what) {
    const std::string text = std::string("emrpatch: ") + what;
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), n);
    MessageBoxW(nullptr, wide.c_str(), L"emrpatch", MB_OK | MB_ICONERROR);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace emr;

    platform::Backend::Install(platform::CreateWin32Backend());

    TWindowsLocalePlatform localePlatform;
    TAppEnvironment& environment = AppEnvironment();
    environment.Platform = &localePlatform;
    environment.Formats = TWindowsLocalePlatform::ReadStartupFormats();

    int status = 0;
    try {
        StartApplication();
        Application->Run();
    } catch (const std::exception& e) {
        // A layout that does not load, or a fault a handler let out of the loop:
        // say what it was instead of aborting. The patch keeps its own faults.
        ShowFault(e.what());
        status = 1;
    }

    ShutDownApplication();
    environment.Platform = nullptr;
    platform::Backend::Uninstall();
    return status;
}
