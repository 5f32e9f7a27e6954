// A skin whose control pictures are solid colours per frame, a manager with its hook on this
// thread, and framework forms whose controls it skins.
#pragma once

#include "framework/gui/bitmap.h"
#include "framework/gui/forms.h"
#include "skin/controls/winsubclass.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/form/winskinform.h"
#include "tests/win/skindata/skin_fixture.h"
#include "tests/win/skindata/skinned_app_test.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace skincontrols {

constexpr COLORREF kFace = RGB(242, 244, 247);
constexpr COLORREF kShadow = RGB(160, 168, 176);
constexpr COLORREF kText = RGB(30, 42, 56);
// Button frames: normal, pressed, disabled, hot, focused.
constexpr COLORREF kButton[] = {RGB(200, 210, 220), RGB(120, 150, 200), RGB(180, 180, 180),
                                RGB(210, 230, 250), RGB(90, 130, 180)};
// Check strip of 12 and radio strip of 8 images; image i (from 1) has colour kCheck[i - 1].
COLORREF CheckColour(int image);
COLORREF RadioColour(int image);
constexpr int kMark = 13; // check and radio image size
// Combo button and sunken ring frames: normal, pressed, disabled, hot.
constexpr COLORREF kCombo[] = {RGB(100, 160, 60), RGB(60, 120, 30), RGB(150, 150, 150),
                               RGB(140, 200, 90)};
constexpr COLORREF kSunk[] = {RGB(70, 90, 110), RGB(40, 60, 80), RGB(130, 130, 130),
                              RGB(100, 120, 140)};

// Scroll-bar strip of 23 images, tracks (4) and thumbs (3), header frames (5): solid colours.
COLORREF ScrollColour(int image);
constexpr COLORREF kTrack[] = {RGB(230, 230, 200), RGB(220, 220, 190), RGB(200, 200, 200),
                               RGB(240, 240, 210)};
constexpr COLORREF kThumb[] = {RGB(80, 140, 200), RGB(40, 100, 160), RGB(120, 180, 240)};
constexpr COLORREF kHeader[] = {RGB(210, 220, 235), RGB(170, 200, 240), RGB(150, 170, 210),
                                RGB(210, 220, 235), RGB(210, 220, 235)};
constexpr int kScrollImage = 16; // the strip's image size

// withButtons false: a skin without the [Buttons] pictures.
skintest::SkinPackage ControlSkin(bool withButtons = true);

class ControlTest : public skintest::SkinnedAppTest {
protected:
  void SetUp() override;

public:
  // An empty framework form, not yet shown; the fixture frees it.
  TForm *NewForm(int width = 360, int height = 260);
  // Shows the form and waits until it is skinned and its controls attached.
  void ShowSkinned(TForm *form);
  // Shows the form skinned, or (with the manager switched off) as the system draws it.
  void Show(TForm *form, bool skinned);
  // The mouse away from every test form (forms open near the screen's top-left): nothing hot
  // that a test did not make hot.
  static void ParkMouse();
  static bool IsSkinned(HWND window) { return SendMessageA(window, CN_IsSkinned, 0, 0) == 1; }
  // The window as it is on screen.
  static std::unique_ptr<TBitmap> Snap(HWND window);
  static COLORREF At(HWND window, int x, int y);
  TSkinData &Data() { return *data_; }
};

// A control of type T in parent (owned by parent's form), at the given bounds, with a caption.
template <class T>
T *Place(TWinControl *parent, int x, int y, int w, int h, const std::string &caption = "") {
  TComponent *owner = parent->ParentForm();
  auto *control = new T(owner != nullptr ? owner : parent);
  control->SetParent(parent);
  control->SetBounds(x, y, w, h);
  if (!caption.empty())
    control->SetCaption(caption);
  return control;
}

} // namespace skincontrols
