// Paint cost of the main window, skinned against the same window unskinned, both measured in
// this run (the machines are noisy, so only the ratios mean much): one WM_NCPAINT of the whole
// frame, and one full repaint (frame, client and every child control, erased and painted at
// once as RedrawWindow with RDW_UPDATENOW does it).
//
//   ncpaint_bench [BATCH_MS [BATCHES]]     (defaults 500 and 6; run under Wine with
//                                           tests/support/wine-exec.sh BUILD ncpaint_bench.exe)
//
// Each batch sends WM_NCPAINT (wParam 1) to the window, or repaints it fully, a calibrated
// number of times and flushes GDI inside the timed region; the sides alternate S U U S S U ...
// so that drift cancels, and each side reports the median of its batches. Before timing, a probe
// proves that each side really paints its frame: the frame is overwritten with a sentinel colour,
// one WM_NCPAINT is sent, and the caption pixel read back must be the skin's (skinned) or at least
// repainted and different from the skin's (unskinned). The program exits 1 when a probe fails.
#include "app/mainform1.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/form/winskinform.h"

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
using bench::Median;
using bench::PumpUntil;
using bench::Seconds;
using bench::Settle;

bool IsSkinned(HWND window) {
  TWinSkinForm *skin = FindWinSkinForm(window);
  return skin != nullptr && skin->SkinState == 1;
}

// Skins the window through the manager, as its hook would, and waits for CN_SkinActive.
void Skin(HWND window) {
  SkinManager->Enabled = true;
  if (FindWinSkinForm(window) == nullptr && !SkinManager->AddForm(window))
    Fail("the manager did not take the window");
  if (!PumpUntil([window] { return IsSkinned(window); }, 10000))
    Fail("the window did not become skinned");
  Settle(50); // the repaints the frame change posted
}

// Gives the window its own frame back; the manager stays off so its hook does not re-skin it.
void Unskin(HWND window) {
  SkinManager->Enabled = false;
  // As the manager's unskin-all does: detach (which gives the window its own frame and size
  // back), then free the object, which leaves the manager's list.
  if (TWinSkinForm *skin = FindWinSkinForm(window)) {
    skin->UnSubclass();
    delete skin;
  }
  if (!PumpUntil([window] { return FindWinSkinForm(window) == nullptr; }, 5000))
    Fail("the window is still skinned");
  Settle(50);
}

enum class Paint { Frame, Full };

// Seconds per paint over `count` paints.
double Batch(HWND window, Paint kind, int count) {
  const double start = Seconds();
  for (int i = 0; i < count; ++i) {
    if (kind == Paint::Frame)
      SendMessageA(window, WM_NCPAINT, 1, 0);
    else
      RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  GdiFlush();
  return (Seconds() - start) / count;
}

// Paints per batch so that one batch takes about `target` seconds.
int Calibrate(HWND window, Paint kind, double target) {
  int count = 4;
  for (;;) {
    const double each = Batch(window, kind, count);
    if (each * count >= 0.05 || count >= (1 << 24))
      return std::max(1, static_cast<int>(target / each));
    count *= 4;
  }
}

constexpr COLORREF kSentinel = RGB(1, 254, 3); // a colour no frame of either side shows

// Fills the whole window with the sentinel through the window DC.
void PaintSentinel(HWND window) {
  HDC dc = GetWindowDC(window);
  RECT r;
  GetWindowRect(window, &r);
  const RECT all{0, 0, r.right - r.left, r.bottom - r.top};
  HBRUSH brush = CreateSolidBrush(kSentinel);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  GdiFlush();
  ReleaseDC(window, dc);
}

COLORREF ReadPixel(HWND window, POINT p) {
  HDC dc = GetWindowDC(window);
  GdiFlush();
  const COLORREF colour = GetPixel(dc, p.x, p.y);
  ReleaseDC(window, dc);
  return colour;
}

// Sentinel, one whole-frame paint, then the pixels at the points.
std::vector<COLORREF> PaintAndRead(HWND window, const std::vector<POINT> &points) {
  PaintSentinel(window);
  SendMessageA(window, WM_NCPAINT, 1, 0);
  std::vector<COLORREF> colours;
  for (POINT p : points)
    colours.push_back(ReadPixel(window, p));
  return colours;
}

std::string Hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

SIZE WindowSize(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE ClientSize(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  return SIZE{r.right, r.bottom};
}

// A caption point that only the top border image covers: right of the caption text (and its
// back image), left of the buttons placed from the right, half way down the caption band.
POINT CaptionProbe(TWinSkinForm &skin) {
  const TDataSkinTitle &title = *skin.SkinData->Title;
  const int from = std::max(skin.CaptionTextRight + title.TextBackRight, skin.LeftWidth) + 4;
  const int to =
      (skin.RightButtonsLeft > 0 ? skin.RightButtonsLeft : skin.WindowWidth - skin.RightWidth) - 4;
  if (to <= from)
    Fail("the caption has no free stretch between its text and its buttons to probe");
  return POINT{(from + to) / 2, skin.TopHeight / 2};
}

// What the skin's top border shows at p (window coordinates) for this window's width.
COLORREF SkinTopPixel(TWinSkinForm &skin, POINT p) {
  TBitmap *top =
      skin.BorderImage(3, skin.WindowWidth - skin.LeftWidth - skin.RightWidth, skin.TopHeight);
  if (top == nullptr)
    Fail("the skin has no top border image");
  return GetPixel(top->Canvas().Handle(), p.x - skin.LeftWidth, p.y);
}

} // namespace

int main(int argc, char **argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const auto [batchSeconds, batches] = bench::ReadBatchArgs(argc, argv, 1, 500);

  TApplication application(nullptr);
  TMainForm *form = bench::ShowMainWindow(application);
  const HWND window = form->Handle();
  if (SkinManager == nullptr)
    Fail("no skin manager: the main form's skin data did not load");
  // The manager skins the form through its hook and its deferred "skin all".
  if (!PumpUntil([window] { return IsSkinned(window); }, 10000))
    Fail("the main window was not skinned");
  Settle(500);

  // Probes: the skinned caption shows the skin's top border; the unskinned one repaints too and
  // shows something else there.
  TWinSkinForm *skin = FindWinSkinForm(window);
  const POINT probe = CaptionProbe(*skin);
  const COLORREF expected = SkinTopPixel(*skin, probe);
  const SIZE skinnedSize = WindowSize(window), skinnedClient = ClientSize(window);
  const COLORREF skinned = PaintAndRead(window, {probe})[0];
  if (skinned != expected) {
    char why[160];
    std::snprintf(why, sizeof why,
                  "skinned caption pixel at (%ld,%ld) is %s, the skin's top "
                  "border has %s",
                  probe.x, probe.y, Hex(skinned).c_str(), Hex(expected).c_str());
    Fail(why);
  }
  Unskin(window);
  const SIZE plainSize = WindowSize(window);
  const COLORREF plain = PaintAndRead(window, {probe})[0];
  if (plain == kSentinel)
    Fail("the unskinned window did not repaint its caption");
  if (plain == skinned)
    Fail(std::string("the unskinned caption shows the skinned colour ").append(Hex(plain)));
  std::printf("probe: caption pixel (%ld,%ld) skinned %s (the skin's), unskinned %s\n", probe.x,
              probe.y, Hex(skinned).c_str(), Hex(plain).c_str());
  std::printf("window: skinned %ldx%ld (client %ldx%ld), unskinned %ldx%ld (client %ldx%ld)\n",
              skinnedSize.cx, skinnedSize.cy, skinnedClient.cx, skinnedClient.cy, plainSize.cx,
              plainSize.cy, ClientSize(window).cx, ClientSize(window).cy);

  // Calibrate each side, then alternate S U U S S U ...
  const int plainCount = Calibrate(window, Paint::Frame, batchSeconds);
  const int plainFullCount = Calibrate(window, Paint::Full, batchSeconds);
  Skin(window);
  const int skinnedCount = Calibrate(window, Paint::Frame, batchSeconds);
  const int skinnedFullCount = Calibrate(window, Paint::Full, batchSeconds);
  std::vector<double> plainTimes, skinnedTimes, plainFull, skinnedFull;
  bool isSkinned = true;
  for (int b = 0; b < 2 * batches; ++b) {
    const bool wantSkinned = (b % 4 == 0) || (b % 4 == 3);
    if (wantSkinned != isSkinned) {
      if (wantSkinned)
        Skin(window);
      else
        Unskin(window);
      isSkinned = wantSkinned;
      const SIZE now = WindowSize(window);
      const SIZE was = wantSkinned ? skinnedSize : plainSize;
      if (now.cx != was.cx || now.cy != was.cy)
        std::printf("warning: after a skin cycle the window is %ldx%ld instead of %ldx%ld "
                    "(client %ldx%ld)\n",
                    now.cx, now.cy, was.cx, was.cy, ClientSize(window).cx, ClientSize(window).cy);
    }
    if (wantSkinned) {
      skinnedTimes.push_back(Batch(window, Paint::Frame, skinnedCount));
      skinnedFull.push_back(Batch(window, Paint::Full, skinnedFullCount));
    } else {
      plainTimes.push_back(Batch(window, Paint::Frame, plainCount));
      plainFull.push_back(Batch(window, Paint::Full, plainFullCount));
    }
  }
  if (!isSkinned)
    Skin(window);
  // The last paint of the run must still be the skin's.
  if (PaintAndRead(window, {probe})[0] != expected)
    Fail("the skinned caption lost its skin during the run");

  const auto list = [](const std::vector<double> &times) {
    std::string text;
    for (double t : times) {
      char number[16];
      std::snprintf(number, sizeof number, text.empty() ? "%d" : " %d",
                    static_cast<int>(t * 1e6 + 0.5));
      text.append(number);
    }
    return text;
  };
  const double plainEach = Median(plainTimes), skinnedEach = Median(skinnedTimes);
  std::printf("unskinned: %8.1f us per WM_NCPAINT (median of %zu batches of %d: %s us)\n",
              plainEach * 1e6, plainTimes.size(), plainCount, list(plainTimes).c_str());
  std::printf("skinned:   %8.1f us per WM_NCPAINT (median of %zu batches of %d: %s us)\n",
              skinnedEach * 1e6, skinnedTimes.size(), skinnedCount, list(skinnedTimes).c_str());
  std::printf("ratio skinned/unskinned: %.2f\n", skinnedEach / plainEach);
  const double plainFullEach = Median(plainFull), skinnedFullEach = Median(skinnedFull);
  std::printf("full repaint, unskinned: %8.1f us (median of %zu batches of %d: %s us)\n",
              plainFullEach * 1e6, plainFull.size(), plainFullCount, list(plainFull).c_str());
  std::printf("full repaint, skinned:   %8.1f us (median of %zu batches of %d: %s us)\n",
              skinnedFullEach * 1e6, skinnedFull.size(), skinnedFullCount,
              list(skinnedFull).c_str());
  std::printf("full repaint ratio skinned/unskinned: %.2f (at most 2)\n",
              skinnedFullEach / plainFullEach);
  return 0;
}
