// Post-processing after a skin is read: forced frame counts and the images derived from the
// skin (combo box picture, combo arrow strip, toolbar gradient), composed once per load.
#include "skin/data/imgutil.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform_draw.h"
#include "skin/storage/winskinini.h"

#include <algorithm>

namespace {

constexpr COLORREF kMagenta = 0xFF00FF;

// The combo box picture's pieces, drawn into one cell of the strip (clipped to it) as DrawRect2
// and DrawRect3 draw them onto a device context.

// Frame i of the element nine-sliced over dest (cell coordinates), not tiled, as GetHMap slices
// it, then laid into the strip; keyed leaves its magenta out. The frame is sliced on scratch, a
// bitmap at least as large as dest that serves every state, so that no bitmap or device context
// is made per piece: the eight border pieces by DrawBorder, then the centre, black where no
// piece reaches.
void SliceInto(TBitmap &strip, const RECT &cell, const RECT &dest, TDataSkinObject &element, int i,
               int frames, bool keyed, TBitmap &scratch) {
  TBitmap &source = *element.Image;
  const int W = dest.right - dest.left, H = dest.bottom - dest.top;
  const int fw = source.Width() / frames, fh = source.Height();
  if (W <= 0 || H <= 0 || fw <= 0 || fh <= 0)
    return;
  FillPixels(scratch, RECT{0, 0, W, H}, 0);
  HDC dc = scratch.Canvas().Handle();
  DrawBorder(dc, RECT{0, 0, W, H}, source, element.Margins, i, frames, 0, false);
  // The centre between the margins that fit: a pair wider than dest is dropped.
  RECT m{std::max<LONG>(element.Margins.left, 0), std::max<LONG>(element.Margins.top, 0),
         std::max<LONG>(element.Margins.right, 0), std::max<LONG>(element.Margins.bottom, 0)};
  if (W < m.left + m.right)
    m.left = m.right = 0;
  if (H < m.top + m.bottom)
    m.top = m.bottom = 0;
  const int sw = fw - m.left - m.right, sh = fh - m.top - m.bottom;
  const int dw = W - m.left - m.right, dh = H - m.top - m.bottom;
  if (sw > 0 && sh > 0 && dw > 0 && dh > 0)
    StretchBlt(dc, m.left, m.top, dw, dh, source.Canvas().Handle(), (i - 1) * fw + m.left, m.top,
               sw, sh, SRCCOPY);
  CopyPixels(strip, cell.left + dest.left, dest.top, scratch, 0, 0, W, H, cell, keyed);
}

// Frame i of source centred on dest (cell coordinates), magenta left out. The frame is first cut
// into glyph, black where it reaches past the end of the strip.
void CentreInto(TBitmap &strip, const RECT &cell, const RECT &dest, TBitmap &source, int i,
                int frames, TBitmap &glyph) {
  const int w = source.Width() / frames, h = source.Height();
  if (dest.right < dest.left || dest.bottom < dest.top || source.Empty() || w == 0)
    return;
  glyph.SetPixelFormat(TPixelFormat::pf24bit);
  glyph.SetSize(w, h);
  FillPixels(glyph, RECT{0, 0, w, h}, 0);
  CopyPixels(glyph, 0, 0, source, (i - 1) * w, 0, w, h, RECT{0, 0, w, h}, false);
  // Integer division truncates toward zero: a frame larger than dest overflows on both sides.
  const int x = dest.left + (dest.right - dest.left - w) / 2;
  const int y = dest.top + (dest.bottom - dest.top - h) / 2;
  CopyPixels(strip, cell.left + x, y, glyph, 0, 0, w, h, cell, true);
}

COLORREF PixelAt(TBitmap &bitmap, int x, int y) {
  const auto *row = static_cast<const uint8_t *>(bitmap.ScanLine(y));
  const int step = bitmap.BitsPerPixel() / 8;
  return RGB(row[x * step + 2], row[x * step + 1], row[x * step]);
}

void Force(TDataSkinObject *element, int32_t frames) {
  if (element != nullptr)
    element->FrameCount = frames;
}

// Radio and check strips without a frame count: 13-pixel frames for small images, 16-pixel ones
// otherwise, and never fewer than four.
int32_t StripFrames(TBitmap &image) {
  const int32_t frames = image.Height() < 16 ? image.Width() / 13 : image.Width() / 16;
  return frames < 4 ? 4 : frames;
}

} // namespace

void TSkinData::SetFrame() {
  Title->FrameCount = 2;
  Button->FrameCount = 5;
  Force(MenuBar, 2);
  if (Progress != nullptr)
    Progress->FrameCount = Progress->Style == 0 ? 2 : 1;
  Force(GroupBoxEdge, 2);
  Force(GroupBox, 1);
  Force(Tab, 5);
  Force(StatusBarEdges, 3);
  Force(TabPane, 1);
  Force(ToolBars, 5);
  Force(ComboButton, 4);
  Force(SunkEdge, 4);
  Force(ExtraImages, 5);
  if (Headerbar != nullptr && Headerbar->FrameCount == 0)
    Headerbar->FrameCount = 5;
  Force(MenuItem, 5);
  Force(MenuBackground, 1);
  Force(Scrollbar, 23);
  Force(HorzScroll, 4);
  Force(VertScroll, 4);
  if (HorzScrollThumb != nullptr)
    HorzScrollThumb->FrameCount =
        ini_ != nullptr ? ini_->ReadInteger("HorzScrollThumb", "FrameCount", 3) : 3;
  if (VertScrollThumb != nullptr)
    VertScrollThumb->FrameCount =
        ini_ != nullptr ? ini_->ReadInteger("VertScrollThumb", "FrameCount", 3) : 3;
  for (TDataSkinObject *thumb : {ThumbHorz, ThumbVert, ThumbLeft, ThumbRight, ThumbUp, ThumbDown})
    Force(thumb, 5);
  Force(UpDownHorz, 8);
  Force(UpDownVert, 8);

  if (Button->RadioFrameCount == 0)
    Button->RadioFrameCount = StripFrames(*Button->RadioImage);
  if (Button->CheckFrameCount == 0)
    Button->CheckFrameCount = StripFrames(*Button->CheckImage);
}

void TSkinData::ReBuildCombobox() {
  if (SunkEdge == nullptr || ComboButton == nullptr)
    return;
  const int n = SunkEdge->Frames();
  const int b = GetSystemMetrics(SM_CXHSCROLL) + 2; // the drop-down button's width
  // One 50 x 21 cell per state, composed in memory. Each state is drawn over what the state
  // before it left in the cell, so a transparent pixel of state i shows state i - 1 there.
  TBitmap strip(50 * n, 21, TPixelFormat::pf24bit);
  FillPixels(strip, RECT{0, 0, 50 * n, 21}, kMagenta);
  const RECT whole{0, 0, 50, 21};
  const RECT button{50 - b, 0, 50, 21};
  TBitmap scratch(std::max(50, b), 21, TPixelFormat::pf24bit), glyph;
  for (int i = 1; i <= n; ++i) {
    const int x0 = 50 * (i - 1);
    const RECT cell{x0, 0, x0 + 50, 21};
    if (i > 1)
      CopyPixels(strip, x0, 0, strip, x0 - 50, 0, 50, 21, cell, false);
    SliceInto(strip, cell, whole, *SunkEdge, i, n, SunkEdge->Trans == 1, scratch);
    SliceInto(strip, cell, button, *ComboButton, i, ComboButton->Frames(), true, scratch);
    if (ExtraImages != nullptr)
      CentreInto(strip, cell, button, *ExtraImages->Image, i, ExtraImages->Frames(), glyph);
    // The edit area stays transparent.
    FillPixels(strip, RECT{x0 + 2, 2, x0 + 49 - b, 18}, kMagenta);
  }

  ComboButton->Style = 2;
  ComboButton->Margins = SunkEdge->Margins;
  ComboButton->Margins.right = b + 2;
  ComboButton->Margins.left = 2;
  CopyBMP(&strip, ComboButton->Image);

  // From here on SunkEdge holds the mirrored picture, drop-down button on the left.
  SpiegelnHorizontal(&strip);
  CopyBMP(&strip, SunkEdge->Image);
  SunkEdge->Margins.left = b + 2;
  SunkEdge->Margins.right = 2;
}

void TSkinData::ReBuildComboxArrow() {
  if (ComboArrow == nullptr) {
    ComboArrow = new TDataSkinObject;
    ComboArrow->Name = "ComboxArrow";
  }
  if (SunkEdge != nullptr && ComboButton != nullptr && ComboButton->Style == 2) {
    const int n = SunkEdge->Frames();
    const int fw = ComboButton->Image->Width() / n;
    TBitmap strip(17 * n, 17, TPixelFormat::pf24bit);
    for (int i = 1; i <= n; ++i)
      CopyPixels(strip, 17 * (i - 1), 0, *ComboButton->Image, i * fw - 19, 2, 17, 17,
                 RECT{0, 0, strip.Width(), 17}, false);
    ComboArrow->FrameCount = n;
    ComboArrow->Image->Assign(strip);
  } else if (ComboButton != nullptr && SunkEdge == nullptr) {
    CopyBMP(ComboButton->Image, ComboArrow->Image);
    if (!ComboArrow->Image->Empty())
      ChangeTrans(ComboArrow->Image, Colors[csButtonFace]);
    ComboArrow->FrameCount = ComboButton->FrameCount;
  }
}

void TSkinData::RebuildToolbar() {
  const TColor c = GetCaptionColor();
  TColor to = Blend(clGray, c, 150);
  const TColor from = Blend(Colors[csButtonFace], clWhite, 150);
  const int s = GetHSV(c);
  if (s > 110)
    to = Blend(c, clWhite, (225 - s) * 25 / 140 + 50);
  TBitmap gradient(10, 40, TPixelFormat::pf24bit);
  GradFillPixels(gradient, RECT{0, 0, 10, 40}, from, to, 1);
  if (Toolbar == nullptr) {
    Toolbar = new TDataSkinObject;
    Toolbar->Name = "Toolbar";
  }
  Toolbar->Image->Assign(gradient);
  Toolbar->FrameCount = 1;
}

TColor TSkinData::GetCaptionColor() {
  TBitmap &top = *Borders[sbTop]->Image;
  if (top.Empty())
    return Colors[csButtonFace];
  const int y = (top.Height() / Borders[sbTop]->Frames()) / 3;
  return PixelAt(top, top.Width() / 3, y);
}
