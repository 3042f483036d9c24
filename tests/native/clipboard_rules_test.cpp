#include <gtest/gtest.h>

#include "files/clipboard_rules.h"

namespace pictornx {
namespace {

TEST(ClipboardRules, GuardAllowsUpToTheScreenPlusFiftyEachWay) {
  struct Case { int64_t w, h; bool refused; };
  // On 1024 x 768 the limit is 1074 x 818 = 878,532 pixels, whatever the proportions.
  for (const Case c : {Case{1000, 878, false}, Case{1000, 879, true}, Case{1074, 818, false}, Case{878532, 1, false},
                       Case{878533, 1, true}, Case{-1, 1, true}, Case{100000, 100000, true}})
    EXPECT_EQ(ExceedsClipboardGuard(c.w, c.h, 1024, 768), c.refused) << c.w << " x " << c.h;
}

TEST(ClipboardRules, RangesAreClippedToTheImageAndBlocksCountHeaderAndPaddedRows) {
  struct Case { PixelRect range; PixelRect expected; };
  for (const Case c : {Case{{10, 10, 110, 60}, {10, 10, 110, 60}},  // inside: unchanged
                       Case{{-5, -3, 4, 2}, {0, 0, 4, 2}},          // a drag from left of and above the image
                       Case{{190, 90, 400, 300}, {190, 90, 200, 100}},
                       Case{{-50, -50, -1, -1}, {}},                // wholly outside: nothing to copy
                       Case{{200, 0, 300, 10}, {}}})
    EXPECT_EQ(ClipRangeToImage(c.range, 200, 100), c.expected);
  EXPECT_EQ(ClipboardBlockBytes(3, 2), 40 + 24);  // rows of 12 bytes, 3 of each padding
  EXPECT_EQ(ClipboardBlockBytes(0, 2), -1);
}

}  // namespace
}  // namespace pictornx
