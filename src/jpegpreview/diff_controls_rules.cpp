#include "jpegpreview/diff_controls_rules.h"

#include <array>

#include "resources/resource_ids.h"

namespace pictornx {
namespace {

struct Area {
  int left, top, right, bottom;  // all four included
  bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

constexpr Area kWindow{0, 0, 729, 449};
constexpr Area kTabColumn{625, 103, 689, 153};
constexpr Area kView{10, 10, 455, 439};

struct HitArea {
  Area area;
  PreviewHit hit;
};
// Rows of the tab column not listed here (118 to 121 between tabs 1 and 2, 138 between
// tabs 2 and 3) are the gap: a press there does nothing.
constexpr std::array<HitArea, 3> kTabs{{
    {{625, 103, 689, 117}, PreviewHit::kTab1},
    {{625, 122, 689, 137}, PreviewHit::kTab2},
    {{625, 139, 689, 153}, PreviewHit::kTab3},
}};
constexpr std::array<HitArea, 6> kButtons{{
    {{491, 427, 510, 441}, PreviewHit::kWhole},
    {{514, 427, 533, 441}, PreviewHit::kRange},
    {{545, 427, 564, 441}, PreviewHit::kGain},
    {{598, 416, 654, 437}, PreviewHit::kSave},
    {{660, 416, 717, 437}, PreviewHit::kClose},
    {kView, PreviewHit::kView},
}};

struct Tip {
  Area area;
  int stringId;
  int selectingStringId;  // 0: no tip while a range is being selected
};
constexpr std::array<Tip, 8> kTips{{
    {{624, 102, 690, 117}, IDS_HINT_TAB_IMAGE, IDS_HINT_TAB_IMAGE},
    {{624, 122, 690, 136}, IDS_HINT_TAB_DIFFERENCE_A, IDS_HINT_TAB_DIFFERENCE_A},
    {{624, 140, 690, 153}, IDS_HINT_TAB_DIFFERENCE_B, IDS_HINT_TAB_DIFFERENCE_B},
    {{492, 427, 509, 441}, IDS_HINT_WHOLE_BUTTON, 0},
    {{515, 427, 532, 441}, IDS_HINT_RANGE_BUTTON, IDS_HINT_CHOOSE_RANGE},
    {{546, 427, 564, 441}, IDS_HINT_GAIN_BUTTON, 0},
    {{600, 417, 652, 437}, IDS_HINT_PREVIEW_SAVE, IDS_HINT_PREVIEW_SAVE},
    {{662, 417, 715, 437}, IDS_HINT_CLOSE_WINDOW, IDS_HINT_CLOSE_WINDOW},
}};

}  // namespace

ButtonLooks LooksFor(DiffMode mode, bool gain2) {
  const int gainBase = gain2 ? 10 : 0;
  switch (mode) {
    case DiffMode::kSelecting:
      return {2, 2, gainBase + 2};
    case DiffMode::kRangeSet:
      return {3, 0, gainBase};
    case DiffMode::kWhole:
    default:
      return {0, 3, gainBase};
  }
}

PreviewHit HitTestPreview(int x, int y) {
  if (!kWindow.Contains(x, y)) return PreviewHit::kNone;
  if (kTabColumn.Contains(x, y)) {
    for (const HitArea& tab : kTabs)
      if (tab.area.Contains(x, y)) return tab.hit;
    return PreviewHit::kTabGap;
  }
  for (const HitArea& button : kButtons)
    if (button.area.Contains(x, y)) return button.hit;
  return PreviewHit::kFace;
}

int TooltipStringAt(int x, int y, bool selecting) {
  for (const Tip& tip : kTips)
    if (tip.area.Contains(x, y)) return selecting ? tip.selectingStringId : tip.stringId;
  return 0;
}

}  // namespace pictornx
