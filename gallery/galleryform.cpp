#include "gallery/galleryform.h"

#include "framework/gui/buttons.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/filenames.h"
#include "framework/gui/listview.h"
#include "framework/gui/stdctrls.h"
#include "skin/data/winskindata.h"

#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
// After windows.h, so that its RegisterClass macro renames the template consistently.
#include "framework/core/typinfo.h"

namespace {

const char kSkinCaption[] = "Skin";
const char kSampleCaption[] = "Kestrova Gallery";

TMenuItem *NewItem(TComponent *owner, TMenuItem *parent, const std::string &caption,
                   const TNotifyEvent &onClick = {}) {
  auto *item = new TMenuItem(owner);
  item->Caption = caption;
  item->OnClick = onClick;
  parent->Add(item);
  return item;
}

// Sets an item's check mark in the built menu too, which shows it without being built again.
void SetChecked(TMenuItem *item, bool checked) {
  item->Checked = checked;
  if (item->Parent() != nullptr && item->Parent()->Handle() != nullptr && item->Command() != 0)
    CheckMenuItem(item->Parent()->Handle(), item->Command(),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace

TGalleryForm::TGalleryForm(TComponent *owner)
    : TForm(owner), builtInSkin_(std::make_unique<TMemoryStream>()) {
  ReadFormResource();
  builtInSkin_->LoadFromStream(*SkinData1->SkinBuffer);
  focusSamples_ = FillGalleryPages(*this);
  BuildSkinMenu();
  PageControl1->OnChange = TNotifyEvent(this, &TGalleryForm::PageChange);
  SkinData1->OnSkinChanged = TNotifyEvent(this, &TGalleryForm::SkinChanged);
  StatusBar1->SetSimplePanel(true);
  StatusBar1->SetSimpleText("Built-in skin");
}

TGalleryForm::~TGalleryForm() = default;

// ------------------------------------------------------------------------- skins

std::string TGalleryForm::SkinName(const std::string &file) {
  return ChangeFileExt(ExtractFileName(file), "");
}

std::vector<std::string> TGalleryForm::ShippedSkins() {
  return SkinFilesIn(ProgramFolder() + "skins\\");
}

std::vector<std::string> TGalleryForm::SkinFilesIn(const std::string &folder) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "*.skn").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return files;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      files.push_back(folder + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(files.begin(), files.end());
  return files;
}

void TGalleryForm::BuildSkinMenu() {
  const TNotifyEvent choose(this, &TGalleryForm::SkinItemClick);
  skinItems_.emplace_back(NewItem(this, SkinMenu, "&Built-in skin", choose), "");
  for (const std::string &file : ShippedSkins())
    skinItems_.emplace_back(NewItem(this, SkinMenu, SkinName(file), choose), file);
  NewItem(this, SkinMenu, "-");
  NewItem(this, SkinMenu, "&Open a skin file...",
          TNotifyEvent(this, &TGalleryForm::OpenSkinItemClick));
  NewItem(this, SkinMenu, "-");
  skinnedItem_ = NewItem(this, SkinMenu, "S&kin every window",
                         TNotifyEvent(this, &TGalleryForm::SkinnedItemClick));
  skinnedItem_->Checked = true;
  skinItems_.front().first->Checked = true;
  MainMenu1->Rebuild();
}

void TGalleryForm::MarkSkinInUse() {
  for (const auto &[item, file] : skinItems_)
    SetChecked(item, AnsiSameText(file, skinFile_));
  StatusBar1->SetSimpleText(skinFile_.empty() ? std::string("Built-in skin")
                                              : "Skin: " + skinFile_);
}

bool TGalleryForm::LoadSkinFile(const std::string &file) {
  if (!SkinData1->LoadFromFile(file)) {
    Application->MessageBox(
        "\"" + file + "\" is not a skin this program can read.\n\nThe skin in use stays as it is.",
        kSkinCaption, MB_OK | MB_ICONWARNING);
    return false;
  }
  skinFile_ = file;
  MarkSkinInUse();
  return true;
}

void TGalleryForm::UseBuiltInSkin() {
  builtInSkin_->SetPosition(0);
  if (SkinData1->LoadFromStream(*builtInSkin_)) {
    skinFile_.clear();
    MarkSkinInUse();
  }
}

void TGalleryForm::SetSkinned(bool value) {
  SkinData1->SetActive(value);
  SetChecked(skinnedItem_, value);
}

void TGalleryForm::SkinItemClick(TObject *sender) {
  for (const auto &[item, file] : skinItems_)
    if (item == sender) {
      if (file.empty())
        UseBuiltInSkin();
      else
        LoadSkinFile(file);
    }
}

void TGalleryForm::OpenSkinItemClick(TObject *) {
  SkinDialog->SetInitialDir(ProgramFolder() + "skins");
  if (SkinDialog->Execute())
    LoadSkinFile(SkinDialog->FileName());
}

void TGalleryForm::SkinnedItemClick(TObject *) {
  SetSkinned(!skinnedItem_->Checked);
}

namespace {

// The texts the skin engine leaves to a control's own font colour: labels and the captions of
// check boxes, radio buttons, group boxes and panels, all drawn on the skin's face.
void ColourFaceText(TControl *control, TColor colour) {
  if (dynamic_cast<TLabel *>(control) != nullptr ||
      dynamic_cast<TCustomCheckBox *>(control) != nullptr ||
      dynamic_cast<TRadioButton *>(control) != nullptr ||
      dynamic_cast<TCustomGroupBox *>(control) != nullptr ||
      dynamic_cast<TCustomPanel *>(control) != nullptr)
    control->Font()->SetColor(colour);
  else if (dynamic_cast<TCustomEdit *>(control) != nullptr ||     // on the window colour, and
           dynamic_cast<TCustomComboBox *>(control) != nullptr || // not their group's font
           dynamic_cast<TCustomListBox *>(control) != nullptr)    // colour
    control->Font()->SetColor(clWindowText);
}

void ColourFaceTexts(TWinControl *parent, TColor colour) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl *control = parent->Controls(i);
    ColourFaceText(control, colour);
    if (auto *inner = dynamic_cast<TWinControl *>(control))
      ColourFaceTexts(inner, colour);
  }
}

} // namespace

TColor TGalleryForm::FaceTextColour() const {
  // A dark skin needs light text where the engine draws in the control's font colour.
  const bool skinned = SkinData1->Active() && !SkinData1->NoSkin;
  return skinned ? SkinData1->Colors[csButtonText] : clBtnText;
}

void TGalleryForm::SkinChanged(TObject *) {
  const TColor text = FaceTextColour();
  for (TWinControl *window :
       {static_cast<TWinControl *>(this), static_cast<TWinControl *>(mdiWindow_),
        static_cast<TWinControl *>(changingWindow_)})
    if (window != nullptr)
      ColourFaceTexts(window, text);
  Invalidate();
}

// ------------------------------------------------------------------------- pages

void TGalleryForm::ShowPage(int index) {
  PageControl1->SetActivePageIndex(index);
  FocusSampleOf(PageControl1->ActivePage());
}

void TGalleryForm::PageChange(TObject *) {
  FocusSampleOf(PageControl1->ActivePage());
}

void TGalleryForm::FocusSampleOf(TTabSheet *page) {
  for (const auto &[sheet, sample] : focusSamples_)
    if (sheet == page && sample->HandleAllocated() && IsWindowVisible(sample->Handle()))
      sample->SetFocus();
}

// ------------------------------------------------------------------------- windows

TForm *TGalleryForm::ShowMDIWindow() {
  if (mdiWindow_ == nullptr) {
    mdiWindow_ = new TForm(this);
    FreeNotification(mdiWindow_);
    mdiWindow_->SetFormStyle(TFormStyle::fsMDIForm);
    mdiWindow_->SetBounds(Left() + 60, Top() + 60, 560, 400);
    mdiWindow_->SetCaption("MDI window");
    auto *menu = new TMainMenu(mdiWindow_);
    NewItem(mdiWindow_, menu->Items(), "&Document");
    TMenuItem *window = NewItem(mdiWindow_, menu->Items(), "&Window");
    NewItem(mdiWindow_, window, "&Cascade", TNotifyEvent(this, &TGalleryForm::CascadeClick));
    NewItem(mdiWindow_, window, "&Tile", TNotifyEvent(this, &TGalleryForm::TileClick));
    mdiWindow_->SetMenu(menu);
    mdiWindow_->HandleNeeded();
    for (int i = 0; i < 3; ++i) {
      // Its controls first: the child is skinned as its window is made.
      auto *child = new TForm(mdiWindow_);
      auto *memo = new TMemo(child);
      memo->SetParent(child);
      memo->SetBounds(8, 8, 270, 140);
      memo->Lines()->Add("A document window inside the MDI window.");
      child->SetBounds(12 + 36 * i, 12 + 28 * i, 300, 200);
      child->SetCaption(NumberedText("Document ", i + 1));
      child->SetFormStyle(TFormStyle::fsMDIChild);
      child->Show();
    }
  }
  mdiWindow_->Show();
  BringWindowToTop(mdiWindow_->Handle());
  return mdiWindow_;
}

void TGalleryForm::CascadeClick(TObject *) {
  if (mdiWindow_ != nullptr)
    mdiWindow_->Cascade();
}

void TGalleryForm::TileClick(TObject *) {
  if (mdiWindow_ != nullptr)
    mdiWindow_->Tile();
}

void TGalleryForm::Notification(TComponent *component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation != TOperation::opRemove)
    return;
  if (component == mdiWindow_)
    mdiWindow_ = nullptr;
  if (component == changingWindow_)
    changingWindow_ = nullptr;
}

// ------------------------------------------------------------------------- the changing page

TControl *TGalleryForm::AddChangingControl() {
  if (changeArea_ == nullptr)
    return nullptr;
  // Four to a row in the area, the kinds taken in turn.
  const int at = static_cast<int>(added_.size());
  const int x = 8 + (at % 4) * 140, y = 8 + (at / 4) * 34;
  if (y + 28 > changeArea_->Height())
    return nullptr;
  TControl *control = nullptr;
  const std::string name = NumberedText("Added ", at + 1);
  switch (nextKind_++ % 6) {
  case 0:
    control = new TButton(this);
    break;
  case 1:
    control = new TEdit(this);
    break;
  case 2: {
    auto *combo = new TComboBox(this);
    combo->Items()->Add(name);
    control = combo;
    break;
  }
  case 3:
    control = new TCheckBox(this);
    break;
  case 4: {
    auto *bar = new TProgressBar(this);
    bar->SetPosition(20 * (at % 5 + 1));
    control = bar;
    break;
  }
  default: {
    auto *bar = new TScrollBar(this);
    bar->SetParams(at * 10 % 100, 0, 100);
    control = bar;
    break;
  }
  }
  control->SetParent(changeArea_);
  control->SetBounds(x, y, 128, dynamic_cast<TScrollBar *>(control) != nullptr ? 17 : 24);
  control->SetCaption(name);
  ColourFaceText(control, FaceTextColour());
  added_.push_back(control);
  return control;
}

void TGalleryForm::RemoveChangingControl() {
  if (added_.empty())
    return;
  delete added_.back();
  added_.pop_back();
}

void TGalleryForm::SwitchListStyle() {
  auto *list = dynamic_cast<TListView *>(changingList_);
  if (list == nullptr)
    return;
  const TViewStyle next[] = {TViewStyle::vsSmallIcon, TViewStyle::vsList, TViewStyle::vsReport,
                             TViewStyle::vsIcon};
  list->SetViewStyle(next[static_cast<int>(list->ViewStyle())]);
  const char *const names[] = {"icons", "small icons", "a list", "a report"};
  StatusBar1->SetSimpleText(std::string("The list view shows ") +
                            names[static_cast<int>(list->ViewStyle())]);
}

TForm *TGalleryForm::StepWindowMenu() {
  if (changingWindow_ == nullptr) {
    changingWindow_ = new TForm(this);
    FreeNotification(changingWindow_);
    // Below the gallery, so that the page stays in view, as far as the screen has room.
    const int height = 160;
    const int top = std::min(Top() + Height() + 8, GetSystemMetrics(SM_CYSCREEN) - height);
    changingWindow_->SetBounds(Left(), std::max(top, 0), 320, height);
    changingWindow_->SetCaption("Menu set later");
    auto *note = new TLabel(changingWindow_);
    note->SetParent(changingWindow_);
    note->SetBounds(12, 12, 290, 16);
    note->SetCaption("The gallery gives this window its menus.");
    note->Font()->SetColor(FaceTextColour());
    menuStep_ = 0;
  }
  TMainMenu *menu = nullptr;
  switch (menuStep_++ % 3) {
  case 0: // shown without one first
    break;
  case 1:
    menu = new TMainMenu(changingWindow_);
    NewItem(changingWindow_, NewItem(changingWindow_, menu->Items(), "&File"), "&Close");
    NewItem(changingWindow_, NewItem(changingWindow_, menu->Items(), "&Edit"), "&Copy");
    break;
  default:
    menu = new TMainMenu(changingWindow_);
    for (const char *caption : {"&Document", "&View", "&Window", "&Help"})
      NewItem(changingWindow_, NewItem(changingWindow_, menu->Items(), caption), "&Item");
    break;
  }
  TMainMenu *old = changingWindow_->Menu();
  changingWindow_->SetMenu(menu);
  delete old;
  changingWindow_->Show();
  return changingWindow_;
}

// ------------------------------------------------------------------------- menus

void TGalleryForm::OpenItemClick(TObject *) {
  OpenDialog1->Execute();
}

void TGalleryForm::SaveItemClick(TObject *) {
  SaveDialog1->Execute();
}

void TGalleryForm::FolderItemClick(TObject *) {
  char name[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = Handle();
  info.pszDisplayName = name;
  info.lpszTitle = "Choose a folder";
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info))
    CoTaskMemFree(chosen);
}

void TGalleryForm::ExitItemClick(TObject *) {
  Close();
}

// The item's Tag holds the message box's icon and button flags.
void TGalleryForm::MessageItemClick(TObject *sender) {
  auto *item = dynamic_cast<TMenuItem *>(sender);
  if (item == nullptr)
    return;
  std::string text = item->Caption;
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  Application->MessageBox("A message box: " + text + ".", kSampleCaption,
                          static_cast<UINT>(item->Tag()));
}

void TGalleryForm::MDIItemClick(TObject *) {
  ShowMDIWindow();
}

void TGalleryForm::AddControlClick(TObject *) {
  AddChangingControl();
}

void TGalleryForm::RemoveControlClick(TObject *) {
  RemoveChangingControl();
}

void TGalleryForm::ListStyleClick(TObject *) {
  SwitchListStyle();
}

void TGalleryForm::WindowMenuClick(TObject *) {
  StepWindowMenu();
}

void TGalleryForm::WndProc(TMessage &m) {
  if (m.Msg == WM_CONTEXTMENU) {
    POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (at.x == -1 && at.y == -1) { // from the keyboard: under the form's top left corner
      at = {Left() + 40, Top() + 60};
    }
    PopupMenu1->Popup(at.x, at.y);
    m.Result = 0;
    return;
  }
  TForm::WndProc(m);
}

void TGalleryForm::Register() {
  using F = TGalleryForm;
  RegisterClass<TGalleryForm, TForm>(
      "TGalleryForm",
      {Published::Object("PageControl1", &F::PageControl1),
       Published::Object("ButtonsPage", &F::ButtonsPage),
       Published::Object("TextPage", &F::TextPage), Published::Object("ListsPage", &F::ListsPage),
       Published::Object("BarsPage", &F::BarsPage), Published::Object("TabsPage", &F::TabsPage),
       Published::Object("WindowsPage", &F::WindowsPage),
       Published::Object("ChangesPage", &F::ChangesPage),
       Published::Object("StatusBar1", &F::StatusBar1),
       Published::Object("MainMenu1", &F::MainMenu1), Published::Object("SkinMenu", &F::SkinMenu),
       Published::Object("PopupMenu1", &F::PopupMenu1),
       Published::Object("OpenDialog1", &F::OpenDialog1),
       Published::Object("SaveDialog1", &F::SaveDialog1),
       Published::Object("SkinDialog", &F::SkinDialog),
       Published::Object("SkinData1", &F::SkinData1)},
      {Published::Method("OpenItemClick", &F::OpenItemClick),
       Published::Method("SaveItemClick", &F::SaveItemClick),
       Published::Method("FolderItemClick", &F::FolderItemClick),
       Published::Method("ExitItemClick", &F::ExitItemClick),
       Published::Method("MessageItemClick", &F::MessageItemClick),
       Published::Method("MDIItemClick", &F::MDIItemClick)});
}

std::string NumberedText(const char *prefix, int number, const char *suffix) {
  std::string text(prefix);
  text += std::to_string(number);
  text += suffix;
  return text;
}

void RegisterGalleryClasses() {
  RegisterControlClasses();
  RegisterForms();
  RegisterStdControls();
  RegisterExtControls();
  RegisterButtons();
  RegisterComCtrls();
  RegisterBarControls();
  RegisterListViews();
  RegisterMenus();
  RegisterDialogs();
  RegisterSkinDataClasses();
  TGalleryForm::Register();
}
