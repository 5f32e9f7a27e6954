// Windows that change after they are skinned: controls created, re-created and freed on a
// skinned form, a menu set and changed later, an embedded form, and many such cycles leaving
// nothing behind.
#include "tests/win/skincontrols/controls_fixture.h"

#include "framework/gui/buttons.h"
#include "framework/gui/comctrls.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/gdiobj.h"
#include "framework/gui/listview.h"
#include "framework/gui/menus.h"
#include "framework/gui/stdctrls.h"
#include "framework/gui/subclass.h"
#include "skin/controls/winsubclass_scroll.h"
#include "skin/form/winskinform_menubar.h"

#include <algorithm>

namespace skincontrols {
namespace {

TWinSkinForm *SkinOf(TForm *form) {
  return FindWinSkinForm(form->Handle());
}

// The scroll-bar overlays lying on the form.
std::vector<TWScrollbar *> Overlays(HWND form) {
  std::vector<TWScrollbar *> found;
  for (HWND child = GetWindow(form, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    if (auto *overlay = dynamic_cast<TWScrollbar *>(TWindowSubclass::Find(child, slScrollOverlay)))
      found.push_back(overlay);
  return found;
}

int OverlaysOver(HWND form, HWND target) {
  const std::vector<TWScrollbar *> all = Overlays(form);
  return static_cast<int>(std::count_if(
      all.begin(), all.end(), [target](TWScrollbar *o) { return o->TargetHandle == target; }));
}

TMainMenu *MenuOf(TForm *form, std::initializer_list<const char *> captions) {
  auto *menu = new TMainMenu(form);
  for (const char *caption : captions) {
    auto *item = new TMenuItem(form);
    item->Caption = caption;
    auto *child = new TMenuItem(form);
    child->Caption = "Item";
    item->Add(child);
    menu->Items()->Add(item);
  }
  return menu;
}

TEST_F(ControlTest, ControlsMadeAfterTheFormIsSkinnedAreSkinned) {
  TForm *form = NewForm(520, 400);
  Place<TButton>(form, 10, 10, 75, 25, "First");
  ShowSkinned(form);

  auto *group = Place<TGroupBox>(form, 300, 10, 200, 120, "Group");
  auto *panel = Place<TPanel>(form, 300, 140, 200, 100);
  const struct {
    const char *kind;
    TWinControl *control;
  } cases[] = {
      {"button", Place<TButton>(form, 10, 45, 75, 25, "Late")},
      {"edit", Place<TEdit>(form, 10, 80, 100, 21)},
      {"combo box", Place<TComboBox>(form, 10, 110, 100, 21)},
      {"check box", Place<TCheckBox>(form, 10, 140, 100, 17, "Check")},
      {"radio button", Place<TRadioButton>(form, 10, 160, 100, 17, "Radio")},
      {"memo", Place<TMemo>(form, 10, 185, 120, 50)},
      {"list box", Place<TListBox>(form, 140, 185, 120, 50)},
      {"scroll bar", Place<TScrollBar>(form, 10, 245, 150, 17)},
      {"progress bar", Place<TProgressBar>(form, 10, 270, 150, 17)},
      {"track bar", Place<TTrackBar>(form, 10, 295, 150, 30)},
      {"list view", Place<TListView>(form, 170, 245, 120, 80)},
      {"bit button", Place<TBitBtn>(form, 120, 45, 75, 25, "Bit")},
      {"group box", group},
      {"a button in the group box", Place<TButton>(group, 10, 20, 75, 25, "In group")},
      {"panel", panel},
      {"an edit in the panel", Place<TEdit>(panel, 10, 10, 100, 21)},
  };
  ASSERT_TRUE(PumpUntil([&] {
    return std::all_of(std::begin(cases), std::end(cases),
                       [](const auto &c) { return IsSkinned(c.control->Handle()); });
  }));
  for (const auto &c : cases) {
    SCOPED_TRACE(c.kind);
    EXPECT_TRUE(IsSkinned(c.control->Handle()));
  }
  // And they are painted from the skin: the late button shows the normal frame.
  EXPECT_EQ(At(cases[0].control->Handle(), 37, 12), kButton[0]);
}

TEST_F(ControlTest, ReCreatedControlsStaySkinnedWithTheirOverlaysOnTheNewWindow) {
  TForm *form = NewForm(420, 300);
  auto *list = Place<TListView>(form, 10, 10, 150, 100);
  auto *bar = Place<TScrollBar>(form, 10, 120, 150, 17);
  auto *check = Place<TCheckBox>(form, 10, 150, 120, 17, "Check");
  ShowSkinned(form);
  const HWND oldList = list->Handle(), oldBar = bar->Handle(), oldCheck = check->Handle();
  ASSERT_EQ(OverlaysOver(form->Handle(), oldBar), 1);

  list->SetViewStyle(TViewStyle::vsReport);
  bar->SetKind(TScrollBarKind::sbVertical);
  bar->SetBounds(200, 10, 17, 150);
  check->SetAlignment(TAlignment::taLeftJustify);
  const struct {
    const char *what;
    TWinControl *control;
    HWND old;
  } cases[] = {
      {"list view", list, oldList}, {"scroll bar", bar, oldBar}, {"check box", check, oldCheck}};
  ASSERT_TRUE(PumpUntil([&] {
    return std::all_of(std::begin(cases), std::end(cases),
                       [](const auto &c) { return IsSkinned(c.control->Handle()); });
  }));
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NE(c.control->Handle(), c.old) << "not re-created";
    EXPECT_TRUE(IsSkinned(c.control->Handle()));
    EXPECT_EQ(OverlaysOver(form->Handle(), c.old), 0) << "an overlay is left over the old window";
  }
  EXPECT_EQ(OverlaysOver(form->Handle(), bar->Handle()), 1);
  // One object per control, none for the windows that went.
  TWinSkinForm *skin = SkinOf(form);
  for (const auto &c : cases)
    EXPECT_EQ(std::count_if(skin->Controls.begin(), skin->Controls.end(),
                            [&c](TSkinControl *o) { return o->Owner() == c.control; }),
              1)
        << c.what;
}

TEST_F(ControlTest, AMenuSetAfterSkinningGetsTheSkinnedBandAndFollowsChanges) {
  TForm *form = NewForm(360, 240);
  Place<TButton>(form, 10, 10, 75, 25, "B");
  ShowSkinned(form);
  TWinSkinForm *skin = SkinOf(form);
  ASSERT_EQ(skin->SkinMenu, nullptr);
  const int clientHeight = form->ClientHeight();

  form->SetMenu(MenuOf(form, {"&File", "&Edit"}));
  Pump(100);
  ASSERT_NE(skin->SkinMenu, nullptr) << "the window has no menu at all";
  EXPECT_EQ(skin->SkinMenu->Buttons.size(), 2u);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr) << "the system's bar shows under the skinned band";
  EXPECT_GT(skin->MenuHeight, 0);
  EXPECT_EQ(form->ClientHeight(), clientHeight);

  form->SetMenu(MenuOf(form, {"&One", "&Two", "&Three"}));
  Pump(100);
  ASSERT_NE(skin->SkinMenu, nullptr);
  EXPECT_EQ(skin->SkinMenu->Buttons.size(), 3u);
  EXPECT_EQ(skin->SkinMenu->Buttons[2]->Caption, L"&Three");

  form->SetMenu(nullptr);
  Pump(100);
  EXPECT_EQ(skin->SkinMenu, nullptr);
  EXPECT_EQ(skin->MenuHeight, 0);
  EXPECT_EQ(form->ClientHeight(), clientHeight);
}

TEST_F(ControlTest, AFormEmbeddedLaterIsTakenIn) {
  TForm *form = NewForm(420, 300);
  auto *host = Place<TPanel>(form, 10, 10, 300, 200);
  ShowSkinned(form);

  auto embedded = std::make_unique<TForm>(nullptr);
  auto *button = new TButton(embedded.get());
  button->SetParent(embedded.get());
  button->SetBounds(10, 10, 75, 25);
  embedded->SetBorderStyle(TFormBorderStyle::bsNone);
  embedded->SetParent(host);
  embedded->SetBounds(0, 0, 280, 180);
  embedded->Show();
  EXPECT_TRUE(PumpUntil([&] { return IsSkinned(button->Handle()); }));
  EXPECT_EQ(embedded->Color(), Data().Colors[csButtonFace]) << "the embedded form keeps its face";
  embedded.reset(); // its objects go with it
  Pump(50);
  for (TSkinControl *object : SkinOf(form)->Controls)
    EXPECT_TRUE(TObject::IsLive(object));
}

TEST_F(ControlTest, AFreedControlTakesItsObjectWithItAndTheApplicationCanAsk) {
  TForm *form = NewForm();
  auto *button = Place<TButton>(form, 10, 10, 75, 25, "Goes");
  auto *speed = Place<TSpeedButton>(form, 100, 10, 25, 25);
  ShowSkinned(form);
  TWinSkinForm *skin = SkinOf(form);
  const size_t attached = skin->Controls.size();
  delete button;
  EXPECT_EQ(skin->Controls.size(), attached - 1);

  // A windowless control tells no one it was made; the application asks.
  auto *late = Place<TSpeedButton>(form, 130, 10, 25, 25);
  Data().UpdateSkinControl(form, late);
  const auto objectOf = [skin](TControl *c) {
    return std::count_if(skin->Controls.begin(), skin->Controls.end(),
                         [c](TSkinControl *o) { return o->GraphicControl == c; });
  };
  EXPECT_EQ(objectOf(late), 1);
  Data().DeleteGraphicControl(form, speed);
  EXPECT_EQ(objectOf(speed), 0);
  EXPECT_EQ(objectOf(late), 1);
}

TEST_F(ControlTest, CyclesOfSkinChangeAndUnskinLeaveNothingBehind) {
  int objects = 0, handles = 0;
  for (int cycle = 0; cycle < 100; ++cycle) {
    {
      auto form = std::make_unique<TForm>(nullptr);
      form->SetBounds(80, 80, 360, 260);
      Place<TButton>(form.get(), 10, 10, 75, 25, "B");
      auto *bar = Place<TScrollBar>(form.get(), 10, 40, 150, 17);
      ShowSkinned(form.get());
      auto *edit = Place<TEdit>(form.get(), 10, 70, 100, 21);
      auto *check = Place<TCheckBox>(form.get(), 10, 100, 100, 17, "C");
      form->SetMenu(MenuOf(form.get(), {"&File"}));
      bar->SetKind(TScrollBarKind::sbVertical);
      check->SetAlignment(TAlignment::taLeftJustify);
      ASSERT_TRUE(PumpUntil([&] {
        return IsSkinned(edit->Handle()) && IsSkinned(bar->Handle()) && IsSkinned(check->Handle());
      })) << "cycle "
          << cycle;
      delete edit;
      TWinSkinForm *skin = SkinOf(form.get());
      ASSERT_NE(skin, nullptr);
      skin->UnSubclass();
      delete skin;
      EXPECT_FALSE(IsSkinned(bar->Handle()));
    }
    Pump(5);
    if (cycle == 0) { // the first cycle fills what stays cached for the process
      objects = TObject::LiveCount();
      handles = GdiLiveTotal();
    }
  }
  EXPECT_EQ(TObject::LiveCount(), objects);
  EXPECT_EQ(GdiLiveTotal(), handles);
}

} // namespace
} // namespace skincontrols
