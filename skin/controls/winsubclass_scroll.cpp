// Scroll-bar overlays and the objects that keep them over their scroll bars.
#include "skin/controls/winsubclass_scroll.h"

#include "framework/core/typinfo.h"
#include "framework/gui/controls.h"
#include "skin/controls/winsubclass_header.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_draw.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace {

constexpr char kOverlayClass[] = "TWScrollbar";

void RegisterOverlayClass() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA; // replaced per window by the overlay's own procedure
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kOverlayClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
}

// The scroll bar of a scroll-bar control, in the form GetScrollBarInfo gives it.
bool ControlScrollInfo(HWND control, bool vertical, int arrowSize, SCROLLBARINFO &info) {
  RECT r;
  if (!GetWindowRect(control, &r))
    return false;
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(control, SB_CTL, &si))
    return false;
  info.rcScrollBar = r;
  const int length = vertical ? r.bottom - r.top : r.right - r.left;
  const int range = std::max(si.nMax - si.nMin, 1);
  int thumbTop, thumbLength;
  if (si.nPage > 0) {
    thumbLength = MulDiv(length - 2 * arrowSize, static_cast<int>(si.nPage) - 1, range);
    thumbTop = arrowSize + MulDiv(length - 2 * arrowSize, si.nPos - si.nMin, range);
  } else {
    thumbLength = arrowSize;
    thumbTop = arrowSize + MulDiv(length - 3 * arrowSize, si.nPos - si.nMin, range);
  }
  if (si.nPos == si.nMin)
    thumbTop = arrowSize;
  info.xyThumbTop = thumbTop;
  info.xyThumbBottom = thumbTop + thumbLength;
  info.dxyLineButton = arrowSize;
  info.rgstate[0] = IsWindowEnabled(control) ? 0 : STATE_SYSTEM_UNAVAILABLE;
  return true;
}

} // namespace

int ArrowImage(int arrow, int state) {
  static constexpr int kStates[3] = {0, 1, 3}; // normal, pressed, mouse over
  return arrow * 4 + 1 + kStates[state];
}

// ================================================================== TWScrollbar

TWScrollbar::TWScrollbar(TSkinControl *owner, HWND target, int mode)
    : Mode(mode), ArrowSize(GetSystemMetrics(SM_CXHSCROLL)), TargetHandle(target),
      SkinControl(owner) {
  RegisterOverlayClass();
  if (mode == 2)
    Vertical = (GetWindowLongPtrA(target, GWL_STYLE) & SBS_VERT) != 0;
  else
    Vertical = mode == 1;
  Handle = CreateWindowExA(WS_EX_TOOLWINDOW, kOverlayClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0,
                           0, GetParent(target), nullptr, GetModuleHandleA(nullptr), nullptr);
  if (Handle == nullptr)
    return;
  subclass_.Attach(Handle, this, TWndMethod(this, &TWScrollbar::WndProc));
  SetPosition(target);
}

TWScrollbar::~TWScrollbar() {
  subclass_.Detach();
  if (Handle != nullptr && IsWindow(Handle))
    DestroyWindow(Handle);
}

bool TWScrollbar::ReadInfo(SCROLLBARINFO &info) const {
  info = {};
  info.cbSize = sizeof(SCROLLBARINFO);
  if (Mode == 2)
    return ControlScrollInfo(TargetHandle, Vertical, ArrowSize, info);
  TSkinData *data = SkinControl->SkinData;
  return data != nullptr &&
         data->GetScrollBarInfo(TargetHandle, Mode == 1 ? OBJID_VSCROLL : OBJID_HSCROLL, info);
}

void TWScrollbar::SetPosition(HWND window) {
  TargetHandle = window;
  SCROLLBARINFO info;
  Shown = ReadInfo(info);
  if (!Shown || Handle == nullptr)
    return;
  const bool visible = (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
  if (!visible || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0 ||
      IsRectEmpty(&info.rcScrollBar)) {
    HideScrollbar();
    return;
  }
  RECT r = info.rcScrollBar;
  Origin = {r.left, r.top};
  ClientRect = r;
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&ClientRect), 2);
  Length = Vertical ? r.bottom - r.top : r.right - r.left;
  Shown = true;
  // Moving a window over the target makes the target paint its frame again, which places the
  // overlays again: an overlay already in place stays untouched.
  RECT now;
  GetWindowRect(Handle, &now);
  if (!EqualRect(&now, &info.rcScrollBar) || !IsWindowVisible(Handle) || !RightAbove(window)) {
    MapWindowPoints(nullptr, GetParent(Handle), reinterpret_cast<POINT *>(&r), 2);
    HWND above = GetWindow(window, GW_HWNDPREV);
    SetWindowPos(Handle, above != nullptr ? above : HWND_TOP, r.left, r.top, r.right - r.left,
                 r.bottom - r.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  InvalidateRect(Handle, nullptr, FALSE);
}

bool TWScrollbar::RightAbove(HWND window) const {
  // Only the target's other overlays may lie between it and this one.
  for (HWND above = GetWindow(window, GW_HWNDPREV); above != nullptr;
       above = GetWindow(above, GW_HWNDPREV)) {
    if (above == Handle)
      return true;
    auto *other = dynamic_cast<TWScrollbar *>(TWindowSubclass::Find(above, slScrollOverlay));
    if (other == nullptr || other->TargetHandle != window)
      return false;
  }
  return false;
}

void TWScrollbar::HideScrollbar() {
  if (Handle != nullptr)
    ShowWindow(Handle, SW_HIDE);
  Shown = false;
}

int TWScrollbar::GetScrollPos(POINT point) const {
  const int a = Vertical ? point.y : point.x;
  if (a < ArrowSize)
    return spFirstArrow;
  if (a < ThumbStart)
    return spTrackBefore;
  if (a < ThumbEnd)
    return spThumb;
  if (a < Length - ArrowSize)
    return spTrackAfter;
  return spSecondArrow;
}

void TWScrollbar::GetThumb() {
  const int thumb = ThumbEnd - ThumbStart;
  POINT cursor;
  GetCursorPos(&cursor);
  const int moved = Vertical ? cursor.y - DragStartCursor.y : cursor.x - DragStartCursor.x;
  ThumbStart = std::clamp(DragStartThumb + moved, ArrowSize,
                          std::max(ArrowSize, Length - ArrowSize - thumb));
  ThumbEnd = ThumbStart + thumb;
}

void TWScrollbar::Repaint() {
  if (Handle != nullptr && Shown) {
    InvalidateRect(Handle, nullptr, FALSE);
    UpdateWindow(Handle);
  }
}

void TWScrollbar::MouseMove(POINT point) {
  const int part = GetScrollPos(point);
  if (part != HotPart) {
    HotPart = part;
    Repaint();
  }
  DoTrackMouse(Handle);
}

void TWScrollbar::MouseLeave() {
  if (Pressed)
    return;
  HotPart = spNone;
  Repaint();
}

void TWScrollbar::LeftButtonDown(POINT point) {
  GetCursorPos(&DragStartCursor);
  SCROLLBARINFO info;
  if (ReadInfo(info)) {
    DragStartThumb = info.xyThumbTop;
    Origin = {info.rcScrollBar.left, info.rcScrollBar.top};
  }
  HotPart = GetScrollPos(point);
  POINT at = point;
  if (Mode != 2)
    at = {point.x + Origin.x, point.y + Origin.y}; // screen coordinates, as the system wants
  Pressed = true;
  Repaint();
  ReleaseCapture();
  // The system's own tracking runs inside this call until the button is released.
  if (Mode == 2)
    SendMessageA(TargetHandle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  else
    SendMessageA(TargetHandle, WM_NCLBUTTONDOWN, Mode == 1 ? HTVSCROLL : HTHSCROLL,
                 MAKELPARAM(at.x, at.y));
  Pressed = false;
  ReleaseCapture();
  Repaint();
}

void TWScrollbar::LeftButtonUp(POINT point) {
  POINT at = point;
  if (Mode != 2)
    at = {point.x + Origin.x, point.y + Origin.y};
  Pressed = false;
  ReleaseCapture();
  if (Mode == 2)
    PostMessageA(TargetHandle, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  else
    PostMessageA(TargetHandle, WM_NCLBUTTONUP, Mode == 1 ? HTVSCROLL : HTHSCROLL,
                 MAKELPARAM(at.x, at.y));
  Repaint();
}

void TWScrollbar::WndProc(TMessage &m) {
  const POINT point{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  m.Result = 0;
  switch (m.Msg) {
  case WM_ERASEBKGND:
    m.Result = 1;
    return;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle, &ps);
    try {
      Paint(dc);
    } catch (...) {
      // A failed paint leaves the overlay as it was.
    }
    EndPaint(Handle, &ps);
    return;
  }
  case WM_MOUSEMOVE:
    MouseMove(point);
    return;
  case WM_MOUSELEAVE:
    MouseLeave();
    return;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    LeftButtonDown(point);
    return;
  case WM_LBUTTONUP:
    LeftButtonUp(point);
    return;
  case WM_MOUSEACTIVATE:
    m.Result = MA_NOACTIVATE; // a press scrolls; it never takes the focus from the control
    return;
  default:
    subclass_.CallPrevious(m);
  }
}

void TWScrollbar::Paint(HDC target) {
  TSkinData *data = SkinControl->SkinData;
  if (data == nullptr || !HasSkinImage(data->Scrollbar))
    return;
  SCROLLBARINFO info;
  if (!ReadInfo(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0)
    return;
  const bool enabled = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
  RECT r{0, 0, info.rcScrollBar.right - info.rcScrollBar.left,
         info.rcScrollBar.bottom - info.rcScrollBar.top};
  RECT client;
  GetClientRect(Handle, &client);
  if (r.right <= 0 || r.bottom <= 0 || r.right > client.right || r.bottom > client.bottom)
    return;
  Length = Vertical ? r.bottom : r.right;
  TBitmap &strip = *data->Scrollbar->Image;
  int t = strip.Height();
  if (std::abs(t - ArrowSize) > 2)
    t = ArrowSize;
  if (Mode == 2)
    (Vertical ? r.right : r.bottom) = t;
  TBitmap buffer(r.right, r.bottom);
  TCanvas &canvas = buffer.Canvas();
  HDC dc = canvas.Handle();
  SetStretchBltMode(dc, COLORONCOLOR);
  FillColor(dc, r, data->Colors[csButtonFace]);
  if (Mode != 2)
    (Vertical ? r.right : r.bottom) = t;

  // The track between the arrows.
  TDataSkinObject *track = Vertical ? data->VertScroll : data->HorzScroll;
  if (HasSkinImage(track)) {
    RECT between = r;
    (Vertical ? between.top : between.left) += ArrowSize;
    (Vertical ? between.bottom : between.right) -= ArrowSize;
    if (between.right > between.left && between.bottom > between.top)
      DrawRect2(dc, between, *track->Image, track->Margins, enabled ? 1 : 3, 4, track->Trans == 1,
                track->Tile != 0, false);
  }

  // The arrows: half the length each when two do not fit.
  const int a = Length < 2 * ArrowSize ? Length / 2 : ArrowSize;
  RECT first = r, second = r;
  if (Vertical) {
    first.bottom = a;
    second.top = r.bottom - a;
  } else {
    first.right = a;
    second.left = r.right - a;
  }
  auto arrowState = [this](int part) { return HotPart != part ? 0 : Pressed ? 1 : 2; };
  const int firstArrow = Vertical ? 2 : 0;
  DrawSkinMap3(canvas, first, strip, ArrowImage(firstArrow, arrowState(spFirstArrow)), 23);
  DrawSkinMap3(canvas, second, strip, ArrowImage(firstArrow + 1, arrowState(spSecondArrow)), 23);

  // The thumb and its grip.
  if (Pressed && HotPart == spThumb && Mode != 2) {
    GetThumb();
  } else {
    ThumbStart = info.xyThumbTop;
    ThumbEnd = info.xyThumbBottom;
  }
  if (enabled && ThumbEnd > ThumbStart) {
    const int state = HotPart != spThumb ? 1 : Pressed ? 2 : 3;
    const RECT thumb =
        Vertical ? RECT{0, ThumbStart, t, ThumbEnd} : RECT{ThumbStart, 0, ThumbEnd, t};
    const int limit = Vertical ? r.bottom : r.right;
    TDataSkinObject *element = Vertical ? data->VertScrollThumb : data->HorzScrollThumb;
    if (HasSkinImage(element) && ThumbStart < limit && ThumbEnd <= limit)
      DrawRect2(dc, thumb, *element->Image, element->Margins, state, element->Frames(),
                element->Trans == 1, false, false);
    const int g = strip.Height(), thumbLength = ThumbEnd - ThumbStart;
    if (g < thumbLength + 2) {
      const int grip = (Vertical ? 20 : 17) + (HotPart == spThumb ? (Pressed ? 1 : 2) : 0);
      const int from = ThumbStart + (thumbLength - g) / 2;
      const RECT at = Vertical ? RECT{0, from, t, from + g} : RECT{from, 0, from + g, t};
      if (from >= 0 && from + g <= limit)
        DrawSkinMap3(canvas, at, strip, grip, 23);
    }
  }

  if (Mode == 2)
    StretchBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, buffer.Width(), buffer.Height(),
               SRCCOPY);
  else
    BitBlt(target, 0, 0, buffer.Width(), buffer.Height(), dc, 0, 0, SRCCOPY);
}

// ================================================================== TSkinScrollbar

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::InitScrollbar(TControl *control, TSkinData *data, TCanvas *canvas,
                                   TWinSkinForm *form) {
  if (!Adopt(control, data, canvas, form))
    return;
  // A border of the control's own: its BorderStyle where it has one, else its window style.
  if (GetPropInfo(Control, "BorderStyle") != nullptr)
    HasBorder = AnsiLowerCase(GetEnumProperty(Control, "BorderStyle")) != "bsnone";
  else
    HasBorder = (GetWindowLongPtrA(Handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0 ||
                (GetWindowLongPtrA(Handle, GWL_STYLE) & WS_BORDER) != 0;
  if (AnsiUpperCase(Control->ClassName()) == "TIMAGESCROLLBOX" || Kind == 1)
    HasBorder = false;
  if (GetIntProperty(Control, "FixedColor") != -1 &&
      GetPropInfo(Control, "FixedColor") != nullptr) {
    SavedColor = static_cast<TColor>(GetIntProperty(Control, "FixedColor"));
    ChangeColor = true;
    SetProperty(Control, "FixedColor", std::to_string(SkinData->Colors[csButtonFace]));
  }
  HScroll = std::make_unique<TWScrollbar>(this, Handle, 0);
  VScroll = std::make_unique<TWScrollbar>(this, Handle, 1);
  if (!Control->Visible()) {
    HScroll->HideScrollbar();
    VScroll->HideScrollbar();
  }
  HookWindowProc(Control);
  Initialized = true;
  SkinState = 1;
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollbar::SetScrollbarPos() {
  if (HScroll != nullptr)
    HScroll->SetPosition(Handle);
  if (VScroll != nullptr)
    VScroll->SetPosition(Handle);
}

void TSkinScrollbar::DrawBorder(HDC dc, const RECT &r) {
  GdiBrush shadow(CreateSolidBrush(ColorToRGB(SkinData->Colors[csButtonShadow])));
  FrameRect(dc, &r, shadow.Get());
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  GdiBrush face(CreateSolidBrush(ColorToRGB(SkinData->Colors[csButtonFace])));
  FrameRect(dc, &inner, face.Get());
}

void TSkinScrollbar::BENCPAINT(HDC dc) {
  RECT window;
  if (!GetWindowRect(Handle, &window))
    return;
  try {
    DrawBorder(dc, {0, 0, window.right - window.left, window.bottom - window.top});
    PaintOverlays(dc, 2);
  } catch (...) {
  }
}

bool TSkinScrollbar::ScrollMessage(const TMessage &m) {
  TWScrollbar *overlay = m.Msg == WM_HSCROLL   ? HScroll.get()
                         : m.Msg == WM_VSCROLL ? VScroll.get()
                                               : nullptr;
  if (overlay == nullptr)
    return false;
  overlay->HotPart = LOWORD(m.WParam) == SB_ENDSCROLL ? overlay->HotPart : LOWORD(m.WParam);
  if (LOWORD(m.WParam) == SB_THUMBTRACK || LOWORD(m.WParam) == SB_THUMBPOSITION)
    overlay->HotPart = spThumb;
  overlay->Repaint();
  return true;
}

bool TSkinScrollbar::BeforeProc(TMessage &m) {
  if (m.Msg == WM_NCPAINT && HasBorder) {
    // Neither the system's 3-D border nor its scroll bars: our border, the overlays on top.
    HDC dc = GetWindowDC(Handle);
    BENCPAINT(dc);
    ReleaseDC(Handle, dc);
    m.Result = 0;
    return false;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinScrollbar::AfterProc(TMessage &m) {
  switch (m.Msg) {
  case WM_SIZE:
  case WM_WINDOWPOSCHANGED:
    SetScrollbarPos();
    return;
  case WM_HSCROLL:
  case WM_VSCROLL:
    ScrollMessage(m);
    return;
  case WM_MOUSEWHEEL:
    PaintOverlays(nullptr, 0);
    return;
  case CM_VISIBLECHANGED:
    if (m.WParam != 0) {
      SetScrollbarPos();
    } else {
      HScroll->HideScrollbar();
      VScroll->HideScrollbar();
    }
    return;
  case CN_PaintNCTo:
    if (m.LParam == SkinSignature) {
      if (m.WParam != 0)
        BENCPAINT(reinterpret_cast<HDC>(m.WParam));
      m.Result = SkinSignature;
      return;
    }
    break;
  default:
    break;
  }
  TSkinControl::AfterProc(m);
}

void TSkinScrollbar::PaintOverlays(HDC dc, int cornerInset) {
  const LONG_PTR style = GetWindowLongPtrA(Handle, GWL_STYLE);
  for (auto [overlay, bit] :
       {std::pair{VScroll.get(), WS_VSCROLL}, std::pair{HScroll.get(), WS_HSCROLL}}) {
    if (overlay == nullptr)
      continue;
    if (overlay->Shown != ((style & bit) != 0))
      overlay->SetPosition(Handle);
    else if (overlay->Shown)
      overlay->Repaint();
  }
  if (VScroll != nullptr && HScroll != nullptr && VScroll->Shown && HScroll->Shown &&
      dc != nullptr) {
    // The corner between the two, in window coordinates.
    const RECT corner{VScroll->ClientRect.left + cornerInset, HScroll->ClientRect.top + cornerInset,
                      VScroll->ClientRect.right + cornerInset,
                      HScroll->ClientRect.bottom + cornerInset};
    FillBG(dc, corner);
  }
}

void TSkinScrollbar::DrawControl(HDC dc, const RECT &) {
  PaintOverlays(dc, 2);
}

void TSkinScrollbar::Unsubclass() {
  if (ChangeColor && Control != nullptr && TObject::IsLive(Control)) {
    SetProperty(Control, "FixedColor", std::to_string(SavedColor));
    ChangeColor = false;
  }
  TSkinControl::Unsubclass();
  if (SkinState != 6) {
    HScroll.reset();
    VScroll.reset();
  }
  if (Handle != nullptr && IsWindow(Handle))
    SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ================================================================== TSkinScrollbarH

void TSkinScrollbarH::Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) {
  TSkinControl::Inithwnd(window, data, canvas, form);
  HScroll = std::make_unique<TWScrollbar>(this, window, 0);
  VScroll = std::make_unique<TWScrollbar>(this, window, 1);
}

void TSkinScrollbarH::AfterProc(TMessage &m) {
  if (!IsWindowVisible(Handle) && VScroll != nullptr)
    VScroll->HideScrollbar();
  switch (m.Msg) {
  case WM_SIZE:
  case WM_NCPAINT:
  case WM_WINDOWPOSCHANGED:
    SetScrollbarPos();
    return;
  case WM_HSCROLL:
  case WM_VSCROLL:
    ScrollMessage(m);
    return;
  case WM_MOUSEWHEEL:
    PaintOverlays(nullptr, 0);
    return;
  default:
    TSkinControl::AfterProc(m);
  }
}

void TSkinScrollbarH::DrawControl(HDC dc, const RECT &) {
  PaintOverlays(dc, 0);
}

// ================================================================== TSkinScControl

// ================================================================== TSkinListView

void TSkinListView::InitScrollbar(TControl *control, TSkinData *data, TCanvas *canvas,
                                  TWinSkinForm *form) {
  TSkinScrollbar::InitScrollbar(control, data, canvas, form);
  // The list keeps a header window even when it shows none; only a shown one is painted.
  auto header = reinterpret_cast<HWND>(SendMessageA(Handle, LVM_GETHEADER, 0, 0));
  if (header == nullptr || (GetWindowLongPtrA(Handle, GWL_STYLE) & LVS_NOCOLUMNHEADER) != 0)
    return;
  Header = new TSkinHeader(control->Owner());
  Header->Inithwnd(header, data, canvas, form);
}

TSkinScControl::~TSkinScControl() = default;

void TSkinScControl::InitScrollbar(TControl *control, TSkinData *data, TCanvas *canvas,
                                   TWinSkinForm *form) {
  if (!Adopt(control, data, canvas, form))
    return;
  Overlay = std::make_unique<TWScrollbar>(this, Handle, 2);
  if (!Control->Visible())
    Overlay->HideScrollbar();
  HookWindowProc(Control);
  Initialized = true;
  SkinState = 1;
}

void TSkinScControl::AfterProc(TMessage &m) {
  switch (m.Msg) {
  case WM_WINDOWPOSCHANGED:
    Overlay->SetPosition(Handle);
    return;
  case WM_NCPAINT:
    Handle = Control != nullptr ? Control->Handle() : Handle;
    Overlay->SetPosition(Handle);
    return;
  case SBM_SETSCROLLINFO:
  case SBM_SETPOS:
  case CN_HSCROLL:
  case CN_VSCROLL:
    Overlay->Repaint();
    return;
  case CM_VISIBLECHANGED:
    if (m.WParam != 0)
      Overlay->SetPosition(Handle);
    else
      Overlay->HideScrollbar();
    return;
  default:
    TSkinControl::AfterProc(m);
  }
}

void TSkinScControl::DrawControl(HDC, const RECT &) {
  Overlay->Repaint();
}

void TSkinScControl::Unsubclass() {
  TSkinControl::Unsubclass();
  if (SkinState != 6)
    Overlay.reset();
}
