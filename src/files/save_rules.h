// The save dialog's name rules: the typed extension against the chosen file type, the
// characters a name may not contain, the extension appended to a bare name, and the texts
// of the saved-size message. Portable: no windows.h. Characters are UTF-16 code units, so a
// name in Japanese counts its characters, not the bytes of any code page.
#pragma once

#include <cstdint>
#include <string_view>

#include "pixels/fixed_text.h"

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

// Appends the type's extension to the name (nothing for kNone).
void AppendExtension(TextWriter& name, SaveType type);
// The writer a path is saved with: JPEG or PNG by its ending, BMP otherwise; a path that
// gets BMP without ending in ".bmp" has ".bmp" appended. kNone when that did not fit into
// the path's buffer (no file may be written under a name cut short).
SaveType WriterForPath(TextWriter& path);

// Appends the size as the saved message shows it: "999", "54 K", "1.050 M" (exact
// thousandths of a megabyte, truncated).
void SavedSizeText(int64_t bytes, TextWriter& out);

// Appends "【 c 】" followed by `suffix`: the refused-character line.
void RefusedCharacterLine(wchar_t c, std::wstring_view suffix, TextWriter& out);

}  // namespace pictornx
