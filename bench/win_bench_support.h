// What the Windows benchmarks add to the shared helpers: the main window, a message pump.
#pragma once

#include "app/mainform1.h"
#include "bench/bench_util.h"
#include "framework/gui/forms.h"

#include <windows.h>

#include <functional>

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

} // namespace bench
