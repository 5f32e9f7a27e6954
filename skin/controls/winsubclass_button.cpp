// Push-button painters.
#include "skin/controls/winsubclass_button.h"

#include "framework/core/typinfo.h"
#include "framework/gui/controls.h"
#include "framework/gui/imglist.h"
#include "skin/data/imgutil.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_draw.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The first "||" of a caption is a line break.
std::wstring WithLineBreak(const std::wstring &caption) {
  return StringReplaceW(caption, L"||", L"\r\n");
}

bool HasPicture(const TSkinData *data) {
  return data != nullptr && HasSkinImage(data->Button);
}

bool IsTrue(TObject *control, const char *name) {
  return AnsiLowerCase(GetEnumProperty(control, name)) == "true";
}

// The text size of caption measured in area with format; (0, 0) for no caption.
SIZE MeasureCaption(TCanvas &canvas, const std::wstring &caption, RECT area, UINT format) {
  if (caption.empty())
    return {0, 0};
  canvas.DrawTextW(caption, area, format | DT_CALCRECT);
  return {Width(area), Height(area)};
}

int LayoutIndex(const std::string &layout) {
  if (layout == "blglyphright")
    return 1;
  if (layout == "blglyphtop")
    return 2;
  if (layout == "blglyphbottom")
    return 3;
  return 0;
}

} // namespace

// ----------------------------------------------------------------- state tables

int ButtonFrame(bool focused, TSkinControlStates mouse, bool enabled, bool menuButton) {
  int frame = 1;
  if (focused)
    frame = menuButton ? 4 : 5;
  if (mouse & scDown)
    frame = 2;
  else if (mouse & scMouseIn)
    frame = 4;
  if (!enabled)
    frame = 3;
  return frame;
}

int GlyphOfFrame(int frame, bool down) {
  if (down)
    return 4;
  return frame == 2 ? 3 : frame == 3 ? 2 : 1;
}

TColor ButtonTextColor(const TDataSkinButton &button, int frame, TColor fontColour) {
  if (frame == 1 && button.HasNormalColour2)
    return button.NormalColour2;
  if (frame == 4 && button.HasMouseOverColour2)
    return button.MouseOverColour2;
  if (frame == 2 && button.HasPressedColour2)
    return button.PressedColour2;
  if (frame == 3)
    return clBtnShadow;
  return fontColour;
}

TGlyphLayout LayoutGlyph(SIZE c, SIZE g, SIZE t, int layout, int margin, int spacing, bool centred,
                         bool speedButton) {
  TGlyphLayout out;
  const bool across = layout == 0 || layout == 1;
  // The cross axis centres both.
  if (across) {
    out.Glyph.y = (c.cy - g.cy + 1) / 2;
    out.Text.y = (c.cy - t.cy + 1) / 2;
  } else {
    out.Glyph.x = (c.cx - g.cx + 1) / 2;
    out.Text.x = (c.cx - t.cx + 1) / 2;
  }
  const int cm = across ? c.cx : c.cy, gm = across ? g.cx : g.cy, tm = across ? t.cx : t.cy;
  if (t.cx == 0 || g.cx == 0)
    spacing = 0;
  if (margin == -1 || (centred && !speedButton)) {
    if (spacing == -1) {
      margin = (cm - (gm + tm)) / 3;
      spacing = margin;
    } else {
      margin = (cm - (gm + spacing + tm)) / 2 + (speedButton ? 1 : 0);
    }
  } else if (spacing == -1) {
    spacing = ((cm - (margin + gm)) - tm) / 2;
  }
  switch (layout) {
  case 1:
    out.Glyph.x = c.cx - margin - g.cx;
    out.Text.x = out.Glyph.x - spacing - t.cx;
    out.Format = DT_WORDBREAK | DT_RIGHT;
    break;
  case 2:
    out.Glyph.y = margin;
    out.Text.y = out.Glyph.y + g.cy + spacing;
    out.Format = DT_WORDBREAK | DT_CENTER;
    break;
  case 3:
    out.Glyph.y = c.cy - margin - g.cy;
    out.Text.y = out.Glyph.y - spacing - t.cy;
    out.Format = DT_WORDBREAK | DT_CENTER;
    break;
  default:
    out.Glyph.x = margin;
    out.Text.x = out.Glyph.x + g.cx + spacing;
    out.Format = DT_WORDBREAK;
    break;
  }
  return out;
}

// ----------------------------------------------------------------- TSkinButton

TSkinButton::TSkinButton(TComponent *owner)
    : TSkinControl(owner), Buffer(std::make_unique<TBitmap>()) {}

TSkinButton::~TSkinButton() = default;

bool TSkinButton::TransparentByTag() const {
  const TComponent *owner = Owner();
  return (owner != nullptr && owner->Tag() == 5555) ||
         (SkinData != nullptr && InSet(SkinData->Options, xoTransparent));
}

void TSkinButton::Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) {
  TSkinControl::Init(form, data, canvas, changeColor);
  Transparent = TransparentByTag();
}

void TSkinButton::SetRedraw(bool value) {
  Redraw = value;
  LONG_PTR style = GetWindowLongPtrA(Handle, GWL_STYLE);
  KillTimer(Handle, 1);
  if (value) {
    style |= WS_VISIBLE;
  } else {
    SetTimer(Handle, 1, 100, nullptr);
    style &= ~static_cast<LONG_PTR>(WS_VISIBLE);
  }
  SetWindowLongPtrA(Handle, GWL_STYLE, style);
}

bool TSkinButton::EndPress() {
  if (Control != nullptr && !Control->Visible()) {
    // The press hid the button: its window stays hidden, as the handler asked.
    KillTimer(Handle, 1);
    Redraw = true;
    return false;
  }
  SetRedraw(true);
  return true;
}

void TSkinButton::WMEnable(TMessage &message) {
  Default(message);
  Invalidate();
}

bool TSkinButton::BeforeProc(TMessage &m) {
  // Without a button picture in the skin the button paints (and presses) itself.
  if (!HasPicture(SkinData))
    return TSkinControl::BeforeProc(m);
  switch (m.Msg) {
  case WM_PAINT:
    WMPaint(m);
    return false;
  case WM_ERASEBKGND:
    m.Result = 1;
    return false;
  case WM_TIMER:
    SetRedraw(true);
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (GetFocus() != Handle)
      SetFocus(Handle);
    MouseState |= scDown;
    SetRedraw(false);
    Default(m);
    if (!TObject::IsLive(this))
      return false;
    if (EndPress())
      PaintControl(nullptr);
    return false;
  case WM_LBUTTONUP:
    if ((MouseState & scDown) == 0)
      break;
    MouseState &= ~scDown;
    SetRedraw(false);
    Default(m); // the click runs here and may free the button and this object
    if (!TObject::IsLive(this))
      return false;
    if (EndPress() && IsWindowVisible(Handle))
      Invalidate();
    return false;
  default:
    break;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinButton::AfterProc(TMessage &m) {
  switch (m.Msg) {
  case WM_SETTEXT:
    PaintControl(nullptr);
    return;
  case WM_KEYDOWN:
  case WM_KEYUP:
    if (m.WParam == VK_SPACE) {
      if (m.Msg == WM_KEYDOWN)
        MouseState |= scDown;
      else
        MouseState &= ~scDown;
      Invalidate();
      return;
    }
    break;
  case WM_MOUSEMOVE:
    if (Enabled && (MouseState & scMouseIn) == 0) {
      MouseState |= scMouseIn;
      Invalidate();
    }
    DoTrackMouse(Handle);
    return;
  case WM_MOUSELEAVE:
    MouseState &= ~(scMouseIn | scDown);
    Invalidate();
    return;
  case CM_DIALOGKEY:
  case CM_FOCUSCHANGED:
    Invalidate();
    return;
  default:
    break;
  }
  TSkinControl::AfterProc(m);
}

bool TSkinButton::BeginButtonPaint(const RECT &r, int &frame, bool menuButton) {
  if (!HasPicture(SkinData))
    return false;
  const LONG_PTR style = GetWindowLongEx(Handle, GWL_STYLE);
  Enabled = (style & WS_DISABLED) == 0;
  Focused = GetFocus() == Handle;
  Caption = Control != nullptr ? GetStringProp(Control, "Caption") : WindowText();
  frame = ButtonFrame(Focused, MouseState, Enabled, menuButton);
  const RECT at{0, 0, Width(r), Height(r)};
  Buffer->SetSize(at.right, at.bottom);
  HDC dc = Buffer->Canvas().Handle();
  if (!Transparent)
    FillBG(dc, at);
  else if (Control != nullptr)
    DrawParentImage(Control, dc, true);
  else
    FillParentBG(dc, at);
  DrawSkinMap(dc, at, SkinData->Button, frame, SkinData->Button->Frames());
  return true;
}

void TSkinButton::SelectCaptionFont(int frame) {
  TCanvas &canvas = Buffer->Canvas();
  TColor colour = SkinData->Colors[csButtonText];
  if (auto *font = GetObjProp<TFont>(Control, "Font")) {
    canvas.Font().Assign(*font);
    colour = font->Color();
  } else {
    AssignWindowFont(canvas, Handle);
  }
  canvas.Font().SetColor(ButtonTextColor(*SkinData->Button, frame, colour));
}

void TSkinButton::DrawControl(HDC dc, const RECT &r) {
  int frame = 0;
  if (!BeginButtonPaint(r, frame))
    return;
  SelectCaptionFont(frame);
  DrawBtnText(Buffer->Canvas(), {0, 0, Width(r), Height(r)}, Caption, DT_CENTER);
  BitBlt(dc, r.left, r.top, Width(r), Height(r), Buffer->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TSkinButton::DrawBtnText(TCanvas &canvas, const RECT &r, const std::wstring &, UINT format) {
  const UINT fmt = format | DT_WORDBREAK | DT_EXPANDTABS;
  Caption = WithLineBreak(Caption);
  RECT t = r;
  InflateRect(&t, -2, -2);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.DrawTextW(Caption, t, fmt | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(&t, -t.left, -t.top);
  if (format == DT_CENTER) {
    OffsetRect(&t, (Width(r) - Width(t)) / 2, (Height(r) - Height(t)) / 2 - 1);
    t = MeasuredTextRoom(t, DT_CENTER);
  } else {
    OffsetRect(&t, 0, (Height(r) - Height(t)) / 2 - 1);
    t.left = r.left;
    t.right = r.right;
  }
  canvas.DrawTextW(Caption, t, fmt);
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  if (Focused && !InSet(SkinData->Options, xoNoFocusRect)) {
    InflateRect(&t, 2, 2);
    DrawFocusRect(canvas.Handle(), &t);
  }
}

// ----------------------------------------------------------------- TSkinBitButton

void TSkinBitButton::DrawGlyph(TCanvas &canvas, POINT at, TBitmap &glyph, int numGlyphs,
                               int index) {
  const int requested = index;
  numGlyphs = std::max(numGlyphs, 1);
  if (numGlyphs < index)
    index = 1;
  const int w = glyph.Width() / numGlyphs;
  if (w <= 0 || glyph.Height() <= 0)
    return;
  TBitmap frame(w, glyph.Height());
  frame.Canvas().CopyRect({0, 0, w, glyph.Height()}, glyph.Canvas(),
                          {(index - 1) * w, 0, index * w, glyph.Height()});
  if (requested == 2)
    ConvertBitmapToGrayscale(&frame);
  frame.SetTransparent(true); // the colour of the bottom-left pixel
  canvas.Draw(at.x, at.y, frame);
}

void TSkinBitButton::DrawControl(HDC dc, const RECT &r) {
  int frame = 0;
  if (!BeginButtonPaint(r, frame))
    return;
  SelectCaptionFont(frame);
  TCanvas &canvas = Buffer->Canvas();
  const SIZE c{Width(r), Height(r)};

  TBitmap *picture = nullptr;
  int numGlyphs = 1;
  TImageList *images = nullptr;
  int imageIndex = -1, disabledIndex = -1;
  if (!PictureProperty.empty()) {
    picture = GetObjProp<TBitmap>(Control, PictureProperty);
  } else {
    picture = GetObjProp<TBitmap>(Control, "Glyph");
    numGlyphs = std::max(GetIntProperty(Control, "NumGlyphs"), 1);
    images = GetObjProp<TImageList>(Control, "Images");
    imageIndex = GetIntProperty(Control, "ImageIndex");
    disabledIndex = GetIntProperty(Control, "DisabledIndex");
  }
  SIZE g{0, 0};
  if (picture != nullptr && !picture->Empty())
    g = {PictureProperty.empty() ? picture->Width() / numGlyphs : picture->Width(),
         picture->Height()};
  else if (images != nullptr && imageIndex != -1)
    g = {images->Width(), images->Height()};

  const int layout = LayoutIndex(AnsiLowerCase(GetEnumProperty(Control, "Layout")));
  const bool centred = AnsiLowerCase(GetEnumProperty(Control, "Alignment")) == "tacenter";
  Caption = WithLineBreak(Caption);
  RECT area{0, 0, c.cx, c.cy};
  InflateRect(&area, -2, -2);
  if (layout <= 1)
    area.right -= g.cx + 2;
  else
    area.bottom -= g.cy + 2;
  const SIZE t = MeasureCaption(canvas, Caption, area, DT_WORDBREAK);
  const TGlyphLayout at = LayoutGlyph(c, g, t, layout, GetIntProperty(Control, "Margin"),
                                      GetIntProperty(Control, "Spacing"), centred);

  if (picture != nullptr && !picture->Empty()) {
    if (PictureProperty.empty())
      DrawGlyph(canvas, at.Glyph, *picture, numGlyphs, GlyphOfFrame(frame));
    else
      canvas.Draw(at.Glyph.x, at.Glyph.y, *picture);
  } else if (images != nullptr) {
    const int index = Enabled ? imageIndex : disabledIndex != -1 ? disabledIndex : imageIndex;
    if (index != -1)
      ImageList_DrawEx(images->Handle(), index, canvas.Handle(), at.Glyph.x, at.Glyph.y, 0, 0,
                       CLR_NONE, CLR_NONE, Enabled ? ILD_TRANSPARENT : ILD_BLEND50);
  }

  if (!Caption.empty()) {
    RECT text{at.Text.x, at.Text.y, at.Text.x + t.cx, at.Text.y + t.cy};
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    RECT room = MeasuredTextRoom(text, at.Format);
    canvas.DrawTextW(Caption, room, at.Format);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    if (Focused && !InSet(SkinData->Options, xoNoFocusRect)) {
      InflateRect(&text, 2, 2);
      DrawFocusRect(canvas.Handle(), &text);
    }
  }
  BitBlt(dc, r.left, r.top, c.cx, c.cy, canvas.Handle(), 0, 0, SRCCOPY);
}

// ----------------------------------------------------------------- TSkinSpeedButton

void TSkinSpeedButton::InitGraphicControl(TWinSkinForm *form, TSkinData *data, TCanvas *canvas) {
  if (Initialized)
    return;
  SkinData = data;
  SkinForm = form;
  Canvas = canvas;
  GraphicControl = dynamic_cast<TGraphicControl *>(Owner());
  if (GraphicControl == nullptr)
    return;
  HookWindowProc(GraphicControl);
  if (SkinForm != nullptr)
    SkinForm->AddControlList(this);
  Transparent = TransparentByTag();
  Initialized = true;
  SkinState = 1;
  GraphicControl->Invalidate();
}

bool TSkinSpeedButton::BeforeProc(TMessage &m) {
  if (!HasPicture(SkinData))
    return TSkinControl::BeforeProc(m);
  switch (m.Msg) {
  case WM_PAINT:
    WMPaintSpeed(m);
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    DefaultThenPress(m);
    return false;
  case WM_LBUTTONUP:
    return true;
  default:
    return TSkinButton::BeforeProc(m);
  }
}

void TSkinSpeedButton::AfterProc(TMessage &m) {
  switch (m.Msg) {
  case WM_ENABLE:
  case CM_FOCUSCHANGED:
  case CM_ENABLEDCHANGED:
    break;
  case WM_NCDESTROY:
  case CM_RELEASE:
    if (GraphicControl != nullptr && OldWindowProc.Assigned()) {
      GraphicControl->WindowProc = OldWindowProc;
      OldWindowProc = nullptr;
    }
    break;
  case WM_KEYDOWN:
  case WM_KEYUP:
    if (m.WParam == VK_SPACE) {
      if (m.Msg == WM_KEYDOWN)
        MouseState |= scDown;
      else
        MouseState &= ~scDown;
      PaintControl(nullptr);
    }
    break;
  case WM_LBUTTONUP:
    MouseState &= ~scDown;
    PaintControl(nullptr);
    break;
  case CM_MOUSEENTER:
    MouseState |= scMouseIn;
    PaintControl(nullptr);
    break;
  case CM_MOUSELEAVE:
    MouseState &= ~(scMouseIn | scDown);
    if (GraphicControl != nullptr && GraphicControl->Visible())
      PaintControl(nullptr);
    break;
  default:
    TSkinButton::AfterProc(m);
    break;
  }
}

void TSkinSpeedButton::WMPaintSpeed(TMessage &m) {
  auto dc = reinterpret_cast<HDC>(m.WParam);
  if (dc != nullptr && GraphicControl != nullptr) {
    TCanvas &canvas = GraphicControl->Canvas();
    canvas.Lock();
    canvas.SetHandle(dc);
    try {
      DrawSpeedbtn(canvas, GraphicControl->ClientRect());
    } catch (...) {
    }
    canvas.SetHandle(nullptr);
    canvas.Unlock();
  }
  m.Result = 1;
}

void TSkinSpeedButton::PaintControl(HDC) {
  if (GraphicControl == nullptr)
    return;
  TCanvas &canvas = GraphicControl->Canvas();
  if (canvas.HandleAllocated())
    DrawSpeedbtn(canvas, GraphicControl->ClientRect());
  else // outside a paint the new state shows with the next one, asked for now
    GraphicControl->Invalidate();
}

void TSkinSpeedButton::DrawSpeedbtn(TCanvas &target, const RECT &r) {
  if (Painting || !HasPicture(SkinData))
    return;
  Painting = true;
  try {
    TControl *button = GraphicControl;
    Enabled = IsTrue(button, "Enabled");
    const bool down = IsTrue(button, "Down");
    int frame = 1;
    if (MouseState & scDown)
      frame = 2;
    else if (MouseState & scMouseIn)
      frame = 4;
    if (!Enabled)
      frame = 3;
    if (down)
      frame = 2;
    Caption = GetStringProp(button, "Caption");
    TBitmap *glyph = GetObjProp<TBitmap>(button, "Glyph");
    const int numGlyphs = std::max(GetIntProperty(button, "NumGlyphs"), 1);

    const SIZE c{Width(r), Height(r)};
    Buffer->SetSize(c.cx, c.cy);
    TCanvas &canvas = Buffer->Canvas();
    if (auto *font = GetObjProp<TFont>(button, "Font"))
      canvas.Font().Assign(*font);
    const RECT at{0, 0, c.cx, c.cy};
    if (Transparent)
      DrawParentImage(button, canvas.Handle(), true);
    else
      FillBG(canvas.Handle(), at);
    if (frame == 2 || frame == 4 || !IsTrue(button, "Flat"))
      DrawSkinMap(canvas.Handle(), at, SkinData->Button, frame, SkinData->Button->Frames());
    const TColor fontColour = canvas.Font().Color();
    canvas.Font().SetColor(ButtonTextColor(*SkinData->Button, frame, fontColour));

    if (glyph == nullptr || glyph->Empty()) {
      Focused = false;
      DrawBtnText(canvas, at, Caption, DT_CENTER);
    } else {
      const SIZE g{glyph->Width() / numGlyphs, glyph->Height()};
      const int layout = LayoutIndex(AnsiLowerCase(GetEnumProperty(button, "Layout")));
      Caption = WithLineBreak(Caption);
      RECT area = at;
      InflateRect(&area, -2, -2);
      const SIZE t = MeasureCaption(canvas, Caption, area, DT_WORDBREAK);
      const TGlyphLayout place = LayoutGlyph(c, g, t, layout, GetIntProperty(button, "Margin"),
                                             GetIntProperty(button, "Spacing"), false, true);
      DrawGlyph(canvas, place.Glyph, *glyph, numGlyphs, GlyphOfFrame(frame, down));
      if (!Caption.empty()) {
        RECT text = MeasuredTextRoom(
            {place.Text.x, place.Text.y, place.Text.x + t.cx, place.Text.y + t.cy}, place.Format);
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        canvas.DrawTextW(Caption, text, place.Format);
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
      }
    }
    BitBlt(target.Handle(), r.left, r.top, c.cx, c.cy, canvas.Handle(), 0, 0, SRCCOPY);
  } catch (...) {
    Painting = false;
    throw;
  }
  Painting = false;
}

// ----------------------------------------------------------------- TSkinMenuButton

void TSkinMenuButton::DrawControl(HDC dc, const RECT &r) {
  int frame = 0;
  if (!BeginButtonPaint(r, frame, true))
    return;
  SelectCaptionFont(frame);
  TCanvas &canvas = Buffer->Canvas();
  const int w = Width(r), h = Height(r);
  Caption = WithLineBreak(Caption);
  RECT area{0, 0, w - 17, h};
  InflateRect(&area, -2, -2);
  const SIZE t = MeasureCaption(canvas, Caption, area, DT_WORDBREAK);
  RECT text{(w - 17 - t.cx) / 2 + 2, (h - t.cy + 1) / 2, 0, 0};
  text.right = text.left + t.cx;
  text.bottom = text.top + t.cy;

  const TColor ink = Enabled ? static_cast<TColor>(0x80000008) : clBtnShadow;
  canvas.Pen().SetColor(ink);
  canvas.Brush().SetColor(ink);
  if (!Enabled)
    canvas.Font().SetColor(clBtnShadow);
  const POINT arrow[3] = {{w - 12, h / 2 + 2}, {w - 15, h / 2 - 1}, {w - 9, h / 2 - 1}};
  canvas.Polygon(arrow);

  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  RECT room = MeasuredTextRoom(text, DT_LEFT);
  canvas.DrawTextW(Caption, room, DT_WORDBREAK);
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  if (Focused && !InSet(SkinData->Options, xoNoFocusRect)) {
    InflateRect(&text, 2, 2);
    DrawFocusRect(canvas.Handle(), &text);
  }
  BitBlt(dc, r.left, r.top, w, h, canvas.Handle(), 0, 0, SRCCOPY);
}
