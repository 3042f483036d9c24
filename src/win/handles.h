// Owning handles for GDI objects and device contexts, and guards for SelectObject,
// SelectPalette and SaveDC.
// Each is non-copyable and movable; the handle is released in exactly one place.
#pragma once

#include <windows.h>

#include <utility>

namespace pictornx {

// An HBITMAP, HPEN, HBRUSH, HFONT, HRGN or HPALETTE that this code created.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~GdiObject() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Gives the handle away (to SetWindowRgn, the clipboard, ...), which then owns it.
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using OwnedBitmap = GdiObject<HBITMAP>;
using OwnedPen = GdiObject<HPEN>;
using OwnedBrush = GdiObject<HBRUSH>;
using OwnedFont = GdiObject<HFONT>;
using OwnedRegion = GdiObject<HRGN>;
using OwnedPalette = GdiObject<HPALETTE>;

// A DC this code made and deletes with DeleteDC: a memory DC (OwnedDc::Compatible) or one
// from CreateDC (adopted by the constructor). Movable, so it can live in a window's state.
class OwnedDc {
 public:
  OwnedDc() = default;
  explicit OwnedDc(HDC adopted) : dc_(adopted) {}
  // A memory DC compatible with `dc` (the screen's when null).
  static OwnedDc Compatible(HDC dc) { return OwnedDc(CreateCompatibleDC(dc)); }
  OwnedDc(const OwnedDc&) = delete;
  OwnedDc& operator=(const OwnedDc&) = delete;
  OwnedDc(OwnedDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  OwnedDc& operator=(OwnedDc&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.dc_, nullptr));
    return *this;
  }
  ~OwnedDc() { Reset(); }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void Reset(HDC adopted = nullptr) {
    if (dc_) DeleteDC(dc_);
    dc_ = adopted;
  }

 private:
  HDC dc_ = nullptr;
};

// A DC from GetDC (a window's, or the screen's with a null window), given back with ReleaseDC.
class WindowDc {
 public:
  WindowDc() = default;
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  // GetDCEx with `flags` (DCX_*), no clipping region of the caller's.
  WindowDc(HWND window, DWORD flags) : window_(window), dc_(GetDCEx(window, nullptr, flags)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  WindowDc(WindowDc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&& other) noexcept {
    if (this != &other) {
      Release();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  ~WindowDc() { Release(); }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  void Release() {
    if (dc_) ReleaseDC(window_, dc_);
    dc_ = nullptr;
  }
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// Selects an object into a DC and puts the previous one back on destruction, so an
// object this code owns is always deselected before it is deleted. Declare the guard
// after the owned object so it is destroyed first. Not for regions: SelectObject copies
// a region into the clip and returns no previous object; use SavedDcState around the clip.
class SelectionGuard {
 public:
  SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  SelectionGuard(HDC, HRGN) = delete;
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;
  ~SelectionGuard() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// SaveDC on construction, RestoreDC on destruction: brings back the clip region, modes and
// selections changed inside the scope (SelectClipRgn copies the region, which the caller
// may delete at once).
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;
  ~SavedDcState() {
    if (saved_ > 0) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

// Selects a palette (SelectPalette is not SelectObject) and realises it, and selects the
// previous one back (as a background palette) on destruction. A null palette does nothing.
class PaletteGuard {
 public:
  PaletteGuard(HDC dc, HPALETTE palette)
      : dc_(dc), previous_(palette ? SelectPalette(dc, palette, FALSE) : nullptr) {
    if (previous_) RealizePalette(dc);
  }
  PaletteGuard(const PaletteGuard&) = delete;
  PaletteGuard& operator=(const PaletteGuard&) = delete;
  ~PaletteGuard() {
    if (previous_) SelectPalette(dc_, previous_, TRUE);
  }

 private:
  HDC dc_;
  HPALETTE previous_;
};

}  // namespace pictornx
