#pragma once
// For the .cpp files of this backend only: includes the system headers.
#include <string>

#include "framework/platform/win32/Win32Api.h"

#include <oleacc.h>

namespace emr::platform::win32 {

/// The system's accessibility and automation libraries, loaded on first use: a
/// program that no assistive technology ever asks does not load them at all.
/// Once loaded they stay for the life of the process, since objects handed to a
/// client may be released (and strings freed) after the window is gone.
class TMsaaLibrary {
public:
    /// The libraries, loaded on the first call; null when the system has none.
    static const TMsaaLibrary* Get();

    /// The answer to WM_GETOBJECT for an object (LresultFromObject).
    LRESULT ResultFromObject(WPARAM wParam, IAccessible* object) const;
    /// The system's object for a window's frame, the parent of its client object.
    HRESULT WindowObject(HWND window, IDispatch** object) const;
    /// A system string of UTF-8 text, for the client to free; null for empty text.
    BSTR String(const std::string& utf8) const;
    /// Joins the calling thread to a single-threaded apartment (object handles
    /// cross processes through it); true when LeaveApartment must balance it.
    bool EnterApartment() const;
    void LeaveApartment() const;

private:
    using TLresultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    using TAccessibleObjectFromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    using TSysAllocStringLen = BSTR(WINAPI*)(const OLECHAR*, UINT);
    using TCoInitializeEx = HRESULT(WINAPI*)(LPVOID, DWORD);
    using TCoUninitialize = void(WINAPI*)();

    /// True when every function was found.
    bool Load();

    TLresultFromObject lresultFromObject_ = nullptr;
    TAccessibleObjectFromWindow accessibleObjectFromWindow_ = nullptr;
    TSysAllocStringLen sysAllocStringLen_ = nullptr;
    TCoInitializeEx coInitializeEx_ = nullptr;
    TCoUninitialize coUninitialize_ = nullptr;
};

} // namespace emr::platform::win32
