// Small helpers the benchmarks share: a clock, the median of the rounds, a failure exit.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

// Seconds on a steady clock, from an arbitrary start.
inline double Seconds() {
  const std::chrono::duration<double> now = std::chrono::steady_clock::now().time_since_epoch();
  return now.count();
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Seconds per call of work() over count calls.
template <class Work> double TimeEach(int count, Work work) {
  const double start = Seconds();
  for (int i = 0; i < count; ++i)
    work();
  return (Seconds() - start) / count;
}

// Calls per batch so that one batch of work() takes about target seconds.
template <class Work> int CallsFor(double target, Work work) {
  int count = 4;
  for (;;) {
    const double each = TimeEach(count, work);
    if (each * count >= 0.05 || count >= (1 << 20))
      return std::max(1, static_cast<int>(target / each));
    count *= 4;
  }
}

[[noreturn]] inline void Fail(const std::string &why) {
  std::printf("FAILED: %s\n", why.c_str());
  std::exit(1);
}

} // namespace bench
