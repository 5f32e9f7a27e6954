#include "skin/data/winskinmenu.h"

#include "framework/core/delegates.h"
#include "framework/gui/gdiobj.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/form/winskinform_draw.h"

#include <memory>

namespace {

constexpr int kFrame = 3;                  // the menu's frame around its items
constexpr DWORD kDcxUseStyle = 0x00010000; // GetDCEx: clip as the window's style says

} // namespace

TWinSkinPopMenu *FindWinSkinPopMenu(HWND window) {
  return dynamic_cast<TWinSkinPopMenu *>(TWindowSubclass::Find(window, slPopupMenu));
}

TWinSkinPopMenu::TWinSkinPopMenu() : Background(new TBitmap) {}

TWinSkinPopMenu::~TWinSkinPopMenu() {
  UnSubClass();
  delete Background;
}

void TWinSkinPopMenu::InitSkin(HWND window, TSkinData *data, HMENU menu) {
  Handle = window;
  SkinData = data;
  MenuHandle = menu;
  FromPopupMenu = false;
  if (subclassed_ ||
      !subclass_.Attach(window, this, TWndMethod(this, &TWinSkinPopMenu::WinWndProc)))
    return;
  OldWndProc = subclass_.Previous();
  subclassed_ = true;
}

void TWinSkinPopMenu::UnSubClass() {
  if (!subclassed_)
    return;
  subclass_.Detach();
  subclassed_ = false;
  Background->Clear();
}

void TWinSkinPopMenu::Default(TMessage &m) {
  subclass_.CallPrevious(m);
}

void TWinSkinPopMenu::WinWndProc(TMessage &m) {
  if (m.Msg == CN_IsSkinned) {
    m.Result = 1;
    return;
  }
  if (SkinManager == nullptr || !SkinManager->Enabled) {
    Default(m);
    return;
  }
  switch (m.Msg) {
  case WM_DESTROY:
    UnSubClass();
    Default(m); // the previous procedure is kept for the message being handled
    return;
  case WM_ERASEBKGND:
    WMERASEBKGND(m);
    return;
  case WM_NCPAINT:
    NcPaint(m);
    return;
  case WM_PRINT:
    WMPrint(m);
    return;
  case WM_PAINT:
    WMPaint(m);
    return;
  default:
    Default(m);
  }
}

void TWinSkinPopMenu::WMERASEBKGND(TMessage &m) {
  if (SkinData == nullptr || !InSet(SkinData->Options, xoMenuBG))
    Default(m);
  m.Result = 1;
}

bool TWinSkinPopMenu::ComposeBackground() {
  if (SkinData == nullptr || SkinData->NoSkin || SkinData->MenuBackground == nullptr ||
      SkinData->MenuBackground->Image->Empty())
    return false;
  RECT r{};
  GetWindowRect(Handle, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0)
    return false;
  if (Background->Width() == width && Background->Height() == height)
    return true; // the same skin at the same size: composed already
  TDataSkinObject &element = *SkinData->MenuBackground;
  std::unique_ptr<TBitmap> composed = GetHMap(RECT{0, 0, width, height}, *element.Image,
                                              element.Margins, 1, 1, element.Tile == 1, false);
  if (composed == nullptr)
    return false;
  Background->Assign(*composed);
  return true;
}

POINT TWinSkinPopMenu::ClientOffset() const {
  RECT window{};
  GetWindowRect(Handle, &window);
  POINT origin{0, 0};
  ClientToScreen(Handle, &origin);
  return POINT{origin.x - window.left, origin.y - window.top};
}

HMENU TWinSkinPopMenu::ShownMenu() const {
  if (MenuHandle != nullptr)
    return MenuHandle;
  return reinterpret_cast<HMENU>(SendMessageA(Handle, MN_GETHMENU, 0, 0));
}

void TWinSkinPopMenu::NcPaint(TMessage &m) {
  const POINT offset = ClientOffset();
  // A window without a frame of its own has nothing to paint here: WMPaint draws it.
  if ((offset.x == 0 && offset.y == 0) || !ComposeBackground()) {
    Default(m);
    return;
  }
  // The update region belongs to the system: the device context gets a copy.
  HRGN clip = nullptr;
  DWORD flags = DCX_WINDOW | DCX_CACHE | kDcxUseStyle;
  if (m.WParam > 1) {
    clip = CreateRectRgn(0, 0, 0, 0);
    if (clip != nullptr &&
        CombineRgn(clip, reinterpret_cast<HRGN>(m.WParam), nullptr, RGN_COPY) != ERROR)
      flags |= DCX_INTERSECTRGN;
    else if (clip != nullptr) {
      DeleteObject(clip);
      clip = nullptr;
    }
  }
  GdiWindowDC dc(Handle, clip, flags);
  if (dc) {
    RECT client{};
    GetClientRect(Handle, &client);
    // The items are the client's: only the frame is painted here.
    ExcludeClipRect(dc.Get(), offset.x, offset.y, offset.x + client.right,
                    offset.y + client.bottom);
    BitBlt(dc.Get(), 0, 0, Background->Width(), Background->Height(), Background->Canvas().Handle(),
           0, 0, SRCCOPY);
  }
  m.Result = 0;
}

LRESULT TWinSkinPopMenu::PrintOver(HDC dc, UINT msg, LPARAM flags) {
  BitBlt(dc, 0, 0, Background->Width(), Background->Height(), Background->Canvas().Handle(), 0, 0,
         SRCCOPY);
  const int state = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, kFrame, kFrame, Background->Width() - kFrame,
                    Background->Height() - kFrame);
  TMessage print{msg, reinterpret_cast<WPARAM>(dc), flags, 0};
  Default(print);
  RestoreDC(dc, state);
  return print.Result;
}

void TWinSkinPopMenu::WMPrint(TMessage &m) {
  if (!ComposeBackground()) {
    Default(m);
    return;
  }
  m.Result = PrintOver(reinterpret_cast<HDC>(m.WParam), WM_PRINT, m.LParam);
}

void TWinSkinPopMenu::WMPaint(TMessage &m) {
  const POINT offset = ClientOffset();
  if (offset.x != 0 || offset.y != 0 || !ComposeBackground()) {
    Default(m); // the frame is non-client: NcPaint has it
    return;
  }
  // The system draws this menu's edge inside the client area: the whole window is composed
  // off screen as for printing, then copied once.
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(Handle, &ps);
  if (dc == nullptr)
    return;
  TBitmap composed(Background->Width(), Background->Height());
  PrintOver(composed.Canvas().Handle(), WM_PRINTCLIENT, PRF_CLIENT | PRF_ERASEBKGND);
  BitBlt(dc, 0, 0, composed.Width(), composed.Height(), composed.Canvas().Handle(), 0, 0, SRCCOPY);
  EndPaint(Handle, &ps);
  m.Result = 0;
}
