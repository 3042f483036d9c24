#include "files/save_rules.h"


namespace pictornx {
namespace {

wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

constexpr std::wstring_view kRefused = L".,/*~^?|`;:<>";

}  // namespace

std::wstring_view SaveTypeExtension(SaveType type) {
  switch (type) {
    case SaveType::kBmp:
      return L".bmp";
    case SaveType::kJpeg:
      return L".jpg";
    case SaveType::kPng:
      return L".png";
    case SaveType::kNone:
      break;
  }
  return {};
}

SaveType TypeOfEnding(std::wstring_view name) {
  if (name.size() < 4) return SaveType::kNone;
  const std::wstring_view ending = name.substr(name.size() - 4);
  for (SaveType type : {SaveType::kBmp, SaveType::kJpeg, SaveType::kPng})
    if (EqualsIgnoringCase(ending, SaveTypeExtension(type))) return type;
  return SaveType::kNone;
}

ExtensionCheck CheckExtension(std::wstring_view title, SaveType chosen) {
  if (title.size() <= 4) return {ExtensionVerdict::kNoExtension, title};
  const SaveType typed = TypeOfEnding(title);
  if (typed != SaveType::kNone) {
    return {typed == chosen ? ExtensionVerdict::kMatches : ExtensionVerdict::kMismatch, title.substr(0, title.size() - 4)};
  }
  if (title[title.size() - 4] == L'.') return {ExtensionVerdict::kMismatch, title};
  return {ExtensionVerdict::kNoExtension, title};
}

bool IsRefusedCharacter(wchar_t c) { return c != 0 && kRefused.find(c) != std::wstring_view::npos; }

wchar_t LastRefusedCharacter(std::wstring_view name) {
  for (size_t i = name.size(); i-- > 0;)
    if (IsRefusedCharacter(name[i])) return name[i];
  return 0;
}

void AppendExtension(TextWriter& name, SaveType type) { name.Add(SaveTypeExtension(type)); }

SaveType WriterForPath(TextWriter& path) {
  const SaveType type = TypeOfEnding(path.View());
  if (type == SaveType::kJpeg || type == SaveType::kPng) return type;
  if (type != SaveType::kBmp) {
    const size_t length = path.Length();
    AppendExtension(path, SaveType::kBmp);
    if (path.Length() != length + SaveTypeExtension(SaveType::kBmp).size()) return SaveType::kNone;
  }
  return SaveType::kBmp;
}

void SavedSizeText(int64_t bytes, TextWriter& out) {
  if (bytes < 1000) {
    out.AddNumber(bytes);
  } else if (bytes < 1000000) {
    out.AddNumber(bytes / 1000).Add(L" K");
  } else {
    // Integers throughout: the thousandths of 1,001,000 bytes are 1, where a double product
    // of 0.000001 falls just below and truncates to 0.
    out.AddNumber(bytes / 1000000).Add(L'.').AddNumber(bytes % 1000000 / 1000, 3).Add(L" M");
  }
}

void RefusedCharacterLine(wchar_t c, std::wstring_view suffix, TextWriter& out) {
  out.Add(L"\u3010 ").Add(c).Add(L" \u3011").Add(suffix);
}

}  // namespace pictornx
