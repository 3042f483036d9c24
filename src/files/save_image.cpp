// The save dialog's loop, the overwrite question, and the message for every outcome.
#include "files/save_image.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <string_view>

#include "files/file_names.h"
#include "imagestore/image_buffers.h"
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
  TextWriter(buffer, capacity).Add(text);
}

// The dialog's names with room for an appended extension, so a name is never cut short.
constexpr size_t kChoiceChars = kDialogNameChars + 8;

struct DialogChoice {
  FixedText<kChoiceChars> path;
  FixedText<kChoiceChars> title;
  SaveType chosen = SaveType::kNone;
};

// One showing of the dialog; false when the user cancelled it.
bool AskForName(HWND owner, bool jpegOnly, DialogChoice* choice) {
  FileNames& names = Names();
  wchar_t path[kFileNameChars];
  TextWriter(path, kDialogNameChars).Add(names.lastSaveDir).Add(names.lastFileTitle);
  FixedText<kTitleChars> title;
  AddResString(title, IDS_SAVE_DIALOG_TITLE);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = jpegOnly ? kJpegOnlyFilter : kAllTypesFilter;
  dialog.nFilterIndex = jpegOnly ? 1 : static_cast<DWORD>(names.lastFilterIndex);
  dialog.lpstrFile = path;
  dialog.nMaxFile = kDialogNameChars;
  dialog.lpstrInitialDir = names.lastSaveDir[0] ? names.lastSaveDir : nullptr;
  dialog.lpstrTitle = title.Text();
  // The folder must exist; the file need not (the overwrite question is ours). The host's
  // current folder is its own: the dialog puts it back.
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) {
    // A remembered name the dialog will not take as its initial text: ask again without it.
    if (CommDlgExtendedError() != FNERR_INVALIDFILENAME || path[0] == L'\0') return false;
    path[0] = L'\0';
    if (!GetSaveFileNameW(&dialog)) return false;
  }
  choice->path.Clear();
  choice->path.Add(path);
  const size_t titleStart = std::min<size_t>(dialog.nFileOffset, choice->path.Length());
  choice->title.Clear();
  choice->title.Add(choice->path.View().substr(titleStart));
  choice->chosen = jpegOnly ? SaveType::kJpeg : static_cast<SaveType>(dialog.nFilterIndex);
  CopyInto(names.lastSaveDir, kDialogNameChars, choice->path.View().substr(0, titleStart));
  CopyInto(names.lastFileTitle, kDialogNameChars, choice->title.View());
  return true;
}

void ShowRefusedCharacter(HWND owner, wchar_t refused) {
  SetPopupLines(IDS_INVALID_FILE_NAME, 0);
  FixedText<kTitleChars> suffix;
  AddResString(suffix, IDS_CHARACTER_NOT_ALLOWED);
  TextWriter line2(PopupLine2(), kPopupLine2Chars);
  RefusedCharacterLine(refused, suffix.View(), line2);
  ShowPopup(owner, 4);
}

// The dialog until the name passes its checks; the name then carries its extension.
bool ChooseFile(HWND owner, bool jpegOnly, DialogChoice* choice) {
  for (;;) {
    if (!AskForName(owner, jpegOnly, choice)) return false;
    Names().lastFilterIndex = static_cast<int>(choice->chosen);
    const ExtensionCheck check = CheckExtension(choice->title.View(), choice->chosen);
    if (check.verdict == ExtensionVerdict::kMismatch) {
      ShowPopupStrings(owner, IDS_EXTENSION_MISMATCH_LINE1, IDS_EXTENSION_MISMATCH_LINE2, 5);
      continue;
    }
    if (const wchar_t refused = LastRefusedCharacter(check.base)) {
      ShowRefusedCharacter(owner, refused);
      continue;
    }
    if (check.verdict == ExtensionVerdict::kNoExtension) {
      AppendExtension(choice->title, choice->chosen);
      AppendExtension(choice->path, choice->chosen);
      CopyInto(Names().lastFileTitle, kDialogNameChars, choice->title.View());
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
  FixedText<kTitleChars + kChoiceChars> text;
  AddResString(text, IDS_CONFIRM_OVERWRITE).Add(L"【 ").Add(choice.title.View()).Add(L" 】");
  FixedText<kTitleChars> caption;
  AddResString(caption, IDS_CAUTION_CAPTION);
  return MessageBoxW(owner, text.Text(), caption.Text(), MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void SavedMessage(HWND owner, int64_t bytes, std::wstring_view title) {
  TextWriter line1(PopupLine1(), kPopupLine1Chars);
  SavedSizeText(bytes, line1);
  AddResString(line1.Add(kBytesWord), IDS_SAVED);
  TextWriter(PopupLine2(), kPopupLine2Chars).Add(L"【").Add(title).Add(L"】");
  HWND viewer = ViewerWindow();
  ShowPopup(viewer ? viewer : owner, 4);
}

bool InsideWorkImage(const ImageRect& range) {
  const SharedImage& work = Images().workImage;
  return work && range.width > 0 && range.height > 0 && range.left >= 0 && range.top >= 0 &&
         range.width <= work.Width() - range.left && range.height <= work.Height() - range.top;
}

int ReportOutcome(HWND owner, SaveType type, const FileWriteOutcome& outcome, std::wstring_view title) {
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
  const SaveType type = WriterForPath(choice.path);
  if (type == SaveType::kNone) {  // the name with its ending would not fit
    ShowPopupStrings(owner, IDS_CANNOT_WRITE_FILE, IDS_MAYBE_WRITE_PROTECTED, 3);
    return kSaveNotDone;
  }

  if (ExistingReadableFile(choice.path.Text()) && !OverwriteAllowed(owner, choice)) {
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
    outcome = WriteImageFile(choice.path.Text(), pixels.view, type, JpegSettings());
  }
  return ReportOutcome(owner, type, outcome, choice.title.View());
}

}  // namespace pictornx
