// Every private window message of the process in one table: the framework's own (CM_), the
// notifications a parent reflects to its child (CN_ + the system message), and the skin
// engine's (CN_ with a mixed-case name), which foreign windows may send or answer. Numbers are
// chosen here, and a check below makes any new one that collides fail to compile.
#pragma once

#include <windows.h>

#include <algorithm>
#include <array>

// ----------------------------------------------------------------- framework messages

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;

// Notifications a parent reflects back to the child they are about: CN_BASE + the message.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// ----------------------------------------------------------------- skin engine messages

// The manager (winskindlg).
constexpr UINT CN_SkinActive = 0x3503; // posted once a form object is attached
constexpr UINT CN_IsSkinned = 0x3523;  // answered 1 by a skinned window or control
// Posted to a skinned window when a child window was created somewhere inside it after it was
// skinned; wParam is the new window.
constexpr UINT CN_ControlCreated = 0x3519;

// The form object (winskinform).
constexpr UINT CN_SkinChanged = 0x3401;
constexpr UINT CN_UpdateNC = 0x3502;
constexpr UINT CN_SysBtnAction = 0x3514;  // posted: wParam = the button's action
constexpr UINT CN_SysBtnVisible = 0x3515; // sent: wParam = visibility code, lParam = action
constexpr UINT CN_MDIRedraw = 0x3516;
constexpr UINT CN_ReCreateWnd = 0x3517;
constexpr UINT CN_MenuSelect = 0x3518;
constexpr UINT CN_PaintNCTo = 0xBC4B;
constexpr UINT CN_QuerySignature = 0xBC4D;
// Sent to a form's window after each skinning with lParam = SkinSignature. It has the number of
// the framework's reflected WM_NOTIFY (CN_NOTIFY) on purpose, as foreign windows know it; the
// two are told apart by lParam (the signature, or a pointer to an NMHDR).
constexpr UINT CN_AfterSkin = 0xBC4E;
// Answered by CN_PaintNCTo and CN_QuerySignature, and required in their lParam.
constexpr LPARAM SkinSignature = 0x41A2;

// The control objects (winsubclass).
// Switches the skinning of one control: wParam > 0 on, otherwise off. Never reaches the control.
constexpr UINT CN_ControlActive = 0x3506;
// Sent to the skinned form's window when a tab's close box is clicked: wParam is the tab
// control's window, lParam the tab's index. An answer other than 0 keeps the page.
constexpr UINT CN_TabClose = 0x3507;
// An edit paints itself into the device context in wParam; lParam and the answer are the
// skin signature.
constexpr UINT CN_PaintTo = 0xBC4A;

// ----------------------------------------------------------------- no two alike

namespace private_messages {

// Every number above but the deliberate second use of one (CN_AfterSkin, see there).
constexpr std::array kAll = {CM_ACTIVATE,
                             CM_DEACTIVATE,
                             CM_DIALOGKEY,
                             CM_DIALOGCHAR,
                             CM_FOCUSCHANGED,
                             CM_PARENTFONTCHANGED,
                             CM_PARENTCOLORCHANGED,
                             CM_HITTEST,
                             CM_VISIBLECHANGED,
                             CM_ENABLEDCHANGED,
                             CM_COLORCHANGED,
                             CM_FONTCHANGED,
                             CM_CURSORCHANGED,
                             CM_TEXTCHANGED,
                             CM_MOUSEENTER,
                             CM_MOUSELEAVE,
                             CM_MENUCHANGED,
                             CM_BUTTONPRESSED,
                             CM_SHOWINGCHANGED,
                             CM_ENTER,
                             CM_EXIT,
                             CM_WANTSPECIALKEY,
                             CM_RELEASE,
                             CM_TABSTOPCHANGED,
                             CM_CHILDKEY,
                             CM_RECREATEWND,
                             CN_CTLCOLORMSGBOX,
                             CN_CTLCOLOREDIT,
                             CN_CTLCOLORLISTBOX,
                             CN_CTLCOLORBTN,
                             CN_CTLCOLORDLG,
                             CN_CTLCOLORSCROLLBAR,
                             CN_CTLCOLORSTATIC,
                             CN_COMMAND,
                             CN_NOTIFY,
                             CN_DRAWITEM,
                             CN_MEASUREITEM,
                             CN_HSCROLL,
                             CN_VSCROLL,
                             CN_KEYDOWN,
                             CN_CHAR,
                             CN_SYSKEYDOWN,
                             CN_SYSCHAR,
                             CN_SkinActive,
                             CN_IsSkinned,
                             CN_ControlCreated,
                             CN_SkinChanged,
                             CN_UpdateNC,
                             CN_SysBtnAction,
                             CN_SysBtnVisible,
                             CN_MDIRedraw,
                             CN_ReCreateWnd,
                             CN_MenuSelect,
                             CN_PaintNCTo,
                             CN_QuerySignature,
                             CN_ControlActive,
                             CN_TabClose,
                             CN_PaintTo};

constexpr bool AllDifferent() {
  auto sorted = kAll;
  std::sort(sorted.begin(), sorted.end());
  return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
}

static_assert(AllDifferent(), "two private window messages share a number");
static_assert(CN_AfterSkin == CN_NOTIFY, "CN_AfterSkin keeps the number foreign windows know");
// Private messages stay out of the system's range and below the registered ones.
static_assert(std::all_of(kAll.begin(), kAll.end(),
                          [](UINT m) { return m >= WM_USER && m < 0xC000; }));

} // namespace private_messages
