// The process-wide skin manager: which top-level windows are skinned, with which TSkinData, and
// the deferred actions (skin all, unskin all, skin changed, re-skin one form) that the skin data
// components request.
//
// This is the manager's interface as the skin data component uses it. The hook, the timer and
// the lists of form and menu skinning objects arrive with the manager itself; every operation
// the component calls is virtual, so that work replaces these bodies without touching the
// component. Until then the operations record their request in the fields and do nothing else.
#pragma once

#include "framework/core/objects.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class TSkinData;
class TCustomForm;
class TControl;

// The private window messages of the skin engine that this unit owns.
constexpr UINT CN_SkinActive = 0x3503;
constexpr UINT CN_IsSkinned = 0x3523;

// Pending action codes (Action).
enum : int32_t {
  saSkinAll = 1,
  saUnskinAll = 2,
  saSkinChanged = 3,
  saDropDeleted = 6,
  saChangeForm = 7
};

class TSkinManage : public TObject {
public:
  // library: a manager of a module loaded by a skinned host (it shares the host's lists).
  explicit TSkinManage(bool library);
  ~TSkinManage() override;
  TSkinManage(const TSkinManage &) = delete;
  TSkinManage &operator=(const TSkinManage &) = delete;

  HHOOK CBTHook = nullptr;
  // Every TSkinData of the module in creation order (not owned).
  std::vector<TSkinData *> SkinDatas;
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
  // Drops the caption buttons of every form skinned with ActionSkinData.
  virtual void DeleteSysbtn();
  // Attaches this (library) manager to a host, or detaches it (nullptr).
  virtual void AssignData(TSkinManage *host);

  // Requests the skin data component passes on to the skinning object of a form.
  virtual void UpdateMenu(TCustomForm *form);
  virtual void UpdateMainMenu();
  virtual void UpdateSkinControl(TCustomForm *form, TControl *control);
  virtual void AddNestForm(TControl *host, TCustomForm *form);
  virtual void DeleteGraphicControl(TCustomForm *form, TControl *control);
};

// The one manager of this module; created by the first TSkinData::Loaded, freed at exit.
extern TSkinManage *SkinManager;

// The module these units are linked into (the program, or a library).
extern HINSTANCE myinstance;
// True on the NT family; text conversions use DefaultUserCodePage (0: the ANSI code page).
extern bool Win32PlatformIsUnicode;
extern UINT DefaultUserCodePage;
