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

// The 54-byte header of a bottom-up 24-bit BMP file, with room reserved for its rows.
std::vector<uint8_t> BitmapHeader(int width, int height) {
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
  return out;
}

void PadRow(std::vector<uint8_t> &out, int width) {
  for (int pad = width * 3; pad % 4 != 0; ++pad) {
    out.push_back(0);
  }
}

} // namespace

std::vector<uint8_t> Bitmap(int width, int height, uint32_t seed) {
  std::vector<uint8_t> out = BitmapHeader(width, height);
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
    PadRow(out, width);
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

std::vector<uint8_t> NoisyBitmap(int width, int height, uint32_t seed) {
  std::vector<uint8_t> out = BitmapHeader(width, height);
  Random random{seed * 2246822519u + 7};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // A gradient along the row with noise of up to three steps on one byte in eight (rows
      // repeat, so the matcher finds short runs between the noise), and flat face-coloured
      // patches.
      const bool flat = ((x / 24) + (y / 16) + static_cast<int>(seed)) % 5 == 0;
      const int base[3] = {(x * 3 + y / 8) & 0xFF, (x + 40) & 0xFF, (x * 2 + 64) & 0xFF};
      for (int channel = 0; channel < 3; ++channel) {
        if (flat) {
          out.push_back(channel == 2 ? 0xF2 : 0xF6);
        } else {
          const uint32_t roll = random.Next();
          const int noise = roll % 8 == 0 ? static_cast<int>((roll >> 8) % 7) - 3 : 0;
          out.push_back(static_cast<uint8_t>(base[channel] + noise));
        }
      }
    }
    PadRow(out, width);
  }
  return out;
}

std::vector<uint8_t> MixedText(size_t size, uint32_t seed) {
  static const char *const words[] = {
      "document", "convert", "folder", "target", "source", "Word", "format", "page",
      "skin", "window", "the", "of", "and", "to", "a", "in", "list", "file", "run",
      "batch", "error", "done", "open", "save", "print", "table", "style", "font"};
  constexpr size_t wordCount = sizeof(words) / sizeof(words[0]);
  Random random{seed * 2654435761u + 11};
  std::vector<uint8_t> out;
  out.reserve(size + 16);
  while (out.size() < size) {
    const uint32_t pick = random.Next();
    switch (pick % 8) {
    case 0:
    case 1: { // two GB2312 Chinese characters from the level-1 rows
      for (int k = 0; k < 2; ++k) {
        const uint32_t v = random.Next();
        out.push_back(static_cast<uint8_t>(0xB0 + v % 40));
        out.push_back(static_cast<uint8_t>(0xA1 + (v >> 8) % 94));
      }
      break;
    }
    case 2: { // a number
      const std::string number = std::to_string(random.Next() % 100000);
      out.insert(out.end(), number.begin(), number.end());
      out.push_back(pick & 0x100 ? ',' : ' ');
      break;
    }
    case 3:
      out.push_back(pick & 0x100 ? '\r' : '.');
      out.push_back(pick & 0x100 ? '\n' : ' ');
      break;
    default: {
      const std::string word = words[(pick >> 8) % wordCount];
      out.insert(out.end(), word.begin(), word.end());
      out.push_back(' ');
      break;
    }
    }
  }
  out.resize(size);
  return out;
}

std::vector<uint8_t> HardCorpus(size_t size) {
  static const int shapes[][2] = {{160, 120}, {75, 21}, {256, 64}, {48, 48}};
  std::vector<uint8_t> out;
  uint32_t seed = 1;
  while (out.size() < size) {
    const int *shape = shapes[seed % 4];
    const std::vector<uint8_t> bmp = NoisyBitmap(shape[0], shape[1], seed);
    out.insert(out.end(), bmp.begin(), bmp.end());
    const std::vector<uint8_t> text = MixedText(4096 + seed % 5 * 1024, seed);
    out.insert(out.end(), text.begin(), text.end());
    ++seed;
  }
  out.resize(size);
  return out;
}

} // namespace skincorpus
