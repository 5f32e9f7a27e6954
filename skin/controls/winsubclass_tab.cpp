// Tab controls, page controls and their pages, button-like tabs and old-style tab sets.
#include "skin/controls/winsubclass_tab.h"

#include "framework/gui/comctrls.h"
#include "skin/controls/winsubclass_edit.h"
#include "skin/data/imgutil.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_draw.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr int kTextLength = 80;

// A tab's text (into text, kTextLength characters) and image, wide or narrow.
template <class Item, class Char, class Send>
bool GetTabItem(HWND window, int index, Char *text, int &imageIndex, Send send, UINT msg) {
  Item item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
  item.pszText = text;
  item.cchTextMax = kTextLength;
  if (!send(window, msg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
    return false;
  imageIndex = item.iImage;
  return true;
}

RECT TabRect(HWND window, int index) {
  RECT t{};
  if (!SendMessageA(window, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&t)))
    return {0, 0, -1, -1};
  return t;
}

// The page area: the display rectangle widened to the frame, one pixel off the tabs.
RECT PageRect(HWND window, const RECT &r, TSkinTabPosition position) {
  RECT p = r;
  SendMessageA(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&p));
  InflateRect(&p, 4, 4);
  switch (position) {
  case StTop:
    ++p.top;
    break;
  case Stbottom:
    --p.bottom;
    break;
  case Stleft:
    ++p.left;
    break;
  case Stright:
    --p.right;
    break;
  }
  return p;
}

// The margins of a picture turned as the pane is for position.
RECT TurnedMargins(const RECT &m, TSkinTabPosition position) {
  switch (position) {
  case Stbottom:
    return {m.left, m.bottom, m.right, m.top};
  case Stleft: // turned counter-clockwise: the top edge faces left
    return {m.top, m.right, m.bottom, m.left};
  case Stright: // clockwise: the top edge faces right
    return {m.bottom, m.left, m.top, m.right};
  default:
    return m;
  }
}

std::unique_ptr<TBitmap> Copy24(TBitmap &source) {
  auto copy = std::make_unique<TBitmap>();
  CopyBMP(&source, copy.get());
  copy->SetPixelFormat(TPixelFormat::pf24bit);
  return copy;
}

} // namespace

TSkinTabPosition TabPositionOf(LONG_PTR style) {
  const bool bottom = (style & TCS_BOTTOM) != 0, vertical = (style & TCS_VERTICAL) != 0;
  return bottom && vertical ? Stright : vertical ? Stleft : bottom ? Stbottom : StTop;
}

RECT CloseBoxRect(const RECT &t) {
  return {t.right - 8, t.top + 2, t.right - 2, t.top + 8};
}

// ================================================================== TSkinTab

TSkinTab::TSkinTab(TComponent *owner)
    : TSkinControl(owner), TabImage(std::make_unique<TBitmap>()),
      PaneImage(std::make_unique<TBitmap>()), Buffer(std::make_unique<TBitmap>()) {}

TSkinTab::~TSkinTab() = default;

void TSkinTab::Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) {
  TSkinControl::Init(form, data, canvas, changeColor);
  if (!Initialized)
    return;
  Enabled = (GetWindowLongEx(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  auto *pages = dynamic_cast<TPageControl *>(Control);
  CloseButtons = pages != nullptr && pages->Tag() == kCloseBoxTag &&
                 pages->TabPosition() == TTabPosition::tpTop;
  inittab();
  FindScroll();
  Active = true;
  WideText = IsWindowUnicode(Handle) != FALSE;
}

void TSkinTab::Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) {
  TSkinControl::Inithwnd(window, data, canvas, form);
  Focused = GetFocus() == Handle;
  Enabled = (GetWindowLongEx(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  Caption = WindowText();
  inittab();
  FindScroll();
  Active = true;
  WideText = IsWindowUnicode(Handle) != FALSE;
}

void TSkinTab::SkinChange() {
  TSkinControl::SkinChange();
  inittab();
}

TSkinTabPosition TSkinTab::GetPosition() const {
  return TabPositionOf(GetWindowLongEx(Handle, GWL_STYLE));
}

void TSkinTab::inittab() {
  Position = GetPosition();
  TDataSkinBorder *tab = SkinData->Tab;
  TabImage = std::make_unique<TBitmap>();
  PaneImage = std::make_unique<TBitmap>();
  if (HasSkinImage(tab))
    TabImage = Copy24(*tab->Image);
  if (tab != nullptr && tab->Style == 0 && !tab->Image2->Empty())
    PaneImage = Copy24(*tab->Image2);
  else if (tab != nullptr && tab->Style == 1 && HasSkinImage(SkinData->TabPane))
    PaneImage = Copy24(*SkinData->TabPane->Image);
  switch (Position) {
  case Stbottom:
    SpiegelnVertikal(TabImage.get());
    SpiegelnVertikal(PaneImage.get());
    break;
  case Stleft:
    Drehen270Grad(PaneImage.get());
    break;
  case Stright:
    Drehen90Grad(PaneImage.get());
    break;
  case StTop:
    break;
  }
}

bool TSkinTab::FindScroll() {
  for (HWND child = GetTopWindow(Handle); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, UPDOWN_CLASSA) != 0)
      continue;
    if (UpDown == nullptr) {
      UpDown = new TSkinUpDown(Control != nullptr ? Control->Owner() : nullptr);
      UpDown->Inithwnd(child, SkinData, Canvas, SkinForm);
    }
    return (GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE) != 0;
  }
  return false;
}

bool TSkinTab::BeforeProc(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
    WMPaint(m);
    return false;
  case WM_LBUTTONDOWN:
    if (!CloseButtons || !ClickClose(m))
      break;
    m.Result = 0;
    return false;
  default:
    break;
  }
  return TSkinControl::BeforeProc(m);
}

bool TSkinTab::ClickClose(TMessage &m) {
  const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  for (size_t i = 0; i < CloseRects.size(); ++i) {
    if (!PtInRect(&CloseRects[i], p))
      continue;
    // The boxes do not overlap; after a page went the others have moved, so one is enough.
    const int index = static_cast<int>(i);
    const LRESULT keep =
        SkinForm != nullptr && TObject::IsLive(SkinForm)
            ? SendMessageA(SkinForm->Handle, CN_TabClose, reinterpret_cast<WPARAM>(Handle), index)
            : 0;
    auto *pages = dynamic_cast<TPageControl *>(Control);
    if (keep == 0 && pages != nullptr && index < pages->PageCount()) {
      CloseRects.clear();
      delete pages->Pages(index);
    }
    return true;
  }
  return false;
}

std::wstring TSkinTab::TabText(int index, int &imageIndex) {
  imageIndex = -1;
  if (WideText) {
    wchar_t text[kTextLength + 1] = {};
    if (!GetTabItem<TCITEMW>(Handle, index, text, imageIndex, SendMessageW, TCM_GETITEMW))
      return {};
    return text;
  }
  char text[kTextLength + 1] = {};
  if (!GetTabItem<TCITEMA>(Handle, index, text, imageIndex, SendMessageA, TCM_GETITEMA))
    return {};
  return StrToWideStr(text);
}

void TSkinTab::DrawControl(HDC dc, const RECT &r) {
  Enabled = (GetWindowLongEx(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  TDataSkinBorder *tab = SkinData->Tab;
  const bool hasTabs = HasSkinImage(tab) && !TabImage->Empty();
  const RECT p = PageRect(Handle, r, Position);
  const int count = static_cast<int>(SendMessageA(Handle, TCM_GETITEMCOUNT, 0, 0));
  const int focus = static_cast<int>(SendMessageA(Handle, TCM_GETCURFOCUS, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle, TCM_GETIMAGELIST, 0, 0));
  CloseRects.assign(static_cast<size_t>(std::max(count, 0)), RECT{0, 0, 0, 0});

  RECT s{};
  switch (Position) {
  case StTop:
    s = {r.left, r.top, r.right, p.top};
    break;
  case Stbottom:
    s = {r.left, p.bottom, r.right, r.bottom};
    break;
  case Stleft:
    s = {r.left, r.top, p.left, r.bottom};
    break;
  case Stright:
    s = {p.right, r.top, r.right, r.bottom};
    break;
  }
  const bool upright = Position == Stleft || Position == Stright;
  if (hasTabs && Width(s) > 0 && Height(s) > 0) {
    // The strip lying horizontally: for tabs at the side, its width is the strip's height.
    Buffer->SetSize(upright ? Height(s) : Width(s), upright ? Width(s) : Height(s));
    TCanvas &canvas = Buffer->Canvas();
    const int w = Buffer->Width();
    FillBG(canvas.Handle(), {0, 0, w, Buffer->Height()});
    AssignWindowFont(canvas, Handle);
    for (int i = 0; i < count; ++i) {
      int imageIndex = -1;
      const std::wstring text = TabText(i, imageIndex);
      RECT t = TabRect(Handle, i);
      if (t.right < t.left)
        continue;
      switch (Position) {
      case StTop:
        OffsetRect(&t, 0, 1);
        break;
      case Stbottom:
        OffsetRect(&t, 0, -(p.bottom + 1));
        break;
      case Stleft:
        t = {w - t.bottom, t.left, w - t.top, t.right};
        break;
      case Stright:
        t = {t.top - 1, r.right - t.right, t.bottom - 1, r.right - t.left};
        break;
      }
      const int frame = i == focus ? 2 : 1;
      Drawitem(canvas.Handle(), t, frame);
      if (CloseButtons)
        drawCloseBtn(t, i);
      canvas.Font().SetColor(frame == 1 ? tab->NormalColour2 : tab->MouseOverColour2);
      DrawImgCaption(canvas, t, images, imageIndex, text, 1);
    }
    if (Position == Stright)
      Drehen90Grad(Buffer.get());
    else if (Position == Stleft)
      Drehen270Grad(Buffer.get());
    if (FindScroll())
      ClipUpdown(dc, s);
    else
      BitBlt(dc, s.left, s.top, Width(s), Height(s), Buffer->Canvas().Handle(), 0, 0, SRCCOPY);
  }

  if (!PaneImage->Empty()) {
    const RECT fixed{4, 5, 4, 4};
    const RECT margins =
        TurnedMargins(tab != nullptr && tab->Style != 0 && SkinData->TabPane != nullptr
                          ? SkinData->TabPane->Margins
                          : fixed,
                      Position);
    try {
      DrawRect2(dc, p, *PaneImage, margins, 1, 1, false, false, false);
    } catch (...) {
      // A pane that cannot be drawn leaves the page as it is.
    }
  }
  if (Kind == 2 && Control != nullptr)
    Control->PaintControls(dc);
}

void TSkinTab::ClipUpdown(HDC dc, const RECT &r) {
  RECT arrows{};
  if (UpDown != nullptr && TObject::IsLive(UpDown) && IsWindow(UpDown->Handle)) {
    GetWindowRect(UpDown->Handle, &arrows);
    MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT *>(&arrows), 2);
  }
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, arrows.left, arrows.top, arrows.right, arrows.bottom);
  BitBlt(dc, r.left, r.top, Width(r), Height(r), Buffer->Canvas().Handle(), 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
}

void TSkinTab::Drawitem(HDC dc, const RECT &r, int frame) {
  TDataSkinBorder *tab = SkinData->Tab;
  DrawRect2(dc, r, *TabImage, tab->Margins, frame, tab->Frames(), tab->Trans == 1, tab->Tile != 0,
            false);
}

void TSkinTab::drawCloseBtn(const RECT &t, int index) {
  const RECT box = CloseBoxRect(t);
  TCanvas &canvas = Buffer->Canvas();
  canvas.MoveTo(box.left, box.top);
  canvas.LineTo(box.right, box.top);
  canvas.LineTo(box.right, box.bottom);
  canvas.LineTo(box.left, box.bottom);
  canvas.LineTo(box.left, box.top);
  canvas.LineTo(box.right, box.bottom);
  canvas.MoveTo(box.right, box.top);
  canvas.LineTo(box.left, box.bottom);
  CloseRects[static_cast<size_t>(index)] = box;
}

// ================================================================== TSkinTabSheet

bool TSkinTabSheet::BeforeProc(TMessage &m) {
  if (!TSkinControl::BeforeProc(m))
    return false;
  if (Kind != 0)
    return true;
  switch (m.Msg) {
  case WM_PAINT:
  case WM_PRINTCLIENT:
    WMPaint(m);
    return false;
  case WM_ERASEBKGND: {
    RECT client{};
    GetClientRect(Handle, &client);
    FillRect(reinterpret_cast<HDC>(m.WParam), &client, SkinData->FaceBrush.Get());
    m.Result = 1;
    return false;
  }
  default:
    return true;
  }
}

void TSkinTabSheet::DrawControl(HDC dc, const RECT &r) {
  FillBG(dc, r);
  if (Control != nullptr)
    Control->PaintControls(dc);
}

// ================================================================== TSkinTabBtn

bool TSkinTabBtn::BeforeProc(TMessage &m) {
  if (m.Msg == WM_PAINT) {
    WMPaint(m);
    return false;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinTabBtn::DrawControl(HDC dc, const RECT &r) {
  Enabled = (GetWindowLongEx(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  RECT p = r;
  SendMessageA(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&p));
  InflateRect(&p, 4, 4);
  const RECT strip{r.left, r.top, r.right, p.top + 1};
  TDataSkinButton *button = SkinData->Button;
  if (!HasSkinImage(button) || Width(strip) <= 0 || Height(strip) <= 0)
    return;
  TBitmap buffer(Width(strip), Height(strip));
  TCanvas &canvas = buffer.Canvas();
  FillBG(canvas.Handle(), {0, 0, buffer.Width(), buffer.Height()});
  AssignWindowFont(canvas, Handle);
  canvas.Font().SetColor(0);
  const int count = static_cast<int>(SendMessageA(Handle, TCM_GETITEMCOUNT, 0, 0));
  const int focus = static_cast<int>(SendMessageA(Handle, TCM_GETCURFOCUS, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle, TCM_GETIMAGELIST, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[kTextLength + 1] = {};
    int imageIndex = -1;
    GetTabItem<TCITEMW>(Handle, i, text, imageIndex, SendMessageW, TCM_GETITEMW);
    RECT t = TabRect(Handle, i);
    if (t.right < t.left)
      continue;
    OffsetRect(&t, 0, 1);
    const int frame = i == focus ? 2 : 1;
    DrawRect2(canvas.Handle(), t, *button->Image, button->Margins, frame, button->Frames(),
              button->Trans == 1, button->Tile != 0, false);
    if (frame == 1 && button->HasNormalColour2)
      canvas.Font().SetColor(button->NormalColour2);
    else if (frame == 2 && button->HasPressedColour2)
      canvas.Font().SetColor(button->PressedColour2);
    DrawImgCaption(canvas, t, images, imageIndex, text, 1);
  }
  BitBlt(dc, strip.left, strip.top, Width(strip), Height(strip), canvas.Handle(), 0, 0, SRCCOPY);
}

// ================================================================== TSkinTab31

TSkinTab31::TSkinTab31(TComponent *owner)
    : TSkinControl(owner), TabImage(std::make_unique<TBitmap>()) {}

TSkinTab31::~TSkinTab31() = default;

void TSkinTab31::Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool) {
  auto *tabs = dynamic_cast<TTabSet *>(Owner());
  if (Initialized || tabs == nullptr)
    return;
  Control = tabs;
  Inithwnd(tabs->Handle(), data, canvas, form);
  inittab();
  if (tabs->ComponentCount() > 0 && tabs->Components(0) == tabs->Scroller()) {
    auto *arrows = new TSkinUpDown(tabs);
    arrows->Horizontal = true;
    arrows->Inithwnd(tabs->Scroller()->Handle(), data, canvas, form);
  }
}

void TSkinTab31::inittab() {
  TabImage = std::make_unique<TBitmap>();
  if (HasSkinImage(SkinData->Tab)) {
    CopyBMP(SkinData->Tab->Image, TabImage.get());
    TabImage->SetPixelFormat(TPixelFormat::pf24bit);
    SpiegelnVertikal(TabImage.get());
  }
}

void TSkinTab31::SkinChange() {
  TSkinControl::SkinChange();
  inittab();
}

bool TSkinTab31::BeforeProc(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
    WMPaint(m);
    return true; // the control finds nothing left to paint
  case WM_ERASEBKGND:
    m.Result = 1;
    return false;
  default:
    return TSkinControl::BeforeProc(m);
  }
}

void TSkinTab31::DrawControl(HDC dc, const RECT &r) {
  TDataSkinBorder *tab = SkinData->Tab;
  auto *tabs = dynamic_cast<TTabSet *>(Control);
  if (!HasSkinImage(tab) || TabImage->Empty() || tabs == nullptr || Width(r) <= 0 || Height(r) <= 0)
    return;
  TBitmap buffer(Width(r), Height(r));
  TCanvas &canvas = buffer.Canvas();
  FillBG(canvas.Handle(), r);
  canvas.Font().Assign(*tabs->Font());
  const std::vector<RECT> rects = tabs->VisibleTabs();
  const int first = tabs->Scroller()->Visible() ? tabs->FirstIndex() : 0;
  for (size_t i = 0; i < rects.size(); ++i) {
    const int index = first + static_cast<int>(i);
    const int frame = index == tabs->TabIndex() ? 2 : 1;
    DrawRect2(canvas.Handle(), rects[i], *TabImage, tab->Margins, frame, tab->Frames(),
              tab->Trans == 1, tab->Tile != 0, false);
    canvas.Font().SetColor(frame == 1 ? tab->NormalColour2 : tab->MouseOverColour2);
    DrawCaption(canvas, rects[i], StrToWideStr(tabs->Tabs()->Get(index)), true, false, DT_CENTER);
  }
  BitBlt(dc, r.left, r.top, Width(r), Height(r), canvas.Handle(), 0, 0, SRCCOPY);
}
