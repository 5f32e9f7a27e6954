// End to end: the real main window converts a folder of documents with renaming through the
// real server, registered as "Word.Application" in a prefix of its own (the test prefix's
// "Word.Application" is the stand-in Word). Optionally leaves a picture of the main window.
#include "tests/win/app/app_test_support.h"

#include "framework/gui/comobj.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const char kTemplates[] = "Z:\\usr\\lib\\libreoffice\\share\\template\\common\\";

std::string ReadBytes(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The window as it is on the screen, as a 24-bit BMP.
void SaveWindowPicture(HWND window, const std::string &path) {
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void *bits = nullptr;
  HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, picture);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
  const DWORD size = stride * static_cast<DWORD>(height);
  const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  BITMAPFILEHEADER file{0x4D42, headers + size, 0, 0, headers};
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(&file), sizeof file);
  out.write(reinterpret_cast<const char *>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char *>(bits), size);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

TEST(RealWordServer, MainWindowConvertsAFolderWithRenaming) {
  ASSERT_EQ(GetACP(), 936u);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string work = std::string(temp) + "kestrova_real_" + std::to_string(GetCurrentProcessId());
  const std::string in = work + "\\in", out = work + "\\out";
  fs::remove_all(work);
  fs::create_directories(in);
  fs::create_directories(out);
  const std::pair<const char *, std::string> sources[] = {
      {"personal\\CV.ott", "简历.ott"},
      {"officorr\\Modern_business_letter_serif.ott", "letter.ott"},
      {"offimisc\\Businesscard-with-logo.ott", "名片.ott"},
  };
  TMainForm form(Application);
  form.ShowForm();
  Pump();
  for (const auto &[from, name] : sources) {
    fs::copy_file(std::string(kTemplates) + from, fs::path(AnsiToWide(in + "\\" + name)));
    form.ListBox1->Items()->Add(in + "\\" + name);
  }
  std::ofstream(in + "\\broken.doc", std::ios::binary) << std::string(3000, '\x07');
  form.ListBox1->Items()->Insert(2, in + "\\broken.doc");
  form.Edit1->SetText(out);
  form.ComboBox1->SetText("Word文档(*.doc)");
  form.CheckBox1->SetChecked(true);
  form.CheckBox2->SetChecked(true);
  form.Edit2->SetText("稿件");
  form.Edit3->SetText("1");
  {
    SeamRecorder seams; // the pause after each document is recorded, not slept
    MessageBoxAnswerer answerer({});
    form.Button3->Click();
    EXPECT_TRUE(answerer.seen.empty());
  }
  Pump();
  std::vector<std::string> log;
  for (int i = 0; i < form.Memo1->Lines()->Count(); ++i)
    log.push_back(form.Memo1->Lines()->Strings(i));
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[0], "正在转换文档...");
  EXPECT_EQ(log[1], "文档:\"" + in + "\\简历.ott\"转换成功!");
  EXPECT_EQ(log[2], "文档:\"" + in + "\\letter.ott\"转换成功!");
  EXPECT_EQ(log[3].rfind("文档:\"" + in + "\\broken.doc\"失败! 原因:无法把文件作为文档读取", 0), 0u)
      << log[3];
  EXPECT_EQ(log[4], "文档:\"" + in + "\\名片.ott\"转换成功!");
  EXPECT_EQ(log[5], "文档转换结束,请到保存的路径中查看!");
  // The failed document used up its number, as the run numbers by list position.
  for (const char *name : {"稿件1.doc", "稿件2.doc", "稿件4.doc"})
    EXPECT_EQ(ReadBytes(fs::path(AnsiToWide(out + "\\" + name))).substr(0, 4), "\xD0\xCF\x11\xE0")
        << name;
  EXPECT_FALSE(fs::exists(fs::path(AnsiToWide(out + "\\稿件3.doc"))));

  char picture[MAX_PATH] = {};
  if (GetEnvironmentVariableA("KESTROVA_WORDSERVER_PICTURE", picture, MAX_PATH) > 0) {
    SetForegroundWindow(form.Handle());
    Pump();
    Sleep(300);
    Pump();
    SaveWindowPicture(form.Handle(), picture);
  }
  std::error_code ignored;
  fs::remove_all(work, ignored);
}

} // namespace
