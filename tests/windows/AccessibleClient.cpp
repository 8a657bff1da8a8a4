// Reads a program's window as a screen reader does: through the system's
// accessibility library, from another process. Finds the window by its title,
// checks that the program had not loaded the accessibility library before it was
// asked, walks the accessible tree from the window's client object, checks the
// named push buttons (inside a tool bar, enabled, visible, placed inside the
// window and found there by hit testing), then runs the default action of the
// last one named. Prints the tree it walked.
//
// usage: accessibleclient.exe TITLE BUTTON... (the last BUTTON is pressed)
// Exits 0 when every check held, 1 with the reason on standard error otherwise, 2
// on a wrong command line.
#include <windows.h>

#include <oleacc.h>
#include <tlhelp32.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

// How long the program may take to show its window.
constexpr DWORD kWindowWaitMs = 30000;
constexpr DWORD kPollMs = 50;
// How deep the walk goes: the program's tree is a few levels deep.
constexpr int kMaxDepth = 12;

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

int Fail(const std::string& why) {
    Write(STD_ERROR_HANDLE, "accessibleclient: " + why + "\n");
    return 1;
}

VARIANT Self() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

std::wstring NameOf(IAccessible* object) {
    BSTR name = nullptr;
    if (FAILED(object->get_accName(Self(), &name)) || !name) return L"";
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
}

LONG LongOf(IAccessible* object, bool role) {
    VARIANT v;
    VariantInit(&v);
    const HRESULT r = role ? object->get_accRole(Self(), &v) : object->get_accState(Self(), &v);
    if (FAILED(r) || v.vt != VT_I4) {
        VariantClear(&v);
        return -1;
    }
    return v.lVal;
}

/// One object met on the walk, with the roles of the objects above it.
struct TFound {
    IAccessible* Object = nullptr;
    std::wstring Name;
    LONG Role = 0;
    LONG State = 0;
    std::vector<LONG> AncestorRoles;
};

void Walk(IAccessible* object, std::vector<LONG>& path, std::vector<TFound>& found, int depth) {
    TFound here{object, NameOf(object), LongOf(object, true), LongOf(object, false), path};
    Write(
        STD_OUTPUT_HANDLE, std::string(static_cast<std::size_t>(depth) * 2, ' ') + "role " +
                               std::to_string(here.Role) + " state 0x" +
                               [&] {
                                   char hex[16];
                                   wsprintfA(hex, "%lx", static_cast<unsigned long>(here.State));
                                   return std::string(hex);
                               }() +
                               " \"" + Utf8(here.Name) + "\"\n");
    found.push_back(here);
    LONG count = 0;
    if (depth >= kMaxDepth || FAILED(object->get_accChildCount(&count))) return;
    path.push_back(here.Role);
    for (LONG i = 1; i <= count; ++i) {
        VARIANT id;
        VariantInit(&id);
        id.vt = VT_I4;
        id.lVal = i;
        IDispatch* dispatch = nullptr;
        if (object->get_accChild(id, &dispatch) != S_OK || !dispatch) continue;
        IAccessible* child = nullptr;
        dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&child));
        dispatch->Release();
        if (child) Walk(child, path, found, depth + 1);
    }
    path.pop_back();
}

/// Whether the process has a module of this name loaded.
bool HasModule(DWORD process, const wchar_t* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    bool has = false;
    for (BOOL more = Module32FirstW(snapshot, &module); more && !has; more = Module32NextW(snapshot, &module))
        has = lstrcmpiW(module.szModule, name) == 0;
    CloseHandle(snapshot);
    return has;
}

/// Checks one button found on the walk; empty when it is as a user sees it.
std::string CheckButton(IAccessible* client, const TFound& button, const RECT& clientArea) {
    const std::string name = Utf8(button.Name);
    if (button.Role != ROLE_SYSTEM_PUSHBUTTON) return name + " has role " + std::to_string(button.Role);
    bool inToolBar = false;
    for (LONG role : button.AncestorRoles)
        inToolBar = inToolBar || role == ROLE_SYSTEM_TOOLBAR;
    if (!inToolBar) return name + " is not inside a tool bar";
    if (button.State & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN))
        return name + " is not available and shown (state " + std::to_string(button.State) + ")";
    LONG left = 0, top = 0, width = 0, height = 0;
    if (FAILED(button.Object->accLocation(&left, &top, &width, &height, Self())))
        return name + " has no place";
    if (width <= 0 || height <= 0 || left < clientArea.left || top < clientArea.top ||
        left + width > clientArea.right || top + height > clientArea.bottom)
        return name + " is placed outside the window's client area";
    VARIANT hit;
    VariantInit(&hit);
    if (FAILED(client->accHitTest(left + width / 2, top + height / 2, &hit)) || hit.vt != VT_DISPATCH)
        return name + ": hit testing its middle finds no object";
    IAccessible* there = nullptr;
    hit.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&there));
    VariantClear(&hit);
    const std::wstring found = there ? NameOf(there) : L"";
    if (there) there->Release();
    if (found != button.Name) return name + ": hit testing its middle finds \"" + Utf8(found) + "\"";
    return {};
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        Write(STD_ERROR_HANDLE, "usage: accessibleclient.exe TITLE BUTTON...\n");
        return 2;
    }
    HWND window = nullptr;
    for (DWORD start = GetTickCount(); !window && GetTickCount() - start < kWindowWaitMs; Sleep(kPollMs))
        window = FindWindowW(nullptr, argv[1]);
    if (!window) return Fail("no window " + Utf8(argv[1]));
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    // A program's modules that cannot be read would make the next check pass for nothing.
    if (!HasModule(process, L"kernel32.dll")) return Fail("cannot read the program's modules");
    if (HasModule(process, L"oleacc.dll")) return Fail("the program loaded oleacc.dll before anyone asked");

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* client = nullptr;
    const HRESULT r = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                 reinterpret_cast<void**>(&client));
    if (FAILED(r) || !client) return Fail("no accessible object for the window");
    if (!HasModule(process, L"oleacc.dll"))
        return Fail("the program answered without its accessibility library");
    std::vector<LONG> path;
    std::vector<TFound> found;
    Walk(client, path, found, 0);

    RECT area;
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    IAccessible* last = nullptr;
    for (int i = 2; i < argc; ++i) {
        last = nullptr;
        for (const TFound& f : found)
            if (f.Name == argv[i]) last = f.Object;
        if (!last) return Fail("no object named " + Utf8(argv[i]));
        for (const TFound& f : found)
            if (f.Object == last)
                if (std::string why = CheckButton(client, f, area); !why.empty()) return Fail(why);
    }
    if (FAILED(last->accDoDefaultAction(Self())))
        return Fail("the default action of " + Utf8(argv[argc - 1]) + " failed");
    Write(STD_OUTPUT_HANDLE, "pressed " + Utf8(argv[argc - 1]) + "\n");
    // The objects are the program's: it may be gone by now, so they are not released.
    return 0;
}
