// A skin whose menu pictures are solid colours, a manager with its hook on this thread, a
// framework form with a main menu and a context menu, and a driver that acts inside a menu's
// modal loop.
#pragma once

#include "framework/gui/bitmap.h"
#include "framework/gui/forms.h"
#include "framework/gui/menus.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/data/winskinmenu.h"
#include "skin/form/winskinform.h"
#include "tests/win/skindata/skin_fixture.h"
#include "tests/win/skindata/skinned_app_test.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace skinmenus {

// MenuBackground: a frame of kFrame pixels in kMenuFrame around kMenuFill.
constexpr int kFrame = 3;
constexpr COLORREF kMenuFrame = RGB(40, 80, 160);
constexpr COLORREF kMenuFill = RGB(250, 240, 200);
// MenuItem frames 1 (normal), 3 (disabled), 4 (selected), 5 (pressed); frame 2 is a separator
// line of kLine on magenta.
constexpr COLORREF kItem = RGB(236, 240, 246);
constexpr COLORREF kItemSelected = RGB(120, 180, 240);
constexpr COLORREF kLine = RGB(90, 100, 110);
constexpr int kItemMargin = 3; // the MenuItem element's left margin
// Scheme colours.
constexpr COLORREF kMenuBg = RGB(255, 255, 255);
constexpr COLORREF kHilight = RGB(200, 60, 60);
constexpr COLORREF kMenuText = RGB(10, 20, 30);
constexpr COLORREF kHilightText = RGB(255, 255, 0);
constexpr COLORREF kShadow = RGB(150, 150, 150);
// Menu bar frames: active, inactive.
constexpr COLORREF kBar[] = {RGB(220, 230, 245), RGB(200, 200, 200)};
constexpr COLORREF kBarText = RGB(0, 0, 90);
constexpr COLORREF kButtonHilight = RGB(255, 128, 0);

// Button frames: normal, pressed, disabled, hot, default.
constexpr COLORREF kButtonFrames[] = {RGB(230, 200, 200), RGB(90, 30, 30), RGB(170, 170, 170),
                                      RGB(250, 170, 60), RGB(60, 60, 200)};

constexpr int kTopHeight = 24, kSide = 4;

// withMenuItem false: the same skin without its [MenuItem] section.
skintest::SkinPackage MenuSkin(bool withMenuItem = true);

// Runs steps, one per 20 ms tick, while a menu window is up; the last step should close it. A
// menu still open 2 s after the last step is ended, and counted as forcedClose.
struct MenuDriver {
  using Step = std::function<void(HWND menuWindow)>;
  explicit MenuDriver(std::vector<Step> steps);
  ~MenuDriver();
  MenuDriver(const MenuDriver &) = delete;
  MenuDriver &operator=(const MenuDriver &) = delete;

  // Called from a step: run the same step again on the next tick (at most 100 times), to wait
  // for the menu to get somewhere.
  static void Again();

  std::vector<Step> steps;
  size_t next = 0;
  int repeats = 0;
  int idleTicks = 0;
  bool menuSeen = false;
  bool forcedClose = false;
  UINT_PTR timer = 0;
};
// The topmost visible "#32768" window, or null.
HWND VisibleMenuWindow();
MenuDriver::Step Key(WPARAM key);

class MenuTest : public skintest::SkinnedAppTest {
protected:
  void SetUp() override;

public:
  // A form with the main menu "&File" (Open, -, Exit), "&Edit" (disabled; Undo), "&View" (-,
  // Zoom, -, -, Full screen, -: separators to tidy) and "&Help" (no children), and the context
  // menu "Copy", "Paste", "-", "More" > ("A", "B"); not shown.
  TForm *NewForm();
  void ShowSkinned(TForm *form);
  static std::unique_ptr<TBitmap> Snap(HWND window) { return skintest::SnapWindow(window); }
  static COLORREF At(TBitmap &shot, int x, int y) { return skintest::Pixel(shot, x, y); }
  // Pixels of colour in r of shot.
  static int Count(TBitmap &shot, const RECT &r, COLORREF colour);
  TSkinData &Data() { return *data_; }

  // Clicks recorded by the items' OnClick, by caption.
  std::vector<std::string> clicks;
  void Clicked(TObject *sender);

  TMainMenu *mainMenu = nullptr;
  TPopupMenu *popup = nullptr;
};

} // namespace skinmenus
