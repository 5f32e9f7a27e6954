// The built-in bitmaps are in the executable under their names, as BITMAP and as RCDATA, with
// the sizes, formats and pixels the skin model relies on.
#include "framework/gui/bitmap.h"
#include "resources/builtin/builtin.h"
#include "tests/win/graphics/pixels.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The RCDATA copy, loaded the way the skin model loads it.
void LoadRcData(const char *name, TBitmap &bmp) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, name, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  ASSERT_NE(res, nullptr) << name;
  HGLOBAL data = LoadResource(module, res);
  ASSERT_NE(data, nullptr);
  bmp.LoadFromMemory(LockResource(data), SizeofResource(module, res));
}

struct BitmapInfo {
  int width, height, bits;
};

BitmapInfo BitmapResourceInfo(const char *name) {
  HANDLE h = LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (!h)
    return {0, 0, 0};
  DIBSECTION dib{};
  GetObjectA(h, sizeof(dib), &dib);
  DeleteObject(h);
  return {dib.dsBm.bmWidth, dib.dsBm.bmHeight, dib.dsBm.bmBitsPixel};
}

TEST(BuiltinResources, TrackChannelsHoldTheirRows) {
  const std::initializer_list<std::pair<COLORREF, char>> legend = {
      {RGB(192, 192, 192), 'S'}, {RGB(128, 128, 128), 'G'}, {RGB(255, 255, 255), 'W'}};
  TBitmap track;
  LoadRcData(builtin::kTrack, track);
  ASSERT_EQ(track.Width(), 16);
  ASSERT_EQ(track.Height(), 4);
  EXPECT_EQ(RowOf(track, 0, legend), "SSGGGGGGGGGGGGWW");
  EXPECT_EQ(RowOf(track, 1, legend), "SSWWWWWWWWWWWWWW");
  EXPECT_EQ(RowOf(track, 2, legend), "GSWWWWWWWWWWWWWW");
  EXPECT_EQ(RowOf(track, 3, legend), "SSWWWWWWWWWWWWWW");

  TBitmap vert;
  LoadRcData(builtin::kTrackVert, vert);
  ASSERT_EQ(vert.Width(), 4);
  ASSERT_EQ(vert.Height(), 16);
  std::string expected = "SSGS|SSSS|";
  for (int i = 0; i < 12; ++i)
    expected += "GWWW|";
  expected += "WWWW|WWWW|";
  std::string rows;
  for (int y = 0; y < 16; ++y)
    rows += RowOf(vert, y, legend) + "|";
  EXPECT_EQ(rows, expected);
}

TEST(BuiltinResources, BitmapResourcesHaveTheirFormats) {
  struct Case {
    const char *name;
    BitmapInfo expected;
  } cases[] = {{builtin::kTrack, {16, 4, 4}},
               {builtin::kTrackVert, {4, 16, 4}},
               {builtin::kCaptionGlyphs, {64, 16, 1}}};
  for (const Case &c : cases) {
    const BitmapInfo info = BitmapResourceInfo(c.name);
    EXPECT_EQ(info.width, c.expected.width) << c.name;
    EXPECT_EQ(info.height, c.expected.height) << c.name;
    EXPECT_EQ(info.bits, c.expected.bits) << c.name;
  }
}

TEST(BuiltinResources, CaptionGlyphsAreBlackOnWhiteInTheirCells) {
  TBitmap strip;
  LoadRcData(builtin::kCaptionGlyphs, strip);
  ASSERT_EQ(strip.Width(), 64);
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  for (int cell = 0; cell < 4; ++cell) {
    // Every cell keeps a white margin, so image-list masks cut nothing off.
    for (int i = 0; i < 16; ++i) {
      EXPECT_EQ(PixelOf(strip, cell * 16 + i, 0), white);
      EXPECT_EQ(PixelOf(strip, cell * 16, i), white);
    }
  }
  // Restore: two frames, the back one's top right; maximise: a heavy top bar;
  // minimise: a bar at the foot with nothing above it; close: the centre of the cross.
  EXPECT_EQ(PixelOf(strip, 0 + 12, 4), black);
  EXPECT_EQ(PixelOf(strip, 0 + 6, 12), black);
  EXPECT_EQ(PixelOf(strip, 16 + 7, 3), black);
  EXPECT_EQ(PixelOf(strip, 16 + 7, 4), black);
  EXPECT_EQ(PixelOf(strip, 16 + 7, 8), white);
  EXPECT_EQ(PixelOf(strip, 32 + 7, 12), black);
  EXPECT_EQ(PixelOf(strip, 32 + 7, 8), white);
  EXPECT_EQ(PixelOf(strip, 48 + 7, 7), black);
  EXPECT_EQ(PixelOf(strip, 48 + 7, 4), white);
}

} // namespace
