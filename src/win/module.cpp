#include "win/module.h"

namespace pictornx {
namespace {
HINSTANCE g_instance = nullptr;
}  // namespace

HINSTANCE ModuleInstance() {
  if (!g_instance) {
    // Not started through DllMain (a test program links the shell statically): the
    // module is the one holding this code.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleInstance), &self);
    g_instance = self;
  }
  return g_instance;
}

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

int LoadResString(UINT id, wchar_t* buffer, int capacity) {
  if (!buffer || capacity <= 0) return 0;
  buffer[0] = L'\0';
  return LoadStringW(ModuleInstance(), id, buffer, capacity);
}

TextWriter& AddResString(TextWriter& out, UINT id) {
  // With a capacity of 0, LoadStringW returns a read-only pointer to the resource text.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(ModuleInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length > 0 && text) out.Add(std::wstring_view(text, static_cast<size_t>(length)));
  return out;
}

}  // namespace pictornx
