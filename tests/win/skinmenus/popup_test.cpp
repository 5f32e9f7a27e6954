// Popup menu windows skinned from MenuBackground, and the owner-drawn items of context and
// system menus, seen on screen while the menu is open.
#include "tests/win/skinmenus/menus_fixture.h"

#include "framework/gui/gdiobj.h"

namespace skinmenus {
namespace {

// The item's rectangle in the menu window's coordinates.
RECT ItemRect(HWND menuWindow, HMENU menu, int position) {
  RECT item{}, window{};
  GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &item);
  GetWindowRect(menuWindow, &window);
  OffsetRect(&item, -window.left, -window.top);
  return item;
}

TEST_F(MenuTest, AContextMenuShowsTheSkinsFrameAndItems) {
  TForm *form = NewForm();
  ShowSkinned(form);
  ASSERT_TRUE(popup->OwnerDraw) << "the form's popup menu was not given the skinned drawing";

  HWND seen = nullptr;
  bool listed = false, answers = false;
  std::unique_ptr<TBitmap> closed, selected;
  RECT first{}, line{};
  MenuDriver driver({[&](HWND menu) {
                       seen = menu;
                       listed = SkinManager->FindSkinMenu(menu) != nullptr;
                       answers = SendMessageA(menu, CN_IsSkinned, 0, 0) == 1;
                       first = ItemRect(menu, popup->Handle(), 0);
                       line = ItemRect(menu, popup->Handle(), 2);
                       closed = Snap(menu);
                       PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
                     },
                     [&](HWND menu) { selected = Snap(menu); }, Key(VK_ESCAPE)});
  popup->Popup(200, 200);
  ASSERT_TRUE(driver.menuSeen);
  EXPECT_FALSE(driver.forcedClose);
  EXPECT_TRUE(listed);
  EXPECT_TRUE(answers);
  ASSERT_NE(closed, nullptr);
  ASSERT_NE(selected, nullptr);

  // The frame all round, from the background's border.
  const int w = closed->Width(), h = closed->Height();
  for (POINT p : {POINT{1, 1}, POINT{w - 2, h / 2}, POINT{w / 2, h - 2}, POINT{0, h / 2}})
    EXPECT_EQ(At(*closed, p.x, p.y), kMenuFrame) << p.x << "," << p.y;
  // Items on frame 1, the keyboard's selection on frame 4, captions in their colours.
  const int y = (first.top + first.bottom) / 2;
  EXPECT_EQ(At(*closed, first.right - 4, y), kItem);
  EXPECT_EQ(At(*selected, first.right - 4, y), kItemSelected);
  EXPECT_GT(Count(*closed, first, kMenuText), 5);
  EXPECT_GT(Count(*selected, first, kHilightText), 5);
  // The separator: frame 2's line over the popup's background.
  EXPECT_GT(Count(*closed, line, kLine), (line.right - line.left) / 2);
  EXPECT_GT(Count(*closed, line, kMenuFill), 0) << "the background does not show around the line";

  // Closed: the object went with its window, and the next popup starts as a plain one.
  EXPECT_TRUE(SkinManager->Menus().empty());
  EXPECT_EQ(SkinManager->MenuKind, 0);
  EXPECT_FALSE(SkinManager->PopupFlag);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(MenuTest, TheKindOfMenuDecidesWhetherItsWindowIsSkinned) {
  const struct {
    const char *name;
    bool popupKind, systemKind;
    int32_t menuKind;
    bool skinned;
  } cases[] = {
      {"popup menus skinned", true, true, 0, true},
      {"popup menus not skinned", false, true, 0, false},
      {"a system menu while popups are not skinned", false, true, 2, true},
      {"a system menu while system menus are not skinned", true, false, 2, false},
  };
  TPopupMenu menu(nullptr);
  auto *item = new TMenuItem(nullptr);
  item->Caption = "Item";
  menu.Items()->Add(item);
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    TSkinControlTypes kinds = DefaultSkinControls;
    kinds = c.popupKind ? SetOf(kinds, xcPopupMenu) : SetWithout(kinds, xcPopupMenu);
    kinds = c.systemKind ? SetOf(kinds, xcSystemMenu) : SetWithout(kinds, xcSystemMenu);
    Data().SkinControls = kinds;
    SkinManager->MenuKind = c.menuKind;
    bool skinned = false;
    MenuDriver driver({[&](HWND window) {
      skinned = SkinManager->FindSkinMenu(window) != nullptr;
      PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
    }});
    menu.Popup(100, 100);
    ASSERT_TRUE(driver.menuSeen);
    EXPECT_EQ(skinned, c.skinned);
    EXPECT_EQ(SkinManager->MenuKind, c.skinned ? 0 : c.menuKind)
        << "the kind is reset when the last skinned popup closes";
  }
}

TEST_F(MenuTest, ASkinnedMenuWindowAnswersEvenWhileTheManagerIsOff) {
  TPopupMenu menu(nullptr);
  auto *item = new TMenuItem(nullptr);
  item->Caption = "Item";
  menu.Items()->Add(item);
  const struct {
    const char *name;
    bool menuBG;
  } cases[] = {{"system erases", false}, {"skin keeps its background", true}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Data().Options =
        c.menuBG ? SetOf(Data().Options, xoMenuBG) : SetWithout(Data().Options, xoMenuBG);
    LRESULT erased = 0, skinnedWhileOff = 0;
    MenuDriver driver({[&](HWND window) {
      TBitmap scratch(8, 8);
      erased = SendMessageA(window, WM_ERASEBKGND,
                            reinterpret_cast<WPARAM>(scratch.Canvas().Handle()), 0);
      SkinManager->Enabled = false;
      skinnedWhileOff = SendMessageA(window, CN_IsSkinned, 0, 0);
      SkinManager->Enabled = true;
      PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
    }});
    menu.Popup(100, 100);
    ASSERT_TRUE(driver.menuSeen);
    EXPECT_EQ(erased, 1);
    EXPECT_EQ(skinnedWhileOff, 1);
  }
}

TEST_F(MenuTest, TheSystemMenuIsDrawnFromTheSkinAndItsCommandsWork) {
  TForm *form = NewForm();
  ShowSkinned(form);
  HWND window = form->Handle();
  TWinSkinForm *skin = FindWinSkinForm(window);
  ASSERT_NE(skin, nullptr);

  std::unique_ptr<TBitmap> shot;
  RECT close{};
  int closePosition = -1, downsToMaximize = 0;
  bool skinned = false;
  MenuDriver driver({});
  // Room for the steps the first one adds: the vector must not move while a step runs.
  driver.steps.reserve(32);
  driver.steps.push_back([&](HWND menu) {
    skinned = SkinManager->FindSkinMenu(menu) != nullptr;
    TMenuItem *root = skin->SysMenuPopup->Items();
    int itemsBefore = 0; // the keyboard passes over separators only
    for (int i = 0; i < root->Count(); ++i) {
      TMenuItem *item = root->Items(i);
      if ((item->Tag() & 0xFFF0) == SC_CLOSE)
        closePosition = i;
      if ((item->Tag() & 0xFFF0) == SC_MAXIMIZE)
        downsToMaximize = itemsBefore + 1;
      if (!item->IsLine())
        ++itemsBefore;
    }
    if (closePosition >= 0)
      close = ItemRect(menu, skin->SysMenuPopup->Handle(), closePosition);
    shot = Snap(menu);
    // Then down to Maximize and choose it.
    for (int i = 0; i < downsToMaximize; ++i)
      driver.steps.push_back(Key(VK_DOWN));
    driver.steps.push_back(Key(downsToMaximize > 0 ? VK_RETURN : VK_ESCAPE));
  });
  skin->LastPopupTime = 0;
  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  ASSERT_TRUE(PumpUntil([&] { return shot != nullptr && VisibleMenuWindow() == nullptr; }));
  ASSERT_NE(shot, nullptr);
  ASSERT_GT(downsToMaximize, 0);

  EXPECT_TRUE(skinned);
  EXPECT_FALSE(driver.forcedClose);
  ASSERT_GE(closePosition, 0);
  const int y = (close.top + close.bottom) / 2;
  EXPECT_EQ(At(*shot, close.right - 4, y), kItem) << "the item is not drawn from MenuItem";
  EXPECT_EQ(At(*shot, 1, 1), kMenuFrame);
  // The skin's close glyph in the glyph box: pixels that are neither the item nor its text.
  const RECT glyph{close.left + 1 + kItemMargin, close.top, close.left + 1 + kItemMargin + 16,
                   close.bottom};
  const int area = (glyph.right - glyph.left) * (glyph.bottom - glyph.top);
  EXPECT_LT(Count(*shot, glyph, kItem), area - 10) << "no glyph beside Close";

  EXPECT_TRUE(PumpUntil([window] { return IsZoomed(window) != FALSE; }))
      << "Maximize chosen in the skinned system menu did not reach the window";
}

TEST_F(MenuTest, OpeningAndClosingAPopupAThousandTimesLeavesNothingBehind) {
  TForm *form = NewForm();
  ShowSkinned(form);
  HWND window = form->Handle();
  // Escape waits in the queue: the menu's own loop takes it as soon as the menu is up.
  const auto cycle = [&] {
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
    popup->Popup(150, 150);
  };
  cycle();
  Pump(20);
  const int gdi = GdiLiveTotal(), objects = TObject::LiveCount();
  for (int i = 0; i < 1000; ++i)
    cycle();
  Pump(20);
  EXPECT_EQ(GdiLiveTotal(), gdi);
  EXPECT_EQ(TObject::LiveCount(), objects);
  EXPECT_TRUE(SkinManager->Menus().empty());
  EXPECT_TRUE(clicks.empty());
}

} // namespace
} // namespace skinmenus
