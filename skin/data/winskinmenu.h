// Popup menu windows ("#32768"): one TWinSkinPopMenu per window, from its creation (the skin
// manager's hook) to its WM_DESTROY. It gives the window the skin's MenuBackground: the frame
// around the items, and the picture the owner-drawn items take their background from.
//
// Where the system draws the menu's edge inside the client area (no non-client frame), the
// window is painted the way a printed menu is: background first, then the system's items
// clipped to the area inside the frame.
#pragma once

#include "framework/core/objects.h"
#include "framework/gui/bitmap.h"
#include "framework/gui/subclass.h"
#include "skin/data/winskindlg.h"

#include <windows.h>

class TSkinData;
struct TMessage;

class TWinSkinPopMenu : public TObject {
public:
  TWinSkinPopMenu();
  ~TWinSkinPopMenu() override;
  TWinSkinPopMenu(const TWinSkinPopMenu &) = delete;
  TWinSkinPopMenu &operator=(const TWinSkinPopMenu &) = delete;

  WNDPROC OldWndProc = nullptr;
  HWND Handle = nullptr;
  TSkinData *SkinData = nullptr;
  TBitmap *Background; // owned: the window-sized picture last composed
  HMENU MenuHandle = nullptr;
  bool FromPopupMenu = false;
  bool Subclassed() const { return subclassed_; }

  void InitSkin(HWND window, TSkinData *data, HMENU menu);
  void UnSubClass();
  void Default(TMessage &message);
  void WinWndProc(TMessage &message);
  void WMERASEBKGND(TMessage &message);
  void NcPaint(TMessage &message);
  void WMPrint(TMessage &message);
  void WMPaint(TMessage &message);

  // Composes Background at the window's size; false when the skin gives no MenuBackground.
  bool ComposeBackground();
  // Where the client area starts in the window (the width of the non-client frame).
  POINT ClientOffset() const;
  // The menu the window shows: MenuHandle, or the window's own answer.
  HMENU ShownMenu() const;

private:
  // Background at (0, 0) of dc, then the saved procedure's print of the items clipped to the
  // area inside the three-pixel frame; answers that procedure's result.
  LRESULT PrintOver(HDC dc, UINT msg, LPARAM flags);
  TWindowSubclass subclass_{slPopupMenu};
  bool subclassed_ = false;
};

// The popup object of a menu window, looked up through the window property; null when none.
TWinSkinPopMenu *FindWinSkinPopMenu(HWND window);
