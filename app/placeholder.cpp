// Stands in for the main window until the application's forms exist: a plain window that
// proves the program builds, starts and paints on every Windows target.
#include <windows.h>

namespace {

LRESULT CALLBACK PlaceholderProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT r;
    GetClientRect(wnd, &r);
    HBRUSH face = CreateSolidBrush(RGB(0xF2, 0xF4, 0xF7));
    FillRect(dc, &r, face);
    DeleteObject(face);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0x2E, 0x5F, 0x96));
    DrawTextA(dc, "Kestrova 批量文档转换", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(wnd, &ps);
    return 0;
  }
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = PlaceholderProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.lpszClassName = "KestrovaPlaceholder";
  if (!RegisterClassA(&cls))
    return 1;
  HWND wnd = CreateWindowExA(0, cls.lpszClassName, "Kestrova", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 480, 240, nullptr, nullptr, instance, nullptr);
  if (!wnd)
    return 1;
  ShowWindow(wnd, show);
  UpdateWindow(wnd);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
