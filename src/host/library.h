#pragma once

#include <windows.h>

namespace pictornx {

// Library start-up: keeps the module instance and loads the hint window's class name.
void StartLibrary(HINSTANCE instance);

// The hint window's class name, string 14 (at most 11 characters).
const wchar_t* HintClassName();

}  // namespace pictornx
