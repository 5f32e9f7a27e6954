// The server under Wine, driven through automation as the conversion run drives Word: real
// LibreOffice conversions of documents that ship with Debian, every output read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "framework/gui/comobj.h"

namespace {

const char kProgId[] = "Kestrova.WordServer";
const char kErrorSource[] = "Kestrova Word";
// LibreOffice's own templates and python-docx's default document: text we did not write.
const char kCv[] = "Z:\\usr\\lib\\libreoffice\\share\\template\\common\\personal\\CV.ott";
const char kCard[] =
    "Z:\\usr\\lib\\libreoffice\\share\\template\\common\\offimisc\\Businesscard-with-logo.ott";
const char kEmptyDocx[] = "Z:\\usr\\lib\\python3\\dist-packages\\docx\\templates\\default.docx";
const char kCvText[] = "Joe Bloggs";

std::string ReadFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

void WriteFile(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class TempFolder {
public:
  TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "kestrova-word-test-" + std::to_string(GetCurrentProcessId()) +
            "-" + std::to_string(GetTickCount64());
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    std::string list = path_ + '\0';
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationA(&op);
  }
  std::string operator/(const std::string &name) const { return path_ + "\\" + name; }

private:
  std::string path_;
};

// LibreOffice processes of this machine that one of our servers started (their profile folder
// carries the bridge's prefix), read from the Unix side's process table.
int LibreOfficeProcesses() {
  int count = 0;
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
  if (find == INVALID_HANDLE_VALUE)
    return -1;
  do {
    if (entry.cFileName[0] < '1' || entry.cFileName[0] > '9')
      continue;
    const std::string cmdline =
        ReadFile(std::string("Z:\\proc\\") + entry.cFileName + "\\cmdline");
    if (cmdline.find("soffice") != std::string::npos &&
        cmdline.find("kestrova-word-") != std::string::npos)
      ++count;
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return count;
}

// Waits up to `seconds` for the count of LibreOffice processes to come down to `expected`.
int LibreOfficeProcessesAfter(int expected, int seconds) {
  int now = LibreOfficeProcesses();
  for (int i = 0; i < seconds * 10 && now != expected; ++i) {
    Sleep(100);
    now = LibreOfficeProcesses();
  }
  return now;
}

std::string WindowText(HWND window) {
  char text[MAX_PATH * 2] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

struct ComApartment {
  ComApartment() { CoInitialize(nullptr); }
  ~ComApartment() { CoUninitialize(); }
};

// Opens and saves as the conversion run does: Documents.Open(name, false, false, false), then
// ActiveDocument.SaveAs(target, code), positional arguments.
void Convert(const OleVariant &word, const std::string &source, const std::string &target,
             int code) {
  OleVariant documents = word.Get("Documents");
  documents.Call("Open", {OleVariant(source), OleVariant(false), OleVariant(false),
                          OleVariant(false)});
  OleVariant document = word.Get("ActiveDocument");
  document.Call("SaveAs", {OleVariant(target), OleVariant(code)});
}

// The failure a user reads in the run's log for converting `source`.
std::string FailureOf(const OleVariant &word, const std::string &source,
                      const std::string &target, int code) {
  try {
    Convert(word, source, target, code);
  } catch (const EOleException &e) {
    EXPECT_EQ(e.Source(), kErrorSource);
    return e.Message();
  }
  return "(no failure)";
}

// The text of a document as LibreOffice reads it back through the server: GBK, CR LF.
std::string TextThroughServer(const OleVariant &word, const std::string &path,
                              const std::string &scratch) {
  Convert(word, path, scratch, 2);
  return ReadFile(scratch);
}

// The HTML of a single-file web page: the first part, quoted-printable decoded; the number of
// the other parts that are base64 images with a Content-Location.
struct WebArchive {
  bool multipartRelated = false;
  std::string html;
  int images = 0;
};

WebArchive ReadWebArchive(const std::string &bytes) {
  WebArchive archive;
  const size_t type = bytes.find("Content-Type: multipart/related");
  const size_t b = bytes.find("boundary=\"");
  if (type == std::string::npos || b == std::string::npos)
    return archive;
  archive.multipartRelated = true;
  const std::string boundary = "--" + bytes.substr(b + 10, bytes.find('"', b + 10) - b - 10);
  size_t at = bytes.find(boundary, b + 10);
  while (at != std::string::npos) {
    const size_t start = at + boundary.size();
    if (bytes.compare(start, 2, "--") == 0)
      break;
    const size_t next = bytes.find(boundary, start);
    const std::string part = bytes.substr(start, next - start);
    const size_t bodyAt = part.find("\r\n\r\n");
    const std::string headers = part.substr(0, bodyAt), body = part.substr(bodyAt + 4);
    if (headers.find("Content-Type: text/html") != std::string::npos &&
        headers.find("quoted-printable") != std::string::npos) {
      for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '=') {
          archive.html += body[i];
        } else if (body.compare(i + 1, 2, "\r\n") == 0) {
          i += 2;
        } else {
          archive.html += static_cast<char>(std::stoi(body.substr(i + 1, 2), nullptr, 16));
          i += 2;
        }
      }
    } else if (headers.find("Content-Type: image/") != std::string::npos &&
               headers.find("base64") != std::string::npos &&
               headers.find("Content-Location: ") != std::string::npos) {
      ++archive.images;
    }
    at = next;
  }
  return archive;
}

class WordServer : public ::testing::Test {
protected:
  void SetUp() override {
    word = CreateOleObject(kProgId);
    word.Put("Visible", OleVariant(false));
  }
  void TearDown() override {
    if (!word.IsEmpty())
      word.Call("Quit", {OleVariant(false)});
  }
  ComApartment apartment;
  TempFolder folder;
  OleVariant word;
};

TEST_F(WordServer, EveryFormatOfTheTableReadsBack) {
  // What each output starts with, and whether LibreOffice reads it back to the source's text.
  const struct {
    int code;
    const char *extension;
    std::string magic;
    bool readBack;
  } formats[] = {
      {0, ".doc", "\xD0\xCF\x11\xE0", true},    {1, ".dot", "\xD0\xCF\x11\xE0", true},
      {6, ".rtf", "{\\rtf", true},              {8, ".htm", "", true},
      {11, ".xml", "<?xml", true},              {12, ".docx", "PK", true},
      {16, ".docx", "PK", true},                {23, ".odt", "PK", true},
      {17, ".pdf", "%PDF", false},              {10, ".html", "", true},
  };
  for (const auto &f : formats) {
    SCOPED_TRACE(f.code);
    const std::string target = folder / ("cv" + std::to_string(f.code) + f.extension);
    Convert(word, kCv, target, f.code);
    const std::string bytes = ReadFile(target);
    EXPECT_EQ(bytes.substr(0, f.magic.size()), f.magic);
    if (f.code == 11) {
      EXPECT_NE(bytes.find("w:wordDocument"), std::string::npos);
    }
    if (f.readBack) {
      EXPECT_NE(TextThroughServer(word, target, folder / "back.txt").find(kCvText),
                std::string::npos);
    }
  }
  // Single-file web page: the page and its logo in one MIME document.
  Convert(word, kCard, folder / "card.mht", 9);
  const WebArchive archive = ReadWebArchive(ReadFile(folder / "card.mht"));
  EXPECT_TRUE(archive.multipartRelated);
  EXPECT_NE(archive.html.find("<html"), std::string::npos);
  EXPECT_GE(archive.images, 1);
  Convert(word, kCv, folder / "cv.mht", 9);
  // The page's own lines may break between the two words.
  EXPECT_NE(ReadWebArchive(ReadFile(folder / "cv.mht")).html.find("Bloggs"), std::string::npos);
  // python-docx's empty default document converts too.
  Convert(word, kEmptyDocx, folder / "empty.doc", 0);
  EXPECT_EQ(ReadFile(folder / "empty.doc").substr(0, 4), "\xD0\xCF\x11\xE0");
}

TEST_F(WordServer, PlainTextIsTheAnsiCodePageWithCrLf) {
  ASSERT_EQ(GetACP(), 936u);
  // A document with Chinese text: RTF with Unicode escapes for 稿件 and 一.
  const std::string source = folder / "chinese.rtf";
  WriteFile(source, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 \\u31295?\\u20214? one\\par "
                    "\\u19968? two\\par}");
  const std::string target = folder / "chinese.txt";
  Convert(word, source, target, 2);
  const std::string text = ReadFile(target);
  EXPECT_NE(text.find("稿件 one\r\n一 two"), std::string::npos) << text;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') {
      EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "a bare line feed at " << i;
    }
  Convert(word, kCv, folder / "cv.txt", 2);
  EXPECT_NE(ReadFile(folder / "cv.txt").find(kCvText), std::string::npos);
  // Unicode text: UTF-16 with its byte order mark.
  Convert(word, source, folder / "chinese-unicode.txt", 7);
  EXPECT_EQ(ReadFile(folder / "chinese-unicode.txt").substr(0, 2), "\xFF\xFE");
}

TEST_F(WordServer, FailuresAreExceptionsAndTheNextDocumentConverts) {
  WriteFile(folder / "corrupt.doc", std::string(4096, '\x01') + "\xD0\xCF\x11\xE0 not a document");
  const std::string good = folder / "good.doc";
  const struct {
    std::string source, target;
    int code;
    const char *expected;
  } failures[] = {
      {folder / "missing.doc", folder / "missing.txt", 0, "文件不存在："},
      {folder / "corrupt.doc", folder / "corrupt.txt", 2, "无法把文件作为文档读取"},
      // sysfs: a folder where nobody, not even root, can create a file.
      {kCv, "Z:\\sys\\cv.doc", 0, "无法保存文件"},
      {kCv, folder / "cv.docm", 13, "不支持的文件格式代码 13"},
  };
  for (const auto &f : failures) {
    SCOPED_TRACE(f.expected);
    const std::string message = FailureOf(word, f.source, f.target, f.code);
    EXPECT_EQ(message.rfind(f.expected, 0), 0u) << message;
    DeleteFileA(good.c_str());
    Convert(word, kCv, good, 0);
    EXPECT_EQ(ReadFile(good).substr(0, 4), "\xD0\xCF\x11\xE0");
  }
}

// Raw IDispatch calls with named arguments, as scripting clients make them.
HRESULT InvokeNamed(IDispatch *object, const wchar_t *member,
                    std::initializer_list<std::pair<const wchar_t *, VARIANT>> args,
                    VARIANT *result) {
  std::vector<LPOLESTR> names{const_cast<LPOLESTR>(member)};
  for (const auto &arg : args)
    names.push_back(const_cast<LPOLESTR>(arg.first));
  std::vector<DISPID> ids(names.size());
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                     LOCALE_SYSTEM_DEFAULT, ids.data());
  if (FAILED(hr))
    return hr;
  std::vector<VARIANT> values;
  for (const auto &arg : args)
    values.push_back(arg.second);
  DISPPARAMS params{values.data(), ids.data() + 1, static_cast<UINT>(values.size()),
                    static_cast<UINT>(values.size())};
  EXCEPINFO excep{};
  UINT argError = 0;
  hr = object->Invoke(ids[0], IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, result,
                      &excep, &argError);
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  return hr;
}

VARIANT Text(const wchar_t *text) {
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(text);
  return v;
}

VARIANT Number(long n) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}

TEST_F(WordServer, ObjectModelAsClientsUseIt) {
  EXPECT_EQ(word.Get("version").AsString(), "16.0");
  EXPECT_FALSE(word.Get("VISIBLE").AsBoolean());
  OleVariant documents = word.Get("documents");
  EXPECT_EQ(documents.Get("Count").AsInteger(), 0);
  documents.Call("open", {OleVariant(std::string(kCv))});
  documents.Call("Open", {OleVariant(std::string(kEmptyDocx)), OleVariant(false),
                          OleVariant(true), OleVariant(false), OleVariant(""), OleVariant(""),
                          OleVariant(false)});
  EXPECT_EQ(documents.Get("Count").AsInteger(), 2);
  EXPECT_EQ(word.Get("ActiveDocument").Get("Name").AsString(), "default.docx");
  OleVariant cv = documents.Call("Item", {OleVariant(1)});
  EXPECT_EQ(cv.Get("FullName").AsString(), kCv);
  EXPECT_EQ(documents.Call("Item", {OleVariant("cv.ott")}).Get("Name").AsString(), "CV.ott");

  // Named arguments, in any order and case, SaveAs2 as SaveAs.
  const std::wstring target = AnsiToWide(folder / "named.rtf");
  VARIANT name = Text(target.c_str());
  VARIANT result;
  VariantInit(&result);
  IDispatch *cvObject = cv.Raw().pdispVal;
  EXPECT_EQ(InvokeNamed(cvObject, L"SaveAs2", {{L"fileformat", Number(6)}, {L"FileName", name}},
                        &result),
            S_OK);
  VariantClear(&name);
  EXPECT_EQ(ReadFile(folder / "named.rtf").substr(0, 5), "{\\rtf");
  EXPECT_EQ(cv.Get("FullName").AsString(), folder / "named.rtf");
  VARIANT nobody = Text(L"x");
  EXPECT_EQ(InvokeNamed(cvObject, L"SaveAs", {{L"NoSuchArgument", nobody}}, &result),
            DISP_E_UNKNOWNNAME);
  VariantClear(&nobody);

  // The errors automation clients expect.
  const struct {
    std::function<void()> call;
    HRESULT expected;
  } errors[] = {
      {[&] { word.Get("NoSuchMember"); }, DISP_E_UNKNOWNNAME},
      {[&] { word.Put("Visible", OleVariant("neither")); }, DISP_E_TYPEMISMATCH},
      {[&] { cv.Call("SaveAs", {OleVariant(folder / "x.doc"), OleVariant("doc")}); },
       DISP_E_TYPEMISMATCH},
      {[&] { documents.Call("Open"); }, DISP_E_PARAMNOTOPTIONAL},
      {[&] { word.Call("Quit", {OleVariant(false), OleVariant(false), OleVariant(false),
                                OleVariant(false)}); },
       DISP_E_BADPARAMCOUNT},
      {[&] { documents.Call("Item", {OleVariant(3)}); }, DISP_E_EXCEPTION},
  };
  for (const auto &e : errors) {
    try {
      e.call();
      ADD_FAILURE() << "no error, expected " << std::hex << e.expected;
    } catch (const EOleException &error) {
      EXPECT_EQ(static_cast<unsigned long>(error.ErrorCode() == E_FAIL ? DISP_E_EXCEPTION
                                                                         : error.ErrorCode()),
                static_cast<unsigned long>(e.expected))
          << error.Message();
    }
  }

  cv.Call("Close", {OleVariant(false)});
  EXPECT_EQ(documents.Get("Count").AsInteger(), 1);
  EXPECT_THROW(cv.Call("SaveAs", {OleVariant(folder / "closed.doc")}), EOleException);
}

std::vector<std::string> ListItems(HWND list) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[MAX_PATH * 2] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(WideToAnsi(text, wcslen(text)));
  }
  return items;
}

TEST_F(WordServer, VisibleShowsTheServerWindowWithItsDocuments) {
  HWND window = FindWindowA("KestrovaWordServer", nullptr);
  EXPECT_TRUE(window == nullptr || !IsWindowVisible(window)) << "nothing shows while invisible";
  word.Put("Visible", OleVariant(true));
  EXPECT_TRUE(word.Get("Visible").AsBoolean());
  window = FindWindowA("KestrovaWordServer", nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  OleVariant documents = word.Get("Documents");
  documents.Call("Open", {OleVariant(std::string(kCv))});
  documents.Call("Open", {OleVariant(std::string(kEmptyDocx))});
  HWND list = FindWindowExA(window, nullptr, "LISTBOX", nullptr);
  EXPECT_EQ(ListItems(list), (std::vector<std::string>{kCv, kEmptyDocx}));
  HWND status = FindWindowExA(window, nullptr, "STATIC", nullptr);
  EXPECT_EQ(WindowText(status), std::string("已打开 ") + kEmptyDocx);
  word.Get("ActiveDocument").Call("Close");
  EXPECT_EQ(ListItems(list), (std::vector<std::string>{kCv}));
  word.Put("Visible", OleVariant(false));
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST(WordServerLifetime, QuitWithDocumentsOpenEndsLibreOffice) {
  ComApartment apartment;
  const int before = LibreOfficeProcesses();
  OleVariant word = CreateOleObject(kProgId);
  word.Get("Documents").Call("Open", {OleVariant(std::string(kCv))});
  EXPECT_EQ(LibreOfficeProcesses(), before + 1);
  word.Call("Quit", {OleVariant(false)});
  EXPECT_EQ(LibreOfficeProcessesAfter(before, 20), before);
  EXPECT_THROW(word.Get("Documents"), EOleException);
}

// Run in a process of its own by the next test: a client that dies holding the Application.
TEST(WordServerLifetime, DISABLED_ClientThatDies) {
  CoInitialize(nullptr);
  OleVariant word = CreateOleObject(kProgId);
  word.Get("Documents").Call("Open", {OleVariant(std::string(kCv))});
  TerminateProcess(GetCurrentProcess(), 3);
}

TEST(WordServerLifetime, ClientThatDiesLeavesNoLibreOfficeBehind) {
  const int before = LibreOfficeProcesses();
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self +
                        "\" --gtest_also_run_disabled_tests "
                        "--gtest_filter=WordServerLifetime.DISABLED_ClientThatDies";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &child));
  WaitForSingleObject(child.hProcess, 120000);
  DWORD code = 0;
  GetExitCodeProcess(child.hProcess, &code);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  ASSERT_EQ(code, 3u) << "the client died before it had LibreOffice started";
  EXPECT_EQ(LibreOfficeProcessesAfter(before, 20), before);
}

} // namespace

namespace {

const char kOurClsid[] = "{CB9EC96C-5A5B-428B-9863-F0CCD898448B}";
const char kOtherClsid[] = "{5D1F7D44-1E3C-4F0B-A1E2-3C4D5E6F7081}";
const char kContested[] = "Kestrova.Test.Contested";

std::string ClassesValue(const std::string &key) {
  char value[256] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, ("Software\\Classes\\" + key).c_str(), nullptr,
                   RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return "(none)";
  return value;
}

void SetClassesValue(const std::string &key, const std::string &value) {
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, ("Software\\Classes\\" + key).c_str(), nullptr, REG_SZ,
                  value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void DeleteClassesKey(const std::string &key) {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, ("Software\\Classes\\" + key).c_str());
}

// Runs the server beside the tests with `arguments`; its exit code.
DWORD RunServer(const std::string &arguments) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self);
  path = path.substr(0, path.find_last_of('\\')) + "\\..\\bin\\KestrovaWord.exe";
  std::string command = "\"" + path + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return ~0u;
  WaitForSingleObject(info.hProcess, 60000);
  DWORD code = ~0u;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return code;
}

class Registration : public ::testing::Test {
protected:
  void TearDown() override {
    DeleteClassesKey(kContested);
    DeleteClassesKey(std::string("CLSID\\") + kOtherClsid);
    // The other tests find the server by its own ProgID.
    RunServer("/regserver /progid Kestrova.WordServer");
  }
  const std::string progIdClsid = std::string(kContested) + "\\CLSID";
};

TEST_F(Registration, AnotherServerKeepsItsProgIdUnlessForced) {
  SetClassesValue(progIdClsid, kOtherClsid);
  SetClassesValue(std::string("CLSID\\") + kOtherClsid + "\\LocalServer32", "C:\\other.exe");
  EXPECT_EQ(RunServer(std::string("/regserver /progid ") + kContested), 3u);
  EXPECT_EQ(ClassesValue(progIdClsid), kOtherClsid);
  EXPECT_EQ(ClassesValue("Kestrova.WordServer\\CLSID"), kOurClsid);

  EXPECT_EQ(RunServer(std::string("/unregserver /progid ") + kContested), 0u);
  EXPECT_EQ(ClassesValue(progIdClsid), kOtherClsid) << "not ours: left alone";
  EXPECT_EQ(ClassesValue(std::string("CLSID\\") + kOurClsid + "\\LocalServer32"), "(none)");

  EXPECT_EQ(RunServer(std::string("/regserver /force /progid ") + kContested), 0u);
  EXPECT_EQ(ClassesValue(progIdClsid), kOurClsid);
  EXPECT_EQ(RunServer(std::string("/unregserver /progid ") + kContested), 0u);
  EXPECT_EQ(ClassesValue(progIdClsid), "(none)");
  EXPECT_EQ(ClassesValue("Kestrova.WordServer\\CLSID"), "(none)");
}

TEST_F(Registration, FreeOrAbandonedProgIdIsTaken) {
  EXPECT_EQ(RunServer(std::string("/regserver /progid ") + kContested), 0u);
  EXPECT_EQ(ClassesValue(progIdClsid), kOurClsid);
  // A class whose server is gone (a removed program's leftovers) holds nothing.
  SetClassesValue(progIdClsid, kOtherClsid);
  EXPECT_EQ(RunServer(std::string("/regserver /progid ") + kContested), 0u);
  EXPECT_EQ(ClassesValue(progIdClsid), kOurClsid);
  const std::string server = ClassesValue(std::string("CLSID\\") + kOurClsid + "\\LocalServer32");
  EXPECT_NE(server.find("KestrovaWord.exe\""), std::string::npos) << server;
}

TEST_F(Registration, StandInWordKeepsWordApplication) {
  const std::string before = ClassesValue("Word.Application\\CLSID");
  ASSERT_NE(before, "(none)") << "the stand-in Word is registered for these tests";
  EXPECT_EQ(RunServer("/regserver"), 3u);
  EXPECT_EQ(ClassesValue("Word.Application\\CLSID"), before);
  EXPECT_EQ(RunServer("/bogus"), 2u);
}

} // namespace
