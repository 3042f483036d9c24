// A dialog procedure's answer to a message whose result is not its return value.
#pragma once

#include <windows.h>

namespace pictornx {

// Stores `result` where the dialog manager returns it to the sender (DWLP_MSGRESULT) and
// returns TRUE, which tells the dialog manager the message was handled: a procedure writes
// `return DialogResult(window, result);`. Needed for WM_GETDLGCODE, WM_SETCURSOR and
// WM_ERASEBKGND, among others, whose senders read the stored value.
inline INT_PTR DialogResult(HWND window, LONG_PTR result) {
  SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace pictornx
