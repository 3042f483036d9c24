// Answers the open-file dialogs and message boxes of this process from a timer on the
// test's own thread: their modal loops dispatch it, so a test can call a request that
// shows them and keep every check on one thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace wintest {

class ModalAnswerer {
 public:
  ModalAnswerer();
  ~ModalAnswerer();
  ModalAnswerer(const ModalAnswerer&) = delete;
  ModalAnswerer& operator=(const ModalAnswerer&) = delete;

  // The path the next open dialog is answered with; empty cancels it.
  void Answer(std::wstring path) { path_ = std::move(path); }

  // The file type a save dialog is answered with (1 = its first); 0 leaves it as it opens.
  int fileType = 0;

  int dialogsAnswered = 0;
  int messageBoxesDismissed = 0;
  std::wstring lastBoxText;
  std::wstring lastDialogTitle;
  HWND lastDialogOwner = nullptr;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Check();
  static bool Due(HWND dialog);
  std::wstring path_;
  UINT_PTR timer_ = 0;
};

// The folder of the test program, with a trailing backslash.
std::wstring ProgramFolder();

// A fresh folder under the temporary folder, removed with its files at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& Path() const { return path_; }  // with a trailing backslash
  // Writes bytes to a file in the folder and returns its full path.
  std::wstring Write(const std::wstring& name, const void* bytes, size_t count) const;

 private:
  std::wstring path_;
};

// A 100 x 50 picture, red left half and blue right half, as an enhanced metafile and as a
// placeable Windows metafile (100 x 50 units of 1/96 inch).
std::vector<uint8_t> EmfBytes();
std::vector<uint8_t> PlaceableWmfBytes();

// An enhanced metafile of a 64 x 64 8-bit bitmap whose colour table holds 16 entries,
// bounded by the record's header size only (biClrUsed 0), as some producers write them;
// with `jpeg`, a JPEG bitmap record (biBitCount 0, BI_JPEG) follows it.
std::vector<uint8_t> ShortTableEmfBytes(const std::vector<uint8_t>& jpeg);

// A file as the platform's picture loader shows it on its own: loaded from memory, its
// HIMETRIC size in pixels of the screen (rounded), rendered upright over 0xF7 into a 24-bit
// bottom-up picture of that size. Zero sides when the loader refuses the file.
struct LoaderPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // rows of 4-byte multiples, bottom row first
};
LoaderPicture LoadWithPictureLoader(const std::vector<uint8_t>& file);

// The names of the files in `folder` (with a trailing backslash) that match `pattern`.
std::vector<std::wstring> FilesIn(const std::wstring& folder, const wchar_t* pattern);

}  // namespace wintest
