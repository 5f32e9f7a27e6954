// The control skinning base: attaching, message routing, painting strategies and the helpers
// every painter draws with.
#include "skin/controls/winsubclass.h"

#include "framework/gui/controls.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_draw.h"

#include <algorithm>
#include <vector>

namespace {

bool Inverted(const RECT &r) {
  return r.right < r.left || r.bottom < r.top;
}

// The frame of a horizontal strip of frameCount frames.
RECT FrameRect(const TBitmap &bitmap, int frameIndex, int frameCount) {
  const int w = bitmap.Width() / frameCount;
  return {(frameIndex - 1) * w, 0, frameIndex * w, bitmap.Height()};
}

// One frame of bitmap stretched into a new bitmap of r's size; null when there is nothing to
// draw (an empty bitmap, no frames, an empty or inverted rectangle).
std::unique_ptr<TBitmap> StretchedFrame(const RECT &r, TBitmap &bitmap, int frameIndex,
                                        int frameCount) {
  if (Inverted(r) || bitmap.Empty() || frameCount < 1 || Width(r) == 0 || Height(r) == 0)
    return nullptr;
  auto frame = std::make_unique<TBitmap>(Width(r), Height(r));
  frame->Canvas().CopyRect({0, 0, Width(r), Height(r)}, bitmap.Canvas(),
                           FrameRect(bitmap, frameIndex, frameCount));
  return frame;
}

} // namespace

// ----------------------------------------------------------------- lifecycle

TSkinControl::TSkinControl(TComponent *owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
  // A control being destroyed (its owner frees this object) has no WindowProc left to restore.
  if (hooked_ != nullptr && OldWindowProc.Assigned() && TObject::IsLive(hooked_) &&
      (hooked_->ComponentState() & csDestroying) == 0)
    hooked_->WindowProc = OldWindowProc;
  OldWindowProc = nullptr;
  hooked_ = nullptr;
  UnbindWindow();
  if (SkinForm != nullptr && TObject::IsLive(SkinForm))
    SkinForm->DeleteControl(this);
}

void TSkinControl::Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) {
  if (Initialized)
    return;
  ChangeColor = changeColor;
  SkinData = data;
  SkinForm = form;
  Canvas = canvas;
  Control = dynamic_cast<TWinControl *>(Owner());
  if (Control == nullptr)
    return;
  Handle = Control->Handle();
  Unicode = IsWindowUnicode(Handle) != FALSE;
  HookWindowProc(Control);
  if (SkinForm != nullptr)
    SkinForm->AddControlList(this);
  if (ChangeColor) {
    SavedColor = Control->Color();
    Control->SetColor(SkinData->Colors[csButtonFace]);
  }
  Control->Invalidate();
  Initialized = true;
  SkinState = 1;
}

void TSkinControl::Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) {
  SkinData = data;
  Canvas = canvas;
  SkinForm = form;
  Handle = window;
  Enabled = true;
  Kind = 0;
  if (SkinForm != nullptr)
    SkinForm->AddControlList(this);
  Unicode = IsWindowUnicode(window) != FALSE;
  Caption = WindowText();
  BindWindow();
  if (Handle != nullptr)
    InvalidateRect(Handle, nullptr, TRUE);
  Initialized = true;
  SkinState = 1;
}

void TSkinControl::Unsubclass() {
  if (ChangeColor && Control != nullptr && TObject::IsLive(Control))
    Control->SetColor(SavedColor);
}

void TSkinControl::SkinChange() {
  sliced_ = {};
  if (ChangeColor && Control != nullptr)
    Control->SetColor(SkinData->Colors[csButtonFace]);
  Invalidate();
}

bool TSkinControl::Adopt(TControl *control, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) {
  SkinData = data;
  Canvas = canvas;
  SkinForm = form;
  Control = dynamic_cast<TWinControl *>(control);
  if (Control == nullptr)
    return false;
  Handle = Control->Handle();
  Unicode = IsWindowUnicode(Handle) != FALSE;
  if (SkinForm != nullptr)
    SkinForm->AddControlList(this);
  return true;
}

void TSkinControl::HookWindowProc(TControl *control) {
  OldWindowProc = control->WindowProc;
  control->WindowProc = TWndMethod(this, &TSkinControl::NewWndProc);
  hooked_ = control;
}

// ----------------------------------------------------------------- binding bare windows

void TSkinControl::BindWindow() {
  // One object per window: a second one is refused.
  if (Handle == nullptr || window_.Attached() ||
      !window_.Attach(Handle, this, TWndMethod(this, &TSkinControl::BoundMessage)))
    return;
  OldWndProc = window_.Previous();
}

void TSkinControl::UnbindWindow() {
  window_.Detach();
}

TSkinControl *FindBoundSkinControl(HWND window) {
  return dynamic_cast<TSkinControl *>(TWindowSubclass::Find(window, slControl));
}

void TSkinControl::BoundMessage(TMessage &message) {
  NewWndProc(message);
  if (message.Msg == WM_NCDESTROY && TObject::IsLive(this)) {
    // The window is gone: nothing of ours stays on it, and the object of a bare window (no
    // control owns it) goes with it.
    UnbindWindow();
    if (Owner() == nullptr)
      delete this;
  }
}

// ----------------------------------------------------------------- messages

void TSkinControl::NewWndProc(TMessage &message) {
  if (message.Msg == CN_ControlActive) {
    Active = static_cast<intptr_t>(message.WParam) > 0;
    if (Active)
      Invalidate();
    return;
  }
  if (message.Msg == CM_RECREATEWND) {
    // The control makes a new window: the form re-attaches it, once this message is done.
    Default(message);
    if (TObject::IsLive(this) && Control != nullptr && SkinForm != nullptr &&
        TObject::IsLive(SkinForm))
      PostMessageA(SkinForm->Handle, CN_ReCreateWnd, reinterpret_cast<WPARAM>(Handle), 0);
    return;
  }
  if (!Active) {
    Default(message);
    return;
  }
  if (BeforeProc(message)) {
    Default(message);
    // The control's own handling may have freed the control, and this object with it.
    if (TObject::IsLive(this))
      AfterProc(message);
  }
}

void TSkinControl::Default(TMessage &message) {
  if (OldWindowProc.Assigned()) {
    OldWindowProc(message);
    return;
  }
  if (OldWndProc != nullptr)
    window_.CallPrevious(message);
}

void TSkinControl::DefaultThenPress(TMessage &message) {
  Default(message);
  if (!TObject::IsLive(this)) // the control's handling may have freed it, and this object
    return;
  MouseState |= scDown;
  PaintControl(nullptr);
}

bool TSkinControl::BeforeProc(TMessage &message) {
  switch (message.Msg) {
  case WM_NCDESTROY:
    Default(message);
    Active = false;
    SkinState = 6;
    Unsubclass();
    return false;
  case CN_IsSkinned:
    message.Result = 1;
    return false;
  default:
    return true;
  }
}

void TSkinControl::AfterProc(TMessage &message) {
  switch (message.Msg) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
  case WM_ENABLE:
  case WM_SETTEXT:
  case CM_ENABLEDCHANGED:
    Invalidate();
    break;
  case WM_PAINT:
    PaintControl(reinterpret_cast<HDC>(message.WParam));
    break;
  default:
    break;
  }
}

// ----------------------------------------------------------------- painting

void TSkinControl::Invalidate() {
  if (GraphicControl != nullptr) {
    GraphicControl->Invalidate();
    return;
  }
  if (Handle == nullptr)
    return;
  InvalidateRect(Handle, nullptr, TRUE);
  UpdateWindow(Handle);
}

void TSkinControl::MouseLeave() {
  if (Handle != nullptr)
    SendMessageA(Handle, CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::PaintControl(HDC dc) {
  RECT window;
  if (!GetWindowRect(Handle, &window))
    return;
  WindowRect = window;
  const RECT r{0, 0, Width(window), Height(window)};
  const bool own = dc == nullptr;
  if (own)
    dc = GetWindowDC(Handle);
  try {
    DrawControl(dc, r);
  } catch (...) {
    // A failed paint leaves the control's own picture.
  }
  if (own)
    ReleaseDC(Handle, dc);
}

void TSkinControl::WMPaint(TMessage &message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  PAINTSTRUCT ps{};
  const bool began = dc == nullptr;
  if (began)
    dc = BeginPaint(Handle, &ps);
  RECT window;
  if (GetWindowRect(Handle, &window)) {
    WindowRect = window;
    try {
      DrawControl(dc, {0, 0, Width(window), Height(window)});
    } catch (...) {
    }
  }
  if (began)
    EndPaint(Handle, &ps);
  message.Result = 0;
}

void TSkinControl::WMERASEBKGND(TMessage &message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (Control != nullptr) {
    DrawParentImage(Control, dc, true);
  } else {
    RECT client;
    GetClientRect(Handle, &client);
    FillParentBG(dc, client);
  }
  message.Result = 1;
}

void TSkinControl::DrawControl(HDC, const RECT &) {}

LONG_PTR TSkinControl::GetWindowLongEx(HWND window, int index) const {
  return Unicode ? GetWindowLongPtrW(window, index) : GetWindowLongPtrA(window, index);
}

std::wstring TSkinControl::WindowText() const {
  if (Handle == nullptr)
    return {};
  if (Win32PlatformIsUnicode) {
    const int length = GetWindowTextLengthW(Handle);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = GetWindowTextW(Handle, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
  }
  std::vector<char> buffer(1000, '\0');
  const auto got =
      SendMessageA(Handle, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return StrToWideStr(std::string(buffer.data(), static_cast<size_t>(std::max<LRESULT>(got, 0))));
}

// ----------------------------------------------------------------- helpers

bool HasSkinImage(const TDataSkinObject *element) {
  return element != nullptr && element->Image != nullptr && !element->Image->Empty();
}

void AssignWindowFont(TCanvas &canvas, HWND window) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (font != nullptr && GetObjectA(font, sizeof(lf), &lf) != 0)
    canvas.Font().AssignLogFont(lf);
}

void FillColor(HDC dc, const RECT &r, TColor colour) {
  GdiBrush brush(CreateSolidBrush(ColorToRGB(colour)));
  FillRect(dc, &r, brush.Get());
}

void TSkinControl::FillBG(HDC dc, const RECT &r) {
  FillColor(dc, r, SkinData->Colors[csButtonFace]);
}

TColor TSkinControl::GetParentColor(TColor defaultColor) const {
  if (Control != nullptr && Control->Parent() != nullptr)
    return Control->Parent()->Color();
  return defaultColor;
}

void TSkinControl::FillParentBG(HDC dc, const RECT &r) {
  FillColor(dc, r, GetParentColor(SkinData->Colors[csButtonFace]));
}

void TSkinControl::DrawFocus(HDC dc, const std::wstring &text, const RECT &area, UINT format) {
  RECT r = area;
  Tnt_DrawTextW(dc, text, r, format | DT_CALCRECT | DT_NOCLIP);
  if (format & DT_CENTER)
    OffsetRect(&r, (Width(area) - Width(r)) / 2, (Height(area) - Height(r)) / 2 - 1);
  else if (format & DT_RIGHT)
    OffsetRect(&r, Width(area) - Width(r), 0);
  InflateRect(&r, 2, 1);
  r.top = std::max(r.top, area.top);
  r.bottom = std::min(r.bottom, area.bottom);
  r.right = std::min(r.right, area.right);
  r.left = std::max(r.left, area.left);
  DrawFocusRect(dc, &r);
}

void TSkinControl::DrawCaption(TCanvas &canvas, const RECT &area, const std::wstring &text,
                               bool enabled, bool, UINT format) {
  const UINT fmt = format | DT_EXPANDTABS;
  HDC dc = canvas.Handle();
  SetBkMode(dc, TRANSPARENT);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.Font().SetStyle(0);
  RECT r = area;
  canvas.DrawTextW(text, r, fmt | DT_CALCRECT | DT_NOCLIP);
  if (format == DT_CENTER) {
    OffsetRect(&r, (Width(area) - Width(r)) / 2, (Height(area) - Height(r)) / 2 - 1);
    r = MeasuredTextRoom(r, DT_CENTER);
  } else {
    OffsetRect(&r, 0, (Height(area) - Height(r)) / 2 - 1);
    r.left = area.left;
    r.right = area.right;
  }
  if (!enabled)
    canvas.Font().SetColor(clBtnShadow);
  canvas.DrawTextW(text, r, fmt);
}

void TSkinControl::DrawImgCaption(TCanvas &canvas, const RECT &area, HIMAGELIST images,
                                  int imageIndex, const std::wstring &text, int alignment) {
  int cx = 0, cy = 0;
  if (images != nullptr)
    ImageList_GetIconSize(images, &cx, &cy);
  RECT icon{0, 0, 0, 0};
  if (imageIndex != -1 && images != nullptr && Width(area) > cx)
    icon = {0, 0, cx, cy};
  else
    cx = 0;
  const UINT fmt = DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS;
  RECT t = area;
  if (!text.empty())
    canvas.DrawTextW(text, t, fmt | DT_CALCRECT | DT_NOCLIP);
  else
    t.right = t.left;
  int x = alignment == 0   ? 3
          : alignment == 1 ? (Width(area) - cx - Width(t)) / 2
                           : Width(area) - cx - Width(t) - 2;
  if (x < 2)
    x = 1;
  OffsetRect(&icon, area.left + x, area.top + (Height(area) - cx) / 2);
  OffsetRect(&t, x + cx, (Height(area) - Height(t)) / 2);
  if (images != nullptr && imageIndex != -1)
    ImageList_Draw(images, imageIndex, canvas.Handle(), icon.left, icon.top, ILD_TRANSPARENT);
  if (text.empty())
    return;
  SetBkMode(canvas.Handle(), TRANSPARENT);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.Font().SetStyle(0);
  if (!Enabled)
    canvas.Font().SetColor(clBtnShadow);
  t = MeasuredTextRoom(t, DT_LEFT);
  t.left = std::max(t.left, area.left);
  t.right = std::min(t.right, area.right);
  canvas.DrawTextW(text, t, fmt);
}

void MyDrawCaption(TCanvas &canvas, const RECT &area, const std::wstring &text, bool enabled, bool,
                   int alignment) {
  const UINT align = alignment == 1 ? DT_RIGHT : alignment == 2 ? DT_CENTER : DT_LEFT;
  const UINT fmt = align | DT_SINGLELINE | DT_EXPANDTABS;
  SetBkMode(canvas.Handle(), TRANSPARENT);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.Font().SetStyle(0);
  RECT r = area;
  canvas.DrawTextW(text, r, fmt | DT_CALCRECT);
  OffsetRect(&r, (Width(area) - Width(r)) / 2, (Height(area) - Height(r)) / 2);
  r = MeasuredTextRoom(r, fmt);
  if (!enabled)
    canvas.Font().SetColor(clBtnShadow);
  canvas.DrawTextW(text, r, fmt);
}

int TSkinControl::TextHeight(HDC dc, const std::string &text) {
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cy;
}

void TSkinControl::DrawSkinMap(HDC dc, const RECT &r, TDataSkinObject *element, int frameIndex,
                               int frameCount) {
  if (Inverted(r) || !HasSkinImage(element))
    return;
  SlicedImage &s = sliced_;
  if (s.image == nullptr || s.element != element || s.source != element->Image ||
      s.width != Width(r) || s.height != Height(r) || s.frame != frameIndex ||
      s.frames != frameCount) {
    s = {element,
         element->Image,
         Width(r),
         Height(r),
         frameIndex,
         frameCount,
         GetHMap(r, *element->Image, element->Margins, frameIndex, frameCount, element->Tile != 0,
                 false)};
  }
  if (s.image == nullptr)
    return;
  if (element->Trans == 1)
    DrawTranmap(dc, r, *s.image, 0xFF00FF);
  else
    BitBlt(dc, r.left, r.top, Width(r), Height(r), s.image->Canvas().Handle(), 0, 0, SRCCOPY);
}

void DrawSkinMap1(HDC dc, const RECT &r, TBitmap &bitmap, int frameIndex, int frameCount) {
  std::unique_ptr<TBitmap> frame = StretchedFrame(r, bitmap, frameIndex, frameCount);
  if (frame == nullptr)
    return;
  frame->SetTransparentColor(0xFF00FF);
  frame->SetTransparent(true);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Draw(r.left, r.top, *frame);
  canvas.SetHandle(nullptr);
}

void DrawSkinMap2(HDC dc, const RECT &r, TBitmap &bitmap, int frameIndex, int frameCount) {
  std::unique_ptr<TBitmap> frame = StretchedFrame(r, bitmap, frameIndex, frameCount);
  if (frame != nullptr)
    DrawTranmap(dc, r, *frame, 0xFF00FF);
}

void DrawSkinMap3(TCanvas &canvas, const RECT &r, TBitmap &bitmap, int frameIndex, int frameCount) {
  std::unique_ptr<TBitmap> frame = StretchedFrame(r, bitmap, frameIndex, frameCount);
  if (frame == nullptr)
    return;
  frame->SetTransparentColor(0xFF00FF);
  frame->SetTransparent(true);
  canvas.Draw(r.left, r.top, *frame);
}

void TSkinControl::DrawBuf(HDC dc, const RECT &r) {
  if (BG != nullptr)
    BitBlt(dc, r.left, r.top, Width(r), Height(r), BG->Canvas().Handle(), 0, 0, SRCCOPY);
}

std::wstring StringReplaceW(const std::wstring &s, const std::wstring &old,
                            const std::wstring &replacement) {
  const size_t at = old.empty() ? std::wstring::npos : s.find(old);
  if (at == std::wstring::npos)
    return s;
  std::wstring result = s;
  result.replace(at, old.size(), replacement);
  return result;
}
