#include "framework/gui/gdiobj.h"

#include <atomic>

namespace {

std::atomic<int> liveCounts[GdiKindCount];

} // namespace

int GdiLiveCount(GdiKind kind) {
  return liveCounts[static_cast<int>(kind)].load();
}

int GdiLiveTotal() {
  int total = 0;
  for (const auto &count : liveCounts)
    total += count.load();
  return total;
}

namespace gdi_detail {

void Counted(GdiKind kind) {
  ++liveCounts[static_cast<int>(kind)];
}
void Released(GdiKind kind) {
  --liveCounts[static_cast<int>(kind)];
}

void Destroy(GdiKind kind, void *handle) {
  switch (kind) {
  case GdiKind::MemoryDC:
    DeleteDC(static_cast<HDC>(handle));
    break;
  case GdiKind::Icon:
    DestroyIcon(static_cast<HICON>(handle));
    break;
  case GdiKind::ImageList:
    ImageList_Destroy(static_cast<HIMAGELIST>(handle));
    break;
  case GdiKind::WindowDC: // never owned by a GdiHandle
    break;
  default:
    DeleteObject(static_cast<HGDIOBJ>(handle));
    break;
  }
}

} // namespace gdi_detail

GdiWindowDC::GdiWindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {
  if (dc_)
    gdi_detail::Counted(GdiKind::WindowDC);
}

GdiWindowDC::GdiWindowDC(HWND wnd, HRGN clip, DWORD flags)
    : wnd_(wnd), dc_(GetDCEx(wnd, clip, flags)) {
  if (dc_)
    gdi_detail::Counted(GdiKind::WindowDC);
  else if (clip)
    DeleteObject(clip); // not taken over by a DC that was never made
}

GdiWindowDC::~GdiWindowDC() {
  if (dc_) {
    ReleaseDC(wnd_, dc_);
    gdi_detail::Released(GdiKind::WindowDC);
  }
}
