// Where control skinning objects attach to a skinned window. The control painters hook in
// here; until they exist no control is attached and the lists stay empty.
#include "skin/form/winskinform.h"

void TWinSkinForm::InitControls(TWinControl *) {}

void TWinSkinForm::InitHwndControls(HWND) {}

void TWinSkinForm::AddControlh(HWND) {}

void TWinSkinForm::AddControlList(TSkinControl *control) {
  if (control != nullptr)
    Controls.push_back(control);
}

void TWinSkinForm::DeleteControl(TSkinControl *control) {
  std::erase(Controls, control);
}

void TWinSkinForm::DeleteControls() {
  Controls.clear();
  HoverControl = nullptr;
}

void TWinSkinForm::DeleteSkinDeleted() {
  std::erase_if(Controls, [](TSkinControl *c) { return !TObject::IsLive(c); });
}
