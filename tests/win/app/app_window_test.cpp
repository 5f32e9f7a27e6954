// The main window as form data builds it, its small handlers, and the About box.
#include "tests/win/app/app_test_support.h"

#include "app/aboutbox.h"
#include "app/conversion.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <filesystem>

namespace {

RECT RectInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT *>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top}; // left, top, width, height
}

class MainWindow : public ::testing::Test {
protected:
  void SetUp() override {
    form = new TMainForm(Application);
    form->ShowForm();
    Pump();
  }
  void TearDown() override {
    delete form;
    Pump();
  }
  void PressKey(TWinControl *target, WPARAM key) {
    PostMessageA(target->Handle(), WM_KEYDOWN, key, 1);
    PostMessageA(target->Handle(), WM_KEYUP, key, 0xC0000001);
    Pump();
  }
  TMainForm *form = nullptr;
};

TEST_F(MainWindow, FormDataGivesTheWindowAndEveryControlInTabOrder) {
  HWND window = form->Handle();
  EXPECT_EQ(WindowText(window), "Kestrova");
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 480);
  EXPECT_EQ(client.bottom, 373);
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(form->Edit1->Text(), ProgramFolder() + "files");
  EXPECT_EQ(form->Edit1->Text().substr(form->Edit1->Text().size() - 6), "\\files");

  struct Case {
    TWinControl *control;
    RECT bounds; // left, top, width, height
    std::string text;
    bool enabled;
  } cases[] = {
      {form->Button1, {8, 136, 75, 25}, "添加文档(&A)", true},
      {form->Button2, {88, 136, 75, 25}, "清空(&N)", true},
      {form->ComboBox1, {240, 136, 121, 0}, "Word文档(*.doc)", true},
      {form->CheckBox1, {368, 144, 105, 17}, "处理过程可见", true},
      {form->Edit1, {80, 168, 305, 21}, form->Edit1->Text(), true},
      {form->Button8, {392, 168, 73, 25}, "保存路径(&S)", true},
      {form->CheckBox2, {8, 200, 113, 17}, "更名   目标名称", true},
      {form->Edit2, {120, 200, 105, 21}, "缺省文档名", false},
      {form->Edit3, {296, 200, 41, 21}, "1", false},
      {form->Button3, {392, 216, 75, 25}, "开始转换(&P)", true},
      {form->Button4, {392, 248, 75, 25}, "帮助(&H)", true},
      {form->Button6, {392, 280, 75, 25}, "关于...(&B)", true},
      {form->Button5, {392, 344, 75, 25}, "关闭(&C)", true},
      {form->Memo1, {8, 240, 377, 129}, "", true},
      {form->ListBox1, {8, 24, 465, 105}, "", true},
  };
  std::vector<TWinControl *> order;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.control->Name());
    order.push_back(c.control);
    RECT b = RectInParent(c.control->Handle());
    EXPECT_EQ(b.left, c.bounds.left);
    EXPECT_EQ(b.top, c.bounds.top);
    EXPECT_EQ(b.right, c.bounds.right);
    if (c.bounds.bottom != 0) { // the combo box's height includes its drop-down room
      EXPECT_EQ(b.bottom, c.bounds.bottom);
    }
    EXPECT_EQ(c.control->Text(), c.text);
    EXPECT_EQ(IsWindowEnabled(c.control->Handle()) != FALSE, c.enabled);
  }
  EXPECT_EQ(form->TabList(), order);

  struct Label {
    TLabel *label;
    RECT bounds;
    const char *text;
  } labels[] = {{form->Label1, {8, 8, 145, 13}, "待转换文档"},
                {form->Label4, {168, 136, 57, 13}, "转换类型"},
                {form->Label3, {8, 168, 65, 13}, "保存路径"},
                {form->Label5, {232, 200, 57, 13}, "开始编号"},
                {form->Label2, {8, 224, 65, 13}, "处理进度"}};
  for (const Label &l : labels) {
    SCOPED_TRACE(l.text);
    EXPECT_EQ(l.label->Left(), l.bounds.left);
    EXPECT_EQ(l.label->Top(), l.bounds.top);
    EXPECT_EQ(l.label->Width(), l.bounds.right);
    EXPECT_EQ(l.label->Height(), l.bounds.bottom);
    EXPECT_EQ(l.label->Caption(), l.text);
  }

  const std::vector<std::string> items = {
      "Word文档(*.doc)", "XML文档(*.xml)", "单个网页(*.mht,*.mhtml)", "网页文档(*.htm,*.html)",
      "文档模版(*.dot)", "RTF格式(*.rtf)", "纯文本格式(*.txt)"};
  ASSERT_EQ(form->ComboBox1->Items()->Count(), 7);
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(form->ComboBox1->Items()->Strings(i), items[static_cast<size_t>(i)]);
  EXPECT_EQ(form->ComboBox1->Style(), TComboBoxStyle::csDropDown);
  EXPECT_TRUE(GetWindowLongPtrA(form->Memo1->Handle(), GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(GetWindowLongPtrA(form->Memo1->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(SendMessageA(form->ListBox1->Handle(), LB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_EQ(form->ListBox1->ImeName(), "中文 (简体) - 智能 ABC");
  EXPECT_EQ(form->Edit3->ImeName(), "中文 (简体) - 微软拼音");
  EXPECT_EQ(form->OpenDialog1->Title(), "  选择要打印的文档（支持多选）");
  EXPECT_EQ(form->OpenDialog1->Filter(),
            "txt,rtf, doc,html, htm,dot等文挡 |*.txt;*.rtf;*.doc;*.html;*.htm;*.dot|"
            "文本文件(txt)|*.txt|rtf文挡|*.rtf|网页文档|*.htm;*.html|Word文挡(doc)|*.doc");
}

// The embedded default skin is read into the object model while the form is built, with the
// stored values of the skin component.
TEST_F(MainWindow, FormDataCarriesTheSkinComponentWithItsSkin) {
  auto *skin = dynamic_cast<TSkinData *>(form->FindComponent("SkinData1"));
  ASSERT_NE(skin, nullptr);
  EXPECT_TRUE(skin->Active());
  EXPECT_EQ(skin->DisableTag, 99);
  EXPECT_EQ(skin->SkinFormtype, sfMainform);
  EXPECT_TRUE(skin->MenuUpdate);
  EXPECT_FALSE(skin->MenuMerge);
  EXPECT_EQ(skin->Skin3rd()->Count(), 116);
  ASSERT_FALSE(skin->NoSkin);
  ASSERT_NE(skin->SkinBuffer, nullptr);
  EXPECT_GT(skin->SkinBuffer->Size(), 1000);
  // Elements the skin defines arrive with their images.
  ASSERT_NE(skin->Borders[sbTop], nullptr);
  EXPECT_FALSE(skin->Borders[sbTop]->Image->Empty());
  EXPECT_EQ(skin->Borders[sbTop]->FrameCount, 2);
  ASSERT_NE(skin->Button, nullptr);
  EXPECT_EQ(skin->Button->FrameCount, 5);
  EXPECT_FALSE(skin->Button->Image->Empty());
  EXPECT_FALSE(skin->SysButtons.empty());
}

// Every windowed control is painted from the skin.
TEST_F(MainWindow, EveryControlIsSkinned) {
  const DWORD end = GetTickCount() + 3000;
  auto attached = [this] {
    TWinSkinForm *skin = FindWinSkinForm(form->Handle());
    return skin != nullptr && !skin->Controls.empty();
  };
  while (!attached() && static_cast<int>(end - GetTickCount()) > 0) {
    Pump();
    Sleep(10);
  }
  ASSERT_TRUE(attached()) << "the main window's controls were not skinned";
  int windowed = 0;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto *control = dynamic_cast<TWinControl *>(form->Components(i));
    if (control == nullptr)
      continue;
    ++windowed;
    SCOPED_TRACE(control->Name());
    EXPECT_EQ(SendMessageA(control->Handle(), CN_IsSkinned, 0, 0), 1);
  }
  EXPECT_EQ(windowed, 15);
}

TEST_F(MainWindow, RenamingSwitchEnablesBothFields) {
  for (bool checked : {true, false}) {
    SendMessageA(form->CheckBox2->Handle(), BM_CLICK, 0, 0); // as a mouse click
    Pump();
    EXPECT_EQ(form->CheckBox2->Checked(), checked);
    EXPECT_EQ(IsWindowEnabled(form->Edit2->Handle()) != FALSE, checked);
    EXPECT_EQ(IsWindowEnabled(form->Edit3->Handle()) != FALSE, checked);
  }
}

TEST_F(MainWindow, HelpHandsTheProgramsHelpFileToTheShell) {
  SeamRecorder seams;
  form->Button4->Click();
  ASSERT_EQ(SeamRecorder::shellCalls.size(), 1u);
  const ShellCall &call = SeamRecorder::shellCalls[0];
  EXPECT_EQ(call.owner, form->Handle());
  EXPECT_EQ(call.verb, "Open");
  EXPECT_EQ(call.file, ProgramFolder() + "help.chm");
  EXPECT_FALSE(call.parameters);
  EXPECT_FALSE(call.directory);
  EXPECT_EQ(call.show, SW_SHOWNORMAL);
}

TEST_F(MainWindow, EnterStartsARunAndEscapeCloses) {
  // An existing folder and an empty list: the run gets as far as its empty-list box.
  form->Edit1->SetText(std::filesystem::temp_directory_path().string());
  form->Memo1->Lines()->Add("old");
  form->Edit1->SetFocus();
  {
    MessageBoxAnswerer answerer({});
    PressKey(form->Edit1, VK_RETURN);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].text, "没有添加待处理的文档!");
  }
  EXPECT_EQ(form->Memo1->Lines()->Count(), 0);
  form->Edit1->SetFocus();
  PressKey(form->Edit1, VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(MainWindow, AddDocumentsThroughTheOpenDialogAppendsFullPaths) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "kestrova_添加.doc";
  CreateDirectoryA(temp, nullptr);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  form->ListBox1->Items()->Add(path); // an entry already there stays, duplicates are kept

  std::string title;
  ModalWatcher watcher([&](HWND dialog) {
    if (ClassOf(dialog) != "#32770")
      return;
    title = WindowText(dialog);
    // The file name field: the combo box of the Explorer dialog, or the older edit.
    SetDlgItemTextA(dialog, cmb13, path.c_str());
    SetDlgItemTextA(dialog, edt1, path.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  form->Button1->Click();
  EXPECT_EQ(title, "  选择要打印的文档（支持多选）");
  ASSERT_EQ(form->ListBox1->Items()->Count(), 2);
  EXPECT_EQ(form->ListBox1->Items()->Strings(1), path);
  DeleteFileA(path.c_str());

  form->Button2->Click();
  EXPECT_EQ(form->ListBox1->Items()->Count(), 0);
}

TEST_F(MainWindow, FolderBrowserCancelKeepsTheFolderAndARootKeepsItsBackslash) {
  const std::string before = form->Edit1->Text();
  struct Case {
    const char *select; // null: cancel
    std::string expected;
  } cases[] = {{nullptr, before}, {"C:\\", "C:\\"}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.select ? c.select : "cancel");
    std::string title;
    bool ownerDisabled = false;
    UINT errorMode = 0;
    ModalWatcher watcher([&](HWND dialog) {
      if (ClassOf(dialog) != "#32770")
        return;
      title = WindowText(dialog);
      ownerDisabled = !IsWindowEnabled(form->Handle());
      errorMode = GetErrorMode();
      if (c.select != nullptr) {
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(c.select));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      } else {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      }
    });
    const UINT modeBefore = GetErrorMode();
    form->Button8->Click();
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(errorMode & SEM_FAILCRITICALERRORS);
    EXPECT_EQ(GetErrorMode(), modeBefore);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(form->Edit1->Text(), c.expected);
    (void)title;
  }
}

TEST_F(MainWindow, AboutBoxTwiceGivesTwoBoxesEachClosingOnItsOwn) {
  SeamRecorder seams;
  std::vector<HWND> boxes;
  std::vector<std::string> linkColours;
  ModalWatcher watcher([&](HWND window) {
    TAboutBox *box = nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->HandleAllocated() && Screen->Forms(i)->Handle() == window)
        box = dynamic_cast<TAboutBox *>(Screen->Forms(i));
    if (box == nullptr)
      return;
    boxes.push_back(window);
    EXPECT_EQ(WindowText(window), "      关于本软件");
    EXPECT_FALSE(IsWindowEnabled(form->Handle()));
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 327);
    EXPECT_EQ(client.bottom, 205);
    EXPECT_FALSE(box->ProgramIcon->Picture()->Empty());
    // The link: red under the mouse, blue again when it leaves; a click opens the address.
    HWND panel = box->Panel1->Handle();
    const TLabel *link = box->WebLink;
    const LPARAM onLink = MAKELPARAM(link->Left() + 5, link->Top() + 5);
    SendMessageA(panel, WM_MOUSEMOVE, 0, onLink);
    linkColours.push_back(link->Font()->Color() == clRed ? "red" : "other");
    SendMessageA(panel, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    linkColours.push_back(link->Font()->Color() == clBlue ? "blue" : "other");
    SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, onLink);
    SendMessageA(panel, WM_LBUTTONUP, 0, onLink);
    box->OKButton->Click();
  });
  form->Button6->Click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_FALSE(IsWindow(boxes[0]));
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
  form->Button6->Click();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0], boxes[1]);
  EXPECT_FALSE(IsWindow(boxes[1]));
  EXPECT_EQ(linkColours, (std::vector<std::string>{"red", "blue", "red", "blue"}));
  ASSERT_EQ(SeamRecorder::shellCalls.size(), 2u);
  EXPECT_EQ(SeamRecorder::shellCalls[0].owner, boxes[0]);
  EXPECT_EQ(SeamRecorder::shellCalls[0].verb, "Open");
  EXPECT_EQ(SeamRecorder::shellCalls[0].file, kAboutWebAddress);
  EXPECT_EQ(SeamRecorder::shellCalls[0].show, SW_SHOWNORMAL);
}

} // namespace
