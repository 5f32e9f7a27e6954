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

void TWinSkinForm::Cropwindow() {
  if (SkinState == 6 || !SkinFrame)
    return;
  RECT window{};
  GetWindowRect(Handle, &window);
  const int W = window.right - window.left, H = window.bottom - window.top;
  if (W * H == 0)
    return;
  if (IsMDIChild() && WindowState != swsNormal)
    return;
  if (W == RegionWidth && H == RegionHeight && !IsMDIChild() && SkinState != 3)
    return;
  HasRegion = false;

  TDataSkinBorder *const *borders = SkinData->Borders;
  GdiRegion region;
  if (borders[sbLeft]->Trans * 2 + borders[sbRight]->Trans + borders[sbTop]->Trans != 0) {
    RegionWidth = W;
    RegionHeight = H;
    region = RectRegion(LeftWidth, TopHeight, W - RightWidth, H - BottomHeight);
    if (BorderStyle != sbsNone) {
      const int band = W - LeftWidth - RightWidth;
      Unite(region, BorderRegion(1, 0, 0, LeftWidth, H, borders[sbLeft]->Trans == 1 && H > 1));
      Unite(region, BorderRegion(2, W - RightWidth, 0, RightWidth, H,
                                 borders[sbRight]->Trans == 1 && H > 1));
      Unite(region, BorderRegion(4, LeftWidth, H - BottomHeight, band, BottomHeight,
                                 borders[sbBottom]->Trans == 1 && BottomHeight > 1));
      Unite(region, BorderRegion(3, LeftWidth, 0, band, TopHeight,
                                 borders[sbTop]->Trans == 1 && TopHeight > 1 && band > 0));
    }
  } else {
    region = RectRegion(0, 0, W, H);
  }
  // The window owns the region from here on.
  SetWindowRgn(Handle, region.Release(), TRUE);
  HasRegion = true;
}

void TWinSkinForm::Uncropwindow() {
  if (!HasRegion)
    return;
  SetWindowRgn(Handle, nullptr, IsMDIChild());
  HasRegion = false;
}
