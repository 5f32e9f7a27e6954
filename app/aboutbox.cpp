#include "app/aboutbox.h"

#include "app/appseams.h"

// After windows.h, so that its RegisterClass macro renames the template consistently.
#include "framework/core/typinfo.h"

TAboutBox::TAboutBox(TComponent *owner) : TForm(owner) {
  ReadFormResource();
  // The program's own icon, from the executable's resources.
  try {
    ProgramIcon->Picture()->Icon().LoadFromResourceName(GetModuleHandleA(nullptr), "MAINICON");
    ProgramIcon->Picture()->Changed();
  } catch (const EResNotFound &) {
    // A module without the icon shows an empty picture.
  }
}

void TAboutBox::WebLinkClick(TObject *) {
  AppShellExecute(Handle(), "Open", kAboutWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void TAboutBox::WebLinkMouseEnter(TObject *) {
  WebLink->Font()->SetColor(clRed);
}

void TAboutBox::WebLinkMouseLeave(TObject *) {
  WebLink->Font()->SetColor(clBlue);
}

void TAboutBox::Register() {
  using A = TAboutBox;
  RegisterClass<TAboutBox, TForm>(
      "TAboutBox",
      {Published::Object("Panel1", &A::Panel1), Published::Object("ProgramIcon", &A::ProgramIcon),
       Published::Object("ProductName", &A::ProductName), Published::Object("Version", &A::Version),
       Published::Object("WebLink", &A::WebLink), Published::Object("Terms1", &A::Terms1),
       Published::Object("Terms2", &A::Terms2), Published::Object("OKButton", &A::OKButton)},
      {Published::Method("WebLinkClick", &A::WebLinkClick),
       Published::Method("WebLinkMouseEnter", &A::WebLinkMouseEnter),
       Published::Method("WebLinkMouseLeave", &A::WebLinkMouseLeave)});
}
