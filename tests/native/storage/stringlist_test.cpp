#include "framework/core/stringlist.h"

#include "framework/core/streams.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> ToVector(const TStrings &strings) {
  std::vector<std::string> out;
  for (int i = 0; i < strings.Count(); ++i) {
    out.push_back(strings.Strings(i));
  }
  return out;
}

TEST(StringList, SetTextSplitsAtEveryLineBreakKind) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\r", {"a", ""}},
      {"\r\n", {""}},
  };
  TStringList list;
  for (const auto &[text, lines] : cases) {
    list.SetText(text);
    EXPECT_EQ(ToVector(list), lines) << text;
  }
  list.SetText("x\ny");
  EXPECT_EQ(list.Text(), "x\r\ny\r\n");
}

TEST(StringList, EditingObjectsAndBounds) {
  TStringList list;
  TObject marker;
  list.Add("one");
  list.AddObject("two", &marker);
  list.Insert(0, "zero");
  list.Put(1, "ONE");
  EXPECT_EQ(ToVector(list), (std::vector<std::string>{"zero", "ONE", "two"}));
  EXPECT_EQ(list.Objects(2), &marker);
  EXPECT_EQ(list.IndexOfObject(&marker), 2);
  EXPECT_EQ(list.IndexOf("one"), 1); // letter case ignored by default
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("one"), -1);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_THROW(list.Get(2), EStringListError);
  EXPECT_THROW(list.Insert(3, "x"), EStringListError);
  EXPECT_THROW(list.Delete(-1), EStringListError);
}

TEST(StringList, SortedListsKeepOrderAndHandleDuplicates) {
  TStringList list;
  list.SetText("pear\napple\nFig");
  list.SetSorted(true);
  EXPECT_EQ(ToVector(list), (std::vector<std::string>{"apple", "Fig", "pear"}));
  EXPECT_EQ(list.Add("banana"), 1);
  EXPECT_EQ(list.Add("APPLE"), 0); // ignored duplicate: the index of the existing line
  EXPECT_EQ(list.Count(), 4);
  list.SetDuplicates(TDuplicates::dupError);
  EXPECT_THROW(list.Add("fig"), EStringListError);
  EXPECT_THROW(list.Put(0, "x"), EStringListError);
  int index = -1;
  EXPECT_FALSE(list.Find("cherry", index));
  EXPECT_EQ(index, 2);
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.SetText("Width=10\nplain\nColor=a=b\nwidth=20");
  EXPECT_EQ(list.Names(0), "Width");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.Values("WIDTH"), "10");
  EXPECT_EQ(list.Values("color"), "a=b");
  EXPECT_EQ(list.Values("missing"), "");
  list.SetValue("width", "11");
  EXPECT_EQ(list.Strings(0), "width=11");
  list.SetValue("Height", "5");
  EXPECT_EQ(list.Strings(4), "Height=5");
  list.SetValue("Color", "");
  EXPECT_EQ(list.IndexOfName("color"), -1);
}

TEST(StringList, CaseFoldingLeavesDoubleByteCharactersAlone) {
  // In code page 936 "\xB0\x41" is one character whose trail byte looks like "A": it must not
  // compare equal to "\xB0\x61", a different character.
  EXPECT_FALSE(AnsiSameText("\xB0\x41", "\xB0\x61"));
  EXPECT_TRUE(AnsiSameText("Ab\xB0\x41", "aB\xB0\x41"));
  EXPECT_EQ(AnsiLowerCase("SKIN\xB0\x41.BMP"), "skin\xB0\x41.bmp");
}

TEST(StringList, StreamsRoundTrip) {
  TStringList list;
  list.SetText("a\nb");
  TMemoryStream stream;
  list.SaveToStream(stream);
  EXPECT_EQ(stream.Size(), 6);
  stream.SetPosition(0);
  TStringList back;
  back.LoadFromStream(stream);
  EXPECT_EQ(ToVector(back), ToVector(list));
}

} // namespace
