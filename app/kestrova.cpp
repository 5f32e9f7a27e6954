// The entry point: application object (and COM), main window, message loop.
#include "app/mainform1.h"
#include "skin/data/winskindata.h"

#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // /noskin starts the program with the system's own look (to compare start-up and paint
  // costs, or where a skin gets in the way).
  for (int i = 1; i < __argc; ++i)
    if (_stricmp(__argv[i], "/noskin") == 0)
      TSkinData::StartUnskinned = true;
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
