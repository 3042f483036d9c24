#include "pe_image.h"

#include <algorithm>
#include <cctype>

namespace wintest {
namespace {

const IMAGE_NT_HEADERS* NtHeaders(HMODULE module) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return nt->Signature == IMAGE_NT_SIGNATURE ? nt : nullptr;
}

const IMAGE_DATA_DIRECTORY* Directory(HMODULE module, int index) {
  const IMAGE_NT_HEADERS* nt = NtHeaders(module);
  if (!nt || nt->OptionalHeader.NumberOfRvaAndSizes <= static_cast<DWORD>(index)) return nullptr;
  const IMAGE_DATA_DIRECTORY* dir = &nt->OptionalHeader.DataDirectory[index];
  return dir->VirtualAddress && dir->Size ? dir : nullptr;
}

std::string Upper(const char* text) {
  std::string s(text);
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

}  // namespace

ExportDirectory ReadExports(HMODULE module) {
  ExportDirectory result;
  const IMAGE_DATA_DIRECTORY* dir = Directory(module, IMAGE_DIRECTORY_ENTRY_EXPORT);
  if (!dir) return result;
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir->VirtualAddress);
  result.present = true;
  result.ordinalBase = exports->Base;
  result.functionCount = exports->NumberOfFunctions;
  result.nameCount = exports->NumberOfNames;
  const auto* functions = reinterpret_cast<const DWORD*>(base + exports->AddressOfFunctions);
  for (DWORD i = 0; i < exports->NumberOfFunctions; ++i)
    if (functions[i]) result.ordinals.push_back(exports->Base + i);
  return result;
}

std::vector<std::string> ReadImportedDlls(HMODULE module) {
  std::vector<std::string> names;
  const auto* base = reinterpret_cast<const BYTE*>(module);
  if (const IMAGE_DATA_DIRECTORY* dir = Directory(module, IMAGE_DIRECTORY_ENTRY_IMPORT)) {
    for (const auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir->VirtualAddress); d->Name; ++d)
      names.push_back(Upper(reinterpret_cast<const char*>(base + d->Name)));
  }
  if (const IMAGE_DATA_DIRECTORY* dir = Directory(module, IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT)) {
    for (const auto* d = reinterpret_cast<const IMAGE_DELAYLOAD_DESCRIPTOR*>(base + dir->VirtualAddress); d->DllNameRVA; ++d)
      names.push_back(Upper(reinterpret_cast<const char*>(base + d->DllNameRVA)));
  }
  return names;
}

}  // namespace wintest
