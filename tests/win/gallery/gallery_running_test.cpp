// The real gallery.exe in a process of its own, started with each skin shipped in bin\skins as
// its argument: once its window shows, every windowed control on every page answers the skin's
// own message with "skinned".
#include "skin/data/winskindlg.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kCaption[] = "Kestrova Gallery";

std::string ProgramBin() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  folder.resize(folder.find_last_of('\\') + 1);
  return folder + "..\\bin\\";
}

std::string ClassName(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string Text(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
  return TRUE;
}

HWND GalleryWindowOf(DWORD process) {
  std::vector<HWND> windows;
  EnumWindows(&Collect, reinterpret_cast<LPARAM>(&windows));
  for (HWND window : windows) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == process && IsWindowVisible(window) && Text(window) == kCaption)
      return window;
  }
  return nullptr;
}

// The program's own controls on the visible page (and the window's page control and status
// bar): the windows of its classes, whose names start with T, less the skin's overlays.
std::vector<HWND> VisibleControls(HWND main) {
  std::vector<HWND> all, controls;
  EnumChildWindows(main, &Collect, reinterpret_cast<LPARAM>(&all));
  for (HWND child : all)
    if (IsWindowVisible(child) && ClassName(child).rfind('T', 0) == 0 &&
        ClassName(child) != "TWScrollbar")
      controls.push_back(child);
  return controls;
}

template <typename Find> auto WaitFor(Find find, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    auto found = find();
    if (found || GetTickCount() - start >= milliseconds)
      return found;
    Sleep(100);
  }
}

class RunningGallery {
public:
  explicit RunningGallery(const std::string &skin) {
    const std::string exe = ProgramBin() + "gallery.exe";
    std::string command = "\"" + exe + "\" \"" + skin + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info_) != FALSE;
  }
  ~RunningGallery() {
    if (!started_)
      return;
    if (HWND main = GalleryWindowOf(info_.dwProcessId))
      PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0)
      TerminateProcess(info_.hProcess, 1);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  RunningGallery(const RunningGallery &) = delete;
  RunningGallery &operator=(const RunningGallery &) = delete;
  bool Started() const { return started_; }
  DWORD Id() const { return info_.dwProcessId; }

private:
  PROCESS_INFORMATION info_ = {};
  bool started_ = false;
};

std::vector<std::string> ShippedSkins() {
  std::vector<std::string> skins;
  WIN32_FIND_DATAA found{};
  const std::string folder = ProgramBin() + "skins\\";
  HANDLE search = FindFirstFileA((folder + "*.skn").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return skins;
  do
    skins.push_back(folder + found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return skins;
}

TEST(RunningGallery, StartsWithEachShippedSkinWithEveryControlOfEveryPageSkinned) {
  const std::vector<std::string> skins = ShippedSkins();
  ASSERT_FALSE(skins.empty()) << "no skins in bin\\skins";
  for (const std::string &skin : skins) {
    SCOPED_TRACE(skin);
    RunningGallery gallery(skin);
    ASSERT_TRUE(gallery.Started()) << GetLastError();
    HWND main = WaitFor([&] { return GalleryWindowOf(gallery.Id()); }, 30000);
    ASSERT_NE(main, nullptr) << "no gallery window";
    HWND pages = FindWindowExA(main, nullptr, "TPageControl", nullptr);
    ASSERT_NE(pages, nullptr);
    const int count = static_cast<int>(SendMessageA(pages, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(count, 6);
    for (int page = 0; page < count; ++page) {
      SCOPED_TRACE("page " + std::to_string(page));
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
            << ClassName(control) << " \"" << Text(control) << "\"";
      EXPECT_TRUE(all);
    }
  }
}

} // namespace
