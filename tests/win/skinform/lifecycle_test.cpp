// Which windows the hook skins (message boxes, the open-file dialog, framework forms), and
// unskinning: everything given back, nothing left behind.
#include "tests/win/skinform/skinform_fixture.h"

#include "framework/core/objects.h"
#include "framework/gui/gdiobj.h"

#include <commdlg.h>

#include <string>

namespace skinform {
namespace {

// A skinned dialog: answers CN_IsSkinned and shows the skin's caption band.
void ExpectSkinnedDialog(HWND dialog) {
  EXPECT_EQ(SendMessageA(dialog, CN_IsSkinned, 0, 0), 1);
  SendMessageA(dialog, WM_NCACTIVATE, TRUE, 0);
  auto shot = SkinFormTest::Snap(dialog);
  EXPECT_EQ(SkinFormTest::At(*shot, shot->Width() / 2, 1), kTop[0]);
  EXPECT_EQ(SkinFormTest::At(*shot, 1, shot->Height() / 2), kLeft[0]);
}

// What the open-file dialog of an owner is asked, with a buffer of MAX_PATH for the name.
OPENFILENAMEA OpenFileOf(HWND owner, char *file) {
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;
  return ofn;
}

TEST_F(SkinFormTest, MessageBoxesAndTheOpenFileDialogAreSkinned) {
  HWND owner = NewWindow();
  EXPECT_TRUE(WithModalDialog([owner] { MessageBoxA(owner, "Text", "Box", MB_OK); },
                              ExpectSkinnedDialog, IDOK))
      << "message box";

  char file[MAX_PATH] = {};
  OPENFILENAMEA ofn = OpenFileOf(owner, file);
  EXPECT_TRUE(WithModalDialog([&ofn] { GetOpenFileNameA(&ofn); }, ExpectSkinnedDialog, IDCANCEL))
      << "open-file dialog";
}

bool AnswersSkinned(HWND window) {
  return SendMessageA(window, CN_IsSkinned, 0, 0) == 1;
}

BOOL CALLBACK FindFileList(HWND child, LPARAM found) {
  char name[32] = {}, parent[32] = {};
  GetClassNameA(child, name, sizeof name);
  GetClassNameA(GetParent(child), parent, sizeof parent);
  if (std::string(name) != "SysListView32" || std::string(parent) != "SHELLDLL_DefView")
    return TRUE;
  *reinterpret_cast<HWND *>(found) = child;
  return FALSE;
}

// The file list of an open-file dialog (the list view inside the shell's view window).
HWND FileList(HWND dialog) {
  HWND found = nullptr;
  EnumChildWindows(dialog, FindFileList, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(SkinFormTest, TheOpenFileDialogsListStaysSkinnedThroughChangesOfFolder) {
  HWND owner = NewWindow();
  char file[MAX_PATH] = {};
  OPENFILENAMEA ofn = OpenFileOf(owner, file);
  const auto inspect = [](HWND dialog) {
    HWND list = FileList(dialog);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(AnswersSkinned(list)) << "the first list";
    for (const char *folder : {"C:\\windows", "C:\\windows\\system32"}) {
      SCOPED_TRACE(folder);
      // Typed into the file-name field and confirmed, a folder is opened in the dialog.
      HWND name = GetDlgItem(dialog, 0x47c); // the file-name combo box
      if (name == nullptr)
        name = GetDlgItem(dialog, 0x480); // or the plain edit
      ASSERT_NE(name, nullptr);
      SetWindowTextA(name, folder);
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
      ASSERT_TRUE(PumpUntil([&] {
        HWND now = FileList(dialog);
        return now != nullptr && now != list;
      })) << "the dialog did not change folder";
      list = FileList(dialog);
      EXPECT_TRUE(PumpUntil([list] { return AnswersSkinned(list); })) << "the new list";
    }
  };
  EXPECT_TRUE(WithModalDialog([&ofn] { GetOpenFileNameA(&ofn); }, inspect, IDCANCEL));
}

// A scroll bar and a size grip made on another thread in a window of this one.
struct MadeByThread {
  HWND parent = nullptr;
  HWND bar = nullptr, grip = nullptr;
  volatile LONG done = 0;
};

DWORD WINAPI MakeScrollBars(void *p) {
  auto &m = *static_cast<MadeByThread *>(p);
  const auto child = [&m](DWORD style) {
    return CreateWindowExA(0, "ScrollBar", "", WS_CHILD | style, 0, 0, 16, 100, m.parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  };
  m.bar = child(SBS_VERT);
  m.grip = child(SBS_SIZEGRIP);
  InterlockedExchange(&m.done, 1);
  return 0;
}

TEST_F(SkinFormTest, AnotherThreadsHookRefusesOnlySizeGripsOfSkinnedWindows) {
  HWND w = NewWindow();
  MadeByThread made;
  made.parent = w;
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, MakeScrollBars, &made, CREATE_SUSPENDED, &id);
  ASSERT_NE(thread, nullptr);
  SkinManager->InstallThread(id);
  ResumeThread(thread);
  EXPECT_TRUE(PumpUntil([&made] { return made.done != 0; }));
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  SkinManager->UnInstallThread(id);
  EXPECT_NE(made.bar, nullptr) << "a plain scroll bar was refused";
  EXPECT_EQ(made.grip, nullptr) << "the skinned frame draws its own size grip";
}

// Unskins one window as the manager's unskin-all does: detach, then free (which delists).
void Unskin(HWND w) {
  TWinSkinForm *form = SkinManager->FindSkinForm(w);
  ASSERT_NE(form, nullptr);
  form->UnSubclass();
  delete form;
}

// What unskinning must give back.
struct WindowFacts {
  LONG_PTR proc, style;
  HMENU menu;
  RECT client;
};
WindowFacts Facts(HWND w) {
  WindowFacts f{
      GetWindowLongPtrA(w, GWLP_WNDPROC), GetWindowLongPtrA(w, GWL_STYLE), GetMenu(w), {}};
  GetClientRect(w, &f.client);
  return f;
}

TEST_F(SkinFormTest, UnSubclassGivesTheWindowBackWhatItHad) {
  for (const bool withMenu : {false, true}) {
    SCOPED_TRACE(withMenu ? "with a menu bar" : "without a menu bar");
    HMENU menu = nullptr;
    if (withMenu) {
      menu = CreateMenu();
      AppendMenuA(menu, MF_STRING, 1, "&File");
    }
    HWND w = CreateWindowExA(0, "KestrovaSkinFormTestWindow", "Plain", WS_OVERLAPPEDWINDOW, 90, 90,
                             360, 240, nullptr, menu, GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(w);
    const WindowFacts before = Facts(w);
    ShowWindow(w, SW_SHOW);
    ASSERT_TRUE(PumpUntil([w] { return Skinned(w); }));
    const WindowFacts skinned = Facts(w);
    EXPECT_NE(skinned.proc, before.proc);

    Unskin(w);
    const WindowFacts after = Facts(w);
    EXPECT_EQ(after.proc, before.proc);
    EXPECT_EQ(after.style & (WS_CAPTION | WS_SYSMENU), before.style & (WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(after.menu, menu);
    EXPECT_EQ(after.client.right, skinned.client.right);
    EXPECT_EQ(after.client.bottom, skinned.client.bottom);
    EXPECT_EQ(SendMessageA(w, CN_IsSkinned, 0, 0), 0);
  }
}

class TestForm : public TForm {
public:
  explicit TestForm(TComponent *owner) : TForm(owner) {
    SetBounds(120, 120, 320, 220);
    SetCaption("Form");
    SetColor(clWindow);
  }
};

TEST_F(SkinFormTest, AFrameworkFormIsSkinnedOnceAndGetsItsColourBack) {
  auto *form = new TestForm(app_.get());
  form->Show();
  HWND w = form->Handle();
  ASSERT_TRUE(PumpUntil([w] { return Skinned(w); }));
  EXPECT_EQ(form->Color(), data_->Colors[csButtonFace]);
  EXPECT_EQ(FindWinSkinForm(w)->Owner(), form);
  EXPECT_FALSE(SkinManager->AddForm(w));
  EXPECT_EQ(SkinManager->Forms().size(), 1u);

  Unskin(w);
  EXPECT_EQ(FindWinSkinForm(w), nullptr);
  EXPECT_EQ(form->Color(), clWindow);
  EXPECT_TRUE(SkinManager->Forms().empty());
  delete form;
}

TEST_F(SkinFormTest, SkinAndUnskinCyclesLeaveNothingBehind) {
  auto *form = new TestForm(app_.get());
  form->Show();
  HWND w = form->Handle();
  ASSERT_TRUE(PumpUntil([w] { return Skinned(w); }));
  Unskin(w);
  Pump(20);
  const int gdi = GdiLiveTotal(), objects = TObject::LiveCount();
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(SkinManager->AddForm(w)) << "cycle " << i;
    ASSERT_TRUE(PumpUntil([w] { return Skinned(w); })) << "cycle " << i;
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Unskin(w);
  }
  Pump(20);
  EXPECT_EQ(GdiLiveTotal(), gdi);
  EXPECT_EQ(TObject::LiveCount(), objects);
  delete form;
}

} // namespace
} // namespace skinform
