// Units of the Win32 shell, linked statically with the DIB failure seam.
#include <windows.h>

#include <gtest/gtest.h>

#include "win/dib.h"
#include "host/library.h"
#include "ui/hint.h"
#include "res_string.h"
#include "win/module.h"
#include "win/step_clock.h"
#include "resources/resource_ids.h"

namespace pictornx {
namespace {

// Off it records nothing; on it records in order, in time order, up to its room; starting
// again forgets the marks.
TEST(StepClock, RecordsOnlyWhileOnAndWithinItsRoom) {
  const StepMark* marks = nullptr;
  StartStepClock(false);
  MarkStep("off");
  EXPECT_EQ(StepMarks(&marks), 0);

  StartStepClock(true);
  const char* names[kMaxSteps + 3];
  for (int i = 0; i < kMaxSteps + 3; ++i) {
    names[i] = i % 2 ? "odd" : "even";
    MarkStep(names[i]);
  }
  ASSERT_EQ(StepMarks(&marks), kMaxSteps);
  for (int i = 0; i < kMaxSteps; ++i) {
    EXPECT_EQ(marks[i].name, names[i]);
    if (i > 0) {
      EXPECT_GE(marks[i].milliseconds, marks[i - 1].milliseconds);
    }
  }

  StartStepClock(true);
  EXPECT_EQ(StepMarks(&marks), 0);
  StartStepClock(false);
}

TEST(Dib, CreatesPaddedBottomUpSections) {
  DibSection dib = CreateDib24(1023, 3);
  ASSERT_TRUE(dib);
  EXPECT_EQ(dib.view.stride, 3072);
  DIBSECTION info{};
  ASSERT_EQ(GetObjectW(dib.bitmap.Get(), sizeof(info), &info), static_cast<int>(sizeof(info)));
  EXPECT_EQ(info.dsBmih.biBitCount, 24);
  EXPECT_EQ(info.dsBmih.biHeight, 3);
  EXPECT_EQ(info.dsBm.bmBits, dib.view.bits);
}

TEST(Dib, RefusesImpossibleSizes) {
  EXPECT_FALSE(CreateDib24(0, 10));
  EXPECT_FALSE(CreateDib24(10, -1));
  EXPECT_FALSE(CreateDib24(100000, 100000));
}

TEST(Dib, FailureSeamFailsAfterTheGivenCount) {
  testing::FailDibSectionsAfter(1);
  DibSection first = CreateDib24(4, 4);
  DibSection second = CreateDib24(4, 4);
  testing::FailDibSectionsAfter(-1);
  DibSection third = CreateDib24(4, 4);
  EXPECT_TRUE(first);
  EXPECT_FALSE(second);
  EXPECT_EQ(second.view.bits, nullptr);
  EXPECT_TRUE(third);
}

TEST(Module, LoadsStringsFromTheModulesOwnTable) {
  EXPECT_EQ(LoadResString(IDS_HOST_NAME_PICTORN), L"Pictorn");
  EXPECT_EQ(LoadResString(IDS_HOST_NAME_MURAFEX), L"Murafex");
  wchar_t small[4];
  EXPECT_EQ(LoadResString(IDS_HINT_CLASS, small, 4), 3);  // truncated to the buffer, terminated
  EXPECT_STREQ(small, L"TLP");
  EXPECT_EQ(LoadResString(9999), L"");
  EXPECT_STREQ(HintClassName(), L"TLPICTRN");
}

}  // namespace
}  // namespace pictornx
