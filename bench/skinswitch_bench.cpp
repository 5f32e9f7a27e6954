// One live skin switch in the gallery with every page's controls and the MDI window open: the
// skin file read into the model, every skinned window taking the new skin, and the repaint of
// all of them, each timed. Run it under Wine from the tree that built the gallery (it reads
// the tree's bin\skins\).
//
//   skinswitch_bench [ROUNDS]     (default 10; one warm-up switch is not counted)
#include "bench/bench_util.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/filenames.h"
#include "gallery/galleryform.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/form/winskinform.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Median;
using bench::Seconds;

void Settle(int ms) {
  const double end = Seconds() + ms / 1000.0;
  while (Seconds() < end) {
    Application->ProcessMessages();
    Sleep(2);
  }
}

BOOL CALLBACK RepaintWindow(HWND window, LPARAM) {
  if (IsWindowVisible(window))
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

} // namespace

int main(int argc, char **argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  TApplication application(nullptr);
  RegisterGalleryClasses();
  application.Initialize();
  TGalleryForm *form = application.CreateForm<TGalleryForm>();
  form->ShowForm();
  Settle(600);
  for (int i = 0; i < form->PageControl1->PageCount(); ++i) {
    form->PageControl1->SetActivePageIndex(i);
    Settle(50);
  }
  form->ShowMDIWindow();
  Settle(600);

  // The skins shipped beside the gallery, in the tree's bin\skins (this runs from bench\).
  const std::vector<std::string> skins =
      TGalleryForm::SkinFilesIn(ProgramFolder() + "..\\bin\\skins\\");
  if (skins.size() < 2) {
    std::fprintf(stderr, "skinswitch_bench: needs two skins in bin\\skins, found %zu\n",
                 skins.size());
    return 1;
  }
  std::vector<double> load, apply, repaint, total;
  for (int round = 0; round <= rounds; ++round) {
    const std::string &file = skins[static_cast<size_t>(round) % 2];
    const double t0 = Seconds();
    if (!form->SkinData1->LoadFromFile(file)) {
      std::fprintf(stderr, "skinswitch_bench: cannot load %s\n", file.c_str());
      return 1;
    }
    const double t1 = Seconds();
    // The manager's deferred action, run now rather than after its delay.
    TTimer *timer = SkinManager->Timer;
    timer->SetEnabled(false);
    timer->OnTimer()(timer);
    const double t2 = Seconds();
    EnumThreadWindows(GetCurrentThreadId(), &RepaintWindow, 0);
    GdiFlush();
    const double t3 = Seconds();
    if (round > 0) {
      load.push_back(t1 - t0);
      apply.push_back(t2 - t1);
      repaint.push_back(t3 - t2);
      total.push_back(t3 - t0);
    }
    Settle(30);
  }
  std::printf("live skin switch, gallery with %d pages and its MDI window, %d switches:\n",
              form->PageControl1->PageCount(), rounds);
  std::printf("  read the skin file into the model  %8.2f ms\n", Median(load) * 1e3);
  std::printf("  every window takes the new skin    %8.2f ms\n", Median(apply) * 1e3);
  std::printf("  repaint of every window            %8.2f ms\n", Median(repaint) * 1e3);
  std::printf("  one live switch (median)           %8.2f ms\n", Median(total) * 1e3);
  return 0;
}
