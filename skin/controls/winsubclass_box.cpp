// Colour-only container objects. A box also listens on its control (never a form, whose own
// skin object does) so that the control answers the skin's "are you skinned" message.
#include "skin/controls/winsubclass_box.h"

#include "framework/gui/controls.h"
#include "framework/gui/forms.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"

void TSkinBox::Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) {
  ChangeColor = changeColor;
  if (!Adopt(dynamic_cast<TControl *>(Owner()), data, canvas, form))
    return;
  if (dynamic_cast<TCustomForm *>(Control) == nullptr)
    HookWindowProc(Control);
  if (ChangeColor) {
    SavedColor = Control->Color();
    Control->SetColor(SkinData->Colors[csButtonFace]);
  }
  Initialized = true;
  SkinState = 1;
}

void TSkinBox::Unsubclass() {
  if (SkinState != 4 && ChangeColor && Control != nullptr && TObject::IsLive(Control))
    Control->SetColor(SavedColor);
  SkinState = 2;
}

bool TSkinBoxH::BeforeProc(TMessage &m) {
  switch (m.Msg) {
  case WM_ERASEBKGND: {
    RECT window;
    GetWindowRect(Handle, &window);
    FillColor(reinterpret_cast<HDC>(m.WParam),
              {0, 0, window.right - window.left, window.bottom - window.top},
              SkinData->Colors[csButtonFace]);
    m.Result = 0;
    return false;
  }
  case WM_CTLCOLORSTATIC:
    Default(m);
    m.Result = reinterpret_cast<LRESULT>(SkinData->FaceBrush.Get());
    return false;
  default:
    return TSkinControl::BeforeProc(m);
  }
}
