// The demo's scripted tour: what `make demo` runs on a machine without a display. It
// presses the host's buttons as a user would and saves a screenshot after each step.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bmp_file.h"
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

// A visible pop-up of this process owned by `owner` and `width` pixels wide (the library's
// tool windows are dialogs).
HWND FindOwnedDialog(HWND owner, int width) {
  for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w; w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    RECT r{};
    GetWindowRect(w, &r);
    if (process == GetCurrentProcessId() && GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w) &&
        r.right - r.left == width)
      return w;
  }
  return nullptr;
}

// Wine without a window manager can leave owned windows under their owner: `window` and
// the dialogs it owns are raised as a user's click would raise them.
void RaiseWithOwned(HWND window) {
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w; w = FindWindowExW(nullptr, w, L"#32770", nullptr))
    if (GetWindow(w, GW_OWNER) == window)
      SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ClickAt(HWND window, int x, int y) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// Plays the user at the library's save dialog from a second thread: picks the file type,
// types a name without extension, optionally saves a screenshot of the filled dialog, and
// presses OK.
struct SaveDialogPlay {
  int typeIndex = 0;      // 0 BMP, 1 JPEG, 2 PNG: the dialog's file-type list
  std::wstring path;      // typed into the name field
  std::wstring shotPath;  // empty: no screenshot
  bool done = false;
};

BOOL CALLBACK FindSaveDialogProc(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t cls[16] = L"";
  GetClassNameW(window, cls, 16);
  if (process != GetCurrentProcessId() || wcscmp(cls, L"#32770") || !IsWindowVisible(window)) return TRUE;
  if (!GetDlgItem(window, 0x470)) return TRUE;  // the file-type list marks a file dialog
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND FindSaveDialog() {
  HWND found = nullptr;
  EnumWindows(FindSaveDialogProc, reinterpret_cast<LPARAM>(&found));
  return found;
}

BOOL CALLBACK SetNameField(HWND child, LPARAM text) {
  if (GetDlgCtrlID(child) == 0x47c) SendMessageW(child, WM_SETTEXT, 0, text);
  return TRUE;
}

DWORD WINAPI PlaySaveDialog(void* param) {
  auto* play = static_cast<SaveDialogPlay*>(param);
  const ULONGLONG end = GetTickCount64() + 10000;
  HWND dialog = nullptr;
  while (!(dialog = FindSaveDialog()) && GetTickCount64() < end) Sleep(20);
  if (!dialog) return 0;
  HWND types = GetDlgItem(dialog, 0x470);
  SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(play->typeIndex), 0);
  for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, code), reinterpret_cast<LPARAM>(types));
  EnumChildWindows(dialog, SetNameField, reinterpret_cast<LPARAM>(play->path.c_str()));
  if (!play->shotPath.empty()) {
    Sleep(300);  // the dialog's own thread repaints meanwhile
    SaveScreen(play->shotPath);
  }
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  play->done = true;
  return 0;
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
  // The pixel inspector: a press on the image opens it; its settings panel turns the
  // rulers and the readout on; a drag shows the measurement. The real pointer is put on
  // the same point, so the moves Wine reports agree with the ones sent here.
  if (HWND viewer = FindToolWindow()) {
    // A viewer command first closes the floating panel the tour left open, as a user's
    // next choice in the menu would: a press in the viewer then reaches the image.
    SendMessageW(viewer, WM_COMMAND, 32795, 0);  // 100 %
    POINT onScreen{150, 107};  // the first request button's caption in the captured screen
    ClientToScreen(viewer, &onScreen);
    SetCursorPos(onScreen.x, onScreen.y);
    ClickAt(viewer, 150, 107);
    if (HWND inspector = FindOwnedDialog(viewer, 250)) {
      SendMessageW(viewer, WM_MOUSEMOVE, 0, MAKELPARAM(150, 107));
      ClickAt(inspector, 157, 8);  // the settings panel, on its pixel count page
      RaiseWithOwned(viewer);
      screenshot(L"inspector-settings");
      ClickAt(inspector, 27 + 118, 45);      // readout page
      ClickAt(inspector, 27 + 20, 19 + 27);  // rulers and readout on
      RaiseWithOwned(viewer);
      screenshot(L"inspector-settings-readout");
      ClickAt(inspector, 27 + 140, 45);  // apply
      SendMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 95));
      SendMessageW(viewer, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 107));
      RaiseWithOwned(viewer);
      screenshot(L"inspector-readout-rulers");
      SendMessageW(viewer, WM_LBUTTONUP, 0, MAKELPARAM(150, 107));
    }
  }
  // The whole view saved in each format; the saved-size pop-up shows after each.
  struct SaveStep {
    int typeIndex;
    const wchar_t* name;
  };
  // Full paths: the dialog has its own idea of the current folder while it shows.
  wchar_t fullDirectory[MAX_PATH];
  GetFullPathNameW(directory, MAX_PATH, fullDirectory, nullptr);
  wchar_t savedFolder[MAX_PATH];
  GetFullPathNameW((std::wstring(directory) + L"\\saved").c_str(), MAX_PATH, savedFolder, nullptr);
  CreateDirectoryW(savedFolder, nullptr);
  for (const SaveStep& save : {SaveStep{0, L"saved-bmp"}, SaveStep{1, L"saved-jpeg"}, SaveStep{2, L"saved-png"}}) {
    HWND viewer = FindToolWindow();
    if (!viewer) break;
    // A pop-up still showing would swallow the next one: close it as a user waiting would.
    if (HWND popup = FindWindowExW(nullptr, nullptr, L"#32770", L""); popup && GetWindow(popup, GW_OWNER) == viewer)
      SendMessageW(popup, WM_CLOSE, 0, 0);
    SaveDialogPlay play;
    play.typeIndex = save.typeIndex;
    play.path = std::wstring(savedFolder) + L"\\tour-" + save.name;
    // A file from an earlier tour would bring the overwrite question, which nobody answers.
    for (const wchar_t* extension : {L".bmp", L".jpg", L".png"}) DeleteFileW((play.path + extension).c_str());
    if (save.typeIndex == 0) {
      wchar_t file[64];
      swprintf(file, 64, L"%02d-save-dialog.bmp", ++shot);
      play.shotPath = std::wstring(fullDirectory) + L"\\" + file;
      std::printf("screenshot %ls\n", file);
    }
    HANDLE thread = CreateThread(nullptr, 0, PlaySaveDialog, &play, 0, nullptr);
    SendMessageW(viewer, WM_COMMAND, 32864, 0);  // save the whole image to a file
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    if (!play.done) ++failures;
    screenshot(save.name);
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

  // The JPEG preview of a fresh capture: quality 65, quality 5 set on its slider, the
  // difference tabs with a range and the x2 traces, and the loupe following the pointer.
  if (FindToolWindow()) CloseToolWindow();
  MakeRequest(10);
  if (HWND viewer = FindToolWindow()) {
    // The viewer steps aside so that the preview, opening at the desktop's bottom right,
    // shows whole.
    SetWindowPos(viewer, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(viewer, WM_COMMAND, 32874, 0);
    if (HWND preview = FindOwnedDialog(viewer, 730)) {
      auto raise = [&] { RaiseWithOwned(preview); };
      raise();
      screenshot(L"jpeg-preview-quality-65");
      HWND panel = FindWindowExW(preview, nullptr, L"#32770", nullptr);
      if (panel) ClickAt(panel, 29, 60);  // the slider: quality 5
      raise();
      screenshot(L"jpeg-preview-quality-5");
      ClickAt(preview, 650, 128);
      raise();
      screenshot(L"jpeg-difference-a");
      ClickAt(preview, 650, 145);
      ClickAt(preview, 523, 434);  // range, then a drag on the image
      SendMessageW(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 120));
      SendMessageW(preview, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 260));
      SendMessageW(preview, WM_LBUTTONUP, 0, MAKELPARAM(300, 260));
      ClickAt(preview, 555, 434);  // gain x2
      raise();
      screenshot(L"jpeg-difference-b-range-x2");
      SendMessageW(preview, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 200));
      SendMessageW(preview, WM_RBUTTONUP, 0, MAKELPARAM(200, 200));
      SendMessageW(preview, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(160, 117));  // the loupe again
      ClickAt(preview, 650, 110);
      SendMessageW(preview, WM_MOUSEMOVE, 0, MAKELPARAM(160, 117));
      raise();
      screenshot(L"jpeg-loupe");
      // The pointer rests on the size box: the hint measures the JPEG.
      POINT onBox{660, 240};
      ClientToScreen(preview, &onBox);
      SetCursorPos(onBox.x, onBox.y);
      // Rests on the size box until the hint shows. Wine without a window manager stacks the
      // preview's X window over the topmost tip when the tip gives the focus back; a window
      // manager keeps the tip on top, so the tip is shown again above it.
      const auto restOnSizeBox = [&] {
        for (int i = 0; i < 2; ++i) {
          SendMessageW(preview, WM_MOUSEMOVE, 0, MAKELPARAM(660, 240));
          PumpFor(300);
        }
        if (HWND hint = FindWindowW(L"TLPICTRN", nullptr)) {
          ShowWindow(hint, SW_HIDE);
          ShowWindow(hint, SW_SHOWNA);
          UpdateWindow(hint);
        }
      };
      restOnSizeBox();
      screenshot(L"jpeg-quality-hint");
      // A double click on the size box sets the suggested quality; resting there again, the
      // hint says the quality is at it.
      if (HWND hint = FindWindowW(L"TLPICTRN", nullptr)) SendMessageW(hint, WM_CLOSE, 0, 0);
      SendMessageW(preview, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(660, 240));
      SendMessageW(preview, WM_MOUSEMOVE, 0, MAKELPARAM(650, 110));
      restOnSizeBox();
      screenshot(L"jpeg-quality-suggestion-applied");
      SendMessageW(preview, WM_CLOSE, 0, 0);
    }
  }

  // The capture modes on the demo's own window: a range dragged over it with the
  // crosshair, size text and inspector, then the window pick's outline around it. The real
  // pointer goes where the moves are sent, so Wine's own moves agree with them.
  if (HWND popup = FindWindowExW(nullptr, nullptr, L"#32770", L""); popup && GetWindow(popup, GW_OWNER) == MainWindow())
    SendMessageW(popup, WM_CLOSE, 0, 0);
  if (FindToolWindow()) {
    CloseToolWindow();
    PumpFor(300);
  }
  const auto findCapture = [] {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w; w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
      RECT r{};
      GetWindowRect(w, &r);
      if (IsWindowVisible(w) && r.left == 0 && r.top == 0 && r.right == GetSystemMetrics(SM_CXSCREEN) &&
          r.bottom == GetSystemMetrics(SM_CYSCREEN))
        return w;
    }
    return HWND{};
  };
  const auto pointAt = [](HWND window, UINT message, WPARAM keys, int x, int y) {
    SetCursorPos(x, y);
    SendMessageW(window, message, keys, MAKELPARAM(x, y));
  };
  RECT main{};
  GetWindowRect(MainWindow(), &main);
  MakeRequest(11);
  if (HWND range = findCapture()) {
    pointAt(range, WM_MOUSEMOVE, 0, main.left + 30, main.top + 60);
    pointAt(range, WM_LBUTTONDOWN, MK_LBUTTON, main.left + 30, main.top + 60);
    pointAt(range, WM_MOUSEMOVE, MK_LBUTTON, main.left + 290, main.top + 230);
    screenshot(L"range-capture-drag");
    pointAt(range, WM_LBUTTONUP, 0, main.left + 290, main.top + 230);
  } else {
    ++failures;
  }
  if (FindToolWindow()) {
    CloseToolWindow();
    PumpFor(300);
  }
  MakeRequest(12);
  if (HWND pick = findCapture()) {
    pointAt(pick, WM_MOUSEMOVE, 0, main.left + 60, main.top + 90);
    screenshot(L"window-pick-outline");
    SendMessageW(pick, WM_CHAR, 0x1B, 0);  // Escape
  } else {
    ++failures;
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace demo
