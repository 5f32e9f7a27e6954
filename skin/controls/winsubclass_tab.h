// Tab controls, page controls and their pages, button-like tabs and old-style tab sets.
//
// Every one of them has its painting replaced. The tab strip is composed lying horizontally in
// a buffer from the skin's tab strip and turned for tabs at the left or right; the page frame is
// the skin's pane picture, turned to face the tabs.
#pragma once

#include "skin/controls/winsubclass.h"

#include <memory>
#include <vector>

class TSkinUpDown;

// A page control whose Tag is this (with its tabs at the top) gets close boxes on its tabs.
constexpr int kCloseBoxTag = 7777;

enum TSkinTabPosition { StTop, Stbottom, Stleft, Stright };

// The tabs' side by the window style.
TSkinTabPosition TabPositionOf(LONG_PTR style);
// The close box of a tab drawn at t (in the strip's coordinates).
RECT CloseBoxRect(const RECT &t);

class TSkinTab : public TSkinControl {
public:
  explicit TSkinTab(TComponent *owner);
  ~TSkinTab() override;

  std::vector<RECT> CloseRects; // one per tab: its close box
  TSkinTabPosition Position = StTop;
  bool WideText = false;
  std::unique_ptr<TBitmap> TabImage;  // the skin's tab strip, turned for Position
  std::unique_ptr<TBitmap> PaneImage; // the page frame, turned for Position
  std::unique_ptr<TBitmap> Buffer;    // the tab strip, lying horizontally
  TSkinUpDown *UpDown = nullptr;      // the scroll arrows of tabs that do not fit
  bool CloseButtons = false;

  void Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) override;
  void Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) override;
  bool BeforeProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
  void SkinChange() override;
  void inittab();
  TSkinTabPosition GetPosition() const;
  // Skins the scroll arrows once; true when they show.
  bool FindScroll();
  // Copies the buffer to r on dc, leaving the scroll arrows alone.
  void ClipUpdown(HDC dc, const RECT &r);
  void Drawitem(HDC dc, const RECT &r, int frame);
  void drawCloseBtn(const RECT &r, int index);
  // A click on a close box: the form's window is asked, and the page goes unless it says no.
  bool ClickClose(TMessage &message);

private:
  std::wstring TabText(int index, int &imageIndex);
};

class TSkinTabSheet : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
};

class TSkinTabBtn : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
};

class TSkinTab31 : public TSkinControl {
public:
  explicit TSkinTab31(TComponent *owner);
  ~TSkinTab31() override;
  std::unique_ptr<TBitmap> TabImage; // the skin's tab strip upside down: the tabs hang

  void Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) override;
  bool BeforeProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
  void SkinChange() override;
  void inittab();
};
