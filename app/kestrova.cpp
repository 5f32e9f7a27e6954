// The entry point: application object (and COM), main window, message loop.
#include "app/mainform1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication application(nullptr);
  try {
    RegisterApplicationClasses();
    Application->Initialize();
    Application->SetTitle("Kestrova");
    Application->CreateForm<TMainForm>();
    Application->Run();
  } catch (...) {
    Application->HandleException(Application);
  }
  return 0;
}
