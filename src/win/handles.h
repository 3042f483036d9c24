// Owning handles for GDI objects and device contexts, and a guard for SelectObject.
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

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith = nullptr) : dc_(CreateCompatibleDC(compatibleWith)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// A DC from GetDC (a window's, or the screen's with a null window), given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// A DC from CreateDC (such as the "DISPLAY" device), deleted with DeleteDC.
class CreatedDc {
 public:
  explicit CreatedDc(HDC dc) : dc_(dc) {}
  CreatedDc(const CreatedDc&) = delete;
  CreatedDc& operator=(const CreatedDc&) = delete;
  ~CreatedDc() {
    if (dc_) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back on destruction, so an
// object this code owns is always deselected before it is deleted. Declare the guard
// after the owned object so it is destroyed first.
class SelectionGuard {
 public:
  SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;
  ~SelectionGuard() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Selects a palette (SelectPalette is not SelectObject) and restores the previous one.
class PaletteGuard {
 public:
  PaletteGuard(HDC dc, HPALETTE palette, BOOL background = FALSE)
      : dc_(dc), previous_(palette ? SelectPalette(dc, palette, background) : nullptr) {}
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
