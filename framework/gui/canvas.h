// A drawing surface over a device context, with its own font, brush and pen.
//
// A canvas either borrows a DC (SetHandle: a window DC during WM_PAINT, say) or makes its own
// (a bitmap's canvas). It selects its tools into the DC only when an operation needs them and
// puts the DC's original objects back when it lets the DC go, so a borrowed DC is returned as
// it was given.
#pragma once

#include "framework/gui/graphics.h"

#include <mutex>
#include <span>
#include <string>

class TBitmap;
class TIcon;

class TCanvas : public TPersistent {
public:
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas &) = delete;
  TCanvas &operator=(const TCanvas &) = delete;

  // The DC, made on demand by canvases that own one; raises EInvalidGraphicOperation for a
  // canvas that has none.
  HDC Handle();
  // Attaches a DC that stays the caller's (nullptr detaches). The previous DC gets back the
  // objects it had before this canvas selected its tools.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }
  // Puts the DC's original objects back; the next operation selects the tools again.
  void Refresh();

  TFont &Font() { return font_; }
  TBrush &Brush() { return brush_; }
  TPen &Pen() { return pen_; }

  // Raster operation of CopyRect and Draw; SRCCOPY by default.
  DWORD CopyMode() const { return copyMode_; }
  void SetCopyMode(DWORD rop) { copyMode_ = rop; }

  POINT PenPos();
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(std::span<const POINT> points);
  void Polygon(std::span<const POINT> points);
  // Outlined with the pen, filled with the brush; the right and bottom edges are exclusive.
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const RECT &rect);
  void FillRect(const RECT &rect);  // with the brush, no outline
  void FrameRect(const RECT &rect); // one-pixel frame in the brush

  // Text in the font's colour; the background is filled with the brush colour unless the brush
  // style is bsClear. Texts are ANSI (GBK) strings.
  void TextOut(int x, int y, const std::string &text);
  // Like TextOut, clipped to rect (which is also filled when the brush is not clear).
  void TextRect(const RECT &rect, int x, int y, const std::string &text);
  SIZE TextExtent(const std::string &text);
  int TextWidth(const std::string &text) { return TextExtent(text).cx; }
  int TextHeight(const std::string &text) { return TextExtent(text).cy; }
  // DrawText with DT_ flags; rect is updated when DT_CALCRECT asks for it. Returns the height.
  int DrawText(const std::string &text, RECT &rect, UINT format);
  // The same for wide text (the skin engine's captions).
  int DrawTextW(const std::wstring &text, RECT &rect, UINT format);

  // Copies source's rectangle onto dest, stretched if the sizes differ (COLORONCOLOR).
  void CopyRect(const RECT &dest, TCanvas &source, const RECT &sourceRect);
  // The bitmap at its own size; a transparent bitmap leaves its transparent colour's pixels
  // of the canvas as they were.
  void Draw(int x, int y, TBitmap &bitmap);
  void Draw(int x, int y, TIcon &icon);
  void StretchDraw(const RECT &dest, TBitmap &bitmap);
  void StretchDraw(const RECT &dest, TIcon &icon);

  // clNone outside the clip region or the surface.
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);
  RECT ClipRect();

  // Serialises drawing from more than one thread; nests.
  void Lock();
  bool TryLock();
  void Unlock();
  int LockCount() const { return lockCount_; }

protected:
  // Canvases that own their DC make it here and attach it with SetHandle.
  virtual void CreateHandle() {}

private:
  friend class TGraphicsObject;
  enum Tool { kFont = 1, kPen = 2, kBrush = 4 };

  HDC RequireState(int tools);
  void SelectTool(int tool);
  void DeselectTools(int tools);
  void ToolChanging(TGraphicsObject &tool);
  void PrepareText(HDC dc);

  HDC dc_ = nullptr;
  int selected_ = 0;
  HGDIOBJ originalFont_ = nullptr;
  HGDIOBJ originalPen_ = nullptr;
  HGDIOBJ originalBrush_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  DWORD copyMode_ = SRCCOPY;
  std::recursive_mutex lock_;
  int lockCount_ = 0;
};

// Copies source (sw x sh at sx, sy) onto dest's rectangle, stretched with COLORONCOLOR when the
// sizes differ, leaving dest unchanged wherever the (stretched) source has exactly the key
// colour.
void TransparentStretch(HDC dest, const RECT &destRect, HDC source, int sx, int sy, int sw, int sh,
                        COLORREF key);
