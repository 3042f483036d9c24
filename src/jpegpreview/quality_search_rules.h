// The lowest JPEG quality whose round trip still looks like its source: found by encoding
// and decoding in memory at a few qualities and measuring each result. Portable (no
// windows.h), so the native tests compare it with a scan of every quality.
#pragma once

#include <cstdint>

#include "codecs/jpeg_codec.h"
#include "pixels/image.h"
#include "pixels/quality_measures.h"

namespace pictornx {

// What "looks the same" means; see the .cpp for where the values come from.
inline constexpr double kSameLookMinSsim = 0.98;
inline constexpr double kSameLookMinPsnr = 35.0;  // dB, every channel

// True when the measures pass both thresholds.
bool LooksTheSame(const QualityMeasures& m);

// Milliseconds from any fixed start; injected so a test decides how long each step takes.
struct SearchClock {
  int64_t (*now)(void* context) = nullptr;
  void* context = nullptr;
  int64_t Now() const { return now ? now(context) : 0; }
};
// The steady clock of the process.
SearchClock SteadyClock();

struct QualitySearch {
  ConstImageView image;          // the displayed image, the measures' reference
  JpegOptions options;           // progressive and grey as set; the quality is searched
  const PixelRect* range = nullptr;  // must look the same too when set (picture coordinates)
  // A round trip the caller already has (the preview's own JPEG): its quality, decoded
  // image and file size save one encoding. Ignored when `knownImage` is empty or the
  // quality lies outside 1 to 100.
  int knownQuality = 0;
  ConstImageView knownImage;
  uint32_t knownBytes = 0;
  SearchClock clock;
  int64_t budgetMs = 250;
};

enum class SuggestionKind {
  kFound,    // `quality` is the suggestion
  kBracket,  // the budget ran out: the suggestion is somewhere in `below` + 1 to `quality`
  kNone,     // not even quality 100 looks the same
  kUnknown,  // nothing to say: no memory, the encoder failed, or the budget ran out first
};

struct QualitySuggestion {
  SuggestionKind kind = SuggestionKind::kUnknown;
  int quality = 0;     // kFound: the suggestion; kBracket: the lowest quality seen to pass
  int below = 0;       // the highest quality seen to fail under `quality` (0: none)
  uint32_t bytes = 0;  // the file size at `quality`
  int roundTrips = 0;  // encodings made (the known one not counted)
};

// Bisection between a failing and a passing quality, then a look at the two qualities below
// the one found: the measures are not strictly monotone in the quality, and a pass found
// there continues the search downwards. So a kFound result q passes, and q - 1 and q - 2
// (where they exist) fail; it is the lowest passing quality unless a pass lies under a
// failing gap of two qualities or more. The search stops early rather than run past
// `budgetMs`: before each encoding it checks that one more, as long as the longest so far,
// still fits (a budget of 0 or less allows none).
QualitySuggestion SuggestQuality(const QualitySearch& search);

}  // namespace pictornx
