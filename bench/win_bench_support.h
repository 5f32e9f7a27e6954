// What the Windows benchmarks add to the shared helpers: the main window, a message pump.
#pragma once

#include "app/mainform1.h"
#include "bench/bench_util.h"
#include "framework/gui/forms.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace bench {

// The main window, made and shown as the program's entry point does it.
inline TMainForm *ShowMainWindow(TApplication &application) {
  RegisterApplicationClasses();
  application.Initialize();
  application.SetTitle("Kestrova");
  TMainForm *form = application.CreateForm<TMainForm>();
  form->ShowForm();
  return form;
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

// The arguments [BATCH_MS [BATCHES]] of a paint benchmark, from argv[first] on: the time a
// batch is calibrated to (at least 10 ms) and the batches per side (at least 2, 6 by default).
struct BatchArgs {
  double seconds;
  int batches;
};
inline BatchArgs ReadBatchArgs(int argc, char **argv, int first, int defaultMs) {
  const int ms = argc > first ? std::max(10, std::atoi(argv[first])) : defaultMs;
  const int batches = argc > first + 1 ? std::max(2, std::atoi(argv[first + 1])) : 6;
  return {ms / 1000.0, batches};
}

// One paint timed on both sides of a ratio. Each side's batch size is calibrated to about
// batchSeconds; then 2 × batches batches alternate S U U S S U ..., switching sides with
// setSkinned (left skinned at the end). GDI is flushed inside the timed region.
struct PaintTimes {
  double plain = 0, skinned = 0; // median seconds per paint
  int plainCount = 0, skinnedCount = 0;
  size_t batchesEach = 0;
};

inline PaintTimes TimeBothSides(const std::function<void()> &paint,
                                const std::function<void(bool)> &setSkinned, double batchSeconds,
                                int batches) {
  auto batch = [&](int count) {
    const auto all = [&] {
      for (int i = 0; i < count; ++i)
        paint();
      GdiFlush();
    };
    return TimeEach(1, all) / count;
  };
  auto calibrate = [&] { return CallsFor(batchSeconds, paint); };
  PaintTimes t;
  setSkinned(false);
  t.plainCount = calibrate();
  setSkinned(true);
  t.skinnedCount = calibrate();
  std::vector<double> plain, skinned;
  bool isSkinned = true;
  for (int b = 0; b < 2 * batches; ++b) {
    const bool wantSkinned = (b % 4 == 0) || (b % 4 == 3);
    if (wantSkinned != isSkinned) {
      setSkinned(wantSkinned);
      isSkinned = wantSkinned;
    }
    (wantSkinned ? skinned : plain).push_back(batch(wantSkinned ? t.skinnedCount : t.plainCount));
  }
  setSkinned(true);
  t.plain = Median(plain);
  t.skinned = Median(skinned);
  t.batchesEach = plain.size();
  return t;
}

inline void PrintTimes(const PaintTimes &t, const char *what) {
  std::printf("unskinned: %8.1f us per %s (median of %zu batches of %d)\n", t.plain * 1e6, what,
              t.batchesEach, t.plainCount);
  std::printf("skinned:   %8.1f us per %s (median of %zu batches of %d)\n", t.skinned * 1e6, what,
              t.batchesEach, t.skinnedCount);
  std::printf("ratio skinned/unskinned: %.2f\n", t.skinned / t.plain);
}

} // namespace bench
