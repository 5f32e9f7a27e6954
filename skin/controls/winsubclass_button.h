// Push-button painters: plain, bit (glyph and caption), speed (windowless) and menu (with a
// drop-down arrow) buttons, all drawn from the skin's button element by replacing the control's
// own painting.
//
// Frames of the button element: 1 normal, 2 pressed, 3 disabled, 4 mouse over, 5 focused.
#pragma once

#include "skin/controls/winsubclass.h"

#include <memory>

class TDataSkinButton;

// The frame of a windowed button: focused 5 (4 for menu buttons), then pressed 2 or hot 4,
// then disabled 3, each rule overriding the one before.
int ButtonFrame(bool focused, TSkinControlStates mouse, bool enabled, bool menuButton = false);
// The glyph image of a button frame: pressed 3, disabled 2, others 1; a latched speed button 4.
int GlyphOfFrame(int frame, bool down = false);
// The caption colour of a frame: the button element's second colours where the skin gives
// them, clBtnShadow when disabled, else fontColour.
TColor ButtonTextColor(const TDataSkinButton &button, int frame, TColor fontColour);

// Where a glyph and a caption go in a button (the bit-button layout rule). C is the button
// size, G the glyph size, T the text size; layout 0 glyph left, 1 right, 2 top, 3 bottom.
struct TGlyphLayout {
  POINT Glyph{0, 0};
  POINT Text{0, 0};
  UINT Format = DT_WORDBREAK;
};
TGlyphLayout LayoutGlyph(SIZE c, SIZE g, SIZE t, int layout, int margin, int spacing, bool centred,
                         bool speedButton = false);

class TSkinButton : public TSkinControl {
public:
  explicit TSkinButton(TComponent *owner);
  ~TSkinButton() override;

  std::unique_ptr<TBitmap> Buffer;
  bool Transparent = false;
  bool Redraw = true;

  void Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) override;
  bool BeforeProc(TMessage &message) override;
  void AfterProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
  void DrawBtnText(TCanvas &canvas, const RECT &r, const std::wstring &text, UINT format);
  // After the control's own handling of a press: the window shows again, unless that handling
  // hid the control (false then).
  bool EndPress();
  void SetRedraw(bool value);
  void WMEnable(TMessage &message);

protected:
  // The state, buffer, background and button frame every windowed button starts with; false
  // when the skin has no button picture.
  bool BeginButtonPaint(const RECT &r, int &frame, bool menuButton = false);
  // The caption font and colour of a frame on the buffer's canvas.
  void SelectCaptionFont(int frame);
  bool TransparentByTag() const;
};

class TSkinBitButton : public TSkinButton {
public:
  using TSkinButton::TSkinButton;
  std::string PictureProperty; // draw this picture property instead of a glyph
  void DrawControl(HDC dc, const RECT &r) override;
  void DrawGlyph(TCanvas &canvas, POINT at, TBitmap &glyph, int numGlyphs, int index);
};

class TSkinSpeedButton : public TSkinBitButton {
public:
  using TSkinBitButton::TSkinBitButton;
  bool Painting = false;
  void InitGraphicControl(TWinSkinForm *form, TSkinData *data, TCanvas *canvas);
  bool BeforeProc(TMessage &message) override;
  void AfterProc(TMessage &message) override;
  void PaintControl(HDC dc) override;
  void WMPaintSpeed(TMessage &message);
  void DrawSpeedbtn(TCanvas &canvas, const RECT &r);
};

class TSkinMenuButton : public TSkinButton {
public:
  using TSkinButton::TSkinButton;
  void DrawControl(HDC dc, const RECT &r) override;
};
