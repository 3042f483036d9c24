// The library's own module handle and its resources.
#pragma once

#include <windows.h>

#include <string>

namespace pictornx {

// The module whose resources the shell uses: the DLL's instance, kept by the library
// entry point, or, when the shell is linked into a test program, that program's module.
HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);

// Loads string `id` of the module's string table into `buffer` of `capacity` characters,
// always terminated; returns the characters copied (0 when the string is missing).
int LoadResString(UINT id, wchar_t* buffer, int capacity);
// The whole string `id`, or an empty string when it is missing.
std::wstring LoadResString(UINT id);

}  // namespace pictornx
