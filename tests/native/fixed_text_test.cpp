#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "pixels/fixed_text.h"

namespace pictornx {
namespace {

TEST(FixedText, NumbersInDecimalWithTheirSignAndLeadingZeros) {
  const struct {
    int64_t value;
    int minDigits;
    const wchar_t* text;
  } cases[] = {
      {0, 1, L"0"},         {7, 3, L"007"},     {-42, 1, L"-42"}, {-5, 3, L"-005"}, {1050, 3, L"1050"},
      {INT64_MAX, 1, L"9223372036854775807"}, {INT64_MIN, 1, L"-9223372036854775808"},
  };
  for (const auto& c : cases) {
    FixedText<32> text;
    text.AddNumber(c.value, c.minDigits);
    EXPECT_EQ(text.View(), c.text) << c.value;
    EXPECT_FALSE(text.Truncated());
  }
}

TEST(FixedText, WhatDoesNotFitIsCutOffAndTheTextStaysTerminated) {
  FixedText<6> text;
  text.Add(L"abc").AddNumber(12345).Add(L'!');
  EXPECT_EQ(text.View(), L"abc12");
  EXPECT_EQ(text.Text()[5], L'\0');
  EXPECT_TRUE(text.Truncated());
  text.Clear();
  EXPECT_EQ(text.View(), L"");
  EXPECT_FALSE(text.Truncated());

  // A caller's buffer: nothing is written past its capacity, and none at all is kept safe.
  wchar_t buffer[4] = {L'x', L'x', L'x', L'#'};
  TextWriter three(buffer, 3);
  three.Add(L"long");
  EXPECT_EQ(std::wstring_view(buffer), L"lo");
  EXPECT_EQ(buffer[3], L'#');
  TextWriter none(nullptr, 10);
  none.Add(L"a");
  EXPECT_EQ(none.View(), L"");
  EXPECT_TRUE(none.Truncated());
}

}  // namespace
}  // namespace pictornx
