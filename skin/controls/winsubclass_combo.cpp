// Combo boxes.
#include "skin/controls/winsubclass_combo.h"

#include "framework/gui/controls.h"

#include "skin/controls/winsubclass_scroll.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform_draw.h"

TSkinComBox::~TSkinComBox() {
  ReleaseEdit();
}

void TSkinComBox::Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) {
  if (Initialized)
    return;
  TSkinControl::Init(form, data, canvas, changeColor);
  AttachList();
}

void TSkinComBox::Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) {
  TSkinControl::Inithwnd(window, data, canvas, form);
  AttachList();
}

void TSkinComBox::AttachList() {
  Style = static_cast<DWORD>(GetWindowLongEx(Handle, GWL_STYLE));
  if ((Style & 3) != CBS_SIMPLE) {
    if (!Unicode)
      FindBtn();
    ListHandle = nullptr;
    return;
  }
  Info = {};
  Info.cbSize = sizeof(COMBOBOXINFO);
  if (pGetComboBoxInfo != nullptr && pGetComboBoxInfo(Handle, &Info)) {
    ListHandle = Info.hwndList;
    Style = static_cast<DWORD>(GetWindowLongEx(ListHandle, GWL_STYLE));
    // A list of its own inside the combo (not a drop-down) gets skinned scroll bars.
    if ((Style & WS_CHILD) != 0 && (Style & WS_POPUP) == 0 &&
        GetParent(ListHandle) != GetDesktopWindow() && ListScrollbar == nullptr) {
      ListScrollbar = new TSkinScrollbarH(nullptr);
      ListScrollbar->Inithwnd(ListHandle, SkinData, Canvas, SkinForm);
    }
  }
}

void TSkinComBox::FindBtn() {
  EditHandle = GetTopWindow(Handle);
  if (EditHandle == nullptr ||
      !editSubclass_.Attach(EditHandle, this, TWndMethod(this, &TSkinComBox::ButtonProc))) {
    EditHandle = nullptr;
    return;
  }
  EditOldProc = editSubclass_.Previous();
}

void TSkinComBox::ReleaseEdit() {
  editSubclass_.Detach();
  EditHandle = nullptr;
  EditOldProc = nullptr;
}

void TSkinComBox::Unsubclass() {
  TSkinControl::Unsubclass();
  ReleaseEdit();
  if (ListScrollbar != nullptr && TObject::IsLive(ListScrollbar))
    delete ListScrollbar; // it leaves the form's list as it goes
  ListScrollbar = nullptr;
}

void TSkinComBox::ButtonProc(TMessage &m) {
  if (m.Msg == WM_NCDESTROY)
    ReleaseEdit();
  editSubclass_.CallPrevious(m); // kept for the message being handled
  if (!TObject::IsLive(this) || !Active)
    return;
  switch (m.Msg) {
  case WM_PAINT:
    PaintControl(nullptr);
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    MouseState |= scDown;
    Invalidate();
    break;
  case WM_LBUTTONUP:
    MouseState &= ~scDown;
    Invalidate();
    break;
  default:
    break;
  }
}

void TSkinComBox::AfterProc(TMessage &m) {
  switch (m.Msg) {
  case WM_DRAWITEM:
  case WM_NCPAINT:
    Invalidate();
    return;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    MouseState |= scDown;
    Invalidate();
    return;
  case WM_LBUTTONUP:
    MouseState &= ~scDown;
    Invalidate();
    return;
  case CM_MOUSEENTER:
    if (Enabled) {
      MouseState |= scMouseIn;
      Invalidate(); // the hot look shows as the mouse comes in, as it goes when it leaves
    }
    return;
  case CM_MOUSELEAVE:
    if (Enabled) {
      MouseState &= ~scMouseIn;
      Invalidate();
    }
    return;
  default:
    TSkinControl::AfterProc(m);
  }
}

int TSkinComBox::State(bool disabledFirst) const {
  const bool enabled = (Style & WS_DISABLED) == 0;
  if (disabledFirst && !enabled)
    return 3;
  int state = 1;
  if (GetFocus() == Handle || (EditHandle != nullptr && GetFocus() == EditHandle))
    state = 4;
  if (MouseState & scDown)
    state = 2;
  else if (MouseState & scMouseIn)
    state = 4;
  if (!enabled)
    state = 3;
  return state;
}

void TSkinComBox::DrawControl(HDC dc, const RECT &r) {
  TDataSkinBorder *button = SkinData->ComboButton;
  if (!HasSkinImage(button))
    return;
  Style = static_cast<DWORD>(GetWindowLongEx(Handle, GWL_STYLE));
  ExStyle = static_cast<DWORD>(GetWindowLongEx(Handle, GWL_EXSTYLE));
  Enabled = (Style & WS_DISABLED) == 0;
  Info = {};
  Info.cbSize = sizeof(COMBOBOXINFO);
  if (pGetComboBoxInfo != nullptr && pGetComboBoxInfo(Handle, &Info) &&
      (Info.stateButton & STATE_SYSTEM_INVISIBLE) != 0)
    return; // a simple combo box: no button to draw
  if (button->Style == 1) {
    DrawControl1(dc, r);
    return;
  }
  const RECT at{0, 0, Width(r), Height(r)};
  const int state = State(false);
  const int b = GetSystemMetrics(SM_CXHSCROLL);
  const bool left = (ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  if (button->Style == 2) {
    TDataSkinObject *whole = left ? SkinData->SunkEdge : button;
    if (HasSkinImage(whole))
      DrawRect2(dc, at, *whole->Image, whole->Margins, state, whole->Frames(), true, false, false);
    return;
  }
  const int saved = SaveDC(dc);
  RECT buttonRect, arrowBox;
  TBitmap *image;
  if (!left) {
    ExcludeClipRect(dc, 2, 2, at.right - b - 4, at.bottom - 2);
    buttonRect = {at.right - b - 2, 0, at.right, at.bottom};
    arrowBox = {at.right - b - 2, 0, at.right - 2, at.bottom};
    image = button->Image;
  } else {
    ExcludeClipRect(dc, b + 4, 2, at.right - 2, at.bottom - 2);
    buttonRect = {0, 0, b + 2, at.bottom};
    arrowBox = {2, 0, b + 2, at.bottom};
    image = button->Image2 != nullptr && !button->Image2->Empty() ? button->Image2 : button->Image;
  }
  if (SkinData->SunkEdge != nullptr)
    DrawSkinMap(dc, at, SkinData->SunkEdge, state, SkinData->SunkEdge->Frames());
  DrawSkinMap2(dc, buttonRect, *image, state, button->Frames());
  if (TDataSkinObject *arrow = SkinData->ExtraImages; HasSkinImage(arrow)) {
    const int w = arrow->Image->Width() / arrow->Frames(), h = arrow->Image->Height();
    const int x = arrowBox.left + (Width(arrowBox) - w) / 2;
    const int y = arrowBox.top + (Height(arrowBox) - h) / 2;
    DrawSkinMap1(dc, {x, y, x + w, y + h}, *arrow->Image, state, arrow->Frames());
  }
  RestoreDC(dc, saved);
}

void TSkinComBox::DrawControl1(HDC dc, const RECT &r) {
  TDataSkinBorder *button = SkinData->ComboButton;
  const int state = State(true);
  const int w = button->Image->Width() / button->Frames(), h = button->Image->Height();
  const int t = GetSystemMetrics(SM_CYVTHUMB);
  const bool left = (GetWindowLongEx(Handle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  auto brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT ring = r;
  InflateRect(&ring, -1, -1);
  FrameRect(dc, &ring, brush);
  InflateRect(&ring, -1, -1);
  RECT strip = ring;
  if (left)
    strip.right = strip.left + t;
  else
    strip.left = strip.right - t;
  FillRect(dc, &strip, brush);
  RECT box = ring;
  if (left)
    box.right = box.left + w;
  else
    box.left = box.right - w;
  if (h < t)
    box.bottom = box.top + h;
  GdiBrush shadow(CreateSolidBrush(ColorToRGB(SkinData->Colors[csButtonShadow])));
  FrameRect(dc, &r, shadow.Get());
  DrawSkinMap1(dc, box, *button->Image, state, button->Frames());
}
