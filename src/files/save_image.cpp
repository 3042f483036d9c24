// The save dialog's loop, the overwrite question, and the message for every outcome.
#include "files/save_image.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "files/file_names.h"
#include "host/image_buffers.h"
#include "pixels/crop.h"
#include "resources/resource_ids.h"
#include "ui/popup.h"
#include "viewer/viewer.h"
#include "win/dib.h"
#include "win/module.h"

namespace pictornx {
namespace {

// The dialog's path and title buffers take at most this many characters with the zero.
constexpr int kDialogNameChars = 255;

constexpr wchar_t kAllTypesFilter[] =
    L"２４ビットＢＭＰ画像 (*.bmp)\0*.bmp\0ＪＰＧ 画像 (*.jpg)\0*.jpg\0ＰＮＧ 画像 (*.png)\0*.png\0";
constexpr wchar_t kJpegOnlyFilter[] = L"ＪＰＧ 画像 (*.jpg)\0*.jpg\0";
constexpr wchar_t kBytesWord[] = L" ﾊﾞｲﾄ ";

// Copies text into a fixed buffer of `capacity` characters, cut to fit, always terminated.
void CopyInto(wchar_t* buffer, size_t capacity, std::wstring_view text) {
  const size_t count = std::min(text.size(), capacity - 1);
  std::copy_n(text.data(), count, buffer);
  buffer[count] = L'\0';
}

std::wstring Bracketed(std::wstring_view text, const wchar_t* open, const wchar_t* close) {
  std::wstring result(open);
  result += text;
  result += close;
  return result;
}

struct DialogChoice {
  std::wstring path;
  std::wstring title;
  SaveType chosen = SaveType::kNone;
};

// One showing of the dialog; false when the user cancelled it.
bool AskForName(HWND owner, bool jpegOnly, DialogChoice* choice) {
  FileNames& names = Names();
  wchar_t path[kFileNameChars];
  std::wstring initial = names.lastSaveDir;
  initial += names.lastFileTitle;
  CopyInto(path, kDialogNameChars, initial);
  const std::wstring title = LoadResString(IDS_SAVE_DIALOG_TITLE);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = jpegOnly ? kJpegOnlyFilter : kAllTypesFilter;
  dialog.nFilterIndex = jpegOnly ? 1 : static_cast<DWORD>(names.lastFilterIndex);
  dialog.lpstrFile = path;
  dialog.nMaxFile = kDialogNameChars;
  dialog.lpstrInitialDir = names.lastSaveDir[0] ? names.lastSaveDir : nullptr;
  dialog.lpstrTitle = title.c_str();
  // The folder must exist; the file need not (the overwrite question is ours). The host's
  // current folder is its own: the dialog puts it back.
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) {
    // A remembered name the dialog will not take as its initial text: ask again without it.
    if (CommDlgExtendedError() != FNERR_INVALIDFILENAME || path[0] == L'\0') return false;
    path[0] = L'\0';
    if (!GetSaveFileNameW(&dialog)) return false;
  }
  choice->path = path;
  const size_t titleStart = std::min<size_t>(dialog.nFileOffset, choice->path.size());
  choice->title = choice->path.substr(titleStart);
  choice->chosen = jpegOnly ? SaveType::kJpeg : static_cast<SaveType>(dialog.nFilterIndex);
  CopyInto(names.lastSaveDir, kDialogNameChars, std::wstring_view(choice->path).substr(0, titleStart));
  CopyInto(names.lastFileTitle, kDialogNameChars, choice->title);
  return true;
}

void ShowRefusedCharacter(HWND owner, wchar_t refused) {
  SetPopupLines(IDS_INVALID_FILE_NAME, 0);
  CopyInto(PopupLine2(), kPopupLine2Chars, RefusedCharacterLine(refused, LoadResString(IDS_CHARACTER_NOT_ALLOWED)));
  ShowPopup(owner, 4);
}

// The dialog until the name passes its checks; the name then carries its extension.
bool ChooseFile(HWND owner, bool jpegOnly, DialogChoice* choice) {
  for (;;) {
    if (!AskForName(owner, jpegOnly, choice)) return false;
    Names().lastFilterIndex = static_cast<int>(choice->chosen);
    const ExtensionCheck check = CheckExtension(choice->title, choice->chosen);
    if (check.verdict == ExtensionVerdict::kMismatch) {
      ShowPopupStrings(owner, IDS_EXTENSION_MISMATCH_LINE1, IDS_EXTENSION_MISMATCH_LINE2, 5);
      continue;
    }
    if (const wchar_t refused = LastRefusedCharacter(check.base)) {
      ShowRefusedCharacter(owner, refused);
      continue;
    }
    if (check.verdict == ExtensionVerdict::kNoExtension) {
      choice->title = AppendExtension(choice->title, choice->chosen);
      choice->path = AppendExtension(choice->path, choice->chosen);
      CopyInto(Names().lastFileTitle, kDialogNameChars, choice->title);
    }
    return true;
  }
}

// An existing file that can be read: the user is asked before it is replaced.
bool ExistingReadableFile(const wchar_t* path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool OverwriteAllowed(HWND owner, const DialogChoice& choice) {
  const std::wstring text = LoadResString(IDS_CONFIRM_OVERWRITE) + Bracketed(choice.title, L"【 ", L" 】");
  const std::wstring caption = LoadResString(IDS_CAUTION_CAPTION);
  return MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void SavedMessage(HWND owner, int64_t bytes, const std::wstring& title) {
  std::wstring line1 = SavedSizeText(bytes) + kBytesWord + LoadResString(IDS_SAVED);
  CopyInto(PopupLine1(), kPopupLine1Chars, line1);
  CopyInto(PopupLine2(), kPopupLine2Chars, Bracketed(title, L"【", L"】"));
  HWND viewer = ViewerWindow();
  ShowPopup(viewer ? viewer : owner, 4);
}

bool InsideWorkImage(const ImageRect& range) {
  const SharedImage& work = Images().workImage;
  return work && range.width > 0 && range.height > 0 && range.left >= 0 && range.top >= 0 &&
         range.width <= work.Width() - range.left && range.height <= work.Height() - range.top;
}

int ReportOutcome(HWND owner, SaveType type, const FileWriteOutcome& outcome, const std::wstring& title) {
  if (outcome.status == FileWriteStatus::kWritten) {
    SavedMessage(owner, outcome.bytes, title);
    return kSaveDone;
  }
  if (type != SaveType::kBmp) {
    ShowPopupStrings(owner, IDS_SAVE_FAILED, IDS_MAYBE_DISK_PROBLEM, 3);
    return kSaveDone;
  }
  switch (outcome.status) {
    case FileWriteStatus::kCannotCreate:
      ShowPopupStrings(owner, IDS_CANNOT_WRITE_FILE, IDS_MAYBE_WRITE_PROTECTED, 3);
      return kSaveBmpNotCreated;
    case FileWriteStatus::kNothingWritten:
      ShowPopupStrings(owner, IDS_CANNOT_WRITE_FILE, IDS_MAYBE_WRITE_PROTECTED, 4);
      return kSaveNotDone;
    default:
      ShowPopupStrings(owner, IDS_WRITE_INCOMPLETE, IDS_MAYBE_DISK_FAULT, 4);
      return kSaveBmpWrittenShort;
  }
}

}  // namespace

ImageRect WholeWorkImage() {
  const SharedImage& work = Images().workImage;
  return {0, 0, work.Width(), work.Height()};
}

JpegOptions& JpegSettings() {
  static JpegOptions settings;
  return settings;
}

int SaveImage(HWND owner, const ImageRect& requested, bool jpegOnly) {
  const ImageRect range = jpegOnly ? WholeWorkImage() : requested;
  if (!InsideWorkImage(range)) return kSaveNotDone;
  DialogChoice choice;
  if (!ChooseFile(owner, jpegOnly, &choice)) return kSaveDialogCancelled;
  const SaveType type = WriterForPath(&choice.path);

  if (ExistingReadableFile(choice.path.c_str()) && !OverwriteAllowed(owner, choice)) {
    ShowPopupStrings(owner, IDS_CANCELLED_MARK, IDS_SAVE_CANCELLED, 3);
    return kSaveNotDone;
  }

  FileWriteOutcome outcome;
  {
    DibSection pixels = CreateDib24(range.width, range.height);
    if (!pixels) {
      ShowMemoryError(owner);
      return kSaveNoPixelBuffer;
    }
    CopyRectangle(Images().workImage.View(), range.left, range.top, range.width, range.height, pixels.view);
    outcome = WriteImageFile(choice.path.c_str(), pixels.view, type, JpegSettings());
  }
  return ReportOutcome(owner, type, outcome, choice.title);
}

}  // namespace pictornx
