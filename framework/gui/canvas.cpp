#include "framework/gui/canvas.h"

#include "framework/gui/bitmap.h"
#include "framework/gui/icon.h"

#include <climits>

namespace {

int TextLength(const std::string &text) {
  return text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
}

// Restores a DC's stretch mode when the scope ends.
class StretchModeScope {
public:
  StretchModeScope(HDC dc, int mode) : dc_(dc), previous_(SetStretchBltMode(dc, mode)) {}
  ~StretchModeScope() {
    if (previous_)
      SetStretchBltMode(dc_, previous_);
  }
  StretchModeScope(const StretchModeScope &) = delete;
  StretchModeScope &operator=(const StretchModeScope &) = delete;

private:
  HDC dc_;
  int previous_;
};

} // namespace

TCanvas::TCanvas() {
  font_.canvas_ = this;
  brush_.canvas_ = this;
  pen_.canvas_ = this;
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
}

HDC TCanvas::Handle() {
  if (!dc_)
    CreateHandle();
  if (!dc_)
    throw EInvalidGraphicOperation("Canvas does not allow drawing");
  return dc_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_)
    return;
  DeselectTools(kFont | kPen | kBrush);
  dc_ = dc;
  originalFont_ = originalPen_ = originalBrush_ = nullptr;
}

void TCanvas::Refresh() {
  DeselectTools(kFont | kPen | kBrush);
}

HDC TCanvas::RequireState(int tools) {
  HDC dc = Handle();
  for (int tool : {kFont, kPen, kBrush})
    if ((tools & tool) && !(selected_ & tool))
      SelectTool(tool);
  return dc;
}

void TCanvas::SelectTool(int tool) {
  HGDIOBJ object = tool == kFont  ? static_cast<HGDIOBJ>(font_.Handle())
                   : tool == kPen ? static_cast<HGDIOBJ>(pen_.Handle())
                                  : static_cast<HGDIOBJ>(brush_.Handle());
  HGDIOBJ previous = SelectObject(dc_, object);
  if (!previous || previous == HGDI_ERROR)
    throw EInvalidGraphicOperation("cannot select a drawing tool into the device context");
  HGDIOBJ &original = tool == kFont ? originalFont_ : tool == kPen ? originalPen_ : originalBrush_;
  if (!original)
    original = previous;
  if (tool == kBrush) {
    // Hatched brushes and styled pens paint their gaps in the background colour.
    SetBkColor(dc_, ColorToRGB(brush_.Color()));
    SetBkMode(dc_, brush_.Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
  }
  selected_ |= tool;
}

void TCanvas::DeselectTools(int tools) {
  if (!dc_)
    return;
  if ((tools & kFont) && (selected_ & kFont))
    SelectObject(dc_, originalFont_);
  if ((tools & kPen) && (selected_ & kPen))
    SelectObject(dc_, originalPen_);
  if ((tools & kBrush) && (selected_ & kBrush))
    SelectObject(dc_, originalBrush_);
  selected_ &= ~tools;
}

void TCanvas::ToolChanging(TGraphicsObject &tool) {
  if (&tool == &font_)
    DeselectTools(kFont);
  else if (&tool == &pen_)
    DeselectTools(kPen);
  else if (&tool == &brush_)
    DeselectTools(kBrush);
}

void TCanvas::PrepareText(HDC dc) {
  SetTextColor(dc, ColorToRGB(font_.Color()));
  if (brush_.Style() == TBrushStyle::bsClear) {
    SetBkMode(dc, TRANSPARENT);
  } else {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(brush_.Color()));
  }
}

POINT TCanvas::PenPos() {
  POINT p{};
  GetCurrentPositionEx(Handle(), &p);
  return p;
}

void TCanvas::MoveTo(int x, int y) {
  MoveToEx(Handle(), x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  ::LineTo(RequireState(kPen | kBrush), x, y);
}

void TCanvas::Polyline(std::span<const POINT> points) {
  ::Polyline(RequireState(kPen | kBrush), points.data(), static_cast<int>(points.size()));
}

void TCanvas::Polygon(std::span<const POINT> points) {
  ::Polygon(RequireState(kPen | kBrush), points.data(), static_cast<int>(points.size()));
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  ::Rectangle(RequireState(kPen | kBrush), left, top, right, bottom);
}

void TCanvas::Rectangle(const RECT &rect) {
  Rectangle(rect.left, rect.top, rect.right, rect.bottom);
}

void TCanvas::FillRect(const RECT &rect) {
  ::FillRect(Handle(), &rect, brush_.Handle());
}

void TCanvas::FrameRect(const RECT &rect) {
  ::FrameRect(Handle(), &rect, brush_.Handle());
}

void TCanvas::TextOut(int x, int y, const std::string &text) {
  HDC dc = RequireState(kFont | kBrush);
  PrepareText(dc);
  ::TextOutA(dc, x, y, text.data(), TextLength(text));
  MoveToEx(dc, x + TextWidth(text), y, nullptr);
}

void TCanvas::TextRect(const RECT &rect, int x, int y, const std::string &text) {
  HDC dc = RequireState(kFont | kBrush);
  PrepareText(dc);
  UINT options = ETO_CLIPPED;
  if (brush_.Style() != TBrushStyle::bsClear)
    options |= ETO_OPAQUE;
  ExtTextOutA(dc, x, y, options, &rect, text.data(), TextLength(text), nullptr);
}

SIZE TCanvas::TextExtent(const std::string &text) {
  SIZE size{};
  GetTextExtentPoint32A(RequireState(kFont), text.data(), TextLength(text), &size);
  return size;
}

int TCanvas::DrawText(const std::string &text, RECT &rect, UINT format) {
  HDC dc = RequireState(kFont | kBrush);
  PrepareText(dc);
  return ::DrawTextA(dc, text.data(), TextLength(text), &rect, format);
}

int TCanvas::DrawTextW(const std::wstring &text, RECT &rect, UINT format) {
  HDC dc = RequireState(kFont | kBrush);
  PrepareText(dc);
  return ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect, format);
}

void TCanvas::CopyRect(const RECT &dest, TCanvas &source, const RECT &sourceRect) {
  HDC dc = RequireState(kBrush); // pattern raster operations use the brush
  HDC src = source.Handle();
  StretchModeScope mode(dc, COLORONCOLOR);
  StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src,
             sourceRect.left, sourceRect.top, sourceRect.right - sourceRect.left,
             sourceRect.bottom - sourceRect.top, copyMode_);
}

void TCanvas::Draw(int x, int y, TBitmap &bitmap) {
  if (bitmap.Empty())
    return;
  RECT dest{x, y, x + bitmap.Width(), y + bitmap.Height()};
  StretchDraw(dest, bitmap);
}

void TCanvas::StretchDraw(const RECT &dest, TBitmap &bitmap) {
  if (bitmap.Empty())
    return;
  HDC dc = RequireState(kBrush);
  HDC src = bitmap.Canvas().Handle();
  const int w = bitmap.Width(), h = bitmap.Height();
  if (bitmap.Transparent()) {
    TransparentStretch(dc, dest, src, 0, 0, w, h, ColorToRGB(bitmap.TransparentColor()));
    return;
  }
  StretchModeScope mode(dc, COLORONCOLOR);
  StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src, 0, 0, w,
             h, copyMode_);
}

void TCanvas::Draw(int x, int y, TIcon &icon) {
  if (!icon.Empty())
    DrawIconEx(Handle(), x, y, icon.Handle(), 0, 0, 0, nullptr, DI_NORMAL);
}

void TCanvas::StretchDraw(const RECT &dest, TIcon &icon) {
  if (!icon.Empty())
    DrawIconEx(Handle(), dest.left, dest.top, icon.Handle(), dest.right - dest.left,
               dest.bottom - dest.top, 0, nullptr, DI_NORMAL);
}

TColor TCanvas::Pixels(int x, int y) {
  COLORREF c = GetPixel(Handle(), x, y);
  return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  SetPixel(Handle(), x, y, ColorToRGB(color));
}

RECT TCanvas::ClipRect() {
  RECT r{};
  GetClipBox(Handle(), &r);
  return r;
}

void TCanvas::Lock() {
  lock_.lock();
  ++lockCount_;
}

bool TCanvas::TryLock() {
  if (!lock_.try_lock())
    return false;
  ++lockCount_;
  return true;
}

void TCanvas::Unlock() {
  --lockCount_;
  lock_.unlock();
}

void TransparentStretch(HDC dest, const RECT &destRect, HDC source, int sx, int sy, int sw, int sh,
                        COLORREF key) {
  const int dw = destRect.right - destRect.left, dh = destRect.bottom - destRect.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
    return;

  // A stretched source is first scaled into a scratch image, so that the mask and the colour
  // pixels come from the very same picture.
  HDC image = source;
  int ix = sx, iy = sy;
  // Bitmaps are declared before their DCs, so each DC is gone (and its selection with it) before
  // its bitmap is deleted, on every path.
  GdiBitmap scratch;
  GdiMemoryDC scratchDC;
  if (dw != sw || dh != sh) {
    scratchDC.Reset(CreateCompatibleDC(dest));
    scratch.Reset(CreateCompatibleBitmap(source, dw, dh));
    if (!scratchDC || !scratch)
      throw EOutOfResources("cannot create a scratch bitmap");
    SelectObject(scratchDC.Get(), scratch.Get());
    SetStretchBltMode(scratchDC.Get(), COLORONCOLOR);
    StretchBlt(scratchDC.Get(), 0, 0, dw, dh, source, sx, sy, sw, sh, SRCCOPY);
    image = scratchDC.Get();
    ix = iy = 0;
  }

  // Mask: white where the image has the key colour, black elsewhere.
  GdiBitmap mask(CreateBitmap(dw, dh, 1, 1, nullptr));
  GdiMemoryDC maskDC(CreateCompatibleDC(dest));
  if (!mask || !maskDC)
    throw EOutOfResources("cannot create a transparency mask");
  SelectObject(maskDC.Get(), mask.Get());
  COLORREF imageBk = SetBkColor(image, key);
  BitBlt(maskDC.Get(), 0, 0, dw, dh, image, ix, iy, SRCCOPY);
  SetBkColor(image, imageBk);

  // dest ^ image, then cleared where opaque, then ^ image again: opaque pixels become the
  // image, keyed pixels end as dest. The mask's white must map to all ones.
  COLORREF destText = SetTextColor(dest, RGB(0, 0, 0));
  COLORREF destBk = SetBkColor(dest, RGB(255, 255, 255));
  BitBlt(dest, destRect.left, destRect.top, dw, dh, image, ix, iy, SRCINVERT);
  BitBlt(dest, destRect.left, destRect.top, dw, dh, maskDC.Get(), 0, 0, SRCAND);
  BitBlt(dest, destRect.left, destRect.top, dw, dh, image, ix, iy, SRCINVERT);
  SetTextColor(dest, destText);
  SetBkColor(dest, destBk);
}
