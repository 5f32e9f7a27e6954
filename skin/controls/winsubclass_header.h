// Header controls (the column titles of list views): every column drawn from the skin's header
// element, the column under the mouse in its hot look, a column held down by the mouse in its
// pressed look.
#pragma once

#include "skin/controls/winsubclass.h"

#include <vector>

class TSkinHeader : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  std::vector<RECT> ItemRects; // each column narrowed by 3 pixels a side: where it is hot
  int HotItem = -1;
  int PressedItem = -1; // the column the left button went down on, until it comes up

  void Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) override;
  void Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) override;
  bool BeforeProc(TMessage &message) override;
  void AfterProc(TMessage &message) override;
  void WMMouseMove(TMessage &message);
  void DrawControl(HDC dc, const RECT &r) override;
  void DrawItem(HIMAGELIST images, TCanvas &canvas, int index, const RECT &r);
};
