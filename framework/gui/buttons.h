// Buttons with pictures: the bit button (a push button with a glyph beside its caption) and the
// speed button (a windowless button for tool strips, optionally flat, optionally latching).
//
// A glyph holds NumGlyphs images side by side: up, disabled, pressed, down (latched).
#pragma once

#include "framework/gui/bitmap.h"
#include "framework/gui/stdctrls.h"

#include <memory>

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The picture settings both buttons share, and the layout of glyph and caption in a button.
class TGlyphSettings {
public:
  TGlyphSettings();
  TBitmap *Glyph() const { return glyph_.get(); }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value) { numGlyphs_ = value < 1 ? 1 : value; }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value) { layout_ = value; }
  int Margin() const { return margin_; }
  void SetMargin(int value) { margin_ = value; }
  int Spacing() const { return spacing_; }
  void SetSpacing(int value) { spacing_ = value; }

  // Draws image (1 up, 2 disabled, 3 pressed, 4 down; the first when there are fewer) and the
  // caption into r of dc, laid out by Layout, Margin and Spacing.
  void DrawContent(HDC dc, const RECT &r, const std::string &caption, int image, bool enabled,
                   HFONT font);

private:
  std::unique_ptr<TBitmap> glyph_;
  int numGlyphs_ = 1;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

class TBitBtn : public TButton, public TGlyphSettings {
public:
  explicit TBitBtn(TComponent *owner);
  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CNDrawItem(TMessage &message);
};

class TSpeedButton : public TGraphicControl, public TGlyphSettings {
public:
  explicit TSpeedButton(TComponent *owner);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  // Latching: a button of a group index above 0 stays down after a click; one of a group goes
  // up when another of the same parent and group goes down.
  bool Down() const { return down_; }
  void SetDown(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value) { groupIndex_ = value; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value) { allowAllUp_ = value; }
  void Click() override;
  void WndProc(TMessage &message) override;

protected:
  void Paint() override;

private:
  bool flat_ = false;
  bool down_ = false;
  bool pressed_ = false; // the left button is held on it
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
};

void RegisterButtons();
