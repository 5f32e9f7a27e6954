// Edits, date-time pickers and up-down buttons.
//
// An edit keeps its own painting; the skin draws a flat border over its 3-D one. A date-time
// picker gets the same border and a real arrow-button window over its drop-down button. An
// up-down's painting is replaced by two skin buttons.
#pragma once

#include "framework/gui/controls.h"
#include "skin/controls/winsubclass.h"

class TSkinUpDown;
class TSkinDateTime;

class TSkinEdit : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  TSkinUpDown *UpDown = nullptr; // the skinning object of an up-down inside the edit

  void AfterProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
  void FindUPDown(HWND window, TSkinData *data, TCanvas *canvas);
  void PaintControl1(HDC dc);
  void DrawControl1(HDC dc, const RECT &r);
};

// The arrow at the right (left) of a drop-down date-time picker, a window of its own.
class TArrowButton : public TCustomControl {
public:
  explicit TArrowButton(TComponent *owner);
  int Size;
  TWinControl *Target = nullptr;
  TSkinDateTime *SkinControl = nullptr;
  HWND TargetHandle = nullptr;
  bool Hot = false;

  void Attach(TSkinDateTime *skinControl, TWinControl *control);
  void WndProc(TMessage &message) override;

protected:
  void Paint() override;
};

class TSkinDateTime : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  TArrowButton *ArrowButton = nullptr; // owned through the component tree

  void Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) override;
  void DrawControl(HDC dc, const RECT &r) override;
};

class TSkinUpDown : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  bool InEdit = false;     // keep clear of the edit's border
  bool Horizontal = false; // buttons side by side whatever the style says

  bool BeforeProc(TMessage &message) override;
  void AfterProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
  void DrawBackGround(TMessage &message);
  // Kinds: 0 up, 1 down, 2 left, 3 right. States: 1 normal, 2 pressed, 4 hot.
  void DrawSkinButton(HDC dc, const RECT &r, int kind, int state);
  void DrawButton(TCanvas &canvas, const RECT &r, int kind, int state);
};

// The two button states of an up-down (first, second) for the cursor along its axis.
struct TUpDownStates {
  int First, Second;
};
TUpDownStates UpDownStates(TSkinControlStates mouse, int cursor, int half);

// The line arrow of an up-down without skin buttons, drawn with the canvas pen.
void DrawArrow(TCanvas &canvas, int x, int y, int kind);
