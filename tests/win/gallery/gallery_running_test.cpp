// The real gallery.exe in a process of its own, started with each skin shipped in bin\skins as
// its argument: once its window shows, every windowed control on every page answers the skin's
// own message with "skinned".
#include "gallery/galleryform.h"
#include "skin/data/winskindlg.h"
#include "tests/win/support/running_process.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kCaption[] = "Kestrova Gallery";

using outside::ClassOf;
using outside::TextOf;
using outside::WaitFor;

HWND GalleryWindowOf(DWORD process) {
  for (HWND window : outside::TopLevelWindows())
    if (outside::ProcessOf(window) == process && IsWindowVisible(window) &&
        TextOf(window) == kCaption)
      return window;
  return nullptr;
}

// The program's own controls on the visible page (and the window's page control and status
// bar): the windows of its classes, whose names start with T, less the skin's overlays.
std::vector<HWND> VisibleControls(HWND main) {
  std::vector<HWND> controls;
  for (HWND child : outside::ChildWindows(main))
    if (IsWindowVisible(child) && ClassOf(child).rfind('T', 0) == 0 &&
        ClassOf(child) != "TWScrollbar")
      controls.push_back(child);
  return controls;
}

TEST(RunningGallery, StartsWithEachShippedSkinWithEveryControlOfEveryPageSkinned) {
  const std::vector<std::string> skins =
      TGalleryForm::SkinFilesIn(outside::BinFolder() + "skins\\");
  ASSERT_FALSE(skins.empty()) << "no skins in bin\\skins";
  for (const std::string &skin : skins) {
    SCOPED_TRACE(skin);
    outside::RunningProcess gallery(outside::BinFolder() + "gallery.exe", "\"" + skin + "\"");
    ASSERT_TRUE(gallery.Started()) << GetLastError();
    HWND main = WaitFor([&] { return GalleryWindowOf(gallery.Id()); }, 30000);
    ASSERT_NE(main, nullptr) << "no gallery window";
    HWND pages = FindWindowExA(main, nullptr, "TPageControl", nullptr);
    ASSERT_NE(pages, nullptr);
    const int count = static_cast<int>(SendMessageA(pages, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(count, 7);
    for (int page = 0; page < count; ++page) {
      SCOPED_TRACE(testing::Message() << "page " << page);
      // As a click on the tab does: the page control is told the selection changed.
      SendMessageA(pages, TCM_SETCURFOCUS, static_cast<WPARAM>(page), 0);
      std::vector<HWND> controls;
      const bool all = WaitFor(
          [&] {
            controls = VisibleControls(main);
            for (HWND control : controls)
              if (SendMessageA(control, CN_IsSkinned, 0, 0) != 1)
                return false;
            return controls.size() > 3;
          },
          10000);
      for (HWND control : controls)
        EXPECT_EQ(SendMessageA(control, CN_IsSkinned, 0, 0), 1)
            << ClassOf(control) << " \"" << TextOf(control) << "\"";
      EXPECT_TRUE(all);
    }
  }
}

} // namespace
