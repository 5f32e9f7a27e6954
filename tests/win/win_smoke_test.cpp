// Proves the Wine tier: a real top-level window, painted by its own WM_PAINT, read back through
// a window device context, in the code page the program is written for.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

constexpr COLORREF kFill = RGB(0x4A, 0x7D, 0xB5);

LRESULT CALLBACK FillProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    HBRUSH brush = CreateSolidBrush(kFill);
    FillRect(dc, &ps.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(wnd, &ps);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

void PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

} // namespace

TEST(WineSmoke, AnsiCodePageIsGbk) { EXPECT_EQ(GetACP(), 936u); }

TEST(WineSmoke, WindowPaintsAndPixelsReadBack) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = FillProc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = "KestrovaSmoke";
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  ASSERT_NE(RegisterClassA(&cls), 0);

  HWND wnd = CreateWindowExA(0, cls.lpszClassName, "smoke", WS_OVERLAPPEDWINDOW, 40, 40, 200, 150,
                             nullptr, nullptr, cls.hInstance, nullptr);
  ASSERT_NE(wnd, nullptr);
  ShowWindow(wnd, SW_SHOW);
  UpdateWindow(wnd);
  PumpPending();

  RECT client;
  GetClientRect(wnd, &client);
  ASSERT_GT(client.right, 20);
  ASSERT_GT(client.bottom, 20);

  // Copy the client area into a DIB section so the pixels come from the device, not a cache.
  HDC wdc = GetDC(wnd);
  HDC mem = CreateCompatibleDC(wdc);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = client.right;
  bi.bmiHeader.biHeight = -client.bottom;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void *bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  HGDIOBJ old = SelectObject(mem, dib);
  ASSERT_TRUE(BitBlt(mem, 0, 0, client.right, client.bottom, wdc, 0, 0, SRCCOPY));
  GdiFlush();

  const auto *px = static_cast<const DWORD *>(bits);
  const DWORD expected = (GetRValue(kFill) << 16) | (GetGValue(kFill) << 8) | GetBValue(kFill);
  EXPECT_EQ(px[(client.bottom / 2) * client.right + client.right / 2] & 0xFFFFFF, expected);
  EXPECT_EQ(px[0] & 0xFFFFFF, expected);
  EXPECT_EQ(GetPixel(wdc, client.right - 1, client.bottom - 1), kFill);

  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(wnd, wdc);
  DestroyWindow(wnd);
  UnregisterClassA(cls.lpszClassName, cls.hInstance);
}
