// A skin whose every border frame and caption-button frame is one solid colour, a manager with
// its hook on this thread, and helpers that create, drive and photograph windows.
#pragma once

#include "framework/gui/bitmap.h"
#include "framework/gui/forms.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/form/winskinform.h"
#include "tests/win/skindata/skin_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace skinform {

using skintest::Bmp24;
using skintest::Frames;

// Border colours: frame 1 (active) and frame 2 (inactive).
constexpr COLORREF kLeft[] = {RGB(200, 0, 0), RGB(100, 0, 0)};
constexpr COLORREF kRight[] = {RGB(0, 200, 0), RGB(0, 100, 0)};
constexpr COLORREF kTop[] = {RGB(0, 0, 200), RGB(0, 0, 100)};
constexpr COLORREF kBottom[] = {RGB(200, 200, 0), RGB(100, 100, 0)};
// Caption-button frames: normal, pressed, hot, inactive window.
constexpr COLORREF kButton[] = {RGB(240, 160, 48), RGB(176, 112, 48), RGB(255, 192, 64),
                                RGB(128, 128, 128)};
constexpr COLORREF kActiveText = RGB(255, 255, 255);
constexpr COLORREF kInactiveText = RGB(224, 224, 224);

constexpr int kLeftWidth = 4, kRightWidth = 5, kTopHeight = 24, kBottomHeight = 3;
constexpr int kButtonSize = 16, kButtonY = 4;

// Caption buttons, placed from the right edge (Align 1) at these distances.
constexpr int kCloseX = 30;   // action 0
constexpr int kMaxX = 50;     // action 1, shown when not maximised
constexpr int kRestoreX = 70; // action 1, shown only when maximised
constexpr int kMinX = 90;     // action 2
constexpr int kCustomX = 110; // action 42
constexpr int kSysMenuX = 4;  // action 3 at the left (Align 0), shows the icon
constexpr int kCustomAction = 42;
constexpr int kAskX = 130; // action 43, shown when the window answers CN_SysBtnVisible
constexpr int kAskVisibility = 1500;

skintest::SkinPackage SolidSkin();
// SolidSkin with the top corners of the side borders cut out as small magenta triangles: a
// window skinned with it gets a region without the pixels (x, y) with x + y < 4 counted from
// its top-left and top-right corners.
skintest::SkinPackage CornerSkin();

// Sets up the manager (hook on this thread, enabled) and the skin for one test.
class SkinFormTest : public ::testing::Test {
protected:
  void SetUp() override;
  // The skin the test runs with.
  virtual skintest::SkinPackage Skin() const { return SolidSkin(); }
  void TearDown() override;

public:
  // A top-level window of this module's test class, shown and activated; waits until it is
  // skinned. The class's procedure records CN_SysBtnAction in lastCustomAction.
  HWND NewWindow(DWORD style = WS_OVERLAPPEDWINDOW, HMENU menu = nullptr);
  // Handles messages until done() or the time runs out; answers done().
  static bool PumpUntil(const std::function<bool()> &done, int milliseconds = 3000);
  static void Pump(int milliseconds = 50);
  static bool Skinned(HWND window);

  // The whole window as it is on screen, read through its window device context.
  static std::unique_ptr<TBitmap> Snap(HWND window);
  static COLORREF At(TBitmap &shot, int x, int y) { return skintest::Pixel(shot, x, y); }
  // Screen point of a window point.
  static POINT ScreenPoint(HWND window, int x, int y);
  // Mouse over, down and up on a window point, through posted non-client messages.
  static void NCMouse(HWND window, UINT msg, int x, int y, WPARAM hit = HTCAPTION);
  static void ClickButton(HWND window, int x, int y);
  // The centre of a caption button placed distance pixels left of the right edge.
  static POINT ButtonCentre(HWND window, int distance);

  static int lastCustomAction;
  // The test window's answer to CN_SysBtnVisible, and the last question it was asked.
  static LRESULT visibleAnswer;
  static WPARAM askedCode;
  static LPARAM askedAction;

protected:
  std::unique_ptr<TApplication> app_;
  std::unique_ptr<TSkinData> data_;
  std::vector<HWND> windows_;
};

// Runs open() (a modal call); a thread timer hands the first visible skinned "#32770" window of
// this thread to inspect() once it is skinned and active, then closes it with close_command.
// Answers whether inspect ran.
bool WithModalDialog(const std::function<void()> &open, const std::function<void(HWND)> &inspect,
                     WPARAM close_command);

} // namespace skinform
