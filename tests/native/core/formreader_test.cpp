// Form texts here hold Chinese text as GBK bytes (this unit is compiled with the CP936
// execution character set), exactly as the program's stored form data does.
#include "framework/core/formreader.h"
#include "tests/native/core/test_classes.h"

#include <gtest/gtest.h>

namespace {

const char *const MainText = R"(object MainForm: TGadgetForm
  Width = 480
  Color = clBtnFace
  Caption = 'Kestrova'
  object Button1: TGadget
    Width = $4B
    Color = -2147483632
    Kind = gkFlat
    Enabled = True
    Caption = '开始转换(&P)'
    Hint = '中文'#13#10'wide'
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    OnClick = Button1Click
    Buddy = Panel1
    Data = {
      0A0b FF
      00}
  end
  object Panel1: TGadget
    Controls = [xcCheckBox, xcEdit, xcFastReport]
    SmallSet = []
    Caption = 'It''s '#$41'B'#67 +
      ' joined'
    Items.Strings = (
      'Word文档(*.doc)'
      'XML'#$CE#$C4'(*.xml)'
      '')
    object Inner: TGadget
      Kind = GKRAISED
      Tag = 99
    end
  end
end
)";

class FormReader : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterGadgets();
    TGadget::Log.clear();
  }
};

TEST_F(FormReader, ReadsEveryPropertyKindIntoNestedComponents) {
  TGadgetForm form(nullptr);
  TFormReader::ReadComponent(MainText, &form);

  EXPECT_EQ(form.Name(), "MainForm");
  EXPECT_EQ(form.Width, 480);
  EXPECT_EQ(static_cast<uint32_t>(form.Color), 0x8000000Fu);
  ASSERT_EQ(form.ComponentCount(), 3);

  auto *button = dynamic_cast<TGadget *>(form.FindComponent("Button1"));
  auto *panel = dynamic_cast<TGadget *>(form.FindComponent("Panel1"));
  auto *inner = dynamic_cast<TGadget *>(form.FindComponent("Inner"));
  ASSERT_TRUE(button && panel && inner);
  EXPECT_EQ(form.Button1, button); // the form's field points at the component read for it

  EXPECT_EQ(button->Width, 75);
  EXPECT_EQ(static_cast<uint32_t>(button->Color), 0x80000010u);
  EXPECT_EQ(button->Kind, gkFlat);
  EXPECT_TRUE(button->Enabled);
  EXPECT_EQ(button->Caption, "\xbf\xaa\xca\xbc\xd7\xaa\xbb\xbb(&P)"); // GBK bytes kept as read
  EXPECT_EQ(button->Hint, L"\u4e2d\u6587\r\nwide");
  EXPECT_EQ(button->Font()->Height, -11);
  EXPECT_EQ(button->Font()->Name, "MS Sans Serif");
  EXPECT_EQ(button->Buddy, panel); // a reference to a component further down
  EXPECT_EQ(button->Data, (std::vector<uint8_t>{0x0A, 0x0B, 0xFF, 0x00}));

  EXPECT_EQ(panel->Controls, (1u << 6) | (1u << 10) | (1u << 21));
  EXPECT_EQ(panel->SmallSet, 0);
  EXPECT_EQ(panel->Caption, "It's AB"
                            "C joined");
  ASSERT_EQ(panel->Items()->Count(), 3);
  EXPECT_EQ(panel->Items()->Strings(0), "Word\xce\xc4\xb5\xb5(*.doc)");
  EXPECT_EQ(panel->Items()->Strings(1), "XML\xce\xc4(*.xml)");
  EXPECT_EQ(panel->Items()->Strings(2), "");

  EXPECT_EQ(inner->Kind, gkRaised);
  EXPECT_EQ(inner->Tag(), 99);
  EXPECT_EQ(inner->Owner(), &form); // every component of a form is owned by the form...
  EXPECT_EQ(inner->Parent, panel);  // ...and placed in the object that encloses it
  EXPECT_EQ(button->Parent, &form);

  ASSERT_TRUE(button->OnClick);
  button->OnClick(button);
  EXPECT_EQ(form.Clicks, 1);
  EXPECT_EQ(form.LastSender, button);
}

TEST_F(FormReader, CallsLoadedOnEveryComponentAfterTheWholeForm) {
  TGadgetForm form(nullptr);
  TFormReader::ReadComponent(MainText, &form);
  // The binary hook runs while reading; Loaded runs afterwards, root first, in text order.
  EXPECT_EQ(TGadget::Log,
            (std::vector<std::string>{"binary at 0", "loaded MainForm", "loaded Button1",
                                      "loaded Panel1", "loaded Inner"}));
  for (int i = 0; i < form.ComponentCount(); ++i)
    EXPECT_FALSE(form.Components(i)->IsLoading());
  EXPECT_FALSE(form.IsLoading());
}

// Loaded sees the state of the whole form and csLoading while it runs.
class TLoadProbe : public TGadget {
public:
  using TGadget::TGadget;
  void Loaded() override {
    wasLoading = IsLoading();
    sawBuddy = Buddy != nullptr && Buddy->Caption == "late";
    TGadget::Loaded();
  }
  bool wasLoading = false, sawBuddy = false;
};

TEST_F(FormReader, LoadedSeesTheCompleteForm) {
  RegisterClass<TLoadProbe, TGadget>("TLoadProbe", {});
  TGadgetForm form(nullptr);
  TFormReader::ReadComponent("object F: TGadgetForm\n"
                             "  object P: TLoadProbe\n    Buddy = Q\n  end\n"
                             "  object Q: TGadget\n    Caption = 'late'\n  end\n"
                             "end\n",
                             &form);
  auto *probe = dynamic_cast<TLoadProbe *>(form.FindComponent("P"));
  ASSERT_NE(probe, nullptr);
  EXPECT_TRUE(probe->wasLoading);
  EXPECT_TRUE(probe->sawBuddy);
}

TEST_F(FormReader, CreatesTheTopObjectByItsClass) {
  TGadget owner(nullptr);
  TComponent *c = TFormReader::CreateComponent("object Box: TGadget\n  Width = 3\nend", &owner);
  auto *box = dynamic_cast<TGadget *>(c);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Owner(), &owner);
  EXPECT_EQ(box->Width, 3);
  EXPECT_EQ(TGadget::Log, std::vector<std::string>{"loaded Box"});
}

TEST_F(FormReader, MalformedTextNamesTheLineAndTheProperty) {
  struct Case {
    const char *text;
    int line;
    const char *property;
    const char *problem;
  } cases[] = {
      {"object F: TGadgetForm\n  Widht = 1\nend", 2, "F.Widht", "unknown property"},
      {"object F: TGadgetForm\n  Name = 'a b'\nend", 2, "F.Name", "not a valid component name"},
      {"object F: TGadgetForm\n  Width = 'x'\nend", 2, "F.Width", "malformed number"},
      {"object F: TGadgetForm\n  Width = 99999999999\nend", 2, "F.Width", "out of range"},
      {"object F: TGadgetForm\n  Width = 99999999999999999999\nend", 2, "F.Width",
       "number out of range"},
      {"object F: TGadgetForm\n  Width = clNoSuch\nend", 2, "F.Width", "clNoSuch"},
      {"object F: TGadgetForm\n  Kind = gkRound\nend", 2, "F.Kind", "gkRound"},
      {"object F: TGadgetForm\n  Enabled = 1\nend", 2, "F.Enabled", "identifier expected"},
      {"object F: TGadgetForm\n\n  Controls = [xcEdit,\n xcNope]\nend", 4, "F.Controls", "xcNope"},
      {"object F: TGadgetForm\n  Controls = [xcEdit\nend", 3, "F.Controls", "']' expected"},
      {"object F: TGadgetForm\n  Caption = 'open\nend", 2, "F.Caption", "unterminated"},
      {"object F: TGadgetForm\n  Caption = #300\nend", 2, "F.Caption", "above 255"},
      {"object F: TGadgetForm\n  Font.Size = 8\nend", 2, "F.Font.Size", "unknown property"},
      {"object F: TGadgetForm\n  Caption.Size = 8\nend", 2, "F.Caption.Size",
       "not an object property"},
      {"object F: TGadgetForm\n  Data = {0A0}\nend", 2, "F.Data", "odd number"},
      {"object F: TGadgetForm\n  Data = {0G}\nend", 2, "F.Data", "invalid character"},
      {"object F: TGadgetForm\n  Blob = {00}\nend", 2, "F.Blob", "unknown property"},
      {"object F: TGadgetForm\n  Width = {00}\nend", 2, "F.Width", "not a binary property"},
      {"object F: TGadgetForm\n  Caption = ('a')\nend", 2, "F.Caption", "not a string list"},
      {"object F: TGadgetForm\n  OnClick = Missing\nend", 2, "F.OnClick", "no method Missing"},
      {"object F: TGadgetForm\n  OnClick = Paint\nend", 2, "F.OnClick", "does not fit"},
      {"object F: TGadgetForm\n  Buddy = Nobody\nend", 2, "F.Buddy", "no component named"},
      {"object F: TGadgetForm\n  object B: TGadget\n    Buddy = P\n  end\n"
       "  object P: TPlainComponent\n  end\nend",
       3, "B.Buddy", "not of the property's class"},
      {"object F: TGadgetForm\n  object Button1: TPlainComponent\n  end\nend", 2, "Button1",
       "field Button1 is not of class TPlainComponent"},
      {"object F: TGadgetForm\n  object A: TGadget\n  end\n  object a: TGadget\n  end\nend", 4, "a",
       "already exists"},
      {"object F: TGadgetForm\n  object Button1: TFixedGadget\n  end\nend", 2, "Button1",
       "cannot be created"},
      {"object F: TGadgetForm\n  object X: TNoSuchClass\n  end\nend", 2, "X", "unknown class"},
      {"object F: TGadgetForm\n  Width = 1\n", 3, "F", "'end' expected"},
      {"object F: TGadgetForm\nend\nend", 3, "", "text after the end"},
      {"object F TGadgetForm\nend", 1, "F", "':' expected"},
      {"object F: TFixedGadget\nend", 1, "F", "not a TFixedGadget"},
  };
  for (const Case &c : cases) {
    TGadgetForm form(nullptr);
    const int live = TObject::LiveCount();
    try {
      TFormReader::ReadComponent(c.text, &form);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const EFormDataError &e) {
      EXPECT_EQ(e.Line(), c.line) << e.Message();
      EXPECT_EQ(e.Property(), c.property) << e.Message();
      EXPECT_NE(e.Message().find(c.problem), std::string::npos) << e.Message();
      EXPECT_NE(e.Message().find("line " + std::to_string(c.line)), std::string::npos)
          << e.Message();
    }
    // Nothing read is left behind: no components, no field pointing at a freed one.
    EXPECT_EQ(form.ComponentCount(), 0) << c.text;
    EXPECT_EQ(form.Button1, nullptr) << c.text;
    EXPECT_EQ(TObject::LiveCount(), live) << c.text;
    EXPECT_FALSE(form.IsLoading());
  }
}

TEST_F(FormReader, FailedCreationLeavesNothingBehind) {
  TGadget owner(nullptr);
  const int live = TObject::LiveCount();
  EXPECT_THROW(TFormReader::CreateComponent("object Box: TGadget\n  object C: TGadget\n"
                                            "    Width = x\n  end\nend",
                                            &owner),
               EFormDataError);
  EXPECT_THROW(TFormReader::CreateComponent("object Box: TFixedGadget\nend", &owner),
               EFormDataError);
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(TObject::LiveCount(), live);
  EXPECT_EQ(TGadget::Log, (std::vector<std::string>{"free Box", "free C"}));
}

TEST_F(FormReader, DeepNestingIsRefused) {
  std::string text;
  for (int i = 0; i < 100; ++i)
    text += "object O" + std::to_string(i) + ": TGadget\n";
  for (int i = 0; i < 100; ++i)
    text += "end\n";
  TGadget root(nullptr);
  try {
    TFormReader::ReadComponent(text, &root);
    ADD_FAILURE() << "accepted";
  } catch (const EFormDataError &e) {
    EXPECT_NE(e.Message().find("nested too deeply"), std::string::npos);
  }
  EXPECT_EQ(root.ComponentCount(), 0);
}

} // namespace
