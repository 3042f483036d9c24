// Test images and straightforward reference implementations of the resampling formulas,
// written pixel by pixel exactly as the rules read. The kernels must give the same bytes.
// Shared by the resampling tests and benchmarks.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "pixels/image_buffer.h"
#include "pixels/resample.h"

namespace pictornx::testing {

// splitmix64: small, fast and the same everywhere.
class TestRandom {
 public:
  explicit TestRandom(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

 private:
  uint64_t state_;
};

// Every byte random, padding zero.
inline ImageBuffer RandomImage(int width, int height, uint64_t seed) {
  ImageBuffer image(width, height);
  TestRandom random(seed);
  uint64_t bits = 0;
  for (int y = 0; y < height; ++y) {
    for (int i = 0; i < width * 3; ++i, bits >>= 8) {
      if (i % 8 == 0) bits = random.Next();
      image.View().Row(y)[i] = static_cast<uint8_t>(bits);
    }
  }
  return image;
}

inline ImageBuffer UniformImage(int width, int height, uint8_t b, uint8_t g, uint8_t r) {
  ImageBuffer image(width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.View().Row(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = b;
      row[3 * x + 1] = g;
      row[3 * x + 2] = r;
    }
  }
  return image;
}

// Something like a photograph: smooth gradients and shading, a few objects with hard
// edges, fine stripes, and a little sensor noise. Deterministic for a given seed.
inline ImageBuffer PhotoLikeImage(int width, int height, uint64_t seed) {
  ImageBuffer image(width, height);
  TestRandom random(seed);
  struct Disc {
    double cx, cy, radius;
    int b, g, r;
  };
  Disc discs[6];
  for (Disc& d : discs) {
    d = {random.Below(1000) / 1000.0 * width,
         random.Below(1000) / 1000.0 * height,
         (0.05 + random.Below(1000) / 5000.0) * std::min(width, height),
         random.Below(256),
         random.Below(256),
         random.Below(256)};
  }
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.View().TopRow(y);
    const double v = static_cast<double>(y) / height;
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width;
      // Sky-to-ground gradients with soft shading.
      double c[3] = {200 * (1 - v) + 40 * std::sin(6 * u + 2 * v),
                     150 - 60 * v + 30 * std::cos(9 * u * v),
                     80 + 120 * v * u + 25 * std::sin(11 * v)};
      for (const Disc& d : discs) {
        const double dx = x - d.cx, dy = y - d.cy;
        if (dx * dx + dy * dy < d.radius * d.radius) {
          const double shade = 0.7 + 0.3 * (dx + dy) / (2 * d.radius);
          c[0] = d.b * shade;
          c[1] = d.g * shade;
          c[2] = d.r * shade;
        }
      }
      // A patch of fine stripes, the kind of detail resampling aliases.
      if (u > 0.6 && u < 0.9 && v > 0.1 && v < 0.3 && (x / 2 + y / 3) % 2 == 0)
        c[0] = c[1] = c[2] = 250;
      for (int ch = 0; ch < 3; ++ch) {
        const double noisy = c[ch] + random.Below(13) - 6;
        row[3 * x + ch] = static_cast<uint8_t>(std::clamp(noisy, 0.0, 255.0));
      }
    }
  }
  return image;
}

// The averaging rule, pixel pair by pixel pair, weights recomputed for every pair.
inline double ReferenceAverageWeight(int j, int first, int last, int d, double s) {
  if (j == first) return (j + 1) * s - std::floor(j * s);
  if (j == last) return (d + 1) - j * s;
  return s;
}

inline void ReferenceBoxAverage(ConstImageView source, ImageView view) {
  const double sx = static_cast<double>(view.width) / source.width;
  const double sy = static_cast<double>(view.height) / source.height;
  for (int yv = 0; yv < view.height; ++yv) {
    const int y0 = static_cast<int>(std::floor(yv * (1 / sy)));
    const int y1 = static_cast<int>(std::ceil((yv + 1) * (1 / sy))) - 1;
    for (int xv = 0; xv < view.width; ++xv) {
      const int x0 = static_cast<int>(std::floor(xv * (1 / sx)));
      const int x1 = static_cast<int>(std::ceil((xv + 1) * (1 / sx))) - 1;
      double sum[3] = {0, 0, 0}, weightSum = 0;
      for (int k = y0; k <= y1; ++k) {
        for (int j = x0; j <= x1; ++j) {
          if (j >= source.width || k >= source.height) continue;
          const double w =
              ReferenceAverageWeight(j, x0, x1, xv, sx) * ReferenceAverageWeight(k, y0, y1, yv, sy);
          for (int c = 0; c < 3; ++c) sum[c] += w * source.Row(k)[3 * j + c];
          weightSum += w;
        }
      }
      for (int c = 0; c < 3; ++c)
        view.Row(yv)[3 * xv + c] =
            static_cast<uint8_t>(static_cast<int>(sum[c] / weightSum + kAverageTolerance));
    }
  }
}

// The correction blend from three separate stretches and the byte formula in doubles.
inline bool ReferenceCorrectionBlend(ConstImageView source, ImageView view) {
  ImageBuffer nearest(view.width, view.height), anded(view.width, view.height),
      ored(view.width, view.height);
  if (!StretchNearest(source, nearest.View()) ||
      !StretchCombined(source, anded.View(), StretchCombine::kAnd) ||
      !StretchCombined(source, ored.View(), StretchCombine::kOr))
    return false;
  for (int y = 0; y < view.height; ++y) {
    for (int i = 0; i < view.width * 3; ++i) {
      const int d = (nearest.View().Row(y)[i] + anded.View().Row(y)[i]) >> 1;
      const int o = ored.View().Row(y)[i];
      view.Row(y)[i] = static_cast<uint8_t>(static_cast<int>(1.2 * o + 0.8 * d) >> 1);
    }
  }
  return true;
}

// The sharpening rule: visit the 3 x 3 neighbourhood in order, count what is inside, add
// the last inside position once more.
inline void ReferenceSharpen(ImageView image) {
  ImageBuffer copy(image.width, image.height);
  for (int y = 0; y < image.height; ++y)
    std::memcpy(copy.View().Row(y), image.Row(y), image.width * 3u);
  const ConstImageView original = copy.View();
  for (int i = 0; i < image.height; ++i) {
    for (int j = 0; j < image.width; ++j) {
      int sum[3] = {0, 0, 0}, n = 0, lastRow = -1, lastColumn = -1;
      for (int r = i - 1; r <= i + 1; ++r) {
        for (int c = j - 1; c <= j + 1; ++c) {
          if (r < 0 || c < 0 || r >= image.height || c >= image.width) continue;
          for (int ch = 0; ch < 3; ++ch) sum[ch] += original.Row(r)[3 * c + ch];
          ++n;
          lastRow = r;
          lastColumn = c;
        }
      }
      for (int ch = 0; ch < 3; ++ch) {
        const int blur = (sum[ch] + original.Row(lastRow)[3 * lastColumn + ch]) / (n + 1);
        image.Row(i)[3 * j + ch] =
            static_cast<uint8_t>(std::clamp(2 * original.Row(i)[3 * j + ch] - blur, 0, 255));
      }
    }
  }
}

}  // namespace pictornx::testing
