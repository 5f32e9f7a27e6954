// Combo boxes: the skin's sunken ring and drop-down button painted over the control's own
// picture, the edit area left as the control draws it.
#pragma once

#include "framework/gui/subclass.h"
#include "skin/controls/winsubclass.h"

class TSkinComBox : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  ~TSkinComBox() override;

  DWORD Style = 0, ExStyle = 0;
  HWND ListHandle = nullptr;
  TSkinControl *ListScrollbar = nullptr; // the scroll bars of a simple combo's list
  HWND EditHandle = nullptr;
  WNDPROC EditOldProc = nullptr;
  COMBOBOXINFO Info{};

  void Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor) override;
  void Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form) override;
  void Unsubclass() override;
  void AfterProc(TMessage &message) override;
  void DrawControl(HDC dc, const RECT &r) override;
  void DrawControl1(HDC dc, const RECT &r);
  // Hooks the combo's edit, so that the frame is drawn again after the edit painted.
  void FindBtn();
  void ButtonProc(TMessage &message);

private:
  void AttachList();
  void ReleaseEdit();
  int State(bool disabledFirst) const;
  TWindowSubclass editSubclass_{slComboEdit};
};
