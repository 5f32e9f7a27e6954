// Header controls.
#include "skin/controls/winsubclass_header.h"

#include "skin/data/winskindata.h"
#include "skin/form/winskinform_draw.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

void TSkinHeader::Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) {
  TSkinControl::Init(form, data, canvas, changeColor);
  HotItem = -1;
}

void TSkinHeader::Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) {
  TSkinControl::Inithwnd(window, data, canvas, form);
  HotItem = -1;
}

bool TSkinHeader::BeforeProc(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
    WMPaint(m);
    return false;
  case WM_ERASEBKGND:
    if (!HasSkinImage(SkinData->Headerbar))
      break;
    m.Result = 1;
    return false;
  default:
    break;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinHeader::AfterProc(TMessage &m) {
  switch (m.Msg) {
  case WM_MOUSEMOVE:
    WMMouseMove(m);
    return;
  case WM_MOUSELEAVE:
    HotItem = -1;
    Invalidate();
    return;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    // Only a press on a column's face presses it; one on a divider starts a resize.
    if (GetCapture() == Handle) {
      HDHITTESTINFO hit{};
      hit.pt = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      SendMessageA(Handle, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if ((hit.flags & HHT_ONHEADER) != 0 && hit.iItem >= 0) {
        PressedItem = hit.iItem;
        Invalidate();
      }
    }
    return;
  case WM_LBUTTONUP:
  case WM_CAPTURECHANGED:
    if (PressedItem >= 0) {
      PressedItem = -1;
      Invalidate();
    }
    return;
  default:
    TSkinControl::AfterProc(m);
  }
}

void TSkinHeader::WMMouseMove(TMessage &m) {
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  for (size_t i = 0; i < ItemRects.size(); ++i) {
    if (PtInRect(&ItemRects[i], p) && static_cast<int>(i) != HotItem) {
      HotItem = static_cast<int>(i);
      Invalidate();
    }
  }
  DoTrackMouse(Handle);
}

void TSkinHeader::DrawControl(HDC dc, const RECT &r) {
  TDataSkinObject *bar = SkinData->Headerbar;
  if (!HasSkinImage(bar))
    return;
  TBitmap buffer(Width(r), Height(r));
  TCanvas &canvas = buffer.Canvas();
  AssignWindowFont(canvas, Handle);
  SetBkMode(canvas.Handle(), TRANSPARENT);
  Enabled = true;
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle, HDM_GETIMAGELIST, 0, 0));
  const int count = static_cast<int>(SendMessageA(Handle, HDM_GETITEMCOUNT, 0, 0));
  ItemRects.assign(static_cast<size_t>(std::max(count, 0)), RECT{0, 0, 0, 0});
  int right = 0;
  for (int i = 0; i < count; ++i) {
    RECT c{};
    if (!SendMessageA(Handle, HDM_GETITEMRECT, static_cast<WPARAM>(i),
                      reinterpret_cast<LPARAM>(&c)))
      continue;
    DrawItem(images, canvas, i, c);
    InflateRect(&c, -3, 0);
    ItemRects[static_cast<size_t>(i)] = c;
    right = std::max(right, static_cast<int>(c.right) + 3);
  }
  if (right < r.right) {
    const RECT rest{right, r.top, r.right, r.bottom};
    if (auto image =
            GetHMap(rest, *bar->Image, bar->Margins, 1, bar->Frames(), bar->Tile != 0, false))
      BitBlt(canvas.Handle(), rest.left, rest.top, Width(rest), Height(rest),
             image->Canvas().Handle(), 0, 0, SRCCOPY);
  }
  BitBlt(dc, r.left, r.top, Width(r), Height(r), canvas.Handle(), 0, 0, SRCCOPY);
}

void TSkinHeader::DrawItem(HIMAGELIST images, TCanvas &canvas, int index, const RECT &c) {
  TDataSkinObject *bar = SkinData->Headerbar;
  wchar_t text[201] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  item.pszText = text;
  item.cchTextMax = 201;
  SendMessageW(Handle, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  // Frames: 1 normal, 2 hot, 3 pressed (hot where the skin has only two); a held column looks
  // pressed while the mouse is over it.
  int frame = 1;
  if (index == PressedItem && index == HotItem)
    frame = std::min(3, bar->Frames());
  else if (index == HotItem)
    frame = std::min(2, bar->Frames());
  std::unique_ptr<TBitmap> image =
      GetHMap(c, *bar->Image, bar->Margins, frame, bar->Frames(), bar->Tile != 0, false);
  if (image == nullptr)
    return;
  const std::wstring caption(text);
  if (!caption.empty()) {
    const int alignment = (item.fmt & HDF_RIGHT) != 0 ? 2 : (item.fmt & HDF_CENTER) != 0 ? 1 : 0;
    const int imageIndex = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) != 0 ? item.iImage : -1;
    image->Canvas().Font().Assign(canvas.Font());
    DrawImgCaption(image->Canvas(), {0, 0, Width(c), Height(c)}, images, imageIndex, caption,
                   alignment);
  }
  BitBlt(canvas.Handle(), c.left, c.top, Width(c), Height(c), image->Canvas().Handle(), 0, 0,
         SRCCOPY);
}
