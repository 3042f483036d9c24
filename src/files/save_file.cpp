// Writing an image file so that a failure never costs the file that was there: the
// writer's bytes go to a temporary file beside the target, which replaces the target only
// once it is complete and closed.
#include <windows.h>

#include <cwchar>
#include <iterator>
#include <string_view>

#include "codecs/bmp.h"
#include "codecs/png_codec.h"
#include "files/save_image.h"

namespace pictornx {
namespace {

// Appends the folder part of a path, trailing separator kept; "." for a bare name.
void FolderOf(std::wstring_view path, TextWriter& out) {
  const size_t separator = path.find_last_of(L"\\/");
  out.Add(separator == std::wstring_view::npos ? std::wstring_view(L".") : path.substr(0, separator + 1));
}

// False when a file at the path exists and cannot be replaced: a folder, a read-only file,
// or one another program holds open without sharing writes. Checked before encoding, so
// the user hears at once and the target is never touched.
bool TargetReplaceable(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;  // nothing there (or unreachable: the move says)
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
  HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool FileSize(const wchar_t* path, int64_t* bytes) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return false;
  *bytes = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

FileWriteStatus WriteWith(SaveType type, const wchar_t* path, ConstImageView image, const JpegOptions& jpeg) {
  if (type == SaveType::kJpeg || type == SaveType::kPng) {
    const CodecResult result = type == SaveType::kJpeg ? WriteJpeg(path, image, jpeg) : WritePng(path, image);
    if (result.Ok()) return FileWriteStatus::kWritten;
    return result.status == CodecStatus::kCannotOpen ? FileWriteStatus::kCannotCreate : FileWriteStatus::kWriterFailed;
  }
  int64_t written = 0;
  const CodecResult result = WriteBmp(path, image, &written);
  const int64_t expected = kBmpHeaderBytes + ImageBytes(image.width, image.height);
  if (result.status == CodecStatus::kCannotOpen) return FileWriteStatus::kCannotCreate;
  if (written == 0) return FileWriteStatus::kNothingWritten;
  if (!result.Ok() || written != expected) return FileWriteStatus::kWrittenShort;
  return FileWriteStatus::kWritten;
}

}  // namespace

FileWriteOutcome WriteImageFile(const wchar_t* path, ConstImageView image, SaveType type, const JpegOptions& jpeg) {
  FileWriteOutcome outcome;
  if (!TargetReplaceable(path)) return outcome;
  // A folder cut short would put the temporary file somewhere else: refused instead.
  FixedText<MAX_PATH> folder;
  FolderOf(path, folder);
  wchar_t temporary[MAX_PATH];
  if (folder.Truncated() || !GetTempFileNameW(folder.Text(), L"pnx", 0, temporary)) return outcome;
  outcome.status = WriteWith(type, temporary, image, jpeg);
  if (outcome.status == FileWriteStatus::kWritten &&
      (!FileSize(temporary, &outcome.bytes) ||
       !MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))) {
    outcome.status = FileWriteStatus::kCannotCreate;
  }
  if (outcome.status != FileWriteStatus::kWritten) {
    DeleteFileW(temporary);
    outcome.bytes = 0;
  }
  return outcome;
}

bool CreateTemporaryGif() {
  static constexpr wchar_t kName[] = L"tmppictr.gif";
  wchar_t path[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, path);
  if (length == 0 || length + std::size(kName) > MAX_PATH) return false;
  wcscat(path, kName);
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace pictornx
