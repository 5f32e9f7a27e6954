// The process-wide skin manager: which top-level windows are skinned, with which TSkinData, and
// the deferred actions (skin all, unskin all, skin changed, re-skin one form) that the skin data
// components request.
//
// It learns about windows through a computer-based-training hook on the GUI thread (and,
// on request, on further threads), keeps one TWinSkinForm per skinned window and runs every
// bulk change from its one-shot timer, never inside a hook or a message handler. A manager of a
// library module (a "sub" manager) shares its host's lists.
//
// The operations the skin data component calls are virtual, so that tests can watch them.
#pragma once

#include "framework/core/objects.h"
#include "framework/gui/messages.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TSkinData;
class TCustomForm;
class TControl;
class TTimer;
class TWinSkinForm;
class TWinSkinPopMenu;
class TBitmap;

// The subclass layers (TWindowSubclass) of the engine's objects, one per kind of window they
// take over, so that each keeps its own place in a window's chain of procedures.
enum TSkinSubclassLayer : int {
  slForm,          // a skinned top-level window (TWinSkinForm)
  slControl,       // a control without a framework object (TSkinControl)
  slPopupMenu,     // a popup-menu window (TWinSkinPopMenu)
  slMDIClient,     // the client window of an MDI main form
  slComboEdit,     // the edit inside a skinned combo box
  slScrollOverlay, // a scroll-bar overlay window
};

// Pending action codes (Action).
enum : int32_t {
  saSkinAll = 1,
  saUnskinAll = 2,
  saSkinChanged = 3,
  saDropDeleted = 6,
  saChangeForm = 7
};

// A CBT hook on a thread other than the main one.
class TSkinThread : public TObject {
public:
  HHOOK Hook = nullptr;
  DWORD ThreadId = 0;
};

class TSkinManage : public TObject {
public:
  // library: a manager of a module loaded by a skinned host (it shares the host's lists).
  explicit TSkinManage(bool library);
  ~TSkinManage() override;
  TSkinManage(const TSkinManage &) = delete;
  TSkinManage &operator=(const TSkinManage &) = delete;

  TTimer *Timer = nullptr; // owned: the one-shot action timer
  HHOOK CBTHook = nullptr;
  // Every TSkinData of the module in creation order (not owned).
  std::vector<TSkinData *> SkinDatas;
  std::vector<TSkinManage *> Subs; // managers of library modules attached to this one
  bool Enabled = false;
  bool Force = false; // lifts the nested-window test of AddForm for an explicit request
  int32_t State = 0;  // 0 nothing skinned yet, 1 skinning in effect, 4 shutting down
  int32_t MenuKind = 0;
  bool PopupFlag = false;
  bool MDIMax = false;
  bool HideWhileSkinning = true;
  HWND MDIClient = nullptr;
  TCustomForm *MDIForm = nullptr;
  int32_t Action = 0;
  TSkinData *ActionSkinData = nullptr;
  TSkinData *MainSkinData = nullptr; // the first sfMainform data added
  HINSTANCE Instance = nullptr;      // none in the main program
  HWND ChangeFormHandle = nullptr;
  TSkinManage *Host = nullptr;

  // The lists in use: the host's in a sub manager.
  std::vector<TWinSkinForm *> &Forms() { return Lists().forms_; }
  std::vector<TWinSkinPopMenu *> &Menus() { return Lists().menus_; }
  std::vector<std::unique_ptr<TSkinThread>> &Threads() { return Lists().threads_; }

  // List maintenance of SkinDatas.
  virtual void AddSkinData(TSkinData *data);
  virtual void RemoveSkinData(TSkinData *data);

  virtual void InstallHook();
  // Returns the list index of the thread's hook (or the id when it already has one).
  virtual int InstallThread(DWORD threadId);
  virtual void UnInstallThread(DWORD threadId);
  // Schedules action code after interval ms (see the action codes above).
  virtual void SetAction(int32_t code, UINT interval);
  // True when a skinning object was created for the window.
  virtual bool AddForm(HWND window);
  void DeleteForm(HWND window);
  // Forgets the object of window without freeing it (its destructor calls this).
  void DeleteForm2(HWND window);
  void DeleteForm3();
  void DeleteDeleted();
  TWinSkinForm *FindSkinForm(HWND window);
  // The skinning object of window or of its nearest ancestor that has one, or null.
  TWinSkinForm *FindSkinFormAround(HWND window);
  TCustomForm *FindTForm(HWND window) const;
  void FindSkindata(TSkinData *&data, HWND window);
  bool OnBeforeSkin(HWND window, const std::string &className);
  void ActiveForm(TCustomForm *form);
  static bool NestedForm(HWND window);
  void SetMDIMax(bool value);
  // Drops the caption buttons of every form skinned with ActionSkinData.
  virtual void DeleteSysbtn();
  // Attaches this (library) manager to a host, or detaches it (nullptr).
  virtual void AssignData(TSkinManage *host);

  // Popup-menu windows ("#32768"), one TWinSkinPopMenu each (winskinmenu.h).
  void AddMenu(HWND window);
  void DeleteMenu(HWND window);
  TWinSkinPopMenu *FindSkinMenu(HWND window);
  // Marks every listed popup as belonging to a framework popup menu.
  void SetPopMenu();
  // Gives the menu to the most recently listed popup that has none yet.
  void SetHMenu(HMENU menu);
  // The listed popup that shows the menu, or null.
  TWinSkinPopMenu *FindMenuOf(HMENU menu);
  // That popup's background picture (composed at its window size), or null.
  TBitmap *GetMenuBg(HMENU menu);

  // Requests the skin data component passes on to the skinning object of a form.
  virtual void UpdateMenu(TCustomForm *form);
  virtual void UpdateMainMenu();
  virtual void UpdateSkinControl(TCustomForm *form, TControl *control);
  virtual void AddNestForm(TControl *host, TCustomForm *form);
  virtual void DeleteGraphicControl(TCustomForm *form, TControl *control);

  // Teardown.
  void DeleteAllForms();
  void DeleteAllMenus();
  void DeleteAllThreads();
  void DeleteAllSub();
  void DeleteSub(TSkinManage *sub);
  void DeleteSubForm(HINSTANCE instance);

private:
  // The attached skinning objects of a framework form.
  std::vector<TWinSkinForm *> SkinFormsOf(TCustomForm *form);
  static LRESULT CALLBACK SkinHookCBT(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SkinHookCBT2(int code, WPARAM wParam, LPARAM lParam);
  bool HookEvent(int code, HWND window, LPARAM lParam, bool perThread);
  void OnTimer(TObject *sender);
  void RunOnlyThisForm(int32_t action);
  void RunForAll(int32_t action);
  // Unsubclasses, repaints and frees one listed object.
  void Unskin(TWinSkinForm *form);
  void DropDestroyed(bool ownOnly);
  TSkinManage &Lists() { return Host != nullptr ? *Host : *this; }

  std::vector<TWinSkinForm *> forms_;
  std::vector<TWinSkinPopMenu *> menus_;
  std::vector<std::unique_ptr<TSkinThread>> threads_;
};

// The one manager of this module; created by the first TSkinData::Loaded, freed at exit.
extern TSkinManage *SkinManager;

// The module these units are linked into (the program, or a library).
extern HINSTANCE myinstance;
// True on the NT family; text conversions use DefaultUserCodePage (0: the ANSI code page).
extern bool Win32PlatformIsUnicode;
extern UINT DefaultUserCodePage;
