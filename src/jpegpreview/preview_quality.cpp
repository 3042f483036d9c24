// The size box's hint: how far the JPEG is from its source, in numbers (PSNR, SSIM and the
// file's bits per pixel), for the whole image and the selected range.
#include <new>
#include <string>

#include "host/image_buffers.h"
#include "jpegpreview/preview_state.h"
#include "pixels/quality_measures.h"
#include "resources/resource_ids.h"
#include "ui/hint.h"
#include "win/module.h"

namespace pictornx {
namespace {

// The size box, both ends included.
constexpr PixelRect kSizeBox{612, 165, 709, 260};

// The two lines of `region`, or an empty text when it cannot be measured.
std::wstring Lines(const PreviewState& s, PixelRect region, const QualityLabels& labels) {
  QualityMeasures measures;
  if (!MeasureQuality(Images().workImage.View(), s.jpegImage.view, region, measures)) return {};
  const double bits = BitsPerPixel(s.fileBytes, int64_t{s.imageWidth} * s.imageHeight);
  return FormatQualityLines(measures, bits, labels);
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
  // The texts are small, but their strings allocate: without memory the hint stays empty.
  try {
    std::wstring text = Lines(s, {0, 0, s.imageWidth, s.imageHeight}, labels);
    PixelRect range;
    if (!text.empty() && SelectedRange(s, range)) {
      const std::wstring ranged = Lines(s, range, labels);
      if (!ranged.empty()) text += L"\n" + LoadResString(IDS_QUALITY_RANGE) + L"\n" + ranged;
    }
    lstrcpynW(s.qualityText, text.c_str(), static_cast<int>(std::size(s.qualityText)));
  } catch (const std::bad_alloc&) {
    s.qualityText[0] = 0;
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
