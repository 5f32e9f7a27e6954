#include "framework/core/streams.h"

#include "tests/native/storage/test_files.h"

#include <gtest/gtest.h>

namespace {

std::string Text(TMemoryStream &stream) {
  return std::string(reinterpret_cast<const char *>(stream.Memory()),
                     static_cast<size_t>(stream.Size()));
}

TEST(MemoryStream, ReadWriteSeekAndSize) {
  TMemoryStream stream;
  stream.WriteBuffer("hello", 5);
  EXPECT_EQ(stream.Position(), 5);
  EXPECT_EQ(stream.Seek(-2, TSeekOrigin::soEnd), 3);
  stream.WriteBuffer("p!", 2);
  EXPECT_EQ(Text(stream), "help!");
  // Writing past the end fills the gap with zeros.
  stream.SetPosition(7);
  stream.WriteBuffer("x", 1);
  EXPECT_EQ(Text(stream), std::string("help!\0\0x", 8));

  char buffer[4] = {};
  stream.SetPosition(6);
  EXPECT_EQ(stream.Read(buffer, 4), 2); // short read at the end
  EXPECT_EQ(stream.Read(buffer, 4), 0);
  stream.SetPosition(6);
  EXPECT_THROW(stream.ReadBuffer(buffer, 4), EReadError);
  EXPECT_THROW(stream.Seek(-1, TSeekOrigin::soBeginning), EStreamError);

  stream.SetSize(2);
  EXPECT_EQ(stream.Position(), 2);
  EXPECT_EQ(Text(stream), "he");
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStream, CopyFromWithZeroCopiesTheWholeSource) {
  TMemoryStream source;
  source.WriteBuffer("abcdef", 6);
  source.SetPosition(4);
  TMemoryStream dest;
  EXPECT_EQ(dest.CopyFrom(source, 0), 6);
  EXPECT_EQ(Text(dest), "abcdef");
  source.SetPosition(1);
  EXPECT_EQ(dest.CopyFrom(source, 2), 2);
  EXPECT_EQ(Text(dest), "abcdefbc");
  EXPECT_THROW(dest.CopyFrom(source, 10), EReadError);
}

TEST(FileStream, CreateReadAndReadWrite) {
  ScratchDir dir;
  const std::string name = dir.Path("data.bin");
  {
    TFileStream file(name, fmCreate);
    file.WriteBuffer("0123456789", 10);
    EXPECT_EQ(file.Size(), 10);
  }
  {
    TFileStream file(name, fmOpenReadWrite);
    file.Seek(4, TSeekOrigin::soBeginning);
    file.WriteBuffer("xy", 2);
    file.SetSize(8);
    EXPECT_EQ(file.Size(), 8);
  }
  {
    TFileStream file(name, fmOpenRead | fmShareDenyWrite);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, 16), 8);
    EXPECT_EQ(std::string(buffer), "0123xy67");
    EXPECT_EQ(file.Write("z", 1), 0); // opened for reading only
  }
  TMemoryStream memory;
  memory.LoadFromFile(name);
  EXPECT_EQ(Text(memory), "0123xy67");
  memory.SaveToFile(dir.Path("copy.bin"));
  EXPECT_EQ(ReadBytes(dir.Path("copy.bin")), Bytes("0123xy67"));

  EXPECT_THROW(TFileStream(dir.Path("missing.bin"), fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(dir.Path("no/such/dir.bin"), fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(dir.Path(""), fmOpenRead), EFOpenError); // a folder
}

} // namespace
