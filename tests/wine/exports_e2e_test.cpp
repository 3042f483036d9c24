// The DLL as a host meets it: how it loads, what it exports, what it imports.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "pe_image.h"
#include "win_test_support.h"

namespace {

using wintest::LoadedLibrary;

TEST(Exports, OrdinalsThreeTwentyOneToThreeTwentySixAndNoNames) {
  LoadedLibrary lib;
  ASSERT_NE(lib.module, nullptr);
  const wintest::ExportDirectory exports = wintest::ReadExports(lib.module);
  ASSERT_TRUE(exports.present);
  EXPECT_EQ(exports.nameCount, 0u);
  EXPECT_EQ(exports.ordinalBase, 321u);
  EXPECT_EQ(exports.ordinals, (std::vector<DWORD>{321, 322, 323, 324, 325, 326}));
  EXPECT_EQ(GetProcAddress(lib.module, "GetToolVersion"), nullptr);
  EXPECT_EQ(GetProcAddress(lib.module, MAKEINTRESOURCEA(320)), nullptr);
  EXPECT_EQ(GetProcAddress(lib.module, MAKEINTRESOURCEA(327)), nullptr);
}

TEST(Exports, ImportsSystemDllsOnly) {
  LoadedLibrary lib;
  ASSERT_NE(lib.module, nullptr);
  const std::set<std::string> system = {"KERNEL32.DLL", "USER32.DLL",   "GDI32.DLL",   "COMDLG32.DLL", "OLE32.DLL",
                                        "OLEAUT32.DLL", "COMCTL32.DLL", "MSVCRT.DLL",  "ADVAPI32.DLL", "SHELL32.DLL"};
  const auto imports = wintest::ReadImportedDlls(lib.module);
  EXPECT_FALSE(imports.empty());
  for (const std::string& name : imports) EXPECT_TRUE(system.count(name)) << name << " is not a system DLL";
}

TEST(Exports, VersionIs183AndFileVersion0183) {
  LoadedLibrary lib;
  ASSERT_NE(lib.getToolVersion, nullptr);
  EXPECT_EQ(lib.getToolVersion(), 183);

  wchar_t path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(lib.module, path, MAX_PATH), 0u);
  HRSRC found = FindResourceW(lib.module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
  ASSERT_NE(found, nullptr);
  const auto* block = static_cast<const BYTE*>(LockResource(LoadResource(lib.module, found)));
  ASSERT_NE(block, nullptr);
  // VS_FIXEDFILEINFO follows the "VS_VERSION_INFO" key, aligned to 4 bytes.
  const DWORD size = SizeofResource(lib.module, found);
  const VS_FIXEDFILEINFO* fixed = nullptr;
  for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    const auto* candidate = reinterpret_cast<const VS_FIXEDFILEINFO*>(block + at);
    if (candidate->dwSignature == 0xFEEF04BD) {
      fixed = candidate;
      break;
    }
  }
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00000001u);  // 0.1
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00080003u);  // 8.3
}

TEST(Exports, SetHostNotifyWindowReturnsTenWhateverItIsGiven) {
  LoadedLibrary lib;
  ASSERT_NE(lib.setHostNotifyWindow, nullptr);
  wintest::NotifyRecorder notify;
  EXPECT_EQ(lib.setHostNotifyWindow(notify.Window(), 1), 10);
  EXPECT_EQ(lib.setHostNotifyWindow(nullptr, 0), 10);
  EXPECT_EQ(lib.setHostNotifyWindow(reinterpret_cast<HWND>(0x1234), -5), 10);
}

TEST(Exports, NoImageBeforeAnyCapture) {
  LoadedLibrary lib;
  ASSERT_NE(lib.getImageBits, nullptr);
  EXPECT_EQ(lib.getImageBits(), nullptr);
  EXPECT_EQ(lib.getImageSize(), 0u);
}

TEST(Exports, NullHostWindowReportsOnlyTheVersion) {
  LoadedLibrary lib;
  ASSERT_NE(lib.runToolRequest, nullptr);
  EXPECT_EQ(lib.runToolRequest(nullptr, 10, 0), 183);
  EXPECT_EQ(lib.getImageBits(), nullptr);
  EXPECT_EQ(lib.getImageSize(), 0u);
}

}  // namespace
