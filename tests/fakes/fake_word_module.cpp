// The DLL's COM entry points: the class factory of the application object and the
// registration under HKLM\Software\Classes, where the test prefix's COM looks classes up.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <string>

#include "tests/fakes/fake_word.h"
#include "tests/fakes/fake_word_journal.h"
#include "tests/fakes/fake_word_objects.h"

namespace {

HMODULE g_module = nullptr;
LONG g_serverLocks = 0;

CLSID FakeWordClassId() {
  CLSID id{};
  CLSIDFromString(kFakeWordClsid, &id);
  return id;
}

class ClassFactory : public IClassFactory {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override {
    if (!object)
      return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory *>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // One static factory for the DLL's lifetime; LockServer keeps the DLL loaded.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **object) override {
    if (!object)
      return E_POINTER;
    *object = nullptr;
    if (outer)
      return CLASS_E_NOAGGREGATION;
    if (FailSwitchSet(L"create")) {
      // What a client sees when the server process cannot be started.
      JournalWrite(L"Application creation refused");
      return CO_E_SERVER_EXEC_FAILURE;
    }
    auto *application = new FakeApplication;
    HRESULT hr = application->QueryInterface(riid, object);
    application->Release();
    if (SUCCEEDED(hr))
      JournalWrite(L"Application created");
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(&g_serverLocks);
    else
      InterlockedDecrement(&g_serverLocks);
    return S_OK;
  }
};

ClassFactory g_factory;

LSTATUS SetKeyValue(const std::wstring &path, const wchar_t *name, const std::wstring &value) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                   nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS)
    return status;
  status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status;
}

std::wstring ReadKeyDefault(const std::wstring &path) {
  wchar_t buffer[128] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer,
                   &size) != ERROR_SUCCESS)
    return {};
  return buffer;
}

const std::wstring kClassesRoot = L"Software\\Classes\\";

std::wstring ProgIdKey() {
  std::string narrow = kFakeWordProgId;
  return kClassesRoot + std::wstring(narrow.begin(), narrow.end());
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void **object) {
  if (!object)
    return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, FakeWordClassId()))
    return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return g_liveObjects == 0 && g_serverLocks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  wchar_t modulePath[MAX_PATH];
  DWORD length = GetModuleFileNameW(g_module, modulePath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return SELFREG_E_CLASS;
  const std::wstring clsidKey = kClassesRoot + L"CLSID\\" + kFakeWordClsid;
  const std::wstring description = L"Kestrova test automation server";
  const std::wstring progId = ProgIdKey().substr(kClassesRoot.size());
  struct Entry {
    std::wstring key;
    const wchar_t *name;
    std::wstring value;
  } entries[] = {
      {ProgIdKey(), nullptr, description},
      {ProgIdKey() + L"\\CLSID", nullptr, kFakeWordClsid},
      {clsidKey, nullptr, description},
      {clsidKey + L"\\ProgID", nullptr, progId},
      {clsidKey + L"\\InprocServer32", nullptr, modulePath},
      {clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
  };
  for (const Entry &entry : entries) {
    if (SetKeyValue(entry.key, entry.name, entry.value) != ERROR_SUCCESS)
      return SELFREG_E_CLASS;
  }
  return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  // The ProgID goes only while it still names this class.
  if (ReadKeyDefault(ProgIdKey() + L"\\CLSID") == kFakeWordClsid)
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ProgIdKey().c_str());
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kClassesRoot + L"CLSID\\" + kFakeWordClsid).c_str());
  return S_OK;
}
