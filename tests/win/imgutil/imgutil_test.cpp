// The bitmap utilities: colour mixing, saturation, gradients with their ramp cache, and the
// in-place transforms, checked pixel by pixel on small asymmetric bitmaps.
#include "skin/data/imgutil.h"
#include "tests/win/graphics/pixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using imgutil_detail::GradRamp;
using imgutil_detail::GradRampBuilds;
using imgutil_detail::GradRingIndex;
using imgutil_detail::ResetGradCache;

void SetPixelOf(TBitmap &bmp, int x, int y, COLORREF c) {
  auto *row = static_cast<uint8_t *>(bmp.ScanLine(y));
  const int step = bmp.BitsPerPixel() / 8;
  row[x * step] = GetBValue(c);
  row[x * step + 1] = GetGValue(c);
  row[x * step + 2] = GetRValue(c);
}

// A bitmap whose every pixel is distinct: pixel (x, y) = RGB(10 + x, 20 + y, 30).
void PaintIndexed(TBitmap &bmp) {
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      SetPixelOf(bmp, x, y, RGB(10 + x, 20 + y, 30));
}

COLORREF Indexed(int x, int y) {
  return RGB(10 + x, 20 + y, 30);
}

TEST(Blend, MixesByPercentOrPerMille) {
  struct Case {
    TColor c1, c2;
    int amount;
    TColor expected;
  } cases[] = {
      {0xFFFFFF, 0x000000, 50, 0x808080},   // (255*50 + 0*50 + 50) div 100 = 128
      {0xFFFFFF, 0x000000, 150, 0x262626},  // (255*150 + 500) div 1000 = 38
      {0x808080, 0x0000FF, 150, 0x1313EC},  // red (19200+216750+500) div 1000 = 236, others 19
      {0x102030, 0x000000, 25, 0x04080C},   // red (48*25+50) div 100 = 12, green 8, blue 4
      {0x102030, 0xFFFFFF, 0, 0xFFFFFF},    // nothing of c1
      {0xFFFFFF, 0x000000, 1500, 0xFFFFFF}, // clamped to 1000: all of c1, no carry into green
      {0xFFFFFF, 0x000000, -10, 0x000000},  // clamped to 0: no negative channels
  };
  for (const Case &c : cases)
    EXPECT_EQ(Blend(c.c1, c.c2, c.amount), c.expected)
        << std::hex << c.c1 << " " << c.c2 << " " << std::dec << c.amount;
}

TEST(Blend, ResolvesSystemColours) {
  EXPECT_EQ(Blend(clBtnFace, clBlack, 1000), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(Blend(clBlack, clWindow, 0), GetSysColor(COLOR_WINDOW));
}

TEST(GetHSV, SaturationOrTwoHundredForDarkColours) {
  struct Case {
    TColor colour;
    int expected;
  } cases[] = {
      {0x0000FF, 255},   // pure red
      {0x7F0000, 200},   // all channels below 160
      {0x000000, 200},   // black too
      {0xFFFFFF, 0},     // white
      {0xA0A0A0, 0},     // grey at the 160 threshold is not "dark"
      {0x80A0C8, 92},    // (200 - 128) * 255 / 200 = 91.8
      {0xA9A9AA, 2},     // 1 * 255 / 170 = 1.5: halves round up
      {0x8000000F, 200}, // a system colour code is taken as given: red 15
  };
  for (const Case &c : cases)
    EXPECT_EQ(GetHSV(c.colour), c.expected) << std::hex << c.colour;
}

// A 24-bit bitmap filled with a marker colour, so that unpainted pixels show.
struct GradCanvas {
  explicit GradCanvas(int w, int h) : bmp(w, h) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        SetPixelOf(bmp, x, y, kMarker);
  }
  HDC dc() { return bmp.Canvas().Handle(); }
  static constexpr COLORREF kMarker = RGB(1, 2, 3);
  TBitmap bmp;
};

TEST(GradFill, BandsFollowTheRamp) {
  ResetGradCache();
  {
    GradCanvas c(4, 3); // vertical, black to red over 3 rows: 0, 128, 255
    GradFill(c.dc(), RECT{0, 0, 4, 3}, 0x000000, 0x0000FF, 1);
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(PixelOf(c.bmp, x, 0), RGB(0, 0, 0));
      EXPECT_EQ(PixelOf(c.bmp, x, 1), RGB(128, 0, 0));
      EXPECT_EQ(PixelOf(c.bmp, x, 2), RGB(255, 0, 0));
    }
  }
  {
    GradCanvas c(3, 2); // horizontal, red falling 255 to 0: 255, 128, 1
    GradFill(c.dc(), RECT{0, 0, 3, 2}, 0x0000FF, 0x000000, 0);
    for (int y = 0; y < 2; ++y) {
      EXPECT_EQ(PixelOf(c.bmp, 0, y), RGB(255, 0, 0));
      EXPECT_EQ(PixelOf(c.bmp, 1, y), RGB(128, 0, 0));
      EXPECT_EQ(PixelOf(c.bmp, 2, y), RGB(1, 0, 0));
    }
  }
  {
    GradCanvas c(2, 3); // one band: the midpoint; outside the rectangle nothing changes
    GradFill(c.dc(), RECT{0, 1, 2, 2}, 0x000000, 0xFF00FF, 1);
    EXPECT_EQ(PixelOf(c.bmp, 0, 1), RGB(127, 0, 127));
    EXPECT_EQ(PixelOf(c.bmp, 1, 0), GradCanvas::kMarker);
    EXPECT_EQ(PixelOf(c.bmp, 1, 2), GradCanvas::kMarker);
  }
  {
    GradCanvas c(2, 2); // system colours are resolved before the ramp is built
    GradFill(c.dc(), RECT{0, 0, 2, 2}, clBtnFace, clBtnFace, 1);
    EXPECT_EQ(PixelOf(c.bmp, 0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(PixelOf(c.bmp, 1, 1), GetSysColor(COLOR_BTNFACE));
  }
}

TEST(GradFill, PaintsOnlyTheBandsInsideTheClipBox) {
  ResetGradCache();
  GradCanvas c(2, 6);
  IntersectClipRect(c.dc(), 0, 2, 2, 4);
  // Rows -2 .. 7 of the gradient: 10 bands, row y gets ramp entry y + 2.
  GradFill(c.dc(), RECT{0, -2, 2, 8}, 0x000000, 0x000009, 1);
  for (int y = 0; y < 6; ++y) {
    const COLORREF expected = (y == 2 || y == 3) ? RGB(y + 2, 0, 0) : GradCanvas::kMarker;
    EXPECT_EQ(PixelOf(c.bmp, 0, y), expected) << "row " << y;
  }
  // A rectangle wholly outside the clip box paints nothing and builds no ramp.
  const int builds = GradRampBuilds();
  GradFill(c.dc(), RECT{0, 4, 2, 6}, 0x000000, 0xFFFFFF, 1);
  EXPECT_EQ(GradRampBuilds(), builds);
  EXPECT_EQ(PixelOf(c.bmp, 0, 5), GradCanvas::kMarker);
}

TEST(GradFill, WrittenIntoPixelsItEqualsTheBandsPaintedOnADeviceContext) {
  struct Case {
    RECT r;
    TColor from, to;
    int direction;
  } cases[] = {
      {{0, 0, 10, 40}, 0xF0E0D0, 0x965F2E, 1}, // the toolbar gradient's shape
      {{0, 0, 7, 5}, 0x0000FF, 0x00FF00, 0},   // across, falling and rising channels
      {{-3, 2, 4, 45}, 0x102030, 0xFFFFFF, 1}, // reaching past the bitmap on three sides
      {{2, -6, 9, 3}, clBtnFace, clHighlight, 0},
      {{20, 0, 30, 5}, 0x000000, 0xFFFFFF, 1}, // wholly outside
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.r.left << "," << c.r.top << " " << c.direction);
    GradCanvas painted(10, 40), written(10, 40);
    GradFill(painted.dc(), c.r, c.from, c.to, c.direction);
    GradFillPixels(written.bmp, c.r, c.from, c.to, c.direction);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 10; ++x)
        ASSERT_EQ(PixelOf(written.bmp, x, y), PixelOf(painted.bmp, x, y)) << x << "," << y;
  }
}

TEST(GradFill, CachesSixteenRampsAndReplacesTheOldest) {
  ResetGradCache();
  GradCanvas c(1, 20);
  auto fill = [&](int n) { GradFill(c.dc(), RECT{0, 0, 1, n}, 0x000000, 0xFF0000, 1); };
  for (int n = 1; n <= 16; ++n)
    fill(n);
  EXPECT_EQ(GradRampBuilds(), 16);
  EXPECT_EQ(GradRingIndex(), 0);
  EXPECT_EQ(GradRamp(0).size(), 1u);
  EXPECT_EQ(GradRamp(15).size(), 16u);

  fill(5); // found: no new ramp
  EXPECT_EQ(GradRampBuilds(), 16);

  fill(17); // the 17th ramp takes slot 0, the oldest
  EXPECT_EQ(GradRampBuilds(), 17);
  EXPECT_EQ(GradRamp(0).size(), 17u);
  EXPECT_EQ(GradRingIndex(), 1);

  fill(1); // the ramp that lived in slot 0 is gone and is built again into slot 1
  EXPECT_EQ(GradRampBuilds(), 18);
  EXPECT_EQ(GradRamp(1).size(), 1u);
  EXPECT_EQ(GradRingIndex(), 2);
}

TEST(GradFill, FindsAFallingRampAgain) {
  // Its last entry falls short of the end colour; it is still one cache entry, not one per call.
  ResetGradCache();
  GradCanvas c(3, 1);
  for (int i = 0; i < 3; ++i)
    GradFill(c.dc(), RECT{0, 0, 3, 1}, 0x0000FF, 0x000000, 0);
  EXPECT_EQ(GradRampBuilds(), 1);
  EXPECT_EQ(GradRamp(0), (std::vector<TColor>{0xFF, 0x80, 0x01}));
}

class Transforms : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(Transforms, MirrorsMovePixelsAcrossTheAxis) {
  TBitmap h(3, 2, GetParam());
  PaintIndexed(h);
  SpiegelnHorizontal(&h);
  TBitmap v(3, 2, GetParam());
  PaintIndexed(v);
  SpiegelnVertikal(&v);
  for (TBitmap *b : {&h, &v}) {
    EXPECT_EQ(b->Width(), 3);
    EXPECT_EQ(b->Height(), 2);
    EXPECT_EQ(b->PixelFormat(), GetParam());
  }
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(PixelOf(h, x, y), Indexed(2 - x, y)) << x << "," << y;
      EXPECT_EQ(PixelOf(v, x, y), Indexed(x, 1 - y)) << x << "," << y;
    }
}

TEST_P(Transforms, TurnsSwapTheSidesAndPlaceEveryPixel) {
  // 3 wide, 2 high: after a turn 2 wide, 3 high.
  TBitmap cw(3, 2, GetParam());
  PaintIndexed(cw);
  Drehen90Grad(&cw);
  TBitmap ccw(3, 2, GetParam());
  PaintIndexed(ccw);
  Drehen270Grad(&ccw);
  for (TBitmap *b : {&cw, &ccw}) {
    ASSERT_EQ(b->Width(), 2);
    ASSERT_EQ(b->Height(), 3);
  }
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(PixelOf(cw, 2 - 1 - y, x), Indexed(x, y)) << x << "," << y;
      EXPECT_EQ(PixelOf(ccw, y, 3 - 1 - x), Indexed(x, y)) << x << "," << y;
    }
  // A turn and its counter-turn give the original back.
  Drehen270Grad(&cw);
  ASSERT_EQ(cw.Width(), 3);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(PixelOf(cw, x, y), Indexed(x, y));
}

INSTANTIATE_TEST_SUITE_P(Formats, Transforms,
                         ::testing::Values(TPixelFormat::pf24bit, TPixelFormat::pf32bit));

TEST(Transforms, EmptyBitmapsStayEmpty) {
  TBitmap b;
  SpiegelnHorizontal(&b);
  SpiegelnVertikal(&b);
  Drehen90Grad(&b);
  Drehen270Grad(&b);
  EXPECT_TRUE(b.Empty());
}

TEST(Grayscale, AveragesTheChannelsAndConvertsTo24Bits) {
  TBitmap b(2, 1, TPixelFormat::pf32bit);
  SetPixelOf(b, 0, 0, RGB(30, 60, 91));    // 181 div 3 = 60
  SetPixelOf(b, 1, 0, RGB(255, 255, 254)); // 764 div 3 = 254
  ConvertBitmapToGrayscale(&b);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(PixelOf(b, 0, 0), RGB(60, 60, 60));
  EXPECT_EQ(PixelOf(b, 1, 0), RGB(254, 254, 254));
}

TEST(ChangeTrans, ReplacesExactMagentaOnly) {
  struct Case {
    TColor colour;
    COLORREF expected;
  } cases[] = {
      {0x00FF8040, RGB(0x40, 0x80, 0xFF)},
      {0x8000000F, RGB(0x0F, 0, 0)}, // a system colour code is not resolved
  };
  for (const Case &c : cases) {
    TBitmap b(3, 1, TPixelFormat::pf32bit);
    SetPixelOf(b, 0, 0, RGB(255, 0, 255));
    SetPixelOf(b, 1, 0, RGB(254, 0, 255));
    SetPixelOf(b, 2, 0, RGB(255, 1, 255));
    ChangeTrans(&b, c.colour);
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(PixelOf(b, 0, 0), c.expected);
    EXPECT_EQ(PixelOf(b, 1, 0), RGB(254, 0, 255));
    EXPECT_EQ(PixelOf(b, 2, 0), RGB(255, 1, 255));
  }
}

} // namespace
