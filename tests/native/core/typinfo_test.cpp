#include "framework/core/typinfo.h"
#include "tests/native/core/test_classes.h"

#include <gtest/gtest.h>

namespace {

class PropertyHelpers : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterGadgets();
    g.Width = 75;
    g.Color = static_cast<int32_t>(0x80000010);
    g.Kind = gkRaised;
    g.Controls = 0x440;
    g.Enabled = true;
    g.Caption = "\xb9\xd8\xb1\xd5(&C)"; // GBK: 关闭(&C)
    g.Hint = L"wide";
    g.Font()->Height = -11;
  }
  TGadget g{nullptr};
};

TEST_F(PropertyHelpers, ReadEachKindAndGiveDefaultsForOtherKinds) {
  struct Row {
    const char *name;
    int asInt;
    const char *asEnum;
    std::wstring asString;
    bool hasObject;
  } rows[] = {
      {"Width", 75, "", L"", false},
      {"color", static_cast<int>(0x80000010), "", L"", false},
      {"Kind", -1, "gkRaised", L"", false},
      {"KIND", -1, "gkRaised", L"", false},
      {"Enabled", -1, "True", L"", false},
      {"Controls", -1, "", L"", false},
      {"Caption", -1, "", L"\u5173\u95ed(&C)", false},
      {"Hint", -1, "", L"wide", false},
      {"Font", -1, "", L"", true},
      {"OnClick", -1, "", L"", false},
      {"NoSuchProperty", -1, "", L"", false},
      {"", -1, "", L"", false},
  };
  for (const Row &r : rows) {
    EXPECT_EQ(GetIntProperty(&g, r.name), r.asInt) << r.name;
    EXPECT_EQ(GetEnumProperty(&g, r.name), r.asEnum) << r.name;
    EXPECT_EQ(GetStringProp(&g, r.name), r.asString) << r.name;
    EXPECT_EQ(GetObjProp(&g, r.name) != nullptr, r.hasObject) << r.name;
  }
}

TEST_F(PropertyHelpers, NullObjectsAndUnregisteredClassesGiveDefaults) {
  TStringList unregistered;
  for (TObject *obj : {static_cast<TObject *>(nullptr), static_cast<TObject *>(&unregistered)}) {
    EXPECT_EQ(GetIntProperty(obj, "Width"), -1);
    EXPECT_EQ(GetEnumProperty(obj, "Kind"), "");
    EXPECT_EQ(GetStringProp(obj, "Caption"), L"");
    EXPECT_EQ(GetObjProp(obj, "Font"), nullptr);
    SetProperty(obj, "Width", "3"); // does nothing, and does not fail
  }
}

TEST_F(PropertyHelpers, ObjectPropertyIsCheckedAgainstTheClass) {
  EXPECT_EQ(GetObjProp(&g, "Font", FindClass("TGadgetFont")), g.Font());
  EXPECT_EQ(GetObjProp(&g, "Font", FindClass("TGadget")), nullptr);
  EXPECT_EQ(GetObjProp<TGadgetFont>(&g, "Font"), g.Font());
  EXPECT_EQ(GetObjProp<TGadget>(&g, "Font"), nullptr);
  EXPECT_EQ(GetObjProp(&g, "Buddy"), nullptr); // present but empty
  EXPECT_EQ(GetIntProperty(GetObjProp(&g, "Font"), "Height"), -11);
}

TEST_F(PropertyHelpers, SetPropertyTakesTextByKindAndIgnoresWhatDoesNotFit) {
  struct Row {
    const char *name;
    const char *value;
    const char *readBack; // through GetIntProperty/GetEnumProperty/Caption
  } rows[] = {
      {"Width", "16711935", "16711935"},
      {"Width", "-5", "-5"},
      {"Width", "12abc", "75"}, // not a number: unchanged
      {"Width", "", "75"},
      {"Width", "99999999999", "75"}, // does not fit the property: unchanged
      {"Kind", "gkflat", "gkFlat"},   // identifiers ignore letter case
      {"Kind", "gkNone", "gkRaised"}, // not an identifier of the type: unchanged
      {"Kind", "1", "gkRaised"},
      {"Enabled", "false", "False"},
      {"Enabled", "TRUE", "True"},
      {"Caption", "text", "text"},
      {"Controls", "[xcEdit]", "1088"}, // sets are left alone
  };
  for (const Row &r : rows) {
    SetUp();
    SetProperty(&g, r.name, r.value);
    std::string now = r.name == std::string("Caption")    ? g.Caption
                      : r.name == std::string("Controls") ? std::to_string(g.Controls)
                      : GetEnumProperty(&g, r.name).empty()
                          ? std::to_string(GetIntProperty(&g, r.name))
                          : GetEnumProperty(&g, r.name);
    EXPECT_EQ(now, r.readBack) << r.name << " := " << r.value;
  }
  SetProperty(&g, "Hint", "\xd6\xd0"); // GBK 中, widened through the ANSI code page
  EXPECT_EQ(g.Hint, L"\u4e2d");
}

TEST(ClassRegistry, DerivedClassesInheritPropertiesAndUnregisteredOnesAnswerAsTheirBase) {
  RegisterGadgets();
  struct TAppForm : TGadgetForm {
    using TGadgetForm::TGadgetForm;
  };
  TAppForm form(nullptr);
  form.Width = 480;
  form.SetTag(5555);
  EXPECT_EQ(GetIntProperty(&form, "Width"), 480);
  EXPECT_EQ(GetIntProperty(&form, "Tag"), 5555);
  const TClassInfo *info = ClassInfoOf(&form);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->Name(), "TGadgetForm");
  EXPECT_TRUE(info->InheritsFrom(FindClass("tcomponent")));
  EXPECT_NE(info->FindMethod("button1click"), nullptr);
  EXPECT_FALSE(FindClass("TFixedGadget")->CanCreate());
  EXPECT_THROW(FindClass("TFixedGadget")->Create(nullptr), EClassError);
}

TEST(ClassRegistry, RefusesMissingBasesAndNameClashes) {
  RegisterGadgets();
  struct TLoose : TComponent {
    using TComponent::TComponent;
  };
  struct TOrphan : TLoose {
    using TLoose::TLoose;
  };
  EXPECT_THROW((RegisterClass<TOrphan, TLoose>("TOrphan", {})), EClassError);
  EXPECT_THROW((RegisterClass<TLoose, TComponent>("TGadget", {})), EClassError);
  // Registering a class again keeps the first registration.
  EXPECT_EQ((&RegisterClass<TGadget, TComponent>("TGadget", {})), FindClass("TGadget"));
  EXPECT_NE(FindClass("TGadget")->FindProperty("Width"), nullptr);
}

TEST(ClassRegistry, SetsWiderThanTheirStorageAreRefused) {
  struct TNarrow : TComponent {
    using TComponent::TComponent;
    uint16_t Mask = 0;
  };
  EXPECT_THROW(Published::Set("Mask", ControlTypeInfo, &TNarrow::Mask), EClassError);
}

TEST(TextConversion, GbkAndWideRoundTrip) {
  const std::string gbk = "Word\xce\xc4\xb5\xb5(*.doc)"; // Word文档(*.doc)
  EXPECT_EQ(AnsiToWide(gbk, 936), L"Word\u6587\u6863(*.doc)");
  EXPECT_EQ(WideToAnsi(L"Word\u6587\u6863(*.doc)", 936), gbk);
  EXPECT_EQ(AnsiToWide("", 936), L"");
}

} // namespace
