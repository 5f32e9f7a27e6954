// The samples on the gallery's pages: each kind of control in a row, its states in columns
// (normal, disabled, and the one that takes the focus when its page is shown).
#include "gallery/galleryform.h"

#include "framework/gui/bitmap.h"
#include "framework/gui/buttons.h"
#include "framework/gui/canvas.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/listview.h"
#include "framework/gui/stdctrls.h"

#include <string>

namespace {

// Columns of the state table on a page: the row's name, then the states.
constexpr int kNameX = 12, kNameW = 96;
constexpr int kColumnX[] = {116, 240, 364, 488};
constexpr int kColumnW = 112;

// A control on parent, owned by the form so that it goes with it.
template <typename T>
T *Place(TGalleryForm &form, TWinControl *parent, int x, int y, int w, int h,
         const std::string &caption = "") {
  auto *control = new T(&form);
  control->SetParent(parent);
  control->SetBounds(x, y, w, h);
  if (!caption.empty())
    control->SetCaption(caption);
  return control;
}

template <typename T> T *Disabled(T *control) {
  control->SetEnabled(false);
  return control;
}

// A label of a fixed width: sized to its text it would lose the overhang of its last glyph.
void Label(TGalleryForm &form, TWinControl *page, int x, int y, int w, const std::string &text) {
  auto *label = new TLabel(&form);
  label->SetAutoSize(false);
  label->SetParentColor(true); // on the page's face, whatever colour the skin gives it
  label->SetParent(page);
  label->SetBounds(x, y, w, 16);
  label->SetCaption(text);
}

// The header of a state table (at top) and the name of each row.
void TableHeads(TGalleryForm &form, TWinControl *page, std::initializer_list<const char *> states,
                std::initializer_list<std::pair<int, const char *>> rows, int top = 10) {
  int column = 0;
  for (const char *state : states)
    Label(form, page, kColumnX[column++], top, kColumnW, state);
  for (const auto &[y, name] : rows)
    Label(form, page, kNameX, y + 4, kNameW, name);
}

// A 16 x 16 check mark on the transparent colour of the bottom-left pixel.
void PaintCheckGlyph(TBitmap &glyph) {
  glyph.SetSize(16, 16);
  TCanvas &c = glyph.Canvas();
  c.Brush().SetColor(static_cast<TColor>(0xFF00FF));
  c.FillRect({0, 0, 16, 16});
  c.Pen().SetColor(static_cast<TColor>(0x208020));
  for (int dy = 0; dy < 3; ++dy) {
    c.MoveTo(3, 7 + dy);
    c.LineTo(6, 10 + dy);
    c.LineTo(13, 3 + dy);
  }
}

TWinControl *FillButtons(TGalleryForm &form, TTabSheet *page) {
  TableHeads(form, page, {"Normal", "Disabled", "Focused", "Chinese text"},
             {{30, "Push button"},
              {64, "Bit button"},
              {98, "Speed button"},
              {132, "Check box"},
              {160, "Radio button"}});
  const auto at = [](int column) { return kColumnX[column]; };
  Place<TButton>(form, page, at(0), 30, 100, 25, "Normal");
  Disabled(Place<TButton>(form, page, at(1), 30, 100, 25, "Disabled"));
  auto *focused = Place<TButton>(form, page, at(2), 30, 100, 25, "Focused");
  Place<TButton>(form, page, at(3), 30, 100, 25, "确定(&O)");

  for (int column = 0; column < 3; ++column) {
    auto *bit = Place<TBitBtn>(form, page, at(column), 64, 100, 25,
                               column == 1   ? "Disabled"
                               : column == 2 ? "Default"
                                             : "Glyph");
    PaintCheckGlyph(*bit->Glyph());
    bit->SetEnabled(column != 1);
    if (column == 2)
      bit->SetDefault(true);
  }
  Place<TBitBtn>(form, page, at(3), 64, 100, 25, "应用(&A)");

  auto *up = Place<TSpeedButton>(form, page, at(0), 98, 100, 25, "Up");
  up->SetGroupIndex(1);
  up->SetAllowAllUp(true);
  Disabled(Place<TSpeedButton>(form, page, at(1), 98, 100, 25, "Disabled"));
  auto *down = Place<TSpeedButton>(form, page, at(2), 98, 100, 25, "Down");
  down->SetGroupIndex(2);
  down->SetDown(true);
  Place<TSpeedButton>(form, page, at(3), 98, 100, 25, "Flat")->SetFlat(true);

  Place<TCheckBox>(form, page, at(0), 132, 110, 20, "Checked")->SetChecked(true);
  Disabled(Place<TCheckBox>(form, page, at(1), 132, 110, 20, "Disabled"))->SetChecked(true);
  auto *grayed = Place<TCheckBox>(form, page, at(2), 132, 110, 20, "Grayed");
  grayed->SetAllowGrayed(true);
  grayed->SetState(TCheckBoxState::cbGrayed);
  Place<TCheckBox>(form, page, at(3), 132, 110, 20, "选项");

  Place<TRadioButton>(form, page, at(0), 160, 110, 20, "Selected")->SetChecked(true);
  Disabled(Place<TRadioButton>(form, page, at(1), 160, 110, 20, "Disabled"));
  Place<TRadioButton>(form, page, at(2), 160, 110, 20, "Not selected");
  Place<TRadioButton>(form, page, at(3), 160, 110, 20, "单选");

  auto *group = Place<TGroupBox>(form, page, kNameX, 200, 290, 120, "Group box");
  Place<TCheckBox>(form, group, 16, 24, 200, 20, "A check box in a group")->SetChecked(true);
  Place<TEdit>(form, group, 16, 52, 200, 21)->SetText("An edit in a group");
  Disabled(Place<TButton>(form, group, 16, 82, 90, 25, "Disabled"));

  auto *radios = Place<TRadioGroup>(form, page, 316, 200, 290, 120, "Radio group");
  for (const char *item : {"First choice", "Second choice", "Third choice"})
    radios->Items()->Add(item);
  radios->UpdateButtons();
  radios->SetItemIndex(1);
  Disabled(Place<TGroupBox>(form, page, kNameX, 330, 594, 50, "A disabled group box"));
  return focused;
}

TWinControl *FillText(TGalleryForm &form, TTabSheet *page) {
  TableHeads(form, page, {"Normal", "Disabled", "Read-only", "Focused"},
             {{30, "Edit"}, {64, "Memo"}, {190, "Combo box"}, {226, "Up-down"}, {262, "Date"}});
  const auto at = [](int column) { return kColumnX[column]; };
  Place<TEdit>(form, page, at(0), 30, 112, 21)->SetText("Some text");
  Disabled(Place<TEdit>(form, page, at(1), 30, 112, 21))->SetText("Disabled");
  auto *readOnly = Place<TEdit>(form, page, at(2), 30, 112, 21);
  readOnly->SetText("Read-only");
  readOnly->SetReadOnly(true);
  auto *focused = Place<TEdit>(form, page, at(3), 30, 112, 21);
  focused->SetText("中文 and text");

  auto *memo = Place<TMemo>(form, page, at(0), 64, 236, 112);
  memo->SetScrollBars(TScrollStyle::ssBoth);
  memo->SetWordWrap(false);
  for (int i = 1; i <= 40; ++i)
    memo->Lines()->Add(
        NumberedText("Line ", i, " of a memo with more lines than it shows, and longer ones too"));
  auto *still = Disabled(Place<TMemo>(form, page, at(2), 64, 236, 112));
  still->SetScrollBars(TScrollStyle::ssVertical);
  still->Lines()->Add("A disabled memo.");

  auto *combo = Place<TComboBox>(form, page, at(0), 190, 112, 21);
  auto *list = Place<TComboBox>(form, page, at(2), 190, 112, 21);
  list->SetStyle(TComboBoxStyle::csDropDownList);
  for (TComboBox *c : {combo, list})
    for (const char *item : {"Word document", "Rich text", "Plain text", "Web page", "PDF"})
      c->Items()->Add(item);
  combo->SetText("Word document");
  list->SetItemIndex(2);
  auto *off = Disabled(Place<TComboBox>(form, page, at(1), 190, 112, 21));
  off->Items()->Add("Disabled");
  off->SetItemIndex(0);

  for (int column = 0; column < 2; ++column) {
    auto *edit = Place<TEdit>(form, page, at(column), 226, 90, 21);
    auto *spin = Place<TUpDown>(form, page, at(column) + 90, 226, 16, 21);
    spin->SetMax(99);
    spin->SetAssociate(edit);
    spin->SetPosition(column == 0 ? 7 : 42); // the edit shows it
    if (column == 1) {
      edit->SetEnabled(false);
      spin->SetEnabled(false);
    }
  }
  Place<TUpDown>(form, page, at(2), 226, 40, 21)->SetOrientation(TUDOrientation::udHorizontal);

  Place<TDateTimePicker>(form, page, at(0), 262, 112, 21);
  Disabled(Place<TDateTimePicker>(form, page, at(1), 262, 112, 21));
  return focused;
}

TWinControl *FillLists(TGalleryForm &form, TTabSheet *page) {
  Label(form, page, kNameX, 10, 180, "List box");
  auto *box = Place<TListBox>(form, page, kNameX, 28, 180, 170);
  for (int i = 1; i <= 40; ++i)
    box->Items()->Add(NumberedText("Document ", i, ".doc"));
  box->SetItemIndex(2);
  Label(form, page, kNameX, 208, 180, "Disabled list box");
  auto *off = Disabled(Place<TListBox>(form, page, kNameX, 226, 180, 80));
  for (const char *item : {"One", "Two", "Three"})
    off->Items()->Add(item);

  Label(form, page, 208, 10, 300, "List view with a header");
  auto *view = Place<TListView>(form, page, 208, 28, 396, 200);
  view->SetViewStyle(TViewStyle::vsReport);
  view->AddColumn("Name", 180);
  view->AddColumn("Size", 90);
  view->AddColumn("Type", 180);
  for (int i = 1; i <= 40; ++i)
    view->AddItem({NumberedText("Report ", i, ".doc"), NumberedText("", i * 37 % 500, " KB"),
                   i % 3 == 0 ? "Rich text" : "Word document"});

  Label(form, page, 208, 240, 300, "Scroll bars");
  auto *across = Place<TScrollBar>(form, page, 208, 258, 300, 17);
  across->SetParams(30, 0, 100);
  auto *still = Disabled(Place<TScrollBar>(form, page, 208, 284, 300, 17));
  still->SetParams(60, 0, 100);
  auto *down = Place<TScrollBar>(form, page, 530, 258, 17, 120);
  down->SetKind(TScrollBarKind::sbVertical);
  down->SetBounds(530, 258, 17, 120);
  down->SetParams(50, 0, 100);
  auto *stillDown = Disabled(Place<TScrollBar>(form, page, 560, 258, 17, 120));
  stillDown->SetKind(TScrollBarKind::sbVertical);
  stillDown->SetBounds(560, 258, 17, 120);
  return view;
}

TWinControl *FillBars(TGalleryForm &form, TTabSheet *page) {
  auto *tools = Place<TToolBar>(form, page, 8, 6, 596, 26);
  for (const char *caption : {"New", "Open", "Save", "", "Bold", "Print"}) {
    auto *button = new TToolButton(&form);
    button->Caption = caption;
    if (*caption == '\0')
      button->Style = TToolButtonStyle::tbsSeparator;
    if (std::string(caption) == "Bold") {
      button->Style = TToolButtonStyle::tbsCheck;
      button->Down = true;
    }
    button->Enabled = std::string(caption) != "Print";
    tools->AddButton(button);
  }

  TableHeads(form, page, {"Empty", "Part", "Full", "Disabled"},
             {{70, "Progress bar"}, {104, "Track bar"}, {150, "Vertical"}}, 46);
  const auto at = [](int column) { return kColumnX[column]; };
  for (int column = 0; column < 4; ++column) {
    auto *bar = Place<TProgressBar>(form, page, at(column), 70, 100, 18);
    bar->SetPosition(column == 0 ? 0 : column == 2 ? 100 : 40);
    bar->SetEnabled(column != 3);
  }
  auto *track = Place<TTrackBar>(form, page, at(0), 100, 224, 32);
  track->SetPosition(4);
  Disabled(Place<TTrackBar>(form, page, at(2), 100, 224, 32))->SetPosition(7);

  auto *tall = Place<TProgressBar>(form, page, at(0), 150, 18, 120);
  tall->SetOrientation(TProgressBarOrientation::pbVertical);
  tall->SetPosition(60);
  auto *upright = Place<TTrackBar>(form, page, at(0) + 40, 150, 32, 120);
  upright->SetOrientation(TTrackBarOrientation::trVertical);
  upright->SetPosition(3);

  Label(form, page, kNameX, 290, 200, "Status bar");
  // A status bar keeps to the bottom of its parent: a panel of its height holds it here.
  auto *holder = Place<TPanel>(form, page, 8, 310, 596, 22);
  holder->SetBevelOuter(TBevelCut::bvNone);
  auto *status = Place<TStatusBar>(form, holder, 0, 0, 596, 22);
  status->SetSizeGrip(false);
  const std::pair<const char *, TStatusPanelBevel> panels[] = {
      {"Lowered panel", TStatusPanelBevel::pbLowered},
      {"Raised panel", TStatusPanelBevel::pbRaised},
      {"Plain panel", TStatusPanelBevel::pbNone},
      {"状态栏", TStatusPanelBevel::pbLowered}};
  for (const auto &[text, bevel] : panels) {
    TStatusPanel *panel = status->Panels()->Add();
    panel->SetText(text);
    panel->SetWidth(140);
    panel->SetBevel(bevel);
  }
  return track;
}

TWinControl *FillTabs(TGalleryForm &form, TTabSheet *page) {
  const std::pair<TTabPosition, RECT> sides[] = {{TTabPosition::tpTop, {8, 8, 300, 158}},
                                                 {TTabPosition::tpBottom, {308, 8, 600, 158}},
                                                 {TTabPosition::tpLeft, {8, 166, 300, 316}},
                                                 {TTabPosition::tpRight, {308, 166, 600, 316}}};
  TWinControl *first = nullptr;
  for (const auto &[side, r] : sides) {
    auto *tabs = Place<TTabControl>(form, page, r.left, r.top, r.right - r.left, r.bottom - r.top);
    tabs->SetTabPosition(side);
    tabs->SetTabs({"First", "Second", "第三"});
    if (first == nullptr)
      first = tabs;
  }
  auto *set = Place<TTabSet>(form, page, 8, 330, 592, 24);
  for (const char *tab : {"Sheet 1", "Sheet 2", "Sheet 3", "Sheet 4", "Sheet 5", "Sheet 6",
                          "Sheet 7", "Sheet 8", "Sheet 9", "Sheet 10"})
    set->Tabs()->Add(tab);
  set->TabsChanged();
  set->SetTabIndex(0);
  return first;
}

// A button per action, the first at (x, y), each next one step further; answers the first.
struct Action {
  const char *caption;
  void (TGalleryForm::*handler)(TObject *);
};
TWinControl *ActionButtons(TGalleryForm &form, TWinControl *page,
                           std::initializer_list<Action> actions, POINT at, POINT step, int width) {
  TWinControl *first = nullptr;
  for (const Action &a : actions) {
    auto *button = Place<TButton>(form, page, at.x, at.y, width, 25, a.caption);
    button->SetOnClick(TNotifyEvent(&form, a.handler));
    if (first == nullptr)
      first = button;
    at.x += step.x;
    at.y += step.y;
  }
  return first;
}

TWinControl *FillWindows(TGalleryForm &form, TTabSheet *page) {
  TWinControl *first = ActionButtons(form, page,
                                     {{"MDI window", &TGalleryForm::MDIItemClick},
                                      {"Open a file...", &TGalleryForm::OpenItemClick},
                                      {"Save a file...", &TGalleryForm::SaveItemClick},
                                      {"Choose a folder...", &TGalleryForm::FolderItemClick}},
                                     {kNameX, 16}, {0, 34}, 150);
  Label(form, page, 180, 20, 420, "The menus open the same windows, and a message box of each");
  Label(form, page, 180, 38, 420, "icon and button style. Right-click anywhere on the window");
  Label(form, page, 180, 56, 420, "for the context menu. The Skin menu switches the skin of");
  Label(form, page, 180, 74, 420, "every open window.");
  auto *panel = Place<TPanel>(form, page, kNameX, 170, 290, 80, "A panel");
  panel->SetBevelOuter(TBevelCut::bvRaised);
  auto *sunk = Place<TPanel>(form, page, 316, 170, 290, 80, "A lowered panel");
  sunk->SetBevelOuter(TBevelCut::bvLowered);
  return first;
}

// Controls the page adds and removes while it is open, a list view whose style switches (its
// window is made anew each time) and a window whose menu is set after it is shown.
TWinControl *FillChanges(TGalleryForm &form, TTabSheet *page) {
  TWinControl *first = ActionButtons(form, page,
                                     {{"Add a control", &TGalleryForm::AddControlClick},
                                      {"Remove the last", &TGalleryForm::RemoveControlClick},
                                      {"List view style", &TGalleryForm::ListStyleClick},
                                      {"Menu on a window", &TGalleryForm::WindowMenuClick}},
                                     {kNameX, 12}, {150, 0}, 140);
  Label(form, page, kNameX, 46, 594,
        "Controls added here are skinned as they appear; the skin "
        "menu switches skins with them open.");
  auto *area = Place<TPanel>(form, page, kNameX, 68, 594, 176);
  area->SetBevelOuter(TBevelCut::bvLowered);
  auto *list = Place<TListView>(form, page, kNameX, 252, 594, 132);
  list->AddColumn("Name", 200);
  list->AddColumn("Kind", 200);
  for (int i = 1; i <= 12; ++i)
    list->AddItem({NumberedText("Item ", i), i % 2 == 0 ? "Even" : "Odd"});
  form.SetChangeParts(area, list);
  for (int i = 0; i < 6; ++i) // one of each kind to begin with
    form.AddChangingControl();
  return first;
}

} // namespace

std::vector<std::pair<TTabSheet *, TWinControl *>> FillGalleryPages(TGalleryForm &form) {
  return {{form.ButtonsPage, FillButtons(form, form.ButtonsPage)},
          {form.TextPage, FillText(form, form.TextPage)},
          {form.ListsPage, FillLists(form, form.ListsPage)},
          {form.BarsPage, FillBars(form, form.BarsPage)},
          {form.TabsPage, FillTabs(form, form.TabsPage)},
          {form.WindowsPage, FillWindows(form, form.WindowsPage)},
          {form.ChangesPage, FillChanges(form, form.ChangesPage)}};
}
