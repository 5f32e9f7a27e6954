// The menus under the program's own skin: a drop-down of the bar, a context menu with its
// sub-menu open and the system menu, each in a skinned window whose frame comes from the skin's
// MenuBackground. With KESTROVA_SHOTS naming a folder, each scene is also saved as a picture.
#include "tests/win/skinmenus/menus_fixture.h"

#include "skin/form/winskinform_menubar.h"

#include <cstdlib>

namespace skinmenus {
namespace {

// Widens the rectangle in area by each visible menu window.
BOOL CALLBACK AddMenuWindow(HWND window, LPARAM area) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  RECT r{};
  if (std::string(name) == "#32768" && IsWindowVisible(window) && GetWindowRect(window, &r))
    UnionRect(reinterpret_cast<RECT *>(area), reinterpret_cast<RECT *>(area), &r);
  return TRUE;
}

class DefaultSkin : public MenuTest {
protected:
  void SetUp() override {
    MenuTest::SetUp();
    SkinManager->RemoveSkinData(&Data());
    data_ = std::make_unique<TSkinData>(nullptr);
    data_->SkinFormtype = sfDLL;
    data_->LoadFromFile(KESTROVA_DEFAULT_SKIN);
    ASSERT_FALSE(data_->NoSkin) << "the default skin did not load";
    data_->SkinFormtype = sfMainform;
    SkinManager->AddSkinData(data_.get());
    ASSERT_NE(data_->MenuBackground, nullptr);
    ASSERT_NE(data_->MenuItem, nullptr);
    form = NewForm();
    form->SetBounds(60, 60, 420, 260);
    ShowSkinned(form);
    window = form->Handle();
  }

  // The menu window's frame shows the corner of the skin's MenuBackground; the scene (the form
  // and every open menu) is saved when pictures are asked for.
  void CheckAndPicture(HWND menu, const char *name) {
    auto shot = Snap(menu);
    TBitmap &image = *Data().MenuBackground->Image;
    EXPECT_EQ(At(*shot, 0, 0), ColorToRGB(image.Canvas().Pixels(0, 0))) << name;
    EXPECT_NE(SkinManager->FindSkinMenu(menu), nullptr) << name;
    const char *folder = std::getenv("KESTROVA_SHOTS");
    if (folder == nullptr)
      return;
    RECT scene{};
    GetWindowRect(window, &scene);
    EnumWindows(AddMenuWindow, reinterpret_cast<LPARAM>(&scene));
    InflateRect(&scene, 8, 8);
    TBitmap picture(scene.right - scene.left, scene.bottom - scene.top);
    HDC screen = GetDC(nullptr);
    BitBlt(picture.Canvas().Handle(), 0, 0, picture.Width(), picture.Height(), screen, scene.left,
           scene.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    picture.SaveToFile(std::string(folder) + "\\" + name + ".bmp");
  }

  TForm *form = nullptr;
  HWND window = nullptr;
};

TEST_F(DefaultSkin, ADropDownOfTheBar) {
  bool done = false;
  MenuDriver driver({Key(VK_DOWN),
                     [&](HWND menu) {
                       CheckAndPicture(menu, "menu-dropdown");
                       done = true;
                     },
                     Key(VK_ESCAPE)});
  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  ASSERT_TRUE(PumpUntil([&] { return done && VisibleMenuWindow() == nullptr; }));
}

TEST_F(DefaultSkin, AContextMenuWithItsSubMenu) {
  bool done = false;
  MenuDriver driver({Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT), Key(VK_DOWN),
                     [&](HWND menu) {
                       CheckAndPicture(menu, "menu-context");
                       done = true;
                     },
                     Key(VK_ESCAPE), Key(VK_ESCAPE)});
  RECT r{};
  GetWindowRect(window, &r);
  popup->Popup(r.left + 120, r.top + 90);
  ASSERT_TRUE(PumpUntil([&] { return done && VisibleMenuWindow() == nullptr; }));
}

TEST_F(DefaultSkin, TheSystemMenu) {
  bool done = false;
  MenuDriver driver({Key(VK_DOWN), Key(VK_DOWN),
                     [&](HWND menu) {
                       CheckAndPicture(menu, "menu-system");
                       done = true;
                     },
                     Key(VK_ESCAPE)});
  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  ASSERT_TRUE(PumpUntil([&] { return done && VisibleMenuWindow() == nullptr; }));
}

} // namespace
} // namespace skinmenus
