// MDI: the client window of an MDI main form is subclassed so that the skinned frame keeps it
// free of system scroll bars, follows the maximised state of its children, takes over the menus
// the children set, and redraws on request. The caption buttons of a maximised child live in
// the main form's menu band; the menu bar draws them through DrawMDIButtons.
#include "framework/gui/menus.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_draw.h"
#include "skin/form/winskinform_menubar.h"

namespace {

// RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME
constexpr UINT kMDIRedrawFlags = 0x585;

} // namespace

void TWinSkinForm::SubclassMDI() {
  if (MDIClient == nullptr || OldMDIProc != nullptr)
    return;
  if (mdiClient_.Attach(MDIClient, this, TWndMethod(this, &TWinSkinForm::WinMDIProc)))
    OldMDIProc = mdiClient_.Previous();
}

void TWinSkinForm::UnSubclassMDI() {
  mdiClient_.Detach();
  OldMDIProc = nullptr;
}

void TWinSkinForm::DefaultMDI(TMessage &m) {
  mdiClient_.CallPrevious(m);
}

void TWinSkinForm::WinMDIProc(TMessage &m) {
  switch (m.Msg) {
  case WM_NCDESTROY:
    DefaultMDI(m);
    UnSubclassMDI();
    return;
  case WM_NCCALCSIZE:
    if (SkinFrame && !InSet(SkinData->Options, xoMDIScrollbar))
      HideMDIScrollBars();
    DefaultMDI(m);
    return;
  case WM_MDICREATE:
    SkinData->MenuUpdate = false;
    DefaultMDI(m);
    return;
  case WM_MDIDESTROY:
    DefaultMDI(m);
    if (SkinFrame)
      MDIChildGone();
    return;
  case WM_MDITILE:
  case WM_MDICASCADE:
    if (SkinFrame && SkinManager != nullptr && SkinManager->MDIMax)
      SkinManager->SetMDIMax(false);
    DefaultMDI(m);
    return;
  case WM_MDISETMENU:
    DefaultMDI(m);
    if (SkinFrame)
      TakeMDIMenu(reinterpret_cast<HMENU>(m.WParam));
    return;
  case CN_MDIRedraw:
    RedrawWindow(MDIClient, nullptr, nullptr, kMDIRedrawFlags);
    m.Result = 0;
    return;
  default:
    DefaultMDI(m);
  }
}

// The client never shows the system's scroll bars (they would not match the skin).
void TWinSkinForm::HideMDIScrollBars() {
  const LONG_PTR style = GetWindowLongPtrA(MDIClient, GWL_STYLE);
  const LONG_PTR bars = WS_HSCROLL | WS_VSCROLL;
  if ((style & bars) != 0)
    SetWindowLongPtrA(MDIClient, GWL_STYLE, style & ~bars);
}

// A child went: the maximised state follows the child that is active now, and with the last
// child gone the menu bar shows the main form's own menu again.
void TWinSkinForm::MDIChildGone() {
  if (SkinManager != nullptr)
    SkinManager->SetMDIMax(MDIChildMax());
  if (SendMessageA(MDIClient, WM_MDIGETACTIVE, 0, 0) != 0)
    return;
  SkinData->MenuUpdate = SavedMenuUpdate;
  if (SkinMenu != nullptr && SkinMenu->Menu != nullptr)
    SkinMenu->UpdataBtn2(SkinMenu->Menu->Handle());
  if (SkinState == 1)
    UpdateNc();
}

// A child set the frame menu: the menu bar takes it, and the window keeps none of its own.
void TWinSkinForm::TakeMDIMenu(HMENU frameMenu) {
  if (frameMenu != nullptr)
    MenuHandle = frameMenu;
  if (SkinMenu != nullptr)
    SkinMenu->UpdataBtn2(frameMenu);
  SetMenu(Handle, nullptr);
}

bool TWinSkinForm::MDIChildMax() const {
  if (FormStyle != sfsMDIform || MDIClient == nullptr)
    return false;
  BOOL maximised = FALSE;
  const LRESULT active =
      SendMessageA(MDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised));
  return active != 0 && maximised != FALSE;
}

// ----------------------------------------------------------------- the maximised child's buttons

void TWinSkinForm::DrawMDIButtons(HDC bar) {
  if (!MDIChildMax())
    return;
  RECT window{};
  GetWindowRect(Handle, &window);
  WindowWidth = window.right - window.left;
  WindowHeight = window.bottom - window.top;
  SetSysbtnRect();
  for (const auto &button : SysBtns) {
    const TDataSkinSysButton &skin = *button->SkinButton;
    if (!button->Visible || skin.Visibility != 100 || skin.Image->Empty())
      continue;
    RECT place = button->BoundsRect;
    OffsetRect(&place, -LeftWidth, -TopHeight);
    DrawRect1(bar, place, *skin.Image, 1, skin.Frames(), true);
  }
  if (SkinManager != nullptr && !SkinManager->MDIMax)
    SkinManager->SetMDIMax(true);
}

TWinSysButton *TWinSkinForm::FindMDIButton(POINT point) const {
  TWinSysButton *button = FindBtn(point);
  return button != nullptr && button->SkinButton->Visibility == 100 ? button : nullptr;
}

WPARAM TWinSkinForm::MDIButtonCommand(int action) {
  switch (action) {
  case 7:
  case 60:
    return SC_MINIMIZE;
  case 8:
  case 61:
    return SC_RESTORE;
  case 9:
  case 62:
    return SC_CLOSE;
  default:
    return 0;
  }
}

void TWinSkinForm::PressMDIButton(TWinSysButton *button) {
  if (button == nullptr)
    return;
  if (const WPARAM command = MDIButtonCommand(button->SkinButton->Action))
    MDIChildAction(command);
}
