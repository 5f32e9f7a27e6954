#include "wordserver/registration.h"

#include <vector>

// {CB9EC96C-5A5B-428B-9863-F0CCD898448B}
const CLSID CLSID_KestrovaWord = {
    0xcb9ec96c, 0x5a5b, 0x428b, {0x98, 0x63, 0xf0, 0xcc, 0xd8, 0x98, 0x44, 0x8b}};
const wchar_t kOwnProgId[] = L"Kestrova.WordServer";
const wchar_t kWordProgId[] = L"Word.Application";

namespace {

const wchar_t kClasses[] = L"Software\\Classes\\";
const wchar_t kDescription[] = L"Kestrova Word (LibreOffice)";

std::wstring ClsidText(const CLSID &clsid) {
  wchar_t text[64];
  StringFromGUID2(clsid, text, 64);
  return text;
}

// The registry views to write: both on a 64-bit system, the only one otherwise.
std::vector<REGSAM> Views() {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  if (sizeof(void *) == 8 || wow64)
    return {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
  return {0};
}

bool SetValue(REGSAM view, const std::wstring &key, const wchar_t *name,
              const std::wstring &value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kClasses + key).c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE | view, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return false;
  const LSTATUS status =
      RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

std::wstring GetValue(REGSAM view, const std::wstring &key) {
  wchar_t value[256];
  DWORD size = sizeof value;
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kClasses + key).c_str(), 0, KEY_QUERY_VALUE | view,
                    &handle) != ERROR_SUCCESS)
    return {};
  const LSTATUS status = RegQueryValueExW(handle, nullptr, nullptr, nullptr,
                                          reinterpret_cast<BYTE *>(value), &size);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS ? std::wstring(value) : std::wstring();
}

bool KeyExists(REGSAM view, const std::wstring &key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kClasses + key).c_str(), 0, KEY_READ | view,
                    &handle) != ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

void DeleteTree(REGSAM view, const std::wstring &key) {
  HKEY classes = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes", 0, KEY_ALL_ACCESS | view,
                    &classes) != ERROR_SUCCESS)
    return;
  RegDeleteTreeW(classes, key.c_str());
  RegCloseKey(classes);
}

// Whether `progId` names a registered server other than ours. A ProgID whose class has no
// server left (a removed program's leftovers) holds nothing.
bool HeldByAnother(const std::wstring &progId) {
  const std::wstring ours = ClsidText(CLSID_KestrovaWord);
  for (REGSAM view : Views()) {
    const std::wstring clsid = GetValue(view, progId + L"\\CLSID");
    if (clsid.empty() || _wcsicmp(clsid.c_str(), ours.c_str()) == 0)
      continue;
    const std::wstring classKey = L"CLSID\\" + clsid;
    if (KeyExists(view, classKey + L"\\LocalServer32") ||
        KeyExists(view, classKey + L"\\InprocServer32"))
      return true;
  }
  return false;
}

bool WriteProgId(REGSAM view, const std::wstring &progId, const std::wstring &clsid) {
  return SetValue(view, progId, nullptr, kDescription) &&
         SetValue(view, progId + L"\\CLSID", nullptr, clsid);
}

} // namespace

RegisterResult RegisterServer(const std::wstring &serverPath, const std::wstring &progId,
                              bool force) {
  const std::wstring clsid = ClsidText(CLSID_KestrovaWord);
  const std::wstring classKey = L"CLSID\\" + clsid;
  const bool takeContested = force || !HeldByAnother(progId);
  for (REGSAM view : Views()) {
    const bool ok =
        SetValue(view, classKey, nullptr, kDescription) &&
        SetValue(view, classKey + L"\\LocalServer32", nullptr, L"\"" + serverPath + L"\"") &&
        SetValue(view, classKey + L"\\ProgID", nullptr, takeContested ? progId : kOwnProgId) &&
        SetValue(view, classKey + L"\\VersionIndependentProgID", nullptr, kOwnProgId) &&
        WriteProgId(view, kOwnProgId, clsid) &&
        (!takeContested || WriteProgId(view, progId, clsid));
    if (!ok)
      return RegisterResult::Failed;
  }
  return takeContested ? RegisterResult::Registered : RegisterResult::OwnProgIdOnly;
}

bool UnregisterServer(const std::wstring &progId) {
  const std::wstring clsid = ClsidText(CLSID_KestrovaWord);
  for (REGSAM view : Views()) {
    if (_wcsicmp(GetValue(view, progId + L"\\CLSID").c_str(), clsid.c_str()) == 0)
      DeleteTree(view, progId);
    DeleteTree(view, kOwnProgId);
    DeleteTree(view, L"CLSID\\" + clsid);
  }
  return true;
}
