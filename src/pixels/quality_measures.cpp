#include "pixels/quality_measures.h"

namespace pictornx {

bool MeasureQuality(ConstImageView, ConstImageView, PixelRect, QualityMeasures& out) {
  out = QualityMeasures{};
  return false;
}

double BitsPerPixel(uint64_t fileBytes, int64_t pixels) {
  return pixels > 0 ? static_cast<double>(fileBytes) * 8.0 / static_cast<double>(pixels) : 0.0;
}

std::wstring FormatQualityLines(const QualityMeasures&, double, const wchar_t*) { return {}; }

}  // namespace pictornx
