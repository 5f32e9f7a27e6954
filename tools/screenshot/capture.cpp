// Pictures of windows as the screen shows them, for the screenshot programs.
#include "tools/screenshot/capture.h"

#include "framework/gui/forms.h"

#include <cstdio>
#include <fstream>
#include <set>

namespace {

std::string outputFolder;
int shotNumber = 0;

} // namespace

void SetCaptureFolder(const std::string &folder, int firstNumber) {
  outputFolder = folder;
  shotNumber = firstNumber - 1;
  CreateDirectoryA(folder.c_str(), nullptr);
}

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

namespace {

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

} // namespace

// Photographs every window the action opens, under the next of names (after preparing it), and
// closes it with the given command.
void Shoot(const std::function<void()> &action, std::vector<std::string> names, WPARAM command,
           const std::function<void(HWND)> &prepare) {
  size_t next = 0;
  Watcher watcher([&](HWND window) {
    if (prepare)
      prepare(window);
    Capture(window, next < names.size() ? names[next++] : "window");
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770")
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    else if (std::string(className) == "#32768") // a menu that tracks
      EndMenu();
    else // a form of ours: as its close box
      PostMessageA(window, WM_CLOSE, 0, 0);
  });
  action();
}

void Settle() {
  for (int i = 0; i < 20; ++i) {
    Application->ProcessMessages();
    Sleep(20);
  }
}
