#pragma once
// The Windows headers, for the .cpp files of this backend only. Included after
// the framework's headers: the system headers define as macros names that the
// framework uses for its own members (CreateWindow, SendMessage, DrawText) and
// constants (VK_*), which must not rename them.
#include <windows.h>
#include <windowsx.h>

#undef CreateWindow
#undef DestroyWindow
#undef SendMessage
#undef PostMessage
#undef MessageBox
#undef DrawText
#undef SetCursor
#undef GetMessage
