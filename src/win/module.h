// The library's own module handle and its resources.
#pragma once

#include <windows.h>

#include "pixels/fixed_text.h"

namespace pictornx {

// The module whose resources the shell uses: the DLL's instance, kept by the library
// entry point, or, when the shell is linked into a test program, that program's module.
HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);

// Loads string `id` of the module's string table into `buffer` of `capacity` characters,
// always terminated; returns the characters copied (0 when the string is missing).
int LoadResString(UINT id, wchar_t* buffer, int capacity);
// Room for a window title or a message line built in a fixed buffer, with its zero.
inline constexpr size_t kTitleChars = 256;

// Appends string `id` (nothing when it is missing) to `out`, cut off where `out` is full.
TextWriter& AddResString(TextWriter& out, UINT id);

}  // namespace pictornx
