// TSkinData as a component: defaults and published interface, loads, Active and the requests
// it hands to the manager.
#include "skin_fixture.h"

#include "framework/gui/gdiobj.h"
#include "skin/storage/skinread.h"
#include "skin/storage/winconvert.h"
#include "skin/storage/winskinstore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace skintest;

namespace {

SkinPackage SmallSkin() {
  SkinPackage p;
  p.ini = "[Personality]\nTop=top.bmp\n[ToolBars]\nImage=tb.bmp\n[SunkEdge]\nImage=s.bmp\n"
          "[ComboButton]\nImage=s.bmp\n[Buttons]\nBitmap=tb.bmp\nCheckButton=tb.bmp\n";
  p.Add("top.bmp", Solid(30, 6, 0x336699))
      .Add("tb.bmp", Solid(10, 5, 0x00FF00))
      .Add("s.bmp", Solid(80, 21, 0x404040));
  return p;
}

std::vector<uint8_t> Compressed(const std::vector<uint8_t> &container) {
  TMemoryStream in, out;
  Fill(in, container);
  LZHCompressStream(in, out);
  return std::vector<uint8_t>(out.Memory(), out.Memory() + out.Size());
}

std::string TempFile(const char *name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

void WriteFile(const std::string &name, const std::vector<uint8_t> &bytes) {
  FILE *f = std::fopen(name.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

} // namespace

TEST(SkinDataComponent, ConstructionDefaultsAndPublishedInterface) {
  RegisterSkinDataClasses();
  TSkinData d(nullptr);
  EXPECT_FALSE(d.Active());
  EXPECT_EQ(d.DisableTag, 99);
  EXPECT_EQ(d.SkinControls, 0x1FFFFBu);
  EXPECT_FALSE(InSet(d.SkinControls, xcMenuItem));
  EXPECT_FALSE(InSet(d.SkinControls, xcFastReport));
  EXPECT_EQ(d.Options, 0x0048);
  EXPECT_EQ(d.Containers, 0x03FF);
  EXPECT_EQ(d.SkinFormtype, sfMainform);
  EXPECT_TRUE(d.MenuUpdate);
  EXPECT_FALSE(d.MenuMerge);
  EXPECT_TRUE(d.MainMenuUpdate);
  EXPECT_TRUE(d.NoSkin);
  EXPECT_EQ(d.SkinStore(), "(none)");
  EXPECT_EQ(d.MaxWidth, GetSystemMetrics(SM_CXMAXIMIZED));
  const char *names[4] = {"Left", "Right", "Top", "Bottom"};
  for (int i = 0; i < 4; ++i) {
    ASSERT_NE(d.Borders[i], nullptr);
    EXPECT_EQ(d.Borders[i]->Name, names[i]);
    EXPECT_TRUE(d.Borders[i]->Image->Empty());
  }
  EXPECT_EQ(d.Title->Name, "Title");
  EXPECT_EQ(d.Button->Name, "Buttons");
  EXPECT_EQ(d.MenuBar, nullptr);
  EXPECT_EQ(d.ComboArrow, nullptr);
  EXPECT_TRUE(d.SysButtons.empty());
  for (TColor c : d.Colors)
    EXPECT_EQ(c, 0u);

  // Writes of the read-only texts are ignored.
  SetProperty(&d, "Version", "1.0");
  SetProperty(&d, "SkinStore", "(Good)");
  EXPECT_EQ(GetStringProp(&d, "Version"), L"3.99.03.03");
  EXPECT_EQ(GetStringProp(&d, "SkinStore"), L"(none)");

  // The published properties in their stored order, after the inherited ones.
  std::vector<std::string> own;
  for (const TPropInfo *p : ClassInfoOf(&d)->Properties())
    if (p->Name != "Name" && p->Name != "Tag")
      own.push_back(p->Name);
  EXPECT_EQ(own, (std::vector<std::string>{"Active", "DisableTag", "SkinControls", "Options",
                                           "Skin3rd", "SkinFile", "SkinStore", "SkinFormtype",
                                           "Version", "MenuUpdate", "MenuMerge", "OnFormSkin",
                                           "OnSkinChanged", "OnSkinControl"}));
  EXPECT_EQ(SkinControlTypeInfo().Identifiers.size(), 22u);
  EXPECT_EQ(SkinControlTypeInfo().IdentToOrd("xcScrollbar"), 9);
  EXPECT_EQ(SkinControlTypeInfo().IdentToOrd("xcFastReport"), 21);
  EXPECT_EQ(SkinOptionInfo().IdentToOrd("xoToolbarBK"), 6);
  EXPECT_EQ(SkinOptionInfo().IdentToOrd("xoMenuBG"), 8);
  EXPECT_EQ(SkinFormTypeInfo().IdentToOrd("sfDLL"), 3);
  EXPECT_EQ(GetEnumProperty(&d, "SkinFormtype"), "sfMainform");
}

TEST(SkinDataComponent, DefaultClassMappingHas116EntriesInItsOrder) {
  TSkinData d(nullptr);
  TStringList &l = *d.Skin3rd();
  ASSERT_EQ(l.Count(), 116);
  EXPECT_EQ(l.Get(0), "TPngBitBtn=pngbitbtn");
  EXPECT_EQ(l.Names(17), "TDBAdvMemo");
  EXPECT_EQ(l.Names(18), "TcxDBLookupComboBox");
  EXPECT_EQ(l.Names(29), "TRxDBLookupCombo");
  EXPECT_EQ(l.Names(30), "TRzGroup");
  EXPECT_TRUE(AnsiSameText(l.Values("TComboboxex"), "combobox"));
  EXPECT_TRUE(AnsiSameText(l.Values("TRzMenuButton"), "menubtn"));
  EXPECT_TRUE(AnsiSameText(l.Values("TLMDTrackbar"), "panel"));
  EXPECT_TRUE(AnsiSameText(l.Values("TOVCDBNUMERICFIELD"), "edit"));
  // The TLMD run ends with TLMDEDITDBLookup, followed by TDBLookupCombobox and the TWW ones.
  const int lmdEnd = l.IndexOfName("TLMDEDITDBLookup");
  EXPECT_EQ(l.Names(lmdEnd + 1), "TDBLookupCombobox");
  EXPECT_EQ(l.Names(lmdEnd + 2), "TWWDBCombobox");
  // Exactly three class names occur twice.
  std::vector<std::string> names;
  for (int i = 0; i < l.Count(); ++i)
    names.push_back(l.Names(i));
  std::sort(names.begin(), names.end());
  std::vector<std::string> twice;
  for (size_t i = 1; i < names.size(); ++i)
    if (names[i] == names[i - 1])
      twice.push_back(names[i]);
  EXPECT_EQ(twice,
            (std::vector<std::string>{"TDBCheckboxEh", "TLMDFontSizeCombobox", "TWWDBCombobox"}));
  // Setting the property copies the list.
  TStringList mine;
  mine.Add("TFoo=button");
  d.SetSkin3rd(&mine);
  mine.Add("TBar=edit");
  EXPECT_EQ(d.Skin3rd()->Count(), 1);
}

TEST(SkinDataComponent, CorruptPackagesLoadNothingAndKeepTheSkinInUse) {
  std::vector<std::string> messages;
  TSkinMessageProc old = SetSkinMessageProc([&](const std::string &m) { messages.push_back(m); });

  std::vector<uint8_t> wrongMark = {0x1F, 0x4E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  struct Case {
    const char *what;
    std::vector<uint8_t> bytes;
    bool message;
  } cases[] = {
      {"text instead of a skin", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, false},
      {"an older format mark", Compressed(wrongMark), true},
      {"nothing at all", {}, true},
      {"a size field alone", {4, 0, 0, 0}, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    messages.clear();
    auto fresh = LoadData(c.bytes);
    EXPECT_TRUE(fresh->NoSkin);
    EXPECT_EQ(fresh->ToolBars, nullptr);
    EXPECT_EQ(fresh->Toolbar, nullptr);
    EXPECT_EQ(messages.size(), c.message ? 1u : 0u);

    auto loaded = LoadData(SmallSkin());
    ASSERT_FALSE(loaded->NoSkin);
    TMemoryStream s;
    Fill(s, c.bytes);
    EXPECT_FALSE(loaded->LoadFromStream(s));
    EXPECT_FALSE(loaded->NoSkin); // the skin in use stays, model and bytes
    ASSERT_NE(loaded->ToolBars, nullptr);
    EXPECT_EQ(loaded->ToolBars->Image->Width(), 10);
    EXPECT_EQ(loaded->SkinBuffer->Size(), static_cast<int64_t>(SmallSkin().Pack().size()));
  }
  SetSkinMessageProc(old);
}

TEST(SkinDataComponent, LoadsReleaseEveryObjectAndHandle) {
  const std::vector<uint8_t> skin = SmallSkin().Pack();
  const int objects = TObject::LiveCount();
  const int handles = GdiLiveTotal();
  {
    auto d = LoadData(skin);
    ASSERT_FALSE(d->NoSkin);
    for (int i = 0; i < 3; ++i) {
      TMemoryStream s;
      Fill(s, skin);
      d->LoadFromStream(s);
    }
    ASSERT_FALSE(d->NoSkin);
    d->CreateCaptionFont();
    d->CreateCaptionFont();
  }
  EXPECT_EQ(TObject::LiveCount(), objects);
  EXPECT_EQ(GdiLiveTotal(), handles);
}

TEST(SkinDataComponent, SkinStreamWritesLengthAndBytesAndReadsBack) {
  const std::vector<uint8_t> skin = SmallSkin().Pack();
  auto d = LoadData(skin);
  TMemoryStream out;
  d->WriteData(out);
  ASSERT_EQ(out.Size(), static_cast<int64_t>(skin.size() + 4));
  uint32_t length = 0;
  std::memcpy(&length, out.Memory(), 4);
  EXPECT_EQ(length, skin.size());
  EXPECT_TRUE(std::equal(skin.begin(), skin.end(), out.Memory() + 4));

  TSkinData back(nullptr);
  out.SetPosition(0);
  ASSERT_TRUE(back.ReadBinaryProperty("SkinStream", out));
  EXPECT_FALSE(back.NoSkin);
  ASSERT_NE(back.ToolBars, nullptr);

  // A length of 0 loads nothing; an empty component writes the length alone.
  TSkinData empty(nullptr);
  TMemoryStream zero;
  Fill(zero, {0, 0, 0, 0});
  empty.ReadData(zero);
  EXPECT_TRUE(empty.NoSkin);
  TMemoryStream written;
  empty.WriteData(written);
  EXPECT_EQ(written.Size(), 4);
  EXPECT_FALSE(empty.ReadBinaryProperty("Other", zero));
}

TEST(SkinDataComponent, StartingUnskinnedKeepsTheSkinStreamButLoadsNoSkin) {
  const std::vector<uint8_t> skin = SmallSkin().Pack();
  TMemoryStream stream;
  LoadData(skin)->WriteData(stream);
  struct Restore {
    ~Restore() { TSkinData::StartUnskinned = false; }
  } restore;
  TSkinData::StartUnskinned = true;
  TSkinData plain(nullptr);
  stream.SetPosition(0);
  ASSERT_TRUE(plain.ReadBinaryProperty("SkinStream", stream));
  EXPECT_TRUE(plain.NoSkin);
  EXPECT_EQ(plain.ToolBars, nullptr);
  EXPECT_EQ(plain.SkinBuffer->Size(), static_cast<int64_t>(skin.size()));
}

TEST(SkinDataComponent, LoadsFromFilesAndSkinStores) {
  ManagerScope scope;
  const std::string file = TempFile("h6_skindata_test.skn");
  WriteFile(file, SmallSkin().Pack());

  TSkinData d(nullptr);
  d.SkinFormtype = sfDLL;
  d.LoadFromFile(file + ".missing");
  EXPECT_TRUE(d.NoSkin);
  EXPECT_EQ(d.SkinFile(), file + ".missing");
  d.SetSkinFile(file);
  EXPECT_FALSE(d.NoSkin);
  EXPECT_EQ(d.SkinFile(), file);
  ASSERT_NE(d.ToolBars, nullptr);
  EXPECT_EQ(scope.manager->sysbtnDrops, 1); // every load reaches the windows of the component

  TSkinStore store(nullptr);
  store.Store().Add()->LoadFromFile(file);
  TSkinData e(nullptr);
  e.SkinFormtype = sfDLL;
  e.LoadFromCollection(&store, 1);
  EXPECT_TRUE(e.NoSkin);
  EXPECT_EQ(scope.manager->sysbtnDrops, 1);
  e.LoadFromCollection(&store, 0);
  EXPECT_FALSE(e.NoSkin);
  ASSERT_NE(e.ToolBars, nullptr);
  EXPECT_EQ(scope.manager->sysbtnDrops, 2);
  EXPECT_EQ(scope.manager->ActionSkinData, &e);
  std::remove(file.c_str());
}

TEST(SkinDataComponent, ActiveAndLoadsRequestDeferredActions) {
  ManagerScope scope;
  RecordingManager &m = *scope.manager;
  TSkinData d(nullptr);

  d.SetActive(true); // no skin yet: refused silently, but the property reads true
  EXPECT_TRUE(d.Active());
  EXPECT_TRUE(m.actions.empty());

  TMemoryStream s;
  Fill(s, SmallSkin().Pack());
  d.LoadFromStream(s); // state 0: only the caption buttons are dropped
  EXPECT_EQ(m.sysbtnDrops, 1);
  EXPECT_TRUE(m.actions.empty());

  d.SetActive(false);
  d.SetActive(true);
  ASSERT_EQ(m.actions.size(), 2u);
  EXPECT_EQ(m.actions[0].code, 2);
  EXPECT_EQ(m.actions[0].data, &d);
  EXPECT_EQ(m.actions[1].code, 1);
  EXPECT_EQ(m.actions[1].interval, 250u);
  EXPECT_EQ(m.State, 1);

  s.SetPosition(0);
  d.LoadFromStream(s); // skinning in effect: skin changed
  ASSERT_EQ(m.actions.size(), 3u);
  EXPECT_EQ(m.actions[2].code, 3);

  HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(0x1234));
  d.SkinForm(window);
  ASSERT_EQ(m.addForms.size(), 1u);
  EXPECT_EQ(m.addForms[0], std::make_pair(window, true));
  EXPECT_FALSE(m.Force);

  TSkinData only(nullptr);
  only.SkinFormtype = sfOnlyThisForm;
  only.SetActive(true);
  EXPECT_EQ(m.ActionSkinData, &only);
  EXPECT_EQ(m.actions.size(), 3u);
  TSkinData dialog(nullptr);
  dialog.SkinFormtype = sfDialog;
  dialog.SetActive(true);
  dialog.SetActive(false);
  EXPECT_EQ(m.actions.size(), 3u);
}

TEST(SkinDataComponent, UpdateWithoutManagerRunsLoadedFirst) {
  ASSERT_EQ(SkinManager, nullptr);
  {
    auto d = std::make_unique<TSkinData>(nullptr);
    TMemoryStream s;
    Fill(s, SmallSkin().Pack());
    d->LoadFromStream(s);
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->SkinDatas, std::vector<TSkinData *>{d.get()});
    EXPECT_EQ(SkinManager->MainSkinData, d.get());
    EXPECT_EQ(SkinManager->ActionSkinData, d.get());
    ASSERT_NE(d->CaptionFont, nullptr);
    EXPECT_FALSE(InSet(d->SkinControls, xcMenuItem));
  }
  EXPECT_TRUE(SkinManager->SkinDatas.empty());
  EXPECT_EQ(SkinManager->MainSkinData, nullptr);
  delete SkinManager;
  SkinManager = nullptr;
}

TEST(SkinDataComponent, FormSkinRulesWithAndWithoutAHandler) {
  struct Handler {
    std::vector<std::string> asked;
    void Ask(TObject *, const std::string &name, bool &doSkin) {
      asked.push_back(name);
      doSkin = !doSkin;
    }
  } handler;
  struct Case {
    bool handled, fastReport;
    const char *className;
    bool in, out;
  } cases[] = {
      {false, false, "SysMonthCal32", true, false}, {false, false, "TfrPreviewForm", true, true},
      {false, true, "TfrPreviewForm", true, false}, {false, true, "TFRPreviewForm", true, true},
      {false, true, "TForm1", false, false},        {false, false, "#32770", true, true},
      {true, false, "SysMonthCal32", true, false},  {true, true, "TfrPreviewForm", false, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.className);
    TSkinData d(nullptr);
    if (c.handled)
      d.OnFormSkin = TOnFormSkin(&handler, &Handler::Ask);
    d.SkinControls = c.fastReport ? SetOf(d.SkinControls, xcFastReport)
                                  : SetWithout(d.SkinControls, xcFastReport);
    bool doSkin = c.in;
    handler.asked.clear();
    d.DoFormSkin(nullptr, c.className, doSkin);
    EXPECT_EQ(doSkin, c.out);
    EXPECT_EQ(handler.asked.size(), c.handled ? 1u : 0u);
  }
}

TEST(SkinDataComponent, ChangePropertySetsEnumerationsOnly) {
  RegisterSkinDataClasses();
  struct Case {
    const char *prop, *value;
    TSkinFormType formType;
    int32_t disableTag;
  } cases[] = {
      {"SkinFormtype", "sfDialog", sfDialog, 99},     {"skinformtype", "SFDLL", sfDLL, 99},
      {"SkinFormtype", "sfNothing", sfMainform, 99},  {"DisableTag", "5", sfMainform, 99},
      {"NoSuchProperty", "sfDialog", sfMainform, 99},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.prop + std::string("=") + c.value);
    TSkinData d(nullptr);
    d.ChangeProperty(&d, c.prop, c.value);
    EXPECT_EQ(d.SkinFormtype, c.formType);
    EXPECT_EQ(d.DisableTag, c.disableTag);
  }
  TSkinData d(nullptr);
  d.ChangeProperty(nullptr, "SkinFormtype", "sfDialog"); // nothing to change, no failure
}
