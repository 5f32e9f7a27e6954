// Canvas drawing, checked by the pixels it leaves in a DIB section or a window.
#include "framework/gui/bitmap.h"
#include "framework/gui/canvas.h"
#include "tests/win/graphics/pixels.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF W = RGB(255, 255, 255), R = RGB(255, 0, 0), B = RGB(0, 0, 255), K = RGB(0, 0, 0),
                   M = RGB(255, 0, 255), G = RGB(0, 255, 0);

TBitmap &Blank(TBitmap &bmp, COLORREF colour = W) {
  bmp.Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
  bmp.Canvas().Brush().SetColor(colour);
  bmp.Canvas().FillRect({0, 0, bmp.Width(), bmp.Height()});
  return bmp;
}

TEST(Canvas, WithoutADeviceContextItRefusesToDraw) {
  TCanvas canvas;
  EXPECT_FALSE(canvas.HandleAllocated());
  EXPECT_THROW(canvas.FillRect({0, 0, 1, 1}), EInvalidGraphicOperation);
}

TEST(Canvas, RectanglesFramesAndLines) {
  TBitmap bmp(8, 6, TPixelFormat::pf24bit);
  TCanvas &c = Blank(bmp).Canvas();

  c.Brush().SetColor(B);
  c.FrameRect({1, 1, 5, 4});
  EXPECT_EQ(RowOf(bmp, 1, {{W, '.'}, {B, 'b'}}), ".bbbb...");
  EXPECT_EQ(RowOf(bmp, 2, {{W, '.'}, {B, 'b'}}), ".b..b...");

  // Rectangle: outline in the pen, inside in the brush, right and bottom exclusive.
  Blank(bmp);
  c.Pen().SetColor(clRed);
  c.Brush().SetColor(G);
  c.Rectangle(0, 0, 5, 5);
  EXPECT_EQ(RowOf(bmp, 0, {{W, '.'}, {R, 'r'}, {G, 'g'}}), "rrrrr...");
  EXPECT_EQ(RowOf(bmp, 2, {{W, '.'}, {R, 'r'}, {G, 'g'}}), "rgggr...");
  EXPECT_EQ(RowOf(bmp, 5, {{W, '.'}, {R, 'r'}, {G, 'g'}}), "........");

  // A clear brush leaves the inside alone.
  Blank(bmp);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Rectangle(0, 0, 4, 4);
  EXPECT_EQ(RowOf(bmp, 1, {{W, '.'}, {R, 'r'}}), "r..r....");

  Blank(bmp);
  c.Pen().SetColor(clBlue);
  c.MoveTo(1, 3);
  c.LineTo(6, 3);
  EXPECT_EQ(RowOf(bmp, 3, {{W, '.'}, {B, 'b'}}), ".bbbbb..");
  EXPECT_EQ(c.PenPos().x, 6);
}

TEST(Canvas, ToolChangesTakeEffectWhileSelected) {
  TBitmap bmp(4, 1, TPixelFormat::pf24bit);
  TCanvas &c = Blank(bmp).Canvas();
  c.Pen().SetColor(clRed);
  c.MoveTo(0, 0);
  c.LineTo(2, 0);
  c.Pen().SetColor(clBlue); // the red pen is selected at this moment
  c.LineTo(4, 0);
  EXPECT_EQ(RowOf(bmp, 0, {{R, 'r'}, {B, 'b'}}), "rrbb");
}

TEST(Canvas, TextUsesFontColourAndBrushBackground) {
  TBitmap bmp(60, 24, TPixelFormat::pf24bit);
  TCanvas &c = Blank(bmp).Canvas();
  c.Font().SetColor(clRed);
  c.Brush().SetColor(clBlue);
  const std::string text = "HH";
  const SIZE extent = c.TextExtent(text);
  ASSERT_GT(extent.cx, 4);
  ASSERT_GT(extent.cy, 4);
  EXPECT_EQ(c.TextWidth(text), extent.cx);
  c.TextOut(2, 2, text);

  int red = 0, blue = 0, white = 0;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) {
      const COLORREF p = PixelOf(bmp, x, y);
      const bool inside = x >= 2 && x < 2 + extent.cx && y >= 2 && y < 2 + extent.cy;
      if (!inside) {
        EXPECT_EQ(p, W) << "outside the text cell at " << x << "," << y;
      }
      red += p == R;
      blue += p == B;
      white += inside && p == W;
    }
  EXPECT_GT(red, 4);  // glyph pixels in the font colour
  EXPECT_GT(blue, 4); // cell background in the brush colour
  EXPECT_EQ(white, 0);

  // A clear brush draws glyphs only.
  Blank(bmp);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.TextOut(2, 2, text);
  bool anyBlue = false, anyRed = false;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) {
      anyBlue |= PixelOf(bmp, x, y) == B;
      anyRed |= PixelOf(bmp, x, y) == R;
    }
  EXPECT_FALSE(anyBlue);
  EXPECT_TRUE(anyRed);
}

TEST(Canvas, TextRectClipsAndDrawTextMeasures) {
  TBitmap bmp(40, 20, TPixelFormat::pf24bit);
  TCanvas &c = Blank(bmp).Canvas();
  c.Font().SetColor(clBlack);
  c.Brush().SetColor(clBlue);
  c.TextRect({5, 5, 15, 15}, 0, 0, "WWWWWWWW");
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 5 && x < 15 && y >= 5 && y < 15;
      if (!inside) {
        ASSERT_EQ(PixelOf(bmp, x, y), W) << x << "," << y;
      } else {
        ASSERT_NE(PixelOf(bmp, x, y), W) << x << "," << y; // filled or glyph
      }
    }

  RECT r{0, 0, 1000, 0};
  const int h = c.DrawText("AB", r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(h, c.TextHeight("AB"));
  EXPECT_EQ(r.right, c.TextWidth("AB"));
}

TEST(Canvas, FontValuesReachTheHandle) {
  TFont font;
  EXPECT_EQ(font.Charset(), GB2312_CHARSET);
  EXPECT_EQ(font.Name(), "\xCB\xCE\xCC\xE5");
  EXPECT_EQ(font.Size(), 9);
  font.SetName("Arial");
  font.SetSize(20);
  font.SetStyle(fsBold | fsItalic | fsUnderline);
  LOGFONTA lf{};
  ASSERT_EQ(GetObjectA(font.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, font.Height());
  EXPECT_LT(lf.lfHeight, 0);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_FALSE(lf.lfStrikeOut);

  TFont other;
  other.AssignLogFont(lf);
  EXPECT_EQ(other.Name(), "Arial");
  EXPECT_EQ(other.Style(), fsBold | fsItalic | fsUnderline);
  EXPECT_EQ(other.Height(), lf.lfHeight);

  // Larger font, larger text.
  TBitmap bmp(4, 4);
  bmp.Canvas().Font().SetSize(8);
  const int small = bmp.Canvas().TextHeight("X");
  bmp.Canvas().Font().SetSize(24);
  EXPECT_GT(bmp.Canvas().TextHeight("X"), small);
}

TEST(Canvas, OnChangeFiresForEveryRealChange) {
  struct Listener {
    int calls = 0;
    void Changed(TObject *) { ++calls; }
  } listener;
  TFont font;
  font.SetOnChange(TNotifyEvent(&listener, &Listener::Changed));
  font.SetColor(clRed);
  font.SetColor(clRed); // same value: no event
  font.SetStyle(fsBold);
  font.SetName(font.Name());
  EXPECT_EQ(listener.calls, 2);
}

TEST(Canvas, CopyRectStretchesWithoutBlending) {
  TBitmap src(2, 1, TPixelFormat::pf24bit);
  src.Canvas().SetPixels(0, 0, clRed);
  src.Canvas().SetPixels(1, 0, clBlue);
  TBitmap dst(8, 2, TPixelFormat::pf24bit);
  Blank(dst);
  dst.Canvas().CopyRect({0, 0, 8, 2}, src.Canvas(), {0, 0, 2, 1});
  // COLORONCOLOR: every pixel is one of the two sources, split in the middle.
  EXPECT_EQ(RowOf(dst, 0, {{R, 'r'}, {B, 'b'}}), "rrrrbbbb");
  EXPECT_EQ(RowOf(dst, 1, {{R, 'r'}, {B, 'b'}}), "rrrrbbbb");

  // CopyMode is honoured.
  Blank(dst, K);
  dst.Canvas().SetCopyMode(NOTSRCCOPY);
  dst.Canvas().CopyRect({0, 0, 2, 1}, src.Canvas(), {0, 0, 2, 1});
  EXPECT_EQ(PixelOf(dst, 0, 0), RGB(0, 255, 255));
}

// A 4 x 2 sprite: magenta corners around a red and blue body.
void MakeSprite(TBitmap &sprite) {
  sprite.SetPixelFormat(TPixelFormat::pf24bit);
  sprite.SetSize(4, 2);
  const COLORREF rows[2][4] = {{M, R, R, M}, {M, B, B, B}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x)
      sprite.Canvas().SetPixels(x, y, rows[y][x]);
}

TEST(Canvas, DrawHonoursTheTransparentColour) {
  TBitmap sprite;
  MakeSprite(sprite);
  TBitmap dst(6, 3, TPixelFormat::pf24bit);

  Blank(dst, G);
  dst.Canvas().Draw(1, 1, sprite);
  EXPECT_EQ(RowOf(dst, 1, {{G, 'g'}, {R, 'r'}, {B, 'b'}, {M, 'm'}}), "gmrrmg");

  sprite.SetTransparent(true);
  sprite.SetTransparentColor(clFuchsia);
  Blank(dst, G);
  dst.Canvas().Draw(1, 1, sprite);
  EXPECT_EQ(RowOf(dst, 1, {{G, 'g'}, {R, 'r'}, {B, 'b'}, {M, 'm'}}), "ggrrgg");
  EXPECT_EQ(RowOf(dst, 2, {{G, 'g'}, {R, 'r'}, {B, 'b'}, {M, 'm'}}), "ggbbbg");
  EXPECT_EQ(RowOf(dst, 0, {{G, 'g'}}), "gggggg");

  // Stretched to twice the size: the keyed pixels still never reach the destination.
  TBitmap big(8, 4, TPixelFormat::pf32bit);
  Blank(big, G);
  big.Canvas().StretchDraw({0, 0, 8, 4}, sprite);
  const auto legend = {std::pair{G, 'g'}, std::pair{R, 'r'}, std::pair{B, 'b'}, std::pair{M, 'm'}};
  EXPECT_EQ(RowOf(big, 0, legend), "ggrrrrgg");
  EXPECT_EQ(RowOf(big, 1, legend), "ggrrrrgg");
  EXPECT_EQ(RowOf(big, 3, legend), "ggbbbbbb");
}

TEST(Canvas, PixelsReadAndWrite) {
  TBitmap bmp(3, 3, TPixelFormat::pf24bit);
  bmp.Canvas().SetPixels(1, 2, RGB(1, 2, 3));
  EXPECT_EQ(bmp.Canvas().Pixels(1, 2), RGB(1, 2, 3));
  EXPECT_EQ(PixelOf(bmp, 1, 2), RGB(1, 2, 3));
  EXPECT_EQ(bmp.Canvas().Pixels(10, 10), clNone);
  // A system colour is resolved on the way in.
  bmp.Canvas().SetPixels(0, 0, clBtnFace);
  EXPECT_EQ(PixelOf(bmp, 0, 0), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clBtnShadow), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(ColorToRGB(RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(ColorToRGB(clNone), 0xFFFFFFu);
}

TEST(Canvas, DetachingGivesTheDeviceContextBackItsObjects) {
  HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
  const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.TextWidth("x");
    canvas.Rectangle(0, 0, 1, 1);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas.Font().Handle());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), canvas.Pen().Handle());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), canvas.Brush().Handle());
    // Changing a tool while it is selected puts the original back before the old handle goes.
    canvas.Font().SetHeight(-20);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    canvas.TextWidth("x");
    canvas.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);

    canvas.SetHandle(dc);
    canvas.Rectangle(0, 0, 1, 1);
  } // the destructor detaches too
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  DeleteDC(dc);
}

TEST(Canvas, LockNests) {
  TCanvas canvas;
  canvas.Lock();
  canvas.Lock();
  EXPECT_EQ(canvas.LockCount(), 2);
  EXPECT_TRUE(canvas.TryLock());
  canvas.Unlock();
  canvas.Unlock();
  canvas.Unlock();
  EXPECT_EQ(canvas.LockCount(), 0);
}

LRESULT CALLBACK PaintProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    TCanvas canvas;
    canvas.SetHandle(BeginPaint(wnd, &ps));
    canvas.Brush().SetColor(RGB(0x4A, 0x7D, 0xB5));
    canvas.FillRect(ps.rcPaint);
    canvas.Brush().SetColor(clRed);
    canvas.FrameRect({10, 10, 30, 30});
    canvas.SetHandle(nullptr);
    EndPaint(wnd, &ps);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

TEST(Canvas, PaintsAWindowThroughItsDeviceContext) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = PaintProc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = "KestrovaCanvasTest";
  ASSERT_NE(RegisterClassA(&cls), 0);
  HWND wnd = CreateWindowExA(0, cls.lpszClassName, "canvas", WS_POPUP | WS_VISIBLE, 30, 30, 80, 60,
                             nullptr, nullptr, cls.hInstance, nullptr);
  ASSERT_NE(wnd, nullptr);
  UpdateWindow(wnd);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageA(&msg);

  // Read the window back into a bitmap through a canvas on the window DC.
  TBitmap shot(80, 60, TPixelFormat::pf32bit);
  {
    GdiWindowDC wdc(wnd);
    TCanvas window;
    window.SetHandle(wdc.Get());
    shot.Canvas().CopyRect({0, 0, 80, 60}, window, {0, 0, 80, 60});
    window.SetHandle(nullptr);
  }
  const COLORREF face = RGB(0x4A, 0x7D, 0xB5);
  EXPECT_EQ(PixelOf(shot, 5, 5), face);
  EXPECT_EQ(PixelOf(shot, 10, 10), R);
  EXPECT_EQ(PixelOf(shot, 29, 20), R);
  EXPECT_EQ(PixelOf(shot, 20, 20), face);
  EXPECT_EQ(PixelOf(shot, 30, 30), face);
  DestroyWindow(wnd);
  UnregisterClassA(cls.lpszClassName, cls.hInstance);
}

} // namespace
