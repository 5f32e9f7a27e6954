#include "wordserver/serverwindow.h"

namespace {

const wchar_t kClassName[] = L"KestrovaWordServer";
const wchar_t kTitle[] = L"Kestrova Word - LibreOffice 文档转换";
constexpr int kMargin = 8;
constexpr int kStatusHeight = 22;

void RegisterOnce() {
  static bool registered = false;
  if (registered)
    return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
  registered = true;
}

} // namespace

ServerWindow::ServerWindow() {
  RegisterOnce();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  window_ = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 460, 260, nullptr, nullptr, instance, nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ServerWindow::Proc));
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0,
                          window_, nullptr, instance, nullptr);
  status_ = CreateWindowExW(0, L"STATIC", L"就绪", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 0,
                            0, 0, 0, window_, nullptr, instance, nullptr);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);
  for (HWND child : {list_, status_})
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  Layout();
}

ServerWindow::~ServerWindow() {
  if (window_)
    DestroyWindow(window_);
  if (font_)
    DeleteObject(font_);
}

LRESULT CALLBACK ServerWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *self = reinterpret_cast<ServerWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
  case WM_SIZE:
    self->Layout();
    return 0;
  case WM_CLOSE:
    // The client owns the server's lifetime: closing the window only hides it.
    self->Show(false);
    return 0;
  default:
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

void ServerWindow::Layout() {
  RECT client;
  GetClientRect(window_, &client);
  const int width = client.right - 2 * kMargin;
  const int listHeight = client.bottom - 3 * kMargin - kStatusHeight;
  MoveWindow(list_, kMargin, kMargin, width, listHeight > 0 ? listHeight : 0, TRUE);
  MoveWindow(status_, kMargin, client.bottom - kMargin - kStatusHeight, width, kStatusHeight,
             TRUE);
}

void ServerWindow::Show(bool visible) {
  visible_ = visible;
  ShowWindow(window_, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
  if (visible)
    UpdateWindow(window_);
}

void ServerWindow::Status(const std::wstring &text) {
  SetWindowTextW(status_, text.c_str());
  if (visible_)
    UpdateWindow(status_);
}

void ServerWindow::Documents(const std::vector<std::wstring> &names) {
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  for (const std::wstring &name : names)
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  if (visible_)
    UpdateWindow(list_);
}
