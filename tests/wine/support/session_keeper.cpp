// Keeps Wine's desktop alive for a whole test session. Wine starts its desktop process on
// the first GUI call of a program, shuts it down when the last GUI program exits and
// builds it anew for the next one, which costs about a second per test program; a
// desktop process started by a test program also inherits its output pipe and holds it
// open. This keeper makes the desktop first, says "ready" on its standard output, and
// holds it with a hidden window until the session ends (wineserver -k).
#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = instance;
  cls.lpszClassName = L"PictornxSessionKeeper";
  RegisterClassW(&cls);
  GetDesktopWindow();
  CreateWindowExW(WS_EX_TOOLWINDOW, cls.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
  std::printf("ready\n");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
