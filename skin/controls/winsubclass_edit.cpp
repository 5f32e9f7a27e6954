// Edits, date-time pickers and up-down buttons.
#include "skin/controls/winsubclass_edit.h"

#include "framework/core/sysutils.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_draw.h"

#include <windowsx.h>

#include <algorithm>

namespace {

// True when the control's client area fills its window in either direction: no border.
bool HasNoBorder(HWND window, const RECT &r) {
  RECT client;
  GetClientRect(window, &client);
  return client.right == r.right || client.bottom == r.bottom;
}

void FrameColour(HDC dc, const RECT &r, COLORREF colour) {
  GdiBrush brush(CreateSolidBrush(colour));
  FrameRect(dc, &r, brush.Get());
}

// The flat border: one shadow-coloured line with `whiteRings` white rings inside it.
void DrawFlatBorder(HDC dc, RECT r, TColor shadow, int whiteRings) {
  FrameColour(dc, r, ColorToRGB(shadow));
  for (int i = 0; i < whiteRings; ++i) {
    InflateRect(&r, -1, -1);
    FrameColour(dc, r, RGB(255, 255, 255));
  }
}

std::string LowerClassName(HWND window) {
  char name[101] = {};
  GetClassNameA(window, name, 100);
  return AnsiLowerCase(name);
}

} // namespace

// ----------------------------------------------------------------- TSkinEdit

void TSkinEdit::AfterProc(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
    PaintControl(reinterpret_cast<HDC>(m.WParam));
    return;
  case WM_PRINTCLIENT:
    PaintControl1(reinterpret_cast<HDC>(m.WParam));
    return;
  case CN_PaintTo:
    if (m.LParam != SkinSignature)
      break;
    if (m.WParam != 0) {
      TMessage paint{WM_PAINT, m.WParam, 0, 0};
      Default(paint);
    }
    m.Result = SkinSignature;
    return;
  default:
    break;
  }
  TSkinControl::AfterProc(m);
}

void TSkinEdit::DrawControl(HDC dc, const RECT &r) {
  if (InSet(SkinData->SkinControls, xcSpin) && UpDown == nullptr)
    FindUPDown(Handle, SkinData, Canvas);
  if (HasNoBorder(Handle, r))
    return;
  DrawFlatBorder(dc, r, SkinData->Colors[csButtonShadow], 2);
}

void TSkinEdit::FindUPDown(HWND window, TSkinData *data, TCanvas *canvas) {
  for (HWND child = GetTopWindow(window); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string name = LowerClassName(child);
    if (name != "msctls_updown32" && name.find("spin") == std::string::npos &&
        name.find("updown") == std::string::npos)
      continue;
    UpDown = new TSkinUpDown(Control != nullptr ? Control->Owner() : nullptr);
    UpDown->Inithwnd(child, data, canvas, SkinForm);
    UpDown->InEdit = true;
    return;
  }
}

void TSkinEdit::PaintControl1(HDC dc) {
  RECT window;
  if (dc == nullptr || !GetWindowRect(Handle, &window))
    return;
  WindowRect = window;
  DrawControl1(dc, {0, 0, Width(window), Height(window)});
}

void TSkinEdit::DrawControl1(HDC dc, const RECT &r) {
  RECT client;
  GetClientRect(Handle, &client);
  if (client.right >= Width(r) - 2 || client.bottom >= Height(r) - 2)
    return;
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
  FrameColour(dc, r, ColorToRGB(SkinData->Colors[csButtonShadow]));
}

// ----------------------------------------------------------------- date-time pickers

TArrowButton::TArrowButton(TComponent *owner)
    : TCustomControl(owner), Size(GetSystemMetrics(SM_CXHSCROLL)) {
  SetTabStop(false);
}

void TArrowButton::Attach(TSkinDateTime *skinControl, TWinControl *control) {
  SkinControl = skinControl;
  Target = control;
  TargetHandle = control->Handle();
  const bool left = (GetWindowLongPtrA(TargetHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  SetParent(control);
  SetBounds(left ? 2 : control->Width() - Size - 4, 0, Size, Size + 1);
  SetWindowLongPtrA(TargetHandle, GWL_STYLE,
                    GetWindowLongPtrA(TargetHandle, GWL_STYLE) | WS_CLIPCHILDREN);
  HandleNeeded();
}

void TArrowButton::WndProc(TMessage &m) {
  switch (m.Msg) {
  case CN_IsSkinned: // the skin's own window
    m.Result = 1;
    return;
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE:
    if (IsWindowEnabled(TargetHandle)) {
      Hot = m.Msg == CM_MOUSEENTER;
      Invalidate();
    }
    break;
  case WM_LBUTTONDOWN: {
    TCustomControl::WndProc(m);
    // The picker opens its calendar for a click on its own button, where this one lies.
    const LPARAM at = MAKELPARAM(GET_X_LPARAM(m.LParam) + Left(), GET_Y_LPARAM(m.LParam) + Top());
    PostMessageA(TargetHandle, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(TargetHandle, WM_LBUTTONUP, 0, at);
    Invalidate();
    return;
  }
  case WM_LBUTTONUP:
    TCustomControl::WndProc(m);
    ::SetFocus(TargetHandle);
    return;
  default:
    break;
  }
  TCustomControl::WndProc(m);
}

void TArrowButton::Paint() {
  if (SkinControl == nullptr || SkinControl->SkinData == nullptr)
    return;
  TSkinData *data = SkinControl->SkinData;
  TCanvas &canvas = Canvas();
  const RECT r = ClientRect();
  FillColor(canvas.Handle(), r, data->Colors[csButtonFace]);
  TDataSkinObject *arrow = data->ComboArrow;
  if (!HasSkinImage(arrow))
    return;
  const int frames = arrow->Frames(), w = arrow->Image->Width() / frames;
  const int frame = Hot ? std::min(4, frames) : 1;
  canvas.CopyRect(r, arrow->Image->Canvas(),
                  {(frame - 1) * w, 0, frame * w, arrow->Image->Height()});
}

void TSkinDateTime::Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) {
  if (Initialized)
    return;
  TSkinControl::Init(form, data, canvas, changeColor);
  if (Control == nullptr)
    return;
  ArrowButton = new TArrowButton(this);
  ArrowButton->Attach(this, Control);
}

void TSkinDateTime::DrawControl(HDC dc, const RECT &r) {
  if (HasNoBorder(Handle, r))
    return;
  DrawFlatBorder(dc, r, SkinData->Colors[csButtonShadow], 1);
}

// ----------------------------------------------------------------- up-down buttons

TUpDownStates UpDownStates(TSkinControlStates mouse, int cursor, int half) {
  const int active = (mouse & scDown) ? 2 : (mouse & scMouseIn) ? 4 : 1;
  return cursor < half ? TUpDownStates{active, 1} : TUpDownStates{1, active};
}

bool TSkinUpDown::BeforeProc(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
    WMPaint(m);
    return false;
  case WM_ERASEBKGND:
    DrawBackGround(m);
    m.Result = 1;
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    DefaultThenPress(m);
    return false;
  case WM_LBUTTONUP:
    MouseState &= ~scDown;
    Default(m);
    if (TObject::IsLive(this))
      PaintControl(nullptr);
    return false;
  default:
    return TSkinControl::BeforeProc(m);
  }
}

void TSkinUpDown::AfterProc(TMessage &m) {
  switch (m.Msg) {
  case WM_MOUSEMOVE:
    // The hot button follows the cursor.
    MouseState |= scMouseIn;
    DoTrackMouse(Handle);
    PaintControl(nullptr);
    return;
  case WM_MOUSELEAVE:
  case CM_MOUSELEAVE:
    MouseState &= ~(scMouseIn | scDown);
    PaintControl(nullptr);
    return;
  default:
    TSkinControl::AfterProc(m);
  }
}

void TSkinUpDown::DrawBackGround(TMessage &m) {
  if (Control != nullptr)
    return;
  RECT client;
  GetClientRect(Handle, &client);
  FillColor(reinterpret_cast<HDC>(m.WParam), client, 0xFFFFFF);
}

void TSkinUpDown::DrawControl(HDC dc, const RECT &area) {
  RECT r = area;
  if (InEdit) {
    RECT client;
    GetClientRect(Handle, &client);
    FillColor(dc, client, 0xFFFFFF);
    RECT mine, parent;
    GetWindowRect(Handle, &mine);
    GetWindowRect(GetParent(Handle), &parent);
    if (mine.top - parent.top < 3)
      r.top += 3 - (mine.top - parent.top);
    if (parent.bottom - mine.bottom < 3)
      r.bottom -= 3 - (parent.bottom - mine.bottom);
    if (parent.right - mine.right < 3)
      r.right -= 3 - (parent.right - mine.right);
  }
  if (Width(r) <= 0 || Height(r) <= 0)
    return;
  TBitmap buffer(Width(r), Height(r));
  TCanvas &canvas = buffer.Canvas();
  FillColor(canvas.Handle(), {0, 0, Width(r), Height(r)}, SkinData->Colors[csButtonFace]);
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(Handle, &cursor);

  const bool vertical = (GetWindowLongEx(Handle, GWL_STYLE) & UDS_HORZ) == 0 && !Horizontal;
  RECT first, second;
  int half, along, kind;
  if (vertical) {
    half = Height(r) / 2;
    first = {0, 0, Width(r), half};
    second = {0, half, Width(r), Height(r)};
    along = cursor.y - (r.top - area.top);
    kind = 0;
  } else {
    half = Width(r) / 2;
    first = {0, 0, half, Height(r)};
    second = {half, 0, Width(r), Height(r)};
    along = cursor.x - (r.left - area.left);
    kind = 2;
  }
  const TUpDownStates states = UpDownStates(MouseState, along, half);
  TDataSkinBorder *element = vertical ? SkinData->UpDownVert : SkinData->UpDownHorz;
  const bool skinned = HasSkinImage(element);
  if (skinned) {
    DrawSkinButton(canvas.Handle(), first, kind, states.First);
    DrawSkinButton(canvas.Handle(), second, kind + 1, states.Second);
  } else {
    DrawButton(canvas, first, kind, states.First);
    DrawButton(canvas, second, kind + 1, states.Second);
  }
  BitBlt(dc, r.left, r.top, Width(r), Height(r), canvas.Handle(), 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawSkinButton(HDC dc, const RECT &r, int kind, int state) {
  TDataSkinBorder *element = kind < 2 ? SkinData->UpDownVert : SkinData->UpDownHorz;
  if (element == nullptr || element->Image == nullptr)
    return;
  const int index = state + 4 * (kind < 2 ? kind : kind - 2);
  const bool transparent = element->Trans == 1;
  DrawRect1(dc, r, *element->Image, index, element->Frames(), transparent);
  TBitmap *glyph = element->Image2;
  if (glyph == nullptr || glyph->Empty())
    return;
  const int w = glyph->Width() / element->Frames(), h = glyph->Height();
  const int x = r.left + (Width(r) - w) / 2, y = r.top + (Height(r) - h) / 2;
  DrawRect1(dc, {x, y, x + w, y + h}, *glyph, index, element->Frames(), transparent);
}

void TSkinUpDown::DrawButton(TCanvas &canvas, const RECT &r, int kind, int state) {
  const bool pressed = state == 2 || state == 4;
  canvas.Brush().SetColor(SkinData->Colors[pressed ? csButtonShadow : csButtonFace]);
  canvas.Pen().SetColor(SkinData->Colors[csButtonDkshadow]);
  canvas.Rectangle(r);
  const int y = r.top + Height(r) / 2 - (kind < 2 ? 2 : 0);
  DrawArrow(canvas, r.left + Width(r) / 2, y, kind);
}

void DrawArrow(TCanvas &canvas, int x, int y, int kind) {
  struct Line {
    int x1, y1, x2, y2;
  };
  auto lines = [&](std::initializer_list<Line> list) {
    for (const Line &l : list) {
      canvas.MoveTo(x + l.x1, y + l.y1);
      canvas.LineTo(x + l.x2, y + l.y2);
    }
  };
  auto path = [&](std::initializer_list<POINT> points) {
    auto p = points.begin();
    canvas.MoveTo(x + p->x, y + p->y);
    for (++p; p != points.end(); ++p)
      canvas.LineTo(x + p->x, y + p->y);
  };
  switch (kind) {
  case 0:
    lines({{0, 0, 0, -1},
           {1, 1, 4, 4},
           {0, 1, 3, 4},
           {0, 2, 2, 4},
           {-1, 1, -4, 4},
           {0, 2, -3, 4},
           {0, 1, -2, 4}});
    break;
  case 1:
    lines({{0, 3, 0, 4},
           {1, 2, 4, -1},
           {0, 2, 3, -1},
           {0, 1, 2, 0},
           {-1, 2, -4, -1},
           {0, 2, -3, -1},
           {0, 1, -2, 0}});
    break;
  case 2:
    path({{0, 0}, {1, 2}, {1, -2}, {-1, 0}, {1, 2}});
    break;
  case 3:
    path({{0, 0}, {-1, 2}, {-1, -2}, {1, 0}, {-1, 2}});
    break;
  default:
    break;
  }
}
