// The skinned menu bar: its buttons, their painting, opening a drop-down and moving between the
// drop-downs with the keyboard and the mouse while one is tracked.
#include "skin/form/winskinform_menubar.h"

#include "framework/gui/forms.h"
#include "framework/gui/menus.h"
#include "skin/controls/winsubclass.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform_draw.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>

namespace {

constexpr int kCaptionPad = 10; // a button's width beyond its caption
constexpr int kTextLength = 80;
constexpr int kNoButton = -1;

// One drop-down is tracked at a time (TrackPopupMenu is modal): the state of that run.
HHOOK MenuTrackHook = nullptr;
TWinSkinForm *TrackForm = nullptr;
int TrackIndex = kNoButton;
bool TrackOnPopupItem = false; // the selection opens a submenu
bool TrackInTopLevel = true;   // the selection is an item of the drop-down itself
POINT TrackMousePos{0, 0};
bool TrackSwitching = false;
int SwitchTarget = kNoButton; // the button to open next, once this drop-down has closed

std::wstring Widen(const std::string &text) {
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(std::max(n, 0)), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

void AssignMenuFont(TFont &font) {
  if (Screen != nullptr && Screen->MenuFont() != nullptr)
    font.Assign(*Screen->MenuFont());
}

LRESULT CALLBACK MenuTrackProc(int code, WPARAM wParam, LPARAM lParam) {
  auto *msg = reinterpret_cast<MSG *>(lParam);
  TWinSkinForm *form = TObject::IsLive(TrackForm) ? TrackForm : nullptr;
  if (code == MSGF_MENU && msg != nullptr && form != nullptr && msg->message == WM_KEYDOWN &&
      form->SkinMenu != nullptr && form->SkinMenu->RightToLeft()) {
    if (msg->wParam == VK_LEFT)
      msg->wParam = VK_RIGHT;
    else if (msg->wParam == VK_RIGHT)
      msg->wParam = VK_LEFT;
  }
  const LRESULT next = CallNextHookEx(MenuTrackHook, code, wParam, lParam);
  if (next != 0 || code != MSGF_MENU || msg == nullptr || form == nullptr)
    return next;
  return form->TrackMessage(*msg) ? 1 : 0;
}

} // namespace

// ----------------------------------------------------------------- buttons

wchar_t TMenuBtn::Accelerator() const {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != L'&')
      continue;
    if (Caption[i + 1] != L'&')
      return static_cast<wchar_t>(std::towlower(Caption[i + 1]));
    ++i; // "&&" is a plain ampersand
  }
  return 0;
}

void TMenuBtn::Draw() {
  TWinSkinMenu *bar = Form->SkinMenu;
  if (bar == nullptr || bar->Painting || !Visible || bar->Background.Empty())
    return;
  GdiWindowDC dc(Form->Handle, nullptr, DCX_WINDOW | DCX_CACHE);
  if (!dc)
    return;
  const RECT &band = bar->BandRect;
  const RECT &b = BoundsRect;
  // The band under the button, then the state's frame and the caption.
  BitBlt(dc.Get(), b.left, band.top, b.right - b.left, band.bottom - band.top,
         bar->Background.Canvas().Handle(), b.left - band.left, 0, SRCCOPY);
  TCanvas canvas;
  canvas.SetHandle(dc.Get());
  if (State == 2 || State == 3) {
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(SkinData->Colors[csButtonHilight]);
    canvas.FrameRect(b);
  }
  AssignMenuFont(canvas.Font());
  canvas.Font().SetColor(SkinData->Colors[Enabled ? csMenuBarText : csButtonShadow]);
  MyDrawCaption(canvas, b, Caption, true, false, 2);
  canvas.SetHandle(nullptr);
}

// ----------------------------------------------------------------- the bar

TWinSkinMenu::TWinSkinMenu(TWinSkinForm *form, TSkinData *data, TMainMenu *menu)
    : TComponent(form), Menu(menu), SkinData(data), Form(form) {}

TWinSkinMenu::~TWinSkinMenu() {
  RestoreOwnerDrawn();
}

void TWinSkinMenu::ClearButtons() {
  if (Form->HotObject != nullptr)
    for (const auto &button : Buttons)
      if (Form->HotObject == button.get())
        Form->HotObject = nullptr;
  Buttons.clear();
  ButtonCount = 0;
}

bool TWinSkinMenu::RightToLeft() const {
  return (Menu != nullptr && TObject::IsLive(Menu) && Menu->RightToLeft) || Form->RightToLeft;
}

void TWinSkinMenu::TakeMenu() {
  if (GetMenu(Form->Handle) != nullptr)
    SetMenu(Form->Handle, nullptr);
}

void TWinSkinMenu::UpdataBtn() {
  const bool oldSystem = WinVersion >= 0x80000000 || LOBYTE(LOWORD(WinVersion)) < 5;
  if (oldSystem && WinVersion != 0) {
    UpdataBtn1();
    return;
  }
  ClearButtons();
  if (HMENU current = GetMenu(Form->Handle))
    MenuHandle = current;
  if (MenuHandle == nullptr || (Form->Form != nullptr && Menu == nullptr))
    return;
  ButtonCount = std::max(GetMenuItemCount(MenuHandle), 0);
  for (int i = 0; i < ButtonCount; ++i) {
    auto button = std::make_unique<TMenuBtn>(Form);
    button->SkinData = SkinData;
    button->Index = i;
    wchar_t text[kTextLength + 1] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = kTextLength;
    if (GetMenuItemInfoW(MenuHandle, static_cast<UINT>(i), TRUE, &info)) {
      button->Caption = text;
      button->Enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
      button->Command = info.wID;
      button->SubMenu = info.hSubMenu;
    }
    button->Visible = true;
    if (TMenuItem *item = Menu != nullptr ? Menu->FindItem(button->Command) : nullptr) {
      button->Caption = Widen(item->Caption);
      button->Enabled = item->Enabled;
      button->Item = item;
      button->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
    }
    Buttons.push_back(std::move(button));
  }
  TakeMenu();
}

void TWinSkinMenu::UpdataBtn1() {
  ClearButtons();
  if (HMENU current = GetMenu(Form->Handle))
    MenuHandle = current;
  if (MenuHandle == nullptr || Menu == nullptr || Menu->Items() == nullptr)
    return;
  TMenuItem *root = Menu->Items();
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem *item = root->Items(i);
    auto button = std::make_unique<TMenuBtn>(Form);
    button->SkinData = SkinData;
    button->Index = i;
    button->Visible = item->Visible;
    button->Enabled = item->Enabled;
    button->Command = item->Command();
    button->Caption = Widen(item->Caption);
    button->Item = item;
    button->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
    Buttons.push_back(std::move(button));
  }
  ButtonCount = static_cast<int>(Buttons.size());
  TakeMenu();
}

void TWinSkinMenu::UpdataBtn2(HMENU menu) {
  if (menu != nullptr)
    MenuHandle = menu;
  UpdataBtn();
}

void TWinSkinMenu::DrawMenu(HDC dc, const RECT &rect) {
  const int W = rect.right - rect.left, H = rect.bottom - rect.top;
  if (W <= 0 || H <= 0 || BG == nullptr)
    return;
  BG->SetSize(W, H);
  TCanvas &canvas = BG->Canvas();
  const bool rtl = RightToLeft();
  int x0 = 6;
  TDataSkinObject *element = SkinData->MenuBar;
  if (element != nullptr && !element->Image->Empty()) {
    const RECT local{0, 0, W, H};
    const int frame = Form->Active ? 1 : 2;
    const RECT margins{element->Margins.left, 0, element->Margins.right, 0};
    if (element->Tile == 1)
      DrawRect2(canvas.Handle(), local, *element->Image, margins, frame, 2, false, false, true);
    else
      DrawRectTile(canvas, local, *element->Image, margins, frame, 2, false, true);
    x0 = rtl ? static_cast<int>(element->Margins.right) + 8
             : static_cast<int>(element->Margins.left) + 4;
    if (W < x0)
      x0 = 12;
  } else {
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(SkinData->Colors[csMenuBar]);
    canvas.FillRect(RECT{0, 0, W, H});
  }
  BandRect = rect;
  Background.Assign(*BG);

  AssignMenuFont(canvas.Font());
  Painting = true;
  int x = rtl ? W - x0 : x0;
  for (const auto &button : Buttons) {
    if (!button->Visible) {
      button->BoundsRect = RECT{0, 0, 0, 0};
      continue;
    }
    int width = 0;
    if (!button->Caption.empty()) {
      RECT measured{0, 0, 0, 0};
      canvas.DrawTextW(button->Caption, measured, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
      width = measured.right - measured.left + kCaptionPad;
    }
    const int left = rtl ? x - width : x;
    canvas.Font().SetColor(SkinData->Colors[button->Enabled ? csMenuBarText : csButtonShadow]);
    MyDrawCaption(canvas, RECT{left, 0, left + width, H - 1}, button->Caption, true, false, 2);
    button->BoundsRect =
        RECT{rect.left + left, rect.top, rect.left + left + width, rect.bottom - 1};
    x = rtl ? x - width : x + width;
  }
  Painting = false;
  Form->DrawMDIButtons(canvas.Handle());
  BitBlt(dc, rect.left, rect.top, W, H, canvas.Handle(), 0, 0, SRCCOPY);
  // Buttons that are hot or pressed keep their look across a repaint of the whole band.
  for (const auto &button : Buttons)
    if (button->State != 1)
      button->Draw();
}

TMenuBtn *TWinSkinMenu::FindBtn(POINT point) const {
  for (const auto &button : Buttons)
    if (button->Visible && !button->Caption.empty() && PtInRect(&button->BoundsRect, point))
      return button.get();
  return nullptr;
}

void TWinSkinMenu::MakeOwnerDrawn(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
      continue;
    if ((info.fType & MFT_OWNERDRAW) == 0) {
      info.fMask = MIIM_FTYPE;
      info.fType |= MFT_OWNERDRAW;
      if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
        ownerDrawn_.emplace_back(menu, static_cast<UINT>(i));
    }
    if (info.hSubMenu != nullptr)
      MakeOwnerDrawn(info.hSubMenu);
  }
}

void TWinSkinMenu::RestoreOwnerDrawn() {
  for (const auto &[menu, position] : ownerDrawn_) {
    if (!IsMenu(menu))
      continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (GetMenuItemInfoW(menu, position, TRUE, &info)) {
      info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
      SetMenuItemInfoW(menu, position, TRUE, &info);
    }
  }
  ownerDrawn_.clear();
}

void TidySeparators(TMenuItem *item) {
  if (item == nullptr)
    return;
  // Visible items in order; a separator shows only between two other items.
  TMenuItem *pendingLine = nullptr;
  bool anyBefore = false;
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem *child = item->Items(i);
    if (!child->IsLine()) {
      if (!child->Visible)
        continue;
      if (pendingLine != nullptr)
        pendingLine->Visible = true;
      pendingLine = nullptr;
      anyBefore = true;
      continue;
    }
    child->Visible = false;
    if (anyBefore && pendingLine == nullptr)
      pendingLine = child;
  }
}

// ----------------------------------------------------------------- tracking

void TWinSkinForm::CheckMenu(TMenuBtn *first) {
  if (SkinMenu == nullptr || first == nullptr)
    return;
  int next = first->Index;
  while (next >= 0 && next < static_cast<int>(SkinMenu->Buttons.size())) {
    TMenuBtn *button = SkinMenu->Buttons[static_cast<size_t>(next)].get();
    SwitchTarget = kNoButton;
    // Tidying may rebuild the bar (and its buttons): then the same button of the new one.
    if (button->Item != nullptr && button->SubMenu != nullptr && TidyItems(button))
      continue;
    next = kNoButton;
    PostMessageA(Handle, WM_COMMAND, button->Command, 0);
    if (button->SubMenu == nullptr)
      break;
    TrackIndex = button->Index;
    TrackForm = this;
    GetWindowRect(Handle, &WindowRect);
    if (!(WinVersion < 0x80000000 && LOBYTE(LOWORD(WinVersion)) == 4))
      SkinMenu->MakeOwnerDrawn(button->SubMenu);
    MenuTracking = true;
    if (SkinManager != nullptr)
      SkinManager->MenuKind = 1;
    OpenSubMenu = button->SubMenu;
    if (MenuTrackHook == nullptr) {
      TrackSwitching = false;
      GetCursorPos(&TrackMousePos);
      MenuTrackHook = SetWindowsHookExA(WH_MSGFILTER, MenuTrackProc, nullptr, GetCurrentThreadId());
    }
    TrackOnPopupItem = false;
    TrackInTopLevel = true;
    button->State = 2;
    button->Draw();
    if (button->Enabled) {
      // The drop-down opens with its first item selected, as the system's own bar does.
      PostMessageA(Handle, WM_KEYDOWN, VK_DOWN, 0);
      const bool rtl = SkinMenu->RightToLeft();
      const RECT &b = button->BoundsRect;
      TrackPopupMenu(button->SubMenu, TPM_RIGHTBUTTON | (rtl ? TPM_RIGHTALIGN : 0),
                     WindowRect.left + (rtl ? b.right : b.left), WindowRect.top + b.bottom, 0,
                     Handle, nullptr);
    }
    if (MenuTrackHook != nullptr)
      UnhookWindowsHookEx(MenuTrackHook);
    MenuTrackHook = nullptr;
    TrackIndex = kNoButton;
    TrackForm = nullptr;
    MenuTracking = false;
    OpenSubMenu = nullptr;
    if (SkinMenu == nullptr || !TObject::IsLive(SkinMenu))
      return;
    if (button->Index < static_cast<int>(SkinMenu->Buttons.size())) {
      button->State = 1;
      button->Draw();
    }
    next = SwitchTarget;
    SwitchTarget = kNoButton;
  }
}

bool TWinSkinForm::TidyItems(TMenuBtn *button) {
  TMenuItem *item = button->Item;
  std::vector<bool> before;
  for (int i = 0; i < item->Count(); ++i)
    before.push_back(item->Items(i)->Visible);
  TidySeparators(item);
  for (int i = 0; i < item->Count(); ++i)
    if (item->Items(i)->Visible != before[static_cast<size_t>(i)]) {
      // The built drop-down no longer matches its items. A bar that does not follow menu
      // changes meanwhile (an MDI form with children) still takes the new drop-downs.
      SkinMenu->Menu->Rebuild();
      if (SkinMenu != nullptr)
        for (const auto &b : SkinMenu->Buttons)
          if (b->Item != nullptr && TObject::IsLive(b->Item))
            b->SubMenu = b->Item->Count() > 0 ? b->Item->Handle() : nullptr;
      return true;
    }
  return false;
}

bool TWinSkinForm::TrackMessage(const MSG &msg) {
  if (SkinMenu == nullptr)
    return false;
  const int count = static_cast<int>(SkinMenu->Buttons.size());
  TMenuBtn *target = nullptr;
  // Only a button with a drop-down to show takes over: one without would run its command.
  const auto opens = [](const TMenuBtn *b) {
    return b != nullptr && b->Visible && b->Enabled && b->SubMenu != nullptr;
  };
  // The next such button in a direction, round the end.
  const auto step = [&](int direction) -> TMenuBtn * {
    for (int i = 1; i <= count; ++i) {
      const int index = ((TrackIndex + direction * i) % count + count) % count;
      TMenuBtn *b = SkinMenu->Buttons[static_cast<size_t>(index)].get();
      if (opens(b))
        return b;
    }
    return nullptr;
  };
  switch (msg.message) {
  case WM_KEYDOWN:
    if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)
      TrackSwitching = false;
    else if (msg.wParam == VK_RIGHT && !TrackOnPopupItem)
      target = step(1);
    else if (msg.wParam == VK_LEFT && TrackInTopLevel)
      target = step(-1);
    break;
  case WM_SYSKEYDOWN:
    if (msg.wParam == VK_MENU)
      CancelMenu();
    return false;
  case WM_MOUSEMOVE:
    if (msg.pt.x != TrackMousePos.x || msg.pt.y != TrackMousePos.y) {
      target = SkinMenu->FindBtn(GetWinXY(msg.pt.x, msg.pt.y));
      if (!opens(target))
        target = nullptr;
      TrackMousePos = msg.pt;
    }
    break;
  default:
    break;
  }
  if (target == nullptr || target->Index == TrackIndex || count == 0)
    return false;
  // Close this drop-down; CheckMenu opens the target's once TrackPopupMenu has returned.
  TrackSwitching = true;
  SwitchTarget = target->Index;
  EndMenu();
  return true;
}

void TWinSkinForm::TrackMenuSelect(TMessage &m) {
  const UINT flags = HIWORD(m.WParam);
  const auto menu = reinterpret_cast<HMENU>(m.LParam);
  if (flags == 0xFFFF && menu == nullptr) {
    if (!TrackSwitching)
      CancelMenu();
  } else {
    TrackSwitching = false;
    TrackOnPopupItem = (flags & MF_POPUP) != 0;
    TrackInTopLevel = menu == OpenSubMenu;
  }
  Default(m);
}

void TWinSkinForm::CancelMenu() {
  MenuTracking = false;
}

void TWinSkinForm::ClickButton(TMenuBtn *button) {
  if (button == nullptr)
    return;
  RECT window{};
  GetWindowRect(Handle, &window);
  const POINT p{window.left + button->BoundsRect.left + 1, window.top + button->BoundsRect.top + 1};
  PostMessageA(Handle, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(p.x, p.y));
}

TMenuBtn *TWinSkinForm::FindButtonFromAccel(wchar_t key) {
  if (SkinMenu == nullptr || key == 0)
    return nullptr;
  const auto lower = static_cast<wchar_t>(std::towlower(key));
  for (const auto &button : SkinMenu->Buttons)
    if (button->Enabled && button->Visible && button->Accelerator() == lower)
      return button.get();
  return nullptr;
}

TMenuBtn *TWinSkinForm::FirstMenuButton() const {
  if (SkinMenu == nullptr)
    return nullptr;
  for (const auto &button : SkinMenu->Buttons)
    if (button->Visible && !button->Caption.empty())
      return button.get();
  return nullptr;
}

void TWinSkinForm::CMDialogChar(TMessage &m) {
  OldWindowProc(m);
  if (m.Result != 0)
    return;
  const bool altOnly = (GetKeyState(VK_MENU) & 0x8000) != 0 &&
                       (GetKeyState(VK_CONTROL) & 0x8000) == 0 &&
                       (GetKeyState(VK_SHIFT) & 0x8000) == 0;
  if (!altOnly)
    return;
  if (TMenuBtn *button = FindButtonFromAccel(static_cast<wchar_t>(m.WParam))) {
    ClickButton(button);
    m.Result = 1;
  }
}

void TWinSkinForm::MenuSelect(TMessage &m) {
  if (SkinMenu != nullptr)
    if (TMenuBtn *button = SkinMenu->FindBtn(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}))
      CheckMenu(button);
  m.Result = 0;
}

bool TWinSkinForm::MenuBarMouse(UINT msg, POINT p) {
  TMenuBtn *button = SkinMenu != nullptr ? SkinMenu->FindBtn(p) : nullptr;
  if (button == nullptr)
    return false;
  if (msg == WM_NCMOUSEMOVE) {
    button->MouseEnter();
  } else if (msg == WM_NCLBUTTONDOWN) {
    if (!Active)
      SetForegroundWindow(Handle);
    CheckMenu(button);
  }
  return true;
}

void TWinSkinForm::MenuChanged(TMessage &m, bool hooked) {
  const bool update = SkinData->MainMenuUpdate;
  SkinData->MainMenuUpdate = false;
  if (hooked)
    OldWindowProc(m);
  else
    Default(m);
  SkinData->MainMenuUpdate = update;
  // A form given its first menu after it was skinned, or losing its menu, gains or loses the
  // band itself.
  if (!IsMDIChild() && (SkinMenu == nullptr || (Form != nullptr && Form->Menu() == nullptr))) {
    UpdateMenuBar();
    return;
  }
  HMENU shown = GetMenu(Handle);
  if (shown == nullptr)
    return;
  MenuHandle = shown;
  if (SkinMenu != nullptr && SkinData->MenuUpdate) {
    if (Form != nullptr)
      SkinMenu->Menu = Form->Menu();
    SkinMenu->UpdataBtn2(shown);
  }
  SetMenu(Handle, nullptr);
  UpdateNc();
}

void TWinSkinForm::UpdateMenuBar() {
  if (!SkinFrame || IsMDIChild() || !Subclassed())
    return;
  RECT client{};
  GetClientRect(Handle, &client);
  const int bandBefore = MenuHeight;
  if (HMENU shown = GetMenu(Handle))
    MenuHandle = shown;
  const bool hasMenu =
      Form != nullptr ? Form->Menu() != nullptr : MenuHandle != nullptr && IsMenu(MenuHandle);
  if (!hasMenu) {
    FreeMenuBar();
    MenuHandle = nullptr;
    MenuHeight = 0;
  } else {
    if (SkinMenu == nullptr) {
      SkinMenu = new TWinSkinMenu(this, SkinData, Form != nullptr ? Form->Menu() : nullptr);
      MenuHeight = GetSystemMetrics(SM_CYMENU);
    }
    if (Form != nullptr)
      SkinMenu->Menu = Form->Menu();
    SkinMenu->UpdataBtn(); // takes the menu off the window
  }
  if (MenuHeight == bandBefore) {
    UpdateNc();
    return;
  }
  // The band came or went: the client area keeps its size and the window grows or shrinks.
  if (WindowState != swsNormal) {
    Refresh();
    return;
  }
  RECT window{};
  GetWindowRect(Handle, &window);
  SetWindowPos(Handle, nullptr, 0, 0, Width(window),
               client.bottom + TopHeight + BottomHeight + MenuHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
