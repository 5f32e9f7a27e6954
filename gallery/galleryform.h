// The gallery's main window: every kind of window and control the skin engine paints, on pages,
// in their normal, disabled and focused states side by side; menus that open the standard
// dialogs, a message box of each icon and button style and an MDI window; and a skin menu that
// switches the skin of every window of the process while they are open.
#pragma once

#include "framework/core/streams.h"
#include "framework/gui/comctrls.h"
#include "framework/gui/dialogs.h"
#include "framework/gui/forms.h"
#include "framework/gui/menus.h"

#include <memory>
#include <string>
#include <vector>

class TSkinData;

class TGalleryForm : public TForm {
public:
  explicit TGalleryForm(TComponent *owner);
  ~TGalleryForm() override;

  TPageControl *PageControl1 = nullptr;
  TTabSheet *ButtonsPage = nullptr, *TextPage = nullptr, *ListsPage = nullptr, *BarsPage = nullptr,
            *TabsPage = nullptr, *WindowsPage = nullptr, *ChangesPage = nullptr;
  TStatusBar *StatusBar1 = nullptr;
  TMainMenu *MainMenu1 = nullptr;
  TMenuItem *SkinMenu = nullptr;
  TPopupMenu *PopupMenu1 = nullptr;
  TOpenDialog *OpenDialog1 = nullptr, *SkinDialog = nullptr;
  TSaveDialog *SaveDialog1 = nullptr;
  TSkinData *SkinData1 = nullptr;

  // --- skins
  // The name a skin file goes by in the menu: "dark" for "...\skins\dark.skn".
  static std::string SkinName(const std::string &file);
  // The skin files shipped beside the program (skins\*.skn in its folder), sorted by name.
  static std::vector<std::string> ShippedSkins();
  // The *.skn files of folder (ending in a backslash), sorted by name.
  static std::vector<std::string> SkinFilesIn(const std::string &folder);
  // Every window takes the skin of file. A file that is not a readable skin changes nothing
  // and says so in one message box; false then.
  bool LoadSkinFile(const std::string &file);
  // Back to the skin the program carries in its form data.
  void UseBuiltInSkin();
  // Unskins every window of the process, or skins them all again.
  void SetSkinned(bool value);
  // The skin file in use, "" for the built-in one.
  const std::string &SkinFileInUse() const { return skinFile_; }

  // Shows a page as a click on its tab does: its focused sample takes the focus.
  void ShowPage(int index);

  // --- windows the menus open
  // The MDI window with its three children, made on first use; shown and brought forward.
  TForm *ShowMDIWindow();
  TForm *MDIWindow() const { return mdiWindow_; }

  // --- the page that changes itself (what its buttons do)
  // Adds the next kind of control to the page's area, or takes the last one added away again.
  TControl *AddChangingControl();
  void RemoveChangingControl();
  int ChangingControlCount() const { return static_cast<int>(added_.size()); }
  // The list view goes on to its next view style (which makes its window anew).
  void SwitchListStyle();
  TWinControl *ChangingList() const { return changingList_; }
  // A small window, shown without a menu; each further step gives it a menu, another one, and
  // none again.
  TForm *StepWindowMenu();
  TForm *ChangingWindow() const { return changingWindow_; }
  void SetChangeParts(TWinControl *area, TWinControl *list) {
    changeArea_ = area;
    changingList_ = list;
  }

  // --- menu handlers
  void OpenItemClick(TObject *Sender);
  void SaveItemClick(TObject *Sender);
  void FolderItemClick(TObject *Sender);
  void ExitItemClick(TObject *Sender);
  void MessageItemClick(TObject *Sender);
  void MDIItemClick(TObject *Sender);
  void AddControlClick(TObject *Sender);
  void RemoveControlClick(TObject *Sender);
  void ListStyleClick(TObject *Sender);
  void WindowMenuClick(TObject *Sender);

  void WndProc(TMessage &message) override;
  void Notification(TComponent *component, TOperation operation) override;
  static void Register();

private:
  // The skin menu: the built-in skin, the shipped ones, opening a file, skinning on and off.
  void BuildSkinMenu();
  void SkinItemClick(TObject *Sender);
  void OpenSkinItemClick(TObject *Sender);
  void SkinnedItemClick(TObject *Sender);
  // Puts the check mark on the skin in use.
  void MarkSkinInUse();
  void PageChange(TObject *Sender);
  // The colour of texts the engine leaves to a control's font, on the skin's face.
  TColor FaceTextColour() const;
  void SkinChanged(TObject *Sender);
  void CascadeClick(TObject *Sender);
  void TileClick(TObject *Sender);
  // Each page focuses its "focused" sample when it is shown.
  void FocusSampleOf(TTabSheet *page);

  std::unique_ptr<TMemoryStream> builtInSkin_;
  std::string skinFile_;
  std::vector<std::pair<TMenuItem *, std::string>> skinItems_; // item, file ("" built-in)
  TMenuItem *skinnedItem_ = nullptr;
  std::vector<std::pair<TTabSheet *, TWinControl *>> focusSamples_;
  TForm *mdiWindow_ = nullptr;
  TWinControl *changeArea_ = nullptr, *changingList_ = nullptr;
  std::vector<TControl *> added_;
  int nextKind_ = 0;
  TForm *changingWindow_ = nullptr;
  int menuStep_ = 0;
};

// Every class the gallery's form data names.
void RegisterGalleryClasses();

// "Document 3.doc" from ("Document ", 3, ".doc"). Built piece by piece: i686 GCC 12 at -O3
// reports a false -Wrestrict for a literal followed by a temporary string.
std::string NumberedText(const char *prefix, int number, const char *suffix = "");

// Fills the pages with their samples (galleryform_pages.cpp); returns, per page, the control
// that shows the focused state.
std::vector<std::pair<TTabSheet *, TWinControl *>> FillGalleryPages(TGalleryForm &form);
