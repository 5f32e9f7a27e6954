// A program of the tree's bin\ folder started in a process of its own, and what a test needs to
// look at its windows from outside: texts, classes, owners, and waiting for them to appear.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace outside {

inline std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

inline std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

inline DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

// The tree's bin\ folder: the tests live in tests\ beside it.
inline std::string BinFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  folder.resize(folder.find_last_of('\\') + 1);
  return folder + "..\\bin\\";
}

inline BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
  return TRUE;
}

inline std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

inline std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(parent, &CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Polls find every 100 ms for up to milliseconds; its last answer.
template <typename Find> auto WaitFor(Find find, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    auto found = find();
    if (found || GetTickCount() - start >= milliseconds)
      return found;
    Sleep(100);
  }
}

// The program's process, ended with the test whatever happens: its visible windows are asked
// to close, and the process is ended if it has not gone 10 seconds later.
class RunningProcess {
public:
  explicit RunningProcess(const std::string &exe, const std::string &arguments = "") {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = "\"" + exe + "\"";
    if (!arguments.empty())
      command += " " + arguments;
    started_ = CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info_) != FALSE;
    if (started_)
      WaitForInputIdle(info_.hProcess, 10000);
  }
  ~RunningProcess() {
    if (!started_)
      return;
    for (HWND window : TopLevelWindows())
      if (ProcessOf(window) == info_.dwProcessId && IsWindowVisible(window))
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0)
      TerminateProcess(info_.hProcess, 1);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  RunningProcess(const RunningProcess &) = delete;
  RunningProcess &operator=(const RunningProcess &) = delete;
  bool Started() const { return started_; }
  DWORD Id() const { return info_.dwProcessId; }

private:
  PROCESS_INFORMATION info_ = {};
  bool started_ = false;
};

} // namespace outside
