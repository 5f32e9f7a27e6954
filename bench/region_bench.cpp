// Window regions during a drag-resize: a sizeable form under the embedded skin (whose top
// corners are transparent) is resized step by step as the system's size loop does it while its
// bottom-right corner is dragged; the run counts the size changes the window went through and the
// regions the skin cut, which must be one per size change. Then it times one region build (four
// borders turned into regions, united, set on the window) against one paint of the whole skinned
// frame at the same size, both measured in this run.
//
//   region_bench [STEPS [BATCH_MS [BATCHES]]]   (defaults 60, 300 and 6; run under Wine with
//                                                tests/support/wine-exec.sh BUILD region_bench.exe)
//
// The program exits 1 when the window is not skinned, has no cut region, or builds a region
// other than once per size change.
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/form/winskinform.h"

#include "bench/win_bench_support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

HWND watched = nullptr;
int sizeChanges = 0;
SIZE lastSize{0, 0};

// Counts the size changes of the watched window as the window procedure sees them.
LRESULT CALLBACK WatchSizes(int code, WPARAM wParam, LPARAM lParam) {
  const auto *call = reinterpret_cast<const CWPSTRUCT *>(lParam);
  if (code == HC_ACTION && call->hwnd == watched && call->message == WM_WINDOWPOSCHANGED) {
    const auto *pos = reinterpret_cast<const WINDOWPOS *>(call->lParam);
    if ((pos->flags & SWP_NOSIZE) == 0 && (pos->cx != lastSize.cx || pos->cy != lastSize.cy)) {
      lastSize = SIZE{pos->cx, pos->cy};
      ++sizeChanges;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A drag on the bottom-right corner as the system's size loop performs it: entering the loop,
// one SetWindowPos per mouse move (3 by 2 pixels further each time), leaving the loop.
void DragCorner(HWND window, int steps) {
  RECT r{};
  GetWindowRect(window, &r);
  SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
  for (int i = 1; i <= steps; ++i) {
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left + 3 * i, r.bottom - r.top + 2 * i,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(window);
  }
  SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
}

} // namespace

int main(int argc, char **argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const int steps = argc > 1 ? std::max(2, std::atoi(argv[1])) : 60;
  const auto [batchSeconds, batches] = bench::ReadBatchArgs(argc, argv, 2, 300);

  TApplication application(nullptr);
  // The main window loads the embedded skin and starts the manager; then it steps aside.
  TMainForm *mainForm = bench::ShowMainWindow(application);
  if (SkinManager == nullptr)
    bench::Fail("no skin manager: the main form's skin data did not load");
  bench::Settle(300);
  mainForm->Hide();

  TForm *form = new TForm(&application);
  form->SetBorderStyle(TFormBorderStyle::bsSizeable);
  form->SetBounds(80, 60, 420, 300);
  form->SetCaption("Region");
  form->ShowForm();
  const HWND window = form->Handle();
  if (!bench::PumpUntil(
          [window] {
            TWinSkinForm *skin = FindWinSkinForm(window);
            return skin != nullptr && skin->SkinState == 1;
          },
          10000))
    bench::Fail("the sizeable form was not skinned");
  bench::Settle(300);
  TWinSkinForm *skin = FindWinSkinForm(window);
  if (!skin->CutsRegion() || !skin->HasRegion)
    bench::Fail("the skin cuts no region: its side and top borders are opaque");

  // The drag.
  watched = window;
  RECT before{};
  GetWindowRect(window, &before);
  lastSize = SIZE{before.right - before.left, before.bottom - before.top};
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchSizes, nullptr, GetCurrentThreadId());
  const int buildsBefore = skin->RegionBuilds;
  const double dragStart = bench::Seconds();
  DragCorner(window, steps);
  const double dragSeconds = bench::Seconds() - dragStart;
  bench::Settle(200);
  UnhookWindowsHookEx(hook);
  RECT after{};
  GetWindowRect(window, &after);
  const int builds = skin->RegionBuilds - buildsBefore;
  std::printf("drag-resize: %ldx%ld to %ldx%ld in %d steps, %.1f ms\n", before.right - before.left,
              before.bottom - before.top, after.right - after.left, after.bottom - after.top, steps,
              dragSeconds * 1e3);
  std::printf("size changes: %d, regions built: %d (%.2f per size change)\n", sizeChanges, builds,
              sizeChanges > 0 ? static_cast<double>(builds) / sizeChanges : 0.0);
  if (sizeChanges == 0)
    bench::Fail("the drag did not resize the window");
  if (builds != sizeChanges)
    bench::Fail("not one region per size change");

  if (const char *dir = std::getenv("KESTROVA_SHOT_DIR")) {
    // The window after the drag with a margin of what lies around it, for a look at the corners.
    bench::Settle(200);
    TBitmap shot(after.right - after.left + 40, after.bottom - after.top + 40);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, after.left - 20,
           after.top - 20, SRCCOPY);
    ReleaseDC(nullptr, screen);
    shot.SaveToFile(std::string(dir) + "/region-after-drag.bmp");
  }

  // Paints and activation changes build nothing.
  const int quiet = skin->RegionBuilds;
  for (int i = 0; i < 20; ++i) {
    SendMessageA(window, WM_NCPAINT, 1, 0);
    SendMessageA(window, WM_NCACTIVATE, i % 2, 0);
  }
  std::printf("20 frame paints and activation changes: %d regions built\n",
              skin->RegionBuilds - quiet);

  // One region build at this size against one whole-frame paint.
  const auto rebuild = [skin] {
    skin->RegionWidth = 0; // as after a size change
    skin->Cropwindow();
    GdiFlush();
  };
  const auto cut = [skin, &after] {
    skin->BuildRegion(after.right - after.left, after.bottom - after.top);
  };
  const auto paint = [skin] {
    skin->UpdateNc();
    GdiFlush();
  };
  const int buildCount = bench::CallsFor(batchSeconds, rebuild);
  const int cutCount = bench::CallsFor(batchSeconds, cut);
  const int paintCount = bench::CallsFor(batchSeconds, paint);
  std::vector<double> buildTimes, cutTimes, paintTimes;
  for (int b = 0; b < batches; ++b) {
    buildTimes.push_back(bench::TimeEach(buildCount, rebuild));
    cutTimes.push_back(bench::TimeEach(cutCount, cut));
    paintTimes.push_back(bench::TimeEach(paintCount, paint));
  }
  const double buildEach = bench::Median(buildTimes), paintEach = bench::Median(paintTimes);
  const double cutEach = bench::Median(cutTimes);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(window, probe);
  const DWORD rects = (GetRegionData(probe, 0, nullptr) - sizeof(RGNDATAHEADER)) / sizeof(RECT);
  DeleteObject(probe);
  std::printf("region build: %8.1f us (median of %d batches of %d), of which cutting the "
              "borders %.1f us; the region has %lu rectangles\n",
              buildEach * 1e6, batches, buildCount, cutEach * 1e6, rects);
  std::printf("frame paint:  %8.1f us (median of %d batches of %d)\n", paintEach * 1e6, batches,
              paintCount);
  std::printf("ratio region build / frame paint: %.2f\n", buildEach / paintEach);
  return 0;
}
