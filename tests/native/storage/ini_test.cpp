#include "skin/storage/winskinini.h"

#include "framework/core/streams.h"
#include "skin/storage/winconvert.h"
#include "tests/native/storage/test_files.h"

#include <gtest/gtest.h>

namespace {

TQuickIni Load(const std::string &text) {
  TMemoryStream stream;
  if (!text.empty()) {
    stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
  }
  stream.SetPosition(0);
  TQuickIni ini;
  ini.LoadFromStream(&stream);
  return ini;
}

std::vector<std::string> ToVector(const TStrings &strings) {
  std::vector<std::string> out;
  for (int i = 0; i < strings.Count(); ++i) {
    out.push_back(strings.Get(i));
  }
  return out;
}

std::vector<std::string> LinesOf(const TQuickIni &ini) {
  return ToVector(ini.Lines());
}

struct IntCase {
  const char *text;
  bool valid;
  int32_t value;
};

TEST(IniIntegerText, AcceptsDecimalAndTheFiveHexPrefixesOnly) {
  const IntCase cases[] = {
      {"0", true, 0},
      {"  42", true, 42},
      {"+7", true, 7},
      {"-2147483648", true, INT32_MIN},
      {"2147483647", true, INT32_MAX},
      {"0000012", true, 12},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"0x10", true, 16},
      {"0X1f", true, 31},
      {"$10", true, 16},
      {"x10", true, 16},
      {"X10", true, 16},
      {"$FFFFFFFF", true, -1},
      {"$80000000", true, INT32_MIN},
      {"0x", false, 0},
      {"$", false, 0},
      {"$123456789", false, 0},
      {"-0x10", false, 0},
      {"+$10", false, 0},
      {"FFFFFFFF", false, 0},
      {"ten", false, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"-", false, 0},
      {"12 ", false, 0},
      {"1 2", false, 0},
      {"0x1g", false, 0},
      {"\t5", false, 0},
  };
  for (const IntCase &c : cases) {
    int32_t value = 12345;
    EXPECT_EQ(TryStrToInt(c.text, value), c.valid) << '"' << c.text << '"';
    if (c.valid) {
      EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
  }
}

TEST(IniLoad, TrimsDropsCommentsAndBlanksAndSplitsEveryLineBreak) {
  const TQuickIni ini = Load("  [Buttons]  \r\n; comment\r\n\r\nBitmap = button.bmp\n"
                             "a=1\rb=2\n\rc=3\r\n\t\x01 d=4 \x02\r\n# kept\r\nx=1 ; kept too");
  EXPECT_EQ(LinesOf(ini),
            (std::vector<std::string>{"[Buttons]", "Bitmap = button.bmp", "a=1", "b=2", "c=3",
                                      "d=4", "# kept", "x=1 ; kept too"}));
  ASSERT_EQ(ini.Sections().size(), 1u);
  EXPECT_EQ(ini.Sections()[0].Text, "[Buttons]");
  EXPECT_EQ(ini.Sections()[0].Line, 0);
  EXPECT_EQ(ini.ReadString("x", "x", "-"), "-"); // lines before a header belong to no section
}

TEST(IniLoad, TextAfterAZeroByteIsIgnored) {
  const TQuickIni ini = Load(std::string("[A]\r\nk=v\0\r\n[B]\r\nk=w", 19));
  EXPECT_EQ(LinesOf(ini), (std::vector<std::string>{"[A]", "k=v"}));
}

TEST(IniLoad, NullStreamDoesNothingAndLoadingReplacesEverything) {
  TQuickIni ini = Load("[A]\r\nk=v");
  ini.LoadFromStream(nullptr);
  EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
  TMemoryStream other;
  other.WriteBuffer("[B]\r\n", 5);
  other.SetPosition(0);
  ini.LoadFromStream(&other);
  EXPECT_EQ(LinesOf(ini), (std::vector<std::string>{"[B]"}));
  EXPECT_EQ(ini.GetSectionIndex("A"), -1);
}

struct ReadCase {
  const char *section;
  const char *key;
  const char *expected;
};

TEST(IniRead, SectionAndKeyLookupFollowTheDialect) {
  const TQuickIni ini = Load("[Buttons]\r\nBitmap = button.bmp\r\nCaption=a=b\r\nEmpty=\r\n"
                             "Empty=second\r\nTwice=first\r\nTwice=second\r\nnovalue\r\n"
                             "[Buttons]\r\nOnlyInSecond=1\r\n[ Fonts ]\r\nName=Tahoma\r\n"
                             "[Fonts2]\r\nName = Arial\r\n");
  const ReadCase cases[] = {
      {"buttons", "BITMAP", "button.bmp"},
      {"BUTTONS", "bitmap", "button.bmp"},
      {"Buttons", "Caption", "a=b"},
      {"Buttons", "Empty", "dflt"},
      {"Buttons", "Twice", "first"},
      {"Buttons", "OnlyInSecond", "dflt"},
      {"Buttons", "Missing", "dflt"},
      {"Missing", "Bitmap", "dflt"},
      {"Fonts", "Name", "dflt"},
      {" Fonts ", "Name", "Tahoma"},
      {"Fonts2", "name", "Arial"},
      {"Buttons", "novalue", "dflt"},
      {"Buttons", "", "dflt"},
  };
  for (const ReadCase &c : cases) {
    EXPECT_EQ(ini.ReadString(c.section, c.key, "dflt"), c.expected)
        << "[" << c.section << "] " << c.key;
  }
}

TEST(IniRead, IntegersAndBooleans) {
  const TQuickIni ini = Load("[S]\r\nhex=0x10\r\ndollar=$10\r\nbare=0x\r\nneg=-0x10\r\n"
                             "nopfx=FFFFFFFF\r\nall=$FFFFFFFF\r\nword=ten\r\nspaced=  12  \r\n"
                             "one=1\r\ntwo=2\r\nminus=-1\r\nzero=0\r\ntrue=true\r\n");
  const std::pair<const char *, int32_t> ints[] = {
      {"hex", 16}, {"dollar", 16}, {"bare", -7},   {"neg", -7},     {"nopfx", -7},
      {"all", -1}, {"word", -7},   {"spaced", 12}, {"missing", -7},
  };
  for (const auto &[key, value] : ints) {
    EXPECT_EQ(ini.ReadInteger("S", key, -7), value) << key;
  }
  const std::tuple<const char *, bool, bool> bools[] = {
      {"one", false, true},  {"two", false, true},   {"minus", false, true},
      {"zero", true, false}, {"true", false, false}, {"true", true, true},
  };
  for (const auto &[key, dflt, value] : bools) {
    EXPECT_EQ(ini.ReadBool("S", key, dflt), value) << key << " default " << dflt;
  }
}

TEST(IniRead, SectionListsKeepOrderAndDuplicates) {
  TQuickIni ini = Load("[One]\r\nB=1\r\na=2\r\nB=3\r\nplain\r\n[ Two ]\r\nx=1\r\n[One]\r\nz=9\r\n");
  TStringList list;
  list.Add("stale");
  ini.ReadSection("one", list);
  EXPECT_EQ(ToVector(list), (std::vector<std::string>{"b", "a", "b"}));
  ini.ReadSectionValues("ONE", list);
  EXPECT_EQ(ToVector(list), (std::vector<std::string>{"B=1", "a=2", "B=3", "plain"}));
  ini.ReadSections(list);
  EXPECT_EQ(ToVector(list), (std::vector<std::string>{"One", "Two", "One"}));
  ini.ReadSection("missing", list);
  EXPECT_EQ(list.Count(), 0);
}

TEST(IniWrite, WritesKeepSectionPositionsConsistent) {
  TQuickIni ini = Load("[A]\r\nk=1\r\n[B]\r\nm=2\r\n");
  ini.WriteString("A", "New", "v"); // inserted before [B]
  ini.WriteString("a", "K", "3");   // replaces k=1 with the caller's spelling
  ini.WriteInteger("C", "n", -5);   // new section at the end
  ini.WriteBool("B", "flag", true);
  ini.WriteString("D", "", "ignored"); // header only
  ini.WriteString("A", "", "ignored"); // nothing
  EXPECT_EQ(LinesOf(ini), (std::vector<std::string>{"[A]", "K=3", "New=v", "[B]", "m=2", "flag=1",
                                                    "[C]", "n=-5", "[D]"}));
  for (const auto &section : ini.Sections()) {
    EXPECT_EQ(ini.Lines().Get(section.Line), section.Text);
  }
  EXPECT_EQ(ini.ReadInteger("C", "N", 0), -5);
  EXPECT_TRUE(ini.ReadBool("B", "flag", false));
}

TEST(IniWrite, DeleteKeyAndEraseSection) {
  TQuickIni ini = Load("[A]\r\nk=1\r\nk=2\r\n[B]\r\nm=2\r\n[C]\r\nn=3\r\n");
  ini.DeleteKey("a", "K");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "2");
  ini.DeleteKey("A", "missing");
  ini.EraseSection("B");
  EXPECT_EQ(LinesOf(ini), (std::vector<std::string>{"[A]", "k=2", "", "[C]", "n=3"}));
  ini.EraseSection("A"); // the block (with the empty line) started at 0: nothing is left
  EXPECT_EQ(LinesOf(ini), (std::vector<std::string>{"[C]", "n=3"}));
  TStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(ToVector(sections), (std::vector<std::string>{"C"}));
  EXPECT_EQ(ini.GetSectionIndex("C"), 0);
  EXPECT_EQ(ini.ReadString("C", "n", ""), "3");
}

TEST(IniSetIniFile, TakesLinesAsTheyAreAndFindsHeadersAsStored) {
  TStringList lines;
  lines.SetText("  [Indented]\r\nk = v \r\n[Plain]\r\n\r\nj=1\r\n");
  TQuickIni ini;
  ini.SetIniFile(lines);
  EXPECT_EQ(LinesOf(ini), ToVector(lines));
  ASSERT_EQ(ini.Sections().size(), 1u); // "  [Indented]" does not begin with "["
  EXPECT_EQ(ini.GetSectionIndex("plain"), 2);
  EXPECT_EQ(ini.ReadString("Plain", "j", ""), "1");
}

TEST(IniFiles, PlainAndCompressedFilesRoundTrip) {
  ScratchDir dir;
  TQuickIni ini = Load("[Skin]\r\nName=Calm\r\nColor=$4A7DB5\r\n");
  ini.SaveToFile(dir.Path("plain.ini"));
  EXPECT_EQ(ReadBytes(dir.Path("plain.ini")), Bytes("[Skin]\r\nName=Calm\r\nColor=$4A7DB5\r\n"));
  ini.SavetoZip(dir.Path("packed.inz"));
  const std::vector<uint8_t> packed = ReadBytes(dir.Path("packed.inz"));
  ASSERT_GE(packed.size(), 4u);
  EXPECT_EQ(packed[0], 34); // the text's length, little-endian
  EXPECT_EQ(packed[1] | packed[2] | packed[3], 0);

  TQuickIni fromPlain;
  fromPlain.LoadFromFile(dir.Path("plain.ini"));
  TQuickIni fromZip;
  fromZip.LoadFromZip(dir.Path("packed.inz"));
  EXPECT_EQ(LinesOf(fromPlain), LinesOf(ini));
  EXPECT_EQ(LinesOf(fromZip), LinesOf(ini));
  EXPECT_EQ(fromZip.ReadInteger("skin", "color", 0), 0x4A7DB5);
  EXPECT_THROW(fromZip.LoadFromFile(dir.Path("missing.ini")), EStreamError);
}

TEST(IniFiles, CompressedFileWithAHugeDeclaredSizeIsRefused) {
  ScratchDir dir;
  WriteBytes(dir.Path("huge.inz"), {0x00, 0x00, 0x00, 0x40, 0xE6, 0x80});
  TQuickIni ini;
  EXPECT_THROW(ini.LoadFromZip(dir.Path("huge.inz")), ElzhException);
}

} // namespace
