// The About box: product, version, web address and terms, closed with OK.
#pragma once

#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"
#include "framework/gui/stdctrls.h"

class TAboutBox : public TForm {
public:
  explicit TAboutBox(TComponent *owner);

  TPanel *Panel1 = nullptr;
  TImage *ProgramIcon = nullptr;
  TLabel *ProductName = nullptr, *Version = nullptr, *WebLink = nullptr, *Terms1 = nullptr,
         *Terms2 = nullptr;
  TButton *OKButton = nullptr;

  void WebLinkClick(TObject *Sender);
  void WebLinkMouseEnter(TObject *Sender);
  void WebLinkMouseLeave(TObject *Sender);

  static void Register();
};

// Where the web link label leads.
inline constexpr const char *kAboutWebAddress = "http://www.kestrova.example/";
