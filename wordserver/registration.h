// Registration of the server in the machine's class registry (HKLM\Software\Classes, in both
// registry views where there are two, so clients of either bitness find it).
#pragma once

#include <windows.h>

#include <string>

// The server's class id and its own ProgID, which it always holds.
extern const CLSID CLSID_KestrovaWord;
extern const wchar_t kOwnProgId[];
// The ProgID the server stands in for.
extern const wchar_t kWordProgId[];

enum class RegisterResult {
  Registered,   // the class, its own ProgID and the contested ProgID
  OwnProgIdOnly, // another server holds the contested ProgID, which was left alone
  Failed,
};

// Registers `serverPath` as the local server. The contested ProgID is taken only when no other
// registered server holds it, or when `force` is set.
RegisterResult RegisterServer(const std::wstring &serverPath, const std::wstring &progId,
                              bool force);
// Removes the class and the server's own ProgID, and the contested ProgID only where it is
// still the server's.
bool UnregisterServer(const std::wstring &progId);
