// Owners of GDI and USER graphics handles, each with a live count per kind.
//
// GetGuiResources answers 0 under Wine, so leaks cannot be seen from outside the process. Every
// handle the framework and the skin engine create goes through one of these owners instead; a
// leak check reads GdiLiveCount before and after a piece of work and compares.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

enum class GdiKind { Bitmap, Brush, Pen, Font, Region, MemoryDC, WindowDC, Icon, ImageList };
constexpr int GdiKindCount = 9;

// Handles of this kind now owned by some GdiHandle.
int GdiLiveCount(GdiKind kind);
// The sum over all kinds.
int GdiLiveTotal();

namespace gdi_detail {
void Counted(GdiKind kind);
void Released(GdiKind kind);
void Destroy(GdiKind kind, void *handle);
} // namespace gdi_detail

// Move-only owner of one handle. A null handle is not counted. Construction from a raw handle
// takes ownership, so `GdiBrush brush(CreateSolidBrush(c))` is the usual idiom.
template <GdiKind Kind, class H> class GdiHandle {
public:
  GdiHandle() = default;
  explicit GdiHandle(H handle) : handle_(handle) {
    if (handle_)
      gdi_detail::Counted(Kind);
  }
  GdiHandle(GdiHandle &&other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiHandle &operator=(GdiHandle &&other) noexcept {
    if (this != &other)
      Reset(other.Detach());
    return *this;
  }
  GdiHandle(const GdiHandle &) = delete;
  GdiHandle &operator=(const GdiHandle &) = delete;
  ~GdiHandle() { Reset(); }

  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  // Destroys the current handle (if any) and owns the new one.
  void Reset(H handle = nullptr) {
    if (handle == handle_)
      return;
    if (handle_) {
      gdi_detail::Destroy(Kind, reinterpret_cast<void *>(handle_));
      gdi_detail::Released(Kind);
    }
    handle_ = handle;
    if (handle_)
      gdi_detail::Counted(Kind);
  }
  // Gives the handle away uncounted, for a receiver that frees it itself (SetWindowRgn takes
  // the region it is given, for one).
  H Release() {
    if (handle_)
      gdi_detail::Released(Kind);
    return std::exchange(handle_, nullptr);
  }

private:
  // Hands the handle over to another owner of the same kind: the count does not change.
  H Detach() {
    H h = handle_;
    if (h)
      gdi_detail::Released(Kind);
    handle_ = nullptr;
    return h;
  }

  H handle_ = nullptr;
};

using GdiBitmap = GdiHandle<GdiKind::Bitmap, HBITMAP>;
using GdiBrush = GdiHandle<GdiKind::Brush, HBRUSH>;
using GdiPen = GdiHandle<GdiKind::Pen, HPEN>;
using GdiFont = GdiHandle<GdiKind::Font, HFONT>;
using GdiRegion = GdiHandle<GdiKind::Region, HRGN>;
using GdiMemoryDC = GdiHandle<GdiKind::MemoryDC, HDC>;
using GdiIcon = GdiHandle<GdiKind::Icon, HICON>;
using GdiImageList = GdiHandle<GdiKind::ImageList, HIMAGELIST>;

// A window's device context from GetDC, released to that window again.
class GdiWindowDC {
public:
  explicit GdiWindowDC(HWND wnd);
  // GetDCEx with a clip region: the DC owns the region from then on (DCX_INTERSECTRGN and
  // DCX_EXCLUDERGN are the usual flags), so pass a released GdiRegion.
  GdiWindowDC(HWND wnd, HRGN clip, DWORD flags);
  ~GdiWindowDC();
  GdiWindowDC(const GdiWindowDC &) = delete;
  GdiWindowDC &operator=(const GdiWindowDC &) = delete;

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

private:
  HWND wnd_;
  HDC dc_;
};

// Selects an object into a DC for one scope and puts the previous one back.
class GdiSelection {
public:
  GdiSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~GdiSelection() {
    if (previous_ && previous_ != HGDI_ERROR)
      SelectObject(dc_, previous_);
  }
  GdiSelection(const GdiSelection &) = delete;
  GdiSelection &operator=(const GdiSelection &) = delete;

private:
  HDC dc_;
  HGDIOBJ previous_;
};
