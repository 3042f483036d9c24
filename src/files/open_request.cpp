#include "files/open_request.h"

#include <commdlg.h>

#include <cstring>
#include <utility>

#include "codecs/bmp.h"
#include "codecs/file_io.h"
#include "codecs/jpeg_codec.h"
#include "codecs/png_codec.h"
#include "files/file_names.h"
#include "files/open_rules.h"
#include "files/picture_loader.h"
#include "ui/host_link.h"
#include "imagestore/image_buffers.h"
#include "resources/resource_ids.h"
#include "ui/popup.h"
#include "viewer/viewer.h"
#include "win/module.h"

namespace pictornx {

FileNames& Names() {
  static FileNames names;
  return names;
}

void ForgetOpenedFileNames() {
  FileNames& names = Names();
  names.scratchPath[0] = L'\0';
  names.scratchTitle[0] = L'\0';
}

namespace {

constexpr int kMessageSeconds = 3;
constexpr DWORD kSmallestFileBytes = 10;
constexpr uint8_t kBackgroundByte = 0xF7;

HWND g_openOwner = nullptr;

// Pairs of description and patterns, each ending in a zero, the list in two.
constexpr wchar_t kOpenFilter[] =
    L"\u5168\u753B\u50CF (BMP GIF JPG PNG ICO CUR WMF EMF)\0"
    L"*.bmp;*.gif;*.jpg;*.png;*.ico;*.cur;*.wmf;*.jpeg;*.jpe;*.emf\0"
    L"BMP (*.bmp)\0*.bmp\0"
    L"GIF (*.gif)\0*.gif\0"
    L"JPG (*.jpg)\0*.jpeg;*.jpe;*.jpg\0"
    L"PNG (*.png)\0*.png\0"
    L"ICO (*.ico)\0*.ico\0"
    L"CUR (*.cur)\0*.cur\0"
    L"WMF (*.wmf)\0*.wmf\0"
    L"EMF (*.emf)\0*.emf\0";

INT_PTR CALLBACK OpenOwnerProc(HWND window, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(window);
      return TRUE;
    case WM_DESTROY:
      if (g_openOwner == window) g_openOwner = nullptr;
      return TRUE;
    default:
      return FALSE;
  }
}

void CloseOpenOwner() {
  if (g_openOwner) SendMessageW(g_openOwner, WM_CLOSE, 0, 0);
}

// Decodes into an image of its own; ScreenImage changes only when the decode completed.
class FreshImageSink final : public ImageSink {
 public:
  bool Allocate(int width, int height, ImageView* out) override {
    if (!image.Create(width, height)) return false;
    *out = image.View();
    return true;
  }
  SharedImage image;
};

void AdoptAsScreenImage(SharedImage&& image) {
  ImageBuffersState& images = Images();
  images.sourceSize = {image.Width(), image.Height()};
  images.screenImage = std::move(image);
}

enum class ReadOutcome { kDone, kFallBack, kFailed };

// The own readers' outcome: out of memory (a refused size included) ends the request with
// the memory box, since the general reader would try to allocate the same picture.
ReadOutcome FromCodec(const CodecResult& result, FreshImageSink& sink) {
  if (result.Ok()) {
    AdoptAsScreenImage(std::move(sink.image));
    return ReadOutcome::kDone;
  }
  if (result.status == CodecStatus::kOutOfMemory) {
    ShowMemoryError(LinkedHostWindow());
    return ReadOutcome::kFailed;
  }
  return ReadOutcome::kFallBack;
}

int Fail(HWND owner, UINT line1, UINT line2) {
  ShowPopupStrings(owner, line1, line2, kMessageSeconds);
  return -1;
}

// A movable global block freed unless given away.
struct GlobalBlock {
  HGLOBAL handle = nullptr;
  ~GlobalBlock() {
    if (handle) GlobalFree(handle);
  }
  HGLOBAL Release() { return std::exchange(handle, nullptr); }
};

struct GlobalLockScope {
  explicit GlobalLockScope(HGLOBAL locked) : block(locked), bytes(static_cast<uint8_t*>(GlobalLock(locked))) {}
  ~GlobalLockScope() {
    if (bytes) GlobalUnlock(block);
  }
  HGLOBAL block;
  uint8_t* bytes;
};

// Renders the loaded picture at its pixel size over the light grey background.
int RenderPicture(HWND owner, const LoadedPicture& picture, FileKind kind, PixelSize gifScreen) {
  const SIZE himetric = picture.HimetricSize();
  int dpiX = 96;
  int dpiY = 96;
  {
    WindowDc dc(owner);
    if (dc) {
      dpiX = GetDeviceCaps(dc.Get(), LOGPIXELSX);
      dpiY = GetDeviceCaps(dc.Get(), LOGPIXELSY);
    }
  }
  int width = HimetricToPixels(himetric.cx, dpiX);
  int height = HimetricToPixels(himetric.cy, dpiY);
  if (width == 0 || height == 0) return Fail(owner, IDS_IMAGE_UNREADABLE, IDS_MAYBE_TOO_SMALL);
  if (kind == FileKind::kGif) {
    width = SnapGifSide(width, gifScreen.width);
    height = SnapGifSide(height, gifScreen.height);
  } else if (kind == FileKind::kIco || kind == FileKind::kCur) {
    width = SnapIconSide(width);
    height = SnapIconSide(height);
  }
  SharedImage image;
  if (!image.Create(width, height)) {
    ShowMemoryError(LinkedHostWindow());
    return -1;
  }
  std::memset(image.Bits(), kBackgroundByte, static_cast<size_t>(image.ContentBytes()));
  {
    OwnedDc memory = OwnedDc::Compatible(nullptr);
    if (!memory) {
      ShowMemoryError(LinkedHostWindow());
      return -1;
    }
    SelectionGuard select(memory.Get(), image.Bitmap());
    picture.Render(memory.Get(), width, height);
    GdiFlush();
  }
  AdoptAsScreenImage(std::move(image));
  return 0;
}

// The general reader, with the own BMP decoder first for kind 1.
int ReadWithPictureLoader(HWND owner, const wchar_t* path, FileKind kind) {
  HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Fail(owner, IDS_CANNOT_OPEN_IMAGE, IDS_FILE_MISSING_OR_BAD);
  LARGE_INTEGER size{};
  const bool sized = GetFileSizeEx(file, &size);
  if (!sized || size.QuadPart < kSmallestFileBytes) {
    CloseHandle(file);
    return sized ? -1 : Fail(owner, IDS_CANNOT_OPEN_IMAGE, IDS_FILE_MISSING_OR_BAD);
  }
  GlobalBlock block;
  if (size.QuadPart <= kMaxFileBytes)
    block.handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size.QuadPart));
  if (!block.handle) {
    CloseHandle(file);
    ShowMemoryError(LinkedHostWindow());
    return -1;
  }
  const DWORD bytes = static_cast<DWORD>(size.QuadPart);
  PixelSize gifScreen;
  {
    GlobalLockScope lock(block.handle);
    DWORD read = 0;
    DWORD total = 0;
    while (lock.bytes && total < bytes && ReadFile(file, lock.bytes + total, bytes - total, &read, nullptr) && read > 0)
      total += read;
    CloseHandle(file);
    if (!lock.bytes || total < bytes) return Fail(owner, IDS_CANNOT_OPEN_IMAGE, IDS_FILE_MISSING_OR_BAD);
    const std::span<const uint8_t> content(lock.bytes, bytes);

    if (kind == FileKind::kBmp) {
      FreshImageSink sink;
      const ReadOutcome outcome = FromCodec(ReadBmp(content, sink), sink);
      if (outcome != ReadOutcome::kFallBack) return outcome == ReadOutcome::kDone ? 0 : -1;
    }
    if (kind == FileKind::kGif) {
      switch (CheckGif(content)) {
        case GifCheck::kNotGif:
          return Fail(owner, IDS_THE_IMAGE, IDS_NOT_A_GIF);
        case GifCheck::kNoTrailer:
          return Fail(owner, IDS_THE_IMAGE, IDS_CANNOT_BE_READ);
        case GifCheck::kOk:
          gifScreen = GifScreenSize(content);
          break;
      }
    }
    if (ClaimsOversizedPicture(content)) {
      ShowMemoryError(LinkedHostWindow());
      return -1;
    }
    // The picture loader trusts the offsets and sizes inside the file.
    if (!PrepareForPictureLoader({lock.bytes, bytes}))
      return Fail(owner, IDS_CANNOT_OPEN_IMAGE, IDS_EXTENSION_CONTENT_MISMATCH);
  }
  LoadedPicture picture;
  if (!picture.Load(block.Release(), bytes)) return Fail(owner, IDS_CANNOT_OPEN_IMAGE, IDS_EXTENSION_CONTENT_MISMATCH);
  return RenderPicture(owner, picture, kind, gifScreen);
}

// Shows the open dialog; the chosen path lands in Names().openPath. False when cancelled.
bool ChooseFile(HWND owner, WORD* nameOffset) {
  FileNames& names = Names();
  wchar_t title[128] = L"";
  LoadResString(IDS_OPEN_DIALOG_TITLE, title, 128);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kOpenFilter;
  dialog.nFilterIndex = static_cast<DWORD>(names.openFilterIndex);
  dialog.lpstrFile = names.openPath;
  dialog.nMaxFile = kFileNameChars;
  dialog.lpstrFileTitle = names.lastFileTitle;
  dialog.nMaxFileTitle = kFileNameChars;
  dialog.lpstrInitialDir = names.openPath;
  dialog.lpstrTitle = title;
  dialog.Flags = OFN_HIDEREADONLY;
  dialog.lpstrDefExt = L"bmp";
  if (!GetOpenFileNameW(&dialog)) return false;
  names.openFilterIndex = static_cast<int>(dialog.nFilterIndex);
  *nameOffset = dialog.nFileOffset;
  return true;
}

}  // namespace

int ReadImageFile(HWND owner, const wchar_t* path) {
  const FileKind kind = FileKindFromName(path);
  if (IsJpegKind(kind) || kind == FileKind::kPng) {
    FreshImageSink sink;
    const CodecResult result = kind == FileKind::kPng ? ReadPngFile(path, sink) : ReadJpegFile(path, sink);
    const ReadOutcome outcome = FromCodec(result, sink);
    if (outcome != ReadOutcome::kFallBack) return outcome == ReadOutcome::kDone ? 0 : -1;
  }
  return ReadWithPictureLoader(owner, path, kind);
}

int OpenFileRequest(HWND hostWindow) {
  if (g_openOwner) return 1;
  g_openOwner = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_OPEN_OWNER), hostWindow, OpenOwnerProc, 0);
  if (!g_openOwner) return -1;  // the failed request frees the capture images

  FileNames& names = Names();
  WORD nameOffset = 0;
  const bool chosen = ChooseFile(g_openOwner, &nameOffset);
  CloseOpenOwner();
  if (!chosen) {
    RestoreHostWindow();
    return -1;
  }
  if (std::wcslen(names.lastSaveDir) < 3 && nameOffset < kFileNameChars) {
    std::wmemcpy(names.lastSaveDir, names.openPath, nameOffset);
    names.lastSaveDir[nameOffset] = L'\0';
  }
  const FileKind kind = FileKindFromName(names.openPath);
  names.lastFilterIndex = SaveFilterForKind(kind);

  if (ReadImageFile(hostWindow, names.openPath) != 0) {
    RestoreHostWindow();
    return -1;
  }
  const int opened = OpenViewer(hostWindow);
  RestoreHostWindow();
  LeaveNamesForSaving(kind, names.lastFileTitle, names.openPath, kFileNameChars, &names.lastFilterIndex);
  // Out of memory leaves no viewer; the request then fails like any other.
  return opened == kViewerOutOfMemory ? -1 : 0;
}

}  // namespace pictornx
