// A bitmap held as a top-down DIB section, with direct scan-line access and a canvas.
//
// Formats in memory: pf24bit (3 bytes per pixel, blue-green-red), pf32bit and pfDevice (4 bytes,
// blue-green-red-unused; pfDevice is what a new bitmap starts as and reads back as such, but is
// stored like pf32bit so that every bitmap is a DIB and ScanLine never needs a conversion).
// Rows are padded to 4 bytes; ScanLine(y) is row y counted from the top.
//
// BMP files of 1, 4, 8, 16, 24 and 32 bits per pixel load as pf24bit (32-bit files as pf32bit).
// Bad files raise EInvalidGraphic and never read past their input; RLE compression is reported
// as unsupported. Saving writes 24-bit BMP files.
#pragma once

#include "framework/core/streams.h"
#include "framework/gui/canvas.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum class TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TPersistent {
public:
  // Largest bitmap made or loaded: 32767 pixels a side, 1 << 25 pixels in all.
  static constexpr int kMaxSide = 32767;
  static constexpr int64_t kMaxPixels = int64_t{1} << 25;

  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
  ~TBitmap() override;
  TBitmap(const TBitmap &) = delete;
  TBitmap &operator=(const TBitmap &) = delete;

  // A deep copy of pixels, format and transparency settings.
  void Assign(const TBitmap &source);

  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  // Keeps the pixels of the overlapping top-left part; new pixels are black. Negative sizes
  // count as 0; larger than the limits above raises EInvalidGraphicOperation.
  void SetSize(int width, int height);
  bool Empty() const { return width_ == 0 || height_ == 0; }
  void Clear() { SetSize(0, 0); }

  TPixelFormat PixelFormat() const { return format_; }
  // Converts the pixels. Only pfDevice, pf24bit and pf32bit are kept in memory; others raise
  // EInvalidGraphicOperation.
  void SetPixelFormat(TPixelFormat format);
  int BitsPerPixel() const { return format_ == TPixelFormat::pf24bit ? 24 : 32; }
  int BytesPerScanLine() const;

  // Row y (0 = top); raises EInvalidGraphicOperation outside 0..Height-1. Pending GDI drawing
  // is flushed first, so the row holds what the canvas drew.
  void *ScanLine(int y);

  // The DIB section (nullptr when empty); it stays selected into the canvas's DC.
  HBITMAP Handle() const { return image_.Get(); }
  // Lets the canvas's DC go, so that the DIB is selected nowhere (for GetDIBits, which asks for
  // that). The canvas makes a new DC on its next use; an HDC taken from it before is invalid.
  void FreeContext();
  // A copy of the image as a DIB section selected nowhere, for APIs that select the bitmap
  // themselves (image lists, menus). The caller owns it.
  GdiBitmap CopyHandle() const;

  TCanvas &Canvas();

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  // In tmAuto the colour of the bottom-left pixel (clDefault when empty); setting a colour
  // switches to tmFixed.
  TColor TransparentColor();
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode) { transparentMode_ = mode; }

  // Loads a BMP file from the stream's position and leaves the position after the file.
  void LoadFromStream(TStream &stream);
  void LoadFromFile(const std::string &fileName);
  // Loads a whole BMP file held in memory; returns the number of bytes it occupies.
  size_t LoadFromMemory(const void *data, size_t size);
  // Writes a 24-bit BMP file; an empty bitmap writes nothing.
  void SaveToStream(TStream &stream);
  void SaveToFile(const std::string &fileName);

private:
  class BitmapCanvas;
  friend class BitmapCanvas;

  // Replaces the image with a new DIB of the given size and format (zeroed).
  void NewImage(int width, int height, TPixelFormat format);
  void ReplaceImage(GdiBitmap image, uint8_t *bits, int width, int height, TPixelFormat format);

  GdiBitmap image_;
  uint8_t *bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::pfDevice;
  bool transparent_ = false;
  TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
  TColor transparentColor_ = clDefault;
  std::unique_ptr<BitmapCanvas> canvas_; // after image_: destroyed (and deselected) first
};
