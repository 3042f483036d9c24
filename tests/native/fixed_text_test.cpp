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
  } cases[] = {{0, 1, L"0"},       {7, 3, L"007"},       {-5, 3, L"-005"},
               {1050, 3, L"1050"}, {INT64_MIN, 1, L"-9223372036854775808"}};
  for (const auto& c : cases) EXPECT_EQ(FixedText<32>().AddNumber(c.value, c.minDigits).View(), c.text) << c.value;
}

TEST(FixedText, WhatDoesNotFitIsCutOffAndNothingIsWrittenPastTheBuffer) {
  FixedText<6> text;
  EXPECT_EQ(text.Add(L"abc").AddNumber(12345).Add(L'!').View(), L"abc12");
  EXPECT_TRUE(text.Truncated());
  wchar_t buffer[4] = {L'x', L'x', L'x', L'#'};
  EXPECT_EQ(TextWriter(buffer, 3).Add(L"long").View(), L"lo");
  EXPECT_EQ(buffer[3], L'#');
  EXPECT_EQ(TextWriter(nullptr, 10).Add(L"a").View(), L"");
}

}  // namespace
}  // namespace pictornx
