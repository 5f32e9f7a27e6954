#include "tests/native/storage/skin_corpus.h"

namespace skincorpus {

namespace {

void Put16(std::vector<uint8_t> &out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t> &out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A small deterministic generator (xorshift), so every platform makes the same bytes.
struct Random {
  uint32_t state;
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
};

} // namespace

std::vector<uint8_t> Bitmap(int width, int height, uint32_t seed) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.reserve(54 + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + imageSize);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  Random random{seed * 2654435761u + 1};
  const int corner = 3 + static_cast<int>(seed % 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t b;
      uint8_t g;
      uint8_t r;
      const int top = height - 1 - y; // rows are stored bottom-up
      const bool roundedCorner = x + top < corner || (width - 1 - x) + top < corner;
      const bool magentaBlock =
          seed % 3 == 0 && x > width / 3 && x < width / 2 && y > height / 4 && y < height / 2;
      if (roundedCorner || magentaBlock) {
        b = 0xFF, g = 0x00, r = 0xFF; // transparent magenta
      } else if (x == 0 || y == 0 || x == width - 1 || y == height - 1) {
        b = 0xB8, g = 0xA8, r = 0x9A; // 1-pixel border
      } else if (y > height * 2 / 3) {
        // caption gradient with a little dither
        const int t = (x * 255) / (width > 1 ? width - 1 : 1);
        const int d = static_cast<int>(random.Next() % 3) - 1;
        r = static_cast<uint8_t>(0x4A + (0x2E - 0x4A) * t / 255 + d);
        g = static_cast<uint8_t>(0x7D + (0x5F - 0x7D) * t / 255 + d);
        b = static_cast<uint8_t>(0xB5 + (0x96 - 0xB5) * t / 255 + d);
      } else {
        b = 0xF7, g = 0xF4, r = 0xF2; // flat face
      }
      out.push_back(b);
      out.push_back(g);
      out.push_back(r);
    }
    for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < stride; ++pad) {
      out.push_back(0);
    }
  }
  return out;
}

std::string IniText(const std::vector<std::string> &bitmaps) {
  std::string text = "; generated skin description\r\n[Personality]\r\nSkinAuthor=Kestrova\r\n"
                     "Version=3\r\n\r\n";
  int index = 0;
  for (const std::string &name : bitmaps) {
    // Appended piece by piece: GCC 12 warns falsely on literal + to_string at -O3.
    text += "[Button";
    text += std::to_string(index);
    text += "]\r\nImage=";
    text += name;
    text += "\r\nFrameCount=";
    text += std::to_string(1 + index % 5);
    text += "\r\nLeft=4\r\nTop=4\r\nRight=4\r\nBottom=4\r\nTrans=1\r\nTile=0\r\nTextColor=$";
    text += std::to_string(100000 + index * 7919);
    text += "\r\n\r\n";
    ++index;
  }
  return text;
}

std::vector<uint8_t> Corpus(size_t size) {
  static const int shapes[][2] = {{75, 21}, {16, 16}, {120, 30}, {300, 4}, {4, 300}, {64, 64}};
  std::vector<uint8_t> out;
  std::vector<std::string> names;
  uint32_t seed = 1;
  while (out.size() < size) {
    const int *shape = shapes[seed % 6];
    const std::vector<uint8_t> bmp = Bitmap(shape[0], shape[1], seed);
    out.insert(out.end(), bmp.begin(), bmp.end());
    std::string name = "bitmap";
    name += std::to_string(seed);
    name += ".bmp";
    names.push_back(name);
    if (seed % 16 == 0) {
      const std::string ini = IniText(names);
      out.insert(out.end(), ini.begin(), ini.end());
      names.clear();
    }
    ++seed;
  }
  out.resize(size);
  return out;
}

} // namespace skincorpus
