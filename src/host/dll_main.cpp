// Entry point of pictornx.dll.
#include <windows.h>

#include "host/library.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  // Every attach and detach notification keeps the instance and the hint class name.
  pictornx::StartLibrary(instance);
  return TRUE;
}
