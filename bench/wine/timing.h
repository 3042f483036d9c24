// What every Wine timing program needs: a millisecond clock and the median of repeated
// runs (the machine may be shared, so medians rather than means).
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace timing {

inline double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

// The median time of `rounds` runs of `run`.
template <typename Fn>
double MedianMs(int rounds, Fn run) {
  std::vector<double> samples;
  for (int i = 0; i < rounds; ++i) {
    const double start = Now();
    run();
    samples.push_back(Now() - start);
  }
  return Median(samples);
}

}  // namespace timing
