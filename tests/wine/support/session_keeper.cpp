// Keeps Wine's desktop alive for a whole test session: Wine shuts the desktop down when
// its last GUI process exits and builds it anew for the next one, which costs about a
// second per test program. This process holds it with an invisible message-only window
// until the session ends (wineserver -k).
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = instance;
  cls.lpszClassName = L"PictornxSessionKeeper";
  RegisterClassW(&cls);
  CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
