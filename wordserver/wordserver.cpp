// KestrovaWord.exe: a local automation server that answers as Word does for converting
// documents, with LibreOffice doing the work.
//
//   KestrovaWord /regserver [/force] [/progid NAME]   register (NAME: default Word.Application)
//   KestrovaWord /unregserver [/progid NAME]          remove this server's keys
//   KestrovaWord /Embedding                          started by COM for one client
//
// Each client gets a server process of its own (single-use class object) and with it one
// Application and one LibreOffice. The process ends when the Application quits, when its
// last reference is released, or when the client process that started it dies.
#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "wordserver/registration.h"
#include "wordserver/wordapp.h"

namespace {

DWORD g_mainThread = 0;
WordApplication *g_application = nullptr;
bool g_created = false;

constexpr UINT kQuitDelayMs = 300;

void CALLBACK QuitTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  PostQuitMessage(0);
}

// The Application quit or went away: end the process once the reply to the last call is out.
void EndSoon(WordApplication *destroyed) {
  if (destroyed == g_application)
    g_application = nullptr;
  SetTimer(nullptr, 0, kQuitDelayMs, QuitTimer);
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
  // Lives as long as the process.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid,
                                           void **object) override {
    if (!object)
      return E_POINTER;
    *object = nullptr;
    if (outer)
      return CLASS_E_NOAGGREGATION;
    if (g_created)
      return CO_E_SERVER_STOPPING; // one Application per process
    auto *application = new WordApplication();
    const HRESULT hr = application->QueryInterface(riid, object);
    if (SUCCEEDED(hr)) {
      g_created = true;
      g_application = application;
    }
    application->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

DWORD ParentProcessId() {
  const DWORD self = GetCurrentProcessId();
  DWORD parent = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE)
    return 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry))
    if (entry.th32ProcessID == self)
      parent = entry.th32ParentProcessID;
  CloseHandle(snapshot);
  return parent;
}

// COM starts the server from the client's process: when that process dies without releasing
// the Application (nothing would ever release it), the server ends and LibreOffice with it.
DWORD WINAPI WatchClient(void *parameter) {
  WaitForSingleObject(static_cast<HANDLE>(parameter), INFINITE);
  PostThreadMessageW(g_mainThread, WM_QUIT, 0, 0);
  return 0;
}

void WatchParent() {
  const DWORD parent = ParentProcessId();
  HANDLE process = parent ? OpenProcess(SYNCHRONIZE, FALSE, parent) : nullptr;
  if (process)
    CloseHandle(CreateThread(nullptr, 0, WatchClient, process, 0, nullptr));
}

// One line for whoever started the registration, in the console's code page.
void Say(const std::wstring &text) {
  HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
  if (!out || out == INVALID_HANDLE_VALUE)
    return;
  const std::wstring line = text + L"\n";
  const int n = WideCharToMultiByte(CP_ACP, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, line.c_str(), -1, bytes.data(), n, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size() - 1), &written, nullptr);
}

std::wstring ModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size())
      return std::wstring(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

bool Switch(const wchar_t *arg, const wchar_t *name) {
  return (arg[0] == L'/' || arg[0] == L'-') && _wcsicmp(arg + 1, name) == 0;
}

int Registration(bool unregister, bool force, const std::wstring &progId) {
  if (unregister) {
    UnregisterServer(progId);
    Say(L"已删除 Kestrova Word 的注册");
    return 0;
  }
  switch (RegisterServer(ModulePath(), progId, force)) {
  case RegisterResult::Registered:
    Say(L"已注册为 " + progId);
    return 0;
  case RegisterResult::OwnProgIdOnly:
    Say(progId + L" 已由其他程序注册（例如 Microsoft Word），未作改动；本服务已注册为 " +
        kOwnProgId + L"。要替换，请加 /force");
    return 3;
  case RegisterResult::Failed:
    break;
  }
  Say(L"注册失败：无法写入注册表");
  return 1;
}

int Serve() {
  if (FAILED(CoInitialize(nullptr)))
    return 1;
  g_mainThread = GetCurrentThreadId();
  g_onApplicationGone = EndSoon;
  WatchParent();
  static ClassFactory factory;
  DWORD cookie = 0;
  if (FAILED(CoRegisterClassObject(CLSID_KestrovaWord, &factory, CLSCTX_LOCAL_SERVER,
                                   REGCLS_SINGLEUSE, &cookie))) {
    CoUninitialize();
    return 1;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  CoRevokeClassObject(cookie);
  // After Quit, or when the client died holding the Application: LibreOffice ends here.
  if (g_application)
    g_application->Shutdown();
  CoUninitialize();
  return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  bool regserver = false, unregserver = false, force = false, embedding = false;
  std::wstring progId = kWordProgId;
  for (int i = 1; i < argc; ++i) {
    if (Switch(argv[i], L"regserver"))
      regserver = true;
    else if (Switch(argv[i], L"unregserver"))
      unregserver = true;
    else if (Switch(argv[i], L"force"))
      force = true;
    else if (Switch(argv[i], L"Embedding") || Switch(argv[i], L"Automation"))
      embedding = true;
    else if (Switch(argv[i], L"progid") && i + 1 < argc)
      progId = argv[++i];
    else {
      Say(std::wstring(L"未知参数：") + argv[i]);
      return 2;
    }
  }
  LocalFree(argv);
  if (regserver || unregserver)
    return Registration(unregserver, force, progId);
  if (!embedding) {
    Say(L"用法：KestrovaWord /regserver [/force] [/progid 名称] | /unregserver [/progid 名称]");
    return 2;
  }
  return Serve();
}
