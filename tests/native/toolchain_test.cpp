// The toolchain facts every other unit relies on, checked on each target.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

// A UTF-8 source compiled with -fexec-charset=CP936 must yield GBK bytes: the program's
// texts are compared byte for byte against what the user sees in code page 936.
TEST(Toolchain, NarrowLiteralsAreGbk) {
  constexpr std::string_view caption = "    消息框!";
  const unsigned char gbk[] = {' ', ' ', ' ', ' ', 0xCF, 0xFB, 0xCF, 0xA2, 0xBF, 0xF2, '!'};
  ASSERT_EQ(caption.size(), sizeof gbk);
  for (size_t i = 0; i < sizeof gbk; ++i)
    EXPECT_EQ(static_cast<unsigned char>(caption[i]), gbk[i]) << "byte " << i;
}

TEST(Toolchain, FixedWidthIntegersAndLittleEndian) {
  const std::uint32_t word = 0x04030201;
  EXPECT_EQ(*reinterpret_cast<const unsigned char *>(&word), 1);
  EXPECT_EQ(sizeof(std::int32_t), 4u);
}
