#pragma once
// The Windows headers, for the .cpp files of this folder only. Included after
// the framework's headers: the system headers define as macros names that the
// framework uses for its own members (DrawText, TextOut), which must not rename them.
#include <windows.h>

#undef DrawText
#undef TextOut
#undef CreateWindow
#undef SendMessage
#undef PostMessage
#undef MessageBox
