#include "skin/data/imgutil.h"

#include "framework/gui/gdiobj.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

int BytesPerPixel(TBitmap &bitmap) {
  return bitmap.BitsPerPixel() / 8;
}

uint8_t *Row(TBitmap &bitmap, int y) {
  return static_cast<uint8_t *>(bitmap.ScanLine(y));
}

int Red(COLORREF c) {
  return static_cast<int>(c & 0xFF);
}
int Green(COLORREF c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
int Blue(COLORREF c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

// The new pixels of a turn, 32 bits each, row-major in the target's layout.
void WriteTurned(TBitmap *bitmap, const std::vector<uint32_t> &target, int width, int height) {
  bitmap->SetSize(width, height);
  const int step = BytesPerPixel(*bitmap);
  for (int y = 0; y < height; ++y) {
    uint8_t *row = Row(*bitmap, y);
    for (int x = 0; x < width; ++x) {
      const uint32_t p = target[static_cast<size_t>(y) * width + x];
      std::memcpy(row + x * step, &p, static_cast<size_t>(step));
    }
  }
}

// The pixels as 32-bit values (the 3 or 4 bytes of each), rows from the top, read in memory:
// the bitmap keeps its device context, which a turn at paint time would otherwise cost anew.
std::vector<uint32_t> ReadPixels(TBitmap *bitmap) {
  const int w = bitmap->Width(), h = bitmap->Height();
  const auto step = static_cast<size_t>(BytesPerPixel(*bitmap));
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, 0);
  for (int y = 0; y < h; ++y) {
    const uint8_t *row = Row(*bitmap, y);
    for (int x = 0; x < w; ++x)
      std::memcpy(&pixels[static_cast<size_t>(y) * w + x], row + x * step, step);
  }
  return pixels;
}

enum class Turn { Clockwise, CounterClockwise };

void TurnBitmap(TBitmap *bitmap, Turn turn) {
  if (!bitmap || bitmap->Empty())
    return;
  const int w = bitmap->Width(), h = bitmap->Height();
  const std::vector<uint32_t> source = ReadPixels(bitmap);
  // The target is h wide and w high.
  std::vector<uint32_t> target(source.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int tx = turn == Turn::Clockwise ? h - 1 - y : y;
      const int ty = turn == Turn::Clockwise ? x : w - 1 - x;
      target[static_cast<size_t>(ty) * h + tx] = source[static_cast<size_t>(y) * w + x];
    }
  WriteTurned(bitmap, target, h, w);
}

enum class Mirror { LeftRight, TopBottom };

// In place: the pixels trade places within the bitmap's own rows, so no second bitmap is made.
void MirrorBitmap(TBitmap *bitmap, Mirror mirror) {
  if (!bitmap || bitmap->Empty())
    return;
  const int w = bitmap->Width(), h = bitmap->Height();
  // Only 24 and 32 bits are kept in memory, so a pixel is 3 or 4 whole bytes.
  const size_t step = static_cast<size_t>(BytesPerPixel(*bitmap));
  if (mirror == Mirror::TopBottom) {
    const auto rowBytes = static_cast<size_t>(w) * step;
    for (int y = 0; y < h / 2; ++y)
      std::swap_ranges(Row(*bitmap, y), Row(*bitmap, y) + rowBytes, Row(*bitmap, h - 1 - y));
    return;
  }
  for (int y = 0; y < h; ++y) {
    uint8_t *row = Row(*bitmap, y);
    for (int x = 0; x < w / 2; ++x)
      std::swap_ranges(row + x * step, row + (x + 1) * step, row + (w - 1 - x) * step);
  }
}

// The ramp cache. Each slot also keeps the length and end colours it was asked for, so that a
// ramp whose last entry falls short of the end colour (falling channels) is found again.
struct GradRampSlot {
  std::vector<TColor> ramp;
  int length = 0;
  COLORREF from = 0;
  COLORREF to = 0;
};

struct GradCache {
  std::array<GradRampSlot, imgutil_detail::kRampSlots> slots;
  int ring = 0;
  int builds = 0;
};

GradCache &Cache() {
  static GradCache cache;
  return cache;
}

std::vector<TColor> BuildRamp(int n, COLORREF c1, COLORREF c2) {
  const int r = Red(c1), g = Green(c1), b = Blue(c1);
  const int dr = Red(c2) - r, dg = Green(c2) - g, db = Blue(c2) - b;
  std::vector<TColor> ramp(static_cast<size_t>(n));
  if (n == 1) {
    ramp[0] = static_cast<TColor>((r + dr / 2) + (g + dg / 2) * 256 + (b + db / 2) * 65536);
    return ramp;
  }
  const int d = n - 1, half = d / 2;
  for (int i = 0; i <= d; ++i) {
    // Integer division truncates toward zero, as the ramp's definition asks.
    const int ri = r + (dr * i + half) / d;
    const int gi = g + (dg * i + half) / d;
    const int bi = b + (db * i + half) / d;
    ramp[static_cast<size_t>(i)] = static_cast<TColor>(ri + gi * 256 + bi * 65536);
  }
  return ramp;
}

const std::vector<TColor> &FindOrBuildRamp(int n, COLORREF c1, COLORREF c2) {
  GradCache &cache = Cache();
  for (int slot = imgutil_detail::kRampSlots - 1; slot >= 0; --slot) {
    const GradRampSlot &s = cache.slots[static_cast<size_t>(slot)];
    if (s.length == n && s.from == c1 && s.to == c2)
      return s.ramp;
  }
  GradRampSlot &s = cache.slots[static_cast<size_t>(cache.ring)];
  s.ramp = BuildRamp(n, c1, c2);
  s.length = n;
  s.from = c1;
  s.to = c2;
  cache.ring = (cache.ring + 1) % imgutil_detail::kRampSlots;
  ++cache.builds;
  return s.ramp;
}

} // namespace

void ConvertBitmapToGrayscale(TBitmap *bitmap) {
  if (!bitmap)
    return;
  bitmap->SetPixelFormat(TPixelFormat::pf24bit);
  for (int y = 0; y < bitmap->Height(); ++y) {
    uint8_t *p = Row(*bitmap, y);
    for (int x = 0; x < bitmap->Width(); ++x, p += 3) {
      const auto grey = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
      p[0] = p[1] = p[2] = grey;
    }
  }
}

void ChangeTrans(TBitmap *bitmap, TColor color) {
  if (!bitmap)
    return;
  if (bitmap->PixelFormat() != TPixelFormat::pf24bit)
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
  const auto r = static_cast<uint8_t>(color & 0xFF);
  const auto g = static_cast<uint8_t>((color >> 8) & 0xFF);
  const auto b = static_cast<uint8_t>((color >> 16) & 0xFF);
  for (int y = 0; y < bitmap->Height(); ++y) {
    uint8_t *p = Row(*bitmap, y);
    for (int x = 0; x < bitmap->Width(); ++x, p += 3)
      if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
        p[0] = b;
        p[1] = g;
        p[2] = r;
      }
  }
}

void SpiegelnHorizontal(TBitmap *bitmap) {
  MirrorBitmap(bitmap, Mirror::LeftRight);
}

void SpiegelnVertikal(TBitmap *bitmap) {
  MirrorBitmap(bitmap, Mirror::TopBottom);
}

void Drehen90Grad(TBitmap *bitmap) {
  TurnBitmap(bitmap, Turn::Clockwise);
}

void Drehen270Grad(TBitmap *bitmap) {
  TurnBitmap(bitmap, Turn::CounterClockwise);
}

void CopyPixels(TBitmap &dest, int dx, int dy, TBitmap &source, int sx, int sy, int w, int h,
                const RECT &clip, bool keyed) {
  // The block shrinks to where its source lies inside source and its target inside dest and clip.
  const int left = std::max({0, -sx, -dx, static_cast<int>(clip.left) - dx});
  const int top = std::max({0, -sy, -dy, static_cast<int>(clip.top) - dy});
  const int right =
      std::min({w, source.Width() - sx, dest.Width() - dx, static_cast<int>(clip.right) - dx});
  const int bottom =
      std::min({h, source.Height() - sy, dest.Height() - dy, static_cast<int>(clip.bottom) - dy});
  if (left >= right || top >= bottom)
    return;
  const int sStep = BytesPerPixel(source), dStep = BytesPerPixel(dest);
  const bool raw = sStep == dStep && !keyed;
  for (int y = top; y < bottom; ++y) {
    const uint8_t *s = Row(source, sy + y) + (sx + left) * sStep;
    uint8_t *d = Row(dest, dy + y) + (dx + left) * dStep;
    if (raw) {
      std::memmove(d, s, static_cast<size_t>(right - left) * sStep);
      continue;
    }
    for (int x = left; x < right; ++x, s += sStep, d += dStep) {
      if (keyed && s[0] == 255 && s[1] == 0 && s[2] == 255)
        continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
      if (dStep == 4)
        d[3] = sStep == 4 ? s[3] : 0;
    }
  }
}

void FillPixels(TBitmap &bitmap, const RECT &r, COLORREF colour) {
  const int left = std::max<int>(r.left, 0), right = std::min<int>(r.right, bitmap.Width());
  const int top = std::max<int>(r.top, 0), bottom = std::min<int>(r.bottom, bitmap.Height());
  if (left >= right || top >= bottom)
    return;
  const int step = BytesPerPixel(bitmap);
  const uint8_t pixel[4] = {static_cast<uint8_t>(Blue(colour)), static_cast<uint8_t>(Green(colour)),
                            static_cast<uint8_t>(Red(colour)), 0};
  for (int y = top; y < bottom; ++y) {
    uint8_t *d = Row(bitmap, y) + left * step;
    for (int x = left; x < right; ++x, d += step)
      std::memcpy(d, pixel, static_cast<size_t>(step));
  }
}

TColor Blend(TColor c1, TColor c2, int amount) {
  const COLORREF a = ColorToRGB(c1), b = ColorToRGB(c2);
  const int divisor = amount < 100 ? 100 : 1000;
  // Outside 0..divisor one weight would turn negative and the channels leave 0..255.
  amount = std::clamp(amount, 0, divisor);
  const auto mix = [&](int x, int y) {
    return (x * amount + y * (divisor - amount) + divisor / 2) / divisor;
  };
  return static_cast<TColor>(mix(Red(a), Red(b)) + mix(Green(a), Green(b)) * 256 +
                             mix(Blue(a), Blue(b)) * 65536);
}

int GetHSV(TColor color) {
  const int r = Red(color), g = Green(color), b = Blue(color);
  if (r < 160 && g < 160 && b < 160)
    return 200;
  const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
  // hi >= 160 here. Round (hi - lo) * 255 / hi to the nearest integer, halves up.
  return ((hi - lo) * 255 * 2 + hi) / (2 * hi);
}

namespace {

// Band i of a gradient over r: one pixel thick, across the whole rectangle.
RECT Band(const RECT &r, bool vertical, int i) {
  return vertical ? RECT{r.left, r.top + i, r.right, r.top + i + 1}
                  : RECT{r.left + i, r.top, r.left + i + 1, r.bottom};
}

// The ramp of a gradient over r and the bands of it inside clip: first to last (none when last
// is below first). False when there is nothing to paint.
bool GradBands(const RECT &r, const RECT &clip, TColor c1, TColor c2, bool vertical,
               const std::vector<TColor> *&ramp, int &first, int &last) {
  const COLORREF from = ColorToRGB(c1), to = ColorToRGB(c2);
  const int n = vertical ? r.bottom - r.top : r.right - r.left;
  if (n <= 0)
    return false;
  const int start = vertical ? r.top : r.left, end = vertical ? r.bottom : r.right;
  const int clipStart = vertical ? clip.top : clip.left,
            clipEnd = vertical ? clip.bottom : clip.right;
  first = 0;
  last = n - 1;
  if (clipStart > start)
    first = clipStart - start;
  if (end > clipEnd)
    last -= end - clipEnd;
  ramp = &FindOrBuildRamp(n, from, to);
  return true;
}

} // namespace

void GradFill(HDC dc, const RECT &r, TColor c1, TColor c2, int direction) {
  if (!RectVisible(dc, &r))
    return;
  RECT clip{};
  GetClipBox(dc, &clip);
  const std::vector<TColor> *ramp = nullptr;
  int first = 0, last = -1;
  if (!GradBands(r, clip, c1, c2, direction != 0, ramp, first, last))
    return;
  for (int i = first; i <= last; ++i) {
    const RECT band = Band(r, direction != 0, i);
    GdiBrush brush(CreateSolidBrush((*ramp)[static_cast<size_t>(i)]));
    FillRect(dc, &band, brush.Get());
  }
}

void GradFillPixels(TBitmap &bitmap, const RECT &r, TColor c1, TColor c2, int direction) {
  const RECT bounds{0, 0, bitmap.Width(), bitmap.Height()};
  RECT visible{};
  if (!IntersectRect(&visible, &r, &bounds))
    return;
  const std::vector<TColor> *ramp = nullptr;
  int first = 0, last = -1;
  if (!GradBands(r, bounds, c1, c2, direction != 0, ramp, first, last))
    return;
  for (int i = first; i <= last; ++i)
    FillPixels(bitmap, Band(r, direction != 0, i),
               static_cast<COLORREF>((*ramp)[static_cast<size_t>(i)]));
}

namespace imgutil_detail {

const std::vector<TColor> &GradRamp(int slot) {
  static const std::vector<TColor> none;
  if (slot < 0 || slot >= kRampSlots)
    return none;
  return Cache().slots[static_cast<size_t>(slot)].ramp;
}

int GradRingIndex() {
  return Cache().ring;
}

int GradRampBuilds() {
  return Cache().builds;
}

void ResetGradCache() {
  Cache() = GradCache{};
}

} // namespace imgutil_detail
