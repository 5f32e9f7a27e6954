// Scroll bars. A scroll bar is not painted inside the control that owns it: a small window of
// our own, the overlay (TWScrollbar), lies exactly over it and paints the skin's arrows, track
// and thumb. Presses on the overlay are handed back to the real scroll bar, so the system still
// does all the scrolling; the scroll messages the control then receives keep the picture up to
// date.
//
//   TSkinScrollbar   framework controls with window scroll bars (memos, list boxes)
//   TSkinScrollbarH  bare windows with window scroll bars (lists of standard dialogs)
//   TSkinScControl   scroll-bar controls: one overlay over the whole control
#pragma once

#include "framework/gui/subclass.h"
#include "skin/controls/winsubclass.h"

#include <memory>

// Parts of a scroll bar: the SB_ codes of the part under the mouse or being operated.
enum TScrollPart : int {
  spNone = -1,
  spFirstArrow = 0,
  spSecondArrow = 1,
  spTrackBefore = 2,
  spTrackAfter = 3,
  spThumb = 5
};

// Images of the skin's 23-image scroll-bar strip for an arrow (0 left, 1 right, 2 up, 3 down)
// in a state (0 normal, 1 pressed, 2 hot).
int ArrowImage(int arrow, int state);

class TWScrollbar : public TObject {
public:
  // mode: 0 the window's horizontal scroll bar, 1 its vertical one, 2 a scroll-bar control.
  TWScrollbar(TSkinControl *owner, HWND target, int mode);
  ~TWScrollbar() override;
  TWScrollbar(const TWScrollbar &) = delete;
  TWScrollbar &operator=(const TWScrollbar &) = delete;

  HWND Handle = nullptr;
  int Mode;
  bool Vertical;
  int ArrowSize;
  int Length = 0;
  int ThumbStart = 0, ThumbEnd = 0;
  POINT Origin{0, 0};
  POINT DragStartCursor{0, 0};
  int DragStartThumb = 0;
  int HotPart = spNone;
  HWND TargetHandle;
  TSkinControl *SkinControl;
  RECT ClientRect{0, 0, 0, 0}; // the scroll bar in the target's client coordinates
  bool Shown = false;
  bool Pressed = false;

  void SetPosition(HWND window);
  void HideScrollbar();
  // The part of the scroll bar at a point of the overlay.
  int GetScrollPos(POINT point) const;
  // While a thumb is dragged: the thumb where the cursor has taken it.
  void GetThumb();
  void Repaint();
  void Paint(HDC dc);

private:
  // The scroll bar's screen rectangle, thumb and state; false when it cannot be read.
  bool ReadInfo(SCROLLBARINFO &info) const;
  // This overlay lies over window, with at most the window's other overlays between them.
  bool RightAbove(HWND window) const;
  void MouseMove(POINT point);
  void MouseLeave();
  void LeftButtonDown(POINT point);
  void LeftButtonUp(POINT point);
  void WndProc(TMessage &message);
  TWindowSubclass subclass_{slScrollOverlay};
};

class TSkinScrollbar : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  ~TSkinScrollbar() override;
  std::unique_ptr<TWScrollbar> HScroll, VScroll;
  bool HasBorder = false;

  virtual void InitScrollbar(TControl *control, TSkinData *data, TCanvas *canvas,
                             TWinSkinForm *form);
  void SetScrollbarPos();
  void DrawBorder(HDC dc, const RECT &r);
  void BENCPAINT(HDC dc);
  bool BeforeProc(TMessage &message) override;
  void AfterProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
  void Unsubclass() override;

protected:
  // The picture of both overlays and the corner between them.
  void PaintOverlays(HDC dc, int cornerInset);
  // WM_HSCROLL and WM_VSCROLL tell the overlays which part is being operated.
  bool ScrollMessage(const TMessage &message);
};

class TSkinHeader;

// A list view: its scroll bars, and its column header painted by a header painter that belongs
// to the list view's owner.
class TSkinListView : public TSkinScrollbar {
public:
  using TSkinScrollbar::TSkinScrollbar;
  TSkinHeader *Header = nullptr;

  void InitScrollbar(TControl *control, TSkinData *data, TCanvas *canvas,
                     TWinSkinForm *form) override;
};

class TSkinScrollbarH : public TSkinScrollbar {
public:
  using TSkinScrollbar::TSkinScrollbar;
  void Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) override;
  void AfterProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
};

class TSkinScControl : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  ~TSkinScControl() override;
  std::unique_ptr<TWScrollbar> Overlay;

  void InitScrollbar(TControl *control, TSkinData *data, TCanvas *canvas, TWinSkinForm *form);
  void AfterProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
  void Unsubclass() override;
};
