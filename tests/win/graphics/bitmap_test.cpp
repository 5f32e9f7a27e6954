// TBitmap's own behaviour: sizes, formats, copies and transparency settings.
#include "framework/gui/bitmap.h"
#include "tests/win/graphics/pixels.h"

#include <gtest/gtest.h>

namespace {

void Fill(TBitmap &bmp, const RECT &r, TColor colour) {
  bmp.Canvas().Brush().SetColor(colour);
  bmp.Canvas().FillRect(r);
}

TEST(Bitmap, StartsEmptyAsDeviceFormat) {
  TBitmap bmp;
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pfDevice);
  EXPECT_EQ(bmp.Handle(), nullptr);
  EXPECT_THROW(bmp.ScanLine(0), EInvalidGraphicOperation);
}

TEST(Bitmap, ScanLinesAreTopDownAndPadded) {
  for (TPixelFormat format :
       {TPixelFormat::pf24bit, TPixelFormat::pf32bit, TPixelFormat::pfDevice}) {
    TBitmap bmp(5, 3, format);
    EXPECT_EQ(bmp.BytesPerScanLine(), format == TPixelFormat::pf24bit ? 16 : 20);
    auto *row0 = static_cast<uint8_t *>(bmp.ScanLine(0));
    auto *row1 = static_cast<uint8_t *>(bmp.ScanLine(1));
    EXPECT_EQ(row1 - row0, bmp.BytesPerScanLine());
    // A pixel written into row 0 is what GDI sees at the top.
    row0[2] = 0xFF; // red of pixel (0, 0)
    EXPECT_EQ(GetPixel(bmp.Canvas().Handle(), 0, 0), RGB(255, 0, 0));
    EXPECT_THROW(bmp.ScanLine(3), EInvalidGraphicOperation);
    EXPECT_THROW(bmp.ScanLine(-1), EInvalidGraphicOperation);
  }
}

TEST(Bitmap, SetSizeKeepsTheTopLeftAndTheCanvasFollows) {
  TBitmap bmp(4, 4);
  Fill(bmp, {0, 0, 4, 4}, clRed);
  bmp.SetSize(6, 2);
  EXPECT_EQ(bmp.Width(), 6);
  EXPECT_EQ(bmp.Height(), 2);
  EXPECT_EQ(PixelOf(bmp, 3, 1), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(bmp, 4, 0), RGB(0, 0, 0)); // new pixels are black
  // The canvas draws into the new image, not the old one.
  Fill(bmp, {5, 1, 6, 2}, clLime);
  EXPECT_EQ(PixelOf(bmp, 5, 1), RGB(0, 255, 0));

  bmp.SetSize(-3, 5);
  EXPECT_TRUE(bmp.Empty());
  EXPECT_THROW(bmp.SetSize(TBitmap::kMaxSide + 1, 1), EInvalidGraphicOperation);
  EXPECT_THROW(bmp.SetSize(8000, 8000), EInvalidGraphicOperation);
}

TEST(Bitmap, PixelFormatConversionKeepsPixels) {
  TBitmap bmp(3, 2, TPixelFormat::pf32bit);
  Fill(bmp, {0, 0, 3, 2}, RGB(10, 20, 30));
  Fill(bmp, {2, 1, 3, 2}, RGB(200, 100, 50));
  bmp.SetPixelFormat(TPixelFormat::pf24bit);
  EXPECT_EQ(bmp.BitsPerPixel(), 24);
  EXPECT_EQ(PixelOf(bmp, 0, 0), RGB(10, 20, 30));
  EXPECT_EQ(PixelOf(bmp, 2, 1), RGB(200, 100, 50));
  bmp.SetPixelFormat(TPixelFormat::pf32bit);
  EXPECT_EQ(PixelOf(bmp, 2, 1), RGB(200, 100, 50));
  EXPECT_THROW(bmp.SetPixelFormat(TPixelFormat::pf8bit), EInvalidGraphicOperation);
  EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf32bit);
}

TEST(Bitmap, AssignMakesAnIndependentCopy) {
  TBitmap source(4, 3, TPixelFormat::pf24bit);
  Fill(source, {0, 0, 4, 3}, clBlue);
  source.SetTransparent(true);
  source.SetTransparentColor(clFuchsia);

  TBitmap copy;
  copy.Assign(source);
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.Height(), 3);
  EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_TRUE(copy.Transparent());
  EXPECT_EQ(copy.TransparentColor(), clFuchsia);
  EXPECT_NE(copy.Handle(), source.Handle());
  Fill(copy, {0, 0, 1, 1}, clRed);
  EXPECT_EQ(PixelOf(copy, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(source, 0, 0), RGB(0, 0, 255));

  copy.Assign(TBitmap());
  EXPECT_TRUE(copy.Empty());
}

TEST(Bitmap, AutomaticTransparentColourIsTheBottomLeftPixel) {
  TBitmap bmp(3, 3);
  EXPECT_EQ(bmp.TransparentMode(), TTransparentMode::tmAuto);
  Fill(bmp, {0, 0, 3, 3}, clWhite);
  Fill(bmp, {0, 2, 1, 3}, RGB(1, 2, 3));
  EXPECT_EQ(bmp.TransparentColor(), RGB(1, 2, 3));
  bmp.SetTransparentColor(clFuchsia);
  EXPECT_EQ(bmp.TransparentMode(), TTransparentMode::tmFixed);
  EXPECT_EQ(bmp.TransparentColor(), clFuchsia);
  EXPECT_EQ(TBitmap().TransparentColor(), clDefault);
}

TEST(Bitmap, CopyHandleIsSelectableElsewhere) {
  TBitmap bmp(2, 2);
  Fill(bmp, {0, 0, 2, 2}, clYellow);
  GdiBitmap copy = bmp.CopyHandle();
  ASSERT_TRUE(copy);
  // The bitmap's own DIB stays selected in its canvas; the copy is free to be selected.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, copy.Get());
  EXPECT_NE(old, nullptr);
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
}

TEST(Bitmap, FreeContextDeselectsTheImageUntilTheCanvasIsUsedAgain) {
  TBitmap bmp(2, 2, TPixelFormat::pf24bit);
  Fill(bmp, {0, 0, 2, 2}, clRed);
  HDC other = CreateCompatibleDC(nullptr);
  // Selected into the canvas's DC, the DIB cannot go into a second one.
  EXPECT_EQ(SelectObject(other, bmp.Handle()), nullptr);
  bmp.FreeContext();
  HGDIOBJ old = SelectObject(other, bmp.Handle());
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(GetPixel(other, 1, 1), RGB(255, 0, 0));
  SelectObject(other, old);
  DeleteDC(other);
  // The canvas comes back with its tools.
  Fill(bmp, {1, 1, 2, 2}, clBlue);
  EXPECT_EQ(PixelOf(bmp, 1, 1), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(bmp, 0, 0), RGB(255, 0, 0));
}

} // namespace
