// The window region: cut from the transparent (magenta) pixels of the left, right, top and
// bottom borders, so that rounded frames show what lies behind their corners.
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_draw.h"

namespace {

// Unites b into a; a takes b when it is empty.
void Unite(GdiRegion &a, GdiRegion b) {
  if (!a)
    a = std::move(b);
  else if (b)
    CombineRgn(a.Get(), a.Get(), b.Get(), RGN_OR);
}

GdiRegion RectRegion(int left, int top, int right, int bottom) {
  return GdiRegion(CreateRectRgn(left, top, right, bottom));
}

} // namespace

// The border as painted, turned into the region of its opaque pixels at (x, y); the plain
// rectangle when the border is opaque or too small to be cut.
GdiRegion TWinSkinForm::BorderRegion(int index, int x, int y, int width, int height, bool cut) {
  if (cut) {
    if (TBitmap *image = BorderImage(index, width, height))
      return BitmapToRegion(*image, x, y, 0xFF00FF, 1, 1, 1);
  }
  return RectRegion(x, y, x + width, y + height);
}

// True when a border lets the desktop show through: the left, right or top border has its
// transparency flag (the bottom border's flag does not count).
bool TWinSkinForm::CutsRegion() const {
  TDataSkinBorder *const *borders = SkinData->Borders;
  return borders[sbLeft]->Trans * 2 + borders[sbRight]->Trans + borders[sbTop]->Trans != 0;
}

// Rebuilt only when the window size or the skin changed since the last build: a paint or an
// activation never pays for it.
void TWinSkinForm::Cropwindow() {
  if (SkinState == 6 || !SkinFrame || SkinData == nullptr)
    return;
  RECT window{};
  GetWindowRect(Handle, &window);
  const int W = window.right - window.left, H = window.bottom - window.top;
  if (W * H == 0)
    return;
  if (IsMDIChild() && WindowState != swsNormal)
    return;
  if (W == RegionWidth && H == RegionHeight && !regionStale_)
    return;
  RegionWidth = W;
  RegionHeight = H;
  regionStale_ = false;
  if (!CutsRegion()) {
    // Opaque borders: the window needs no region at all (a rectangle of its own size would
    // only go stale on the next size change).
    if (HasRegion)
      SetWindowRgn(Handle, nullptr, TRUE);
    HasRegion = false;
    return;
  }
  HasRegion = false;
  GdiRegion region = BuildRegion(W, H);
  ++RegionBuilds;
  // The window owns the region from here on.
  SetWindowRgn(Handle, region.Release(), TRUE);
  HasRegion = true;
}

// The start rectangle inside the borders, united with the opaque part of each border.
GdiRegion TWinSkinForm::BuildRegion(int W, int H) {
  TDataSkinBorder *const *borders = SkinData->Borders;
  GdiRegion region = RectRegion(LeftWidth, TopHeight, W - RightWidth, H - BottomHeight);
  if (BorderStyle == sbsNone)
    return region;
  const int band = W - LeftWidth - RightWidth;
  GdiRegion sides = BorderRegion(1, 0, 0, LeftWidth, H, borders[sbLeft]->Trans == 1 && H > 1);
  Unite(sides,
        BorderRegion(2, W - RightWidth, 0, RightWidth, H, borders[sbRight]->Trans == 1 && H > 1));
  GdiRegion ends = BorderRegion(3, LeftWidth, 0, band, TopHeight,
                                borders[sbTop]->Trans == 1 && TopHeight > 1 && band > 0);
  Unite(ends, BorderRegion(4, LeftWidth, H - BottomHeight, band, BottomHeight,
                           borders[sbBottom]->Trans == 1 && BottomHeight > 1));
  Unite(ends, std::move(sides));
  Unite(region, std::move(ends));
  return region;
}

void TWinSkinForm::Uncropwindow() {
  if (!HasRegion)
    return;
  SetWindowRgn(Handle, nullptr, IsMDIChild());
  HasRegion = false;
  // The next Cropwindow builds afresh, whatever the size.
  RegionWidth = RegionHeight = 0;
}
