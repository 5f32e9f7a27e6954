// The main window: the document list, the target settings, the conversion run and its log.
#pragma once

#include "framework/gui/dialogs.h"
#include "framework/gui/forms.h"
#include "framework/gui/stdctrls.h"

#include <string>

class TMainForm : public TForm {
public:
  explicit TMainForm(TComponent *owner);

  TLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr,
         *Label5 = nullptr;
  TButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr,
          *Button5 = nullptr, *Button6 = nullptr, *Button8 = nullptr;
  TComboBox *ComboBox1 = nullptr;
  TCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr;
  TEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr;
  TMemo *Memo1 = nullptr;
  TListBox *ListBox1 = nullptr;
  TOpenDialog *OpenDialog1 = nullptr;

  void Button1Click(TObject *Sender);
  void Button2Click(TObject *Sender);
  void Button3Click(TObject *Sender);
  void Button4Click(TObject *Sender);
  void Button5Click(TObject *Sender);
  void Button6Click(TObject *Sender);
  void Button8Click(TObject *Sender);
  void CheckBox2Click(TObject *Sender);

  static void Register();

private:
  void Log(const std::string &line);
  int ShowMessageBox(const char *text, const char *caption, UINT flags);
};

// Every class the program's form data names, the framework's and the program's own.
void RegisterApplicationClasses();
