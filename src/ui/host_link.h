// What the shared windows need of the host: its window, which owns pop-ups and message
// boxes, and its identity, which decides the name in their captions. The request
// protocol links them at every request; this is the one place they are kept.
#pragma once

#include <windows.h>

namespace pictornx {

void LinkHost(HWND window, int identity);
HWND LinkedHostWindow();
// 0 = Pictorn; non-zero = Murafex; exactly 1 enables the notifications.
int LinkedHostIdentity();

// The host's name for captions: string 1 for identity 0, string 2 otherwise.
UINT HostNameStringId();

}  // namespace pictornx
