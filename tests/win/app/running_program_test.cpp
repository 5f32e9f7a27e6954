// The running program seen from outside: Kestrova.exe runs in a process of its own from the
// tree's bin/, and the tests find its main window from another process.
//
// Its controls, asked with the skin's own message, say that the skin paints them.
//
// Its help button, clicked as a person clicks it, opens the HTML Help window that the shell opens
// on bin/help.chm: a top-level window of class "HH Parent" captioned with the first page's title,
// in another process, with the help file's contents in its contents tree.
//
// Under Wine the help window opens with its toolbar and its contents, index and search tabs; the
// page itself is drawn by Wine's HTML engine (mshtml with Wine Gecko), which the harness turns
// off and which Debian does not package, so the page area stays empty there.
//
// KESTROVA_HELP_HOLD_MS=N keeps both windows open N milliseconds before they are closed, long
// enough to take a picture of the display from outside.
#include "skin/data/winskindlg.h"
#include "tests/win/support/running_process.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kMainCaption[] = "Kestrova";
const char kHelpButton[] = "帮助(&H)";
// The first page's title, which the help file's window definition takes as its caption.
const char kHelpTitle[] = "Kestrova 帮助";
const char kHelpClass[] = "HH Parent";

using outside::BinFolder;
using outside::ChildWindows;
using outside::ClassOf;
using outside::ProcessOf;
using outside::TextOf;
using outside::TopLevelWindows;
using outside::WaitFor;

bool FileExists(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

HWND ChildWithText(HWND parent, const std::string &text) {
  for (HWND child : ChildWindows(parent))
    if (TextOf(child) == text)
      return child;
  return nullptr;
}

HWND ChildOfClass(HWND parent, const std::string &name) {
  for (HWND child : ChildWindows(parent))
    if (ClassOf(child) == name)
      return child;
  return nullptr;
}

// The visible main window of process: captioned "Kestrova", with the help button.
HWND MainWindowOf(DWORD process) {
  for (HWND window : TopLevelWindows())
    if (ProcessOf(window) == process && IsWindowVisible(window) && TextOf(window) == kMainCaption &&
        ChildWithText(window, kHelpButton) != nullptr)
      return window;
  return nullptr;
}

std::vector<HWND> HelpWindows() {
  std::vector<HWND> found;
  for (HWND window : TopLevelWindows())
    if (ClassOf(window) == kHelpClass && IsWindowVisible(window))
      found.push_back(window);
  return found;
}

// Closes a window of another process and waits for that process to end; ends it if it will not.
void CloseAndWait(HWND window, DWORD milliseconds) {
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, ProcessOf(window));
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (process == nullptr)
    return;
  if (WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0)
    TerminateProcess(process, 1);
  CloseHandle(process);
}

// A left click at the middle of window, through the system's input queue.
void ClickWithMouse(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  const POINT middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  SetCursorPos(middle.x, middle.y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &input[0], sizeof(INPUT));
  Sleep(100);
  SendInput(1, &input[1], sizeof(INPUT));
}

TEST(RunningProgram, EveryControlOfTheMainWindowIsSkinned) {
  const std::string bin = BinFolder();
  outside::RunningProcess program(bin + "Kestrova.exe");
  ASSERT_TRUE(program.Started()) << "Kestrova.exe did not start: " << GetLastError();
  HWND main = WaitFor([&] { return MainWindowOf(program.Id()); }, 30000);
  ASSERT_NE(main, nullptr) << "no main window";
  // The program's controls are the windows of its own classes ("TButton", "TMemo", ...); the
  // parts of combo boxes are the system's and the scroll-bar overlays the skin's own.
  std::vector<HWND> controls;
  for (HWND child : ChildWindows(main))
    if (ClassOf(child).rfind('T', 0) == 0 && ClassOf(child) != "TWScrollbar")
      controls.push_back(child);
  EXPECT_EQ(controls.size(), 15u);
  // The skin attaches itself a moment after the window shows.
  const bool all = WaitFor(
      [&] {
        for (HWND control : controls)
          if (SendMessageA(control, CN_IsSkinned, 0, 0) != 1)
            return false;
        return true;
      },
      10000);
  EXPECT_TRUE(all);
  for (HWND control : controls) {
    SCOPED_TRACE(ClassOf(control) + " \"" + TextOf(control) + "\"");
    EXPECT_EQ(SendMessageA(control, CN_IsSkinned, 0, 0), 1);
  }
}

TEST(HelpWindow, TheHelpButtonOpensTheHelpFileOnItsFirstPage) {
  const std::string bin = BinFolder();
  ASSERT_TRUE(FileExists(bin + "Kestrova.exe")) << bin;
  ASSERT_TRUE(FileExists(bin + "help.chm")) << "no help file beside the program in " << bin;
  // A help window left open by an earlier run would be taken for this one's.
  for (HWND stale : HelpWindows())
    CloseAndWait(stale, 10000);
  ASSERT_TRUE(HelpWindows().empty());

  outside::RunningProcess program(bin + "Kestrova.exe");
  ASSERT_TRUE(program.Started()) << "Kestrova.exe did not start: " << GetLastError();
  HWND main = WaitFor([&] { return MainWindowOf(program.Id()); }, 30000);
  ASSERT_NE(main, nullptr) << "no main window";
  HWND button = ChildWithText(main, kHelpButton);
  ASSERT_NE(button, nullptr);
  // The skin attaches itself a moment after the window shows; let it settle first.
  Sleep(1000);

  SetForegroundWindow(main);
  RECT r;
  GetWindowRect(button, &r);
  const POINT middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ASSERT_EQ(WindowFromPoint(middle), button) << "something covers the help button";
  ClickWithMouse(button);

  HWND help = WaitFor(
      [] {
        std::vector<HWND> found = HelpWindows();
        return found.empty() ? HWND{} : found.front();
      },
      60000);
  ASSERT_NE(help, nullptr) << "no window of class \"" << kHelpClass << "\" appeared";
  EXPECT_EQ(TextOf(help), kHelpTitle);
  EXPECT_EQ(HelpWindows().size(), 1u);
  // The shell's help viewer, not the program, shows it; the program stays as it was.
  EXPECT_NE(ProcessOf(help), program.Id());
  EXPECT_TRUE(IsWindow(main) && IsWindowVisible(main));

  // The help file's contents fill the contents tree, every entry of toc.hhc.
  HWND tree = WaitFor([&] { return ChildOfClass(help, WC_TREEVIEWA); }, 10000);
  ASSERT_NE(tree, nullptr) << "the help window has no contents tree";
  const LRESULT entries = WaitFor(
      [&] {
        const LRESULT count = SendMessageA(tree, TVM_GETCOUNT, 0, 0);
        return count == KESTROVA_HELP_TOC_ENTRIES ? count : LRESULT{};
      },
      10000);
  EXPECT_EQ(entries, KESTROVA_HELP_TOC_ENTRIES)
      << "the contents tree holds " << SendMessageA(tree, TVM_GETCOUNT, 0, 0) << " entries";

  if (const char *hold = std::getenv("KESTROVA_HELP_HOLD_MS"))
    Sleep(static_cast<DWORD>(std::atoi(hold)));
  CloseAndWait(help, 10000);
  EXPECT_TRUE(HelpWindows().empty());
}

} // namespace
