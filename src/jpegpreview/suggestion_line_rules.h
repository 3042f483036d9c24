// The size box hint's line about the suggested quality: portable, no windows.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "jpegpreview/quality_search_rules.h"

namespace pictornx {

// The words a translation changes (from the string table); a null word keeps its default.
struct SuggestionWords {
  const wchar_t* lead = L"Lowest same-looking quality";
  const wchar_t* bytes = L"bytes";
  const wchar_t* ofCurrent = L"of now";
  const wchar_t* atOrBelow = L"the current quality is at or below it";
  const wchar_t* none = L"none, even at 100";
};

// E.g. L"<lead> 72 · 81234 <bytes> (<ofCurrent> 64%)", with "≤ 72" for a bracket and
// " · <atOrBelow>" when the current quality is not above the suggestion (for a bracket:
// not above a quality known to fail); L"<lead>: <none>" when nothing passes. The percentage
// is of `currentBytes`, left out when that is 0. Writes at most `capacity` characters with
// the terminating zero and returns the length; 0 (and an empty text) when there is nothing
// to say or it does not fit.
size_t FormatSuggestionLine(const QualitySuggestion& suggestion, int currentQuality, uint32_t currentBytes,
                            const SuggestionWords& words, wchar_t* out, size_t capacity);

}  // namespace pictornx
