#include "imageops/size_panel_rules.h"

#include <algorithm>

namespace pictornx {
namespace {

constexpr double kRatioNudge = 0.00001;  // keeps products such as 2000 x 0.75 off x.99999

}  // namespace

int LeadingNumber(const wchar_t* text) {
  if (!text) return 0;
  constexpr int kCeiling = 1000000000;
  int value = 0;
  for (; *text >= L'0' && *text <= L'9'; ++text)
    value = value >= kCeiling / 10 ? kCeiling : std::min(kCeiling, value * 10 + (*text - L'0'));
  return value;
}

int ClampTypedSize(int value) { return std::clamp(value, 1, kMaxTypedSize); }

bool EnterAccepts(int value) { return value > 0 && value < kMaxTypedSize; }

SizePair RatioFromWidth(int width, double ratio) {
  SizePair size{width, static_cast<int>(width * ratio + kRatioNudge)};
  if (size.height > kMaxTypedSize) {
    size.height = kMaxTypedSize;
    size.width = static_cast<int>(kMaxTypedSize / ratio + kRatioNudge);
  }
  if (size.height <= 0) size.height = 1;
  return size;
}

SizePair RatioFromHeight(int height, double ratio) {
  SizePair size{static_cast<int>(height / ratio + kRatioNudge), height};
  if (size.width > kMaxTypedSize) {
    size.width = kMaxTypedSize;
    size.height = static_cast<int>(ratio * kMaxTypedSize + kRatioNudge);
  }
  if (size.width <= 0) size.width = 1;
  return size;
}

int TensOf(int size) { return size / 10; }
int OnesOf(int size) { return size % 10; }
int SizeFromUpDowns(int tens, int ones) { return std::max(1, tens * 10 + ones); }

SlotZoom SlotFactors(SizePair slot, SizePair source, bool fixedWidth) {
  if (source.width <= 0 || source.height <= 0) return {};
  const double x = static_cast<double>(slot.width) / source.width;
  return {x, fixedWidth ? x : static_cast<double>(slot.height) / source.height};
}

}  // namespace pictornx
