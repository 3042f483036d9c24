#include "jpegpreview/suggestion_line_rules.h"

#include <cwchar>

namespace pictornx {

size_t FormatSuggestionLine(const QualitySuggestion& suggestion, int currentQuality, uint32_t currentBytes,
                            const SuggestionWords& words, wchar_t* out, size_t capacity) {
  if (!out || capacity == 0) return 0;
  out[0] = 0;
  const SuggestionWords defaults;
  const wchar_t* lead = words.lead ? words.lead : defaults.lead;
  int length = -1;
  switch (suggestion.kind) {
    case SuggestionKind::kUnknown:
      return 0;
    case SuggestionKind::kNone:
      length = std::swprintf(out, capacity, L"%.40ls: %.40ls", lead, words.none ? words.none : defaults.none);
      break;
    case SuggestionKind::kFound:
    case SuggestionKind::kBracket: {
      const bool bracket = suggestion.kind == SuggestionKind::kBracket;
      wchar_t share[48] = L"";
      if (currentBytes > 0) {
        // Rounded to the nearest percent, in integers: no size reaches 2^32 / 100 here.
        const uint64_t percent = (uint64_t{suggestion.bytes} * 200 + currentBytes) / (uint64_t{currentBytes} * 2);
        std::swprintf(share, 48, L" (%.20ls %llu%%)", words.ofCurrent ? words.ofCurrent : defaults.ofCurrent,
                      static_cast<unsigned long long>(percent));
      }
      // A bracket's top may still lie above the answer: only a known failure proves the
      // current quality too low.
      const int bound = bracket ? suggestion.below : suggestion.quality;
      wchar_t note[64] = L"";
      if (currentQuality <= bound)
        std::swprintf(note, 64, L" \u00B7 %.50ls", words.atOrBelow ? words.atOrBelow : defaults.atOrBelow);
      length = std::swprintf(out, capacity, L"%.40ls %ls%d \u00B7 %lu %.20ls%ls%ls", lead, bracket ? L"\u2264 " : L"",
                             suggestion.quality, static_cast<unsigned long>(suggestion.bytes),
                             words.bytes ? words.bytes : defaults.bytes, share, note);
      break;
    }
  }
  if (length < 0 || static_cast<size_t>(length) >= capacity) {
    out[0] = 0;
    return 0;
  }
  return static_cast<size_t>(length);
}

}  // namespace pictornx
