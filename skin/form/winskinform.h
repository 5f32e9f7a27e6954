// The form skinning object: one TWinSkinForm per skinned top-level window.
//
// It subclasses the window, takes over the non-client area (borders, caption band, caption
// buttons, menu band), gives the window the skin's border sizes and puts everything back when
// the window is unskinned or destroyed. The skin manager (winskindlg.h) creates it, lists it and
// posts CN_SkinActive, which runs the activation sequence.
//
// The unit is split by role: winskinform.cpp (lifecycle and message dispatch),
// winskinform_caption.cpp (frame, caption and caption buttons), winskinform_sysmenu.cpp (the
// skinned system menu and system commands), winskinform_region.cpp (the window region),
// winskinform_mdi.cpp (the MDI client and a maximised child's caption buttons),
// winskinform_controls.cpp (the control-attachment entry points).
#pragma once

#include "framework/core/classes.h"
#include "framework/core/delegates.h"
#include "framework/gui/bitmap.h"
#include "framework/gui/canvas.h"
#include "framework/gui/gdiobj.h"
#include "framework/gui/graphics.h"
#include "framework/gui/menus.h"
#include "framework/gui/subclass.h"
#include "skin/data/winskindlg.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TCustomForm;
class TTimer;
class TPopupMenu;
class TMenuItem;
class TSkinData;
class TDataSkinSysButton;
class TSkinControl;
class TWinSkinMenu;
class TMenuBtn;
class TWinSkinForm;
class TWinControl;
class TToolBar;
class TToolButton;

// The GetVersion value of the process (0x80000000 and above: a Windows 9x-family system); the
// skin manager sets it when it installs its hook.
extern DWORD WinVersion;

// ----------------------------------------------------------------- enumerations

enum TSkinFormStyle { sfsNormal, sfsMDIform, sfsMDIChild, sfsChild };
enum TSkinFormBorder { sbsSizeable, sbsSingle, sbsNone, sbsDialog };
enum TSkinWindowState { swsNormal, swsMax, swsMin };
enum TSkinFormIcon { sbiMax, sbiMin, sbiHelp, sbisystem, sbicaption };
using TSkinFormIcons = uint8_t; // bit n for TSkinFormIcon n

// ----------------------------------------------------------------- non-client objects

// Something in the non-client area that reacts to the mouse. BoundsRect is in window
// coordinates of the skinned layout (see TWinSkinForm::GetWinXY).
class TNCObject : public TObject {
public:
  explicit TNCObject(TWinSkinForm *form) : Form(form) {}

  TWinSkinForm *Form;
  RECT BoundsRect{0, 0, 0, 0};
  bool Visible = false;
  int State = 1; // 1 normal, 2 pressed, 3 hot

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Draw() {}
};

// One caption button, showing a TDataSkinSysButton of the skin in use.
class TWinSysButton : public TNCObject {
public:
  TWinSysButton(TWinSkinForm *form, TDataSkinSysButton *button)
      : TNCObject(form), SkinButton(button) {}
  TDataSkinSysButton *SkinButton;
  void Draw() override;
};

// ----------------------------------------------------------------- TWinSkinForm

class TWinSkinForm : public TComponent {
public:
  explicit TWinSkinForm(TComponent *owner);
  ~TWinSkinForm() override;

  // --- the window
  HWND Handle = nullptr;
  TCustomForm *Form = nullptr;
  TSkinData *SkinData = nullptr;
  HINSTANCE InstanceMark = nullptr; // the Instance of the manager that made this object
  WNDPROC OldWndProc = nullptr;
  bool Subclassed() const { return subclassed_; }
  TWndMethod OldWindowProc; // the framework form's own message method, while hooked
  bool SkinFrame = false;
  int SkinState = 0; // 0 pending, 1 active, 3 changing skin, 4 being destroyed, 5 sizing, 6 gone
  bool Active = true;
  TSkinFormStyle FormStyle = sfsNormal;
  TSkinFormBorder BorderStyle = sbsSingle;
  TSkinWindowState WindowState = swsNormal;
  TSkinFormIcons Icons = 0;
  DWORD Style = 0;
  bool IsChild = false;
  bool Sizeable = false;
  bool RightToLeft = false;
  bool Unicode = false;
  bool IsDialog = false;
  std::string ClassName;
  HWND OwnerWindow = nullptr;
  HMENU SystemMenu = nullptr;
  HWND MDIClient = nullptr;

  // --- skinned geometry
  int LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
  int MenuHeight = 0;
  RECT SysBorder{0, 0, 0, 0};
  RECT ClientRect{0, 0, 0, 0};
  RECT WindowRect{0, 0, 0, 0};
  int WindowWidth = 0, WindowHeight = 0;
  TColor SavedColor = 0;

  // --- owned helpers
  TTimer *Timer = nullptr; // owned through the component tree
  TCanvas Canvas;
  TCanvas ControlCanvas;
  TBitmap IconBitmap;
  HICON IconHandle = nullptr; // the window's own icon, not owned
  int IconSize = 0;
  TBitmap CaptionBitmap;
  TFont CaptionFont;
  TWinSkinMenu *SkinMenu = nullptr; // the skinned menu bar
  HMENU MenuHandle = nullptr;
  HMENU OpenSubMenu = nullptr; // the drop-down opened from the menu bar
  bool MenuTracking = false;   // while that drop-down is tracked
  std::unique_ptr<TPopupMenu> SysMenuPopup;
  std::vector<std::unique_ptr<TWinSysButton>> SysBtns;
  TNCObject *HotObject = nullptr;
  TWinSysButton *PressedButton = nullptr; // the caption button the left button went down on
  TSkinControl *HoverControl = nullptr;
  std::vector<TSkinControl *> Controls;

  // --- the window region
  bool HasRegion = false;
  int RegionWidth = 0, RegionHeight = 0; // the window size the region was last made for
  int RegionBuilds = 0;                  // regions cut so far (read by tests and benchmarks)

  // --- system menu timing
  UINT DoubleClickTime = 0;
  DWORD LastPopupTime = 0;

  // The two ends of the caption text as last drawn (window coordinates); buttons with Align 2
  // and 8 sit left of the first, 3 and 9 right of the second.
  int CaptionTextLeft = 0, CaptionTextRight = 0;
  // The largest left edge of the buttons placed from the right (Align 1): the caption text
  // stops there.
  int RightButtonsLeft = 0;

  // --- attaching and detaching
  void InitTform(TSkinData *data, TCustomForm *form);
  void InitDlg(TSkinData *data);
  void InitSkin(TSkinData *data);
  void InitSkinData();
  void GetBorderSize();
  void ResizeForm(bool keepClient);
  void SkinChange();
  void UnSubclass();
  void UnSubclass2();
  void UnSubclass3();
  void BeginUpdate();
  void StopUpdate();
  void EnableSysbtn(bool on);
  void UpdateStyle(bool on);
  void GetWindowstate();
  void GetFormstyle();
  POINT GetWinXY(int x, int y) const;
  void Refresh();
  static void RePaint(HWND window);
  void AfterSkin();
  bool Has(TSkinFormIcon icon) const { return (Icons >> icon) & 1u; }

  // --- message handling
  void WinWndProc(TMessage &message);
  void NewWndProc(TMessage &message);
  void Default(TMessage &message);

  // --- frame, caption and caption buttons
  void UpdateNc(HDC dc = nullptr);
  void Drawborder(int index, const RECT &rect, HDC dc);
  // Border index (1 left, 2 right, 3 top, 4 bottom) composed at a size in the frame of the
  // current activation state; null when empty. Kept until the size, the state or the skin
  // changes, so a repaint only copies.
  TBitmap *BorderImage(int index, int width, int height);
  void DrawFLine(HDC dc);
  void DrawCaptionText(HDC dc, const RECT &band);
  void SetSysbtnRect();
  bool Checkvisible(int index);
  bool VisibleBy(int code, bool needsSystemMenu) const;
  void DrawAllSysbtn(TCanvas &canvas, const RECT &rect);
  void DrawSysbtn(TWinSysButton *button, int state);
  void GetIcon();
  void DrawIcon(HDC dc, const RECT &rect);
  TWinSysButton *FindBtn(POINT point) const;
  void SysBtnAction(int x, int y);
  void Maximize();
  void Restore();
  void Minimize();
  void MDIChildAction(WPARAM command);
  void OnTimer(TObject *sender);
  void DeleteSysbtns();

  // --- system menu
  void PopSysmenu(POINT point);
  void CreateSysmenu2();
  void CreateSysmenu();
  void AddSysMenuitem(const std::string &caption, int tag, const std::string &shortcut = {});
  bool CheckSysmenu() const;
  void DoSysMenu(TObject *sender);
  void DoSysMenu2(TObject *sender);
  // The system menu's items get the skinned drawing.
  void ItemsDrawnBySkin();

  // --- owner-drawn menu items (winskinform_menuitem.cpp)
  // Switches the drop-down items of the form's main menus to the skin's drawing, or back.
  void InitMainMenu(bool on);
  // The same for the popup menus control owns (and those of forms it owns).
  void InitPopMenu(TComponent *control, bool on);
  // The same for the items under parent (a tool button's menu).
  void InitToolbarMenu(TMenuItem *parent, bool on);
  // Gives every tool-button menu item whose handlers are still ours the handlers it had.
  void GiveBackToolbarMenus();
  // OnMeasureItem handlers: add the room of the skinned layout to the item's own measure.
  void MeasureItem(TObject *sender, TCanvas *canvas, int &width, int &height);
  void MeasureItemPop(TObject *sender, TCanvas *canvas, int &width, int &height);
  // The OnDrawItem handler.
  void DrawMenuItem(TObject *sender, TCanvas *canvas, RECT rect, bool selected);
  void DrawItemText(TMenuItem *item, TCanvas &canvas, RECT rect, bool selected);
  void DoDrawText(TMenuItem *item, TCanvas &canvas, const std::string &text, RECT &rect, UINT flags,
                  bool selected);
  // A separator from frame 2 of the MenuItem image.
  void DrawMenuCaption(TCanvas &canvas, const RECT &rect);
  // Without a MenuItem element: plain scheme colours.
  void DefaultMenuItem(TMenuItem *item, TCanvas &canvas, RECT rect, bool selected);
  // A framework item made from a native one (caption and shortcut, state).
  static std::unique_ptr<TMenuItem> CreateMenuItem(HMENU menu, UINT command);
  void DrawHMenuItem2(TMenuItem *item, TCanvas &canvas, RECT rect, bool selected, HMENU menu);
  void WMMEASUREITEM(TMessage &message);
  void WMDRAWITEM(TMessage &message);

  // --- tool bars (winskinform_toolbar.cpp): their custom-draw handlers
  void ToolBarDrawBackground(TToolBar *sender, const RECT &rect, bool &defaultDraw);
  void ToolBarDrawButton(TToolBar *sender, TToolButton *button, uint16_t state, bool &defaultDraw);

  // --- the menu bar (winskinform_menubar.cpp)
  // Opens the button's drop-down and tracks it; moves on to other buttons as the keyboard
  // or the mouse asks while it is open.
  void CheckMenu(TMenuBtn *button);
  // A press on the button, as a posted non-client click.
  void ClickButton(TMenuBtn *button);
  TMenuBtn *FindButtonFromAccel(wchar_t key);
  TMenuBtn *FirstMenuButton() const;
  void CMDialogChar(TMessage &message);
  void MenuSelect(TMessage &message);
  void CancelMenu();
  // The message-filter hook's work on one message of the tracked drop-down: true when it
  // switched to another button (the message is consumed).
  bool TrackMessage(const MSG &msg);
  void TrackMenuSelect(TMessage &message);
  // Mouse over or pressed on a menu-bar button; false when the point is on none.
  bool MenuBarMouse(UINT msg, POINT point);
  // CM_MENUCHANGED: the buttons follow the window's new menu.
  void MenuChanged(TMessage &message, bool hooked);
  // The skinned band follows the window's menu: made when a menu comes after skinning, its
  // buttons rebuilt, dropped when the menu goes.
  void UpdateMenuBar();

  // --- window region
  void Cropwindow();
  void Uncropwindow();
  bool CutsRegion() const;
  // The region for a window of W x H under the skin's borders (the caller owns it).
  GdiRegion BuildRegion(int W, int H);
  GdiRegion BorderRegion(int index, int x, int y, int width, int height, bool cut);

  // --- MDI (winskinform_mdi.cpp)
  WNDPROC OldMDIProc = nullptr; // the MDI client's own procedure while subclassed
  bool SavedMenuUpdate = true;  // the skin component's MenuUpdate before the first child
  void SubclassMDI();
  void UnSubclassMDI();
  void WinMDIProc(TMessage &message);
  void DefaultMDI(TMessage &message);
  // An MDI main form whose active child is maximised.
  bool MDIChildMax() const;
  // The caption buttons of the active maximised MDI child, shown in the main form's menu band
  // (Visibility 100, laid out by SetSysbtnRect). For the menu bar: DrawMDIButtons paints them
  // into the bar's picture, whose origin is the band's top-left; FindMDIButton finds one by a
  // point in window coordinates (GetWinXY); PressMDIButton runs its command on the child.
  void DrawMDIButtons(HDC bar);
  TWinSysButton *FindMDIButton(POINT point) const;
  void PressMDIButton(TWinSysButton *button);
  // SC_MINIMIZE, SC_RESTORE or SC_CLOSE for the MDI child actions; 0 for any other action.
  static WPARAM MDIButtonCommand(int action);

  // --- control attachment (winskinform_controls.cpp)
  void InitControls(TWinControl *form);
  // AddComp for every control the parent owns, or for every child control of the parent.
  void InitControlA(TComponent *parent);
  void InitChildCtrl(TWinControl *parent);
  void AddComp(TControl *control, TControl *parent);
  // Applies the Skin3rd class mapping; true when an entry matched (attached or not).
  bool Find3rdControl(const std::string &className, TControl *control);
  void DisableControl(TControl *control);
  bool FindSkinComp(TControl *control) const;
  void DoSkinEdit(TControl *control);
  void InitNestform(TCustomForm *form);
  // Attaches control and the controls under it, or every control of the form when null.
  void UpdateSkinControl(TControl *control);
  // Frees the object of a windowless control that is going away.
  void DeleteGraphicControl(TControl *control);
  // CN_ControlCreated: a child window made after this window was skinned gets its painter, as
  // the first walk would have given it one.
  void ControlCreated(HWND window);
  // Foreign windows.
  void InitHwndControls(HWND parent);
  void AddControlh(HWND control);
  TSkinControl *Lookupcontrol(HWND control) const;
  void WMReCreateWnd(HWND control);
  // True when it was listed already.
  bool AddControlList(TSkinControl *control);
  void DeleteControl(TSkinControl *control);
  void DeleteControls();
  void DeleteSkinDeleted();

private:
  void HideMDIScrollBars();
  void MDIChildGone();
  void TakeMDIMenu(HMENU frameMenu);
  void ReadMDIChildState();
  void Subclass();
  void RestoreWndProc();
  void HookForm();
  void UnhookForm();
  void Activate();
  void RunStage2(TMessage &message);
  void RunStage3(TMessage &message);
  void WMNCCalcSize(TMessage &message);
  void WMNCHitTest(TMessage &message);
  void WMNCActive(TMessage &message);
  void WMSize(TMessage &message);
  void WMGetMinMaxInfo(TMessage &message);
  void WMNCPaint(TMessage &message);
  void WMSetText(TMessage &message);
  void WMNCMouseMove(TMessage &message);
  void WMNCLButtonDown(TMessage &message);
  void WMNCLButtonUp(TMessage &message);
  void WMNCLBUTTONDBLCLK(TMessage &message);
  void WMNCRButtonUp(TMessage &message);
  void WMSysCommand(TMessage &message);
  void PaintNCTo(TMessage &message);
  void ForeignColors(TMessage &message, bool answerBrush);
  LONG_PTR GetLong(int index) const;
  void SetLong(int index, LONG_PTR value) const;
  void FreeMenuBar();
  // Gives the form's menus their own drawing back.
  void RestoreMenuDrawing();
  bool TidyItems(TMenuBtn *button);
  void AssignMainMenuItems(TMenuItem *parent, int depth, bool on);
  void AssignPopupItems(TMenuItem *parent, bool on);
  TMenuItem *FormMenuItem(UINT command) const;
  static std::string NativeItemText(HMENU menu, UINT command);
  void DrawSkinnedItem(TMenuItem *item, TCanvas &canvas, RECT rect, bool selected, HMENU menu);
  // The popup window's background under an item of menu, or the menu colour.
  void MenuBackgroundUnder(HMENU menu, const RECT &rect, TCanvas &canvas);
  bool IsMDIChild() const { return FormStyle == sfsMDIChild; }
  bool MaximisedMDIChild() const { return IsMDIChild() && WindowState == swsMax; }
  void MoveChildrenRight(int by);

  // Tool-button menu items this object draws, with the handlers they had before.
  struct TakenMenuItem {
    TMenuItem *item;
    TMenuDrawItemEvent draw;
    TMenuMeasureItemEvent measure;
  };
  std::vector<TakenMenuItem> toolbarItems_;

  struct ComposedBorder {
    int width = -1, height = -1, frame = 0;
    std::unique_ptr<TBitmap> image;
  };
  std::array<ComposedBorder, 4> borders_;
  TFont titleFont_;   // the caption font at the title element's height
  GdiIcon smallIcon_; // IconHandle at the small icon size

  bool regionStale_ = true; // the skin changed since the region was made

  TWindowSubclass frame_{slForm};
  TWindowSubclass mdiClient_{slMDIClient};
  bool subclassed_ = false;
  bool formHooked_ = false;
  bool activated_ = false;
};

// The skinning object of a window, or null (looked up through the window property).
TWinSkinForm *FindWinSkinForm(HWND window);
