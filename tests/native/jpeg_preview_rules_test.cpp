#include <gtest/gtest.h>

#include "jpegpreview/diff_controls_rules.h"
#include "jpegpreview/settings_panel_rules.h"
#include "resources/resource_ids.h"

namespace pictornx {
namespace {

TEST(SettingsPanelRules, KnobAndQualityFollowTheSlider) {
  // The quality slider's groove runs from 23 to 103.
  for (const auto& [percent, centre] : {std::pair{0, 27}, {1, 27}, {65, 73}, {99, 98}, {100, 99}})
    EXPECT_EQ(KnobCentre(23, 103, percent), centre) << percent;

  struct Case { int x, maxQuality, quality; };
  for (const Case c : {Case{25, 100, 1}, {26, 100, 1}, {27, 100, 2}, {60, 100, 47}, {61, 100, 48}, {62, 100, 49}, {63, 100, 51}, {98, 100, 98}, {99, 100, 99},
                       {99, 99, 99}, {100, 100, 100}, {100, 99, 99}, {200, 100, 100}, {0, 100, 1}, {-40, 99, 1}})
    EXPECT_EQ(QualityFromSliderX(c.x, c.maxQuality), c.quality) << c.x << " max " << c.maxQuality;

  // Along the band the quality never falls and never skips more than two steps.
  int previous = QualityFromSliderX(25, 99);
  for (int x = 26; x <= 99; ++x) {
    const int quality = QualityFromSliderX(x, 99);
    EXPECT_GE(quality, previous) << x;
    EXPECT_LE(quality - previous, 2) << x;
    previous = quality;
  }
}

TEST(DiffControlsRules, LooksHitAreasAndTips) {
  struct LooksCase { DiffMode mode; bool gain2; ButtonLooks looks; };
  for (const LooksCase c : {LooksCase{DiffMode::kWhole, false, {0, 3, 0}}, {DiffMode::kWhole, true, {0, 3, 10}},
                            {DiffMode::kSelecting, false, {2, 2, 2}}, {DiffMode::kSelecting, true, {2, 2, 12}},
                            {DiffMode::kRangeSet, false, {3, 0, 0}}, {DiffMode::kRangeSet, true, {3, 0, 10}}}) {
    const ButtonLooks looks = LooksFor(c.mode, c.gain2);
    EXPECT_EQ(looks.whole, c.looks.whole);
    EXPECT_EQ(looks.range, c.looks.range);
    EXPECT_EQ(looks.gainState, c.looks.gainState) << static_cast<int>(c.mode) << " gain2 " << c.gain2;
  }

  struct HitCase { int x, y; PreviewHit hit; };
  for (const HitCase c : {HitCase{625, 103, PreviewHit::kTab1}, {689, 117, PreviewHit::kTab1},
                          {650, 118, PreviewHit::kTabGap}, {650, 121, PreviewHit::kTabGap},
                          {650, 122, PreviewHit::kTab2}, {650, 137, PreviewHit::kTab2},
                          {650, 138, PreviewHit::kTabGap}, {650, 139, PreviewHit::kTab3},
                          {689, 153, PreviewHit::kTab3}, {624, 110, PreviewHit::kFace},
                          {690, 110, PreviewHit::kFace}, {650, 154, PreviewHit::kFace},
                          {491, 427, PreviewHit::kWhole}, {510, 441, PreviewHit::kWhole},
                          {511, 430, PreviewHit::kFace}, {514, 430, PreviewHit::kRange},
                          {533, 430, PreviewHit::kRange}, {545, 441, PreviewHit::kGain},
                          {564, 427, PreviewHit::kGain}, {545, 442, PreviewHit::kFace},
                          {598, 416, PreviewHit::kSave}, {654, 437, PreviewHit::kSave},
                          {655, 420, PreviewHit::kFace}, {660, 416, PreviewHit::kClose},
                          {717, 437, PreviewHit::kClose}, {10, 10, PreviewHit::kView},
                          {455, 439, PreviewHit::kView}, {9, 200, PreviewHit::kFace},
                          {456, 200, PreviewHit::kFace}, {729, 449, PreviewHit::kFace},
                          {730, 10, PreviewHit::kNone}, {-1, 10, PreviewHit::kNone}})
    EXPECT_EQ(HitTestPreview(c.x, c.y), c.hit) << c.x << ", " << c.y;

  struct TipCase { int x, y, normal, selecting; };
  for (const TipCase c : {TipCase{624, 102, IDS_HINT_TAB_IMAGE, IDS_HINT_TAB_IMAGE},
                          {690, 120, 0, 0},  // between tabs 1 and 2
                          {690, 136, IDS_HINT_TAB_DIFFERENCE_A, IDS_HINT_TAB_DIFFERENCE_A},
                          {650, 139, 0, 0},
                          {650, 140, IDS_HINT_TAB_DIFFERENCE_B, IDS_HINT_TAB_DIFFERENCE_B},
                          {492, 427, IDS_HINT_WHOLE_BUTTON, 0},
                          {491, 430, 0, 0},
                          {520, 441, IDS_HINT_RANGE_BUTTON, IDS_HINT_CHOOSE_RANGE},
                          {564, 430, IDS_HINT_GAIN_BUTTON, 0},
                          {600, 417, IDS_HINT_PREVIEW_SAVE, IDS_HINT_PREVIEW_SAVE},
                          {600, 416, 0, 0},
                          {715, 437, IDS_HINT_CLOSE_WINDOW, IDS_HINT_CLOSE_WINDOW},
                          {200, 200, 0, 0}}) {
    EXPECT_EQ(TooltipStringAt(c.x, c.y, false), c.normal) << c.x << ", " << c.y;
    EXPECT_EQ(TooltipStringAt(c.x, c.y, true), c.selecting) << c.x << ", " << c.y << " selecting";
  }
}

}  // namespace
}  // namespace pictornx
