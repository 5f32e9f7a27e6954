// Which controls get a painter, and that letting go gives each control its procedure back.
#include "tests/win/skincontrols/controls_fixture.h"

#include "framework/gui/buttons.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/stdctrls.h"
#include "skin/form/winskinform_controls.h"

#include <commctrl.h>

namespace skincontrols {
namespace {

void Unskin(HWND window) {
  TWinSkinForm *form = SkinManager->FindSkinForm(window);
  ASSERT_NE(form, nullptr);
  form->UnSubclass();
  delete form;
}

TEST_F(ControlTest, AttachmentFollowsTagsClassMappingAndSkinnedKinds) {
  Data().SkinControls = SetWithout(Data().SkinControls, xcBitBtn);
  Data().SkinControls = SetWithout(Data().SkinControls, xcCheckBox);
  Data().Skin3rd()->Clear();
  Data().Skin3rd()->Add("TEdit=nil");
  Data().Skin3rd()->Add("TRadioButton=checkbox"); // its kind is not skinned: stays as it is
  TForm *form = NewForm(420, 300);
  auto *plain = Place<TButton>(form, 10, 10, 75, 25, "Plain");
  auto *tagged = Place<TButton>(form, 100, 10, 75, 25, "Tag 99");
  tagged->SetTag(Data().DisableTag);
  auto *edit = Place<TEdit>(form, 10, 50, 100, 21);
  auto *combo = Place<TComboBox>(form, 120, 50, 100, 21);
  auto *check = Place<TCheckBox>(form, 10, 80, 100, 17, "Check");
  auto *bit = Place<TBitBtn>(form, 120, 80, 75, 25, "Bit");
  auto *radio = Place<TRadioButton>(form, 10, 110, 100, 17, "Radio");
  auto *group = Place<TRadioGroup>(form, 10, 140, 180, 80, "Group");
  group->Items()->Add("A");
  group->Items()->Add("B");
  group->UpdateButtons();
  auto *disabledGroup = Place<TRadioGroup>(form, 200, 140, 180, 80, "Tagged group");
  disabledGroup->Items()->Add("C");
  disabledGroup->UpdateButtons();
  disabledGroup->SetTag(Data().DisableTag);
  ShowSkinned(form);

  const struct {
    const char *why;
    TWinControl *control;
    bool skinned;
  } cases[] = {
      {"a plain button", plain, true},
      {"Tag equal to the disable tag", tagged, false},
      {"class mapped to nil", edit, false},
      {"a combo box by the built-in rules", combo, true},
      {"a kind the skin does not paint", check, false},
      {"a bit button without its option falls back to nothing", bit, false},
      {"a mapping whose kind is not painted stops the rules", radio, false},
      {"a radio group", group, true},
      {"the buttons of a radio group", group->Buttons(0), true},
      {"a radio group with the disable tag", disabledGroup, false},
      {"its buttons take the tag over", disabledGroup->Buttons(0), false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(IsSkinned(c.control->Handle()), c.skinned);
  }
  EXPECT_EQ(disabledGroup->Buttons(0)->Tag(), Data().DisableTag);
}

TEST_F(ControlTest, LettingGoGivesEveryControlItsProcedureBack) {
  TForm *form = NewForm();
  std::vector<TWinControl *> controls = {
      Place<TButton>(form, 10, 10, 75, 25, "B"), Place<TEdit>(form, 10, 40, 80, 21),
      Place<TComboBox>(form, 10, 70, 80, 21), Place<TCheckBox>(form, 10, 100, 80, 17, "C")};
  std::vector<TWndMethod> before;
  for (TWinControl *c : controls)
    before.push_back(c->WindowProc);
  ShowSkinned(form);
  for (size_t i = 0; i < controls.size(); ++i) {
    EXPECT_TRUE(IsSkinned(controls[i]->Handle())) << i;
    EXPECT_FALSE(controls[i]->WindowProc == before[i]) << i;
  }
  Unskin(form->Handle());
  for (size_t i = 0; i < controls.size(); ++i) {
    EXPECT_TRUE(controls[i]->WindowProc == before[i]) << i;
    EXPECT_FALSE(IsSkinned(controls[i]->Handle())) << i;
  }
}

// A foreign top-level window with the children a standard dialog has.
TEST_F(ControlTest, ForeignWindowsAreDecidedByClassAndStyle) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_TREEVIEW_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&init);
  HWND window = CreateWindowExA(0, "#32770", "Foreign", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  auto child = [window](const char *cls, DWORD style, int y) {
    return CreateWindowExA(0, cls, "x", WS_CHILD | WS_VISIBLE | style, 10, y, 150, 24, window,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  };
  HWND push = child("Button", BS_PUSHBUTTON, 10);
  HWND owner = child("Button", BS_OWNERDRAW, 40);
  HWND group = child("Button", BS_GROUPBOX, 70);
  HWND check = child("Button", BS_AUTOCHECKBOX, 100);
  HWND radio = child("Button", BS_AUTORADIOBUTTON, 130);
  HWND edit = child("Edit", WS_BORDER, 160);
  HWND tree = child(WC_TREEVIEWA, 0, 190);
  HWND comboEx = CreateWindowExA(0, WC_COMBOBOXEXA, "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 200,
                                 10, 150, 200, window, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND inner = GetTopWindow(comboEx);
  const LONG_PTR editProc = GetWindowLongPtrA(edit, GWLP_WNDPROC);
  const LONG_PTR pushProc = GetWindowLongPtrA(push, GWLP_WNDPROC);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  ASSERT_TRUE(PumpUntil([push] { return IsSkinned(push); }));

  const struct {
    const char *why;
    HWND window;
    bool skinned;
  } cases[] = {
      {"push button", push, true},      {"owner-drawn button", owner, false},
      {"group box", group, false},      {"check box", check, true},
      {"radio button", radio, true},    {"edit", edit, true},
      {"tree view", tree, false},       {"combo box inside comboboxex32", inner, true},
      {"comboboxex32", comboEx, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(IsSkinned(c.window), c.skinned);
  }
  Unskin(window);
  EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), editProc);
  EXPECT_EQ(GetWindowLongPtrA(push, GWLP_WNDPROC), pushProc);
  EXPECT_FALSE(IsSkinned(push));
  DestroyWindow(window);
}

TEST(AttachRules, TheTableHoldsEveryRuleInOrder) {
  // The first class (or name) of each rule; the scroll-control rule is a test, not a class.
  const std::vector<std::string> first = {
      "TCustomTabControl", "TToolButton",     "TCoolBar",
      "TTABSET",           "TTabSheet",       "TTABBEDNOTEBOOK",
      "TMVCPANEL",         "THeaderControl",  "TCustomCheckBox",
      "TTrackBar",         "TUPDOWN",         "TMEDIAPLAYER",
      "TCustomRadioGroup", "TDBNAVIGATOR",    "TRZDBCHECKBOX",
      "TRZRADIOBUTTON",    "TCXDBCHECKBOX",   "TCustomGroupBox",
      "TRadioButton",      "TToolBar",        "TCustomStatusBar",
      "TProgressBar",      "TScrollBar",      "TTNTCOMBOBOX",
      "TCustomComboBox",   "TDateTimePicker", "TRICHEDIT",
      "TWWDBRICHEDIT",     "TBitBtn",         "TSpeedButton",
      "TCustomPanel",      "TDXTREELIST",     "TCustomListView",
      "TCustomMemo",       "TCustomGrid",     "",
      "TButton",           "TCustomEdit",     "TCustomFrame",
      "TCustomForm",       "TDCEDIT"};
  const std::vector<TAttachRule> &rules = AttachRules();
  ASSERT_EQ(rules.size(), first.size());
  for (size_t i = 0; i < rules.size(); ++i) {
    SCOPED_TRACE("rule " + std::to_string(i + 1));
    EXPECT_EQ(rules[i].Classes.empty() ? "" : rules[i].Classes.front(), first[i]);
    EXPECT_EQ(rules[i].StopAlways, i + 1 == 29) << "only the bit-button rule stops unskinned";
  }
  EXPECT_NE(rules[35].Test, nullptr) << "rule 36 asks whether the control scrolls";
}

TEST_F(ControlTest, ASkinWithoutButtonPicturesLeavesButtonsToTheSystem) {
  UseSkin(ControlSkin(false));
  TForm *form = NewForm();
  auto *button = Place<TButton>(form, 10, 10, 75, 25, "Go");
  int clicks = 0;
  struct Counter : TObject {
    int *n;
    void Click(TObject *) { ++*n; }
  } counter;
  counter.n = &clicks;
  button->SetOnClick(TNotifyEvent(&counter, &Counter::Click));
  ShowSkinned(form);
  HWND b = button->Handle();
  EXPECT_TRUE(IsSkinned(b));
  const COLORREF face = At(b, 3, 12);
  for (COLORREF frame : kButton)
    EXPECT_NE(face, frame);
  EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE)) << "the system's own button face";
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump(30);
  EXPECT_EQ(clicks, 1);
  HWND box = FindWindowA("#32770", nullptr);
  EXPECT_TRUE(box == nullptr || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId())
      << "no error box";
}

} // namespace
} // namespace skincontrols
