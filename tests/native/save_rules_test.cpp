#include <gtest/gtest.h>

#include <string>

#include "files/save_rules.h"

namespace pictornx {
namespace {

using V = ExtensionVerdict;

TEST(SaveNames, ExtensionAgainstTheChosenType) {
  struct Case {
    const wchar_t* title;
    SaveType chosen;
    V verdict;
    const wchar_t* base;
  };
  const Case cases[] = {
      {L"shot", SaveType::kJpeg, V::kNoExtension, L"shot"},
      {L"shot.JPG", SaveType::kJpeg, V::kMatches, L"shot"},
      {L"shot.jpg", SaveType::kBmp, V::kMismatch, L"shot"},
      {L"shot.gif", SaveType::kPng, V::kMismatch, L"shot.gif"},
      {L"my.shot.bmp", SaveType::kBmp, V::kMatches, L"my.shot"},
      {L"photo.jpeg", SaveType::kJpeg, V::kNoExtension, L"photo.jpeg"},
      {L".png", SaveType::kPng, V::kNoExtension, L".png"},  // four characters: no extension
      {L"a.png", SaveType::kPng, V::kMatches, L"a"},
      {L"\u753B\u50CF.Png", SaveType::kPng, V::kMatches, L"\u753B\u50CF"},  // counted in characters
      {L"\u753B\u50CF\u3067\u3059", SaveType::kBmp, V::kNoExtension, L"\u753B\u50CF\u3067\u3059"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "title #" << (&c - cases));
    const ExtensionCheck check = CheckExtension(c.title, c.chosen);
    EXPECT_EQ(check.verdict, c.verdict);
    EXPECT_EQ(std::wstring(check.base), c.base);
  }
}

TEST(SaveNames, RefusedCharactersNameTheLastOneFound) {
  EXPECT_EQ(LastRefusedCharacter(L"a;b~c"), L'~');
  EXPECT_EQ(LastRefusedCharacter(CheckExtension(L"my.shot.bmp", SaveType::kBmp).base), L'.');
  EXPECT_EQ(LastRefusedCharacter(CheckExtension(L"photo.jpeg", SaveType::kJpeg).base), L'.');
  EXPECT_EQ(LastRefusedCharacter(L"shot"), 0);
  EXPECT_EQ(LastRefusedCharacter(L""), 0);
  // Full-width look-alikes and the folder separator Windows uses are not refused here.
  EXPECT_EQ(LastRefusedCharacter(L"\uFF0E\uFF1B\\-_ ()"), 0);
  for (wchar_t c : std::wstring(L".,/*~^?|`;:<>")) EXPECT_EQ(LastRefusedCharacter(std::wstring(L"x") + c + L"y"), c);
  FixedText<16> line;
  RefusedCharacterLine(L'~', L"!", line);
  EXPECT_EQ(line.View(), L"\u3010 ~ \u3011!");
}

TEST(SaveNames, AppendingAndChoosingTheWriter) {
  FixedText<16> jpeg(L"shot"), none(L"shot");
  AppendExtension(jpeg, SaveType::kJpeg);
  AppendExtension(none, SaveType::kNone);
  EXPECT_EQ(jpeg.View(), L"shot.jpg");
  EXPECT_EQ(none.View(), L"shot");
  struct Case {
    const wchar_t* path;
    SaveType writer;
    const wchar_t* after;
  };
  const Case cases[] = {
      {L"C:\\a\\shot.JPG", SaveType::kJpeg, L"C:\\a\\shot.JPG"},
      {L"C:\\a\\shot.png", SaveType::kPng, L"C:\\a\\shot.png"},
      {L"C:\\a\\shot.BMP", SaveType::kBmp, L"C:\\a\\shot.BMP"},
      {L"C:\\a\\shot", SaveType::kBmp, L"C:\\a\\shot.bmp"},
      {L"C:\\a\\shot.gif", SaveType::kBmp, L"C:\\a\\shot.gif.bmp"},
      // ".bmp" would not fit into the path's 31 characters: no file under a name cut short.
      {L"C:\\a\\twenty-three-characters", SaveType::kNone, nullptr},
  };
  for (const Case& c : cases) {
    FixedText<32> path(c.path);
    EXPECT_EQ(WriterForPath(path), c.writer) << path.View().size();
    if (c.after) {
      EXPECT_EQ(path.View(), c.after);
    }
  }
}

TEST(SaveNames, SizeTextsUseExactThousandths) {
  const std::pair<int64_t, const wchar_t*> cases[] = {
      {0, L"0"},           {999, L"999"},           {1000, L"1 K"},           {54054, L"54 K"},
      {999999, L"999 K"},  {1000000, L"1.000 M"},   {1001000, L"1.001 M"},    {1050000, L"1.050 M"},
      {1999999, L"1.999 M"}, {6221054, L"6.221 M"}, {4294967296, L"4294.967 M"},
  };
  const auto sizeText = [](int64_t bytes) {
    FixedText<24> text;
    SavedSizeText(bytes, text);
    return std::wstring(text.View());
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(sizeText(bytes), text) << bytes;
  // Wherever the double formula is right, the text is the same.
  int differences = 0;
  for (int64_t bytes = 1000000; bytes < 3000000; bytes += 997) {
    const double x = static_cast<double>(bytes) * 0.000001;
    const int whole = static_cast<int>(x);
    const int thousandths = static_cast<int>((x - whole) * 1000);
    const int exact = static_cast<int>(bytes % 1000000 / 1000);
    if (thousandths == exact)
      EXPECT_EQ(sizeText(bytes).substr(2, 3), std::to_wstring(1000 + thousandths).substr(1)) << bytes;
    else
      ++differences;
  }
  EXPECT_GT(differences, 0);  // the double formula does fall short for some sizes
}

}  // namespace
}  // namespace pictornx
