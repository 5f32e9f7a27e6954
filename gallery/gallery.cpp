// The gallery: every window and control the skin engine paints, for choosing and checking skins.
//
//   gallery.exe [SKINFILE]     starts with the skin in SKINFILE instead of the built-in one
#include "gallery/galleryform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication application(nullptr);
  try {
    RegisterGalleryClasses();
    Application->Initialize();
    Application->SetTitle("Kestrova Gallery");
    TGalleryForm *form = Application->CreateForm<TGalleryForm>();
    form->ShowForm();
    form->ShowPage(0);
    if (__argc > 1)
      form->LoadSkinFile(__argv[1]);
    Application->Run();
  } catch (...) {
    Application->HandleException(Application);
  }
  return 0;
}
