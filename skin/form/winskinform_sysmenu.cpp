// The skinned system menu (a popup built from the window's system menu) and the system
// commands a skinned frame handles itself.
#include "framework/gui/extctrls.h"
#include "framework/gui/menus.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_menubar.h"

namespace {

constexpr int kSystemMenuTag = 0x8235;

bool OlderThanNT5() {
  return WinVersion < 0x80000000 && LOBYTE(LOWORD(WinVersion)) < 5;
}

std::unique_ptr<TPopupMenu> NewSystemPopup(TSkinData *data) {
  auto popup = std::make_unique<TPopupMenu>(nullptr);
  popup->SetTag(kSystemMenuTag);
  popup->Images = data->MenuImages;
  popup->OwnerDraw = true; // the items are drawn from the skin
  return popup;
}

} // namespace

void TWinSkinForm::PopSysmenu(POINT point) {
  const DWORD now = GetTickCount();
  if (now - LastPopupTime > DoubleClickTime) {
    if (SkinManager != nullptr)
      SkinManager->MenuKind = 2;
    LastPopupTime = now;
    CreateSysmenu2();
    if (SysMenuPopup != nullptr)
      SysMenuPopup->Popup(point.x, point.y);
  } else if (HotObject != nullptr) {
    // A second press on the icon button within the double-click time closes the window.
    Timer->SetEnabled(false);
    PostMessageA(Handle, WM_CLOSE, 0, 0);
  }
}

void TWinSkinForm::CreateSysmenu2() {
  SysMenuPopup.reset();
  if (OlderThanNT5()) {
    CreateSysmenu();
    return;
  }
  if (SystemMenu == nullptr)
    return;
  SysMenuPopup = NewSystemPopup(SkinData);
  const int count = GetMenuItemCount(SystemMenu);
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    if (!GetMenuItemInfoA(SystemMenu, static_cast<UINT>(i), TRUE, &info))
      continue;
    auto *item = new TMenuItem(nullptr);
    std::string caption = (info.fType & MFT_SEPARATOR) != 0 || text[0] == '\0' ? "-" : text;
    if (const size_t tab = caption.find('\t'); tab != std::string::npos) {
      item->ShortCutText = caption.substr(tab + 1);
      caption.resize(tab);
    }
    item->Caption = caption;
    item->SetTag(static_cast<int>(info.wID));
    // The system updates its own menu only when it shows it, so the states of the sizing
    // commands come from the window, the others from the menu.
    switch (info.wID & 0xFFF0) {
    case SC_SIZE:
    case SC_MOVE:
      item->Enabled = WindowState != swsMax;
      break;
    case SC_MINIMIZE:
      item->ImageIndex = 2;
      item->Enabled = Has(sbiMin) && WindowState != swsMin;
      break;
    case SC_MAXIMIZE:
      item->ImageIndex = 1;
      item->Enabled = Has(sbiMax) && WindowState != swsMax;
      break;
    case SC_CLOSE:
      item->ImageIndex = 3;
      item->Enabled = (info.fState & MFS_GRAYED) != MFS_GRAYED;
      break;
    case SC_RESTORE:
      item->ImageIndex = 0;
      item->Enabled = WindowState != swsNormal;
      break;
    default:
      item->Enabled = (info.fState & MFS_GRAYED) != MFS_GRAYED;
    }
    item->Checked = (info.fState & MFS_CHECKED) != 0;
    item->Default = (info.fState & MFS_DEFAULT) != 0;
    item->OnClick = TNotifyEvent(this, &TWinSkinForm::DoSysMenu2);
    SysMenuPopup->Items()->Add(item);
  }
  ItemsDrawnBySkin();
}

void TWinSkinForm::CreateSysmenu() {
  SysMenuPopup = NewSystemPopup(SkinData);
  AddSysMenuitem(" Restore ", 0);
  if (Has(sbiMax))
    AddSysMenuitem(" Maximize ", 1);
  if (Has(sbiMin))
    AddSysMenuitem(" Minimize ", 2);
  AddSysMenuitem("-", 100);
  AddSysMenuitem(" Close ", 3, "ALT+F4");
  ItemsDrawnBySkin();
}

void TWinSkinForm::ItemsDrawnBySkin() {
  for (int i = 0; i < SysMenuPopup->Items()->Count(); ++i) {
    TMenuItem *item = SysMenuPopup->Items()->Items(i);
    item->OnDrawItem = TMenuDrawItemEvent(this, &TWinSkinForm::DrawMenuItem);
    item->OnMeasureItem = TMenuMeasureItemEvent(this, &TWinSkinForm::MeasureItemPop);
  }
}

void TWinSkinForm::AddSysMenuitem(const std::string &caption, int tag,
                                  const std::string &shortcut) {
  auto *item = new TMenuItem(nullptr);
  item->Caption = caption;
  item->ShortCutText = shortcut;
  item->SetTag(tag);
  item->ImageIndex = tag;
  item->OnClick = TNotifyEvent(this, &TWinSkinForm::DoSysMenu);
  SysMenuPopup->Items()->Add(item);
}

bool TWinSkinForm::CheckSysmenu() const {
  if (OlderThanNT5() || WinVersion >= 0x80000000)
    return true;
  if (SystemMenu == nullptr)
    return false;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  return GetMenuItemInfoA(SystemMenu, SC_CLOSE, FALSE, &info) != FALSE;
}

void TWinSkinForm::DoSysMenu(TObject *sender) {
  switch (static_cast<TComponent *>(sender)->Tag()) {
  case 0:
    Restore();
    break;
  case 1:
    Maximize();
    break;
  case 2:
    Minimize();
    break;
  case 3:
    Timer->SetEnabled(false);
    PostMessageA(Handle, WM_CLOSE, 0, 0);
    break;
  default:
    break;
  }
}

void TWinSkinForm::DoSysMenu2(TObject *sender) {
  PostMessageA(Handle, WM_SYSCOMMAND, static_cast<WPARAM>(static_cast<TComponent *>(sender)->Tag()),
               0);
}

void TWinSkinForm::WMSysCommand(TMessage &m) {
  const WPARAM command = m.WParam & 0xFFF0;
  if (command == SC_KEYMENU) {
    const auto key = static_cast<char>(m.LParam);
    if (key == ' ') {
      // Alt+Space: the skinned system menu at the client origin. The system's own would show
      // the unskinned one.
      POINT origin{0, 0};
      ClientToScreen(Handle, &origin);
      PopSysmenu(origin);
      m.Result = 0;
      return;
    }
    // Alt opens the menu bar's first button, Alt with a letter the button of that letter.
    TMenuBtn *button =
        key == 0 ? FirstMenuButton()
                 : FindButtonFromAccel(static_cast<wchar_t>(static_cast<unsigned char>(key)));
    if (button != nullptr) {
      ClickButton(button);
      m.Result = 0;
      return;
    }
  }
  switch (command) {
  case SC_MINIMIZE:
    WindowState = swsMin;
    if (IsMDIChild())
      EnableSysbtn(true);
    break;
  case SC_MAXIMIZE:
    WindowState = swsMax;
    break;
  case SC_RESTORE:
    WindowState = swsNormal;
    if (IsMDIChild()) {
      EnableSysbtn(false);
      if (SkinManager != nullptr)
        SkinManager->SetMDIMax(false);
    }
    break;
  default:
    break;
  }
  Default(m);
}
