// Progress bars, track bars, status bars, tool bars, size grips and plain windows.
//
// A progress bar's and a status bar's painting is replaced; a track bar keeps its own painting
// and has only its channel and thumb drawn from the skin through its custom-draw notifications;
// a tool bar and a plain window get only their background; a size grip is painted over with
// the face colour.
#pragma once

#include "framework/gui/stdctrls.h"
#include "skin/controls/winsubclass.h"

#include <commctrl.h>

#include <functional>
#include <string>

class TSkinProgress : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
  // Progress.Style 1: the filled part made of chunks.
  void DrawControl1(HDC dc, const RECT &r);

private:
  // The bar lying horizontally with the skin's empty bar (frame 1 of frames) and its filled part
  // drawn by drawFilled(dc, whole bar, filled part), turned upright for a vertical bar and
  // copied to dc.
  void DrawBar(HDC dc, const RECT &r, int frames,
               const std::function<void(HDC, const RECT &, const RECT &)> &drawFilled);
};

// The filled length of a bar `length` long at position of upper; nothing unless both are above
// 0. The lower limit of the range plays no part.
int ProgressFill(int length, int position, int upper);

class TSkinTrackBar : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage &message) override;
  LRESULT CustomDraw(const NMCUSTOMDRAW &info);
  void DrawTrack(const NMCUSTOMDRAW &info);
  void Drawthumb(const NMCUSTOMDRAW &info);
};

// The channel of a track bar, upright for a vertical one (some systems answer a vertical bar's
// channel lying down, as if the bar were horizontal).
RECT TrackChannel(HWND trackBar, bool vertical);

class TSkinStatusBar : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
  // One panel's background (frame 1 lowered, 2 raised, 3 flat) into the shared buffer BG.
  void drawitem(HDC dc, const RECT &r, UINT alignment, const std::wstring &text, int frame);
  // The background without a skin picture: a 3-D edge.
  void Defaultpaint(TCanvas &canvas, const RECT &r, UINT alignment, const std::wstring &text,
                    int frame);
};

// The two edge colours of a panel frame: shadow above and left, highlight below and right;
// swapped for a raised panel (frame 2).
void AdjustColors(int frame, TColor &topLeft, TColor &bottomRight);
// The DT_ alignment of a status-bar text.
UINT PanelAlignment(TAlignment alignment, bool rightToLeft);

class TSkinToolbar : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  TColor GradientStart = 0, GradientEnd = 0;

  void Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) override;
  void Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) override;
  bool BeforeProc(TMessage &message) override;
  void ERASEBKGND(TMessage &message);

private:
  void MakeGradient();
};

class TSkinTransObj : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage &message) override;
  void ERASEBKGND(HDC dc);
};

class TSkinSizer : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  void DrawControl(HDC dc, const RECT &r) override;
};
