#include "skin/form/winskinform_draw.h"

#include "framework/gui/controls.h"
#include "skin/data/winskindlg.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr TColor kKey = 0xFF00FF;
// MaskBlt: where the mask is 1 (key colour) the destination stays, elsewhere SRCCOPY.
constexpr DWORD kKeepKeyedCopyRest = 0xCCAA0029;

// One frame of a strip, in source coordinates.
struct Frame {
  int x = 0, y = 0, w = 0, h = 0;
};

// False when there is nothing to draw from: an empty source, a frame count below 1 (which
// would divide by zero) or a frame that truncates to no pixels.
bool FrameOf(TBitmap &source, int index, int count, bool vertical, Frame &frame) {
  if (source.Empty() || count < 1)
    return false;
  if (vertical) {
    frame.w = source.Width();
    frame.h = source.Height() / count;
    frame.x = 0;
    frame.y = (index - 1) * frame.h;
  } else {
    frame.w = source.Width() / count;
    frame.h = source.Height();
    frame.x = (index - 1) * frame.w;
    frame.y = 0;
  }
  return frame.w > 0 && frame.h > 0;
}

bool Inverted(const RECT &r) {
  return r.right < r.left || r.bottom < r.top;
}

int WidthOf(const RECT &r) {
  return r.right - r.left;
}
int HeightOf(const RECT &r) {
  return r.bottom - r.top;
}

// Stretch-copies src (relative to the frame) onto dst (relative to `at` on `to`). A piece
// without area on either side is skipped: GDI would mirror a negative size, and a zero-size
// source draws nothing anyway.
void Piece(HDC to, POINT at, HDC from, const Frame &frame, const RECT &src, const RECT &dst) {
  if (WidthOf(src) <= 0 || HeightOf(src) <= 0 || WidthOf(dst) <= 0 || HeightOf(dst) <= 0)
    return;
  StretchBlt(to, at.x + dst.left, at.y + dst.top, WidthOf(dst), HeightOf(dst), from,
             frame.x + src.left, frame.y + src.top, WidthOf(src), HeightOf(src), SRCCOPY);
}

// Margins are widths: a negative one would read the neighbouring frame, so it counts as 0.
RECT NonNegative(const RECT &margins) {
  return RECT{std::max<LONG>(margins.left, 0), std::max<LONG>(margins.top, 0),
              std::max<LONG>(margins.right, 0), std::max<LONG>(margins.bottom, 0)};
}

// The margins that apply to a W x H destination: a pair that does not fit is dropped, so the
// whole frame is stretched in that direction.
RECT FitMargins(const RECT &margins, int W, int H) {
  RECT m = NonNegative(margins);
  if (W < m.left + m.right)
    m.left = m.right = 0;
  if (H < m.top + m.bottom)
    m.top = m.bottom = 0;
  return m;
}

// The nine-slice pieces in the order skins are authored against: the pieces drawn after the
// centre cover whatever a tiled centre ran past its borders.
struct SlicePiece {
  RECT src;
  RECT dst;
  bool centre;
};

std::vector<SlicePiece> NineSlices(const Frame &f, const RECT &m, int W, int H) {
  const LONG l = m.left, t = m.top, r = m.right, b = m.bottom, w = f.w, h = f.h;
  std::vector<SlicePiece> pieces;
  pieces.reserve(9);
  if (l * t > 0)
    pieces.push_back({{0, 0, l, t}, {0, 0, l, t}, false});
  if (l * b > 0)
    pieces.push_back({{0, h - b, l, h}, {0, H - b, l, H}, false});
  if (r * t > 0)
    pieces.push_back({{w - r, 0, w, t}, {W - r, 0, W, t}, false});
  if (l > 0)
    pieces.push_back({{0, t, l, h - b}, {0, t, l, H - b}, false});
  if (t > 0)
    pieces.push_back({{l, 0, w - r, t}, {l, 0, W - r, t}, false});
  pieces.push_back({{l, t, w - r, h - b}, {l, t, W - r, H - b}, true});
  if (r * b > 0)
    pieces.push_back({{w - r, h - b, w, h}, {W - r, H - b, W, H}, false});
  if (r > 0)
    pieces.push_back({{w - r, t, w, h - b}, {W - r, t, W, H - b}, false});
  if (b > 0)
    pieces.push_back({{l, h - b, w - r, h}, {l, H - b, W - r, H}, false});
  return pieces;
}

// A composed image onto dc at dest's top-left, magenta left out when transparent.
void PutImage(HDC dc, int x, int y, TBitmap &image, bool transparent) {
  if (image.Empty())
    return;
  const RECT at{x, y, x + image.Width(), y + image.Height()};
  if (transparent)
    DrawTranmap(dc, at, image, kKey);
  else
    BitBlt(dc, x, y, image.Width(), image.Height(), image.Canvas().Handle(), 0, 0, SRCCOPY);
}

// The part of dest that source can fill from its top-left; false when that is nothing.
bool CopyExtent(const RECT &dest, TBitmap &source, int &w, int &h) {
  if (Inverted(dest) || source.Empty())
    return false;
  w = std::min(WidthOf(dest), source.Width());
  h = std::min(HeightOf(dest), source.Height());
  return w > 0 && h > 0;
}

// A monochrome w x h mask of source's top-left: 1 (white) where the pixel is the key colour.
// Returned selected nowhere, so MaskBlt may select it itself.
GdiBitmap KeyMask(HDC source, int w, int h, COLORREF key) {
  GdiBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
  if (!mask)
    throw EOutOfResources("cannot create a transparency mask");
  GdiMemoryDC maskDC(CreateCompatibleDC(nullptr));
  if (!maskDC)
    throw EOutOfResources("cannot create a memory device context");
  GdiSelection select(maskDC.Get(), mask.Get());
  const COLORREF previous = SetBkColor(source, key);
  BitBlt(maskDC.Get(), 0, 0, w, h, source, 0, 0, SRCCOPY);
  SetBkColor(source, previous);
  return mask;
}

// Restores a DC saved with SaveDC when the scope ends.
class SavedDC {
public:
  explicit SavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDC() {
    if (saved_ != 0)
      RestoreDC(dc_, saved_);
  }
  SavedDC(const SavedDC &) = delete;
  SavedDC &operator=(const SavedDC &) = delete;
  explicit operator bool() const { return saved_ != 0; }

private:
  HDC dc_;
  int saved_;
};

// Three slices along one axis straight onto dc (DrawRectH across, DrawRectV down).
void DrawThreeSlices(HDC dc, const RECT &dest, TBitmap &source, const RECT &margins, int frameIndex,
                     int frameCount, bool vertical, bool across) {
  Frame f;
  if (!FrameOf(source, frameIndex, frameCount, vertical, f))
    return;
  const int W = WidthOf(dest), H = HeightOf(dest);
  if (W <= 0 || H <= 0)
    return;
  HDC from = source.Canvas().Handle();
  const POINT at{dest.left, dest.top};
  // These draw on the caller's DC: stretch without smoothing, and give the DC its mode back.
  const int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
  const RECT whole{0, 0, f.w, f.h};
  const RECT m = NonNegative(margins);
  if (across) {
    const LONG l = m.left, r = m.right;
    if (W < f.w) {
      Piece(dc, at, from, f, whole, RECT{0, 0, W, H});
    } else {
      Piece(dc, at, from, f, RECT{0, 0, l, f.h}, RECT{0, 0, l, H});
      Piece(dc, at, from, f, RECT{l, 0, f.w - r, f.h}, RECT{l, 0, W - r, H});
      Piece(dc, at, from, f, RECT{f.w - r, 0, f.w, f.h}, RECT{W - r, 0, W, H});
    }
  } else {
    const LONG t = m.top, b = m.bottom;
    if (H < f.h) {
      Piece(dc, at, from, f, whole, RECT{0, 0, W, H});
    } else {
      Piece(dc, at, from, f, RECT{0, 0, f.w, t}, RECT{0, 0, W, t});
      Piece(dc, at, from, f, RECT{0, t, f.w, f.h - b}, RECT{0, t, W, H - b});
      Piece(dc, at, from, f, RECT{0, f.h - b, f.w, f.h}, RECT{0, H - b, W, H});
    }
  }
  if (previousMode != 0)
    SetStretchBltMode(dc, previousMode);
}

// Frees BG when the program ends.
struct BackgroundBitmap {
  BackgroundBitmap() : bitmap(new TBitmap) {}
  ~BackgroundBitmap() {
    delete bitmap;
    BG = nullptr;
  }
  TBitmap *bitmap;
};

} // namespace

// Its canvas's DC is made with COLORONCOLOR, the mode the menu bar paints with.
static BackgroundBitmap backgroundBitmap;
TBitmap *BG = backgroundBitmap.bitmap;

std::unique_ptr<TBitmap> GetHMap(const RECT &dest, TBitmap &source, const RECT &margins,
                                 int frameIndex, int frameCount, bool tile, bool vertical) {
  const int W = std::max(WidthOf(dest), 0), H = std::max(HeightOf(dest), 0);
  auto result = std::make_unique<TBitmap>(W, H, TPixelFormat::pf24bit);
  Frame f;
  if (result->Empty() || !FrameOf(source, frameIndex, frameCount, vertical, f))
    return result;
  HDC to = result->Canvas().Handle();
  SetStretchBltMode(to, COLORONCOLOR);
  HDC from = source.Canvas().Handle();
  for (const SlicePiece &piece : NineSlices(f, FitMargins(margins, W, H), W, H)) {
    if (piece.centre && tile) {
      const RECT src{f.x + piece.src.left, f.y + piece.src.top, f.x + piece.src.right,
                     f.y + piece.src.bottom};
      DrawBGbmp(result->Canvas(), piece.dst, source, src);
    } else {
      Piece(to, POINT{0, 0}, from, f, piece.src, piece.dst);
    }
  }
  return result;
}

void DrawRect2(HDC dc, const RECT &dest, TBitmap &source, const RECT &margins, int frameIndex,
               int frameCount, bool transparent, bool tile, bool vertical) {
  Frame f;
  if (Inverted(dest) || !FrameOf(source, frameIndex, frameCount, vertical, f))
    return;
  std::unique_ptr<TBitmap> image =
      GetHMap(dest, source, margins, frameIndex, frameCount, tile, vertical);
  PutImage(dc, dest.left, dest.top, *image, transparent);
}

void DrawRect1(HDC dc, const RECT &dest, TBitmap &source, int frameIndex, int frameCount,
               bool transparent) {
  Frame f;
  if (Inverted(dest) || !FrameOf(source, frameIndex, frameCount, false, f))
    return;
  TBitmap image(WidthOf(dest), HeightOf(dest), TPixelFormat::pf24bit);
  if (image.Empty())
    return;
  Piece(image.Canvas().Handle(), POINT{0, 0}, source.Canvas().Handle(), f, RECT{0, 0, f.w, f.h},
        RECT{0, 0, image.Width(), image.Height()});
  PutImage(dc, dest.left, dest.top, image, transparent);
}

void DrawRect3(HDC dc, const RECT &dest, TBitmap &source, int frameIndex, int frameCount,
               bool transparent) {
  Frame f;
  if (Inverted(dest) || !FrameOf(source, frameIndex, frameCount, false, f))
    return;
  TBitmap image(f.w, f.h, TPixelFormat::pf24bit);
  BitBlt(image.Canvas().Handle(), 0, 0, f.w, f.h, source.Canvas().Handle(), f.x, f.y, SRCCOPY);
  // Integer division truncates toward zero: a frame larger than dest overflows on both sides.
  const int x = dest.left + (WidthOf(dest) - f.w) / 2;
  const int y = dest.top + (HeightOf(dest) - f.h) / 2;
  PutImage(dc, x, y, image, transparent);
}

void DrawRectH(HDC dc, const RECT &dest, TBitmap &source, const RECT &margins, int frameIndex,
               int frameCount, int, bool vertical) {
  DrawThreeSlices(dc, dest, source, margins, frameIndex, frameCount, vertical, true);
}

void DrawRectV(HDC dc, const RECT &dest, TBitmap &source, const RECT &margins, int frameIndex,
               int frameCount, int, bool vertical) {
  DrawThreeSlices(dc, dest, source, margins, frameIndex, frameCount, vertical, false);
}

void DrawRectTile(TCanvas &canvas, const RECT &dest, TBitmap &source, const RECT &margins,
                  int frameIndex, int frameCount, bool transparent, bool vertical) {
  Frame f;
  if (Inverted(dest) || !FrameOf(source, frameIndex, frameCount, vertical, f))
    return;
  const int W = WidthOf(dest), H = HeightOf(dest);
  TBitmap image(W, H, TPixelFormat::pf24bit);
  if (image.Empty())
    return;
  HDC to = image.Canvas().Handle();
  SetStretchBltMode(to, COLORONCOLOR);
  HDC from = source.Canvas().Handle();
  const POINT origin{0, 0};
  const RECT caps = NonNegative(margins);
  const LONG l = caps.left, r = caps.right;
  const LONG m = f.w - l - r;

  Piece(to, origin, from, f, RECT{0, 0, l, f.h}, RECT{0, 0, l, H});
  if (m > 0) {
    for (LONG x = l; x < W - r; x += m)
      Piece(to, origin, from, f, RECT{l, 0, l + m, f.h}, RECT{x, 0, x + m, H});
  } else {
    // The caps leave no middle to tile (it would never advance): the whole frame is stretched
    // over the middle area once, so that it is not left black.
    Piece(to, origin, from, f, RECT{0, 0, f.w, f.h}, RECT{l, 0, W - r, H});
  }
  Piece(to, origin, from, f, RECT{f.w - r, 0, f.w, f.h}, RECT{W - r, 0, W, H});

  image.SetTransparent(transparent);
  if (transparent)
    image.SetTransparentColor(kKey);
  canvas.Draw(dest.left, dest.top, image);
}

void DrawBorder(HDC dc, const RECT &dest, TBitmap &source, const RECT &margins, int frameIndex,
                int frameCount, int, bool vertical) {
  Frame f;
  if (!FrameOf(source, frameIndex, frameCount, vertical, f))
    return;
  const int W = WidthOf(dest), H = HeightOf(dest);
  if (W <= 0 || H <= 0)
    return;
  SetStretchBltMode(dc, COLORONCOLOR); // left set, as callers expect
  HDC from = source.Canvas().Handle();
  for (const SlicePiece &piece : NineSlices(f, FitMargins(margins, W, H), W, H))
    if (!piece.centre)
      Piece(dc, POINT{dest.left, dest.top}, from, f, piece.src, piece.dst);
}

std::unique_ptr<TBitmap> GetThumbMap(const RECT &dest, TBitmap &source, const RECT &margins,
                                     int frameIndex, int frameCount, int, bool flag) {
  const int W = std::max(WidthOf(dest), 0), H = std::max(HeightOf(dest), 0);
  auto result = std::make_unique<TBitmap>(W, H, TPixelFormat::pf24bit);
  Frame f;
  if (flag || result->Empty() || !FrameOf(source, frameIndex, frameCount, false, f))
    return result;
  HDC to = result->Canvas().Handle();
  SetStretchBltMode(to, COLORONCOLOR);
  HDC from = source.Canvas().Handle();
  const POINT origin{0, 0};
  const RECT bands = NonNegative(margins);
  const LONG t = bands.top, b = bands.bottom;
  Piece(to, origin, from, f, RECT{0, 0, f.w, t}, RECT{0, 0, W, t});
  Piece(to, origin, from, f, RECT{0, t, f.w, f.h - b}, RECT{0, t, W, H - b});
  Piece(to, origin, from, f, RECT{0, f.h - b, f.w, f.h}, RECT{0, H - b, W, H});
  return result;
}

void DrawBGbmp(TCanvas &canvas, const RECT &dest, TBitmap &source, const RECT &sourceRect) {
  const int sw = WidthOf(sourceRect), sh = HeightOf(sourceRect);
  if (sw <= 0 || sh <= 0 || source.Empty())
    return;
  TBitmap tile(sw, sh, TPixelFormat::pf24bit);
  BitBlt(tile.Canvas().Handle(), 0, 0, sw, sh, source.Canvas().Handle(), sourceRect.left,
         sourceRect.top, SRCCOPY);
  HDC to = canvas.Handle();
  HDC from = tile.Canvas().Handle();
  for (LONG x = dest.left; x < dest.right; x += sw)
    for (LONG y = dest.top; y < dest.bottom; y += sh)
      BitBlt(to, x, y, sw, sh, from, 0, 0, SRCCOPY);
}

void DrawTranmap(HDC dc, const RECT &dest, TBitmap &source, TColor key) {
  if (Win32PlatformIsUnicode)
    tranmap::WithMaskBlt(dc, dest, source, key);
  else
    tranmap::WithXorMask(dc, dest, source, key);
}

namespace tranmap {

void WithMaskBlt(HDC dc, const RECT &dest, TBitmap &source, TColor key) {
  int w = 0, h = 0;
  if (!CopyExtent(dest, source, w, h))
    return;
  HDC from = source.Canvas().Handle();
  GdiBitmap mask = KeyMask(from, w, h, ColorToRGB(key));
  MaskBlt(dc, dest.left, dest.top, w, h, from, 0, 0, mask.Get(), 0, 0, kKeepKeyedCopyRest);
}

void WithXorMask(HDC dc, const RECT &dest, TBitmap &source, TColor key) {
  int w = 0, h = 0;
  if (!CopyExtent(dest, source, w, h))
    return;
  HDC from = source.Canvas().Handle();
  GdiBitmap mask = KeyMask(from, w, h, ColorToRGB(key));
  GdiMemoryDC maskDC(CreateCompatibleDC(dc));
  if (!maskDC)
    throw EOutOfResources("cannot create a memory device context");
  GdiSelection select(maskDC.Get(), mask.Get());
  // The mask's white must expand to all ones and its black to zeros.
  const COLORREF bk = SetBkColor(dc, RGB(255, 255, 255));
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
  BitBlt(dc, dest.left, dest.top, w, h, from, 0, 0, SRCINVERT);
  BitBlt(dc, dest.left, dest.top, w, h, maskDC.Get(), 0, 0, SRCAND);
  BitBlt(dc, dest.left, dest.top, w, h, from, 0, 0, SRCINVERT);
  SetBkColor(dc, bk);
  SetTextColor(dc, text);
}

} // namespace tranmap

void Bitmapdraw(HDC dc, const RECT &dest, TBitmap &source) {
  // Our bitmaps are 24- and 32-bit DIB sections: there is never a palette to realise.
  int w = 0, h = 0;
  if (!CopyExtent(dest, source, w, h))
    return;
  BitBlt(dc, dest.left, dest.top, w, h, source.Canvas().Handle(), 0, 0, SRCCOPY);
}

void DrawParentImage(TControl *control, HDC dc, bool) {
  if (control == nullptr || dc == nullptr)
    return;
  TWinControl *parent = control->Parent();
  // A parent without a window has nothing on screen to show; do not create one for this.
  if (parent == nullptr || !parent->HandleAllocated())
    return;
  HWND window = parent->Handle();
  SavedDC saved(dc);
  if (!saved)
    return;
  RECT clip = control->ClientRect();
  // From here on dc speaks in the parent's client coordinates, limited to the control.
  OffsetViewportOrgEx(dc, -control->Left(), -control->Top(), nullptr);
  OffsetRect(&clip, control->Left(), control->Top());
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  try {
    SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  } catch (...) {
    // Painting a parent's picture is cosmetic: a failure leaves the control's own paint.
  }
}

GdiRegion BitmapToRegion(TBitmap &bitmap, int xOffset, int yOffset, TColor key,
                         uint8_t redTolerance, uint8_t greenTolerance, uint8_t blueTolerance) {
  constexpr DWORD kGrowBy = 500;
  constexpr DWORD kBatch = 2000;
  const COLORREF rgb = ColorToRGB(key);
  const int lowR = GetRValue(rgb), lowG = GetGValue(rgb), lowB = GetBValue(rgb);
  const int highR = std::min(lowR + redTolerance, 255);
  const int highG = std::min(lowG + greenTolerance, 255);
  const int highB = std::min(lowB + blueTolerance, 255);

  // Header and rectangles in one block, as ExtCreateRegion takes them.
  std::vector<RECT> block;
  DWORD capacity = 0;
  auto header = [&]() { return reinterpret_cast<RGNDATAHEADER *>(block.data()); };
  auto rects = [&]() { return block.data() + 2; };
  static_assert(sizeof(RGNDATAHEADER) == 2 * sizeof(RECT));
  auto resetHeader = [&]() {
    RGNDATAHEADER *hd = header();
    hd->dwSize = sizeof(RGNDATAHEADER);
    hd->iType = RDH_RECTANGLES;
    hd->nCount = 0;
    hd->nRgnSize = 0;
    SetRect(&hd->rcBound, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0);
  };
  auto grow = [&]() {
    capacity += kGrowBy;
    block.resize(2 + capacity);
  };
  grow();
  resetHeader();

  GdiRegion result;
  auto flush = [&]() {
    GdiRegion part(ExtCreateRegion(
        nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + sizeof(RECT) * capacity),
        reinterpret_cast<const RGNDATA *>(block.data())));
    if (!part)
      throw EOutOfResources("cannot create a region");
    if (!result)
      result = std::move(part);
    else
      CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    resetHeader();
  };

  if (!bitmap.Empty()) {
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    const int width = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
      // Each row is fetched by itself, so a bitmap of one row works as well.
      const auto *row = static_cast<const uint8_t *>(bitmap.ScanLine(y));
      auto transparent = [&](int x) {
        const uint8_t *p = row + static_cast<size_t>(x) * 4; // blue, green, red, unused
        return p[2] >= lowR && p[2] <= highR && p[1] >= lowG && p[1] <= highG && p[0] >= lowB &&
               p[0] <= highB;
      };
      for (int x = 0; x < width; ++x) {
        const int x0 = x;
        while (x < width && !transparent(x))
          ++x;
        if (x > x0) {
          if (header()->nCount >= capacity)
            grow();
          RGNDATAHEADER *hd = header();
          SetRect(&rects()[hd->nCount], x0 + xOffset, y + yOffset, x + xOffset, y + yOffset + 1);
          ++hd->nCount;
          // The bound encloses the rectangles as stored, offsets included.
          const RECT &added = rects()[hd->nCount - 1];
          hd->rcBound.left = std::min(hd->rcBound.left, added.left);
          hd->rcBound.top = std::min(hd->rcBound.top, added.top);
          hd->rcBound.right = std::max(hd->rcBound.right, added.right);
          hd->rcBound.bottom = std::max(hd->rcBound.bottom, added.bottom);
          if (hd->nCount == kBatch)
            flush();
        }
      }
    }
  }
  flush();
  return result;
}

int Max(int a, int b) {
  return a > b ? a : b;
}

int Min(int a, int b) {
  return a < b ? a : b;
}

void SkinAddLog(const std::string &) {}
