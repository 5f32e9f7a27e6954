// Shared pieces of the application tests: the application object, a watcher that answers the
// windows a handler opens from inside their modal loops, recorders for the program's seams.
#pragma once

#include "app/mainform1.h"

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

// What a message box showed: text, caption (exact bytes) and style rebuilt from its controls
// (buttons MB_OK or MB_YESNO, icon MB_ICONQUESTION or MB_ICONERROR, 0 for anything else).
struct SeenBox {
  std::string text;
  std::string caption;
  UINT style = 0;
};
SeenBox ReadMessageBox(HWND box);

// Looks every 20 ms, from a thread timer (which a modal loop also serves), for top-level
// windows of this thread that have appeared since it started, and hands each one once to
// handle. A handler ends the window's loop itself (posts a button's command, clicks OK).
class ModalWatcher {
public:
  using Handler = std::function<void(HWND window)>;
  explicit ModalWatcher(Handler handle);
  ~ModalWatcher();
  ModalWatcher(const ModalWatcher &) = delete;
  ModalWatcher &operator=(const ModalWatcher &) = delete;

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  static BOOL CALLBACK Visit(HWND window, LPARAM);
  Handler handle_;
  std::set<HWND> known_;
  UINT_PTR timer_ = 0;
  bool busy_ = false;
};

// Message boxes answered in order: each is recorded and gets the next answer (IDOK or IDNO
// once the answers run out).
class MessageBoxAnswerer {
public:
  explicit MessageBoxAnswerer(std::vector<int> answers);
  std::vector<SeenBox> seen;

private:
  std::vector<int> answers_;
  size_t next_ = 0;
  ModalWatcher watcher_;
};

// Records the shell calls and the pauses of the program instead of making them.
struct ShellCall {
  HWND owner;
  std::string verb, file;
  bool parameters, directory;
  INT show;
};
class SeamRecorder {
public:
  SeamRecorder();
  ~SeamRecorder();
  SeamRecorder(const SeamRecorder &) = delete;
  SeamRecorder &operator=(const SeamRecorder &) = delete;
  static std::vector<ShellCall> shellCalls;
  static std::vector<DWORD> pauses;
};

std::string WindowText(HWND window);
std::string ClassOf(HWND window);
// Handles what is waiting in the queue.
void Pump();
