#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

// Seconds taken by `timed`.
template <typename Timed>
double TimeOf(Timed&& timed) {
  const auto start = std::chrono::steady_clock::now();
  timed();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  if (n == 0) return 0;
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Keeps the compiler from dropping work whose result nobody reads.
inline void KeepAlive(const void* p) {
  asm volatile("" : : "r"(p) : "memory");
}

// Medians of paired rounds; `ratio` is the median of the rounds' own ratios, so that a
// slow spell of the machine weighs on both sides of the round it falls in.
struct PairedTimes {
  double ours = 0;
  double reference = 0;
  double ratio = 0;
};

// Each callable runs its case once and gives the seconds of the timed part. One round
// warms up uncounted; then the two take turns at going first.
template <typename Ours, typename Reference>
PairedTimes RunPaired(int rounds, Ours&& ours, Reference&& reference) {
  ours();
  reference();
  std::vector<double> oursTimes, referenceTimes, ratios;
  for (int round = 0; round < rounds; ++round) {
    double o, r;
    if (round % 2 == 0) {
      o = ours();
      r = reference();
    } else {
      r = reference();
      o = ours();
    }
    oursTimes.push_back(o);
    referenceTimes.push_back(r);
    ratios.push_back(o / r);
  }
  return {Median(oursTimes), Median(referenceTimes), Median(ratios)};
}

// The median over `rounds` runs after one uncounted run; `run` gives its timed seconds.
template <typename Run>
double RunRounds(int rounds, Run&& run) {
  run();
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round)
    times.push_back(run());
  return Median(times);
}

}  // namespace bench
