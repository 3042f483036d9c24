// The string table as the library loads it: every named string present, and the texts
// whose exact characters matter (spaces, line breaks, half-width forms) intact.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "res_string.h"
#include "win/module.h"
#include "resources/resource_ids.h"
#include "resources_test_support.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

using wintest::Utf8;

// Bytes of the text in the Japanese ANSI code page, the measure of the original limits.
int ShiftJisBytes(const std::wstring& text) {
  return WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
}

TEST(ResourceStrings, EveryNamedStringLoadsAndNoStringIsUnnamed) {
  const auto ids = restest::ResourceIdsWithPrefix("IDS_");
  ASSERT_GE(ids.size(), 100u) << "header not read: " << restest::ResourceIdsHeaderPath();
  std::set<int> named;
  for (const auto& id : ids) {
    named.insert(id.value);
    EXPECT_FALSE(LoadResString(id.value).empty()) << id.name << " = " << id.value;
  }
  for (int value = 0; value < 1024; ++value) {
    if (named.count(value)) continue;
    EXPECT_TRUE(LoadResString(value).empty()) << "string " << value << " has no name";
  }
}

TEST(ResourceStrings, KeepsSpacesAtBothEnds) {
  EXPECT_EQ(LoadResString(IDS_PIXELS_SUFFIX), L"  (\xFF8B\xFF9F\xFF78\xFF7E\xFF99)");  // half-width kana
  EXPECT_EQ(LoadResString(IDS_FIXED_WIDTH_SUFFIX), L"\x6A2A\x5E45\x56FA\x5B9A  ");
  EXPECT_EQ(LoadResString(IDS_TITLE_COPY_RANGE).substr(0, 4), L"   \x77E9");
  EXPECT_EQ(LoadResString(IDS_TITLE_SHOW_RANGE).back(), L'=');
  EXPECT_EQ(LoadResString(IDS_GAUGE_RED), L"\x8D64\x8272  ");
  EXPECT_EQ(LoadResString(IDS_CANCELLED_MARK).front(), L'\x3000');  // ideographic space
  EXPECT_EQ(LoadResString(IDS_VIEWER_IS_OPEN).find(L'\x3000'), 7u);
  // Eleven bytes in Shift-JIS, as the gauge window draws it: five full-width letters and a space.
  const std::wstring light = LoadResString(IDS_GAUGE_LIGHT);
  EXPECT_EQ(light.back(), L' ');
  EXPECT_EQ(ShiftJisBytes(light), 11) << Utf8(light);
}

TEST(ResourceStrings, LineBreaksAreRealLineBreaks) {
  const std::wstring memory = LoadResString(IDS_MEMORY_ERROR);
  EXPECT_EQ(memory.find(L'\n'), memory.rfind(L'\n'));
  EXPECT_NE(memory.find(L"\x3002\n\x6307"), std::wstring::npos) << Utf8(memory);  // "。\n指"
  EXPECT_EQ(memory.find(L'\\'), std::wstring::npos);
  const std::wstring overwrite = LoadResString(IDS_CONFIRM_OVERWRITE);
  EXPECT_EQ(overwrite.substr(overwrite.size() - 3), L"\xFF1F\n\n");  // "？" and two breaks
  const std::wstring tooLarge = LoadResString(IDS_CLIPBOARD_TOO_LARGE);
  EXPECT_NE(tooLarge.find(L"\n\x3000\x3000"), std::wstring::npos);
  EXPECT_NE(tooLarge.find(L"\n\n"), std::wstring::npos);
  for (UINT id : {IDS_CLIPBOARD_BUSY, IDS_PREVIEW_NOT_WRITABLE, IDS_PREVIEW_HELP})
    EXPECT_NE(LoadResString(id).find(L'\n'), std::wstring::npos) << id;
  const std::wstring help = LoadResString(IDS_PREVIEW_HELP);
  EXPECT_EQ(std::count(help.begin(), help.end(), L'\n'), 6);
}

TEST(ResourceStrings, FitTheBuffersTheyAreLoadedInto) {
  // The hint class name is loaded into 12 characters; the slot labels into 10 bytes.
  EXPECT_EQ(LoadResString(IDS_HINT_CLASS), L"TLPICTRN");
  EXPECT_LE(ShiftJisBytes(LoadResString(IDS_PIXELS_SUFFIX)), 9);
  EXPECT_EQ(LoadResString(IDS_POPUP_FONT_FACE), LoadResString(IDS_LABEL_FONT_FACE));
  EXPECT_EQ(LoadResString(IDS_LABEL_FONT_FACE), L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF");
  EXPECT_LT(ShiftJisBytes(LoadResString(IDS_LABEL_FONT_FACE)), 25);
  EXPECT_LE(ShiftJisBytes(LoadResString(IDS_THE_IMAGE)), 19);  // loaded with a 20-byte limit
}

}  // namespace
}  // namespace pictornx
