// pictornx.dll as a host sees it: the module and its six exports, taken by ordinal.
// Shared by the demo host and the Windows end-to-end tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct HostLibrary {
  using GetToolVersionFn = int(WINAPI*)();
  using RunToolRequestFn = int(WINAPI*)(HWND, int, int);
  using SetHostNotifyWindowFn = int(WINAPI*)(HWND, int);
  using GetImageBitsFn = void*(WINAPI*)();
  using GetImageSizeFn = uint64_t(WINAPI*)();
  using ShowToolWindowsFn = int(WINAPI*)(int);

  HMODULE module = nullptr;
  GetToolVersionFn getToolVersion = nullptr;            // 321
  RunToolRequestFn runToolRequest = nullptr;            // 322
  SetHostNotifyWindowFn setHostNotifyWindow = nullptr;  // 323
  GetImageBitsFn getImageBits = nullptr;                // 324
  GetImageSizeFn getImageSize = nullptr;                // 325
  ShowToolWindowsFn showToolWindows = nullptr;          // 326

  HostLibrary() = default;
  HostLibrary(const HostLibrary&) = delete;
  HostLibrary& operator=(const HostLibrary&) = delete;
  ~HostLibrary() { Unload(); }

  // Loads the DLL and resolves all six ordinals; on failure says why in `error`.
  bool Load(const wchar_t* path, std::wstring* error) {
    module = LoadLibraryW(path);
    if (!module) {
      if (error) *error = std::wstring(L"cannot load ") + path + L" (error " + std::to_wstring(GetLastError()) + L")";
      return false;
    }
    bool ok = Resolve(321, getToolVersion) && Resolve(322, runToolRequest) && Resolve(323, setHostNotifyWindow) &&
              Resolve(324, getImageBits) && Resolve(325, getImageSize) && Resolve(326, showToolWindows);
    if (!ok) {
      if (error) *error = std::wstring(path) + L" lacks one of the ordinals 321 to 326";
      Unload();
    }
    return ok;
  }

  void Unload() {
    if (module) FreeLibrary(module);
    module = nullptr;
  }

 private:
  template <typename Fn>
  bool Resolve(int ordinal, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
    return fn != nullptr;
  }
};
