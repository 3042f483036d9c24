// The system's OLE picture loader, the general reader behind GIF, icons, cursors,
// metafiles and every file the own readers do not take. Only this file and its .cpp know
// the loader's interfaces.
#pragma once

#include <windows.h>

namespace pictornx {

class LoadedPicture {
 public:
  LoadedPicture() = default;
  ~LoadedPicture();
  LoadedPicture(const LoadedPicture&) = delete;
  LoadedPicture& operator=(const LoadedPicture&) = delete;

  // Loads a picture from a movable global block of `bytes` bytes; the block always
  // passes to this object (freed with it, or by the stream). False when the loader found
  // no picture.
  bool Load(HGLOBAL block, DWORD bytes);
  // The picture's size in HIMETRIC units.
  SIZE HimetricSize() const;
  // Draws the whole picture, top row first, into (0, 0)-(width, height) of `dc`.
  bool Render(HDC dc, int width, int height) const;

 private:
  void Release();
  HGLOBAL block_ = nullptr;  // owned until a stream takes it
  IUnknown* stream_ = nullptr;
  IUnknown* picture_ = nullptr;
};

}  // namespace pictornx
