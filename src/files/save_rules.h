// The save dialog's name rules: the typed extension against the chosen file type, the
// characters a name may not contain, the extension appended to a bare name, and the texts
// of the saved-size message. Portable: no windows.h. Characters are UTF-16 code units, so a
// name in Japanese counts its characters, not the bytes of any code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pictornx {

// The dialog's file types, numbered as its filter list.
enum class SaveType : int { kNone = 0, kBmp = 1, kJpeg = 2, kPng = 3 };

// ".bmp", ".jpg" or ".png"; empty for kNone.
std::wstring_view SaveTypeExtension(SaveType type);
// The type a name's last four characters name, compared without regard to case (kNone
// for any other ending).
SaveType TypeOfEnding(std::wstring_view name);

enum class ExtensionVerdict {
  kMatches,      // one of the three extensions, of the chosen type
  kMismatch,     // another of the three, or any other ".xyz"
  kNoExtension,  // the title is 4 characters or shorter, or does not end in ".xyz"
};

struct ExtensionCheck {
  ExtensionVerdict verdict = ExtensionVerdict::kNoExtension;
  // The part of the title whose characters are checked: the title without its extension
  // when it matches, else the whole title.
  std::wstring_view base;
};

// The extension test of the typed title against the chosen type.
ExtensionCheck CheckExtension(std::wstring_view title, SaveType chosen);

// The characters a file name may not contain: . , / * ~ ^ ? | ` ; : < >
bool IsRefusedCharacter(wchar_t c);
// The last refused character of the name, or 0 when there is none.
wchar_t LastRefusedCharacter(std::wstring_view name);

// The name with the type's extension appended (unchanged for kNone).
std::wstring AppendExtension(std::wstring_view name, SaveType type);
// The writer a path is saved with: JPEG or PNG by its ending, BMP otherwise; a path that
// gets BMP without ending in ".bmp" has ".bmp" appended.
SaveType WriterForPath(std::wstring* path);

// The size as the saved message shows it: "999", "54 K", "1.050 M" (exact thousandths of
// a megabyte, truncated).
std::wstring SavedSizeText(int64_t bytes);

// "【 c 】" followed by `suffix`: the refused-character line.
std::wstring RefusedCharacterLine(wchar_t c, std::wstring_view suffix);

}  // namespace pictornx
