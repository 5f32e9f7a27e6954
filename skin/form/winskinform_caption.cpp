// The skinned frame: borders, the caption band with its text, icon and caption buttons, the
// menu band, and the caption buttons' mouse handling and actions.
#include "framework/gui/extctrls.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_draw.h"
#include "skin/form/winskinform_menubar.h"

#include <windowsx.h>

#include <algorithm>

namespace {

constexpr TColor kNoColour = 0x1FFFFFFF; // a title colour the skin did not give

bool IsIconAction(int action) {
  return action == 3 || action == 11;
}
bool IsSystemMenuAction(int action) {
  return action == 3 || action == 11 || action == 12;
}

} // namespace

// ----------------------------------------------------------------- non-client objects

void TNCObject::MouseDown() {
  if (Form->HotObject != nullptr && Form->HotObject != this)
    Form->HotObject->MouseLeave();
  if (!Visible)
    return;
  Form->HotObject = this;
  State = 2;
  Draw();
}

void TNCObject::MouseUp() {
  if (!Visible)
    return;
  State = 3;
  Draw();
}

void TNCObject::MouseEnter() {
  if (Form->HotObject == this)
    return;
  if (Form->HotObject != nullptr)
    Form->HotObject->MouseLeave();
  if (!Visible)
    return;
  Form->HotObject = this;
  State = 3;
  Draw();
}

void TNCObject::MouseLeave() {
  if (!Visible)
    return;
  Form->HotObject = nullptr;
  State = 1;
  Draw();
}

void TWinSysButton::Draw() {
  Form->DrawSysbtn(this, State);
}

// ----------------------------------------------------------------- painting

void TWinSkinForm::WMNCPaint(TMessage &m) {
  UpdateStyle(true);
  if (SkinData->MainMenuUpdate) {
    if (MaximisedMDIChild() || BorderStyle == sbsNone)
      Default(m);
    else
      UpdateNc();
  }
  m.Result = 0;
}

void TWinSkinForm::UpdateNc(HDC dc) {
  if (BG == nullptr || (SkinState != 1 && SkinState != 3) || BorderStyle == sbsNone ||
      MaximisedMDIChild())
    return;
  std::unique_ptr<GdiWindowDC> own;
  if (dc == nullptr) {
    own = std::make_unique<GdiWindowDC>(Handle, nullptr, DCX_WINDOW | DCX_CACHE);
    dc = own->Get();
    if (dc == nullptr)
      return;
  }
  try {
    GetWindowRect(Handle, &WindowRect);
    WindowWidth = WindowRect.right - WindowRect.left;
    WindowHeight = WindowRect.bottom - WindowRect.top;
    const int W = WindowWidth, H = WindowHeight;
    if (WindowState == swsMin) {
      DrawFLine(dc);
    } else {
      // The caption band is composed off screen; it takes the top ends of the side borders
      // from the same images that go to the screen.
      CaptionBitmap.SetSize(W, TopHeight);
      const auto side = [&](int index, int x, int width) {
        TBitmap *image = BorderImage(index, width, H);
        if (image == nullptr)
          return;
        HDC from = image->Canvas().Handle();
        BitBlt(dc, x, 0, width, H, from, 0, 0, SRCCOPY);
        BitBlt(CaptionBitmap.Canvas().Handle(), x, 0, width, TopHeight, from, 0, 0, SRCCOPY);
      };
      side(1, 0, LeftWidth);
      side(2, W - RightWidth, RightWidth);
      Drawborder(4, RECT{LeftWidth, H - BottomHeight, W - RightWidth, H}, dc);
      DrawFLine(dc);
      const RECT band{LeftWidth, TopHeight, W - RightWidth, TopHeight + MenuHeight};
      if (MenuHeight > 0 && SkinMenu != nullptr)
        SkinMenu->DrawMenu(dc, band);
      else if (MenuHeight > 0)
        FillRect(dc, &band, SkinData->FaceBrush.Get());
    }
  } catch (...) {
    // A frame that cannot be painted is left as it is.
  }
  HotObject = nullptr;
}

TBitmap *TWinSkinForm::BorderImage(int index, int width, int height) {
  if (width <= 0 || height <= 0)
    return nullptr;
  TDataSkinBorder *border = SkinData->Borders[index - 1];
  if (border->Image->Empty())
    return nullptr;
  const int frames = border->Frames();
  const int frame = frames == 1 || Active ? 1 : 2;
  ComposedBorder &kept = borders_[static_cast<size_t>(index - 1)];
  if (kept.image == nullptr || kept.width != width || kept.height != height ||
      kept.frame != frame) {
    const bool vertical = index == 3 || index == 4;
    // For borders the tile value holds the skin's stretch setting: 1 stretches.
    const bool tile = border->Tile != 1;
    kept.image = GetHMap(RECT{0, 0, width, height}, *border->Image, border->Margins, frame, frames,
                         tile, vertical);
    kept.width = width, kept.height = height, kept.frame = frame;
  }
  return kept.image.get();
}

void TWinSkinForm::Drawborder(int index, const RECT &rect, HDC dc) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (TBitmap *image = BorderImage(index, width, height))
    BitBlt(dc, rect.left, rect.top, width, height, image->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::DrawFLine(HDC dc) {
  const int W = WindowWidth;
  RECT title{LeftWidth, 0, W - RightWidth, TopHeight};
  if (WindowState == swsMin) {
    CaptionBitmap.SetSize(W, WindowHeight);
    GdiBrush face(CreateSolidBrush(ColorToRGB(SkinData->Colors[csButtonFace])));
    const RECT all{0, 0, W, WindowHeight};
    FillRect(CaptionBitmap.Canvas().Handle(), &all, face.Get());
    title = {0, 0, W, TopHeight};
  }
  HDC band = CaptionBitmap.Canvas().Handle();
  Drawborder(3, title, band);
  SetSysbtnRect();
  DrawCaptionText(band, title);
  if (std::any_of(SysBtns.begin(), SysBtns.end(), [](const auto &b) {
        const int align = b->SkinButton->Align;
        return align == 2 || align == 3 || align == 8 || align == 9;
      }))
    SetSysbtnRect(); // buttons placed beside the text need its new ends
  DrawAllSysbtn(CaptionBitmap.Canvas(), title);
  GdiFlush();
  BitBlt(dc, 0, 0, CaptionBitmap.Width(), CaptionBitmap.Height(), band, 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

// The window text between the title element's text shift and right clip, stopping short of the
// buttons placed from the right, in the skin's caption colours and font height.
void TWinSkinForm::DrawCaptionText(HDC dc, const RECT &band) {
  const TDataSkinTitle &title = *SkinData->Title;
  const int length = GetWindowTextLengthW(Handle);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(Handle, text.data(), length + 1);
  text.resize(wcslen(text.c_str()));

  int right = WindowWidth - title.Margins.right;
  if (RightButtonsLeft > 0)
    right = std::min(right, RightButtonsLeft - 2);
  // Text shift and right clip count from the window's edges (as ResizeForm reserves them).
  RECT area{title.Margins.left, title.Margins.top, right, band.bottom};
  CaptionTextLeft = CaptionTextRight = area.left;
  if (text.empty() || area.right <= area.left)
    return;

  GdiSelection selected(dc, titleFont_.Handle());
  RECT measured = area;
  DrawTextW(dc, text.c_str(), -1, &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  const int textWidth = std::min<int>(measured.right - measured.left, area.right - area.left);
  UINT align = DT_LEFT;
  int left = area.left;
  if (title.TextAlignment == 1) {
    align = DT_RIGHT;
    left = area.right - textWidth;
  } else if (title.TextAlignment == 2) {
    align = DT_CENTER;
    left = area.left + (area.right - area.left - textWidth) / 2;
  }
  CaptionTextLeft = left;
  CaptionTextRight = left + textWidth;

  if (!title.Image->Empty()) {
    const RECT back{left - title.TextBackLeft, 0, CaptionTextRight + title.TextBackRight,
                    band.bottom};
    DrawRect1(dc, back, *title.Image, Active ? 1 : std::min(2, title.Frames()), title.Frames(),
              title.Trans == 1);
  }
  TColor colour = Active ? title.ActiveTextColor : title.InactiveTextColor;
  if (colour == kNoColour)
    colour = SkinData->Colors[Active ? csTitleTextActive : csTitleTextNoActive];
  SetTextColor(dc, ColorToRGB(colour));
  SetBkMode(dc, TRANSPARENT);
  const int textHeight = measured.bottom - measured.top;
  RECT place{area.left, area.top, area.right, area.top + textHeight};
  DrawTextW(dc, text.c_str(), -1, &place, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | align);
}

// ----------------------------------------------------------------- caption buttons

// The window conditions the two visibility codes share; codes without one answer false.
bool TWinSkinForm::VisibleBy(int code, bool needsSystemMenu) const {
  const bool system = !needsSystemMenu || Has(sbisystem);
  switch (code) {
  case 1:
    return WindowState == swsMax;
  case 2:
    return WindowState != swsMax;
  case 3:
    return Active;
  case 4:
    return !Active;
  case 6:
    return Has(sbiMax) && system;
  case 7:
    return !Has(sbiMax);
  case 8:
    return Has(sbiMin) && system;
  case 9:
    return !Has(sbiMin);
  case 100: // the menu band's buttons of the active maximised MDI child
    return MenuHeight > 0 && MDIChildMax();
  case 200:
    return BorderStyle == sbsDialog && !IsDialog;
  default:
    return false;
  }
}

bool TWinSkinForm::Checkvisible(int index) {
  TWinSysButton &button = *SysBtns[static_cast<size_t>(index)];
  const TDataSkinSysButton &skin = *button.SkinButton;

  const int v = skin.Visibility;
  bool visible;
  if (v == 0 || (v >= 201 && v <= 999))
    visible = true;
  else if (v >= 1000 && v <= 2000)
    visible = SendMessageA(Handle, CN_SysBtnVisible, static_cast<WPARAM>(v), skin.Action) > 0;
  else
    visible = VisibleBy(v, true);

  const int v1 = skin.Visibility1;
  if (visible && !(v1 == 0 || (v1 >= 201 && v1 <= 2000)))
    visible = VisibleBy(v1, false);

  if (visible) {
    if (skin.Action == 0)
      visible = Has(sbisystem);
    else if (skin.Action == 1)
      visible = Has(sbiMax);
    else if (skin.Action == 2)
      visible = Has(sbiMin);
    else if (IsSystemMenuAction(skin.Action))
      visible = BorderStyle != sbsDialog;
  }
  button.Visible = visible;
  return visible;
}

void TWinSkinForm::SetSysbtnRect() {
  const int W = WindowWidth;
  RightButtonsLeft = 0;
  for (size_t i = 0; i < SysBtns.size(); ++i) {
    TWinSysButton &button = *SysBtns[i];
    const TDataSkinSysButton &skin = *button.SkinButton;
    if (!Checkvisible(static_cast<int>(i)) || skin.Image->Empty())
      continue;
    const int w = skin.Image->Width() / skin.Frames(), h = skin.Image->Height();
    int x = 0, y = 0;
    switch (skin.Align) {
    case 0:
      x = skin.Xcoord, y = skin.Ycoord;
      break;
    case 1:
      x = W - skin.Xcoord, y = skin.Ycoord;
      RightButtonsLeft = std::max(RightButtonsLeft, x);
      break;
    case 2:
    case 8:
      x = CaptionTextLeft - w - skin.Xcoord, y = skin.Ycoord;
      break;
    case 3:
    case 9:
      x = skin.Xcoord + CaptionTextRight, y = skin.Ycoord;
      break;
    case 100: {
      const int margin = SkinData->MenuBar != nullptr ? SkinData->MenuBar->Margins.left : 0;
      y = TopHeight + (MenuHeight - h) / 2;
      x = RightToLeft ? LeftWidth + skin.Xcoord + margin : W - skin.Xcoord - RightWidth - margin;
      break;
    }
    default:
      break;
    }
    button.BoundsRect = {x, y, x + w, y + h};
  }
}

void TWinSkinForm::DrawAllSysbtn(TCanvas &canvas, const RECT &) {
  HDC dc = canvas.Handle();
  for (const auto &button : SysBtns) {
    const TDataSkinSysButton &skin = *button->SkinButton;
    if (!button->Visible || skin.Image->Empty() || skin.Visibility == 100)
      continue;
    if (IsIconAction(skin.Action)) {
      DrawIcon(dc, button->BoundsRect);
      continue;
    }
    const int frame = !Active && skin.Frames() >= 4 ? 4 : 1;
    DrawRect1(dc, button->BoundsRect, *skin.Image, frame, skin.Frames(), true);
  }
}

void TWinSkinForm::DrawSysbtn(TWinSysButton *button, int state) {
  const TDataSkinSysButton &skin = *button->SkinButton;
  if (skin.Image->Empty())
    return;
  GdiWindowDC dc(Handle, nullptr, DCX_WINDOW | DCX_CACHE);
  if (!dc)
    return;
  try {
    if (IsIconAction(skin.Action)) {
      DrawIcon(dc.Get(), button->BoundsRect);
      return;
    }
    const int frame = skin.Visibility == 100 && state == 3 ? 4 : state;
    DrawRect1(dc.Get(), button->BoundsRect, *skin.Image, frame, skin.Frames(), true);
  } catch (...) {
  }
}

void TWinSkinForm::GetIcon() {
  IconSize = GetSystemMetrics(SM_CXSMICON);
  const int height = GetSystemMetrics(SM_CYSMICON);
  if (IconBitmap.Width() != IconSize || IconBitmap.Height() != height) {
    IconBitmap.SetSize(IconSize, height);
    // Nothing to show yet: all transparent.
    GdiBrush magenta(CreateSolidBrush(0xFF00FF));
    const RECT all{0, 0, IconSize, height};
    FillRect(IconBitmap.Canvas().Handle(), &all, magenta.Get());
  }
  IconHandle = reinterpret_cast<HICON>(SendMessageA(Handle, WM_GETICON, ICON_SMALL, 0));
  if (IconHandle == nullptr)
    IconHandle = reinterpret_cast<HICON>(SendMessageA(Handle, WM_GETICON, ICON_BIG, 0));
  if (IconHandle == nullptr)
    return;
  // The small copy is made once here: copying from the resource costs milliseconds.
  smallIcon_.Reset(
      static_cast<HICON>(CopyImage(IconHandle, IMAGE_ICON, IconSize, height, LR_COPYFROMRESOURCE)));
  if (smallIcon_)
    DrawIconEx(IconBitmap.Canvas().Handle(), 0, 0, smallIcon_.Get(), 0, 0, 0, nullptr, DI_NORMAL);
  GdiFlush();
}

void TWinSkinForm::DrawIcon(HDC dc, const RECT &rect) {
  if (IconHandle != nullptr) {
    DrawIconEx(dc, rect.left, rect.top, smallIcon_ ? smallIcon_.Get() : IconHandle, IconSize,
               IconSize, 0, nullptr, DI_NORMAL);
    return;
  }
  if (!IconBitmap.Empty())
    DrawTranmap(
        dc,
        RECT{rect.left, rect.top, rect.left + IconBitmap.Width(), rect.top + IconBitmap.Height()},
        IconBitmap, 0xFF00FF);
}

TWinSysButton *TWinSkinForm::FindBtn(POINT point) const {
  for (const auto &button : SysBtns)
    if (button->Visible && PtInRect(&button->BoundsRect, point))
      return button.get();
  return nullptr;
}

void TWinSkinForm::DeleteSysbtns() {
  HotObject = nullptr;
  PressedButton = nullptr;
  SysBtns.clear();
}

// ----------------------------------------------------------------- mouse

void TWinSkinForm::WMNCMouseMove(TMessage &m) {
  if (!Active) {
    Default(m);
    return;
  }
  const POINT p = GetWinXY(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  if (TWinSysButton *button = FindBtn(p)) {
    button->MouseEnter();
    m.Result = 0;
    return;
  }
  if (MenuBarMouse(m.Msg, p)) {
    m.Result = 0;
    return;
  }
  if (HotObject != nullptr)
    HotObject->MouseLeave();
  Default(m);
}

void TWinSkinForm::WMNCLButtonDown(TMessage &m) {
  const POINT p = GetWinXY(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  if (TWinSysButton *button = FindBtn(p)) {
    if (!Active)
      SetForegroundWindow(Handle);
    button->MouseDown();
    PressedButton = button;
    m.Result = 0;
    return;
  }
  if (MenuBarMouse(m.Msg, p)) {
    m.Result = 0;
    return;
  }
  // A maximised window is not dragged by its caption.
  if (WindowState == swsMax && Active && m.WParam == HTCAPTION)
    m.WParam = HTMENU;
  Default(m);
}

void TWinSkinForm::WMNCLButtonUp(TMessage &m) {
  const POINT p = GetWinXY(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  TWinSysButton *button = FindBtn(p);
  TWinSysButton *pressed = PressedButton;
  PressedButton = nullptr;
  if (button == nullptr) {
    Default(m);
    return;
  }
  // Only the button that was pressed acts, as the system's caption buttons do: pressed over one
  // and released over another, neither does.
  if (button == HotObject && button == pressed) {
    button->MouseUp();
    SysBtnAction(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  }
  m.Result = 0;
}

void TWinSkinForm::WMNCLBUTTONDBLCLK(TMessage &m) {
  const POINT p = GetWinXY(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  if (TWinSysButton *button = FindBtn(p)) {
    if (IsIconAction(button->SkinButton->Action)) {
      Timer->SetEnabled(false);
      PostMessageA(Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    m.Result = 0;
    return;
  }
  if (WindowState != swsNormal)
    Restore();
  else if (Has(sbiMax))
    Maximize();
  else
    Default(m);
}

void TWinSkinForm::WMNCRButtonUp(TMessage &m) {
  if (m.WParam == HTCAPTION && !IsMDIChild()) {
    PopSysmenu(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    m.Result = 0;
    return;
  }
  Default(m);
}

void TWinSkinForm::OnTimer(TObject *) {
  // While a menu-bar drop-down is open its button keeps the pressed look, wherever the mouse is.
  if (HotObject == nullptr || MenuTracking)
    return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const POINT p = GetWinXY(cursor.x, cursor.y);
  if (!PtInRect(&HotObject->BoundsRect, p))
    HotObject->MouseLeave();
}

// ----------------------------------------------------------------- actions

void TWinSkinForm::SysBtnAction(int x, int y) {
  if (HotObject == nullptr)
    return;
  const int action = static_cast<TWinSysButton *>(HotObject)->SkinButton->Action;
  switch (action) {
  case 0:
    if (CheckSysmenu()) {
      Timer->SetEnabled(false);
      PostMessageA(Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    break;
  case 1:
  case 22:
    Maximize();
    break;
  case 2:
  case 23:
    Minimize();
    break;
  case 3:
  case 11:
  case 12:
    PopSysmenu(POINT{x + 1, y + 1});
    break;
  default:
    if (const WPARAM command = MDIButtonCommand(action))
      MDIChildAction(command);
    else
      PostMessageA(Handle, CN_SysBtnAction, static_cast<WPARAM>(action), 0);
  }
}

void TWinSkinForm::Maximize() {
  if (WindowState == swsMax) {
    Restore();
    return;
  }
  if (IsMDIChild() && SkinManager != nullptr)
    SkinManager->MDIMax = true;
  WindowState = swsMax;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  HotObject = nullptr;
}

void TWinSkinForm::Restore() {
  WindowState = swsNormal;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::Minimize() {
  if (WindowState == swsMin) {
    Restore();
    return;
  }
  WindowState = swsMin;
  UpdateStyle(false);
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::MDIChildAction(WPARAM command) {
  if (FormStyle != sfsMDIform || MDIClient == nullptr)
    return;
  auto child = reinterpret_cast<HWND>(SendMessageA(MDIClient, WM_MDIGETACTIVE, 0, 0));
  if (child != nullptr)
    SendMessageA(child, WM_SYSCOMMAND, command, 0);
}
