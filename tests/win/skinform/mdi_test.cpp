// MDI under the skin: a skinned main form with three skinned children. A maximised child leaves
// its frame to the system and puts its caption buttons into the main form's menu band; restoring,
// tiling and cascading give the children their skinned frames and regions back; the client never
// shows the system's scroll bars unless the skin's options allow them.
#include "tests/win/skinform/skinform_fixture.h"

#include "framework/core/typinfo.h"
#include "framework/gui/menus.h"

#include <cstdlib>
#include <string>

namespace skinform {
namespace {

// The [MDICONTROLS] strip: four frames for each of minimise, restore and close, in that order.
constexpr int kMDISize = 14;
constexpr COLORREF kMDIFrame1[] = {RGB(30, 160, 60), RGB(30, 60, 160), RGB(160, 30, 60)};
constexpr COLORREF kFace = RGB(242, 244, 247); // the skin's button face: the forms' colour

skintest::SkinPackage MDISkin() {
  skintest::SkinPackage p = CornerSkin();
  p.ini += "[MDICONTROLS]\nImage=mdi.bmp\n";
  p.Add("mdi.bmp", Bmp24(kMDISize * 12, kMDISize, [](int x, int) {
          const int frame = x / kMDISize, button = frame / 4;
          return static_cast<uint32_t>(frame % 4 == 0 ? kMDIFrame1[button] : RGB(90, 90, 90));
        }));
  return p;
}

class MDITest : public SkinFormTest {
protected:
  skintest::SkinPackage Skin() const override { return MDISkin(); }

  // Whether the skin's options allow the client system scroll bars (read as the client is
  // subclassed, which decides the client's style for good).
  virtual bool ScrollBarsAllowed() const { return false; }

  void SetUp() override {
    SkinFormTest::SetUp();
    data_->Options = ScrollBarsAllowed() ? SetOf(data_->Options, xoMDIScrollbar)
                                         : SetWithout(data_->Options, xoMDIScrollbar);
    main_ = app_->CreateForm<TForm>();
    main_->SetFormStyle(TFormStyle::fsMDIForm);
    main_->SetBounds(30, 30, 660, 500);
    main_->SetCaption("Main");
    auto *menu = new TMainMenu(main_);
    for (const char *caption : {"&File", "&Window"}) {
      auto *item = new TMenuItem(main_);
      item->Caption = caption;
      menu->Items()->Add(item);
    }
    main_->SetMenu(menu);
    main_->ShowForm();
    ASSERT_TRUE(PumpUntil([this] { return Skinned(main_->Handle()); }));
    for (int i = 0; i < 3; ++i) {
      TForm *child = app_->CreateForm<TForm>();
      child->SetFormStyle(TFormStyle::fsMDIChild);
      child->SetBounds(20 + 40 * i, 20 + 30 * i, 280, 200);
      child->SetCaption("Child " + std::to_string(i + 1));
      child->Show();
      children_.push_back(child);
    }
    ASSERT_TRUE(PumpUntil([this] {
      for (TForm *c : children_)
        if (!Skinned(c->Handle()))
          return false;
      return true;
    })) << "the children were not skinned";
    Pump(100);
  }

  TWinSkinForm *MainSkin() { return FindWinSkinForm(main_->Handle()); }
  static TWinSkinForm *SkinOf(TForm *form) { return FindWinSkinForm(form->Handle()); }
  HWND Client() { return main_->ClientHandle(); }

  void Maximise(TForm *child) {
    SendMessageA(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->Handle()), 0);
    Pump(150);
  }

  // The centre of the maximised child's button for action (7, 8 or 9) in window coordinates of
  // the main form, from the skin's rules: Xcoord (w + 4) * (3 - i) from the right border,
  // centred in the menu band.
  POINT MDIButtonCentre(int action) {
    RECT r{};
    GetWindowRect(main_->Handle(), &r);
    TWinSkinForm *skin = MainSkin();
    const int i = action - 7, xcoord = (kMDISize + 4) * (3 - i);
    const int x = (r.right - r.left) - xcoord - kRightWidth;
    const int y = kTopHeight + (skin->MenuHeight - kMDISize) / 2;
    return POINT{x + kMDISize / 2, y + kMDISize / 2};
  }

  // Pixels of the child's client area on screen that are not the skin's face colour: what an
  // earlier picture left behind.
  static int StalePixels(TForm *child) {
    RECT client{};
    GetClientRect(child->Handle(), &client);
    POINT origin{0, 0};
    ClientToScreen(child->Handle(), &origin);
    TBitmap shot(client.right, client.bottom, TPixelFormat::pf32bit);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, client.right, client.bottom, screen, origin.x, origin.y,
           SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    int stale = 0;
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x)
        stale += At(shot, x, y) != kFace;
    return stale;
  }

  // Saves what the main form shows as a BMP when KESTROVA_SHOT_DIR names a folder.
  void Shot(const char *name) {
    const char *dir = std::getenv("KESTROVA_SHOT_DIR");
    if (dir == nullptr)
      return;
    Pump(100);
    RECT r{};
    GetWindowRect(main_->Handle(), &r);
    TBitmap shot(r.right - r.left, r.bottom - r.top, TPixelFormat::pf24bit);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top,
           SRCCOPY);
    ReleaseDC(nullptr, screen);
    shot.SaveToFile(std::string(dir) + "/" + name + ".bmp");
  }

  TForm *main_ = nullptr;
  std::vector<TForm *> children_;
};

TEST_F(MDITest, TheMainFormSubclassesItsClient) {
  TWinSkinForm *skin = MainSkin();
  EXPECT_EQ(skin->FormStyle, sfsMDIform);
  EXPECT_EQ(skin->MDIClient, Client());
  EXPECT_NE(skin->OldMDIProc, nullptr);
  EXPECT_NE(GetWindowLongPtrA(Client(), GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(skin->OldMDIProc));
  EXPECT_EQ(main_->MDIChildCount(), 3);
  for (TForm *child : children_)
    EXPECT_EQ(SkinOf(child)->FormStyle, sfsMDIChild);

  // Unskinned, the client has its own procedure back.
  const WNDPROC own = skin->OldMDIProc;
  skin->UnSubclass();
  EXPECT_EQ(GetWindowLongPtrA(Client(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(own));
  delete skin;
}

TEST_F(MDITest, TheMainFormListsActivatesAndCyclesItsChildren) {
  EXPECT_EQ(GetEnumProperty(main_, "FormStyle"), "fsMDIForm");
  EXPECT_EQ(GetEnumProperty(children_[0], "FormStyle"), "fsMDIChild");
  // The last child shown is active and on top.
  EXPECT_EQ(main_->ActiveMDIChild(), children_[2]);
  EXPECT_EQ(main_->MDIChildren(0), children_[2]);
  EXPECT_THROW(main_->MDIChildren(3), EComponentError);
  main_->Next();
  TCustomForm *next = main_->ActiveMDIChild();
  EXPECT_NE(next, children_[2]);
  EXPECT_EQ(main_->MDIChildren(0), next);
  main_->Previous();
  EXPECT_EQ(main_->ActiveMDIChild(), children_[2]);
}

TEST_F(SkinFormTest, AnMDIChildNeedsAnMDIMainForm) {
  app_->CreateForm<TForm>(); // an ordinary main form
  TForm *child = new TForm(app_.get());
  child->SetFormStyle(TFormStyle::fsMDIChild);
  EXPECT_THROW(child->HandleNeeded(), EInvalidOperation);
  EXPECT_FALSE(child->HandleAllocated());
  delete child;
}

TEST_F(MDITest, AMaximisedChildLeavesItsFrameToTheSystemAndItsButtonsToTheBand) {
  TForm *child = children_[1];
  Maximise(child);
  TWinSkinForm *childSkin = SkinOf(child);
  ASSERT_TRUE(IsZoomed(child->Handle()));
  EXPECT_TRUE(SkinManager->MDIMax);
  EXPECT_TRUE(MainSkin()->MDIChildMax());
  EXPECT_EQ(childSkin->WindowState, swsMax);
  // Its client area is the MDI client's: caption and borders lie outside, out of sight.
  RECT childClient{}, client{};
  GetClientRect(child->Handle(), &childClient);
  GetClientRect(Client(), &client);
  EXPECT_EQ(childClient.right, client.right);
  EXPECT_EQ(childClient.bottom, client.bottom);
  for (TForm *c : children_)
    EXPECT_FALSE(SkinOf(c)->HasRegion) << "no child keeps a region while one is maximised";
  EXPECT_EQ(StalePixels(child), 0) << "the maximised child shows what was there before";
  // The main form's caption names the child (the system's MDI caption).
  char text[64] = {};
  GetWindowTextA(main_->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Main - [Child 2]");

  // The entry point of the menu bar: the three buttons drawn at the band's right end...
  TWinSkinForm *skin = MainSkin();
  RECT window{};
  GetWindowRect(main_->Handle(), &window);
  const int bandWidth = window.right - window.left - kLeftWidth - kRightWidth;
  TBitmap bar(bandWidth, skin->MenuHeight, TPixelFormat::pf24bit);
  skin->DrawMDIButtons(bar.Canvas().Handle());
  GdiFlush();
  for (int action = 7; action <= 9; ++action) {
    SCOPED_TRACE("action " + std::to_string(action));
    const POINT c = MDIButtonCentre(action);
    EXPECT_EQ(At(bar, c.x - kLeftWidth, c.y - kTopHeight), kMDIFrame1[action - 7]);
    // ...and found by a point of the main form's window.
    TWinSysButton *button = skin->FindMDIButton(c);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->SkinButton->Action, action);
  }
  EXPECT_EQ(skin->FindMDIButton(POINT{kLeftWidth + 2, kTopHeight + 2}), nullptr);
  // The skinned menu bar shows them on the window.
  RedrawWindow(main_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(100);
  std::unique_ptr<TBitmap> shot = Snap(main_->Handle());
  for (int action = 7; action <= 9; ++action) {
    const POINT c = MDIButtonCentre(action);
    EXPECT_EQ(At(*shot, c.x, c.y), kMDIFrame1[action - 7]) << "on the window, action " << action;
  }
  Shot("mdi-maximised");

  // Restored, the children have skinned frames and regions again.
  SendMessageA(Client(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(child->Handle()), 0);
  Pump(150);
  EXPECT_FALSE(SkinManager->MDIMax);
  EXPECT_FALSE(skin->MDIChildMax());
  EXPECT_EQ(skin->FindMDIButton(MDIButtonCentre(8)), nullptr)
      << "no buttons without a maximised child";
  for (TForm *c : children_) {
    EXPECT_EQ(SkinOf(c)->WindowState, swsNormal);
    EXPECT_TRUE(SkinOf(c)->HasRegion);
  }
  RECT r{};
  GetWindowRect(child->Handle(), &r);
  GetClientRect(child->Handle(), &childClient);
  EXPECT_EQ(childClient.right, r.right - r.left - kLeftWidth - kRightWidth) << "skinned frame";
}

TEST_F(MDITest, TheBandButtonsMinimiseRestoreAndCloseTheMaximisedChild) {
  struct Case {
    int action;
    const char *what;
  };
  for (const Case &c : {Case{7, "minimise"}, Case{8, "restore"}, Case{9, "close"}}) {
    SCOPED_TRACE(c.what);
    TForm *child = children_.back();
    HWND window = child->Handle();
    Maximise(child);
    ASSERT_TRUE(IsZoomed(window));
    SetForegroundWindow(main_->Handle());
    Pump(100);
    // Pressed and released over the button, as the mouse does it.
    const POINT p = MDIButtonCentre(c.action);
    ClickButton(main_->Handle(), p.x, p.y);
    Pump(150);
    switch (c.action) {
    case 7:
      EXPECT_TRUE(IsIconic(window));
      EXPECT_FALSE(SkinManager->MDIMax);
      SendMessageA(Client(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(window), 0);
      Pump(100);
      break;
    case 8:
      EXPECT_FALSE(IsZoomed(window));
      EXPECT_FALSE(IsIconic(window));
      EXPECT_FALSE(SkinManager->MDIMax);
      EXPECT_TRUE(SkinOf(child)->HasRegion);
      break;
    default:
      EXPECT_FALSE(IsWindow(window));
      EXPECT_EQ(main_->MDIChildCount(), 2);
      // The system maximises the child that becomes active; the manager follows.
      ASSERT_NE(main_->ActiveMDIChild(), nullptr);
      EXPECT_EQ(SkinManager->MDIMax, IsZoomed(main_->ActiveMDIChild()->Handle()) != FALSE);
      children_.pop_back();
    }
  }
}

TEST_F(MDITest, TileAndCascadeRestoreTheMaximisedChild) {
  for (const bool tile : {true, false}) {
    SCOPED_TRACE(tile ? "tile" : "cascade");
    Maximise(children_[0]);
    ASSERT_TRUE(SkinManager->MDIMax);
    if (tile)
      main_->Tile();
    else
      main_->Cascade();
    Pump(150);
    EXPECT_FALSE(SkinManager->MDIMax);
    std::vector<RECT> places;
    for (TForm *c : children_) {
      EXPECT_FALSE(IsZoomed(c->Handle()));
      EXPECT_TRUE(SkinOf(c)->HasRegion);
      RECT r{};
      GetWindowRect(c->Handle(), &r);
      places.push_back(r);
    }
    RECT overlap{};
    const bool overlapping = IntersectRect(&overlap, &places[0], &places[1]) ||
                             IntersectRect(&overlap, &places[1], &places[2]);
    EXPECT_EQ(overlapping, !tile) << "tiled children lie side by side, cascaded ones overlap";
    if (tile) {
      for (TForm *c : children_)
        EXPECT_EQ(StalePixels(c), 0) << c->Caption() << " shows what was there before";
      Shot("mdi-tiled");
    }
  }
}

TEST_F(MDITest, AMenuSetThroughTheClientGoesToTheSkinnedBarNotTheWindow) {
  HMENU frameMenu = CreateMenu();
  AppendMenuA(frameMenu, MF_STRING, 7, "&Edit");
  SendMessageA(Client(), WM_MDISETMENU, reinterpret_cast<WPARAM>(frameMenu), 0);
  EXPECT_EQ(GetMenu(main_->Handle()), nullptr);
  EXPECT_EQ(MainSkin()->MenuHandle, frameMenu);
  DestroyMenu(frameMenu);
}

TEST_F(MDITest, ClosingTheLastChildGivesTheMenuBarBackToTheMainForm) {
  EXPECT_FALSE(data_->MenuUpdate) << "creating a child holds menu updates";
  Maximise(children_[2]);
  for (size_t i = 0; i < children_.size(); ++i) {
    children_[i]->Close();
    Pump(100);
    EXPECT_EQ(main_->MDIChildCount(), static_cast<int>(children_.size() - 1 - i));
  }
  children_.clear();
  EXPECT_TRUE(data_->MenuUpdate);
  EXPECT_FALSE(SkinManager->MDIMax);
  EXPECT_EQ(main_->ActiveMDIChild(), nullptr);
}

// A child beyond the client's right and bottom edges asks for scroll bars, which the system
// shows with ShowScrollBar (done here directly: Wine's client stops asking once it has hidden
// them). They show exactly when the skin's options allow them.
void ExpectScrollBars(TForm *child, HWND client, bool shown) {
  SetWindowPos(child->Handle(), nullptr, 900, 700, 300, 220, SWP_NOZORDER);
  ShowScrollBar(client, SB_BOTH, TRUE);
  SkinFormTest::Pump(200);
  const LONG_PTR style = GetWindowLongPtrA(client, GWL_STYLE);
  RECT window{}, area{};
  GetWindowRect(client, &window);
  GetClientRect(client, &area);
  const int edge = 2 * GetSystemMetrics(SM_CXEDGE);
  EXPECT_EQ((style & (WS_HSCROLL | WS_VSCROLL)) != 0, shown);
  EXPECT_EQ(area.right < window.right - window.left - edge, shown)
      << "the client area is narrowed by a system scroll bar";
}

TEST_F(MDITest, NoSystemScrollBarsWithoutTheSkinOption) {
  ExpectScrollBars(children_[0], Client(), false);
}

class MDIScrollTest : public MDITest {
protected:
  bool ScrollBarsAllowed() const override { return true; }
};

TEST_F(MDIScrollTest, SystemScrollBarsWithTheSkinOption) {
  ExpectScrollBars(children_[0], Client(), true);
}

TEST_F(MDITest, ChildCaptionsFollowTheActiveAndInactiveFrames) {
  main_->Tile(); // side by side, so that every caption can be read back
  Pump(150);
  for (TForm *active : children_) {
    SCOPED_TRACE(active->Caption());
    SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(active->Handle()), 0);
    Pump(150);
    ASSERT_EQ(main_->ActiveMDIChild(), active);
    for (TForm *c : children_) {
      TWinSkinForm *skin = SkinOf(c);
      EXPECT_EQ(skin->Active, c == active);
      const auto shot = Snap(c->Handle());
      // The caption band's middle and the left border below the corner.
      EXPECT_EQ(At(*shot, shot->Width() / 2, 2), kTop[c == active ? 0 : 1]) << c->Caption();
      EXPECT_EQ(At(*shot, 1, kTopHeight + 4), kLeft[c == active ? 0 : 1]) << c->Caption();
    }
  }
}

} // namespace
} // namespace skinform
