// A form read from form data, driven through real windows, keys, hooks and timers.
#include "framework/gui/comctrls.h"
#include "framework/gui/dialogs.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"
#include "framework/gui/stdctrls.h"
// After windows.h, so that its RegisterClass macro renames the template consistently.
#include "framework/core/typinfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char *const kFormData = R"(object TestForm: TTestForm
  Left = 10
  Top = 10
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Kestrova'
  ClientHeight = 373
  ClientWidth = 480
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnCreate = FormCreate
  object Label1: TLabel
    Left = 104
    Top = 88
    Width = 153
    Height = 13
    Cursor = crHandPoint
    AutoSize = False
    Caption = '待转换文档'
    Font.Color = clBlue
    Font.Style = [fsUnderline]
    OnClick = Label1Click
    OnMouseEnter = Label1MouseEnter
    OnMouseLeave = Label1MouseLeave
  end
  object ListBox1: TListBox
    Left = 8
    Top = 24
    Width = 465
    Height = 57
    ImeName = '中文 (简体) - 智能 ABC'
    ItemHeight = 13
    TabOrder = 3
  end
  object Button1: TButton
    Left = 8
    Top = 136
    Width = 75
    Height = 25
    Caption = '添加文档(&A)'
    TabOrder = 0
    OnClick = Button1Click
  end
  object ComboBox1: TComboBox
    Left = 240
    Top = 136
    Width = 121
    Height = 21
    ItemHeight = 13
    TabOrder = 1
    Text = 'Word文档(*.doc)'
    Items.Strings = (
      'Word文档(*.doc)'
      'XML文档(*.xml)')
  end
  object Edit1: TEdit
    Left = 80
    Top = 168
    Width = 305
    Height = 21
    TabOrder = 2
    Text = 'C:\files'
  end
  object Edit2: TEdit
    Left = 120
    Top = 200
    Width = 105
    Height = 21
    Enabled = False
    TabOrder = 4
    Text = '缺省文档名'
  end
  object Button3: TButton
    Left = 392
    Top = 216
    Width = 75
    Height = 25
    Caption = '开始转换(&P)'
    Default = True
    TabOrder = 5
    OnClick = Button3Click
  end
  object Button5: TButton
    Left = 392
    Top = 344
    Width = 75
    Height = 25
    Cancel = True
    Caption = '关闭(&C)'
    TabOrder = 6
    OnClick = Button5Click
  end
  object Memo1: TMemo
    Left = 8
    Top = 240
    Width = 377
    Height = 129
    ReadOnly = True
    ScrollBars = ssVertical
    TabOrder = 7
    Lines.Strings = (
      'line one'
      '第二行')
  end
  object CheckBox2: TCheckBox
    Left = 8
    Top = 200
    Width = 113
    Height = 17
    Caption = '更名   目标名称'
    TabOrder = 8
    OnClick = CheckBox2Click
  end
  object Panel1: TPanel
    Left = 240
    Top = 8
    Width = 120
    Height = 70
    BevelInner = bvRaised
    BevelOuter = bvLowered
    TabOrder = 9
    object OKButton: TButton
      Left = 20
      Top = 20
      Width = 75
      Height = 25
      Caption = '确定(&O)'
      ModalResult = 1
      TabOrder = 0
    end
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 10
    OnTimer = Timer1Timer
  end
  object OpenDialog1: TOpenDialog
    Filter = 'txt文挡 |*.txt|rtf文挡|*.rtf'
    Options = [ofHideReadOnly, ofAllowMultiSelect, ofEnableSizing, ofExplorer]
    Title = '  选择要打印的文档（支持多选）'
  end
end
)";

class TTestForm : public TForm {
public:
  explicit TTestForm(TComponent *owner, const char *data = kFormData) : TForm(owner) {
    ReadForm(data);
  }

  TLabel *Label1 = nullptr;
  TListBox *ListBox1 = nullptr;
  TButton *Button1 = nullptr, *Button3 = nullptr, *Button5 = nullptr, *OKButton = nullptr;
  TComboBox *ComboBox1 = nullptr;
  TEdit *Edit1 = nullptr, *Edit2 = nullptr;
  TMemo *Memo1 = nullptr;
  TCheckBox *CheckBox2 = nullptr;
  TPanel *Panel1 = nullptr;
  TTimer *Timer1 = nullptr;
  TOpenDialog *OpenDialog1 = nullptr;

  std::vector<std::string> events;
  int created = 0;

  void FormCreate(TObject *) { ++created; }
  void Label1Click(TObject *) { events.push_back("Label1Click"); }
  void Label1MouseEnter(TObject *) {
    events.push_back("enter");
    Label1->Font()->SetColor(clRed);
  }
  void Label1MouseLeave(TObject *) {
    events.push_back("leave");
    Label1->Font()->SetColor(clBlue);
  }
  void Button1Click(TObject *) { events.push_back("Button1Click"); }
  void Button3Click(TObject *) { events.push_back("Button3Click"); }
  void Button5Click(TObject *) { events.push_back("Button5Click"); }
  void CheckBox2Click(TObject *) { Edit2->SetEnabled(CheckBox2->Checked()); }
  void Timer1Timer(TObject *) { events.push_back("tick"); }

  static void Register() {
    using F = TTestForm;
    RegisterClass<TTestForm, TForm>(
        "TTestForm",
        {Published::Object("Label1", &F::Label1), Published::Object("ListBox1", &F::ListBox1),
         Published::Object("Button1", &F::Button1), Published::Object("Button3", &F::Button3),
         Published::Object("Button5", &F::Button5), Published::Object("OKButton", &F::OKButton),
         Published::Object("ComboBox1", &F::ComboBox1), Published::Object("Edit1", &F::Edit1),
         Published::Object("Edit2", &F::Edit2), Published::Object("Memo1", &F::Memo1),
         Published::Object("CheckBox2", &F::CheckBox2), Published::Object("Panel1", &F::Panel1),
         Published::Object("Timer1", &F::Timer1),
         Published::Object("OpenDialog1", &F::OpenDialog1)},
        {Published::Method("FormCreate", &F::FormCreate),
         Published::Method("Label1Click", &F::Label1Click),
         Published::Method("Label1MouseEnter", &F::Label1MouseEnter),
         Published::Method("Label1MouseLeave", &F::Label1MouseLeave),
         Published::Method("Button1Click", &F::Button1Click),
         Published::Method("Button3Click", &F::Button3Click),
         Published::Method("Button5Click", &F::Button5Click),
         Published::Method("CheckBox2Click", &F::CheckBox2Click),
         Published::Method("Timer1Timer", &F::Timer1Timer)});
  }
};

// One application object for the whole program, as in the real one.
class Environment : public ::testing::Environment {
public:
  void SetUp() override {
    app_ = new TApplication(nullptr);
    app_->Initialize();
    app_->SetTitle("Kestrova");
    TTestForm::Register();
  }
  void TearDown() override { delete app_; }

private:
  TApplication *app_ = nullptr;
};
const auto *const environment = ::testing::AddGlobalTestEnvironment(new Environment);

// Handles messages until done() or about two seconds have passed.
template <class F> bool PumpUntil(F done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    Application->ProcessMessages();
    if (!done())
      Sleep(10);
  }
  return done();
}

RECT RectInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT *>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top}; // left, top, width, height
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

class Forms : public ::testing::Test {
protected:
  void SetUp() override {
    form = new TTestForm(Application);
    form->ShowForm();
    Application->ProcessMessages();
  }
  void TearDown() override {
    delete form;
    Application->ProcessMessages();
  }
  // A key as the message loop gets it from the keyboard.
  void PressKey(TWinControl *target, WPARAM key) {
    PostMessageA(target->Handle(), WM_KEYDOWN, key, 1);
    PostMessageA(target->Handle(), WM_KEYUP, key, 0xC0000001);
    Application->ProcessMessages();
  }
  TTestForm *form = nullptr;
};

TEST_F(Forms, FormDataGivesTheWindowItsFrameSizeAndPlace) {
  HWND window = form->Handle();
  EXPECT_EQ(form->created, 1);
  EXPECT_EQ(ClassOf(window), "TTestForm");
  EXPECT_EQ(TextOf(window), "Kestrova");
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 480);
  EXPECT_EQ(client.bottom, 373);

  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);

  // Centred on the screen, whatever Left and Top said.
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST_F(Forms, ControlsAreSuperclassedWindowsWithTheirRectanglesTextsAndStyles) {
  struct Case {
    TWinControl *control;
    const char *className;
    RECT bounds; // left, top, width, height
    std::string text;
  } cases[] = {
      {form->Button1, "TButton", {8, 136, 75, 25}, "添加文档(&A)"},
      {form->Button3, "TButton", {392, 216, 75, 25}, "开始转换(&P)"},
      {form->Edit1, "TEdit", {80, 168, 305, 21}, "C:\\files"},
      {form->Edit2, "TEdit", {120, 200, 105, 21}, "缺省文档名"},
      {form->CheckBox2, "TCheckBox", {8, 200, 113, 17}, "更名   目标名称"},
      {form->Memo1, "TMemo", {8, 240, 377, 129}, "line one\r\n第二行\r\n"},
      {form->ListBox1, "TListBox", {8, 24, 465, 57}, ""},
      {form->Panel1, "TPanel", {240, 8, 120, 70}, ""},
      {form->OKButton, "TButton", {20, 20, 75, 25}, "确定(&O)"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.control->Name());
    HWND w = c.control->Handle();
    EXPECT_EQ(ClassOf(w), c.className);
    RECT b = RectInParent(w);
    EXPECT_EQ(b.left, c.bounds.left);
    EXPECT_EQ(b.top, c.bounds.top);
    EXPECT_EQ(b.right, c.bounds.right);
    EXPECT_EQ(b.bottom, c.bounds.bottom);
    EXPECT_EQ(TextOf(w), c.text);
    EXPECT_EQ(c.control->Left(), c.bounds.left);
  }
  EXPECT_EQ(GetParent(form->OKButton->Handle()), form->Panel1->Handle());

  // The combo box keeps its drop-down room but shows the stated edit position and width.
  RECT combo = RectInParent(form->ComboBox1->Handle());
  EXPECT_EQ(combo.left, 240);
  EXPECT_EQ(combo.top, 136);
  EXPECT_EQ(combo.right, 121);
  EXPECT_EQ(ClassOf(form->ComboBox1->Handle()), "TComboBox");
  EXPECT_EQ(form->ComboBox1->Text(), "Word文档(*.doc)");
  ASSERT_EQ(form->ComboBox1->Items()->Count(), 2);
  EXPECT_EQ(form->ComboBox1->Items()->Strings(1), "XML文档(*.xml)");

  EXPECT_FALSE(IsWindowEnabled(form->Edit2->Handle()));
  const LONG_PTR memo = GetWindowLongPtrA(form->Memo1->Handle(), GWL_STYLE);
  EXPECT_TRUE(memo & ES_MULTILINE);
  EXPECT_TRUE(memo & ES_READONLY);
  EXPECT_TRUE(memo & WS_VSCROLL);
  EXPECT_EQ(SendMessageA(form->ListBox1->Handle(), LB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_EQ(GetWindowLongPtrA(form->Button3->Handle(), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
  EXPECT_EQ(form->ListBox1->ImeName(), "中文 (简体) - 智能 ABC");
  EXPECT_EQ(form->OpenDialog1->Title(), "  选择要打印的文档（支持多选）");

  // Properties read back through the registry, as the skin engine reads them.
  EXPECT_EQ(GetIntProperty(form, "ClientWidth"), 480);
  EXPECT_EQ(GetEnumProperty(form, "BorderStyle"), "bsSingle");
  EXPECT_EQ(GetIntProperty(form->Label1->Font(), "Color"), static_cast<int>(clBlue));
  EXPECT_EQ(form->Label1->Cursor(), crHandPoint);
}

TEST_F(Forms, TabOrderFollowsTheTabOrderValuesNotTheTextOrder) {
  std::vector<std::string> names;
  for (TWinControl *c : form->TabList())
    names.push_back(c->Name());
  EXPECT_EQ(names,
            (std::vector<std::string>{"Button1", "ComboBox1", "Edit1", "ListBox1", "Edit2",
                                      "Button3", "Button5", "Memo1", "CheckBox2", "Panel1"}));
  // Tab moves on to the next control that can take the focus (Edit2 is disabled).
  form->Edit1->SetFocus();
  PressKey(form->Edit1, VK_TAB);
  EXPECT_EQ(GetFocus(), form->ListBox1->Handle());
  PressKey(form->ListBox1, VK_TAB);
  EXPECT_EQ(GetFocus(), form->Button3->Handle());
  EXPECT_EQ(form->ActiveControl(), form->Button3);
}

TEST_F(Forms, ReturnClicksTheDefaultButtonAndEscapeTheCancelButton) {
  form->Edit1->SetFocus();
  PressKey(form->Edit1, VK_RETURN);
  PressKey(form->Edit1, VK_ESCAPE);
  EXPECT_EQ(form->events, (std::vector<std::string>{"Button3Click", "Button5Click"}));
  // Return in the combo box's edit field, too; a focused button takes Return itself.
  form->events.clear();
  form->ComboBox1->SetFocus();
  PressKey(form->ComboBox1, VK_RETURN);
  form->Button1->SetFocus();
  PressKey(form->Button1, VK_RETURN);
  EXPECT_EQ(form->events, (std::vector<std::string>{"Button3Click", "Button1Click"}));
  // Alt+A is Button1's accelerator.
  form->events.clear();
  form->Edit1->SetFocus();
  PostMessageA(form->Edit1->Handle(), WM_SYSCHAR, 'a', 1 << 29);
  Application->ProcessMessages();
  EXPECT_EQ(form->events, std::vector<std::string>{"Button1Click"});
}

TEST_F(Forms, CheckBoxClickDrivesTheEnabledStateOfAnotherControl) {
  SendMessageA(form->CheckBox2->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(form->CheckBox2->Checked());
  EXPECT_EQ(SendMessageA(form->CheckBox2->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(IsWindowEnabled(form->Edit2->Handle()));
  form->CheckBox2->SetChecked(false);
  EXPECT_FALSE(IsWindowEnabled(form->Edit2->Handle()));
}

// A hook in the manner of the skin engine: saves WindowProc, installs its own, restores it.
struct Hook : TObject {
  TWinControl *control = nullptr;
  TWndMethod old;
  std::vector<UINT> seen;
  void Attach(TWinControl *c) {
    control = c;
    old = c->WindowProc;
    c->WindowProc = TWndMethod(this, &Hook::NewWndProc);
  }
  void Detach() { control->WindowProc = old; }
  void NewWndProc(TMessage &m) {
    seen.push_back(m.Msg);
    if (m.Msg == WM_USER + 7) {
      m.Result = 42;
      return;
    }
    old(m);
  }
};

TEST_F(Forms, AWindowProcHookSeesEveryMessageAndIsRestoredExactly) {
  TWndMethod original = form->Edit1->WindowProc;
  Hook hook;
  hook.Attach(form->Edit1);
  EXPECT_EQ(SendMessageA(form->Edit1->Handle(), WM_USER + 7, 0, 0), 42);
  SetWindowTextA(form->Edit1->Handle(), "D:\\out");
  EXPECT_EQ(form->Edit1->Text(), "D:\\out");
  EXPECT_EQ(form->Edit1->Perform(CM_MOUSEENTER, 0, 0), 0);
  EXPECT_NE(std::find(hook.seen.begin(), hook.seen.end(), WM_SETTEXT), hook.seen.end());
  EXPECT_NE(std::find(hook.seen.begin(), hook.seen.end(), CM_MOUSEENTER), hook.seen.end());
  hook.Detach();
  EXPECT_TRUE(form->Edit1->WindowProc == original);
  const size_t count = hook.seen.size();
  SendMessageA(form->Edit1->Handle(), WM_USER + 7, 0, 0);
  EXPECT_EQ(hook.seen.size(), count);
}

int subclassCalls = 0;
WNDPROC previousProc = nullptr;
LRESULT CALLBACK Subclass(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  ++subclassCalls;
  if (msg == WM_USER + 9)
    return 99;
  return CallWindowProcA(previousProc, w, msg, wp, lp);
}

TEST_F(Forms, ASubclassOverTheWindowAndAHookTogetherWorkAndUndoInEitherOrder) {
  HWND button = form->Button1->Handle();
  const LONG_PTR ours = GetWindowLongPtrA(button, GWLP_WNDPROC);
  previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
  Hook hook;
  hook.Attach(form->Button1);
  subclassCalls = 0;
  EXPECT_EQ(SendMessageA(button, WM_USER + 9, 0, 0), 99);
  SendMessageA(button, BM_CLICK, 0, 0); // through both, down to the system button
  EXPECT_EQ(form->events, std::vector<std::string>{"Button1Click"});
  EXPECT_GT(subclassCalls, 1);
  EXPECT_FALSE(hook.seen.empty());

  // The window procedure goes back first, the hook afterwards.
  SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
  EXPECT_EQ(GetWindowLongPtrA(button, GWLP_WNDPROC), ours);
  hook.Detach();
  subclassCalls = 0;
  SetWindowTextA(button, "OK");
  EXPECT_EQ(subclassCalls, 0);
  EXPECT_EQ(form->Button1->Caption(), "OK");
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(form->events.size(), 2u);
}

TEST_F(Forms, TimerFiresWhileEnabledOnly) {
  form->Timer1->SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return form->events.size() >= 2; }));
  form->Timer1->SetEnabled(false);
  Application->ProcessMessages();
  const size_t ticks = form->events.size();
  Sleep(60);
  Application->ProcessMessages();
  EXPECT_EQ(form->events.size(), ticks);
  EXPECT_EQ(form->events.front(), "tick");
}

TEST_F(Forms, LabelRaisesMouseEnterLeaveAndClickFromItsParentsMouseMessages) {
  HWND window = form->Handle();
  auto at = [](int x, int y) { return static_cast<LPARAM>(MAKELPARAM(x, y)); };
  SendMessageA(window, WM_MOUSEMOVE, 0, at(20, 20));  // outside
  SendMessageA(window, WM_MOUSEMOVE, 0, at(110, 90)); // on Label1
  EXPECT_EQ(form->Label1->Font()->Color(), clRed);
  SendMessageA(window, WM_MOUSEMOVE, 0, at(120, 92)); // still on it
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(120, 92));
  SendMessageA(window, WM_LBUTTONUP, 0, at(121, 92));
  SendMessageA(window, WM_MOUSEMOVE, 0, at(300, 120)); // off again
  EXPECT_EQ(form->Label1->Font()->Color(), clBlue);
  EXPECT_EQ(form->events, (std::vector<std::string>{"enter", "Label1Click", "leave"}));
  // The hand cursor over the label.
  EXPECT_EQ(CursorHandle(crHandPoint), LoadCursorA(nullptr, IDC_HAND));
}

TEST_F(Forms, ShowModalDisablesTheOtherFormsUntilAButtonSetsTheResult) {
  auto *dialog = new TTestForm(form);
  bool ownerDisabled = false;
  struct Probe : TObject {
    HWND owner;
    bool *disabled;
    void Click(TObject *) { *disabled = !IsWindowEnabled(owner); }
  } probe;
  probe.owner = form->Handle();
  probe.disabled = &ownerDisabled;
  dialog->OKButton->SetOnClick(TNotifyEvent(&probe, &Probe::Click));
  dialog->HandleNeeded();
  PostMessageA(dialog->OKButton->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
  EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
  // The close box ends a second run with mrCancel.
  dialog->Button5->SetOnClick(TNotifyEvent());
  PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  delete dialog;
}

TEST(FormData, BadFormDataLeavesNoComponentBehind) {
  const int live = TObject::LiveCount();
  std::string bad = kFormData;
  bad.replace(bad.find("TabOrder = 9"), 12, "TabOrder = x");
  EXPECT_THROW(TTestForm(Application, bad.c_str()), Exception);
  EXPECT_EQ(TObject::LiveCount(), live);
}

TEST(Application, ExceptionsFromHandlersReachTheStandardErrorDisplay) {
  struct Catcher : TObject {
    std::vector<std::string> messages;
    void OnException(TObject *, const Exception &e) { messages.push_back(e.Message()); }
    void Throw(TObject *) { throw Exception("转换失败"); }
    void ThrowOther(TObject *) { throw 7; }
  } catcher;
  Application->OnException = TExceptionEvent(&catcher, &Catcher::OnException);
  auto *form = new TTestForm(Application);
  form->Button1->SetOnClick(TNotifyEvent(&catcher, &Catcher::Throw));
  form->Button3->SetOnClick(TNotifyEvent(&catcher, &Catcher::ThrowOther));
  SendMessageA(form->Button1->Handle(), BM_CLICK, 0, 0);
  SendMessageA(form->Button3->Handle(), BM_CLICK, 0, 0);
  delete form;
  Application->OnException = TExceptionEvent();
  EXPECT_EQ(catcher.messages, (std::vector<std::string>{"转换失败", ""}));
}

TEST(OpenDialog, ResultsAndFiltersRespectDoubleByteCharacters) {
  // "\x81\x5C" and "\x81\x7C" are double-byte characters whose second byte is '\' or '|'.
  struct Case {
    std::string folder, name, joined;
  } joins[] = {
      {"C:\\", "a.doc", "C:\\a.doc"},
      {"C:\\docs", "a.doc", "C:\\docs\\a.doc"},
      {"C:\\\x81\x5C", "a.doc", "C:\\\x81\x5C\\a.doc"},
  };
  for (const Case &c : joins)
    EXPECT_EQ(JoinPath(c.folder, c.name), c.joined);

  const char multi[] = "C:\\docs\0a.doc\0\xB8\xE5.rtf\0\0";
  EXPECT_EQ(FilesFromDialogBuffer(multi, sizeof multi),
            (std::vector<std::string>{"C:\\docs\\a.doc", "C:\\docs\\\xB8\xE5.rtf"}));
  const char single[] = "C:\\docs\\a.doc\0\0";
  EXPECT_EQ(FilesFromDialogBuffer(single, sizeof single),
            std::vector<std::string>{"C:\\docs\\a.doc"});

  EXPECT_EQ(FilterToDialogFormat("a\x81\x7C|*.a"), std::string("a\x81\x7C\0*.a\0\0", 9));
}

// Pages described in form data become the pages of the page control they sit in, in order,
// with what they hold; showing another page hides the first.
TEST(PageControls, FormDataPutsEachTabSheetIntoItsPageControl) {
  const char data[] = R"(object TestForm: TTestForm
  ClientWidth = 320
  ClientHeight = 240
  object Pages: TPageControl
    Left = 8
    Top = 8
    Width = 300
    Height = 200
    object First: TTabSheet
      Caption = 'One'
    end
    object Second: TTabSheet
      Caption = 'Two'
      object Button1: TButton
        Left = 10
        Top = 10
        Width = 80
        Height = 25
        Caption = 'Inside'
      end
    end
  end
end
)";
  TTestForm form(Application, data);
  form.ShowForm();
  Application->ProcessMessages();
  auto *pages = dynamic_cast<TPageControl *>(form.FindComponent("Pages"));
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->Pages(0)->Caption(), "One");
  EXPECT_EQ(pages->Pages(1)->Caption(), "Two");
  EXPECT_EQ(pages->Pages(1)->PageControl(), pages);
  EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(form.Button1->Parent(), pages->Pages(1));
  EXPECT_TRUE(IsWindowVisible(pages->Pages(0)->Handle()));
  pages->SetActivePageIndex(1);
  EXPECT_FALSE(IsWindowVisible(pages->Pages(0)->Handle()));
  EXPECT_TRUE(IsWindowVisible(form.Button1->Handle()));
}

TEST(UpDowns, AnUpDownWritesItsPositionIntoItsAssociateWhenItsWindowIsMade) {
  TForm form(Application);
  auto *edit = new TEdit(&form);
  edit->SetParent(&form);
  auto *spin = new TUpDown(&form);
  spin->SetParent(&form);
  spin->SetMax(99);
  spin->SetAssociate(edit);
  spin->SetPosition(42);
  form.ShowForm();
  Application->ProcessMessages();
  EXPECT_EQ(TextOf(edit->Handle()), "42");
  spin->SetPosition(7);
  EXPECT_EQ(TextOf(edit->Handle()), "7");
}

// An MDI form that is not the application's main form holds the children it owns.
TEST(MDIForms, AChildOwnedByAnMDIFormLivesInThatFormsClient) {
  TForm frame(Application);
  frame.SetFormStyle(TFormStyle::fsMDIForm);
  frame.SetBounds(20, 20, 400, 300);
  frame.ShowForm();
  auto *child = new TForm(&frame);
  child->SetBounds(10, 10, 200, 150);
  child->SetFormStyle(TFormStyle::fsMDIChild);
  child->Show();
  Application->ProcessMessages();
  ASSERT_NE(frame.ClientHandle(), nullptr);
  EXPECT_EQ(GetParent(child->Handle()), frame.ClientHandle());
  EXPECT_EQ(frame.MDIChildCount(), 1);
  EXPECT_EQ(frame.ActiveMDIChild(), child);
  delete child;
  Application->ProcessMessages();
  EXPECT_EQ(frame.MDIChildCount(), 0);
}

} // namespace
