// The gallery's window in this process: its pages and windows skinned, skins switched while
// they are open (and while a dialog is up), and a skin file that is not a skin refused.
#include "gallery/galleryform.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/gdiobj.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/form/winskinform.h"
#include "skin/form/winskinform_menubar.h"
#include "tests/win/skindata/skinned_app_test.h"
#include "tests/win/support/running_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

// One application object for the whole program, as in the real one.
class Environment : public ::testing::Environment {
public:
  void SetUp() override {
    app_ = new TApplication(nullptr);
    RegisterGalleryClasses();
    app_->Initialize();
  }
  void TearDown() override { delete app_; }

private:
  TApplication *app_ = nullptr;
};
const auto *const environment = ::testing::AddGlobalTestEnvironment(new Environment);

bool PumpUntil(const std::function<bool()> &done, int milliseconds = 5000) {
  return skintest::SkinnedAppTest::PumpUntil(done, milliseconds);
}

// The skin manager's pending action (a skin switch, skinning on or off), run now instead of
// after its short delay.
bool RunPendingSkinAction() {
  if (SkinManager == nullptr)
    return false;
  SkinManager->Timer->SetInterval(1);
  return PumpUntil([] { return !SkinManager->Timer->Enabled(); });
}

bool IsSkinned(HWND window) {
  return SendMessageA(window, CN_IsSkinned, 0, 0) == 1;
}

using outside::ClassOf;

// The form's windowed controls (the skin's own overlays left out) that do not say they are
// skinned, by class and caption.
std::vector<std::string> UnskinnedControls(TCustomForm *form) {
  std::vector<std::string> unskinned;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto *control = dynamic_cast<TWinControl *>(form->Components(i));
    if (control == nullptr || !control->HandleAllocated())
      continue;
    if (!IsSkinned(control->Handle()))
      unskinned.push_back(ClassOf(control->Handle()) + " \"" + control->Caption() + "\"");
  }
  return unskinned;
}

// A skin shipped beside the gallery, in the tree's bin\skins (the tests live in tests\); "" when
// there is none of that name.
std::string ShippedSkin(const std::string &name) {
  for (const std::string &file : TGalleryForm::SkinFilesIn(outside::BinFolder() + "skins\\"))
    if (file.size() >= name.size() &&
        file.compare(file.size() - name.size(), name.size(), name) == 0)
      return file;
  return {};
}

class GalleryWindow : public ::testing::Test {
protected:
  void SetUp() override {
    form = new TGalleryForm(Application);
    form->ShowForm();
    ASSERT_TRUE(PumpUntil([this] {
      TWinSkinForm *skin = FindWinSkinForm(form->Handle());
      return skin != nullptr && skin->SkinState == 1 && !skin->Controls.empty();
    })) << "the gallery was not skinned";
  }
  void TearDown() override {
    delete form;
    Application->ProcessMessages();
  }
  void VisitEveryPage() {
    for (int i = 0; i < form->PageControl1->PageCount(); ++i) {
      form->PageControl1->SetActivePageIndex(i);
      Application->ProcessMessages();
    }
  }
  TGalleryForm *form = nullptr;
};

TEST_F(GalleryWindow, EveryControlOnEveryPageAndTheMDIWindowIsSkinned) {
  VisitEveryPage();
  EXPECT_EQ(UnskinnedControls(form), std::vector<std::string>{});
  TForm *mdi = form->ShowMDIWindow();
  ASSERT_TRUE(PumpUntil([mdi] {
    return mdi->MDIChildCount() == 3 && IsSkinned(mdi->Handle()) &&
           IsSkinned(mdi->MDIChildren(0)->Handle());
  })) << "the MDI window or its children were not skinned";
  // A child's controls are attached once its skin is active, a moment after it shows.
  PumpUntil([mdi] {
    for (int i = 0; i < mdi->MDIChildCount(); ++i)
      if (!UnskinnedControls(mdi->MDIChildren(i)).empty())
        return false;
    return true;
  });
  for (int i = 0; i < mdi->MDIChildCount(); ++i)
    EXPECT_EQ(UnskinnedControls(mdi->MDIChildren(i)), std::vector<std::string>{});
}

TEST_F(GalleryWindow, ThePageThatChangesItselfStaysSkinnedThroughALiveSwitch) {
  const std::string dark = ShippedSkin("dark.skn");
  ASSERT_FALSE(dark.empty());
  form->ShowPage(form->PageControl1->PageCount() - 1);
  ASSERT_EQ(form->PageControl1->ActivePage(), form->ChangesPage);
  const HWND list = form->ChangingList()->Handle();
  for (int i = 0; i < 4; ++i)
    form->AddChangingControl();
  form->RemoveChangingControl();
  form->SwitchListStyle();
  form->SwitchListStyle();
  TForm *window = form->StepWindowMenu(); // shown without a menu
  ASSERT_TRUE(PumpUntil([window] { return IsSkinned(window->Handle()); }));
  form->StepWindowMenu(); // then given one
  EXPECT_NE(form->ChangingList()->Handle(), list) << "the list view was not made anew";
  ASSERT_TRUE(PumpUntil([this] { return UnskinnedControls(form).empty(); }));
  EXPECT_EQ(form->ChangingControlCount(), 9);

  ASSERT_TRUE(form->LoadSkinFile(dark));
  ASSERT_TRUE(RunPendingSkinAction());
  form->AddChangingControl();
  form->SwitchListStyle();
  form->StepWindowMenu(); // another menu
  EXPECT_TRUE(PumpUntil([this] { return UnskinnedControls(form).empty(); }))
      << "unskinned after the switch: " << UnskinnedControls(form).size();
  TWinSkinForm *skin = FindWinSkinForm(window->Handle());
  ASSERT_NE(skin, nullptr);
  ASSERT_NE(skin->SkinMenu, nullptr) << "the window's menu is not on its skinned band";
  EXPECT_EQ(skin->SkinMenu->Buttons.size(), 4u);
  EXPECT_EQ(GetMenu(window->Handle()), nullptr);
}

// A thread timer (a modal loop serves it too) that runs steps one per tick until one says done.
class Stepper {
public:
  explicit Stepper(std::function<bool()> step) : step_(std::move(step)) {
    active = this;
    timer_ = SetTimer(nullptr, 0, 10, &Tick);
  }
  ~Stepper() {
    KillTimer(nullptr, timer_);
    active = nullptr;
  }
  bool finished = false;

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Stepper *self = active;
    if (self == nullptr || self->finished || self->busy_)
      return;
    self->busy_ = true;
    self->finished = self->step_();
    self->busy_ = false;
  }
  static inline Stepper *active = nullptr;
  std::function<bool()> step_;
  UINT_PTR timer_ = 0;
  bool busy_ = false;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM out) {
  if (ClassOf(window) == "#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND *>(out) = window;
    return FALSE;
  }
  return TRUE;
}

// A dialog or message box of this thread that is showing, or null.
HWND OpenDialogOfThisThread() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(GalleryWindow, AHundredSwitchesWithADialogOpenLeaveNoObjectOrHandleBehind) {
  const std::string dark = ShippedSkin("dark.skn");
  const std::string light = ShippedSkin("default.skn");
  ASSERT_FALSE(light.empty()) << "no default.skn in bin\\skins";
  const std::string other = dark.empty() ? light : dark;
  VisitEveryPage();
  form->ShowMDIWindow();

  // With the open-file dialog up (its modal loop serving the timer), the skin switches again
  // and again, each switch showing the next page. The counts depend on the page shown (a
  // control's scroll-bar overlays exist while it shows), so they are compared on the same page
  // and skin: once every page has been seen in both skins, and a hundred switches or more later
  // (a whole number of rounds over every page in both skins).
  const int pages = form->PageControl1->PageCount();
  const int round = 2 * pages, kBaseline = round,
            kLast = kBaseline + (100 + round - 1) / round * round;
  int switches = 0, objectsFirst = 0, handlesFirst = 0, objectsLast = 0, handlesLast = 0;
  bool dialogSkinned = false;
  std::vector<std::string> unskinned;
  Stepper stepper([&] {
    HWND dialog = OpenDialogOfThisThread();
    if (dialog == nullptr)
      return false;
    form->PageControl1->SetActivePageIndex(switches % pages);
    const std::string &file = switches % 2 == 0 ? other : light;
    if (!form->LoadSkinFile(file) || !RunPendingSkinAction())
      ADD_FAILURE() << "switch " << switches << " to " << file << " did not complete";
    Application->ProcessMessages();
    if (switches == kBaseline) {
      objectsFirst = TObject::LiveCount();
      handlesFirst = GdiLiveTotal();
    }
    if (switches++ < kLast)
      return false;
    objectsLast = TObject::LiveCount();
    handlesLast = GdiLiveTotal();
    dialogSkinned = IsSkinned(dialog);
    unskinned = UnskinnedControls(form);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  form->OpenItemClick(nullptr);
  ASSERT_TRUE(stepper.finished) << "the dialog closed before the switches were done";
  EXPECT_TRUE(dialogSkinned);
  EXPECT_EQ(unskinned, std::vector<std::string>{});
  EXPECT_EQ(objectsLast, objectsFirst);
  EXPECT_EQ(handlesLast, handlesFirst);
  EXPECT_EQ(form->SkinFileInUse(), other);
}

// What the focused control sees of a skin switch: nothing. (Track bars once took the focus and
// gave it back to repaint themselves.)
LRESULT CALLBACK CountFocusLosses(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
WNDPROC focusedProc = nullptr;
int focusLosses = 0;
LRESULT CALLBACK CountFocusLosses(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_KILLFOCUS)
    ++focusLosses;
  return CallWindowProcA(focusedProc, window, msg, wParam, lParam);
}

TEST_F(GalleryWindow, ASwitchLeavesTheFocusWhereItWas) {
  const std::string dark = ShippedSkin("dark.skn");
  ASSERT_FALSE(dark.empty());
  form->ShowPage(1); // its edit takes the focus; the track bars are on another page
  Application->ProcessMessages();
  HWND focused = GetFocus();
  ASSERT_NE(focused, nullptr);
  ASSERT_EQ(ClassOf(focused), "TEdit");
  focusLosses = 0;
  focusedProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(focused, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountFocusLosses)));
  const bool switched = form->LoadSkinFile(dark) && RunPendingSkinAction();
  Application->ProcessMessages();
  SetWindowLongPtrA(focused, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(focusedProc));
  ASSERT_TRUE(switched);
  EXPECT_EQ(focusLosses, 0);
  EXPECT_EQ(GetFocus(), focused);
}

TEST_F(GalleryWindow, ACorruptSkinFileLeavesTheSkinInUseWithOneMessage) {
  const std::string light = ShippedSkin("default.skn");
  ASSERT_FALSE(light.empty());
  ASSERT_TRUE(form->LoadSkinFile(light));
  ASSERT_TRUE(RunPendingSkinAction());
  const int64_t bytes = form->SkinData1->SkinBuffer->Size();

  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string corrupt = std::string(temp) + "gallery_corrupt.skn";
  {
    // What a damaged download looks like: bytes that are no skin at all.
    std::vector<char> noise(4096);
    for (size_t i = 0; i < noise.size(); ++i)
      noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    std::ofstream(corrupt, std::ios::binary)
        .write(noise.data(), static_cast<std::streamsize>(noise.size()));
  }

  std::vector<std::string> messages;
  Stepper answer([&] {
    HWND box = OpenDialogOfThisThread();
    if (box == nullptr)
      return false;
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text); // the message's static text
    messages.push_back(text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return false;
  });
  EXPECT_FALSE(form->LoadSkinFile(corrupt));
  Application->ProcessMessages();
  std::remove(corrupt.c_str());

  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("gallery_corrupt.skn"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("not a skin"), std::string::npos) << messages[0];
  EXPECT_EQ(form->SkinFileInUse(), light);
  EXPECT_FALSE(form->SkinData1->NoSkin);
  EXPECT_EQ(form->SkinData1->SkinBuffer->Size(), bytes);
  EXPECT_FALSE(SkinManager->Timer->Enabled()) << "a refused skin must not start a switch";
  EXPECT_TRUE(IsSkinned(form->Handle()));
  EXPECT_EQ(UnskinnedControls(form), std::vector<std::string>{});
}

TEST_F(GalleryWindow, UnskinningAndSkinningAgainReachEveryWindow) {
  VisitEveryPage();
  form->SetSkinned(false);
  ASSERT_TRUE(RunPendingSkinAction());
  EXPECT_FALSE(IsSkinned(form->Handle()));
  EXPECT_EQ(FindWinSkinForm(form->Handle()), nullptr);
  form->SetSkinned(true);
  ASSERT_TRUE(RunPendingSkinAction());
  ASSERT_TRUE(PumpUntil([this] { return UnskinnedControls(form).empty(); }))
      << UnskinnedControls(form).size() << " controls were not skinned again";
  EXPECT_TRUE(IsSkinned(form->Handle()));
}

} // namespace
