// Post-processing after a skin is read: forced frame counts and the images derived from the
// skin (combo box picture, combo arrow strip, toolbar gradient), composed once per load.
#include "skin/data/imgutil.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform_draw.h"
#include "skin/storage/winskinini.h"

namespace {

constexpr COLORREF kMagenta = 0xFF00FF;

void FillColour(TBitmap &bitmap, const RECT &r, COLORREF colour) {
  GdiBrush brush(CreateSolidBrush(colour));
  FillRect(bitmap.Canvas().Handle(), &r, brush.Get());
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
  TBitmap strip(50 * n, 21, TPixelFormat::pf24bit);
  TBitmap cell(50, 21, TPixelFormat::pf24bit);
  FillColour(strip, RECT{0, 0, 50 * n, 21}, kMagenta);
  FillColour(cell, RECT{0, 0, 50, 21}, kMagenta);
  const RECT whole{0, 0, 50, 21};
  const RECT button{50 - b, 0, 50, 21};
  for (int i = 1; i <= n; ++i) {
    HDC dc = cell.Canvas().Handle();
    // Frames() is never below 1; the primitives draw nothing from an empty image.
    DrawRect2(dc, whole, *SunkEdge->Image, SunkEdge->Margins, i, n, SunkEdge->Trans == 1, false,
              false);
    DrawRect2(dc, button, *ComboButton->Image, ComboButton->Margins, i, ComboButton->Frames(), true,
              false, false);
    if (ExtraImages != nullptr)
      DrawRect3(dc, button, *ExtraImages->Image, i, ExtraImages->Frames(), true);
    FillColour(cell, RECT{2, 2, 49 - b, 18}, kMagenta); // the edit area stays transparent
    BitBlt(strip.Canvas().Handle(), 50 * (i - 1), 0, 50, 21, dc, 0, 0, SRCCOPY);
  }
  GdiFlush();

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
    if (!ComboButton->Image->Empty())
      for (int i = 1; i <= n; ++i)
        BitBlt(strip.Canvas().Handle(), 17 * (i - 1), 0, 17, 17,
               ComboButton->Image->Canvas().Handle(), i * fw - 19, 2, SRCCOPY);
    GdiFlush();
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
  GradFill(gradient.Canvas().Handle(), RECT{0, 0, 10, 40}, from, to, 1);
  GdiFlush();
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
