// The size box's suggestion: the lowest quality whose JPEG still looks like the image, in
// the hint's last line, and set by a double click on the box.
#include <cwchar>
#include <iterator>

#include "imagestore/image_buffers.h"
#include "jpegpreview/jpeg_settings_panel.h"
#include "jpegpreview/preview_state.h"
#include "jpegpreview/suggestion_line_rules.h"
#include "resources/resource_ids.h"
#include "ui/hint.h"
#include "ui/timers.h"
#include "win/module.h"

namespace pictornx {
namespace {

// A whole full HD search (eight round trips) takes about 160 ms of processor time natively
// and 200 ms in the i686 build: the pointer's rest stays short, and larger images end in a
// bracket.
constexpr int64_t kSearchBudgetMs = 250;

// Searches unless the kept answer still holds for the image, the range and the settings
// other than the quality. False when there is no JPEG to start from.
bool EnsureSuggestion(PreviewState& s) {
  if (!s.jpegImage) return false;
  const ConstImageView work = Images().workImage.View();
  if (work.Empty() || work.width != s.jpegImage.view.width || work.height != s.jpegImage.view.height) return false;
  PixelRect range;
  const bool ranged = SelectedRange(s, range);
  if (!ranged) range = {};
  if (s.suggestionValid && s.suggestionImage == work.bits && s.suggestionRange == range &&
      s.suggestionOptions.progressive == s.shownOptions.progressive &&
      s.suggestionOptions.colour == s.shownOptions.colour)
    return true;
  QualitySearch search;
  search.image = work;
  search.options = s.shownOptions;
  search.range = ranged ? &range : nullptr;
  search.knownQuality = s.shownOptions.quality;
  search.knownImage = s.jpegImage.view;
  search.knownBytes = s.fileBytes;
  search.clock = SteadyClock();
  search.budgetMs = kSearchBudgetMs;
  s.suggestion = SuggestQuality(search);
  s.suggestionValid = true;
  s.suggestionOptions = s.shownOptions;
  s.suggestionRange = range;
  s.suggestionImage = work.bits;
  return true;
}

}  // namespace

void AppendQualitySuggestion(PreviewState& s, wchar_t* text, size_t capacity) {
  if (!text || !EnsureSuggestion(s)) return;
  wchar_t lead[32], bytes[16], ofCurrent[16], atOrBelow[48], none[48];
  LoadResString(IDS_SUGGEST_LEAD, lead, static_cast<int>(std::size(lead)));
  LoadResString(IDS_SUGGEST_BYTES, bytes, static_cast<int>(std::size(bytes)));
  LoadResString(IDS_SUGGEST_OF_CURRENT, ofCurrent, static_cast<int>(std::size(ofCurrent)));
  LoadResString(IDS_SUGGEST_AT_OR_BELOW, atOrBelow, static_cast<int>(std::size(atOrBelow)));
  LoadResString(IDS_SUGGEST_NONE, none, static_cast<int>(std::size(none)));
  const SuggestionWords words{lead, bytes, ofCurrent, atOrBelow, none};
  wchar_t line[160];
  const size_t length = FormatSuggestionLine(s.suggestion, s.shownOptions.quality, s.fileBytes, words, line,
                                             std::size(line));
  const size_t used = std::wcslen(text);
  if (length == 0 || used == 0 || used + 1 + length + 1 > capacity) return;
  text[used] = L'\n';
  std::wmemcpy(text + used + 1, line, length + 1);
}

bool ApplyQualitySuggestion(PreviewState& s, int x, int y) {
  if (!kSizeBoxArea.Contains(x, y)) return false;
  // A tip armed while the pointer rested here holds the numbers of the quality being left.
  CloseHint();
  KillTimer(s.window, kHintShowTimer);
  if (!EnsureSuggestion(s)) return true;
  // A bracket's top is known to look the same: the best the search could promise in time.
  const SuggestionKind kind = s.suggestion.kind;
  if (kind == SuggestionKind::kFound || kind == SuggestionKind::kBracket) ApplyJpegQuality(s.suggestion.quality);
  return true;
}

}  // namespace pictornx
