#include "skin/data/winskindlg.h"

#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskinmenu.h"
#include "skin/form/winskinform.h"

#include <algorithm>
#include <cctype>
#include <memory>

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

std::string WindowClass(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string Lower(std::string text) {
  for (char &c : text)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return text;
}

} // namespace

TSkinManage *SkinManager = nullptr;
HINSTANCE myinstance = ThisModule();
bool Win32PlatformIsUnicode = true; // every system this runs on is of the NT family
UINT DefaultUserCodePage = 0;

// ----------------------------------------------------------------- life

TSkinManage::TSkinManage(bool library) {
  if (library)
    Instance = myinstance;
  Timer = new TTimer(nullptr);
  Timer->SetEnabled(false);
  Timer->SetInterval(100);
  Timer->SetOnTimer(TNotifyEvent(this, &TSkinManage::OnTimer));
}

TSkinManage::~TSkinManage() {
  State = 4;
  Enabled = false;
  delete Timer;
  Timer = nullptr;
  if (Instance == nullptr) {
    DeleteAllThreads();
    if (!Subs.empty() || !forms_.empty())
      DeleteAllForms();
    DeleteAllMenus();
    SkinDatas.clear();
    DeleteAllSub();
  } else if (CBTHook != nullptr && Host != nullptr && TObject::IsLive(Host)) {
    Host->DeleteSub(this);
    Host->DeleteSubForm(Instance);
  }
  if (CBTHook != nullptr)
    UnhookWindowsHookEx(CBTHook);
  CBTHook = nullptr;
}

void TSkinManage::DeleteAllForms() {
  Enabled = false;
  auto &forms = Forms();
  for (size_t i = forms.size(); i-- > 0;) {
    TWinSkinForm *form = forms[i];
    if (!TObject::IsLive(form)) {
      forms.erase(forms.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    if (form->InstanceMark != Instance)
      continue;
    forms.erase(forms.begin() + static_cast<std::ptrdiff_t>(i));
    form->SkinState = 4;
    form->UnSubclass3();
    delete form;
  }
}

void TSkinManage::DeleteAllMenus() {
  for (TWinSkinPopMenu *menu : menus_)
    if (TObject::IsLive(menu))
      delete menu;
  menus_.clear();
}

void TSkinManage::DeleteAllThreads() {
  for (auto &thread : threads_)
    UnhookWindowsHookEx(thread->Hook);
  threads_.clear();
}

void TSkinManage::DeleteAllSub() {
  for (TSkinManage *sub : std::vector<TSkinManage *>(Subs))
    if (TObject::IsLive(sub))
      sub->AssignData(nullptr);
  Subs.clear();
}

void TSkinManage::DeleteSub(TSkinManage *sub) {
  std::erase(Subs, sub);
}

void TSkinManage::DeleteSubForm(HINSTANCE instance) {
  auto &forms = Forms();
  for (size_t i = forms.size(); i-- > 0;) {
    TWinSkinForm *form = forms[i];
    if (!TObject::IsLive(form) || form->InstanceMark != instance)
      continue;
    forms.erase(forms.begin() + static_cast<std::ptrdiff_t>(i));
    // The library's form goes, and its skinning object with it.
    if (TComponent *owner = form->Owner())
      delete owner;
    else
      delete form;
  }
}

// ----------------------------------------------------------------- skin data list

void TSkinManage::AddSkinData(TSkinData *data) {
  SkinDatas.push_back(data);
  if (MainSkinData == nullptr && data != nullptr && data->SkinFormtype == sfMainform)
    MainSkinData = data;
}

void TSkinManage::RemoveSkinData(TSkinData *data) {
  std::erase(SkinDatas, data);
  if (MainSkinData == data)
    MainSkinData = nullptr;
  if (ActionSkinData == data)
    ActionSkinData = nullptr;
}

// ----------------------------------------------------------------- hooks

void TSkinManage::InstallHook() {
  WinVersion = GetVersion();
  if (CBTHook == nullptr)
    CBTHook = SetWindowsHookExA(WH_CBT, &TSkinManage::SkinHookCBT, nullptr, GetCurrentThreadId());
}

int TSkinManage::InstallThread(DWORD threadId) {
  auto &threads = Threads();
  for (const auto &thread : threads)
    if (thread->ThreadId == threadId)
      return static_cast<int>(threadId);
  auto thread = std::make_unique<TSkinThread>();
  thread->ThreadId = threadId;
  thread->Hook = SetWindowsHookExA(WH_CBT, &TSkinManage::SkinHookCBT2, nullptr, threadId);
  threads.push_back(std::move(thread));
  return static_cast<int>(threads.size() - 1);
}

void TSkinManage::UnInstallThread(DWORD threadId) {
  auto &threads = Threads();
  auto it = std::find_if(threads.begin(), threads.end(),
                         [threadId](const auto &t) { return t->ThreadId == threadId; });
  if (it == threads.end())
    return;
  UnhookWindowsHookEx((*it)->Hook);
  threads.erase(it);
}

LRESULT CALLBACK TSkinManage::SkinHookCBT(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && SkinManager != nullptr)
    SkinManager->HookEvent(code, reinterpret_cast<HWND>(wParam), lParam, false);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TSkinManage::SkinHookCBT2(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && SkinManager != nullptr &&
      SkinManager->HookEvent(code, reinterpret_cast<HWND>(wParam), lParam, true))
    return 10; // refused: the skinned window draws its own
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// What both hooks do; the per-thread hook refuses size grips of skinned windows and drops the
// objects of destroyed windows itself. True when the window's creation is refused.
bool TSkinManage::HookEvent(int code, HWND window, LPARAM lParam, bool perThread) {
  try {
    switch (code) {
    case HCBT_CREATEWND: {
      const CREATESTRUCTA &cs = *reinterpret_cast<CBT_CREATEWNDA *>(lParam)->lpcs;
      const std::string name = WindowClass(window);
      if (perThread) {
        // The skinned frame draws its own size grip; other scroll bars are the window's.
        if (name == "ScrollBar" && (cs.style & SBS_SIZEGRIP) != 0 &&
            FindSkinForm(cs.hwndParent) != nullptr)
          return true;
        if (name == "#32768")
          AddMenu(window);
      } else if (name == "ScrollBar" && (cs.style & SBS_SIZEGRIP) != 0) {
        if (TWinSkinForm *parent = FindSkinForm(cs.hwndParent))
          parent->AddControlh(window);
      } else if ((cs.style & WS_CHILD) == 0 && name == "#32768" && Host == nullptr) {
        AddMenu(window);
      } else if ((cs.dwExStyle & WS_EX_MDICHILD) != 0) {
        AddForm(window);
      } else if ((cs.style & WS_CHILD) != 0) {
        // A control that appears in a window already skinned is attached once it exists.
        if (TWinSkinForm *form = FindSkinFormAround(cs.hwndParent))
          PostMessageA(form->Handle, CN_ControlCreated, reinterpret_cast<WPARAM>(window), 0);
      }
      break;
    }
    case HCBT_DESTROYWND:
      DeleteMenu(window);
      if (perThread)
        DeleteForm(window);
      break;
    case HCBT_ACTIVATE:
      if (State == 0)
        State = 1;
      AddForm(window);
      break;
    default:
      break;
    }
  } catch (...) {
    // A window that cannot be skinned stays as it is.
  }
  return false;
}

// ----------------------------------------------------------------- choosing

TWinSkinForm *TSkinManage::FindSkinForm(HWND window) {
  for (TWinSkinForm *form : Forms())
    if (TObject::IsLive(form) && form->Handle == window)
      return form;
  return nullptr;
}

TWinSkinForm *TSkinManage::FindSkinFormAround(HWND window) {
  for (HWND w = window; w != nullptr; w = GetAncestor(w, GA_PARENT)) {
    if (TWinSkinForm *form = FindSkinForm(w))
      return form;
    if ((GetWindowLongPtrA(w, GWL_STYLE) & WS_CHILD) == 0)
      break;
  }
  return nullptr;
}

TCustomForm *TSkinManage::FindTForm(HWND window) const {
  if (Screen != nullptr)
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm *form = Screen->Forms(i);
      if (form->HandleAllocated() && form->Handle() == window)
        return form;
    }
  return dynamic_cast<TCustomForm *>(FindControlx(window));
}

void TSkinManage::FindSkindata(TSkinData *&data, HWND window) {
  data = nullptr;
  const auto last = [this](auto test) -> TSkinData * {
    for (auto it = Lists().SkinDatas.rbegin(); it != Lists().SkinDatas.rend(); ++it)
      if (test(*it))
        return *it;
    return nullptr;
  };
  data = last([window](TSkinData *d) {
    auto *owner = dynamic_cast<TCustomForm *>(d->Owner());
    return d->SkinFormtype == sfOnlyThisForm && owner != nullptr && owner->HandleAllocated() &&
           owner->Handle() == window;
  });
  if (data != nullptr)
    return;
  const std::string name = Lower(WindowClass(window));
  if (name == "tmessageform" || name == "#32770")
    data = last([](TSkinData *d) { return d->SkinFormtype == sfDialog; });
  if (data == nullptr)
    data = last([](TSkinData *d) { return d->SkinFormtype == sfMainform; });
  if (data == nullptr && !Lists().SkinDatas.empty())
    data = Lists().SkinDatas.front();
}

bool TSkinManage::OnBeforeSkin(HWND window, const std::string &className) {
  bool doSkin = true;
  if (MainSkinData == nullptr)
    return doSkin;
  if (!InSet(MainSkinData->Options, xoPreview) &&
      Lower(className).find("preview") != std::string::npos)
    doSkin = false;
  MainSkinData->DoFormSkin(window, className, doSkin);
  return doSkin;
}

bool TSkinManage::NestedForm(HWND window) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  if ((style & WS_CHILD) == 0)
    return false;
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  if ((exStyle & WS_EX_MDICHILD) != 0)
    return false;
  return Lower(WindowClass(GetParent(window))) != "mdiclient";
}

bool TSkinManage::AddForm(HWND window) {
  if (!Enabled)
    return false;
  DeleteDeleted();
  if (SendMessageA(window, CN_IsSkinned, 0, 0) == 1 || FindSkinForm(window) != nullptr)
    return false;
  TCustomForm *form = FindTForm(window);
  if (!Force && NestedForm(window))
    return false;
  const std::string name = WindowClass(window);
  const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  if (form == nullptr && module != myinstance && name != "#32770")
    return false;
  RECT r{};
  GetWindowRect(window, &r);
  const bool mdiChild = (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  if ((r.right - r.left) * (r.bottom - r.top) == 0 && !mdiChild)
    return false;
  if (form != nullptr && form->Tag() == 99)
    return false;
  if (name.find("TcxPopupEditPopupWindow") != std::string::npos || name == "TApplication")
    return false;
  if (!OnBeforeSkin(window, name))
    return false;
  TSkinData *data = nullptr;
  FindSkindata(data, window);
  if (data == nullptr || data->NoSkin)
    return false;

  auto *skin = new TWinSkinForm(form);
  skin->Handle = window;
  skin->InstanceMark = Instance;
  if (form != nullptr)
    skin->InitTform(data, form);
  else
    skin->InitDlg(data);
  Forms().push_back(skin);
  PostMessageA(window, CN_SkinActive, 0, 1000);
  return true;
}

void TSkinManage::ActiveForm(TCustomForm *form) {
  if (form == nullptr || !form->Visible() || !form->HandleAllocated())
    return;
  if ((GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_CHILD) == 0)
    AddForm(form->Handle());
}

// ----------------------------------------------------------------- dropping

void TSkinManage::DeleteForm(HWND window) {
  if (State == 4)
    return;
  TWinSkinForm *form = FindSkinForm(window);
  if (form == nullptr || form->Owner() == nullptr)
    return;
  form->SkinState = 4;
  form->UnSubclass();
  std::erase(Forms(), form);
  delete form;
}

void TSkinManage::DeleteForm2(HWND window) {
  if (TWinSkinForm *form = FindSkinForm(window))
    std::erase(Forms(), form);
}

void TSkinManage::DeleteDeleted() {
  if (State != 4)
    DropDestroyed(true);
}

void TSkinManage::DeleteForm3() {
  DropDestroyed(false);
}

// Walking from the end: entries freed elsewhere leave the list, objects whose window is gone
// (of this manager only, with ownOnly) are freed.
void TSkinManage::DropDestroyed(bool ownOnly) {
  auto &forms = Forms();
  for (size_t i = forms.size(); i-- > 0;) {
    TWinSkinForm *form = forms[i];
    const bool live = TObject::IsLive(form);
    if (live && (form->SkinState != 6 || (ownOnly && form->InstanceMark != Instance)))
      continue;
    forms.erase(forms.begin() + static_cast<std::ptrdiff_t>(i));
    if (live)
      delete form;
  }
}

void TSkinManage::Unskin(TWinSkinForm *form) {
  std::erase(Forms(), form);
  form->UnSubclass();
  TWinSkinForm::RePaint(form->Handle);
  delete form;
}

void TSkinManage::DeleteSysbtn() {
  for (TWinSkinForm *form : Forms())
    if (TObject::IsLive(form) && form->SkinData == ActionSkinData)
      form->DeleteSysbtns();
}

// ----------------------------------------------------------------- deferred actions

void TSkinManage::SetAction(int32_t code, UINT interval) {
  Action = code;
  Timer->SetInterval(interval);
  if (State == 0) {
    if (code == saSkinAll)
      Enabled = true;
    else if (code == saUnskinAll)
      Enabled = false;
    return;
  }
  if (Instance == nullptr)
    for (TSkinManage *sub : Subs) {
      if (!TObject::IsLive(sub))
        continue;
      sub->ActionSkinData = ActionSkinData;
      if (code == saSkinAll) {
        sub->Enabled = true;
        sub->SetAction(saSkinAll, 300);
      } else if (code == saUnskinAll) {
        sub->Enabled = false;
      }
    }
  Timer->SetEnabled(true);
}

void TSkinManage::OnTimer(TObject *) {
  Timer->SetEnabled(false);
  if (ActionSkinData == nullptr)
    return;
  if (ActionSkinData->SkinFormtype == sfOnlyThisForm)
    RunOnlyThisForm(Action);
  else
    RunForAll(Action);
  if (Action == saChangeForm)
    return;
  if (Action == saSkinAll || Action == saUnskinAll || Action == saSkinChanged ||
      Action == saDropDeleted) {
    if (ActionSkinData != nullptr)
      ActionSkinData->DoSkinChanged();
    ActionSkinData = nullptr;
  }
}

void TSkinManage::RunOnlyThisForm(int32_t action) {
  TSkinData *data = ActionSkinData;
  auto &forms = Forms();
  switch (action) {
  case saSkinAll:
    Enabled = true;
    Force = true;
    if (Screen != nullptr)
      for (int i = Screen->FormCount() - 1; i >= 0; --i)
        if (Screen->Forms(i) == data->Owner()) {
          ActiveForm(Screen->Forms(i));
          break;
        }
    Force = false;
    break;
  case saUnskinAll: {
    Enabled = false;
    DeleteDeleted();
    auto it = std::find_if(forms.rbegin(), forms.rend(),
                           [data](TWinSkinForm *f) { return f->SkinData == data; });
    if (it != forms.rend())
      Unskin(*it);
    break;
  }
  case saSkinChanged: {
    DeleteDeleted();
    auto it = std::find_if(forms.begin(), forms.end(),
                           [data](TWinSkinForm *f) { return f->SkinData == data; });
    if (it != forms.end()) {
      (*it)->DeleteSysbtns();
      (*it)->InitSkinData();
      (*it)->SkinChange();
    }
    break;
  }
  case saDropDeleted:
    DeleteForm3();
    break;
  default:
    break;
  }
}

void TSkinManage::RunForAll(int32_t action) {
  TSkinData *data = ActionSkinData;
  auto &forms = Forms();
  switch (action) {
  case saSkinAll:
    Enabled = true;
    HideWhileSkinning = false;
    Force = true;
    DeleteDeleted();
    if (Screen != nullptr)
      for (int i = Screen->FormCount() - 1; i >= 0; --i)
        ActiveForm(Screen->Forms(i));
    Force = false;
    if (Instance == nullptr)
      for (TSkinManage *sub : Subs)
        if (TObject::IsLive(sub)) {
          sub->ActionSkinData = data;
          sub->Enabled = true;
          sub->SetAction(saSkinAll, 300);
        }
    break;
  case saUnskinAll:
    Enabled = false;
    DeleteDeleted();
    while (!forms.empty())
      Unskin(forms.front());
    if (Instance == nullptr)
      for (TSkinManage *sub : Subs)
        if (TObject::IsLive(sub))
          sub->Enabled = false;
    break;
  case saSkinChanged: {
    DeleteDeleted();
    std::vector<TWinSkinForm *> changed;
    for (TWinSkinForm *form : forms)
      if (form->SkinData == data) {
        form->DeleteSysbtns();
        form->InitSkinData();
        changed.push_back(form);
      }
    for (TWinSkinForm *form : changed)
      if (TObject::IsLive(form))
        form->SkinChange();
    break;
  }
  case saDropDeleted:
    DeleteForm3();
    break;
  case saChangeForm: {
    TWinSkinForm *form = FindSkinForm(ChangeFormHandle);
    if (form == nullptr)
      return;
    form->UnSubclass();
    form->SkinState = 6;
    DeleteDeleted();
    AddForm(ChangeFormHandle);
    break;
  }
  default:
    break;
  }
}

void TSkinManage::SetMDIMax(bool value) {
  if (value == MDIMax)
    return;
  MDIMax = value;
  // The main form's menu band shows or loses the maximised child's buttons, and the client
  // with all its children is drawn afresh (the system leaves pictures of the old layout).
  for (TWinSkinForm *form : Forms())
    if (TObject::IsLive(form) && form->FormStyle == sfsMDIform && form->SkinState == 1) {
      PostMessageA(form->Handle, CN_UpdateNC, 0, 0);
      PostMessageA(form->MDIClient, CN_MDIRedraw, 0, 0);
    }
  if (MainSkinData != nullptr && InSet(MainSkinData->Options, xoMDIChildBorder))
    return;
  for (TWinSkinForm *form : Forms()) {
    if (!TObject::IsLive(form) || form->FormStyle != sfsMDIChild)
      continue;
    if (value) {
      form->Uncropwindow();
      form->EnableSysbtn(true);
    } else if (form->WindowState == swsMin) {
      form->EnableSysbtn(true);
    } else {
      form->WindowState = swsNormal;
      form->Cropwindow();
      form->EnableSysbtn(false);
      if (!form->HasRegion)
        form->Refresh();
    }
  }
}

// ----------------------------------------------------------------- library modules

void TSkinManage::AssignData(TSkinManage *host) {
  if (host != nullptr) {
    Host = host;
    MainSkinData = host->MainSkinData;
    State = 1;
    Enabled = host->Enabled;
    host->Subs.push_back(this);
    return;
  }
  Host = nullptr;
  MainSkinData = nullptr;
  Enabled = false;
  State = 4;
  if (CBTHook != nullptr)
    UnhookWindowsHookEx(CBTHook);
  CBTHook = nullptr;
}

// ----------------------------------------------------------------- popup menus

void TSkinManage::AddMenu(HWND window) {
  if (!Enabled)
    return;
  if (SendMessageA(window, CN_IsSkinned, 0, 0) == 1 || FindSkinMenu(window) != nullptr)
    return;
  TSkinData *data = nullptr;
  FindSkindata(data, window);
  if (data == nullptr || data->NoSkin)
    return;
  const TSkinControlTypes kinds = data->SkinControls;
  switch (MenuKind) {
  case 0:
    if (!InSet(kinds, xcPopupMenu))
      return;
    break;
  case 1:
    if (!InSet(kinds, xcMainMenu) && !InSet(kinds, xcMenuItem))
      return;
    break;
  case 2:
    if (!InSet(kinds, xcSystemMenu))
      return;
    break;
  default:
    break;
  }
  auto menu = std::make_unique<TWinSkinPopMenu>();
  menu->InitSkin(window, data, nullptr);
  menu->FromPopupMenu = PopupFlag;
  Menus().push_back(menu.release());
}

void TSkinManage::DeleteMenu(HWND window) {
  auto &menus = Menus();
  auto it = std::find_if(menus.begin(), menus.end(), [window](TWinSkinPopMenu *m) {
    return TObject::IsLive(m) && m->Handle == window;
  });
  if (it == menus.end())
    return;
  TWinSkinPopMenu *menu = *it;
  menus.erase(it);
  delete menu; // unsubclasses first
  if (menus.empty()) {
    PopupFlag = false;
    MenuKind = 0;
  }
}

TWinSkinPopMenu *TSkinManage::FindSkinMenu(HWND window) {
  for (TWinSkinPopMenu *menu : Menus())
    if (TObject::IsLive(menu) && menu->Handle == window)
      return menu;
  return nullptr;
}

void TSkinManage::SetPopMenu() {
  for (TWinSkinPopMenu *menu : Menus())
    if (TObject::IsLive(menu))
      menu->FromPopupMenu = true;
}

void TSkinManage::SetHMenu(HMENU handle) {
  if (handle == nullptr || FindMenuOf(handle) != nullptr)
    return;
  auto &menus = Menus();
  for (auto it = menus.rbegin(); it != menus.rend(); ++it)
    if (TObject::IsLive(*it) && (*it)->MenuHandle == nullptr) {
      (*it)->MenuHandle = handle;
      return;
    }
}

TWinSkinPopMenu *TSkinManage::FindMenuOf(HMENU handle) {
  if (handle == nullptr)
    return nullptr;
  for (TWinSkinPopMenu *menu : Menus())
    if (TObject::IsLive(menu) && menu->ShownMenu() == handle)
      return menu;
  return nullptr;
}

TBitmap *TSkinManage::GetMenuBg(HMENU handle) {
  TWinSkinPopMenu *menu = FindMenuOf(handle);
  return menu != nullptr && menu->ComposeBackground() ? menu->Background : nullptr;
}

// ----------------------------------------------------------------- requests of the component

std::vector<TWinSkinForm *> TSkinManage::SkinFormsOf(TCustomForm *form) {
  std::vector<TWinSkinForm *> found;
  if (form != nullptr)
    for (TWinSkinForm *skin : Forms())
      if (TObject::IsLive(skin) && skin->Form == form && skin->Subclassed())
        found.push_back(skin);
  return found;
}

void TSkinManage::UpdateMenu(TCustomForm *form) {
  for (TWinSkinForm *skin : SkinFormsOf(form)) {
    skin->InitPopMenu(form, true);
    if (InSet(skin->SkinData->SkinControls, xcMenuItem))
      skin->InitMainMenu(true);
  }
}

void TSkinManage::UpdateMainMenu() {
  for (TWinSkinForm *skin : std::vector<TWinSkinForm *>(Forms()))
    if (TObject::IsLive(skin) && skin->Subclassed())
      skin->UpdateMenuBar();
}

void TSkinManage::UpdateSkinControl(TCustomForm *form, TControl *control) {
  for (TWinSkinForm *skin : SkinFormsOf(form))
    skin->UpdateSkinControl(control);
}

void TSkinManage::AddNestForm(TControl *host, TCustomForm *form) {
  auto *windowed = dynamic_cast<TWinControl *>(host);
  if (windowed == nullptr || form == nullptr || !windowed->HandleAllocated())
    return;
  if (TWinSkinForm *skin = FindSkinForm(windowed->Handle()); skin != nullptr && skin->Subclassed())
    skin->InitNestform(form);
}

void TSkinManage::DeleteGraphicControl(TCustomForm *form, TControl *control) {
  for (TWinSkinForm *skin : SkinFormsOf(form))
    skin->DeleteGraphicControl(control);
}
