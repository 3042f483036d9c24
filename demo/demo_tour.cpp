// The demo's scripted tour: what `make demo` runs on a machine without a display. It
// presses the host's buttons as a user would and saves a screenshot after each step.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "codecs/bmp.h"
#include "codecs/jpeg_codec.h"
#include "codecs/png_codec.h"
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

// The open dialog is modal: a timer on this thread answers it with `g_openPath`, after
// saving a screenshot of it to `g_dialogShot` when that is set.
std::wstring g_openPath;
std::wstring g_dialogShot;

BOOL CALLBACK FindFileNameField(HWND child, LPARAM found) {
  if (GetDlgCtrlID(child) != 0x47c) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  wchar_t name[16] = L"";
  GetClassNameW(child, name, 16);
  return wcscmp(name, L"Edit") != 0;  // the innermost of the nested controls
}

BOOL CALLBACK AnswerOpenDialog(HWND window, LPARAM) {
  wchar_t name[16] = L"";
  GetClassNameW(window, name, 16);
  if (!IsWindowVisible(window) || wcscmp(name, L"#32770") != 0) return TRUE;
  HWND field = nullptr;
  EnumChildWindows(window, FindFileNameField, reinterpret_cast<LPARAM>(&field));
  if (!field || g_openPath.empty()) return TRUE;
  if (!g_dialogShot.empty()) {
    SaveScreen(g_dialogShot);
    g_dialogShot.clear();
  }
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(g_openPath.c_str()));
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
  g_openPath.clear();
  return FALSE;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), AnswerOpenDialog, 0); }

// A 480 x 320 picture of colour bands and a diagonal, encoded by the library's own codecs.
bool WritePicture(const std::wstring& path, bool jpeg) {
  constexpr int kWidth = 480, kHeight = 320;
  const auto stride = static_cast<int>(pictornx::RowBytes(kWidth));
  std::vector<uint8_t> pixels(static_cast<size_t>(stride) * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = pixels.data() + static_cast<size_t>(kHeight - 1 - y) * stride;
    for (int x = 0; x < kWidth; ++x) {
      const bool line = std::abs(x * kHeight / kWidth - y) < 3;
      row[x * 3] = line ? 255 : static_cast<uint8_t>(x * 255 / kWidth);
      row[x * 3 + 1] = line ? 255 : static_cast<uint8_t>(y * 255 / kHeight);
      row[x * 3 + 2] = line ? 255 : static_cast<uint8_t>(jpeg ? 200 : 60);
    }
  }
  const pictornx::ConstImageView view(pixels.data(), kWidth, kHeight, stride);
  return jpeg ? pictornx::WriteJpeg(path.c_str(), view, pictornx::JpegOptions{}).Ok()
              : pictornx::WritePng(path.c_str(), view).Ok();
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
      {32815, L"cursor-picker"},
  };
  for (const Step& step : steps) {
    HWND viewer = FindToolWindow();
    if (!viewer) break;
    SendMessageW(viewer, WM_COMMAND, step.command, 0);
    ReadImageBack();
    screenshot(step.name);
  }
  if (FindToolWindow()) {
    CloseToolWindow();
    PumpFor(300);
  }

  // Request 15: a PNG, then a JPEG, chosen in the open dialog (the first one photographed).
  const UINT_PTR answerer = SetTimer(nullptr, 0, 100, AnswerTimer);
  const struct {
    const wchar_t* file;
    bool jpeg;
    const wchar_t* shot;
  } pictures[] = {{L"tour-picture.png", false, L"request-15-png"}, {L"tour-photo.jpg", true, L"request-15-jpeg"}};
  for (const auto& picture : pictures) {
    wchar_t full[MAX_PATH];
    const std::wstring path = std::wstring(directory) + L"\\" + picture.file;
    if (!GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr) || !WritePicture(full, picture.jpeg)) {
      ++failures;
      continue;
    }
    g_openPath = full;
    if (!picture.jpeg) {
      wchar_t file[64];
      swprintf(file, 64, L"%02d-open-dialog.bmp", ++shot);
      g_dialogShot = std::wstring(directory) + L"\\" + file;
    }
    MakeRequest(15);
    screenshot(picture.shot);
    if (FindToolWindow()) {
      CloseToolWindow();
      PumpFor(300);
    }
  }
  KillTimer(nullptr, answerer);

  MakeRequest(5);  // an old interface version's request: the library says so
  screenshot(L"old-version-request");
  return failures == 0 ? 0 : 1;
}

}  // namespace demo
