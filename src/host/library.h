#pragma once

#include <windows.h>

namespace pictornx {

// Library start-up: keeps the module instance and loads the hint window's class name.
void StartLibrary(HINSTANCE instance);

}  // namespace pictornx
