// Writes small BMP files byte by byte, so the loader is tested against files whose every field
// the test chose.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb &) const = default;
};

enum class BmpHeader { Core, Info, V4 };

struct BmpLayout {
  int width = 5;
  int height = 3;
  int bits = 24;
  bool topDown = false;
  BmpHeader header = BmpHeader::Info;
  // 16 and 32 bits: write BI_BITFIELDS with these masks (red, green, blue, alpha).
  bool bitfields = false;
  uint32_t masks[4] = {0x7C00, 0x03E0, 0x001F, 0};
  // The palette written for 1, 4 and 8 bits; pixel values are indices into it.
  std::vector<Rgb> palette;
  uint32_t colorsUsed = 0;
  // For more than 8 bits, the colour of each pixel; for fewer, its palette index in .r.
  std::vector<Rgb> pixels;        // width * height, top row first
  std::vector<uint8_t> extraByte; // 32 bits: the fourth byte of each pixel (default 0)
};

inline void Put16(std::vector<uint8_t> &v, size_t at, uint32_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}
inline void Put32(std::vector<uint8_t> &v, size_t at, uint32_t x) {
  Put16(v, at, x & 0xFFFF);
  Put16(v, at + 2, x >> 16);
}

inline uint32_t PackMasked(uint32_t mask, uint8_t channel) {
  if (!mask)
    return 0;
  int shift = 0;
  while (!((mask >> shift) & 1))
    ++shift;
  const uint32_t top = mask >> shift;
  return ((channel * top + 127) / 255) << shift;
}

inline std::vector<uint8_t> MakeBmp(const BmpLayout &s) {
  const size_t infoSize = s.header == BmpHeader::Core ? 12 : s.header == BmpHeader::V4 ? 108 : 40;
  const bool masksAfterHeader = s.bitfields && s.header == BmpHeader::Info;
  const size_t entry = s.header == BmpHeader::Core ? 3 : 4;
  const size_t paletteOffset = 14 + infoSize + (masksAfterHeader ? 12 : 0);
  const size_t pixelOffset = paletteOffset + s.palette.size() * entry;
  const size_t stride = ((static_cast<size_t>(s.width) * s.bits + 31) / 32) * 4;
  std::vector<uint8_t> v(pixelOffset + stride * s.height, 0);

  v[0] = 'B';
  v[1] = 'M';
  Put32(v, 2, static_cast<uint32_t>(v.size()));
  Put32(v, 10, static_cast<uint32_t>(pixelOffset));
  Put32(v, 14, static_cast<uint32_t>(infoSize));
  if (s.header == BmpHeader::Core) {
    Put16(v, 18, s.width);
    Put16(v, 20, s.height);
    Put16(v, 22, 1);
    Put16(v, 24, s.bits);
  } else {
    Put32(v, 18, static_cast<uint32_t>(s.width));
    Put32(v, 22, static_cast<uint32_t>(s.topDown ? -s.height : s.height));
    Put16(v, 26, 1);
    Put16(v, 28, s.bits);
    Put32(v, 30, s.bitfields ? 3 : 0);
    Put32(v, 46, s.colorsUsed);
    if (s.bitfields)
      for (int i = 0; i < (s.header == BmpHeader::V4 ? 4 : 3); ++i)
        Put32(v, 54 + 4 * i, s.masks[i]);
  }
  for (size_t i = 0; i < s.palette.size(); ++i) {
    v[paletteOffset + i * entry] = s.palette[i].b;
    v[paletteOffset + i * entry + 1] = s.palette[i].g;
    v[paletteOffset + i * entry + 2] = s.palette[i].r;
  }
  for (int y = 0; y < s.height; ++y) {
    const int fileRow = s.topDown ? y : s.height - 1 - y;
    uint8_t *row = v.data() + pixelOffset + fileRow * stride;
    for (int x = 0; x < s.width; ++x) {
      const Rgb &p = s.pixels[y * s.width + x];
      switch (s.bits) {
      case 1:
      case 4:
      case 8: {
        const int perByte = 8 / s.bits;
        row[x / perByte] |= static_cast<uint8_t>(p.r << (8 - s.bits * (x % perByte + 1)));
        break;
      }
      case 16: {
        const uint32_t m0 = s.bitfields ? s.masks[0] : 0x7C00,
                       m1 = s.bitfields ? s.masks[1] : 0x03E0,
                       m2 = s.bitfields ? s.masks[2] : 0x001F;
        const uint32_t px = PackMasked(m0, p.r) | PackMasked(m1, p.g) | PackMasked(m2, p.b);
        row[x * 2] = static_cast<uint8_t>(px);
        row[x * 2 + 1] = static_cast<uint8_t>(px >> 8);
        break;
      }
      case 24:
        row[x * 3] = p.b;
        row[x * 3 + 1] = p.g;
        row[x * 3 + 2] = p.r;
        break;
      case 32: {
        const uint8_t extra = s.extraByte.empty() ? 0 : s.extraByte[y * s.width + x];
        uint32_t px;
        if (s.bitfields)
          px = PackMasked(s.masks[0], p.r) | PackMasked(s.masks[1], p.g) |
               PackMasked(s.masks[2], p.b) | PackMasked(s.masks[3], extra);
        else
          px = p.b | (p.g << 8) | (p.r << 16) | (static_cast<uint32_t>(extra) << 24);
        std::memcpy(row + x * 4, &px, 4);
        break;
      }
      }
    }
  }
  return v;
}
