#include "skin/storage/skinread.h"

#include "skin/storage/skinwrite.h"
#include "skin/storage/winconvert.h"
#include "tests/native/storage/test_files.h"

#include <gtest/gtest.h>

namespace {

using ByteVec = std::vector<uint8_t>;

// Records the reader's notices instead of showing them.
class SkinReaderTest : public testing::Test {
protected:
  void SetUp() override {
    old_ = SetSkinMessageProc([this](const std::string &text) { messages_.push_back(text); });
  }
  void TearDown() override { SetSkinMessageProc(std::move(old_)); }

  std::vector<std::string> messages_;

private:
  TSkinMessageProc old_;
};

void Put32(ByteVec &out, int32_t v) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> shift));
  }
}

// A container assembled by hand, so that every field can be wrong.
ByteVec Container(int32_t mark, int32_t nameLength, const std::string &names,
                  const std::vector<int32_t> &sizes, const std::string &contents) {
  ByteVec out;
  Put32(out, mark);
  Put32(out, nameLength);
  Put32(out, 0);
  Put32(out, 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const int32_t size : sizes) {
    Put32(out, size);
  }
  out.insert(out.end(), contents.begin(), contents.end());
  return out;
}

// "f" followed by the number (built by appending: GCC 12 warns falsely on "f" + to_string).
std::string Numbered(int i) {
  std::string name = "f";
  name += std::to_string(i);
  return name;
}

TMemoryStream SkinFile(const ByteVec &container) {
  TMemoryStream source;
  source.WriteBuffer(container.data(), static_cast<int32_t>(container.size()));
  TMemoryStream file;
  LZHCompressStream(source, file);
  return file;
}

std::string Text(TMemoryStream &stream) {
  return std::string(reinterpret_cast<const char *>(stream.Memory()),
                     static_cast<size_t>(stream.Size()));
}

TEST_F(SkinReaderTest, WrittenSkinReadsBackByLowerCaseNameAlone) {
  TSkinWriter writer;
  writer.Add("a.ini.bak", Bytes("old"));
  writer.Add("Skin.INI", Bytes("[Skins]\r\n"));
  writer.Add("Button.bmp", Bytes("BM-button"));
  writer.Add("empty.bmp", {});
  TMemoryStream file;
  writer.SaveToStream(file);

  TSkinReader reader;
  ASSERT_TRUE(reader.Loadfromstream(file));
  EXPECT_EQ(reader.Count(), 4);
  EXPECT_EQ(reader.Header(0), 20000);
  EXPECT_EQ(reader.Header(1), 9 + 2 + 8 + 2 + 10 + 2 + 9 + 2); // every name ends in CR LF
  EXPECT_EQ(reader.Names().Get(1), "skin.ini");
  EXPECT_EQ(reader.ContentsSize(), 3 + 9 + 9);

  TMemoryStream entry;
  // The skin component asks by file name without folder; letter case does not matter.
  reader.readfile("BUTTON.BMP", entry);
  EXPECT_EQ(Text(entry), "BM-button");
  EXPECT_EQ(entry.Position(), 0);
  reader.readfile("folder\\button.bmp", entry);
  EXPECT_EQ(entry.Size(), 0);
  reader.readfile("missing.bmp", entry);
  EXPECT_EQ(entry.Size(), 0);
  reader.readfile("empty.bmp", entry);
  EXPECT_EQ(entry.Size(), 0);

  // readIni takes the first name containing the pattern, even a backup placed before the INI.
  std::string name = "unchanged";
  reader.readIni(".ini", entry, name);
  EXPECT_EQ(name, "a.ini.bak");
  EXPECT_EQ(Text(entry), "old");
  name = "unchanged";
  reader.readIni(".INI", entry, name); // a plain substring test, case as given
  EXPECT_EQ(name, "unchanged");
  EXPECT_EQ(entry.Size(), 0);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(SkinReaderTest, NameListSplitsAtEveryLineBreakKind) {
  const std::string names = "one\rtwo\nthree\r\n\r\nfive";
  TMemoryStream file = SkinFile(
      Container(20000, static_cast<int32_t>(names.size()), names, {1, 1, 1, 1, 1}, "abcde"));
  TSkinReader reader;
  ASSERT_TRUE(reader.Loadfromstream(file));
  ASSERT_EQ(reader.Count(), 5);
  EXPECT_EQ(reader.Names().Get(3), ""); // an empty line between names is an entry
  TMemoryStream entry;
  reader.readfile("five", entry);
  EXPECT_EQ(Text(entry), "e");
}

TEST_F(SkinReaderTest, WrongMarkOrTooShortShowsTheOlderSkinMessage) {
  const ByteVec wrongMark = Container(19999, 0, "", {}, "");
  TMemoryStream file = SkinFile(wrongMark);
  TSkinReader reader;
  EXPECT_FALSE(reader.Loadfromstream(file));

  TMemoryStream tooShort;
  tooShort.WriteBuffer("\x10\x00", 2); // not even the size field
  EXPECT_FALSE(reader.Loadfromstream(tooShort));
  EXPECT_EQ(messages_,
            std::vector<std::string>(2, "This is Older Skin File\rPlease update to new version !"));
}

struct CorruptCase {
  const char *name;
  ByteVec container;
};

TEST_F(SkinReaderTest, CorruptContainersAreRejectedWithoutReadingOutside) {
  std::string manyNames;
  for (int i = 0; i < 1002; ++i) {
    manyNames += "n\r\n";
  }
  const CorruptCase cases[] = {
      {"negative L", Container(20000, -1, "a\r\n", {1}, "x")},
      {"L past the end", Container(20000, 1000, "a\r\n", {1}, "x")},
      {"huge L", Container(20000, INT32_MAX, "a\r\n", {1}, "x")},
      {"size table cut", Container(20000, 6, "a\r\nb\r\n", {1}, "")},
      {"negative size", Container(20000, 6, "a\r\nb\r\n", {-1, 2}, "xy")},
      {"range past the end", Container(20000, 6, "a\r\nb\r\n", {1, 5}, "xyz")},
      {"sizes overflowing", Container(20000, 6, "a\r\nb\r\n", {INT32_MAX, INT32_MAX}, "xyz")},
      {"1002 names", Container(20000, static_cast<int32_t>(manyNames.size()), manyNames,
                               std::vector<int32_t>(1002, 0), "")},
  };
  for (const CorruptCase &c : cases) {
    TMemoryStream file = SkinFile(c.container);
    TSkinReader reader;
    EXPECT_FALSE(reader.Loadfromstream(file)) << c.name;
    EXPECT_FALSE(reader.ErrorText().empty()) << c.name;
    EXPECT_EQ(reader.Count(), 0) << c.name;
    TMemoryStream entry;
    reader.readfile("a", entry);
    EXPECT_EQ(entry.Size(), 0) << c.name;
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(SkinReaderTest, ExactlyTheLargestNameListIsAccepted) {
  std::string names;
  for (int i = 0; i < 1001; ++i) {
    names += Numbered(i);
    names += "\r\n";
  }
  TMemoryStream file = SkinFile(Container(20000, static_cast<int32_t>(names.size()), names,
                                          std::vector<int32_t>(1001, 0), ""));
  TSkinReader reader;
  EXPECT_TRUE(reader.Loadfromstream(file));
  EXPECT_EQ(reader.Count(), 1001);
}

TEST_F(SkinReaderTest, DeclaredSizeBeyondTheCeilingFailsWithTheCodecException) {
  TMemoryStream file;
  file.WriteBuffer("\xFF\xFF\xFF\x7F\x01\x02\x03\x04\x05\x06", 10); // 2 GB from ten bytes
  TSkinReader reader;
  EXPECT_THROW(reader.Loadfromstream(file), ElzhException);
}

TEST_F(SkinReaderTest, LoadFromFileIsSilentlyFalseForAMissingFile) {
  ScratchDir dir;
  TSkinReader reader;
  EXPECT_FALSE(reader.loadfromfile(dir.Path("missing.skn")));
  TSkinWriter writer;
  writer.Add("skin.ini", Bytes("[Skins]"));
  TMemoryStream file;
  writer.SaveToStream(file);
  file.SaveToFile(dir.Path("real.skn"));
  EXPECT_TRUE(reader.loadfromfile(dir.Path("real.skn")));
  EXPECT_TRUE(messages_.empty());
}

TEST(SkinWriter, RefusesNamesTheReaderCouldNotHandBack) {
  TSkinWriter writer;
  writer.Add("skin.ini", {});
  for (const char *bad : {"", "dir\\a.bmp", "dir/a.bmp", "a\r\nb", "SKIN.INI"}) {
    EXPECT_THROW(writer.Add(bad, {}), ESkinWriteError) << bad;
  }
  for (int i = 1; i < TSkinReader::MaxEntries; ++i) {
    writer.Add(Numbered(i), {});
  }
  EXPECT_THROW(writer.Add("one-too-many", {}), ESkinWriteError);
}

TEST(SkinStream, LengthThenSkinFileAndZeroMeansNoSkin) {
  TMemoryStream skin;
  skin.WriteBuffer("skinbytes", 9);
  TMemoryStream property;
  WriteSkinStream(property, skin);
  ASSERT_EQ(property.Size(), 13);
  EXPECT_EQ(property.Memory()[0], 9);

  property.SetPosition(0);
  TMemoryStream loaded;
  ASSERT_TRUE(ReadSkinStream(property, loaded));
  EXPECT_EQ(Text(loaded), "skinbytes");

  TMemoryStream none;
  TMemoryStream empty;
  WriteSkinStream(none, empty);
  EXPECT_EQ(none.Size(), 4);
  none.SetPosition(0);
  EXPECT_FALSE(ReadSkinStream(none, loaded));
  EXPECT_EQ(Text(loaded), "skinbytes"); // the previous skin stays

  TMemoryStream lying;
  lying.WriteBuffer("\x00\x00\x00\x70xy", 6); // declares 1.8 GB, holds 2 bytes
  lying.SetPosition(0);
  EXPECT_THROW(ReadSkinStream(lying, loaded), EReadError);
  EXPECT_EQ(Text(loaded), "skinbytes");
}

} // namespace
