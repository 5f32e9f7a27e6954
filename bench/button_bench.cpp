// Paint cost of a skinned push button: one WM_PAINT of the main window's start button drawn
// from the skin against the same button drawing itself, both measured in this run (the machines
// are noisy, so only the ratio means much).
//
//   button_bench [BATCH_MS [BATCHES]]     (defaults 300 and 6; run under Wine with
//                                          tests/support/wine-exec.sh BUILD button_bench.exe)
//
// The button's skinning is switched off and on with CN_ControlActive between batches (S U U S
// S U ...), so both sides paint the same window at the same size. A batch invalidates and
// updates the button a calibrated number of times and flushes GDI inside the timed region; each
// side reports the median of its batches. Before timing, a probe proves that each side paints:
// the skinned button shows the skin's normal frame at its left edge, the unskinned one the
// system's face. The program exits 1 when a probe fails.
#include "app/mainform1.h"
#include "skin/controls/winsubclass.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_draw.h"

#include "bench/win_bench_support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using bench::Fail;
using bench::PumpUntil;

COLORREF LeftEdgePixel(HWND button) {
  InvalidateRect(button, nullptr, TRUE);
  UpdateWindow(button);
  HDC dc = GetWindowDC(button);
  GdiFlush();
  const COLORREF colour = GetPixel(dc, 2, 12);
  ReleaseDC(button, dc);
  return colour;
}

void SetSkinned(HWND button, bool on) {
  SendMessageA(button, CN_ControlActive, on ? 1 : 0, 0);
  InvalidateRect(button, nullptr, TRUE);
  UpdateWindow(button);
}

} // namespace

int main(int argc, char **argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const auto [batchSeconds, batches] = bench::ReadBatchArgs(argc, argv, 1, 300);

  TApplication application(nullptr);
  TMainForm *form = bench::ShowMainWindow(application);
  const HWND button = form->Button3->Handle();
  if (!PumpUntil([button] { return SendMessageA(button, CN_IsSkinned, 0, 0) == 1; }, 10000))
    Fail("the start button was not skinned");
  form->Edit1->SetFocus(); // the button in its normal state
  PumpUntil([] { return false; }, 300);

  // Probes: the skin's normal frame at the left edge, and the system's face without the skin.
  TSkinData *data = FindWinSkinForm(form->Handle())->SkinData;
  RECT r;
  GetWindowRect(button, &r);
  const RECT at{0, 0, r.right - r.left, r.bottom - r.top};
  std::unique_ptr<TBitmap> frame = GetHMap(at, *data->Button->Image, data->Button->Margins, 1,
                                           data->Button->Frames(), data->Button->Tile != 0, false);
  const COLORREF expected = GetPixel(frame->Canvas().Handle(), 2, 12);
  const COLORREF skinned = LeftEdgePixel(button);
  SetSkinned(button, false);
  const COLORREF plain = LeftEdgePixel(button);
  if (skinned != expected)
    Fail("the skinned button does not show the skin's normal frame");
  if (plain == skinned)
    Fail("the unskinned button shows the skinned colour");
  std::printf("probe: left edge skinned #%06lX (the skin's), unskinned #%06lX; button %ldx%ld\n",
              skinned, plain, at.right, at.bottom);

  const bench::PaintTimes t = bench::TimeBothSides(
      [button] {
        InvalidateRect(button, nullptr, TRUE);
        UpdateWindow(button);
      },
      [button](bool on) { SetSkinned(button, on); }, batchSeconds, batches);
  if (LeftEdgePixel(button) != expected)
    Fail("the skinned button lost its skin during the run");

  bench::PrintTimes(t, "WM_PAINT");
  return 0;
}
