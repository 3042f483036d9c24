#pragma once

#include <windows.h>

namespace pictornx {

// Library start-up: keeps the module instance (null: the module holding this code), loads
// the hint window's class name and registers the viewer's hooks.
void StartLibrary(HINSTANCE instance);

}  // namespace pictornx
