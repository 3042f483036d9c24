// The arbitrary-size panel's arithmetic, portable so it is tested natively: typed sizes,
// the ratio lock with its 6000-pixel cap, the up-down pairs and the size slots' factors.
#pragma once

namespace pictornx {

inline constexpr int kMaxTypedSize = 6000;

struct SizePair {
  int width = 0;
  int height = 0;
  friend bool operator==(const SizePair&, const SizePair&) = default;
};

// The leading decimal digits of `text` (none gives 0); saturates instead of overflowing.
int LeadingNumber(const wchar_t* text);
// A typed size held within 1..6000.
int ClampTypedSize(int value);
// Enter accepts only 1..5999; other values leave the size as it was.
bool EnterAccepts(int value);

// The ratio lock (ratio = height / width): the other side truncated after adding 0.00001,
// capped at 6000 with the driving side recomputed from the cap, and never below 1.
SizePair RatioFromWidth(int width, double ratio);
SizePair RatioFromHeight(int height, double ratio);

// A size shown as a tens and a ones up-down, and read back from them (at least 1).
int TensOf(int size);
int OnesOf(int size);
int SizeFromUpDowns(int tens, int ones);

// The zoom factors of a size slot over a source: stretched to the slot's width and height,
// or (fixed width) the slot's width with the source's proportions.
struct SlotZoom {
  double x = 1.0;
  double y = 1.0;
};
SlotZoom SlotFactors(SizePair slot, SizePair source, bool fixedWidth);

}  // namespace pictornx
