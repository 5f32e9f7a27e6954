// Colours and the three drawing tools of a canvas: font, brush and pen.
//
// Each tool keeps its values and makes its GDI handle on first use; a change of a value drops
// the handle (after the canvas that has it selected has put its original object back), so the
// next drawing operation picks up the new look.
#pragma once

#include "framework/core/delegates.h"
#include "framework/core/objects.h"
#include "framework/core/sysutils.h"
#include "framework/gui/gdiobj.h"

#include <windows.h>

#include <cstdint>
#include <string>

// A colour: 0x00BBGGRR, or a system colour reference 0x80000000 | COLOR_xxx index.
using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
// "No colour" and "the default colour": markers, never drawn.
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

// The RGB value to hand to GDI: a system colour reference becomes the current system colour
// (GetSysColor of its low byte); any other value keeps its low three bytes, so that the markers
// clNone and clDefault never reach GDI as palette references.
COLORREF ColorToRGB(TColor color);

class EInvalidGraphic : public Exception {
public:
  using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
public:
  using Exception::Exception;
};
class EOutOfResources : public Exception {
public:
  using Exception::Exception;
};

class TCanvas;

class TGraphicsObject : public TPersistent {
public:
  TGraphicsObject() = default;
  TGraphicsObject(const TGraphicsObject &) = delete;
  TGraphicsObject &operator=(const TGraphicsObject &) = delete;

  // Fired after every change of a value (controls repaint from it).
  const TNotifyEvent &OnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent &handler) { onChange_ = handler; }

protected:
  // Called by every setter that changes a value the handle is made from.
  void Changed();
  // Called for a change that leaves the handle valid (the colour of a font).
  void Notify();
  virtual void FreeHandle() = 0;

private:
  friend class TCanvas;
  TCanvas *canvas_ = nullptr; // the canvas this tool belongs to, told before the handle goes
  TNotifyEvent onChange_;
};

using TFontStyles = uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

// The default is the program's own UI font: 宋体 9 pt (12 pixels at 96 dpi) in the GB2312
// character set, in the window-text colour. Names are ANSI (GBK) strings.
class TFont : public TGraphicsObject {
public:
  TFont();
  void Assign(const TFont &source);
  // Takes name, height, style and character set from a LOGFONT (a system font, for one).
  void AssignLogFont(const LOGFONTA &font);

  const std::string &Name() const { return name_; }
  void SetName(const std::string &name);
  // Height in pixels as LOGFONT has it: negative for the character height, positive for the
  // cell height.
  int Height() const { return height_; }
  void SetHeight(int height);
  // Size in points at the screen's vertical resolution.
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color); // only the text colour: the handle stays
  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE charset);

  HFONT Handle();
  // Vertical pixels per inch of the screen, read once.
  static int PixelsPerInch();

protected:
  void FreeHandle() override { handle_.Reset(); }

private:
  std::string name_;
  int height_;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  BYTE charset_ = GB2312_CHARSET;
  GdiFont handle_;
};

enum class TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

class TBrush : public TGraphicsObject {
public:
  void Assign(const TBrush &source);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  HBRUSH Handle();

protected:
  void FreeHandle() override { handle_.Reset(); }

private:
  TColor color_ = clWhite;
  TBrushStyle style_ = TBrushStyle::bsSolid;
  GdiBrush handle_;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
public:
  void Assign(const TPen &source);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width); // values below 1 count as 1
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  HPEN Handle();

protected:
  void FreeHandle() override { handle_.Reset(); }

private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = TPenStyle::psSolid;
  GdiPen handle_;
};
