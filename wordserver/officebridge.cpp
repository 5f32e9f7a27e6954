#include <winsock2.h>

#include "wordserver/officebridge.h"

#include <vector>

namespace {

using UnixNameFn = char *(CDECL *)(const wchar_t *);
using DosNameFn = wchar_t *(CDECL *)(const char *);

void *KernelExport(const char *name) {
  return reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name));
}

std::wstring Utf8ToWide(const std::string &text) {
  if (text.empty())
    return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

// A Unix path as a Windows one (Wine), or empty.
std::wstring DosPathOf(const char *unixPath) {
  auto dosName = reinterpret_cast<DosNameFn>(KernelExport("wine_get_dos_file_name"));
  if (!dosName)
    return {};
  wchar_t *name = dosName(unixPath);
  if (!name)
    return {};
  std::wstring out(name);
  HeapFree(GetProcessHeap(), 0, name);
  return out;
}

bool FileExists(const std::wstring &path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ModuleFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) {
      std::wstring path(buffer.data(), n);
      return path.substr(0, path.find_last_of(L'\\') + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
}

// LibreOffice's program folder from its registry entries, either registry view.
std::wstring LibreOfficeProgramFolder() {
  const REGSAM views[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
  for (REGSAM view : views) {
    wchar_t value[MAX_PATH];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\LibreOffice\\UNO\\InstallPath", nullptr,
                     RRF_RT_REG_SZ | (view == KEY_WOW64_64KEY ? RRF_SUBKEY_WOW6464KEY
                                                               : RRF_SUBKEY_WOW6432KEY),
                     nullptr, value, &size) == ERROR_SUCCESS)
      return std::wstring(value) + L"\\";
  }
  return {};
}

std::wstring Quote(const std::wstring &argument) { return L"\"" + argument + L"\""; }

// The command line that starts the bridge, or empty with the reason in `why`.
std::wstring BridgeCommandLine(std::wstring &why) {
  const std::wstring script = ModuleFolder() + L"bridge.py";
  if (!FileExists(script)) {
    why = L"缺少转换组件 " + script;
    return {};
  }
  if (RunningUnderWine()) {
    const char *python = "/usr/bin/python3";
    const char *soffice = "/usr/lib/libreoffice/program/soffice";
    const std::wstring dosPython = DosPathOf(python);
    if (dosPython.empty() || !FileExists(dosPython) || !FileExists(DosPathOf(soffice)) ||
        !FileExists(DosPathOf("/usr/lib/python3/dist-packages/uno.py"))) {
      why = L"没有找到 LibreOffice（需要 Debian 软件包 libreoffice-writer-nogui 和 python3-uno）";
      return {};
    }
    return Quote(dosPython) + L" " + Quote(OfficeBridge::BridgePath(script)) + L" " +
           Quote(Utf8ToWide(soffice));
  }
  const std::wstring program = LibreOfficeProgramFolder();
  if (program.empty() || !FileExists(program + L"python.exe")) {
    why = L"没有找到 LibreOffice，请先安装 LibreOffice";
    return {};
  }
  return Quote(program + L"python.exe") + L" " + Quote(script) + L" " +
         Quote(program + L"soffice.exe");
}

} // namespace

bool RunningUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::wstring OfficeBridge::BridgePath(const std::wstring &windowsPath) {
  auto unixName = reinterpret_cast<UnixNameFn>(KernelExport("wine_get_unix_file_name"));
  if (!unixName)
    return windowsPath;
  char *name = unixName(windowsPath.c_str());
  if (!name)
    return windowsPath;
  // Wine's Unix side spells file names in UTF-8.
  std::wstring out = Utf8ToWide(name);
  HeapFree(GetProcessHeap(), 0, name);
  return out;
}

bool OfficeBridge::Start(std::wstring &why) {
  const std::wstring commandLine = BridgeCommandLine(why);
  if (commandLine.empty())
    return false;
  // A loopback socket, not a pipe: Wine's pipes live in its server and cannot become the
  // standard handles of a Unix program, while its sockets are the Unix ones.
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
    why = L"无法建立与 LibreOffice 的连接";
    return false;
  }
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (listener == INVALID_SOCKET ||
      bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
      listen(listener, 1) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
    if (listener != INVALID_SOCKET)
      closesocket(listener);
    why = L"无法建立与 LibreOffice 的连接";
    return false;
  }
  // The bridge proves it is ours with a secret it got on its command line.
  const std::string secret =
      std::to_string(GetTickCount64()) + "-" + std::to_string(GetCurrentProcessId()) + "-" +
      std::to_string(reinterpret_cast<UINT_PTR>(&secret));
  std::wstring line = commandLine + L" " + std::to_wstring(ntohs(address.sin_port)) + L" " +
                      std::wstring(secret.begin(), secret.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &info)) {
    closesocket(listener);
    why = L"无法启动 LibreOffice 转换组件";
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  // Python and the UNO module load in well under a second; a minute covers a cold, busy machine.
  for (;;) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(listener, &ready);
    timeval wait{60, 0};
    if (select(0, &ready, nullptr, nullptr, &wait) != 1)
      break;
    socket_ = accept(listener, nullptr, nullptr);
    std::string hello;
    if (socket_ != INVALID_SOCKET && ReadLine(hello) && hello == secret)
      break;
    if (socket_ != INVALID_SOCKET)
      closesocket(socket_);
    socket_ = INVALID_SOCKET;
    pending_.clear();
  }
  closesocket(listener);
  if (socket_ == INVALID_SOCKET) {
    why = L"LibreOffice 转换组件没有响应";
    Stop();
    return false;
  }
  return true;
}

bool OfficeBridge::ReadLine(std::string &line) {
  for (;;) {
    const size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return true;
    }
    char buffer[4096];
    const int got = recv(socket_, buffer, sizeof buffer, 0);
    if (got <= 0)
      return false;
    pending_.append(buffer, static_cast<size_t>(got));
  }
}

bool OfficeBridge::Send(const std::string &text) {
  for (size_t sent = 0; sent < text.size();) {
    const int n = send(socket_, text.data() + sent, static_cast<int>(text.size() - sent), 0);
    if (n <= 0)
      return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

BridgeReply OfficeBridge::Call(const std::string &request) {
  BridgeReply reply;
  reply.error = "office";
  if (!Running() && !Start(reply.detail))
    return reply;
  std::string line;
  if (!Send(request) || !ReadLine(line)) {
    Stop();
    reply.detail = L"LibreOffice 转换组件意外退出";
    return reply;
  }
  if (!ParseReply(line, reply)) {
    reply = BridgeReply{};
    reply.error = "office";
    reply.detail = L"LibreOffice 转换组件的应答无法识别";
  }
  return reply;
}

void OfficeBridge::Stop() {
  if (socket_ != INVALID_SOCKET) {
    std::string line;
    if (Send(QuitRequest()))
      ReadLine(line); // the bridge answers once LibreOffice has ended
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
    WSACleanup();
  }
  if (process_)
    CloseHandle(process_);
  process_ = nullptr;
  pending_.clear();
}
