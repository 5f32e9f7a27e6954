// Check boxes, radio buttons and group boxes.
#include "skin/controls/winsubclass_check.h"

#include "framework/core/typinfo.h"
#include "framework/gui/controls.h"
#include "skin/data/winskindata.h"

namespace {

// Framework message that data-aware controls send when their value changed.
constexpr UINT CM_DataChanged = 0xB0D0;

// The caption font of a control: its Font for a framework control, else WM_GETFONT's. Selected
// into dc; the previous font is returned for restoring.
HGDIOBJ SelectControlFont(HDC dc, TControl *control, HWND window, TColor *colour) {
  if (auto *font = GetObjProp<TFont>(control, "Font")) {
    if (colour != nullptr)
      *colour = font->Color();
    return SelectObject(dc, font->Handle());
  }
  auto handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  return SelectObject(dc, handle != nullptr ? handle : GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace

// ----------------------------------------------------------------- image tables

int CheckImageIndex(int checked, bool disabled, bool indeterminate, int frameCount) {
  int index = checked;
  if (disabled)
    index += 2;
  if (indeterminate)
    index = 4;
  // A grayed check box that is also disabled would ask for a sixth image: it has the fourth.
  if (index > 4)
    index = 4;
  if (frameCount == 12) {
    index = index == 2 ? 5 : index == 3 ? 4 : index == 4 ? 8 : index;
    if (indeterminate)
      index = disabled ? 12 : 9;
  }
  return index;
}

int RadioImageIndex(bool checked, bool disabled, int frameCount) {
  int index = (checked ? 2 : 1) + (disabled ? 2 : 0);
  if (frameCount == 8)
    index = index == 2 ? 5 : index == 3 ? 4 : index == 4 ? 8 : index;
  return index;
}

// ----------------------------------------------------------------- TSkinMarkControl

void TSkinMarkControl::Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas,
                            bool changeColor) {
  TSkinControl::Init(form, data, canvas, changeColor);
  Kind = 1;
  Transparent =
      (Control != nullptr && Control->Tag() == 5555) || InSet(SkinData->Options, xoTransparent);
}

void TSkinMarkControl::Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) {
  TSkinControl::Inithwnd(window, data, canvas, form);
  Transparent = InSet(SkinData->Options, xoTransparent);
}

bool TSkinMarkControl::BeforeProc(TMessage &m) {
  const bool passOn = TSkinControl::BeforeProc(m);
  if ((m.Msg == WM_PAINT || m.Msg == WM_PRINTCLIENT) && Kind == 1) {
    WMPaint(m);
    return false;
  }
  if (m.Msg == WM_ERASEBKGND && Transparent) {
    WMERASEBKGND(m);
    return false;
  }
  return passOn;
}

void TSkinMarkControl::AfterProc(TMessage &m) {
  switch (m.Msg) {
  case BM_SETCHECK:
  case BM_SETSTATE: // the system draws its pressed box at once: draw ours over it
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case CM_EXIT:
  case CM_DataChanged:
    Invalidate();
    return;
  default:
    TSkinControl::AfterProc(m);
  }
}

void TSkinMarkControl::DrawControl(HDC dc, const RECT &r) {
  int frames = 1;
  TBitmap *strip = Strip(frames);
  if (strip == nullptr || strip->Empty()) {
    Kind = 0; // the control paints itself from now on
    return;
  }
  frames = frames < 1 ? 1 : frames;
  const int w = strip->Width() / frames, h = strip->Height();
  const int index = ImageIndex(frames);
  const LONG_PTR style = GetWindowLongEx(Handle, GWL_STYLE);

  RECT image{r.left, r.top + (Height(r) - h) / 2, r.left + w, r.top + (Height(r) - h) / 2 + h};
  RECT area = r;
  UINT format = 0;
  if ((style & BS_LEFTTEXT) == 0) {
    area.left = r.left + w + 2;
  } else {
    image.right = IsRadio() ? r.right - 1 : r.right;
    image.left = image.right - w;
    area.right = image.left - 2;
    if ((GetWindowLongEx(Handle, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0)
      format = DT_RIGHT;
  }
  format |= DT_WORDBREAK | DT_EXPANDTABS;

  if (Kind == 1 && !Transparent)
    FillBG(dc, r);
  DrawSkinMap2(dc, image, *strip, index, frames);
  if (Kind == 0)
    return;

  Caption = WindowText();
  if (Control != nullptr)
    Caption = GetStringProp(Control, "Caption");
  TColor colour = SkinData->Colors[csButtonText];
  const HGDIOBJ oldFont = SelectControlFont(dc, Control, Handle, &colour);
  Enabled = (style & WS_DISABLED) == 0;
  if (Control != nullptr && !Enabled)
    colour = clBtnShadow;
  const COLORREF oldText = SetTextColor(dc, ColorToRGB(colour));
  const COLORREF oldBack = SetBkColor(dc, ColorToRGB(SkinData->Colors[csButtonFace]));
  const int oldMode = SetBkMode(dc, TRANSPARENT);

  RECT text = area;
  Tnt_DrawTextW(dc, Caption, text, format | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(&area, 0, (Height(area) - Height(text)) / 2);
  if (GetFocus() == Handle && !Caption.empty() && !InSet(SkinData->Options, xoNoFocusRect))
    DrawFocus(dc, Caption, area, format);
  Tnt_DrawTextW(dc, Caption, area, format);

  SetBkMode(dc, oldMode);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
  SelectObject(dc, oldFont);
}

// ----------------------------------------------------------------- TSkinCheckBox

void TSkinCheckBox::AfterProc(TMessage &m) {
  if (m.Msg == BM_SETCHECK)
    CheckState = static_cast<int>(m.WParam) + 1;
  TSkinMarkControl::AfterProc(m);
}

TBitmap *TSkinCheckBox::Strip(int &frames) const {
  if (SkinData->Button == nullptr)
    return nullptr;
  frames = SkinData->Button->CheckFrameCount;
  return SkinData->Button->CheckImage;
}

int TSkinCheckBox::ImageIndex(int frames) {
  const auto state = SendMessageA(Handle, BM_GETSTATE, 0, 0);
  int checked = (state & BST_CHECKED) != 0 ? 2 : 1;
  if (Control != nullptr) {
    if (GetPropInfo(Control, "State") != nullptr) {
      const std::string value = AnsiLowerCase(GetEnumProperty(Control, "State"));
      if (value.find("uncheck") != std::string::npos)
        checked = 1;
      else if (value.find("check") != std::string::npos)
        checked = 2;
      else if (value.find("gray") != std::string::npos)
        checked = 4;
    } else if (GetPropInfo(Control, "Checked") != nullptr) {
      checked = AnsiLowerCase(GetEnumProperty(Control, "Checked")) == "true" ? 2 : 1;
    }
    if (GetPropInfo(Control, "DataField") != nullptr && CheckState != 0)
      checked = CheckState == 3 ? 4 : CheckState;
    if (GetPropInfo(Control, "DataBinding") != nullptr)
      checked = 1;
  }
  const bool disabled = (GetWindowLongEx(Handle, GWL_STYLE) & WS_DISABLED) != 0;
  return CheckImageIndex(checked, disabled, (state & BST_INDETERMINATE) != 0, frames);
}

// ----------------------------------------------------------------- TSkinRadioButton

TBitmap *TSkinRadioButton::Strip(int &frames) const {
  if (SkinData->Button == nullptr)
    return nullptr;
  frames = SkinData->Button->RadioFrameCount;
  return SkinData->Button->RadioImage;
}

int TSkinRadioButton::ImageIndex(int frames) {
  bool checked = SendMessageA(Handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (Control != nullptr && GetPropInfo(Control, "Checked") != nullptr)
    checked = AnsiLowerCase(GetEnumProperty(Control, "Checked")) == "true";
  const bool disabled = (GetWindowLongEx(Handle, GWL_STYLE) & WS_DISABLED) != 0;
  return RadioImageIndex(checked, disabled, frames);
}

// ----------------------------------------------------------------- TSkinGroupBox

void TSkinGroupBox::Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) {
  TSkinControl::Init(form, data, canvas, changeColor);
  if (Control != nullptr)
    Kind = 1;
}

bool TSkinGroupBox::BeforeProc(TMessage &m) {
  const bool passOn = TSkinControl::BeforeProc(m);
  if (m.Msg == WM_PAINT && Kind == 1) {
    WMPaint(m);
    return false;
  }
  return passOn;
}

void TSkinGroupBox::DrawControl(HDC dc, const RECT &r) {
  DefaultDraw(dc, r);
}

void TSkinGroupBox::DefaultDraw(HDC dc, const RECT &r) {
  Caption = WindowText();
  if (Caption.empty() && Control != nullptr)
    Caption = GetStringProp(Control, "Caption");
  if (Control != nullptr)
    FillBG(dc, r);
  TColor colour = SkinData->Colors[csButtonText];
  const HGDIOBJ oldFont = SelectControlFont(dc, Control, Handle, &colour);
  const COLORREF oldText = SetTextColor(dc, ColorToRGB(colour));
  const int h = TextHeight(dc, "0");
  const int top = h / 2 - 1;

  if (Kind == 0) {
    // Paint out the system's etched frame.
    RECT frame{0, top, r.right, r.bottom};
    FrameRect(dc, &frame, SkinData->FaceBrush.Get());
    InflateRect(&frame, -1, -1);
    FrameRect(dc, &frame, SkinData->FaceBrush.Get());
  }
  {
    GdiPen pen(CreatePen(PS_SOLID, 1, ColorToRGB(SkinData->Colors[csButtonShadow])));
    const HGDIOBJ oldPen = SelectObject(dc, pen.Get());
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    RoundRect(dc, 1, top, r.right - 1, r.bottom - 1, 5, 5);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
  }
  const COLORREF oldBack = SetBkColor(dc, ColorToRGB(SkinData->Colors[csButtonFace]));
  RECT text{r.left + 8, r.top, r.right, r.bottom};
  Tnt_DrawTextW(dc, Caption, text, DT_EXPANDTABS);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
  SelectObject(dc, oldFont);
  // The group's own WM_PAINT no longer runs: paint its windowless children here.
  if (Control != nullptr && Kind == 1)
    Control->PaintControls(dc);
}
