// The size box's hint: how far the JPEG is from its source, in numbers (PSNR, SSIM and the
// file's bits per pixel), for the whole image and the selected range.
#include <iterator>

#include "imagestore/image_buffers.h"
#include "jpegpreview/preview_state.h"
#include "pixels/quality_measures.h"
#include "resources/resource_ids.h"
#include "ui/hint.h"
#include "win/module.h"

namespace pictornx {
namespace {

// The size box, both ends included.
constexpr PixelRect kSizeBox{612, 165, 709, 260};

// Appends the two lines of `region`; false (nothing appended) when it cannot be measured.
bool Lines(const PreviewState& s, PixelRect region, const QualityLabels& labels, TextWriter& out) {
  QualityMeasures measures;
  if (!MeasureQuality(Images().workImage.View(), s.jpegImage.view, region, measures)) return false;
  const double bits = BitsPerPixel(s.fileBytes, int64_t{s.imageWidth} * s.imageHeight);
  FormatQualityLines(measures, bits, labels, out);
  return true;
}

}  // namespace

void UpdateQualityHint(PreviewState& s) { s.qualityStale = true; }

// Measures the JPEG against the source, the whole image and the range when one is set.
static void MeasureForHint(PreviewState& s) {
  s.qualityStale = false;
  s.qualityText[0] = 0;
  if (!s.jpegImage) return;
  wchar_t infinity[8], bitsPerPixel[24];
  LoadResString(IDS_QUALITY_INFINITY, infinity, 8);
  LoadResString(IDS_QUALITY_BITS_PER_PIXEL, bitsPerPixel, 24);
  const QualityLabels labels{infinity, bitsPerPixel};
  // Without the measures' working rows the hint stays empty.
  TextWriter text(s.qualityText, std::size(s.qualityText));
  if (!Lines(s, {0, 0, s.imageWidth, s.imageHeight}, labels, text)) return;
  PixelRect range;
  if (SelectedRange(s, range)) {
    FixedText<sizeof(PreviewState::qualityText) / sizeof(wchar_t)> ranged;
    if (Lines(s, range, labels, ranged)) AddResString(text.Add(L'\n'), IDS_QUALITY_RANGE).Add(L'\n').Add(ranged.View());
  }
  AppendQualitySuggestion(s, s.qualityText, std::size(s.qualityText));
}

bool TrackQualityHint(PreviewState& s, int x, int y) {
  if (!kSizeBox.Contains(x, y)) return false;
  // Measured here rather than in every refresh: the refresh stays as quick as it can be,
  // and the numbers cost a few milliseconds once per look.
  if (s.qualityStale) MeasureForHint(s);
  if (s.qualityText[0] == 0) return false;
  POINT screen{};
  GetCursorPos(&screen);
  TrackHintText(s.window, IDS_QUALITY_INFINITY, s.qualityText, screen.x, screen.y);
  return true;
}

}  // namespace pictornx
