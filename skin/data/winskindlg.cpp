#include "skin/data/winskindlg.h"

#include "skin/data/winskindata.h"

#include <algorithm>

namespace {

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

// Frees the manager when the unit ends. It touches the registry of live objects in its
// constructor so that the registry outlives it.
struct UnitEnd {
  UnitEnd() { TObject::LiveCount(); }
  ~UnitEnd() {
    delete SkinManager;
    SkinManager = nullptr;
  }
} unitEnd;

} // namespace

TSkinManage *SkinManager = nullptr;
HINSTANCE myinstance = ThisModule();
bool Win32PlatformIsUnicode = true; // every system this runs on is of the NT family
UINT DefaultUserCodePage = 0;

TSkinManage::TSkinManage(bool library) {
  if (library)
    Instance = myinstance;
}

TSkinManage::~TSkinManage() {
  State = 4;
  Enabled = false;
}

void TSkinManage::AddSkinData(TSkinData *data) {
  SkinDatas.push_back(data);
  if (MainSkinData == nullptr && data != nullptr && data->SkinFormtype == sfMainform)
    MainSkinData = data;
}

void TSkinManage::RemoveSkinData(TSkinData *data) {
  SkinDatas.erase(std::remove(SkinDatas.begin(), SkinDatas.end(), data), SkinDatas.end());
  if (MainSkinData == data)
    MainSkinData = nullptr;
  if (ActionSkinData == data)
    ActionSkinData = nullptr;
}

void TSkinManage::InstallHook() {}

int TSkinManage::InstallThread(DWORD) {
  return -1;
}

void TSkinManage::UnInstallThread(DWORD) {}

void TSkinManage::SetAction(int32_t code, UINT) {
  Action = code;
}

bool TSkinManage::AddForm(HWND) {
  return false;
}

void TSkinManage::DeleteSysbtn() {}

void TSkinManage::AssignData(TSkinManage *host) {
  Host = host;
}

void TSkinManage::UpdateMenu(TCustomForm *) {}
void TSkinManage::UpdateMainMenu() {}
void TSkinManage::UpdateSkinControl(TCustomForm *, TControl *) {}
void TSkinManage::AddNestForm(TControl *, TCustomForm *) {}
void TSkinManage::DeleteGraphicControl(TCustomForm *, TControl *) {}
