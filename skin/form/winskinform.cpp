// TWinSkinForm: attaching to a window, the activation sequence, the window procedure and its
// three stages, the hooked form method, and detaching again.
#include "skin/form/winskinform.h"

#include "skin/controls/winsubclass.h"

#include "framework/core/typinfo.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"
#include "framework/gui/menus.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform_menubar.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

DWORD WinVersion = 0;

namespace {

constexpr DWORD kMessageCaptionRedraw = 0x00AE; // the themed caption redraw of some systems

bool IsSystemCommand(WPARAM code) {
  switch (code) {
  case SC_SIZE:
  case SC_MOVE:
  case SC_MINIMIZE:
  case SC_MAXIMIZE:
  case SC_NEXTWINDOW:
  case SC_PREVWINDOW:
  case SC_CLOSE:
  case SC_RESTORE:
    return true;
  default:
    return false;
  }
}

} // namespace

TWinSkinForm *FindWinSkinForm(HWND window) {
  return dynamic_cast<TWinSkinForm *>(TWindowSubclass::Find(window, slForm));
}

// ----------------------------------------------------------------- construction

TWinSkinForm::TWinSkinForm(TComponent *owner) : TComponent(owner) {
  NONCLIENTMETRICSA metrics{};
  // The block without the padded-border field: the size every system answers to.
  constexpr UINT size = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  metrics.cbSize = size;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, size, &metrics, 0))
    CaptionFont.AssignLogFont(metrics.lfCaptionFont);
  DoubleClickTime = GetDoubleClickTime();
}

TWinSkinForm::~TWinSkinForm() {
  if (Subclassed()) {
    // Freed while still attached (its form went first): leave the window as it was.
    SkinState = 4;
    UnSubclass3();
  }
  UnSubclassMDI();
  DeleteControls();
  SysBtns.clear();
  SysMenuPopup.reset();
  if (SkinManager != nullptr)
    SkinManager->DeleteForm2(Handle);
}

// ----------------------------------------------------------------- attaching

void TWinSkinForm::InitTform(TSkinData *data, TCustomForm *form) {
  Form = form;
  SetProperty(form, "AutoScroll", "False");
  InitSkin(data);
  if (SkinFrame)
    HookForm();
  SavedColor = form->Color();
  form->SetColor(data->Colors[csButtonFace]);
  InitPopMenu(form, true);
  if (InSet(data->SkinControls, xcMenuItem))
    InitMainMenu(true);
}

void TWinSkinForm::InitDlg(TSkinData *data) {
  InitSkin(data);
}

void TWinSkinForm::InitSkin(TSkinData *data) {
  if (Subclassed())
    return;
  if (SkinManager != nullptr)
    SkinManager->State = 1;
  SkinData = data;
  Timer = new TTimer(this);
  Timer->SetEnabled(false);
  Timer->SetInterval(250);
  Timer->SetOnTimer(TNotifyEvent(this, &TWinSkinForm::OnTimer));

  SkinFrame = InSet(data->SkinControls, xcMainMenu);
  Style = static_cast<DWORD>(GetWindowLongPtrA(Handle, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(Handle, GWL_EXSTYLE));
  RightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  IsChild = (Style & WS_CHILD) != 0;
  char name[100] = {};
  GetClassNameA(Handle, name, sizeof name);
  ClassName = name;
  OwnerWindow = GetWindow(Handle, GW_OWNER);

  Icons = 0;
  if ((Style & WS_SYSMENU) != 0 || SystemMenu != nullptr)
    Icons = SetOf(Icons, sbisystem);
  if ((Style & WS_MINIMIZEBOX) != 0)
    Icons = SetOf(Icons, sbiMin);
  if ((Style & WS_MAXIMIZEBOX) != 0)
    Icons = SetOf(Icons, sbiMax);

  GetWindowstate();
  Sizeable = (Style & WS_THICKFRAME) != 0;
  GetFormstyle();
  if ((exStyle & WS_EX_MDICHILD) != 0) {
    FormStyle = sfsMDIChild;
    if (InSet(data->Options, xoMDIChildBorder))
      SkinFrame = false;
  }

  BorderStyle = sbsSingle;
  if ((Style & WS_CAPTION) != WS_CAPTION)
    BorderStyle = sbsNone;
  else if ((Style & WS_THICKFRAME) != 0)
    BorderStyle = sbsSizeable;
  else if ((Style & DS_MODALFRAME) != 0)
    BorderStyle = sbsDialog;
  if ((exStyle & WS_EX_DLGMODALFRAME) != 0)
    BorderStyle = sbsDialog;

  // Systems that report major version 5 and up with minor version 0 draw their own caption over
  // a skinned one on application windows: those lose WS_CAPTION while skinned.
  const bool nt = WinVersion < 0x80000000;
  const int major = LOBYTE(LOWORD(WinVersion)), minor = HIBYTE(LOWORD(WinVersion));
  if (nt && major > 4 && minor == 0 &&
      ((exStyle & WS_EX_APPWINDOW) != 0 || (OwnerWindow == nullptr && !IsMDIChild())))
    Icons = SetOf(Icons, sbicaption);

  Unicode = IsWindowUnicode(Handle) != FALSE;
  if (ClassName == "#32770" || ClassName == "TMessageForm") {
    IsDialog = true;
    BorderStyle = sbsDialog;
  }
  StopUpdate();
  if (WinVersion >= 0x80000000)
    data->SkinControls = SetWithout(data->SkinControls, xcSystemMenu);
  if (FormStyle == sfsMDIform) {
    SavedMenuUpdate = data->MenuUpdate;
    SubclassMDI();
  }

  Subclass();

  if (SkinFrame) {
    MenuHandle = GetMenu(Handle);
    if (MenuHandle != nullptr && !IsMDIChild()) {
      SkinMenu = new TWinSkinMenu(this, data, Form != nullptr ? Form->Menu() : nullptr);
      MenuHeight = GetSystemMetrics(SM_CYMENU);
      SkinMenu->UpdataBtn();
    }
    if (!(IsMDIChild() && SkinManager != nullptr && SkinManager->MDIMax) && WindowState != swsMin)
      EnableSysbtn(false);
    InitSkinData();
  } else {
    SkinState = 1;
  }

  if (IsMDIChild()) {
    const int room = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    if (TopHeight < room)
      MenuHeight = room - TopHeight;
    if (WindowState == swsMax && SkinManager != nullptr && !SkinManager->MDIMax)
      SkinManager->MDIMax = true;
  }
}

void TWinSkinForm::InitSkinData() {
  if (SkinData == nullptr || SkinData->NoSkin)
    return;
  for (ComposedBorder &border : borders_)
    border.image.reset();
  regionStale_ = true;
  titleFont_.Assign(CaptionFont);
  if (SkinData->Title->FontHeight > 0)
    titleFont_.SetHeight(SkinData->Title->FontHeight); // the cell height
  if (BorderStyle == sbsNone) {
    LeftWidth = TopHeight = RightWidth = BottomHeight = MenuHeight = 0;
  } else {
    const auto frames = [this](TSkinBorder b) { return SkinData->Borders[b]->Frames(); };
    TopHeight = SkinData->Borders[sbTop]->Image->Height() / frames(sbTop);
    LeftWidth = SkinData->Borders[sbLeft]->Image->Width() / frames(sbLeft);
    RightWidth = SkinData->Borders[sbRight]->Image->Width() / frames(sbRight);
    BottomHeight = SkinData->Borders[sbBottom]->Image->Height() / frames(sbBottom);
  }

  // One caption button per skin element, in the skin's order.
  HotObject = nullptr;
  PressedButton = nullptr;
  SysBtns.clear();
  for (TDataSkinSysButton *element : SkinData->SysButtons) {
    SysBtns.push_back(std::make_unique<TWinSysButton>(this, element));
    const bool iconButton = element->Action == 3 || element->Action == 11;
    if (!iconButton)
      continue;
    GetIcon();
    // A button without an image of its own takes the icon, one frame. One with an image keeps
    // its frames: the image gives the place and size the icon is drawn in.
    if (element->Image->Empty()) {
      element->Image->Assign(IconBitmap);
      element->FrameCount = 1;
    }
    if (SkinData->AppIcon != nullptr && SkinData->AppIcon->Empty())
      SkinData->AppIcon->Assign(IconBitmap);
  }
}

void TWinSkinForm::GetBorderSize() {
  RECT window{};
  GetWindowRect(Handle, &window);
  GetClientRect(Handle, &ClientRect);
  SysBorder = {0, 0, Width(window) - ClientRect.right, Height(window) - ClientRect.bottom};
}

void TWinSkinForm::Activate() {
  activated_ = true;
  SystemMenu = GetSystemMenu(Handle, FALSE);
  GetIcon();
  GetBorderSize();
  BeginUpdate();

  if (Form != nullptr)
    InitControls(Form);
  else
    InitHwndControls(Handle);

  if (SkinState == 0) {
    if (IsMDIChild()) {
      if (WindowState == swsMax) {
        if (SkinManager != nullptr && SkinManager->MDIClient != nullptr)
          PostMessageA(SkinManager->MDIClient, CN_MDIRedraw, reinterpret_cast<WPARAM>(Handle), 0);
      } else if (WindowState == swsMin) {
        EnableSysbtn(true);
      } else {
        SkinState = 5;
        ResizeForm(false);
        SkinState = 1;
        Cropwindow();
      }
    } else if (!IsChild && BorderStyle != sbsNone && WindowState != swsMin) {
      SkinState = 5;
      ResizeForm(false);
      SkinState = 1;
      if (WindowState != swsNormal)
        Refresh();
      else
        Cropwindow();
    }
  }
  AfterSkin();
  SkinState = 1;
  Timer->SetEnabled(true);
}

void TWinSkinForm::ResizeForm(bool keepClient) {
  if (WindowState == swsMax) {
    Refresh();
    return;
  }
  RECT window{};
  GetWindowRect(Handle, &window);
  if (IsDialog || SkinState == 3)
    GetClientRect(Handle, &ClientRect);
  int width = Width(ClientRect) + LeftWidth + RightWidth;
  int clientHeight = Height(ClientRect);
  if (keepClient) {
    GetClientRect(Handle, &ClientRect);
  } else if (Form != nullptr) {
    width = Form->ClientWidth() + LeftWidth + RightWidth;
    clientHeight = IsMDIChild() ? Form->ClientHeight() : Form->ClientHeight() - MenuHeight;
  }
  const int height = clientHeight + TopHeight + BottomHeight + MenuHeight;

  if (IsDialog && !keepClient) {
    // A caption wider than the dialog widens it; the controls move to stay centred.
    const int length = GetWindowTextLengthW(Handle);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(Handle, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    SIZE extent{0, 0};
    {
      GdiWindowDC dc(Handle);
      // Measured in the font the caption text is drawn in.
      GdiSelection font(dc.Get(), titleFont_.Handle());
      GetTextExtentPoint32W(dc.Get(), text.c_str(), length, &extent);
    }
    const int needed = SkinData->Title->Margins.left + extent.cx + SkinData->Title->Margins.right;
    if (width < needed) {
      MoveChildrenRight((needed - width) / 2);
      width = needed;
    }
  }
  SetWindowPos(Handle, nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::MoveChildrenRight(int by) {
  for (HWND child = GetWindow(Handle, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT *>(&r), 2);
    SetWindowPos(child, nullptr, r.left + by, r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING |
                     SWP_NOOWNERZORDER);
  }
}

void TWinSkinForm::AfterSkin() {
  SendMessageA(Handle, CN_AfterSkin, 0, SkinSignature);
}

void TWinSkinForm::SkinChange() {
  if (Form != nullptr) {
    const TColor face = SkinData->Colors[csButtonFace];
    Form->SetColor(face);
    for (int i = 0; i < Form->ComponentCount(); ++i)
      if (auto *owned = dynamic_cast<TCustomForm *>(Form->Components(i)))
        owned->SetColor(face);
    InitPopMenu(Form, true); // popup menus made since the form was skinned
  }
  // Attached control objects drop what they cached of the old skin and repaint (a copy: an
  // object may detach itself meanwhile).
  const std::vector<TSkinControl *> controls = Controls;
  for (TSkinControl *control : controls)
    if (TObject::IsLive(control))
      control->SkinChange();
  SkinState = 3;
  regionStale_ = true;
  // One frame change gives the window the new skin's borders with its client size kept
  // (growing and shrinking it by a pixel on top cost two more layouts and repaints).
  if (SkinFrame && Form != nullptr)
    ResizeForm(true);
  Cropwindow(); // the new skin's borders may cut differently
  AfterSkin();
  SkinState = 1;
}

// ----------------------------------------------------------------- styles and state

void TWinSkinForm::GetWindowstate() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Handle, &placement);
  switch (placement.showCmd) {
  case SW_SHOWMINIMIZED:
  case SW_MINIMIZE:
  case SW_SHOWMINNOACTIVE:
    WindowState = swsMin;
    break;
  case SW_SHOWMAXIMIZED:
    WindowState = swsMax;
    break;
  default:
    WindowState = swsNormal;
  }
}

void TWinSkinForm::GetFormstyle() {
  FormStyle = sfsNormal;
  for (HWND child = GetTopWindow(Handle); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (strcmp(name, "MDIClient") == 0) {
      FormStyle = sfsMDIform;
      MDIClient = child;
      if (SkinManager != nullptr) {
        SkinManager->MDIClient = child;
        SkinManager->MDIForm = Form;
      }
      return;
    }
  }
}

LONG_PTR TWinSkinForm::GetLong(int index) const {
  return Unicode ? GetWindowLongPtrW(Handle, index) : GetWindowLongPtrA(Handle, index);
}

void TWinSkinForm::SetLong(int index, LONG_PTR value) const {
  if (Unicode)
    SetWindowLongPtrW(Handle, index, value);
  else
    SetWindowLongPtrA(Handle, index, value);
}

void TWinSkinForm::EnableSysbtn(bool on) {
  if (!Has(sbicaption))
    return;
  const LONG_PTR style = GetLong(GWL_STYLE);
  const LONG_PTR wanted = on ? style | WS_CAPTION : style & ~static_cast<LONG_PTR>(WS_CAPTION);
  if (wanted != style)
    SetLong(GWL_STYLE, wanted);
  Style = static_cast<DWORD>(wanted);
}

void TWinSkinForm::UpdateStyle(bool on) {
  if (Has(sbicaption))
    return;
  const LONG_PTR style = GetLong(GWL_STYLE);
  LONG_PTR wanted = style;
  if (on)
    wanted &= ~static_cast<LONG_PTR>(WS_SYSMENU);
  else if (SystemMenu != nullptr)
    wanted |= WS_SYSMENU;
  if (wanted != style)
    SetLong(GWL_STYLE, wanted);
  Style = static_cast<DWORD>(wanted);
}

// The first window skinned in a process is kept hidden while it changes shape.
void TWinSkinForm::StopUpdate() {
  if (SkinManager == nullptr || !SkinManager->HideWhileSkinning || IsChild || !SkinFrame ||
      SkinData->NoSkin)
    return;
  const LONG_PTR style = GetLong(GWL_STYLE);
  if ((style & WS_VISIBLE) != 0)
    SetLong(GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
}

void TWinSkinForm::BeginUpdate() {
  if (SkinManager == nullptr || !SkinManager->HideWhileSkinning)
    return;
  SkinManager->HideWhileSkinning = false;
  const LONG_PTR style = GetLong(GWL_STYLE);
  if ((style & WS_VISIBLE) == 0)
    SetLong(GWL_STYLE, style | WS_VISIBLE);
}

POINT TWinSkinForm::GetWinXY(int x, int y) const {
  POINT p{x, y};
  ScreenToClient(Handle, &p);
  if (!(IsMDIChild() && WindowState == swsMin)) {
    p.x += LeftWidth;
    p.y += TopHeight + MenuHeight;
  }
  return p;
}

void TWinSkinForm::Refresh() {
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::RePaint(HWND window) {
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
}

// ----------------------------------------------------------------- subclassing

void TWinSkinForm::Subclass() {
  if (!frame_.Attach(Handle, this, TWndMethod(this, &TWinSkinForm::WinWndProc)))
    return;
  OldWndProc = frame_.Previous();
  subclassed_ = true;
}

void TWinSkinForm::RestoreWndProc() {
  if (!subclassed_)
    return;
  frame_.Detach();
  subclassed_ = false;
}

void TWinSkinForm::HookForm() {
  OldWindowProc = Form->WindowProc;
  Form->WindowProc = TWndMethod(this, &TWinSkinForm::NewWndProc);
  formHooked_ = true;
}

void TWinSkinForm::UnhookForm() {
  if (!formHooked_)
    return;
  if (TObject::IsLive(Form))
    Form->WindowProc = OldWindowProc;
  formHooked_ = false;
}

void TWinSkinForm::Default(TMessage &m) {
  frame_.CallPrevious(m);
}

// ----------------------------------------------------------------- the window procedure

void TWinSkinForm::ForeignColors(TMessage &m, bool answerBrush) {
  Default(m);
  if (Form != nullptr)
    return;
  // Texts on the skin's face take the skin's text colour: a dark face needs light text.
  SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
  SetTextColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(SkinData->Colors[csButtonText]));
  if (answerBrush)
    m.Result = reinterpret_cast<intptr_t>(SkinData->FaceBrush.Get());
}

void TWinSkinForm::WinWndProc(TMessage &m) {
  if (SkinState == 0 && m.Msg == WM_NCPAINT) {
    m.Result = 0;
    return;
  }
  switch (m.Msg) {
  case WM_ERASEBKGND:
    Default(m);
    if (Form == nullptr) {
      RECT client{};
      GetClientRect(Handle, &client);
      FillRect(reinterpret_cast<HDC>(m.WParam), &client, SkinData->FaceBrush.Get());
      m.Result = 1;
    }
    return;
  case WM_NCDESTROY:
    SkinState = 4;
    UnSubclass3();
    Default(m);
    SkinState = 6;
    return;
  case WM_NCACTIVATE:
    if (!activated_ && !IsMDIChild())
      m.Result = 0;
    else if (SkinFrame)
      RunStage2(m);
    else
      Default(m);
    return;
  case kMessageCaptionRedraw:
    m.Result = 0;
    return;
  case WM_INITMENUPOPUP:
    if (SkinManager != nullptr)
      SkinManager->MenuKind = reinterpret_cast<HMENU>(m.WParam) == SystemMenu ? 2 : 1;
    Default(m);
    return;
  case WM_MENUSELECT:
    if (MenuTracking)
      TrackMenuSelect(m);
    else
      Default(m);
    return;
  case WM_CTLCOLORBTN:
    ForeignColors(m, false);
    return;
  case WM_CTLCOLORSTATIC:
    ForeignColors(m, true);
    return;
  case WM_SETTEXT:
    // The system paints its own caption with a new text; a framework form's hooked method
    // handles this itself.
    Default(m);
    if (Form == nullptr && SkinFrame && SkinState == 1)
      UpdateNc();
    return;
  case CN_SkinActive:
    Activate();
    return;
  case CN_ReCreateWnd:
    WMReCreateWnd(reinterpret_cast<HWND>(m.WParam));
    return;
  case CN_ControlCreated:
    ControlCreated(reinterpret_cast<HWND>(m.WParam));
    return;
  case CN_IsSkinned:
    m.Result = 1;
    return;
  case CN_PaintNCTo:
  case CN_QuerySignature:
    PaintNCTo(m);
    return;
  default:
    if (SkinFrame)
      RunStage2(m);
    else
      Default(m);
  }
}

// Stage 2: the frame is skinned.
void TWinSkinForm::RunStage2(TMessage &m) {
  if (IsChild && !IsMDIChild()) {
    Default(m);
    return;
  }
  switch (m.Msg) {
  case WM_SIZE:
    break; // stage 3 runs WMSize once
  case WM_ACTIVATE:
    Active = LOWORD(m.WParam) != WA_INACTIVE;
    break;
  case WM_GETMINMAXINFO:
    WMGetMinMaxInfo(m);
    return;
  case WM_WINDOWPOSCHANGED:
    GetWindowstate();
    Default(m);
    return;
  case WM_WINDOWPOSCHANGING:
  case WM_NCCALCSIZE:
    // The client maximises and restores its children directly: the frame follows the style.
    if (IsMDIChild())
      ReadMDIChildState();
    break;
  case WM_NCACTIVATE:
    Active = m.WParam != 0;
    break;
  case WM_COMMAND:
    if (IsSystemCommand(LOWORD(m.WParam))) {
      PostMessageA(Handle, WM_SYSCOMMAND, LOWORD(m.WParam), 0);
      m.Result = 0;
    } else {
      Default(m);
    }
    return;
  case WM_SYSCOMMAND:
    WMSysCommand(m);
    return;
  case CM_MENUCHANGED:
    MenuChanged(m, false);
    return;
  case CN_MenuSelect:
    MenuSelect(m);
    return;
  default:
    break;
  }
  RunStage3(m);
}

// Stage 3: the non-client work of a skinned frame.
void TWinSkinForm::RunStage3(TMessage &m) {
  if (MaximisedMDIChild() || SkinState == 0) {
    if (m.Msg == WM_SIZE)
      WMSize(m);
    else
      Default(m);
    return;
  }
  switch (m.Msg) {
  case WM_SIZE:
    WMSize(m);
    return;
  case WM_NCCALCSIZE:
    WMNCCalcSize(m);
    return;
  case WM_NCHITTEST:
    WMNCHitTest(m);
    return;
  case WM_NCPAINT:
    WMNCPaint(m);
    return;
  case WM_NCACTIVATE:
    WMNCActive(m);
    return;
  case WM_NCMOUSEMOVE:
    WMNCMouseMove(m);
    return;
  case WM_NCLBUTTONDOWN:
    WMNCLButtonDown(m);
    return;
  case WM_NCLBUTTONUP:
    WMNCLButtonUp(m);
    return;
  case WM_NCLBUTTONDBLCLK:
    WMNCLBUTTONDBLCLK(m);
    return;
  case WM_NCRBUTTONUP:
    WMNCRButtonUp(m);
    return;
  case CN_UpdateNC:
    UpdateNc();
    m.Result = 0;
    return;
  case WM_MEASUREITEM:
    WMMEASUREITEM(m);
    return;
  case WM_DRAWITEM:
    WMDRAWITEM(m);
    return;
  default:
    Default(m);
  }
}

// The framework form's own message method, hooked while its frame is skinned.
void TWinSkinForm::NewWndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_SETTEXT:
    WMSetText(m);
    return;
  case CN_SkinChanged:
    SkinChange();
    return;
  case CM_MENUCHANGED:
    MenuChanged(m, true);
    return;
  case CM_DIALOGCHAR:
    CMDialogChar(m);
    return;
  case CN_PaintNCTo:
  case CN_QuerySignature:
    PaintNCTo(m);
    return;
  default:
    OldWindowProc(m);
  }
}

void TWinSkinForm::WMSetText(TMessage &m) {
  if (!IsWindowVisible(Handle)) {
    OldWindowProc(m);
    return;
  }
  if (Unicode) {
    OldWindowProc(m);
  } else {
    // Keeps the system from painting its own caption with the new text.
    SendMessageA(Handle, WM_SETREDRAW, FALSE, 0);
    OldWindowProc(m);
    SendMessageA(Handle, WM_SETREDRAW, TRUE, 0);
    if (Application != nullptr)
      Application->ProcessMessages();
  }
  if (WindowState == swsMax) {
    if (SkinManager != nullptr && SkinManager->MDIClient != nullptr)
      PostMessageA(SkinManager->MDIClient, CN_MDIRedraw, reinterpret_cast<WPARAM>(Handle), 0);
  } else if (WindowState == swsMin) {
    UpdateNc();
  } else {
    Refresh();
  }
}

void TWinSkinForm::PaintNCTo(TMessage &m) {
  if (m.Msg == CN_QuerySignature) {
    m.Result = m.LParam == SkinSignature ? SkinSignature : 1;
    return;
  }
  if (m.LParam != SkinSignature) {
    Default(m);
    return;
  }
  if (m.WParam != 0)
    UpdateNc(reinterpret_cast<HDC>(m.WParam));
  m.Result = SkinSignature;
}

void TWinSkinForm::WMNCCalcSize(TMessage &m) {
  Default(m);
  if (m.WParam == FALSE) {
    m.Result = 0;
    return;
  }
  auto *params = reinterpret_cast<NCCALCSIZE_PARAMS *>(m.LParam);
  const bool systemFrame = (IsMDIChild() && WindowState != swsNormal) || BorderStyle == sbsNone;
  if (!systemFrame && params->lppos != nullptr) {
    const WINDOWPOS &pos = *params->lppos;
    RECT &client = params->rgrc[0];
    client.left = pos.x + LeftWidth;
    client.top = pos.y + TopHeight + MenuHeight;
    client.right = pos.x + pos.cx - RightWidth;
    client.bottom = pos.y + pos.cy - BottomHeight;
    // A window smaller than its borders (a minimised one) gets an empty client area, never an
    // inverted one.
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
  }
  params->rgrc[1] = params->rgrc[0];
  m.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::WMNCHitTest(TMessage &m) {
  Default(m);
  if (m.Result != HTNOWHERE && m.Result != HTCAPTION)
    return;
  const POINT p = GetWinXY(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  if (p.y > 3)
    m.Result = HTCAPTION;
  if (p.y > TopHeight && MenuHeight > 0)
    m.Result = HTMENU;
}

void TWinSkinForm::WMNCActive(TMessage &m) {
  Active = m.WParam != 0;
  Timer->SetEnabled(Active);
  if (!Active && HoverControl != nullptr) {
    if (TObject::IsLive(HoverControl))
      HoverControl->MouseLeave();
    HoverControl = nullptr;
  }
  if (FormStyle == sfsMDIform && MDIClient != nullptr)
    SendMessageA(MDIClient, WM_NCACTIVATE, m.WParam, 0);
  else if (IsMDIChild())
    Default(m);
  if (!MaximisedMDIChild())
    UpdateNc();
  m.Result = 1;
}

void TWinSkinForm::WMSize(TMessage &m) {
  Default(m);
  switch (m.WParam) {
  case SIZE_RESTORED:
    WindowState = swsNormal;
    break;
  case SIZE_MINIMIZED:
    WindowState = swsMin;
    break;
  case SIZE_MAXIMIZED:
    WindowState = swsMax;
    break;
  default:
    break;
  }
  if (IsMDIChild() && SkinManager != nullptr) {
    // Whether the active child is maximised now, however it came to be.
    BOOL maximised = FALSE;
    const LRESULT active =
        SendMessageA(GetParent(Handle), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised));
    SkinManager->SetMDIMax(active != 0 && maximised != FALSE);
  }
  if (WindowState == swsMin)
    return;
  if (IsMDIChild() && ((SkinManager != nullptr && SkinManager->MDIMax) || WindowState != swsNormal))
    return;
  if (SkinState == 1 || SkinState == 3)
    Cropwindow();
}

void TWinSkinForm::ReadMDIChildState() {
  WindowState = IsIconic(Handle) ? swsMin : IsZoomed(Handle) ? swsMax : swsNormal;
}

void TWinSkinForm::WMGetMinMaxInfo(TMessage &m) {
  Default(m);
  GetWindowstate();
  EnableSysbtn(WindowState == swsMin || MaximisedMDIChild());
}

// ----------------------------------------------------------------- detaching

void TWinSkinForm::UnSubclass() {
  if (!SkinFrame) {
    UnSubclass2();
    return;
  }
  const bool subclassed = Subclassed();
  UnSubclass3();
  if (!subclassed)
    return;
  if (Form != nullptr)
    RestoreMenuDrawing();
  if (Form != nullptr && SkinState != 4)
    Form->SetColor(SavedColor);
  UpdateStyle(false);
  EnableSysbtn(true);
  UnSubclassMDI();

  if (SkinState != 4 && (IsMDIChild() || (GetLong(GWL_STYLE) & WS_CHILD) == 0)) {
    RECT window{};
    GetWindowRect(Handle, &window);
    POINT topLeft{window.left, window.top};
    if (IsMDIChild())
      ScreenToClient(GetParent(Handle), &topLeft);
    const int width = Width(window) + SysBorder.right - LeftWidth - RightWidth;
    const int height = Height(window) + SysBorder.bottom - TopHeight - BottomHeight - MenuHeight;
    SetWindowPos(Handle, nullptr, topLeft.x, topLeft.y, width, height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
    // The system's menu bar, back on the window, takes the place of the skinned band, at the
    // height the system gives it: the window makes up the difference to the skinned client.
    RECT client{};
    GetClientRect(Handle, &client);
    const int missing = Height(window) - TopHeight - BottomHeight - MenuHeight - Height(client);
    if (GetMenu(Handle) != nullptr && missing != 0)
      SetWindowPos(Handle, nullptr, 0, 0, width, height + missing,
                   SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  SetWindowRgn(Handle, nullptr, TRUE);
  HasRegion = false;
}

// Detaches from a window that is being destroyed: procedures and control objects only.
void TWinSkinForm::UnSubclass3() {
  SysMenuPopup.reset();
  if (Timer != nullptr)
    Timer->SetEnabled(false);
  if (!Subclassed())
    return;
  UnhookForm();
  RestoreWndProc();
  DeleteControls();
  FreeMenuBar();
}

void TWinSkinForm::FreeMenuBar() {
  if (SkinMenu == nullptr)
    return;
  // The window gets its menu back: a foreign window's goes with the window from then on; a
  // form's only while the form still shows it (a form that is going took it off itself).
  const TMainMenu *menu = Form != nullptr && TObject::IsLive(Form) ? Form->Menu() : nullptr;
  const bool giveBack = Form == nullptr || (menu != nullptr && menu->Window == Handle);
  if (giveBack && IsWindow(Handle) && GetMenu(Handle) == nullptr && MenuHandle != nullptr &&
      IsMenu(MenuHandle))
    SetMenu(Handle, MenuHandle);
  if (HotObject != nullptr && dynamic_cast<TMenuBtn *>(HotObject) != nullptr)
    HotObject = nullptr;
  delete SkinMenu;
  SkinMenu = nullptr;
}

void TWinSkinForm::UnSubclass2() {
  if (Timer != nullptr)
    Timer->SetEnabled(false);
  DeleteControls();
  if (Form != nullptr)
    RestoreMenuDrawing();
  if (Form != nullptr && SkinState != 4)
    Form->SetColor(SavedColor);
  UnhookForm();
  RestoreWndProc();
  UnSubclassMDI();
  if (Form != nullptr && SkinState != 4)
    for (int i = 0; i < Form->ComponentCount(); ++i)
      if (auto *control = dynamic_cast<TControl *>(Form->Components(i)))
        control->Invalidate();
}

void TWinSkinForm::RestoreMenuDrawing() {
  if (!TObject::IsLive(Form))
    return;
  InitPopMenu(Form, false);
  if (InSet(SkinData->SkinControls, xcMenuItem))
    InitMainMenu(false);
}
