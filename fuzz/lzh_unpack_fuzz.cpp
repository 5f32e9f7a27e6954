// LZHUnpack on arbitrary bit streams: the first two bytes choose the declared size (up to
// 4 KB, so that a run stays short), the rest is the bit stream. The buffer decoder and the
// byte-callback decoder must agree byte for byte.
#include "skin/storage/winconvert.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2) {
    return 0;
  }
  const int32_t textSize = data[0] | ((data[1] & 0x0F) << 8);
  const uint8_t *bits = data + 2;
  const size_t bitCount = size - 2;

  TLZH lzh;
  const std::vector<uint8_t> fast = lzh.UnpackBuffer(bits, bitCount, textSize);
  size_t next = 0;
  std::vector<uint8_t> slow;
  lzh.LZHUnpack(
      textSize,
      [&](void *buffer, uint16_t, uint16_t &actual) {
        actual = next < bitCount ? 1 : 0;
        if (actual) {
          *static_cast<uint8_t *>(buffer) = bits[next++];
        }
      },
      [&](const void *buffer, uint16_t count, uint16_t &actual) {
        const auto *p = static_cast<const uint8_t *>(buffer);
        slow.insert(slow.end(), p, p + count);
        actual = count;
      });
  if (fast != slow || fast.size() < static_cast<size_t>(textSize) ||
      fast.size() >= static_cast<size_t>(textSize) + TLZH::F) {
    std::abort();
  }
  return 0;
}
