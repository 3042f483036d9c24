// A second process for the clipboard tests, as another program would use the clipboard:
//   clipboard-reader read FILE    writes the CF_DIB block on the clipboard to FILE (exit 1 if none)
//   clipboard-reader hold READY RELEASE   opens the clipboard, sets the named event READY
//                                         and holds it until the named event RELEASE is set
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wcscmp(argv[1], L"hold") == 0) {
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
    // Held by a window: Wine lets a second OpenClipboard(NULL) through while the clipboard
    // is open without one, where Windows refuses it.
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!ready || !release || !OpenClipboard(owner)) return 1;
    SetEvent(ready);
    WaitForSingleObject(release, 20000);
    CloseClipboard();
    return 0;
  }
  if (argc != 3 || !OpenClipboard(nullptr)) return 1;
  int status = 1;
  if (HANDLE block = GetClipboardData(CF_DIB)) {
    const void* bytes = GlobalLock(block);
    FILE* out = _wfopen(argv[2], L"wb");
    if (bytes && out && std::fwrite(bytes, 1, GlobalSize(block), out) == GlobalSize(block)) status = 0;
    if (out) std::fclose(out);
    GlobalUnlock(block);
  }
  CloseClipboard();
  return status;
}
