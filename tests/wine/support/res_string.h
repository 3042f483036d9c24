// The tests compare what the shell shows with whole strings of the library's string table.
#pragma once

#include <windows.h>

#include <string>

#include "win/module.h"

namespace pictornx {

// String `id` of the module's string table, empty when it is missing.
inline std::wstring LoadResString(UINT id) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(ModuleInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

}  // namespace pictornx
