// The automation helper against the stand-in "Word.Application" server: what reaches the server
// for each call of the conversion run, and how failures come back.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/gui/comobj.h"
#include "tests/fakes/fake_word.h"

namespace {

std::string U8(const char8_t *text) {
  return reinterpret_cast<const char *>(text);
}

// UTF-8 of ANSI text, by the system's own conversion (the journal is UTF-8).
std::string AnsiToUtf8(const std::string &ansi) {
  std::wstring wide(ansi.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                          static_cast<int>(wide.size()))));
  std::string utf8(wide.size() * 3, '\0');
  utf8.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

std::string ReadFileBytes(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class AutomationTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 936u) << "the test prefix must run with the GBK code page";
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::string(temp) + "kestrova_com_" + info->name() + "_" +
              std::to_string(GetCurrentProcessId());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    journal_ = folder_ + "\\journal.txt";
    SetEnvironmentVariableA("KESTROVA_FAKE_WORD_JOURNAL", journal_.c_str());
    SetEnvironmentVariableA("KESTROVA_FAKE_WORD_FAIL", nullptr);
  }

  void TearDown() override {
    SetEnvironmentVariableA("KESTROVA_FAKE_WORD_JOURNAL", nullptr);
    SetEnvironmentVariableA("KESTROVA_FAKE_WORD_FAIL", nullptr);
    CoUninitialize();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // A source document in the test folder; `name` is GBK text.
  std::string Source(const std::string &name, const std::string &bytes) {
    std::string path = folder_ + "\\" + name;
    std::ofstream(std::filesystem::path(AnsiToWide(path)), std::ios::binary) << bytes;
    return path;
  }

  std::vector<std::string> Journal() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileBytes(journal_));
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }

  std::string LastJournalLine() const {
    std::vector<std::string> lines = Journal();
    return lines.empty() ? std::string() : lines.back();
  }

  static void FailOn(const char *members) {
    SetEnvironmentVariableA("KESTROVA_FAKE_WORD_FAIL", members);
  }

  std::string folder_;
  std::string journal_;
};

// The calls of one conversion, made as the run makes them, arrive exactly so at the server.
TEST_F(AutomationTest, ConversionCallsReachTheServerAsSent) {
  const std::string content = "source bytes\r\n\x01\xff";
  std::string source = Source("报告 1.doc", content);
  std::string target = folder_ + "\\稿件9.txt";
  {
    OleVariant word = CreateOleObject("Word.Application");
    word.Put("Visible", false);
    {
      OleVariant documents = word.Get("Documents");
      documents.Call("Open", {source, false, false, false});
      OleVariant document = word.Get("ActiveDocument");
      document.Call("SaveAs", {target, std::int32_t{2}});
    }
    word.Call("Quit", {false});
  }

  std::string folder = AnsiToUtf8(folder_);
  std::vector<std::string> expected = {
      "Application created",
      "Application.Visible put lcid=0800 (VT_BOOL false)",
      "Application.Documents get lcid=0800 ()",
      "Documents.Open method|get lcid=0800 (VT_BSTR \"" + folder + U8(u8"\\报告 1.doc") +
          "\", VT_BOOL false, VT_BOOL false, VT_BOOL false)",
      "Application.ActiveDocument get lcid=0800 ()",
      "Document.SaveAs method|get lcid=0800 (VT_BSTR \"" + folder + U8(u8"\\稿件9.txt") +
          "\", VT_I4 2)",
      "Application.Quit method|get lcid=0800 (VT_BOOL false)",
      // Only once every reference the helper took has been given back.
      "Application released",
  };
  EXPECT_EQ(Journal(), expected);
  std::filesystem::path written = std::filesystem::path(AnsiToWide(folder_)) / L"稿件9.txt";
  EXPECT_EQ(ReadFileBytes(written), FakeWordTargetContent(2, content));
}

// Every kind of value the helper passes, with the edges that a careless conversion breaks.
TEST_F(AutomationTest, ArgumentValuesArriveUnchanged) {
  std::string source = Source("a.doc", "x");
  OleVariant word = CreateOleObject("Word.Application");
  OleVariant documents = word.Get("documents"); // names are looked up without regard to case
  documents.Call("Open", {source, true, false, true, std::string(), std::string("稿\"<\t"),
                          std::int32_t{INT_MIN}, std::int32_t{INT_MAX}, std::wstring(L"w\u00e9"),
                          "", std::int32_t{-1}});
  std::vector<std::string> journal = Journal();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_EQ(journal[2], "Documents.Open method|get lcid=0800 (VT_BSTR \"" + AnsiToUtf8(source) +
                            "\", VT_BOOL true, VT_BOOL false, VT_BOOL true, VT_BSTR \"\", " +
                            U8(u8"VT_BSTR \"稿<U+0022><U+003C><U+0009>\", ") +
                            "VT_I4 -2147483648, VT_I4 2147483647, " + U8(u8"VT_BSTR \"wé\", ") +
                            "VT_BSTR \"\", VT_I4 -1)");

  // A property read comes back through the same conversions.
  word.Put("Visible", true);
  EXPECT_TRUE(word.Get("Visible").AsBoolean());
  word.Put("Visible", false);
  EXPECT_FALSE(word.Get("Visible").AsBoolean());
  EXPECT_EQ(LastJournalLine(), "Application.Visible get lcid=0800 ()");
}

// A failing call surfaces as the common exception carrying the server's own message, whether
// the server fills in the description at once or through its deferred fill-in.
TEST_F(AutomationTest, FailuresCarryTheServersMessage) {
  enum Step { kVisible, kOpen, kActiveDocument, kSaveAs, kQuit };
  struct Case {
    const char *failSwitch;
    const char *sourceName;
    bool createSource;
    bool skipOpen;
    Step failingStep;
    long code;
    std::string message;
  } cases[] = {
      {"Visible", "a.doc", true, false, kVisible, kFakeWordSimulated,
       "测试服务器模拟故障: Visible"},
      {nullptr, "草稿FAIL.doc", true, false, kOpen, kFakeWordOpenRefused,
       "测试服务器拒绝打开文档: 草稿FAIL.doc"},
      {nullptr, "missing.doc", false, false, kOpen, kFakeWordFileNotFound, ""},
      {nullptr, "a.doc", true, true, kActiveDocument, kFakeWordNoDocument, "没有打开的文档"},
      {"saveas", "a.doc", true, false, kSaveAs, kFakeWordSimulated, "测试服务器模拟故障: SaveAs"},
      // Whole names only, in any case, blanks around them ignored.
      {"Visibl, QUIT ", "a.doc", true, false, kQuit, kFakeWordSimulated,
       "测试服务器模拟故障: Quit"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.sourceName + std::string(" / ") + (c.failSwitch ? c.failSwitch : "-"));
    FailOn(c.failSwitch);
    std::string source = c.createSource ? Source(c.sourceName, "x") : folder_ + "\\" + c.sourceName;
    std::string expectedMessage = c.message.empty() ? "找不到文件: " + source : c.message;
    int reached = -1;
    try {
      OleVariant word = CreateOleObject("Word.Application");
      reached = kVisible;
      word.Put("Visible", true);
      reached = kOpen;
      if (!c.skipOpen)
        word.Get("Documents").Call("Open", {source, false, false, false});
      reached = kActiveDocument;
      OleVariant document = word.Get("ActiveDocument");
      reached = kSaveAs;
      document.Call("SaveAs", {folder_ + "\\out.rtf", std::int32_t{6}});
      reached = kQuit;
      word.Call("Quit", {false});
      ADD_FAILURE() << "no step failed";
    } catch (const EOleException &e) {
      EXPECT_EQ(reached, c.failingStep);
      EXPECT_EQ(e.Message(), expectedMessage);
      EXPECT_EQ(e.ErrorCode(), c.code);
      EXPECT_EQ(e.Source(), "Kestrova test server");
      // Everything is released even when a call throws half way.
      EXPECT_EQ(LastJournalLine(), "Application released");
    }
  }
}

TEST_F(AutomationTest, CreationFailuresAreClear) {
  try {
    CreateOleObject("Kestrova.NoSuchServer");
    ADD_FAILURE() << "an unknown ProgID was created";
  } catch (const EOleException &e) {
    EXPECT_EQ(e.ErrorCode(), CO_E_CLASSSTRING);
    EXPECT_NE(e.Message().find("Kestrova.NoSuchServer"), std::string::npos) << e.Message();
  }

  FailOn("create");
  try {
    CreateOleObject("Word.Application");
    ADD_FAILURE() << "creation was refused by the server but succeeded";
  } catch (const EOleException &e) {
    EXPECT_EQ(e.ErrorCode(), CO_E_SERVER_EXEC_FAILURE);
    EXPECT_NE(e.Message().find("Word.Application"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(Journal(), std::vector<std::string>{"Application creation refused"});
}

// Faults on the caller's side: each ends as the common exception, never as a crash.
TEST_F(AutomationTest, MisusedCallsRaiseTheException) {
  OleVariant word = CreateOleObject("Word.Application");
  struct Case {
    const char *what;
    std::function<void()> call;
    HRESULT code;
    const char *inMessage;
  } cases[] = {
      {"unknown member", [&] { word.Call("PrintOut"); }, DISP_E_UNKNOWNNAME, "PrintOut"},
      {"not an object", [] { OleVariant(std::int32_t{5}).Get("Documents"); }, DISP_E_TYPEMISMATCH,
       "automation object"},
      {"empty value", [] { OleVariant().Call("Quit", {false}); }, DISP_E_TYPEMISMATCH,
       "automation object"},
      {"wrong argument type", [&] { word.Put("Visible", "maybe"); }, DISP_E_TYPEMISMATCH,
       "Visible, argument 1"},
      {"missing argument", [&] { word.Get("Documents").Call("Open"); }, DISP_E_PARAMNOTFOUND,
       "Open"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.call();
      ADD_FAILURE() << "no exception";
    } catch (const EOleException &e) {
      EXPECT_EQ(e.ErrorCode(), c.code);
      EXPECT_NE(e.Message().find(c.inMessage), std::string::npos) << e.Message();
    }
  }

  // After Quit the instance is gone; a call on it fails instead of reaching a dead server.
  word.Call("Quit", {false});
  EXPECT_THROW(word.Get("Documents"), EOleException);
}

} // namespace
