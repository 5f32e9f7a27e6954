#include "tests/fakes/fake_word_journal.h"

#include <cwchar>
#include <vector>

#include "tests/fakes/fake_word.h"

namespace {

std::wstring EnvironmentValue(const wchar_t *name) {
  DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0)
    return {};
  std::wstring value(size, L'\0');
  DWORD length = GetEnvironmentVariableW(name, value.data(), size);
  value.resize(length < size ? length : 0);
  return value;
}

std::wstring Hex(unsigned long value, int digits) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%0*lX", digits, value);
  return text;
}

// Exactly the code units received: readable text stays, the rest is written as <U+XXXX>.
std::wstring QuoteBstr(BSTR text) {
  if (!text)
    return L"null";
  std::wstring quoted = L"\"";
  UINT length = SysStringLen(text);
  for (UINT i = 0; i < length; ++i) {
    wchar_t c = text[i];
    bool high = c >= 0xD800 && c <= 0xDBFF;
    bool low = c >= 0xDC00 && c <= 0xDFFF;
    if (high && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      quoted += c;
      quoted += text[++i];
    } else if (c < 0x20 || c == 0x7F || c == L'"' || c == L'<' || high || low) {
      quoted += L"<U+" + Hex(c, 4) + L">";
    } else {
      quoted += c;
    }
  }
  return quoted + L"\"";
}

} // namespace

void JournalWrite(const std::wstring &line) {
  std::wstring path = EnvironmentValue(kFakeWordJournalVariable);
  if (path.empty())
    return;
  std::wstring text = line + L"\n";
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::vector<char> utf8(static_cast<std::size_t>(size));
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                      nullptr, nullptr);
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return;
  DWORD written = 0;
  WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(file);
}

std::wstring JournalVariant(const VARIANT &value) {
  switch (value.vt) {
  case VT_EMPTY:
    return L"VT_EMPTY";
  case VT_NULL:
    return L"VT_NULL";
  case VT_BOOL:
    if (value.boolVal == VARIANT_FALSE)
      return L"VT_BOOL false";
    if (value.boolVal == VARIANT_TRUE)
      return L"VT_BOOL true";
    return L"VT_BOOL 0x" + Hex(static_cast<USHORT>(value.boolVal), 4);
  case VT_I1:
    return L"VT_I1 " + std::to_wstring(value.cVal);
  case VT_UI1:
    return L"VT_UI1 " + std::to_wstring(value.bVal);
  case VT_I2:
    return L"VT_I2 " + std::to_wstring(value.iVal);
  case VT_UI2:
    return L"VT_UI2 " + std::to_wstring(value.uiVal);
  case VT_I4:
    return L"VT_I4 " + std::to_wstring(value.lVal);
  case VT_UI4:
    return L"VT_UI4 " + std::to_wstring(value.ulVal);
  case VT_INT:
    return L"VT_INT " + std::to_wstring(value.intVal);
  case VT_UINT:
    return L"VT_UINT " + std::to_wstring(value.uintVal);
  case VT_I8:
    return L"VT_I8 " + std::to_wstring(value.llVal);
  case VT_R8:
    return L"VT_R8 " + std::to_wstring(value.dblVal);
  case VT_BSTR:
    return L"VT_BSTR " + QuoteBstr(value.bstrVal);
  case VT_ERROR:
    return L"VT_ERROR 0x" + Hex(static_cast<unsigned long>(value.scode), 8);
  case VT_DISPATCH:
    return L"VT_DISPATCH";
  case VT_UNKNOWN:
    return L"VT_UNKNOWN";
  default:
    return L"VT_0x" + Hex(value.vt, 4);
  }
}

bool FailSwitchSet(const wchar_t *member) {
  std::wstring list = EnvironmentValue(kFakeWordFailVariable);
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(L',', start);
    if (end == std::wstring::npos)
      end = list.size();
    std::size_t first = list.find_first_not_of(L' ', start);
    std::size_t last = list.find_last_not_of(L' ', end == 0 ? 0 : end - 1);
    if (first < end && last != std::wstring::npos && last >= first) {
      std::wstring item = list.substr(first, last - first + 1);
      if (_wcsicmp(item.c_str(), member) == 0)
        return true;
    }
    start = end + 1;
  }
  return false;
}
