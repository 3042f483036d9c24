// The JPEG preview's button looks and press and tool-tip areas: portable, no windows.h.
#pragma once

namespace pictornx {

enum class DiffMode { kWhole, kSelecting, kRangeSet };
struct ButtonLooks { int whole; int range; int gainState; };
ButtonLooks LooksFor(DiffMode mode, bool gain2);     // the three-mode table, gain 0/10 rows
enum class PreviewHit { kNone, kTab1, kTab2, kTab3, kTabGap, kWhole, kRange, kGain, kSave, kClose, kView, kFace };
PreviewHit HitTestPreview(int x, int y);             // press areas in window coordinates
int TooltipStringAt(int x, int y, bool selecting);   // string id or 0 (the tool-tip table)

}  // namespace pictornx
