// Caption buttons under the mouse (driven by posted non-client messages) and their actions, the
// skinned system menu and the caption's double and right clicks.
#include "tests/win/skinform/skinform_fixture.h"

#include <cstdio>

namespace skinform {
namespace {

COLORREF ButtonPixel(HWND w, int distance) {
  auto shot = SkinFormTest::Snap(w);
  const POINT c = SkinFormTest::ButtonCentre(w, distance);
  return skintest::Pixel(*shot, c.x, c.y);
}

TEST_F(SkinFormTest, ACaptionButtonShowsNormalHotAndPressedFrames) {
  HWND w = NewWindow();
  const POINT close = ButtonCentre(w, kCloseX);
  const POINT elsewhere{200, 2};
  EXPECT_EQ(ButtonPixel(w, kCloseX), kButton[0]);
  NCMouse(w, WM_NCMOUSEMOVE, close.x, close.y);
  EXPECT_EQ(ButtonPixel(w, kCloseX), kButton[2]) << "hot";
  NCMouse(w, WM_NCLBUTTONDOWN, close.x, close.y);
  EXPECT_EQ(ButtonPixel(w, kCloseX), kButton[1]) << "pressed";
  // Released after the pointer left: back to normal, and the window stays.
  NCMouse(w, WM_NCMOUSEMOVE, elsewhere.x, elsewhere.y);
  EXPECT_EQ(ButtonPixel(w, kCloseX), kButton[0]) << "left";
  NCMouse(w, WM_NCLBUTTONUP, elsewhere.x, elsewhere.y);
  Pump(100);
  EXPECT_TRUE(IsWindow(w));
}

TEST_F(SkinFormTest, ACaptionButtonPressedAndReleasedOverAnotherActsOnNeither) {
  HWND w = NewWindow();
  const POINT close = ButtonCentre(w, kCloseX), max = ButtonCentre(w, kMaxX);
  NCMouse(w, WM_NCMOUSEMOVE, close.x, close.y);
  NCMouse(w, WM_NCLBUTTONDOWN, close.x, close.y);
  NCMouse(w, WM_NCMOUSEMOVE, max.x, max.y);
  NCMouse(w, WM_NCLBUTTONUP, max.x, max.y);
  Pump(200);
  EXPECT_TRUE(IsWindow(w)) << "closed";
  EXPECT_FALSE(IsZoomed(w)) << "maximised";
  EXPECT_EQ(ButtonPixel(w, kMaxX), kButton[2]) << "the button under the mouse is hot";
}

TEST_F(SkinFormTest, CaptionButtonActions) {
  HWND w = NewWindow();

  ClickButton(w, ButtonCentre(w, kMinX).x, ButtonCentre(w, kMinX).y);
  EXPECT_TRUE(PumpUntil([w] { return IsIconic(w) != FALSE; })) << "minimise";
  ShowWindow(w, SW_RESTORE);
  SetForegroundWindow(w);
  Pump(100);

  ClickButton(w, ButtonCentre(w, kMaxX).x, ButtonCentre(w, kMaxX).y);
  EXPECT_TRUE(PumpUntil([w] { return IsZoomed(w) != FALSE; })) << "maximise";
  Pump(100);
  // Maximised, the restore button shows where it was hidden, and restores.
  ClickButton(w, ButtonCentre(w, kRestoreX).x, ButtonCentre(w, kRestoreX).y);
  EXPECT_TRUE(PumpUntil([w] { return IsZoomed(w) == FALSE; })) << "restore";
  Pump(100);

  ClickButton(w, ButtonCentre(w, kCustomX).x, ButtonCentre(w, kCustomX).y);
  EXPECT_TRUE(PumpUntil([] { return lastCustomAction == kCustomAction; })) << "custom";

  ClickButton(w, ButtonCentre(w, kCloseX).x, ButtonCentre(w, kCloseX).y);
  EXPECT_TRUE(PumpUntil([w] { return IsWindow(w) == FALSE; })) << "close";
}

TEST_F(SkinFormTest, AFailedSkinLoadLeavesTheCaptionButtonsAsTheyWere) {
  // The real pointer away from the buttons (a click of an earlier test may have left it there).
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  HWND w = NewWindow();
  NCMouse(w, WM_NCMOUSEMOVE, 200, 2);
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  const std::string file = std::string(dir) + "kestrova_not_a_skin.skn";
  FILE *f = std::fopen(file.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("not a skin", f);
  std::fclose(f);
  EXPECT_FALSE(data_->LoadFromFile(file));
  std::remove(file.c_str());
  Pump(400); // whatever the load asked the manager for has run

  for (const int distance : {kCloseX, kMaxX, kMinX, kCustomX}) {
    SCOPED_TRACE(distance);
    const POINT centre = ButtonCentre(w, distance);
    EXPECT_EQ(ButtonPixel(w, distance), kButton[0]);
    NCMouse(w, WM_NCMOUSEMOVE, centre.x, centre.y);
    EXPECT_EQ(ButtonPixel(w, distance), kButton[2]) << "hot";
    NCMouse(w, WM_NCMOUSEMOVE, 200, 2);
  }
  ClickButton(w, ButtonCentre(w, kCustomX).x, ButtonCentre(w, kCustomX).y);
  EXPECT_TRUE(PumpUntil([] { return lastCustomAction == kCustomAction; })) << "custom";
  ClickButton(w, ButtonCentre(w, kMinX).x, ButtonCentre(w, kMinX).y);
  EXPECT_TRUE(PumpUntil([w] { return IsIconic(w) != FALSE; })) << "minimise";
}

// Runs trigger() and answers the item count of the popup menu that opened meanwhile, with
// its state at the position of the system menu's SC_RESTORE; -1 when no menu opened.
struct OpenedMenu {
  int items = -1;
  UINT restoreState = 0;
};
OpenedMenu *opened = nullptr;
int restorePosition = -1;

void CALLBACK CloseMenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (menu == nullptr || !IsWindowVisible(menu) || opened == nullptr)
    return;
  KillTimer(nullptr, id);
  auto hmenu = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
  opened->items = GetMenuItemCount(hmenu);
  opened->restoreState = GetMenuState(hmenu, static_cast<UINT>(restorePosition), MF_BYPOSITION);
  EndMenu();
}

OpenedMenu MenuOpenedBy(const std::function<void()> &trigger) {
  OpenedMenu result;
  opened = &result;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseMenuTimer);
  trigger();
  SkinFormTest::Pump(300);
  KillTimer(nullptr, timer);
  opened = nullptr;
  return result;
}

TEST_F(SkinFormTest, TheSkinnedSystemMenuOpensFromTheIconTheCaptionAndAltSpace) {
  HWND w = NewWindow();
  TWinSkinForm *form = FindWinSkinForm(w);
  HMENU system = GetSystemMenu(w, FALSE);
  const int count = GetMenuItemCount(system);
  ASSERT_GT(count, 0);
  for (int i = 0; i < count; ++i)
    if (GetMenuItemID(system, i) == SC_RESTORE)
      restorePosition = i;
  ASSERT_GE(restorePosition, 0);

  const POINT icon{kSysMenuX + 4, kButtonY + 4};
  const POINT caption{200, 12};
  const std::vector<std::pair<const char *, std::function<void()>>> triggers = {
      {"icon button", [&] { ClickButton(w, icon.x, icon.y); }},
      {"right click on the caption",
       [&] { NCMouse(w, WM_NCRBUTTONUP, caption.x, caption.y, HTCAPTION); }},
      {"Alt+Space", [&] { PostMessageA(w, WM_SYSCOMMAND, SC_KEYMENU, ' '); }},
  };
  for (const auto &[name, trigger] : triggers) {
    SCOPED_TRACE(name);
    form->LastPopupTime = 0; // each opening counts as a first press
    const OpenedMenu menu = MenuOpenedBy(trigger);
    EXPECT_EQ(menu.items, count);
    EXPECT_TRUE(menu.restoreState & MF_GRAYED) << "restore is disabled on a normal window";
    EXPECT_TRUE(IsWindow(w));
  }
}

TEST_F(SkinFormTest, DoubleClicksOnTheCaptionMaximiseAndRestore) {
  HWND w = NewWindow();
  NCMouse(w, WM_NCLBUTTONDBLCLK, 200, 12);
  EXPECT_TRUE(PumpUntil([w] { return IsZoomed(w) != FALSE; }));
  Pump(100);
  NCMouse(w, WM_NCLBUTTONDBLCLK, 200, 12);
  EXPECT_TRUE(PumpUntil([w] { return IsZoomed(w) == FALSE; }));
  // On the icon button a double click closes.
  Pump(100);
  NCMouse(w, WM_NCLBUTTONDBLCLK, kSysMenuX + 4, kButtonY + 4);
  EXPECT_TRUE(PumpUntil([w] { return IsWindow(w) == FALSE; }));
}

} // namespace
} // namespace skinform
