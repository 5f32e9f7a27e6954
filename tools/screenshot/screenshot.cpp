// Pictures of the program for looking at: the main window, the About box, the open-file and
// folder dialogs and every message box of a scripted series of runs, each written as a BMP of
// what the screen shows. screenshot.sh runs it under Wine and turns the BMPs into PNGs.
//
//   kestrova_screenshot OUTPUT_FOLDER
#include "app/mainform1.h"
#include "tools/screenshot/capture.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The file list of an open-file dialog in its details view: columns under a header.
void ShowDetails(HWND dialog) {
  constexpr WPARAM kDetailsView = 0x702C; // the shell view's "Details" command
  if (HWND view = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr))
    SendMessageA(view, WM_COMMAND, kDetailsView, 0);
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: kestrova_screenshot OUTPUT_FOLDER\n");
    return 2;
  }
  setvbuf(stdout, nullptr, _IONBF, 0);
  SetCaptureFolder(argv[1]);
  TApplication application(nullptr);
  RegisterApplicationClasses();
  application.Initialize();
  application.SetTitle("Kestrova");
  TMainForm *form = application.CreateForm<TMainForm>();
  form->ShowForm();
  Settle();

  // Two documents to convert, in a scratch folder.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string scratch = std::string(temp) + "kestrova_screenshot";
  CreateDirectoryA(scratch.c_str(), nullptr);
  for (const char *name : {"\\季度报告.doc", "\\会议纪要.doc"}) {
    std::ofstream(scratch + name, std::ios::binary) << "document";
    form->ListBox1->Items()->Add(scratch + name);
  }
  Capture(form->Handle(), "mainform");

  Shoot([&] { form->Button6Click(form); }, {"aboutbox"}, IDOK);
  Shoot([&] { form->Button1Click(form); }, {"opendialog"}, IDCANCEL);
  Shoot([&] { form->Button8Click(form); }, {"folderbrowser"}, IDCANCEL);

  // Each message box of a run, one scripted run per box.
  form->Edit1->SetText(scratch + "\\missing");
  Shoot([&] { form->Button3Click(form); }, {"box-ask-create"}, IDNO);
  form->Edit1->SetText(scratch + "\\missing\\deeper");
  Shoot([&] { form->Button3Click(form); }, {"box-ask-create-deeper", "box-create-failed"}, IDYES);
  form->Edit1->SetText(scratch);
  form->CheckBox2->SetChecked(true);
  form->CheckBox2Click(form);
  form->Edit3->SetText("abc");
  Shoot([&] { form->Button3Click(form); }, {"box-start-number"}, IDOK);
  form->Edit3->SetText("1");
  form->Edit2->SetText("  ");
  Shoot([&] { form->Button3Click(form); }, {"box-base-name"}, IDOK);
  form->Edit2->SetText("稿件");
  TStrings *items = form->ListBox1->Items();
  std::vector<std::string> saved;
  for (int i = 0; i < items->Count(); ++i)
    saved.push_back(items->Strings(i));
  items->Clear();
  Shoot([&] { form->Button3Click(form); }, {"box-list-empty"}, IDOK);
  for (const std::string &s : saved)
    items->Add(s);

  // A whole run (with Word, or with the stand-in of the test prefix) and its log.
  form->Button3Click(form);
  Settle();
  Capture(form->Handle(), "mainform-after-run");

  // A long run: enough documents for the list and the log to scroll; the open-file dialog in
  // that folder, in its details view.
  for (int i = 1; i <= 40; ++i) {
    const std::string name = scratch + "\\文档" + std::to_string(i) + ".doc";
    std::ofstream(name, std::ios::binary) << "document";
    items->Add(name);
  }
  form->Button3Click(form);
  Settle();
  Capture(form->Handle(), "mainform-long-log");
  form->OpenDialog1->SetInitialDir(scratch);
  Shoot([&] { form->Button1Click(form); }, {"opendialog-details"}, IDCANCEL, ShowDetails);

  // The control states: the mouse over the help button and the combo box hot, then the About
  // button held down (pressed and focused).
  HWND help = form->Button4->Handle(), about = form->Button6->Handle();
  RECT helpRect;
  GetWindowRect(help, &helpRect);
  SetCursorPos(helpRect.left + 10, helpRect.top + 10);
  SendMessageA(help, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  form->ComboBox1->Perform(CM_MOUSEENTER, 0, 0);
  Settle();
  Capture(form->Handle(), "mainform-hot");
  SendMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  Settle();
  Capture(form->Handle(), "mainform-pressed");
  // Let go outside the button: no click.
  SendMessageA(about, WM_LBUTTONUP, 0, MAKELPARAM(-100, -100));
  Settle();
  return 0;
}
