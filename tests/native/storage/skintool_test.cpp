#include "tools/skintool/skintool.h"

#include "skin/storage/skinread.h"
#include "tests/native/storage/skin_corpus.h"
#include "tests/native/storage/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace {

struct Result {
  int code;
  std::string out;
  std::string err;
};

Result RunTool(const std::vector<std::string> &args) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = skintool::Run(args, out, err);
  return Result{code, out.str(), err.str()};
}

TEST(SkinTool, PackListUnpackRoundTripsByteForByte) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.Path("src"));
  const std::vector<std::string> bitmaps = {"caption.bmp", "button.bmp", "zz_border.bmp"};
  std::map<std::string, std::vector<uint8_t>> files;
  files["skin.ini"] = Bytes(skincorpus::IniText(bitmaps));
  uint32_t seed = 1;
  for (const std::string &name : bitmaps) {
    files[name] = skincorpus::Bitmap(40 + static_cast<int>(seed) * 7, 21, seed);
    ++seed;
  }
  for (const auto &[name, bytes] : files) {
    WriteBytes(dir.Path("src/" + name), bytes);
  }
  WriteBytes(dir.Path("src/notes.txt"), Bytes("not packed"));

  const Result pack = RunTool({"pack", dir.Path("src"), dir.Path("out.skn")});
  ASSERT_EQ(pack.code, 0) << pack.err;
  // Packing is stable: the same folder gives the same bytes.
  ASSERT_EQ(RunTool({"pack", dir.Path("src"), dir.Path("again.skn")}).code, 0);
  EXPECT_EQ(ReadBytes(dir.Path("out.skn")), ReadBytes(dir.Path("again.skn")));

  const Result list = RunTool({"list", dir.Path("out.skn")});
  ASSERT_EQ(list.code, 0) << list.err;
  size_t sum = 0;
  for (const auto &[name, bytes] : files) {
    sum += bytes.size();
  }
  std::ostringstream expected;
  expected << "mark 20000\nname list 50 bytes\n"
           << "  skin.ini " << files["skin.ini"].size() << "\n"
           << "  button.bmp " << files["button.bmp"].size() << "\n"
           << "  caption.bmp " << files["caption.bmp"].size() << "\n"
           << "  zz_border.bmp " << files["zz_border.bmp"].size() << "\n"
           << "4 files, sizes " << sum << " bytes, contents " << sum << " bytes\n";
  EXPECT_EQ(list.out, expected.str());

  const Result unpack = RunTool({"unpack", dir.Path("out.skn"), dir.Path("back")});
  ASSERT_EQ(unpack.code, 0) << unpack.err;
  for (const auto &[name, bytes] : files) {
    EXPECT_EQ(ReadBytes(dir.Path("back/" + name)), bytes) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("back/notes.txt")));

  const Result stream = RunTool({"stream", dir.Path("out.skn"), dir.Path("payload.bin")});
  ASSERT_EQ(stream.code, 0) << stream.err;
  const std::vector<uint8_t> skin = ReadBytes(dir.Path("out.skn"));
  const std::vector<uint8_t> payload = ReadBytes(dir.Path("payload.bin"));
  ASSERT_EQ(payload.size(), skin.size() + 4);
  EXPECT_EQ(payload[0] | payload[1] << 8 | payload[2] << 16 | payload[3] << 24,
            static_cast<int>(skin.size()));
  EXPECT_TRUE(std::equal(skin.begin(), skin.end(), payload.begin() + 4));
}

TEST(SkinTool, CompressAndDecompressAreInverse) {
  ScratchDir dir;
  const std::vector<uint8_t> input = skincorpus::Corpus(70000);
  WriteBytes(dir.Path("in.bin"), input);
  ASSERT_EQ(RunTool({"compress", dir.Path("in.bin"), dir.Path("packed.lzh")}).code, 0);
  ASSERT_EQ(RunTool({"decompress", dir.Path("packed.lzh"), dir.Path("out.bin")}).code, 0);
  EXPECT_EQ(ReadBytes(dir.Path("out.bin")), input);
  EXPECT_LT(ReadBytes(dir.Path("packed.lzh")).size(), input.size() / 4);
}

TEST(SkinTool, BadUsageAndBadInput) {
  ScratchDir dir;
  WriteBytes(dir.Path("text.txt"), Bytes("plain text, not a skin"));
  WriteBytes(dir.Path("tiny"), Bytes("ab"));
  // A compressed file that decodes to something other than a container.
  ASSERT_EQ(RunTool({"compress", dir.Path("text.txt"), dir.Path("text.lzh")}).code, 0);
  std::filesystem::create_directories(dir.Path("noini"));
  WriteBytes(dir.Path("noini/a.bmp"), Bytes("BM"));
  std::filesystem::create_directories(dir.Path("twoini"));
  WriteBytes(dir.Path("twoini/a.ini"), Bytes("[A]"));
  WriteBytes(dir.Path("twoini/b.ini"), Bytes("[B]"));

  for (const std::vector<std::string> &usage : {std::vector<std::string>{},
                                                {"explode", "x"},
                                                {"list"},
                                                {"pack", "dir"},
                                                {"list", "a", "b"}}) {
    const Result r = RunTool(usage);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, skintool::UsageText);
  }

  struct Bad {
    std::vector<std::string> args;
    std::string file;
    std::string what;
  };
  const Bad cases[] = {
      {{"list", dir.Path("missing.skn")}, dir.Path("missing.skn"), "cannot open"},
      {{"list", dir.Path("tiny")}, dir.Path("tiny"), "too short"},
      {{"list", dir.Path("text.lzh")}, dir.Path("text.lzh"), "well-formed skin container"},
      {{"unpack", dir.Path("text.lzh"), dir.Path("x")}, dir.Path("text.lzh"), "well-formed"},
      {{"decompress", dir.Path("tiny"), dir.Path("x")}, dir.Path("tiny"), "too short"},
      {{"pack", dir.Path("noini"), dir.Path("x")}, dir.Path("noini"), "no .ini"},
      {{"pack", dir.Path("twoini"), dir.Path("x")}, dir.Path("twoini"), "more than one .ini"},
      {{"pack", dir.Path("nodir"), dir.Path("x")}, dir.Path("nodir"), "cannot read"},
  };
  for (const Bad &c : cases) {
    const Result r = RunTool(c.args);
    EXPECT_EQ(r.code, 1) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(r.err.rfind("skintool: " + c.file + ": ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.what), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  // The older-skin notice of the reader is not shown by the tool.
  EXPECT_TRUE(RecordedSkinMessages().empty());
}

} // namespace
