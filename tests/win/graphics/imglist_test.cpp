// Image lists and icons, checked by the pixels they draw.
#include "framework/gui/icon.h"
#include "framework/gui/imglist.h"
#include "tests/win/graphics/pixels.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF W = RGB(255, 255, 255), R = RGB(255, 0, 0), B = RGB(0, 0, 255),
                   M = RGB(255, 0, 255), G = RGB(0, 255, 0);

// Two 4 x 4 images side by side: a red one and a blue one, each with a magenta left column.
void MakeStrip(TBitmap &strip) {
  strip.SetPixelFormat(TPixelFormat::pf24bit);
  strip.SetSize(8, 4);
  TCanvas &c = strip.Canvas();
  c.Brush().SetColor(R);
  c.FillRect({0, 0, 4, 4});
  c.Brush().SetColor(B);
  c.FillRect({4, 0, 8, 4});
  c.Brush().SetColor(M);
  c.FillRect({0, 0, 1, 4});
  c.FillRect({4, 0, 5, 4});
}

TBitmap &Background(TBitmap &bmp) {
  bmp.Canvas().Brush().SetColor(G);
  bmp.Canvas().FillRect({0, 0, bmp.Width(), bmp.Height()});
  return bmp;
}

TEST(ImageList, AddMaskedSplitsAStripAndDrawsTransparently) {
  TBitmap strip;
  MakeStrip(strip);
  TImageList list(4, 4);
  EXPECT_EQ(list.AddMasked(strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.AddMasked(strip, clFuchsia), 2);
  EXPECT_EQ(list.Count(), 4);

  TBitmap dst(6, 4, TPixelFormat::pf24bit);
  Background(dst);
  list.Draw(dst.Canvas(), 1, 0, 1);
  EXPECT_EQ(RowOf(dst, 2, {{G, 'g'}, {B, 'b'}, {R, 'r'}, {M, 'm'}}), "ggbbbg");
  Background(dst);
  list.Draw(dst.Canvas(), 0, 0, 0);
  EXPECT_EQ(RowOf(dst, 0, {{G, 'g'}, {B, 'b'}, {R, 'r'}, {M, 'm'}}), "grrrgg");
  // The caller's bitmap is left as it was (the list masks a copy).
  EXPECT_EQ(PixelOf(strip, 0, 0), M);

  // Out of range: nothing drawn, nothing deleted.
  Background(dst);
  list.Draw(dst.Canvas(), 0, 0, 4);
  EXPECT_EQ(RowOf(dst, 0, {{G, 'g'}}), "gggggg");
  list.Delete(7);
  EXPECT_EQ(list.Count(), 4);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 3);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, AddWithAMaskBitmap) {
  TBitmap image(4, 4, TPixelFormat::pf24bit);
  image.Canvas().Brush().SetColor(R);
  image.Canvas().FillRect({0, 0, 4, 4});
  TBitmap mask(4, 4, TPixelFormat::pf24bit);
  mask.Canvas().Brush().SetColor(clBlack);
  mask.Canvas().FillRect({0, 0, 4, 4});
  mask.Canvas().Brush().SetColor(clWhite);
  mask.Canvas().FillRect({2, 0, 4, 4}); // right half transparent

  TImageList list(4, 4);
  EXPECT_EQ(list.Add(image, &mask), 0);
  TBitmap dst(4, 1, TPixelFormat::pf24bit);
  Background(dst);
  list.Draw(dst.Canvas(), 0, 0, 0);
  EXPECT_EQ(RowOf(dst, 0, {{G, 'g'}, {R, 'r'}}), "rrgg");

  // Without a mask the image is opaque.
  EXPECT_EQ(list.Add(image, nullptr), 1);
  Background(dst);
  list.Draw(dst.Canvas(), 0, 0, 1);
  EXPECT_EQ(RowOf(dst, 0, {{G, 'g'}, {R, 'r'}}), "rrrr");
}

TEST(ImageList, DisabledImagesAreEmbossedInSystemColours) {
  TBitmap strip;
  MakeStrip(strip);
  TImageList list(4, 4);
  list.AddMasked(strip, clFuchsia);
  TBitmap dst(6, 6, TPixelFormat::pf24bit);
  Background(dst);
  list.Draw(dst.Canvas(), 0, 0, 0, false);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(shadow, light);
  // Opaque columns 1..3 in shadow; the highlight copy shows one pixel right and down.
  EXPECT_EQ(PixelOf(dst, 0, 0), G); // masked column
  EXPECT_EQ(PixelOf(dst, 1, 0), shadow);
  EXPECT_EQ(PixelOf(dst, 3, 3), shadow);
  EXPECT_EQ(PixelOf(dst, 4, 4), light);
  EXPECT_EQ(PixelOf(dst, 4, 1), light);
  EXPECT_EQ(PixelOf(dst, 5, 5), G);
}

TEST(ImageList, RefusesImagesSmallerThanItsSize) {
  TImageList list(16, 16);
  TBitmap small(8, 16);
  EXPECT_THROW(list.AddMasked(small, clFuchsia), EInvalidGraphicOperation);
  EXPECT_THROW(list.Add(small, nullptr), EInvalidGraphicOperation);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(TImageList(0, 16), EInvalidGraphicOperation);
  list.SetSize(8, 8);
  EXPECT_EQ(list.Width(), 8);
  EXPECT_NE(list.Handle(), nullptr);
  // Split across only: the lower half of the 8 x 16 bitmap is not a second image.
  EXPECT_EQ(list.AddMasked(small, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 1);
}

// A 4 x 4 colour icon: red, with its left half masked out.
HICON MakeIcon() {
  TBitmap colour(4, 4, TPixelFormat::pf24bit);
  colour.Canvas().Brush().SetColor(R);
  colour.Canvas().FillRect({0, 0, 4, 4});
  colour.Canvas().Brush().SetColor(clBlack); // black under the transparent part
  colour.Canvas().FillRect({0, 0, 2, 4});
  const BYTE maskBits[4 * 2] = {0xC0, 0, 0xC0, 0, 0xC0, 0, 0xC0, 0}; // word-aligned rows
  HBITMAP mask = CreateBitmap(4, 4, 1, 1, maskBits);
  GdiBitmap colourCopy = colour.CopyHandle();
  ICONINFO info{TRUE, 0, 0, mask, colourCopy.Get()};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  return icon;
}

TEST(Icon, AdoptsMeasuresDrawsAndReleases) {
  const int icons = GdiLiveCount(GdiKind::Icon);
  TIcon icon;
  EXPECT_TRUE(icon.Empty());
  icon.SetHandle(MakeIcon());
  ASSERT_FALSE(icon.Empty());
  EXPECT_EQ(GdiLiveCount(GdiKind::Icon), icons + 1);
  EXPECT_EQ(icon.Width(), 4);
  EXPECT_EQ(icon.Height(), 4);

  TBitmap dst(4, 4, TPixelFormat::pf24bit);
  Background(dst);
  dst.Canvas().Draw(0, 0, icon);
  EXPECT_EQ(RowOf(dst, 1, {{G, 'g'}, {R, 'r'}}), "ggrr");

  TIcon copy;
  copy.Assign(icon);
  EXPECT_NE(copy.Handle(), icon.Handle());
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(GdiLiveCount(GdiKind::Icon), icons + 2);

  TImageList list(4, 4);
  EXPECT_EQ(list.AddIcon(copy), 0);
  Background(dst);
  list.Draw(dst.Canvas(), 0, 0, 0);
  EXPECT_EQ(RowOf(dst, 2, {{G, 'g'}, {R, 'r'}}), "ggrr");

  HICON raw = copy.ReleaseHandle();
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(GdiLiveCount(GdiKind::Icon), icons + 1);
  DestroyIcon(raw);
}

TEST(Icon, AMissingResourceRaises) {
  TIcon icon;
  EXPECT_THROW(icon.LoadFromResourceID(GetModuleHandleA(nullptr), 4711), EResNotFound);
  EXPECT_THROW(icon.LoadFromResourceName(GetModuleHandleA(nullptr), "NOSUCHICON"), EResNotFound);
  EXPECT_TRUE(icon.Empty());
}

} // namespace
