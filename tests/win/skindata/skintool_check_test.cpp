// skintool check: the object model's view of a skin file, with its warnings.
#include "skin_fixture.h"

#include "tools/skintool/skintool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

using namespace skintest;

namespace {

std::string WriteTemp(const char *name, const std::vector<uint8_t> &bytes) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + name;
  FILE *f = std::fopen(path.c_str(), "wb");
  if (f != nullptr) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  return path;
}

} // namespace

TEST(SkinToolCheck, ReportsElementsAndWhatWillDrawBadly) {
  SkinPackage p;
  p.ini = R"([TitlebarSkin]
SkinName=Check
[Personality]
Top=top.bmp
TopFrame=0
[ToolBars]
Image=tb.bmp
[Scrollbar]
Image=sb.bmp
Frame=10
[MenuItem]
Image=missing.bmp
[Tabs]
Image=tabs.png
[Button.Radio]
Image=tb.bmp
[Layout0]
Size=3
)";
  p.Add("top.bmp", Solid(30, 6, 0x336699))
      .Add("tb.bmp", Solid(10, 5, 0x00FF00))
      .Add("sb.bmp", Solid(100, 10, 0x555555));
  const std::string file = WriteTemp("h6_check.skn", p.Pack());
  std::ostringstream out, err;
  ASSERT_EQ(skintool::Run({"check", file}, out, err), 0) << err.str();
  const std::string text = out.str();
  std::remove(file.c_str());

  EXPECT_NE(text.find("skin \"Check\": 8 sections"), std::string::npos) << text;
  EXPECT_NE(text.find("ToolBars           [ToolBars] image 10x5, 5 frames\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("Borders.Top        [Top] image 30x6, 0 frames down"), std::string::npos);
  const char *warnings[] = {
      "warning: Borders.Top: frame count 0 is drawn as one frame",
      "warning: Scrollbar: image width 100 is not a whole multiple of its 23 frames",
      "warning: Scrollbar: the skin gives 10 frames, the painters draw 23: states are missing",
      "warning: [MenuItem] Image=missing.bmp: names no member of the skin",
      "warning: [Tabs] Image=tabs.png: not a name ending in .bmp, read as no image",
      "warning: [Button.Radio] is not read by the object model",
      "warning: [Layout0] is not read by the object model",
  };
  for (const char *w : warnings)
    EXPECT_NE(text.find(w), std::string::npos) << w << "\n" << text;
  EXPECT_NE(text.find("\n7 warnings\n"), std::string::npos) << text;
}

TEST(SkinToolCheck, AFileThatIsNoSkinIsBadInput) {
  const std::string file = WriteTemp("h6_check_bad.skn", {'n', 'o', 'p', 'e', 0, 0, 0, 0});
  std::ostringstream out, err;
  EXPECT_EQ(skintool::Run({"check", file}, out, err), 1);
  EXPECT_NE(err.str().find("skintool: " + file + ": "), std::string::npos) << err.str();
  std::remove(file.c_str());
}
