// Paint cost of a skinned scroll bar: the main window's log, long enough to scroll, has its frame
// and vertical scroll bar painted (WM_NCPAINT) by the system and by the skin, both measured in
// this run (the machines are noisy, so only the ratio means much).
//
//   scrollbar_bench [BATCH_MS [BATCHES]]  (defaults 300 and 6; run under Wine with
//                                          tests/support/wine-exec.sh BUILD scrollbar_bench.exe)
//
// Skinned, WM_NCPAINT draws the log's border and repaints the overlay window that lies over the
// scroll bar; unskinned (the skinning object switched off with CN_ControlActive and the overlay
// hidden), the system draws its 3-D border and scroll bar. Sides alternate between batches
// (S U U S S U ...); each reports the median of its batches. Before timing, a probe proves that
// each side paints its own picture: the overlay shows over the scroll bar only while skinned, and
// the middle of the track differs between the two. The program exits 1 when a probe fails.
#include "app/mainform1.h"
#include "framework/gui/stdctrls.h"
#include "skin/controls/winsubclass_scroll.h"
#include "skin/form/winskinform.h"

#include "bench/win_bench_support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Fail;
using bench::PumpUntil;

RECT VerticalBar(HWND memo) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  GetScrollBarInfo(memo, OBJID_VSCROLL, &info);
  return info.rcScrollBar;
}

// The screen's colour in the middle of the scroll bar's track, after a paint.
COLORREF TrackMiddle(HWND memo) {
  SendMessageA(memo, WM_NCPAINT, 1, 0);
  GdiFlush();
  const RECT bar = VerticalBar(memo);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, (bar.left + bar.right) / 2, bar.bottom - 30);
  ReleaseDC(nullptr, screen);
  return colour;
}

void SetSkinned(HWND memo, TSkinScrollbar &skin, bool on) {
  SendMessageA(memo, CN_ControlActive, on ? 1 : 0, 0);
  if (on)
    skin.VScroll->SetPosition(memo);
  else
    skin.VScroll->HideScrollbar();
  bench::Settle(50);
}

} // namespace

int main(int argc, char **argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const auto [batchSeconds, batches] = bench::ReadBatchArgs(argc, argv, 1, 300);

  TApplication application(nullptr);
  TMainForm *form = bench::ShowMainWindow(application);
  const HWND memo = form->Memo1->Handle();
  std::string log;
  for (int i = 1; i <= 300; ++i)
    log += "log line " + std::to_string(i) + "\r\n";
  form->Memo1->SetText(log);
  if (!PumpUntil([memo] { return SendMessageA(memo, CN_IsSkinned, 0, 0) == 1; }, 10000))
    Fail("the log was not skinned");
  auto *skin = dynamic_cast<TSkinScrollbar *>(FindWinSkinForm(form->Handle())->Lookupcontrol(memo));
  if (skin == nullptr || skin->VScroll == nullptr ||
      !PumpUntil([skin] { return skin->VScroll->Shown; }, 5000))
    Fail("the log's scroll bar has no overlay");

  // Probes: the overlay over the scroll bar only while skinned, and a different picture.
  RECT overlay, bar = VerticalBar(memo);
  GetWindowRect(skin->VScroll->Handle, &overlay);
  if (!EqualRect(&overlay, &bar))
    Fail("the overlay does not lie over the scroll bar");
  const COLORREF skinned = TrackMiddle(memo);
  SetSkinned(memo, *skin, false);
  if (IsWindowVisible(skin->VScroll->Handle))
    Fail("the overlay shows while unskinned");
  const COLORREF plain = TrackMiddle(memo);
  if (plain == skinned)
    Fail("the skinned and the system's scroll bar look the same");
  std::printf("probe: track middle skinned #%06lX, unskinned #%06lX; scroll bar %ldx%ld\n", skinned,
              plain, bar.right - bar.left, bar.bottom - bar.top);

  const bench::PaintTimes t = bench::TimeBothSides(
      [memo] { SendMessageA(memo, WM_NCPAINT, 1, 0); },
      [memo, skin](bool on) { SetSkinned(memo, *skin, on); }, batchSeconds, batches);
  if (TrackMiddle(memo) != skinned)
    Fail("the scroll bar lost its skin during the run");

  bench::PrintTimes(t, "WM_NCPAINT");
  return 0;
}
