// End to end: the real main window converts through the stand-in Word. Each scenario fills the
// window, clicks the start button, answers the message boxes and compares the boxes, the log
// lines, the server's journal, the pauses and the files written.
#include "tests/win/app/app_test_support.h"

#include "framework/gui/comobj.h"
#include "tests/fakes/fake_word.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const char kQuestion[] = "   问题框";
const char kMessage[] = "    消息框!";
const SeenBox kAskCreate{"保存目录不存在，是否需要创建该目录？", kQuestion,
                         MB_YESNO | MB_ICONQUESTION};
const SeenBox kCannotCreate{"无法通过程序创建保存目录，请手动创建该目录或选择其它目录！!", kMessage,
                            MB_OK | MB_ICONERROR};
const SeenBox kListEmpty{"没有添加待处理的文档!", kMessage, MB_OK | MB_ICONERROR};
const SeenBox kBadNumber{"开始编号数字格式不对,请输入正确的数字!", kMessage, MB_OK | MB_ICONERROR};
const SeenBox kBlankName{"请输入要更名的缺省文件名!", kMessage, MB_OK | MB_ICONERROR};

const char kNoOffice[] = "系统没有安装Office软件，无法打印！";
const char kConverting[] = "正在转换文档...";
const char kFinished[] = "文档转换结束,请到保存的路径中查看!";
const char kEarlierLog[] = "上一次的记录";
const char kTxt[] = "纯文本格式(*.txt)";
const char kWord[] = "Word文档(*.doc)";

// Expected texts name the scenario's folders as {in} (the sources) and {out} (Edit1's text).
std::string Expand(std::string text, const std::string &in, const std::string &out) {
  for (size_t at; (at = text.find("{in}")) != std::string::npos;)
    text.replace(at, 4, in);
  for (size_t at; (at = text.find("{out}")) != std::string::npos;)
    text.replace(at, 5, out);
  return text;
}

std::string Ok(const std::string &name) {
  return "文档:\"{in}\\" + name + "\"转换成功!";
}
std::string Failed(const std::string &name, const std::string &why) {
  return "文档:\"{in}\\" + name + "\"失败! 原因:" + why;
}

// The journal lines of one document, as the run's calls reach the server (GBK here).
std::vector<std::string> DocCalls(const std::string &name, const std::string &target, int code) {
  return {"Application.Documents get lcid=0800 ()",
          "Documents.Open method|get lcid=0800 (VT_BSTR \"{in}\\" + name +
              "\", VT_BOOL false, VT_BOOL false, VT_BOOL false)",
          "Application.ActiveDocument get lcid=0800 ()",
          "Document.SaveAs method|get lcid=0800 (VT_BSTR \"" + target + "\", VT_I4 " +
              std::to_string(code) + ")"};
}
std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto &p : parts)
    all.insert(all.end(), p.begin(), p.end());
  return all;
}
const std::vector<std::string> kStarted = {"Application created",
                                           "Application.Visible put lcid=0800 (VT_BOOL false)"};
const std::vector<std::string> kQuitAndRelease = {
    "Application.Quit method|get lcid=0800 (VT_BOOL false)", "Application released"};

struct Scenario {
  const char *name = "";
  std::vector<std::string> sources; // file names in {in}; each holds its own name as bytes
  std::string folder;               // Edit1: "{out}" and the like
  bool folderExists = true;
  std::vector<int> answers;
  std::string format = kWord;
  bool rename = false;
  std::string baseName = "缺省文档名";
  std::string startNumber = "1";
  const char *fail = nullptr;
  bool visible = false;
  // Expected:
  std::vector<SeenBox> boxes;
  std::vector<std::string> log;
  std::vector<std::string> journal;
  std::map<std::string, std::string> files; // target path -> "code:source name"
  bool folderCreated = false;
};

std::vector<Scenario> Scenarios() {
  std::vector<Scenario> s;
  {
    Scenario c;
    c.name = "plain names, plain text, same document twice, names without or with dots";
    c.sources = {"report.doc", "archive.v2.doc", "README", "report.doc"};
    c.folder = "{out}";
    c.format = kTxt;
    c.visible = true;
    c.log = {kConverting,  Ok("report.doc"), Ok("archive.v2.doc"),
             Ok("README"), Ok("report.doc"), kFinished};
    c.journal = Join({{"Application created", "Application.Visible put lcid=0800 (VT_BOOL true)"},
                      DocCalls("report.doc", "{out}\\report.txt", 2),
                      DocCalls("archive.v2.doc", "{out}\\archive.v2.txt", 2),
                      DocCalls("README", "{out}\\README.txt", 2),
                      DocCalls("report.doc", "{out}\\report.txt", 2),
                      kQuitAndRelease});
    c.files = {{"{out}\\report.txt", "2:report.doc"},
               {"{out}\\archive.v2.txt", "2:archive.v2.doc"},
               {"{out}\\README.txt", "2:README"}};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "renaming from 7; the failing second document uses up its number";
    c.sources = {"a.doc", "bFAIL.doc", "c.doc"};
    c.folder = "{out}";
    c.format = kTxt;
    c.rename = true;
    c.baseName = "稿件";
    c.startNumber = "7";
    c.log = {kConverting, Ok("a.doc"), Failed("bFAIL.doc", "测试服务器拒绝打开文档: bFAIL.doc"),
             Ok("c.doc"), kFinished};
    std::vector<std::string> failing = DocCalls("bFAIL.doc", "", 0);
    failing.resize(2); // Open refuses; nothing after it for that document
    c.journal = Join({kStarted, DocCalls("a.doc", "{out}\\稿件7.txt", 2), failing,
                      DocCalls("c.doc", "{out}\\稿件9.txt", 2), kQuitAndRelease});
    c.files = {{"{out}\\稿件7.txt", "2:a.doc"}, {"{out}\\稿件9.txt", "2:c.doc"}};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "negative start number, base name with blanks kept, format typed by hand";
    c.sources = {"a.doc", "b.doc", "c.doc"};
    c.folder = "{out}";
    c.format = "PDF文档(*.pdf)";
    c.rename = true;
    c.baseName = " 稿 ";
    c.startNumber = "-1";
    c.log = {kConverting, Ok("a.doc"), Ok("b.doc"), Ok("c.doc"), kFinished};
    c.journal = Join({kStarted, DocCalls("a.doc", "{out}\\ 稿 -1.doc", 0),
                      DocCalls("b.doc", "{out}\\ 稿 0.doc", 0),
                      DocCalls("c.doc", "{out}\\ 稿 1.doc", 0), kQuitAndRelease});
    c.files = {{"{out}\\ 稿 -1.doc", "0:a.doc"},
               {"{out}\\ 稿 0.doc", "0:b.doc"},
               {"{out}\\ 稿 1.doc", "0:c.doc"}};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "hexadecimal start number";
    c.sources = {"a.doc", "b.doc"};
    c.folder = "{out}";
    c.format = "RTF格式(*.rtf)";
    c.rename = true;
    c.baseName = "稿件";
    c.startNumber = "  0x10";
    c.log = {kConverting, Ok("a.doc"), Ok("b.doc"), kFinished};
    c.journal = Join({kStarted, DocCalls("a.doc", "{out}\\稿件16.rtf", 6),
                      DocCalls("b.doc", "{out}\\稿件17.rtf", 6), kQuitAndRelease});
    c.files = {{"{out}\\稿件16.rtf", "6:a.doc"}, {"{out}\\稿件17.rtf", "6:b.doc"}};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "a source name whose double-byte character ends in the byte of a backslash";
    c.sources = {"嘰要.doc"};
    c.folder = "{out}";
    c.format = kTxt;
    c.log = {kConverting, Ok("嘰要.doc"), kFinished};
    c.journal = Join({kStarted, DocCalls("嘰要.doc", "{out}\\嘰要.txt", 2), kQuitAndRelease});
    c.files = {{"{out}\\嘰要.txt", "2:嘰要.doc"}};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "numbering past the top of the 32-bit range goes on counting";
    c.sources = {"a.doc", "b.doc"};
    c.folder = "{out}";
    c.rename = true;
    c.baseName = "n";
    c.startNumber = "$7FFFFFFF";
    c.log = {kConverting, Ok("a.doc"), Ok("b.doc"), kFinished};
    c.journal = Join({kStarted, DocCalls("a.doc", "{out}\\n2147483647.doc", 0),
                      DocCalls("b.doc", "{out}\\n2147483648.doc", 0), kQuitAndRelease});
    c.files = {{"{out}\\n2147483647.doc", "0:a.doc"}, {"{out}\\n2147483648.doc", "0:b.doc"}};
    s.push_back(c);
  }
  for (const char *number : {"7 ", "abc", "", "-0x10"}) {
    Scenario c;
    c.name = "start number that is no integer: Word started, then the box, no Quit";
    c.sources = {"a.doc"};
    c.folder = "{out}";
    c.rename = true;
    c.startNumber = number;
    c.boxes = {kBadNumber};
    c.journal = Join({kStarted, {"Application released"}});
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "blank base name";
    c.sources = {"a.doc"};
    c.folder = "{out}";
    c.rename = true;
    c.baseName = " \t ";
    c.boxes = {kBlankName};
    c.journal = Join({kStarted, {"Application released"}});
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "missing folder answered No: nothing happens, the log stays";
    c.sources = {"a.doc"};
    c.folder = "{out}";
    c.folderExists = false;
    c.answers = {IDNO};
    c.boxes = {kAskCreate};
    c.log = {kEarlierLog};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "missing folder answered Yes: created, then converted into";
    c.sources = {"a.doc"};
    c.folder = "{out}";
    c.folderExists = false;
    c.answers = {IDYES};
    c.boxes = {kAskCreate};
    c.log = {kConverting, Ok("a.doc"), kFinished};
    c.journal = Join({kStarted, DocCalls("a.doc", "{out}\\a.doc", 0), kQuitAndRelease});
    c.files = {{"{out}\\a.doc", "0:a.doc"}};
    c.folderCreated = true;
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "only one level is created";
    c.sources = {"a.doc"};
    c.folder = "{out}\\deeper";
    c.folderExists = false;
    c.answers = {IDYES};
    c.boxes = {kAskCreate, kCannotCreate};
    c.log = {kEarlierLog};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "empty folder text counts as missing and cannot be created";
    c.sources = {"a.doc"};
    c.folder = "";
    c.answers = {IDYES};
    c.boxes = {kAskCreate, kCannotCreate};
    c.log = {kEarlierLog};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "empty list: the log is cleared, then the box, no Word";
    c.folder = "{out}";
    c.boxes = {kListEmpty};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "Word cannot be created";
    c.sources = {"a.doc"};
    c.folder = "{out}";
    c.fail = "create";
    c.log = {kNoOffice};
    c.journal = {"Application creation refused"};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "Word cannot be made (in)visible: released without Quit";
    c.sources = {"a.doc"};
    c.folder = "{out}";
    c.fail = "Visible";
    c.log = {kNoOffice};
    c.journal = Join({kStarted, {"Application released"}}); // the server logs the refused put
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "SaveAs failing for every document: each logged, the run goes on";
    c.sources = {"a.doc", "b.doc"};
    c.folder = "{out}";
    c.fail = "SaveAs";
    c.log = {kConverting, Failed("a.doc", "测试服务器模拟故障: SaveAs"),
             Failed("b.doc", "测试服务器模拟故障: SaveAs"), kFinished};
    c.journal = Join({kStarted, DocCalls("a.doc", "{out}\\a.doc", 0),
                      DocCalls("b.doc", "{out}\\b.doc", 0), kQuitAndRelease});
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "Quit failing: logged, no closing line";
    c.sources = {"a.doc"};
    c.folder = "{out}";
    c.fail = "Quit";
    c.log = {kConverting, Ok("a.doc"), "系统错误，请检查！测试服务器模拟故障: Quit"};
    c.journal =
        Join({kStarted,
              DocCalls("a.doc", "{out}\\a.doc", 0),
              {"Application.Quit method|get lcid=0800 (VT_BOOL false)", "Application released"}});
    c.files = {{"{out}\\a.doc", "0:a.doc"}};
    s.push_back(c);
  }
  return s;
}

std::string ReadBytes(const std::string &ansiPath) {
  std::ifstream in(fs::path(AnsiToWide(ansiPath)), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// UTF-8 (the journal) to the ANSI code page (the expectations).
std::string Utf8ToAnsi(const std::string &utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                                      static_cast<int>(utf8.size()), wide.data(),
                                                      static_cast<int>(wide.size()))));
  return WideToAnsi(wide.data(), wide.size());
}

class ConversionRun : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 936u) << "the test prefix must run with the GBK code page";
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    work_ = std::string(temp) + "kestrova_app_" + std::to_string(GetCurrentProcessId());
    fs::remove_all(work_);
    fs::create_directories(work_ + "\\in");
    journal_ = work_ + "\\journal.txt";
    SetEnvironmentVariableA("KESTROVA_FAKE_WORD_JOURNAL", journal_.c_str());
    form_ = new TMainForm(Application);
    form_->ShowForm();
    Pump();
  }
  void TearDown() override {
    delete form_;
    Pump();
    SetEnvironmentVariableA("KESTROVA_FAKE_WORD_JOURNAL", nullptr);
    SetEnvironmentVariableA("KESTROVA_FAKE_WORD_FAIL", nullptr);
    std::error_code ignored;
    fs::remove_all(work_, ignored);
  }

  std::vector<std::string> Journal() const {
    std::vector<std::string> lines;
    std::istringstream in(Utf8ToAnsi(ReadBytes(journal_)));
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < form_->Memo1->Lines()->Count(); ++i)
      lines.push_back(form_->Memo1->Lines()->Strings(i));
    return lines;
  }

  std::string work_, journal_;
  TMainForm *form_ = nullptr;
};

TEST_F(ConversionRun, ScenariosGiveTheirBoxesLogJournalAndFiles) {
  int round = 0;
  for (const Scenario &c : Scenarios()) {
    SCOPED_TRACE(c.name + std::string(" / start number '") + c.startNumber + "'");
    const std::string in = work_ + "\\in";
    const std::string out = work_ + "\\out" + std::to_string(++round);
    const std::string folder = Expand(c.folder, in, out);
    if (c.folderExists && !folder.empty())
      fs::create_directories(fs::path(AnsiToWide(folder)));
    fs::remove(fs::path(AnsiToWide(journal_)));
    SetEnvironmentVariableA("KESTROVA_FAKE_WORD_FAIL", c.fail);

    form_->ListBox1->Items()->Clear();
    for (const std::string &name : c.sources) {
      std::ofstream(fs::path(AnsiToWide(in + "\\" + name)), std::ios::binary) << name;
      form_->ListBox1->Items()->Add(in + "\\" + name);
    }
    form_->Edit1->SetText(folder);
    form_->ComboBox1->SetText(c.format);
    form_->CheckBox1->SetChecked(c.visible);
    form_->CheckBox2->SetChecked(c.rename);
    form_->Edit2->SetText(c.baseName);
    form_->Edit3->SetText(c.startNumber);
    form_->Memo1->Lines()->Clear();
    form_->Memo1->Lines()->Add(kEarlierLog);

    SeamRecorder seams;
    {
      MessageBoxAnswerer answerer(c.answers);
      form_->Button3->Click();
      ASSERT_EQ(answerer.seen.size(), c.boxes.size());
      for (size_t i = 0; i < c.boxes.size(); ++i) {
        EXPECT_EQ(answerer.seen[i].text, c.boxes[i].text) << "box " << i;
        EXPECT_EQ(answerer.seen[i].caption, c.boxes[i].caption) << "box " << i;
        EXPECT_EQ(answerer.seen[i].style, c.boxes[i].style) << "box " << i;
      }
    }
    std::vector<std::string> log;
    for (const std::string &line : c.log)
      log.push_back(Expand(line, in, out));
    EXPECT_EQ(LogLines(), log);
    std::vector<std::string> journal;
    for (const std::string &line : c.journal)
      journal.push_back(Expand(line, in, out));
    EXPECT_EQ(Journal(), journal);
    // One full pause after every document tried, none when the run stopped before them.
    const bool converted = !c.log.empty() && c.log.front() == kConverting;
    EXPECT_EQ(SeamRecorder::pauses,
              std::vector<DWORD>(converted ? c.sources.size() : 0, DWORD{1000}));

    if (!folder.empty()) {
      EXPECT_EQ(fs::is_directory(fs::path(AnsiToWide(folder))), c.folderExists || c.folderCreated);
    }
    size_t written = 0;
    if (!folder.empty() && fs::is_directory(fs::path(AnsiToWide(folder))))
      for (auto &entry : fs::directory_iterator(fs::path(AnsiToWide(folder)))) {
        (void)entry;
        ++written;
      }
    EXPECT_EQ(written, c.files.size());
    for (const auto &[target, what] : c.files) {
      const size_t colon = what.find(':');
      EXPECT_EQ(ReadBytes(Expand(target, in, out)),
                FakeWordTargetContent(std::stol(what.substr(0, colon)), what.substr(colon + 1)))
          << target;
    }
  }
}

// A drive root as the folder: a further backslash goes between it and the name, as typed.
TEST_F(ConversionRun, DriveRootFolderIsNotNormalised) {
  const std::string in = work_ + "\\in";
  std::ofstream(in + "\\kestrova_root_case.doc", std::ios::binary) << "root";
  form_->ListBox1->Items()->Add(in + "\\kestrova_root_case.doc");
  form_->Edit1->SetText("C:\\");
  SeamRecorder seams;
  MessageBoxAnswerer answerer({});
  form_->Button3->Click();
  EXPECT_TRUE(answerer.seen.empty());
  const std::vector<std::string> journal = Journal();
  ASSERT_GE(journal.size(), 6u);
  EXPECT_EQ(journal[5], "Document.SaveAs method|get lcid=0800 (VT_BSTR \"C:\\\\"
                        "kestrova_root_case.doc\", VT_I4 0)");
  EXPECT_EQ(ReadBytes("C:\\kestrova_root_case.doc"), FakeWordTargetContent(0, "root"));
  DeleteFileA("C:\\kestrova_root_case.doc");
}

// The run's own cost per document beyond the fixed pause, measured with the pause recorded
// instead of slept. The figure goes to the test output.
TEST_F(ConversionRun, OverheadPerDocumentStaysSmall) {
  const int count = 40;
  const std::string in = work_ + "\\in";
  fs::create_directories(work_ + "\\out");
  for (int i = 0; i < count; ++i) {
    const std::string path = in + "\\doc" + std::to_string(i) + ".doc";
    std::ofstream(path, std::ios::binary) << std::string(4096, 'x');
    form_->ListBox1->Items()->Add(path);
  }
  form_->Edit1->SetText(work_ + "\\out");
  SetEnvironmentVariableA("KESTROVA_FAKE_WORD_JOURNAL", nullptr);
  SeamRecorder seams;
  MessageBoxAnswerer answerer({});
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  form_->Button3->Click();
  QueryPerformanceCounter(&end);
  const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                    static_cast<double>(frequency.QuadPart);
  EXPECT_EQ(SeamRecorder::pauses.size(), static_cast<size_t>(count));
  ASSERT_EQ(form_->Memo1->Lines()->Count(), count + 2);
  EXPECT_EQ(form_->Memo1->Lines()->Strings(count + 1), kFinished);
  // The same calls made directly, to tell the stand-in's own cost from the run's.
  QueryPerformanceCounter(&start);
  {
    OleVariant word = CreateOleObject("Word.Application");
    word.Put("Visible", false);
    for (int i = 0; i < count; ++i) {
      const std::string name = "\\doc" + std::to_string(i);
      word.Get("Documents")
          .Call("Open", {OleVariant(in + name + ".doc"), OleVariant(false), OleVariant(false),
                         OleVariant(false)});
      word.Get("ActiveDocument")
          .Call("SaveAs", {OleVariant(work_ + "\\out" + name + ".doc"), OleVariant(0)});
    }
    word.Call("Quit", {OleVariant(false)});
  }
  QueryPerformanceCounter(&end);
  const double serverMs = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
  std::printf("run: %.2f ms per document beyond the pause (%d documents, %.1f ms); the same "
              "calls made directly: %.2f ms per document\n",
              ms / count, count, ms, serverMs / count);
  EXPECT_LT(ms / count, 50.0);
}

} // namespace
