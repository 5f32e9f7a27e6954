// Pictures of the program for looking at: the main window, the About box, the open-file and
// folder dialogs and every message box of a scripted series of runs, each written as a BMP of
// what the screen shows. screenshot.sh runs it under Wine and turns the BMPs into PNGs.
//
//   kestrova_screenshot OUTPUT_FOLDER
#include "app/mainform1.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

std::string outputFolder;
int shotNumber = 0;

// The window's rectangle as the screen shows it, frame included, as a 24-bit BMP file.
void Capture(HWND window, const std::string &name) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  // Let the window finish laying itself out and painting (this may run inside its modal loop;
  // the watcher does not re-enter itself meanwhile).
  for (int i = 0; i < 25; ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    GdiFlush();
    Sleep(20);
  }
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height; // bottom-up, as a BMP file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  const DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageSize;
  char number[8];
  std::snprintf(number, sizeof number, "%02d-", ++shotNumber);
  const std::string path = outputFolder + "\\" + number + name + ".bmp";
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(&file), sizeof file);
  out.write(reinterpret_cast<const char *>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
  out.write(static_cast<const char *>(bits), static_cast<std::streamsize>(imageSize));
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::printf("%s\n", path.c_str());
}

// Hands each new visible top-level window of the thread once to a handler, from a thread
// timer that the modal loops of dialogs and message boxes serve too.
class Watcher {
public:
  explicit Watcher(std::function<void(HWND)> handle) : handle_(std::move(handle)) {
    current_ = this;
    EnumThreadWindows(GetCurrentThreadId(), &Remember, 0);
    timer_ = SetTimer(nullptr, 0, 50, &Tick);
  }
  ~Watcher() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }

private:
  static BOOL CALLBACK Remember(HWND window, LPARAM) {
    current_->known_.insert(window);
    return TRUE;
  }
  static BOOL CALLBACK Visit(HWND window, LPARAM) {
    if (current_->known_.count(window) == 0 && IsWindowVisible(window) && IsWindowEnabled(window)) {
      current_->known_.insert(window);
      current_->handle_(window);
    }
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_ == nullptr || current_->busy_)
      return;
    current_->busy_ = true;
    EnumThreadWindows(GetCurrentThreadId(), &Visit, 0);
    current_->busy_ = false;
  }
  static inline Watcher *current_ = nullptr;
  std::function<void(HWND)> handle_;
  std::set<HWND> known_;
  UINT_PTR timer_ = 0;
  bool busy_ = false;
};

// Photographs every window the action opens, under the next of names (after preparing it), and
// closes it with the given command.
void Shoot(const std::function<void()> &action, std::vector<std::string> names, WPARAM command,
           const std::function<void(HWND)> &prepare = nullptr) {
  size_t next = 0;
  Watcher watcher([&](HWND window) {
    if (prepare)
      prepare(window);
    Capture(window, next < names.size() ? names[next++] : "window");
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770")
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    else // a form of ours: as its close box
      PostMessageA(window, WM_CLOSE, 0, 0);
  });
  action();
}

// The file list of an open-file dialog in its details view: columns under a header.
void ShowDetails(HWND dialog) {
  constexpr WPARAM kDetailsView = 0x702C; // the shell view's "Details" command
  if (HWND view = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr))
    SendMessageA(view, WM_COMMAND, kDetailsView, 0);
}

void Settle() {
  for (int i = 0; i < 20; ++i) {
    Application->ProcessMessages();
    Sleep(20);
  }
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: kestrova_screenshot OUTPUT_FOLDER\n");
    return 2;
  }
  outputFolder = argv[1];
  setvbuf(stdout, nullptr, _IONBF, 0);
  CreateDirectoryA(outputFolder.c_str(), nullptr);
  TApplication application(nullptr);
  RegisterApplicationClasses();
  application.Initialize();
  application.SetTitle("Kestrova");
  TMainForm *form = application.CreateForm<TMainForm>();
  form->ShowForm();
  Settle();

  // Two documents to convert, in a scratch folder.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string scratch = std::string(temp) + "kestrova_screenshot";
  CreateDirectoryA(scratch.c_str(), nullptr);
  for (const char *name : {"\\季度报告.doc", "\\会议纪要.doc"}) {
    std::ofstream(scratch + name, std::ios::binary) << "document";
    form->ListBox1->Items()->Add(scratch + name);
  }
  Capture(form->Handle(), "mainform");

  Shoot([&] { form->Button6Click(form); }, {"aboutbox"}, IDOK);
  Shoot([&] { form->Button1Click(form); }, {"opendialog"}, IDCANCEL);
  Shoot([&] { form->Button8Click(form); }, {"folderbrowser"}, IDCANCEL);

  // Each message box of a run, one scripted run per box.
  form->Edit1->SetText(scratch + "\\missing");
  Shoot([&] { form->Button3Click(form); }, {"box-ask-create"}, IDNO);
  form->Edit1->SetText(scratch + "\\missing\\deeper");
  Shoot([&] { form->Button3Click(form); }, {"box-ask-create-deeper", "box-create-failed"}, IDYES);
  form->Edit1->SetText(scratch);
  form->CheckBox2->SetChecked(true);
  form->CheckBox2Click(form);
  form->Edit3->SetText("abc");
  Shoot([&] { form->Button3Click(form); }, {"box-start-number"}, IDOK);
  form->Edit3->SetText("1");
  form->Edit2->SetText("  ");
  Shoot([&] { form->Button3Click(form); }, {"box-base-name"}, IDOK);
  form->Edit2->SetText("稿件");
  TStrings *items = form->ListBox1->Items();
  std::vector<std::string> saved;
  for (int i = 0; i < items->Count(); ++i)
    saved.push_back(items->Strings(i));
  items->Clear();
  Shoot([&] { form->Button3Click(form); }, {"box-list-empty"}, IDOK);
  for (const std::string &s : saved)
    items->Add(s);

  // A whole run (with Word, or with the stand-in of the test prefix) and its log.
  form->Button3Click(form);
  Settle();
  Capture(form->Handle(), "mainform-after-run");

  // A long run: enough documents for the list and the log to scroll; the open-file dialog in
  // that folder, in its details view.
  for (int i = 1; i <= 40; ++i) {
    const std::string name = scratch + "\\文档" + std::to_string(i) + ".doc";
    std::ofstream(name, std::ios::binary) << "document";
    items->Add(name);
  }
  form->Button3Click(form);
  Settle();
  Capture(form->Handle(), "mainform-long-log");
  form->OpenDialog1->SetInitialDir(scratch);
  Shoot([&] { form->Button1Click(form); }, {"opendialog-details"}, IDCANCEL, ShowDetails);

  // The control states: the mouse over the help button and the combo box hot, then the About
  // button held down (pressed and focused).
  HWND help = form->Button4->Handle(), about = form->Button6->Handle();
  RECT helpRect;
  GetWindowRect(help, &helpRect);
  SetCursorPos(helpRect.left + 10, helpRect.top + 10);
  SendMessageA(help, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  form->ComboBox1->Perform(CM_MOUSEENTER, 0, 0);
  Settle();
  Capture(form->Handle(), "mainform-hot");
  SendMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  Settle();
  Capture(form->Handle(), "mainform-pressed");
  // Let go outside the button: no click.
  SendMessageA(about, WM_LBUTTONUP, 0, MAKELPARAM(-100, -100));
  Settle();
  return 0;
}
