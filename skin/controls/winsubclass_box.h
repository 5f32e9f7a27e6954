// Containers: TSkinBox only gives a framework container the skin's face colour; TSkinBoxH
// paints a foreign dialog's container window and its static texts on that colour.
#pragma once

#include "skin/controls/winsubclass.h"

class TSkinBox : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  void Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) override;
  void Unsubclass() override;
};

class TSkinBoxH : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage &message) override;
};
