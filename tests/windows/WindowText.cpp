// Reads what a window of another program says, as a user sees it: the texts of
// the static controls of the first top-level window with the given title, one per
// line in UTF-8 on standard output. The end-to-end test runs it in the program's
// Wine prefix while the system's message box is up, to read the box's text.
//
// usage: windowtext.exe TITLE [WAIT_MS]
// Waits up to WAIT_MS (default 10000) for the window and a text in it; exits 1
// when none comes, 2 on a wrong command line.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                            nullptr);
    return out;
}

void Write(DWORD stream, const std::string& bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

BOOL CALLBACK AddStaticText(HWND child, LPARAM data) {
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (lstrcmpiW(className, L"Static") != 0) return TRUE;
    // For a window of another process the system answers from the text it keeps,
    // without asking that program (which is busy in its box's loop).
    wchar_t text[1024] = {};
    // The box's icon is a static control too, one without text.
    if (GetWindowTextW(child, text, 1024) > 0)
        reinterpret_cast<std::vector<std::wstring>*>(data)->push_back(text);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) {
        Write(STD_ERROR_HANDLE, "usage: windowtext.exe TITLE [WAIT_MS]\n");
        return 2;
    }
    const DWORD wait = argc == 3 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 10000;
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindWindowW(nullptr, argv[1])) {
            std::vector<std::wstring> texts;
            EnumChildWindows(window, AddStaticText, reinterpret_cast<LPARAM>(&texts));
            if (!texts.empty()) {
                std::string out;
                for (const std::wstring& text : texts)
                    out += Utf8(text) + "\n";
                Write(STD_OUTPUT_HANDLE, out);
                return 0;
            }
        }
        if (GetTickCount() - start >= wait) break;
        Sleep(50);
    }
    Write(STD_ERROR_HANDLE, "windowtext: no window " + Utf8(argv[1]) + " with a text in it\n");
    return 1;
}
