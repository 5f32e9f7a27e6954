// Small synthetic bitmaps for the drawing primitives, and pixel checks that read them back.
#pragma once

#include "framework/gui/bitmap.h"
#include "tests/win/graphics/pixels.h"

#include <functional>
#include <memory>

namespace skindraw {

// Never drawn by any primitive: marks pixels that must stay untouched.
constexpr COLORREF kSentinel = RGB(1, 2, 3);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
// Blue value of every pixel of a coordinate strip.
constexpr int kCoordMark = 100;

inline std::unique_ptr<TBitmap> Paint(int w, int h, const std::function<COLORREF(int, int)> &fn) {
  auto bitmap = std::make_unique<TBitmap>(w, h, TPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y) {
    auto *row = static_cast<uint8_t *>(bitmap->ScanLine(y));
    for (int x = 0; x < w; ++x) {
      const COLORREF c = fn(x, y);
      row[x * 3] = GetBValue(c);
      row[x * 3 + 1] = GetGValue(c);
      row[x * 3 + 2] = GetRValue(c);
    }
  }
  return bitmap;
}

// Every pixel names its own position: red = x, green = y (both below 256).
inline std::unique_ptr<TBitmap> CoordStrip(int w, int h) {
  return Paint(w, h, [](int x, int y) { return RGB(x, y, kCoordMark); });
}

inline std::unique_ptr<TBitmap> Filled(int w, int h, COLORREF colour = kSentinel) {
  return Paint(w, h, [colour](int, int) { return colour; });
}

// The source position a pixel copied from a coordinate strip came from; {-1, -1} otherwise.
inline POINT SourceAt(TBitmap &bitmap, int x, int y) {
  const COLORREF c = PixelOf(bitmap, x, y);
  if (GetBValue(c) != kCoordMark)
    return {-1, -1};
  return {GetRValue(c), GetGValue(c)};
}

// Counts pixels of `bitmap` outside `inside` that are no longer the sentinel.
inline int TouchedOutside(TBitmap &bitmap, const RECT &inside) {
  int touched = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const POINT p{x, y};
      if (!PtInRect(&inside, p) && PixelOf(bitmap, x, y) != kSentinel)
        ++touched;
    }
  return touched;
}

} // namespace skindraw
