// Tool bars drawn from the skin through their custom-draw events: the background from the
// Toolbar element, the buttons that are touched (hot, pressed), down or default from the
// Button element's frames.
#include "framework/gui/comctrls.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_draw.h"

namespace {

constexpr int kButtonFrames = 5;
constexpr int kFrameNormal = 1, kFramePressed = 2, kFrameHot = 4;
// Newer common controls leave the button's own background out with this.
constexpr UINT kNoBackground = 0x00400000; // TBCDRF_NOBACKGROUND

// The skin frame for a button state; 0 for a button the tool bar draws alone.
int ButtonFrame(TCustomDrawState state) {
  if ((state & (cdsSelected | cdsChecked)) != 0) // a check button that is down looks pressed
    return kFramePressed;
  if ((state & (cdsFocused | cdsHot)) != 0)
    return kFrameHot;
  if ((state & (cdsGrayed | cdsDisabled)) != 0)
    return 0;
  if ((state & cdsDefault) != 0)
    return kFrameNormal;
  return 0;
}

} // namespace

void TWinSkinForm::ToolBarDrawBackground(TToolBar *sender, const RECT &rect, bool &) {
  TDataSkinObject *element = SkinData->Toolbar;
  if (element == nullptr || element->Image->Empty() || InSet(SkinData->Options, xoToolbarBK))
    return;
  HDC dc = sender->Canvas().Handle();
  TBitmap &image = *element->Image;
  const int mode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
             image.Canvas().Handle(), 0, 0, image.Width(), image.Height(), SRCCOPY);
  SetStretchBltMode(dc, mode);
}

void TWinSkinForm::ToolBarDrawButton(TToolBar *sender, TToolButton *button, TCustomDrawState state,
                                     bool &) {
  TDataSkinButton *skin = SkinData->Button;
  if (skin == nullptr || skin->Image->Empty() || SkinState != 1)
    return;
  TCanvas &canvas = sender->Canvas();
  const int frame = ButtonFrame(state);
  if (frame == 0) {
    // At rest a button is the bar's own face: its text in the skin's text colour (a disabled
    // one keeps the tool bar's greyed look).
    if ((state & (cdsGrayed | cdsDisabled)) == 0)
      canvas.Font().SetColor(SkinData->Colors[csButtonText]);
    return;
  }
  if (frame == kFrameNormal && skin->HasNormalColour2)
    canvas.Font().SetColor(skin->NormalColour2);
  else if (frame == kFrameHot && skin->HasMouseOverColour2)
    canvas.Font().SetColor(skin->MouseOverColour2);
  else if (frame == kFramePressed && skin->HasPressedColour2)
    canvas.Font().SetColor(skin->PressedColour2);
  RECT r = button->BoundsRect();
  InflateRect(&r, -1, -1);
  DrawRect2(canvas.Handle(), r, *skin->Image, skin->Margins, frame, kButtonFrames, skin->Trans == 1,
            false, false);
  // The skin's face stands for the tool bar's own edges and hot background.
  sender->CustomDrawFlags |= TBCDRF_NOEDGES | kNoBackground;
}
