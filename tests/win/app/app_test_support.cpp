#include "tests/win/app/app_test_support.h"

#include "app/appseams.h"

#include <gtest/gtest.h>

namespace {

ModalWatcher *activeWatcher = nullptr;

// One application object for the whole program, as in the real one.
class Environment : public ::testing::Environment {
public:
  void SetUp() override {
    app_ = new TApplication(nullptr);
    RegisterApplicationClasses();
    app_->Initialize();
    app_->SetTitle("Kestrova");
  }
  void TearDown() override { delete app_; }

private:
  TApplication *app_ = nullptr;
};
const auto *const environment = ::testing::AddGlobalTestEnvironment(new Environment);

} // namespace

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

void Pump() {
  Application->ProcessMessages();
}

SeenBox ReadMessageBox(HWND box) {
  SeenBox seen;
  seen.caption = WindowText(box);
  HICON icon = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != "Static")
      continue;
    if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    else if (seen.text.empty())
      seen.text = WindowText(child);
  }
  const bool yes = GetDlgItem(box, IDYES) != nullptr, no = GetDlgItem(box, IDNO) != nullptr;
  const bool ok = GetDlgItem(box, IDOK) != nullptr, cancel = GetDlgItem(box, IDCANCEL) != nullptr;
  if (yes && no && !ok && !cancel)
    seen.style |= MB_YESNO;
  else if (ok && !yes && !no && !cancel)
    seen.style |= MB_OK;
  else
    seen.style |= 0xF; // no button set of ours
  if (icon != nullptr && icon == LoadIconA(nullptr, IDI_QUESTION))
    seen.style |= MB_ICONQUESTION;
  else if (icon != nullptr && icon == LoadIconA(nullptr, IDI_HAND))
    seen.style |= MB_ICONERROR;
  else if (icon != nullptr)
    seen.style |= MB_ICONMASK; // some other icon
  return seen;
}

ModalWatcher::ModalWatcher(Handler handle) : handle_(std::move(handle)) {
  activeWatcher = this;
  EnumThreadWindows(GetCurrentThreadId(), &Visit, 0); // what is there already is not ours
  timer_ = SetTimer(nullptr, 0, 20, &Tick);
}

ModalWatcher::~ModalWatcher() {
  KillTimer(nullptr, timer_);
  activeWatcher = nullptr;
}

BOOL CALLBACK ModalWatcher::Visit(HWND window, LPARAM handleNew) {
  ModalWatcher *self = activeWatcher;
  if (self == nullptr) {
    return FALSE;
  }
  if (handleNew == 0) {
    self->known_.insert(window);
    return TRUE;
  }
  if (self->known_.count(window) == 0 && IsWindowVisible(window) && IsWindowEnabled(window)) {
    self->known_.insert(window);
    self->handle_(window);
  }
  return TRUE;
}

void CALLBACK ModalWatcher::Tick(HWND, UINT, UINT_PTR, DWORD) {
  ModalWatcher *self = activeWatcher;
  if (self == nullptr || self->busy_)
    return;
  // A handler may itself run a modal loop; the next tick must not re-enter it.
  self->busy_ = true;
  EnumThreadWindows(GetCurrentThreadId(), &Visit, 1);
  self->busy_ = false;
}

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers)
    : answers_(std::move(answers)), watcher_([this](HWND window) {
        if (ClassOf(window) != "#32770")
          return;
        SeenBox box = ReadMessageBox(window);
        int answer = (box.style & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
        if (next_ < answers_.size())
          answer = answers_[next_++];
        seen.push_back(box);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
      }) {}

std::vector<ShellCall> SeamRecorder::shellCalls;
std::vector<DWORD> SeamRecorder::pauses;

namespace {
HINSTANCE WINAPI RecordShell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                             LPCSTR directory, INT show) {
  SeamRecorder::shellCalls.push_back({owner, verb != nullptr ? verb : "<null>",
                                      file != nullptr ? file : "<null>", parameters != nullptr,
                                      directory != nullptr, show});
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}
void RecordPause(DWORD milliseconds) {
  SeamRecorder::pauses.push_back(milliseconds);
}
} // namespace

namespace {
TShellExecuteProc savedShellExecute = nullptr;
TPauseProc savedPause = nullptr;
} // namespace

SeamRecorder::SeamRecorder() {
  savedShellExecute = AppShellExecute;
  savedPause = AppPause;
  shellCalls.clear();
  pauses.clear();
  AppShellExecute = &RecordShell;
  AppPause = &RecordPause;
}

SeamRecorder::~SeamRecorder() {
  AppShellExecute = savedShellExecute;
  AppPause = savedPause;
}
