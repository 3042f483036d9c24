#include "jpegpreview/quality_search_rules.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "codecs/image_sink.h"

namespace pictornx {

// "Looks the same": luma SSIM at least 0.98 and at least 35 dB in every channel.
// What they give, measured with the default settings (lowest passing quality; the same scan
// with 0.97 / 33 dB and 0.99 / 38 dB in brackets):
// - a photograph, 720 x 477, saturated greens: 97 (92, none). At 92 the JPEG beside its
//   source shows no difference at twice the size. Red stays under 35.5 dB even at 100: the
//   encoder keeps chroma at half resolution, so the per-channel bar measures that, not the
//   quality.
// - a diagram with large dark text on white, 3013 x 1561: 17 (10, 37). At 10 specks ring
//   the letters; at 17 they are faint.
// - a screenshot of coloured code on a dark ground, 608 x 275: none at any quality, since
//   blue and red stay under 30 and 32 dB (the same halved chroma on one-pixel strokes).
// - a smooth two-colour gradient, 640 x 400: 22 (14, 46). Here 8 x 8 blocks still show at 22
//   and 46 and only go at about 70-80: SSIM and PSNR barely see blocking on smooth ground.
// So the bars are kept as the common reference, and every channel is held to the PSNR bar
// because luma SSIM is blind to colour; on gradients the suggestion is too low and on
// saturated colours too high, which the hint's own difference views let a person check.
bool LooksTheSame(const QualityMeasures& m) {
  if (m.ssim < kSameLookMinSsim) return false;
  for (double psnr : m.psnr)
    if (!(psnr >= kSameLookMinPsnr)) return false;  // NaN fails too
  return true;
}

namespace {

int64_t SteadyNow(void*) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// A decode target kept across round trips: every trial has the image's size, so it is
// allocated once. malloc'd, so a refusal is a return value, never an exception.
class ReusedSink final : public ImageSink {
 public:
  ReusedSink() = default;
  ReusedSink(const ReusedSink&) = delete;
  ReusedSink& operator=(const ReusedSink&) = delete;
  ~ReusedSink() override { std::free(bits_); }

  bool Allocate(int width, int height, ImageView* out) override {
    const int64_t bytes = ImageBytes(width, height);
    if (bytes < 0) return false;
    if (!bits_ || view_.width != width || view_.height != height) {
      std::free(bits_);
      bits_ = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(bytes), 1));
      if (!bits_) return false;
      view_ = {bits_, width, height, static_cast<int>(RowBytes(width))};
    }
    // A complete stream, which the encoder just made, writes every byte of every row.
    *out = view_;
    return true;
  }
  ConstImageView View() const { return view_; }

 private:
  uint8_t* bits_ = nullptr;
  ImageView view_;
};

enum class Verdict : int8_t { kUnknown, kPass, kFail };
enum class Trial { kDone, kOutOfTime, kFailed };

class Searcher {
 public:
  explicit Searcher(const QualitySearch& search) : s_(search), start_(search.clock.Now()), last_(start_) {}

  // Whether `decoded` looks like the image, over the whole and over the range.
  bool Judge(ConstImageView decoded, Verdict& verdict) const {
    QualityMeasures whole;
    const PixelRect all{0, 0, s_.image.width, s_.image.height};
    if (!MeasureQuality(s_.image, decoded, all, whole)) return false;
    bool same = LooksTheSame(whole);
    if (same && s_.range) {
      QualityMeasures ranged;
      if (!MeasureQuality(s_.image, decoded, *s_.range, ranged)) return false;
      same = LooksTheSame(ranged);
    }
    verdict = same ? Verdict::kPass : Verdict::kFail;
    return true;
  }

  bool Know(int quality, ConstImageView decoded, uint32_t bytes) {
    if (!Judge(decoded, verdicts_[quality])) return false;
    bytes_[quality] = bytes;
    return true;
  }

  Verdict At(int quality) const { return verdicts_[quality]; }
  uint32_t BytesAt(int quality) const { return bytes_[quality]; }
  int RoundTrips() const { return roundTrips_; }

  // Reads the clock after work that is not a round trip.
  void Mark() { last_ = s_.clock.Now(); }

  Trial Try(int quality) {
    if (verdicts_[quality] != Verdict::kUnknown) return Trial::kDone;
    // The clock's last reading stands for now: only bookkeeping came after it.
    const int64_t began = last_;
    if (s_.budgetMs <= 0 || began - start_ + longest_ > s_.budgetMs) return Trial::kOutOfTime;
    JpegOptions options = s_.options;
    options.quality = quality;
    ByteBlock file;
    if (!EncodeJpeg(s_.image, options, &file).Ok() || file.size() > 0xFFFFFFFFu) return Trial::kFailed;
    if (!ReadJpeg(file.Span(), sink_).Ok()) return Trial::kFailed;
    const ConstImageView decoded = sink_.View();
    if (decoded.width != s_.image.width || decoded.height != s_.image.height) return Trial::kFailed;
    if (!Know(quality, decoded, static_cast<uint32_t>(file.size()))) return Trial::kFailed;
    ++roundTrips_;
    Mark();
    longest_ = std::max(longest_, last_ - began);
    return Trial::kDone;
  }

 private:
  const QualitySearch& s_;
  int64_t start_;
  int64_t last_;
  int64_t longest_ = 0;
  int roundTrips_ = 0;
  Verdict verdicts_[101] = {};
  uint32_t bytes_[101] = {};
  ReusedSink sink_;
};

}  // namespace

SearchClock SteadyClock() { return {SteadyNow, nullptr}; }

QualitySuggestion SuggestQuality(const QualitySearch& search) {
  QualitySuggestion result;
  if (search.image.Empty()) return result;
  Searcher searcher(search);
  // Invariant: `fail` fails (0 stands for "below the scale") and `pass` passes (101: not
  // yet known).
  int fail = 0, pass = 101;
  const int known = search.knownQuality;
  if (!search.knownImage.Empty() && known >= 1 && known <= 100) {
    if (!searcher.Know(known, search.knownImage, search.knownBytes)) return result;
    searcher.Mark();
    (searcher.At(known) == Verdict::kPass ? pass : fail) = known;
  }
  auto finish = [&](SuggestionKind kind) {
    result.kind = kind;
    result.roundTrips = searcher.RoundTrips();
    if (kind == SuggestionKind::kFound || kind == SuggestionKind::kBracket) {
      result.quality = pass;
      result.bytes = searcher.BytesAt(pass);
      for (int q = pass - 1; q >= 1 && result.below == 0; --q)
        if (searcher.At(q) == Verdict::kFail) result.below = q;
    }
    return result;
  };
  auto stopped = [&](Trial trial) {
    if (trial == Trial::kFailed || pass == 101) return finish(SuggestionKind::kUnknown);
    return finish(SuggestionKind::kBracket);
  };

  if (pass == 101) {
    if (fail == 100) return finish(SuggestionKind::kNone);
    if (const Trial t = searcher.Try(100); t != Trial::kDone) return stopped(t);
    if (searcher.At(100) == Verdict::kFail) return finish(SuggestionKind::kNone);
    pass = 100;
  }
  for (;;) {
    while (pass - fail > 1) {
      const int middle = fail + (pass - fail) / 2;
      if (const Trial t = searcher.Try(middle); t != Trial::kDone) return stopped(t);
      (searcher.At(middle) == Verdict::kPass ? pass : fail) = middle;
    }
    // `pass` - 1 is known to fail; a pass at `pass` - 2 reopens the search below it.
    const int next = pass - 2;
    if (next < 1) break;
    if (const Trial t = searcher.Try(next); t != Trial::kDone) return stopped(t);
    if (searcher.At(next) == Verdict::kFail) break;
    pass = next;
    fail = 0;
    for (int q = pass - 1; q >= 1 && fail == 0; --q)
      if (searcher.At(q) == Verdict::kFail) fail = q;
  }
  return finish(SuggestionKind::kFound);
}

}  // namespace pictornx
