#include "app/mainform1.h"

#include "app/aboutbox.h"
#include "app/appseams.h"
#include "app/conversion.h"
#include "framework/gui/comobj.h"
#include "framework/gui/extctrls.h"
#include "skin/data/winskindata.h"
#include "skin/storage/winskinini.h"

#include <shlobj.h>

#include <vector>
// After windows.h, so that its RegisterClass macro renames the template consistently.
#include "framework/core/typinfo.h"

namespace {

const char kQuestionCaption[] = "   问题框";
const char kMessageCaption[] = "    消息框!";
const char kAskCreateFolder[] = "保存目录不存在，是否需要创建该目录？";
const char kCannotCreateFolder[] = "无法通过程序创建保存目录，请手动创建该目录或选择其它目录！!";
const char kListEmpty[] = "没有添加待处理的文档!";
const char kBadStartNumber[] = "开始编号数字格式不对,请输入正确的数字!";
const char kBlankBaseName[] = "请输入要更名的缺省文件名!";

const char kNoOffice[] = "系统没有安装Office软件，无法打印！";
const char kConverting[] = "正在转换文档...";
const char kDocument[] = "文档:\"";
const char kConverted[] = "\"转换成功!";
const char kFailed[] = "\"失败! 原因:";
const char kSystemError[] = "系统错误，请检查！";
const char kFinished[] = "文档转换结束,请到保存的路径中查看!";

const char kBrowseTitle[] = "请选择保存目录";
const char kHelpFile[] = "help.chm";

constexpr DWORD kPauseAfterDocument = 1000;

bool DirectoryExists(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The thread's enabled visible top-level windows, disabled while a system dialog is up.
class TaskWindowsDisabled {
public:
  TaskWindowsDisabled() {
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
    for (HWND window : windows_)
      EnableWindow(window, FALSE);
  }
  ~TaskWindowsDisabled() {
    for (HWND window : windows_)
      if (IsWindow(window))
        EnableWindow(window, TRUE);
  }
  TaskWindowsDisabled(const TaskWindowsDisabled &) = delete;
  TaskWindowsDisabled &operator=(const TaskWindowsDisabled &) = delete;

private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self) {
    if (IsWindowVisible(window) && IsWindowEnabled(window))
      reinterpret_cast<TaskWindowsDisabled *>(self)->windows_.push_back(window);
    return TRUE;
  }
  std::vector<HWND> windows_;
};

} // namespace

TMainForm::TMainForm(TComponent *owner) : TForm(owner) {
  ReadFormResource();
  Edit1->SetText(ProgramFolder() + "files");
  SetCaption("Kestrova");
}

void TMainForm::Log(const std::string &line) {
  Memo1->Lines()->Add(line);
}

int TMainForm::ShowMessageBox(const char *text, const char *caption, UINT flags) {
  return MessageBoxA(Handle(), text, caption, flags);
}

void TMainForm::Button1Click(TObject *) {
  if (!OpenDialog1->Execute())
    return;
  TStrings *files = OpenDialog1->Files();
  for (int i = 0; i < files->Count(); ++i)
    ListBox1->Items()->Add(files->Strings(i));
}

void TMainForm::Button2Click(TObject *) {
  ListBox1->Items()->Clear();
}

void TMainForm::Button3Click(TObject *) {
  // 1. The target folder: asked for and created (one level) when missing.
  const std::string folder = Edit1->Text();
  if (!DirectoryExists(folder)) {
    if (ShowMessageBox(kAskCreateFolder, kQuestionCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
      return;
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
      ShowMessageBox(kCannotCreateFolder, kMessageCaption, MB_OK | MB_ICONERROR);
      return;
    }
  }
  // 2, 3. A fresh log, and something to convert.
  Memo1->Lines()->Clear();
  if (ListBox1->Items()->Count() == 0) {
    ShowMessageBox(kListEmpty, kMessageCaption, MB_OK | MB_ICONERROR);
    return;
  }
  // 4. Word. Leaving this function releases it; only the end of a full run sends Quit.
  OleVariant word;
  try {
    word = CreateOleObject("Word.Application");
    word.Put("Visible", OleVariant(CheckBox1->Checked()));
  } catch (const Exception &) {
    Log(kNoOffice);
    return;
  }
  // 5, 6. Renaming is checked after Word has started, as the user sees it.
  int32_t startNumber = 1;
  if (CheckBox2->Checked()) {
    if (!TryStrToInt(Edit3->Text(), startNumber)) {
      ShowMessageBox(kBadStartNumber, kMessageCaption, MB_OK | MB_ICONERROR);
      return;
    }
    if (IsBlank(Edit2->Text())) {
      ShowMessageBox(kBlankBaseName, kMessageCaption, MB_OK | MB_ICONERROR);
      return;
    }
  }
  // 7, 8.
  Log(kConverting);
  const TTargetFormat format = TargetFormatOf(ComboBox1->Text());
  // 9. Each document in list order; a failure is logged and the run goes on.
  for (int index = 0; index < ListBox1->Items()->Count(); ++index) {
    const std::string source = ListBox1->Items()->Strings(index);
    // 64-bit, so that numbering past the top of the 32-bit range goes on counting instead of
    // wrapping round onto the names of earlier documents.
    const std::string target =
        CheckBox2->Checked() ? RenamedTargetPath(folder, Edit2->Text(),
                                                 int64_t{startNumber} + index, format.Extension)
                             : PlainTargetPath(folder, source, format.Extension);
    try {
      OleVariant documents = word.Get("Documents");
      documents.Call("Open",
                     {OleVariant(source), OleVariant(false), OleVariant(false), OleVariant(false)});
      OleVariant document = word.Get("ActiveDocument");
      document.Call("SaveAs", {OleVariant(target), OleVariant(format.Code)});
      Log(kDocument + source + kConverted);
    } catch (const Exception &e) {
      Log(kDocument + source + kFailed + e.Message());
    }
    AppPause(kPauseAfterDocument);
  }
  // 10, 11. Quit without saving what is still open.
  try {
    word.Call("Quit", {OleVariant(false)});
  } catch (const Exception &e) {
    Log(kSystemError + e.Message());
    return;
  }
  Log(kFinished);
}

void TMainForm::Button4Click(TObject *) {
  const std::string path = ProgramFolder() + kHelpFile;
  AppShellExecute(Handle(), "Open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TMainForm::Button5Click(TObject *) {
  Close();
}

void TMainForm::Button6Click(TObject *) {
  // Owned by this window, and gone again once closed: each click makes a new box.
  TAboutBox *box = new TAboutBox(this);
  try {
    box->ShowModal();
  } catch (...) {
    delete box;
    throw;
  }
  delete box;
}

void TMainForm::Button8Click(TObject *) {
  char displayName[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = Application->Handle();
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName;
  info.lpszTitle = kBrowseTitle;
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE chosen = nullptr;
  {
    TaskWindowsDisabled disabled;
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    chosen = SHBrowseForFolderA(&info);
    SetErrorMode(oldMode);
  }
  if (chosen == nullptr)
    return;
  char path[MAX_PATH] = {};
  const BOOL ok = SHGetPathFromIDListA(chosen, path);
  CoTaskMemFree(chosen);
  if (ok && path[0] != '\0')
    Edit1->SetText(path);
}

void TMainForm::CheckBox2Click(TObject *) {
  Edit2->SetEnabled(CheckBox2->Checked());
  Edit3->SetEnabled(CheckBox2->Checked());
}

void TMainForm::Register() {
  using F = TMainForm;
  RegisterClass<TMainForm, TForm>("TMainForm",
                                  {Published::Object("Label1", &F::Label1),
                                   Published::Object("Label2", &F::Label2),
                                   Published::Object("Label3", &F::Label3),
                                   Published::Object("Label4", &F::Label4),
                                   Published::Object("Label5", &F::Label5),
                                   Published::Object("Button1", &F::Button1),
                                   Published::Object("Button2", &F::Button2),
                                   Published::Object("Button3", &F::Button3),
                                   Published::Object("Button4", &F::Button4),
                                   Published::Object("Button5", &F::Button5),
                                   Published::Object("Button6", &F::Button6),
                                   Published::Object("Button8", &F::Button8),
                                   Published::Object("ComboBox1", &F::ComboBox1),
                                   Published::Object("CheckBox1", &F::CheckBox1),
                                   Published::Object("CheckBox2", &F::CheckBox2),
                                   Published::Object("Edit1", &F::Edit1),
                                   Published::Object("Edit2", &F::Edit2),
                                   Published::Object("Edit3", &F::Edit3),
                                   Published::Object("Memo1", &F::Memo1),
                                   Published::Object("ListBox1", &F::ListBox1),
                                   Published::Object("OpenDialog1", &F::OpenDialog1)},
                                  {Published::Method("Button1Click", &F::Button1Click),
                                   Published::Method("Button2Click", &F::Button2Click),
                                   Published::Method("Button3Click", &F::Button3Click),
                                   Published::Method("Button4Click", &F::Button4Click),
                                   Published::Method("Button5Click", &F::Button5Click),
                                   Published::Method("Button6Click", &F::Button6Click),
                                   Published::Method("Button8Click", &F::Button8Click),
                                   Published::Method("CheckBox2Click", &F::CheckBox2Click)});
}

void RegisterApplicationClasses() {
  RegisterControlClasses();
  RegisterForms();
  RegisterStdControls();
  RegisterExtControls();
  RegisterDialogs();
  RegisterSkinDataClasses();
  TMainForm::Register();
  TAboutBox::Register();
}
