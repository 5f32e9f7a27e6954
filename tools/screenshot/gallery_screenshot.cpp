// Pictures of the gallery for looking at: every page, the menus' windows (the MDI window, a
// message box, the open-file dialog) and the context menu, once in each shipped skin.
//
//   gallery_screenshot OUTPUT_FOLDER
#include "gallery/galleryform.h"
#include "tools/screenshot/capture.h"

#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gallery_screenshot OUTPUT_FOLDER\n");
    return 2;
  }
  setvbuf(stdout, nullptr, _IONBF, 0);
  SetCaptureFolder(argv[1], 31); // after the program's own pictures
  TApplication application(nullptr);
  RegisterGalleryClasses();
  application.Initialize();
  TGalleryForm *form = application.CreateForm<TGalleryForm>();
  form->ShowForm();
  Settle();

  for (const std::string &skin : TGalleryForm::ShippedSkins()) {
    const std::string name = std::string("gallery-").append(TGalleryForm::SkinName(skin));
    form->LoadSkinFile(skin);
    Settle();
    Settle();
    for (int i = 0; i < form->PageControl1->PageCount(); ++i) {
      form->ShowPage(i);
      Settle();
      Capture(form->Handle(), name + "-" + form->PageControl1->Pages(i)->Caption());
    }
    if (form->ChangingWindow() == nullptr) {
      // The page changes itself once; the later skins show it as it became.
      form->ShowPage(form->PageControl1->PageCount() - 1);
      for (int i = 0; i < 3; ++i)
        form->AddChangingControl();
      for (int i = 0; i < 3; ++i) // to the report view
        form->SwitchListStyle();
      form->StepWindowMenu();
      Settle();
      form->StepWindowMenu();
      Settle();
      Capture(form->Handle(), name + "-Changes-changed");
    }
    Capture(form->ChangingWindow()->Handle(), name + "-menuwindow");
    TForm *mdi = form->ShowMDIWindow();
    Settle();
    Capture(mdi->Handle(), name + "-mdi");
    mdi->Hide();
    TMenuItem *information = form->MainMenu1->Items()->Items(1)->Items(0);
    Shoot([&] { form->MessageItemClick(information); }, {name + "-message"}, IDOK);
    Shoot([&] { form->OpenItemClick(form); }, {name + "-opendialog"}, IDCANCEL);
    RECT r;
    GetWindowRect(form->Handle(), &r);
    Shoot([&] { form->PopupMenu1->Popup(r.left + 200, r.top + 150); }, {name + "-contextmenu"},
          IDCANCEL);
  }
  return 0;
}
