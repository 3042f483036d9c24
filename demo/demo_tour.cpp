// The demo's scripted tour: what `make demo` runs on a machine without a display. It
// presses the host's buttons as a user would and saves a screenshot after each step.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "codecs/bmp.h"
#include "demo_tour.h"

namespace demo {
namespace {

// Dispatches messages for `milliseconds`, so windows paint and timers fire.
void PumpFor(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      HWND active = GetActiveWindow();
      if (active && active != MainWindow() && IsDialogMessageW(active, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

// Saves the whole screen as a 24-bit BMP; returns false when it could not.
bool SaveScreen(const std::wstring& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  GdiFlush();
  const auto stride = static_cast<int>(pictornx::RowBytes(width));
  const std::vector<uint8_t> file =
      pictornx::EncodeBmp24(pictornx::ConstImageView(static_cast<const uint8_t*>(bits), width, height, stride));
  DeleteObject(bitmap);

  HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(handle, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
  CloseHandle(handle);
  return ok && written == file.size();
}

constexpr int kPosterPreviewButton = 1049;

struct ButtonSearch {
  HWND owner;
  int id;
};

BOOL CALLBACK ClickIfOwned(HWND window, LPARAM data) {
  const auto* search = reinterpret_cast<const ButtonSearch*>(data);
  HWND button = GetDlgItem(window, search->id);
  if (GetWindow(window, GW_OWNER) != search->owner || !button) return TRUE;
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(search->id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return FALSE;
}

// Clicks button `id` of whichever window owned by `owner` has it, as a user's click would.
void ClickInOwnedPanel(HWND owner, int id) {
  ButtonSearch search{owner, id};
  EnumThreadWindows(GetCurrentThreadId(), ClickIfOwned, reinterpret_cast<LPARAM>(&search));
}

}  // namespace

int RunTour(const wchar_t* directory) {
  int shot = 0;
  int failures = 0;
  auto screenshot = [&](const wchar_t* name) {
    PumpFor(400);
    wchar_t file[64];
    swprintf(file, 64, L"%02d-%ls.bmp", ++shot, name);
    const std::wstring path = std::wstring(directory) + L"\\" + file;
    if (SaveScreen(path)) {
      std::printf("screenshot %ls\n", file);
    } else {
      std::printf("could not save %ls\n", file);
      ++failures;
    }
    std::fflush(stdout);
  };

  SetForegroundWindow(MainWindow());
  screenshot(L"start");

  MakeRequest(100);
  MakeRequest(10);
  screenshot(L"request-10-viewer");
  // The viewer's menu commands, as a user chooses them (ids of the viewer's menu).
  struct Step {
    int command;
    const wchar_t* name;
  };
  const Step steps[] = {
      {32798, L"zoom-25"},        {32859, L"zoom-25-averaged"}, {32795, L"zoom-100"},
      {32787, L"rotated-right"},  {32818, L"grey"},             {32817, L"sepia"},
      {32814, L"reset"},          {32816, L"inverted"},         {32814, L"reset-again"},
      {32815, L"cursor-picker"},  {32845, L"colour-count"},     {32844, L"posterise-panel"},
      {0, L"posterise-preview"},  {32868, L"rgb-gauge"},        {32799, L"any-size-panel"},
  };
  for (const Step& step : steps) {
    HWND viewer = FindToolWindow();
    if (!viewer) break;
    if (step.command != 0)
      SendMessageW(viewer, WM_COMMAND, step.command, 0);
    else
      ClickInOwnedPanel(viewer, kPosterPreviewButton);
    ReadImageBack();
    screenshot(step.name);
  }
  if (FindToolWindow()) {
    CloseToolWindow();
    PumpFor(300);
  }

  MakeRequest(5);  // an old interface version's request: the library says so
  screenshot(L"old-version-request");
  return failures == 0 ? 0 : 1;
}

}  // namespace demo
