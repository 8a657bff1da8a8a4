#include "framework/platform/win32/MsaaLibrary.h"

namespace emr::platform::win32 {

namespace {

// Through the generic function type, which converts to any other without a warning.
using TAnyFunction = void (*)();

template <typename T> bool Find(HMODULE library, const char* name, T& function) {
    if (!library) return false;
    function = reinterpret_cast<T>(reinterpret_cast<TAnyFunction>(GetProcAddress(library, name)));
    return function != nullptr;
}

} // namespace

const TMsaaLibrary* TMsaaLibrary::Get() {
    static TMsaaLibrary library;
    static const bool loaded = library.Load();
    return loaded ? &library : nullptr;
}

bool TMsaaLibrary::Load() {
    HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
    HMODULE oleaut = LoadLibraryW(L"oleaut32.dll");
    HMODULE ole = LoadLibraryW(L"ole32.dll");
    return Find(oleacc, "LresultFromObject", lresultFromObject_) &&
           Find(oleacc, "AccessibleObjectFromWindow", accessibleObjectFromWindow_) &&
           Find(oleaut, "SysAllocStringLen", sysAllocStringLen_) &&
           Find(ole, "CoInitializeEx", coInitializeEx_) && Find(ole, "CoUninitialize", coUninitialize_);
}

LRESULT TMsaaLibrary::ResultFromObject(WPARAM wParam, IAccessible* object) const {
    return lresultFromObject_(__uuidof(IAccessible), wParam, object);
}

HRESULT TMsaaLibrary::WindowObject(HWND window, IDispatch** object) const {
    return accessibleObjectFromWindow_(window, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                       reinterpret_cast<void**>(object));
}

BSTR TMsaaLibrary::String(const std::string& utf8) const {
    if (utf8.empty()) return nullptr;
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (n <= 0) return nullptr;
    BSTR text = sysAllocStringLen_(nullptr, static_cast<UINT>(n));
    if (text) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text, n);
    return text;
}

bool TMsaaLibrary::EnterApartment() const {
    // S_FALSE: already joined, which still wants its balancing call; a thread in
    // the multi-threaded apartment keeps it (and needs no balance).
    const HRESULT result = coInitializeEx_(nullptr, COINIT_APARTMENTTHREADED);
    return result == S_OK || result == S_FALSE;
}

void TMsaaLibrary::LeaveApartment() const {
    coUninitialize_();
}

} // namespace emr::platform::win32
