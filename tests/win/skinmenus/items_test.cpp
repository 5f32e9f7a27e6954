// The skinned drawing and measuring of single menu items, on a bitmap: which colours land where.
#include "tests/win/skinmenus/menus_fixture.h"

#include "framework/gui/imglist.h"

namespace skinmenus {
namespace {

class ItemDrawing : public MenuTest {
protected:
  static constexpr int kWidth = 200, kHeight = 22;

  void SetUp() override {
    MenuTest::SetUp();
    skin = std::make_unique<TWinSkinForm>(nullptr);
    skin->SkinData = &Data();
    item = new TMenuItem(nullptr);
    item->Caption = "Open file";
    menu.Items()->Add(item);
  }
  void TearDown() override {
    skin.reset();
    MenuTest::TearDown();
  }
  void UseSkinWithoutMenuItem() {
    UseSkin(MenuSkin(false));
    skin->SkinData = &Data();
  }
  void Draw(bool selected) {
    bitmap.Canvas().Brush().SetColor(clFuchsia);
    bitmap.Canvas().FillRect({0, 0, kWidth, kHeight});
    skin->DrawMenuItem(item, &bitmap.Canvas(), {0, 0, kWidth, kHeight}, selected);
  }
  int Count(const RECT &r, COLORREF colour) { return MenuTest::Count(bitmap, r, colour); }
  // The rightmost column of r holding a pixel of colour, or -1.
  int RightmostOf(const RECT &r, COLORREF colour) {
    for (int x = r.right - 1; x >= r.left; --x)
      for (int y = r.top; y < r.bottom; ++y)
        if (At(bitmap, x, y) == colour)
          return x;
    return -1;
  }

  std::unique_ptr<TWinSkinForm> skin;
  TPopupMenu menu{nullptr};
  TMenuItem *item = nullptr;
  TBitmap bitmap{kWidth, kHeight};
  const RECT all{0, 0, kWidth, kHeight};
  // 1 + the MenuItem margin: the glyph box; the caption starts 3 pixels after it.
  const RECT glyph{1 + kItemMargin, 3, 1 + kItemMargin + 16, 19};
  const RECT caption{glyph.right + 3, 0, 120, kHeight};
};

TEST_F(ItemDrawing, BackgroundAndCaptionFollowTheState) {
  const struct {
    const char *name;
    bool withMenuItem, enabled, selected;
    COLORREF background, text;
  } cases[] = {
      {"normal", true, true, false, kItem, kMenuText},
      {"selected", true, true, true, kItemSelected, kHilightText},
      {"disabled", true, false, false, kItem, kShadow},
      {"no MenuItem, normal", false, true, false, kMenuBg, kMenuText},
      {"no MenuItem, selected", false, true, true, kHilight, kHilightText},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.withMenuItem)
      UseSkinWithoutMenuItem();
    item->Enabled = c.enabled;
    Draw(c.selected);
    EXPECT_EQ(Count(all, RGB(255, 0, 255)), 0) << "the item was not covered";
    EXPECT_EQ(At(bitmap, kWidth - 2, kHeight / 2), c.background);
    EXPECT_GT(Count(caption, c.text), 10) << "no caption in its colour";
  }
}

TEST_F(ItemDrawing, CheckMarksImagesShortcutsAndDefaultItems) {
  const COLORREF checkColour = GetSysColor(COLOR_BTNTEXT);
  Draw(false);
  EXPECT_EQ(Count(glyph, checkColour), 0) << "an unchecked item without an image has no glyph";

  item->Checked = true;
  Draw(false);
  EXPECT_GT(Count(glyph, checkColour), 5) << "no system check mark";

  TImageList images(16, 16);
  TBitmap red(16, 16);
  red.Canvas().Brush().SetColor(clRed);
  red.Canvas().FillRect({0, 0, 16, 16});
  images.Add(red, nullptr);
  menu.Images = &images;
  item->ImageIndex = 0;
  Draw(false);
  EXPECT_GT(Count(glyph, RGB(255, 0, 0)), 14 * 14) << "the image is not in the glyph box";
  menu.Images = nullptr;
  item->ImageIndex = -1;
  item->Checked = false;

  item->ShortCutText = "Ctrl+O";
  Draw(false);
  const RECT right{caption.right, 0, kWidth, kHeight};
  EXPECT_EQ(RightmostOf(right, kMenuText) <= kWidth - 10 - 1, true)
      << "the shortcut reaches into the last 10 pixels";
  EXPECT_GT(RightmostOf(right, kMenuText), kWidth - 10 - 4) << "the shortcut is not right-aligned";

  item->ShortCutText.clear();
  Draw(false);
  const int plain = Count(caption, kMenuText);
  item->Default = true;
  Draw(false);
  EXPECT_GT(Count(caption, kMenuText), plain) << "a default item is not bold";
}

TEST_F(ItemDrawing, SeparatorsShowTheSkinsLineOrAnEtchedOne) {
  item->Caption.assign(1, '-'); // (a string literal here trips a false -Wrestrict at -O3)
  Draw(false);
  EXPECT_GT(Count(all, kLine), kWidth - 10) << "frame 2 of MenuItem is not across the item";
  EXPECT_EQ(Count(all, RGB(255, 0, 255)), 0);

  // A native separator of a foreign window's menu: an etched line, 4 pixels down.
  std::unique_ptr<TMenuItem> native = TWinSkinForm::CreateMenuItem(nullptr, 0);
  EXPECT_EQ(native->Caption, "-");
  bitmap.Canvas().Brush().SetColor(clFuchsia);
  bitmap.Canvas().FillRect(all);
  skin->DrawHMenuItem2(native.get(), bitmap.Canvas(), all, false, nullptr);
  EXPECT_GT(Count({0, 4, kWidth, 5}, GetSysColor(COLOR_BTNSHADOW)), kWidth / 2);
  EXPECT_EQ(Count(all, kLine), 0);
}

TEST_F(ItemDrawing, MeasuringAddsTheSkinnedMargins) {
  TImageList images(16, 16);
  const struct {
    const char *name;
    bool popup, withImages;
    int added;
  } cases[] = {
      {"drop-down item", false, false, kItemMargin + 10 + 25},
      {"drop-down item with images", false, true, kItemMargin + 10},
      {"popup item", true, false, kItemMargin + 12 + 23},
      {"popup item with images", true, true, kItemMargin + 12},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    menu.Images = c.withImages ? &images : nullptr;
    int width = 100, height = 20;
    if (c.popup)
      skin->MeasureItemPop(item, &bitmap.Canvas(), width, height);
    else
      skin->MeasureItem(item, &bitmap.Canvas(), width, height);
    EXPECT_EQ(width, 100 + c.added);
    EXPECT_EQ(height, 20);
  }
  menu.Images = nullptr;
}

} // namespace
} // namespace skinmenus
