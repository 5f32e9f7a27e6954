// Control discovery and attachment: which painter each control of a skinned window gets.
//
// Framework forms are walked through their component tree and decided by class (the rule
// table below, after the application's OnSkinControl event and the Skin3rd class mapping);
// foreign windows (standard dialogs) are walked through their child windows and decided by
// window class name and style.
#include "skin/form/winskinform_controls.h"

#include "framework/gui/comctrls.h"
#include "framework/gui/menus.h"

#include "framework/core/sysutils.h"
#include "framework/core/typinfo.h"
#include "framework/gui/comctrls.h"
#include "framework/gui/controls.h"
#include "framework/gui/forms.h"
#include "skin/controls/winsubclass_bars.h"
#include "skin/controls/winsubclass_box.h"
#include "skin/controls/winsubclass_button.h"
#include "skin/controls/winsubclass_check.h"
#include "skin/controls/winsubclass_combo.h"
#include "skin/controls/winsubclass_edit.h"
#include "skin/controls/winsubclass_header.h"
#include "skin/controls/winsubclass_scroll.h"
#include "skin/controls/winsubclass_tab.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"

#include <algorithm>

namespace {

template <class T> T *Attach(TWinSkinForm &form, TControl *control, bool changeColor = false) {
  auto *object = new T(control);
  object->Init(&form, form.SkinData, &form.ControlCanvas, changeColor);
  return object;
}

template <class T> T *AttachWindow(TWinSkinForm &form, HWND window) {
  auto *object = new T(nullptr);
  object->Inithwnd(window, form.SkinData, &form.ControlCanvas, &form);
  return object;
}

TWinControl *Windowed(TControl *control) {
  return dynamic_cast<TWinControl *>(control);
}

void ForEachChild(TControl *control, const std::function<void(TControl *)> &visit) {
  if (TWinControl *parent = Windowed(control))
    for (int i = 0; i < parent->ControlCount(); ++i)
      visit(parent->Controls(i));
}

bool Skinned(const TWinSkinForm &form, TSkinControlType kind) {
  return InSet(form.SkinData->SkinControls, kind);
}

bool HasTab(const TWinSkinForm &form) {
  return form.SkinData->Tab != nullptr;
}

std::string UpperClassName(const TObject *object) {
  return AnsiUpperCase(object->ClassName());
}

std::string LowerWindowClass(HWND window) {
  char name[101] = {};
  GetClassNameA(window, name, 100);
  return AnsiLowerCase(name);
}

// Rules without a painter here (the media player, the glyph strips of other libraries, and the
// tool bar, tool button and list view rules, whose pieces come separately) match, so that no
// other rule takes those controls, and attach nothing.
constexpr TAttachRule::Action kNotYet = nullptr;

template <class T> T *AttachScrolling(TWinSkinForm &form, TControl *control, int kind = 0) {
  auto *object = new T(control);
  object->Kind = kind;
  object->InitScrollbar(control, form.SkinData, &form.ControlCanvas, &form);
  return object;
}

void AttachScrollbars(TWinSkinForm &form, TControl *control) {
  AttachScrolling<TSkinScrollbar>(form, control);
}

void AttachTabControl(TWinSkinForm &form, TControl *control) {
  auto *pages = dynamic_cast<TPageControl *>(control);
  if (pages != nullptr && pages->Style() != TTabStyle::tsTabs) {
    Attach<TSkinTabBtn>(form, control);
    return;
  }
  auto *tab = new TSkinTab(control);
  if (pages == nullptr)
    tab->Kind = 2; // it repaints the control's windowless children
  tab->Init(&form, form.SkinData, &form.ControlCanvas, false);
}

void AttachCoolBar(TWinSkinForm &form, TControl *control) {
  if (auto *bar = dynamic_cast<TCoolBar *>(control))
    for (int i = 0; i < bar->Bands()->Count(); ++i)
      bar->Bands()->Items(i)->SetColor(form.SkinData->Colors[csButtonFace]);
}

void AttachRadioGroup(TWinSkinForm &form, TControl *group) {
  ForEachChild(group, [&](TControl *child) {
    if (!form.FindSkinComp(child))
      Attach<TSkinRadioButton>(form, child);
  });
  Attach<TSkinGroupBox>(form, group, true);
}

void AttachGroupBox(TWinSkinForm &form, TControl *group) {
  form.InitChildCtrl(Windowed(group));
  Attach<TSkinGroupBox>(form, group);
}

void AttachPanel(TWinSkinForm &form, TControl *panel) {
  form.InitChildCtrl(Windowed(panel));
  Attach<TSkinBox>(form, panel, true);
}

void AttachNavigator(TWinSkinForm &form, TControl *navigator) {
  Attach<TSkinBox>(form, navigator, true);
  ForEachChild(navigator, [&](TControl *child) { form.AddComp(child, navigator); });
}

void AttachDateTime(TWinSkinForm &form, TControl *picker) {
  const bool upDown = GetEnumProperty(picker, "DateMode") == "dmUpDown" ||
                      GetEnumProperty(picker, "Kind") == "dtkTime";
  if (upDown)
    Attach<TSkinEdit>(form, picker);
  else
    Attach<TSkinDateTime>(form, picker);
}

void AttachSpeedButton(TWinSkinForm &form, TControl *button) {
  auto *object = new TSkinSpeedButton(button);
  object->InitGraphicControl(&form, form.SkinData, &form.ControlCanvas);
}

void AttachEmbeddedForm(TWinSkinForm &form, TControl *embedded) {
  Attach<TSkinBox>(form, embedded, true);
  form.InitControlA(embedded);
}

void AttachDcEdit(TWinSkinForm &form, TControl *control) {
  const int buttons = GetIntProperty(control, "NumButtons");
  if (buttons == 1 && Skinned(form, xcCombo))
    Attach<TSkinComBox>(form, control);
  else if (buttons == 0 && Skinned(form, xcEdit))
    if (TWinControl *edit = Windowed(control))
      AttachWindow<TSkinEdit>(form, edit->Handle());
}

// A windowed control with a scroll-bar style, or one of the scrolling classes.
bool IsScrollControl(TControl *control) {
  TWinControl *windowed = Windowed(control);
  if (windowed == nullptr)
    return false;
  const LONG_PTR style = GetWindowLongPtrA(windowed->Handle(), GWL_STYLE);
  if ((style & (WS_HSCROLL | WS_VSCROLL)) != 0)
    return true;
  for (const char *name : {"TListBox", "TMemo", "TCustomListBox", "TCustomTreeView", "TScrollBox"})
    if (const TClassInfo *cls = FindClass(name); cls != nullptr && cls->IsInstance(control))
      return true;
  return false;
}

// Rule 20: the tool bar draws through its custom-draw events (the skin's background and button
// frames) and is framed as a box; the menus its buttons show become owner-drawn.
void AttachToolBar(TWinSkinForm &form, TControl *control) {
  auto *bar = dynamic_cast<TToolBar *>(control);
  if (bar == nullptr)
    return;
  SetProperty(bar, "Flat", "True");
  if (!bar->OnCustomDrawButton)
    bar->OnCustomDrawButton = TTBCustomDrawBtnEvent(&form, &TWinSkinForm::ToolBarDrawButton);
  if (!bar->OnCustomDraw)
    bar->OnCustomDraw = TTBCustomDrawEvent(&form, &TWinSkinForm::ToolBarDrawBackground);
  Attach<TSkinBox>(form, control);
  for (int i = 0; i < bar->ButtonCount(); ++i) {
    TToolButton *button = bar->Buttons(i);
    form.InitToolbarMenu(button->MenuItem, true);
    if (button->DropdownMenu != nullptr)
      form.InitToolbarMenu(button->DropdownMenu->Items(), true);
  }
  bar->Invalidate();
}

// The tool bar's custom-draw events go back to none when they are this form's.
void ReleaseToolBar(TWinSkinForm &form, TSkinControl *object) {
  auto *bar = dynamic_cast<TToolBar *>(object->Owner());
  if (bar == nullptr || !TObject::IsLive(bar))
    return;
  if (bar->OnCustomDrawButton == TTBCustomDrawBtnEvent(&form, &TWinSkinForm::ToolBarDrawButton))
    bar->OnCustomDrawButton = {};
  if (bar->OnCustomDraw == TTBCustomDrawEvent(&form, &TWinSkinForm::ToolBarDrawBackground))
    bar->OnCustomDraw = {};
}

using R = TAttachRule;
constexpr int kNone = -1;

} // namespace

// ----------------------------------------------------------------- the rule table

const std::vector<TAttachRule> &AttachRules() {
  static const std::vector<TAttachRule> rules = {
      /* 1 */ {{"TCustomTabControl"}, false, xcTab, true, false, AttachTabControl},
      /* 2 */ {{"TToolButton"}, false, kNone, false, false, kNotYet},
      /* 3 */ {{"TCoolBar"}, false, xcToolbar, false, false, AttachCoolBar},
      /* 4 */
      {{"TTABSET"},
       true,
       xcTab,
       true,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinTab31>(f, c); }},
      /* 5 */
      {{"TTabSheet"},
       false,
       xcTab,
       true,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinTabSheet>(f, c, true); }},
      /* 6 */
      {{"TTABBEDNOTEBOOK"},
       true,
       xcTab,
       true,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinTab>(f, c); }},
      /* 7 */
      {{"TMVCPANEL"},
       true,
       kNone,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { f.InitChildCtrl(Windowed(c)); }},
      /* 8 */
      {{"THeaderControl"},
       false,
       xcPanel,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinHeader>(f, c); }},
      /* 9 */
      {{"TCustomCheckBox"},
       false,
       xcCheckBox,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinCheckBox>(f, c); }},
      /* 10 */
      {{"TTrackBar"},
       false,
       xcTrackBar,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinTrackBar>(f, c); }},
      /* 11 */
      {{"TUPDOWN", "TSPINBUTTON"},
       true,
       xcSpin,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinUpDown>(f, c); }},
      /* 12 */ {{"TMEDIAPLAYER"}, true, xcButton, false, false, kNotYet},
      /* 13 */ {{"TCustomRadioGroup"}, false, xcRadioButton, false, false, AttachRadioGroup},
      /* 14 */ {{"TDBNAVIGATOR"}, true, xcPanel, false, false, AttachNavigator},
      /* 15 */ {{"TRZDBCHECKBOX", "TRZCHECKBOX"}, true, xcCheckBox, false, false, kNotYet},
      /* 16 */ {{"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}, true, xcRadioButton, false, false, kNotYet},
      /* 17 */ {{"TCXDBCHECKBOX", "TCXCHECKBOX"}, true, xcCheckBox, false, false, kNotYet},
      /* 18 */ {{"TCustomGroupBox"}, false, xcPanel, false, false, AttachGroupBox},
      /* 19 */
      {{"TRadioButton"},
       false,
       xcRadioButton,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinRadioButton>(f, c); }},
      /* 20 */ {{"TToolBar"}, false, xcToolbar, false, false, AttachToolBar},
      /* 21 */
      {{"TCustomStatusBar"},
       false,
       xcStatusBar,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinStatusBar>(f, c); }},
      /* 22 */
      {{"TProgressBar"},
       false,
       xcProgress,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinProgress>(f, c); }},
      /* 23 */
      {{"TScrollBar"},
       false,
       xcScrollbar,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { AttachScrolling<TSkinScControl>(f, c); }},
      /* 24 */
      {{"TTNTCOMBOBOX"},
       true,
       xcCombo,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinComBox>(f, c); }},
      /* 25 */
      {{"TCustomComboBox"},
       false,
       xcCombo,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinComBox>(f, c); }},
      /* 26 */ {{"TDateTimePicker"}, false, xcEdit, false, false, AttachDateTime},
      /* 27 */ {{"TRICHEDIT"}, true, xcScrollbar, false, false, AttachScrollbars},
      /* 28 */ {{"TWWDBRICHEDIT", "TDXDBMEMO"}, true, xcScrollbar, false, false, AttachScrollbars},
      /* 29 */
      {{"TBitBtn"},
       false,
       xcBitBtn,
       false,
       true,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinBitButton>(f, c); }},
      /* 30 */ {{"TSpeedButton"}, false, xcSpeedButton, false, false, AttachSpeedButton},
      /* 31 */ {{"TCustomPanel"}, false, xcPanel, false, false, AttachPanel},
      /* 32 */
      {{"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"},
       true,
       xcScrollbar,
       false,
       false,
       AttachScrollbars},
      /* 33 */
      {{"TCustomListView"},
       false,
       xcScrollbar,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { AttachScrolling<TSkinListView>(f, c); }},
      /* 34 */ {{"TCustomMemo"}, false, xcScrollbar, false, false, AttachScrollbars},
      /* 35 */ {{"TCustomGrid"}, false, xcScrollbar, false, false, AttachScrollbars},
      /* 36 */ {{}, false, xcScrollbar, false, false, AttachScrollbars, IsScrollControl},
      /* 37 */
      {{"TButton"},
       false,
       xcButton,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinButton>(f, c); }},
      /* 38 */
      {{"TCustomEdit"},
       false,
       xcEdit,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { Attach<TSkinEdit>(f, c); }},
      /* 39 */
      {{"TCustomFrame"},
       false,
       kNone,
       false,
       false,
       [](TWinSkinForm &f, TControl *c) { f.InitControlA(c); },
       nullptr,
       {"TDCEDIT", "TDCDBEDIT"}},
      /* 40 */
      {{"TCustomForm"},
       false,
       kNone,
       false,
       false,
       AttachEmbeddedForm,
       nullptr,
       {"TDCEDIT", "TDCDBEDIT"}},
      /* 41 */ {{"TDCEDIT", "TDCDBEDIT"}, true, kNone, false, false, AttachDcEdit},
  };
  return rules;
}

bool TAttachRule::Applies(TControl *control, const std::string &upperName) const {
  if (std::find(Except.begin(), Except.end(), upperName) != Except.end())
    return false;
  if (Test != nullptr)
    return Test(control);
  for (const std::string &name : Classes) {
    if (ByName) {
      if (name == upperName)
        return true;
    } else if (const TClassInfo *cls = FindClass(name);
               cls != nullptr && cls->IsInstance(control)) {
      return true;
    }
  }
  return false;
}

bool TAttachRule::Allowed(const TWinSkinForm &form) const {
  if (Kind != kNone && !Skinned(form, static_cast<TSkinControlType>(Kind)))
    return false;
  return !NeedsTab || HasTab(form);
}

// ----------------------------------------------------------------- framework forms

void TWinSkinForm::InitControls(TWinControl *form) {
  DeleteSkinDeleted();
  InitControlA(form);
}

void TWinSkinForm::InitControlA(TComponent *parent) {
  // Attaching may create components (arrow buttons of date pickers): walk a snapshot.
  std::vector<TControl *> controls;
  for (int i = 0; i < parent->ComponentCount(); ++i)
    if (auto *control = dynamic_cast<TControl *>(parent->Components(i)))
      controls.push_back(control);
  for (TControl *control : controls)
    if (TObject::IsLive(control))
      AddComp(control, dynamic_cast<TControl *>(parent));
}

void TWinSkinForm::InitChildCtrl(TWinControl *parent) {
  if (parent == nullptr)
    return;
  std::vector<TControl *> children;
  for (int i = 0; i < parent->ControlCount(); ++i)
    children.push_back(parent->Controls(i));
  for (TControl *child : children)
    AddComp(child, parent);
}

void TWinSkinForm::AddComp(TControl *control, TControl *) {
  if (control == nullptr || SkinData == nullptr)
    return;
  if (control->Tag() == SkinData->DisableTag) {
    DisableControl(control);
    return;
  }
  if (control->Parent() == nullptr || FindSkinComp(control))
    return;
  const std::string name = UpperClassName(control);
  if (TWinControl *windowed = Windowed(control)) {
    try {
      windowed->HandleNeeded();
    } catch (const std::exception &) {
      return;
    }
  }
  if (SkinData->OnSkinControl) {
    TComponent *result = nullptr;
    SkinData->OnSkinControl(this, SkinData, Form, control, name, result);
    if (auto *object = dynamic_cast<TSkinControl *>(result)) {
      if (!AddControlList(object))
        object->Init(this, SkinData, &ControlCanvas, object->ChangeColor);
      if (FindClass("TCustomPanel")->IsInstance(control))
        InitChildCtrl(Windowed(control));
      return;
    }
  }
  if (Find3rdControl(name, control))
    return;
  if (name == "TDBCOMBOBOXEH" || name == "TFRDESIGNERPAGE" || name == "TFRPBOX")
    return;
  for (const TAttachRule &rule : AttachRules()) {
    if (!rule.Applies(control, name))
      continue;
    if (!rule.Allowed(*this)) {
      if (rule.StopAlways)
        return;
      continue;
    }
    if (rule.Attach != nullptr)
      rule.Attach(*this, control);
    return;
  }
}

void TWinSkinForm::DisableControl(TControl *control) {
  TWinControl *group = Windowed(control);
  if (group == nullptr || group->ControlCount() == 0)
    return;
  const std::string name = AnsiLowerCase(control->ClassName());
  if (name.find("radiogroup") == std::string::npos && name.find("checkgroup") == std::string::npos)
    return;
  for (int i = 0; i < group->ControlCount(); ++i)
    group->Controls(i)->SetTag(SkinData->DisableTag);
}

bool TWinSkinForm::FindSkinComp(TControl *control) const {
  if (TWinControl *windowed = Windowed(control); windowed != nullptr && windowed->HandleAllocated())
    if (SendMessageA(windowed->Handle(), CN_IsSkinned, 0, 0) == 1)
      return true;
  return std::any_of(Controls.begin(), Controls.end(), [control](TSkinControl *object) {
    return TObject::IsLive(object) && object->Owner() == control;
  });
}

void TWinSkinForm::DoSkinEdit(TControl *control) {
  TWinControl *edit = Windowed(control);
  if (edit == nullptr)
    return;
  RECT window, client;
  GetWindowRect(edit->Handle(), &window);
  GetClientRect(edit->Handle(), &client);
  if (window.right - window.left == client.right && window.bottom - window.top == client.bottom)
    return; // no border to draw over
  Attach<TSkinEdit>(*this, control);
}

bool TWinSkinForm::Find3rdControl(const std::string &className, TControl *control) {
  TStringList *map = SkinData->Skin3rd();
  if (map == nullptr)
    return false;
  const std::string key = AnsiLowerCase(className) + "=";
  std::string value;
  bool found = false;
  for (int i = 0; i < map->Count() && !found; ++i) {
    const std::string entry = AnsiLowerCase(map->Get(i));
    if (entry.compare(0, key.size(), key) == 0) {
      value = entry.substr(key.size(), 50);
      found = true;
    }
  }
  if (!found)
    return false;
  const bool radio = Skinned(*this, xcRadioButton);
  if (value == "combobox" && Skinned(*this, xcCombo)) {
    Attach<TSkinComBox>(*this, control);
  } else if (value == "edit" && Skinned(*this, xcEdit)) {
    DoSkinEdit(control);
  } else if (value == "radiobutton" && radio) {
    Attach<TSkinRadioButton>(*this, control);
  } else if (value == "panel" && Skinned(*this, xcPanel)) {
    SetProperty(control, "Transparent", "True");
    Attach<TSkinBox>(*this, control, true);
  } else if (value == "button" && Skinned(*this, xcButton)) {
    Attach<TSkinButton>(*this, control);
  } else if (value == "datetimepicker" && Skinned(*this, xcCombo)) {
    Attach<TSkinDateTime>(*this, control);
  } else if ((value == "bitbtn" || value == "pngbitbtn") && Skinned(*this, xcButton)) {
    if (className == "TCXBUTTON" && GetEnumProperty(control, "Kind") == "cxbkDropDownButton") {
      Attach<TSkinMenuButton>(*this, control);
    } else {
      auto *button = new TSkinBitButton(control);
      if (value == "pngbitbtn")
        button->PictureProperty = "PngImage";
      button->Init(this, SkinData, &ControlCanvas, false);
    }
  } else if (value == "menubtn" && Skinned(*this, xcButton)) {
    Attach<TSkinMenuButton>(*this, control);
  } else if (value == "speedbutton" && Skinned(*this, xcSpeedButton)) {
    AttachSpeedButton(*this, control);
  } else if (value == "trackbar" && Skinned(*this, xcButton)) {
    SetProperty(control, "Transparent", "True");
    Attach<TSkinTrackBar>(*this, control);
  } else if (value == "tab" && Skinned(*this, xcTab) && HasTab(*this)) {
    Attach<TSkinTab>(*this, control);
  } else if (value == "progress" && Skinned(*this, xcProgress)) {
    Attach<TSkinProgress>(*this, control);
  } else if (value == "scrollbar" && Skinned(*this, xcScrollbar)) {
    AttachScrolling<TSkinScrollbar>(*this, control);
    InitChildCtrl(Windowed(control));
  } else if (value == "singlescrollbar" && Skinned(*this, xcScrollbar)) {
    AttachScrolling<TSkinScrollbar>(*this, control, 1);
  } else if (value == "embedscrollbar" && Skinned(*this, xcScrollbar)) {
    ForEachChild(control, [&](TControl *child) {
      if (FindClass("TScrollBar")->IsInstance(child))
        AttachScrolling<TSkinScControl>(*this, child);
      else if (IsScrollControl(child))
        AttachScrolling<TSkinScrollbar>(*this, child);
    });
  } else if (value == "container") {
    InitChildCtrl(Windowed(control));
  } else if (value == "groupbox" && Skinned(*this, xcGroupBox)) {
    Attach<TSkinGroupBox>(*this, control, true);
  } else if (value == "radiogroup" && Skinned(*this, xcGroupBox)) {
    if (radio && className.find("TRZ") == std::string::npos)
      ForEachChild(control, [&](TControl *c) { Attach<TSkinRadioButton>(*this, c); });
    Attach<TSkinGroupBox>(*this, control, true);
  } else if (value == "checkgroup" && Skinned(*this, xcPanel)) {
    if (radio && className.find("TRZ") == std::string::npos)
      ForEachChild(control, [&](TControl *c) { Attach<TSkinCheckBox>(*this, c); });
    if (Skinned(*this, xcGroupBox))
      Attach<TSkinGroupBox>(*this, control, true);
  } else if (value == "checkbox" && Skinned(*this, xcCheckBox)) {
    Attach<TSkinCheckBox>(*this, control);
  }
  // "nil", the media player, the page controls of other libraries and unknown values attach
  // nothing: the control stays as it is.
  return true;
}

void TWinSkinForm::InitNestform(TCustomForm *form) {
  if (form == nullptr)
    return;
  DeleteSkinDeleted();
  Attach<TSkinBox>(*this, form, true);
  InitControlA(form);
}

void TWinSkinForm::UpdateSkinControl(TControl *control) {
  if (Form == nullptr || SkinData == nullptr)
    return;
  DeleteSkinDeleted();
  if (control == nullptr) {
    InitControlA(Form);
    return;
  }
  AddComp(control, control->Parent());
  // The controls placed in it as the first walk finds them: those of the same owner (a
  // control's own parts, such as a radio group's buttons, are its painter's business).
  if (TWinControl *parent = Windowed(control))
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (TControl *child = parent->Controls(i); child->Owner() == control->Owner())
        UpdateSkinControl(child);
}

void TWinSkinForm::DeleteGraphicControl(TControl *control) {
  for (auto it = Controls.rbegin(); it != Controls.rend(); ++it) {
    TSkinControl *object = *it;
    if (TObject::IsLive(object) &&
        (object->GraphicControl == control || object->Owner() == control)) {
      delete object; // takes itself off the list
      return;
    }
  }
}

namespace {

// A control inside a container that was left unskinned by its tag stays unskinned too.
bool UnderDisabledParent(TControl *control, int disableTag) {
  for (TControl *parent = control->Parent(); parent != nullptr; parent = parent->Parent())
    if (parent->Tag() == disableTag)
      return true;
  return false;
}

// The walk of a foreign dialog goes into these windows only.
bool ForeignWalkEnters(HWND window) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  switch (ForeignKind(LowerWindowClass(window), style)) {
  case TForeignKind::Container:
  case TForeignKind::Panel:
  case TForeignKind::Holder:
  case TForeignKind::ScrollingList:
    return true;
  default:
    return false;
  }
}

// Whether the walk from dialog down would meet window: every window between them is one the
// walk goes into.
bool ForeignWalkReaches(HWND window, HWND dialog) {
  for (HWND parent = GetAncestor(window, GA_PARENT); parent != nullptr;
       parent = GetAncestor(parent, GA_PARENT)) {
    if (parent == dialog)
      return true;
    if (!ForeignWalkEnters(parent))
      return false;
  }
  return false;
}

} // namespace

void TWinSkinForm::ControlCreated(HWND window) {
  if (!activated_ || SkinState == 4 || SkinState == 6 || !IsWindow(window) ||
      SkinManager == nullptr || SkinManager->FindSkinFormAround(window) != this)
    return;
  if (TWinControl *control = TWinControl::FromHandle(window)) {
    if (!UnderDisabledParent(control, SkinData->DisableTag) && !FindSkinComp(control))
      UpdateSkinControl(control);
    return;
  }
  // Foreign children are taken where the first walk of the window would have found them.
  if (Form == nullptr && Lookupcontrol(window) == nullptr && ForeignWalkReaches(window, Handle))
    AddControlh(window);
}

// ----------------------------------------------------------------- foreign windows

void TWinSkinForm::InitHwndControls(HWND parent) {
  for (HWND child = GetTopWindow(parent); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    if ((GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD) != 0)
      AddControlh(child);
}

TForeignKind ForeignKind(const std::string &className, DWORD style) {
  if (className == "button" && (style & 0xB) != 0xB) {
    if ((style & 7) == 7 || (style & 0x80) != 0)
      return TForeignKind::None;
    if ((style & 3) == 3 || (style & 2) != 0 || (style & 5) == 5)
      return TForeignKind::CheckBox;
    if ((style & 9) == 9 || (style & 4) != 0)
      return TForeignKind::RadioButton;
    return TForeignKind::Button;
  }
  if (className == "combobox")
    return (style & 3) == CBS_SIMPLE ? TForeignKind::None : TForeignKind::ComboBox;
  if (className == "comboboxex32")
    return TForeignKind::InnerComboBox;
  if (className == "scrollbar")
    return (style & WS_TABSTOP) == 0 ? TForeignKind::SizeGrip : TForeignKind::None;
  if (className == "#32770")
    return (style & WS_TABSTOP) == 0 ? TForeignKind::Container : TForeignKind::None;
  if (className == "tpanel" || className == "ttntpanel.unicodeclass" ||
      className == "ttntsilentpaintpanel.unicodeclass")
    return TForeignKind::Panel;
  if (className == "tcheckbox")
    return TForeignKind::CheckBox;
  if (className == "tcombobox")
    return TForeignKind::ComboBox;
  if (className == "tbutton")
    return TForeignKind::Button;
  if (className == "tprogressbar")
    return TForeignKind::Progress;
  if (className == "tsilentpaintpanel")
    return TForeignKind::PanelColour;
  if (className == "systabcontrol32")
    return (style & TCS_OWNERDRAWFIXED) == 0 ? TForeignKind::Tab : TForeignKind::None;
  if (className == "edit")
    return TForeignKind::Edit;
  // Lists and list views scroll; the shell's view window only holds the file list.
  if (className == "listbox" || className == "syslistview32")
    return TForeignKind::ScrollingList;
  if (className == "sysheader32")
    return TForeignKind::Header;
  if (className == "shelldll_defview")
    return TForeignKind::Holder;
  return TForeignKind::None; // "systreeview32" among them
}

void TWinSkinForm::AddControlh(HWND window) {
  if (Lookupcontrol(window) != nullptr || SkinData == nullptr)
    return;
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  auto faceColour = [&] {
    if (TControl *control = FindControlx(window))
      control->SetColor(SkinData->Colors[csButtonFace]);
  };
  switch (ForeignKind(LowerWindowClass(window), style)) {
  case TForeignKind::Button:
    AttachWindow<TSkinButton>(*this, window);
    break;
  case TForeignKind::CheckBox:
    AttachWindow<TSkinCheckBox>(*this, window);
    break;
  case TForeignKind::RadioButton:
    AttachWindow<TSkinRadioButton>(*this, window);
    break;
  case TForeignKind::ComboBox:
    AttachWindow<TSkinComBox>(*this, window);
    break;
  case TForeignKind::InnerComboBox:
    if (HWND inner = GetTopWindow(window))
      AttachWindow<TSkinComBox>(*this, inner);
    break;
  case TForeignKind::Container:
    InitHwndControls(window);
    AttachWindow<TSkinBoxH>(*this, window);
    break;
  case TForeignKind::Panel:
    InitHwndControls(window);
    faceColour();
    break;
  case TForeignKind::PanelColour:
    faceColour();
    break;
  case TForeignKind::Edit:
    AttachWindow<TSkinEdit>(*this, window);
    break;
  case TForeignKind::ScrollingList:
    if (Skinned(*this, xcScrollbar))
      AttachWindow<TSkinScrollbarH>(*this, window);
    InitHwndControls(window); // a list view's header
    break;
  case TForeignKind::Header:
    AttachWindow<TSkinHeader>(*this, window);
    break;
  case TForeignKind::Holder:
    InitHwndControls(window);
    break;
  case TForeignKind::SizeGrip:
    AttachWindow<TSkinSizer>(*this, window);
    break;
  case TForeignKind::Progress:
    AttachWindow<TSkinProgress>(*this, window);
    break;
  case TForeignKind::Tab:
    AttachWindow<TSkinTab>(*this, window);
    break;
  case TForeignKind::None:
    break;
  }
}

TSkinControl *TWinSkinForm::Lookupcontrol(HWND window) const {
  auto found = std::find_if(Controls.begin(), Controls.end(), [window](TSkinControl *object) {
    return TObject::IsLive(object) && object->Handle == window;
  });
  return found == Controls.end() ? nullptr : *found;
}

void TWinSkinForm::WMReCreateWnd(HWND window) {
  for (auto it = Controls.rbegin(); it != Controls.rend(); ++it) {
    TSkinControl *object = *it;
    if (!TObject::IsLive(object) || object->Handle != window)
      continue;
    TWinControl *control = object->Control;
    delete object; // takes itself off the list
    if (control != nullptr && TObject::IsLive(control))
      AddComp(control, control->Parent());
    return;
  }
}

// ----------------------------------------------------------------- the list

bool TWinSkinForm::AddControlList(TSkinControl *control) {
  if (control == nullptr)
    return false;
  if (std::find(Controls.begin(), Controls.end(), control) != Controls.end())
    return true;
  Controls.push_back(control);
  return false;
}

void TWinSkinForm::DeleteControl(TSkinControl *control) {
  auto found = std::find(Controls.rbegin(), Controls.rend(), control);
  if (found != Controls.rend())
    Controls.erase(std::next(found).base());
  if (HoverControl == control)
    HoverControl = nullptr;
}

void TWinSkinForm::DeleteControls() {
  GiveBackToolbarMenus();
  std::vector<TSkinControl *> objects;
  objects.swap(Controls);
  HoverControl = nullptr;
  for (TSkinControl *object : objects) {
    if (!TObject::IsLive(object))
      continue;
    ReleaseToolBar(*this, object);
    if (object->SkinState != 6)
      object->Unsubclass();
    delete object;
  }
}

void TWinSkinForm::DeleteSkinDeleted() {
  std::vector<TSkinControl *> gone;
  std::erase_if(Controls, [&gone](TSkinControl *object) {
    if (!TObject::IsLive(object))
      return true;
    if (object->SkinState != 6)
      return false;
    gone.push_back(object);
    return true;
  });
  for (TSkinControl *object : gone)
    delete object;
}
