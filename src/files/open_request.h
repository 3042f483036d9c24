// Request 15: the user picks an image file and the viewer shows it instead of a capture.
#pragma once

#include <windows.h>

namespace pictornx {

// Empties the scratch copies of name and path; every capture or open request does. The
// names the dialogs remember (file_names.h) live as long as the library.
void ForgetOpenedFileNames();

// Shows the open dialog over `hostWindow`, reads the chosen file into ScreenImage and
// opens the viewer on it. 0 when the viewer opened, 1 when an open dialog is already
// running, -1 when cancelled or failed (the message, if any, has been shown);
// ScreenImage is replaced only by a complete picture.
int OpenFileRequest(HWND hostWindow);

// Reads `path` into ScreenImage and SourceSize without the dialog, choosing the reader
// by the name's kind as the request does; messages are owned by `owner`. 0 or -1.
int ReadImageFile(HWND owner, const wchar_t* path);

}  // namespace pictornx
