// The six functions the host programs call, exported by ordinal only (321 to 326,
// pictornx.def). Standard Windows calling convention; nothing crosses them but integers,
// window handles and the pixel pointer.
#pragma once

#include <windows.h>

#include <cstdint>

extern "C" {
int WINAPI GetToolVersion();                                          // 321
int WINAPI RunToolRequest(HWND hostWindow, int type, int identity);   // 322
int WINAPI SetHostNotifyWindow(HWND notifyWindow, int scopeFlag);     // 323
void* WINAPI GetImageBits();                                          // 324
uint64_t WINAPI GetImageSize();                                       // 325
int WINAPI ShowToolWindows(int hide);                                 // 326
}
