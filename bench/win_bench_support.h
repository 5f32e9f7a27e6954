// What the Windows benchmarks share: a clock, a message pump, medians and a loud exit.
#pragma once

#include "framework/gui/forms.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace bench {

inline double Seconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

// Serves the queue until done() or the timeout; false on timeout.
inline bool PumpUntil(const std::function<bool()> &done, int timeoutMs) {
  const double end = Seconds() + timeoutMs / 1000.0;
  for (;;) {
    Application->ProcessMessages();
    if (done())
      return true;
    if (Seconds() > end)
      return false;
    Sleep(5);
  }
}

inline void Settle(int ms) {
  PumpUntil([] { return false; }, ms);
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Prints why and ends the program with 1: a benchmark whose probe fails measures nothing.
[[noreturn]] inline void Fail(const std::string &why) {
  std::printf("FAILED: %s\n", why.c_str());
  std::exit(1);
}

} // namespace bench
