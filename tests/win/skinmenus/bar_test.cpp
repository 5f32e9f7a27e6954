// The skinned menu bar: its band and buttons on screen, opening drop-downs by mouse and keyboard,
// moving between them, and the commands chosen in them.
#include "tests/win/skinmenus/menus_fixture.h"

#include "skin/form/winskinform_menubar.h"

#include <algorithm>

namespace skinmenus {
namespace {

class MenuBar : public MenuTest {
protected:
  void SetUp() override {
    MenuTest::SetUp();
    form = NewForm();
    ShowSkinned(form);
    window = form->Handle();
    skin = FindWinSkinForm(window);
    ASSERT_NE(skin, nullptr);
    ASSERT_NE(skin->SkinMenu, nullptr) << "no skinned menu bar";
  }
  TMenuBtn *Button(int index) { return skin->SkinMenu->Buttons[static_cast<size_t>(index)].get(); }
  // The drop-down a menu window shows.
  static HMENU Shown(HWND menuWindow) {
    return reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
  }
  TMenuItem *TopItem(int index) { return mainMenu->Items()->Items(index); }
  // A step that waits until the open drop-down is that of the top-level item, then records it.
  MenuDriver::Step Expect(int index, std::vector<std::string> &seen) {
    return [this, index, &seen](HWND menu) {
      if (Shown(menu) != TopItem(index)->Handle() || !IsWindowVisible(menu)) {
        MenuDriver::Again();
        return;
      }
      seen.push_back(TopItem(index)->Caption);
    };
  }
  // A real click at a screen point: move, press and release in one batch.
  static void ClickAt(POINT p) {
    const int sx = GetSystemMetrics(SM_CXSCREEN) - 1, sy = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT in[3]{};
    for (INPUT &i : in) {
      i.type = INPUT_MOUSE;
      i.mi.dx = p.x * 65535 / sx;
      i.mi.dy = p.y * 65535 / sy;
    }
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, in, sizeof(INPUT));
  }
  POINT ScreenCentre(TMenuBtn *button) {
    RECT w{};
    GetWindowRect(window, &w);
    const RECT &b = button->BoundsRect;
    return POINT{w.left + (b.left + b.right) / 2, w.top + (b.top + b.bottom) / 2};
  }

  TForm *form = nullptr;
  HWND window = nullptr;
  TWinSkinForm *skin = nullptr;
};

TEST_F(MenuBar, TheBandAndItsButtonsInEveryState) {
  EXPECT_EQ(GetMenu(window), nullptr) << "the system's bar is still on the window";
  ASSERT_EQ(skin->SkinMenu->Buttons.size(), 4u);
  const RECT file = Button(0)->BoundsRect, edit = Button(1)->BoundsRect;
  EXPECT_EQ(file.top, kTopHeight);
  EXPECT_LT(file.right, edit.left + 1) << "buttons overlap";

  RECT w{};
  GetWindowRect(window, &w);
  const int bandY = kTopHeight + 2;
  const int emptyX = (w.right - w.left) - kSide - 10; // right of every button
  auto shot = Snap(window);
  EXPECT_EQ(At(*shot, emptyX, bandY), kBar[0]) << "active: frame 1 of the menu bar";
  EXPECT_GT(Count(*shot, file, kBarText), 5) << "File's caption";
  EXPECT_EQ(Count(*shot, edit, kBarText), 0);
  EXPECT_GT(Count(*shot, edit, kShadow), 5) << "a disabled item's caption is in the shadow colour";

  // Hot: a frame round the button.
  POINT centre = ScreenCentre(Button(3));
  SetCursorPos(centre.x, centre.y);
  PostMessageA(window, WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(centre.x, centre.y));
  Pump(50);
  shot = Snap(window);
  const RECT help = Button(3)->BoundsRect;
  EXPECT_EQ(Button(3)->State, 3);
  EXPECT_EQ(At(*shot, help.left, (help.top + help.bottom) / 2), kButtonHilight);
  EXPECT_EQ(At(*shot, file.left, (file.top + file.bottom) / 2), kBar[0]) << "File is not hot";

  // Inactive: frame 2.
  TForm *other = NewForm();
  other->SetMenu(nullptr);
  other->SetBounds(500, 400, 200, 150);
  other->Show();
  SetForegroundWindow(other->Handle());
  ASSERT_TRUE(PumpUntil([this] { return !skin->Active; }));
  Pump(50);
  shot = Snap(window);
  EXPECT_EQ(At(*shot, emptyX, bandY), kBar[1]) << "inactive: frame 2 of the menu bar";
}

TEST_F(MenuBar, DropDownsOpenByClickAltLetterAndAltAndChooseOnce) {
  const struct {
    const char *name;
    std::function<void()> open;
    std::vector<WPARAM> keys; // then, in the open drop-down
    std::vector<std::string> clicked;
  } cases[] = {
      {"a click", [this] { ClickAt(ScreenCentre(Button(0))); }, {VK_RETURN}, {"&File", "&Open"}},
      {"Alt+F",
       [this] { PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'f'); },
       {VK_RETURN},
       {"&File", "&Open"}},
      {"Alt, then Down",
       [this] { PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 0); },
       {VK_DOWN, VK_RETURN},
       {"&File", "E&xit"}},
      {"a click on Help, which has no drop-down",
       [this] { ClickAt(ScreenCentre(Button(3))); },
       {},
       {"&Help"}},
      {"a click on the disabled Edit", [this] { ClickAt(ScreenCentre(Button(1))); }, {}, {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    clicks.clear();
    std::vector<std::string> seen;
    std::vector<MenuDriver::Step> steps;
    if (!c.keys.empty())
      steps.push_back(Expect(0, seen));
    for (WPARAM key : c.keys)
      steps.push_back(Key(key));
    MenuDriver driver(steps);
    c.open();
    Pump(300);
    ASSERT_TRUE(PumpUntil([] { return VisibleMenuWindow() == nullptr; }));
    Pump(100);
    EXPECT_FALSE(driver.forcedClose);
    EXPECT_EQ(driver.menuSeen, !c.keys.empty());
    EXPECT_EQ(clicks, c.clicked);
  }
}

TEST_F(MenuBar, AButtonLooksPressedWhileItsDropDownIsOpen) {
  int state = -1, ticks = 0;
  MenuDriver driver({
      [](HWND menu) { // the mouse goes down into the drop-down, off the button
        RECT r{};
        GetWindowRect(menu, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      },
      [&](HWND) { // past the form's hover timer, twice over
        if (++ticks < 30) {
          MenuDriver::Again();
          return;
        }
        state = Button(0)->State;
      },
      Key(VK_ESCAPE),
      Key(VK_ESCAPE),
  });
  ClickAt(ScreenCentre(Button(0)));
  ASSERT_TRUE(PumpUntil([&] { return driver.menuSeen && VisibleMenuWindow() == nullptr; }));
  EXPECT_EQ(state, 2);
  EXPECT_EQ(Button(0)->State, 1) << "closed, it lets go";
}

TEST_F(MenuBar, AMouseChoiceInADropDownReachesItsHandlerOnce) {
  std::vector<std::string> seen;
  MenuDriver driver({Expect(0, seen), [this](HWND) {
                       RECT item{};
                       GetMenuItemRect(window, TopItem(0)->Handle(), 2, &item); // E&xit
                       ClickAt(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
                     }});
  ClickAt(ScreenCentre(Button(0)));
  ASSERT_TRUE(PumpUntil([&] { return !seen.empty() && VisibleMenuWindow() == nullptr; }));
  Pump(100);
  EXPECT_FALSE(driver.forcedClose);
  EXPECT_EQ(clicks, (std::vector<std::string>{"&File", "E&xit"}));
}

TEST_F(MenuBar, ArrowsAndTheMouseSwitchBetweenDropDownsAndWrap) {
  std::vector<std::string> seen;
  MenuDriver driver({Expect(0, seen), Key(VK_RIGHT), Expect(2, seen), Key(VK_RIGHT),
                     Expect(0, seen), Key(VK_LEFT), Expect(2, seen),
                     [this](HWND) {
                       // The mouse over File switches back to it.
                       const POINT p = ScreenCentre(Button(0));
                       SetCursorPos(p.x, p.y);
                     },
                     Expect(0, seen), Key(VK_ESCAPE)});
  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  ASSERT_TRUE(PumpUntil([&] { return seen.size() == 5 && VisibleMenuWindow() == nullptr; }, 5000));
  EXPECT_FALSE(driver.forcedClose);
  EXPECT_EQ(seen, (std::vector<std::string>{"&File", "&View", "&File", "&View", "&File"}));
  // Only the top-level items' own commands: opening File three times and View twice.
  EXPECT_EQ(std::count(clicks.begin(), clicks.end(), "&File"), 3);
  EXPECT_EQ(std::count(clicks.begin(), clicks.end(), "&View"), 2);
  EXPECT_EQ(clicks.size(), 5u);
}

TEST_F(MenuBar, SeparatorsAreTidiedWhenADropDownOpens) {
  std::vector<std::string> seen;
  int items = -1;
  MenuDriver driver({Expect(2, seen), [&](HWND menu) {
                       items = GetMenuItemCount(Shown(menu));
                       PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
                     }});
  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'v');
  ASSERT_TRUE(PumpUntil([&] { return items >= 0 && VisibleMenuWindow() == nullptr; }));
  EXPECT_EQ(items, 3) << "Zoom, one separator, Full screen";
  std::vector<bool> visible;
  for (int i = 0; i < TopItem(2)->Count(); ++i)
    visible.push_back(TopItem(2)->Items(i)->Visible);
  EXPECT_EQ(visible, (std::vector<bool>{false, true, true, false, true, false}));
}

TEST_F(MenuBar, TheDropDownsItemsAreDrawnFromTheSkin) {
  std::vector<std::string> seen;
  std::unique_ptr<TBitmap> shot;
  RECT open{};
  bool skinned = false;
  MenuDriver driver({Expect(0, seen),
                     [&](HWND menu) {
                       skinned = SkinManager->FindSkinMenu(menu) != nullptr;
                       RECT w{};
                       GetWindowRect(menu, &w);
                       GetMenuItemRect(window, TopItem(0)->Handle(), 0, &open);
                       OffsetRect(&open, -w.left, -w.top);
                       shot = Snap(menu);
                     },
                     Key(VK_ESCAPE)});
  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  ASSERT_TRUE(PumpUntil([&] { return shot != nullptr && VisibleMenuWindow() == nullptr; }));
  EXPECT_TRUE(skinned);
  EXPECT_EQ(At(*shot, 1, 1), kMenuFrame);
  // Open is selected (the drop-down opens on its first item): frame 4 and the selected text.
  EXPECT_EQ(At(*shot, open.right - 4, (open.top + open.bottom) / 2), kItemSelected);
  EXPECT_GT(Count(*shot, open, kHilightText), 5);
}

TEST_F(MenuBar, UnskinningGivesTheWindowItsMenuBack) {
  RECT before{};
  GetClientRect(window, &before);
  SkinManager->ActionSkinData = &Data();
  SkinManager->SetAction(saUnskinAll, 10);
  ASSERT_TRUE(PumpUntil([this] { return FindWinSkinForm(window) == nullptr; }));
  Pump(50);
  EXPECT_EQ(GetMenu(window), mainMenu->Handle());
  RECT after{};
  GetClientRect(window, &after);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << "the client area changed";
  EXPECT_EQ(after.right - after.left, before.right - before.left);
}

TEST_F(MenuTest, ADropDownTidiedWithAnMDIChildOpenStillOpensAndChooses) {
  for (const bool maximised : {false, true}) {
    SCOPED_TRACE(maximised ? "a maximised child" : "a child");
    TForm *form = NewForm();
    form->SetFormStyle(TFormStyle::fsMDIForm);
    ShowSkinned(form);
    auto *child = new TForm(form);
    child->SetBounds(10, 10, 200, 120);
    child->SetCaption("Child");
    child->SetFormStyle(TFormStyle::fsMDIChild);
    child->Show();
    if (maximised)
      ShowWindow(child->Handle(), SW_MAXIMIZE);
    ASSERT_TRUE(PumpUntil([child] { return FindWinSkinForm(child->Handle()) != nullptr; }));
    Pump(100);
    SetForegroundWindow(form->Handle());
    clicks.clear();
    int items = -1;
    MenuDriver driver(
        {[&](HWND menu) {
           HMENU shown = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
           if (shown != mainMenu->Items()->Items(2)->Handle() || !IsWindowVisible(menu)) {
             MenuDriver::Again();
             return;
           }
           items = GetMenuItemCount(shown);
         },
         Key(VK_DOWN), Key(VK_RETURN)});
    PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'v');
    ASSERT_TRUE(PumpUntil([&] { return driver.menuSeen && VisibleMenuWindow() == nullptr; }));
    Pump(100);
    EXPECT_FALSE(driver.forcedClose);
    EXPECT_EQ(items, 3) << "Zoom, one separator, Full screen";
    EXPECT_EQ(clicks, (std::vector<std::string>{"&View", "&Full screen"}));
    forms_.pop_back(); // the form goes, with its child
    Pump(50);
  }
}

} // namespace
} // namespace skinmenus
