// Reads the export and import directories of a module loaded in this process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wintest {

struct ExportDirectory {
  bool present = false;
  DWORD ordinalBase = 0;
  DWORD functionCount = 0;
  DWORD nameCount = 0;
  std::vector<DWORD> ordinals;  // ordinals whose function address is non-zero
};

ExportDirectory ReadExports(HMODULE module);
// Names of the DLLs the module imports from (normal and delay-load imports), upper case.
std::vector<std::string> ReadImportedDlls(HMODULE module);

}  // namespace wintest
