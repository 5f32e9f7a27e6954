// Progress bars, track bars, status bars, tool bars, size grips and plain windows.
#include "skin/controls/winsubclass_bars.h"

#include "framework/gui/comctrls.h"
#include "framework/gui/extctrls.h"
#include "skin/data/imgutil.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform_draw.h"

#include <algorithm>
#include <memory>

namespace {

RECT AtOrigin(const RECT &r) {
  return {0, 0, Width(r), Height(r)};
}

// Copies bitmap to dc at (x, y), leaving magenta out when transparent.
void Put(HDC dc, int x, int y, TBitmap &bitmap, bool transparent) {
  const RECT at{x, y, x + bitmap.Width(), y + bitmap.Height()};
  if (transparent)
    DrawTranmap(dc, at, bitmap, 0xFF00FF);
  else
    BitBlt(dc, x, y, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
}

// A painter that replaces the control's picture: WM_PAINT is its own, and nothing is erased
// first. False for the messages it handled.
bool ReplacePainting(TSkinControl &painter, TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
    painter.WMPaint(m);
    return false;
  case WM_ERASEBKGND:
    m.Result = 1;
    return false;
  default:
    return true;
  }
}

} // namespace

// ================================================================== progress bars

int ProgressFill(int length, int position, int upper) {
  if (position <= 0 || upper <= 0)
    return 0;
  return std::min(MulDiv(length, position, upper), length);
}

bool TSkinProgress::BeforeProc(TMessage &m) {
  // Without the skin's bar the control paints itself (on a background it need not erase).
  if (m.Msg == WM_PAINT && !HasSkinImage(SkinData->Progress))
    return true;
  return ReplacePainting(*this, m) && TSkinControl::BeforeProc(m);
}

void TSkinProgress::DrawControl(HDC dc, const RECT &r) {
  TDataSkinBorder *bar = SkinData->Progress;
  if (!HasSkinImage(bar) || Width(r) <= 0 || Height(r) <= 0)
    return;
  if (bar->Style == 1) {
    DrawControl1(dc, r);
    return;
  }
  DrawBar(dc, r, 2, [bar](HDC b, const RECT &, const RECT &filled) {
    DrawRect2(b, filled, *bar->Image, bar->Margins, 2, 2, true, bar->Tile != 0, false);
  });
}

void TSkinProgress::DrawControl1(HDC dc, const RECT &r) {
  TDataSkinObject *chunk = SkinData->ProgressChunk;
  if (!HasSkinImage(chunk))
    return;
  TBitmap &image = *chunk->Image;
  const bool transparent = chunk->Trans == 1;
  DrawBar(dc, r, 1, [&](HDC b, const RECT &all, const RECT &filled) {
    const int width = Width(filled), height = Height(all);
    if (chunk->Tile == 1) {
      // Whole chunks side by side, centred across the bar; a full bar stops inside its frame.
      const int cw = image.Width(), ch = image.Height();
      const int x = chunk->Margins.left + 2;
      const int w = std::min(width, Width(all) - x - 2);
      if (w <= 0 || cw <= 0)
        return;
      TBitmap strip(w, ch);
      for (int at = 0; at < w; at += cw)
        BitBlt(strip.Canvas().Handle(), at, 0, cw, ch, image.Canvas().Handle(), 0, 0, SRCCOPY);
      Put(b, x, (height - ch) / 2, strip, transparent);
      return;
    }
    const int w = std::min(width, Width(all) - 4);
    if (w <= 0 || height <= 4)
      return;
    TBitmap strip(w, height - 4);
    DrawRectH(strip.Canvas().Handle(), {0, 0, w, strip.Height()}, image, chunk->Margins, 1, 1,
              chunk->Tile, false);
    Put(b, 2, 2, strip, transparent);
  });
}

void TSkinProgress::DrawBar(
    HDC dc, const RECT &r, int frames,
    const std::function<void(HDC, const RECT &, const RECT &)> &drawFilled) {
  TDataSkinBorder *bar = SkinData->Progress;
  // A vertical bar is drawn lying down and turned at the end, so it fills from the bottom.
  const bool vertical = (GetWindowLongEx(Handle, GWL_STYLE) & PBS_VERTICAL) != 0;
  TBitmap buffer(vertical ? Height(r) : Width(r), vertical ? Width(r) : Height(r));
  const RECT all{0, 0, buffer.Width(), buffer.Height()};
  HDC b = buffer.Canvas().Handle();
  FillBG(b, all);
  DrawRect2(b, all, *bar->Image, bar->Margins, 1, frames, true, bar->Tile != 0, false);
  const int position = static_cast<int>(SendMessageA(Handle, PBM_GETPOS, 0, 0));
  const int upper = static_cast<int>(SendMessageA(Handle, PBM_GETRANGE, 0, 0));
  // The filled part, from the start to its length; all of the bar's height.
  const RECT filled{0, 0, ProgressFill(buffer.Width(), position, upper), buffer.Height()};
  if (!IsRectEmpty(&filled))
    drawFilled(b, all, filled);
  if (vertical)
    Drehen270Grad(&buffer);
  BitBlt(dc, r.left, r.top, Width(r), Height(r), buffer.Canvas().Handle(), 0, 0, SRCCOPY);
}

// ================================================================== track bars

RECT TrackChannel(HWND trackBar, bool vertical) {
  RECT c{};
  SendMessageA(trackBar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
  if (vertical && Width(c) > Height(c))
    return {c.top, c.left, c.bottom, c.right};
  return c;
}

bool TSkinTrackBar::BeforeProc(TMessage &m) {
  if (m.Msg == WM_NOTIFY || m.Msg == CN_NOTIFY) {
    const auto *header = reinterpret_cast<const NMHDR *>(m.LParam);
    if (header == nullptr || header->code != static_cast<UINT>(NM_CUSTOMDRAW))
      return true;
    m.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW *>(m.LParam));
    return false;
  }
  return TSkinControl::BeforeProc(m);
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW &info) {
  switch (info.dwDrawStage) {
  case CDDS_PREPAINT:
    return CDRF_NOTIFYITEMDRAW;
  case CDDS_ITEMPREPAINT:
    if (info.dwItemSpec == TBCD_THUMB) {
      Drawthumb(info);
      return CDRF_SKIPDEFAULT;
    }
    if (info.dwItemSpec == TBCD_CHANNEL) {
      DrawTrack(info);
      return CDRF_SKIPDEFAULT;
    }
    return CDRF_DODEFAULT;
  default:
    return CDRF_DODEFAULT; // the tick marks stay the control's
  }
}

void TSkinTrackBar::DrawTrack(const NMCUSTOMDRAW &info) {
  const bool vertical = (GetWindowLongEx(Handle, GWL_STYLE) & TBS_VERT) != 0;
  HDC dc = info.hdc;
  TDataSkinObject *track = vertical ? SkinData->TrackVert : SkinData->Track;
  if (!HasSkinImage(track))
    return; // the channel stays empty
  const RECT c = TrackChannel(Handle, vertical);
  TBitmap &image = *track->Image;
  HDC src = image.Canvas().Handle();
  const int w = image.Width(), h = image.Height();
  if (vertical) {
    const int mt = track->Margins.top, mb = track->Margins.bottom;
    const int x = w < Width(c) ? c.left + (Width(c) - w) / 2 : c.left;
    StretchBlt(dc, x, c.top, w, mt, src, 0, 0, w, mt, SRCCOPY);
    StretchBlt(dc, x, c.top + mt, w, Height(c) - mt - mb, src, 0, mt, w, h - mt - mb, SRCCOPY);
    StretchBlt(dc, x, c.bottom - mb, w, mb, src, 0, h - mb, w, mb, SRCCOPY);
  } else {
    const int ml = track->Margins.left, mr = track->Margins.right;
    const int y = h < Height(c) ? c.top + (Height(c) - h) / 2 : c.top;
    StretchBlt(dc, c.left, y, ml, h, src, 0, 0, ml, h, SRCCOPY);
    StretchBlt(dc, c.left + ml, y, Width(c) - ml - mr, h, src, ml, 0, w - ml - mr, h, SRCCOPY);
    StretchBlt(dc, c.right - mr, y, mr, h, src, w - mr, 0, mr, h, SRCCOPY);
  }
}

void TSkinTrackBar::Drawthumb(const NMCUSTOMDRAW &info) {
  if (!IsWindow(Handle))
    return;
  RECT t{};
  SendMessageA(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&t));
  const bool vertical = (GetWindowLongEx(Handle, GWL_STYLE) & TBS_VERT) != 0;
  TDataSkinObject *thumb = vertical && HasSkinImage(SkinData->ThumbVert) ? SkinData->ThumbVert
                           : HasSkinImage(SkinData->ThumbHorz)           ? SkinData->ThumbHorz
                                                                         : nullptr;
  if (thumb != nullptr) {
    // The resting frame in every state.
    DrawSkinMap1(info.hdc, t, *thumb->Image, 2, 5);
    return;
  }
  GdiPen pen(CreatePen(PS_SOLID, 1, ColorToRGB(SkinData->Colors[csButtonShadow])));
  HGDIOBJ old = SelectObject(info.hdc, pen.Get());
  HGDIOBJ brush = SelectObject(info.hdc, GetStockObject(WHITE_BRUSH));
  Rectangle(info.hdc, t.left, t.top, t.right, t.bottom);
  SelectObject(info.hdc, brush);
  SelectObject(info.hdc, old);
}

// ================================================================== status bars

void AdjustColors(int frame, TColor &topLeft, TColor &bottomRight) {
  topLeft = clBtnShadow;
  bottomRight = clBtnHighlight;
  if (frame == 2)
    std::swap(topLeft, bottomRight);
}

UINT PanelAlignment(TAlignment alignment, bool rightToLeft) {
  if (rightToLeft && alignment != TAlignment::taCenter)
    alignment = alignment == TAlignment::taLeftJustify ? TAlignment::taRightJustify
                                                       : TAlignment::taLeftJustify;
  return alignment == TAlignment::taRightJustify ? DT_RIGHT
         : alignment == TAlignment::taCenter     ? DT_CENTER
                                                 : DT_LEFT;
}

namespace {

int PanelFrame(TStatusPanelBevel bevel) {
  return bevel == TStatusPanelBevel::pbLowered ? 1 : bevel == TStatusPanelBevel::pbRaised ? 2 : 3;
}

} // namespace

bool TSkinStatusBar::BeforeProc(TMessage &m) {
  return ReplacePainting(*this, m) && TSkinControl::BeforeProc(m);
}

void TSkinStatusBar::DrawControl(HDC dc, const RECT &area) {
  if (BG == nullptr || Width(area) <= 0 || Height(area) <= 0)
    return;
  auto *bar = dynamic_cast<TCustomStatusBar *>(Control);
  const RECT r = AtOrigin(area);
  BG->SetSize(Width(r), Height(r));
  TCanvas &canvas = BG->Canvas();
  HDC b = canvas.Handle();
  FillColor(b, r, SkinData->Colors[csButtonFace]);
  if (bar != nullptr)
    canvas.Font().Assign(*bar->Font());
  else
    AssignWindowFont(canvas, Handle);
  canvas.Font().SetStyle(0);
  if (TDataSkinObject *edges = SkinData->StatusBarEdges) {
    canvas.Font().SetColor(edges->NormalColour2);
    SetTextColor(b, ColorToRGB(edges->NormalColour2));
  }
  auto text = [&](const RECT &panel, UINT alignment, const std::wstring &caption) {
    RECT t = panel;
    InflateRect(&t, -2, 0);
    DrawCaption(canvas, t, caption.empty() ? L" " : caption, true, false, alignment);
  };

  const int count = bar != nullptr ? bar->Panels()->Count() : 0;
  if (bar == nullptr || bar->SimplePanel() || count == 0) {
    const bool rightToLeft = bar != nullptr && bar->BiDiMode() == TBiDiMode::bdRightToLeft;
    const UINT alignment = rightToLeft ? DT_RIGHT : DT_LEFT;
    const std::wstring caption = bar != nullptr ? StrToWideStr(bar->SimpleText()) : WindowText();
    drawitem(dc, r, alignment, caption, 1);
    text(r, alignment, caption);
  } else {
    for (int i = 0; i < count; ++i) {
      TStatusPanel *panel = bar->Panels()->Items(i);
      RECT p{};
      if (!SendMessageA(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&p)))
        continue;
      p.right += 2;
      if (i == count - 1)
        p.right = r.right;
      const UINT alignment =
          PanelAlignment(panel->Alignment(), panel->BiDiMode() == TBiDiMode::bdRightToLeft);
      const std::wstring caption = StrToWideStr(panel->Text());
      drawitem(dc, p, alignment, caption, PanelFrame(panel->Bevel()));
      if (panel->Style() == TStatusPanelStyle::psText)
        text(p, alignment, caption);
    }
  }

  TDataSkinObject *grip = SkinData->ExtraImages;
  if ((GetWindowLongEx(Handle, GWL_STYLE) & SBARS_SIZEGRIP) != 0 && HasSkinImage(grip) &&
      grip->Frames() >= 5) {
    const int fw = grip->Image->Width() / grip->Frames(), fh = grip->Image->Height();
    const RECT at{r.right - 1 - fw, r.bottom - 1 - fh, r.right - 1, r.bottom - 1};
    DrawSkinMap1(b, at, *grip->Image, 5, grip->Frames());
  }

  DrawBuf(dc, area);
  if (Control != nullptr)
    Control->PaintControls(dc);

  if (bar != nullptr && bar->OnDrawPanel && !bar->SimplePanel()) {
    // Owner-drawn panels on top of the skin, as the control would have them drawn.
    for (int i = 0; i < count; ++i) {
      TStatusPanel *panel = bar->Panels()->Items(i);
      RECT p{};
      if (panel->Style() != TStatusPanelStyle::psOwnerDraw ||
          !SendMessageA(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&p)))
        continue;
      InflateRect(&p, -2, -2);
      bar->DrawPanel(dc, panel, p);
    }
  }
}

void TSkinStatusBar::drawitem(HDC, const RECT &r, UINT alignment, const std::wstring &text,
                              int frame) {
  TDataSkinObject *edges = SkinData->StatusBarEdges;
  if (!HasSkinImage(edges)) {
    Defaultpaint(BG->Canvas(), r, alignment, text, frame);
    return;
  }
  if (Width(r) <= 0 || Height(r) <= 0)
    return;
  std::unique_ptr<TBitmap> image =
      GetHMap(r, *edges->Image, edges->Margins, frame, 3, edges->Tile != 0, false);
  if (image != nullptr)
    BitBlt(BG->Canvas().Handle(), r.left, r.top, Width(r), Height(r), image->Canvas().Handle(), 0,
           0, SRCCOPY);
}

void TSkinStatusBar::Defaultpaint(TCanvas &canvas, const RECT &r, UINT, const std::wstring &,
                                  int frame) {
  if (frame == 3)
    return;
  TColor topLeft, bottomRight;
  AdjustColors(frame, topLeft, bottomRight);
  RECT edge = r;
  Frame3D(canvas.Handle(), edge, topLeft, bottomRight, 1);
}

// ================================================================== tool bars

void TSkinToolbar::MakeGradient() {
  GradientStart = Blend(SkinData->Colors[csButtonFace], 0xFFFFFF, 150);
  GradientEnd = Blend(0x808080, SkinData->GetCaptionColor(), 150);
}

void TSkinToolbar::Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) {
  TSkinControl::Init(form, data, canvas, changeColor);
  MakeGradient();
}

void TSkinToolbar::Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) {
  TSkinControl::Inithwnd(window, data, canvas, form);
  MakeGradient();
}

bool TSkinToolbar::BeforeProc(TMessage &m) {
  switch (m.Msg) {
  case WM_ERASEBKGND:
    ERASEBKGND(m);
    m.Result = 1;
    return false;
  case WM_NOTIFY:
  case CN_NOTIFY:
    return true; // the tool bar's own custom drawing stays as it is
  default:
    return TSkinControl::BeforeProc(m);
  }
}

void TSkinToolbar::ERASEBKGND(TMessage &m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  RECT client{};
  GetClientRect(Handle, &client);
  TDataSkinObject *toolbar = SkinData->Toolbar;
  if (!HasSkinImage(toolbar)) {
    GradFill(dc, client, GradientStart, GradientEnd, 1);
    return;
  }
  TBitmap &image = *toolbar->Image;
  const int old = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, client.right, client.bottom, image.Canvas().Handle(), 0, 0, image.Width(),
             image.Height(), SRCCOPY);
  SetStretchBltMode(dc, old);
}

// ================================================================== plain windows

bool TSkinTransObj::BeforeProc(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
    if (m.WParam != 0)
      SetBkColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(SkinData->Colors[csButtonFace]));
    return true;
  case WM_ERASEBKGND:
    ERASEBKGND(reinterpret_cast<HDC>(m.WParam));
    m.Result = 1;
    return false;
  default:
    return TSkinControl::BeforeProc(m);
  }
}

void TSkinTransObj::ERASEBKGND(HDC dc) {
  RECT window{};
  GetWindowRect(Handle, &window);
  FillBG(dc, AtOrigin(window));
}

void TSkinSizer::DrawControl(HDC dc, const RECT &r) {
  FillColor(dc, r, SkinData->Colors[csButtonFace]);
}
