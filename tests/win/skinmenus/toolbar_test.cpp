// Tool bars on a skinned form: the background from the skin's Toolbar picture, touched buttons
// from the Button frames, through the tool bar's custom-draw events.
#include "tests/win/skinmenus/menus_fixture.h"

#include "framework/gui/comctrls.h"
#include "framework/gui/imglist.h"
#include "framework/gui/menus.h"

namespace skinmenus {
namespace {

class ToolBars : public MenuTest {
protected:
  void Build(bool keepOwnBackground) {
    Data().Options = keepOwnBackground ? SetOf(Data().Options, xoToolbarBK)
                                       : SetWithout(Data().Options, xoToolbarBK);
    form = NewForm();
    images = std::make_unique<TImageList>(16, 16);
    TBitmap glyph(16, 16);
    glyph.Canvas().Brush().SetColor(clNavy);
    glyph.Canvas().FillRect({0, 0, 16, 16});
    images->Add(glyph, nullptr);
    bar = new TToolBar(form);
    bar->SetParent(form);
    bar->SetBounds(0, 0, 300, 30);
    bar->Images = images.get();
    for (const char *caption : {"One", "Two", "Three"}) {
      auto *button = new TToolButton(form);
      button->Caption = caption;
      button->ImageIndex = 0;
      button->OnClick = TNotifyEvent(this, &ToolBars::ButtonClicked);
      if (bar->ButtonCount() == 0)
        button->DropdownMenu = dropdown;
      bar->AddButton(button);
    }
    bar->Buttons(1)->Enabled = false;
    ShowSkinned(form);
    ASSERT_TRUE(PumpUntil([this] { return static_cast<bool>(bar->OnCustomDrawButton); }))
        << "the tool bar was not given the skinned drawing";
    bar->Invalidate();
    Pump(100);
  }
  void ButtonClicked(TObject *sender) {
    buttonClicks.push_back(static_cast<TToolButton *>(sender)->Caption);
  }
  // A point in the button, clear of its image and caption: where the skin's face shows.
  POINT FacePoint(int index) {
    const RECT r = bar->Buttons(index)->BoundsRect();
    return POINT{r.left + 2, r.top + 3};
  }
  static void Mouse(POINT screen, DWORD flags) {
    const int sx = GetSystemMetrics(SM_CXSCREEN) - 1, sy = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = screen.x * 65535 / sx;
    in.mi.dy = screen.y * 65535 / sy;
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
  }
  POINT Screen(POINT p) {
    ClientToScreen(bar->Handle(), &p);
    return p;
  }
  COLORREF ToolbarPixel(int y) {
    TBitmap &image = *Data().Toolbar->Image;
    return ColorToRGB(image.Canvas().Pixels(0, y * image.Height() / 30));
  }

  TForm *form = nullptr;
  TToolBar *bar = nullptr;
  TPopupMenu *dropdown = nullptr; // the first button's menu, when a test gives one
  std::unique_ptr<TImageList> images;
  std::vector<std::string> buttonClicks;
};

TEST_F(ToolBars, BackgroundAndButtonsInTheirStates) {
  Build(false);
  ASSERT_NE(Data().Toolbar, nullptr);
  EXPECT_TRUE(bar->Flat());
  auto shot = Snap(bar->Handle());
  const int right = shot->Width() - 3;
  EXPECT_EQ(At(*shot, right, 1), ToolbarPixel(1)) << "the skin's tool bar background";
  EXPECT_EQ(At(*shot, right, 28), ToolbarPixel(28));
  const POINT one = FacePoint(0);
  EXPECT_EQ(At(*shot, one.x, one.y), ToolbarPixel(one.y)) << "a button nobody touches is flat";

  // Hot, then pressed, then released: the click arrives once.
  Mouse(Screen(POINT{one.x + 8, one.y + 6}), MOUSEEVENTF_MOVE);
  ASSERT_TRUE(PumpUntil([&] {
    auto s = Snap(bar->Handle());
    return At(*s, one.x, one.y) == kButtonFrames[3];
  })) << "hot: frame 4";
  Mouse(Screen(POINT{one.x + 8, one.y + 6}), MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(PumpUntil([&] {
    auto s = Snap(bar->Handle());
    return At(*s, one.x, one.y) == kButtonFrames[1];
  })) << "pressed: frame 2";
  Mouse(Screen(POINT{one.x + 8, one.y + 6}), MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return !buttonClicks.empty(); }));
  Pump(100);
  EXPECT_EQ(buttonClicks, (std::vector<std::string>{"One"}));

  // The disabled button never gets a skin face, even under the mouse.
  const POINT two = FacePoint(1);
  Mouse(Screen(POINT{two.x + 8, two.y + 6}), MOUSEEVENTF_MOVE);
  Pump(150);
  shot = Snap(bar->Handle());
  EXPECT_EQ(At(*shot, two.x, two.y), ToolbarPixel(two.y));
  Mouse(POINT{5, 5}, MOUSEEVENTF_MOVE);
}

TEST_F(ToolBars, WithItsOwnBackgroundKeptTheButtonsAreStillSkinned) {
  Build(true);
  auto shot = Snap(bar->Handle());
  EXPECT_NE(At(*shot, shot->Width() - 3, 1), ToolbarPixel(1));
  const POINT one = FacePoint(0);
  Mouse(Screen(POINT{one.x + 8, one.y + 6}), MOUSEEVENTF_MOVE);
  EXPECT_TRUE(PumpUntil([&] {
    auto s = Snap(bar->Handle());
    return At(*s, one.x, one.y) == kButtonFrames[3];
  })) << "hot: frame 4";
  Mouse(POINT{5, 5}, MOUSEEVENTF_MOVE);
}

TEST_F(ToolBars, UnskinningGivesTheToolBarItsOwnDrawingBack) {
  Build(false);
  SkinManager->ActionSkinData = &Data();
  SkinManager->SetAction(saUnskinAll, 10);
  ASSERT_TRUE(PumpUntil([this] { return FindWinSkinForm(form->Handle()) == nullptr; }));
  EXPECT_FALSE(bar->OnCustomDraw);
  EXPECT_FALSE(bar->OnCustomDrawButton);
}

// The application's own drawing of a menu item.
struct OwnDrawing : TObject {
  void Draw(TObject *, TCanvas *, RECT, bool) {}
  void Measure(TObject *, TCanvas *, int &, int &) {}
};

TEST_F(ToolBars, UnskinningGivesAButtonsMenuTheHandlersItHad) {
  // The menu belongs to no form: it outlives the form's skinning object.
  TPopupMenu menu(nullptr);
  OwnDrawing own;
  const TMenuDrawItemEvent ownDraw(&own, &OwnDrawing::Draw);
  const TMenuMeasureItemEvent ownMeasure(&own, &OwnDrawing::Measure);
  for (const char *caption : {"Drawn by the application", "Plain"}) {
    auto *item = new TMenuItem(&menu);
    item->Caption = caption;
    menu.Items()->Add(item);
  }
  TMenuItem *drawn = menu.Items()->Items(0), *plain = menu.Items()->Items(1);
  drawn->OnDrawItem = ownDraw;
  drawn->OnMeasureItem = ownMeasure;
  dropdown = &menu;
  Build(false);
  EXPECT_NE(drawn->OnDrawItem, ownDraw) << "the skin draws the item while skinned";
  EXPECT_TRUE(plain->OnDrawItem);

  SkinManager->ActionSkinData = &Data();
  SkinManager->SetAction(saUnskinAll, 10);
  ASSERT_TRUE(PumpUntil([this] { return FindWinSkinForm(form->Handle()) == nullptr; }));
  EXPECT_EQ(drawn->OnDrawItem, ownDraw);
  EXPECT_EQ(drawn->OnMeasureItem, ownMeasure);
  EXPECT_FALSE(plain->OnDrawItem);
  EXPECT_FALSE(plain->OnMeasureItem);
}

} // namespace
} // namespace skinmenus
