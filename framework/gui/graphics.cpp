#include "framework/gui/graphics.h"

#include "framework/gui/canvas.h"

#include <cstring>

COLORREF ColorToRGB(TColor color) {
  if (color & clSystemColor)
    return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFF;
}

void TGraphicsObject::Changed() {
  if (canvas_)
    canvas_->ToolChanging(*this);
  FreeHandle();
  Notify();
}

void TGraphicsObject::Notify() {
  if (onChange_)
    onChange_(this);
}

// ---------------------------------------------------------------- TFont

namespace {

// 宋体 in GBK, written as bytes so that this unit needs no code-page option.
const char kDefaultFontName[] = "\xCB\xCE\xCC\xE5";

} // namespace

TFont::TFont() : name_(kDefaultFontName), height_(-MulDiv(9, PixelsPerInch(), 72)) {}

int TFont::PixelsPerInch() {
  static const int ppi = [] {
    HDC screen = GetDC(nullptr);
    int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
      ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return ppi;
}

void TFont::Assign(const TFont &source) {
  // Painters assign the same font at every paint: keep the handle when nothing changes.
  if (&source == this || (name_ == source.name_ && height_ == source.height_ &&
                          style_ == source.style_ && color_ == source.color_ &&
                          charset_ == source.charset_))
    return;
  name_ = source.name_;
  height_ = source.height_;
  style_ = source.style_;
  color_ = source.color_;
  charset_ = source.charset_;
  Changed();
}

void TFont::AssignLogFont(const LOGFONTA &font) {
  name_.assign(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
  height_ = font.lfHeight;
  style_ = (font.lfWeight >= FW_BOLD ? fsBold : 0) | (font.lfItalic ? fsItalic : 0) |
           (font.lfUnderline ? fsUnderline : 0) | (font.lfStrikeOut ? fsStrikeOut : 0);
  charset_ = font.lfCharSet;
  Changed();
}

void TFont::SetName(const std::string &name) {
  if (name == name_)
    return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_)
    return;
  height_ = height;
  Changed();
}

int TFont::Size() const {
  return -MulDiv(height_, 72, PixelsPerInch());
}

void TFont::SetSize(int points) {
  SetHeight(-MulDiv(points, PixelsPerInch(), 72));
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_)
    return;
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_)
    return;
  color_ = color;
  Notify();
}

void TFont::SetCharset(BYTE charset) {
  if (charset == charset_)
    return;
  charset_ = charset;
  Changed();
}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    // A name too long for LOGFONT is cut at a character boundary of the code page.
    size_t n = 0;
    while (n < name_.size()) {
      size_t step = IsDBCSLeadByte(static_cast<BYTE>(name_[n])) ? 2 : 1;
      if (n + step > LF_FACESIZE - 1)
        break;
      n += step;
    }
    std::memcpy(lf.lfFaceName, name_.data(), n);
    handle_.Reset(CreateFontIndirectA(&lf));
    if (!handle_)
      throw EOutOfResources("cannot create font");
  }
  return handle_.Get();
}

// ---------------------------------------------------------------- TBrush

void TBrush::Assign(const TBrush &source) {
  if (&source == this)
    return;
  color_ = source.color_;
  style_ = source.style_;
  Changed();
}

void TBrush::SetColor(TColor color) {
  if (color == color_)
    return;
  color_ = color;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_)
    return;
  style_ = style;
  Changed();
}

HBRUSH TBrush::Handle() {
  if (!handle_) {
    LOGBRUSH lb{};
    lb.lbColor = ColorToRGB(color_);
    switch (style_) {
    case TBrushStyle::bsSolid:
      lb.lbStyle = BS_SOLID;
      break;
    case TBrushStyle::bsClear:
      lb.lbStyle = BS_NULL;
      break;
    default:
      lb.lbStyle = BS_HATCHED;
      static constexpr int hatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL,
                                        HS_BDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};
      lb.lbHatch = hatches[static_cast<int>(style_) - static_cast<int>(TBrushStyle::bsHorizontal)];
      break;
    }
    handle_.Reset(CreateBrushIndirect(&lb));
    if (!handle_)
      throw EOutOfResources("cannot create brush");
  }
  return handle_.Get();
}

// ---------------------------------------------------------------- TPen

void TPen::Assign(const TPen &source) {
  if (&source == this)
    return;
  color_ = source.color_;
  width_ = source.width_;
  style_ = source.style_;
  Changed();
}

void TPen::SetColor(TColor color) {
  if (color == color_)
    return;
  color_ = color;
  Changed();
}

void TPen::SetWidth(int width) {
  if (width < 1)
    width = 1;
  if (width == width_)
    return;
  width_ = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == style_)
    return;
  style_ = style;
  Changed();
}

HPEN TPen::Handle() {
  if (!handle_) {
    static constexpr int styles[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                     PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    handle_.Reset(CreatePen(styles[static_cast<int>(style_)], width_, ColorToRGB(color_)));
    if (!handle_)
      throw EOutOfResources("cannot create pen");
  }
  return handle_.Get();
}
