// Check boxes, radio buttons and group boxes.
//
// Kind 1 (a framework control) replaces the control's painting: background, image and
// caption. Kind 0 (a bare window of a standard dialog) overlays it: only the image is drawn
// over the control's own. A skin without the image sends the control back to painting itself.
#pragma once

#include "skin/controls/winsubclass.h"

// The image of a check strip of frameCount images (1-based): 1 unchecked, 2 checked, 3 and 4
// their disabled looks, 4 also indeterminate; a 12-image strip in groups of four.
int CheckImageIndex(int checked, bool disabled, bool indeterminate, int frameCount);
// The same for a radio strip; an 8-image strip in groups of four, no indeterminate state.
int RadioImageIndex(bool checked, bool disabled, int frameCount);

// What check boxes and radio buttons share: the messages, the layout of the image beside the
// caption and the painting.
class TSkinMarkControl : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  bool Transparent = false;

  void Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) override;
  void Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) override;
  bool BeforeProc(TMessage &message) override;
  void AfterProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;

protected:
  // The strip and its image count; null when the skin has none.
  virtual TBitmap *Strip(int &frames) const = 0;
  virtual int ImageIndex(int frames) = 0;
  virtual bool IsRadio() const = 0;
};

class TSkinCheckBox : public TSkinMarkControl {
public:
  using TSkinMarkControl::TSkinMarkControl;
  int CheckState = 0; // 0 until BM_SETCHECK, then its wParam + 1
  void AfterProc(TMessage &message) override;

protected:
  TBitmap *Strip(int &frames) const override;
  int ImageIndex(int frames) override;
  bool IsRadio() const override { return false; }
};

class TSkinRadioButton : public TSkinMarkControl {
public:
  using TSkinMarkControl::TSkinMarkControl;

protected:
  TBitmap *Strip(int &frames) const override;
  int ImageIndex(int frames) override;
  bool IsRadio() const override { return true; }
};

class TSkinGroupBox : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  void Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) override;
  bool BeforeProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
  void DefaultDraw(HDC dc, const RECT &r);
};
