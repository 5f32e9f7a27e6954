// TSkinData read from form data: every property kind, the embedded skin stream and Loaded.
//
// windows.h comes first so that its RegisterClass macro renames the registry template and the
// calls below alike.
#include <windows.h>

#include "skin_fixture.h"

#include "framework/core/formreader.h"
#include "framework/core/typinfo.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace skintest;

namespace {

class TSkinHost : public TComponent {
public:
  using TComponent::TComponent;
  TSkinData *SkinData1 = nullptr;
  int changes = 0;
  std::vector<std::string> asked;
  void SkinChanged(TObject *) { ++changes; }
  void FormSkin(TObject *, const std::string &name, bool &doSkin) {
    asked.push_back(name);
    doSkin = true;
  }
};

void RegisterHost() {
  RegisterSkinDataClasses();
  RegisterClass<TSkinHost, TComponent>("TSkinHost",
                                       {Published::Object("SkinData1", &TSkinHost::SkinData1)},
                                       {Published::Method("SkinChanged", &TSkinHost::SkinChanged),
                                        Published::Method("FormSkin", &TSkinHost::FormSkin)});
}

// The skin stream as form data writes it: hexadecimal, 32 bytes a line.
std::string HexStream(const std::vector<uint8_t> &skinFile) {
  std::vector<uint8_t> bytes(4);
  const uint32_t n = static_cast<uint32_t>(skinFile.size());
  for (int i = 0; i < 4; ++i)
    bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(n >> (8 * i));
  bytes.insert(bytes.end(), skinFile.begin(), skinFile.end());
  std::string out;
  char hex[3];
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0)
      out += "\n      ";
    std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
    out += hex;
  }
  return out;
}

std::string FormText(const std::string &properties, const std::string &stream) {
  return "object Host: TSkinHost\n  object SkinData1: TSkinData\n" + properties +
         "    SkinStream = {" + stream + "\n    }\n  end\nend\n";
}

SkinPackage ToolbarSkin() {
  SkinPackage p;
  p.ini = "[ToolBars]\nImage=tb.bmp\n";
  p.Add("tb.bmp", Solid(10, 5, 0x00FF00));
  return p;
}

} // namespace

TEST(SkinDataFormData, EveryPropertyKindAndTheSkinStreamAreRead) {
  RegisterHost();
  ManagerScope scope;
  TSkinHost host(nullptr);
  const std::string text = FormText(R"(    Active = True
    DisableTag = 5
    SkinControls = [xcMainMenu, xcMenuItem, xcCheckBox, xcFastReport]
    Options = [xoPreview, xoMenuBG]
    Skin3rd.Strings = (
      'TFoo=button'
      'TBar=edit')
    SkinStore = '(Good)'
    SkinFormtype = sfMainform
    Version = '1.0'
    MenuUpdate = False
    MenuMerge = True
    OnFormSkin = FormSkin
    OnSkinChanged = SkinChanged
)",
                                    HexStream(ToolbarSkin().Pack()));
  TFormReader::ReadComponent(text, &host);
  TSkinData *d = host.SkinData1;
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Owner(), &host);
  EXPECT_EQ(d->DisableTag, 5);
  // Loaded drops xcMenuItem because xcMainMenu is present.
  EXPECT_EQ(d->SkinControls, (1u << 0) | (1u << 6) | (1u << 21));
  EXPECT_EQ(d->Options, (1u << 3) | (1u << 8));
  ASSERT_EQ(d->Skin3rd()->Count(), 2);
  EXPECT_EQ(d->Skin3rd()->Values("TBar"), "edit");
  EXPECT_EQ(d->SkinStore(), "(none)");
  EXPECT_EQ(d->Version(), "3.99.03.03");
  EXPECT_FALSE(d->MenuUpdate);
  EXPECT_TRUE(d->MenuMerge);

  // The skin was read while the form was built; Loaded kept Active and asked to skin all.
  EXPECT_FALSE(d->NoSkin);
  ASSERT_NE(d->ToolBars, nullptr);
  EXPECT_EQ(d->ToolBars->Image->Width(), 10);
  EXPECT_TRUE(d->Active());
  EXPECT_EQ(scope.manager->hooks, 1);
  ASSERT_EQ(scope.manager->actions.size(), 1u);
  EXPECT_EQ(scope.manager->actions[0].code, 1);
  EXPECT_EQ(scope.manager->actions[0].data, d);
  EXPECT_EQ(scope.manager->MainSkinData, d);
  ASSERT_NE(d->CaptionFont, nullptr);

  d->DoSkinChanged();
  EXPECT_EQ(host.changes, 1);
  bool doSkin = false;
  d->DoFormSkin(nullptr, "SysMonthCal32", doSkin);
  EXPECT_TRUE(doSkin);
  EXPECT_EQ(host.asked, std::vector<std::string>{"SysMonthCal32"});
}

TEST(SkinDataFormData, ActivationWithoutASkinIsWithdrawnAtLoaded) {
  RegisterHost();
  struct Case {
    const char *what;
    std::string stream;
    const char *controls;
    TSkinControlTypes expected;
  } cases[] = {
      {"length 0", "00000000", "[xcSystemMenu, xcMenuItem, xcEdit]", (1u << 2) | (1u << 10)},
      {"a corrupt package", HexStream({'j', 'u', 'n', 'k', 0, 1, 2, 3}), "[xcMainMenu, xcMenuItem]",
       1u << 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ManagerScope scope;
    TSkinHost host(nullptr);
    TFormReader::ReadComponent(
        FormText(std::string("    Active = True\n    SkinControls = ") + c.controls + "\n",
                 c.stream),
        &host);
    TSkinData *d = host.SkinData1;
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->NoSkin);
    EXPECT_FALSE(d->Active());
    EXPECT_TRUE(scope.manager->actions.empty());
    EXPECT_EQ(d->SkinControls, c.expected);
  }
}

TEST(SkinDataFormData, AStreamShorterThanItsLengthIsAFormDataError) {
  RegisterHost();
  ManagerScope scope;
  TSkinHost host(nullptr);
  EXPECT_THROW(TFormReader::ReadComponent(FormText("", "10000000AABB"), &host), EFormDataError);
  EXPECT_EQ(host.SkinData1, nullptr);
}
