// The names the save and open dialogs share while the library is loaded; nothing of them
// is stored on disk. Buffers hold at most 255 characters and a terminating zero.
#pragma once

namespace pictornx {

inline constexpr int kFileNameChars = 260;

struct FileNames {
  wchar_t lastSaveDir[kFileNameChars] = L"";    // folder of the last chosen file, trailing separator kept
  wchar_t lastFileTitle[kFileNameChars] = L"";  // name (no folder) of the last chosen or opened file
  int lastFilterIndex = 1;                      // the save dialog's type; 99 and 100 are its loop's codes
  wchar_t openPath[kFileNameChars] = L"";       // the open dialog's remembered path
  int openFilterIndex = 1;                      // the open dialog's chosen type
  // Scratch copies of a name and path that every capture request empties.
  wchar_t scratchTitle[kFileNameChars] = L"";
  wchar_t scratchPath[kFileNameChars] = L"";
};

FileNames& Names();

}  // namespace pictornx
