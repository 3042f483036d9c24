#include "open_test_support.h"

#include <ole2.h>
#include <olectl.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "win_test_support.h"

namespace wintest {

namespace {

constexpr int kFileNameControl = 0x47c;
constexpr int kFileTypeControl = 0x470;
ModalAnswerer* g_answerer = nullptr;

// The innermost of the file-name controls (Wine nests an Edit in a ComboBox in a
// ComboBoxEx, all with the same id).
HWND FileNameField(HWND dialog) {
  HWND found = nullptr;
  for (HWND child : ChildWindows(dialog)) {
    if (GetDlgCtrlID(child) != kFileNameControl) continue;
    found = child;
    if (WindowClass(child) == L"Edit") return child;
  }
  return found;
}

void Click(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

ModalAnswerer::ModalAnswerer() {
  g_answerer = this;
  timer_ = SetTimer(nullptr, 0, 15, &ModalAnswerer::Tick);
}

ModalAnswerer::~ModalAnswerer() {
  KillTimer(nullptr, timer_);
  g_answerer = nullptr;
}

void CALLBACK ModalAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_answerer) g_answerer->Check();
}

// A dialog caught while it is still filling itself in can lose the answer: one still showing
// a second after its answer is answered again (counted once), so no test hangs in its loop.
bool ModalAnswerer::Due(HWND dialog) {
  const auto answeredAt = reinterpret_cast<ULONG_PTR>(GetPropW(dialog, L"answered"));
  const ULONG_PTR now = static_cast<ULONG_PTR>(GetTickCount()) | 1;  // never 0: 0 is "not yet"
  if (answeredAt && now - answeredAt < 1000) return false;
  SetPropW(dialog, L"answered", reinterpret_cast<HANDLE>(now));
  return true;
}

void ModalAnswerer::Check() {
  const auto dialogs = ProcessWindows(
      [](HWND window) { return IsWindowVisible(window) && WindowClass(window) == L"#32770"; });
  for (HWND dialog : dialogs) {
    const bool first = GetPropW(dialog, L"answered") == nullptr;
    if (HWND field = FileNameField(dialog)) {
      if (!IsWindowEnabled(dialog) || !Due(dialog)) continue;  // disabled: its own box is up
      if (first) {
        ++dialogsAnswered;
        lastDialogTitle = WindowText(dialog);
        lastDialogOwner = GetWindow(dialog, GW_OWNER);
      }
      if (path_.empty()) {
        Click(dialog, IDCANCEL);
      } else {
        HWND types = GetDlgItem(dialog, kFileTypeControl);
        if (fileType > 0 && types) {
          SendMessageW(types, CB_SETCURSEL, fileType - 1, 0);
          // Wine's dialog takes the type on CBN_SELENDOK, Windows' on CBN_SELCHANGE.
          for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeControl, code), reinterpret_cast<LPARAM>(types));
        }
        SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path_.c_str()));
        Click(dialog, IDOK);
      }
    } else if (GetDlgItem(dialog, IDOK) || GetDlgItem(dialog, IDCANCEL)) {
      if (!Due(dialog)) continue;
      if (first) {
        ++messageBoxesDismissed;
        lastBoxText = WindowText(GetDlgItem(dialog, 0xFFFF));
      }
      Click(dialog, GetDlgItem(dialog, IDOK) ? IDOK : IDCANCEL);
    }
  }
}

// A 100 x 50 picture: red left half, blue right half, as an enhanced metafile.
namespace {
HENHMETAFILE DrawMetafile() {
  // The frame is in 0.01 mm: 100 x 50 pixels at 96 dpi.
  const RECT frame{0, 0, 2646, 1323};
  HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  const RECT left{0, 0, 50, 50};
  const RECT right{50, 0, 100, 50};
  FillRect(dc, &left, red);
  FillRect(dc, &right, blue);
  DeleteObject(red);
  DeleteObject(blue);
  return CloseEnhMetaFile(dc);
}

}  // namespace

std::vector<uint8_t> EmfBytes() {
  HENHMETAFILE metafile = DrawMetafile();
  std::vector<uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
  GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
  DeleteEnhMetaFile(metafile);
  return bytes;
}

// The same picture as a placeable Windows metafile: a 22-byte header (key, bounding box
// in units of 1/96 inch, checksum) over the metafile records.
std::vector<uint8_t> PlaceableWmfBytes() {
  HENHMETAFILE metafile = DrawMetafile();
  HDC screen = GetDC(nullptr);
  const UINT size = GetWinMetaFileBits(metafile, 0, nullptr, MM_ANISOTROPIC, screen);
  std::vector<uint8_t> records(size);
  GetWinMetaFileBits(metafile, size, records.data(), MM_ANISOTROPIC, screen);
  ReleaseDC(nullptr, screen);
  DeleteEnhMetaFile(metafile);
  const WORD header[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 100, 50, 96, 0, 0};
  WORD checksum = 0;
  for (WORD word : header) checksum ^= word;
  std::vector<uint8_t> bytes(reinterpret_cast<const uint8_t*>(header), reinterpret_cast<const uint8_t*>(header) + 20);
  bytes.push_back(static_cast<uint8_t>(checksum));
  bytes.push_back(static_cast<uint8_t>(checksum >> 8));
  bytes.insert(bytes.end(), records.begin(), records.end());
  return bytes;
}

std::vector<uint8_t> ShortTableEmfBytes(const std::vector<uint8_t>& jpeg) {
  constexpr int kSide = 64;
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[16];
  } info{};
  info.header = {sizeof(BITMAPINFOHEADER), kSide, kSide, 1, 8, BI_RGB, 0, 0, 0, 16, 0};
  for (int i = 0; i < 16; ++i) info.colours[i] = {static_cast<BYTE>(i * 16), static_cast<BYTE>(255 - i * 16), 128, 0};
  std::vector<uint8_t> bits(kSide * kSide);
  for (size_t i = 0; i < bits.size(); ++i) bits[i] = static_cast<uint8_t>((i / 4 + i / (4 * kSide)) % 16);
  const RECT frame{0, 0, 2 * 2646, 2 * 1323};  // 200 x 100 pixels at 96 dpi
  HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
  StretchDIBits(dc, 0, 0, 100, 100, 0, 0, kSide, kSide, bits.data(), reinterpret_cast<BITMAPINFO*>(&info),
                DIB_RGB_COLORS, SRCCOPY);
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  std::vector<uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
  GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
  DeleteEnhMetaFile(metafile);
  // The recorder keeps biClrUsed; producers that bound the table by cbBmiSrc leave it 0.
  // The recorder does not take a JPEG bitmap: its record is the 8-bit one's fixed part with
  // a JPEG header and the JPEG's bytes, put in before the end record.
  std::vector<uint8_t> record;
  size_t end = 0;
  DWORD size = 0;
  for (size_t at = 0; at + 8 <= bytes.size(); at += size) {
    DWORD type;
    std::memcpy(&type, &bytes[at], 4);
    std::memcpy(&size, &bytes[at + 4], 4);
    if (size < 8) return {};
    if (type == EMR_EOF) end = at;
    if (type != EMR_STRETCHDIBITS || size < 80) continue;
    EMRSTRETCHDIBITS fields;
    std::memcpy(&fields, &bytes[at], sizeof(fields));
    std::memset(&bytes[at + fields.offBmiSrc + 32], 0, 4);
    fields.xDest = 100;
    fields.cxSrc = 127;
    fields.cySrc = 64;
    fields.offBmiSrc = sizeof(fields);
    fields.cbBmiSrc = sizeof(BITMAPINFOHEADER);
    fields.offBitsSrc = sizeof(fields) + sizeof(BITMAPINFOHEADER);
    fields.cbBitsSrc = static_cast<DWORD>(jpeg.size());
    fields.emr.nSize = static_cast<DWORD>((fields.offBitsSrc + jpeg.size() + 3) / 4 * 4);
    const BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 127, 64, 1, 0, BI_JPEG, fields.cbBitsSrc, 0, 0, 0, 0};
    record.assign(reinterpret_cast<const uint8_t*>(&fields), reinterpret_cast<const uint8_t*>(&fields + 1));
    record.insert(record.end(), reinterpret_cast<const uint8_t*>(&header), reinterpret_cast<const uint8_t*>(&header + 1));
    record.insert(record.end(), jpeg.begin(), jpeg.end());
    record.resize(fields.emr.nSize);
  }
  if (jpeg.empty() || record.empty() || end == 0) return bytes;
  bytes.insert(bytes.begin() + static_cast<ptrdiff_t>(end), record.begin(), record.end());
  auto* header = reinterpret_cast<ENHMETAHEADER*>(bytes.data());
  header->nBytes = static_cast<DWORD>(bytes.size());
  header->nRecords += 1;
  return bytes;
}

LoaderPicture LoadWithPictureLoader(const std::vector<uint8_t>& file) {
  LoaderPicture result;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, file.size());
  if (!block) return result;
  std::memcpy(GlobalLock(block), file.data(), file.size());
  GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return result;
  }
  IPicture* picture = nullptr;
  const HRESULT loaded =
      OleLoadPicture(stream, static_cast<LONG>(file.size()), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(loaded) || !picture) return result;
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  picture->get_Width(&himetricWidth);
  picture->get_Height(&himetricHeight);
  HDC screen = GetDC(nullptr);
  result.width = static_cast<int>(std::lround(himetricWidth * GetDeviceCaps(screen, LOGPIXELSX) / 2540.0));
  result.height = static_cast<int>(std::lround(himetricHeight * GetDeviceCaps(screen, LOGPIXELSY) / 2540.0));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), result.width, result.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (bitmap && memory) {
    const size_t bytes = static_cast<size_t>((result.width * 3 + 3) / 4 * 4) * result.height;
    std::memset(bits, 0xF7, bytes);
    HGDIOBJ old = SelectObject(memory, bitmap);
    picture->Render(memory, 0, 0, result.width, result.height, 0, himetricHeight, himetricWidth, -himetricHeight,
                    nullptr);
    GdiFlush();
    SelectObject(memory, old);
    result.pixels.assign(static_cast<uint8_t*>(bits), static_cast<uint8_t*>(bits) + bytes);
  }
  if (memory) DeleteDC(memory);
  if (bitmap) DeleteObject(bitmap);
  picture->Release();
  return result;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder, const wchar_t* pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int serial = 0;
  path_ = std::wstring(base) + L"pictornx-open-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++serial) + L"\\";
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((path_ + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path_.c_str());
}

std::wstring TempFolder::Write(const std::wstring& name, const void* bytes, size_t count) const {
  const std::wstring path = path_ + name;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (file != INVALID_HANDLE_VALUE) {
    WriteFile(file, bytes, static_cast<DWORD>(count), &written, nullptr);
    CloseHandle(file);
  }
  return path;
}

}  // namespace wintest
