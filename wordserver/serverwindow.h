// The server's small window, shown while the Application is Visible: the open documents and
// what the server is doing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ServerWindow {
public:
  ServerWindow();
  ~ServerWindow();
  ServerWindow(const ServerWindow &) = delete;
  ServerWindow &operator=(const ServerWindow &) = delete;

  void Show(bool visible);
  bool Visible() const { return visible_; }
  // Shows `text` as the current activity; painted at once, since a conversion blocks the loop.
  void Status(const std::wstring &text);
  void Documents(const std::vector<std::wstring> &names);
  HWND Handle() const { return window_; }

private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Layout();

  HWND window_ = nullptr;
  HWND list_ = nullptr;
  HWND status_ = nullptr;
  HFONT font_ = nullptr;
  bool visible_ = false;
};
