// Reads pixels of a TBitmap straight from its DIB memory.
#pragma once

#include "framework/gui/bitmap.h"

#include <string>

inline COLORREF PixelOf(TBitmap &bmp, int x, int y) {
  const auto *row = static_cast<const uint8_t *>(bmp.ScanLine(y));
  const int step = bmp.BitsPerPixel() / 8;
  return RGB(row[x * step + 2], row[x * step + 1], row[x * step]);
}

// One character per pixel of a row, from a legend of colours: makes failures readable.
inline std::string RowOf(TBitmap &bmp, int y,
                         std::initializer_list<std::pair<COLORREF, char>> legend) {
  std::string out;
  for (int x = 0; x < bmp.Width(); ++x) {
    char c = '?';
    for (const auto &[colour, ch] : legend)
      if (PixelOf(bmp, x, y) == colour)
        c = ch;
    out += c;
  }
  return out;
}
