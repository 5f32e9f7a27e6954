// The painters' pictures, read back from the screen: which frame of the skin each state shows,
// where glyphs and check images go, the edit's flat border, the combo box in its states.
#include "tests/win/skincontrols/controls_fixture.h"

#include "framework/gui/buttons.h"
#include "framework/gui/comctrls.h"
#include "framework/gui/stdctrls.h"
#include "skin/controls/winsubclass_button.h"
#include "skin/controls/winsubclass_check.h"

namespace skincontrols {
namespace {

bool Grey(COLORREF c) {
  return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
}

TEST_F(ControlTest, PushButtonShowsTheFrameOfItsState) {
  TForm *form = NewForm();
  auto *button = Place<TButton>(form, 10, 10, 75, 25, "OK");
  auto *other = Place<TButton>(form, 100, 10, 75, 25, "Other");
  auto *disabled = Place<TButton>(form, 190, 10, 75, 25, "Off");
  disabled->SetEnabled(false);
  ShowSkinned(form);
  HWND b = button->Handle();
  const struct {
    const char *state;
    std::function<void()> make;
    HWND window;
    COLORREF frame;
  } cases[] = {
      {"normal", [&] { other->SetFocus(); }, b, kButton[0]},
      {"focused", [&] { button->SetFocus(); }, b, kButton[4]},
      {"hot over focused", [&] { SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }, b,
       kButton[3]},
      {"pressed", [&] { SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }, b,
       kButton[1]},
      {"released and left",
       [&] {
         SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
         SendMessageA(b, WM_MOUSELEAVE, 0, 0);
         other->SetFocus();
       },
       b, kButton[0]},
      {"disabled", [] {}, disabled->Handle(), kButton[2]},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.state);
    c.make();
    Pump(30);
    EXPECT_EQ(At(c.window, 3, 12), c.frame);
    EXPECT_EQ(At(c.window, 71, 12), c.frame);
  }
}

TEST(GlyphLayout, PlacesGlyphAndTextByLayoutMarginAndSpacing) {
  const SIZE wide{75, 25}, tall{75, 60}, glyph{16, 16}, text{30, 13};
  const struct {
    const char *name;
    SIZE button, text;
    int layout, margin, spacing;
    bool centred, speed;
    POINT glyph, textAt;
    UINT format;
  } cases[] = {
      {"left, centred by margin -1",
       wide,
       text,
       0,
       -1,
       4,
       false,
       false,
       {12, 5},
       {32, 6},
       DT_WORDBREAK},
      {"right, margin 5",
       wide,
       text,
       1,
       5,
       4,
       false,
       false,
       {54, 5},
       {20, 6},
       DT_WORDBREAK | DT_RIGHT},
      {"top, even thirds",
       tall,
       text,
       2,
       -1,
       -1,
       false,
       false,
       {30, 10},
       {23, 36},
       DT_WORDBREAK | DT_CENTER},
      {"bottom, spacing -1 takes the rest",
       tall,
       text,
       3,
       2,
       -1,
       false,
       false,
       {30, 42},
       {23, 15},
       DT_WORDBREAK | DT_CENTER},
      {"no text: no spacing",
       wide,
       {0, 0},
       0,
       -1,
       4,
       false,
       false,
       {29, 5},
       {45, 13},
       DT_WORDBREAK},
      {"alignment centre overrides the margin",
       wide,
       text,
       0,
       5,
       4,
       true,
       false,
       {12, 5},
       {32, 6},
       DT_WORDBREAK},
      {"speed button: one more", wide, text, 0, -1, 4, false, true, {13, 5}, {33, 6}, DT_WORDBREAK},
      {"speed button: no alignment test",
       wide,
       text,
       0,
       5,
       4,
       true,
       true,
       {5, 5},
       {25, 6},
       DT_WORDBREAK},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const TGlyphLayout at =
        LayoutGlyph(c.button, glyph, c.text, c.layout, c.margin, c.spacing, c.centred, c.speed);
    EXPECT_EQ(at.Glyph.x, c.glyph.x);
    EXPECT_EQ(at.Glyph.y, c.glyph.y);
    EXPECT_EQ(at.Text.x, c.textAt.x);
    EXPECT_EQ(at.Text.y, c.textAt.y);
    EXPECT_EQ(at.Format, c.format);
  }
}

TEST_F(ControlTest, BitButtonDrawsItsGlyphThereAndGreyWhenDisabled) {
  constexpr COLORREF kGlyph = RGB(220, 40, 40);
  TForm *form = NewForm();
  auto *button = Place<TBitBtn>(form, 10, 10, 75, 25);
  // One red image; its bottom-left pixel gives the transparent colour.
  button->Glyph()->SetSize(16, 16);
  TCanvas &g = button->Glyph()->Canvas();
  g.Brush().SetColor(kGlyph);
  g.FillRect({0, 0, 16, 16});
  g.SetPixels(0, 15, RGB(255, 0, 255));
  ShowSkinned(form);
  ASSERT_TRUE(IsSkinned(button->Handle()));
  HWND b = button->Handle();
  // No caption: the glyph is centred, (75 - 16) / 2 across and (25 - 16 + 1) / 2 down.
  EXPECT_EQ(At(b, 29 + 8, 5 + 8), kGlyph);
  EXPECT_NE(At(b, 29 - 2, 5 + 8), kGlyph);
  EXPECT_NE(At(b, 29, 5 + 15), kGlyph) << "the transparent pixel shows the button";

  button->SetEnabled(false);
  Pump(30);
  const COLORREF disabled = At(b, 29 + 8, 5 + 8);
  EXPECT_TRUE(Grey(disabled)) << std::hex << disabled;
  EXPECT_NE(disabled, kButton[2]) << "the glyph is still drawn";
}

TEST(MarkImages, IndexTablesForCheckAndRadioStrips) {
  const struct {
    int checked;
    bool disabled, indeterminate;
    int frames, image;
  } checks[] = {
      {1, false, false, 4, 1},  {2, false, false, 4, 2},  {1, true, false, 4, 3},
      {2, true, false, 4, 4},   {1, false, true, 4, 4},   {4, true, false, 4, 4},
      {1, false, false, 12, 1}, {2, false, false, 12, 5}, {1, true, false, 12, 4},
      {2, true, false, 12, 8},  {1, false, true, 12, 9},  {1, true, true, 12, 12},
  };
  for (const auto &c : checks) {
    SCOPED_TRACE(testing::Message() << "check " << c.checked << " disabled " << c.disabled
                                    << " indeterminate " << c.indeterminate << " of " << c.frames);
    EXPECT_EQ(CheckImageIndex(c.checked, c.disabled, c.indeterminate, c.frames), c.image);
  }
  const struct {
    bool checked, disabled;
    int frames, image;
  } radios[] = {{false, false, 8, 1}, {true, false, 8, 5}, {false, true, 8, 4},
                {true, true, 8, 8},   {true, false, 4, 2}, {true, true, 4, 4}};
  for (const auto &r : radios) {
    SCOPED_TRACE(testing::Message() << "radio " << r.checked << " disabled " << r.disabled);
    EXPECT_EQ(RadioImageIndex(r.checked, r.disabled, r.frames), r.image);
  }
}

TEST_F(ControlTest, CheckAndRadioImagesSitByTheirTextSide) {
  TForm *form = NewForm();
  auto *check = Place<TCheckBox>(form, 10, 10, 120, 17, "Check");
  auto *checkLeft = Place<TCheckBox>(form, 10, 40, 120, 17, "Left text");
  checkLeft->SetAlignment(TAlignment::taLeftJustify);
  auto *radio = Place<TRadioButton>(form, 10, 70, 120, 17, "Radio");
  auto *radioLeft = Place<TRadioButton>(form, 150, 70, 120, 17, "Left text");
  radioLeft->SetAlignment(TAlignment::taLeftJustify);
  auto *off = Place<TCheckBox>(form, 10, 100, 120, 17, "Disabled");
  off->SetChecked(true);
  off->SetEnabled(false);
  check->SetChecked(true);
  radio->SetChecked(true);
  ShowSkinned(form);

  const int mid = 17 / 2;
  EXPECT_EQ(At(check->Handle(), 6, mid), CheckColour(5)) << "checked in a 12-image strip";
  EXPECT_EQ(At(off->Handle(), 6, mid), CheckColour(8)) << "checked and disabled";
  EXPECT_EQ(At(checkLeft->Handle(), 119, mid), CheckColour(1)) << "flush with the right edge";
  EXPECT_EQ(At(checkLeft->Handle(), 119 - kMark, mid), kFace);
  EXPECT_EQ(At(radio->Handle(), 6, mid), RadioColour(5));
  EXPECT_EQ(At(radioLeft->Handle(), 118, mid), RadioColour(1));
  EXPECT_EQ(At(radioLeft->Handle(), 119, mid), kFace) << "one pixel short of the edge";

  // A click changes the state and the image with it.
  check->SetChecked(false);
  Pump(30);
  EXPECT_EQ(At(check->Handle(), 6, mid), CheckColour(1));
}

TEST_F(ControlTest, EditGetsAFlatBorderOverItsOwn) {
  TForm *form = NewForm();
  auto *edit = Place<TEdit>(form, 10, 10, 120, 21);
  edit->SetText("text");
  ShowSkinned(form);
  HWND e = edit->Handle();
  std::unique_ptr<TBitmap> shot = Snap(e);
  for (const POINT p : {POINT{0, 10}, POINT{60, 0}, POINT{119, 10}, POINT{60, 20}})
    EXPECT_EQ(skintest::Pixel(*shot, p.x, p.y), kShadow) << p.x << "," << p.y;
  for (const POINT p : {POINT{1, 10}, POINT{2, 10}, POINT{60, 1}, POINT{60, 2}})
    EXPECT_EQ(skintest::Pixel(*shot, p.x, p.y), RGB(255, 255, 255)) << p.x << "," << p.y;
}

TEST_F(ControlTest, ComboBoxShowsItsStates) {
  TForm *form = NewForm();
  auto *combo = Place<TComboBox>(form, 10, 10, 140, 21);
  combo->SetStyle(TComboBoxStyle::csDropDownList);
  combo->Items()->Add("one");
  combo->Items()->Add("two");
  auto *other = Place<TButton>(form, 200, 10, 75, 25, "Other");
  auto *disabled = Place<TComboBox>(form, 10, 50, 140, 21);
  disabled->SetEnabled(false);
  ShowSkinned(form);
  HWND c = combo->Handle();
  RECT r;
  GetWindowRect(c, &r);
  const int buttonX = r.right - r.left - 6, y = (r.bottom - r.top) / 2;
  const struct {
    const char *state;
    std::function<void()> make;
    HWND window;
    int frame; // 1-based
  } cases[] = {
      {"normal", [&] { other->SetFocus(); }, c, 1},
      {"hot", [&] { combo->Perform(CM_MOUSEENTER, 0, 0); }, c, 4},
      {"focused",
       [&] {
         combo->Perform(CM_MOUSELEAVE, 0, 0);
         combo->SetFocus();
       },
       c, 4},
      {"pressed", [&] { PostMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }, c, 2},
      {"disabled", [] {}, disabled->Handle(), 3},
  };
  for (const auto &cs : cases) {
    SCOPED_TRACE(cs.state);
    cs.make();
    Pump(60);
    EXPECT_EQ(At(cs.window, buttonX, y), kCombo[cs.frame - 1]) << "the button";
    EXPECT_EQ(At(cs.window, 0, y), kSunk[cs.frame - 1]) << "the sunken ring";
  }
  SendMessageA(c, CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// The test skin has no up-down pictures: the buttons are face-coloured boxes with dark outlines,
// and the one pressed is filled with the shadow colour.
TEST_F(ControlTest, UpDownWithoutSkinPicturesDrawsPlainBoxes) {
  TForm *form = NewForm();
  auto *edit = Place<TEdit>(form, 10, 10, 60, 21);
  auto *updown = Place<TUpDown>(form, 70, 10, 17, 30);
  updown->SetAssociate(edit);
  ShowSkinned(form);
  HWND u = updown->Handle();
  ASSERT_TRUE(IsSkinned(u));
  RECT r;
  GetWindowRect(u, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const COLORREF dark = ColorToRGB(Data().Colors[csButtonDkshadow]);
  EXPECT_EQ(At(u, 2, h / 4), kFace) << "upper button";
  EXPECT_EQ(At(u, 0, h / 4), dark) << "its outline";
  EXPECT_EQ(At(u, 2, 3 * h / 4), kFace) << "lower button";
  SendMessageA(u, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w / 2, 3 * h / 4));
  // The press shows on the button under the cursor: put the cursor there.
  SetCursorPos(r.left + w / 2, r.top + 3 * h / 4);
  SendMessageA(u, WM_PAINT, 0, 0);
  Pump(30);
  EXPECT_EQ(At(u, 2, 3 * h / 4), kShadow) << "the pressed lower button";
  EXPECT_EQ(At(u, 2, h / 4), kFace);
  SendMessageA(u, WM_LBUTTONUP, 0, MAKELPARAM(w / 2, 3 * h / 4));
}

TEST_F(ControlTest, DatePickerArrowButtonOpensTheCalendar) {
  TForm *form = NewForm();
  auto *picker = Place<TDateTimePicker>(form, 10, 10, 160, 21);
  ShowSkinned(form);
  ASSERT_TRUE(IsSkinned(picker->Handle()));
  HWND arrow = GetTopWindow(picker->Handle());
  ASSERT_NE(arrow, nullptr) << "the skin's arrow button over the picker's own";
  RECT a, client;
  GetWindowRect(arrow, &a);
  GetClientRect(picker->Handle(), &client);
  MapWindowPoints(picker->Handle(), nullptr, reinterpret_cast<POINT *>(&client), 2);
  EXPECT_EQ(a.right, client.right) << "at the right, inside the border";
  EXPECT_FALSE(picker->DroppedDown());
  SendMessageA(arrow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageA(arrow, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  EXPECT_TRUE(PumpUntil([picker] { return picker->DroppedDown(); }, 2000));
  SendMessageA(picker->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump(30);
}

} // namespace
} // namespace skincontrols
