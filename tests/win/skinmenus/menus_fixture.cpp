#include "tests/win/skinmenus/menus_fixture.h"

namespace skinmenus {

namespace {

using skintest::Bmp24;

constexpr COLORREF kBorder = RGB(60, 90, 130);
MenuDriver *activeDriver = nullptr;
bool runAgain = false;

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM out) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32768" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND *>(out) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK DriverTick(HWND, UINT, UINT_PTR, DWORD) {
  MenuDriver *d = activeDriver;
  if (d == nullptr)
    return;
  HWND menu = VisibleMenuWindow();
  if (menu != nullptr)
    d->menuSeen = true;
  if (d->next < d->steps.size()) {
    if (menu == nullptr)
      return;
    runAgain = false;
    d->steps[d->next](menu);
    if (runAgain && ++d->repeats < 100)
      return;
    d->repeats = 0;
    ++d->next;
    return;
  }
  if (menu != nullptr && ++d->idleTicks > 100) {
    d->forcedClose = true;
    EndMenu();
  }
}

} // namespace

HWND VisibleMenuWindow() {
  HWND found = nullptr;
  EnumWindows(FindMenuWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

MenuDriver::MenuDriver(std::vector<Step> s) : steps(std::move(s)) {
  activeDriver = this;
  timer = SetTimer(nullptr, 0, 20, DriverTick);
}

MenuDriver::~MenuDriver() {
  KillTimer(nullptr, timer);
  activeDriver = nullptr;
}

void MenuDriver::Again() {
  runAgain = true;
}

MenuDriver::Step Key(WPARAM key) {
  return [key](HWND menu) { PostMessageA(menu, WM_KEYDOWN, key, 1); };
}

skintest::SkinPackage MenuSkin(bool withMenuItem) {
  skintest::SkinPackage p;
  const auto rgb = [](COLORREF c) {
    return std::to_string(GetRValue(c)) + " " + std::to_string(GetGValue(c)) + " " +
           std::to_string(GetBValue(c));
  };
  p.ini = "[TitlebarSkin]\nSkinName=Menus\n"
          "[Personality]\n"
          "Left=side.bmp\nLeftFrame=1\nRight=side.bmp\nRightFrame=1\n"
          "Top=top.bmp\nTopFrame=1\nBottom=bottom.bmp\nBottomFrame=1\n"
          "menuBar=menubar.bmp\nTileMenu=1\nTileLeftMenu=2\nTileRightMenu=2\n"
          "[Buttons]\nBitmap=button.bmp\nLeftWidth=2\nTopHeight=2\nRightWidth=2\n"
          "BottomHeight=2\nTrans=0\n"
          "[MenuBackground]\nImage=menubg.bmp\nLeftWidth=3\nTopHeight=3\nRightWidth=3\n"
          "BottomHeight=3\nTrans=0\nTile=0\n"
          "[Colours]\nButtonFace=242 244 247\nMenu=" +
          rgb(kMenuBg) + "\nHilight=" + rgb(kHilight) + "\nMenuText=" + rgb(kMenuText) +
          "\nHilightText=" + rgb(kHilightText) + "\nButtonShadow=" + rgb(kShadow) +
          "\nMenubar=" + rgb(kBar[0]) + "\nMenuBarText=" + rgb(kBarText) +
          "\nButtonHilight=" + rgb(kButtonHilight) + "\n";
  if (withMenuItem)
    p.ini += "[MenuItem]\nImage=menuitem.bmp\nLeftWidth=3\nTopHeight=3\nRightWidth=3\n"
             "BottomHeight=3\nTrans=1\nTile=0\n";
  constexpr int kCell = 12;
  p.Add("side.bmp", skintest::Solid(kSide, 20, kBorder))
      .Add("top.bmp", skintest::Solid(40, kTopHeight, kBorder))
      .Add("bottom.bmp", skintest::Solid(40, kSide, kBorder))
      .Add("menubar.bmp",
           Bmp24(16, 40, [](int, int y) { return static_cast<uint32_t>(kBar[y < 20 ? 0 : 1]); }))
      .Add("button.bmp", skintest::Frames(10, 10,
                                          {kButtonFrames[0], kButtonFrames[1], kButtonFrames[2],
                                           kButtonFrames[3], kButtonFrames[4]}))
      .Add("menubg.bmp", Bmp24(24, 24,
                               [](int x, int y) {
                                 const bool frame = x < kFrame || y < kFrame || x >= 24 - kFrame ||
                                                    y >= 24 - kFrame;
                                 return static_cast<uint32_t>(frame ? kMenuFrame : kMenuFill);
                               }))
      .Add("menuitem.bmp", Bmp24(kCell * 5, kCell, [](int x, int y) {
             switch (x / kCell) {
             case 1: // the separator: a line across the middle, transparent elsewhere
               return y == kCell / 2 ? static_cast<uint32_t>(kLine) : skintest::kMagenta;
             case 3:
             case 4:
               return static_cast<uint32_t>(kItemSelected);
             default:
               return static_cast<uint32_t>(kItem);
             }
           }));
  return p;
}

void MenuTest::SetUp() {
  StartSkinned(MenuSkin());
}

void MenuTest::Clicked(TObject *sender) {
  clicks.push_back(static_cast<TMenuItem *>(sender)->Caption);
}

TForm *MenuTest::NewForm() {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(80, 80, 420, 300);
  form->SetCaption("Menus");
  const auto add = [this](TMenuItem *parent, const std::string &caption) {
    auto *item = new TMenuItem(parent->Owner());
    item->Caption = caption;
    item->OnClick = TNotifyEvent(this, &MenuTest::Clicked);
    parent->Add(item);
    return item;
  };
  mainMenu = new TMainMenu(form.get());
  TMenuItem *file = add(mainMenu->Items(), "&File");
  add(file, "&Open");
  add(file, "-");
  add(file, "E&xit")->ShortCutText = "Alt+F4";
  TMenuItem *edit = add(mainMenu->Items(), "&Edit");
  edit->Enabled = false;
  add(edit, "&Undo");
  TMenuItem *view = add(mainMenu->Items(), "&View");
  for (const char *caption : {"-", "&Zoom", "-", "-", "&Full screen", "-"})
    add(view, caption);
  add(mainMenu->Items(), "&Help");
  form->SetMenu(mainMenu);

  popup = new TPopupMenu(form.get());
  add(popup->Items(), "Copy");
  add(popup->Items(), "Paste")->ShortCutText = "Ctrl+V";
  add(popup->Items(), "-");
  TMenuItem *more = add(popup->Items(), "More");
  add(more, "A");
  add(more, "B");
  forms_.push_back(std::move(form));
  return forms_.back().get();
}

void MenuTest::ShowSkinned(TForm *form) {
  form->Show();
  SetForegroundWindow(form->Handle());
  HWND window = form->Handle();
  ASSERT_TRUE(PumpUntil([window] {
    TWinSkinForm *skin = FindWinSkinForm(window);
    return skin != nullptr && skin->SkinState == 1;
  })) << "the form was not skinned";
  Pump(50);
}

int MenuTest::Count(TBitmap &shot, const RECT &r, COLORREF colour) {
  int n = 0;
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, shot.Height()); ++y)
    for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, shot.Width()); ++x)
      n += At(shot, x, y) == colour;
  return n;
}

} // namespace skinmenus
