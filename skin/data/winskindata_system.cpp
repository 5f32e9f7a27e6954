// System functions looked up at start, and the small text and window helpers of the unit.
#include "framework/gui/controls.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"

namespace {

// user32.dll, held from the unit's start to its end. Functions that an older system lacks stay
// null.
struct User32Library {
  HMODULE module = LoadLibraryA("user32.dll");
  ~User32Library() {
    if (module != nullptr)
      FreeLibrary(module);
  }
  template <class F> F Find(const char *name) const {
    if (module == nullptr)
      return nullptr;
    // Through the generic function pointer type: a direct cast from FARPROC draws a warning.
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  }
} user32;

} // namespace

TGetScrollBarInfoProc pGetScrollBarInfo = user32.Find<TGetScrollBarInfoProc>("GetScrollBarInfo");
TTrackMouseEventProc pTrackMouseEvent = user32.Find<TTrackMouseEventProc>("TrackMouseEvent");
TGetComboBoxInfoProc pGetComboBoxInfo = user32.Find<TGetComboBoxInfoProc>("GetComboBoxInfo");
TDisableProcessWindowsGhostingProc pDisableProcessWindowsGhosting =
    user32.Find<TDisableProcessWindowsGhostingProc>("DisableProcessWindowsGhosting");

void DoTrackMouse(HWND window) {
  if (pTrackMouseEvent == nullptr)
    return;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track); // 16 bytes on 32-bit systems, 24 on 64-bit ones
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = window;
  track.dwHoverTime = 0;
  pTrackMouseEvent(&track);
}

std::wstring StrToWideStr(const std::string &text) {
  return AnsiToWide(text, DefaultUserCodePage);
}

std::string WideStringToStringEx(const std::wstring &text) {
  return WideToAnsi(text, DefaultUserCodePage);
}

int Tnt_DrawTextW(HDC dc, const std::wstring &text, RECT &rect, UINT format) {
  if (Win32PlatformIsUnicode)
    return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  std::string narrow = WideStringToStringEx(text);
  return DrawTextA(dc, narrow.c_str(), -1, &rect, format);
}

RECT MeasuredTextRoom(RECT r, UINT format) {
  const LONG room = (r.right - r.left) / 8 + 2;
  if ((format & DT_CENTER) != 0) {
    r.left -= room;
    r.right += room;
  } else if ((format & DT_RIGHT) != 0) {
    r.left -= room;
  } else {
    r.right += room;
  }
  return r;
}

TControl *FindControlx(HWND window) {
  if (window == nullptr)
    return nullptr;
  return TWinControl::FromHandle(window);
}

TSkinManage *SkinDll(TSkinManage *host) {
  if (SkinManager == nullptr)
    SkinManager = new TSkinManage(true);
  SkinManager->AssignData(host);
  SkinManager->InstallHook();
  SkinManager->State += 1;
  return SkinManager;
}
